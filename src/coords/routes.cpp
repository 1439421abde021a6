#include "routes.h"

#include "platform/common_dialog.h"
#include "routines/routines.h"
#include "cad/cad.h"
#include "platform/context.h"
#include "platform/errors.h"
#include "platform/text_file.h"

namespace kelvor::coords {

namespace {

void plotRoute(cad::Application& app, const QStringList& lines, double height)
{
    // Blank lines are no points: a leg joins each point to the one plotted before it.
    std::optional<RoutePoint> previous;
    for (const QString& line : lines) {
        const std::optional<RoutePoint> p = routePoint(line);
        if (!p)
            continue;
        if (previous)
            cad::attempt([&] {
                app.ActiveDocument().ModelSpace().AddLightWeightPolyline({previous->y, previous->x, p->y, p->x});
            });
        cad::attempt([&] { app.ActiveDocument().ModelSpace().InsertBlock({p->y, p->x, 0}, QStringLiteral("8m"), 1, 1, 1, 0); });
        cad::attempt([&] { app.ActiveDocument().ModelSpace().AddText(p->name, {p->y + 3, p->x, 0}, height); });
        previous = p;
    }
}

// The lines of one route file; a file that is missing, unreadable, empty
// or not text is named in a message and gives none.
std::optional<QStringList> routeLines(Context& ctx, const QString& file)
{
    QString failed;
    try {
        const QStringList lines = readDataLines(file);
        for (const QString& line : lines)
            if (routePoint(line))
                return lines;
        failed = badDataText(file);
    } catch (const RunError& e) {
        failed = e.number() == err::BadFileFormat ? badDataText(file) : QStringLiteral("无法读取文件：") + file;
    }
    ctx.ui().message(failed, QStringLiteral("错误"), Icon::Critical);
    return std::nullopt;
}

} // namespace

std::optional<RoutePoint> routePoint(const QString& line)
{
    if (TrimBlanks(line).isEmpty())
        return std::nullopt;
    RoutePoint p;
    p.name = orEmpty(BlankField(line, 1));
    p.x = LeadingNumber(orEmpty(BlankField(line, 2)));
    p.y = LeadingNumber(orEmpty(BlankField(line, 3)));
    return p;
}

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
    cad::ConnectToAutoCAD(ctx, cad::kFullForward, cad::ConnectFailure::Silent);
    bool drawn = false;
    for (const QString& file : files) {
        const std::optional<QStringList> lines = routeLines(ctx, file);
        if (!lines)
            continue; // named; the next file follows
        plotRoute(*app, *lines, *height);
        drawn = true;
        cad::attempt([&] { app->ZoomExtents(); });
        cad::attempt([&] { app->activate(app->Caption()); });
    }
    if (drawn)
        ctx.ui().message(QStringLiteral("已经完成导线路线的绘制工作！"), QStringLiteral("完成"), Icon::Exclamation);
}

} // namespace kelvor::coords
