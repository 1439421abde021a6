#pragma once
#include "cad/model/geometry.h"

#include <vector>

namespace kelvor::cad::geom {

// The points of a spline-fit polyline: the uniform B-spline of the given
// degree (2 quadratic, 3 cubic; lowered when the frame has too few
// vertices) over the frame's vertices as control points, sampled with
// segsPerSpan pieces per frame side. An open frame is clamped, so the curve
// starts and ends at its end vertices; a closed one runs round without
// repeating its first point. Fewer than three vertices give the frame back.
std::vector<Pt2> splineFit(const std::vector<Pt2>& frame, bool closed, int degree, int segsPerSpan);

} // namespace kelvor::cad::geom
