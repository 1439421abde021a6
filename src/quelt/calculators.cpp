#include "calculators.h"

#include "routines/routines.h"

#include <cmath>

namespace kelvor::quelt {

QString reducedDistance(const QString& verticalAngle, const QString& slopeDistance)
{
    // Double precision throughout: a single-precision angle such as 2.3000
    // would split into 2 deg 29 min 99.9995 s.
    const double v = LeadingNumber(TrimBlanks(verticalAngle));
    const double s = LeadingNumber(TrimBlanks(slopeDistance));
    return FormatPattern(s * std::cos(DmsToDegrees(v) * kPi15 / 180.0), QStringLiteral("0.000"));
}

double heightDifference(const QString& verticalAngle, const QString& slopeDistance, const QString& instrumentHeight,
                        const QString& targetHeight, Ui* ui)
{
    const double v = DmsToRadians(verticalAngle, ui);
    const double s = StrictNumber(slopeDistance);
    const double i = StrictNumber(instrumentHeight);
    const double t = StrictNumber(targetHeight);
    return s * std::sin(v) + i - t;
}

std::optional<QString> proposedHeightResult(const QString& planeResult)
{
    const QString path = TrimBlanks(planeResult);
    const qsizetype sep = std::max(path.lastIndexOf(QLatin1Char('\\')), path.lastIndexOf(QLatin1Char('/')));
    const QString file = path.mid(sep + 1);
    const qsizetype dot = file.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        return std::nullopt;
    return path.left(sep + 1) + file.left(dot) + QStringLiteral("H.ouT");
}

} // namespace kelvor::quelt
