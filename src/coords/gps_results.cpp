#include "gps_results.h"

#include "platform/common_dialog.h"
#include "routines/routines.h"
#include "cad/cad.h"
#include "platform/context.h"
#include "platform/errors.h"
#include "platform/paths.h"
#include "platform/text_file.h"

namespace kelvor::coords {

namespace {

const QString Marker = QStringLiteral("二维平差最后的结果");
constexpr int HeadingLines = 5;
constexpr int PointColumns = 20;

QString field(const QString& line, int n)
{
    return orEmpty(BlankField(line, n));
}

bool isPointLine(const QString& line)
{
    const QString head = line.left(PointColumns);
    for (QChar c : head) {
        if (c != QLatin1Char(' '))
            return true;
    }
    return false;
}

} // namespace

std::vector<GpsResultLine> readGpsAdjustmentResult(const QStringList& lines)
{
    std::vector<GpsResultLine> out;
    qsizetype i = 0;
    while (i < lines.size() && TrimBlanks(lines[i]) != Marker)
        ++i;
    for (i += 1 + HeadingLines; i < lines.size(); ++i) {
        const QString& line = lines[i];
        const QString t = TrimBlanks(line);
        if (t.isEmpty())
            break;
        GpsResultLine r;
        r.point = isPointLine(line);
        if (r.point) {
            r.name = field(t, 1);
            r.x = field(t, 2);
            r.y = field(t, 3);
            r.from = TrimBlanks(t.left(4));
        } else {
            r.to = TrimBlanks(t.right(4));
        }
        out.push_back(r);
    }
    return out;
}

QStringList gpsPlaneRows(const std::vector<GpsResultLine>& section)
{
    const QString pattern = QStringLiteral("#.000");
    const QString gap = QStringLiteral("   ");
    QStringList rows;
    for (const GpsResultLine& r : section) {
        if (r.point)
            rows << r.name + gap + FormatPattern(r.x, pattern) + gap + FormatPattern(r.y, pattern);
    }
    return rows;
}

std::vector<GpsBaseline> gpsBaselines(const std::vector<GpsResultLine>& section)
{
    std::vector<GpsBaseline> out;
    QString from;
    for (const GpsResultLine& r : section) {
        if (r.point)
            from = r.from;
        else
            out.push_back({from, r.to});
    }
    return out;
}

std::optional<ListedPoint> findListedPoint(const QStringList& list, const QString& name)
{
    for (const QString& row : list) {
        const QString t = TrimBlanks(row);
        if (field(t, 1) == name)
            return ListedPoint{field(t, 1), field(t, 2), field(t, 3)};
    }
    return std::nullopt;
}

QString baselineTraceLine(const GpsBaseline& b, const ListedPoint& from, const ListedPoint& to)
{
    const QString five(5, QLatin1Char(' '));
    return b.from + from.name + five + from.x + five + from.y + five + b.to + QStringLiteral("  ") + to.name
        + QString(7, QLatin1Char(' ')) + to.x + five + to.y;
}

namespace {

// The plane pass both commands make: the report chosen, read whole, and
// its point list written into watch.txt. Nothing when the dialog is
// cancelled, nor after a report that is empty or not text, which is named
// before anything is written; a report or watch.txt that cannot be read or
// written raises RunError.
std::optional<std::vector<GpsResultLine>> planePass(Context& ctx, QStringList* rows)
{
    const QString input = CommonDialog(ctx)
                              .setTitle(QStringLiteral("选择二维平差计算结果文件"))
                              .setFilter(QStringLiteral("数据文件|*.txt"))
                              .showOpen();
    if (TrimBlanks(input).isEmpty())
        return std::nullopt;
    QStringList lines;
    try {
        lines = readDataLines(input);
        if (TrimBlanks(lines.join(QString())).isEmpty())
            raise(err::BadFileFormat);
    } catch (const RunError& e) {
        if (e.number() != err::BadFileFormat)
            throw;
        ctx.ui().message(badDataText(input), QStringLiteral("错误"), Icon::Critical);
        return std::nullopt;
    }
    std::vector<GpsResultLine> section = readGpsAdjustmentResult(lines);
    *rows = gpsPlaneRows(section);
    writeTextLines(paths::scratch(QStringLiteral("watch.txt")), *rows);
    return section;
}

} // namespace

void dwar_gpsjx_pmcg_Click(Context& ctx)
{
    QStringList rows;
    try {
        if (!planePass(ctx, &rows))
            return;
    } catch (const RunError& e) {
        ctx.ui().message(QString::number(e.number()));
        return;
    }
    ctx.ui().message(QStringLiteral("平面成果输出到Watch.txt文件中！"), QStringLiteral("提示"));
}

void dwar_gpsjx_Click(Context& ctx)
{
    QStringList rows;
    std::optional<std::vector<GpsResultLine>> section;
    try {
        section = planePass(ctx, &rows);
    } catch (const RunError&) {
        return; // nothing to draw from a report that cannot be read
    }
    if (!section)
        return;
    cad::Application* app =
        cad::ConnectToAutoCAD(ctx, {cad::Forward::Visible, cad::Forward::Activate}, cad::ConnectFailure::Standard);
    if (!app)
        return;

    QStringList trace;
    int count = 0;
    for (const GpsBaseline& b : gpsBaselines(*section)) {
        ++count;
        const std::optional<ListedPoint> from = findListedPoint(rows, b.from);
        const std::optional<ListedPoint> to = findListedPoint(rows, b.to);
        if (!from || !to) {
            cad::attempt([&] {
                app->ActiveDocument().Utility().Prompt(QStringLiteral("基线") + b.from + QLatin1Char('-') + b.to
                                                       + QStringLiteral("的端点不在列表中\r\n"));
            });
            continue;
        }
        const double xf = LeadingNumber(from->x), yf = LeadingNumber(from->y);
        const double xt = LeadingNumber(to->x), yt = LeadingNumber(to->y);
        cad::attempt([&] { app->ZoomWindow({yf, xf, 0}, {yt, xt, 0}); });
        cad::attempt([&] { app->ActiveDocument().ModelSpace().AddLightWeightPolyline({yf, xf, yt, xt}); });
        trace << baselineTraceLine(b, *from, *to);
    }
    const QString tracePath = QStringLiteral("d:\\66.txt");
    cad::writeOrTell(*app, tracePath, [&] { writeTextLines(tracePath, trace); });
    cad::attempt([&] { app->ZoomExtents(); });
    cad::attempt([&] {
        app->ActiveDocument().Utility().Prompt(QStringLiteral("\r\n共处理") + QLatin1Char(' ') + QString::number(count)
                                               + QStringLiteral(" 条基线!"));
    });
    cad::attempt([&] { app->ActiveDocument().Regen(); });
    ctx.ui().message(QStringLiteral("已经完成操作！,生成Watch.txt坐标文件。"), QStringLiteral("提示"), Icon::Exclamation);
}

} // namespace kelvor::coords
