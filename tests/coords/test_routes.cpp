// Batch plotting of traverse routes.
#include "coords/routes.h"

#include "cad/cad.h"
#include "cad_host.h"
#include "test_support.h"

#include <QJsonObject>
#include <gtest/gtest.h>

using namespace kelvor;
using namespace kelvor::coords;
using kelvor::cad::Entity;
using kelvor::cad::EntityKind;
using kelvor::test::CadHost;
using kelvor::test::u;

namespace {

struct Routes {
    CadHost h;
    explicit Routes(bool withBlock = true)
    {
        if (withBlock)
            h.doc().BlocksAdd({0, 0, 0}, u("8m")).AddCircle({0, 0, 0}, 1);
    }
    void file(const QString& name, const QStringList& lines) { test::writeGbkLines(h.home.path(name), lines); }
    void run(const QStringList& files, const QString& height = u("10"))
    {
        QStringList native;
        for (const QString& f : files)
            native << h.home.path(f);
        h.home.answerOpen(native);
        h.home.answer("input", height);
        zhdxlxpl_Click(h.home.context);
    }
    std::vector<Entity*> of(EntityKind kind)
    {
        std::vector<Entity*> out;
        for (Entity* e : h.ms().entities())
            if (e->kind() == kind)
                out.push_back(e);
        return out;
    }
    QString lastText() const { return test::lastMessage(h.home).value("text").toString(); }
};

const QStringList fivePoints = {u("A 100 200 5"), u("B 110 210"), u("C 120 220"), u("D 130 230"), u("E 140 240")};

} // namespace

TEST(Routes, PointLines)
{
    const struct {
        const char* line;
        bool point;
        const char* name;
        double x, y;
    } cases[] = {
        {"A 100 200 5", true, "A", 100, 200},
        {"  B   1.5abc  -2  ", true, "B", 1.5, -2},
        {"C", true, "C", 0, 0},
        {"D\t1 2", true, "D\t1", 2, 0},
        {"   ", false, "", 0, 0},
    };
    for (const auto& c : cases) {
        const std::optional<RoutePoint> p = routePoint(u(c.line));
        ASSERT_EQ(p.has_value(), c.point) << c.line;
        if (!p)
            continue;
        EXPECT_EQ(p->name, u(c.name)) << c.line;
        EXPECT_EQ(p->x, c.x) << c.line;
        EXPECT_EQ(p->y, c.y) << c.line;
    }
}

TEST(Routes, OneFileOfFivePoints)
{
    Routes r;
    r.file(u("d:\\a.xyh"), fivePoints);
    r.run({u("d:\\a.xyh")});

    const auto legs = r.of(EntityKind::LwPolyline);
    const auto symbols = r.of(EntityKind::BlockReference);
    const auto names = r.of(EntityKind::Text);
    ASSERT_EQ(legs.size(), 4u);
    ASSERT_EQ(symbols.size(), 5u);
    ASSERT_EQ(names.size(), 5u);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(legs[i]->Coordinates(), (std::vector<double>{200. + 10 * i, 100. + 10 * i, 210. + 10 * i, 110. + 10 * i}))
            << i;
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(symbols[i]->Name(), u("8m")) << i;
        EXPECT_EQ(symbols[i]->InsertionPoint().x, 200. + 10 * i) << i;
        EXPECT_EQ(names[i]->TextString(), fivePoints[i].left(1)) << i;
        EXPECT_EQ(names[i]->InsertionPoint().x, 203. + 10 * i) << i;
        EXPECT_EQ(names[i]->InsertionPoint().y, 100. + 10 * i) << i;
        EXPECT_EQ(names[i]->Height(), 10) << i;
    }
    const QJsonObject m = test::lastMessage(r.h.home);
    EXPECT_EQ(m.value("text").toString(), u("已经完成导线路线的绘制工作！"));
    EXPECT_EQ(m.value("title").toString(), u("完成"));
    EXPECT_TRUE(r.h.app.events().contains(u("ZoomExtents")));
    const FileDialogRequest& d = r.h.home.context.state().commonDialog;
    EXPECT_EQ(d.title, u("选择坐标文件"));
    EXPECT_EQ(d.filter, u("坐标文件(*.xyh)|*.xyh|所有文件(*.*)|*.*"));
    EXPECT_TRUE(d.multiSelect);
}

