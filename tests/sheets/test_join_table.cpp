// The join table above a sheet frame: cells, places and text properties,
// the single-drawing command and its failures.
#include "sheets/join_table.h"
#include "sheet_drawings.h"
#include "test_support.h"

#include <gtest/gtest.h>

using namespace kelvor;
using namespace kelvor::sheets;
using test::u;

TEST(JoinTable, CellsInWritingOrderForBothGeometries)
{
    const struct {
        const char* what;
        SheetCorner corner;
        JoinGeometry g;
        std::vector<std::pair<const char*, cad::Point>> cells;
    } cases[] = {
        {"50 x 40 on the grid", {534500, 2551200}, kSheet5040,
         {{"2551.00-534.25", {534500.2, 2551409.3, 5}}, {"2551.20-534.25", {534500.2, 2551413.3, 5}},
          {"2551.40-534.25", {534500.2, 2551417.3, 5}}, {"2551.00-534.50", {534507.7, 2551409.3, 5}},
          {"2551.40-534.50", {534507.7, 2551417.3, 5}}, {"2551.00-534.75", {534515.2, 2551409.3, 5}},
          {"2551.20-534.75", {534515.2, 2551413.3, 5}}, {"2551.40-534.75", {534515.2, 2551417.3, 5}}}},
        {"50 x 50 steps 250 north", {534500, 2551200}, kSheet5050,
         {{"2550.95-534.25", {534500.2, 2551459.1, 5}}, {"2551.20-534.25", {534500.2, 2551463.1, 5}},
          {"2551.45-534.25", {534500.2, 2551467.1, 5}}, {"2550.95-534.50", {534507.7, 2551459.1, 5}},
          {"2551.45-534.50", {534507.7, 2551467.1, 5}}, {"2550.95-534.75", {534515.2, 2551459.1, 5}},
          {"2551.20-534.75", {534515.2, 2551463.1, 5}}, {"2551.45-534.75", {534515.2, 2551467.1, 5}}}},
    };
    for (const auto& c : cases) {
        const auto got = joinTableTexts(c.corner, 5, c.g);
        ASSERT_EQ(got.size(), c.cells.size()) << c.what;
        for (size_t i = 0; i < got.size(); ++i) {
            EXPECT_EQ(got[i].text, u(c.cells[i].first)) << c.what << " cell " << i;
            EXPECT_NEAR(got[i].at.x, c.cells[i].second.x, 1e-6) << c.what << " cell " << i;
            EXPECT_NEAR(got[i].at.y, c.cells[i].second.y, 1e-6) << c.what << " cell " << i;
            EXPECT_EQ(got[i].at.z, 5) << c.what << " cell " << i;
        }
    }
}

TEST(JoinTable, SingleCommandWritesTheTableAboveTheFrame)
{
    test::CadHost host;
    host.doc().Layers().Add(QStringLiteral("tk"));
    test::addFrame(host.doc(), QStringLiteral("ACDJTK6B"), {534500, 2551407.5, 0});
    test::addFrame(host.doc(), QStringLiteral("ACDJTK6B"), {600000, 2600000, 0}); // ignored
    addtujhbgongshi_Click(host.home.context);

    cad::Document& doc = host.doc();
    const auto texts = test::textsOf(doc);
    ASSERT_EQ(texts.size(), 8u) << "one table, at the first frame";
    const struct {
        const char* text;
        double x, y;
    } cases[] = {
        {"2551.00-534.25", 534500.2, 2551409.3},
        {"2551.20-534.25", 534500.2, 2551413.3},
        {"2551.40-534.75", 534515.2, 2551417.3},
    };
    for (const auto& c : cases) {
        cad::Entity* t = test::textAt(doc, c.x, c.y);
        ASSERT_NE(t, nullptr) << c.text;
        EXPECT_EQ(t->TextString(), u(c.text));
    }
    EXPECT_EQ(test::textAt(doc, 534507.7, 2551413.3), nullptr) << "the centre cell stays empty";
    for (cad::Entity* t : texts) {
        EXPECT_EQ(t->Height(), 0.8) << t->TextString().toStdString();
        EXPECT_EQ(t->ScaleFactor(), 0.8) << t->TextString().toStdString();
        EXPECT_EQ(t->Layer(), QStringLiteral("tk")) << t->TextString().toStdString();
        EXPECT_EQ(t->Rotation(), 0) << t->TextString().toStdString();
    }
    EXPECT_EQ(doc.GetVariable(QStringLiteral("osmode")).toInt(), 1);
    EXPECT_TRUE(host.app.transcript().endsWith(u("OK！finish")));
    EXPECT_TRUE(host.home.ui.messages().isEmpty());
}

