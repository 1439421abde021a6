#pragma once
#include "cad/model/geom_curve.h"

#include <vector>

namespace kelvor::cad::geom {

// The smallest closed region around p that the curves enclose, the curves
// cut where they cross or touch (open or closed, in any mix; pieces that
// lead nowhere are dropped). The outline comes back counter-clockwise as
// one vertex per piece (x, y and the bulge of the piece it starts), straight
// pieces in one line joined. Empty when p lies on a curve (within tol) or
// in no closed region. Islands inside the region are not part of it.
std::vector<Vertex> enclosingOutline(const std::vector<Curve>& curves, const Pt2& p, double tol);

// Signed area of a closed outline of bulged vertices (positive counter-clockwise).
double outlineArea(const std::vector<Vertex>& v);

} // namespace kelvor::cad::geom
