// Temporary block, polyline width and curves, raster image commands.
#include "drafting/drawing_tools.h"
#include "drafting_host.h"
#include "cad/dxf/dxf.h"

#include <QFileInfo>
#include <gtest/gtest.h>

using namespace kelvor;
using namespace kelvor::cad;
using test::u;

TEST(TemporaryBlock, CarriesEntitiesInPlaceWithoutAReference)
{
    test::DraftingHost h;
    Entity* a = h.ms().AddLine({1, 2, 0}, {3, 4, 0});
    Entity* b = h.ms().AddLine({10, 20, 0}, {30, 40, 0});
    h.ms().AddLine({5, 5, 0}, {6, 6, 0}); // not picked
    h.select({a, b});
    drafting::shengchenglinshikuai_Click(h.context, 0);
    EXPECT_TRUE(QFileInfo::exists(drawingPath(QStringLiteral("d:\\bak1.dwg"))));

    Document& other = h.app.DocumentsAdd();
    drafting::shengchenglinshikuai_Click(h.context, 1);
    Block& ms = other.ModelSpace();
    ASSERT_EQ(ms.Count(), 2);
    EXPECT_EQ(ms.Item(0)->dxfName(), QStringLiteral("LINE"));
    EXPECT_EQ(ms.Item(0)->StartPoint(), (Point{1, 2, 0}));
    EXPECT_EQ(ms.Item(1)->EndPoint(), (Point{30, 40, 0}));
    EXPECT_TRUE(h.ui.messages().isEmpty());
}

TEST(TemporaryBlock, NoFileChangesNothing)
{
    test::DraftingHost h;
    h.ms().AddLine({1, 2, 0}, {3, 4, 0});
    drafting::shengchenglinshikuai_Click(h.context, 1);
    EXPECT_EQ(h.ms().Count(), 1);
    EXPECT_TRUE(h.ui.messages().isEmpty());
}

TEST(PolylineWidth, SetsOneWidthOrChangesNothing)
{
    const struct {
        const char* name;
        const char* kind;
        const char* value;
        double width;   // on every polyline afterwards
        const char* line; // last command-line text, "" for none
    } cases[] = {
        {"1.25", "real", "1.25", 1.25, "已修改线型宽度为：1.25"},
        {"1", "real", "1", 1, "已修改线型宽度为：1"},
        {"esc", "esc", "", 0.5, ""},
        {"negative", "real", "-1", 0.5, ""},
    };
    for (const auto& c : cases) {
        test::DraftingHost h;
        std::vector<Entity*> lines{h.square(0, 0, 10), h.ms().AddLightWeightPolyline({0, 0, 5, 5}),
                                   h.ms().AddPolyline({0, 0, 0, 5, 0, 0, 5, 5, 0})};
        for (Entity* e : lines)
            e->setConstantWidth(0.5);
        h.select(lines);
        h.answer(QString::fromLatin1(c.kind), QString::fromLatin1(c.value));
        drafting::polylinewidth_Click(h.context);
        for (Entity* e : lines)
            EXPECT_EQ(e->ConstantWidth(), c.width) << c.name;
        if (*c.line)
            EXPECT_TRUE(h.app.transcript().endsWith(u(c.line))) << c.name;
        else
            EXPECT_FALSE(h.app.transcript().contains(u("已修改线型宽度为："))) << c.name;
    }
    test::DraftingHost h;
    h.select({h.text(QStringLiteral("A"))});
    h.answer(QStringLiteral("real"), QStringLiteral("2"));
    drafting::polylinewidth_Click(h.context);
    EXPECT_EQ(h.app.transcript(), u("没有选择任何线型！"));
    EXPECT_FALSE(h.home.answers.empty()); // no width question
}

TEST(CurveConversion, OneEditPerPolylineInSelectionOrder)
{
    test::DraftingHost h;
    Entity* a = h.square(0, 0, 10);
    a->SetBulge(0, 0.5);
    Entity* b = h.ms().AddLightWeightPolyline({20, 0, 30, 0, 30, 10});
    b->SetBulge(1, -0.3);
    h.select({b, a});
    drafting::plineatspline_Click(h.context, 0);
    EXPECT_EQ(h.app.journal(), QStringLiteral("_PEDIT\r(handent \"%1\")\rd\r\r_PEDIT\r(handent \"%2\")\rd\r\r")
                                   .arg(b->Handle(), a->Handle()));
    EXPECT_TRUE(h.app.transcript().endsWith(u("已完成操作!")));
    for (Entity* e : {a, b})
        for (int i = 0; i < e->vertexCount(); ++i)
            EXPECT_EQ(e->GetBulge(i), 0) << i;

    test::DraftingHost none;
    none.answer(QStringLiteral("esc"));
    drafting::plineatspline_Click(none.context, 1);
    EXPECT_EQ(none.app.journal(), QString());
    EXPECT_TRUE(none.app.transcript().endsWith(u("已完成操作!")));
}

TEST(ImageClip, PolygonClosedOnTheFirstVertex)
{
    test::DraftingHost h;
    Entity* image = h.ms().AddRaster(QStringLiteral("d:\\a.jpg"), {0, 0, 0}, 20, 0);
    Entity* frame = h.ms().AddLightWeightPolyline({0, 0, 10, 0, 10, 5, 0, 5});
    h.answerEntity(image->Handle(), 1, 1);
    h.answerEntity(frame->Handle(), 10, 2);
    drafting::tuxiangcaijian_Click(h.context);
    EXPECT_TRUE(h.app.journal().startsWith(
        QStringLiteral("_imageclip\r(handent \"%1\")\rNEW\rP\r0,0\r10,0\r10,5\r0,5\r0,0\r\r").arg(image->Handle())))
        << qPrintable(h.app.journal());

    test::DraftingHost esc;
    Entity* img = esc.ms().AddRaster(QStringLiteral("d:\\a.jpg"), {0, 0, 0}, 20, 0);
    esc.answerEntity(img->Handle(), 1, 1);
    esc.answer(QStringLiteral("esc"));
    drafting::tuxiangcaijian_Click(esc.context);
    EXPECT_EQ(esc.app.journal(), QString());
}

TEST(ImageCommands, SentAsTheyStandOrTheStandardMessage)
{
    const struct {
        const char* name;
        void (*command)(Context&);
        const char* sent;
    } cases[] = {
        {"frame", drafting::tuxiangkuangjia_Click, "_imageframe\r"},
        {"transparency", drafting::tuxiangtaomingtu_Click, " _transparency\r"},
        {"polylinewidth", drafting::polylinewidth_Click, nullptr},
        {"clip", drafting::tuxiangcaijian_Click, nullptr},
    };
    for (const auto& c : cases) {
        if (c.sent) {
            test::DraftingHost h;
            h.answer(QStringLiteral("esc")); // whatever the host asks next
            c.command(h.context);
            EXPECT_TRUE(h.app.journal().startsWith(QString::fromLatin1(c.sent))) << c.name;
        }
        test::TempHome home;
        c.command(home.context);
        EXPECT_EQ(test::messageTexts(home), QStringList{u("AutoCAD 没有运行或版本不符合！")}) << c.name;
    }
}
