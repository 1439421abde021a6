#pragma once
#include <QString>
#include <optional>

namespace kelvor {
class Ui;
}

namespace kelvor::quelt {

// The horizontal distance of a slope distance at a D.MMSS vertical angle,
// "0.000"; texts are read as their leading number (0 when none).
QString reducedDistance(const QString& verticalAngle, const QString& slopeDistance);

// S * sin(v) + i - t for a D.MMSS vertical angle v. An angle that is no
// number is reported on ui and counts as 0; S, i or t that is no number
// raises error 13.
double heightDifference(const QString& verticalAngle, const QString& slopeDistance, const QString& instrumentHeight,
                        const QString& targetHeight, Ui* ui);

// The height result that goes with a plane result: its folder and name up
// to the last ".", then "H.ouT" (D:\Q\P1\P1.OUT -> D:\Q\P1\P1H.ouT).
// Nothing when the file name has no ".".
std::optional<QString> proposedHeightResult(const QString& planeResult);

} // namespace kelvor::quelt
