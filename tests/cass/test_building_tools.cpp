// Circles reversed, balconies, wall gates, three-point features and breaks,
// each carried out through the host's command line.
#include "cass/building_tools.h"
#include "cass_drawing.h"
#include "cad_host.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace kelvor;
using namespace kelvor::cad;
using test::codeOf;
using test::u;

namespace {

struct ToolHost : test::CadHost {
    ToolHost()
    {
        test::addLayers(doc(), {"JMD", "dmtz"});
        test::addLinetypes(doc(), {"x5", "10421"});
    }
    // The handle the next new entity gets.
    QString nextHandle() { return QString::number(doc().handseed(), 16).toUpper(); }
    Entity* last() { return ms().Item(ms().Count() - 1); }
    void points(const std::vector<std::pair<double, double>>& ps)
    {
        for (const auto& [x, y] : ps)
            answerPoint(x, y);
    }
};

void expectVertices(const Entity& e, const std::vector<double>& xyz, const std::string& what)
{
    std::vector<double> got;
    for (const Vertex& v : e.vertices())
        got.insert(got.end(), {v.x, v.y, v.z});
    ASSERT_EQ(got.size(), xyz.size()) << what;
    for (size_t i = 0; i < got.size(); ++i)
        EXPECT_NEAR(got[i], xyz[i], 1e-9) << what << " at " << i;
}

void expectBalcony(const Entity& b, const std::string& what)
{
    EXPECT_EQ(b.kind(), EntityKind::Polyline2d) << what;
    EXPECT_FALSE(b.Closed()) << what;
    EXPECT_EQ(b.Layer(), QStringLiteral("JMD")) << what;
    EXPECT_EQ(b.Linetype(), QStringLiteral("x5")) << what;
    EXPECT_EQ(b.Color(), ColorByLayer) << what;
    EXPECT_EQ(b.GetXData(QString()), cass::cassRecord(QStringLiteral("south"), QStringLiteral("140001"))) << what;
}

} // namespace

TEST(ToolRules, RadiusCornersEdgesAndFourthCorner)
{
    const struct {
        double radius, shown;
    } radii[] = {{5, 5}, {2.346, 2.35}, {2.344, 2.34}, {0.005, 0.01}};
    for (const auto& c : radii)
        EXPECT_EQ(cass::shownRadius(c.radius), c.shown) << c.radius;
    EXPECT_EQ(cass::reversedCircle({100, 200, 10}, 5), (std::vector<double>{100, 205, 105, 200, 100, 195, 95, 200}));

    const Utility util(nullptr);
    const std::vector<Pt2> ring{{0, 0}, {10, 0}, {10, 5}, {0, 5}, {0, 0}};
    const struct {
        const char* name;
        Pt2 pick;
        std::optional<size_t> edge;
    } picks[] = {
        {"bottom", {5, 0}, 0},          {"right", {10, 2.5}, 1},        {"closing edge", {0, 2.5}, 3},
        {"inside", {5, 2.5}, std::nullopt}, {"before the first start", {-5, 0}, 0},
        {"beyond the first end", {15, 0}, std::nullopt}, {"before the closing edge's start", {0, 7}, 3},
    };
    for (const auto& c : picks)
        EXPECT_EQ(cass::pickedEdge(ring, c.pick, util), c.edge) << c.name;

    const struct {
        Point p1, p2, p3, p4;
    } corners[] = {{{0, 0}, {10, 0}, {13, 4}, {3, 4}}, {{0, 0}, {10, 0}, {10, 5}, {0, 5}},
                   {{5, 5}, {5, -5}, {-3, -5}, {-3, 5}}};
    for (const auto& c : corners) {
        const Point p = cass::fourthCorner(c.p1, c.p2, c.p3, util);
        EXPECT_NEAR(p.x, c.p4.x, 1e-9) << c.p3.x;
        EXPECT_NEAR(p.y, c.p4.y, 1e-9) << c.p3.x;
    }

    const std::vector<Point> two{{0, 0, 0}, {10, 0, 0}};
    EXPECT_EQ(cass::balconyVertices(two, {0, 1.5, 2, 10, 1.5, 2}),
              (std::vector<double>{0, 0, 0, 0, 1.5, 2, 10, 1.5, 2, 10, 0, 0}));
}

