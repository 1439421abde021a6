#include "measure.h"

#include "routines/routines.h"
#include "cad/cad.h"
#include "platform/context.h"
#include "platform/paths.h"
#include "platform/text_file.h"
#include "platform/ui.h"

#include <cmath>

namespace kelvor::drafting {

using namespace cad;

double PolylineVertexArea(const std::vector<double>& coordinates)
{
    const size_t n = coordinates.size() / 2;
    if (n < 3)
        return 0;
    auto X = [&](size_t i) { return coordinates[2 * (i % n) + 1]; };
    auto Y = [&](size_t i) { return coordinates[2 * (i % n)]; };
    double s = 0;
    for (size_t i = 0; i < n; ++i)
        s += X(i) * (Y(i + 1) - Y(i + n - 1));
    return std::fabs(s) / 2;
}

namespace {

QString squareMetresAndMu(double area, const QString& muPattern = QStringLiteral("0.00"))
{
    return FormatPattern(area, QStringLiteral("0.00")) + QStringLiteral("平方米(合")
        + FormatPattern(area * 0.0015, muPattern) + QStringLiteral("亩)");
}

// The lightweight polylines the user picks into a fresh set "text".
std::vector<Entity*> pickPolylines(Document& doc)
{
    std::vector<Entity*> out;
    attempt([&] {
        SelectionSet& set = ScratchSelectionSet(doc, QStringLiteral("text"));
        set.SelectOnScreen(BuildFilter({0, QStringLiteral("LWPOLYLINE")}));
        out = set.entities();
    });
    return out;
}

double vertexArea(const Entity& e)
{
    std::vector<double> xy;
    attempt([&] { xy = e.Coordinates(); });
    return PolylineVertexArea(xy);
}

double hostArea(const Entity& e)
{
    double a = 0;
    attempt([&] { a = e.Area(); });
    return a;
}

} // namespace

void caldist_Click(Context& ctx)
{
    Document* doc = ConnectToDrawing(ctx, {Forward::Activate, Forward::Maximise});
    if (!doc)
        return;
    Utility& u = doc->Utility();
    QString answer;
    attempt([&] { answer = u.GetString(false, QStringLiteral("是不注记距离(Y/N)<Y>")).trimmed(); });
    const bool annotate = answer.isEmpty() || answer == QLatin1String("y") || answer == QLatin1String("Y");
    double size = 0;
    if (annotate)
        attempt([&] { size = float(u.GetReal(QStringLiteral("文字注记大小<0.7>"))); });
    if (size == 0)
        size = 0.7;
    auto osmode = [&](int v) { attempt([&] { doc->SetVariable(QStringLiteral("osmode"), v); }); };
    Block& ms = doc->ModelSpace();
    // Only a real cancel ends the loop; a point at x = 0 is measured.
    while (true) {
        osmode(1);
        Point p1, p2, note;
        try {
            p1 = u.GetPoint(QStringLiteral("\r\n选择点1:"));
            p2 = u.GetPoint(QStringLiteral("选择点2"));
            if (annotate) {
                osmode(0);
                note = u.GetPoint(QStringLiteral("注记位置:"));
            }
        } catch (const RunError&) {
            break;
        }
        const double d = std::hypot(p1.x - p2.x, p1.y - p2.y);
        const QString distance = FormatPattern(d, QStringLiteral("0.00"));
        if (annotate) {
            Entity* leader = nullptr;
            Entity* text = nullptr;
            attempt([&] { leader = ms.AddPolyline({p1.x, p1.y, 0, note.x, note.y, 0, p2.x, p2.y, 0}); });
            attempt([&] { text = ms.AddText(distance, {note.x, note.y, 0}, size); });
            if (text)
                attempt([&] { text->Update(); });
            if (leader)
                attempt([&] { leader->Update(); });
        } else {
            attempt([&] { u.Prompt(QStringLiteral("\r\n距离:") + distance + QStringLiteral("米\r")); });
        }
    }
}

void arealiangshan_Click(Context& ctx)
{
    Application* app = nullptr;
    Document* doc = ConnectToDrawing(ctx, app, {Forward::Activate, Forward::Maximise});
    if (!app)
        return;
    int count = 0, invalid = 0;
    double sum = 0;
    if (doc)
        for (Entity* e : pickPolylines(*doc)) {
            ++count;
            const double a = hostArea(*e);
            sum += a;
            if (a == 0)
                ++invalid;
        }
    ctx.ui().message(QStringLiteral("共获取实体数:") + SignedNumberText(count) + QStringLiteral(" 个 : ")
                         + QStringLiteral("其中无效实体:") + SignedNumberText(invalid) + QStringLiteral("\r\n\r\n面积:")
                         + squareMetresAndMu(sum),
                     QStringLiteral("计算结果"), Icon::Exclamation);
}

void arealiangshan_coord_Click(Context& ctx)
{
    Application* app = nullptr;
    Document* doc = ConnectToDrawing(ctx, app);
    if (!app)
        return;
    std::vector<double> areas;
    double total = 0;
    if (doc)
        for (Entity* e : pickPolylines(*doc)) {
            areas.push_back(vertexArea(*e));
            total += areas.back();
        }
    const QString totalLine = QStringLiteral(" 总面积:") + squareMetresAndMu(total);
    if (areas.size() <= 10) {
        QString text;
        for (size_t k = 0; k < areas.size(); ++k)
            text += SignedNumberText(double(k + 1)) + QStringLiteral(":面积:") + squareMetresAndMu(areas[k])
                + QStringLiteral("\r\n");
        text += QStringLiteral("\r\n") + totalLine;
        ctx.ui().message(text, QStringLiteral("根据坐标计算的面积结果"), Icon::Exclamation);
        return;
    }
    const QString watch = paths::scratch(QStringLiteral("watch.txt"));
    TextWriter out(watch);
    for (size_t k = 0; k < areas.size(); ++k)
        out.writeLine(SignedNumberText(double(k + 1)) + QStringLiteral(".面积:") + squareMetresAndMu(areas[k]));
    out.writeLine();
    out.writeLine(totalLine);
    out.commit();
    ctx.ui().openTextWindow(watch);
}

void fengbixianzhuji_Click(Context& ctx)
{
    Application* app = nullptr;
    Document* doc = ConnectToDrawing(ctx, app);
    if (!app)
        return;
    int mismatches = 0;
    if (doc) {
        float tolerance = 0;
        attempt([&] { tolerance = float(doc->Utility().GetReal(QStringLiteral("请输入计算面积的限差(平方米):"))); });
        Block& ms = doc->ModelSpace();
        for (Entity* e : pickPolylines(*doc)) {
            const double s = vertexArea(*e);
            const double a = hostArea(*e);
            attempt([&] {
                Point lo, hi;
                e->GetBoundingBox(lo, hi);
                Entity* note = ms.AddText(FormatPattern(a, QStringLiteral("0.00")) + QStringLiteral("（平方米）"),
                                          {(lo.x + hi.x) / 2, (lo.y + hi.y) / 2, 0}, 4);
                note->Update();
            });
            const double diff = std::fabs(a - s);
            if (diff > tolerance) {
                ++mismatches;
                ctx.ui().message(QStringLiteral("差别:") + NumberText(diff) + QStringLiteral("平方米"), emptyTitle(),
                                 Icon::Exclamation);
                attempt([&] { e->setColor(1); });
                attempt([&] { e->setConstantWidth(2); });
            }
        }
    }
    if (mismatches == 0)
        ctx.ui().message(QStringLiteral("没有发现面积有错误！"), QStringLiteral("面积核对"), Icon::Exclamation);
    else
        ctx.ui().message(QStringLiteral("共发现:") + QString::number(mismatches) + QStringLiteral("个。红色线为面积不相符!"),
                         emptyTitle(), Icon::Exclamation);
}

void addareaatboxboundary_Click(Context& ctx)
{
    Document* doc = ConnectToDrawing(ctx, {Forward::Activate, Forward::Maximise});
    if (!doc)
        return;
    const XData codes{xstr(1001, QStringLiteral("south")), xstr(1000, QStringLiteral("310000")),
                      xstr(1000, QStringLiteral("112"))};
    Utility& u = doc->Utility();
    QString answer;
    attempt([&] { answer = u.GetString(true, QStringLiteral("是否注记面积值？[Y/N]<N>:")); });
    const bool note = answer == QLatin1String("Y") || answer == QLatin1String("y");
    attempt([&] { doc->SetVariable(QStringLiteral("osmode"), 0); });
    Block& ms = doc->ModelSpace();
    // Only a real cancel ends the loop; a point at x = 0 is traced.
    while (true) {
        const int before = ms.Count();
        Point p;
        try {
            p = u.GetPoint(QStringLiteral("指定图形内部点: "));
        } catch (const RunError&) {
            break;
        }
        attempt([&] {
            CommandLineScript(*doc, {QStringLiteral("_-Boundary"), NumberText(p.x) + QLatin1Char(',') + NumberText(p.y),
                                     QString()});
        });
        if (ms.Count() <= before) {
            attempt([&] { u.Prompt(QStringLiteral("\r\n未发现有效的边界。\r\n")); });
            continue;
        }
        Entity* boundary = nullptr;
        attempt([&] { boundary = ms.Item(ms.Count() - 1); });
        if (!boundary)
            continue;
        if (note) {
            Entity* text = nullptr;
            attempt([&] { text = ms.AddText(squareMetresAndMu(boundary->Area(), QStringLiteral("0.000")), p, 2); });
            if (text) {
                attempt([&] { text->setColor(3); });
                attempt([&] { text->setAlignment(10); });
                attempt([&] { text->setTextAlignmentPoint(p); });
            }
        }
        attempt([&] { boundary->setColor(3); });
        attempt([&] { boundary->SetXData(codes); });
    }
}

void addnewgroup_Click(Context& ctx)
{
    if (!ConnectToAutoCAD(ctx, {Forward::Activate}, ConnectFailure::Silent))
        return;
    attempt([&] { AddRegFromPLline(ctx); });
}

} // namespace kelvor::drafting
