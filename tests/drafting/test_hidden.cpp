// The trial commands kept out of sight.
#include "drafting/hidden.h"
#include "drafting_host.h"

#include <gtest/gtest.h>

using namespace kelvor;
using namespace kelvor::cad;
using test::u;

TEST(TableGrid, EightRowsOfFourClosedRectangles)
{
    test::DraftingHost h;
    h.answerPoint(100, 50);
    drafting::jlbg_fss_Click(h.context);
    ASSERT_EQ(h.ms().Count(), 32);
    double bottom = 1e9, right = -1e9;
    for (Entity* e : h.added(0)) {
        EXPECT_EQ(e->dxfName(), QStringLiteral("POLYLINE"));
        EXPECT_TRUE(e->Closed());
        Point lo, hi;
        e->GetBoundingBox(lo, hi);
        bottom = std::min(bottom, lo.y);
        right = std::max(right, hi.x);
    }
    EXPECT_DOUBLE_EQ(bottom, 18);
    EXPECT_DOUBLE_EQ(right, 156);
    EXPECT_TRUE(h.app.transcript().endsWith(u("\r\n程序运行结束!\r\n")));

    test::DraftingHost esc;
    esc.answer(QStringLiteral("esc"));
    drafting::jlbg_fss_Click(esc.context);
    EXPECT_EQ(esc.ms().Count(), 0);
}

TEST(SelectionTrial, ErasesEveryText)
{
    test::DraftingHost h;
    h.text(QStringLiteral("A"));
    h.text(QStringLiteral("B"), 5, 5);
    Entity* line = h.ms().AddLine({0, 0, 0}, {1, 1, 0});
    drafting::selecterr_Click(h.context);
    ASSERT_EQ(h.ms().Count(), 1);
    EXPECT_EQ(h.ms().Item(0), line);
    EXPECT_EQ(h.doc().SelectionSets().find(QStringLiteral("text")), nullptr);
}

TEST(SystemVariable, OsmodeFour)
{
    test::DraftingHost h;
    drafting::setgetvariable_Click(h.context);
    EXPECT_EQ(test::messageTexts(h.home), QStringList{u("系统变量 Osmode 为: 4")});
    EXPECT_EQ(h.doc().GetVariable(QStringLiteral("OSMODE")).toInt(), 4);
}

TEST(ObjectCopy, RedCopiesTwoToTheRight)
{
    test::DraftingHost h;
    Entity* a = h.ms().AddLine({0, 0, 0}, {1, 1, 0});
    h.select({a});
    drafting::objectcopy_Click(h.context);
    ASSERT_EQ(h.ms().Count(), 2);
    Entity* copy = h.ms().Item(1);
    EXPECT_EQ(copy->StartPoint(), (Point{2, 0, 0}));
    EXPECT_EQ(copy->Color(), 1);
    EXPECT_EQ(a->StartPoint(), (Point{0, 0, 0}));
}

TEST(LayerTrial, MessagesWhateverTheSteps)
{
    test::DraftingHost h;
    h.doc().Layers().Add(QStringLiteral("dgx"));
    drafting::layer_Click(h.context);
    const QStringList texts = test::messageTexts(h.home);
    ASSERT_GE(texts.size(), 3);
    EXPECT_EQ(texts[0], u("已成功创建YD层。"));
    EXPECT_EQ(texts[1], u("已删除YD层。"));
    EXPECT_TRUE(texts.contains(QStringLiteral("yd")));
    EXPECT_FALSE(h.doc().Layers().contains(QStringLiteral("dgx")));

    test::TempHome none;
    drafting::layer_Click(none.context);
    EXPECT_EQ(test::messageTexts(none), (QStringList{u("已成功创建YD层。"), u("已删除YD层。")}));
}

TEST(PointSort, DescendingByTheFirstFieldInThirtyCharacterRecords)
{
    test::TempHome home;
    test::writeGbkLines(home.path(QStringLiteral("d:\\1.txt")),
                        {QStringLiteral("3,a"), QStringLiteral(" 10,b "), QStringLiteral("7,c"),
                         QStringLiteral("7,d,") + QString(31, QLatin1Char('x')), QStringLiteral("x,no number")});
    drafting::shandianpaixu_Click(home.context);
    EXPECT_EQ(test::readBytes(home.path(QStringLiteral("d:\\2.txt"))),
              test::gbkLines({QStringLiteral("0000 10,b"), QStringLiteral("0000 7,c"),
                              QStringLiteral("0000 7,d,") + QString(26, QLatin1Char('x')), QStringLiteral("0000 3,a"),
                              QStringLiteral("0000 x,no number")}));
    EXPECT_EQ(test::readBytes(home.path(QStringLiteral("d:\\x.txt"))).size(), 5 * 30);
}
