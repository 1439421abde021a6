#include "platform/ui/qt_ui.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QMainWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace kelvor;

// Run with LANG=C by ctest: the texts must not depend on the machine's locale.
TEST(QtDialogs, StandardButtonsAndFileDialogsSpeakChinese)
{
    ASSERT_TRUE(installChineseTranslations()) << "qt6-translations-l10n is not installed";
    QMessageBox box;
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    EXPECT_TRUE(box.button(QMessageBox::Yes)->text().startsWith(QStringLiteral("是")));
    EXPECT_TRUE(box.button(QMessageBox::No)->text().startsWith(QStringLiteral("否")));
    EXPECT_TRUE(box.button(QMessageBox::Cancel)->text().startsWith(QStringLiteral("取消")));

    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    auto* buttons = dialog.findChild<QDialogButtonBox*>();
    ASSERT_NE(buttons, nullptr);
    QStringList texts;
    for (QAbstractButton* b : buttons->buttons())
        texts << b->text();
    EXPECT_TRUE(texts.join(QLatin1Char('|')).contains(QStringLiteral("打开"))) << texts.join('|').toStdString();
    EXPECT_TRUE(texts.join(QLatin1Char('|')).contains(QStringLiteral("取消"))) << texts.join('|').toStdString();
}

TEST(QtDialogs, AMessageSitsOverTheWindowThePersonWorksIn)
{
    QMainWindow main;
    QMainWindow drawing;
    main.show();
    drawing.show();
    QtUi ui(&main);
    struct Case {
        QWidget* working;
        QWidget* over;
    } cases[] = {{&drawing, &drawing}, {&main, &main}};
    for (const Case& c : cases) {
        QApplication::setActiveWindow(c.working);
        c.working->activateWindow();
        QApplication::processEvents();
        ASSERT_EQ(QApplication::activeWindow(), c.working);
        QWidget* parent = nullptr;
        QTimer::singleShot(0, [&] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                parent = modal->parentWidget();
                static_cast<QDialog*>(modal)->done(0);
            }
        });
        ui.message(QStringLiteral("x"), QStringLiteral("t"), Icon::Information);
        EXPECT_EQ(parent, c.over);
    }
    // nothing active: the owner
    QApplication::setActiveWindow(nullptr);
    drawing.hide();
    main.hide();
    EXPECT_EQ(ui.dialogParent(), &main);
}
