// The closure of an unadjusted traverse as the blunder searches form it.
#include "blunder/closure.h"

#include "routines/routines.h"
#include "platform/errors.h"
#include "traverse/data_file.h"

#include "test_support.h"

#include <gtest/gtest.h>
#include <cmath>

using namespace kelvor;
using namespace kelvor::blunder;
using kelvor::test::fixture;

namespace {

Traverse load(const QString& name)
{
    return numericTraverse(traverse::ReadTraverseDataFile(fixture(QStringLiteral("fixtures/") + name)));
}

// A small traverse in code: B at the origin, one intermediate station.
traverse::TraverseData small()
{
    traverse::TraverseData d;
    d.N = 3;
    d.startStation = {QStringLiteral("B"), QStringLiteral("1000"), QStringLiteral("2000"), QString()};
    d.startOrientation = {QStringLiteral("A"), QStringLiteral("900"), QStringLiteral("2000"), QString()};
    d.endStation = {QStringLiteral("C"), QStringLiteral("1200"), QStringLiteral("2000"), QString()};
    d.endOrientation = {QStringLiteral("D"), QStringLiteral("1300"), QStringLiteral("2000"), QString()};
    traverse::DataStation s1;
    s1.name = QStringLiteral("B");
    s1.angle = QStringLiteral("180");
    s1.distance = QStringLiteral("100");
    traverse::DataStation s2 = s1;
    s2.name = QStringLiteral("P2");
    d.stations = {s1, s2};
    d.last.name = QStringLiteral("C");
    d.last.angle = QStringLiteral("180");
    return d;
}

} // namespace

TEST(BlunderClosure, FixtureFigures)
{
    // Misclosure in seconds before the spread and 1:T, unrounded fx and fy.
    struct Case {
        const char* file;
        double fbetaSeconds;
        double T;
    };
    const Case cases[] = {
        {"clean8.dx", 2.14545, 347621},
        {"angle60.dx", 62.02093, 42497},
        {"dist_long.dx", 2.14545, 2636},
        {"dist_short.dx", 2.14545, 2674},
        {"exact6.dx", 1.75071, 7249421},
        // The closing direction lies just east of north and the computed one
        // just west of it: the misclosure is seconds, not a whole turn.
        {"north.dx", -8.97339, 369875},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const Traverse t = load(QString::fromLatin1(c.file));
        const Closure cl = traverseClosure(t, t.beta, false);
        EXPECT_NEAR(cl.fbeta * 3600, c.fbetaSeconds, 1e-4);
        EXPECT_EQ(cl.T, c.T);
        // After the spread the last azimuth is the closing direction (left
        // just above 360 where it crossed north).
        EXPECT_NEAR(std::fmod(double(cl.az.back()), 360.0), t.alphaCD, 1e-4);
    }
}

TEST(BlunderClosure, KnownDirections)
{
    traverse::TraverseData d = small();
    // A due south of B: bearing B → A is 180, so A → B runs north.
    Traverse t = numericTraverse(d);
    EXPECT_EQ(t.alpha0, 0.0);
    EXPECT_EQ(t.alphaCD, 0.0);
    EXPECT_EQ(t.alphaDC, 180.0);

    // A due north of B gives 180; D due east of C gives 90.
    d.startOrientation.x = QStringLiteral("1100");
    d.endOrientation = {QStringLiteral("D"), QStringLiteral("1200"), QStringLiteral("2100"), QString()};
    t = numericTraverse(d);
    EXPECT_EQ(t.alpha0, 180.0);
    EXPECT_EQ(t.alphaCD, 90.0);
    EXPECT_EQ(t.alphaDC, 270.0);

    // Bearings are held to five decimals.
    d.endOrientation.x = QStringLiteral("1201");
    d.endOrientation.y = QStringLiteral("2003");
    t = numericTraverse(d);
    EXPECT_EQ(t.alphaCD, 71.56505);
}

