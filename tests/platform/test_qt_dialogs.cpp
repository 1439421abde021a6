#include "platform/paths.h"
#include "platform/ui/qt_ui.h"
#include "test_support.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLabel>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTreeView>
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

namespace {

// Runs f on the modal dialog a call opens, then closes it.
template <typename Dialog>
void onModal(const std::function<void(Dialog*)>& f)
{
    QTimer::singleShot(0, [f] {
        if (auto* d = qobject_cast<Dialog*>(QApplication::activeModalWidget())) {
            f(d);
            d->reject();
        }
    });
}

// English a person would read: words of Latin letters, once accelerators
// ("(&N)") are taken out.
bool readsEnglish(QString text)
{
    text.remove(QRegularExpression(QStringLiteral("\\(&[A-Za-z]\\)|&")));
    return text.contains(QRegularExpression(QStringLiteral("[A-Za-z]{2,}")));
}

} // namespace

TEST(QtDialogs, AFiltersLabelIsTheProgramsOwnOnce)
{
    QtUi ui;
    const struct {
        const char* filter;
        QStringList labels;
    } cases[] = {
        {"工作簿(*.xlsx;*.csv)|*.xlsx;*.csv|所有文件(*.*)|*.*", {QStringLiteral("工作簿(*.xlsx;*.csv)"), QStringLiteral("所有文件(*.*)")}},
        {"平差结果文件(*.CG)|*.CG", {QStringLiteral("平差结果文件(*.CG)")}},
    };
    for (const auto& c : cases) {
        FileDialogRequest r;
        r.filter = QString::fromUtf8(c.filter);
        for (bool saving : {false, true}) {
            QStringList labels;
            onModal<QFileDialog>([&](QFileDialog* d) {
                auto* types = d->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
                for (int i = 0; types && i < types->count(); ++i)
                    labels << types->itemText(i);
            });
            if (saving)
                ui.saveFile(r);
            else
                ui.openFile(r);
            EXPECT_EQ(labels, c.labels) << c.filter << (saving ? " save" : " open");
        }
    }
}

TEST(QtDialogs, FileDialogsShowNoEnglish)
{
    ASSERT_TRUE(installChineseTranslations());
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("成果")));
    QFile(dir.filePath(QStringLiteral("watch.txt"))).open(QIODevice::WriteOnly);
    QFileDialog dialog(nullptr, QStringLiteral("打开"), dir.path());
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setViewMode(QFileDialog::Detail);
    dialog.show();
    auto* view = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
    ASSERT_NE(view, nullptr);
    QAbstractItemModel* files = view->model();
    for (int i = 0; i < 500 && files->rowCount(view->rootIndex()) < 2; ++i)
        QTest::qWait(10);
    ASSERT_EQ(files->rowCount(view->rootIndex()), 2);

    QStringList shown;
    for (int c = 0; c < files->columnCount(view->rootIndex()); ++c)
        shown << files->headerData(c, Qt::Horizontal).toString();
    // the kinds of the entries (sizes and dates follow the system's locale)
    for (int r = 0; r < 2; ++r)
        shown << files->index(r, 2, view->rootIndex()).data().toString();
    for (QAbstractButton* b : dialog.findChildren<QAbstractButton*>())
        shown << b->text() << b->toolTip();
    for (QLabel* l : dialog.findChildren<QLabel*>())
        shown << l->text();
    EXPECT_TRUE(shown.contains(QStringLiteral("文件夹"))) << shown.join(u'|').toStdString();
    for (const QString& s : shown)
        EXPECT_FALSE(readsEnglish(s)) << s.toStdString();
}

TEST(QtDialogs, AMessageShowsEachPathOneWay)
{
    test::TempHome home;
    QtUi ui;
    const struct {
        QString text, shown;
    } cases[] = {
        {QStringLiteral("无法找到:") + paths::windir() + QStringLiteral("\\watch.txt文件！"),
         QStringLiteral("无法找到:") + QDir::toNativeSeparators(paths::windir() + QStringLiteral("/watch.txt")) + QStringLiteral("文件！")},
        {QStringLiteral("已经生成") + home.path(QStringLiteral("d:\\jh.txt")) + QStringLiteral("\r需要查看吗？"),
         QStringLiteral("已经生成D:\\jh.txt\n需要查看吗？")},
    };
    for (const auto& c : cases) {
        QString shown;
        onModal<QMessageBox>([&](QMessageBox* box) { shown = box->text(); });
        ui.message(c.text, QStringLiteral("提示"), Icon::Critical);
        EXPECT_EQ(shown, c.shown);
    }
}
