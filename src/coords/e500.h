#pragma once
#include <QString>
#include <QStringList>
#include <vector>

// CSAM E500 recorder files (.500) and the CASS coordinate data files (.DAT)
// made from them.
//
// An E500 file is a heading line, then detail records of three lines
// (identifier line, X, Y) up to the first marker "KXY", then control
// sections ("KXY" ... "DXY", records X, Y, H, name line) and height
// sections ("HXY" ... "END", records X, Y, H). A marker is a whole line once
// blanks are trimmed, letter case counting, and is looked for only where a
// record would begin. Values stay text: nothing is read as a number.
namespace kelvor::coords {

struct E500Detail {
    QString identifier; // field 1 and the first three characters of field 2
    QString x, y;       // trimmed
};
struct E500Height {
    QString x, y; // trimmed
    QString h;    // the line as it stands, blanks included
};
struct E500Control {
    QString x, y, h; // trimmed
    QString name;    // the last four characters of the trimmed name line
};

struct E500DataFile {
    std::vector<E500Detail> details;
    std::vector<E500Height> heights;   // of every height section, in file order
    std::vector<E500Control> controls; // of every control section, in file order
};

// "F 001 A" -> "F001": field 1 followed by the first three characters of
// field 2 (fewer when it is shorter). Only the space separates fields.
QString e500Identifier(const QString& line);

// Reads the lines of an E500 file. A file without control or height
// sections reads with what it has. Raises error 62 (input past end) for an
// empty file and for a record cut short by the end of the file.
E500DataFile readE500(const QStringList& lines);

// The CASS short code of an identifier or continuation mark: a first
// character A-Z or a-z gives that character ("Y", "B", "J", "T" become
// "A", "L", "M", "K") and "1"; anything else is the code itself. Error 5
// for the empty text.
QString shortCode(const QString& field);

// The lines of the CASS data file, numbered from 1 without gaps: detail
// points "n,code,Y,X,0", where a point whose identifier occurred before
// carries the continuation mark ("+" after its nearest namesake directly
// before it, "k+" with k records between them); then the height points
// "n,H1,Y,X,H"; then the control points "n,C1-name,Y,X,H".
QStringList cassLines(const E500DataFile& data);

// "d:\a\site.old.500" -> "d:\a\site.old.DAT": the part of the file name
// before its last "." (the whole name without one) and ".DAT", same folder.
QString cassPathFor(const QString& e500Path);

// Converts an E500 file: the height and control lines go into the scratch
// files "C:\gc.TMP" and "C:\kzd.TMP", the whole result into the CASS data
// file beside the E500 file, whose path is returned. Everything is worked
// out before the first file is written. Shows nothing; raises RunError
// (53 missing file, 62 empty or cut short, 5 empty identifier, 75 a file
// that cannot be written).
QString ConvertE500ToCass(const QString& path);

} // namespace kelvor::coords
