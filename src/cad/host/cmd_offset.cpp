// OFFSET: a parallel copy of a line, polyline, arc or circle at a distance
// towards a side point, or through a point.
#include "cad/host/cmd_support.h"
#include "cad/model/document.h"

#include <cmath>

namespace kelvor::cad::cmd {

namespace {

// The signed distance (positive = left of the running direction) that puts
// the copy through p, or on p's side at `dist`; null when p gives no side.
std::optional<double> sideDistance(const geom::Curve& c, const Pt2& p, double dist, bool through)
{
    const geom::Nearest n = geom::nearest(c, p);
    if (!(n.dist > 1e-12))
        return std::nullopt;
    const Pt2 t = c.tangent(n.t);
    const double cross = t.x * (p.y - n.p.y) - t.y * (p.x - n.p.x);
    if (std::abs(cross) < 1e-12 * n.dist)
        return std::nullopt; // straight on beyond an open end: no side
    const double side = cross > 0 ? 1 : -1;
    return side * (through ? n.dist : dist);
}

// One new entity of the same kind; null (nothing added) when the copy would
// be degenerate.
Entity* offsetEntity(Document& doc, Entity& e, const Pt2& p, double dist, bool through)
{
    const std::optional<geom::Curve> c = geom::curveOf(e);
    if (!c || e.kind() == EntityKind::Polyline3d)
        return nullptr;
    Block& space = doc.ModelSpace();
    switch (e.kind()) {
    case EntityKind::Circle:
    case EntityKind::Arc: {
        const Point centre = e.Center();
        const double toP = std::hypot(p.x - centre.x, p.y - centre.y);
        if (e.kind() == EntityKind::Arc && !(geom::nearest(*c, p).dist > 1e-12))
            return nullptr;
        const double r = e.Radius();
        const double nr = through ? toP : (toP > r ? r + dist : r - dist);
        if (!(nr > 1e-12) || std::abs(toP - r) < 1e-12)
            return nullptr;
        Entity* copy = space.copyOf(e);
        copy->setRadius(nr);
        return copy;
    }
    case EntityKind::Line: {
        // a line offsets against its whole length, beyond its ends too
        const Pt2 t = c->tangent(0);
        const Pt2 a = c->segs[0].a;
        const double cross = t.x * (p.y - a.y) - t.y * (p.x - a.x);
        if ((t.x == 0 && t.y == 0) || std::abs(cross) < 1e-12)
            return nullptr;
        const std::optional<double> d = through ? cross : (cross > 0 ? dist : -dist);
        Entity* copy = space.copyOf(e);
        std::vector<Vertex> v = copy->vertices();
        for (Vertex& x : v) {
            x.x += -t.y * *d;
            x.y += t.x * *d;
        }
        copy->setVertices(std::move(v));
        return copy;
    }
    case EntityKind::LwPolyline:
    case EntityKind::Polyline2d: {
        const std::optional<double> d = sideDistance(*c, p, dist, through);
        if (!d)
            return nullptr;
        const std::vector<geom::OffsetVertex> nv = geom::offsetPolyline(e.vertices(), e.Closed(), *d);
        if (nv.empty())
            return nullptr;
        Entity* copy = space.copyOf(e);
        std::vector<Vertex> v = copy->vertices();
        for (size_t i = 0; i < v.size(); ++i) {
            v[i].x = nv[i].x;
            v[i].y = nv[i].y;
            v[i].bulge = nv[i].bulge;
        }
        copy->setVertices(std::move(v));
        return copy;
    }
    default:
        return nullptr;
    }
}

void offsetCommand(CommandInput& in)
{
    Document& doc = in.document();
    const QString first = in.nextText();
    bool through = isEnter(first); // the first default is through a point
    double dist = 0;
    if (!through) {
        const QString k = matchKeyword(first, {QStringLiteral("Through"), QStringLiteral("Erase"),
                                               QStringLiteral("Layer")});
        if (k == QLatin1String("Through")) {
            through = true;
        } else {
            dist = numberOf(first).value_or(0);
            if (!(dist > 0))
                fault(fail::Failed, QStringLiteral("offset: \"%1\" is no distance").arg(first));
        }
    }
    while (true) {
        const QString item = in.nextText(QStringLiteral("entity"));
        if (isEnter(item) || matchKeyword(item, {QStringLiteral("Exit")}) == QLatin1String("Exit"))
            return;
        if (!isEntityText(item))
            continue; // asked again
        Entity* e = entityFromExpression(doc, item);
        const QString pointText = in.nextText(QStringLiteral("point"));
        const std::optional<Point> p = pointOf(pointText);
        if (!p)
            return;
        if (!e->isErased() && e->owner()->isModelSpace())
            offsetEntity(doc, *e, {p->x, p->y}, dist, through);
    }
}

} // namespace

void registerOffset(Application& app)
{
    app.registerCommand(QStringLiteral("OFFSET"), offsetCommand,
                        QStringLiteral("偏移复制直线、多段线、圆弧、圆"));
}

} // namespace kelvor::cad::cmd
