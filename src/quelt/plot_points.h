#pragma once
#include <QString>
#include <optional>

namespace kelvor {
class Context;
struct FileDialogRequest;
} // namespace kelvor

namespace kelvor::quelt {

// Control points of a point list drawn in the CAD host: a symbol block, the
// name beside it and, on request, lines from point to point.

struct PlotPoint {
    QString name; // the characters before the first space of the line
    double x = 0; // northing
    double y = 0; // easting
};

// A point-list line split at runs of spaces: the name, then X and Y read as
// their leading numbers. Nothing for a line that is empty once trimmed.
std::optional<PlotPoint> plotPoint(const QString& line);

// The hint the button 展绘控制点 shows once a mouse button is pressed on it.
QString Command4_ToolTip();

// 展绘控制点: plots watch.txt or a chosen point list, starting the CAD host
// when it is not running.
void Command4_Click(Context& ctx, FileDialogRequest& dialog);

} // namespace kelvor::quelt
