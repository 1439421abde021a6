// Land-class areas and parcel areas less their islands.
#include "cad_host.h"
#include "landuse/class_areas.h"
#include "test_support.h"

#include <gtest/gtest.h>

using namespace kelvor;
using namespace kelvor::cad;
using namespace kelvor::landuse;
using test::u;

namespace {

// An axis-parallel closed rectangle from (x, y), w wide and h high.
Entity* rect(test::CadHost& h, double x, double y, double w, double h_, int colour = 1)
{
    Entity* e = h.ms().AddLightWeightPolyline({x, y, x + w, y, x + w, y + h_, x, y + h_});
    e->setClosed(true);
    e->setColor(colour);
    return e;
}

Entity* coded(Entity* e, const QStringList& items)
{
    XData x{xstr(1001, QStringLiteral("South"))};
    for (const QString& i : items)
        x.push_back(xstr(1000, i));
    e->SetXData(x);
    return e;
}

QStringList handles(const std::vector<Entity*>& entities)
{
    QStringList out;
    for (Entity* e : entities)
        out << e->Handle();
    return out;
}

Island island(double x, double y, double w, double h)
{
    const std::vector<double> xy{x, y, x + w, y, x + w, y + h, x, y + h};
    Chain c{chordPolygon(xy), true};
    return {{c}, chordPolygon(xy)};
}

} // namespace

TEST(LandClassArea, CodesAndTheBoxText)
{
    const struct {
        QStringList items;
        const char* typed;
        bool matches;
    } cases[] = {
        {{"0", "111 "}, "111", true},   {{"0", "111"}, " 111", true}, {{"0", "0111"}, "111", false},
        {{"0", "111A"}, "111", false},  {{"0", "a"}, "A", false},     {{"0"}, "", false},
        {{"0", " "}, "", true},         {{}, "", false},
    };
    for (const auto& c : cases) {
        XData x{xstr(1001, QStringLiteral("South"))};
        for (const QString& i : c.items)
            x.push_back(xstr(1000, i));
        EXPECT_EQ(landClassMatches(x, QString::fromLatin1(c.typed)), c.matches)
            << c.items.join(QLatin1Char('|')).toStdString() << " / " << c.typed;
    }
    EXPECT_EQ(landClassAreaText(QStringLiteral("111"), 800), u("地类111的面积：800.00[1.20亩]"));
    EXPECT_EQ(landClassAreaText(QStringLiteral(" 111"), 0), u("地类 111的面积：0.00[0.00亩]"));
    EXPECT_EQ(landClassAreaText(QString(), 1234.565), u("地类的面积：1234.57[1.85亩]"));
}

TEST(LandClassArea, FeatureCodesOfParcels)
{
    const struct {
        QStringList items;
        const char* code;
        bool codeless, parcel;
    } cases[] = {
        {{"310000"}, "310000", false, true},  {{" 310000 "}, "310000", false, true},
        {{"310000-1"}, "310000-1", false, false}, {{"310000.0"}, "310000.0", false, false},
        {{"abc"}, "abc", true, false},        {{}, "0", true, false},
        {{"0"}, "0", true, false},
    };
    for (const auto& c : cases) {
        XData x{xstr(1001, QStringLiteral("South"))};
        for (const QString& i : c.items)
            x.push_back(xstr(1000, i));
        const QString code = parcelFeatureCode(x);
        EXPECT_EQ(code, QString::fromLatin1(c.code));
        EXPECT_EQ(lacksFeatureCode(code), c.codeless) << c.code;
        EXPECT_EQ(isParcel(code), c.parcel) << c.code;
    }
    EXPECT_EQ(parcelFeatureCode({}), QStringLiteral("0"));
}

