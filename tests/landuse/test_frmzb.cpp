// The boundary-point window: its controls, the symbol button and the lists.
#include "cad_host.h"
#include "landuse/commands.h"
#include "landuse/ui/frmzb.h"
#include "platform/commands.h"
#include "platform/paths.h"
#include "test_support.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QCoreApplication>
#include <QMouseEvent>
#include <gtest/gtest.h>

using namespace kelvor;
using namespace kelvor::landuse;
using test::u;

namespace {

// A person's double-click: press, release, double-click, release.
void doubleClick(QWidget* w, QPoint at)
{
    for (QEvent::Type t : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick,
                           QEvent::MouseButtonRelease}) {
        const Qt::MouseButtons held = t == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent e(t, QPointF(at), w->mapToGlobal(QPointF(at)), Qt::LeftButton, held, Qt::NoModifier);
        QCoreApplication::sendEvent(w, &e);
    }
}

} // namespace

TEST(Frmzb, ControlsAndDefaults)
{
    test::TempHome home;
    Frmzb w(home.context);
    EXPECT_EQ(w.objectName(), QStringLiteral("frmzb"));
    EXPECT_EQ(w.windowTitle(), u("处理线坐标"));
    const struct {
        const char* name;
        const char* text;
    } boxes[] = {{"Text1(0)", "4"}, {"Text1(1)", ""}, {"Text1(2)", "4.0"}, {"Text1(3)", "1"},
                 {"Text2(0)", "2"}, {"Text3(0)", "0"}, {"Text3(1)", "0"}};
    for (const auto& b : boxes) {
        auto* e = w.findChild<QLineEdit*>(QString::fromLatin1(b.name));
        ASSERT_NE(e, nullptr) << b.name;
        EXPECT_EQ(e->text(), QString::fromLatin1(b.text)) << b.name;
    }
    const struct {
        const char* name;
        const char* caption;
        bool ticked;
    } checks[] = {{"Check1(0)", "隔号界址点", false}, {"Check1(1)", "插入界址点符号", true},
                  {"Check1(2)", "输出界址长度", true}, {"Check1(3)", "删除图面的文字", true}};
    for (const auto& c : checks) {
        auto* b = w.findChild<QCheckBox*>(QString::fromLatin1(c.name));
        ASSERT_NE(b, nullptr) << c.name;
        EXPECT_EQ(b->text(), u(c.caption)) << c.name;
        EXPECT_EQ(b->isChecked(), c.ticked) << c.name;
    }
    EXPECT_FALSE(w.findChild<QRadioButton*>(QStringLiteral("Option1"))->isChecked());
    EXPECT_TRUE(w.findChild<QRadioButton*>(QStringLiteral("Option2"))->isChecked());
    EXPECT_EQ(w.findChild<QPushButton*>(QStringLiteral("Command1"))->text(), u("拾取多义线"));
    EXPECT_EQ(w.findChild<QPushButton*>(QStringLiteral("Command2"))->text(), u("创建符号"));
    EXPECT_EQ(w.findChild<QListWidget*>(QStringLiteral("List1"))->toolTip(), u("输出后双击各输出项可显示号码位置"));
    EXPECT_EQ(w.findChild<QListWidget*>(QStringLiteral("List2"))->toolTip(), u("输出后双击点号可显示号码"));
}

TEST(Frmzb, SymbolTickEnablesTheSymbolButton)
{
    test::CadHost h;
    Frmzb w(h.context);
    auto* tick = w.findChild<QCheckBox*>(QStringLiteral("Check1(1)"));
    auto* button = w.findChild<QPushButton*>(QStringLiteral("Command2"));
    EXPECT_TRUE(button->isEnabled());
    tick->click();
    EXPECT_FALSE(button->isEnabled());
    w.findChild<QCheckBox*>(QStringLiteral("Check1(0)"))->click();
    EXPECT_FALSE(button->isEnabled());
    tick->click();
    ASSERT_TRUE(button->isEnabled());
    h.answer(QStringLiteral("button"), QStringLiteral("OK"));
    button->click();
    EXPECT_NE(h.doc().findBlock(u("点位符号")), nullptr);
    EXPECT_EQ(test::messageTexts(h.home), QStringList{u("已成功在CAD系统中创建了名为“点位符号”的内部块。")});
}

TEST(Frmzb, PickFillsTheListsAndADoubleClickZooms)
{
    test::CadHost h;
    cad::Entity* square = h.ms().AddLightWeightPolyline({300, 500.25, 300, 510.25, 310, 510.25, 310, 500.25});
    square->setClosed(true);
    Frmzb w(h.context);
    w.show();
    w.findChild<QLineEdit*>(QStringLiteral("Text3(0)"))->setText(QStringLiteral("5"));
    w.findChild<QCheckBox*>(QStringLiteral("Check1(2)"))->setChecked(false);
    h.answerSelect({square->Handle()});
    w.findChild<QPushButton*>(QStringLiteral("Command1"))->click();
    auto* list1 = w.findChild<QListWidget*>(QStringLiteral("List1"));
    auto* list2 = w.findChild<QListWidget*>(QStringLiteral("List2"));
    ASSERT_EQ(list1->count(), 3);
    EXPECT_EQ(list1->item(0)->text(), QStringLiteral("0002,510.2500,300.0000, S:10.00"));
    EXPECT_EQ(list2->count(), 0);
    EXPECT_EQ(test::readBytes(paths::scratch(QStringLiteral("watch.txt"))).left(23), QByteArray("0001,500.2500,300.0000\r"));

    h.app.clearRecords();
    doubleClick(list2->viewport(), list2->viewport()->rect().center());
    EXPECT_TRUE(h.app.events().filter(QStringLiteral("Zoom")).isEmpty());
    const QRect first = list1->visualItemRect(list1->item(0));
    doubleClick(list1->viewport(), first.center());
    EXPECT_EQ(h.app.events().filter(QStringLiteral("Zoom")), QStringList{"ZoomWindow 280,490.25 320,530.25"});

    // a second pick starts both lists afresh
    h.answer(QStringLiteral("esc"));
    w.findChild<QPushButton*>(QStringLiteral("Command1"))->click();
    EXPECT_EQ(list1->count(), 0);
}

TEST(Frmzb, MenuItemsOfTheBoundaryToolsAreBuilt)
{
    CommandRegistry registry;
    registry.addPlaceholder(QStringLiteral("zb_xxxx"), u("获取pline线坐标"));
    registerLanduseCommands(registry);
    for (const char* item : {"zb_xxxx", "jzdbgxxxxx", "zhengshijiezhixian", "jzdtoprints"})
        EXPECT_FALSE(registry.isPlaceholder(QString::fromLatin1(item))) << item;
    test::TempHome home;
    QStringList opened;
    home.context.openWindow = [&opened](const QString& form) { opened << form; };
    registry.run(QStringLiteral("zb_xxxx"), home.context);
    EXPECT_EQ(opened, QStringList{"frmzb"});
    EXPECT_TRUE(test::messageTexts(home).isEmpty());
}
