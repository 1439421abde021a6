#include "stake_out.h"

#include "routines/routines.h"

#include <cmath>

namespace kelvor::coords {

std::optional<StakeOutResult> stakeOut(const StakeOutInput& in, Ui* ui)
{
    const std::optional<double> xs = ParseNumber(in.stationX), ys = ParseNumber(in.stationY);
    const std::optional<double> xo = ParseNumber(in.orientX), yo = ParseNumber(in.orientY);
    const std::optional<double> xp = ParseNumber(in.pointX), yp = ParseNumber(in.pointY);
    if (!xs || !ys || !xo || !yo || !xp || !yp)
        return std::nullopt;
    const double toOrient = DmsToDegrees(orZero(Azimuth(*xs, *ys, *xo, *yo, AzimuthDms)));
    const double toPoint = DmsToDegrees(orZero(Azimuth(*xs, *ys, *xp, *yp, AzimuthDms)));
    double turn = toPoint - toOrient;
    if (turn <= 0)
        turn += 360;
    const double distance = std::sqrt((*xs - *xp) * (*xs - *xp) + (*ys - *yp) * (*ys - *yp));
    const double set = orZero(DmsToDegrees(TrimBlanks(in.orientReading), ui));
    StakeOutResult r;
    r.reading = FormatFixed(DegreesToDms(set + turn), 4);
    r.distance = FormatPattern(distance, QStringLiteral("###.###"));
    return r;
}

QString stakeOutText(const StakeOutResult& r)
{
    return QStringLiteral("角度=") + r.reading + QStringLiteral("(°′″)") + QStringLiteral(" 距离=") + r.distance
        + QStringLiteral("米");
}

} // namespace kelvor::coords
