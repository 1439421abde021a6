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
    float v = 0;      // correction, m
};

struct Heights {
    std::vector<HeightLeg> legs; // legs 1..N−1
    std::vector<float> H;        // stations 1..N; H_N is the known height of C
    double fh = 0;               // computed minus known, through "###.####"
    bool fhFlagged = false;
};

// Carries the heights from B to C over every leg of the data file. S holds
// the leg lengths (already read), sumS their sum. Vertical angles, Bh and
// Ch must be numbers (error 13); empty instrument and target heights count
// as 0. Corrections and heights are held in single precision and printed
// from their 7-digit text, as the crews' result sheets always were: above
// 1000 m that shows in the last decimal (1236.0125 is held as 1236.01245 and
// prints 1236.012 with three decimals, 1236.0120 with four).
Heights computeHeights(const TraverseData& data, const std::vector<double>& S, double sumS,
                       const QString& gradeCode, std::optional<double> fhAllowed);

// The limit of a leg's reciprocal difference for a grade code.
double reciprocalLimit(const QString& gradeCode, double S);

} // namespace kelvor::traverse
