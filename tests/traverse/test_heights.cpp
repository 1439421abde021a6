#include "traverse/heights.h"

#include "traverse/adjust.h"
#include "traverse/data_file.h"

#include "routines/routines.h"
#include "platform/errors.h"

#include <gtest/gtest.h>

using namespace kelvor;
using namespace kelvor::traverse;

namespace {

// One leg from B to C with the given sight values.
TraverseData oneLeg(const QString& bh, const QString& ch, const DataStation& leg)
{
    TraverseData d;
    d.N = 2;
    d.startStation = {QStringLiteral("B"), QStringLiteral("0"), QStringLiteral("0"), bh};
    d.endStation = {QStringLiteral("C"), QStringLiteral("0"), QStringLiteral("0"), ch};
    d.stations.push_back(leg);
    d.last.name = QStringLiteral("C");
    return d;
}

DataStation sight(const char* fv, const char* fi, const char* ft, const char* bv, const char* bi, const char* bt)
{
    DataStation s;
    s.name = QStringLiteral("B");
    s.foreVertical = QString::fromLatin1(fv);
    s.foreInstrument = QString::fromLatin1(fi);
    s.foreTarget = QString::fromLatin1(ft);
    s.backVertical = QString::fromLatin1(bv);
    s.backInstrument = QString::fromLatin1(bi);
    s.backTarget = QString::fromLatin1(bt);
    return s;
}

} // namespace

TEST(Heights, LegDifferencesMeansAndFlags)
{
    struct Case {
        const char* what;
        double S;
        DataStation leg;
        const char* grade;
        double fore, back, d, mean;
        bool flagged;
    } cases[] = {
        // Level sights, equal heights: only the curvature term remains.
        {"level 100 m", 100, sight("0", "1.5", "1.5", "0", "1.5", "1.5"), "tugen1", 0.0007, 0.0007, 0, 0.0007, false},
        // Both differences negative: the mean of the sizes, signed as the forward one.
        {"both negative", 1, sight("0", "0", "1.2345", "0", "0", "1.2301"), "tugen1", -1.2345, -1.2301, 0.0044,
         -1.2323, false},
        {"forward up", 1, sight("0", "1.2345", "0", "0", "0", "1.2301"), "tugen1", 1.2345, -1.2301, 0.0044, 1.2323,
         false},
        // Over the fixed 0.01 m limit of 8秒导线 at 100 m and under.
        {"over 0.01", 1, sight("0", "0", "1.2345", "0", "0", "1.2200"), "8", -1.2345, -1.22, 0.0145, -1.2273, true},
        // No grade: any difference is over its limit of nothing.
        {"no grade", 1, sight("0", "0", "1.2345", "0", "0", "1.2344"), "", -1.2345, -1.2344, 0.0001, -1.2345, true},
        // Empty instrument and target heights count as 0.
        {"empty heights", 1, sight("0", "", "", "0", "", "1.5"), "tugen1", 0, -1.5, -1.5, 0.75, true},
    };
    for (Case& c : cases) {
        c.leg.distance = NumberText(c.S);
        const TraverseData data = oneLeg(QStringLiteral("10"), QStringLiteral("10"), c.leg);
        const Heights h = computeHeights(data, {c.S}, c.S, QString::fromLatin1(c.grade), 0.05);
        ASSERT_EQ(h.legs.size(), 1u) << c.what;
        const HeightLeg& g = h.legs[0];
        EXPECT_DOUBLE_EQ(g.fore, c.fore) << c.what;
        EXPECT_DOUBLE_EQ(g.back, c.back) << c.what;
        EXPECT_DOUBLE_EQ(g.d, c.d) << c.what;
        EXPECT_DOUBLE_EQ(g.mean, c.mean) << c.what;
        EXPECT_EQ(g.flagged, c.flagged) << c.what;
    }
}

TEST(Heights, ReciprocalLimitByGradeAndLength)
{
    struct Case {
        const char* code;
        double S;
        double limit;
    } cases[] = {
        {"tugen1", 100, 0.04},     {"tugen1", 100.001, 0.04}, {"tugen2", 250, 0.1},
        {"8", 100, 0.01},          {"8", 250, 0.025},         {"qi_ta", 312.34, 0.0312},
        {"8", 100.0004, 0.01},     {"", 250, 0},
    };
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(reciprocalLimit(QString::fromLatin1(c.code), c.S), c.limit) << c.code << " " << c.S;
}

TEST(Heights, MisclosureIsDistributedByLengthAndCKeepsItsHeight)
{
    // Two legs of 100 m and 300 m, level sights: each mean is f only.
    TraverseData d;
    d.N = 3;
    d.startStation = {QStringLiteral("B"), QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("4321.5678")};
    d.endStation = {QStringLiteral("C"), QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("4321.6078")};
    DataStation a = sight("0", "1.5", "1.5", "0", "1.5", "1.5");
    DataStation b = a;
    a.distance = QStringLiteral("100");
    b.distance = QStringLiteral("300");
    d.stations = {a, b};
    d.last.name = QStringLiteral("C");

    const Heights h = computeHeights(d, {100, 300}, 400, QStringLiteral("tugen1"), 0.05);
    // f: 0.0007 and 0.0063; fh = 4321.5678 + 0.0070 − 4321.6078 = −0.0330
    EXPECT_DOUBLE_EQ(h.fh, -0.033);
    EXPECT_FLOAT_EQ(h.legs[0].v, 0.0083f); // 0.00825 away from zero
    EXPECT_FLOAT_EQ(h.legs[1].v, 0.0248f); // 0.02475
    // Heights are held in single precision; C keeps its known height.
    EXPECT_EQ(h.H[1], 4321.5768f);
    EXPECT_EQ(h.H[2], 4321.6078f);
    EXPECT_EQ(h.H[0], 4321.5678f);
    EXPECT_FALSE(h.fhFlagged);

    const Heights tight = computeHeights(d, {100, 300}, 400, QStringLiteral("tugen1"), 0.0329);
    EXPECT_TRUE(tight.fhFlagged);
    const Heights none = computeHeights(d, {100, 300}, 400, QString(), std::nullopt);
    EXPECT_TRUE(none.fhFlagged);
}

TEST(Heights, InvalidVerticalAnglesAndKnownHeightsAreInvalidNumbers)
{
    struct Case {
        const char* bh;
        const char* fv;
        const char* bv;
    } cases[] = {{"10", "", "0"}, {"10", "0", "x"}, {"", "0", "0"}};
    for (const Case& c : cases) {
        DataStation leg = sight(c.fv, "1", "1", c.bv, "1", "1");
        const TraverseData data = oneLeg(QString::fromLatin1(c.bh), QStringLiteral("10"), leg);
        try {
            computeHeights(data, {100}, 100, QStringLiteral("8"), 0.05);
            ADD_FAILURE() << "no error for " << c.bh << "/" << c.fv << "/" << c.bv;
        } catch (const RunError& e) {
            EXPECT_EQ(e.number(), 13);
        }
    }
}
