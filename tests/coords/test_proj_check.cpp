// Checks the built-in series against an independent transverse Mercator
// (PROJ's cct, Debian package proj-bin) on a grid within 3.5° of the
// central meridian.
#include "coords/gauss.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

#include <algorithm>
#include <cmath>

using namespace kelvor::coords;

namespace {

struct GridPoint {
    double bDms, lDms;     // D.MMSS as typed
    double bDeg, lDeg;     // the same in degrees
};

// Latitudes 18°07' .. 53°07' north and south, longitudes from L0 - 3°30'
// to L0 + 3°30'. A negative D.MMSS carries its sign on the whole angle
// (-75.35 is 75°35' west), as C++'s / and % give it for a negative total.
QList<GridPoint> grid(int l0)
{
    QList<GridPoint> out;
    for (int sign : {1, -1}) {
        for (int d = 18; d <= 53; d += 5) {
            for (int m = 7; m < 60; m += 26) {
                for (int off = -210; off <= 210; off += 35) { // minutes of longitude
                    const int totalL = l0 * 60 + off;
                    const int ld = totalL / 60, lm = totalL % 60;
                    out.append({sign * (d + m / 100.0), ld + lm / 100.0, sign * (d + m / 60.0), ld + lm / 60.0});
                }
            }
        }
    }
    return out;
}

// Runs cct on "a b" pairs; returns the first two numbers of every line.
QList<QPair<double, double>> cct(const QStringList& args, const QList<QPair<double, double>>& in)
{
    QProcess p;
    p.start(QStringLiteral("cct"), args);
    if (!p.waitForStarted())
        return {};
    QByteArray input;
    for (const auto& v : in)
        input += QByteArray::number(v.first, 'f', 12) + ' ' + QByteArray::number(v.second, 'f', 12) + " 0 0\n";
    p.write(input);
    p.closeWriteChannel();
    p.waitForFinished(60000);
    QList<QPair<double, double>> out;
    for (const QByteArray& line : p.readAllStandardOutput().split('\n')) {
        const QList<QByteArray> f = line.simplified().split(' ');
        if (f.size() >= 2)
            out.append({f[0].toDouble(), f[1].toDouble()});
    }
    return out;
}

double dmsToDegrees(double dms)
{
    return AngleChangeToRadian(dms) * (180 / Pi);
}

TEST(ProjectionCrossCheck, AgreesWithIndependentTransverseMercator)
{
    if (QStandardPaths::findExecutable(QStringLiteral("cct")).isEmpty())
        GTEST_SKIP() << "cct (proj-bin) is not installed";

    const struct {
        Series series;
        const char* ellps;
    } ellipsoids[] = {{Series::Krasovsky, "krass"}, {Series::Iag75, "IAU76"}};

    // The footpoint series with its published whole-number coefficients
    // carries a latitude bias of about 1E-4" by itself (about 3 mm, largest
    // at low latitudes, present on the central meridian too), so latitude
    // gets 2E-4"; longitude holds to 1E-4". The forward series holds to a
    // millimetre over the whole band.
    constexpr double LatitudeSeconds = 2e-4, LongitudeSeconds = 1e-4, ForwardMetres = 0.001;
    double worstForward = 0, worstInverseSeconds = 0;
    for (const auto& e : ellipsoids) {
        for (int l0 : {-117, 75, 105, 114, 117, 135}) {
            for (bool falseEasting : {false, true}) {
                SCOPED_TRACE(testing::Message() << e.ellps << " L0 " << l0 << " 500km " << falseEasting);
                const QStringList tm{QStringLiteral("-d"), QStringLiteral("10"), QStringLiteral("+proj=tmerc"),
                                     QStringLiteral("+k=1"),
                                     falseEasting ? QStringLiteral("+x_0=500000") : QStringLiteral("+x_0=0"),
                                     QStringLiteral("+ellps=%1").arg(QString::fromLatin1(e.ellps)),
                                     QStringLiteral("+lon_0=%1").arg(l0)};
                const QList<GridPoint> points = grid(l0);
                QList<QPair<double, double>> geo, plane;
                QList<QPair<double, double>> ours;
                for (const GridPoint& g : points) {
                    geo.append({g.lDeg, g.bDeg});
                    double x = 0, y = 0;
                    ZuoBiaoZhengSuan(g.bDms, g.lDms, l0, x, y, e.series, falseEasting);
                    ours.append({x, y});
                    plane.append({y, x});
                }
                const auto fwd = cct(tm, geo);
                QStringList inv = tm;
                inv.prepend(QStringLiteral("-I"));
                const auto back = cct(inv, plane);
                ASSERT_EQ(fwd.size(), points.size());
                ASSERT_EQ(back.size(), points.size());
                for (qsizetype i = 0; i < points.size(); ++i) {
                    const double dx = std::fabs(ours[i].first - fwd[i].second);
                    const double dy = std::fabs(ours[i].second - fwd[i].first);
                    worstForward = std::max({worstForward, dx, dy});
                    EXPECT_LT(dx, ForwardMetres) << "B " << points[i].bDms << " L " << points[i].lDms;
                    EXPECT_LT(dy, ForwardMetres) << "B " << points[i].bDms << " L " << points[i].lDms;

                    double B = 0, L = 0;
                    ZuoBiaoFanSuan(ours[i].first, ours[i].second, l0, B, L, e.series, falseEasting);
                    const double dB = std::fabs(dmsToDegrees(B) - back[i].second) * 3600;
                    const double dL = std::fabs(dmsToDegrees(L) - back[i].first) * 3600;
                    worstInverseSeconds = std::max({worstInverseSeconds, dB, dL});
                    EXPECT_LT(dB, LatitudeSeconds) << "B " << points[i].bDms << " L " << points[i].lDms;
                    EXPECT_LT(dL, LongitudeSeconds) << "B " << points[i].bDms << " L " << points[i].lDms;
                }
            }
        }
    }
    RecordProperty("worst_forward_m", std::to_string(worstForward));
    RecordProperty("worst_inverse_arcsec", std::to_string(worstInverseSeconds));
}

// The zone change as the file conversions run it (inverse with one
// meridian, forward with the neighbouring one) against cct's pipeline of the
// same two steps. Points lie within 3.5° of both meridians; the footpoint
// bias of the inverse and the forward series' own error add up to a few
// millimetres there.
TEST(ProjectionCrossCheck, ZoneChangeAgreesWithAPipeline)
{
    if (QStandardPaths::findExecutable(QStringLiteral("cct")).isEmpty())
        GTEST_SKIP() << "cct (proj-bin) is not installed";
    constexpr double Tolerance = 0.006;
    double worst = 0;
    const struct {
        Series series;
        const char* ellps;
    } ellipsoids[] = {{Series::Krasovsky, "krass"}, {Series::Iag75, "IAU76"}};
    for (const auto& e : ellipsoids) {
        for (int l0 : {-117, 75, 114, 135}) {
            for (int step : {-3, 3}) {
                const int l0new = l0 + step;
                for (bool falseEasting : {false, true}) {
                    SCOPED_TRACE(testing::Message() << e.ellps << " L0 " << l0 << " to " << l0new << " 500km "
                                                    << falseEasting);
                    auto tm = [&](int meridian) {
                        return QStringList{QStringLiteral("+proj=tmerc"), QStringLiteral("+k=1"),
                                           falseEasting ? QStringLiteral("+x_0=500000") : QStringLiteral("+x_0=0"),
                                           QStringLiteral("+ellps=%1").arg(QString::fromLatin1(e.ellps)),
                                           QStringLiteral("+lon_0=%1").arg(meridian)};
                    };
                    const QStringList pipeline = QStringList{QStringLiteral("-d"), QStringLiteral("10"),
                                                             QStringLiteral("+proj=pipeline"), QStringLiteral("+step"),
                                                             QStringLiteral("+inv")}
                        + tm(l0) + QStringList{QStringLiteral("+step")} + tm(l0new);
                    QList<QPair<double, double>> plane, ours;
                    for (const GridPoint& g : grid(l0)) {
                        if (std::fabs(g.lDeg - l0new) > 3.5)
                            continue;
                        double x = 0, y = 0;
                        ZuoBiaoZhengSuan(g.bDms, g.lDms, l0, x, y, e.series, falseEasting);
                        plane.append({y, x});
                        double nx = 0, ny = 0;
                        changeZone(x, y, l0, l0new, Projection{e.series, e.series, falseEasting}, nx, ny);
                        ours.append({nx, ny});
                    }
                    const auto theirs = cct(pipeline, plane);
                    ASSERT_EQ(theirs.size(), ours.size());
                    for (qsizetype i = 0; i < ours.size(); ++i) {
                        const double dx = std::fabs(ours[i].first - theirs[i].second);
                        const double dy = std::fabs(ours[i].second - theirs[i].first);
                        worst = std::max({worst, dx, dy});
                        EXPECT_LT(dx, Tolerance) << "x " << plane[i].second << " y " << plane[i].first;
                        EXPECT_LT(dy, Tolerance) << "x " << plane[i].second << " y " << plane[i].first;
                    }
                }
            }
        }
    }
    RecordProperty("worst_zone_change_m", std::to_string(worst));
}

} // namespace
