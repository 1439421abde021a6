// The searches' figures and report texts on fixture traverses: clean8 (small
// realistic errors), angle60 (+60″ at D3), dist_long / dist_short (leg D2 →
// D3 read 0.5 m too long / too short), exact6 (observations from exact
// coordinates, Chinese names), north (closing direction just east of north).
#include "blunder/searches.h"

#include "routines/routines.h"
#include "traverse/data_file.h"

#include "test_support.h"

#include <gtest/gtest.h>
#include <cmath>
#include <limits>

using namespace kelvor;
using namespace kelvor::blunder;
using kelvor::test::fixture;

namespace {

Traverse load(const QString& name)
{
    return numericTraverse(traverse::ReadTraverseDataFile(fixture(QStringLiteral("fixtures/") + name)));
}

const QString cr = QStringLiteral("\r");
const double inf = std::numeric_limits<double>::infinity();

// B (1000, 2000) with A due west, legs of 1000 and 500 m due east to C
// (1000, cy), D due east of C; every angle 180° except P2's (by default
// read 10″ too large).
Traverse eastward(const QString& p2Angle = QStringLiteral("180.0010"), const QString& cy = QStringLiteral("3500"))
{
    traverse::TraverseData d;
    d.N = 3;
    d.startStation = {QStringLiteral("B"), QStringLiteral("1000"), QStringLiteral("2000"), QString()};
    d.startOrientation = {QStringLiteral("A"), QStringLiteral("1000"), QStringLiteral("1900"), QString()};
    d.endStation = {QStringLiteral("C"), QStringLiteral("1000"), cy, QString()};
    d.endOrientation = {QStringLiteral("D"), QStringLiteral("1000"), QStringLiteral("9900"), QString()};
    traverse::DataStation s;
    s.name = QStringLiteral("B");
    s.angle = QStringLiteral("180");
    s.distance = QStringLiteral("1000");
    d.stations.push_back(s);
    s.name = QStringLiteral("P2");
    s.angle = p2Angle;
    s.distance = QStringLiteral("500");
    d.stations.push_back(s);
    d.last.name = QStringLiteral("C");
    d.last.angle = QStringLiteral("180");
    return numericTraverse(d);
}

} // namespace

// ---- angle search ---------------------------------------------------------

