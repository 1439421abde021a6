#include "result_files.h"

#include "routines/routines.h"
#include "platform/errors.h"

#include <cmath>

namespace kelvor::quelt {

const QString kResultsMarker = QStringLiteral("平  差  成  果");

namespace {

int roundHalfEven(double v)
{
    const double f = std::floor(v);
    const double d = v - f;
    if (d > 0.5 || (d == 0.5 && std::fmod(f, 2.0) != 0.0))
        return int(f) + 1;
    return int(f);
}

// 1-based position of the first c among the first `within` characters, 0
// when none.
qsizetype findWithin(const QString& s, QChar c, qsizetype within)
{
    return s.left(within).indexOf(c) + 1;
}

// Characters from 1-based start, at most length of them; a start below 1 or
// a negative length is a cut that cannot be made.
QString mid(const QString& s, qsizetype start, qsizetype length = -1)
{
    if (start < 1)
        raise(err::InvalidArgument);
    if (length < -1)
        raise(err::InvalidArgument);
    return s.mid(start - 1, length);
}

// From 2 after the first "=" up to the next blank, never past position 20.
QString valueAfterFirstEquals(const QString& t)
{
    const qsizetype start = findWithin(t, QLatin1Char('='), 100) + 2;
    const qsizetype blank = t.indexOf(QLatin1Char(' '), start - 1) + 1;
    qsizetype last = blank > 0 ? blank - 1 : t.size();
    last = std::min<qsizetype>(last, 20);
    return last >= start ? t.mid(start - 1, last - start + 1) : QString();
}

} // namespace

int halfOf(double length)
{
    return roundHalfEven(length / 2.0);
}

NamePair orientationNames(const QString& line10)
{
    const QString t = TrimBlanks(line10);
    const int h = halfOf(double(line10.size()));
    return {TrimBlanks(t.left(h)), TrimBlanks(mid(t, h, h))};
}

NamePair orientationX(const QString& line11)
{
    const QString t = TrimBlanks(line11);
    const QString rest = mid(t, t.indexOf(QLatin1Char('D')) + 1);
    return {valueAfterFirstEquals(t), mid(rest, rest.indexOf(QLatin1Char('=')) + 1 + 2)};
}

NamePair orientationY(const QString& line12)
{
    const QString t = TrimBlanks(line12);
    const qsizetype n = t.size();
    const qsizetype p = findWithin(t, QLatin1Char('='), 100);
    if (p == 0)
        raise(err::InvalidArgument);
    const int count = roundHalfEven(double(n) / 2.0 - double(p));
    const QString start = mid(t, p + 1, count);
    const int h = halfOf(double(n));
    const QString s = TrimBlanks(mid(t, h, h));
    const qsizetype q = findWithin(s, QLatin1Char('='), 200);
    if (q == 0)
        raise(err::InvalidArgument);
    return {start, TrimBlanks(s.mid(q))};
}

QString coordinateX(const QString& line)
{
    return valueAfterFirstEquals(TrimBlanks(line));
}

QString coordinateY(const QString& line)
{
    const QString t = TrimBlanks(line);
    const qsizetype y = t.indexOf(QLatin1Char('Y'));
    if (y < 0)
        raise(err::InvalidArgument);
    const QString r = t.mid(y);
    const qsizetype p = findWithin(r, QLatin1Char('='), 100);
    if (p == 0)
        raise(err::InvalidArgument);
    return mid(r, p + 3);
}

ResultPointReader::ResultPointReader(QStringList lines)
    : lines_(std::move(lines))
{
}

bool ResultPointReader::looksLikePlaneResult() const
{
    for (const QString& l : lines_)
        if (TrimBlanks(l).startsWith(QStringLiteral("平")))
            return true;
    return false;
}

std::optional<ResultPoint> ResultPointReader::next()
{
    bool first = false;
    if (pos_ < 0) {
        for (qsizetype i = 0; i < lines_.size() && pos_ < 0; ++i)
            if (TrimBlanks(lines_[i]) == kResultsMarker)
                pos_ = i + 1;
        if (pos_ < 0)
            raise(err::InputPastEnd);
        first = true;
    }
    if (!first) {
        bool blankToEnd = true;
        for (qsizetype i = pos_; i < lines_.size() && blankToEnd; ++i)
            blankToEnd = TrimBlanks(lines_[i]).isEmpty();
        if (blankToEnd)
            return std::nullopt;
    }
    const qsizetype size = first ? 2 : 3;
    if (pos_ + size > lines_.size())
        raise(err::InputPastEnd);
    const QString name = TrimBlanks(lines_[pos_]);
    const QString coords = lines_[pos_ + size - 1];
    pos_ += size;
    return ResultPoint{name, coordinateX(coords), coordinateY(coords)};
}

std::optional<QString> heightOf(const QStringList& heightLines, const QString& name)
{
    const QString wanted = TrimBlanks(name);
    std::optional<QString> h;
    for (const QString& line : heightLines) {
        const QString t = TrimBlanks(line);
        if (TrimBlanks(t.left(8)) == wanted)
            h = t.right(8);
    }
    return h;
}

} // namespace kelvor::quelt
