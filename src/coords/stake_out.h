#pragma once
#include <QString>
#include <optional>

namespace kelvor {
class Ui;
}

// The stake-out reading: the horizontal circle reading to turn to at the
// station, given the reading set on the orientation point, and the
// horizontal distance to the point to set out.
namespace kelvor::coords {

struct StakeOutInput {
    QString stationX, stationY;   // northing, easting
    QString orientX, orientY;     // the orientation (backsight) point
    QString pointX, pointY;       // the point to set out
    QString orientReading;        // D.MMSS set on the orientation point
};

struct StakeOutResult {
    QString reading;  // D.MMSS, four decimals, not reduced below 360
    QString distance; // metres, "###.###" (141.421, .5, 12.)
};

// The angle from the orientation direction to the point lies in (0, 360],
// so a point on the orientation direction turns a full circle. Both
// bearings pass through D.MMSS, as the surveyors' tables do. Nothing for a
// coordinate that is empty or not a number. A reading that is not a number
// counts as 0 after DmsToDegrees has shown its own message on ui (none when
// ui is null). Coincident station and orientation point count the bearing
// as 0.
std::optional<StakeOutResult> stakeOut(const StakeOutInput& in, Ui* ui);

// "角度=30.0000(°′″) 距离=141.421米".
QString stakeOutText(const StakeOutResult& r);

} // namespace kelvor::coords
