#pragma once
#include "cad/model/geometry.h"

#include <QString>
#include <optional>
#include <vector>

namespace kelvor {
class Context;
}
namespace kelvor::cad {
class Entity;
}

// Commands that read, copy and repair the feature codes of a drawing.
namespace kelvor::cass {

// One pass of the attribute completion: every entity whose own linetype
// (group 6) or layer (group 8) has the value gets the code.
struct CompletionPass {
    int group;
    QString value;
    QString code;    // empty for the contour pass: chosen by colour
    QString message; // shown before the pass
};
const std::vector<CompletionPass>& completionPasses();
// Index contours carry colour 3 on the entity itself; ByLayer and every
// other colour make an ordinary contour.
QString contourCode(int color);

// The twelve vegetation boundary codes, compared as numbers.
bool isVegetationBoundary(const std::optional<QString>& code);
struct VegetationMove {
    QString searchLayers; // filter value for group 8
    QString target;
};
// The answer as typed: "1" or "" to ASSIST, "2" back to ZBTZ, else nothing.
std::optional<VegetationMove> vegetationMove(const QString& answer);

// Where the marker of an unattributed feature rises to: the first vertex
// of lightweight and 2D polylines, a line's start point, else the lower
// left of the bounding box. Errors (no box) reach the caller.
cad::Pt2 markedPoint(const cad::Entity& entity);

// fdsfdsfdsfdsf_Click and addassist_Click, which the drawing quality
// control runs too, are declared in commands.h.
void addcassshuxing_Click(Context& ctx);
void huaoqikuang_Click(Context& ctx);
void fengchengxiansx_Click(Context& ctx);
void biaojiwushuxingdiwu_Click(Context& ctx);

} // namespace kelvor::cass
