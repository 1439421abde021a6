#pragma once
// The four blunder searches as computations, and the texts they report.
// The commands (commands.h) add the entries, questions and message boxes.
#include "closure.h"

#include "platform/ui.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace kelvor::blunder {

// Message texts join their lines with a carriage return alone.
inline constexpr QChar CR = QChar(u'\r');

// The two bad-number texts; each entry names the one it shows.
QString badNumberTwoLines();
QString badNumberOneLine();
// A data file chosen in the dialog that does not exist: its name, then
// "找不到该文件！", as the recent report says it.
QString missingFileText(const QString& path);

struct Report {
    QString text;
    QString title;
    Icon icon = Icon::None;
};

// "1：" figures: the Str form of T with its leading blank, "∞" for a
// traverse that closes exactly.
QString closureFigure(double T);

// ---- angle search ---------------------------------------------------------

// The typed change v seconds as degrees, rounded to five decimals.
double angleChange(double seconds);
// β′: β as degrees plus the change, back to D.MMSS, rounded to whole seconds.
double triedAngle(double betaDms, double changeDegrees);

struct AngleSearch {
    std::vector<double> T; // T(k) of the trial at each station
    int best = -1;         // index of the best station, -1 when every T is 0
    double bestT = 0;
    QString bestName;
};
AngleSearch angleSearch(const Traverse& t, double seconds);
Report angleReport(double seconds, const AngleSearch& s);

// ---- distance correction search ---------------------------------------

// Limits at or beyond ±100 end the search quietly.
bool distanceLimitAccepted(double limit);
// s: 0.05 above 10 in size, else 0.02, with the limit's sign (+ for 0).
double correctionStep(double limit);
// The corrections tried, by repeated addition from 0 while within the limit.
std::vector<double> trialCorrections(double limit);

struct DistanceSearch {
    double bestT = 0;
    QString bestName;
    double bestC = 0;
    int corrections = 0; // values of c tried
};
DistanceSearch distanceSearch(const Traverse& t, double limit);
Report distanceReport(double limit, const DistanceSearch& s);

// ---- route comparison ---------------------------------------------------

struct RouteComparison {
    std::vector<double> x, y;   // forward, stations 1..N
    std::vector<double> xb, yb; // backward, xb[k−1] belongs to station N−k+1
    std::vector<double> d;      // displacement of station j (index j−1); 0 for B and C
    QString minName, maxName;
    double minD = 100000, maxD = 0;
    QStringList watchLines;     // forward block, then backward block
};
// Needs at least one intermediate station (N ≥ 3) for a finding.
RouteComparison routeComparison(const Traverse& t);
// "P3      789.123   512.600      0.00"
QString coordinateLine(const QString& name, double x, double y);
Report routeReport(const RouteComparison& r, const QString& watchPath);
QString noIntermediateStationText();

// ---- closure bearing search -------------------------------------------

// The difference of two directions in degrees, in [0, 180]. A distance read
// too short points the misclosure back along its leg, 180° away, and is not
// taken for that leg. Directions either side of north differ the short way
// round: 359.5° and 0.5° by 1°, as do a spread azimuth just past 360° and 0.5°.
double directionDifference(double bearingA, double bearingB);

struct BearingSearch {
    bool closes = false; // fx = fy = 0: no misclosure bearing
    double theta = 0;    // bearing of the misclosure, degrees
    QString bearingText; // D.MMSS through "###.####"
    int nearest = -1;    // index of the station with the smallest δ
    double delta = 0;
    bool found = false;  // δ ≤ 4°
    QString name;
};
BearingSearch bearingSearch(const Traverse& t);
Report bearingReport(const BearingSearch& s);

} // namespace kelvor::blunder