TEST(AngleSearch, FixtureTrials)
{
    struct Case {
        const char* file;
        double seconds;
        std::vector<double> T;
        const char* best;
    };
    const Case cases[] = {
        // Taking 60″ off D3 removes the planted error.
        {"angle60.dx", -60, {8235, 12343, 25790, 368228, 21369, 12328, 8518, 6335}, "D3"},
        // The last trial changes the angle at C.
        {"angle60.dx", 10, {22336, 26649, 30166, 35674, 50470, 65568, 72002, 76021}, "GP05"},
        {"clean8.dx", 10, {43372, 60536, 101827, 368228, 182368, 88315, 59080, 42805}, "D3"},
        {"exact6.dx", 10, {43475, 67206, 175253, 277100, 67206, 40800}, "导3"},
        {"north.dx", 10, {43577, 65325, 194884, 154069, 66262, 41085}, "N3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const AngleSearch s = angleSearch(load(QString::fromLatin1(c.file)), c.seconds);
        EXPECT_EQ(s.T, c.T);
        EXPECT_EQ(s.bestName, QString::fromUtf8(c.best));
    }
}

TEST(AngleSearch, TriedAngles)
{
    struct Case {
        double beta;
        double seconds;
        double tried;
    };
    const Case cases[] = {
        {120.3000, 10, 120.3010},
        {120.5955, 10, 121.0005}, // carries into minutes and degrees
        {359.5959, 10, 360.0009},
        {120.3000, -15, 120.2945},
        {120.3000, 2.5, 120.3002}, // 0.00069° is 2.48″: whole seconds
        {120.3000, 0, 120.3000},
        {0.0005, -10, -0.0005},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(triedAngle(c.beta, angleChange(c.seconds)), c.tried, 1e-9) << c.beta << " " << c.seconds;
    EXPECT_EQ(angleChange(2.5), 0.00069);
    EXPECT_EQ(angleChange(10), 0.00278);
}

TEST(AngleSearch, TiesAndExtremes)
{
    // The right change closes the traverse to the millimetre at P2 alone.
    AngleSearch s = angleSearch(eastward(), -10);
    EXPECT_FALSE(std::isinf(s.T[0]));
    EXPECT_TRUE(std::isinf(s.T[1]));
    EXPECT_FALSE(std::isinf(s.T[2]));
    EXPECT_EQ(s.bestName, QStringLiteral("P2"));

    // A change of 0 tries the traverse as read everywhere: the first wins.
    s = angleSearch(load(QStringLiteral("clean8.dx")), 0);
    EXPECT_EQ(s.T, std::vector<double>(8, s.T[0]));
    EXPECT_EQ(s.bestName, QStringLiteral("GP01"));

    // Every trial worse than the traverse's length: no station.
    s = angleSearch(eastward(QStringLiteral("180"), QStringLiteral("5000")), 10);
    EXPECT_EQ(s.T, std::vector<double>(3, 0.0));
    EXPECT_EQ(s.bestName, QString());
}

TEST(AngleSearch, ReportTexts)
{
    struct Case {
        double seconds;
        double T;
        const char* name;
        QString text;
    };
    const Case cases[] = {
        {10, 15234, "P3",
         QStringLiteral("在[ P3 ]站的水平角更改了[  10″]之后，") + cr
             + QStringLiteral("导线全长相对闭合差=1： 15234，导线的精度为最好！")},
        {-15, 368228, "D3",
         QStringLiteral("在[ D3 ]站的水平角更改了[ -15″]之后，") + cr
             + QStringLiteral("导线全长相对闭合差=1： 368228，导线的精度为最好！")},
        {10.5, 0, "",
         QStringLiteral("在[  ]站的水平角更改了[  10.5″]之后，") + cr
             + QStringLiteral("导线全长相对闭合差=1： 0，导线的精度为最好！")},
        {0.5, inf, "P2",
         QStringLiteral("在[ P2 ]站的水平角更改了[  .5″]之后，") + cr
             + QStringLiteral("导线全长相对闭合差=1：∞，导线的精度为最好！")},
    };
    for (const Case& c : cases) {
        AngleSearch s;
        s.bestT = c.T;
        s.bestName = QString::fromUtf8(c.name);
        const Report r = angleReport(c.seconds, s);
        EXPECT_EQ(r.text, c.text);
        EXPECT_EQ(r.title, QStringLiteral("分析报告"));
        EXPECT_EQ(r.icon, Icon::Information);
    }
}

// ---- distance correction search ---------------------------------------

TEST(DistanceSearch, CorrectionsByRepeatedAddition)
{
    struct Case {
        double limit;
        double step;
        size_t count;
        double last;
    };
    const Case cases[] = {
        {20, 0.05, 400, 19.95},   {10, 0.02, 501, 10},     {10.01, 0.05, 201, 10}, {5, 0.02, 251, 5},
        {1, 0.02, 50, 0.98},      {-20, -0.05, 400, -19.95}, {0, 0.02, 1, 0},       {99.99, 0.05, 2000, 99.95},
        {-0.5, -0.02, 25, -0.48}, // the 25th addition passes -0.5
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.limit);
        EXPECT_EQ(correctionStep(c.limit), c.step);
        const std::vector<double> cs = trialCorrections(c.limit);
        ASSERT_EQ(cs.size(), c.count);
        EXPECT_EQ(cs.front(), 0.0);
        EXPECT_NEAR(cs.back(), c.last, 1e-9);
        // Summed, not multiplied: the rounding of the additions stays.
        if (cs.size() > 1) {
            EXPECT_EQ(cs.back(), cs[cs.size() - 2] + c.step);
        }
    }
    for (double limit : {100.0, 250.0, -100.0, -1e6})
        EXPECT_FALSE(distanceLimitAccepted(limit)) << limit;
    for (double limit : {99.99, -99.99, 0.0})
        EXPECT_TRUE(distanceLimitAccepted(limit)) << limit;
}

TEST(DistanceSearch, FixtureBests)
{
    struct Case {
        const char* file;
        double limit;
        const char* name;
        QString correction;
        double T;
    };
    const Case cases[] = {
        {"dist_long.dx", -1, "D2", QStringLiteral("-0.500"), 347752},
        {"dist_short.dx", 20, "D2", QStringLiteral("0.500"), 347490},
        {"dist_short.dx", 1, "D2", QStringLiteral("0.500"), 347490},
        // Read too long, searched upwards: nothing beats the data as read.
        {"dist_long.dx", 20, "GP01", QStringLiteral("0.000"), 2636},
        {"clean8.dx", 20, "GP01", QStringLiteral("0.000"), 347621},
        {"angle60.dx", 20, "D1", QStringLiteral("0.050"), 47828},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QStringLiteral("%1 %2").arg(QString::fromLatin1(c.file)).arg(c.limit).toStdString());
        const DistanceSearch s = distanceSearch(load(QString::fromLatin1(c.file)), c.limit);
        EXPECT_EQ(s.bestName, QString::fromLatin1(c.name));
        EXPECT_EQ(FormatFixed(s.bestC, 3), c.correction);
        EXPECT_EQ(s.bestT, c.T);
        EXPECT_EQ(size_t(s.corrections), trialCorrections(c.limit).size());
    }
}

