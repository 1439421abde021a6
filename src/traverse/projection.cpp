#include "projection.h"

#include "sheet.h"

#include "routines/routines.h"
#include "platform/context.h"
#include "platform/errors.h"
#include "platform/paths.h"
#include "platform/text_file.h"

namespace kelvor::traverse {

namespace {

constexpr double kRm = 6363.7;

// Puts an item at a 1-based column; a line already past it moves the item
// to the same column of a new line.
void placeAt(QStringList& lines, int column, const QString& item)
{
    QString& line = lines.last();
    if (line.size() >= column) {
        lines << QString(column - 1, QLatin1Char(' ')) + item;
        return;
    }
    line += QString(column - 1 - line.size(), QLatin1Char(' ')) + item;
}

QString dashes() { return QString(68, QLatin1Char('-')); }

} // namespace

double projectedDistance(double D, double y0, double y1)
{
    const double ym = (y0 / 1000 + y1 / 1000) / 2 - 500;
    return D * (1 + ym * ym / (2 * kRm * kRm));
}

bool computeProjection(const TraverseSheet& sheet, const QStringList& watch, ProjectionResult& result)
{
    const int rows = sheet.rowsInUse();
    if (watch.size() != rows + 1)
        return false;
    for (int k = 0; k < watch.size(); ++k) {
        const QString expected = TrimBlanks(k < rows ? sheet.text5(9 * k) : sheet.text5(108));
        if (orEmpty(BlankField(watch[k], 1)) != expected || expected.isEmpty())
            return false;
    }

    std::vector<double> y;
    for (const QString& line : watch)
        y.push_back(StrictNumber(orEmpty(BlankField(line, 3))));

    QStringList& L = result.report;
    L << QStringLiteral("成果报告：");
    L << QStringLiteral("--------------------------边 长 投 影 改 化 ------------------------");
    L << QString();
    placeAt(L, 1, QStringLiteral("     方  向"));
    placeAt(L, 20, QStringLiteral("( Y0 )"));
    placeAt(L, 31, QStringLiteral("( Y1 )"));
    placeAt(L, 42, QStringLiteral("( D )"));
    placeAt(L, 52, QStringLiteral("( Do )   ( v )"));

    result.distances.clear();
    for (int k = 0; k + 1 < watch.size(); ++k) {
        const double D = LeadingNumber(sheet.text5(9 * k + 2));
        const double Do = projectedDistance(D, y[size_t(k)], y[size_t(k + 1)]);
        const QString DoText = FormatPattern(Do, QStringLiteral("###.000"));
        result.distances.push_back(DoText);

        const QString next = k + 1 < rows ? sheet.text5(9 * (k + 1)) : TrimBlanks(sheet.text5(108));
        L << QString();
        placeAt(L, 1, sheet.text5(9 * k));
        placeAt(L, 8, QStringLiteral("->"));
        placeAt(L, 12, next);
        placeAt(L, 18,
                QStringLiteral("   ") + FormatPattern(y[size_t(k)], QStringLiteral("0.0")) + QStringLiteral("   ")
                    + FormatPattern(y[size_t(k + 1)], QStringLiteral("0.0")) + QStringLiteral("   ")
                    + FormatPattern(D, QStringLiteral("0.000")) + QStringLiteral("   ") + DoText
                    + QStringLiteral("  ")
                    + FormatPattern(D - LeadingNumber(DoText), QStringLiteral("0.000")));
    }
    L << dashes();
    L << QStringLiteral("计算公式：Do=D*(1+((Y1+Y2)/2-500)^2)/(2*Rm^2))");
    L << QStringLiteral("          D:实测平距 Do:改正后平距 Rm=6363.700 v:边长改正量(单位:米)");
    L << QStringLiteral("          Y0、Y1为两点的概略Y坐标，以公里为单位计算");
    L << dashes();
    return true;
}

void bianchangtaoyinggai_Click(Context& ctx)
{
    Ui& ui = ctx.ui();
    const QString question = QStringLiteral("在进行投高斯投影改化前需使用“导线平差”计算后才能进行，是否继续？")
                             + QStringLiteral("\r\n") + QStringLiteral("计算公式：Do=D*(1+((Y1+Y2)/2-500)^2)/(2*Rm^2))")
                             + QStringLiteral("\r\n")
                             + QStringLiteral("D:实测平距 Do:改正后平距 Rm=6363.700  Y1、Y2以公里为单位");
    if (ui.message(question, QStringLiteral("重要提示"), Icon::Critical, Buttons::YesNo) != Answer::Yes)
        return;
    TraverseSheet* sheet = ctx.sheet();
    if (!sheet)
        return;
    try {
        const QString watchPath = paths::scratch(QStringLiteral("watch.txt"));
        const QStringList watch = readTextLines(watchPath);
        ProjectionResult result;
        if (!computeProjection(*sheet, watch, result)) {
            ui.message(QStringLiteral("watch.txt 中的点与导线表的测站不一致，请先进行“导线平差”计算！"),
                       QStringLiteral("错误"), Icon::Critical);
            return;
        }
        writeTextLines(QStringLiteral("d:\\bak.txt"), result.report);
        writeTextLines(watchPath, result.report);
        for (size_t k = 0; k < result.distances.size(); ++k) {
            sheet->setText5(int(9 * k + 2), result.distances[k]);
            sheet->setCellRed(int(9 * k + 2), true);
        }
        ui.openTextWindow(watchPath);
    } catch (const RunError& e) {
        ui.message(QStringLiteral("错误号：") + SignedNumberText(e.number()), QStringLiteral("错误"), Icon::Critical);
    }
}

void distgsty_Click(Context& ctx)
{
    bianchangtaoyinggai_Click(ctx);
}

} // namespace kelvor::traverse