TEST(Routes, TwoFilesTwoRoutesAndBlankLines)
{
    Routes r;
    r.file(u("d:\\a.xyh"), {u("A 0 0"), u(""), u("B 10 0"), u("  ")});
    r.file(u("d:\\b.xyh"), {u("C 50 50"), u("D 60 50")});
    r.run({u("d:\\a.xyh"), u("d:\\b.xyh")});
    const auto legs = r.of(EntityKind::LwPolyline);
    ASSERT_EQ(legs.size(), 2u);
    EXPECT_EQ(legs[0]->Coordinates(), (std::vector<double>{0, 0, 0, 10}));
    EXPECT_EQ(legs[1]->Coordinates(), (std::vector<double>{50, 50, 50, 60}));
    EXPECT_EQ(r.of(EntityKind::Text).size(), 4u);
}

TEST(Routes, WithoutTheBlockLegsAndNamesStill)
{
    Routes r(false);
    r.file(u("d:\\a.xyh"), fivePoints);
    r.run({u("d:\\a.xyh")});
    EXPECT_EQ(r.of(EntityKind::LwPolyline).size(), 4u);
    EXPECT_EQ(r.of(EntityKind::BlockReference).size(), 0u);
    EXPECT_EQ(r.of(EntityKind::Text).size(), 5u);
    EXPECT_EQ(r.lastText(), u("已经完成导线路线的绘制工作！"));
}

TEST(Routes, HeightAnswersAndEnds)
{
    const struct {
        const char* answer;
        const char* message; // "" for none
        int texts;
    } cases[] = {
        {"2.5", "已经完成导线路线的绘制工作！", 5},
        {"", "", 0},
        {"abc", "数据为空或非法的数字或字符。", 0},
        {"0", "数据为空或非法的数字或字符。", 0},
        {"-3", "数据为空或非法的数字或字符。", 0},
    };
    for (const auto& c : cases) {
        Routes r;
        r.file(u("d:\\a.xyh"), fivePoints);
        r.run({u("d:\\a.xyh")}, u(c.answer));
        EXPECT_EQ(r.lastText(), u(c.message)) << c.answer;
        EXPECT_EQ(int(r.of(EntityKind::Text).size()), c.texts) << c.answer;
    }
}

TEST(Routes, NoHostAndCancelledDialog)
{
    {
        Routes r;
        r.h.app.setRunning(false);
        zhdxlxpl_Click(r.h.home.context);
        EXPECT_EQ(r.lastText(), u("AutoCad未启动！程序不能继续。\r本功能只限于在AutoCad2004版和2006版中使用。"));
        EXPECT_EQ(r.h.home.ui.events().size(), 1);
    }
    Routes r;
    r.h.answer("button", "Cancel");
    zhdxlxpl_Click(r.h.home.context);
    EXPECT_TRUE(r.h.home.ui.messages().isEmpty());
}

// A coordinate too large for a number is bad data: nothing of any chosen
// file is drawn and the end is no success. Text that is no number still
// reads as 0.
TEST(Routes, ACoordinateTooLargeForANumberDrawsNothing)
{
    const struct {
        const char* name;
        QStringList a, b;
        const char* badFile; // the file the message names, as the dialog gives it
        const char* message; // "" for the success message
        size_t texts;
    } cases[] = {
        {"northing 1e400", {u("A 1e400 2")}, {}, "D:\\a.xyh", "坐标文件 %1 第 1 行的坐标超出数值范围：A 1e400 2\r没有绘制任何导线路线。", 0},
        {"easting -1E309 in the second file", {u("A 1 2"), u("B 3 4")}, {u("C 5 6"), u(""), u("D 7 -1E309")},
         "D:\\b.xyh", "坐标文件 %1 第 3 行的坐标超出数值范围：D 7 -1E309\r没有绘制任何导线路线。", 0},
        {"nan and inf are text", {u("A nan inf"), u("B 2.5e10 2")}, {}, "", "", 2},
    };
    for (const auto& c : cases) {
        Routes r;
        r.file(u("d:\\a.xyh"), c.a);
        QStringList files{u("d:\\a.xyh")};
        if (!c.b.isEmpty()) {
            r.file(u("d:\\b.xyh"), c.b);
            files << u("d:\\b.xyh");
        }
        r.run(files);
        const QString expected = *c.message ? u(c.message).arg(u(c.badFile))
                                            : u("已经完成导线路线的绘制工作！");
        EXPECT_EQ(r.lastText(), expected) << c.name;
        EXPECT_EQ(r.of(EntityKind::Text).size(), c.texts) << c.name;
        if (!*c.message)
            continue;
        EXPECT_TRUE(r.h.ms().entities().empty()) << c.name;
        EXPECT_EQ(test::lastMessage(r.h.home).value("title").toString(), u("错误")) << c.name;
    }
    const std::optional<RoutePoint> ok = routePoint(u("A nan 1.5"));
    ASSERT_TRUE(ok);
    EXPECT_EQ(ok->x, 0);
    EXPECT_EQ(ok->y, 1.5);
}
