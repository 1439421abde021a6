#include "landuse/boundary_lines.h"

#include "cad/cad.h"
#include "platform/context.h"
#include "routines/routines.h"

namespace kelvor::landuse {

using namespace cad;

namespace {

// A fixed inset, the same at every drawing scale.
constexpr double kInset = 0.1;

} // namespace

std::vector<Pt2> trimFence(const Pt2& c, double r)
{
    const Pt2 bottom{c.x, (c.y - r) + kInset};
    return {bottom, {(c.x + r) - kInset, c.y}, {c.x, (c.y + r) - kInset}, {(c.x - r) + kInset, c.y}, bottom};
}

QString trimScript(const Pt2& centre, double radius)
{
    QStringList items{QStringLiteral("_trim"), QString(), QStringLiteral("f")};
    for (const Pt2& p : trimFence(centre, radius))
        items << NumberText(p.x) + QLatin1Char(',') + NumberText(p.y);
    items << QString() << QString();
    return scriptText(items);
}

void zhengshijiezhixian_Click(Context& ctx)
{
    Application* app = nullptr;
    Document* doc = ConnectToDrawing(ctx, app);
    if (!doc)
        return;
    std::vector<Entity*> circles;
    attempt([&] {
        SelectionSet& set = ScratchSelectionSet(*doc, QStringLiteral("text"));
        const SelectionFilter filter = BuildFilter({0, QStringLiteral("CIRCLE")});
        attempt([&] { app->activate(app->Caption()); });
        set.SelectOnScreen(filter);
        circles = set.entities();
    });
    for (Entity* c : circles) {
        QString script;
        const bool measured = attempt([&] {
            Point lo, hi;
            c->GetBoundingBox(lo, hi);
            script = trimScript({(lo.x + hi.x) / 2, (lo.y + hi.y) / 2}, c->Radius());
        });
        if (!measured)
            continue;
        attempt([&] { doc->SendCommand(script); });
        attempt([&] { doc->SendCommand(script); });
    }
}

} // namespace kelvor::landuse
