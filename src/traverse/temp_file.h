#pragma once
#include <QString>
#include <QStringList>
#include <optional>

namespace kelvor {
class Context;
}

namespace kelvor::traverse {

class TraverseSheet;

// The sheet's snapshot file WINDIR\read.tmp, one value a line:
//   1, 2: the last station's name and angle, as typed
//   3..16: Text1(0..13), as typed
//   17 + m: grid cell m, trimmed and filled with blanks to 10 characters
//           (at least one blank), for the rows in use
QString tempFilePath();

// A grid cell as the file holds it.
QString tempCellLine(const QString& text);

// The file's lines for the sheet as it stands.
QStringList tempFileLines(const TraverseSheet& sheet);

// The file's lines when they make a snapshot the sheet can take (21 to 126
// lines); nothing otherwise.
std::optional<QStringList> checkTempFileLines(const QStringList& lines);

// Puts a checked snapshot into the sheet: every text replaced, all rows
// shown, then the rows from the first blank name after row 0 hidden.
void loadTempFileLines(TraverseSheet& sheet, const QStringList& lines);

// 保存(临时): refuses a sheet without A's name and row 0's name, hides the
// rows after the first blank name and writes the file.
void Command10_Click(Context& ctx);

// 打开上次: reads and checks the whole file first; the sheet changes only
// when it is good.
void Command11_Click(Context& ctx);

} // namespace kelvor::traverse
