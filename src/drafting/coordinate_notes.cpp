#include "coordinate_notes.h"

#include "routines/routines.h"
#include "cad/cad.h"
#include "platform/context.h"

namespace kelvor::drafting {

using namespace cad;

void zjzbfangge_Click(Context& ctx)
{
    Application* app = ConnectToAutoCAD(ctx, {Forward::Activate, Forward::Maximise});
    if (!app)
        return;
    Document* doc = nullptr;
    attempt([&] { doc = &app->ActiveDocument(); });
    if (!doc)
        return;
    double k = 1;
    attempt([&] { k = DrawingScaleFactor(*doc); });
    attempt([&] { doc->SetVariable(QStringLiteral("osmode"), 32); });
    const double h = 1.2 * k;
    Block& ms = doc->ModelSpace();
    // Layer, style and colour each pass over when the drawing refuses them.
    auto dress = [](Entity* t) {
        attempt([&] { t->setLayer(QStringLiteral("tk")); });
        attempt([&] { t->setStyleName(QStringLiteral("hz")); });
        attempt([&] { t->setColor(7); });
    };
    // Only a real cancel ends the loop; a point at easting 0 is noted.
    PickUntilCancel(doc->Utility(), QStringLiteral("\r\n注记的位置:"), [&](const Point& p) {
        Entity* east = nullptr;
        attempt([&] { east = ms.AddText(QStringLiteral(" Y ") + NumberText(p.x), {p.x + k, p.y, p.z}, h); });
        if (east)
            dress(east);
        Entity* north = nullptr;
        attempt([&] { north = ms.AddText(QStringLiteral(" X ") + NumberText(p.y), {p.x + k, p.y - 1.5 * k, p.z}, h); });
        if (north) {
            attempt([&] { north->Rotate(p, 1.5708); });
            dress(north);
        }
    });
}

} // namespace kelvor::drafting