TEST(DistanceSearch, ReportTexts)
{
    const QString advice = QStringLiteral("如果仍然精度不良,请增大距离改正上限值,或检查观测角度值的正确性。") + cr
                           + QStringLiteral("因为距离值与角度值同时影响着导线的精度！");
    struct Case {
        double limit;
        DistanceSearch s;
        QString text;
        QString title;
        Icon icon;
    };
    const Case cases[] = {
        {-1, {347752, QStringLiteral("D2"), -0.5000000000000001, 50},
         QStringLiteral("在[D2]站的距离加上[-0.500m]之后,导线的精度为最好。") + cr
             + QStringLiteral("导线全长相对闭合差为[1： 347752]。") + cr + cr
             + QStringLiteral("已成功获取距离改正值。请核实资料！"),
         QStringLiteral("分析报告"), Icon::Information},
        {20, {2636, QStringLiteral("GP01"), 0, 400},
         QStringLiteral("在[GP01]站的距离加上[0.000m]之后,导线的精度为最好。") + cr
             + QStringLiteral("导线全长相对闭合差为[1： 2636]。") + cr
             + QStringLiteral("但全长相对闭合差值太小，请输入-20再试！") + cr + advice,
         QStringLiteral("分析报告"), Icon::Information},
        {-5, {9999, QStringLiteral("K1"), -4.98, 251},
         QStringLiteral("在[K1]站的距离加上[-4.980m]之后,导线的精度为最好。") + cr
             + QStringLiteral("导线全长相对闭合差为[1： 9999]。") + cr
             + QStringLiteral("但全长相对闭合差值太小，请输入 5再试！") + cr + advice,
         QStringLiteral("分析报告"), Icon::Information},
        // 10000 to 15000: no remark after the closure line.
        {20, {10000, QStringLiteral("P1"), 19.95, 400},
         QStringLiteral("在[P1]站的距离加上[19.950m]之后,导线的精度为最好。") + cr
             + QStringLiteral("导线全长相对闭合差为[1： 10000]。") + cr,
         QStringLiteral("分析报告"), Icon::Information},
        {20, {15000, QStringLiteral("P1"), 0, 400},
         QStringLiteral("在[P1]站的距离加上[0.000m]之后,导线的精度为最好。") + cr
             + QStringLiteral("导线全长相对闭合差为[1： 15000]。") + cr,
         QStringLiteral("分析报告"), Icon::Information},
        {20, {15001, QStringLiteral("P1"), 0, 400}, QStringLiteral("距离值不用改正！！！"),
         QStringLiteral("分析结果"), Icon::Exclamation},
        // A trial that closes exactly is the best there is.
        {20, {inf, QStringLiteral("P4"), 0.85, 400},
         QStringLiteral("在[P4]站的距离加上[0.850m]之后,导线的精度为最好。") + cr
             + QStringLiteral("导线全长相对闭合差为[1：∞]。") + cr + cr
             + QStringLiteral("已成功获取距离改正值。请核实资料！"),
         QStringLiteral("分析报告"), Icon::Information},
        {20, {inf, QStringLiteral("P1"), 0, 400}, QStringLiteral("距离值不用改正！！！"),
         QStringLiteral("分析结果"), Icon::Exclamation},
    };
    for (const Case& c : cases) {
        const Report r = distanceReport(c.limit, c.s);
        EXPECT_EQ(r.text, c.text);
        EXPECT_EQ(r.title, c.title);
        EXPECT_EQ(r.icon, c.icon);
    }
}

