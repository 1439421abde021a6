// The join-table window: its commands on the active drawing, on chosen
// files and on a folder, its failures, and the window's own controls.
#include "sheets/join_window.h"
#include "sheets/ui/jhb.h"
#include "sheet_drawings.h"
#include "test_support.h"

#include "platform/paths.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

using namespace kelvor;
using namespace kelvor::sheets;
using test::u;

namespace {

OptionReader fixed(FrameOption o)
{
    return [o] { return o; };
}

} // namespace

TEST(JoinWindow, ActiveDrawingByTheFrameOption)
{
    const struct {
        const char* what;
        FrameOption option;
        const char* block;
        const char* sw;
        cad::Point swAt;
        const char* ne;
        cad::Point neAt;
    } cases[] = {
        {"50-50 with ac50tk", FrameOption::Sheet5050, "ac50tk", "2550.95-534.25", {534500.2, 2551459.1, 0},
         "2551.45-534.75", {534515.2, 2551467.1, 0}},
        {"50-40 with ac45tk", FrameOption::Sheet5040, "ac45tk", "2551.00-534.25", {534500.2, 2551409.3, 0},
         "2551.40-534.75", {534515.2, 2551417.3, 0}},
    };
    for (const auto& c : cases) {
        test::CadHost host;
        host.doc().Layers().Add(QStringLiteral("tk"));
        test::addFrame(host.doc(), u(c.block), {534500, 2551200, 0});
        AddJoinTableToDrawing(host.home.context, fixed(c.option));
        EXPECT_EQ(test::textsOf(host.doc()).size(), 8u) << c.what;
        cad::Entity* sw = test::textAt(host.doc(), c.swAt.x, c.swAt.y);
        cad::Entity* ne = test::textAt(host.doc(), c.neAt.x, c.neAt.y);
        ASSERT_TRUE(sw && ne) << c.what;
        EXPECT_EQ(sw->TextString(), u(c.sw)) << c.what;
        EXPECT_EQ(ne->TextString(), u(c.ne)) << c.what;
        EXPECT_TRUE(host.app.transcript().endsWith(u("OK！finish"))) << c.what;
        EXPECT_TRUE(host.doc().FullName().isEmpty()) << c.what << ": not saved";
        EXPECT_FALSE(host.app.events().contains(QStringLiteral("ZoomExtents"))) << c.what << ": no zoom";
    }

    test::CadHost other; // the frame of the other option is not sought
    test::addFrame(other.doc(), QStringLiteral("ac45tk"), {534500, 2551200, 0});
    AddJoinTableToDrawing(other.home.context, fixed(FrameOption::Sheet5050));
    EXPECT_TRUE(test::textsOf(other.doc()).empty());
    EXPECT_TRUE(other.home.ui.messages().isEmpty());
    EXPECT_TRUE(other.app.transcript().endsWith(u("OK！finish")));
}

TEST(JoinWindow, ChosenFilesEachSavedWithTheirTable)
{
    test::CadHost host;
    cad::Document& before = host.doc();
    const QStringList files{QStringLiteral("d:\\s\\a.dxf"), QStringLiteral("d:\\s\\with blank.dxf"),
                            QStringLiteral("d:\\s\\c.dxf")};
    for (const QString& f : files)
        test::writeSheetDrawing(host.home, f, QStringLiteral("ac45tk"), {534500, 2551200, 0});
    host.home.answerOpen(files);
    jhbCommand1_Click(host.home.context, [] { return true; }, fixed(FrameOption::Sheet5040));

    for (const QString& f : files) {
        auto doc = test::readDrawing(host.home, f);
        EXPECT_EQ(test::textsOf(*doc).size(), 8u) << f.toStdString();
        ASSERT_NE(test::textAt(*doc, 534500.2, 2551409.3), nullptr) << f.toStdString();
    }
    EXPECT_EQ(host.app.transcript().count(u("已经完成该操作!")), 1);
    EXPECT_FALSE(host.app.transcript().contains(u("OK！finish"))) << "ticked: not the active drawing";
    EXPECT_EQ(host.app.DocumentsCount(), 1);
    EXPECT_EQ(&host.doc(), &before);
    EXPECT_TRUE(test::textsOf(before).empty());
    const QJsonObject open = host.home.ui.events().first().toObject();
    EXPECT_EQ(open.value("title").toString(), u("批量注记接合表数据"));
    EXPECT_EQ(open.value("filter").toString(), u("所有文件(*.dxf)|*.dxf"));

    // A cancelled dialog ends silently.
    test::CadHost cancelled;
    cancelled.answer(QStringLiteral("button"), QStringLiteral("Cancel"));
    AddJoinTableToFiles(cancelled.home.context, fixed(FrameOption::Sheet5040));
    EXPECT_TRUE(cancelled.app.transcript().isEmpty());
}

