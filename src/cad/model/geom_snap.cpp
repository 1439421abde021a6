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

// Collects candidates: the nearest within reach, a tie going to the
// stronger kind (endpoint, intersection) by a bias far below any drawing unit.
class Candidates {
public:
    Candidates(const Point& pick, double reach)
        : p_{pick.x, pick.y}
        , reach_(reach)
        , best_(std::numeric_limits<double>::infinity())
    {
        found_.p = pick;
    }
    void see(int mode, const Pt2& q, double z)
    {
        const double d = geom::distance(p_, q);
        const double bias = (mode == 1 || mode == 32) ? -1e-9 * reach_ : 0;
        if (d <= reach_ && d + bias < best_) {
            best_ = d + bias;
            found_ = {{q.x, q.y, z}, mode};
        }
    }
    Pt2 pick() const { return p_; }
    const Snap& found() const { return found_; }

private:
    Pt2 p_;
    double reach_, best_;
    Snap found_;
};

void curveSnaps(const Entity& e, const geom::Curve& c, int osmode, Candidates& out)
{
    const bool arc = e.kind() == EntityKind::Arc; // two halves of one arc
    const size_t n = c.segs.size();
    if ((osmode & 1) && e.kind() != EntityKind::Circle) {
        for (size_t i = 0; i < n; ++i)
            if (!arc || i == 0)
                out.see(1, c.segs[i].a, c.segs[i].za);
        if (!c.closed)
            out.see(1, c.segs.back().b, c.segs.back().zb);
    }
    if (osmode & 2) {
        if (arc)
            out.see(2, c.segs[0].b, c.segs[0].zb);
        else if (e.kind() != EntityKind::Circle)
            for (const geom::Seg& s : c.segs)
                out.see(2, geom::pointAt(s, 0.5), geom::zAt(s, 0.5));
    }
    if (osmode & 4)
        for (const geom::Seg& s : c.segs)
            if (geom::isArc(s))
                out.see(4, geom::arcOf(s).c, s.za);
    if (osmode & 512) {
        const geom::Nearest near = geom::nearest(c, out.pick());
        out.see(512, near.p, near.z);
    }
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
    const double pixels = std::max(1, doc.GetVariable(QStringLiteral("APERTURE")).toInt());
    return size > 0 ? size * pixels / 800 : 1;
}

Snap findSnap(Document& doc, const Point& pick, int osmode, double reach)
{
    Candidates out(pick, reach);
    if ((osmode & 16384) || !(osmode & (1 | 2 | 4 | 8 | 32 | 64 | 512)) || !(reach > 0))
        return out.found();
    Box area;
    area.add(pick.x - reach, pick.y - reach);
    area.add(pick.x + reach, pick.y + reach);
    std::vector<geom::Curve> curves;
    for (Entity* e : doc.modelCandidates(area)) {
        if (!snappable(doc, *e))
            continue;
        if (e->kind() == EntityKind::Point && (osmode & 8)) {
            const Point q = e->Coordinate3();
            out.see(8, {q.x, q.y}, q.z);
        }
        if ((osmode & 64) && (e->kind() == EntityKind::BlockReference || e->kind() == EntityKind::Text
                              || e->kind() == EntityKind::MText)) {
            const Point q = e->InsertionPoint();
            out.see(64, {q.x, q.y}, q.z);
        }
        if (std::optional<geom::Curve> c = geom::curveOf(*e)) {
            curveSnaps(*e, *c, osmode, out);
            if (osmode & 32)
                curves.push_back(std::move(*c));
        }
    }
    if (osmode & 32)
        for (size_t i = 0; i < curves.size(); ++i)
            for (size_t j = i + 1; j < curves.size(); ++j)
                for (auto [t, u] : geom::intersect(curves[i], curves[j])) {
                    (void)u;
                    out.see(32, curves[i].at(t), curves[i].zAt(t));
                }
    return out.found();
}

Point snapPoint(Document& doc, const Point& pick, int osmode, double reach)
{
    return findSnap(doc, pick, osmode, reach > 0 ? reach : snapAperture(doc)).p;
}

} // namespace kelvor::cad
