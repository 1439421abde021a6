#pragma once
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

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
// when missing or not a number). Nothing for a line that is empty once
// trimmed. Error 6 when X or Y is a number too large for a double.
std::optional<RoutePoint> routePoint(const QString& line);

// The points of a coordinate file in order; or, when a line's X or Y is too
// large for a number, no points and that line (the file is bad data).
struct RouteFile {
    std::vector<RoutePoint> points;
    qsizetype badLine = 0; // 1-based; 0 when every line reads
    QString badText;
};
RouteFile readRoute(const QStringList& lines);

// 展绘导线路线 [批量].
void zhdxlxpl_Click(Context& ctx);

} // namespace kelvor::coords
