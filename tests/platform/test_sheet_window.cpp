#include "platform/sheet/sheet_host.h"
#include "platform/ui/sheet_window.h"
#include "test_support.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QStackedWidget>
#include <QTabBar>
#include <QTableView>
#include <gtest/gtest.h>

using namespace kelvor;
using namespace kelvor::sheet;

TEST(SheetWindow, ShowsAndEditsTheActiveSheet)
{
    test::TempHome home;
    SheetHost host;
    SheetWindow w(host, home.ui);
    auto* stack = w.findChild<QStackedWidget*>();
    EXPECT_EQ(stack->currentWidget()->objectName(), QStringLiteral("noWorkbook"));
    EXPECT_EQ(w.table()->model()->rowCount(), 0);

    Workbook book;
    book.sheets().append(Sheet(QStringLiteral("第二")));
    book.setActiveIndex(1);
    book.activeSheet().setCell(5, 5, QStringLiteral("011"));
    book.activeSheet().setActiveCell(7, 2);
    host.setWorkbook(book);
    EXPECT_NE(stack->currentWidget()->objectName(), QStringLiteral("noWorkbook"));
    QAbstractItemModel* m = w.table()->model();
    EXPECT_EQ(m->rowCount(), MaxRows);
    EXPECT_EQ(m->columnCount(), MaxColumns);
    EXPECT_EQ(m->headerData(26, Qt::Horizontal).toString(), QStringLiteral("AA"));
    EXPECT_EQ(m->data(m->index(4, 4)).toString(), QStringLiteral("011"));
    EXPECT_EQ(w.findChild<QTabBar*>(QStringLiteral("sheets"))->currentIndex(), 1);
    EXPECT_EQ(w.findChild<QLineEdit*>(QStringLiteral("address"))->text(), QStringLiteral("B7"));
    EXPECT_EQ(w.table()->currentIndex(), m->index(6, 1));

    // What a person types: numbers as numbers, other texts as they stand.
    const struct {
        const char* typed;
        QVariant held;
    } cases[] = {{"12.5", 12.5}, {"011", QStringLiteral("011")}, {"12.50", QStringLiteral("12.50")},
                 {"-3", -3.0},   {"地类", QStringLiteral("地类")}, {"", QVariant()}};
    for (const auto& c : cases) {
        EXPECT_TRUE(m->setData(m->index(0, 0), QString::fromUtf8(c.typed), Qt::EditRole)) << c.typed;
        EXPECT_EQ(host.cell(1, 1), c.held) << c.typed;
    }

    // A command's write shows at once; the person's choice of cell is the active cell.
    host.setCell(3, 3, 45.23);
    EXPECT_EQ(m->data(m->index(2, 2)).toString(), QStringLiteral("45.23"));
    w.table()->setCurrentIndex(m->index(9, 27));
    EXPECT_EQ(host.activeRow(), 10);
    EXPECT_EQ(host.activeColumn(), 28);
    EXPECT_EQ(w.findChild<QLineEdit*>(QStringLiteral("address"))->text(), QStringLiteral("AB10"));

    host.setVisible(true);
    EXPECT_TRUE(w.isVisible());
}

TEST(SheetWindow, ClosingTheWindowEndsTheHost)
{
    test::TempHome home;
    SheetHosts hosts;
    showSheetWindows(hosts, home.ui);
    SheetHost* host = hosts.start();
    ASSERT_NE(host, nullptr);
    EXPECT_FALSE(host->hasWorkbook());
    host->setVisible(true);
    QPointer<QWidget> window;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<SheetWindow*>(w))
            window = w;
    ASSERT_TRUE(window);
    EXPECT_TRUE(window->isVisible());
    window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(window);
    EXPECT_EQ(hosts.running(), nullptr);
}
