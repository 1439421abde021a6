// Numbers and texts: leading-number reading, number text, the strict number
// test and the pattern formatter. Everything here is locale-free: the
// decimal point is "." whatever the platform's settings say.
#include "routines/routines.h"

#include "platform/errors.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>
#include <system_error>

namespace kelvor {

namespace {

bool isDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

// Parses an ASCII number text that is already known to be well formed.
// Tiny magnitudes read as 0; huge ones set overflow.
double parseAscii(const std::string& s, bool* overflow)
{
    double v = 0.0;
    const char* first = s.data();
    const char* last = s.data() + s.size();
    const bool negative = !s.empty() && s[0] == '-';
    if (!s.empty() && (s[0] == '+' || s[0] == '-'))
        ++first;
    const auto r = std::from_chars(first, last, v, std::chars_format::general);
    if (r.ec == std::errc::result_out_of_range) {
        const auto e = s.find('e');
        const bool tiny = e != std::string::npos && e + 1 < s.size() && s[e + 1] == '-';
        if (tiny) {
            v = 0.0;
        } else {
            if (overflow)
                *overflow = true;
            v = HUGE_VAL;
        }
    }
    return negative ? -v : v;
}

// The value to 15 significant digits: digits "ddddddddddddddd" (no sign)
// and the decimal exponent of the first one. Zero gives "0" and 0.
void fifteenDigits(double magnitude, std::string& digits, int& exponent)
{
    if (magnitude == 0.0) {
        digits = "0";
        exponent = 0;
        return;
    }
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific, 14);
    const std::string s(buf, r.ptr);
    const auto e = s.find('e');
    digits.clear();
    for (std::size_t i = 0; i < e; ++i)
        if (s[i] != '.')
            digits.push_back(s[i]);
    exponent = std::stoi(s.substr(e + 1));
}

// Adds one unit in the last place of a digit string.
void incrementDigits(std::string& s)
{
    int i = static_cast<int>(s.size()) - 1;
    while (i >= 0) {
        if (s[i] == '9') {
            s[i] = '0';
            --i;
        } else {
            ++s[i];
            return;
        }
    }
    s.insert(s.begin(), '1');
}

bool isPlaceholder(QChar c) { return c == QLatin1Char('#') || c == QLatin1Char('0') || c == QLatin1Char('.'); }

} // namespace

QString shownText(const std::optional<double>& v)
{
    return v ? NumberText(*v) : QString();
}

namespace {
// The leading number of LeadingNumber; overflow tells a number too large
// for a double (then the result is meaningless).
double leadingNumber(const QString& text, bool& overflow)
{
    overflow = false;
    std::string s;
    bool digits = false;
    bool point = false;
    int i = 0;
    const int n = text.size();
    auto skip = [&] {
        while (i < n && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t') || text[i] == QLatin1Char('\n')))
            ++i;
    };
    skip();
    if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
        s.push_back(static_cast<char>(text[i].unicode()));
        ++i;
    }
    for (;; ++i) {
        skip();
        if (i >= n)
            break;
        const QChar c = text[i];
        if (isDigit(c)) {
            s.push_back(static_cast<char>(c.unicode()));
            digits = true;
        } else if (c == QLatin1Char('.') && !point) {
            s.push_back('.');
            point = true;
        } else {
            break;
        }
    }
    if (!digits)
        return 0.0;
    if (i < n) {
        const QChar c = text[i].toUpper();
        if (c == QLatin1Char('E') || c == QLatin1Char('D')) {
            std::string e = "e";
            ++i;
            skip();
            if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
                e.push_back(static_cast<char>(text[i].unicode()));
                ++i;
            }
            bool expDigits = false;
            for (;; ++i) {
                skip();
                if (i >= n || !isDigit(text[i]))
                    break;
                e.push_back(static_cast<char>(text[i].unicode()));
                expDigits = true;
            }
            if (expDigits)
                s += e;
        }
    }
    return parseAscii(s, &overflow);
}
} // namespace

double LeadingNumber(const QString& text)
{
    bool overflow = false;
    const double v = leadingNumber(text, overflow);
    return overflow ? 0.0 : v;
}

std::optional<double> FiniteLeadingNumber(const QString& text)
{
    bool overflow = false;
    const double v = leadingNumber(text, overflow);
    if (overflow)
        return std::nullopt;
    return v;
}

QString NumberText(double value)
{
    if (value == 0.0)
        return QStringLiteral("0");
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 15);
    QString t = QString::fromLatin1(buf, static_cast<int>(r.ptr - buf));
    t.replace(QLatin1Char('e'), QLatin1Char('E'));
    return t;
}

QString SignedNumberText(double value)
{
    QString t = NumberText(value);
    const bool negative = t.startsWith(QLatin1Char('-'));
    if (negative)
        t.remove(0, 1);
    if (t.startsWith(QLatin1String("0.")))
        t.remove(0, 1);
    return (negative ? QLatin1Char('-') : QLatin1Char(' ')) + t;
}

