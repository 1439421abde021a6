#include "relief/commands.h"

#include "platform/commands.h"
#include "relief/height_check.h"
#include "relief/contours.h"
#include "relief/control_points.h"
#include "relief/height_notes.h"
#include "relief/height_points.h"
#include "relief/drawing_cleanup.h"
#include "relief/layer_export.h"
#include "relief/point_checks.h"

namespace kelvor::relief {

void registerReliefCommands(CommandRegistry& registry)
{
    registry.add(QStringLiteral("laheightcheck"), laheightcheck_Click);
    registry.add(QStringLiteral("addgcd"), addgcd_Click);
    registry.add(QStringLiteral("alterdgxlaheight"), alterdgxlaheight_Click);
    registry.add(QStringLiteral("deletedgx"), deletedgx_Click);
    registry.add(QStringLiteral("laheightaddnumber"), laheightaddnumber_Click);
    registry.add(QStringLiteral("laheightgcdqw"), laheightgcdqw_Click);
    registry.add(QStringLiteral("shuimiangaochenzj"), shuimiangaochenzj_Click);
    registry.add(QStringLiteral("changekzd"), changekzd_Click);
    registry.add(QStringLiteral("changekzdheight"), changekzdheight_Click);
    registry.add(QStringLiteral("gaibiankzdbili"), gaibiankzdbili_Click);
    registry.add(QStringLiteral("massboss"), massboss_Click);
    registry.add(QStringLiteral("deletelingbianchang"), deletelingbianchang_Click);
    registry.add(QStringLiteral("yuaddkuaohao"), yuaddkuaohao_Click);
    registry.add(QStringLiteral("layeratoutputfile"), layeratoutputfile_Click);
    registry.add(QStringLiteral("lwpolyinsertpoint"), lwpolyinsertpoint_Click);
    registry.add(QStringLiteral("fangfano2"), fangfano2_Click);
    registry.add(QStringLiteral("dadianshujijianche"), dadianshujijianche_Click);
}

} // namespace kelvor::relief
