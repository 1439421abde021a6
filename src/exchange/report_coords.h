#pragma once
#include <QList>
#include <QString>
#include <QStringList>

namespace kelvor {
class Context;
}

namespace kelvor::exchange {

// The unit lines under the table headers of an adjustment report, trimmed.
extern const QString PlaneTableUnits;
extern const QString HeightTableUnits;

// One new point of a traverse as its report prints it: texts, not numbers,
// so that a value that is no number passes through as read.
struct ReportPoint {
    QString name;
    QString x;
    QString y;
    QString h; // "" when the report has no height row for the point
};

// The new points of one adjustment report: the plane-table rows between the
// start and the end station (at most 19), each with the height of the
// height-table row at the same position. Raises 53 for a missing report and
// 62 for one that ends inside a table or is empty.
QList<ReportPoint> readReportPoints(const QString& path);

// The coordinate-list line of a point: name, X and Y in columns of 10, 17
// and 15, then H; X and Y with pmDecimals, H with gcDecimals.
QString reportPointLine(const ReportPoint& point, double pmDecimals, double gcDecimals);

// 生成导线成果表 [批量]: the new points of the chosen reports into watch.txt.
void batoutcgb_Click(Context& ctx);

} // namespace kelvor::exchange
