// PEDIT on a polyline: Close, Open, Width, Fit, Spline, Decurve, Ltype gen.
#include "cad/host/cmd_support.h"
#include "cad/model/document.h"
#include "cad/model/geom_spline.h"

#include <cmath>

namespace kelvor::cad::cmd {

namespace {

Pt2 unit(double x, double y)
{
    const double len = std::hypot(x, y);
    return len > 0 ? Pt2{x / len, y / len} : Pt2{0, 0};
}

// Direction at b of the circle through a, b and c, running from a towards
// c; the chord a-c where the three lie on a line.
Pt2 circleTangent(const Pt2& a, const Pt2& b, const Pt2& c, const Pt2& at)
{
    const double d = 2 * (a.x * (b.y - c.y) + b.x * (c.y - a.y) + c.x * (a.y - b.y));
    const Pt2 chord = unit(c.x - a.x, c.y - a.y);
    const double scale = std::max({geom::distance(a, b), geom::distance(b, c), geom::distance(a, c)});
    if (std::abs(d) < 1e-12 * scale * scale)
        return chord;
    const double a2 = a.x * a.x + a.y * a.y, b2 = b.x * b.x + b.y * b.y, c2 = c.x * c.x + c.y * c.y;
    const Pt2 o{(a2 * (b.y - c.y) + b2 * (c.y - a.y) + c2 * (a.y - b.y)) / d,
                (a2 * (c.x - b.x) + b2 * (a.x - c.x) + c2 * (b.x - a.x)) / d};
    Pt2 t = unit(-(at.y - o.y), at.x - o.x);
    // the way round the circle that passes a, b, c in this order
    const double turn = (b.x - a.x) * (c.y - b.y) - (b.y - a.y) * (c.x - b.x);
    if (turn < 0)
        t = {-t.x, -t.y};
    return t;
}

double signedAngle(const Pt2& from, const Pt2& to)
{
    return std::atan2(from.x * to.y - from.y * to.x, from.x * to.x + from.y * to.y);
}

// Fit: every piece becomes the arc that best meets the curve's directions at
// its two ends (the direction at a vertex is that of the circle through it
// and its neighbours). Points on one circle give that circle exactly.
void fit(Entity& e)
{
    std::vector<Vertex> v = e.vertices();
    const size_t n = v.size();
    const bool closed = e.Closed();
    if (n < 2 || (n == 2 && !closed))
        return;
    std::vector<Pt2> p(n), t(n);
    for (size_t i = 0; i < n; ++i)
        p[i] = {v[i].x, v[i].y};
    for (size_t i = 0; i < n; ++i) {
        if (closed || (i > 0 && i + 1 < n)) {
            t[i] = circleTangent(p[(i + n - 1) % n], p[i], p[(i + 1) % n], p[i]);
        } else if (n == 2) {
            t[i] = unit(p[1].x - p[0].x, p[1].y - p[0].y);
        } else if (i == 0) {
            t[i] = circleTangent(p[0], p[1], p[2], p[0]);
        } else {
            t[i] = circleTangent(p[n - 3], p[n - 2], p[n - 1], p[n - 1]);
        }
    }
    const size_t segs = closed ? n : n - 1;
    for (size_t i = 0; i < segs; ++i) {
        const size_t j = (i + 1) % n;
        const Pt2 chord = unit(p[j].x - p[i].x, p[j].y - p[i].y);
        if (chord.x == 0 && chord.y == 0) {
            v[i].bulge = 0;
            continue;
        }
        // half the arc's signed sweep, as the end directions each tell it
        const double half = -(signedAngle(chord, t[i]) + signedAngle(t[j], chord)) / 2;
        v[i].bulge = std::tan(half / 2);
    }
    if (!closed)
        v[n - 1].bulge = 0;
    for (size_t i = 0; i < n; ++i)
        e.SetBulge(int(i), v[i].bulge);
}

// A lightweight polyline cannot hold a spline: it becomes an old-style one
// under the same handle, in the same place of the drawing's order of keys.
Entity* asOldStyle(Entity& e)
{
    Document& doc = e.document();
    std::vector<double> xyz;
    const double elev = e.Elevation();
    for (const Vertex& x : e.vertices()) {
        xyz.push_back(x.x);
        xyz.push_back(x.y);
        xyz.push_back(elev);
    }
    Entity* n = e.owner()->AddPolyline(xyz);
    takeProperties(*n, e);
    n->setPolylineFlags(e.polylineFlags());
    n->setConstantWidth(e.ConstantWidth());
    n->setElevation(elev);
    std::vector<Vertex> v = n->vertices();
    for (size_t i = 0; i < v.size(); ++i) {
        v[i].startWidth = e.vertices()[i].startWidth;
        v[i].endWidth = e.vertices()[i].endWidth;
    }
    n->setVertices(std::move(v));
    const quint64 handle = e.handleValue();
    e.Delete();
    doc.assignHandle(n, handle);
    return n;
}

// Spline: the fit vertices of the B-spline over the frame, as SPLINETYPE
// (5 quadratic, 6 cubic) and SPLINESEGS (pieces per frame side) ask; the
// frame stays the polyline's vertices, flagged as its control points.
void splineFit(Entity& e)
{
    Document& doc = e.document();
    const int type = doc.GetVariable(QStringLiteral("SPLINETYPE")).toInt() == 5 ? 5 : 6;
    const int segs = std::max(1, std::abs(doc.GetVariable(QStringLiteral("SPLINESEGS")).toInt()));
    std::vector<Pt2> frame;
    for (const Vertex& x : e.vertices())
        frame.push_back({x.x, x.y});
    const double z = e.kind() == EntityKind::Polyline3d ? 0 : e.Elevation();
    std::vector<Vertex> fit;
    for (const Pt2& p : geom::splineFit(frame, e.Closed(), type == 5 ? 2 : 3, segs))
        fit.push_back(Vertex{p.x, p.y, z});
    e.setSplineFit(std::move(fit), type);
}

void peditCommand(CommandInput& in)
{
    Document& doc = in.document();
    Entity* e = in.nextEntity();
    const EntityKind kind = e->kind();
    if (kind != EntityKind::LwPolyline && kind != EntityKind::Polyline2d && kind != EntityKind::Polyline3d)
        fault(fail::Failed, QStringLiteral("pedit: the object is no polyline"));
    if (!editable(doc, *e))
        fault(fail::LockedLayer, QStringLiteral("pedit: the object is on a locked layer"));
    const QStringList options{QStringLiteral("Close"), QStringLiteral("Open"), QStringLiteral("Join"),
                              QStringLiteral("Width"), QStringLiteral("Edit vertex"), QStringLiteral("Fit"),
                              QStringLiteral("Spline"), QStringLiteral("Decurve"), QStringLiteral("Ltype gen"),
                              QStringLiteral("Undo"), QStringLiteral("eXit")};
    while (true) {
        const QString item = in.nextText();
        if (isEnter(item))
            return;
        const QString k = matchKeyword(item, options);
        const int flags = e->polylineFlags();
        const bool flat = e->kind() != EntityKind::Polyline3d;
        if (k == QLatin1String("eXit")) {
            return;
        } else if (k == QLatin1String("Close")) {
            e->setPolylineFlags(flags | 1);
        } else if (k == QLatin1String("Open")) {
            e->setPolylineFlags(flags & ~1);
        } else if (k == QLatin1String("Width") && flat) {
            const double w = in.nextReal();
            if (w >= 0)
                e->setConstantWidth(w);
        } else if (k == QLatin1String("Fit") && flat) {
            e->Decurve();
            fit(*e);
            if (e->kind() == EntityKind::Polyline2d)
                e->setPolylineFlags((flags | 2) & ~4);
        } else if (k == QLatin1String("Spline")) {
            if (e->kind() == EntityKind::LwPolyline)
                e = asOldStyle(*e);
            splineFit(*e);
        } else if (k == QLatin1String("Decurve")) {
            e->Decurve();
        } else if (k == QLatin1String("Ltype gen") && flat) {
            const QString on = matchKeyword(in.nextText(), {QStringLiteral("ON"), QStringLiteral("OFF")});
            if (on == QLatin1String("ON"))
                e->setPolylineFlags(flags | 128);
            else if (on == QLatin1String("OFF"))
                e->setPolylineFlags(flags & ~128);
        }
    }
}

} // namespace

void registerPedit(Application& app)
{
    app.registerCommand(QStringLiteral("PEDIT"), peditCommand,
                        QStringLiteral("编辑多段线（闭合、宽度、拟合等）"));
}

} // namespace kelvor::cad::cmd
