#include "landuse/closed_lines.h"

#include "cad/cad.h"
#include "platform/context.h"
#include "routines/routines.h"

#include <cmath>

namespace kelvor::landuse {

using namespace cad;

double chordRingArea(const std::vector<double>& xy)
{
    const size_t m = xy.size() / 2;
    if (m == 0)
        return 0;
    auto x = [&](size_t i) { return xy[2 * (i % m)]; };
    double s = 0;
    for (size_t i = 0; i < m; ++i)
        s += xy[2 * i + 1] * (x(i + 1) - x(i + m - 1));
    return std::abs(s) / 2;
}

bool areaOffends(double chordArea, double hostArea, float tolerance)
{
    return std::abs(chordArea - hostArea) > double(tolerance);
}

QString areaDifferenceText(double difference)
{
    return QStringLiteral("差别:") + NumberText(difference) + QStringLiteral("平方米");
}

// ---- the commands -----------------------------------------------------------

namespace {

std::vector<Entity*> pickPolylines(Document* doc, const QString& types)
{
    std::vector<Entity*> picked;
    if (!doc)
        return picked;
    attempt([&] {
        SelectionSet& set = ScratchSelectionSet(*doc, QStringLiteral("text"));
        set.SelectOnScreen(BuildFilter({0, types}));
        picked = set.entities();
    });
    return picked;
}

void mark(Entity& e, double width)
{
    attempt([&] { e.setConstantWidth(width); });
    attempt([&] { e.setColor(1); });
}

} // namespace

void checkpolylineclose_Click(Context& ctx)
{
    Application* app = nullptr;
    Document* doc = ConnectToDrawing(ctx, app);
    if (!app)
        return;
    int count = 0;
    for (Entity* e : pickPolylines(doc, QStringLiteral("LWPOLYLINE,polyline"))) {
        bool closed = false; // an entity without the flag counts as open
        attempt([&] { closed = e->Closed(); });
        if (closed)
            continue;
        mark(*e, 10);
        ++count;
    }
    if (count > 0)
        ctx.ui().message(QStringLiteral("共发现: %1条不封闭的线！").arg(count), QString(), Icon::Critical);
    else
        ctx.ui().message(QStringLiteral("没发现不封闭的线！"), QString(), Icon::Exclamation);
}

void polylineareayn_Click(Context& ctx)
{
    Application* app = nullptr;
    Document* doc = ConnectToDrawing(ctx, app);
    if (!app)
        return;
    float tolerance = 0;
    if (doc) {
        attempt([&] { app->activate(app->Caption()); });
        attempt([&] { tolerance = float(doc->Utility().GetReal(QStringLiteral("请输入面积限差值:"))); });
    }
    int count = 0;
    for (Entity* e : pickPolylines(doc, QStringLiteral("LWPOLYLINE"))) {
        double computed = 0, reported = 0;
        if (!attempt([&] {
                computed = chordRingArea(e->Coordinates());
                reported = e->Area();
            }))
            continue;
        if (!areaOffends(computed, reported, tolerance))
            continue;
        ++count;
        ctx.ui().message(areaDifferenceText(std::abs(computed - reported)), emptyTitle(), Icon::Exclamation);
        mark(*e, 2);
    }
    if (count > 0)
        ctx.ui().message(QStringLiteral("共发现:%1个。红色线为面积不相符!").arg(count), emptyTitle(), Icon::Exclamation);
    else
        ctx.ui().message(QStringLiteral("没有发现面积有错误！"), QStringLiteral("面积核对"), Icon::Exclamation);
}

} // namespace kelvor::landuse
