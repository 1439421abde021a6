#include "landuse/commands.h"
#include "landuse/boundary_lines.h"
#include "landuse/boundary_table.h"

#include "platform/commands.h"
#include "platform/context.h"

namespace kelvor::landuse {

void registerLanduseCommands(CommandRegistry& registry)
{
    registry.add(QStringLiteral("opuexcel1"), [](Context& ctx) {
        if (ctx.openWindow)
            ctx.openWindow(QStringLiteral("outExcelx"));
    });
    registry.add(QStringLiteral("zb_xxxx"), [](Context& ctx) {
        if (ctx.openWindow)
            ctx.openWindow(QStringLiteral("frmzb"));
    });
    registry.add(QStringLiteral("jzdbgxxxxx"), jzdbgxxxxx_Click);
    registry.add(QStringLiteral("zhengshijiezhixian"), zhengshijiezhixian_Click);
    registry.add(QStringLiteral("jzdtoprints"), jzdtoprints_Click);
}

} // namespace kelvor::landuse