TEST(LandClassArea, OnlyOutermostIslands)
{
    const struct {
        const char* name;
        std::vector<Island> islands;
        std::vector<size_t> outermost;
    } cases[] = {
        {"one", {island(40, 40, 20, 20)}, {0}},
        {"nested", {island(40, 40, 20, 20), island(48, 48, 4, 4)}, {0}},
        {"nested, inner first", {island(48, 48, 4, 4), island(40, 40, 20, 20)}, {1}},
        {"three deep and a sibling",
         {island(10, 10, 50, 50), island(20, 20, 20, 20), island(70, 70, 10, 10), island(25, 25, 5, 5)},
         {0, 2}},
        {"overlapping", {island(10, 10, 20, 20), island(20, 20, 20, 20)}, {0, 1}},
        {"none", {}, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(outermostIslands(c.islands), c.outermost) << c.name;
}

TEST(LandClassAreaCommand, SumsTheTypedClassOfTheSampleColour)
{
    const struct {
        const char* typed;
        const char* text;
    } cases[] = {
        {"111", "地类111的面积：800.00[1.20亩]"},
        {" 111", "地类 111的面积：800.00[1.20亩]"},
        {"0111", "地类0111的面积：700.00[1.05亩]"},
        {"112", "地类112的面积：0.00[0.00亩]"},
    };
    for (const auto& c : cases) {
        test::CadHost h;
        std::vector<Entity*> all{
            coded(rect(h, 0, 0, 10, 30), {"A", "111 "}),
            coded(rect(h, 100, 0, 20, 25), {"A", "111"}),
            coded(rect(h, 200, 0, 10, 70), {"A", "0111"}),
            coded(rect(h, 300, 0, 10, 90, 2), {"A", "111"}),
            rect(h, 400, 0, 10, 100),
            coded(rect(h, 500, 0, 10, 110), {"111"}),
            coded(rect(h, 600, 0, 10, 120, ColorByLayer), {"A", "111"}),
        };
        h.answerEntity(all[0]->Handle());
        h.answerSelect(handles(all));
        h.answer(QStringLiteral("string"), QString::fromUtf8(c.typed));
        tongjizhidingdilei_Click(h.context);
        const QJsonObject box = test::lastMessage(h.home);
        EXPECT_EQ(box.value(QStringLiteral("text")).toString(), u(c.text)) << c.typed;
        EXPECT_EQ(box.value(QStringLiteral("title")).toString(), u("统计指定地类面积"));
        EXPECT_EQ(box.value(QStringLiteral("icon")).toString(), QStringLiteral("exclamation"));
        EXPECT_TRUE(h.app.transcript().contains(u("选择实体颜色后选择实体:")));
        EXPECT_TRUE(h.app.transcript().contains(u("请输入要地类编码:")));
    }
}

TEST(LandClassAreaCommand, AByLayerSampleTakesOnlyByLayerPolylines)
{
    test::CadHost h;
    h.doc().Layers().Add(QStringLiteral("red")).Color = 1;
    Entity* sample = h.ms().AddLine({0, 0, 0}, {1, 1, 0});
    Entity* byLayer = coded(rect(h, 0, 0, 10, 20, ColorByLayer), {"A", "111"});
    byLayer->setLayer(QStringLiteral("red"));
    Entity* red = coded(rect(h, 100, 0, 10, 30), {"A", "111"});
    h.answerEntity(sample->Handle());
    h.answerSelect(handles({byLayer, red}));
    h.answer(QStringLiteral("string"), QStringLiteral("111"));
    tongjizhidingdilei_Click(h.context);
    EXPECT_EQ(test::messageTexts(h.home), QStringList{u("地类111的面积：200.00[0.30亩]")});
}

TEST(LandClassAreaCommand, EndsOrCountsNothingOnCancel)
{
    test::CadHost h;
    Entity* p = coded(rect(h, 0, 0, 10, 20), {"A", ""});
    h.answer(QStringLiteral("esc"));
    tongjizhidingdilei_Click(h.context);
    EXPECT_TRUE(test::messageTexts(h.home).isEmpty());

    // Esc at the code: the empty code sums the polygons without a class
    h.answerEntity(p->Handle());
    h.answerSelect({p->Handle()});
    h.answer(QStringLiteral("esc"));
    tongjizhidingdilei_Click(h.context);
    EXPECT_EQ(test::messageTexts(h.home), QStringList{u("地类的面积：200.00[0.30亩]")});

    h.app.setRunning(false);
    tongjizhidingdilei_Click(h.context);
    EXPECT_EQ(test::lastMessage(h.home).value(QStringLiteral("text")).toString(), u("AutoCAD 没有运行或版本不符合！"));
}

namespace {

struct Parcels {
    test::CadHost h;
    Entity* outer = coded(rect(h, 0, 0, 100, 100, 3), {"310000"});
    Entity* island = coded(rect(h, 40, 40, 20, 20, 3), {"310000"});

    QString run(const std::vector<Entity*>& picked)
    {
        h.answerSelect(handles(picked));
        tongjizhongdidao_Click(h.context);
        const QJsonObject box = test::lastMessage(h.home);
        EXPECT_EQ(box.value(QStringLiteral("icon")).toString(), QStringLiteral("none"));
        EXPECT_EQ(box.value(QStringLiteral("title")).toString(), applicationTitle());
        return box.value(QStringLiteral("text")).toString();
    }
};

} // namespace

TEST(ParcelIslandCommand, ParcelsLessTheirOutermostIslands)
{
    {
        Parcels p;
        EXPECT_EQ(p.run({p.outer, p.island}), QStringLiteral("10000"));
        EXPECT_EQ(p.outer->Color(), 1);
        EXPECT_EQ(p.outer->ConstantWidth(), 0);
        EXPECT_EQ(p.island->Color(), 3);
    }
    {
        Parcels p;
        EXPECT_EQ(p.run({p.outer}), QStringLiteral("9600"));
    }
    {
        // an island of the island belongs to the island, not to the parcel
        Parcels p;
        Entity* inner = coded(rect(p.h, 48, 48, 4, 4, 3), {"310000"});
        EXPECT_EQ(p.run({p.outer, p.island, inner}), QStringLiteral("10000"));
        EXPECT_EQ(p.island->Color(), 1);
    }
    {
        Parcels p;
        EXPECT_EQ(p.run({}), QStringLiteral("0"));
        EXPECT_EQ(p.outer->Color(), 3);
    }
}

TEST(ParcelIslandCommand, CodelessPolylinesAreFlagged)
{
    Parcels p;
    Entity* plain = rect(p.h, 10, 10, 5, 5, 3);
    Entity* zero = coded(rect(p.h, 20, 10, 5, 5, 3), {"0"});
    Entity* sub = coded(rect(p.h, 30, 10, 5, 5, 3), {"310000-1"});
    Entity* other = coded(rect(p.h, 10, 20, 5, 5, 3), {"211100"});
    Entity* outside = rect(p.h, 200, 0, 5, 5, 3);
    EXPECT_EQ(p.run({p.outer, sub}), QStringLiteral("9600"));
    for (Entity* e : {plain, zero}) {
        EXPECT_EQ(e->Color(), 1);
        EXPECT_EQ(e->ConstantWidth(), 1.0);
    }
    for (Entity* e : {sub, other, outside}) {
        EXPECT_EQ(e->Color(), 3);
        EXPECT_EQ(e->ConstantWidth(), 0);
    }

    // picked outside any parcel: flagged, and the total is 0
    Parcels q;
    Entity* alone = rect(q.h, 200, 0, 5, 5, 3);
    EXPECT_EQ(q.run({alone}), QStringLiteral("0"));
    EXPECT_EQ(alone->Color(), 1);
    EXPECT_EQ(alone->ConstantWidth(), 1.0);
}
