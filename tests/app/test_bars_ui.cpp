#include "app/bars.h"
#include "app/registry.h"
#include "app/ui/float_bar.h"
#include "app/ui/form1.h"
#include "app/ui/launcher.h"
#include "platform/windows.h"
#include "cad/cad.h"
#include "platform/commands.h"
#include "platform/paths.h"
#include "test_support.h"
#include "traverse/sheet.h"

#include <QAction>
#include <QApplication>
#include <QDropEvent>
#include <QFrame>
#include <QGroupBox>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <gtest/gtest.h>

using namespace kelvor;
using kelvor::app::FloatBar;
using kelvor::test::readBytes;
using kelvor::test::TempHome;
using kelvor::test::writeGbk;

namespace {

const QStringList kForms = {
    QStringLiteral("zbfy"),   QStringLiteral("quelt"), QStringLiteral("tool"),  QStringLiteral("seting"),
    QStringLiteral("addtext"), QStringLiteral("insdwg"), QStringLiteral("frmzb"), QStringLiteral("dilei"),
    QStringLiteral("Form2"),  QStringLiteral("outExcelx"),
};

// The main window with every command registered, the windows replaced by
// recorders, the floating bar real, and a running CAD host.
struct Shell {
    Shell()
    {
        home.context.setCad(&cadApp);
        home.context.setSheet(&sheet);
        app::registerAllCommands(registry);
        for (const QString& f : kForms)
            windows.add(f, [this, f](Context&, QWidget*) { opened.append(f); });
        app::registerBarWindows(windows);
        form = std::make_unique<app::Form1>(home.context, registry, windows);
        cadApp.setVisible(false);
        cadApp.setWindowState(1);
        cadApp.clearRecords();
    }
    ~Shell()
    {
        if (FloatBar* bar = FloatBar::current())
            bar->discard();
    }
    // Replaces the handlers of these items by recorders.
    void record(const QStringList& items)
    {
        for (const QString& k : items)
            registry.substitute(k, [this, k](Context&) { ran.append(k); });
    }
    QToolButton* button(const QString& key) const
    {
        QAction* a = form->toolbar()->findChild<QAction*>(key);
        return a ? qobject_cast<QToolButton*>(form->toolbar()->widgetForAction(a)) : nullptr;
    }
    FloatBar* openBar()
    {
        form->show();
        QToolButton* b = button(QStringLiteral("浮动条"));
        if (b)
            b->click();
        return FloatBar::current();
    }

    TempHome home;
    cad::Application cadApp;
    traverse::TraverseSheet sheet;
    CommandRegistry registry;
    WindowRegistry windows;
    QStringList opened;
    QStringList ran;
    std::unique_ptr<app::Form1> form;
};

// Runs act; the popup menu it shows (if any) is recorded and closed, after
// triggering the action named choose when given.
QMenu* popupDuring(const std::function<void()>& act, const QString& choose = QString())
{
    QPointer<QMenu> seen;
    bool looked = false;
    QTimer::singleShot(50, [&] {
        looked = true;
        seen = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!seen)
            return;
        if (!choose.isEmpty())
            if (QAction* a = seen->findChild<QAction*>(choose))
                a->trigger();
        seen->close();
    });
    act();
    EXPECT_TRUE(QTest::qWaitFor([&] { return looked; }, 5000));
    return seen;
}

void sendMouse(QWidget* w, QEvent::Type type, const QPoint& global, Qt::MouseButton button = Qt::LeftButton)
{
    const QPoint local = w->mapFromGlobal(global);
    QMouseEvent e(type, QPointF(local), QPointF(global), button,
                  type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button), Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

QRect screenRect()
{
    return QGuiApplication::primaryScreen()->geometry();
}

} // namespace

// ---------------------------------------------------------------- Toolbar1

