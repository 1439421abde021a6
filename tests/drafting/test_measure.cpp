// Distance and area measurement, area notes, inner boundaries and regions.
#include "drafting/measure.h"
#include "drafting_host.h"
#include "routines/routines.h"
#include "platform/paths.h"

#include <gtest/gtest.h>

using namespace kelvor;
using namespace kelvor::cad;
using test::u;

TEST(PolylineVertexArea, ClosedRingInSurveyAxes)
{
    const struct {
        const char* name;
        std::vector<double> xy;
        double area;
    } cases[] = {
        {"square anticlockwise", {0, 0, 10, 0, 10, 10, 0, 10}, 100},
        {"square clockwise", {0, 0, 0, 10, 10, 10, 10, 0}, 100},
        {"three corners of the square", {0, 0, 10, 0, 10, 10}, 50},
        {"far from the origin", {534000, 2551000, 534010, 2551000, 534010, 2551010, 534000, 2551010}, 100},
        {"two vertices", {0, 0, 10, 0}, 0},
        {"no vertices", {}, 0},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(drafting::PolylineVertexArea(c.xy), c.area) << c.name;
}

TEST(PolylineVertexArea, BulgedSegmentCountsAsItsChord)
{
    test::DraftingHost h;
    Entity* e = h.square(0, 0, 10);
    e->SetBulge(1, 1); // a half circle outside the right side
    EXPECT_DOUBLE_EQ(drafting::PolylineVertexArea(e->Coordinates()), 100);
    EXPECT_GT(e->Area(), 100);
}

TEST(AreaSystem, SumsTheHostAreasAndCountsInvalidOnes)
{
    const struct {
        const char* name;
        bool withLine;
        bool nothing;
        const char* text;
    } cases[] = {
        {"one square", false, false, "共获取实体数: 1 个 : 其中无效实体: 0\r\n\r\n面积:100.00平方米(合0.15亩)"},
        {"square and a two-vertex line", true, false, "共获取实体数: 2 个 : 其中无效实体: 1\r\n\r\n面积:100.00平方米(合0.15亩)"},
        {"nothing picked", false, true, "共获取实体数: 0 个 : 其中无效实体: 0\r\n\r\n面积:0.00平方米(合0.00亩)"},
    };
    for (const auto& c : cases) {
        test::DraftingHost h;
        std::vector<Entity*> picked{h.square(0, 0, 10, true)};
        if (c.withLine)
            picked.push_back(h.ms().AddLightWeightPolyline({0, 0, 5, 5}));
        if (c.nothing)
            h.answer(QStringLiteral("esc"));
        else
            h.select(picked);
        drafting::arealiangshan_Click(h.context);
        ASSERT_EQ(h.ui.messages().size(), 1) << c.name;
        EXPECT_EQ(h.messageText(0), u(c.text)) << c.name;
        EXPECT_EQ(h.messageTitle(0), u("计算结果")) << c.name;
        EXPECT_EQ(h.messageIcon(0), QStringLiteral("exclamation")) << c.name;
    }
}

TEST(AreaFormula, UpToTenInABoxMoreInWatchTxt)
{
    {
        test::DraftingHost h;
        h.select({h.square(0, 0, 10)});
        drafting::arealiangshan_coord_Click(h.context);
        ASSERT_EQ(h.ui.messages().size(), 1);
        EXPECT_EQ(h.messageText(0), u(" 1:面积:100.00平方米(合0.15亩)\r\n\r\n 总面积:100.00平方米(合0.15亩)"));
        EXPECT_EQ(h.messageTitle(0), u("根据坐标计算的面积结果"));
        EXPECT_EQ(h.messageIcon(0), QStringLiteral("exclamation"));
    }
    for (int n : {10, 11}) {
        test::DraftingHost h;
        std::vector<Entity*> picked;
        for (int i = 0; i < n; ++i)
            picked.push_back(h.square(20 * i, 0, 10));
        picked.back()->setCoordinates({220, 0, 230, 0, 230, 10}); // three corners: 50
        h.select(picked);
        drafting::arealiangshan_coord_Click(h.context);
        const QString watch = paths::scratch(QStringLiteral("watch.txt"));
        if (n == 10) {
            ASSERT_EQ(h.ui.messages().size(), 1);
            EXPECT_TRUE(h.messageText(0).startsWith(u(" 1:面积:100.00平方米(合0.15亩)\r\n 2:面积:")));
            EXPECT_TRUE(h.messageText(0).endsWith(u("\r\n\r\n 总面积:950.00平方米(合1.43亩)")));
            EXPECT_TRUE(h.ui.textWindowFiles().isEmpty());
            continue;
        }
        EXPECT_TRUE(h.ui.messages().isEmpty());
        EXPECT_EQ(h.ui.textWindowFiles(), QStringList{watch});
        QStringList expected;
        for (int k = 1; k <= 10; ++k)
            expected << u(" %1.面积:100.00平方米(合0.15亩)").arg(k);
        expected << u(" 11.面积:50.00平方米(合0.08亩)") << QString() << u(" 总面积:1050.00平方米(合1.58亩)");
        EXPECT_EQ(test::readBytes(watch), test::gbkLines(expected));
    }
}

TEST(AreaNotes, NotesEveryPolylineAndMarksMismatches)
{
    // a square with an arc on its right side: the host's area exceeds the chord area
    test::DraftingHost h;
    Entity* arc = h.square(0, 0, 10);
    arc->SetBulge(1, 0.1);
    const double diff = arc->Area() - 100;
    h.answer(QStringLiteral("real"), QStringLiteral("0.5"));
    h.select({arc});
    drafting::fengbixianzhuji_Click(h.context);
    ASSERT_EQ(h.ui.messages().size(), 2);
    EXPECT_EQ(h.messageText(0), u("差别:") + NumberText(diff) + u("平方米"));
    EXPECT_EQ(h.messageText(1), u("共发现:1个。红色线为面积不相符!"));
    EXPECT_EQ(h.messageTitle(0), QString()) << "an empty title bar";
    EXPECT_EQ(h.messageTitle(1), QString());
    EXPECT_EQ(arc->Color(), 1);
    EXPECT_EQ(arc->ConstantWidth(), 2);
    Entity* note = h.ms().Item(h.ms().Count() - 1);
    EXPECT_EQ(note->TextString(), FormatPattern(arc->Area(), QStringLiteral("0.00")) + u("（平方米）"));

    // straight sides, and a difference of 0 at tolerance 0: nothing reported
    for (const char* tolerance : {"0.5", "0"}) {
        test::DraftingHost s;
        Entity* sq = s.square(0, 0, 10, true);
        s.answer(QStringLiteral("real"), QString::fromLatin1(tolerance));
        s.select({sq});
        drafting::fengbixianzhuji_Click(s.context);
        ASSERT_EQ(s.ui.messages().size(), 1) << tolerance;
        EXPECT_EQ(s.messageText(0), u("没有发现面积有错误！")) << tolerance;
        EXPECT_EQ(s.messageTitle(0), u("面积核对")) << tolerance;
        Entity* t = s.ms().Item(s.ms().Count() - 1);
        EXPECT_EQ(t->TextString(), u("100.00（平方米）")) << tolerance;
        EXPECT_EQ(t->Height(), 4) << tolerance;
        EXPECT_EQ(t->InsertionPoint(), (Point{5, 5, 0})) << tolerance;
        EXPECT_NE(sq->Color(), 1) << tolerance;
    }
}

TEST(Distance, WrittenOrDrawnUntilARealCancel)
{
    {
        test::DraftingHost h;
        h.answer(QStringLiteral("string"), QStringLiteral("N"));
        h.answerPoint(0.5, 0);
        h.answerPoint(3.5, 4);
        h.answer(QStringLiteral("esc"));
        drafting::caldist_Click(h.context);
        EXPECT_TRUE(h.app.transcript().contains(u("\r\n距离:5.00米\r"))) << qPrintable(h.app.transcript());
        EXPECT_EQ(h.ms().Count(), 0);
        EXPECT_EQ(h.doc().GetVariable(QStringLiteral("OSMODE")).toInt(), 1);
    }
    {
        test::DraftingHost h;
        h.answer(QStringLiteral("enter"));
        h.answer(QStringLiteral("enter"));
        h.answerPoint(0.5, 0);
        h.answerPoint(3.5, 4);
        h.answerPoint(2, 6);
        h.answerPoint(0, 0); // x = 0 is a point like any other
        h.answerPoint(0, 8);
        h.answerPoint(5, 5);
        h.answerPoint(1, 1);
        h.answerPoint(2, 2);
        h.answer(QStringLiteral("esc")); // at the note position: no note for this pass
        drafting::caldist_Click(h.context);
        ASSERT_EQ(h.ms().Count(), 4);
        Entity* leader = h.ms().Item(0);
        EXPECT_EQ(leader->dxfName(), QStringLiteral("POLYLINE"));
        EXPECT_EQ(leader->Coordinates(), (std::vector<double>{0.5, 0, 0, 2, 6, 0, 3.5, 4, 0}));
        Entity* text = h.ms().Item(1);
        EXPECT_EQ(text->TextString(), QStringLiteral("5.00"));
        EXPECT_EQ(text->InsertionPoint(), (Point{2, 6, 0}));
        EXPECT_DOUBLE_EQ(text->Height(), 0.7);
        EXPECT_EQ(h.ms().Item(3)->TextString(), QStringLiteral("8.00"));
        EXPECT_EQ(h.doc().GetVariable(QStringLiteral("OSMODE")).toInt(), 0);
    }
}

TEST(InnerBoundary, TracesColoursCodesAndNotes)
{
    const struct {
        const char* answer;
        bool note;
    } cases[] = {{"y", true}, {"Y", true}, {" y", false}, {"yes", false}, {"", false}};
    for (const auto& c : cases) {
        test::DraftingHost h;
        h.square(0, 0, 10);
        h.answer(QStringLiteral("string"), QString::fromLatin1(c.answer));
        h.answerPoint(3, 4);
        h.answerPoint(50, 50); // outside every outline
        h.answer(QStringLiteral("esc"));
        drafting::addareaatboxboundary_Click(h.context);
        EXPECT_TRUE(h.app.journal().contains(QStringLiteral("_-Boundary\r3,4\r\r"))) << c.answer << qPrintable(h.app.journal());
        EXPECT_TRUE(h.app.transcript().contains(u("\r\n未发现有效的边界。\r\n"))) << c.answer;
        EXPECT_EQ(h.doc().GetVariable(QStringLiteral("OSMODE")).toInt(), 0) << c.answer;
        ASSERT_EQ(h.ms().Count(), c.note ? 3 : 2) << c.answer;
        Entity* boundary = h.ms().Item(1);
        EXPECT_EQ(boundary->dxfName(), QStringLiteral("LWPOLYLINE")) << c.answer;
        EXPECT_EQ(boundary->Color(), 3) << c.answer;
        EXPECT_EQ(boundary->GetXData(QStringLiteral("south")),
                  (XData{xstr(1001, QStringLiteral("south")), xstr(1000, QStringLiteral("310000")),
                         xstr(1000, QStringLiteral("112"))}))
            << c.answer;
        if (!c.note)
            continue;
        Entity* text = h.ms().Item(2);
        EXPECT_EQ(text->TextString(), u("100.00平方米(合0.150亩)")) << c.answer;
        EXPECT_EQ(text->Height(), 2) << c.answer;
        EXPECT_EQ(text->Color(), 3) << c.answer;
        EXPECT_EQ(text->Alignment(), 10) << c.answer;
        EXPECT_EQ(text->TextAlignmentPoint().x, 3) << c.answer;
        EXPECT_EQ(text->TextAlignmentPoint().y, 4) << c.answer;
    }
}

TEST(InnerBoundary, PickAtXZeroIsTraced)
{
    test::DraftingHost h;
    h.square(-5, 0, 10);
    h.answer(QStringLiteral("string"), QStringLiteral("n"));
    h.answerPoint(0, 4);
    h.answer(QStringLiteral("esc"));
    drafting::addareaatboxboundary_Click(h.context);
    EXPECT_TRUE(h.app.journal().contains(QStringLiteral("_-Boundary\r0,4\r\r")));
    EXPECT_EQ(h.ms().Count(), 2);
}

TEST(Regions, OneRegionPerClosedPolylineBothKept)
{
    test::DraftingHost h;
    Entity* closed = h.square(0, 0, 10);
    Entity* open = h.ms().AddLightWeightPolyline({20, 0, 30, 0, 30, 10});
    h.select({closed, open});
    drafting::addnewgroup_Click(h.context);
    ASSERT_EQ(h.ms().Count(), 3);
    EXPECT_EQ(h.ms().Item(2)->dxfName(), QStringLiteral("REGION"));
    EXPECT_FALSE(closed->isErased());
    EXPECT_FALSE(open->isErased());
    EXPECT_TRUE(h.ui.messages().isEmpty());
}

TEST(Measurement, NoHostGivesTheStandardMessageOrNothing)
{
    const struct {
        const char* name;
        void (*command)(Context&);
        bool message;
    } cases[] = {
        {"caldist", drafting::caldist_Click, true},
        {"arealiangshan", drafting::arealiangshan_Click, true},
        {"arealiangshan_coord", drafting::arealiangshan_coord_Click, true},
        {"fengbixianzhuji", drafting::fengbixianzhuji_Click, true},
        {"addareaatboxboundary", drafting::addareaatboxboundary_Click, true},
        {"addnewgroup", drafting::addnewgroup_Click, false},
    };
    for (const auto& c : cases) {
        test::TempHome home;
        c.command(home.context);
        const QStringList texts = test::messageTexts(home);
        EXPECT_EQ(texts, c.message ? QStringList{u("AutoCAD 没有运行或版本不符合！")} : QStringList{}) << c.name;
    }
}
