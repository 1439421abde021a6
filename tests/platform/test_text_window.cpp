#include "platform/text_file.h"
#include "platform/ui/qt_ui.h"
#include "platform/ui/text_window.h"
#include "test_support.h"

#include <QPlainTextEdit>
#include <gtest/gtest.h>

using namespace kelvor;

TEST(TextWindow, ShowsGbkAndSavesCrLfGbk)
{
    test::TempHome home;
    const QString path = QStringLiteral("d:\\watch.txt");
    test::writeGbk(path, QStringLiteral("点名  X\r\nK1  100\rK2  200\n"));
    TextWindow w(path);
    EXPECT_EQ(w.editor()->toPlainText(), QStringLiteral("点名  X\nK1  100\nK2  200\n"));
    w.editor()->appendPlainText(QStringLiteral("K3  300"));
    ASSERT_TRUE(w.save());
    EXPECT_EQ(test::readBytes(path), encodeGbk(QStringLiteral("点名  X\r\nK1  100\r\nK2  200\r\n\r\nK3  300")));
}

TEST(TextWindow, OpeningReturnsAtOnce)
{
    test::TempHome home;
    writeTextLines(QStringLiteral("d:\\a.txt"), {QStringLiteral("x")});
    QtUi ui;
    const int before = int(TextWindow::openWindows().size());
    ui.openTextWindow(QStringLiteral("d:\\a.txt"));
    ASSERT_EQ(TextWindow::openWindows().size(), before + 1);
    TextWindow* w = TextWindow::openWindows().last();
    EXPECT_TRUE(w->isVisible());
    EXPECT_FALSE(w->isModal());
    w->close();
}

TEST(QtUi, FilterTextsBecomeQtFilters)
{
    EXPECT_EQ(qtNameFilters(QStringLiteral("平差结果文件(*.CG)|*.CG")),
              QStringList{QStringLiteral("平差结果文件(*.CG) (*.CG *.cg)")});
    EXPECT_EQ(qtNameFilters(QStringLiteral("a|*.dx;*.txt|b|*.*")).size(), 2);
    EXPECT_EQ(displayText(QStringLiteral("a\rb\r\nc")), QStringLiteral("a\nb\nc"));
}