TEST(Toolbar1, ButtonsInFourGroupsRunTheirItems)
{
    Shell s;
    const struct {
        const char* key;
        const char* tooltip;
        const char* item;
    } buttons[] = {
        {"浮动条", "进行浮动条", "openfudongqiao"},
        {"参数设定", "浮动菜单(横)", nullptr},
        {"多义线加点", "多义线加点", "lwpolyinsertpoint"},
        {"打点检测", "打点检测", "fangfano2"},
        {"三点地物", "三点地物", "sdcassobj"},
        {"文字修改", "文字修改", "texttools"},
        {"规范文字注记", "规范文字注记", "crooslinetext"},
        {"建立临时块", "建立临时块", "shengchenglinshikuai(0)"},
        {"插入临时块", "插入临时块", "shengchenglinshikuai(1)"},
        {"坐标标注", "坐标标注(引线)", "zhuobiaozhuji"},
        {"修改线型宽度", "修改线型宽度", "polylinewidth"},
    };
    QStringList items;
    for (const auto& b : buttons)
        if (b.item)
            items.append(QString::fromUtf8(b.item));
    s.record(items);

    // order, with a separator after buttons 2, 4 and 7
    QStringList layout;
    for (QAction* a : s.form->toolbar()->actions())
        layout.append(a->isSeparator() ? QStringLiteral("|") : a->objectName());
    EXPECT_EQ(layout.join(QLatin1Char(' ')),
              QStringLiteral("浮动条 参数设定 | 多义线加点 打点检测 | 三点地物 文字修改 规范文字注记 | 建立临时块 "
                             "插入临时块 坐标标注 修改线型宽度"));

    for (const auto& b : buttons) {
        const QString key = QString::fromUtf8(b.key);
        SCOPED_TRACE(key.toStdString());
        QToolButton* tb = s.button(key);
        ASSERT_NE(tb, nullptr);
        EXPECT_EQ(tb->toolTip(), QString::fromUtf8(b.tooltip));
        EXPECT_FALSE(tb->icon().isNull());
        s.ran.clear();
        tb->click();
        EXPECT_EQ(s.ran, b.item ? QStringList{QString::fromUtf8(b.item)} : QStringList{});
    }
}

TEST(Toolbar1, DropDownEntriesOfButtonSevenRunNothing)
{
    Shell s;
    s.record(s.registry.items());
    QToolButton* seven = s.button(QStringLiteral("规范文字注记"));
    ASSERT_NE(seven, nullptr);
    QMenu* drop = seven->menu();
    ASSERT_NE(drop, nullptr);
    QStringList entries;
    for (QAction* a : drop->actions()) {
        entries.append(a->objectName() + QLatin1Char('=') + a->text());
        a->trigger();
    }
    EXPECT_EQ(entries, (QStringList{QStringLiteral("1=a"), QStringLiteral("2=b"), QStringLiteral("3=c"),
                                    QStringLiteral("4=d"), QStringLiteral("5=e")}));
    EXPECT_TRUE(s.ran.isEmpty());
    EXPECT_TRUE(s.opened.isEmpty());
}

