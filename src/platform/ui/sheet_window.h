#pragma once
#include "platform/sheet/sheet_host.h"

#include <QAbstractTableModel>
#include <QMainWindow>
#include <memory>

class QLabel;
class QLineEdit;
class QStackedWidget;
class QTabBar;
class QTableView;

namespace kelvor {

class Ui;

// The active sheet of a sheet host as a table: every cell of the bounds,
// shown as its ordinary text. Typing a number as this host writes numbers
// ("12.5", not "011" or "12.50") gives a number, anything else a text.
class SheetTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit SheetTableModel(sheet::SheetHost& host, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // Whole sheet changed (another workbook or sheet) or only cells.
    void reset();
    void cellsChanged();

private:
    sheet::SheetHost& host_;
};

// The sheet host's window: a person sees and edits the active sheet's
// cells, switches sheets, and opens or saves a workbook (.xlsx or CSV).
// Started without a workbook it shows only that none is open.
class SheetWindow : public QMainWindow {
    Q_OBJECT
public:
    SheetWindow(sheet::SheetHost& host, Ui& ui, QWidget* parent = nullptr);
    ~SheetWindow() override;

    sheet::SheetHost& host() { return host_; }
    QTableView* table() const { return table_; }

    void newWorkbook();
    void openWorkbook();
    void save();
    void saveAs();

    // Shows the host's state: workbook, sheet tabs, active cell, title.
    void refresh();

private:
    void showActiveCell();
    void cellChosen(const QModelIndex& index);
    void goToAddress();
    void report(const QString& action, const std::function<void()>& step);

    sheet::SheetHost& host_;
    Ui& ui_;
    SheetTableModel* model_;
    QStackedWidget* stack_;
    QLabel* empty_;
    QTableView* table_;
    QTabBar* tabs_;
    QLineEdit* address_;
    bool refreshing_ = false;
};

// Every host the hosts start gets its own window, hidden until the host is
// made visible; closing the window ends the host, as quitting the program it
// stands in for does.
void showSheetWindows(sheet::SheetHosts& hosts, Ui& ui);

} // namespace kelvor
