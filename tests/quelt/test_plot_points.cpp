// Plotting a point list in the CAD host: symbols, names and connecting lines.
#include "quelt/plot_points.h"

#include "cad/cad.h"
#include "platform/paths.h"
#include "platform/text_file.h"
#include "cad_host.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <QJsonObject>

using namespace kelvor;
using namespace kelvor::quelt;
using kelvor::cad::Entity;
using kelvor::cad::EntityKind;
using kelvor::test::TempHome;

namespace {

const QString kSquare = QStringLiteral("点位符号");
const QString kCircle = QStringLiteral("圆形符号");

struct Plot : test::CadHost {
    FileDialogRequest dialog;
    QString watch = paths::scratch(QStringLiteral("watch.txt"));

    Plot()
    {
        app.ActiveDocument().BlocksAdd(cad::Point{}, kSquare).AddCircle(cad::Point{}, 0.5);
        writeTextLines(watch, {QStringLiteral("P1 100.000 200.000 10.5"), QStringLiteral("P2 150.000 260.000")});
    }
    // Default list, square symbol, lines as asked, name size.
    void run(bool lines = true, const QString& size = QStringLiteral("10"))
    {
        home.answer("button", "Yes");
        home.answer("button", "No");
        home.answer("button", lines ? "Yes" : "No");
        home.answer("input", size);
        Command4_Click(home.context, dialog);
    }
    std::vector<Entity*> all() { return app.ActiveDocument().ModelSpace().entities(); }
    std::vector<Entity*> of(EntityKind kind)
    {
        std::vector<Entity*> out;
        for (Entity* e : all())
            if (e->kind() == kind)
                out.push_back(e);
        return out;
    }
    QStringList messageTexts() const { return test::messageTexts(home); }
};

cad::Point at(const Entity* e) { return e->InsertionPoint(); }

} // namespace

TEST(PlotPoints, DrawsSymbolsNamesAndOneLineOnARunningHost)
{
    Plot p;
    p.app.setWindowState(1);
    p.run();

    const auto blocks = p.of(EntityKind::BlockReference);
    const auto texts = p.of(EntityKind::Text);
    const auto lines = p.of(EntityKind::LwPolyline);
    ASSERT_EQ(blocks.size(), 2u);
    ASSERT_EQ(texts.size(), 2u);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(p.all().size(), 5u);
    EXPECT_EQ(blocks[0]->Name(), kSquare);
    EXPECT_EQ(at(blocks[0]), (cad::Point{200, 100, 0}));
    EXPECT_EQ(at(blocks[1]), (cad::Point{260, 150, 0}));
    EXPECT_EQ(blocks[0]->XScaleFactor(), 1);
    EXPECT_EQ(blocks[0]->Rotation(), 0);
    EXPECT_EQ(texts[0]->TextString(), QStringLiteral("P1"));
    EXPECT_EQ(at(texts[0]), (cad::Point{203, 100, 0}));
    EXPECT_EQ(texts[1]->TextString(), QStringLiteral("P2"));
    EXPECT_EQ(at(texts[1]), (cad::Point{263, 150, 0}));
    EXPECT_EQ(texts[0]->Height(), 10);
    EXPECT_EQ(lines[0]->Coordinates(), (std::vector<double>{200, 100, 260, 150}));

    EXPECT_TRUE(p.app.transcript().endsWith(QStringLiteral("已完成绘图")));
    EXPECT_TRUE(p.app.Visible());
    EXPECT_EQ(p.app.WindowState(), 3);
    EXPECT_TRUE(p.app.events().contains(QStringLiteral("ZoomExtents")));

    // the questions, in order, as the user sees them
    EXPECT_EQ(p.messageTexts(),
              (QStringList{QStringLiteral("是否将") + paths::windir() +
                               QStringLiteral("/watch.txt(默认)作为绘图文件？\r选择[否]则另选择文件绘图。"),
                           QStringLiteral("点位类型1(圆形)  点位类型2(正方形)\r[圆形请选Yes  正方形选择No]\r"
                                          "内部块名称分别为:'圆形符号'  '点位符号'"),
                           QStringLiteral("点之间是否需要连线？")}));
}

TEST(PlotPoints, LinesOnlyWhenAskedAndNeverFromBlankLines)
{
    const struct {
        const char* what;
        QStringList input;
        bool lines;
        int points;
        std::vector<std::vector<double>> polylines;
    } cases[] = {
        {"no lines wanted", {"P1 100 200", "P2 150 260"}, false, 2, {}},
        {"blank lines skipped",
         {"", "P1 100 200", "   ", "P2 150 260", "", "P3 170 280"},
         true,
         3,
         {{200, 100, 260, 150}, {260, 150, 280, 170}}},
        {"only blank lines", {"", "  "}, true, 0, {}},
        {"empty list", {}, true, 0, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Plot p;
        writeTextLines(p.watch, c.input);
        p.run(c.lines);
        EXPECT_EQ(int(p.of(EntityKind::BlockReference).size()), c.points);
        EXPECT_EQ(int(p.of(EntityKind::Text).size()), c.points);
        std::vector<std::vector<double>> polylines;
        for (Entity* e : p.of(EntityKind::LwPolyline))
            polylines.push_back(e->Coordinates());
        EXPECT_EQ(polylines, c.polylines);
        for (Entity* e : p.of(EntityKind::BlockReference))
            EXPECT_NE(at(e), (cad::Point{0, 0, 0}));
        EXPECT_TRUE(p.app.transcript().endsWith(QStringLiteral("已完成绘图")));
    }
}

TEST(PlotPoints, SplittingALine)
{
    const struct {
        QString line;
        QString name;
        double x, y;
    } cases[] = {
        {QStringLiteral("P1 100.000 200.000 10.5"), QStringLiteral("P1"), 100, 200},
        {QStringLiteral("P1"), QStringLiteral("P1"), 0, 0},
        {QStringLiteral(" 100.5  200.25"), QString(), 100.5, 200.25},
        {QStringLiteral("P1\t100\t200"), QStringLiteral("P1\t100\t200"), 0, 0},
        {QStringLiteral("Q7    abc   12x"), QStringLiteral("Q7"), 0, 12},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line.toStdString());
        const auto p = plotPoint(c.line);
        ASSERT_TRUE(p);
        EXPECT_EQ(p->name, c.name);
        EXPECT_EQ(p->x, c.x);
        EXPECT_EQ(p->y, c.y);
    }
    EXPECT_FALSE(plotPoint(QStringLiteral("   ")));
    EXPECT_FALSE(plotPoint(QString()));
}

