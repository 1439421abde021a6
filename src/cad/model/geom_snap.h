#pragma once
#include "cad/model/geometry.h"

namespace kelvor::cad {

class Document;

// Running object snaps of a pick (the system variable OSMODE): 1 endpoint,
// 512 nearest; 16384 switches them off. The pick lands on the closest
// candidate within the aperture and takes that object's height there
// (interpolated along a line or 3D polyline, a flat polyline's elevation);
// with no object within reach the pick stays as it was.
Point snapPoint(Document& doc, const Point& pick, int osmode);

// How far from the pick the snap looks, in drawing units: ten pixels of an
// 800-pixel view of the host's current view, or of the drawing's extents
// before any zoom.
double snapAperture(Document& doc);

} // namespace kelvor::cad
