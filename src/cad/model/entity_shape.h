#pragma once
// What the entity's members and its outline share inside the model layer.
#include "cad/model/entity.h"

namespace kelvor::cad {

inline Pt2 p2(const Vertex& v)
{
    return {v.x, v.y};
}

// A block reference's placement: the block's coordinates to the drawing's.
Affine insertTransform(const Entity::Data& d, const Point& origin);

} // namespace kelvor::cad
