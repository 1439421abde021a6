#include "report_loader.h"

#include "sheet.h"

#include "platform/common_dialog.h"
#include "routines/routines.h"
#include "platform/context.h"
#include "platform/errors.h"
#include "platform/text_file.h"

#include <array>
#include <optional>

namespace kelvor::traverse {

namespace {

const QString kKnownMarker =
    QStringLiteral("--------------------------------已知点数据----------------------------------");
const QString kObservationMarker = QStringLiteral("[ Name ]    [   β   ]  [  S  ]");
const QString kVerticalMarker =
    QStringLiteral("[ Name ]   [ S ]      [V往]      [i]      [ ν ]     [V返]      [i]      [ν]");
const QString kOpenFailed = QStringLiteral("文件打开错误！,请检查是否为正确的导线文件。");

struct NotAReport {};

// What a report puts into the sheet; cells without a value are not written.
struct Parsed {
    std::array<std::optional<QString>, TraverseSheet::KnownCells> text1;
    std::array<std::optional<QString>, TraverseSheet::StationCells> text5;
};

// Position of a "X="-style token that starts the line or follows a blank,
// from `from` on; -1 when none.
qsizetype findToken(const QString& t, const QString& token, qsizetype from)
{
    qsizetype p = t.indexOf(token, from);
    while (p > 0 && t[p - 1] != QLatin1Char(' '))
        p = t.indexOf(token, p + 1);
    return p;
}

// The value after a token, up to the next blank. Returns the position after it.
qsizetype valueAfter(const QString& t, qsizetype tokenPos, QString& value)
{
    const qsizetype start = tokenPos + 2;
    qsizetype end = t.indexOf(QLatin1Char(' '), start);
    if (end < 0)
        end = t.size();
    value = t.mid(start, end - start);
    return end;
}

// name, X, Y and (for the two stations) H of a known-point line.
void parseKnown(const QString& line, bool withHeight, Parsed& out, int nameCell, int xCell, int yCell, int hCell)
{
    const QString t = TrimBlanks(line);
    const qsizetype x = findToken(t, QStringLiteral("X="), 0);
    if (x < 0)
        throw NotAReport{};
    QString xv, yv, hv;
    qsizetype pos = valueAfter(t, x, xv);
    const qsizetype y = findToken(t, QStringLiteral("Y="), pos);
    if (y < 0)
        throw NotAReport{};
    pos = valueAfter(t, y, yv);
    if (withHeight) {
        const qsizetype h = findToken(t, QStringLiteral("H="), pos);
        if (h < 0)
            throw NotAReport{};
        valueAfter(t, h, hv);
    }
    out.text1[size_t(nameCell)] = TrimBlanks(t.left(x));
    out.text1[size_t(xCell)] = xv;
    out.text1[size_t(yCell)] = yv;
    if (withHeight)
        out.text1[size_t(hCell)] = hv;
}

const QString& lineAt(const QStringList& lines, qsizetype i)
{
    if (i >= lines.size())
        throw NotAReport{}; // read past the end of the file
    return lines[i];
}

QString verticalAngle(const QString& window)
{
    return FormatFixed(LeadingNumber(window), 4, 0);
}

Parsed parse(const QStringList& lines)
{
    if (lines.isEmpty())
        throw NotAReport{};
    Parsed out;

    // Known points: a later block loads over an earlier one.
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (TrimBlanks(lines[i]) != kKnownMarker)
            continue;
        const QString b = lineAt(lines, i + 2);
        const QString a = lineAt(lines, i + 3);
        const QString c = lineAt(lines, i + 4);
        const QString d = lineAt(lines, i + 5);
        parseKnown(b, true, out, 3, 4, 5, 6);
        parseKnown(c, true, out, 10, 11, 12, 13);
        parseKnown(a, false, out, 0, 1, 2, -1);
        parseKnown(d, false, out, 7, 8, 9, -1);
        i += 5;
    }

    // Observation rows: name, angle, distance by window; the first row
    // without a distance is the last station.
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (TrimBlanks(lines[i]) != kObservationMarker)
            continue;
        int r = 0;
        for (;;) {
            const QString t = TrimBlanks(lineAt(lines, ++i));
            if (t.isEmpty()) {
                out.text5[108] = QString();
                out.text5[109] = QString();
                break;
            }
            const QString name = t.mid(0, 10);
            const QString angle = t.mid(10, 12);
            const QString distance = TrimBlanks(t.mid(22, 12));
            if (distance.isEmpty()) {
                out.text5[108] = name;
                out.text5[109] = angle;
                break;
            }
            if (r == TraverseSheet::Rows)
                throw NotAReport{}; // more stations than the sheet holds
            out.text5[size_t(9 * r)] = TrimBlanks(name);
            out.text5[size_t(9 * r + 1)] = TrimBlanks(angle);
            out.text5[size_t(9 * r + 2)] = distance;
            ++r;
        }
    }

