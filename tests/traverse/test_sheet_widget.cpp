#include "traverse/sheet.h"
#include "traverse/ui/sheet_widget.h"

#include "platform/commands.h"
#include "test_support.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace kelvor;
using namespace kelvor::traverse;

namespace {

// A shown, active sheet frame over a scripted home.
struct Frame {
    test::TempHome home;
    TraverseSheet sheet;
    CommandRegistry registry;
    QStringList ran;
    std::unique_ptr<SheetWidget> w;

    Frame()
    {
        home.context.setSheet(&sheet);
        registry.add(QStringLiteral("Command37"), [this](Context&) { ran << QStringLiteral("Command37"); });
        w = std::make_unique<SheetWidget>(sheet, home.context, &registry);
        w->show();
        w->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(w.get()));
    }
    void showRows(int rows)
    {
        for (int r = 0; r < 12; ++r)
            sheet.setRowVisible(r, r < rows);
    }
    void focus(QLineEdit* e)
    {
        e->setFocus();
        QApplication::processEvents();
    }
    QWidget* focused() const { return QApplication::focusWidget(); }
    bool red(int label) const
    {
        return w->label5(label)->palette().color(QPalette::WindowText) == QColor(255, 0, 0);
    }
};

} // namespace

TEST(SheetWidget, ControlsCarryTheirNames)
{
    Frame f;
    for (const char* name : {"Text1(0)", "Text1(13)", "Text5(0)", "Text5(109)", "Text21(5)", "Label5(0)",
                             "Label5(12)", "Combo1", "Combo2", "Command9", "Command37", "Label39"})
        EXPECT_NE(f.w->findChild<QWidget*>(QString::fromLatin1(name)), nullptr) << name;
    EXPECT_TRUE(f.red(1));
    EXPECT_EQ(f.w->findChild<QLabel*>(QStringLiteral("Label5(0)"))->text(), QStringLiteral("13"));
}

TEST(SheetWidget, EnterInLastColumnShowsNextRowAndMovesThere)
{
    Frame f;
    f.showRows(1);
    EXPECT_TRUE(f.w->text5(9)->isHidden());
    f.focus(f.w->text5(8));
    QTest::keyClick(f.w->text5(8), Qt::Key_Return);
    EXPECT_FALSE(f.w->text5(9)->isHidden());
    EXPECT_TRUE(f.w->text5(18)->isHidden());
    EXPECT_TRUE(f.red(2));
    EXPECT_FALSE(f.red(1));
    EXPECT_EQ(f.focused(), f.w->text5(9));
}

TEST(SheetWidget, ArrowKeysFollowTheShownRows)
{
    Frame f;
    f.showRows(3);
    f.focus(f.w->text5(20));
    QTest::keyClick(f.w->text5(20), Qt::Key_Down);
    EXPECT_EQ(f.focused(), f.w->text5(20));
    f.focus(f.w->text5(10));
    QTest::keyClick(f.w->text5(10), Qt::Key_Down);
    EXPECT_EQ(f.focused(), f.w->text5(19));

    // Left moves only from the start of the text.
    f.sheet.setText5(19, QStringLiteral("12"));
    f.w->text5(19)->setCursorPosition(1);
    QTest::keyClick(f.w->text5(19), Qt::Key_Left);
    EXPECT_EQ(f.focused(), f.w->text5(19));
    EXPECT_EQ(f.w->text5(19)->cursorPosition(), 0);
    QTest::keyClick(f.w->text5(19), Qt::Key_Left);
    EXPECT_EQ(f.focused(), f.w->text5(18));
}

TEST(SheetWidget, TypingReachesTheModelAndEscapeEmpties)
{
    Frame f;
    f.focus(f.w->text5(4));
    QTest::keyClicks(f.w->text5(4), QStringLiteral("1.5"));
    EXPECT_EQ(f.sheet.text5(4), QStringLiteral("1.5"));
    QTest::keyClick(f.w->text5(4), Qt::Key_Escape);
    EXPECT_EQ(f.sheet.text5(4), QString());
    EXPECT_EQ(f.w->text5(4)->text(), QString());
    // And back: the model's changes show.
    f.sheet.setText1(2, QStringLiteral("200"));
    EXPECT_EQ(f.w->text1(2)->text(), QStringLiteral("200"));
}

TEST(SheetWidget, ShiftDeleteInKnownBoxClearsWithoutQuestion)
{
    Frame f;
    f.sheet.setText1(0, QStringLiteral("A"));
    f.sheet.setText5(50, QStringLiteral("x"));
    f.showRows(2);
    f.focus(f.w->text1(3));
    QTest::keyClick(f.w->text1(3), Qt::Key_Delete, Qt::ShiftModifier);
    EXPECT_EQ(f.sheet.text1(0), QString());
    EXPECT_EQ(f.sheet.text5(50), QString());
    EXPECT_FALSE(f.w->text5(100)->isHidden());
    EXPECT_TRUE(f.home.ui.messages().isEmpty());
}

TEST(SheetWidget, ClearButtonAnsweredNo)
{
    Frame f;
    f.sheet.setText1(0, QStringLiteral("A"));
    f.showRows(2);
    f.sheet.setRedLabel(2);
    f.home.answer(QStringLiteral("button"), QStringLiteral("No"));
    QTest::mouseClick(f.w->findChild<QPushButton*>(QStringLiteral("Command9")), Qt::LeftButton);
    EXPECT_EQ(f.sheet.text1(0), QStringLiteral("A"));
    EXPECT_TRUE(f.w->text5(18)->isHidden());
    EXPECT_FALSE(f.red(2));
}

TEST(SheetWidget, HeaderDoubleClickAddsTheConstant)
{
    Frame f;
    f.showRows(1);
    f.sheet.setText5(5, QStringLiteral("1.500"));
    f.home.answer(QStringLiteral("input"), QStringLiteral("-0.02"));
    QTest::mouseDClick(f.w->text21(5), Qt::LeftButton);
    EXPECT_EQ(f.w->text5(5)->text(), QStringLiteral("1.480"));
}

TEST(SheetWidget, OtherCommandsRunThroughTheRegistry)
{
    Frame f;
    QTest::mouseClick(f.w->findChild<QPushButton*>(QStringLiteral("Command37")), Qt::LeftButton);
    EXPECT_EQ(f.ran, QStringList{QStringLiteral("Command37")});
    // Not registered: nothing happens.
    QTest::mouseClick(f.w->findChild<QPushButton*>(QStringLiteral("Command38")), Qt::LeftButton);
    EXPECT_EQ(f.ran.size(), 1);
}

TEST(SheetWidget, GradeBoxesFollowTheModel)
{
    Frame f;
    f.sheet.setGradeList({QStringLiteral("8秒导线"), QStringLiteral("一级图根")});
    f.sheet.setGrade(QStringLiteral("一级图根"));
    auto* combo1 = f.w->findChild<QComboBox*>(QStringLiteral("Combo1"));
    EXPECT_EQ(combo1->count(), 2);
    EXPECT_EQ(combo1->currentText(), QStringLiteral("一级图根"));
    combo1->setEditText(QStringLiteral("自定义"));
    EXPECT_EQ(f.sheet.grade(), QStringLiteral("自定义"));
}
