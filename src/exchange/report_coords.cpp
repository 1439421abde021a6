#include "report_coords.h"

#include "platform/common_dialog.h"
#include "routines/routines.h"
#include "platform/context.h"
#include "platform/errors.h"
#include "platform/paths.h"
#include "platform/text_file.h"

#include <array>
#include <cmath>

namespace kelvor::exchange {

const QString PlaneTableUnits =
    QStringLiteral("Name       (m)       (mm)     (m)       (mm)        (m)            (m)");
const QString HeightTableUnits =
    QStringLiteral("Name       (m)     (mm)       (m)       (m)      (m)      (mm)      (m)");

namespace {

constexpr int MaxRows = 20;

struct TableRows {
    std::array<QString, MaxRows + 1> rows; // 1-based, as the rows are counted
    int kept = 0; // rows before the end station; 0 when no table was found
};

// Reads the report to its end; every unit line starts the table again.
TableRows scanTable(const QString& path, const QString& unitLine)
{
    TextReader reader(path);
    TableRows table;
    bool found = false;
    int k = 0;
    do {
        const QString line = reader.readLine();
        if (TrimBlanks(line) != unitLine)
            continue;
        found = true;
        reader.readLine(); // the start station, a known point
        for (k = 1; k <= MaxRows; ++k) {
            const QString row = reader.readLine();
            if (TrimBlanks(row).isEmpty())
                break;
            table.rows[k] = row;
        }
    } while (!reader.atEnd());
    // The last row stored is the end station, also a known point.
    table.kept = found ? k - 2 : 0;
    return table;
}

// The settings hold the decimals as text; a fraction counts as its nearest
// whole number, as the pattern's zeros are counted.
int decimals(double n)
{
    return n > 0 ? int(std::lround(n)) : 0;
}

} // namespace

QList<ReportPoint> readReportPoints(const QString& path)
{
    const TableRows plane = scanTable(path, PlaneTableUnits);
    QList<ReportPoint> points;
    for (int k = 1; k <= plane.kept; ++k) {
        const QString& row = plane.rows[k];
        points.append(
            {TrimBlanks(row.mid(0, 10)), TrimBlanks(row.mid(48, 17)), TrimBlanks(row.mid(64, 16)), QString()});
    }
    const TableRows height = scanTable(path, HeightTableUnits);
    for (int k = 1; k <= points.size(); ++k)
        points[k - 1].h = TrimBlanks(height.rows[k]).right(10);
    return points;
}

QString reportPointLine(const ReportPoint& p, double pmDecimals, double gcDecimals)
{
    const int pm = decimals(pmDecimals);
    return PadRight(p.name, 10) + PadRight(FormatFixed(p.x, pm, 0), 17) + PadRight(FormatFixed(p.y, pm, 0), 15)
        + FormatFixed(p.h, decimals(gcDecimals), 0);
}

void batoutcgb_Click(Context& ctx)
{
    CommonDialog dialog(ctx);
    dialog.setTitle(QStringLiteral("选择多个成果文件生成成果表"))
        .setFilter(QStringLiteral("成果文件(*.cg)|*.cg"))
        .setMultiSelect(true);
    QStringList reports;
    for (const QString& p : dialog.showOpenFiles()) {
        if (!TrimBlanks(p).isEmpty())
            reports.append(p);
    }
    if (reports.isEmpty())
        return;

    const QString watch = paths::scratch(QStringLiteral("watch.txt"));
    TextWriter out(watch);
    try {
        for (const QString& report : reports) {
            const QList<ReportPoint> points = readReportPoints(report);
            // Read afresh for every report, as single-precision numbers.
            const double dPM = float(LeadingNumber(ctx.setting(QStringLiteral("QW_PM="))));
            const double dGC = float(LeadingNumber(ctx.setting(QStringLiteral("QW_GC="))));
            for (const ReportPoint& p : points)
                out.writeLine(reportPointLine(p, dPM, dGC));
        }
        out.commit();
    } catch (const RunError& e) {
        try {
            out.commit(); // the list so far replaces the old one, but is not shown
        } catch (const RunError&) {
        }
        ctx.ui().message(QStringLiteral("错误号:") + SignedNumberText(e.number()), QStringLiteral("未知错误"),
                         Icon::Critical);
        return;
    }
    ctx.ui().openTextWindow(watch);
}

} // namespace kelvor::exchange
