// -BOUNDARY: the smallest closed region around a point that the visible
// lines, arcs, circles and polylines of model space enclose, cut where they
// cross or touch, added as a closed lightweight polyline on the current layer.
#include "cad/host/cmd_support.h"
#include "cad/model/document.h"
#include "cad/model/geom_boundary.h"

#include <cmath>

namespace kelvor::cad::cmd {

namespace {

bool boundaryKind(EntityKind k)
{
    return k == EntityKind::Line || k == EntityKind::Arc || k == EntityKind::Circle || k == EntityKind::LwPolyline
        || k == EntityKind::Polyline2d || k == EntityKind::Polyline3d;
}

// The region's outline from the curves near the point: the search box
// grows until the region found lies inside it (no curve outside the box
// can cut it) or the box covers the drawing. The drawing's extents bound
// the growth: once the reach spans from the point to their far corner,
// whatever the box holds is all there is (a reach of infinity at worst).
std::vector<Vertex> regionAround(Document& doc, const Pt2& p)
{
    Box all;
    for (Entity* e : doc.ModelSpace().entities())
        if (boundaryKind(e->kind()))
            all.add(e->box());
    if (!all.valid() || !std::isfinite(p.x) || !std::isfinite(p.y))
        return {};
    const double size = std::max({all.maxX - all.minX, all.maxY - all.minY, 1e-9});
    const double tol = 1e-9 * std::max({size, std::abs(all.maxX), std::abs(all.maxY), 1.0});
    const double far = std::max({std::abs(p.x - all.minX), std::abs(p.x - all.maxX), std::abs(p.y - all.minY),
                                 std::abs(p.y - all.maxY)});
    for (double reach = size / 64;; reach *= 4) {
        Box area;
        area.add(p.x - reach, p.y - reach);
        area.add(p.x + reach, p.y + reach);
        std::vector<geom::Curve> curves;
        for (Entity* e : doc.modelCandidates(area))
            if (boundaryKind(e->kind()) && visibleForEdit(doc, *e))
                if (std::optional<geom::Curve> c = geom::curveOf(*e))
                    curves.push_back(std::move(*c));
        const bool everything = all.inside(area) || reach >= far;
        std::vector<Vertex> outline = geom::enclosingOutline(curves, p, tol);
        if (everything)
            return outline;
        if (!outline.empty()) {
            Box b;
            geom::Curve c;
            for (size_t i = 0; i < outline.size(); ++i) {
                const Vertex &a = outline[i], &n = outline[(i + 1) % outline.size()];
                c.segs.push_back(geom::Seg{{a.x, a.y}, {n.x, n.y}, a.bulge});
            }
            b = geom::curveBox(c);
            if (b.inside(area) && b.minX > area.minX && b.maxX < area.maxX && b.minY > area.minY && b.maxY < area.maxY)
                return outline;
        }
    }
}

Entity* traceBoundary(Document& doc, const Point& p)
{
    const std::vector<Vertex> outline = regionAround(doc, {p.x, p.y});
    if (outline.empty())
        return nullptr;
    std::vector<double> xy;
    for (const Vertex& x : outline) {
        xy.push_back(x.x);
        xy.push_back(x.y);
    }
    if (outline.size() == 1) // a whole circle: two halves
        return nullptr;
    Entity* n = doc.ModelSpace().AddLightWeightPolyline(xy);
    for (size_t i = 0; i < outline.size(); ++i)
        n->SetBulge(int(i), outline[i].bulge);
    n->setClosed(true);
    return n;
}

void boundaryCommand(CommandInput& in)
{
    Document& doc = in.document();
    while (true) {
        const QString item = in.nextText(QStringLiteral("point"));
        if (isEnter(item))
            return;
        const std::optional<Point> p = pointOf(item);
        if (!p)
            continue; // options are not offered here: asked again
        if (!traceBoundary(doc, *p))
            doc.host()->appendTranscript(QStringLiteral("未找到有效的图案填充边界。\r\n"));
    }
}

} // namespace

void registerBoundary(Application& app)
{
    app.registerCommand(QStringLiteral("BOUNDARY"), boundaryCommand,
                        QStringLiteral("由封闭区域生成边界多段线"));
    app.registerCommand(QStringLiteral("BPOLY"), boundaryCommand,
                        QStringLiteral("由封闭区域生成边界多段线"));
}

} // namespace kelvor::cad::cmd
