#include "commands.h"

#include "app/tools/text_tools.h"
#include "platform/commands.h"

namespace kelvor::tools {

void registerToolCommands(CommandRegistry& r)
{
    r.add(QStringLiteral("checkshu"), checkshu_Click);
    r.add(QStringLiteral("setnumber"), setnumber_Click);
    r.add(QStringLiteral("shengchengfilespath"), shengchengfilespath_Click);
    r.add(QStringLiteral("addfilepl"), addfilepl_Click);
    r.add(QStringLiteral("opentextfile"), opentextfile_Click);
    r.add(QStringLiteral("newfiles"), newfiles_Click);
}

} // namespace kelvor::tools
