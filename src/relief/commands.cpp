#include "relief/commands.h"

#include "platform/commands.h"
#include "relief/height_check.h"
#include "relief/drawing_cleanup.h"
#include "relief/layer_export.h"
#include "relief/point_checks.h"

namespace kelvor::relief {

void registerReliefCommands(CommandRegistry& registry)
{
    registry.add(QStringLiteral("laheightcheck"), laheightcheck_Click);
    registry.add(QStringLiteral("massboss"), massboss_Click);
    registry.add(QStringLiteral("deletelingbianchang"), deletelingbianchang_Click);
    registry.add(QStringLiteral("yuaddkuaohao"), yuaddkuaohao_Click);
    registry.add(QStringLiteral("layeratoutputfile"), layeratoutputfile_Click);
    registry.add(QStringLiteral("lwpolyinsertpoint"), lwpolyinsertpoint_Click);
    registry.add(QStringLiteral("fangfano2"), fangfano2_Click);
    registry.add(QStringLiteral("dadianshujijianche"), dadianshujijianche_Click);
}

} // namespace kelvor::relief
