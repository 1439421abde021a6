#include "commands.h"

#include "measure.h"
#include "text_tools.h"

#include "platform/commands.h"

namespace kelvor::drafting {

void registerDraftingCommands(CommandRegistry& r)
{
    r.add(QStringLiteral("texttools"), texttools_Click);
    r.add(QStringLiteral("crooslinetext"), crooslinetext_Click);
    r.add(QStringLiteral("deletetextspace"), deletetextspace_Click);
    r.add(QStringLiteral("xunxu_zhu"), xunxu_zhu_Click);
    r.add(QStringLiteral("caldist"), caldist_Click);
    r.add(QStringLiteral("arealiangshan"), arealiangshan_Click);
    r.add(QStringLiteral("arealiangshan_coord"), arealiangshan_coord_Click);
    r.add(QStringLiteral("fengbixianzhuji"), fengbixianzhuji_Click);
    r.add(QStringLiteral("addareaatboxboundary"), addareaatboxboundary_Click);
    r.add(QStringLiteral("addnewgroup"), addnewgroup_Click);
}

} // namespace kelvor::drafting
