#include "landuse/area_exchange.h"

#include "routines/routines.h"
#include "cad/kit/routines.h"
#include "platform/context.h"
#include "platform/errors.h"
#include "platform/sheet/workbook.h"

#include <cmath>
#include <functional>
#include <optional>

namespace kelvor::landuse {
namespace {

int boxNumber(const QString& text)
{
    const double v = LeadingNumber(text);
    return std::isfinite(v) && std::fabs(v) < 1e9 ? int(std::lround(v)) : 0;
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
    const int first = boxNumber(boxes.firstRow);
    const int codeColumn = boxNumber(boxes.codeColumn);
    const int total = boxNumber(boxes.total);
    const int areaColumn = boxNumber(boxes.areaColumn);
    AreaLayout out;
    for (qint64 r = first; r <= qint64(first) + total && out.size() <= sheet::MaxRows; ++r)
        out.append({int(r), codeColumn, int(r), areaColumn});
    return out;
}

AreaLayout ExcelRowLayout(const RowLayoutBoxes& boxes)
{
    const int codeRow = boxNumber(boxes.codeRow);
    const int start = boxNumber(boxes.startColumn);
    const int end = ColumnFromLetters(boxes.endColumn);
    const int areaRow = boxNumber(boxes.areaRow);
    AreaLayout out;
    for (int c = start; end > 0 && c <= end; ++c)
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
