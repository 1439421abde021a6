#pragma once
#include <QString>
#include <QStringList>

namespace kelvor {
class SettingsStore;
}

namespace kelvor::traverse {

struct TraverseData;
struct Adjustment;

// The settings the report is laid out with.
struct ReportSettings {
    QString gongcheng, danwei, zbxt, gcxt, zyjd; // header values
    int qwPm = 3; // decimals of coordinates
    int qwGc = 2; // decimals of heights

    // "QW_PM=" and "QW_GC=" must be numbers (error 13).
    static ReportSettings read(const SettingsStore& settings);
};

// The fixed-layout adjustment report (.CG), line by line. The report loader
// and the batch result table read it back by column, so every width here is
// part of the format.
QStringList reportLines(const TraverseData& data, const Adjustment& adj, const ReportSettings& rs);

// One line per new station (stations 2..N−1): name, X, Y, H in columns
// 1, 11, 25, 39. The .zb list holds exactly these.
QStringList coordinateLines(const TraverseData& data, const Adjustment& adj, const ReportSettings& rs);

// watch.txt: the coordinate lines framed by B and C (name, X, Y, H as in the
// data file, joined by three blanks).
QStringList watchLines(const TraverseData& data, const Adjustment& adj, const ReportSettings& rs);

// The printed angular misclosure in seconds ("+7.85", "-30.25**" beyond the
// limit) and the height misclosure in centimetres ("*+7.95*" beyond).
QString angularMisclosureText(const Adjustment& adj);
QString heightMisclosureText(const Adjustment& adj);

// Whether a station name can serve as the base of a result file name: not
// empty, no folder separator, no "..", nothing a file system refuses.
bool usableFileName(const QString& name);

} // namespace kelvor::traverse
