// The closed-flag and area checks of picked polylines.
#include "cad_host.h"
#include "landuse/closed_lines.h"
#include "routines/routines.h"
#include "test_support.h"

#include <gtest/gtest.h>

using namespace kelvor;
using namespace kelvor::cad;
using namespace kelvor::landuse;
using test::u;

namespace {

Entity* lw(test::CadHost& h, const std::vector<double>& xy, bool closed)
{
    Entity* e = h.ms().AddLightWeightPolyline(xy);
    e->setClosed(closed);
    return e;
}

Entity* old(test::CadHost& h, const std::vector<double>& xy, bool closed)
{
    std::vector<double> xyz;
    for (size_t i = 0; i + 1 < xy.size(); i += 2)
        xyz.insert(xyz.end(), {xy[i], xy[i + 1], 0});
    Entity* e = h.ms().AddPolyline(xyz);
    e->setClosed(closed);
    return e;
}

const std::vector<double> kRect{0, 0, 10, 0, 10, 20, 0, 20};

QStringList handles(const std::vector<Entity*>& entities)
{
    QStringList out;
    for (Entity* e : entities)
        out << e->Handle();
    return out;
}

struct Shown {
    QString text, title, icon;
    bool operator==(const Shown&) const = default;
};
std::vector<Shown> boxes(const test::CadHost& h)
{
    std::vector<Shown> out;
    for (const QJsonValue& m : h.ui.messages()) {
        const QJsonObject o = m.toObject();
        out.push_back({o.value(QStringLiteral("text")).toString(), o.value(QStringLiteral("title")).toString(),
                       o.value(QStringLiteral("icon")).toString()});
    }
    return out;
}

} // namespace