TEST(Toolbar1, CompactModeTogglesCaptionHeightAndStacking)
{
    Shell s;
    s.form->setWindowTitle(QStringLiteral("Kelvor2007版"));
    s.form->show();
    s.form->move(120, 80);
    const QRect start = s.form->geometry();
    QToolButton* compact = s.button(QStringLiteral("参数设定"));
    ASSERT_NE(compact, nullptr);

    compact->click();
    EXPECT_EQ(s.form->windowTitle(), QStringLiteral("横向工具条"));
    EXPECT_EQ(s.form->frameGeometry().height(), s.form->toolbar()->height() + app::twips(800));
    EXPECT_TRUE(s.form->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(s.form->isVisible());
    EXPECT_EQ(s.home.context.state().toolbarTag, QStringLiteral("1"));
    // the menus and the toolbar stay usable
    EXPECT_TRUE(s.form->toolbar()->isVisible());
    EXPECT_EQ(s.form->geometry().topLeft(), start.topLeft());
    EXPECT_EQ(s.form->width(), start.width());

    compact->click();
    EXPECT_EQ(s.form->windowTitle(), QStringLiteral("Kelvor2007"));
    EXPECT_EQ(s.form->frameGeometry().height(), app::twips(7965));
    EXPECT_FALSE(s.form->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(s.home.context.state().toolbarTag, QStringLiteral("0"));
    EXPECT_EQ(s.form->geometry().topLeft(), start.topLeft());
    EXPECT_EQ(s.form->width(), start.width());

    // any other tag: nothing
    s.home.context.state().toolbarTag = QStringLiteral("2");
    const QRect before = s.form->geometry();
    compact->click();
    EXPECT_EQ(s.form->windowTitle(), QStringLiteral("Kelvor2007"));
    EXPECT_EQ(s.form->geometry(), before);
    EXPECT_EQ(s.home.context.state().toolbarTag, QStringLiteral("2"));
}

// ---------------------------------------------------------------- launcher

TEST(Launcher, EachControlOpensOneWindow)
{
    Shell s;
    const struct {
        const char* control;
        const char* caption; // labels only
        const char* opens;   // the window, or "" for nothing
    } cases[] = {
        {"Picture2(0)", nullptr, ""},
        {"Picture2(1)", nullptr, "zbfy"},
        {"Picture2(2)", nullptr, "quelt"},
        {"Picture2(3)", nullptr, "tool"},
        {"Picture2(4)", nullptr, "seting"},
        {"Label2(0)", "文本文件合并", "addtext"},
        {"Label2(1)", "Dwg 图形合并", "insdwg"},
        {"Label2(2)", "线坐标处理", "frmzb"},
        {"Label2(3)", "标注地类编码", "dilei"},
        {"Label2(4)", "查看记录文件", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.control);
        auto* w = s.form->launcherPanel()->findChild<app::ClickLabel*>(QString::fromUtf8(c.control));
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->cursor().shape(), Qt::PointingHandCursor);
        EXPECT_TRUE(w->toolTip().isEmpty());
        if (c.caption)
            EXPECT_EQ(w->text(), QString::fromUtf8(c.caption));
        else
            EXPECT_FALSE(w->pixmap().isNull());
        s.opened.clear();
        QTest::mouseClick(w, Qt::LeftButton);
        EXPECT_EQ(s.opened, *c.opens ? QStringList{QString::fromUtf8(c.opens)} : QStringList{});
    }
    // 查看记录文件 shows watch.txt
    EXPECT_EQ(s.home.ui.textWindowFiles(), QStringList{paths::scratch(QStringLiteral("watch.txt"))});
}

TEST(Launcher, PressAndReleaseMustBothBeOverTheControl)
{
    Shell s;
    auto* w = s.form->launcherPanel()->findChild<app::ClickLabel*>(QStringLiteral("Picture2(3)"));
    ASSERT_NE(w, nullptr);
    QTest::mousePress(w, Qt::LeftButton);
    QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, QPoint(w->width() + 20, 5));
    EXPECT_TRUE(s.opened.isEmpty());
    // a stray release without a press is no click either
    QTest::mouseRelease(w, Qt::LeftButton);
    EXPECT_TRUE(s.opened.isEmpty());
}

// ---------------------------------------------------------------- quick popup

TEST(QuickPopup, RightButtonOnTheAdjustmentButtonPopsItUp)
{
    Shell s;
    s.form->show();
    s.record({QStringLiteral("qiujulizhi"), QStringLiteral("outcordnumber"), QStringLiteral("caldist"),
              QStringLiteral("arealiangshan"), QStringLiteral("Command37"), QStringLiteral("distgsty")});
    auto* adjust = s.form->sheetFrame()->findChild<QPushButton*>(QStringLiteral("Command37"));
    ASSERT_NE(adjust, nullptr);

    const struct {
        const char* choose;
        const char* runs;
    } cases[] = {
        {"quick_call_next(0)", nullptr},
        {"quick_call_next(2)", "qiujulizhi"},
        {"quick_call_next(3)", "outcordnumber"},
        {"quick_call_next(4)", "caldist"},
        {"quick_call_next(5)", "arealiangshan"},
        {"distgsty", "distgsty"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.choose);
        s.ran.clear();
        QMenu* shown = popupDuring([&] { QTest::mousePress(adjust, Qt::RightButton); }, QString::fromUtf8(c.choose));
        QTest::mouseRelease(adjust, Qt::RightButton);
        EXPECT_EQ(shown, s.form->quickCallMenu());
        EXPECT_EQ(s.ran, c.runs ? QStringList{QString::fromUtf8(c.runs)} : QStringList{});
    }

    // the left button still adjusts, without the popup
    s.ran.clear();
    QMenu* shown = popupDuring([&] { QTest::mouseClick(adjust, Qt::LeftButton); });
    EXPECT_EQ(shown, nullptr);
    EXPECT_EQ(s.ran, QStringList{QStringLiteral("Command37")});
}

