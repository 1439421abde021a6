#include "loaders_commands.h"

#include "load_kzjl.h"
#include "load_pcy.h"
#include "load_sj.h"

#include "platform/commands.h"
#include "traverse/known_points.h"

namespace kelvor::exchange {

void registerLoaderCommands(CommandRegistry& registry)
{
    registry.add(QStringLiteral("APPLOADPCY"), APPLOADPCY_Click);
    registry.add(QStringLiteral("callcassdx"), callcassdx_Click);
    registry.add(QStringLiteral("callcassdxmenu"), callcassdxmenu_Click);
    registry.add(QStringLiteral("removekzjlsj"), removekzjlsj_Click);
    registry.add(QStringLiteral("outcordnumber"), outcordnumber_Click);
}

void runKnownPointLookup(Context& ctx)
{
    traverse::Label39_DblClick(ctx);
}

} // namespace kelvor::exchange
