#include "routes.h"

#include "platform/common_dialog.h"
#include "routines/routines.h"
#include "cad/cad.h"
#include "platform/context.h"
#include "platform/errors.h"
#include "platform/text_file.h"

namespace kelvor::coords {

namespace {

void plotRoute(cad::Application& app, const std::vector<RoutePoint>& points, double height)
{
    const RoutePoint* previous = nullptr;
    for (const RoutePoint& p : points) {
        if (previous)
            cad::attempt([&] {
                app.ActiveDocument().ModelSpace().AddLightWeightPolyline({previous->y, previous->x, p.y, p.x});
            });
        cad::attempt([&] { app.ActiveDocument().ModelSpace().InsertBlock({p.y, p.x, 0}, QStringLiteral("8m"), 1, 1, 1, 0); });
        cad::attempt([&] { app.ActiveDocument().ModelSpace().AddText(p.name, {p.y + 3, p.x, 0}, height); });
        previous = &p;
    }
}

double coordinate(const QString& field)
{
    const std::optional<double> v = FiniteLeadingNumber(field);
    if (!v)
        raise(err::Overflow);
    return *v;
}

} // namespace

std::optional<RoutePoint> routePoint(const QString& line)
{
    if (TrimBlanks(line).isEmpty())
        return std::nullopt;
    RoutePoint p;
    p.name = orEmpty(BlankField(line, 1));
    p.x = coordinate(orEmpty(BlankField(line, 2)));
    p.y = coordinate(orEmpty(BlankField(line, 3)));
    return p;
}

RouteFile readRoute(const QStringList& lines)
{
    // Blank lines are no points: a leg joins each point to the one plotted before it.
    RouteFile r;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        try {
            if (const std::optional<RoutePoint> p = routePoint(lines[i]))
                r.points.push_back(*p);
        } catch (const RunError&) {
            r.points.clear();
            r.badLine = i + 1;
            r.badText = lines[i];
            return r;
        }
    }
    return r;
}

namespace {

// One route file read whole; a file that is missing, unreadable, empty or
// not text is named in a message and gives none.
std::optional<RouteFile> routeFile(Context& ctx, const QString& file)
{
    QString failed;
    try {
        RouteFile route = readRoute(readDataLines(file));
        if (route.badLine || !route.points.empty())
            return route;
        failed = badDataText(file);
    } catch (const RunError& e) {
        failed = e.number() == err::BadFileFormat ? badDataText(file) : QStringLiteral("无法读取文件：") + file;
    }
    ctx.ui().message(failed, QStringLiteral("错误"), Icon::Critical);
    return std::nullopt;
}

} // namespace

void zhdxlxpl_Click(Context& ctx)
{
    cad::Application* app = cad::ConnectToAutoCAD(ctx, {}, cad::ConnectFailure::Silent);
    if (!app) {
        cad::reportLaterCadError(ctx, cad::LaterCadError::VersionNote);
        return;
    }
    const QStringList files = CommonDialog(ctx)
                                  .setTitle(QStringLiteral("选择坐标文件"))
                                  .setFilter(QStringLiteral("坐标文件(*.xyh)|*.xyh|所有文件(*.*)|*.*"))
                                  .setFileName(QString())
                                  .setMultiSelect(true)
                                  .showOpenFiles();
    if (files.isEmpty())
        return;
    const QString answer = ctx.ui().input(QStringLiteral("请输入控制点注记的大小！！ "), QString(), QStringLiteral("10"));
    if (TrimBlanks(answer).isEmpty())
        return;
    const std::optional<double> height = ParseNumber(answer);
    if (!height || *height <= 0) {
        ctx.ui().message(QStringLiteral("数据为空或非法的数字或字符。"), QStringLiteral("错误"), Icon::Critical);
        return;
    }
    // Every file is read before anything is drawn: a coordinate too large
    // for a number cannot be drawn, and a route with a hole in it is no route.
    std::vector<RouteFile> routes;
    for (const QString& file : files) {
        std::optional<RouteFile> route = routeFile(ctx, file);
        if (!route)
            continue; // named; the next file follows
        if (route->badLine) {
            ctx.ui().message(QStringLiteral("坐标文件 %1 第 %2 行的坐标超出数值范围：%3\r没有绘制任何导线路线。")
                                 .arg(file, QString::number(route->badLine), route->badText),
                             QStringLiteral("错误"), Icon::Critical);
            return;
        }
        routes.push_back(std::move(*route));
    }
    cad::ConnectToAutoCAD(ctx, cad::kFullForward, cad::ConnectFailure::Silent);
    for (const RouteFile& route : routes) {
        plotRoute(*app, route.points, *height);
        cad::attempt([&] { app->ZoomExtents(); });
        cad::attempt([&] { app->activate(app->Caption()); });
    }
    if (!routes.empty())
        ctx.ui().message(QStringLiteral("已经完成导线路线的绘制工作！"), QStringLiteral("完成"), Icon::Exclamation);
}

} // namespace kelvor::coords
