#include "cad_host.h"
#include "relief/drawing_cleanup.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace kelvor;
using namespace kelvor::relief;
using test::u;

namespace {

constexpr double kDeg30 = 3.14159265358979 / 6;

struct CleanupHost : test::CadHost {
    cad::Entity* on(cad::Entity* e, const char* layer)
    {
        doc().Layers().Add(u(layer));
        e->setLayer(u(layer));
        return e;
    }
    cad::Entity* text(const char* s, const char* layer, double height = 1, double rotation = 0)
    {
        cad::Entity* t = on(ms().AddText(u(s), {0, 0, 0}, height), layer);
        t->setRotation(rotation);
        return t;
    }
    cad::Entity* lw(const std::vector<double>& xy) { return ms().AddLightWeightPolyline(xy); }
};

} // namespace

TEST(DrawingCleanup, PlaceNamesEndIn厂村司AndHaveThreeCharacters)
{
    const struct {
        const char* text;
        bool qualifies;
    } cases[] = {
        {"张家村", true}, {"某某公司 ", true}, {"  化肥厂  ", true}, {"新村", false},
        {" 新村 ", false}, {"厂前路", false}, {"村", false}, {"", false}, {"张家村\t", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(isPlaceName(u(c.text)), c.qualifies) << c.text;
}

TEST(DrawingCleanup, RedundantPolylinesByTheirCoordinates)
{
    const struct {
        const char* name;
        std::vector<double> c;
        bool redundant;
    } cases[] = {
        {"both axes within", {0, 0, 0.002, 0.001}, true},
        {"x apart", {0, 0, 0.004, 0.001}, false},
        {"y apart", {0, 0, 0, 0.5}, false},
        {"exactly the tolerance", {0, 0, 0.003, 0}, false},
        {"negative differences", {1, 1, 0.9985, 0.9985}, true},
        {"three coincident lightweight", {1, 1, 1, 1, 1, 1}, false},
        {"two coincident heavy", {1, 1, 0, 1, 1, 0}, false},
        {"one heavy vertex", {1, 1, 0}, true},
        {"one lightweight vertex", {1, 1}, true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(isRedundantPolyline(c.c), c.redundant) << c.name;
}

TEST(DrawingCleanup, NoteRulesInOrder)
{
    const struct {
        const char* text;
        double height;
        double newHeight; // 0: unchanged
        bool level;
        const char* newText;
    } cases[] = {
        {"a", 1.8, 1.75, false, nullptr},
        {"a", 1.75, 0, false, nullptr},
        {"a", 1.2, 0, false, nullptr},
        {"水泥", 1.0, 1.5, true, nullptr},
        {" 水 泥 ", 2.5, 1.5, true, nullptr},
        {"水  泥", 2.0, 1.75, false, nullptr},
        {" 鱼 ", 1.0, 0, false, "（鱼）"},
        {"鱼", 2.0, 1.75, false, "（鱼）"},
        {"鱼塘", 1.0, 0, false, nullptr},
        {"（鱼）", 1.0, 0, false, nullptr},
    };
    for (const auto& c : cases) {
        const NoteChange ch = noteChange(u(c.text), c.height);
        EXPECT_EQ(ch.height.value_or(0), c.newHeight) << c.text << " " << c.height;
        EXPECT_EQ(ch.rotation.has_value(), c.level) << c.text;
        EXPECT_EQ(ch.text.value_or(QString()), c.newText ? u(c.newText) : QString()) << c.text;
    }
}

TEST(DrawingCleanup, QualityControlMovesLegacyLayersDeletesPointsPurgesAndSizesPlaceNames)
{
    CleanupHost h;
    for (const char* l : {"gcd", "jmd", "zj", "other"})
        h.doc().Layers().Add(u(l));
    h.doc().BlocksAdd({0, 0, 0}, QStringLiteral("blk")).AddCircle({0, 0, 0}, 1);
    const cad::Entity* moved[] = {
        h.on(h.ms().InsertBlock({1, 1, 0}, QStringLiteral("blk"), 1, 1, 1, 0), "laheight"),
        h.on(h.lw({0, 0, 5, 5}), "laheight"),
        h.on(h.ms().AddText(QStringLiteral("12.5"), {2, 2, 0}, 1), "laheight"),
        h.on(h.ms().AddLine({0, 0, 0}, {1, 0, 0}), "LAF"),
    };
    cad::Entity* stays = h.on(h.ms().AddLine({0, 0, 0}, {1, 1, 0}), "lad"); // dmtz is missing
    h.on(h.ms().AddPoint({3, 3, 0}), "gcd");
    h.ms().AddPoint({4, 4, 0});
    cad::Entity* zhang = h.text("张家村", "zj", 3);
    zhang->setScaleFactor(0.8);
    cad::Entity* company = h.text("某某公司 ", "zj", 2);
    cad::Entity* mtext = h.on(h.ms().AddMText({0, 0, 0}, 10, u("张家村")), "zj");
    mtext->setHeight(3);
    const cad::Entity* untouched[] = {h.text("新村", "zj", 3), h.text("厂前路", "zj", 3), h.text("张家村", "other", 3),
                                      mtext};
    h.answer(QStringLiteral("string"), QStringLiteral("1"));

    massboss_Click(h.context);

    EXPECT_EQ(moved[0]->Layer(), QStringLiteral("gcd"));
    EXPECT_EQ(moved[1]->Layer(), QStringLiteral("gcd"));
    EXPECT_EQ(moved[2]->Layer(), QStringLiteral("gcd"));
    EXPECT_EQ(moved[3]->Layer(), QStringLiteral("jmd"));
    EXPECT_EQ(stays->Layer(), QStringLiteral("lad"));
    for (cad::Entity* e : h.ms().entities())
        EXPECT_NE(e->kind(), cad::EntityKind::Point) << e->Layer().toStdString();
    EXPECT_FALSE(h.doc().Layers().contains(QStringLiteral("LAF")));
    EXPECT_FALSE(h.doc().Layers().contains(QStringLiteral("laheight")));
    for (const cad::Entity* t : {zhang, company}) {
        EXPECT_EQ(t->Height(), 1.75) << t->TextString().toStdString();
        EXPECT_EQ(t->ScaleFactor(), 1.0) << t->TextString().toStdString();
    }
    for (const cad::Entity* t : untouched)
        EXPECT_EQ(t->Height(), 3) << t->TextString().toStdString() << t->Layer().toStdString();
    const QString tail = u("正在处理图层......\r\n处理DLSS层\r\n处理DMTZ层\r\n处理ZBTZ层\r\n处理SXSS层\r\n处理KZD层\r\n"
                           "处理GCD层\r\n处理JZD层\r\n删除单点......\r\n正在处理图形垃圾(空图层、块)\r\n"
                           "[处理村名、厂名注记大小]\r\n处理[厂名/村名]:张家村\r\n处理[厂名/村名]:某某公司 \r\n操作结束。");
    EXPECT_TRUE(h.app.transcript().endsWith(tail)) << h.app.transcript().toStdString();
    EXPECT_TRUE(h.app.transcript().startsWith(u("[植被填充层处理]"))) << h.app.transcript().toStdString();
    EXPECT_TRUE(h.ui.messages().isEmpty());
}

TEST(DrawingCleanup, QualityControlWithoutTheHostTellsThreeTimesAndChangesNothing)
{
    CleanupHost h;
    cad::Entity* line = h.on(h.ms().AddLine({0, 0, 0}, {1, 0, 0}), "LAF");
    h.doc().Layers().Add(QStringLiteral("jmd"));
    h.app.setRunning(false);
    massboss_Click(h.context);
    EXPECT_EQ(test::messageTexts(h.home), QStringList(3, u("AutoCAD 没有运行或版本不符合！")));
    EXPECT_EQ(line->Layer(), QStringLiteral("LAF"));
    EXPECT_TRUE(h.app.transcript().isEmpty());
}

TEST(DrawingCleanup, RedundantVertexRemovalDeletesDegeneratePolylinesAndCountsOnlyDeletions)
{
    CleanupHost h;
    cad::Entity* close = h.lw({100, 200, 100.002, 200.001});
    cad::Entity* apartX = h.lw({0, 0, 0.004, 0.001});
    cad::Entity* apartY = h.lw({0, 0, 0, 0.5});
    cad::Entity* triangle = h.lw({1, 1, 1, 1, 1, 1});
    triangle->setClosed(true);
    cad::Entity* heavyTwo = h.ms().AddPolyline({1, 1, 0, 1, 1, 0});
    cad::Entity* heavyOne = h.ms().AddPolyline({5, 6, 0, 7, 8, 0});
    heavyOne->setVertices({cad::Vertex{5, 6, 0}});
    cad::Entity* shortLine = h.ms().AddLine({0, 0, 0}, {0.001, 0, 0});
    QStringList all;
    for (cad::Entity* e : h.ms().entities())
        all << e->Handle();
    h.answerSelect(all);

    deletelingbianchang_Click(h.context);

    EXPECT_TRUE(close->isErased());
    EXPECT_TRUE(heavyOne->isErased());
    for (const cad::Entity* kept : {apartX, apartY, triangle, heavyTwo, shortLine})
        EXPECT_FALSE(kept->isErased()) << kept->Handle().toStdString();
    EXPECT_EQ(h.zooms(), (QStringList{"ZoomWindow 90,190 110,210", "ZoomWindow -5,-4 15,16"}));
    EXPECT_EQ(h.app.transcript(), u("共处理:2个"));
}

TEST(DrawingCleanup, RedundantPolylineOnALockedLayerIsNeitherDeletedNorCounted)
{
    CleanupHost h;
    cad::Entity* locked = h.on(h.lw({0, 0, 0.001, 0.001}), "locked");
    h.doc().Layers().Item(QStringLiteral("locked")).Lock = true;
    cad::Entity* free = h.lw({10, 10, 10.001, 10.001});
    h.answerSelect({locked->Handle(), free->Handle()});
    deletelingbianchang_Click(h.context);
    EXPECT_FALSE(locked->isErased());
    EXPECT_TRUE(free->isErased());
    EXPECT_EQ(h.app.transcript(), u("共处理:1个"));
}

TEST(DrawingCleanup, RedundantVertexRemovalWithNothingPickedReportsNone)
{
    CleanupHost h;
    h.lw({0, 0, 0.001, 0.001});
    h.answer(QStringLiteral("esc"));
    deletelingbianchang_Click(h.context);
    EXPECT_EQ(h.app.transcript(), u("共处理:0个"));
    EXPECT_TRUE(h.zooms().isEmpty());
}

TEST(DrawingCleanup, NoteTextsOfZjAndSxssFollowTheRules)
{
    const struct {
        const char* text;
        const char* layer;
        double height, rotation;
        const char* newText;
        double newHeight, newRotation;
    } cases[] = {
        {"a", "zj", 1.8, 0, "a", 1.75, 0},
        {"b", "zj", 1.75, 0, "b", 1.75, 0},
        {"c", "zj", 1.2, 0, "c", 1.2, 0},
        {"水泥", "zj", 1.0, kDeg30, "水泥", 1.5, 0},
        {"水 泥", "zj", 2.5, 0, "水 泥", 1.5, 0},
        {"水  泥", "zj", 2.0, kDeg30, "水  泥", 1.75, kDeg30},
        {" 鱼 ", "zj", 1.0, 0, "（鱼）", 1.0, 0},
        {"鱼塘", "zj", 1.0, 0, "鱼塘", 1.0, 0},
        {"（鱼）", "zj", 1.0, 0, "（鱼）", 1.0, 0},
        {"鱼", "SXSS", 1.8, 0, "（鱼）", 1.75, 0},
        {"鱼", "other", 1.8, 0, "鱼", 1.8, 0},
    };
    CleanupHost h;
    std::vector<cad::Entity*> texts;
    for (const auto& c : cases)
        texts.push_back(h.text(c.text, c.layer, c.height, c.rotation));
    cad::Entity* mtext = h.on(h.ms().AddMText({0, 0, 0}, 10, QStringLiteral("鱼")), "zj");
    mtext->setHeight(3);

    yuaddkuaohao_Click(h.context);

    for (size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        EXPECT_EQ(texts[i]->TextString(), u(c.newText)) << c.text << " on " << c.layer;
        EXPECT_EQ(texts[i]->Height(), c.newHeight) << c.text << " on " << c.layer;
        EXPECT_NEAR(texts[i]->Rotation(), c.newRotation, 1e-12) << c.text << " on " << c.layer;
    }
    EXPECT_EQ(mtext->TextString(), u("鱼"));
    EXPECT_EQ(mtext->Height(), 3);
    EXPECT_EQ(h.app.transcript(), u("\r\n请稍候......操作完成！"));
}
