#pragma once
#include <QString>
#include <optional>

namespace kelvor {
class Context;
}

// Batch plotting of traverse routes: every point of each chosen point list
// gets the block "8m" and its name, consecutive points of a file a leg.
namespace kelvor::coords {

struct RoutePoint {
    QString name;
    double x = 0; // northing
    double y = 0; // easting
};

// Fields 1 to 3 of the trimmed line; X and Y by their leading numbers (0
// when missing). Nothing for a line that is empty once trimmed.
std::optional<RoutePoint> routePoint(const QString& line);

// 展绘导线路线 [批量].
void zhdxlxpl_Click(Context& ctx);

} // namespace kelvor::coords
