#include "landuse/boundary_table.h"

#include "cad/cad.h"
#include "platform/common_dialog.h"
#include "platform/context.h"
#include "platform/paths.h"
#include "platform/text_file.h"
#include "routines/routines.h"

#include <cmath>

namespace kelvor::landuse {

using namespace cad;

const QString kPlotDevice = QStringLiteral("HP Deskjet 5700 Series");

namespace {

constexpr double kRowHeight = 3;
constexpr double kTextHeight = 1.2;
constexpr double kPageHeight = 148.5;

QString shown(double v)
{
    return FormatPattern(v, QStringLiteral("0.000"));
}

QString pageNumberText(double page)
{
    return page >= 0 ? QLatin1Char(' ') + NumberText(page) : NumberText(page);
}

// The cells and texts of one row; n counts lines from 1.
void addRow(BoundaryTable& t, const Point& o, int r, int n, const TablePoint& p, const QString& side)
{
    const double top = o.y - kRowHeight * r;
    t.cells.push_back({{o.x, top, 0}, 9});
    t.cells.push_back({{o.x + 9, top, 0}, 19});
    t.cells.push_back({{o.x + 28, top, 0}, 19});
    // The side cell straddles this row and the next, whose side it holds.
    if (n % kRowsPerPage != 0)
        t.cells.push_back({{o.x + 47, top - 1.5, 0}, 14});
    t.cells.push_back({{o.x + 61, top, 0}, 14});
    t.texts.push_back({{o.x + 2.5, top - 2, 0}, p.name});
    t.texts.push_back({{o.x + 13, top - 2, 0}, shown(p.x)});
    t.texts.push_back({{o.x + 32, top - 2, 0}, shown(p.y)});
    if (!side.isEmpty())
        t.texts.push_back({{o.x + 51, top - 0.5, 0}, side});
}

QString corner(double x, double y)
{
    return NumberText(x) + QLatin1Char(',') + NumberText(y);
}

// The 14 answers of -PLOT for one window.
QStringList plotBlock(double x1, double y1, double x2, double y2)
{
    const QString cr = QStringLiteral("\r");
    return {QStringLiteral("-PLOT Y "), QStringLiteral("model"), kPlotDevice, QString(), QStringLiteral("m"),
            QStringLiteral("p"), QStringLiteral(" W"), corner(x1, y1), corner(x2, y2) + cr, QStringLiteral("0,10"),
            cr, cr, cr, QStringLiteral("Y")};
}

} // namespace

std::optional<TablePoint> tablePointOf(const QString& line)
{
    if (line.count(QLatin1Char(',')) < 2)
        return std::nullopt;
    const std::optional<double> x = ParseNumber(CommaField(line, 2));
    const std::optional<double> y = ParseNumber(CommaField(line, 3));
    if (!x || !y || !std::isfinite(*x) || !std::isfinite(*y))
        return std::nullopt;
    return TablePoint{CommaField(line, 1), *x, *y};
}

std::vector<TablePoint> readBoundaryPointFile(const QString& path)
{
    std::vector<TablePoint> out;
    TextReader in(path);
    while (!in.atEnd())
        if (std::optional<TablePoint> p = tablePointOf(in.readLine()))
            out.push_back(*p);
    return out;
}

BoundaryTable boundaryTable(const std::vector<TablePoint>& points, const Point& origin, double firstPage)
{
    BoundaryTable t;
    Point page{origin.x, origin.y, 0};
    t.pages.push_back(page);
    double lastX = 0, lastY = 0;
    for (size_t i = 0; i < points.size(); ++i) {
        const int n = int(i) + 1;
        const int r = int(i % kRowsPerPage);
        const int index = int(i / kRowsPerPage);
        if (r == 0 && index > 0) {
            page.x += kPageStep;
            t.pages.push_back(page);
        }
        // Sides come from the values as the table shows them.
        const double x = ParseNumber(shown(points[i].x)).value_or(points[i].x);
        const double y = ParseNumber(shown(points[i].y)).value_or(points[i].y);
        const QString side = n > 1 ? shown(std::hypot(x - lastX, y - lastY)) : QString();
        addRow(t, page, r, n, points[i], side);
        if (r == 0)
            t.texts.push_back({{page.x + 36, page.y - 126, 0}, pageNumberText(firstPage + index)});
        lastX = x;
        lastY = y;
    }
    return t;
}

void jzdbgxxxxx_Click(Context& ctx)
{
    const QString templ = CommonDialog(ctx)
                              .setTitle(QStringLiteral("界址点坐标表模板文件"))
                              .setFilter(QStringLiteral("模板文件(*.DWG)|*.DWG;*.DXF"))
                              .showOpen();
    if (TrimBlanks(templ).isEmpty())
        return;
    const QString coordinates = CommonDialog(ctx)
                                    .setTitle(QStringLiteral("界址点坐标文件"))
                                    .setFilter(QStringLiteral("坐标文件(*.txt)|*.txt"))
                                    .showOpen();
    if (TrimBlanks(coordinates).isEmpty())
        return;
    // an empty or binary file would only leave a table without content
    for (const auto& [file, read] : {std::pair{templ, drawingPath(templ)}, std::pair{coordinates, coordinates}})
        if (!holdsTextData(read)) {
            ctx.ui().message(badDataText(file), QStringLiteral("错误"), Icon::Critical);
            return;
        }
    Document* doc = ConnectToDrawing(ctx, {Forward::Activate}, ConnectFailure::Silent);
    if (!doc)
        return;
    Utility& u = doc->Utility();
    Point start;
    if (!attempt([&] { start = u.GetPoint(QStringLiteral("\r\n请输入起点：")); }) || (start.x == 0 && start.y == 0))
        return;
    double firstPage = 0;
    attempt([&] { firstPage = u.GetReal(QStringLiteral("输入起始页码:")); });
    if (firstPage == 0)
        return;
    std::vector<TablePoint> points;
    attempt([&] { points = readBoundaryPointFile(coordinates); });
    const BoundaryTable table = boundaryTable(points, start, firstPage);
    Block& ms = doc->ModelSpace();
    for (const Point& p : table.pages)
        attempt([&] { ms.InsertBlock(p, templ, 1, 1, 1, 0); });
    for (const TableCell& c : table.cells)
        attempt([&] { addbox(ctx, c.corner, float(c.width), float(kRowHeight)); });
    for (const TableText& t : table.texts)
        attempt([&] { ms.AddText(t.text, t.at, kTextHeight); });
    attempt([&] { u.Prompt(QStringLiteral("\r\n程序运行结束!")); });
}

PlotPages plotPages(const Pt2& p1, const Pt2& pn, int copies)
{
    return {std::floor(std::hypot(pn.x - p1.x, pn.y - p1.y) / kPageStep) + 1, copies};
}

bool PlotPages::tooMany() const
{
    // A distance too large for a number has no page count.
    if (!(pages <= double(MaxCountFromFigures)))
        return true;
    return copies >= 1 && double(copies) * pages > double(MaxCountFromFigures);
}

QStringList plotScriptLines(const Pt2& p1, const Pt2& pn, int copies, bool lastFirst)
{
    const PlotPages count = plotPages(p1, pn, copies);
    if (count.tooMany())
        return {};
    const std::int64_t pages = std::int64_t(count.pages);
    QStringList lines;
    for (int copy = 1; copy <= copies; ++copy) {
        for (std::int64_t j = 1; j <= pages; ++j) {
            const double x1 = lastFirst ? pn.x - kPageStep * double(j - 1) : p1.x + kPageStep * double(j - 1);
            const double x2 = lastFirst ? pn.x - kPageStep * double(j - 2) : p1.x + kPageStep * double(j);
            lines << plotBlock(x1, p1.y, x2, p1.y - kPageHeight);
        }
    }
    return lines;
}

QString tooManyPagesText(const Pt2& p1, const Pt2& pn, int copies)
{
    const PlotPages count = plotPages(p1, pn, copies);
    return QStringLiteral("打印页数过多：第一页左上角 (%1,%2) 至最后页左上角 (%3,%4)，需 %5 页 × %6 份，超过 %7 页，未生成文件。")
        .arg(NumberText(p1.x), NumberText(p1.y), NumberText(pn.x), NumberText(pn.y), NumberText(count.pages),
             QString::number(copies), QString::number(MaxCountFromFigures));
}

QString jzdScrPath()
{
    return paths::programDir() + QStringLiteral("/jzd.scr");
}

void jzdtoprints_Click(Context& ctx)
{
    Document* doc = ConnectToDrawing(ctx, {Forward::Activate}, ConnectFailure::Silent);
    if (!doc)
        return;
    Utility& u = doc->Utility();
    Point p1, pn;
    if (!attempt([&] { p1 = u.GetPoint(QStringLiteral("第一页左上角:")); })
        || !attempt([&] { pn = u.GetPoint(QStringLiteral("最后页左上角:")); }))
        return;
    int copies = 1;
    attempt([&] { copies = u.GetInteger(QStringLiteral("打印份数<1>:")); });
    QString order;
    attempt([&] { order = u.GetString(false, QStringLiteral("是否顺序排列[Y/N]<Y>:")); });
    // Only N plots the first page first; any other answer takes the default.
    const bool lastFirst = order.compare(QLatin1String("N"), Qt::CaseInsensitive) != 0;
    if (plotPages({p1.x, p1.y}, {pn.x, pn.y}, copies).tooMany()) {
        attempt([&] { u.Prompt(tooManyPagesText({p1.x, p1.y}, {pn.x, pn.y}, copies)); });
        return;
    }
    const QString path = jzdScrPath();
    const QStringList lines = plotScriptLines({p1.x, p1.y}, {pn.x, pn.y}, copies, lastFirst);
    if (!attempt([&] { writeTextLines(path, lines); })) {
        attempt([&] { u.Prompt(QStringLiteral("不能建立文件：") + path); });
        return;
    }
    attempt([&] { u.Prompt(QStringLiteral("已经生成文件(调用命令[Script])：") + path); });
}

} // namespace kelvor::landuse
