#include "gauss.h"

#include "platform/errors.h"

#include <cmath>

namespace kelvor::coords {

namespace {

constexpr int OverflowError = 6;

// The series are evaluated in exactly the nested order they are published
// in; reordering changes the last printed digits.
struct ForwardTerms {
    double K, N, a0, a4, a6, a3, a5;
};

ForwardTerms forwardTerms(Series s, double c)
{
    ForwardTerms t;
    if (s == Series::Krasovsky) {
        t.K = 6367558.4969;
        t.N = 6399698.902 - (21562.267 - (108.973 - 0.612 * c) * c) * c;
        t.a0 = 32140.404 - (135.3302 - (0.7092 - 0.004 * c) * c) * c;
        t.a4 = (0.25 + 0.00252 * c) * c - 0.04166;
        t.a6 = (0.166 * c - 0.084) * c;
        t.a3 = (0.3333333 + 0.001123 * c) * c - 0.1666667;
        t.a5 = 0.0083 - (0.1667 - (0.1968 + 0.004 * c) * c) * c;
    } else {
        t.K = 6367452.1328;
        t.N = 6399596.652 - (21565.045 - (108.996 - 0.603 * c) * c) * c;
        t.a0 = 32144.5189 - (135.3646 - (0.7034 - 0.0041 * c) * c) * c;
        t.a4 = (0.25 + 0.00253 * c) * c - 0.04167;
        t.a6 = (0.167 * c - 0.083) * c;
        t.a3 = (0.3333333 + 0.001123 * c) * c - 0.1666667;
        t.a5 = 0.00878 - (0.1702 - 0.20382 * c) * c;
    }
    return t;
}

void requireFinite(double a, double b)
{
    if (!std::isfinite(a) || !std::isfinite(b))
        raise(OverflowError);
}

} // namespace

Series seriesForDatum(const QString& datumText)
{
    return datumText == QStringLiteral("北京54坐标系") ? Series::Krasovsky : Series::Iag75;
}

double AngleChangeToRadian(double angle)
{
    // The sign belongs to the whole angle: -30.3000 is 30 deg 30 min south,
    // so the magnitude is split and the sign put back (a floor of the signed
    // value would read it as -31 deg + 70 min).
    const bool negative = angle < 0;
    const double a = negative ? -angle : angle;
    const double d = std::floor(a);
    const double f = (a - d) * 100;
    // Single precision absorbs the representation error of the decimal
    // minutes (29.9999999999997 for 114.3000 becomes 30).
    const double m = std::floor(static_cast<double>(static_cast<float>(f)));
    const double s = (f - m) * 100;
    const double r = Pi / 180 * ((d + m / 60) + s / 3600);
    return negative ? -r : r;
}

void DuMenMiao(double angle, double& du, double& fen, double& miao)
{
    const double b = (180 / Pi) * angle;
    // Whole degrees from b itself (plus the same 1E-12 the minutes get), so
    // a value just below a whole degree never yields minutes of -1.
    du = std::floor(b + 1E-12);
    const double t = (b + 1E-12 - du) * 60;
    fen = std::floor(t);
    miao = (t - fen) * 60;
}

double RadianChangeToAngle(double radian)
{
    const bool negative = radian < 0;
    const double r = negative ? -radian : radian;
    double du = 0, fen = 0, miao = 0;
    DuMenMiao(r, du, fen, miao);
    const double a = du + fen / 100 + miao / 10000;
    return negative ? -a : a;
}

void ZuoBiaoZhengSuan(double inputOfB, double inputOfL, double inputOfL0, double& returnOfx,
                      double& returnOfy, Series series, bool falseEasting)
{
    const double B = AngleChangeToRadian(inputOfB);
    const double L = AngleChangeToRadian(inputOfL);
    const double L0 = AngleChangeToRadian(inputOfL0);
    const double cosB = std::cos(B);
    const double sinB = std::sin(B);
    const double c = cosB * cosB;
    const double l = L - L0;
    const double l2 = l * l;
    const ForwardTerms t = forwardTerms(series, c);
    const double x = t.K * B - (t.a0 - (0.5 + (t.a4 + t.a6 * l2) * l2) * l2 * t.N) * sinB * cosB;
    double y = (1 + (t.a3 + t.a5 * l2) * l2) * l * t.N * cosB;
    if (falseEasting)
        y = y + 500000;
    requireFinite(x, y);
    returnOfx = x;
    returnOfy = y;
}

void ZuoBiaoFanSuan(double inputOfx, double inputOfy, double inputOfL0, double& returnOfB,
                    double& returnOfL, Series series, bool falseEasting)
{
    double y = inputOfy;
    if (falseEasting)
        y = y - 500000;
    const double x = inputOfx;
    const double L0 = AngleChangeToRadian(inputOfL0);

    const bool kr = series == Series::Krasovsky;
    const double K = kr ? 6367558.4969 : 6367452.1328;
    const double A0 = kr ? 50221746 : 50228976;
    const double A1 = kr ? 293622 : 293697;
    const double A2 = kr ? 2350 : 2383;

    const double beta = x / K;
    const double cosBeta = std::cos(beta);
    const double cBeta = cosBeta * cosBeta;
    const double Bf = beta + (A0 + (A1 + (A2 + 22 * cBeta) * cBeta) * cBeta) / 10000000000.0 * std::sin(beta) * cosBeta;

    const double cosBf = std::cos(Bf);
    const double sinBf = std::sin(Bf);
    const double c = cosBf * cosBf;
    double Nf, b2, b3, b4, b5, k;
    if (kr) {
        Nf = 6399698.902 - (21562.267 - (108.973 - 0.612 * c) * c) * c;
        b2 = (0.5 + 0.003369 * c) * sinBf * cosBf;
        b3 = 0.333333 - (0.166667 - 0.001123 * c) * c;
        b4 = 0.25 + (0.16161 + 0.00562 * c) * c;
        b5 = 0.2 - (0.1667 - 0.0088 * c) * c;
        k = 0.12;
    } else {
        Nf = 6399596.652 - (21565.047 - (109.003 - 0.612 * c) * c) * c;
        b2 = (0.5 + 0.00336975 * c) * sinBf * cosBf;
        b3 = 0.3333333 - (0.1666667 - 0.001123 * c) * c;
        b4 = 0.25 + (0.161612 + 0.005617 * c) * c;
        b5 = 0.2 - (0.16667 - 0.00878 * c) * c;
        k = 0.147;
    }
    const double Z = y / (Nf * cosBf);
    const double Z2 = Z * Z;
    const double B = Bf - (1 - (b4 - k * Z2) * Z2) * Z2 * b2;
    const double l = (1 - (b3 - b5 * Z2) * Z2) * Z;
    const double L = l + L0;
    const double outB = RadianChangeToAngle(B);
    const double outL = RadianChangeToAngle(L);
    requireFinite(outB, outL);
    returnOfB = outB;
    returnOfL = outL;
}

void changeZone(double x, double y, double l0, double l0new, const Projection& p, double& newX,
                double& newY)
{
    double B = 0, L = 0;
    ZuoBiaoFanSuan(x, y, l0, B, L, p.inverse, p.falseEasting);
    ZuoBiaoZhengSuan(B, L, l0new, newX, newY, p.forward, p.falseEasting);
}

} // namespace kelvor::coords
