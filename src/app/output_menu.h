#pragma once

namespace kelvor {
class Context;

// The output menu "输 出": opens the result files in the text window and
// holds the CommonFile (see app/common_file.h for its readers).
//   0: WINDIR\watch.txt; 1: the known-points file of "已知点成果=";
//   3: the recent report. Any other index does nothing.
void outfilew_Click(Context& ctx, int index);
// Lets the user choose the CommonFile; a cancel keeps the earlier choice.
void publicfiles_Click(Context& ctx);

} // namespace kelvor