TEST(CircleReversal, ReplacesTheCircleByAFittedClockwisePolyline)
{
    ToolHost h;
    Entity* circle = h.ms().AddCircle({100, 200, 10}, 5);
    circle->setLayer(QStringLiteral("dmtz"));
    circle->setLinetype(QStringLiteral("10421"));
    circle->setColor(3);
    test::coded(circle, QStringLiteral("204201"));
    h.answerEntity(circle->Handle(), 105, 200);
    cass::circlechange_Click(h.home.context);

    EXPECT_TRUE(circle->isErased());
    Entity* p = h.last();
    ASSERT_EQ(p->kind(), EntityKind::LwPolyline);
    EXPECT_EQ(test::planVertices(*p), (std::vector<double>{100, 205, 105, 200, 100, 195, 95, 200}));
    EXPECT_TRUE(p->Closed());
    EXPECT_TRUE(p->LinetypeGeneration());
    EXPECT_EQ(p->Layer(), QStringLiteral("dmtz"));
    EXPECT_EQ(p->Linetype(), QStringLiteral("10421"));
    EXPECT_EQ(p->Color(), 3);
    EXPECT_EQ(p->Elevation(), 0);
    EXPECT_EQ(p->GetXData(QString()), cass::cassRecord(QStringLiteral("South"), QStringLiteral("204201")));
    for (int i = 0; i < 4; ++i)
        EXPECT_NEAR(p->GetBulge(i), -0.41421, 1e-5) << i;
    EXPECT_EQ(h.app.journal(), QStringLiteral("_PEDIT\r(handent \"%1\")\rf\r\r").arg(p->Handle()));
}

TEST(CircleReversal, RadiusArcsAndCirclesWithoutData)
{
    const struct {
        const char* name;
        bool arc;
        double radius;
        bool data;
    } cases[] = {{"rounded radius", false, 2.346, true}, {"arc", true, 3, true}, {"no data", false, 4, false}};
    for (const auto& c : cases) {
        ToolHost h;
        Entity* e = c.arc ? h.ms().AddArc({0, 0, 0}, c.radius, 0, 1) : h.ms().AddCircle({0, 0, 0}, c.radius);
        if (c.data)
            test::coded(e, QStringLiteral("204201"));
        h.answerEntity(e->Handle());
        cass::circlechange_Click(h.home.context);
        EXPECT_TRUE(e->isErased()) << c.name;
        const Entity* p = h.last();
        ASSERT_EQ(p->kind(), EntityKind::LwPolyline) << c.name;
        const double r = cass::shownRadius(c.radius);
        EXPECT_EQ(test::planVertices(*p), (std::vector<double>{0, r, r, 0, 0, -r, -r, 0})) << c.name;
        EXPECT_EQ(p->GetXData(QString()).empty(), !c.data) << c.name;
        EXPECT_TRUE(h.app.journal().startsWith(QStringLiteral("_PEDIT\r"))) << c.name;
    }
}

TEST(CircleReversal, NoRadiusCancelOrRefusedDeleteChangesNothing)
{
    const struct {
        const char* name;
        int kind; // 0 polyline, 1 text, 2 Esc, 3 circle on a locked layer
    } cases[] = {{"polyline", 0}, {"text", 1}, {"Esc", 2}, {"locked circle", 3}};
    for (const auto& c : cases) {
        ToolHost h;
        Entity* e = nullptr;
        switch (c.kind) {
        case 0: e = test::lwPoly(h.ms(), {0, 0, 1, 0, 1, 1}); break;
        case 1: e = h.ms().AddText(QStringLiteral("a"), {0, 0, 0}, 1); break;
        default:
            e = test::coded(h.ms().AddCircle({0, 0, 0}, 2), QStringLiteral("204201"));
            e->setLayer(QStringLiteral("dmtz"));
            h.doc().Layers().Item(QStringLiteral("dmtz")).Lock = true;
        }
        if (c.kind == 2)
            h.answer(QStringLiteral("esc"));
        else
            h.answerEntity(e->Handle());
        cass::circlechange_Click(h.home.context);
        EXPECT_FALSE(e->isErased()) << c.name;
        EXPECT_EQ(h.ms().Count(), 1) << c.name;
        EXPECT_TRUE(h.app.journal().isEmpty()) << c.name;
    }
}

