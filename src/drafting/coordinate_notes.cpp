#include "coordinate_notes.h"

#include "routines/routines.h"
#include "cad/cad.h"
#include "platform/context.h"
#include "platform/ui.h"

#include <QDateTime>

namespace kelvor::drafting {

using namespace cad;

void zjzbfangge_Click(Context& ctx)
{
    Document* doc = ConnectToDrawing(ctx, {Forward::Activate, Forward::Maximise});
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

void zhuobiaozhuji_Click(Context& ctx)
{
    Application* app = ConnectToAutoCAD(ctx, {Forward::Visible, Forward::Activate}, ConnectFailure::Silent);
    if (!app)
        return;
    try {
        Document& doc = app->ActiveDocument();
        Utility& u = doc.Utility();
        Point picked;
        Entity* line = u.GetEntity(picked, QStringLiteral("选择多义线："));
        if (line->dxfName() != QLatin1String("LWPOLYLINE"))
            return;
        const std::vector<double> xy = line->Coordinates();
        const double d = u.GetReal(QStringLiteral("请输入比例尺分母："));
        const double k = d / 500, h = 1.2 * k;
        attempt([&] {
            doc.Layers().Add(QStringLiteral("ZB_ZJ"));
            doc.setActiveLayer(QStringLiteral("ZB_ZJ"));
        });
        const QDateTime now = ctx.ui().now();
        Group* group = nullptr;
        attempt([&] {
            group = &doc.GroupsAdd(now.toString(QStringLiteral("MM-dd-yyyy")) + QLatin1Char('-')
                                   + now.toString(QStringLiteral("H-m-s")));
        });
        std::vector<Entity*> notes;
        // A cancel at a later note position still groups the notes drawn.
        auto gather = [&] {
            if (group && !notes.empty())
                attempt([&] { group->AppendItems(notes); });
        };
        Block& ms = doc.ModelSpace();
        for (size_t i = 0; i + 1 < xy.size(); i += 2) {
            const double x = xy[i], y = xy[i + 1];
            const QString east = FormatPattern(x, QStringLiteral("0.000"));
            const double l = (east.size() + 4) * k;
            attempt([&] { app->ZoomWindow({x - 20 * k, y - 16 * k, 0}, {x + 23 * k, y + 16 * k, 0}); });
            Point p;
            try {
                p = u.GetPoint(QStringLiteral("注记位置："));
            } catch (const RunError&) {
                gather();
                return;
            }
            const double s = p.x >= x ? 1 : -1; // plumb with the vertex counts as right
            const double left = s > 0 ? p.x : p.x - l;
            for (Entity* e : {ms.AddPolyline({x, y, 0, p.x, p.y, 0, p.x + s * l, p.y, 0}),
                              ms.AddText(QStringLiteral("X=") + FormatPattern(y, QStringLiteral("0.000")),
                                         {left, p.y + k, 0}, h),
                              ms.AddText(QStringLiteral("Y=") + east, {left, p.y - 2.4 * k, 0}, h)})
                notes.push_back(e);
        }
        gather();
    } catch (const RunError&) {
        // a cancelled pick or question, or another entity: nothing more
    }
}

} // namespace kelvor::drafting
