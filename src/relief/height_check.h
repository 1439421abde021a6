#pragma once
// The elevation check: for every check height on the layer gcd1 the person
// picks the map's own elevation note, and one row goes into the active sheet.
#include <QString>

namespace kelvor {
class Context;
}

namespace kelvor::relief {

// One row of the check: the two texts as they stand, |check − map| × 100
// in "0.0" (centimetres for heights in metres), and the pick's x and y in
// "0.0". Heights are the leading numbers of the texts.
struct HeightCheckRow {
    QString check;
    QString map;
    QString difference;
    QString x;
    QString y;
};
HeightCheckRow heightCheckRow(const QString& check, const QString& map, double pickX, double pickY);

// 高程检查 (laheightcheck). Rows start at the active cell's row, whatever
// its column, and go down one per written row; a note that reads 0, a
// cancelled pick and a pick of anything but a single-line text write
// nothing. Each check text shows colour 3 while it is handled and gets its
// own colour back.
void laheightcheck_Click(Context& ctx);

} // namespace kelvor::relief
