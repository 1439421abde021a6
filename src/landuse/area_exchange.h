#pragma once
// Land-class codes and their areas between the spreadsheet's active sheet,
// the drawing's land-class area table and the list in watch.txt.
//
// A layout names where the codes stand and where their areas go: the column
// layout (codes one below the other) or the row layout (codes side by side).
// Every cell call may be refused by the spreadsheet (no workbook, a row or
// column outside the sheet); a refused cell is passed over without a message.
#include "platform/office.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace kelvor {
class Context;
}

namespace kelvor::landuse {

using cad::ExcelApplication;

// Column letters of the row layout's end box, trimmed of blanks: one letter
// A..Z is 1..26, two letters are 26 × first + second (AA 27, AZ 52, BA 53),
// either case. Anything else (ABC, "", digits) is 0: no column.
int ColumnFromLetters(const QString& text);

// One position of a layout: its code cell and its area cell.
struct AreaPosition {
    int codeRow;
    int codeColumn;
    int areaRow;
    int areaColumn;
};
using AreaLayout = QList<AreaPosition>;

// The boxes as typed; numbers are read by their leading number, rounded,
// whatever their size.
struct ColumnLayoutBoxes {
    QString firstRow = QStringLiteral("5");   // Text2(0)
    QString codeColumn = QStringLiteral("5"); // Text2(1)
    QString total = QStringLiteral("35");     // Text2(2): rows after the first
    QString areaColumn = QStringLiteral("7"); // Text2(3)
};
struct RowLayoutBoxes {
    QString codeRow = QStringLiteral("5");       // Text1(0)
    QString startColumn = QStringLiteral("3");   // Text1(1)
    QString endColumn = QStringLiteral("AA");    // Text1(2): column letters
    QString areaRow = QStringLiteral("15");      // Text1(3)
};

// Rows first..first + total, top to bottom (36 rows with the defaults).
// Rows off the sheet (below 1, beyond its last) are no positions; a fixed
// column off the sheet is 0, a cell the sheet refuses.
AreaLayout ExcelColumnLayout(const ColumnLayoutBoxes& boxes);
// Columns start..end, left to right (25 columns with the defaults); none
// when the end is left of the start or its letters name no column. Columns
// off the sheet are no positions; a fixed row off the sheet is 0.
AreaLayout ExcelRowLayout(const RowLayoutBoxes& boxes);

// Every area cell of the layout receives the empty text, in position order.
void ClearAreaCells(ExcelApplication& sheet, const AreaLayout& layout);

// Writes area, as given, into the area cell of every position whose code
// cell (its ordinary text, blanks trimmed) equals the code (blanks trimmed,
// case kept). When none matched: "地类：" + code + "在Excel中没有！" (no icon,
// no title). Returns how many cells were written.
int PlaceLandClassArea(Context& ctx, ExcelApplication& sheet, const AreaLayout& layout, const QString& code,
                       const QString& area);

// The LandClassAreaList lines of the layout: "code,area" in position order
// for every position whose area cell's leading number is not 0.
QStringList LandClassAreaLines(const ExcelApplication& sheet, const AreaLayout& layout);

// Code (field 1) and area (field 2) of each list line, trimmed; lines with
// fewer than two comma fields are skipped.
struct LandClassArea {
    QString code;
    QString area;
};
QList<LandClassArea> ParseLandClassAreaList(const QStringList& lines);

} // namespace kelvor::landuse
