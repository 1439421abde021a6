// 土地分类项目: the three lists of the CommonFile, a chosen name's code placed
// in the drawing, and 查询地类编码.
#include "cad_host.h"
#include "landuse/commands.h"
#include "landuse/ui/dilei.h"
#include "platform/commands.h"
#include "test_support.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QTest>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace kelvor;
using namespace kelvor::landuse;
using test::u;

namespace {

QComboBox* combo(QWidget& w, int i)
{
    return w.findChild<QComboBox*>(QStringLiteral("Combo1(%1)").arg(i));
}

// A person's choice of an item in the drop-down.
void choose(QComboBox* box, int i)
{
    box->setCurrentIndex(i);
    emit box->activated(i);
}

} // namespace

TEST(Dilei, WithoutACommonFileTheListsAreEmptyAndShowTheDesignTexts)
{
    test::CadHost h;
    Dilei w(h.context);
    EXPECT_EQ(w.objectName(), QStringLiteral("dilei"));
    EXPECT_EQ(w.windowTitle(), u("土地分类项目"));
    const struct {
        const char* label;
        const char* design;
        QRect box;
    } groups[] = {{"农用地：", "灌溉水田", {16, 32, 137, 20}},
                  {"建设用地：", "商业用地", {162, 32, 129, 20}},
                  {"未利用土地：", "荒草地", {304, 32, 125, 20}}};
    for (int i = 0; i < 3; ++i) {
        auto* label = w.findChild<QLabel*>(QStringLiteral("Label1(%1)").arg(i));
        ASSERT_NE(label, nullptr) << i;
        EXPECT_EQ(label->text(), u(groups[i].label)) << i;
        QComboBox* box = combo(w, i);
        ASSERT_NE(box, nullptr) << i;
        EXPECT_TRUE(box->isEditable()) << i;
        EXPECT_EQ(box->count(), 0) << i;
        EXPECT_EQ(box->currentText(), u(groups[i].design)) << i;
        EXPECT_EQ(box->geometry(), groups[i].box) << i;
        EXPECT_EQ(box->view()->minimumWidth(), 100) << i;
    }
    EXPECT_EQ(w.findChild<QPushButton*>(QStringLiteral("Command1"))->text(), u("查询地类编码"));
    EXPECT_EQ(test::messageTexts(h.home), QStringList{u("请在[输出]菜单中的[通用文件名为空]下选择新地类定义文件！")});
}

TEST(Dilei, ChosenNamePlacesItsCodeAtThePick)
{
    test::CadHost h;
    test::writeGbkLines(h.home.path(QStringLiteral("d:\\dl.txt")),
                        {u("111,灌溉水田"), u("211,商业用地"), u("212,商务金融用地"), QString(), u("311,荒草地"),
                         u("0A1,其他")});
    h.context.state().commonFile = QStringLiteral("d:\\dl.txt");
    Dilei w(h.context);
    const QStringList expected[3] = {{u("灌溉水田")}, {u("商业用地"), u("商务金融用地")}, {u("荒草地")}};
    for (int i = 0; i < 3; ++i) {
        QStringList items;
        for (int k = 0; k < combo(w, i)->count(); ++k)
            items << combo(w, i)->itemText(k);
        EXPECT_EQ(items, expected[i]) << i;
    }
    EXPECT_EQ(combo(w, 0)->currentText(), u("灌溉水田")) << "the design text until a choice";
    EXPECT_EQ(combo(w, 2)->currentIndex(), -1);

    h.answerPoint(10, 20);
    choose(combo(w, 1), 0);
    h.answerPoint(30, 40);
    choose(combo(w, 1), 1);
    const std::vector<cad::Entity*> placed = h.ms().entities();
    ASSERT_EQ(placed.size(), 2u);
    EXPECT_EQ(placed[0]->TextString(), QStringLiteral("211"));
    EXPECT_EQ(placed[0]->InsertionPoint().x, 10);
    EXPECT_EQ(placed[1]->TextString(), QStringLiteral("212"));
    EXPECT_EQ(placed[1]->InsertionPoint().y, 40);

    // 查询地类编码 names the picked code text
    h.answerEntity(placed[0]->Handle());
    h.answer(QStringLiteral("esc"));
    w.findChild<QPushButton*>(QStringLiteral("Command1"))->click();
    EXPECT_TRUE(h.app.transcript().contains(u("-->商业用地\r")));
    EXPECT_TRUE(test::messageTexts(h.home).isEmpty());
}

TEST(Dilei, TypingOrLeavingTheFieldChoosesNothing)
{
    test::CadHost h;
    test::writeGbkLines(h.home.path(QStringLiteral("d:\\dl.txt")), {u("111,灌溉水田"), u("211,商业用地")});
    h.context.state().commonFile = QStringLiteral("d:\\dl.txt");
    for (int i = 0; i < 3; ++i)
        h.answer(QStringLiteral("esc")); // a stray choice must not stop the test
    Dilei w(h.context);
    w.show();
    QApplication::setActiveWindow(&w);
    // the first field holds its design text, which is also a name of its list
    combo(w, 0)->lineEdit()->setFocus(Qt::MouseFocusReason);
    QCoreApplication::processEvents();
    combo(w, 1)->lineEdit()->setFocus(Qt::MouseFocusReason);
    QCoreApplication::processEvents();
    QInputMethodEvent typed;
    typed.setCommitString(u("商业用地"));
    QCoreApplication::sendEvent(combo(w, 1)->lineEdit(), &typed);
    QTest::keyClick(combo(w, 1)->lineEdit(), Qt::Key_Return);
    w.findChild<QPushButton*>(QStringLiteral("Command1"))->setFocus(Qt::MouseFocusReason);
    QCoreApplication::processEvents();
    EXPECT_TRUE(h.ms().entities().empty());
    EXPECT_FALSE(h.app.transcript().contains(u("注记的位置")));
    EXPECT_EQ(combo(w, 1)->count(), 1);
}

TEST(Dilei, MenuItemOpensTheWindow)
{
    CommandRegistry registry;
    registry.addPlaceholder(QStringLiteral("biaozhudileibianhao"), u("标注地类编码"));
    registerLanduseCommands(registry);
    for (const char* item : {"biaozhudileibianhao", "oldchangnewdl", "huifujiudilei", "XIUGAITUBANHAO",
                             "findzhidingzhifu", "areatoarea", "drawdljarea"})
        EXPECT_TRUE(registry.has(QString::fromLatin1(item)) && !registry.isPlaceholder(QString::fromLatin1(item)))
            << item;
    test::TempHome home;
    QStringList opened;
    home.context.openWindow = [&opened](const QString& form) { opened << form; };
    registry.run(QStringLiteral("biaozhudileibianhao"), home.context);
    EXPECT_EQ(opened, QStringList{"dilei"});
}