namespace {
enum class Parsed { Ok, NotNumber, Overflow };

Parsed parseStrict(const QString& text, double& out)
{
    const QString t = TrimBlanks(text);
    const int n = t.size();
    int i = 0;
    std::string s;
    if (i < n && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-'))) {
        s.push_back(static_cast<char>(t[i].unicode()));
        ++i;
        while (i < n && t[i] == QLatin1Char(' '))
            ++i;
    }
    bool digits = false;
    bool point = false;
    for (; i < n; ++i) {
        const QChar c = t[i];
        if (isDigit(c)) {
            digits = true;
        } else if (c == QLatin1Char('.') && !point) {
            point = true;
        } else {
            break;
        }
        s.push_back(static_cast<char>(c.unicode()));
    }
    if (!digits)
        return Parsed::NotNumber;
    if (i < n) {
        const QChar c = t[i].toUpper();
        if (c != QLatin1Char('E') && c != QLatin1Char('D'))
            return Parsed::NotNumber;
        s.push_back('e');
        ++i;
        if (i < n && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-'))) {
            s.push_back(static_cast<char>(t[i].unicode()));
            ++i;
        }
        bool expDigits = false;
        for (; i < n && isDigit(t[i]); ++i) {
            s.push_back(static_cast<char>(t[i].unicode()));
            expDigits = true;
        }
        if (!expDigits || i < n)
            return Parsed::NotNumber;
    }
    bool overflow = false;
    out = parseAscii(s, &overflow);
    return overflow ? Parsed::Overflow : Parsed::Ok;
}
} // namespace

std::optional<double> ParseNumber(const QString& text)
{
    double v = 0.0;
    if (parseStrict(text, v) != Parsed::Ok)
        return std::nullopt;
    return v;
}

bool IsNumber(const QString& text)
{
    return ParseNumber(text).has_value();
}

double StrictNumber(const QString& text)
{
    double v = 0.0;
    switch (parseStrict(text, v)) {
    case Parsed::Ok:
        return v;
    case Parsed::Overflow:
        raise(err::Overflow); // well formed but too large, as arithmetic reports it
    case Parsed::NotNumber:
        break;
    }
    raise(err::TypeMismatch);
}

QString FormatPattern(double value, const QString& pattern)
{
    if (!std::isfinite(value))
        return NumberText(value);

    // Split the pattern into literal prefix, placeholders and literal suffix.
    int first = 0;
    while (first < pattern.size() && !isPlaceholder(pattern[first]))
        ++first;
    int last = pattern.size() - 1;
    while (last >= first && !isPlaceholder(pattern[last]))
        --last;
    const QString prefix = pattern.left(first);
    const QString suffix = pattern.mid(last + 1);
    int intZeros = 0;
    bool hasPoint = false;
    QString decimalPlaces; // the "0"/"#" placeholders after the point
    for (int i = first; i <= last; ++i) {
        const QChar c = pattern[i];
        if (c == QLatin1Char('.') && !hasPoint)
            hasPoint = true;
        else if (!hasPoint && c == QLatin1Char('0'))
            ++intZeros;
        else if (hasPoint && (c == QLatin1Char('0') || c == QLatin1Char('#')))
            decimalPlaces.append(c);
    }
    const int decimals = decimalPlaces.size();

    const bool negative = value < 0;
    std::string digits;
    int exponent = 0;
    fifteenDigits(std::fabs(value), digits, exponent);

    // Place the point: integer digits and fraction digits, exactly.
    std::string intPart;
    std::string fracPart;
    const int pointAt = exponent + 1;
    if (pointAt <= 0) {
        intPart = "0";
        fracPart = std::string(-pointAt, '0') + digits;
    } else if (pointAt >= static_cast<int>(digits.size())) {
        intPart = digits + std::string(pointAt - digits.size(), '0');
    } else {
        intPart = digits.substr(0, pointAt);
        fracPart = digits.substr(pointAt);
    }

    // Half away from zero on the decimal form.
    if (static_cast<int>(fracPart.size()) > decimals) {
        const bool up = fracPart[decimals] >= '5';
        fracPart.resize(decimals);
        if (up) {
            std::string all = intPart + fracPart;
            incrementDigits(all);
            intPart = all.substr(0, all.size() - decimals);
            fracPart = all.substr(all.size() - decimals);
        }
    }
    fracPart.resize(decimals, '0');

    const auto nz = intPart.find_first_not_of('0');
    intPart = nz == std::string::npos ? std::string() : intPart.substr(nz);
    if (static_cast<int>(intPart.size()) < intZeros)
        intPart.insert(0, intZeros - intPart.size(), '0');

    // "#" places drop trailing zeros, "0" places always show.
    int keep = decimals;
    while (keep > 0 && fracPart[keep - 1] == '0' && decimalPlaces[keep - 1] == QLatin1Char('#'))
        --keep;
    fracPart.resize(keep);

    QString out;
    if (negative)
        out += QLatin1Char('-');
    out += prefix;
    out += QString::fromLatin1(intPart.data(), static_cast<int>(intPart.size()));
    if (hasPoint)
        out += QLatin1Char('.');
    out += QString::fromLatin1(fracPart.data(), static_cast<int>(fracPart.size()));
    out += suffix;
    return out;
}

QString FormatPattern(const QString& value, const QString& pattern)
{
    const auto v = ParseNumber(value);
    return v ? FormatPattern(*v, pattern) : value;
}

namespace {
QString fixedPattern(int n, bool plus)
{
    QString p = QStringLiteral("###0.") + QString(std::max(n, 0), QLatin1Char('0'));
    return plus ? QLatin1Char('+') + p : p;
}
} // namespace

QString FormatFixed(double value, int n, int plus)
{
    return FormatPattern(value, fixedPattern(n, plus == 1 && LeadingNumber(NumberText(value)) > 0));
}

QString FormatFixed(const QString& value, int n, int plus)
{
    return FormatPattern(value, fixedPattern(n, plus == 1 && LeadingNumber(value) > 0));
}

double sevenDigits(float value)
{
    return QString::number(double(value), 'g', 7).toDouble();
}

} // namespace kelvor
