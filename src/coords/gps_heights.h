#pragma once
#include <QString>
#include <QStringList>

namespace kelvor {
class Context;
}

// Normal heights from the text report of an outside GPS height-fitting
// program (GpsHeightFittingFile), merged into a point list or marked in the
// drawing.
//
// The report holds residual tables and fitted tables, each opened by its
// header line (compared with blanks trimmed, inner blanks counting; a fitted
// header is followed by one more line to skip) and ended by a line that is
// empty once trimmed or by the end of the file. A row's point name is its
// first four characters once trimmed, names compare without letter case.
// Residual rows carry the normal height in characters 52 to 62, fitted rows
// in their last 8 characters (of the trimmed row, trimmed again).
namespace kelvor::coords {

// The first four characters of the trimmed line, trimmed.
QString gpsPointName(const QString& line);

// The heights the report gives a point, in file order. The residual search
// takes one match per table and goes on to the next table after a match;
// a table ending without a match ends the whole search. The fitted search
// is made only when the residual one found nothing, the same way.
struct GpsHeights {
    QStringList residual; // as written
    QStringList fitted;   // as written
};
GpsHeights findGpsHeights(const QStringList& report, const QString& name);

// The merged list: for each input line, one line per residual height
// (line, 4 blanks, height, "*"), or else one per fitted height rounded to
// `decimals` with FormatFixed, or else the line and "没找到高程值", when the
// name goes into misses as ";" and the name.
QStringList mergeGpsHeights(const QStringList& input, const QStringList& report, int decimals, QString* misses);

// The point names of the first residual table, in file order.
QStringList residualTableNames(const QStringList& report);

// [GPS]坐标、高程合并.
void dwar_gpsjx_gc_Click(Context& ctx);
// [GPS]点号加＊号.
void dwar_gpsjx_nh_Click(Context& ctx);

} // namespace kelvor::coords