TEST(BlunderClosure, BadInputIsTypeMismatch)
{
    struct Case {
        const char* what;
        void (*spoil)(traverse::TraverseData&);
    };
    const Case cases[] = {
        {"A = B", [](traverse::TraverseData& d) { d.startOrientation.x = d.startStation.x; }},
        {"C = D", [](traverse::TraverseData& d) { d.endOrientation.x = d.endStation.x; }},
        {"empty Dy", [](traverse::TraverseData& d) { d.endOrientation.y.clear(); }},
        {"letter in Cx", [](traverse::TraverseData& d) { d.endStation.x = QStringLiteral("12O0"); }},
        {"empty angle", [](traverse::TraverseData& d) { d.stations[1].angle.clear(); }},
        {"empty last angle", [](traverse::TraverseData& d) { d.last.angle.clear(); }},
        {"bad distance", [](traverse::TraverseData& d) { d.stations[0].distance = QStringLiteral("100m"); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        traverse::TraverseData d = small();
        c.spoil(d);
        try {
            numericTraverse(d);
            ADD_FAILURE() << "no error";
        } catch (const RunError& e) {
            EXPECT_EQ(e.number(), err::TypeMismatch);
        }
    }
    // A traverse without a leg cannot be searched.
    traverse::TraverseData one = small();
    one.N = 1;
    one.stations.clear();
    EXPECT_THROW(numericTraverse(one), RunError);
}

TEST(BlunderClosure, AzimuthsInSinglePrecisionCarriedAtSevenDigits)
{
    // From north, two left angles of 90°: each gets a tenth of a second.
    const double nudge = DmsToDegrees(90.00001);
    const std::vector<double> beta = {90.0, 90.0};
    const std::vector<float> carried = propagateAzimuths(0.0, beta, true);
    ASSERT_EQ(carried.size(), 2u);
    EXPECT_EQ(carried[0], float(180.0 + nudge));
    // 270.0000278 carried on as "270" loses the first tenth of a second.
    EXPECT_EQ(sevenDigits(carried[0]), 270.0);
    EXPECT_EQ(carried[1], float(90.0 + nudge));
    // The route comparison carries the stored value itself.
    const std::vector<float> plain = propagateAzimuths(0.0, beta, false);
    EXPECT_EQ(plain[1], float(double(plain[0]) - 180.0 + nudge));
    EXPECT_NE(plain[1], carried[1]);

    // Past 360 once: back direction 350 plus 20 comes out near 10.
    const std::vector<float> wrapped = propagateAzimuths(170.0, {20.0}, true);
    EXPECT_NEAR(double(wrapped[0]), 10.0, 1e-4);
}

TEST(BlunderClosure, MisclosureReducedBeforeItIsSpread)
{
    struct Case {
        float computed;
        double known;
        double fbeta;
    };
    const Case cases[] = {
        {359.999f, 0.001, -0.002},
        {0.001f, 359.999, 0.002},
        {90.5f, 90.0, 0.5},
        {180.0f, 0.0, 180.0}, // half a turn stays positive
    };
    for (const Case& c : cases) {
        std::vector<float> az = {10.0f, 20.0f, c.computed};
        const double fb = spreadMisclosure(az, c.known);
        EXPECT_NEAR(fb, c.fbeta, 1e-4) << c.computed;
        // Station i takes i shares of the correction.
        EXPECT_NEAR(double(az[0]), 10.0 - c.fbeta / 3, 1e-4);
        EXPECT_NEAR(double(az[1]), 20.0 - 2 * c.fbeta / 3, 1e-4);
    }
}

TEST(BlunderClosure, OneLegAndExactClosure)
{
    // B (1000, 2000) north 100 m twice to C (1200, 2000): every angle 180°.
    const Traverse t = numericTraverse(small());
    const Closure c = traverseClosure(t, t.beta, true);
    EXPECT_NEAR(c.xN, 1200.0, 1e-6);
    EXPECT_NEAR(c.yN, 2000.0, 1e-6);
    // Rounded to millimetres this closes exactly: the best closure there is.
    EXPECT_EQ(c.fx, 0.0);
    EXPECT_EQ(c.fy, 0.0);
    EXPECT_TRUE(std::isinf(c.T));

    // B and C only: one leg, the angles of both spread.
    traverse::TraverseData d = small();
    d.N = 2;
    d.stations.pop_back();
    d.endStation.x = QStringLiteral("1100");
    const Traverse two = numericTraverse(d);
    const Closure c2 = traverseClosure(two, two.beta, false);
    ASSERT_EQ(c2.az.size(), 2u);
    EXPECT_NEAR(c2.xN, 1100.0, 1e-6);
    EXPECT_NEAR(std::hypot(c2.fx, c2.fy), 0.0, 1e-4);

    EXPECT_EQ(relativeClosure(1000, 0.3), 3333.0);
    EXPECT_TRUE(std::isinf(relativeClosure(1000, 0)));
}
