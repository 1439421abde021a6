#include "landuse/area_exchange.h"

#include "routines/routines.h"
#include "cad/kit/routines.h"
#include "platform/context.h"
#include "platform/errors.h"
#include "platform/sheet/workbook.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>

namespace kelvor::landuse {
namespace {

// A box as the number it holds, rounded; any size a double holds.
double boxNumber(const QString& text)
{
    return std::round(LeadingNumber(text));
}

// A row or column that stays the same over a layout's positions: off the
// sheet it addresses no cell, as 0 does, and the sheet refuses it.
int fixedIndex(const QString& text, int bound)
{
    const double v = boxNumber(text);
    return v >= 1 && v <= bound ? int(v) : 0;
}

// The indices first..last that lie on the sheet (1..bound); the others are
// no positions at all.
std::pair<int, int> onSheet(double first, double last, int bound)
{
    return {int(std::clamp(first, 1.0, bound + 1.0)), int(std::clamp(last, 0.0, double(bound)))};
}

// The cell's ordinary text; nothing when the sheet refuses it.
std::optional<QString> cellText(const ExcelApplication& sheet, int row, int column)
{
    try {
        return sheet::cellText(sheet.cell(row, column));
    } catch (const RunError&) {
        return std::nullopt;
    }
}

int letterValue(QChar ch)
{
    const QChar up = ch.toUpper();
    return up >= u'A' && up <= u'Z' ? up.unicode() - u'A' + 1 : 0;
}

} // namespace

int ColumnFromLetters(const QString& text)
{
    const QString t = TrimBlanks(text);
    if (t.size() == 1)
        return letterValue(t[0]);
    if (t.size() == 2 && letterValue(t[0]) && letterValue(t[1]))
        return 26 * letterValue(t[0]) + letterValue(t[1]);
    return 0;
}

AreaLayout ExcelColumnLayout(const ColumnLayoutBoxes& boxes)
{
    const double first = boxNumber(boxes.firstRow);
    const int codeColumn = fixedIndex(boxes.codeColumn, sheet::MaxColumns);
    const int areaColumn = fixedIndex(boxes.areaColumn, sheet::MaxColumns);
    // Worked out in doubles: a first row of -70000 and a total of 70010 end
    // on row 10, and a total of 99999999999 runs to the sheet's last row.
    const auto [from, to] = onSheet(first, first + boxNumber(boxes.total), sheet::MaxRows);
    AreaLayout out;
    for (int r = from; r <= to; ++r)
        out.append({r, codeColumn, r, areaColumn});
    return out;
}

AreaLayout ExcelRowLayout(const RowLayoutBoxes& boxes)
{
    const int codeRow = fixedIndex(boxes.codeRow, sheet::MaxRows);
    const int areaRow = fixedIndex(boxes.areaRow, sheet::MaxRows);
    const int end = ColumnFromLetters(boxes.endColumn);
    AreaLayout out;
    if (end <= 0)
        return out;
    const auto [from, to] = onSheet(boxNumber(boxes.startColumn), end, sheet::MaxColumns);
    for (int c = from; c <= to; ++c)
        out.append({codeRow, c, areaRow, c});
    return out;
}

void ClearAreaCells(ExcelApplication& sheet, const AreaLayout& layout)
{
    for (const AreaPosition& p : layout)
        cad::attempt([&] { sheet.setCell(p.areaRow, p.areaColumn, QString()); });
}

int PlaceLandClassArea(Context& ctx, ExcelApplication& sheet, const AreaLayout& layout, const QString& code,
                       const QString& area)
{
    const QString wanted = TrimBlanks(code);
    int written = 0;
    bool found = false;
    for (const AreaPosition& p : layout) {
        const std::optional<QString> held = cellText(sheet, p.codeRow, p.codeColumn);
        if (!held || TrimBlanks(*held) != wanted)
            continue;
        found = true;
        cad::attempt([&] {
            sheet.setCell(p.areaRow, p.areaColumn, area);
            ++written;
        });
    }
    if (!found)
        ctx.ui().message(QStringLiteral("地类：") + code + QStringLiteral("在Excel中没有！"));
    return written;
}

QStringList LandClassAreaLines(const ExcelApplication& sheet, const AreaLayout& layout)
{
    QStringList lines;
    for (const AreaPosition& p : layout) {
        const std::optional<QString> area = cellText(sheet, p.areaRow, p.areaColumn);
        if (!area || LeadingNumber(*area) == 0)
            continue;
        lines << cellText(sheet, p.codeRow, p.codeColumn).value_or(QString()) + u',' + *area;
    }
    return lines;
}

QList<LandClassArea> ParseLandClassAreaList(const QStringList& lines)
{
    QList<LandClassArea> out;
    for (const QString& line : lines) {
        if (line.count(u',') < 1)
            continue;
        out.append({CommaField(line, 1), CommaField(line, 2)});
    }
    return out;
}

} // namespace kelvor::landuse
