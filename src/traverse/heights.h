#pragma once
#include <QString>
#include <optional>
#include <vector>

namespace kelvor::traverse {

struct TraverseData;

// Trigonometric heights of one leg, observed both ways.
struct HeightLeg {
    double f = 0;     // curvature and refraction, m
    double fore = 0;  // Δh往 through "###.####"
    double back = 0;  // Δh返 through "###.####"
    double d = 0;     // |Δh往| − |Δh返| through "###.####"
    double mean = 0;  // Δh中, signed as the forward difference
    double limit = 0; // limit of d (0 without a grade)
    bool flagged = false;
    double v = 0;     // correction, m
};

struct Heights {
    std::vector<HeightLeg> legs; // legs 1..N−1
    std::vector<double> H;       // stations 1..N; H_N is the known height of C
    double fh = 0;               // computed minus known, through "###.####"
    bool fhFlagged = false;
};

// Carries the heights from B to C over every leg of the data file. S holds
// the leg lengths (already read), sumS their sum. Vertical angles, Bh and
// Ch must be numbers (error 13); empty instrument and target heights count
// as 0. Heights are kept in double precision throughout.
Heights computeHeights(const TraverseData& data, const std::vector<double>& S, double sumS,
                       const QString& gradeCode, std::optional<double> fhAllowed);

// The limit of a leg's reciprocal difference for a grade code.
double reciprocalLimit(const QString& gradeCode, double S);

} // namespace kelvor::traverse
