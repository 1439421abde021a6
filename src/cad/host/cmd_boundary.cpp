// -BOUNDARY: the smallest closed outline around a point, copied as a new
// lightweight polyline on the current layer.
#include "cad/host/cmd_support.h"
#include "cad/model/document.h"

#include <cmath>
#include <limits>

namespace kelvor::cad::cmd {

namespace {

struct Outline {
    std::vector<Vertex> v; // closed; bulges kept
    double area = 0;
};

// Closed polylines (flagged, or ending where they start) and circles.
std::optional<Outline> outlineOf(const Entity& e)
{
    Outline o;
    const Entity::Data& d = e.data();
    if (e.kind() == EntityKind::Circle) {
        const double cx = d.v[0].x, cy = d.v[0].y, r = d.radius;
        o.v = {Vertex{cx + r, cy, 0, 1}, Vertex{cx - r, cy, 0, 1}};
        o.area = M_PI * r * r;
        return o;
    }
    if (e.kind() != EntityKind::LwPolyline && e.kind() != EntityKind::Polyline2d
        && e.kind() != EntityKind::Polyline3d)
        return std::nullopt;
    o.v = d.v;
    if (e.kind() == EntityKind::Polyline3d)
        for (Vertex& x : o.v)
            x.bulge = 0;
    if (!(d.polyFlags & 1)) {
        if (o.v.size() < 4 || geom::distance({o.v.front().x, o.v.front().y}, {o.v.back().x, o.v.back().y}) > 1e-9)
            return std::nullopt;
        o.v.pop_back();
    }
    if (o.v.size() < 2 || (o.v.size() == 2 && std::abs(o.v[0].bulge) < 1e-12 && std::abs(o.v[1].bulge) < 1e-12))
        return std::nullopt;
    o.area = e.Area();
    return o;
}

Entity* traceBoundary(Document& doc, const Point& p)
{
    const Pt2 at{p.x, p.y};
    Box spot;
    spot.add(at.x, at.y);
    const Entity* best = nullptr;
    Outline chosen;
    double bestArea = std::numeric_limits<double>::infinity();
    for (Entity* e : doc.modelCandidates(spot)) {
        if (!visibleForEdit(doc, *e))
            continue;
        std::optional<Outline> o = outlineOf(*e);
        if (!o || !(o->area > 0) || o->area >= bestArea)
            continue;
        const Shape s = e->shape();
        if (s.empty() || !pointInPolygon(at, s.front().pts) || pointOnPolygonEdge(at, s.front().pts))
            continue;
        best = e;
        bestArea = o->area;
        chosen = std::move(*o);
    }
    if (!best)
        return nullptr;
    std::vector<double> xy;
    for (const Vertex& x : chosen.v) {
        xy.push_back(x.x);
        xy.push_back(x.y);
    }
    Entity* n = doc.ModelSpace().AddLightWeightPolyline(xy);
    for (size_t i = 0; i < chosen.v.size(); ++i)
        n->SetBulge(int(i), chosen.v[i].bulge);
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
    app.registerCommand(QStringLiteral("BOUNDARY"), boundaryCommand);
    app.registerCommand(QStringLiteral("BPOLY"), boundaryCommand);
}

} // namespace kelvor::cad::cmd
