#pragma once
#include "cad/model/geometry.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace kelvor {
class Context;
}
namespace kelvor::cad {
class Entity;
class Utility;
}

// Features drawn or reshaped through the host's own commands: circles
// reversed, balconies, wall gates, three-point features, polyline breaks.
namespace kelvor::cass {

// Radius rounded as shown with two decimals.
double shownRadius(double radius);
// The closed replacement of a circle, clockwise from the top: x, y pairs.
std::vector<double> reversedCircle(const cad::Point& centre, double radius);

// The OFFSET text: option ("tHrough" or the width as typed), the wall
// line, the point; each answer followed by CR, then one more CR.
QStringList offsetScript(const QString& option, const cad::Entity& wall, const cad::Point& p);
// The multi-edge balcony: first pick, every offset vertex (x, y, z), last
// pick, as x, y, z numbers.
std::vector<double> balconyVertices(const std::vector<cad::Point>& picks, const std::vector<double>& offsetXyz);
// The edge of an outline (its vertices with the first appended again) whose
// direction equals that from the pick to its end, by the "0.0000" texts of
// the angles; the first such edge, as its index.
std::optional<size_t> pickedEdge(const std::vector<cad::Pt2>& vertices, const cad::Pt2& pick,
                                 const cad::Utility& u);
// The outline's vertices read with its own stride, the first appended again.
std::vector<cad::Pt2> edgeRing(const cad::Entity& outline);

// The parallelogram's fourth corner after p1, p2, p3.
cad::Point fourthCorner(const cad::Point& p1, const cad::Point& p2, const cad::Point& p3, const cad::Utility& u);

void circlechange_Click(Context& ctx);
void breakpolytype2_Click(Context& ctx);
void danbianyangtai_Click(Context& ctx);
void weiqiangmen_Click(Context& ctx);
void sdcassobj_Click(Context& ctx);
void breakpolytype_Click(Context& ctx);

} // namespace kelvor::cass
