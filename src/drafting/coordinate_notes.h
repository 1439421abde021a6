#pragma once

namespace kelvor {
class Context;
}

namespace kelvor::drafting {

// Easting and upright northing labels at each picked point, until a cancel.
void zjzbfangge_Click(Context& ctx);
// Leader notes "X=" / "Y=" for every vertex of a picked polyline, grouped.
void zhuobiaozhuji_Click(Context& ctx);

} // namespace kelvor::drafting