TEST(Balcony, MultiEdgeOffsetByAWidth)
{
    ToolHost h;
    const int before = h.ms().Count();
    const QString wall = h.nextHandle();
    h.points({{0, 0}, {10, 0}});
    h.answer(QStringLiteral("esc"));
    h.answer(QStringLiteral("string"), QStringLiteral("1.5"));
    h.answerPoint(5, 3);
    cass::breakpolytype2_Click(h.home.context);

    EXPECT_EQ(h.app.journal(), QStringLiteral("_offset\r1.5\r(handent \"%1\")\r5,3,0\r\r").arg(wall));
    ASSERT_EQ(h.ms().Count(), before + 1);
    expectVertices(*h.last(), {0, 0, 0, 0, 1.5, 0, 10, 1.5, 0, 10, 0, 0}, "width");
    expectBalcony(*h.last(), "width");
    EXPECT_TRUE(h.app.transcript().contains(u("阳台方向:")));
}

TEST(Balcony, MultiEdgeThroughAPointAndElevenPicks)
{
    const struct {
        const char* name;
        int picks;
        const char* width;
        std::pair<double, double> point;
        double offsetY;
    } cases[] = {{"empty width", 2, "", {5, 3}, 3}, {"blank width", 2, "   ", {5, -2}, -2},
                 {"eleven picks", 11, "1", {5, 3}, 1}};
    for (const auto& c : cases) {
        ToolHost h;
        for (int i = 0; i < c.picks; ++i)
            h.answerPoint(10 * i, 0);
        if (c.picks < 11)
            h.answer(QStringLiteral("esc"));
        h.answer(QStringLiteral("string"), QString::fromLatin1(c.width));
        h.answerPoint(c.point.first, c.point.second);
        cass::breakpolytype2_Click(h.home.context);
        EXPECT_TRUE(h.home.answers.empty()) << c.name;
        ASSERT_EQ(h.ms().Count(), 1) << c.name;
        std::vector<double> want{0, 0, 0};
        for (int i = 0; i < c.picks; ++i)
            want.insert(want.end(), {10.0 * i, c.offsetY, 0});
        want.insert(want.end(), {10.0 * (c.picks - 1), 0, 0});
        expectVertices(*h.last(), want, c.name);
        expectBalcony(*h.last(), c.name);
        const bool through = c.picks < 11;
        EXPECT_EQ(h.app.journal().startsWith(QStringLiteral("_offset\rtHrough\r")), through) << c.name;
        EXPECT_EQ(h.app.transcript().contains(u("阳台经过的点:")), through) << c.name;
    }
}

TEST(Balcony, MultiEdgeWithoutAnOffsetTouchesNothingElse)
{
    const struct {
        const char* name;
        QStringList answers; // after the picks: "<esc>" or a width
        bool offsetSent;
    } cases[] = {{"refused width", {"abc"}, true}, {"Esc at the width", {"<esc>"}, false},
                 {"Esc at the point", {"2", "<esc>"}, false}, {"single pick", {}, false}};
    for (const auto& c : cases) {
        ToolHost h;
        Entity* bystander = test::oldPoly(h.ms(), {50, 50, 60, 50});
        h.answerPoint(0, 0);
        if (QLatin1String(c.name) != QLatin1String("single pick"))
            h.answerPoint(10, 0);
        h.answer(QStringLiteral("esc"));
        for (const QString& a : c.answers) {
            if (a == QLatin1String("<esc>"))
                h.answer(QStringLiteral("esc"));
            else
                h.answer(QStringLiteral("string"), a);
        }
        if (c.offsetSent)
            h.answerPoint(5, 3);
        cass::breakpolytype2_Click(h.home.context);
        EXPECT_EQ(h.ms().Count(), 1) << c.name;
        EXPECT_FALSE(bystander->isErased()) << c.name;
        EXPECT_EQ(h.app.journal().isEmpty(), !c.offsetSent) << c.name;
        EXPECT_EQ(h.app.transcript().contains(u("未能生成阳台平行线")), c.offsetSent) << c.name;
    }
}

