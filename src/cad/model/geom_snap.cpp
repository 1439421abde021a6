#include "cad/model/geom_snap.h"

#include "cad/model/document.h"
#include "cad/model/geom_curve.h"

#include <cmath>
#include <limits>

namespace kelvor::cad {

namespace {

bool snappable(Document& doc, const Entity& e)
{
    if (e.isErased() || !e.Visible())
        return false;
    const Layer* l = doc.Layers().find(e.Layer());
    return !l || (l->LayerOn && !l->Freeze);
}

} // namespace

double snapAperture(Document& doc)
{
    Box view;
    if (DocumentHost* host = doc.host())
        if (std::optional<Box> shown = host->shownView(doc))
            view = *shown;
    if (!view.valid())
        for (Entity* e : doc.ModelSpace().entities())
            view.add(e->box());
    const double size = view.valid() ? std::max(view.maxX - view.minX, view.maxY - view.minY) : 0;
    return size > 0 ? size / 80 : 1;
}

Point snapPoint(Document& doc, const Point& pick, int osmode)
{
    if ((osmode & 16384) || !(osmode & (1 | 512)))
        return pick;
    const double reach = snapAperture(doc);
    const Pt2 p{pick.x, pick.y};
    Box area;
    area.add(p.x - reach, p.y - reach);
    area.add(p.x + reach, p.y + reach);
    double best = std::numeric_limits<double>::infinity();
    Point found = pick;
    auto consider = [&](const Pt2& q, double z, double bias) {
        const double d = geom::distance(p, q);
        if (d <= reach && d + bias < best) {
            best = d + bias;
            found = {q.x, q.y, z};
        }
    };
    for (Entity* e : doc.modelCandidates(area)) {
        if (!snappable(doc, *e))
            continue;
        const std::optional<geom::Curve> c = geom::curveOf(*e);
        if (!c)
            continue;
        if (osmode & 1) {
            // endpoints win a tie against a nearest point at the same spot
            const bool fullCircle = e->kind() == EntityKind::Circle;
            if (!fullCircle) {
                for (size_t i = 0; i < c->segs.size(); ++i) {
                    const geom::Seg& s = c->segs[i];
                    if (e->kind() == EntityKind::Arc && i == 1)
                        consider(s.b, s.zb, -1e-12);
                    else if (e->kind() != EntityKind::Arc || i == 0)
                        consider(s.a, s.za, -1e-12);
                    if (e->kind() != EntityKind::Arc && !c->closed && i + 1 == c->segs.size())
                        consider(s.b, s.zb, -1e-12);
                }
            }
        }
        if (osmode & 512) {
            const geom::Nearest n = geom::nearest(*c, p);
            consider(n.p, n.z, 0);
        }
    }
    return found;
}

} // namespace kelvor::cad
