#include "app/bars.h"
#include "app/registry.h"
#include "cad/cad.h"
#include "platform/commands.h"
#include "platform/paths.h"
#include "platform/text_file.h"
#include "cad_host.h"
#include "test_support.h"

#include <QDir>
#include <QFile>
#include <QJsonObject>
#include <gtest/gtest.h>

using namespace kelvor;
using kelvor::test::readBytes;
using kelvor::test::TempHome;
using kelvor::test::writeGbk;

namespace {

QString watchPath()
{
    return paths::scratch(QStringLiteral("watch.txt"));
}

} // namespace

// ---------------------------------------------------------------- snapping

TEST(FloatBarPlace, OpensFlushRightAndAboveTheBottom)
{
    const QSize bar(app::kFloatWidth, app::kFloatHeight);
    EXPECT_EQ(app::floatBarHome(QSize(12000, 9000), bar), QPoint(12000 - 915, 9000 - 1590 - 500));
    EXPECT_EQ(app::floatBarHome(QSize(19200, 16200), bar), QPoint(18285, 14110));
}

TEST(FloatBarPlace, SnapsOnRelease)
{
    // Screen 12000 x 9000 twips, bar 915 x 1590: flush right is 11085,
    // the lowest top 6910.
    const QSize screen(12000, 9000);
    const QSize bar(915, 1590);
    struct Case {
        QPoint released;
        QPoint rests;
        const char* why;
    };
    const Case cases[] = {
        {{150, 3000}, {0, 3000}, "left edge within 200 of the screen's"},
        {{200, 3000}, {200, 3000}, "left edge exactly 200 stays"},
        {{11085 - 150, 3000}, {11085, 3000}, "right edge 150 short goes flush right"},
        {{11085 - 200, 3000}, {11085 - 200, 3000}, "right edge 200 short stays"},
        {{4000, 199}, {4000, 0}, "top within 200"},
        {{4000, 8000}, {4000, 6910}, "dragged to the bottom rests 500 above it"},
        {{4000, 6911}, {4000, 6910}, "one below the lowest top"},
        {{4000, 6910}, {4000, 6910}, "the lowest top itself"},
        {{-300, -50}, {0, 0}, "past the top left corner"},
        {{13000, 9500}, {11085, 6910}, "past the bottom right corner"},
        {{5000, 4000}, {5000, 4000}, "in the middle nothing changes"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(app::snapFloatBar(c.released, bar, screen), c.rests) << c.why;

    // On a screen lower than the bar the bottom rule is applied last.
    EXPECT_EQ(app::snapFloatBar(QPoint(0, 100), bar, QSize(12000, 1500)), QPoint(0, 1500 - 1590 - 500));
}

TEST(FloatBarMenus, FormTagChoosesTheFirstPicturesMenu)
{
    const struct {
        const char* tag;
        const char* menu;
    } cases[] = {
        {"0", "south"}, {"", "south"}, {"1", "guangwugaoshu"}, {"2", "tools"}, {"3", ""}, {" 1", ""}, {"x", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(app::floatMenuName(QString::fromUtf8(c.tag)), QString::fromUtf8(c.menu)) << c.tag;
}

TEST(CompactSwitch, OnlyTheToolbarTagDecides)
{
    const app::CompactSwitch on = app::compactSwitch(QStringLiteral("0"));
    EXPECT_TRUE(on.change);
    EXPECT_TRUE(on.topmost);
    EXPECT_TRUE(on.compactHeight);
    EXPECT_EQ(on.caption, QStringLiteral("横向工具条"));
    EXPECT_EQ(on.tag, QStringLiteral("1"));

    const app::CompactSwitch off = app::compactSwitch(QStringLiteral("1"));
    EXPECT_TRUE(off.change);
    EXPECT_FALSE(off.topmost);
    EXPECT_FALSE(off.compactHeight);
    EXPECT_EQ(off.caption, QStringLiteral("Kelvor2007"));
    EXPECT_EQ(off.tag, QStringLiteral("0"));

    for (const char* other : {"", "2", "01", " 0"})
        EXPECT_FALSE(app::compactSwitch(QString::fromUtf8(other)).change) << other;
}

// ---------------------------------------------------------------- dropped files

TEST(DroppedFiles, JoinInDropOrderAndShowWatch)
{
    TempHome home;
    writeGbk(home.path(QStringLiteral("a.txt")), QStringLiteral("甲 1\r\n甲 2\r\n"));
    writeGbk(home.path(QStringLiteral("b.txt")), QStringLiteral("乙 1\r\n乙 2\r\n乙 3"));
    app::joinDroppedFiles(home.context, {home.path(QStringLiteral("b.txt")), home.path(QStringLiteral("a.txt"))});
    EXPECT_EQ(readBytes(watchPath()), encodeGbk(QStringLiteral("乙 1\r\n乙 2\r\n乙 3\r\n甲 1\r\n甲 2\r\n")));
    EXPECT_EQ(home.ui.textWindowFiles(), QStringList{watchPath()});
    EXPECT_TRUE(home.ui.messages().isEmpty());
}

TEST(DroppedFiles, LineEndsAndBlankLines)
{
    const struct {
        const char* content;
        const char* joined;
    } cases[] = {
        {"a\rb\r", "a\r\nb\r\n"},      // a lone CR ends a line
        {"a\r\n\r\nb", "a\r\n\r\nb\r\n"}, // a blank line inside is kept
        {"\r\n", "\r\n"},                // one blank line
        {"x", "x\r\n"},                  // no line end at the end
    };
    for (const auto& c : cases) {
        TempHome home;
        writeGbk(home.path(QStringLiteral("a.txt")), QString::fromUtf8(c.content));
        app::joinDroppedFiles(home.context, {home.path(QStringLiteral("a.txt"))});
        EXPECT_EQ(readBytes(watchPath()), QByteArray(c.joined)) << c.content;
    }
}

TEST(DroppedFiles, BadFilesAreReportedAndTheOthersStillJoined)
{
    TempHome home;
    writeGbk(home.path(QStringLiteral("a.txt")), QStringLiteral("A1\r\nA2\r\n"));
    writeGbk(home.path(QStringLiteral("empty.txt")), QString());
    writeGbk(home.path(QStringLiteral("c.txt")), QStringLiteral("C1\r\n"));
    QDir(home.root()).mkdir(QStringLiteral("folder"));
    const QString folder = home.path(QStringLiteral("folder"));
    const QString missing = home.path(QStringLiteral("gone.txt"));

    app::joinDroppedFiles(home.context, {home.path(QStringLiteral("a.txt")), folder, home.path(QStringLiteral("empty.txt")),
                                         missing, home.path(QStringLiteral("c.txt"))});

    // the empty file adds no line and no message
    EXPECT_EQ(readBytes(watchPath()), QByteArray("A1\r\nA2\r\nC1\r\n"));
    EXPECT_EQ(messageTexts(home), (QStringList{QStringLiteral("错误:75\r") + paths::toWindows(folder),
                                              QStringLiteral("错误:53\r") + paths::toWindows(missing)}));
    for (const QJsonValue& m : home.ui.messages()) {
        EXPECT_EQ(m.toObject().value(QStringLiteral("icon")).toString(), QStringLiteral("critical"));
        EXPECT_EQ(m.toObject().value(QStringLiteral("title")).toString(), applicationTitle());
    }
    EXPECT_EQ(home.ui.textWindowFiles(), QStringList{watchPath()});
}

TEST(DroppedFiles, NoFileListGivesAnEmptyWatch)
{
    TempHome home;
    writeGbk(watchPath(), QStringLiteral("old\r\n"));
    app::joinDroppedFiles(home.context, {});
    EXPECT_TRUE(QFile::exists(watchPath()));
    EXPECT_TRUE(readBytes(watchPath()).isEmpty());
    EXPECT_EQ(home.ui.textWindowFiles(), QStringList{watchPath()});
}

TEST(DroppedFiles, UnwritableWatchShowsTheErrorAndNoWindow)
{
    TempHome home;
    writeGbk(home.path(QStringLiteral("a.txt")), QStringLiteral("A1\r\n"));
    ASSERT_TRUE(QDir().mkpath(watchPath())); // a folder in its place
    app::joinDroppedFiles(home.context, {home.path(QStringLiteral("a.txt"))});
    EXPECT_EQ(messageTexts(home), QStringList{QStringLiteral("错误:75")});
    EXPECT_TRUE(home.ui.textWindowFiles().isEmpty());
}

// ---------------------------------------------------------------- 创建工具栏

namespace {

struct CadHome : test::CadHost {
    cad::PopupMenu* lastMenu() { return app.MenuBarItem(app.MenuBarCount() - 1); }
};

} // namespace

TEST(CadMenu, AddsTheImageMenuAtTheEndOfTheMenuBar)
{
    CadHome home;
    home.app.setVisible(false);
    home.app.setWindowState(2);
    home.app.clearRecords();
    const int before = home.app.MenuBarCount();

    app::CADtogongjulan_Click(home.context);

    ASSERT_EQ(home.app.MenuBarCount(), before + 1);
    cad::PopupMenu* m = home.lastMenu();
    EXPECT_EQ(m->Name(), QStringLiteral("集成功能"));
    ASSERT_EQ(m->Count(), 3);
    const auto& items = m->items();
    const QString esc2 = QString(2, QChar(27));
    EXPECT_EQ(items[0].label, QStringLiteral("&T图像透明度"));
    EXPECT_EQ(items[0].macro, esc2 + QStringLiteral("_transparency "));
    EXPECT_EQ(items[0].HelpString, QStringLiteral("用来控制图像的透明/Kelvor"));
    EXPECT_EQ(items[1].label, QStringLiteral("&K图像框架"));
    EXPECT_EQ(items[1].macro, esc2 + QStringLiteral("_imageframe "));
    EXPECT_EQ(items[1].HelpString, QStringLiteral("打开或关闭图像的框架/Kelvor"));
    EXPECT_TRUE(items[2].separator);
    EXPECT_FALSE(items[0].separator);

    // visible, maximised, then brought to the front
    EXPECT_TRUE(home.app.Visible());
    EXPECT_EQ(home.app.WindowState(), 3);
    EXPECT_EQ(home.app.events(), (QStringList{QStringLiteral("Visible 1"), QStringLiteral("WindowState 3"),
                                             QStringLiteral("Activate ") + home.app.Caption()}));
    EXPECT_TRUE(home.ui.messages().isEmpty());
}

TEST(CadMenu, EveryRunAddsOneMoreMenu)
{
    CadHome home;
    const int before = home.app.MenuBarCount();
    app::CADtogongjulan_Click(home.context);
    app::CADtogongjulan_Click(home.context);
    ASSERT_EQ(home.app.MenuBarCount(), before + 2);
    cad::PopupMenu* first = home.app.MenuBarItem(before);
    cad::PopupMenu* second = home.app.MenuBarItem(before + 1);
    EXPECT_NE(first, second);
    EXPECT_EQ(first->Name(), QStringLiteral("集成功能"));
    EXPECT_EQ(second->Name(), QStringLiteral("集成功能"));
    EXPECT_EQ(second->Count(), 3);
}

TEST(CadMenu, NoHostShowsTheStandardMessage)
{
    for (bool wired : {true, false}) {
        CadHome home;
        home.app.setRunning(false);
        if (!wired)
            home.context.setCad(nullptr);
        const int before = home.app.MenuBarCount();
        app::CADtogongjulan_Click(home.context);
        const QJsonArray msgs = home.ui.messages();
        ASSERT_EQ(msgs.size(), 1);
        const QJsonObject m = msgs.first().toObject();
        EXPECT_EQ(m.value(QStringLiteral("text")).toString(), QStringLiteral("AutoCAD 没有运行或版本不符合！"));
        EXPECT_EQ(m.value(QStringLiteral("title")).toString(), QStringLiteral("本功能需先启动AutoCAD系统"));
        EXPECT_EQ(m.value(QStringLiteral("icon")).toString(), QStringLiteral("critical"));
        EXPECT_EQ(home.app.MenuBarCount(), before);
    }
}

TEST(CadMenu, ReachedThroughTheRegistry)
{
    CommandRegistry registry;
    app::registerAllCommands(registry);
    EXPECT_FALSE(registry.isPlaceholder(QStringLiteral("CADtogongjulan")));
    EXPECT_FALSE(registry.isPlaceholder(QStringLiteral("openfudongqiao")));

    CadHome home;
    const int before = home.app.MenuBarCount();
    registry.run(QStringLiteral("CADtogongjulan"), home.context);
    EXPECT_EQ(home.app.MenuBarCount(), before + 1);

    QStringList opened;
    home.context.openWindow = [&opened](const QString& form) { opened.append(form); };
    registry.run(QStringLiteral("openfudongqiao"), home.context);
    EXPECT_EQ(opened, QStringList{QStringLiteral("float")});
}

// ---------------------------------------------------------------- hand-over

TEST(HandOver, BringsTheHostForwardQuietly)
{
    CadHome home;
    home.app.setVisible(false);
    home.app.setWindowState(1);
    home.app.clearRecords();
    app::floatHandOver(home.context);
    EXPECT_EQ(home.app.events(), (QStringList{QStringLiteral("Visible 1"),
                                             QStringLiteral("Activate ") + home.app.Caption(),
                                             QStringLiteral("WindowState 3")}));

    // no host running, or none wired: nothing happens and nothing is said
    home.app.setRunning(false);
    home.app.clearRecords();
    app::floatHandOver(home.context);
    home.context.setCad(nullptr);
    app::floatHandOver(home.context);
    EXPECT_TRUE(home.app.events().isEmpty());
    EXPECT_TRUE(home.ui.events().isEmpty());
}
