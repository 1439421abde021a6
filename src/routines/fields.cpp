// Field splitting and column filling for the line-oriented text files.
#include "routines/routines.h"

#include "platform/errors.h"

#include <QStringList>

#include <cmath>

namespace kelvor {

namespace {

const QChar kBlank(QLatin1Char(' '));

QString separatedField(const QString& line, QChar separator, int n)
{
    // The empty line has no field at all, not one empty field.
    if (line.isEmpty())
        raise(err::SubscriptOutOfRange);
    const QStringList fields = line.split(separator);
    if (n < 1 || n > fields.size())
        raise(err::SubscriptOutOfRange);
    return TrimBlanks(fields.at(n - 1));
}

} // namespace

QString CommaField(const QString& line, int n)
{
    return separatedField(line, QLatin1Char(','), n);
}

QString DashField(const QString& line, int n)
{
    return separatedField(line, QLatin1Char('-'), n);
}

std::optional<QString> BlankField(const QString& line, int n)
{
    if (n < 1 || n > 6)
        return std::nullopt;
    const QString t = TrimBlanks(line);
    int field = 0;
    int i = 0;
    while (i < t.size() && field < 6) {
        const int start = i;
        while (i < t.size() && t[i] != kBlank)
            ++i;
        if (++field == n)
            return t.mid(start, i - start);
        while (i < t.size() && t[i] == kBlank)
            ++i;
    }
    return QString();
}

QString selecttx(const QString& ps, int ip)
{
    if (ip < 1)
        return QString();
    const QStringList fields = TrimBlanks(ps).split(QLatin1Char(','));
    if (ip > fields.size())
        return QString();
    return TrimBlanks(fields.at(ip - 1));
}

QString selecttx(QString& ps, int ip)
{
    ps = TrimBlanks(ps);
    return selecttx(static_cast<const QString&>(ps), ip);
}

QString PadRight(const QString& value, double width)
{
    const double k = width - TrimBlanks(value).size();
    if (!(k >= 1))
        return value;
    return value + QString(static_cast<int>(std::floor(k)), kBlank);
}

} // namespace kelvor
