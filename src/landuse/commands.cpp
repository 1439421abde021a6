#include "landuse/commands.h"
#include "landuse/boundary_lines.h"
#include "landuse/boundary_table.h"
#include "landuse/class_areas.h"
#include "landuse/closed_lines.h"
#include "landuse/parcel_record.h"
#include "landuse/area_notes.h"
#include "landuse/class_conversion.h"

#include "platform/commands.h"
#include "platform/context.h"

namespace kelvor::landuse {

void registerLanduseCommands(CommandRegistry& registry)
{
    registry.add(QStringLiteral("opuexcel1"), [](Context& ctx) { openForm(ctx, QStringLiteral("outExcelx")); });
    registry.add(QStringLiteral("zb_xxxx"), [](Context& ctx) { openForm(ctx, QStringLiteral("frmzb")); });
    registry.add(QStringLiteral("jzdbgxxxxx"), jzdbgxxxxx_Click);
    registry.add(QStringLiteral("zhengshijiezhixian"), zhengshijiezhixian_Click);
    registry.add(QStringLiteral("jzdtoprints"), jzdtoprints_Click);
    registry.add(QStringLiteral("zhongdishuxingxiugai"), zhongdishuxingxiugai_Click);
    registry.add(QStringLiteral("tongjizhidingdilei"), tongjizhidingdilei_Click);
    registry.add(QStringLiteral("tongjizhongdidao"), tongjizhongdidao_Click);
    registry.add(QStringLiteral("checkpolylineclose"), checkpolylineclose_Click);
    registry.add(QStringLiteral("polylineareayn"), polylineareayn_Click);
    registry.add(QStringLiteral("biaozhudileibianhao"), [](Context& ctx) { openForm(ctx, QStringLiteral("dilei")); });
    registry.add(QStringLiteral("oldchangnewdl"), oldchangnewdl_Click);
    registry.add(QStringLiteral("huifujiudilei"), huifujiudilei_Click);
    registry.add(QStringLiteral("XIUGAITUBANHAO"), XIUGAITUBANHAO_Click);
    registry.add(QStringLiteral("findzhidingzhifu"), findzhidingzhifu_Click);
    registry.add(QStringLiteral("areatoarea"), areatoarea_Click);
    registry.add(QStringLiteral("drawdljarea"), drawdljarea_Click);
}

} // namespace kelvor::landuse
