// Grid-style coordinate notes.
#include "drafting/coordinate_notes.h"
#include "drafting_host.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace kelvor;
using namespace kelvor::cad;
using test::u;

TEST(GridNotes, LabelsScaledByTheDrawing)
{
    const struct {
        const char* name;
        double userr1;
        double x, y;
        const char* east;
        const char* north;
        double k;
    } cases[] = {
        {"500", 500, 500, 200, " Y 500", " X 200", 1},
        {"0 reads as 500", 0, 500, 200, " Y 500", " X 200", 1},
        {"1000", 1000, 500, 200, " Y 500", " X 200", 2},
        {"fraction", 500, 512.25, 200, " Y 512.25", " X 200", 1},
        {"easting 0 is noted", 500, 0, 30, " Y 0", " X 30", 1},
    };
    for (const auto& c : cases) {
        test::DraftingHost h;
        h.doc().Layers().Add(QStringLiteral("tk"));
        h.doc().TextStyles().Add(QStringLiteral("hz"));
        h.doc().SetVariable(QStringLiteral("userr1"), c.userr1);
        h.answerPoint(c.x, c.y);
        h.answer(QStringLiteral("esc"));
        drafting::zjzbfangge_Click(h.context);
        ASSERT_EQ(h.ms().Count(), 2) << c.name;
        Entity* east = h.ms().Item(0);
        Entity* north = h.ms().Item(1);
        EXPECT_EQ(east->TextString(), QString::fromLatin1(c.east)) << c.name;
        EXPECT_EQ(east->InsertionPoint(), (Point{c.x + c.k, c.y, 0})) << c.name;
        EXPECT_DOUBLE_EQ(east->Height(), 1.2 * c.k) << c.name;
        EXPECT_EQ(north->TextString(), QString::fromLatin1(c.north)) << c.name;
        EXPECT_NEAR(north->Rotation(), 1.5708, 1e-12) << c.name;
        // turned about the pick: about 1.5 k right of it and k above
        EXPECT_NEAR(north->InsertionPoint().x, c.x + 1.5 * c.k, 1e-3) << c.name;
        EXPECT_NEAR(north->InsertionPoint().y, c.y + c.k, 1e-3) << c.name;
        for (Entity* t : {east, north}) {
            EXPECT_EQ(t->Layer(), QStringLiteral("tk")) << c.name;
            EXPECT_EQ(t->StyleName(), QStringLiteral("hz")) << c.name;
            EXPECT_EQ(t->Color(), 7) << c.name;
        }
        EXPECT_EQ(h.doc().GetVariable(QStringLiteral("OSMODE")).toInt(), 32) << c.name;
    }
}

TEST(GridNotes, MissingLayerAndStylePassedOverEscFirstDrawsNothing)
{
    test::DraftingHost h;
    h.answerPoint(10, 20);
    h.answer(QStringLiteral("esc"));
    drafting::zjzbfangge_Click(h.context);
    ASSERT_EQ(h.ms().Count(), 2);
    EXPECT_EQ(h.ms().Item(0)->Layer(), QStringLiteral("0"));
    EXPECT_EQ(h.ms().Item(0)->Color(), 7);

    test::DraftingHost esc;
    esc.answer(QStringLiteral("esc"));
    drafting::zjzbfangge_Click(esc.context);
    EXPECT_EQ(esc.ms().Count(), 0);
    EXPECT_EQ(esc.doc().GetVariable(QStringLiteral("OSMODE")).toInt(), 32);
}

