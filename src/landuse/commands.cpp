#include "landuse/commands.h"

#include "platform/commands.h"
#include "platform/context.h"

namespace kelvor::landuse {

void registerLanduseCommands(CommandRegistry& registry)
{
    registry.add(QStringLiteral("opuexcel1"), [](Context& ctx) {
        if (ctx.openWindow)
            ctx.openWindow(QStringLiteral("outExcelx"));
    });
}

} // namespace kelvor::landuse
