#include "landuse/commands.h"
#include "landuse/boundary_lines.h"
#include "landuse/boundary_table.h"
#include "landuse/class_areas.h"
#include "landuse/closed_lines.h"
#include "landuse/parcel_record.h"

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
    registry.add(QStringLiteral("zhongdishuxingxiugai"), zhongdishuxingxiugai_Click);
    registry.add(QStringLiteral("tongjizhidingdilei"), tongjizhidingdilei_Click);
    registry.add(QStringLiteral("tongjizhongdidao"), tongjizhongdidao_Click);
    registry.add(QStringLiteral("checkpolylineclose"), checkpolylineclose_Click);
    registry.add(QStringLiteral("polylineareayn"), polylineareayn_Click);
}

} // namespace kelvor::landuse
