#include "temp_file.h"

#include "sheet.h"

#include "routines/routines.h"
#include "platform/context.h"
#include "platform/errors.h"
#include "platform/paths.h"
#include "platform/text_file.h"

namespace kelvor::traverse {

namespace {

constexpr int HeaderLines = 16;
constexpr int CellWidth = 10;

} // namespace

QString tempFilePath()
{
    return paths::scratch(QStringLiteral("read.tmp"));
}

QString tempCellLine(const QString& text)
{
    const QString t = TrimBlanks(text);
    const qsizetype pad = t.size() < CellWidth ? CellWidth - t.size() : 1;
    return t + QString(pad, QLatin1Char(' '));
}

QStringList tempFileLines(const TraverseSheet& sheet)
{
    QStringList lines;
    lines << sheet.text5(108) << sheet.text5(109);
    for (int i = 0; i < TraverseSheet::KnownCells; ++i)
        lines << sheet.text1(i);
    const int cells = sheet.rowsInUse() * TraverseSheet::Columns;
    for (int m = 0; m < cells; ++m)
        lines << tempCellLine(sheet.text5(m));
    return lines;
}

std::optional<QStringList> checkTempFileLines(const QStringList& lines)
{
    // 16 header lines, then at least one cell; cells 0..109 at most.
    if (lines.size() <= 20 || lines.size() > HeaderLines + TraverseSheet::StationCells)
        return std::nullopt;
    return lines;
}

void loadTempFileLines(TraverseSheet& sheet, const QStringList& lines)
{
    for (int i = 0; i < TraverseSheet::KnownCells; ++i)
        sheet.setText1(i, QString());
    for (int k = 0; k < TraverseSheet::StationCells; ++k)
        sheet.setText5(k, QString());
    sheet.showAllRows();

    sheet.setText5(108, TrimBlanks(lines.value(0)));
    sheet.setText5(109, TrimBlanks(lines.value(1)));
    for (int i = 0; i < TraverseSheet::KnownCells; ++i)
        sheet.setText1(i, TrimBlanks(lines.value(2 + i)));
    // Lines 125 and 126, where present, land in the last station's cells.
    for (int m = 0; HeaderLines + m < lines.size() && m < TraverseSheet::StationCells; ++m)
        sheet.setText5(m, TrimBlanks(lines.at(HeaderLines + m)));
    sheet.hideRowsFromFirstBlankName(1);
}

void Command10_Click(Context& ctx)
{
    TraverseSheet* sheet = ctx.sheet();
    if (!sheet)
        return;
    if (sheet->text1(0).isEmpty() && sheet->text5(0).isEmpty()) {
        ctx.ui().message(QStringLiteral("数据格式的不正确性及不完整！不能保存。"), QStringLiteral("保存"),
                         Icon::Information);
        return;
    }
    sheet->hideRowsFromFirstBlankName(1);
    const QString path = tempFilePath();
    try {
        writeTextLines(path, tempFileLines(*sheet));
    } catch (const RunError&) {
        ctx.ui().message(QStringLiteral("错误！！"));
        return;
    }
    ctx.ui().message(QStringLiteral("临时文件存为:") + path + QStringLiteral("。"), QStringLiteral("成功保存"),
                     Icon::Information);
}

void Command11_Click(Context& ctx)
{
    TraverseSheet* sheet = ctx.sheet();
    if (!sheet)
        return;
    std::optional<QStringList> lines;
    try {
        lines = checkTempFileLines(readTextLines(tempFilePath()));
    } catch (const RunError&) {
        lines.reset();
    }
    if (!lines) {
        ctx.ui().message(QStringLiteral("格式不对或找不到该文件，请核对后再试"), emptyTitle(), Icon::Exclamation);
        return;
    }
    loadTempFileLines(*sheet, *lines);
}

} // namespace kelvor::traverse