TEST(JoinWindow, FolderSkipsFramelessAndBrokenDrawings)
{
    test::CadHost host;
    test::writeSheetDrawing(host.home, QStringLiteral("d:\\s\\a.dxf"), QStringLiteral("ac50tk"), {534500, 2551200, 0});
    test::writeSheetDrawing(host.home, QStringLiteral("d:\\s\\b.dxf"), QString(), {534500, 2551200, 0});
    test::writeBytes(host.home.path(QStringLiteral("d:\\s\\c.dxf")), "no drawing");
    test::writeSheetDrawing(host.home, QStringLiteral("d:\\s\\d.dxf"), QStringLiteral("ac50tk"), {534750, 2551200, 0});
    const QByteArray frameless = test::readBytes(host.home.path(QStringLiteral("d:\\s\\b.dxf")));
    host.answer(QStringLiteral("folder"), QStringLiteral("d:\\s"));
    jhbCommand2_Click(host.home.context, fixed(FrameOption::Sheet5050));

    EXPECT_EQ(test::readBytes(host.home.path(QStringLiteral("d:\\s\\b.dxf"))), frameless) << "frameless: unchanged";
    auto a = test::readDrawing(host.home, QStringLiteral("d:\\s\\a.dxf"));
    auto d = test::readDrawing(host.home, QStringLiteral("d:\\s\\d.dxf"));
    EXPECT_EQ(test::textsOf(*a).size(), 8u);
    EXPECT_EQ(test::textsOf(*d).size(), 8u);
    ASSERT_NE(test::textAt(*d, 534750.2, 2551459.1), nullptr);
    EXPECT_EQ(test::textAt(*d, 534750.2, 2551459.1)->TextString(), u("2550.95-534.50"));
    EXPECT_TRUE(host.app.transcript().contains(QStringLiteral("d:\\s\\c.dxf"))) << "the broken one is named";
    EXPECT_EQ(host.app.transcript().count(u("已经完成该操作!")), 1);
    EXPECT_EQ(host.app.DocumentsCount(), 1);
    EXPECT_EQ(host.doc().GetVariable(QStringLiteral("osmode")).toInt(), 1);
    EXPECT_EQ(test::linesOf(test::readBytes(paths::scratch(QStringLiteral("watch.txt")))).size(), 4);
}

TEST(JoinWindow, Command1ReadsTheTickTwice)
{
    const struct {
        const char* what;
        std::vector<bool> ticks; // the tick as each read finds it
        bool files, drawing;
    } cases[] = {
        {"clear", {false, false}, false, true},
        {"ticked", {true, true}, true, false},
        {"cleared while the files were treated", {true, false}, true, true},
    };
    for (const auto& c : cases) {
        test::CadHost host;
        test::addFrame(host.doc(), QStringLiteral("ac45tk"), {534500, 2551200, 0});
        if (c.files)
            host.answer(QStringLiteral("button"), QStringLiteral("Cancel"));
        size_t read = 0;
        jhbCommand1_Click(host.home.context, [&] { return c.ticks.at(read++); }, fixed(FrameOption::Sheet5040));
        EXPECT_EQ(read, 2u) << c.what;
        EXPECT_EQ(host.home.ui.events().size(), c.files ? 1 : 0) << c.what << ": the file dialog";
        EXPECT_EQ(test::textsOf(host.doc()).size(), c.drawing ? 8u : 0u) << c.what << ": the open drawing";
    }
}

TEST(JoinWindow, HostStoppedTellsBeforeAskingAnything)
{
    const struct {
        const char* what;
        std::function<void(Context&)> run;
        const char* text;
        const char* title;
    } cases[] = {
        {"active drawing", [](Context& c) { AddJoinTableToDrawing(c, fixed(FrameOption::Sheet5040)); },
         "AutoCAD系统不可用！", "错误"},
        {"chosen files", [](Context& c) { AddJoinTableToFiles(c, fixed(FrameOption::Sheet5040)); },
         "Autocad 未启动！", "提示"},
        {"folder", [](Context& c) { jhbCommand2_Click(c, fixed(FrameOption::Sheet5040)); }, "Autocad 未启动！",
         "提示"},
    };
    for (const auto& c : cases) {
        test::CadHost host;
        host.app.setRunning(false);
        c.run(host.home.context);
        const QJsonArray events = host.home.ui.events();
        ASSERT_EQ(events.size(), 1) << c.what << ": only the message";
        EXPECT_EQ(events.first().toObject().value("text").toString(), u(c.text)) << c.what;
        EXPECT_EQ(events.first().toObject().value("title").toString(), u(c.title)) << c.what;
        EXPECT_EQ(events.first().toObject().value("icon").toString(), u("critical")) << c.what;
    }
}

TEST(JoinWindow, InitialStateEveryShowing)
{
    test::TempHome home;
    for (int showing = 0; showing < 2; ++showing) {
        JhbWindow w(home.context);
        EXPECT_EQ(w.windowTitle(), u("注记南方格式的分幅图接合表"));
        auto* o0 = w.findChild<QRadioButton*>(QStringLiteral("Option1(0)"));
        auto* o1 = w.findChild<QRadioButton*>(QStringLiteral("Option1(1)"));
        auto* check = w.findChild<QCheckBox*>(QStringLiteral("Check1"));
        ASSERT_TRUE(o0 && o1 && check);
        EXPECT_EQ(o0->text(), u("50-40图框"));
        EXPECT_TRUE(o0->isChecked()) << "showing " << showing;
        EXPECT_FALSE(o1->isChecked()) << "showing " << showing;
        EXPECT_FALSE(check->isChecked()) << "showing " << showing;
        EXPECT_EQ(w.findChild<QLineEdit*>(QStringLiteral("Text1(0)"))->text(), QStringLiteral("7"));
        EXPECT_EQ(w.findChild<QLineEdit*>(QStringLiteral("Text1(1)"))->text(), QStringLiteral("6"));
        EXPECT_EQ(w.findChild<QPushButton*>(QStringLiteral("Command2"))->toolTip(),
                  u("可由[工具]下的'生成文件路径列表'中生成文件列表进行操作"));
        o1->setChecked(true);
        check->setChecked(true);
        EXPECT_FALSE(o0->isChecked()) << "one group";
    }
}
