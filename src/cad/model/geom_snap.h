#pragma once
#include "cad/model/geometry.h"

namespace kelvor::cad {

class Document;

// Running object snaps (the system variable OSMODE): 1 endpoint, 2 midpoint,
// 4 centre, 8 node, 32 intersection, 64 insertion, 512 nearest; 16384
// switches them off (128, perpendicular, needs a base point no question
// here has). The pick lands on the candidate nearest to it within reach,
// an endpoint or intersection winning a tie, and takes the object's height
// there; `mode` names the bit that found it, 0 when none did.
struct Snap {
    Point p;
    int mode = 0;
};
Snap findSnap(Document& doc, const Point& pick, int osmode, double reach);

// findSnap's point, with the reach of snapAperture when reach is 0.
Point snapPoint(Document& doc, const Point& pick, int osmode, double reach = 0);

// How far from the pick the snap looks, in drawing units: APERTURE pixels
// (default 10) of an 800-pixel view of the host's current view, or of the
// drawing's extents before any zoom. A window passes its own pixels.
double snapAperture(Document& doc);

} // namespace kelvor::cad
