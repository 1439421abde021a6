#include "commands.h"

#include "cass_files.h"
#include "cass_plot.h"
#include "gps_heights.h"
#include "gps_results.h"
#include "pcy_exchange.h"
#include "point_scripts.h"
#include "routes.h"
#include "platform/commands.h"
#include "platform/context.h"

namespace kelvor::coords {

void registerCoordsCommands(CommandRegistry& registry)
{
    registry.add(QStringLiteral("fangshi2zbzh"), [](Context& ctx) { openForm(ctx, QStringLiteral("HuanDaiJiSuan")); });
    registry.add(QStringLiteral("zhuobiaohuandai1czsm"), zhuobiaohuandai1czsm);
    registry.add(QStringLiteral("zhuobiaohuandai1scjhwj"), zhuobiaohuandai1scjhwj);
    registry.add(QStringLiteral("zhuobiaohuandai1schdhwj"), zhuobiaohuandai1schdhwj);
    registry.add(QStringLiteral("zhuanhuanwyczwj"), zhuanhuanwyczwj_Click);
    registry.add(QStringLiteral("zhanhuidandianwei"), zhanhuidandianwei_Click);
    registry.add(QStringLiteral("shujujianhuiyijiantong"), shujujianhuiyijiantong_Click);
    registry.add(QStringLiteral("jlblock"), jlblock_Click);
    registry.add(QStringLiteral("outfilezb"), outfilezb_Click);
    registry.add(QStringLiteral("djdaoxiao(0)"), [](Context& ctx) { djdaoxiao_Click(ctx, 0); });
    registry.add(QStringLiteral("djdaoxiao(1)"), [](Context& ctx) { djdaoxiao_Click(ctx, 1); });
    registry.add(QStringLiteral("djdaoxiao(2)"), [](Context& ctx) { djdaoxiao_Click(ctx, 2); });
    registry.add(QStringLiteral("updatejm"), updatejm_Click);
    registry.add(QStringLiteral("dmyd"), dmyd_Click);
    registry.add(QStringLiteral("zhuobiaozhuanhuan"), zhuobiaozhuanhuan_Click);
    registry.add(QStringLiteral("dwar_gpsjx_pmcg"), dwar_gpsjx_pmcg_Click);
    registry.add(QStringLiteral("dwar_gpsjx"), dwar_gpsjx_Click);
    registry.add(QStringLiteral("dwar_gpsjx_gc"), dwar_gpsjx_gc_Click);
    registry.add(QStringLiteral("dwar_gpsjx_nh"), dwar_gpsjx_nh_Click);
    registry.add(QStringLiteral("zhdxlxpl"), zhdxlxpl_Click);
}

} // namespace kelvor::coords
