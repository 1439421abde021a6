#pragma once
#include <QString>

namespace kelvor {
class CommandRegistry;
class Context;
}

namespace kelvor::traverse {

// The adjustment run: reads the data file at filename_pub, adjusts it with
// the sheet's grade and contour interval, writes the report (and, with
// 生成成果表 checked, the .zb list and watch.txt), then makes the report the
// recent entry and shows it. Every failure takes the run's one error path:
// the invalid-number or folder message, then the error number; nothing is
// written before the whole result is known. True when the report was written.
bool dxpc(Context& ctx, const QString& filename_pub);

// The report path a run would write for a station-2 name:
// <"MydxfileSavepath="> & "\" & name & ".CG".
QString reportPathFor(const Context& ctx, const QString& stationName);

// The sheet's button "[ 平 差/概 算 ]": hides the rows from the first empty
// name on (from row 2), writes read.dx and adjusts it.
void Command37_Click(Context& ctx);
// The button's tooltip for the sheet as it stands, or `previous` when the
// second row has no name.
QString Command37_ToolTip(const Context& ctx, const QString& previous);

// 导线 > 选择数据文件进行... > 导线平差: adjusts a chosen .dx file.
void selectdxfile_Click(Context& ctx);
// 导线 > 生成成果表: toggles the check mark.
void printcgb_Click(Context& ctx);

// Registers this subsystem's adjustment, report and projection items:
// "Command37", "selectdxfile", "printcgb", "opendxfile", "filelist(1)",
// "bianchangtaoyinggai", "distgsty".
void registerTraverseCommands(CommandRegistry& registry);

} // namespace kelvor::traverse
