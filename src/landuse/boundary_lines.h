#pragma once
#include "cad/model/geometry.h"

#include <QString>
#include <vector>

namespace kelvor {
class Context;
}

// 整饰界址线: lines inside the circles drawn round boundary points are cut
// away by the host's own TRIM along a fence just inside each circle.
namespace kelvor::landuse {

// The fence of a circle: a diamond 0.1 drawing units inside it, from the
// bottom counter-clockwise and back to the bottom (five points).
std::vector<cad::Pt2> trimFence(const cad::Pt2& centre, double radius);
// "_trim", Enter (every object cuts), "f", the fence points, then Enter
// three times: each item followed by a carriage return.
QString trimScript(const cad::Pt2& centre, double radius);

// 整 饰 界 址 线: every circle the person picks has its script sent twice.
void zhengshijiezhixian_Click(Context& ctx);

} // namespace kelvor::landuse
