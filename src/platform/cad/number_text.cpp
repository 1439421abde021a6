#include "number_text.h"

#include <cmath>

namespace kelvor::cad {

QString numberText(double v)
{
    if (v == 0)
        return QStringLiteral("0");
    QString s = QString::number(v, 'g', 15);
    const int e = s.indexOf(QLatin1Char('e'));
    if (e >= 0) {
        // 1e-05 -> 1E-05, 1.5e+20 -> 1.5E+20
        s[e] = QLatin1Char('E');
    }
    return s;
}

QString signedNumberText(double v)
{
    QString s = numberText(v);
    const bool negative = s.startsWith(QLatin1Char('-'));
    QString body = negative ? s.mid(1) : s;
    if (body.startsWith(QLatin1String("0.")))
        body.remove(0, 1);
    return (negative ? QStringLiteral("-") : QStringLiteral(" ")) + body;
}

double leadingNumber(const QString& text)
{
    const QString t = text.trimmed();
    int i = 0;
    if (i < t.size() && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-')))
        ++i;
    while (i < t.size() && (t[i].isDigit() || t[i] == QLatin1Char('.')))
        ++i;
    if (i < t.size() && (t[i] == QLatin1Char('E') || t[i] == QLatin1Char('e'))) {
        int j = i + 1;
        if (j < t.size() && (t[j] == QLatin1Char('+') || t[j] == QLatin1Char('-')))
            ++j;
        if (j < t.size() && t[j].isDigit()) {
            while (j < t.size() && t[j].isDigit())
                ++j;
            i = j;
        }
    }
    for (int n = i; n > 0; --n) {
        bool ok = false;
        const double v = t.left(n).toDouble(&ok);
        if (ok)
            return v;
    }
    return 0;
}

} // namespace kelvor::cad