TEST(JoinTable, OffGridFrameRepeatedRunsAndMissingLayer)
{
    {
        test::CadHost host;
        host.doc().Layers().Add(QStringLiteral("tk"));
        test::addFrame(host.doc(), QStringLiteral("ACDJTK6B"), {534510, 2551407.5, 0});
        addtujhbgongshi_Click(host.home.context);
        const struct {
            double x;
            const char* text;
        } south[] = {{534510.2, "2551.00-534.26"}, {534517.7, "2551.00-534.51"}, {534525.2, "2551.00-534.76"}};
        for (const auto& s : south) {
            cad::Entity* t = test::textAt(host.doc(), s.x, 2551409.3);
            ASSERT_NE(t, nullptr) << s.text;
            EXPECT_EQ(t->TextString(), u(s.text));
        }
        addtujhbgongshi_Click(host.home.context);
        EXPECT_EQ(test::textsOf(host.doc()).size(), 16u) << "a second run adds a second table";
    }
    {
        test::CadHost host;
        host.doc().Layers().Add(QStringLiteral("mine"));
        host.doc().setActiveLayer(QStringLiteral("mine"));
        test::addFrame(host.doc(), QStringLiteral("ACDJTK6B"), {534500, 2551407.5, 0});
        addtujhbgongshi_Click(host.home.context);
        const auto texts = test::textsOf(host.doc());
        ASSERT_EQ(texts.size(), 8u);
        for (cad::Entity* t : texts) {
            EXPECT_EQ(t->Layer(), QStringLiteral("mine")) << "no layer tk: the current layer";
            EXPECT_EQ(t->ScaleFactor(), 0.8) << "width factor still set";
        }
    }
}

TEST(JoinTable, NoFrameOrNoHostGivesTheMessageAndNoText)
{
    const struct {
        const char* what;
        bool stopped;
        const char* block;
    } cases[] = {
        {"no frame", false, ""},
        {"another block only", false, "actkf1"},
        {"host stopped", true, "ACDJTK6B"},
    };
    for (const auto& c : cases) {
        test::CadHost host;
        if (*c.block)
            test::addFrame(host.doc(), u(c.block), {534500, 2551407.5, 0});
        host.app.setRunning(!c.stopped);
        addtujhbgongshi_Click(host.home.context);
        const QJsonObject m = test::lastMessage(host.home);
        EXPECT_EQ(m.value("text").toString(), u("无法找到Actkf1的块定义,操作无法进行！")) << c.what;
        EXPECT_EQ(m.value("title").toString(), u("错误")) << c.what;
        EXPECT_EQ(m.value("icon").toString(), u("critical")) << c.what;
        EXPECT_TRUE(test::textsOf(host.doc()).empty()) << c.what;
        EXPECT_FALSE(host.app.transcript().contains(u("OK！finish"))) << c.what;
    }
    test::TempHome none; // no host wired at all
    addtujhbgongshi_Click(none.context);
    EXPECT_EQ(test::lastMessage(none).value("text").toString(), u("无法找到Actkf1的块定义,操作无法进行！"));
}
