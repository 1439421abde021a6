#pragma once
#include <QString>
#include <QStringList>

namespace kelvor {
class Context;
class Ui;
namespace traverse {
class TraverseSheet;
}
} // namespace kelvor

namespace kelvor::exchange {

// Horizontal distance of a slope distance S at the vertical angle (D.MMSS)
// as ".000" text: 125.4 at 2.3000 gives "125.281", 0.4 at 0 gives ".400".
// A vertical angle that is no number counts as 0 after DmsToDegrees's own
// message on ui; an S that is no number gives no text ("").
QString reducedPcyDistance(const QString& slope, const QString& vertical, Ui* ui);

// Fills the sheet from the lines of a PCY data file: the observation pairs
// after "[OBSER]" become station rows, the names of B, A, C and D go into
// Text1, the last station moves to cells 108/109. Blank lines among the
// observations are skipped and an unpaired last line is ignored. Cells the
// file gives nothing for keep their text; nothing is cleared or hidden.
// Returns the number of pairs loaded.
int fillSheetFromPcy(traverse::TraverseSheet& sheet, const QStringList& lines, Ui* ui);

// 调入平差易数据 (quick popup): asks for the file, loads it, then runs the
// known-point lookup.
void APPLOADPCY_Click(Context& ctx);
// 调入平差易数据 (导线 menu).
void callcassdx_Click(Context& ctx);

} // namespace kelvor::exchange
