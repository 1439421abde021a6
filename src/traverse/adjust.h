#pragma once
#include "heights.h"

#include <QString>
#include <optional>
#include <vector>

namespace kelvor {
class SettingsStore;
}

namespace kelvor::traverse {

struct TraverseData;

// ---- rounding through a pattern ---------------------------------------------
// Several steps round a value by writing it with a "###."-pattern and reading
// the text back. A value that rounds to nothing is written "." (or "-."),
// and such a text reads back as 0.
double readRounded(const QString& text);
double roundThrough(double value, const QString& pattern);

// ---- grades ------------------------------------------------------------------

// The grade row chosen by the exact text of Combo1.
struct GradeRow {
    QString code; // "8", "tugen1", "tugen2", "qi_ta"; empty: no grade
    double P = 0; // angular coefficient, seconds
    double M = 0; // height coefficient
};
// "自定义" reads its coefficients from "Dxxc_pm=" and "Dxxc_gc=" (error 13
// when one is not a number). Any text that is no grade gives an empty code.
GradeRow gradeRow(const QString& combo1, const SettingsStore& settings);

struct GradeLimits {
    QString code;
    std::optional<QString> waAllowed; // P·√N through "###.00", seconds
    std::optional<double> fhAllowed;  // M·Hd·√(N−1), metres
};
GradeLimits gradeLimits(const GradeRow& grade, double hd, int stations);

// ---- closure core --------------------------------------------------------------
// The steps of a connecting traverse that the adjustment shares with the
// blunder searches: known azimuths, azimuth propagation from the left
// angles, angular misclosure and its equal distribution, leg vectors and
// the coordinate misclosure. Angles in degrees unless named D.MMSS.
namespace closure {

// Bearing from one known point to another in degrees through
// "###.#########". Coincident points have no bearing: error 13.
double knownAzimuth(double fromX, double fromY, double toX, double toY);

// α_1..α_N (index 0 is α_1) from the bearing B → A and the left angles.
std::vector<double> propagateAzimuths(double azimuthBA, const std::vector<double>& anglesDms);

// α_N − α_CD, reduced into (−180, 180] so a closing bearing near north does
// not count a whole turn as misclosure.
double angularMisclosure(double computedClosing, double knownClosing);

// Each angle takes −Wa/N, so the k-th azimuth moves by k·(−Wa/N).
void distributeAngularMisclosure(std::vector<double>& azimuths, double wa);

struct Legs {
    std::vector<double> dx, dy; // leg k (index k−1), k = 1..N−1
    std::vector<double> x, y;   // stations 1..N (index 0 is station 1)
};
// Unadjusted leg vectors and coordinates from station 1 at (x1, y1); each
// azimuth goes through its D.MMSS form first.
Legs legVectors(double x1, double y1, const std::vector<double>& azimuths, const std::vector<double>& distances);

struct CoordinateMisclosure {
    double wx = 0; // computed minus known, through "###.###"
    double wy = 0;
    double ws = 0; // √(wx² + wy²) through "###.###"
};
CoordinateMisclosure coordinateMisclosure(double xN, double yN, double knownX, double knownY);

} // namespace closure

// ---- the plane adjustment (dxpc) ---------------------------------------------

struct Adjustment {
    int N = 0;
    GradeLimits grade;
    std::vector<double> S; // S_1..S_{N−1} (index 0 is S_1)
    double sumS = 0;
    double wa = 0;          // angular misclosure, degrees
    std::vector<double> dx, dy; // unadjusted leg vectors, legs 1..N−1
    std::vector<double> vx, vy; // coordinate corrections, legs 1..N−1
    std::vector<double> x, y;   // adjusted coordinates, stations 1..N
    closure::CoordinateMisclosure misclosure;
    std::optional<double> T; // relative precision 1:T; none when Ws is 0
    Heights heights;
};

// Adjusts the traverse read from a data file with the grade text of Combo1
// and the contour interval text of Combo2. Raises RunError: 13 for a field
// that is not a number (or coincident known points), 11 for a division by
// zero (fewer than two stations, no length), 9 when the file holds no
// station.
Adjustment adjustTraverse(const TraverseData& data, const QString& combo1, const QString& combo2,
                          const SettingsStore& settings);

} // namespace kelvor::traverse
