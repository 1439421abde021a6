// How the host reads the person's picks and answers: the running object
// snaps of every OSMODE bit, keywords, and picks that take whole groups.
#include "cad/cad.h"
#include "cad/model/geom_snap.h"
#include "cad_host.h"
#include "test_support.h"

#include <gtest/gtest.h>

using namespace kelvor;
using namespace kelvor::cad;

namespace {

// Two lines crossing at (5, 5), a circle, a point and a block reference,
// each with its own height.
struct SnapDrawing : test::CadHost {
    SnapDrawing()
    {
        Block& ms = this->ms();
        ms.AddLine({0, 0, 0}, {16, 16, 16});   // mid (8, 8)
        ms.AddLine({0, 10, 5}, {14, -4, 5});   // mid (7, 3)
        ms.AddCircle({30, 5, 2}, 5);
        ms.AddPoint({50, 5, 3});
        Block& b = doc().BlocksAdd({0, 0, 0}, QStringLiteral("mark"));
        b.AddLine({-1, 0, 0}, {1, 0, 0});
        ms.InsertBlock({70, 5, 4}, QStringLiteral("mark"), 1, 1, 1, 0);
        app.ZoomExtents(); // a reach of ten pixels of an 800-pixel view: about 1.2
    }
};

} // namespace

TEST(CadSnaps, EveryModeBitFindsItsCandidate)
{
    SnapDrawing h;
    const struct {
        const char* what;
        int osmode;
        double x, y;
        Point expected;
        int mode;
    } cases[] = {
        {"endpoint", 1, 0.2, 0.3, {0, 0, 0}, 1},
        {"midpoint", 2, 7.2, 3.1, {7, 3, 5}, 2},
        {"centre of the circle", 4, 30.3, 5.2, {30, 5, 2}, 4},
        {"node", 8, 50.2, 5.1, {50, 5, 3}, 8},
        {"intersection of the crossing lines", 32, 5.3, 5.1, {5, 5, 5}, 32},
        {"insertion point of the reference", 64, 69.8, 5.3, {70, 5, 4}, 64},
        {"nearest on the sloping line", 512, 8, 8.4, {8.2, 8.2, 8.2}, 512},
        {"intersection wins the tie with nearest", 32 | 512, 5, 5, {5, 5, 5}, 32},
        {"midpoint with endpoints on too", 1 | 2, 7.6, 7.6, {8, 8, 8}, 2},
        {"perpendicular alone does nothing", 128, 8, 8.4, {8, 8.4, 0}, 0},
        {"the bits of 675: endpoint wins the tie with nearest", 675, 14.1, -4.1, {14, -4, 5}, 1},
        {"switched off", 16384 | 1, 0.2, 0.3, {0.2, 0.3, 0}, 0},
        {"nothing within reach", 1 | 512, 20, 40, {20, 40, 0}, 0},
    };
    for (const auto& c : cases) {
        h.doc().SetVariable(QStringLiteral("OSMODE"), c.osmode);
        const Snap s = findSnap(h.doc(), {c.x, c.y, 0}, c.osmode, snapAperture(h.doc()));
        EXPECT_EQ(s.mode, c.mode) << c.what;
        h.answerPoint(c.x, c.y);
        const Point p = h.doc().Utility().GetPoint(QStringLiteral("pick:"));
        for (const Point& got : {s.p, p}) {
            EXPECT_NEAR(got.x, c.expected.x, 1e-9) << c.what;
            EXPECT_NEAR(got.y, c.expected.y, 1e-9) << c.what;
            EXPECT_NEAR(got.z, c.expected.z, 1e-9) << c.what;
        }
    }
}