// ---- route comparison ---------------------------------------------------

TEST(RouteComparison, FixtureFindings)
{
    struct Case {
        const char* file;
        const char* minName;
        QString minCm;
        const char* maxName;
        QString maxCm;
    };
    const Case cases[] = {
        {"angle60.dx", "D3", QStringLiteral("0.42"), "D6", QStringLiteral("16.05")},
        {"clean8.dx", "D4", QStringLiteral("0.39"), "D6", QStringLiteral("0.58")},
        {"exact6.dx", "导2", QStringLiteral("0.04"), "导4", QStringLiteral("0.22")},
        {"north.dx", "N3", QStringLiteral("0.48"), "N2", QStringLiteral("1.30")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const RouteComparison r = routeComparison(load(QString::fromLatin1(c.file)));
        EXPECT_EQ(r.minName, QString::fromUtf8(c.minName));
        EXPECT_EQ(FormatFixed(100 * r.minD, 2), c.minCm);
        EXPECT_EQ(r.maxName, QString::fromUtf8(c.maxName));
        EXPECT_EQ(FormatFixed(100 * r.maxD, 2), c.maxCm);
    }
}

TEST(RouteComparison, CoordinateListsBothWays)
{
    const RouteComparison r = routeComparison(load(QStringLiteral("exact6.dx")));
    const QStringList expected = {
        QStringLiteral("导1      3457910.827   515112.509      0.00"),
        QStringLiteral("导2      3457877.159   515275.077      0.00"),
        QStringLiteral("导3      3457745.794   515353.075      0.00"),
        QStringLiteral("导4      3457663.216   515503.281      0.00"),
        QStringLiteral("导4      3457663.218   515503.283      0.00"),
        QStringLiteral("导3      3457745.795   515353.076      0.00"),
        QStringLiteral("导2      3457877.159   515275.077      0.00"),
        QStringLiteral("导1      3457910.826   515112.508      0.00"),
    };
    EXPECT_EQ(r.watchLines, expected);
}

TEST(RouteComparison, LineLayout)
{
    struct Case {
        const char* name;
        double x, y;
        const char* line;
    };
    const Case cases[] = {
        {"P3", 789.1234, 512.6, "P3      789.123   512.600      0.00"},
        {"P3", 789.0004, 12, "P3      789.000   12.000      0.00"},
        {"LONGNAME", 1.5, -2.25, "LONGNAME1.500   -2.250      0.00"},
        {"LONGERNAME", 0.5, 0.0004, "LONGERNAME.500   .000      0.00"},
        {"东门", 100.0005, 200, "东门      100.001   200.000      0.00"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(coordinateLine(QString::fromUtf8(c.name), c.x, c.y), QString::fromUtf8(c.line));
}

TEST(RouteComparison, ReportText)
{
    RouteComparison r;
    r.minName = QStringLiteral("D3");
    r.minD = 0.0042;
    r.maxName = QStringLiteral("D6");
    r.maxD = 0.16049;
    const Report rep = routeReport(r, QStringLiteral("/w/watch.txt"));
    EXPECT_EQ(rep.text, QStringLiteral("在[ D3 ]的位移量为最小，值为 0.42(Cm)") + cr
                            + QStringLiteral("在[ D6 ]的位移量为最大，值为 16.05(Cm)") + cr
                            + QStringLiteral("检查在[D3]测站角度的正确性。") + cr
                            + QStringLiteral("已经生成/w/watch.txt坐标文件。"));
    EXPECT_EQ(rep.title, QStringLiteral("正反路线计算各点坐标位移"));
    EXPECT_EQ(rep.icon, Icon::Exclamation);
}

// ---- closure bearing search -------------------------------------------

TEST(BearingSearch, DirectionsNotLines)
{
    struct Case {
        double a, b, angle;
    };
    const Case cases[] = {
        {57.2, 57.2, 0},   {57.2, 237.2, 180}, {10, 196, 174}, {10, 100, 90},
        // either side of north, the short way round
        {359.5, 0.5, 1},   {0.5, 359.5, 1},    {359, 1, 2},    {-0.5, 0.5, 1},
        {360.2, 0.1, 0.1}, {-0.2, 359.9, 0.1}, {181, 0.5, 179.5},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(directionDifference(c.a, c.b), c.angle, 1e-9) << c.a << " " << c.b;
}

TEST(BearingSearch, FixtureFindings)
{
    struct Case {
        const char* file;
        const char* text;
        bool found;
        const char* name;
    };
    const Case cases[] = {
        {"dist_long.dx", "57.1127", true, "D2"},
        // Read too short: the misclosure points back along the leg, 180° off
        // every fore-sight direction, and nothing is found.
        {"dist_short.dx", "237.1233", false, ""},
        {"angle60.dx", "185.1129", false, ""},
        // A leg at 0.4° read too long, the misclosure at 359.5°: found
        // across north.
        {"north_long.dx", "359.3259", true, "L2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const BearingSearch s = bearingSearch(load(QString::fromLatin1(c.file)));
        EXPECT_FALSE(s.closes);
        EXPECT_EQ(s.bearingText, QString::fromLatin1(c.text));
        EXPECT_EQ(s.found, c.found);
        EXPECT_EQ(s.name, QString::fromLatin1(c.name));
    }
}

TEST(BearingSearch, ReportTexts)
{
    BearingSearch s;
    s.bearingText = QStringLiteral("57.1127");
    s.found = true;
    s.name = QStringLiteral("D2");
    Report r = bearingReport(s);
    EXPECT_EQ(r.text, QStringLiteral("导线闭合的位移量的方位角为：57.1127(°′″)") + cr
                          + QStringLiteral("与[ D2 ]测站前视方向的方位角较相近。") + cr
                          + QStringLiteral("检查在测站D2前视方向距离的正确性。"));
    EXPECT_EQ(r.title, QStringLiteral("分析报告"));
    EXPECT_EQ(r.icon, Icon::Exclamation);

    s.found = false;
    s.bearingText = QStringLiteral("90.");
    r = bearingReport(s);
    EXPECT_EQ(r.text, QStringLiteral("导线闭合的位移量的方位角为：90.(°′″),") + cr
                          + QStringLiteral("没有找到与之相近的角度,请查实。"));

    s.closes = true;
    r = bearingReport(s);
    EXPECT_TRUE(r.text.contains(QStringLiteral("闭合差为零")));
    EXPECT_EQ(r.icon, Icon::Exclamation);
}
