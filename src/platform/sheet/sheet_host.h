#pragma once
#include "platform/office.h"
#include "platform/sheet/workbook.h"

#include <QString>
#include <QVariant>
#include <functional>
#include <memory>
#include <optional>

namespace kelvor {
class Ui;
}

namespace kelvor::sheet {

// The running spreadsheet: at most one open workbook, shown or not. Commands
// reach its active sheet's cells; every such call raises RunError 1004 when
// there is no workbook or the cell lies outside the bounds, as the program it
// stands in for refuses them, so commands pass over it. A value written is
// kept as given: text stays text, numbers stay numbers.
class SheetHost : public cad::ExcelApplication {
public:
    bool visible() const { return visible_; }
    void setVisible(bool on) override;

    bool hasWorkbook() const { return book_.has_value(); }
    bool hasActiveSheet() const override { return hasWorkbook(); }
    // Null without a workbook.
    Workbook* workbook() { return book_ ? &*book_ : nullptr; }
    const Workbook* workbook() const { return book_ ? &*book_ : nullptr; }
    void setWorkbook(const Workbook& book);
    void newWorkbook() { setWorkbook(Workbook()); }
    void closeWorkbook();

    QVariant cell(int row, int column) const override;
    void setCell(int row, int column, const QVariant& value) override;
    int activeRow() const override;
    int activeColumn() const override;
    // Moves the active cell of the active sheet (raises as the cell calls).
    void setActiveCell(int row, int column);

    // Opens a workbook file (.xlsx or .csv) in place of the open one; raises
    // the reader's RunError and keeps the open workbook then.
    void open(const QString& path);
    // Saves to the file the workbook came from, or asks for a name when it
    // has none. When that file held what saving leaves out (formulas,
    // formats, merged cells), it is not overwritten: a new name is asked
    // for instead, and the same name again is refused. Returns the path
    // written, "" when cancelled or refused; write failures raise.
    QString save(Ui& ui);
    QString saveAs(Ui& ui);

    // Called after every change of cells, active cell, workbook or
    // visibility (the window repaints).
    std::function<void()> changed;

private:
    const Sheet& activeSheetOrFail() const;
    Sheet& activeSheetOrFail();
    QString askName(Ui& ui, const QString& title) const;
    QString writeTo(const QString& path);
    void notify()
    {
        if (changed)
            changed();
    }

    std::optional<Workbook> book_;
    bool visible_ = false;
};

// The spreadsheet half of the office hosts: at most one running host. When
// none runs, starting one gives a host without a workbook (the window, where
// there is one, opens on it); when hosts are unavailable neither works.
class SheetHosts {
public:
    // Null when none runs.
    SheetHost* running() { return host_.get(); }
    // Null when unavailable; the running host when one runs already.
    SheetHost* start();
    // A running host holding this workbook (kelvor-run, tests).
    SheetHost& run(const Workbook& book);
    // The host ends (its window closed); its workbook is gone.
    void end();

    bool available = true;
    // Called once for each host that starts (the window attaches here).
    std::function<void(SheetHost&)> started;

private:
    SheetHost& launch();
    std::unique_ptr<SheetHost> host_;
};

// The office hosts commands reach through Context::office(): the sheet
// hosts; no word processor is hosted here (none runs, none starts).
class Office : public cad::OfficeHosts {
public:
    cad::ExcelApplication* runningExcel() override { return sheets.running(); }
    cad::ExcelApplication* startExcel() override { return sheets.start(); }
    cad::WordApplication* runningWord() override { return nullptr; }
    cad::WordApplication* startWord() override { return nullptr; }

    SheetHosts sheets;
};

} // namespace kelvor::sheet
