#include "app/tools/about_texts.h"
#include "app/tools/lunar.h"
#include "app/tools/ui/addtext.h"
#include "app/tools/ui/form2.h"
#include "app/tools/ui/seting.h"
#include "app/tools/ui/tool.h"
#include "app/tools/ui/windows.h"
#include "platform/windows.h"
#include "platform/context.h"
#include "platform/paths.h"
#include "platform/settings.h"
#include "platform/text_file.h"
#include "platform/ui/qt_ui.h"
#include "test_support.h"

#include <QApplication>
#include <QDir>
#include <QJsonArray>
#include <QJsonObject>
#include <QMouseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace kelvor;
using namespace kelvor::tools;
using kelvor::test::TempHome;
using kelvor::test::writeGbk;

namespace {

template <class W = QWidget>
W* child(QWidget& parent, const char* name)
{
    W* w = parent.findChild<W*>(QString::fromUtf8(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}

QLineEdit* text28(QWidget& dlg, int i)
{
    return dlg.findChild<QLineEdit*>(QStringLiteral("Text28(%1)").arg(i));
}

QString lastMessageText(const TempHome& home)
{
    const QJsonArray m = home.ui.messages();
    return m.isEmpty() ? QString() : m.last().toObject().value("text").toString();
}

TEST(SetingWindow, StoresTheResultFolderTwice)
{
    TempHome home;
    home.settings.write_inifile();
    SetingDialog dlg(home.context);
    EXPECT_EQ(dlg.objectName(), QStringLiteral("seting"));
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("参数设定"));
    EXPECT_EQ(text28(dlg, 1)->text(), QStringLiteral("d:\\"));
    text28(dlg, 1)->setText(QStringLiteral(" d:\\result "));
    text28(dlg, 9)->setText(QStringLiteral(" 工程 A "));
    child<QPushButton>(dlg, "Command62(0)")->click();
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(home.settings.ReadSetting(QStringLiteral("MydxfileSavepath=")), QStringLiteral("D:\\RESULT"));
    EXPECT_EQ(home.settings.ReadSetting(QStringLiteral("Queltdxfilesavepath=")), QStringLiteral("D:\\RESULT"));
    EXPECT_EQ(home.settings.ReadSetting(QStringLiteral("gongcheng=")), QStringLiteral("工程 A"));

    SetingDialog again(home.context);
    EXPECT_EQ(text28(again, 1)->text(), QStringLiteral("D:\\RESULT"));
}

TEST(SetingWindow, FormatOptionAndFloatingBarTag)
{
    TempHome home;
    home.settings.writeRaw(QStringLiteral("dxformat="), QStringLiteral("7"));
    home.context.state().formTag = QStringLiteral("2");
    SetingDialog dlg(home.context);
    EXPECT_TRUE(child<QRadioButton>(dlg, "Option1(0)")->isChecked());
    EXPECT_TRUE(child<QRadioButton>(dlg, "Option3(0)")->isChecked());
    EXPECT_EQ(child<QLineEdit>(dlg, "Text1(0)")->text(), QStringLiteral("1000"));
    child<QPushButton>(dlg, "Command62(0)")->click();
    EXPECT_EQ(home.settings.ReadSetting(QStringLiteral("dxformat=")), QStringLiteral("1"));
    EXPECT_EQ(home.context.state().formTag, QStringLiteral("0"));

    home.settings.writeRaw(QStringLiteral("dxformat="), QStringLiteral("2"));
    SetingDialog second(home.context);
    EXPECT_TRUE(child<QRadioButton>(second, "Option1(1)")->isChecked());
    child<QRadioButton>(second, "Option3(2)")->setChecked(true);
    child<QPushButton>(second, "Command62(0)")->click();
    EXPECT_EQ(home.context.state().formTag, QStringLiteral("2"));
}

TEST(SetingWindow, CancelStoresNothing)
{
    TempHome home;
    home.settings.write_inifile();
    const auto before = home.settings.all();
    home.context.state().formTag = QStringLiteral("1");
    SetingDialog dlg(home.context);
    text28(dlg, 4)->setText(QStringLiteral("5"));
    child<QRadioButton>(dlg, "Option3(2)")->setChecked(true);
    child<QPushButton>(dlg, "Command62(1)")->click();
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_EQ(home.settings.all(), before);
    EXPECT_EQ(home.context.state().formTag, QStringLiteral("1"));
}

TEST(SetingWindow, StoreThatCannotBeWrittenIsReportedAndTheDialogStaysOpen)
{
    TempHome home;
    const QString dir = home.root() + QStringLiteral("/broken");
    QDir().mkpath(dir);
    SettingsStore broken(dir);
    Context ctx(broken, home.ui);
    ctx.state().formTag = QStringLiteral("1");
    SetingDialog dlg(ctx);
    text28(dlg, 1)->setText(QStringLiteral("d:\\result"));
    child<QRadioButton>(dlg, "Option3(2)")->setChecked(true);
    child<QPushButton>(dlg, "Command62(0)")->click();
    const QString text = QStringLiteral("记录文件被破坏或磁盘写保护！\r请重新启动该程序修复记录文件。");
    // once while loading, once for the refused store
    const QJsonArray m = home.ui.messages();
    ASSERT_EQ(m.size(), 2);
    EXPECT_EQ(m[1].toObject().value("text").toString(), text);
    EXPECT_EQ(m[1].toObject().value("title").toString(), QStringLiteral("错误"));
    EXPECT_EQ(m[1].toObject().value("icon").toString(), QStringLiteral("critical"));
    // what was typed is still there to be stored later; Form1 keeps its Tag
    EXPECT_NE(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(text28(dlg, 1)->text(), QStringLiteral("d:\\result"));
    EXPECT_EQ(ctx.state().formTag, QStringLiteral("1"));
}

TEST(SetingWindow, PagesAndBrowseButtons)
{
    TempHome home;
    SetingDialog dlg(home.context);
    EXPECT_EQ(dlg.shownPage(), 2);
    auto* tabs = child<QTabBar>(dlg, "TabStrip1");
    ASSERT_EQ(tabs->count(), 3);
    const std::pair<int, int> steps[] = {{1, 0}, {2, 1}, {0, 2}};
    for (auto [tab, page] : steps) {
        tabs->setCurrentIndex(tab);
        EXPECT_EQ(dlg.shownPage(), page) << tab;
    }

    text28(dlg, 1)->setText(QStringLiteral("keep"));
    home.answer(QStringLiteral("button"), QStringLiteral("Cancel"));
    child<QPushButton>(dlg, "Command61")->click();
    EXPECT_EQ(text28(dlg, 1)->text(), QStringLiteral("keep"));
    home.answer(QStringLiteral("folder"), QStringLiteral("d:\\out"));
    child<QPushButton>(dlg, "Command61")->click();
    EXPECT_EQ(text28(dlg, 1)->text(), QStringLiteral("d:\\out"));
    home.answer(QStringLiteral("folder"), QStringLiteral("d:\\sj"));
    child<QPushButton>(dlg, "Command66")->click();
    EXPECT_EQ(text28(dlg, 7)->text(), QStringLiteral("d:\\sj"));
    home.answerOpen({QStringLiteral("d:\\pts.txt")});
    child<QPushButton>(dlg, "Command65")->click();
    EXPECT_EQ(text28(dlg, 6)->text(), QStringLiteral("D:\\pts.txt"));

    // moving over any box shows the three paths in full as tooltips
    text28(dlg, 1)->setText(QStringLiteral("d:\\a very long folder\\name"));
    QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), QPointF(2, 2), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(text28(dlg, 4), &move);
    EXPECT_EQ(text28(dlg, 1)->toolTip(), QStringLiteral("d:\\a very long folder\\name"));
    EXPECT_EQ(text28(dlg, 6)->toolTip(), QStringLiteral("D:\\pts.txt"));
    EXPECT_EQ(home.context.state().commonDialog.title, QStringLiteral("已知点成果表文件"));
}

TEST(AboutWindow, DatesMarqueeAndButtons)
{
    TempHome home;
    home.ui.setNow(QDateTime(QDate(2021, 2, 12), QTime(9, 0)));
    Form2 box(home.context);
    EXPECT_EQ(box.objectName(), QStringLiteral("Form2"));
    EXPECT_TRUE(box.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(child<QLabel>(box, "Label2")->text(), displayText(aboutDateText(QDate(2021, 2, 12))));
    EXPECT_TRUE(child<QLabel>(box, "Label2")->text().endsWith(QStringLiteral("农历辛丑年(牛)正月初一")));
    EXPECT_EQ(child<QLabel>(box, "Label1(7)")->text(), compatibilityNotice());
    EXPECT_TRUE(box.timer()->isActive());
    EXPECT_EQ(box.timer()->interval(), 100);

    auto* title = child<QLabel>(box, "Label1(6)");
    for (int i = 0; i < 273; ++i)
        box.tick();
    EXPECT_LT(title->x(), 0);
    box.tick();
    EXPECT_EQ(box.marqueeLeft(), Marquee::kFormWidth);
    EXPECT_EQ(title->x(), box.width());

    box.show();
    QTest::mouseClick(child<QWidget>(box, "Label3(0)"), Qt::LeftButton);
    EXPECT_TRUE(lastMessageText(home).startsWith(QStringLiteral("本程序没有电子邮箱。")));
    QTest::mouseClick(child<QWidget>(box, "Picture1(2)"), Qt::LeftButton);
    EXPECT_EQ(home.ui.messages().last().toObject().value("title").toString(), QStringLiteral("联系"));

    // Name, version and the build's licence; no placeholder number or address.
    EXPECT_TRUE(child<QLabel>(box, "Label1(0)")->text().contains(aboutVersion()));
    EXPECT_TRUE(child<QLabel>(box, "Label1(4)")->text().contains(QStringLiteral("LGPL")));
    QStringList shown{child<QLabel>(box, "Label1(0)")->text(), child<QLabel>(box, "Label1(4)")->text()};
    for (const QJsonValue& m : home.ui.messages())
        shown << m.toObject().value("text").toString();
    for (const QString& text : shown) {
        EXPECT_FALSE(text.contains(QStringLiteral("000-0000"))) << text.toStdString();
        EXPECT_FALSE(text.contains(QStringLiteral("example."))) << text.toStdString();
        EXPECT_FALSE(text.contains(QStringLiteral("（通信地址）"))) << text.toStdString();
    }
    QTest::mouseClick(child<QWidget>(box, "Label3(1)"), Qt::LeftButton);
    EXPECT_EQ(box.result(), QDialog::Accepted);
    EXPECT_FALSE(box.isVisible());
}

TEST(ToolWindow, ButtonsReadTheirBoxes)
{
    TempHome home;
    ToolWindow w(home.context);
    EXPECT_EQ(w.objectName(), QStringLiteral("tool"));
    const char* values[] = {"1.3000", "100", "1.5", "1.2"};
    for (int i = 0; i < 4; ++i)
        w.findChild<QLineEdit*>(QStringLiteral("Text15(%1)").arg(i))->setText(QString::fromUtf8(values[i]));
    child<QPushButton>(w, "Command16")->click();
    EXPECT_EQ(lastMessageText(home), QStringLiteral("高差计算结果为: 2.919米"));
    child<QRadioButton>(w, "Option3")->setChecked(true);
    child<QPushButton>(w, "Command16")->click();
    EXPECT_EQ(lastMessageText(home), QStringLiteral("高差计算结果为: 2.918米"));

    const char* points[] = {"1000", "1000", "1100", "1100"};
    for (int i = 0; i < 4; ++i)
        w.findChild<QLineEdit*>(QStringLiteral("Text9(%1)").arg(i))->setText(QString::fromUtf8(points[i]));
    child<QPushButton>(w, "Command6")->click();
    EXPECT_EQ(lastMessageText(home), QStringLiteral("结果：45度0分0.000秒"));

    child<QLineEdit>(w, "Text1")->setText(QString());
    child<QPushButton>(w, "Command2")->click();
    EXPECT_EQ(lastMessageText(home), QStringLiteral("输入格式不对！"));

    w.show();
    QTest::mouseClick(&w, Qt::RightButton, {}, QPoint(300, 20));
    EXPECT_EQ(child<QLineEdit>(w, "Text1")->pos(), QPoint(300, 20));
    QTest::mouseClick(&w, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(child<QLineEdit>(w, "Text1")->pos(), QPoint(300, 20));
}

TEST(AddtextWindow, ListFollowsTheUser)
{
    TempHome home;
    writeGbk(home.path(QStringLiteral("d:\\a\\x.txt")), QStringLiteral("x1\r\n"));
    writeGbk(home.path(QStringLiteral("d:\\a\\y.dat")), QStringLiteral("y1\r\ny2\r\n"));
    writeGbk(home.path(QStringLiteral("d:\\a\\z.txt")), QStringLiteral("z1\r\n"));
    AddtextWindow w(home.context);
    EXPECT_EQ(child<QPushButton>(w, "Command1(2)")->text(), QStringLiteral("▲"));
    EXPECT_EQ(child<QPushButton>(w, "Command1(3)")->toolTip(), QStringLiteral("下移"));
    w.show();
    QListWidget* view = w.listWidget();

    home.answer(QStringLiteral("folder"), QStringLiteral("d:\\a"));
    child<QPushButton>(w, "Command1(0)")->click();
    ASSERT_EQ(view->count(), 3);
    EXPECT_EQ(view->selectedItems().size(), 3);

    // a click deselects y.dat alone; the join leaves it out
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualItemRect(view->item(1)).center());
    EXPECT_FALSE(w.list().entries()[1].selected);
    EXPECT_TRUE(w.list().entries()[0].selected);
    EXPECT_EQ(w.list().current(), 1);
    child<QPushButton>(w, "Command1(1)")->click();
    EXPECT_EQ(readTextLines(paths::scratch(QStringLiteral("watch.txt"))), (QStringList{"x1", "z1"}));

    // ▲ moves the current entry, selected or not
    child<QPushButton>(w, "Command1(2)")->click();
    EXPECT_EQ(view->item(0)->text(), QStringLiteral("d:\\a\\y.dat"));
    EXPECT_FALSE(view->item(0)->isSelected());
    EXPECT_EQ(view->currentRow(), 0);

    // any key removes it
    QTest::keyClick(view, Qt::Key_Down);
    ASSERT_EQ(view->count(), 2);
    EXPECT_EQ(view->item(0)->text(), QStringLiteral("d:\\a\\x.txt"));

    // the right button filters
    home.answer(QStringLiteral("input"), QStringLiteral("TXT"));
    QTest::mouseClick(view->viewport(), Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_EQ(view->count(), 2);
    EXPECT_TRUE(view->selectedItems().isEmpty());
    child<QPushButton>(w, "Command2")->click();
    EXPECT_EQ(view->selectedItems().size(), 2);
}

TEST(ToolWindows, Registered)
{
    WindowRegistry windows;
    registerToolWindows(windows);
    for (const char* form : {"seting", "Form2", "tool", "addtext"})
        EXPECT_TRUE(windows.has(QString::fromUtf8(form))) << form;
}

} // namespace
