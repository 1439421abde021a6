#pragma once
#include "quelt/result_files.h"

#include <QString>
#include <QStringList>

namespace kelvor {
class Context;
struct FileDialogRequest;
} // namespace kelvor

namespace kelvor::quelt {

// Quelt may print wrong names for the two orientation points while their
// coordinates are right; the repair looks the names up by X in the known
// points and rewrites line 10 of the plane result.

struct OrientationXValues {
    double start = 0;
    double end = 0;
};

// Line 11 as the repair reads it: the leading number after the first "=" of
// the first half, and after the first "=" from the middle on. Raises 5 for a
// line too short to have halves.
OrientationXValues orientationXValues(const QString& line11);

// Names of the known points (name and X as the first two blank-separated
// fields of each line) whose X equals each value; a later line wins, ""
// where none matches.
NamePair namesByX(const QStringList& knownPoints, const OrientationXValues& x);

// The repaired line 10: 11 blanks, the start name, 21 blanks, the end name.
QString orientationNamesLine(const NamePair& names);

// 选择要更改的文件: repairs the orientation names of a chosen plane result
// from the known points file, replacing the file in one step, and opens it.
void Command60_Click(Context& ctx, FileDialogRequest& dialog, const QString& knownPointsPath);

} // namespace kelvor::quelt
