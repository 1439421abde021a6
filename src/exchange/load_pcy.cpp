#include "load_pcy.h"

#include "loaders_commands.h"
#include "pcy_tools.h"

#include "routines/routines.h"
#include "platform/context.h"
#include "platform/errors.h"
#include "platform/text_file.h"
#include "traverse/sheet.h"

#include <cmath>
#include <optional>

namespace kelvor::exchange {

namespace {

using traverse::TraverseSheet;

constexpr int Columns = TraverseSheet::Columns;

// Field n of an observation line; none when the line has fewer fields.
std::optional<QString> field(const QString& line, int n)
{
    try {
        return CommaField(line, n);
    } catch (const RunError&) {
        return std::nullopt;
    }
}

// A field the line lacks leaves its cell as it was; cells past the sheet
// are dropped by the sheet itself.
void put(TraverseSheet& sheet, int cell, const std::optional<QString>& value)
{
    if (value)
        sheet.setText5(cell, *value);
}

void putKnown(TraverseSheet& sheet, int cell, const std::optional<QString>& value)
{
    if (value)
        sheet.setText1(cell, *value);
}

// Field 6 carries the slope distance of a sight; the line then fills the
// Distance of the next row, whether or not it can be reduced.
void takeDistance(TraverseSheet& sheet, const QString& line, int& m, Ui* ui)
{
    const std::optional<QString> slope = field(line, 6);
    if (!slope || slope->isEmpty())
        return;
    if (const std::optional<QString> vertical = field(line, 7)) {
        const QString text = reducedPcyDistance(*slope, *vertical, ui);
        if (!text.isEmpty())
            sheet.setText5(m * Columns + 2, text);
    }
    ++m;
}

} // namespace

QString reducedPcyDistance(const QString& slope, const QString& vertical, Ui* ui)
{
    const double degrees = orZero(DmsToDegrees(vertical, ui));
    const std::optional<double> s = ParseNumber(slope);
    if (!s)
        return QString();
    return FormatPattern(*s * std::cos(degrees * kPi15 / 180), QStringLiteral(".000"));
}

int fillSheetFromPcy(TraverseSheet& sheet, const QStringList& lines, Ui* ui)
{
    qsizetype start = 0;
    while (start < lines.size() && TrimBlanks(lines[start]) != QLatin1String("[OBSER]"))
        ++start;
    QStringList observations;
    for (qsizetype i = start + 1; i < lines.size(); ++i) {
        if (!TrimBlanks(lines[i]).isEmpty())
            observations.append(lines[i]);
    }

    const int pairs = int(observations.size() / 2);
    int m = 0;
    for (int k = 0; k < pairs; ++k) {
        const QString& a = observations[2 * k];
        const QString& b = observations[2 * k + 1];
        if (k == 0) {
            putKnown(sheet, 3, field(a, 1));
            putKnown(sheet, 0, field(a, 2));
        }
        const int row = k * Columns;
        put(sheet, row, field(b, 1));
        put(sheet, row + 1, field(b, 3));
        takeDistance(sheet, a, m, ui);
        takeDistance(sheet, b, m, ui);
        if (k >= 1) {
            const int back = (k - 1) * Columns;
            put(sheet, back + 6, field(a, 7));
            put(sheet, back + 7, field(a, 8));
            put(sheet, back + 8, field(a, 9));
        }
        put(sheet, row + 3, field(b, 7));
        put(sheet, row + 4, field(b, 8));
        put(sheet, row + 5, field(b, 9));
    }
    if (pairs == 0)
        return 0;

    const QString& lastForward = observations[2 * pairs - 1];
    putKnown(sheet, 10, field(lastForward, 1));
    putKnown(sheet, 7, field(lastForward, 2));

    moveToLastStation(sheet, pairs);
    return pairs;
}

void APPLOADPCY_Click(Context& ctx)
{
    const QString path =
        chooseOneFile(ctx, QStringLiteral("选择南方控制精灵数据"), QStringLiteral("文本文件(*.txt)|*.txt"));
    if (path.isEmpty())
        return;
    if (TraverseSheet* sheet = ctx.sheet()) {
        QStringList lines;
        try {
            BusyCursor busy(ctx.ui());
            lines = readTextLines(path);
        } catch (const RunError&) {
            // An unreadable file changes no cell; the lookup still runs.
        }
        fillSheetFromPcy(*sheet, lines, &ctx.ui());
    }
    runKnownPointLookup(ctx);
}

void callcassdx_Click(Context& ctx)
{
    APPLOADPCY_Click(ctx);
}

} // namespace kelvor::exchange
