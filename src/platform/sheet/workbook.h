#pragma once
#include <QList>
#include <QMap>
#include <QString>
#include <QVariant>

namespace kelvor::sheet {

// The spreadsheet's bounds: cells are addressed 1..MaxRows, 1..MaxColumns.
constexpr int MaxRows = 65536;
constexpr int MaxColumns = 256;

inline bool inBounds(int row, int column)
{
    return row >= 1 && row <= MaxRows && column >= 1 && column <= MaxColumns;
}

// Column letters: 1 -> "A", 27 -> "AA", 256 -> "IV". "" outside the bounds.
QString columnLetters(int column);
// "B7" for (7, 2).
QString cellAddress(int row, int column);
// Parses "B7" / "$B$7" / "b7" into row and column; false for anything else,
// also beyond the bounds.
bool parseCellAddress(const QString& address, int* row, int* column);

// A cell holds nothing (an invalid QVariant), a number (double) or a text
// (QString). Anything else given to a cell is normalised to one of those:
// integers and booleans become numbers, other values their text, and the
// empty text an empty cell.
QVariant normaliseCell(const QVariant& value);
// A cell's ordinary text: a text as it stands, a number as NumberText gives
// it (11 -> "11", 12.5 -> "12.5"), an empty cell "".
QString cellText(const QVariant& value);

// One sheet: a sparse map of cells and the sheet's own active cell.
class Sheet {
public:
    explicit Sheet(const QString& name = QStringLiteral("Sheet1")) : name_(name) {}

    QString name() const { return name_; }
    void setName(const QString& name) { name_ = name; }

    // Empty outside the bounds.
    QVariant cell(int row, int column) const;
    // False (nothing changed) outside the bounds.
    bool setCell(int row, int column, const QVariant& value);
    void clear() { cells_.clear(); }

    // Non-empty cells in row-major order, keyed by (row << 16 | column - 1)
    // so the map's order is the reading order.
    struct Cell {
        int row;
        int column;
        QVariant value;
    };
    QList<Cell> cells() const;
    bool isEmpty() const { return cells_.isEmpty(); }
    int lastRow() const;
    int lastColumn() const;

    int activeRow() const { return activeRow_; }
    int activeColumn() const { return activeColumn_; }
    // False (unchanged) outside the bounds.
    bool setActiveCell(int row, int column);

private:
    static qint64 key(int row, int column) { return (qint64(row) << 16) | (column - 1); }
    QString name_;
    QMap<qint64, QVariant> cells_;
    int activeRow_ = 1;
    int activeColumn_ = 1;
};

// What an opened file held that saving would leave out.
struct Dropped {
    bool formulas = false;
    bool formats = false;
    bool mergedCells = false;
    bool beyondBounds = false; // cells outside MaxRows x MaxColumns
    bool any() const { return formulas || formats || mergedCells || beyondBounds; }
};

// A workbook: its sheets, the active one, and the file it came from.
class Workbook {
public:
    Workbook() { sheets_.append(Sheet()); }

    QList<Sheet>& sheets() { return sheets_; }
    const QList<Sheet>& sheets() const { return sheets_; }
    int activeIndex() const { return active_; }
    void setActiveIndex(int index);
    Sheet& activeSheet() { return sheets_[active_]; }
    const Sheet& activeSheet() const { return sheets_[active_]; }

    // The file it was opened from or last saved to ("" for a new one), and
    // what that opened file held beyond cells.
    QString path;
    Dropped dropped;

private:
    QList<Sheet> sheets_;
    int active_ = 0;
};

} // namespace kelvor::sheet
