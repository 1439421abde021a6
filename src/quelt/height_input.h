#pragma once
#include <QString>
#include <QStringList>

namespace kelvor {
class Context;
class TextReader;
struct FileDialogRequest;
} // namespace kelvor

namespace kelvor::quelt {

// Quelt's height-difference result (…G.ou) turned into the input of its
// height adjustment (…H.IN) with the two known heights.

// Appends the adjustment input without its count to `lines` as the records
// are read, so a failure leaves what was made so far; returns the count.
// Raises 62 when the file ends inside a record, 13 for a line 2 field that is
// no number, 5 for a record line that cannot be cut and for a file without
// any record.
int buildHeightAdjustmentInput(TextReader& source, const QString& firstHeight, const QString& lastHeight,
                               QStringList& lines);

// The input file beside the chosen result: its name without the extension
// and the character before it, then "H.IN" (P1G.ou -> P1H.IN). Raises 5 for
// a name without "." or with nothing before it.
QString heightAdjustmentInputPath(const QString& chosen);

// The scratch copy of the last input made, in WINDIR. It has a name of its
// own: the sheet's temporary save read.tmp stays untouched.
QString heightInputScratch();

// 高差结果文件->高程平差数据: asks for the height-difference result and writes
// the adjustment input beside it with the known heights of the first and the
// last station.
void Command7_Click(Context& ctx, FileDialogRequest& dialog, const QString& firstHeight, const QString& lastHeight);

} // namespace kelvor::quelt
