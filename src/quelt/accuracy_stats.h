#pragma once
#include "platform/text_file.h"

#include <QString>
#include <array>

namespace kelvor {
class Context;
class Ui;
struct FileDialogRequest;
} // namespace kelvor

namespace kelvor::quelt {

// Accuracy figures of the traverses kept one folder each under the result
// folder ("MydxfileSavepath="), gathered one figure at a time into watch.txt.

// setting + "\" + name + "\" + name + suffix (".ou", "G.ou", "H.ou").
QString traverseFile(Context& ctx, const QString& name, const QString& suffix);

// Opens a file for reading: 76 when its folder does not exist, 53 when the
// file does not.
TextReader openInFolder(const QString& path);

// The nine figures of one traverse; index 0 is unused.
using Figures = std::array<QString, 10>;

// Items 1 to 7 from the observation table of a plane result. A file without
// the table leaves them empty. Raises 62 when the file ends inside the
// table, 9 when its closing line is not among the first 23 lines or comes too
// early, 5 for a field too short.
void readPlaneFigures(TextReader& plane, Figures& figures);

// Items 8 and 9 from the "[路" lines of a height result (the last occurrence
// wins); empty when there is none. Raises 5 for a field too short.
void readHeightFigures(TextReader& height, Figures& figures);

// The item an answer selects (halves go to the even neighbour), 0 when it
// selects none; 13 when the answer is no number.
int chosenItem(const QString& answer);

// The sequence file chosen in the open dialog, which keeps it as its file
// name; blank when the user cancelled.
QString chooseSequenceFile(Ui& ui, FileDialogRequest& dialog);

// 生成导线精度统计表数据: one figure of every traverse of a sequence file.
void Command14_Click(Context& ctx, FileDialogRequest& dialog);

} // namespace kelvor::quelt
