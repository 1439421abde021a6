#pragma once
#include "platform/sheet/workbook.h"

#include <QString>
#include <QVariant>
#include <functional>
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
class SheetHost {
public:
    bool visible() const { return visible_; }
    void setVisible(bool on);

    bool hasWorkbook() const { return book_.has_value(); }
    // Null without a workbook.
    Workbook* workbook() { return book_ ? &*book_ : nullptr; }
    const Workbook* workbook() const { return book_ ? &*book_ : nullptr; }
    void setWorkbook(const Workbook& book);
    void newWorkbook() { setWorkbook(Workbook()); }
    void closeWorkbook();

    QVariant cell(int row, int column) const;
    void setCell(int row, int column, const QVariant& value);
    int activeRow() const;
    int activeColumn() const;
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

} // namespace kelvor::sheet
