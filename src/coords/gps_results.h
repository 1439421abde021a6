#pragma once
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace kelvor {
class Context;
}

// The plane results of an outside GPS network adjustment, as its text
// report (GpsAdjustmentResultFile) gives them, and the network drawing made
// from them.
//
// The report's results follow the marker line "二维平差最后的结果" (compared
// with blanks trimmed) and five heading lines. Each line of the section is a
// point line, when a non-blank stands among its first 20 characters, or
// else a baseline line from the point of the nearest point line above it to
// the point named by its own last four characters. The first line that is
// empty once trimmed, or the end of the file, ends the section and the
// reading. Positions count characters of the decoded line; only the space
// separates fields (a tab belongs to a field).
namespace kelvor::coords {

struct GpsResultLine {
    bool point = false; // a point line; otherwise a baseline line
    QString name, x, y; // point line: fields 1 to 3 of the trimmed line
    QString from;       // point line: its first four characters, trimmed
    QString to;         // baseline line: its last four characters, trimmed
};

// The result section; nothing when the marker line is missing.
std::vector<GpsResultLine> readGpsAdjustmentResult(const QStringList& lines);

// The point list rows of the section's point lines: name, 3 blanks, X and
// Y in "#.000" (text that is no number written unchanged).
QStringList gpsPlaneRows(const std::vector<GpsResultLine>& section);

struct GpsBaseline {
    QString from, to;
};
// One baseline per baseline line, in file order.
std::vector<GpsBaseline> gpsBaselines(const std::vector<GpsResultLine>& section);

struct ListedPoint {
    QString name, x, y; // as written in the list
};
// The first row of the point list whose name equals name exactly.
std::optional<ListedPoint> findListedPoint(const QStringList& list, const QString& name);

// The trace line of a drawn baseline in "d:\66.txt".
QString baselineTraceLine(const GpsBaseline& b, const ListedPoint& from, const ListedPoint& to);

// [GPS]输出平面成果: the plane results into watch.txt.
void dwar_gpsjx_pmcg_Click(Context& ctx);
// [GPS]绘 制 网 图: the point list, then one polyline per baseline.
void dwar_gpsjx_Click(Context& ctx);

} // namespace kelvor::coords