TEST(Balcony, SingleEdgeFoundByThePickDirection)
{
    for (bool lightweight : {true, false}) {
        ToolHost h;
        const std::vector<double> rect{0, 0, 10, 0, 10, 5, 0, 5};
        Entity* outline = lightweight ? test::lwPoly(h.ms(), rect, true) : test::oldPoly(h.ms(), rect, true);
        h.answerEntity(outline->Handle(), 0, 2.5);
        h.answerPoint(-1.5, 2.5);
        h.answer(QStringLiteral("esc"));
        cass::danbianyangtai_Click(h.home.context);
        const std::string what = lightweight ? "lightweight" : "old-style";
        ASSERT_EQ(h.ms().Count(), 2) << what;
        expectVertices(*h.last(), {0, 5, 0, -1.5, 5, 0, -1.5, 0, 0, 0, 0, 0}, what);
        expectBalcony(*h.last(), what);
        EXPECT_TRUE(h.app.journal().startsWith(QStringLiteral("_offset\rtHrough\r"))) << what;
        EXPECT_TRUE(h.app.transcript().endsWith(u("程序退出!"))) << what;
    }
}

TEST(Balcony, SingleEdgeMissOrCancelDrawsNothing)
{
    ToolHost h;
    Entity* outline = test::lwPoly(h.ms(), {0, 0, 10, 0, 10, 5, 0, 5}, true);
    h.answerEntity(outline->Handle(), 5, 2.5);
    cass::danbianyangtai_Click(h.home.context);
    EXPECT_EQ(h.ms().Count(), 1);
    EXPECT_TRUE(h.app.transcript().endsWith(u("未捕捉到房屋边线!")));
    EXPECT_TRUE(h.app.journal().isEmpty());

    h.app.clearRecords();
    h.answerEntity(outline->Handle(), 0, 2.5);
    h.answer(QStringLiteral("esc"));
    cass::danbianyangtai_Click(h.home.context);
    EXPECT_EQ(h.ms().Count(), 1); // the wall line is gone again
    EXPECT_TRUE(h.app.transcript().endsWith(u("程序退出!")));
    EXPECT_TRUE(h.app.journal().isEmpty());
}

TEST(WallGate, ThreeTimesThePicksAboutTheirMidpoint)
{
    ToolHost h;
    h.doc().SetVariable(QStringLiteral("osmode"), 33);
    h.answerTypedPoint(QStringLiteral("0,0"));
    h.answerTypedPoint(QStringLiteral("4,0"));
    cass::weiqiangmen_Click(h.home.context);
    ASSERT_EQ(h.ms().Count(), 1);
    const Entity* gate = h.last();
    EXPECT_EQ(gate->kind(), EntityKind::Polyline2d);
    expectVertices(*gate, {-4, 0, 0, 8, 0, 0}, "gate");
    EXPECT_EQ(gate->Layer(), QStringLiteral("JMD"));
    EXPECT_EQ(gate->GetXData(QString()), cass::cassRecord(QStringLiteral("south"), QStringLiteral("143601")));
    EXPECT_EQ(h.doc().GetVariable(QStringLiteral("osmode")).toInt(), 0);

    for (int cancelled : {1, 2}) {
        ToolHost c;
        c.doc().SetVariable(QStringLiteral("osmode"), 33);
        if (cancelled == 2)
            c.answerTypedPoint(QStringLiteral("0,0"));
        c.answer(QStringLiteral("esc"));
        if (cancelled == 1)
            c.answer(QStringLiteral("esc"));
        cass::weiqiangmen_Click(c.home.context);
        EXPECT_EQ(c.ms().Count(), 0) << cancelled;
        EXPECT_EQ(c.doc().GetVariable(QStringLiteral("osmode")).toInt(), 0) << cancelled;
    }
}

TEST(ThreePoint, ReplacesThePickedPolylineByAClosedParallelogram)
{
    const struct {
        const char* name;
        std::vector<double> xy;
        std::vector<double> want;
    } cases[] = {{"slanted", {0, 0, 10, 0, 13, 4}, {0, 0, 10, 0, 13, 4, 3, 4}},
                 {"rectangle", {0, 0, 10, 0, 10, 5}, {0, 0, 10, 0, 10, 5, 0, 5}},
                 {"five vertices", {0, 0, 10, 0, 10, 5, 20, 20, 30, 30}, {0, 0, 10, 0, 10, 5, 0, 5}}};
    for (const auto& c : cases) {
        ToolHost h;
        Entity* e = test::coded(test::lwPoly(h.ms(), c.xy), QStringLiteral("141111"));
        e->setLayer(QStringLiteral("JMD"));
        e->setLinetype(QStringLiteral("x5"));
        h.answerEntity(e->Handle());
        cass::sdcassobj_Click(h.home.context);
        EXPECT_TRUE(e->isErased()) << c.name;
        ASSERT_EQ(h.ms().Count(), 1) << c.name;
        const Entity* f = h.last();
        const std::vector<double> got = test::planVertices(*f);
        ASSERT_EQ(got.size(), c.want.size()) << c.name;
        for (size_t i = 0; i < got.size(); ++i)
            EXPECT_NEAR(got[i], c.want[i], 1e-9) << c.name << " at " << i;
        EXPECT_TRUE(f->Closed()) << c.name;
        EXPECT_EQ(f->Layer(), QStringLiteral("JMD")) << c.name;
        EXPECT_EQ(f->Linetype(), QStringLiteral("x5")) << c.name;
        EXPECT_EQ(f->Color(), ColorByLayer) << c.name;
        EXPECT_TRUE(f->GetXData(QString()).empty()) << c.name;
    }
}

