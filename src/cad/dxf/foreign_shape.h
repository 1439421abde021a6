#pragma once
#include "cad/model/entity.h"

namespace kelvor::cad {

// What the host window draws of a kept entity of a foreign kind, where that
// is simple: a spline's fit points (else its control points) as a polyline,
// an ellipse, the outline of a solid or a 3D face, and a hatch's boundary
// paths as far as they are polylines, lines and arcs. Empty for the rest.
Shape foreignOutline(const Entity::Data& d);

// The anonymous block that draws a dimension; empty when it names none.
QString dimensionBlock(const Entity::Data& d);

} // namespace kelvor::cad