TEST(PlotPoints, StoppedHostIsStartedAfterTheMessage)
{
    Plot p;
    p.app.setRunning(false);
    p.run();
    EXPECT_TRUE(p.app.running());
    EXPECT_EQ(p.messageTexts().at(1), QStringLiteral("AutoCAD尝未启动，下面将强制启动系统\r建仪:手动启动系统"));
    EXPECT_EQ(p.home.ui.messages().at(1).toObject().value("icon").toString(), QStringLiteral("information"));
    EXPECT_EQ(p.of(EntityKind::BlockReference).size(), 2u);

    // no host that could be started: its message, and the command ends
    Plot none;
    none.home.context.setCad(nullptr);
    none.home.answer("button", "Yes");
    Command4_Click(none.home.context, none.dialog);
    EXPECT_EQ(none.messageTexts().size(), 3);
    EXPECT_TRUE(none.messageTexts().last().startsWith(QStringLiteral("不能运行Autocad")));
    EXPECT_TRUE(none.home.answers.empty());
}

TEST(PlotPoints, EndsEarlyOrPassesOverRefusedSteps)
{
    // Cancel on the list question: nothing asked further
    {
        Plot p;
        p.home.answer("button", "Cancel");
        Command4_Click(p.home.context, p.dialog);
        EXPECT_EQ(p.messageTexts().size(), 1);
        EXPECT_TRUE(p.all().empty());
    }
    // another list chosen in the dialog; a cancelled dialog ends quietly
    {
        Plot p;
        const QString other = p.home.path("d:\\pts.txt");
        writeTextLines(other, {QStringLiteral("K1 10 20")});
        p.home.answer("button", "No");
        p.home.answerOpen({other});
        p.home.answer("button", "No");
        p.home.answer("button", "No");
        p.home.answer("input", "2.5");
        Command4_Click(p.home.context, p.dialog);
        EXPECT_EQ(p.dialog.title, QStringLiteral("打开控制点数据文件"));
        EXPECT_EQ(p.dialog.filter, QStringLiteral("Txt fileS(*.txt)"));
        ASSERT_EQ(p.of(EntityKind::Text).size(), 1u);
        EXPECT_EQ(p.of(EntityKind::Text)[0]->Height(), 2.5);
        EXPECT_EQ(at(p.of(EntityKind::Text)[0]), (cad::Point{23, 10, 0}));

        p.home.answer("button", "No");
        p.home.answerOpen({});
        Command4_Click(p.home.context, p.dialog);
        EXPECT_EQ(p.of(EntityKind::Text).size(), 1u);
        EXPECT_TRUE(p.home.answers.empty());
    }
    // Cancel on the symbol question: nothing drawn
    {
        Plot p;
        p.home.answer("button", "Yes");
        p.home.answer("button", "Cancel");
        Command4_Click(p.home.context, p.dialog);
        EXPECT_TRUE(p.all().empty());
        EXPECT_TRUE(p.app.transcript().isEmpty());
    }
    // a symbol the drawing lacks and a size that is no number: lines only,
    // yet the host is zoomed and told
    {
        Plot p;
        p.home.answer("button", "Yes");
        p.home.answer("button", "Yes"); // 圆形符号, not defined
        p.home.answer("button", "Yes");
        p.home.answer("input", "abc");
        Command4_Click(p.home.context, p.dialog);
        EXPECT_EQ(p.all().size(), 1u);
        EXPECT_EQ(p.of(EntityKind::LwPolyline).size(), 1u);
        EXPECT_TRUE(p.app.transcript().endsWith(QStringLiteral("已完成绘图")));
    }
    // a list that cannot be read draws nothing and still finishes
    {
        Plot p;
        p.home.answer("button", "No");
        p.home.answerOpen({p.home.path("d:\\missing.txt")});
        p.home.answer("button", "No");
        p.home.answer("button", "Yes");
        p.home.answer("input", "10");
        Command4_Click(p.home.context, p.dialog);
        EXPECT_TRUE(p.all().empty());
        EXPECT_TRUE(p.app.events().contains(QStringLiteral("ZoomExtents")));
        EXPECT_TRUE(p.app.transcript().endsWith(QStringLiteral("已完成绘图")));
    }
}

TEST(PlotPoints, ToolTipNamesTheScript)
{
    EXPECT_EQ(Command4_ToolTip(), QStringLiteral("本功能在Autocad2004版、2006版系统下开发，如果要在其它版本的CAD下绘图,"
                                                 "请执行SCRipt命令，调入") +
                                      paths::toWindows(paths::programDir()) + QStringLiteral("\\ZD.scr文件。"));
}