    // Vertical data: the first table only; its first row (station 1) has no leg.
    qsizetype i = 0;
    while (TrimBlanks(lineAt(lines, i)) != kVerticalMarker)
        ++i;
    lineAt(lines, ++i);
    int r = 0;
    for (++i; i < lines.size(); ++i) {
        const QString t = TrimBlanks(lines[i]);
        if (t.isEmpty())
            break;
        if (r == TraverseSheet::Rows)
            throw NotAReport{};
        out.text5[size_t(9 * r + 3)] = verticalAngle(t.mid(18, 11));
        out.text5[size_t(9 * r + 4)] = TrimBlanks(t.mid(28, 10));
        out.text5[size_t(9 * r + 5)] = TrimBlanks(t.mid(39, 9));
        out.text5[size_t(9 * r + 6)] = verticalAngle(t.mid(49, 11));
        out.text5[size_t(9 * r + 7)] = TrimBlanks(t.mid(59, 9));
        out.text5[size_t(9 * r + 8)] = TrimBlanks(t.mid(67, 13));
        ++r;
    }
    return out;
}

void showLoadFailure(Context& ctx)
{
    ctx.ui().message(kOpenFailed, QStringLiteral("提示"), Icon::Critical);
}

} // namespace

LoadFailure LoadTraverseReport(TraverseSheet& sheet, const QString& path)
{
    QStringList lines;
    try {
        lines = readTextLines(path);
    } catch (const RunError& e) {
        return e.number() == err::FileNotFound || e.number() == err::PathNotFound ? LoadFailure::Missing
                                                                                   : LoadFailure::Other;
    }
    Parsed parsed;
    try {
        parsed = parse(lines);
    } catch (const NotAReport&) {
        return LoadFailure::Other;
    }

    for (int i = 0; i < TraverseSheet::KnownCells; ++i) {
        if (parsed.text1[size_t(i)])
            sheet.setText1(i, *parsed.text1[size_t(i)]);
    }
    // Rows of an earlier traverse must not survive below a shorter report.
    for (int i = 0; i < TraverseSheet::StationCells; ++i)
        sheet.setText5(i, parsed.text5[size_t(i)].value_or(QString()));
    return LoadFailure::None;
}

void opencommandfile(Context& ctx, const QString& commandLine, const std::function<void()>& beforeMessage,
                     const std::function<void()>& afterMessage)
{
    if (TrimBlanks(commandLine).isEmpty() || !ctx.sheet())
        return;
    const QString path = commandLine.size() >= 2 ? commandLine.mid(1, commandLine.size() - 2) : QString();
    if (LoadTraverseReport(*ctx.sheet(), path) == LoadFailure::None)
        return;
    if (beforeMessage)
        beforeMessage();
    showLoadFailure(ctx);
    if (afterMessage)
        afterMessage();
}

void filelist_Click(Context& ctx)
{
    if (!ctx.sheet())
        return;
    switch (LoadTraverseReport(*ctx.sheet(), ctx.state().recentReport)) {
    case LoadFailure::None:
        break;
    case LoadFailure::Missing:
        ctx.ui().message(QStringLiteral("找不到该文件！"), QStringLiteral("错误"), Icon::Critical);
        break;
    case LoadFailure::Other:
        ctx.ui().message(QStringLiteral("未知的错误。"), QStringLiteral("错误"), Icon::Critical);
        break;
    }
}

void opendxfile_Click(Context& ctx)
{
    // No title of its own: the shared dialog shows the one the last command left.
    CommonDialog dialog(ctx);
    dialog.setFilter(QStringLiteral("平差结果文件(*.CG)|*.CG")).setFileName(QString());
    const QString path = dialog.showOpen();
    if (TrimBlanks(path).isEmpty())
        return;
    ctx.state().recentReport = path;
    ctx.settings().WriteSetting(QStringLiteral("Savelist1="), path);
    if (!ctx.sheet() || LoadTraverseReport(*ctx.sheet(), path) != LoadFailure::None)
        showLoadFailure(ctx);
}

} // namespace kelvor::traverse
