#include "heights.h"

#include "adjust.h"
#include "data_file.h"

#include "routines/routines.h"

#include <cmath>

namespace kelvor::traverse {

double reciprocalLimit(const QString& gradeCode, double S)
{
    double perKm = 0;
    double fixed = 0;
    if (gradeCode == QLatin1String("8") || gradeCode == QLatin1String("qi_ta")) {
        perKm = 0.1;
        fixed = 0.01;
    } else if (gradeCode == QLatin1String("tugen1") || gradeCode == QLatin1String("tugen2")) {
        perKm = 0.4;
        fixed = 0.04;
    } else {
        return 0;
    }
    return S > 100 ? roundThrough(S * perKm / 1000, QStringLiteral("###.####")) : fixed;
}

Heights computeHeights(const TraverseData& data, const std::vector<double>& S, double sumS,
                       const QString& gradeCode, std::optional<double> fhAllowed)
{
    const QString p4 = QStringLiteral("###.####");
    Heights h;
    const int N = data.N;
    for (int k = 1; k <= N - 1; ++k) {
        const DataStation& st = data.station(k);
        const double s = S[size_t(k - 1)];
        HeightLeg leg;
        leg.f = s * (s * 0.89) / 6363260 / 2;
        const double af = DmsToRadians(StrictNumber(st.foreVertical));
        const double ab = DmsToRadians(StrictNumber(st.backVertical));
        leg.fore = roundThrough(leg.f + (s * std::tan(af) + LeadingNumber(st.foreInstrument)
                                         - LeadingNumber(st.foreTarget)), p4);
        leg.back = roundThrough(leg.f + (s * std::tan(ab) + LeadingNumber(st.backInstrument)
                                         - LeadingNumber(st.backTarget)), p4);
        leg.limit = reciprocalLimit(gradeCode, s);
        leg.d = roundThrough(std::fabs(leg.fore) - std::fabs(leg.back), p4);
        leg.mean = roundThrough((std::fabs(leg.fore) + std::fabs(leg.back)) / 2, p4);
        if (leg.fore < 0)
            leg.mean = -leg.mean;
        leg.flagged = std::fabs(leg.d) > std::fabs(leg.limit);
        h.legs.push_back(leg);
    }

    const double bh = StrictNumber(data.startStation.h);
    const double ch = StrictNumber(data.endStation.h);
    double sum = 0;
    for (const HeightLeg& leg : h.legs)
        sum += leg.mean;
    h.fh = roundThrough(bh + sum - ch, p4);
    const double kh = -h.fh / sumS;

    h.H.push_back(float(bh));
    double carried = bh; // the first leg starts from B as read, later ones from the height held
    for (int k = 1; k <= N - 1; ++k) {
        HeightLeg& leg = h.legs[size_t(k - 1)];
        leg.v = float(roundThrough(kh * S[size_t(k - 1)], p4));
        h.H.push_back(float(roundThrough(carried + leg.mean + double(leg.v), p4)));
        carried = double(h.H.back());
    }
    h.H.back() = float(ch);
    h.fhFlagged = std::fabs(100 * h.fh) > std::fabs(100 * fhAllowed.value_or(0.0));
    return h;
}

} // namespace kelvor::traverse
