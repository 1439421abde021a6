#pragma once
#include <QString>

namespace kelvor {
class Context;
}

namespace kelvor::quelt {

// The coordinate table path beside a plane result: its folder, its name up
// to the last ".", then ".XYH". Raises 5 when the name has no ".".
QString coordinateTablePath(const QString& planeResult);

// Quelt生成坐标成果表: turns one traverse's plane and height results (the
// window's two path boxes) into the coordinate table, the same lines in
// watch.txt and the plot script ZD.scr in the program's folder, then opens
// the table.
void makeCoordinateTable(Context& ctx, const QString& planeResult, const QString& heightResult);

} // namespace kelvor::quelt
