#include "adjust.h"

#include "data_file.h"

#include "routines/routines.h"
#include "platform/errors.h"
#include "platform/settings.h"

#include <cmath>

namespace kelvor::traverse {

double readRounded(const QString& text)
{
    if (text == QLatin1String(".") || text == QLatin1String("-."))
        return 0.0;
    return StrictNumber(text);
}

double roundThrough(double value, const QString& pattern)
{
    return readRounded(FormatPattern(value, pattern));
}

GradeRow gradeRow(const QString& combo1, const SettingsStore& settings)
{
    if (combo1 == QStringLiteral("8秒导线"))
        return {QStringLiteral("8"), 16, 0.05};
    if (combo1 == QStringLiteral("一级图根"))
        return {QStringLiteral("tugen1"), 24, 0.1};
    if (combo1 == QStringLiteral("二级图根"))
        return {QStringLiteral("tugen2"), 40, 0.1};
    if (combo1 == QStringLiteral("自定义")) {
        const double p = StrictNumber(settings.ReadSetting(QStringLiteral("Dxxc_pm=")));
        const double m = StrictNumber(settings.ReadSetting(QStringLiteral("Dxxc_gc=")));
        return {QStringLiteral("qi_ta"), p, m};
    }
    return {};
}

GradeLimits gradeLimits(const GradeRow& grade, double hd, int stations)
{
    GradeLimits g;
    g.code = grade.code;
    if (!grade.code.isEmpty()) {
        g.waAllowed = FormatPattern(grade.P * std::sqrt(double(stations)), QStringLiteral("###.00"));
        g.fhAllowed = grade.M * hd * std::sqrt(double(stations - 1));
    }
    return g;
}

namespace closure {

double knownAzimuth(double fromX, double fromY, double toX, double toY)
{
    const std::optional<double> a = Azimuth(fromX, fromY, toX, toY, AzimuthDegrees);
    if (!a)
        raise(err::TypeMismatch);
    return roundThrough(*a, QStringLiteral("###.#########"));
}

std::vector<double> propagateAzimuths(double azimuthBA, const std::vector<double>& anglesDms)
{
    double a = azimuthBA + 180;
    if (a >= 360)
        a -= 360;
    std::vector<double> alpha;
    alpha.reserve(anglesDms.size());
    for (double beta : anglesDms) {
        a = a >= 180 ? a - 180 : a + 180;
        const double b = DmsToDegrees(beta + 1E-8);
        double ak = a + b;
        if (ak >= 360)
            ak -= 360;
        alpha.push_back(ak);
        // Carried on as its 15-digit text, which keeps the sums reproducible.
        a = LeadingNumber(NumberText(ak));
    }
    return alpha;
}

double angularMisclosure(double computedClosing, double knownClosing)
{
    double wa = computedClosing - knownClosing;
    if (wa > 180)
        wa -= 360;
    else if (wa <= -180)
        wa += 360;
    return wa;
}

void distributeAngularMisclosure(std::vector<double>& azimuths, double wa)
{
    const double v = -wa / double(azimuths.size());
    for (size_t k = 0; k < azimuths.size(); ++k)
        azimuths[k] = azimuths[k] + double(k + 1) * v;
}

Legs legVectors(double x1, double y1, const std::vector<double>& azimuths, const std::vector<double>& distances)
{
    Legs l;
    l.x.push_back(x1);
    l.y.push_back(y1);
    for (size_t k = 0; k + 1 < azimuths.size() && k < distances.size(); ++k) {
        const double r = DmsToRadians(DegreesToDms(azimuths[k]));
        l.dx.push_back(distances[k] * std::cos(r));
        l.dy.push_back(distances[k] * std::sin(r));
        l.x.push_back(l.x.back() + l.dx.back());
        l.y.push_back(l.y.back() + l.dy.back());
    }
    return l;
}

CoordinateMisclosure coordinateMisclosure(double xN, double yN, double knownX, double knownY)
{
    CoordinateMisclosure m;
    m.wx = roundThrough(xN - knownX, QStringLiteral("###.###"));
    m.wy = roundThrough(yN - knownY, QStringLiteral("###.###"));
    m.ws = roundThrough(std::sqrt(m.wx * m.wx + m.wy * m.wy), QStringLiteral("###.###"));
    return m;
}

} // namespace closure

Adjustment adjustTraverse(const TraverseData& data, const QString& combo1, const QString& combo2,
                          const SettingsStore& settings)
{
    const int N = data.N;
    if (N < 1)
        raise(err::SubscriptOutOfRange);

    Adjustment adj;
    adj.N = N;
    const GradeRow row = gradeRow(combo1, settings);
    adj.grade = gradeLimits(row, LeadingNumber(combo2), N);

    const double bx = StrictNumber(data.startStation.x);
    const double by = StrictNumber(data.startStation.y);
    const double cx = StrictNumber(data.endStation.x);
    const double cy = StrictNumber(data.endStation.y);
    const double azBA = closure::knownAzimuth(bx, by, StrictNumber(data.startOrientation.x),
                                              StrictNumber(data.startOrientation.y));
    const double azCD = closure::knownAzimuth(cx, cy, StrictNumber(data.endOrientation.x),
                                              StrictNumber(data.endOrientation.y));

    std::vector<double> beta;
    for (int k = 1; k <= N; ++k) {
        beta.push_back(StrictNumber(data.station(k).angle));
        if (k < N) {
            adj.S.push_back(StrictNumber(data.station(k).distance));
            adj.sumS += adj.S.back();
        }
    }

    std::vector<double> alpha = closure::propagateAzimuths(azBA, beta);
    adj.wa = closure::angularMisclosure(alpha.back(), azCD);
    closure::distributeAngularMisclosure(alpha, adj.wa);

    closure::Legs legs = closure::legVectors(bx, by, alpha, adj.S);
    adj.dx = legs.dx;
    adj.dy = legs.dy;
    adj.misclosure = closure::coordinateMisclosure(legs.x.back(), legs.y.back(), cx, cy);
    // A single station has no leg to average or to correct.
    if (N < 2 || adj.sumS == 0)
        raise(err::DivisionByZero);
    if (adj.misclosure.ws != 0)
        adj.T = std::floor(adj.sumS / adj.misclosure.ws);

    const double kx = -adj.misclosure.wx / adj.sumS;
    const double ky = -adj.misclosure.wy / adj.sumS;
    double sx = 0;
    double sy = 0;
    adj.x = legs.x;
    adj.y = legs.y;
    for (int k = 1; k <= N - 1; ++k) {
        adj.vx.push_back(kx * adj.S[size_t(k - 1)]);
        adj.vy.push_back(ky * adj.S[size_t(k - 1)]);
        if (k < N - 1) {
            sx += adj.vx.back();
            sy += adj.vy.back();
            adj.x[size_t(k)] = roundThrough(adj.x[size_t(k)] + sx, QStringLiteral("###.####"));
            adj.y[size_t(k)] = roundThrough(adj.y[size_t(k)] + sy, QStringLiteral("###.####"));
        }
    }
    adj.x.back() = cx;
    adj.y.back() = cy;

    adj.heights = computeHeights(data, adj.S, adj.sumS, adj.grade.code, adj.grade.fhAllowed);
    return adj;
}

} // namespace kelvor::traverse
