#pragma once
#include <vector>

namespace kelvor {
class Context;
}

namespace kelvor::drafting {

// Area of the ring through a lightweight polyline's vertices (x, y pairs),
// taken in survey axes (X from y, Y from x), always closed, arcs as chords;
// 0 below three vertices.
double PolylineVertexArea(const std::vector<double>& coordinates);

void caldist_Click(Context& ctx);
void arealiangshan_Click(Context& ctx);
void arealiangshan_coord_Click(Context& ctx);
void fengbixianzhuji_Click(Context& ctx);
void addareaatboxboundary_Click(Context& ctx);
void addnewgroup_Click(Context& ctx);

} // namespace kelvor::drafting
