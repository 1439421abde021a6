#pragma once
#include <QString>
#include <QStringList>
#include <optional>

namespace kelvor::quelt {

// Cutting values out of the result files the Quelt program writes: the
// plane adjustment result (.ou) and the height adjustment result (H.ou).
// Positions follow the files' fixed layout; malformed lines raise
// RunError 5 (a cut that cannot be made) or 62 (lines run out).

// Half of a length, halves going to the even integer (7 -> 4, 5 -> 2).
int halfOf(double length);

struct NamePair {
    QString start;
    QString end;
    bool operator==(const NamePair&) const = default;
};

// Line 10: the two orientation point names, split at half the line.
NamePair orientationNames(const QString& line10);
// Line 11: the two orientation X values (texts, as the table shows them).
NamePair orientationX(const QString& line11);
// Line 12: the two orientation Y values; the start one is not trimmed.
NamePair orientationY(const QString& line12);

// A coordinate line of the results section: X after the first "=", up to
// the next blank and never past position 20; Y after the "=" that follows
// the first "Y".
QString coordinateX(const QString& line);
QString coordinateY(const QString& line);

struct ResultPoint {
    QString name;
    QString x;
    QString y;
    bool operator==(const ResultPoint&) const = default;
};

// The trimmed text of the results section's heading.
extern const QString kResultsMarker;

// Walks the results section of a plane result, one point at a time, so a
// caller can act on each before the next is cut out.
class ResultPointReader {
public:
    explicit ResultPointReader(QStringList lines);

    // Whether any line begins with "平" once trimmed: a plane result.
    bool looksLikePlaneResult() const;
    // The next point, or nothing after the last one. Blank lines after the
    // last point end the section. Raises 62 when the heading is missing or a
    // point's lines run out, 5 for a coordinate line without "Y" or "=".
    std::optional<ResultPoint> next();

private:
    QStringList lines_;
    qsizetype pos_ = -1; // next unread line; -1 before the heading is found
};

// A point's height from the height result: the last 8 characters of the
// last line whose first 8 characters name the point; nothing when no line
// does.
std::optional<QString> heightOf(const QStringList& heightLines, const QString& name);

} // namespace kelvor::quelt
