#include "routines/routines.h"
#include "coords/gauss.h"
#include "platform/errors.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace kelvor;
using namespace kelvor::coords;

namespace {

constexpr Series Kr = Series::Krasovsky;
constexpr Series Iag = Series::Iag75;

struct ForwardCase {
    const char* name;
    Series series;
    bool falseEasting;
    double B, L, L0;
    const char* x;
    const char* y;
};

TEST(GaussForward, PrintsThePublishedDigits)
{
    const ForwardCase cases[] = {
        {"krasovsky", Kr, false, 30.3, 114.2, 114, "3375648.95845685", "32000.2685031447"},
        {"krasovsky 500 km", Kr, true, 30.3, 114.2, 114, "3375648.95845685", "532000.268503145"},
        {"iag75", Iag, false, 30.3, 114.2, 114, "3375590.55046845", "31999.7456911796"},
        {"on the meridian", Kr, true, 30.3, 114, 114, "3375601.71390978", "500000"},
    };
    for (const ForwardCase& c : cases) {
        SCOPED_TRACE(c.name);
        double x = 0, y = 0;
        ZuoBiaoZhengSuan(c.B, c.L, c.L0, x, y, c.series, c.falseEasting);
        EXPECT_EQ(NumberText(x), QString::fromLatin1(c.x));
        EXPECT_EQ(NumberText(y), QString::fromLatin1(c.y));
    }
}

struct InverseCase {
    const char* name;
    Series series;
    bool falseEasting;
    double x, y, L0;
    const char* B;
    const char* L;
};

TEST(GaussInverse, ReturnsDmsWithItsFloatingNoise)
{
    const InverseCase cases[] = {
        {"krasovsky", Kr, false, 3375648.95845685, 32000.2685031447, 114, "30.3000000019618", "114.200000000009"},
        {"krasovsky 500 km", Kr, true, 3375648.95845685, 532000.268503145, 114, "30.3000000019618",
         "114.200000000009"},
        {"iag75", Iag, false, 3375590.55046845, 31999.7456911796, 114, "30.3000000115311", "114.200000000064"},
    };
    for (const InverseCase& c : cases) {
        SCOPED_TRACE(c.name);
        double B = 0, L = 0;
        ZuoBiaoFanSuan(c.x, c.y, c.L0, B, L, c.series, c.falseEasting);
        EXPECT_EQ(NumberText(B), QString::fromLatin1(c.B));
        EXPECT_EQ(NumberText(L), QString::fromLatin1(c.L));
    }
}

TEST(GaussForward, WestOfTheMeridianMirrorsTheEast)
{
    double xe = 0, ye = 0, xw = 0, yw = 0;
    ZuoBiaoZhengSuan(30.3, 114.2, 114, xe, ye, Kr, false);
    ZuoBiaoZhengSuan(30.3, 113.4, 114, xw, yw, Kr, false);
    EXPECT_NEAR(xw, xe, 1e-6);
    EXPECT_LT(yw, 0);
    EXPECT_NEAR(-yw, ye, 1e-5);
    double B = 0, L = 0;
    ZuoBiaoFanSuan(xw, yw, 114, B, L, Kr, false); // negative y without 500 km
    EXPECT_NEAR(B, 30.3, 1e-7);
    EXPECT_EQ(NumberText(L), QStringLiteral("113.395999999992")); // 113°39'59.99999"
    EXPECT_NEAR(AngleChangeToRadian(L), AngleChangeToRadian(113.4), 1e-12);
}

TEST(GaussInverse, UndoesTheForwardOnBothSeries)
{
    for (Series s : {Kr, Iag}) {
        for (bool fe : {false, true}) {
            double x = 0, y = 0, B = 0, L = 0;
            ZuoBiaoZhengSuan(30.3, 114.2, 114, x, y, s, fe);
            ZuoBiaoFanSuan(x, y, 114, B, L, s, fe);
            EXPECT_NEAR(B, 30.3, 1e-7);
            EXPECT_NEAR(L, 114.2, 1e-7);
        }
    }
}

TEST(GaussZoneChange, MovesThePointToTheTargetMeridian)
{
    double x = 0, y = 0;
    changeZone(3381234.567, 519256.789, 114, 117, Projection{Kr, Kr, true}, x, y);
    EXPECT_EQ(NumberText(x), QStringLiteral("3384554.89504856"));
    EXPECT_EQ(NumberText(y), QStringLiteral("231352.466879015"));

    // Back to 114 lands on the start within the series' few millimetres.
    double bx = 0, by = 0;
    changeZone(x, y, 117, 114, Projection{Kr, Kr, true}, bx, by);
    EXPECT_NEAR(bx, 3381234.567, 5e-3);
    EXPECT_NEAR(by, 519256.789, 5e-3);
}

TEST(GaussZoneChange, InverseFollowsSourceSeriesForwardFollowsTarget)
{
    double B = 0, L = 0, expectX = 0, expectY = 0;
    ZuoBiaoFanSuan(3381234.567, 519256.789, 114, B, L, Kr, true);
    ZuoBiaoZhengSuan(B, L, 117, expectX, expectY, Iag, true);
    double x = 0, y = 0;
    changeZone(3381234.567, 519256.789, 114, 117, Projection{Iag, Kr, true}, x, y);
    EXPECT_EQ(x, expectX);
    EXPECT_EQ(y, expectY);
    double kx = 0, ky = 0;
    changeZone(3381234.567, 519256.789, 114, 117, Projection{Kr, Kr, true}, kx, ky);
    EXPECT_GT(std::fabs(kx - x), 1.0); // the series really differ
}

TEST(GaussSeries, OnlyTheExactBeijing54TextSelectsKrasovsky)
{
    const struct {
        QString text;
        Series series;
    } cases[] = {
        {QStringLiteral("北京54坐标系"), Kr},
        {QStringLiteral("国家80坐标系"), Iag},
        {QStringLiteral("北京54坐标系 "), Iag},
        {QStringLiteral(" 北京54坐标系"), Iag},
        {QString(), Iag},
    };
    for (const auto& c : cases)
        EXPECT_EQ(seriesForDatum(c.text), c.series) << c.text.toStdString();
}

TEST(GaussAngles, DmsToRadianReadsMinutesThroughSinglePrecision)
{
    const struct {
        double dms;
        double degrees;
    } cases[] = {
        {30.3, 30.5},
        {114.3, 114.5},   // 29.9999999999997 minutes read as 30
        {30.6, 31.0},     // no range check
        {114.2, 114 + 20.0 / 60},
        {30.303030, 30 + 30.0 / 60 + 30.3 / 3600},
    };
    for (const auto& c : cases)
        EXPECT_NEAR(AngleChangeToRadian(c.dms), Pi / 180 * c.degrees, 1e-14) << c.dms;
}

// The sign of a D.MMSS number belongs to the whole angle: south and west
// are exact mirrors of north and east, for the angle and for the forward
// computation it feeds.
TEST(GaussAngles, SouthAndWestMirrorNorthAndEast)
{
    for (double dms : {30.3, 114.3, 0.003, 89.5959, 30.303030})
        EXPECT_EQ(AngleChangeToRadian(-dms), -AngleChangeToRadian(dms)) << dms;

    double x = 0, y = 0;
    ZuoBiaoZhengSuan(30.3, 114.2, 114, x, y, Kr, false);
    const struct {
        const char* name;
        double B, L, L0;
        double x, y;
    } cases[] = {
        {"south", -30.3, 114.2, 114, -x, y},
        {"west", 30.3, -114.2, -114, x, -y},
        {"south-west", -30.3, -114.2, -114, -x, -y},
    };
    for (const auto& c : cases) {
        double mx = 0, my = 0;
        ZuoBiaoZhengSuan(c.B, c.L, c.L0, mx, my, Kr, false);
        EXPECT_EQ(mx, c.x) << c.name;
        EXPECT_EQ(my, c.y) << c.name;
        double B = 0, L = 0;
        ZuoBiaoFanSuan(mx, my, c.L0, B, L, Kr, false);
        EXPECT_NEAR(B, c.B, 1e-7) << c.name;
        EXPECT_NEAR(L, c.L, 1e-7) << c.name;
    }
}

TEST(GaussAngles, RadianToDmsKeepsTheSign)
{
    EXPECT_NEAR(RadianChangeToAngle(-30.5 * Pi / 180), -30.3, 1e-9);
    EXPECT_NEAR(RadianChangeToAngle(30.5 * Pi / 180), 30.3, 1e-9);
    EXPECT_NEAR(RadianChangeToAngle(0.0), 0.0, 1e-12);
}

// Just below a whole degree the minutes must stay 59 and the seconds under
// 60, or the D.MMSS value reads back as a different angle.
TEST(GaussAngles, JustBelowAWholeDegreeGivesValidMinutes)
{
    const double belowBy[] = {1e-13, 5e-10, 1e-7, 1e-6, 3e-6, 1e-5};
    for (double whole : {30.0, 113.0, 114.0}) {
        for (double d : belowBy) {
            SCOPED_TRACE(testing::Message() << whole << " - " << d);
            const double r = (whole - d) * Pi / 180;
            double du = 0, fen = 0, miao = 0;
            DuMenMiao(r, du, fen, miao);
            EXPECT_GE(fen, 0);
            EXPECT_LE(fen, 59);
            EXPECT_GE(miao, 0);
            EXPECT_LT(miao, 60);
            EXPECT_NEAR(AngleChangeToRadian(RadianChangeToAngle(r)), r, 1e-12);
        }
    }
}

TEST(GaussAngles, PointOnAWholeMeridianSurvivesAZoneChange)
{
    double x = 0, y = 0;
    ZuoBiaoZhengSuan(30.3, 113, 114, x, y, Kr, true);
    double B = 0, L = 0;
    ZuoBiaoFanSuan(x, y, 114, B, L, Kr, true);
    EXPECT_EQ(NumberText(L), QStringLiteral("112.595999999924"));

    double nx = 0, ny = 0, direct = 0, directY = 0;
    ZuoBiaoZhengSuan(B, L, 111, nx, ny, Kr, true);
    ZuoBiaoZhengSuan(30.3, 113, 111, direct, directY, Kr, true);
    EXPECT_NEAR(nx, direct, 1e-3);
    EXPECT_NEAR(ny, directY, 1e-3);
}

TEST(GaussFailures, NonFiniteResultsRaiseOverflow)
{
    double a = 0, b = 0;
    try {
        ZuoBiaoFanSuan(3381234.567, 1e300, 114, a, b, Kr, false);
        FAIL() << "no error";
    } catch (const RunError& e) {
        EXPECT_EQ(e.number(), 6);
    }
    EXPECT_EQ(a, 0);
    EXPECT_EQ(b, 0);
    EXPECT_THROW(ZuoBiaoZhengSuan(30, 1e300, 114, a, b, Iag, false), RunError);
    EXPECT_THROW(ZuoBiaoFanSuan(std::nan(""), 0, 114, a, b, Iag, false), RunError);
}

} // namespace
