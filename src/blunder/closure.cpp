#include "closure.h"

#include "routines/routines.h"
#include "platform/errors.h"
#include "traverse/adjust.h"
#include "traverse/data_file.h"

#include <cmath>
#include <limits>
#include <optional>

namespace kelvor::blunder {

namespace {

// A known bearing in degrees to five decimals; two points without one are
// bad input like a field that is not a number.
double knownBearing(double fromX, double fromY, double toX, double toY)
{
    const std::optional<double> a = Azimuth(fromX, fromY, toX, toY, AzimuthDegrees);
    if (!a)
        raise(err::TypeMismatch);
    return roundDecimals(*a, 5);
}

double reversed(double bearing)
{
    double a = bearing + 180;
    if (a >= 360)
        a -= 360;
    return a;
}

} // namespace

double roundDecimals(double value, int decimals)
{
    const QString pattern = QStringLiteral("0.") + QString(decimals, QLatin1Char('0'));
    return LeadingNumber(FormatPattern(value, pattern));
}

Traverse numericTraverse(const traverse::TraverseData& data)
{
    if (data.N < 2)
        raise(err::SubscriptOutOfRange);
    Traverse t;
    t.N = data.N;
    for (int j = 1; j <= t.N; ++j) {
        const traverse::DataStation& s = data.station(j);
        t.names << s.name;
        t.angleTexts << s.angle;
        t.beta.push_back(StrictNumber(s.angle));
        if (j < t.N) {
            t.S.push_back(StrictNumber(s.distance));
            t.sumS += t.S.back();
        }
    }
    t.bx = StrictNumber(data.startStation.x);
    t.by = StrictNumber(data.startStation.y);
    t.cx = StrictNumber(data.endStation.x);
    t.cy = StrictNumber(data.endStation.y);
    t.alpha0 = reversed(knownBearing(t.bx, t.by, StrictNumber(data.startOrientation.x),
                                     StrictNumber(data.startOrientation.y)));
    t.alphaCD = knownBearing(t.cx, t.cy, StrictNumber(data.endOrientation.x), StrictNumber(data.endOrientation.y));
    t.alphaDC = reversed(t.alphaCD);
    return t;
}

std::vector<float> propagateAzimuths(double alpha0, const std::vector<double>& beta, bool carrySevenDigits)
{
    std::vector<float> az;
    az.reserve(beta.size());
    double a = alpha0;
    for (double b : beta) {
        a = a >= 180 ? a - 180 : a + 180;
        float ak = float(a + DmsToDegrees(b + 0.00001));
        if (ak >= 360)
            ak = ak - 360.0f;
        az.push_back(ak);
        a = carrySevenDigits ? sevenDigits(ak) : double(ak);
    }
    return az;
}

double spreadMisclosure(std::vector<float>& az, double alphaCD)
{
    const double fbeta = traverse::closure::angularMisclosure(double(az.back()), alphaCD);
    const double v = -fbeta / double(az.size());
    for (size_t i = 0; i < az.size(); ++i)
        az[i] = float(double(az[i]) + double(i + 1) * v);
    return fbeta;
}

LegDirections legDirections(const std::vector<float>& az)
{
    LegDirections d;
    for (size_t i = 0; i + 1 < az.size(); ++i) {
        const double r = DmsToRadians(DegreesToDms(double(az[i])));
        d.cosr.push_back(std::cos(r));
        d.sinr.push_back(std::sin(r));
    }
    return d;
}

double relativeClosure(double sumS, double fs)
{
    if (fs == 0)
        return std::numeric_limits<double>::infinity();
    return std::floor(sumS / fs);
}

Closure traverseClosure(const Traverse& t, const std::vector<double>& beta, bool roundMillimetres)
{
    Closure c;
    c.az = propagateAzimuths(t.alpha0, beta, true);
    c.fbeta = spreadMisclosure(c.az, t.alphaCD);
    const std::vector<double> az(c.az.begin(), c.az.end());
    const traverse::closure::Legs legs = traverse::closure::legVectors(t.bx, t.by, az, t.S);
    c.xN = legs.x.back();
    c.yN = legs.y.back();
    c.fx = c.xN - t.cx;
    c.fy = c.yN - t.cy;
    if (roundMillimetres) {
        c.fx = roundDecimals(c.fx, 3);
        c.fy = roundDecimals(c.fy, 3);
    }
    c.fs = std::sqrt(c.fx * c.fx + c.fy * c.fy);
    c.T = relativeClosure(t.sumS, c.fs);
    return c;
}

} // namespace kelvor::blunder
