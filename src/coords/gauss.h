#pragma once
#include <QString>

// Gauss–Krüger forward and inverse computation with the fixed closed-form
// series of the two built-in ellipsoids. Angles in and out are D.MMSS
// numbers; plane x is the northing, y the easting.
namespace kelvor::coords {

// 3.14159265358979, not the full double: the published figures depend on it.
inline constexpr double Pi = 3.14159265358979;

enum class Series {
    Krasovsky, // "北京54坐标系"
    Iag75      // any other datum text
};

// The series a datum box selects: Krasovsky only for exactly "北京54坐标系".
Series seriesForDatum(const QString& datumText);

// What the window's controls decide for one computation: the forward step
// follows the target datum, the inverse step the source datum.
struct Projection {
    Series forward = Series::Krasovsky;
    Series inverse = Series::Krasovsky;
    bool falseEasting = false; // y carries 500 km
};

// D.MMSS to radians, without range checks (30.6000 reads as 31°). The sign
// applies to the whole angle: -30.3000 is the mirror of 30.3000.
double AngleChangeToRadian(double angle);
// Radians to whole degrees, whole minutes and seconds with fraction.
void DuMenMiao(double angle, double& du, double& fen, double& miao);
// Radians to D.MMSS, sign kept, seconds not rounded.
double RadianChangeToAngle(double radian);

// Forward: B, L, L0 in D.MMSS to x, y in metres. Raises error 6 when the
// result is not a finite number.
void ZuoBiaoZhengSuan(double inputOfB, double inputOfL, double inputOfL0, double& returnOfx,
                      double& returnOfy, Series series, bool falseEasting);
// Inverse: x, y in metres and L0 in D.MMSS to B, L in D.MMSS. Raises error 6
// when the result is not a finite number.
void ZuoBiaoFanSuan(double inputOfx, double inputOfy, double inputOfL0, double& returnOfB,
                    double& returnOfL, Series series, bool falseEasting);

// Inverse with L0 (source series), then forward with L0new (target series);
// B and L pass between the steps as D.MMSS numbers.
void changeZone(double x, double y, double l0, double l0new, const Projection& p, double& newX,
                double& newY);

} // namespace kelvor::coords
