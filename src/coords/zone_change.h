#pragma once
#include "gauss.h"

#include <QString>
#include <stdexcept>

namespace kelvor {
class Context;
}

// Zone change of whole files: ASCII DXF coordinate lines and the fixed
// point list "d:\1.txt".
namespace kelvor::coords {

// What the conversion window hands to a file zone change: its datum boxes,
// meridian boxes and the 500 km option, as texts and flag.
struct ZoneForm {
    QString sourceDatum = QStringLiteral("北京54坐标系"); // Combo1
    QString targetDatum = QStringLiteral("北京54坐标系"); // Combo2
    QString sourceMeridian;                                 // Text7
    QString targetMeridian;                                 // Text8
    bool falseEasting = false;                              // Option1(1)

    Projection projection() const;
};

// A file that cannot be converted, with the 1-based line where it showed.
class FileLineError : public std::runtime_error {
public:
    enum Kind { Truncated, NotANumber, OutOfRange, SameFile };
    FileLineError(Kind kind, qint64 line, const QString& text = QString());
    Kind kind() const { return kind_; }
    qint64 line() const { return line_; }
    QString text() const { return text_; }
    // The message shown to the user.
    QString message() const;

private:
    Kind kind_;
    qint64 line_;
    QString text_;
};

// Receives the progress of a DXF zone change (the window's progress bar
// and caption), counted in bytes of the source file.
class DxfProgress {
public:
    virtual ~DxfProgress() = default;
    virtual void analysing() {}
    virtual void converting(qint64 /*maximum*/) {}
    // Called at most 20 times a second with the bytes read so far, and once at the end.
    virtual void advance(qint64 /*value*/) {}
    virtual void finished(qint64 /*maximum*/) {}
};

// How a DXF zone change shares its work among threads: the file is read a
// few chunks of about `chunkBytes` a thread at a time, and the chunks are
// converted by `threads` threads. The output never depends on it; 0 threads
// is one per core (at most 8).
struct DxfSplit {
    qint64 chunkBytes = 64 << 10;
    int threads = 0;
};

// Streams source to target, moving every " 10"/" 20" and " 11"/" 21" pair
// between the ENTITIES line and the end of that section from meridian l0 to
// l0new; the rest of the file is copied byte for byte. The target appears
// only when the whole file converted; FileLineError or RunError otherwise.
// Returns the number of converted pairs.
qint64 convertDxfZone(const QString& source, const QString& target, double l0, double l0new,
                      const Projection& projection, DxfProgress* progress = nullptr, const DxfSplit& split = {});

// The command behind "DXF文件换带": meridian checks, the two file dialogs,
// both passes and the closing message.
void dxfZoneChange(Context& ctx, const ZoneForm& form, DxfProgress* progress = nullptr);

// The command behind "TXT文件转换": "d:\1.txt" into "d:\2.txt".
void textZoneChange(Context& ctx, const ZoneForm& form);

// The first line of "d:\2.txt": the two meridians in print zones.
QString pointListHeading(const ZoneForm& form);

// Streams a point list (lines "number,x,y") into the lines of "d:\2.txt"
// (heading included), line by line; the target appears only when every line
// converted. Native paths; FileLineError for a line that cannot be
// converted, RunError when a file fails. Returns the number of points.
qint64 convertPointFile(const QString& source, const QString& target, const ZoneForm& form);

} // namespace kelvor::coords
