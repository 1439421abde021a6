#pragma once
// The blunder searches as the main window runs them. Each takes its
// traverse from the sheet (written to WINDIR\read.dx first) or from a
// traverse data file the user picks, never changes the sheet, and reports
// in message boxes.
namespace kelvor {
class CommandRegistry;
class Context;
}

namespace kelvor::blunder {

// Angle search: asks for a change in seconds, tries it at every station and
// names the station with the best relative closure.
void Command38_Click(Context& ctx);      // sheet button "[角度估算]"
void jdgxselectfile_Click(Context& ctx); // 导线 > 选择数据文件进行... > 角 度 估 算

// Distance correction search: asks for a limit, tries corrections up to it
// on every leg and names the leg and correction with the best closure.
void qiujulizhi_Click(Context& ctx);       // 导线 > 枚 举 距 离 值 (and the quick popup)
void jigx_selectfile_Click(Context& ctx);  // 导线 > 选择数据文件进行... > 距 离 估 算

// Route comparison: computes the traverse from both ends, writes both
// coordinate lists to watch.txt and names the station where they agree best.
void Command41_Click(Context& ctx);          // sheet button "[正反路线计算]"
void zfkxjxselectfile_Click(Context& ctx);   // 导线 > 选择数据文件进行... > 左右路线计算

// Closure bearing search: compares the misclosure's line with every leg.
void Command44_Click(Context& ctx); // sheet button "[距离估算]"

// "Command38", "jdgxselectfile", "qiujulizhi", "jigx_selectfile",
// "Command41", "zfkxjxselectfile", "Command44". The quick popup's
// "quick_call_next(2)" passes on to "qiujulizhi" in the shell.
void registerBlunderCommands(CommandRegistry& registry);

} // namespace kelvor::blunder
