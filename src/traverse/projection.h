#pragma once
#include <QString>
#include <QStringList>
#include <vector>

namespace kelvor {
class Context;
}

namespace kelvor::traverse {

class TraverseSheet;

// A distance reduced to the Gauss plane at the mean easting (metres, with
// the 500 km false easting) of its two ends: D·(1 + ym²/(2·Rm²)), ym and
// Rm = 6363.7 in kilometres.
double projectedDistance(double D, double y0, double y1);

struct ProjectionResult {
    QStringList report;              // the report that replaces watch.txt
    std::vector<QString> distances;  // new Distance texts of rows 0..legs−1
};

// Works out the correction of every leg of the sheet from the eastings of a
// coordinate list (watch.txt lines: name, X, Y, H). The list must hold the
// sheet's stations exactly, in order (rows in use, then the last station);
// returns false otherwise. Error 13 for an easting that is not a number.
bool computeProjection(const TraverseSheet& sheet, const QStringList& watch, ProjectionResult& result);

// 导线 > 距 离 投 影 改 化 (and the quick popup's 距离投影改化): after the
// question, corrects the sheet's distances from watch.txt, writes the
// report to d:\bak.txt and over watch.txt and shows it. Nothing changes
// unless everything could be worked out.
void bianchangtaoyinggai_Click(Context& ctx);
void distgsty_Click(Context& ctx);

} // namespace kelvor::traverse