TEST(ClosedLines, RingAreaAndTolerance)
{
    const struct {
        const char* name;
        std::vector<double> xy;
        double area;
    } rings[] = {
        {"rectangle", kRect, 200},
        {"clockwise", {0, 0, 0, 20, 10, 20, 10, 0}, 200},
        {"open triangle closes", {0, 0, 4, 0, 4, 3}, 6},
        {"far from the origin", {500000, 2500000, 500010, 2500000, 500010, 2500020, 500000, 2500020}, 200},
        {"one vertex", {5, 5}, 0},
        {"none", {}, 0},
    };
    for (const auto& r : rings)
        EXPECT_EQ(chordRingArea(r.xy), r.area) << r.name;

    const struct {
        double computed, reported;
        float tolerance;
        bool offends;
    } cases[] = {
        {200, 200, 0, false},          {200.5, 200, 0.5f, false},          {200, 200.5, 0.5f, false},
        {200.51, 200, 0.5f, true},     {200.1000000005, 200, 0.1f, false}, {200.11, 200, 0.1f, true},
        {200, 200, -1, true},          {200, 200 + 1e-9, 0, true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(areaOffends(c.computed, c.reported, c.tolerance), c.offends)
            << c.computed << " " << c.reported << " " << c.tolerance;
    EXPECT_EQ(areaDifferenceText(157.5), u("差别:157.5平方米"));
}

TEST(ClosedLinesCommand, OpenPolylinesAreMarked)
{
    test::CadHost h;
    Entity* closed = lw(h, kRect, true);
    Entity* open = lw(h, kRect, false);
    Entity* ring = old(h, {0, 0, 10, 0, 10, 10, 0, 0}, false); // ends on its start, flag off
    Entity* oldClosed = old(h, kRect, true);
    Entity* line = h.ms().AddLine({0, 0, 0}, {5, 5, 0});
    const QStringList picked = handles({closed, open, ring, oldClosed, line});
    h.answerSelect(picked);
    checkpolylineclose_Click(h.context);
    for (Entity* e : {open, ring}) {
        EXPECT_EQ(e->Color(), 1);
        EXPECT_EQ(e->ConstantWidth(), 10);
    }
    for (Entity* e : {closed, oldClosed}) {
        EXPECT_EQ(e->Color(), ColorByLayer);
        EXPECT_EQ(e->ConstantWidth(), 0);
    }
    EXPECT_EQ(line->Color(), ColorByLayer);
    const Shown reported{u("共发现: 2条不封闭的线！"), applicationTitle(), QStringLiteral("critical")};
    EXPECT_EQ(boxes(h), std::vector<Shown>{reported});

    h.answerSelect(picked);
    checkpolylineclose_Click(h.context);
    EXPECT_EQ(boxes(h), (std::vector<Shown>{reported, reported}));
}

TEST(ClosedLinesCommand, ClosureCheckWithoutOffenders)
{
    const struct {
        const char* name;
        std::function<void(test::CadHost&)> setup;
        Shown box;
    } cases[] = {
        {"nothing picked", [](test::CadHost& h) { h.answer(QStringLiteral("esc")); },
         {u("没发现不封闭的线！"), applicationTitle(), QStringLiteral("exclamation")}},
        {"all closed", [](test::CadHost& h) { h.answerSelect({lw(h, kRect, true)->Handle()}); },
         {u("没发现不封闭的线！"), applicationTitle(), QStringLiteral("exclamation")}},
        {"no host", [](test::CadHost& h) { h.app.setRunning(false); },
         {u("AutoCAD 没有运行或版本不符合！"), u("本功能需先启动AutoCAD系统"), QStringLiteral("critical")}},
    };
    for (const auto& c : cases) {
        test::CadHost h;
        c.setup(h);
        checkpolylineclose_Click(h.context);
        EXPECT_EQ(boxes(h), std::vector<Shown>{c.box}) << c.name;
    }
}

TEST(ClosedLinesCommand, AreaCheckOfARectangle)
{
    test::CadHost h;
    Entity* r = lw(h, kRect, true);
    Entity* open = lw(h, {0, 0, 4, 0, 4, 3}, false);
    h.answer(QStringLiteral("real"), QStringLiteral("0.01"));
    h.answerSelect(handles({r, open}));
    polylineareayn_Click(h.context);
    EXPECT_EQ(boxes(h), (std::vector<Shown>{{u("没有发现面积有错误！"), u("面积核对"), QStringLiteral("exclamation")}}));
    EXPECT_EQ(r->Color(), ColorByLayer);
    EXPECT_TRUE(h.app.transcript().contains(u("请输入面积限差值:")));
}

TEST(ClosedLinesCommand, AreaCheckFlagsAnArcSide)
{
    test::CadHost h;
    Entity* arc = lw(h, kRect, true);
    arc->SetBulge(1, 1); // a half circle over the right side
    Entity* straight = lw(h, kRect, true);
    Entity* oldArc = old(h, kRect, true);
    oldArc->SetBulge(1, 1);
    h.answer(QStringLiteral("real"), QStringLiteral("0.01"));
    h.answerSelect(handles({arc, straight, oldArc}));
    polylineareayn_Click(h.context);
    const double difference = std::abs(200 - arc->Area());
    EXPECT_NEAR(difference, kPi15 * 50, 1e-9);
    // both boxes have an empty title bar, unlike the closure check's
    EXPECT_EQ(boxes(h), (std::vector<Shown>{{u("差别:") + NumberText(difference) + u("平方米"), QString(),
                                           QStringLiteral("exclamation")},
                                          {u("共发现:1个。红色线为面积不相符!"), QString(),
                                           QStringLiteral("exclamation")}}));
    EXPECT_EQ(arc->Color(), 1);
    EXPECT_EQ(arc->ConstantWidth(), 2);
    EXPECT_EQ(straight->Color(), ColorByLayer);
    EXPECT_EQ(oldArc->Color(), ColorByLayer);
}

TEST(ClosedLinesCommand, AreaCheckTolerances)
{
    const struct {
        const char* kind;
        const char* tolerance;
        int flagged;
    } cases[] = {{"real", "-1", 2}, {"real", "157.1", 0}, {"esc", "", 1}, {"enter", "", 1}};
    for (const auto& c : cases) {
        test::CadHost h;
        Entity* arc = lw(h, kRect, true);
        arc->SetBulge(1, 1);
        Entity* straight = lw(h, kRect, true);
        h.answer(QString::fromLatin1(c.kind), QString::fromLatin1(c.tolerance));
        h.answerSelect(handles({arc, straight}));
        polylineareayn_Click(h.context);
        EXPECT_EQ(int(boxes(h).size()), c.flagged + 1) << c.kind << " " << c.tolerance;
        EXPECT_EQ(straight->Color() == 1, c.flagged == 2) << c.tolerance;
    }

    test::CadHost stopped;
    stopped.app.setRunning(false);
    polylineareayn_Click(stopped.context);
    EXPECT_EQ(test::messageTexts(stopped.home), QStringList{u("AutoCAD 没有运行或版本不符合！")});
}
