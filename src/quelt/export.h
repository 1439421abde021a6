#pragma once
#include <QString>
#include <QStringList>

namespace kelvor {
class Context;
}
namespace kelvor::traverse {
class TraverseSheet;
}

namespace kelvor::quelt {

// The input files of the Quelt adjustment program for the sheet's first n
// station rows (1..12) and its last station. Row values are taken trimmed,
// known coordinates as typed (a blank one becomes its placeholder word).
QStringList planeInputLines(const traverse::TraverseSheet& sheet, int n);
QStringList heightInputLines(const traverse::TraverseSheet& sheet, int n);

// The first cell the two files take that holds a ",", named for the user
// ("第2行的水平角"); "" when none does. A comma would shift every later
// field of its line.
QString cellWithComma(const traverse::TraverseSheet& sheet, int n);

// Whether a traverse name can serve as the folder of its files: not empty,
// not "." or "..", no separator and no character a file system refuses.
bool isUsableFolderName(const QString& name);

// 转换到Quelt格式: writes the sheet as the plane and height input files,
// into <Text20>\<name>\<name>.IN and <name>G.IN when Check1 is ticked,
// otherwise as PM.tmp and GC.tmp in the program's folder.
void Command12_Click(Context& ctx);

} // namespace kelvor::quelt
