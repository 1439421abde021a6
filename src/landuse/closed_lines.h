#pragma once
// Checks of picked polylines: the closed flag, and the area of the vertex
// ring against the host's own Area. Offenders are marked red with a fixed
// width in drawing units (it does not follow the drawing scale).
#include <QString>
#include <vector>

namespace kelvor {
class Context;
}

namespace kelvor::landuse {

// The shoelace area |Σ y_i (x_{i+1} − x_{i−1})| / 2 of the ring through the
// x, y pairs of a lightweight polyline's Coordinates, always closed, arcs
// as straight chords.
double chordRingArea(const std::vector<double>& xy);
// The tolerance is typed in single precision (0.1 compares as
// 0.100000001490116); a difference equal to it passes.
bool areaOffends(double chordArea, double hostArea, float tolerance);
// "差别:" difference "平方米".
QString areaDifferenceText(double difference);

// 检查线的封闭性: polylines whose closed flag is off turn red, width 10.
void checkpolylineclose_Click(Context& ctx);
// 封闭线面积核对: lightweight polylines whose ring area differs from Area by
// more than the tolerance turn red, width 2, each told in its own box.
void polylineareayn_Click(Context& ctx);

} // namespace kelvor::landuse
