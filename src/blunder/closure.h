#pragma once
// The closure of an unadjusted connecting traverse A → B … C → D as the
// blunder searches compute it. It follows the adjustment's steps with its own
// roundings: known bearings to five decimals, a tenth of a second added to
// every angle, azimuths held in single precision and carried on at seven
// significant digits. The searches must reproduce these figures, not the
// adjustment report's.
#include <QString>
#include <QStringList>
#include <vector>

namespace kelvor::traverse {
struct TraverseData;
}

namespace kelvor::blunder {

// The traverse as numbers. Every text that takes part in a closure is
// converted when the traverse is built, so a bad one is found at once.
struct Traverse {
    int N = 0;                 // stations; station 1 is B, station N is C
    QStringList names;         // name(1..N), index 0 is station 1
    QStringList angleTexts;    // β(1..N) as read (the route comparison reverses them)
    std::vector<double> beta;  // β(1..N), D.MMSS
    std::vector<double> S;     // S(1..N−1), metres
    double sumS = 0;           // ΣS, summed in station order
    double bx = 0, by = 0;     // B
    double cx = 0, cy = 0;     // C
    double alpha0 = 0;         // direction A → B, degrees
    double alphaCD = 0;        // direction C → D, degrees
    double alphaDC = 0;        // direction D → C, degrees
};

// Builds the numbers from the texts read. Raises RunError 13 for a field that
// is empty or not a number, and for A = B or C = D (no bearing). Needs N ≥ 2
// (error 9 otherwise).
Traverse numericTraverse(const traverse::TraverseData& data);

// Rounded half away from zero to the given decimals (through the number's
// 15-digit decimal form, so 0.000125 gives 0.00013).
double roundDecimals(double value, int decimals);

// az(1..N) from the start direction and the left angles (D.MMSS): back
// direction, plus DmsToDegrees(β + 0.00001), stored in single precision, less
// 360 once at 360 or more. With carrySevenDigits the next back direction is
// taken from the 7-digit text of az(j), otherwise from az(j) itself.
std::vector<float> propagateAzimuths(double alpha0, const std::vector<double>& beta, bool carrySevenDigits);

// fβ = az(N) − αCD reduced into (−180, 180], spread equally: az(i) takes
// i·(−fβ/N), stored back in single precision. Returns fβ.
double spreadMisclosure(std::vector<float>& az, double alphaCD);

// cos r and sin r of each leg's azimuth, r by way of its D.MMSS form.
struct LegDirections {
    std::vector<double> cosr, sinr; // legs 1..N−1
};
LegDirections legDirections(const std::vector<float>& az);

struct Closure {
    std::vector<float> az; // spread azimuths az(1..N)
    double fbeta = 0;      // angular misclosure before the spread, degrees
    double xN = 0, yN = 0; // C as computed
    double fx = 0, fy = 0; // computed minus known (rounded when asked)
    double fs = 0;
    double T = 0;          // relative closure 1:T; +∞ when fs = 0
};

// The whole closure with the given angles (the searches pass a tried angle in
// place of one read). With roundMillimetres fx and fy are rounded to three
// decimals before fs is formed.
Closure traverseClosure(const Traverse& t, const std::vector<double>& beta, bool roundMillimetres);

// Int(ΣS / fs); +∞ for a traverse that closes exactly.
double relativeClosure(double sumS, double fs);

} // namespace kelvor::blunder