TEST(ThreePoint, OtherEntitiesStay)
{
    const struct {
        const char* name;
        int kind; // 0 old-style, 1 two vertices, 2 line
    } cases[] = {{"old-style", 0}, {"two vertices", 1}, {"line", 2}};
    for (const auto& c : cases) {
        ToolHost h;
        Entity* e = c.kind == 0   ? test::oldPoly(h.ms(), {0, 0, 10, 0, 13, 4})
                    : c.kind == 1 ? test::lwPoly(h.ms(), {0, 0, 10, 0})
                                  : h.ms().AddLine({0, 0, 0}, {10, 0, 0});
        h.answerEntity(e->Handle());
        cass::sdcassobj_Click(h.home.context);
        EXPECT_FALSE(e->isErased()) << c.name;
        EXPECT_EQ(h.ms().Count(), 1) << c.name;
    }
}

TEST(PolylineBreak, PartsThePolylineAtThePick)
{
    ToolHost h;
    Entity* p = test::coded(test::lwPoly(h.ms(), {500, 301.5, 520, 301.5, 520, 320}), QStringLiteral("164100"));
    const QString handle = p->Handle();
    h.answerEntity(handle, 512.25, 301.5);
    cass::breakpolytype_Click(h.home.context);
    EXPECT_EQ(h.app.journal(),
              QStringLiteral("_break\r(list(handent \"%1\")(list  512.25 301.5 0))\r512.25,301.5,0\r").arg(handle));
    EXPECT_TRUE(h.app.transcript().endsWith(u("已完成线的断开！")));
    std::vector<Entity*> halves;
    for (Entity* e : h.ms().entities())
        halves.push_back(e);
    ASSERT_EQ(halves.size(), 2u);
    const std::vector<double> a = test::planVertices(*halves[0]), b = test::planVertices(*halves[1]);
    const bool firstHasStart = a.front() == 500;
    const std::vector<double>& head = firstHasStart ? a : b;
    const std::vector<double>& tail = firstHasStart ? b : a;
    EXPECT_EQ(head, (std::vector<double>{500, 301.5, 512.25, 301.5}));
    EXPECT_EQ(tail, (std::vector<double>{512.25, 301.5, 520, 301.5, 520, 320}));
    for (Entity* e : halves)
        EXPECT_EQ(codeOf(*e), QStringLiteral("164100"));

    h.app.clearRecords();
    h.answer(QStringLiteral("esc"));
    cass::breakpolytype_Click(h.home.context);
    EXPECT_TRUE(h.app.journal().isEmpty());
    EXPECT_EQ(h.app.transcript(), u("选择图元："));
}

TEST(BuildingTools, StoppedHost)
{
    const struct {
        const char* name;
        void (*run)(Context&);
        bool message;
    } cases[] = {
        {"circlechange", cass::circlechange_Click, false}, {"breakpolytype2", cass::breakpolytype2_Click, true},
        {"danbianyangtai", cass::danbianyangtai_Click, true}, {"weiqiangmen", cass::weiqiangmen_Click, false},
        {"sdcassobj", cass::sdcassobj_Click, false},         {"breakpolytype", cass::breakpolytype_Click, true},
    };
    for (const auto& c : cases) {
        ToolHost h;
        h.app.setRunning(false);
        c.run(h.home.context);
        EXPECT_EQ(h.home.ui.messages().size(), c.message ? 1 : 0) << c.name;
        EXPECT_EQ(h.ms().Count(), 0) << c.name;
        EXPECT_TRUE(h.app.journal().isEmpty()) << c.name;
    }
}
