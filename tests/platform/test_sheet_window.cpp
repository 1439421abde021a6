#include "platform/sheet/sheet_host.h"
#include "platform/ui/sheet_window.h"
#include "platform/zip_package.h"
#include "test_support.h"

#include <QApplication>
#include <QJsonObject>
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

TEST(SheetWindow, AFileThatCannotBeReadIsToldInChinese)
{
    // each library failure opening a workbook: a Chinese reason first, the
    // library's own words (with the file) only in the brackets after it
    const struct {
        const char* name;
        const char* file;
        QByteArray bytes;
        const char* reason;
    } cases[] = {
        {"damaged workbook", "book_broken.xlsx", "PK but no zip", "路径/文件访问错误"},
        {"zip without a workbook", "other.xlsx", buildZipPackage({{QStringLiteral("a.xml"), "<a/>"}}), "路径/文件访问错误"},
        {"broken sheet XML", "xml.xlsx",
         buildZipPackage({{QStringLiteral("xl/workbook.xml"), "<workbook><sheets><sheet"}}), "路径/文件访问错误"},
        {"quote without end", "open.csv", "a,\"b\r\n", "路径/文件访问错误"},
        {"missing file", "none.xlsx", QByteArray(), "文件未找到"},
    };
    for (const auto& c : cases) {
        test::TempHome home;
        SheetHost host;
        SheetWindow w(host, home.ui);
        const QString path = home.path(QString::fromLatin1(c.file));
        if (!c.bytes.isEmpty())
            test::writeBytes(path, c.bytes);
        home.answerOpen({path});
        w.openWorkbook();
        const QString text = test::lastMessage(home).value(QStringLiteral("text")).toString();
        const QString chinese = QStringLiteral("打开失败：") + QString::fromUtf8(c.reason);
        EXPECT_TRUE(text.startsWith(chinese + QStringLiteral("（"))) << c.name << ": " << text.toStdString();
        EXPECT_TRUE(text.endsWith(QStringLiteral("）"))) << c.name << ": " << text.toStdString();
        // the file, or the sheet it would give
        EXPECT_TRUE(text.contains(QString::fromLatin1(c.file).section(QLatin1Char('.'), 0, 0)))
            << c.name << ": " << text.toStdString();
    }
}

TEST(SheetWindow, ALongTextRunsOnOverEmptyCells)
{
    test::TempHome home;
    SheetHost host;
    SheetWindow w(host, home.ui);
    const QString longText = QStringLiteral("MMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMM 地类面积统计");
    Workbook book;
    book.activeSheet().setCell(1, 1, longText); // B1 and C1 empty: runs on
    book.activeSheet().setCell(2, 1, longText); // B2 holds a text: cut at A2's edge
    book.activeSheet().setCell(2, 2, QStringLiteral("x"));
    book.activeSheet().setCell(3, 1, 123456789012.0); // a number stays in its cell
    book.activeSheet().setActiveCell(10, 6);
    host.setWorkbook(book);
    w.resize(900, 600);
    w.show();
    QApplication::processEvents();

    QTableView* t = w.table();
    QAbstractItemModel* m = t->model();
    const QImage shot = t->viewport()->grab().toImage();
    const auto cell = [&](int row, int column) { return t->visualRect(m->index(row, column)); };
    const QRgb paper = shot.pixel(cell(6, 3).center());
    const auto inked = [&](const QRect& r) {
        int n = 0;
        for (int y = r.top() + 2; y < r.bottom() - 1; ++y)
            for (int x = r.left() + 1; x < r.right() - 1; ++x)
                n += qGray(shot.pixel(x, y)) < 128;
        return n;
    };
    // the grid is drawn where nothing runs over it
    EXPECT_NE(shot.pixel(cell(6, 3).right(), cell(6, 3).center().y()), paper);
    EXPECT_NE(shot.pixel(cell(6, 3).center().x(), cell(6, 3).bottom()), paper);
    // row 1: the text goes on into B1 and C1, with no line between A1 and B1 above it
    EXPECT_GT(inked(cell(0, 1)), 10);
    EXPECT_GT(inked(cell(0, 2)), 0);
    EXPECT_EQ(shot.pixel(cell(0, 0).right(), cell(0, 0).top() + 2), paper);
    EXPECT_EQ(shot.pixel(cell(0, 1).right(), cell(0, 1).top() + 2), paper);
    // row 2: B2's own text only, the line before it drawn
    EXPECT_NE(shot.pixel(cell(1, 0).right(), cell(1, 0).top() + 2), paper);
    EXPECT_EQ(inked(cell(1, 2)), 0);
    // row 3: nothing of the number past A3
    EXPECT_EQ(inked(cell(2, 1)), 0);
    // a repaint of B1 alone shows the same
    t->viewport()->repaint(cell(0, 1));
    const QImage again = t->viewport()->grab(cell(0, 1)).toImage();
    EXPECT_EQ(again, shot.copy(cell(0, 1)));
}
