#include "sheet_rules.h"

#include "data_file.h"
#include "known_points.h"
#include "list_output.h"
#include "sheet.h"
#include "temp_file.h"

#include "routines/routines.h"
#include "platform/commands.h"
#include "platform/context.h"
#include "platform/errors.h"

namespace kelvor::traverse {

namespace {

constexpr int Cols = TraverseSheet::Columns;
constexpr int GridCells = TraverseSheet::Rows * TraverseSheet::Columns; // 108

SheetFocus focusKnown(int i, SheetFocus::Caret caret = SheetFocus::SelectAll)
{
    return {SheetFocus::Known, i, caret};
}

SheetFocus focusCell(int k, SheetFocus::Caret caret = SheetFocus::SelectAll)
{
    return {SheetFocus::Cell, k, caret};
}

SheetKeyEffect moveTo(const SheetFocus& f)
{
    return {f, true};
}

} // namespace

SheetFocus nextAfterKnown(int i)
{
    return i < TraverseSheet::KnownCells - 1 ? focusKnown(i + 1) : focusCell(0);
}

SheetFocus nextAfterCell(const TraverseSheet& sheet, int k)
{
    if (k < GridCells - 1 && sheet.cellVisible(k + 1))
        return focusCell(k + 1);
    if (k < GridCells)
        return focusCell(GridCells);
    if (k == GridCells)
        return focusCell(GridCells + 1);
    return {SheetFocus::ClearButton, -1, SheetFocus::SelectAll};
}

SheetKeyEffect knownBoxKey(TraverseSheet& sheet, int i, int key, bool shiftOnly)
{
    switch (key) {
    case vk::Delete:
        if (shiftOnly) {
            sheet.clearSheet();
            return {{}, true};
        }
        break;
    case vk::Down:
        if (i == 0 || i == 7)
            return moveTo(focusKnown(i + 3, SheetFocus::Start));
        break;
    case vk::Up:
        if (i == 3 || i == 10)
            return moveTo(focusKnown(i - 3, SheetFocus::Start));
        break;
    case vk::PageUp:
    case vk::PageDown:
        if (i == 0 || i == 3) {
            for (int c : {1, 2, 4, 5, 6})
                sheet.setText1(c, QString());
            return {{}, true};
        }
        if (i == 7 || i == 10) {
            for (int c : {8, 9, 11, 12, 13})
                sheet.setText1(c, QString());
            return {{}, true};
        }
        break;
    case vk::Left:
        if (shiftOnly && i > 0)
            return moveTo(focusKnown(i - 1));
        break;
    case vk::Right:
        if (shiftOnly && i < TraverseSheet::KnownCells - 1)
            return moveTo(focusKnown(i + 1));
        break;
    case vk::Enter:
        return moveTo(nextAfterKnown(i));
    default:
        break;
    }
    return {};
}

SheetKeyEffect cellKey(TraverseSheet& sheet, int k, int key, bool caretAtStart, bool caretAtEnd)
{
    const int F = sheet.firstHiddenCell();
    const auto moveIfShown = [&](int target, SheetFocus::Caret caret) -> SheetKeyEffect {
        if (target < 0 || target >= TraverseSheet::StationCells || !sheet.cellVisible(target))
            return {};
        return moveTo(focusCell(target, caret));
    };

    switch (key) {
    case vk::Left:
        if (k == 0 || !caretAtStart)
            return {};
        return moveIfShown(k - 1, SheetFocus::Start);
    case vk::Right:
        if (k == F - 1 || k == GridCells + 1 || !caretAtEnd)
            return {};
        return moveIfShown(k + 1, SheetFocus::End);
    case vk::Up:
        if (k - Cols < 0)
            return {};
        return moveIfShown(k - Cols, SheetFocus::Start);
    case vk::Down:
        if (k + Cols > F - 1)
            return {};
        return moveIfShown(k + Cols, SheetFocus::Start);
    case vk::Escape:
        sheet.setText5(k, QString());
        return {{}, true};
    case vk::Enter:
        break;
    default:
        return {};
    }

    // Enter: the sheet's fill-in help first, then on as with Tab, so a row
    // shown here takes the focus.
    if (k < GridCells) {
        const int c = k % Cols;
        if (c == 3 && k >= 12)
            sheet.setText5(k + 1, sheet.text5(k - 5)); // last sight's back instrument height
        if (c == 8 && k < GridCells - 1) {
            const int next = k / Cols + 1;
            sheet.setRedLabel(next + 1);
            sheet.setRowVisible(next, true);
        }
    }
    return moveTo(nextAfterCell(sheet, k));
}

void Command9_Click(Context& ctx)
{
    TraverseSheet* sheet = ctx.sheet();
    const Answer a = ctx.ui().message(QStringLiteral("确定要清除所有的数据吗？"), QStringLiteral("清除"),
                                      Icon::Exclamation, Buttons::YesNo);
    if (!sheet)
        return;
    if (a == Answer::Yes)
        sheet->clearSheet();
    if (sheet->redLabel() >= 1)
        sheet->setRedLabel(-1);
}

void Text21_DblClick(Context& ctx, int h)
{
    TraverseSheet* sheet = ctx.sheet();
    if (!sheet)
        return;
    int rows = TraverseSheet::Rows;
    for (int r = 0; r < TraverseSheet::Rows; ++r) {
        if (!sheet->cellVisible(r * Cols + 5)) {
            rows = r;
            break;
        }
    }
    if (h != 5 && h != 8)
        return;

    const QString answer = ctx.ui().input(QStringLiteral("请输入要改正的常数(区分正负号，单位为米)！！ "),
                                          QStringLiteral("常数"), QStringLiteral("0.01"));
    const std::optional<double> v = ParseNumber(answer);
    if (!v) {
        ctx.ui().message(QStringLiteral("错误的数据输入！！！"), QStringLiteral("提示"), Icon::Critical);
        return;
    }
    if (*v > 10)
        return;
    for (int r = 0; r < rows; ++r) {
        const int cell = r * Cols + h;
        const double a = LeadingNumber(TrimBlanks(sheet->text5(cell)));
        sheet->setText5(cell, addling(a + *v, 3));
    }
}

void shuijiqiqwijjobj_Click(Context& ctx)
{
    TraverseSheet* sheet = ctx.sheet();
    if (!sheet)
        return;
    QList<int> cells;
    for (int i = 0; i <= TraverseSheet::Rows; ++i)
        cells << i * Cols + 1; // ends at the last station's angle, cell 109
    for (int i = 0; i < TraverseSheet::Rows; ++i)
        cells << i * Cols + 3;
    for (int i = 0; i < TraverseSheet::Rows; ++i)
        cells << i * Cols + 6;
    for (int cell : cells) {
        try {
            // A typed angle is never emptied: no result keeps the text.
            if (const std::optional<QString> r = jjobj(sheet->text5(cell)))
                sheet->setText5(cell, *r);
        } catch (const RunError&) {
            // no decimal point: the cell stays as typed
        }
    }
}

void registerSheetCommands(CommandRegistry& registry)
{
    registry.add(QStringLiteral("Command9"), Command9_Click);
    registry.add(QStringLiteral("Command10"), Command10_Click);
    registry.add(QStringLiteral("Command11"), Command11_Click);
    registry.add(QStringLiteral("Command34"), Command34_Click);
    registry.add(QStringLiteral("newfile"), newfile_Click);
    registry.add(QStringLiteral("printsj"), printsj_Click);
    registry.add(QStringLiteral("Label39"), Label39_DblClick);
    registry.add(QStringLiteral("tiquyizhidianshuiju"), tiquyizhidianshuiju_Click);
    registry.add(QStringLiteral("shuijiqiqwijjobj"), shuijiqiqwijjobj_Click);
}

} // namespace kelvor::traverse