TEST(QuickPopup, TooltipNamesTheReportTheNextAdjustmentWrites)
{
    Shell s;
    s.form->show();
    auto* adjust = s.form->sheetFrame()->findChild<QPushButton*>(QStringLiteral("Command37"));
    ASSERT_NE(adjust, nullptr);
    Context& ctx = s.form->context();
    ctx.settings().writeRaw(QStringLiteral("MydxfileSavepath="), QStringLiteral("d:\\cg"));
    const auto move = [&] {
        QMouseEvent e(QEvent::MouseMove, QPointF(5, 5), adjust->mapToGlobal(QPointF(5, 5)), Qt::NoButton,
                      Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(adjust, &e);
    };
    adjust->setToolTip(QStringLiteral("earlier"));
    move(); // second-row name empty: the tooltip stays
    EXPECT_EQ(adjust->toolTip(), QStringLiteral("earlier"));
    ctx.sheet()->setText5(9, QStringLiteral(" P1 "));
    move();
    EXPECT_EQ(adjust->toolTip(), QStringLiteral("SYS.read.dx 生成：d:\\cg\\P1.CG"));
}

// ---------------------------------------------------------------- floating bar

TEST(FloatingBar, OpensInTheCornerAndHandsOverAfter350ms)
{
    Shell s;
    FloatBar* bar = s.openBar();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->objectName(), QStringLiteral("float"));
    EXPECT_TRUE(bar->isVisible());
    EXPECT_TRUE(bar->windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(bar->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(bar->size(), QSize(app::twips(915), app::twips(1590)));
    const QRect sg = screenRect();
    EXPECT_EQ(bar->geometry().right(), sg.right());
    EXPECT_NEAR(sg.bottom() - bar->geometry().bottom(), 500 / 15, 1);

    const char* const tips[] = {"南方CASS系统的功能辅助", "对Autocad 2000系统的图形数据进行辅助处理", "返回主界面",
                                "退出本系统"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(bar->picture(i)->toolTip(), QString::fromUtf8(tips[i]));
        EXPECT_EQ(bar->picture(i)->cursor().shape(), Qt::PointingHandCursor);
    }

    // nothing happens before the tick
    EXPECT_TRUE(bar->timer1().isActive());
    EXPECT_TRUE(bar->timer1().isSingleShot());
    EXPECT_EQ(bar->timer1().interval(), 350);
    EXPECT_TRUE(s.form->isVisible());
    EXPECT_TRUE(s.cadApp.events().isEmpty());

    QTRY_VERIFY_WITH_TIMEOUT(!s.form->isVisible(), 3000);
    EXPECT_FALSE(bar->timer1().isActive());
    EXPECT_TRUE(bar->isVisible());
    EXPECT_TRUE(s.cadApp.Visible());
    EXPECT_EQ(s.cadApp.WindowState(), 3);
    EXPECT_EQ(s.cadApp.activations(), 1);
    EXPECT_TRUE(s.home.ui.messages().isEmpty());
}

TEST(FloatingBar, HandOverWithoutAHostOnlyHidesTheMainWindow)
{
    Shell s;
    s.cadApp.setRunning(false);
    FloatBar* bar = s.openBar();
    ASSERT_NE(bar, nullptr);
    QTRY_VERIFY_WITH_TIMEOUT(!s.form->isVisible(), 3000);
    EXPECT_TRUE(s.cadApp.events().isEmpty());
    EXPECT_TRUE(s.home.ui.events().isEmpty());
}

TEST(FloatingBar, BackToTheMainWindowCancelsTheHandOver)
{
    Shell s;
    FloatBar* bar = s.openBar();
    ASSERT_NE(bar, nullptr);
    QPointer<FloatBar> first = bar;
    bar->move(100, 100);
    QTest::mouseClick(bar->picture(2), Qt::LeftButton);
    EXPECT_EQ(FloatBar::current(), nullptr);
    EXPECT_TRUE(s.form->isVisible());
    QTest::qWait(600);
    EXPECT_TRUE(first.isNull()); // discarded
    EXPECT_TRUE(s.form->isVisible());
    EXPECT_TRUE(s.cadApp.events().isEmpty());

    // the next opening places a new bar in the corner again
    FloatBar* again = s.openBar();
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->geometry().right(), screenRect().right());
    EXPECT_NE(again->pos(), QPoint(100, 100));

    // and 返回主界面 after the hand-over brings the hidden main window back
    QTRY_VERIFY_WITH_TIMEOUT(!s.form->isVisible(), 3000);
    QTest::mouseClick(again->picture(2), Qt::LeftButton);
    EXPECT_TRUE(s.form->isVisible());
    EXPECT_EQ(FloatBar::current(), nullptr);
}

TEST(FloatingBar, DraggedByItsBackgroundAndSnappedOnRelease)
{
    Shell s;
    FloatBar* bar = s.openBar();
    ASSERT_NE(bar, nullptr);
    const QRect sg = screenRect();
    const int w = bar->width();
    const int h = bar->height();
    // a spot of the light panel between the two large pictures
    const QPoint grip(41, 40);
    ASSERT_EQ(bar->childAt(grip), nullptr);

    const struct {
        QPoint releasedAt; // top left of the bar when the button comes up
        QPoint restsAt;
        const char* why;
    } cases[] = {
        {{10, 200}, {0, 200}, "left edge 150 twips from the screen's"},
        {{sg.width() - w - 10, 200}, {sg.width() - w, 200}, "right edge 150 twips short"},
        {{300, sg.height() - h}, {300, qRound((sg.height() * 15 - 1590 - 500) / 15.0)}, "at the bottom"},
        {{300, 12}, {300, 0}, "near the top"},
        {{300, 200}, {300, 200}, "in the middle"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        bar->move(sg.topLeft() + QPoint(200, 150));
        const QPoint press = bar->mapToGlobal(grip);
        sendMouse(bar, QEvent::MouseButtonPress, press);
        const QPoint to = sg.topLeft() + c.releasedAt + grip;
        sendMouse(bar, QEvent::MouseMove, to);
        EXPECT_EQ(bar->pos(), sg.topLeft() + c.releasedAt);
        sendMouse(bar, QEvent::MouseButtonRelease, to);
        EXPECT_EQ(bar->pos(), sg.topLeft() + c.restsAt);
    }

    // the pictures and the name do not drag it
    bar->move(sg.topLeft() + QPoint(200, 150));
    for (QWidget* w : {static_cast<QWidget*>(bar->picture(1)), bar->findChild<QWidget*>(QStringLiteral("Label1"))}) {
        ASSERT_NE(w, nullptr);
        const QPoint at = w->mapToGlobal(QPoint(3, 3));
        sendMouse(w, QEvent::MouseButtonPress, at);
        sendMouse(w, QEvent::MouseMove, at + QPoint(40, 40));
        sendMouse(w, QEvent::MouseButtonRelease, at + QPoint(40, 40));
        EXPECT_EQ(bar->pos(), sg.topLeft() + QPoint(200, 150));
    }
}

TEST(FloatingBar, FirstPicturePopsUpTheMenuChosenByTheFormTag)
{
    Shell s;
    s.record({QStringLiteral("addcassshuxing"), QStringLiteral("tukuang2000"), QStringLiteral("texttools")});
    FloatBar* bar = s.openBar();
    ASSERT_NE(bar, nullptr);
    QTRY_VERIFY_WITH_TIMEOUT(!s.form->isVisible(), 3000);

    const struct {
        const char* tag;
        const char* menu; // "" for none
        const char* choose;
    } cases[] = {
        {"0", "south", "addcassshuxing"},
        {"", "south", nullptr},
        {"1", "guangwugaoshu", "tukuang2000"},
        {"2", "tools", "systemset"},
        {"3", "", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tag);
        s.home.context.state().formTag = QString::fromUtf8(c.tag);
        s.ran.clear();
        s.opened.clear();
        const QString choose = c.choose ? QString::fromUtf8(c.choose) : QString();
        QMenu* shown = popupDuring([&] { QTest::mouseClick(bar->picture(0), Qt::LeftButton); }, choose);
        EXPECT_EQ(shown, *c.menu ? s.form->menu(QString::fromUtf8(c.menu)) : nullptr);
        if (choose == QLatin1String("systemset")) {
            EXPECT_EQ(s.opened, QStringList{QStringLiteral("seting")}); // over the hidden main window
        } else if (!choose.isEmpty()) {
            EXPECT_EQ(s.ran, QStringList{choose});
        }
    }
    EXPECT_FALSE(s.form->isVisible());

    // the second picture always pops up AutoCAD辅助
    s.ran.clear();
    QMenu* shown = popupDuring([&] { QTest::mouseClick(bar->picture(1), Qt::LeftButton); }, QStringLiteral("texttools"));
    EXPECT_EQ(shown, s.form->menu(QStringLiteral("gaoji")));
    EXPECT_EQ(s.ran, QStringList{QStringLiteral("texttools")});
}

TEST(FloatingBar, ExitEndsTheProgramWithoutStoringSettings)
{
    Shell s;
    s.home.settings.WriteSetting(QStringLiteral("DXdj="), QStringLiteral("一级图根"));
    s.home.settings.WriteSetting(QStringLiteral("Savelist1="), QStringLiteral("D:\\A.CG"));
    s.home.context.state().recentReport = QStringLiteral("d:\\b.cg");
    const QByteArray stored = readBytes(s.home.settings.file());
    QSignalSpy ended(s.form.get(), &app::Form1::programEnded);
    FloatBar* bar = s.openBar();
    ASSERT_NE(bar, nullptr);
    QTest::mouseClick(bar->picture(3), Qt::LeftButton);
    EXPECT_EQ(ended.count(), 1);
    EXPECT_TRUE(s.home.context.state().ended);
    EXPECT_FALSE(s.form->isVisible());
    EXPECT_EQ(FloatBar::current(), nullptr);
    EXPECT_EQ(readBytes(s.home.settings.file()), stored);
}

TEST(FloatingBar, DroppedFilesAreJoinedIntoWatch)
{
    Shell s;
    writeGbk(s.home.path(QStringLiteral("a.txt")), QStringLiteral("A1\r\nA2\r\n"));
    writeGbk(s.home.path(QStringLiteral("b.txt")), QStringLiteral("B1\r\nB2\r\nB3\r\n"));
    FloatBar* bar = s.openBar();
    ASSERT_NE(bar, nullptr);
    const QString watch = paths::scratch(QStringLiteral("watch.txt"));

    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(s.home.path(QStringLiteral("a.txt"))),
                   QUrl::fromLocalFile(s.home.path(QStringLiteral("b.txt")))});
    QMimeData text;
    text.setText(QStringLiteral("dragged words"));

    // Drags reach the bar (the pictures take none themselves) at the point
    // under the pointer.
    struct Target {
        const char* over;
        QPoint at;
        bool takes;
    };
    auto centre = [bar](int i) { return bar->picture(i)->geometry().center(); };
    const Target targets[] = {{"background", QPoint(41, 40), true},
                              {"Label1", QPoint(55, 60), true},
                              {"Picture1(0)", centre(0), true},
                              {"Picture1(1)", centre(1), false},
                              {"Picture1(2)", centre(2), false},
                              {"Picture1(3)", centre(3), false}};
    for (const Target& t : targets) {
        SCOPED_TRACE(t.over);
        QDragEnterEvent enter(t.at, Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(bar, &enter);
        EXPECT_EQ(enter.isAccepted(), t.takes);
        QFile::remove(watch);
        s.home.ui.clearRecord();
        QDropEvent drop(QPointF(t.at), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(bar, &drop);
        if (!t.takes) {
            EXPECT_FALSE(QFile::exists(watch));
            EXPECT_TRUE(s.home.ui.textWindowFiles().isEmpty());
            continue;
        }
        EXPECT_EQ(readBytes(watch), QByteArray("A1\r\nA2\r\nB1\r\nB2\r\nB3\r\n"));
        EXPECT_EQ(s.home.ui.textWindowFiles(), QStringList{watch});
    }

    // text from another program carries no file list: an empty watch.txt
    s.home.ui.clearRecord();
    QDragEnterEvent enter(QPoint(2, 2), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(bar, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(2, 2), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(bar, &drop);
    EXPECT_TRUE(drop.isAccepted());
    EXPECT_TRUE(QFile::exists(watch));
    EXPECT_TRUE(readBytes(watch).isEmpty());
    EXPECT_EQ(s.home.ui.textWindowFiles(), QStringList{watch});
}