TEST(LeaderNotes, ShoulderSideTextsAndScale)
{
    const struct {
        const char* name;
        const char* d;
        double px, py;
        std::vector<double> leader;
        Point north, east;
        double h;
    } cases[] = {
        {"right and above", "500", 530, 245, {512.3456, 234.5678, 0, 530, 245, 0, 541, 245, 0}, {530, 246, 0},
         {530, 242.6, 0}, 1.2},
        {"left and below", "500", 495, 225, {512.3456, 234.5678, 0, 495, 225, 0, 484, 225, 0}, {484, 226, 0},
         {484, 222.6, 0}, 1.2},
        {"plumb counts as right", "500", 512.3456, 245, {512.3456, 234.5678, 0, 512.3456, 245, 0, 523.3456, 245, 0},
         {512.3456, 246, 0}, {512.3456, 242.6, 0}, 1.2},
        {"1:1000", "1000", 530, 245, {512.3456, 234.5678, 0, 530, 245, 0, 552, 245, 0}, {530, 247, 0}, {530, 240.2, 0},
         2.4},
    };
    for (const auto& c : cases) {
        test::DraftingHost h;
        Entity* line = h.ms().AddLightWeightPolyline({512.3456, 234.5678, 600, 300});
        h.answerEntity(line->Handle(), 512, 234);
        h.answer(QStringLiteral("real"), QString::fromLatin1(c.d));
        h.answerPoint(c.px, c.py);
        h.answer(QStringLiteral("esc"));
        drafting::zhuobiaozhuji_Click(h.context);
        ASSERT_EQ(h.ms().Count(), 4) << c.name;
        Entity* leader = h.ms().Item(1);
        EXPECT_EQ(leader->dxfName(), QStringLiteral("POLYLINE")) << c.name;
        const std::vector<double> got = leader->Coordinates();
        ASSERT_EQ(got.size(), c.leader.size()) << c.name;
        for (size_t i = 0; i < got.size(); ++i)
            EXPECT_NEAR(got[i], c.leader[i], 1e-9) << c.name << i;
        Entity* north = h.ms().Item(2);
        Entity* east = h.ms().Item(3);
        EXPECT_EQ(north->TextString(), QStringLiteral("X=234.568")) << c.name;
        EXPECT_EQ(east->TextString(), QStringLiteral("Y=512.346")) << c.name;
        EXPECT_NEAR(north->InsertionPoint().x, c.north.x, 1e-9) << c.name;
        EXPECT_NEAR(north->InsertionPoint().y, c.north.y, 1e-9) << c.name;
        EXPECT_NEAR(east->InsertionPoint().x, c.east.x, 1e-9) << c.name;
        EXPECT_NEAR(east->InsertionPoint().y, c.east.y, 1e-9) << c.name;
        EXPECT_DOUBLE_EQ(north->Height(), c.h) << c.name;
        for (Entity* e : {leader, north, east})
            EXPECT_EQ(e->Layer(), QStringLiteral("ZB_ZJ")) << c.name;
        // cancelled at the second vertex: the first note is grouped all the same
        Group* g = h.doc().findGroup(QStringLiteral("04-25-2007-9-0-0"));
        ASSERT_NE(g, nullptr) << c.name;
        EXPECT_EQ(g->Count(), 3) << c.name;
    }
}

TEST(LeaderNotes, EveryVertexOnceInOneGroup)
{
    for (bool closed : {false, true}) {
        test::DraftingHost h;
        Entity* line = h.square(0, 0, 10);
        line->setClosed(closed);
        h.answerEntity(line->Handle());
        h.answer(QStringLiteral("real"), QStringLiteral("500"));
        for (int i = 0; i < 4; ++i)
            h.answerPoint(30, 30 - 10 * i);
        drafting::zhuobiaozhuji_Click(h.context);
        Group* g = h.doc().findGroup(QStringLiteral("04-25-2007-9-0-0"));
        ASSERT_NE(g, nullptr) << closed;
        ASSERT_EQ(g->Count(), 12) << closed;
        EXPECT_EQ(g->Item(0)->Coordinates().at(0), 0) << closed;
        EXPECT_EQ(g->Item(3)->Coordinates().at(0), 10) << closed;
        EXPECT_EQ(g->Item(5)->TextString(), QStringLiteral("Y=10.000")) << closed;
        EXPECT_EQ(g->Item(10)->TextString(), QStringLiteral("X=10.000")) << closed;
        EXPECT_TRUE(h.home.answers.empty()) << closed;
    }
}

TEST(LeaderNotes, ALineOrAnEarlyEscChangesNothing)
{
    for (int which = 0; which < 3; ++which) {
        test::DraftingHost h;
        Entity* line = which == 0 ? h.ms().AddLine({0, 0, 0}, {1, 1, 0}) : h.square(0, 0, 10);
        if (which == 1)
            h.answer(QStringLiteral("esc"));
        else
            h.answerEntity(line->Handle());
        if (which == 2)
            h.answer(QStringLiteral("esc"));
        h.answer(QStringLiteral("real"), QStringLiteral("500"));
        drafting::zhuobiaozhuji_Click(h.context);
        EXPECT_EQ(h.ms().Count(), 1) << which;
        EXPECT_FALSE(h.doc().Layers().contains(QStringLiteral("ZB_ZJ"))) << which;
        EXPECT_EQ(h.doc().findGroup(QStringLiteral("04-25-2007-9-0-0")), nullptr) << which;
    }
}
