#pragma once
#include <QString>
#include <QStringList>

namespace kelvor {
class Context;
namespace traverse {
class TraverseSheet;
}
} // namespace kelvor

namespace kelvor::exchange {

// Empties every known-point box and station cell and shows all twelve rows;
// the grade, contour interval and row labels stay.
void emptySheetForRecord(traverse::TraverseSheet& sheet);

// Fills an emptied sheet from the lines of a total-station record (.SJ):
// station records give names and horizontal angles, instrument records two
// per leg the fore and back sights, distance records one per leg the
// distances. Angles go through the odd-up even-down rounding. Values a
// record does not have (a line cut off by the end of the file, a label the
// line lacks) leave their cells empty. Returns the station records found.
int fillSheetFromRecord(traverse::TraverseSheet& sheet, const QStringList& lines);

// 调入记录数据 [SJ] / 调入观测数据: asks for the record, empties the sheet,
// loads the record, then runs the known-point lookup.
void outcordnumber_Click(Context& ctx);

} // namespace kelvor::exchange
