// D.MMSS conversions, bearings and the traverse angle texts.
//
// The arithmetic order below is deliberate: results are compared digit for
// digit with existing reports, so each step keeps the order and precision of
// the established computation (nudge, whole parts, then the sum).
#include "routines/routines.h"

#include "platform/errors.h"
#include "platform/ui.h"

#include <algorithm>
#include <cmath>

namespace kelvor {

namespace {

constexpr double kNudge = 1E-10;

double dmsToDegrees(double dms, double* argument)
{
    const double s = dms < 0 ? -1.0 : 1.0;
    const double x = std::fabs(dms) + kNudge;
    if (argument)
        *argument = x;
    const double d = std::floor(x);
    const double m = 100 * (x - d);
    const double sec = 100 * (m - std::floor(m));
    return s * (d + std::floor(m) / 60 + sec / 3600);
}

double degreesToDms(double degrees, double* argument)
{
    const double s = degrees < 0 ? -1.0 : 1.0;
    const double x = std::fabs(degrees) + kNudge;
    if (argument)
        *argument = x;
    const double m = 60 * (x - std::floor(x));
    const double sec = 60 * (m - std::floor(m));
    return s * (std::floor(x) + std::floor(m) / 100 + sec / 10000);
}

void showNotNumber(Ui* ui)
{
    if (ui)
        ui->message(QStringLiteral("错误！！"), QStringLiteral("错误"), Icon::Critical);
}

} // namespace

double DmsToDegrees(double dms)
{
    return dmsToDegrees(dms, nullptr);
}

std::optional<double> DmsToDegrees(const QString& dms, Ui* ui)
{
    const auto v = ParseNumber(dms);
    if (!v) {
        showNotNumber(ui);
        return std::nullopt;
    }
    return dmsToDegrees(*v, nullptr);
}

double DmsToDegreesInPlace(double& dms)
{
    return dmsToDegrees(dms, &dms);
}

std::optional<double> DmsToDegreesInPlace(QString& dms, Ui* ui)
{
    const auto v = ParseNumber(dms);
    if (!v) {
        showNotNumber(ui);
        return std::nullopt;
    }
    double x = 0;
    const double r = dmsToDegrees(*v, &x);
    dms = NumberText(x);
    return r;
}

double DegreesToDms(double degrees)
{
    return degreesToDms(degrees, nullptr);
}

double DegreesToDms(const QString& degrees)
{
    return degreesToDms(StrictNumber(degrees), nullptr);
}

double DegreesToDmsInPlace(double& degrees)
{
    return degreesToDms(degrees, &degrees);
}

double DegreesToDmsInPlace(QString& degrees)
{
    double x = 0;
    const double r = degreesToDms(StrictNumber(degrees), &x);
    degrees = NumberText(x);
    return r;
}

double DmsToRadians(double dms)
{
    return DmsToDegrees(dms) * kPi15 / 180;
}

double DmsToRadians(const QString& dms, Ui* ui)
{
    return orZero(DmsToDegrees(dms, ui)) * kPi15 / 180;
}

double DmsToRadiansInPlace(double& dms)
{
    return DmsToDegreesInPlace(dms) * kPi15 / 180;
}

double DmsToRadiansInPlace(QString& dms, Ui* ui)
{
    return orZero(DmsToDegreesInPlace(dms, ui)) * kPi15 / 180;
}

float RadiansToDms(float radians)
{
    // Every step is rounded to single precision, the nudge included (and
    // so lost): the figures shown are those of the single-precision value.
    const float degrees = static_cast<float>(static_cast<double>(radians) * 180 / kPi15);
    const float s = degrees < 0 ? -1.0f : 1.0f;
    const float x = static_cast<float>(std::fabs(static_cast<double>(degrees)) + kNudge);
    const float whole = std::floor(x);
    const float m = 60.0f * (x - whole);
    const float mWhole = std::floor(m);
    const float sec = 60.0f * (m - mWhole);
    return s * (whole + mWhole / 100.0f + sec / 10000.0f);
}

std::optional<double> Azimuth(double X, double Y, double X1, double Y1, int unit)
{
    const double dX = X1 - X;
    const double dY = Y1 - Y;
    double a = 0;
    if (dX == 0) {
        if (dY > 0)
            a = 90;
        else if (dY < 0)
            a = 270;
        else
            return std::nullopt; // coincident points
    } else {
        const double t = std::atan(dY / dX) * 180 / kPi15;
        if (dX > 0 && dY >= 0)
            a = t;
        else if (dX < 0)
            a = t + 180;
        else
            a = t + 360;
    }
    if (!std::isfinite(a))
        return std::nullopt;
    switch (unit) {
    case AzimuthDms: return DegreesToDms(a);
    case AzimuthRadians: return a * kPi15 / 180;
    case AzimuthDegrees: return a;
    default: return 0.0;
    }
}

std::optional<double> Azimuth(const QString& X, const QString& Y, const QString& X1, const QString& Y1,
                              int unit)
{
    const auto x = ParseNumber(X);
    const auto y = ParseNumber(Y);
    const auto x1 = ParseNumber(X1);
    const auto y1 = ParseNumber(Y1);
    if (!x || !y || !x1 || !y1)
        return std::nullopt;
    return Azimuth(*x, *y, *x1, *y1, unit);
}

std::optional<QString> jjobj(const QString& a_bn)
{
    const QString t = TrimBlanks(a_bn);
    const int point = t.indexOf(QLatin1Char('.'));
    if (point < 0)
        raise(err::InvalidArgument);
    if (t.size() - point - 1 <= 4)
        return a_bn;
    if (LeadingNumber(a_bn) == 0)
        return std::nullopt;

    // Decided on the last two characters, whatever the count of decimals.
    const QChar p = t.at(t.size() - 2);
    const QChar q = t.at(t.size() - 1);
    const double v = LeadingNumber(t);
    const QString fourDecimals = QStringLiteral("0.0000");
    if (q == QLatin1Char('5')) {
        const bool odd = p >= QLatin1Char('0') && p <= QLatin1Char('9') && (p.unicode() - '0') % 2 == 1;
        if (odd) {
            // Rounding up may reach 60 seconds: carry through degrees.
            const double w = v > 0 ? v + 0.00005 : v - 0.00005;
            return FormatPattern(DegreesToDms(DmsToDegrees(w)), fourDecimals);
        }
        return FormatPattern(v > 0 ? v - 0.00005 : v + 0.00005, fourDecimals);
    }
    if (q == QLatin1Char('0'))
        return FormatPattern(a_bn, fourDecimals);
    return std::nullopt;
}

QString addmiao(const QString& ap_str)
{
    const double x = std::fabs(StrictNumber(ap_str));
    // The nudge only decides the whole degrees and minutes, so 0.2900 is 29
    // minutes (not 28 and 100 seconds) while the seconds keep their value.
    const double nudged = x + kNudge;
    const double d = std::floor(nudged);
    const double m = std::floor(100 * (nudged - d));
    const double sec = 10000 * ((x - d) - m / 100);
    const double total = 3600 * d + 60 * m + sec;

    const double sign = LeadingNumber(ap_str);
    const QString text = SignedNumberText(total);
    if (sign > 0)
        return QLatin1Char('+') + text;
    if (sign < 0)
        return QLatin1Char('-') + text;
    return text;
}

QString addling(const QString& ap, int ass)
{
    if (!IsNumber(ap))
        raise(err::TypeMismatch);
    const int point = ap.indexOf(QLatin1Char('.'));
    const int zeros = std::max(ass, 0);
    if (point < 0)
        return ap + QLatin1Char('.') + QString(zeros, QLatin1Char('0'));
    const QString t = TrimBlanks(ap);
    const int k = t.size() - t.indexOf(QLatin1Char('.')) - 1;
    if (k <= ass)
        return ap + QString(ass - k, QLatin1Char('0'));
    return ap;
}

QString addling(double ap, int ass)
{
    return addling(NumberText(ap), ass);
}

namespace {
QString rightAngle(double a)
{
    const double r = DegreesToDms(DmsToDegrees(360.0) - DmsToDegrees(std::fabs(a)));
    return FormatPattern(r, QStringLiteral("###.####"));
}
} // namespace

QString panzpany(const QString& assp)
{
    const QString r = rightAngle(LeadingNumber(assp));
    if (StrictNumber(assp) < 0)
        return NumberText(-LeadingNumber(r));
    return r;
}

QString panzpany(double assp)
{
    const QString r = rightAngle(assp);
    return assp < 0 ? NumberText(-LeadingNumber(r)) : r;
}

} // namespace kelvor
