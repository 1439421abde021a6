#pragma once
#include <QString>
#include <QStringList>
#include <vector>

namespace kelvor {
class Context;
}

namespace kelvor::traverse {

class TraverseSheet;

// The traverse data file (.dx): the comma-separated text form of the sheet.
//   line 1: B name, X, Y, H, A name, X, Y   (StartStation, StartOrientation)
//   line 2: C name, X, Y, H, D name, X, Y   (EndStation, EndOrientation)
//   one line per row in use: the nine cells of the row
//   the last station: name, angle
//   "EOF"
// Cells are written as typed; readers trim every field.

struct DataKnownPoint {
    QString name;
    QString x;
    QString y;
    QString h; // empty for the two orientation points
};

struct DataStation {
    QString name;
    QString angle;
    QString distance;
    QString foreVertical;
    QString foreInstrument;
    QString foreTarget;
    QString backVertical;
    QString backInstrument;
    QString backTarget;
};

// What ReadTraverseDataFile gives: texts only, nothing converted.
struct TraverseData {
    int N = 0; // stations, the last one included

    DataKnownPoint startOrientation; // A
    DataKnownPoint startStation;     // B
    DataKnownPoint endOrientation;   // D
    DataKnownPoint endStation;       // C

    // Stations 1 .. N-1 (stations[0] is station 1): all nine fields.
    std::vector<DataStation> stations;
    // Station N: name and angle only.
    DataStation last;

    // Station i, 1 <= i <= N (station N is `last`).
    const DataStation& station(int i) const
    {
        return i == N ? last : stations.at(size_t(i - 1));
    }
};

// Reads a traverse data file. The count of stations runs up to the first
// line that is "EOF" once blanks are trimmed (upper case only); a file
// without such a line is read as if one followed its last line, unless it
// ends inside a line.
// Raises RunError 53 when the file is missing, 62 when it ends before the
// lines it announces (an empty file among them), 13 when it was cut short:
// it ends inside a line without "EOF", or a station line that is not blank
// has fewer fields than it needs (nine; two for the last station).
TraverseData ReadTraverseDataFile(const QString& path);

// The lines of the data file for the sheet as it stands (rows up to the
// first hidden cell), "EOF" last. trimLastStation trims the two cells of
// the last station (the list command does; savedx does not).
QStringList traverseDataLines(const TraverseSheet& sheet, bool trimLastStation = false);

// WINDIR\read.dx, the scratch data file of the sheet.
QString scratchDataFilePath();

// Writes the sheet to a data file. Reports nothing: when the file cannot be
// written, whatever it held stays. Returns false in that case.
bool writeTraverseDataFile(const TraverseSheet& sheet, const QString& path, bool trimLastStation = false);

// Writes the sheet to WINDIR\read.dx.
void savedx(const TraverseSheet& sheet);
void savedx(Context& ctx);

// 导线 > 生成原始数据文件: writes read.dx, says so and shows it; a failed
// write shows its error number instead.
void printsj_Click(Context& ctx);

// 文件 > 新建导线文件: the sheet's clear command, question included.
void newfile_Click(Context& ctx);

} // namespace kelvor::traverse