TEST(CadSnaps, ApertureSetsTheReach)
{
    SnapDrawing h;
    const double ten = snapAperture(h.doc());
    h.doc().SetVariable(QStringLiteral("APERTURE"), 20);
    EXPECT_NEAR(snapAperture(h.doc()), 2 * ten, 1e-12);
    // a pick 1.5 from the endpoint: out of reach at 10 pixels, in at 20
    EXPECT_EQ(findSnap(h.doc(), {-1.5, 0, 0}, 1, ten).mode, 0);
    EXPECT_EQ(findSnap(h.doc(), {-1.5, 0, 0}, 1, snapAperture(h.doc())).mode, 1);
}

TEST(CadKeywords, OneMatcherForQuestionsAndTheCommandLine)
{
    const QString textKeywords = QStringLiteral("Height Width Style Rotate ObliqueAngle  Change Insert Exit");
    const QString offsetKeywords = QStringLiteral("tHrough Erase Layer");
    const struct {
        const char* what;
        QString keywords, answer, expected; // "" = asked again
    } cases[] = {
        {"first letter", textKeywords, QStringLiteral("O"), QStringLiteral("ObliqueAngle")},
        {"leading part in lower case", textKeywords, QStringLiteral("ob"), QStringLiteral("ObliqueAngle")},
        {"its capitals", textKeywords, QStringLiteral("OA"), QStringLiteral("ObliqueAngle")},
        {"whole keyword, any case", textKeywords, QStringLiteral("obliqueangle"), QStringLiteral("ObliqueAngle")},
        {"one letter keyword start", textKeywords, QStringLiteral("I"), QStringLiteral("Insert")},
        {"leading part of a keyword with an inner capital", offsetKeywords, QStringLiteral("t"),
         QStringLiteral("tHrough")},
        {"inner capital", offsetKeywords, QStringLiteral("h"), QStringLiteral("tHrough")},
        {"fits none", textKeywords, QStringLiteral("Q"), QString()},
        {"fits two", QStringLiteral("ON OFF"), QStringLiteral("o"), QString()},
        {"the whole keyword beats a longer one", QStringLiteral("ON ONCE"), QStringLiteral("on"),
         QStringLiteral("ON")},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(matchKeyword(c.answer, c.keywords.split(QLatin1Char(' '), Qt::SkipEmptyParts)), c.expected)
            << c.what;
        test::CadHost h;
        Utility& u = h.doc().Utility();
        u.InitializeUserInput(0, c.keywords);
        h.answer(QStringLiteral("keyword"), c.answer);
        h.answer(QStringLiteral("enter"));
        EXPECT_EQ(u.GetKeyword(QStringLiteral("选择:")), c.expected) << c.what;
    }
}

TEST(CadPickStyle, APickTakesTheWholeGroupOnlyWithPickStyleOne)
{
    const struct {
        const char* what;
        int pickstyle;
        bool onScreen;
        int expected;
    } cases[] = {
        {"pick style 1: the person's pick grows to the group", 1, true, 3},
        {"pick style 0: the member alone", 0, true, 1},
        {"a command's own selection never grows", 1, false, 1},
    };
    for (const auto& c : cases) {
        test::CadHost h;
        Block& ms = h.ms();
        std::vector<Entity*> lines;
        for (int i = 0; i < 3; ++i)
            lines.push_back(ms.AddLine({0, double(i), 0}, {10, double(i), 0}));
        ms.AddLine({0, 20, 0}, {10, 20, 0}); // not in the group
        h.doc().GroupsAdd(QStringLiteral("G")).AppendItems(lines);
        h.doc().SetVariable(QStringLiteral("PICKSTYLE"), c.pickstyle);
        SelectionSet& set = h.doc().SelectionSets().Add(QStringLiteral("s"));
        if (c.onScreen) {
            h.answerSelect({lines[1]->Handle()});
            set.SelectOnScreen();
        } else {
            set.Select(SelectWindow, {-1, 0.5, 0}, {11, 1.5, 0});
        }
        EXPECT_EQ(set.Count(), c.expected) << c.what;
        EXPECT_EQ(pickedWithGroups(h.doc(), {lines[1]}).size(), size_t(c.pickstyle == 1 ? 3 : 1)) << c.what;
    }
}
