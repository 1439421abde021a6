#include "cad/model/geom_curve.h"

#include <algorithm>
#include <cmath>

namespace kelvor::cad::geom {

namespace {

constexpr double kTiny = 1e-12;
constexpr double kFrac = 1e-9; // tolerance on fractions

double wrap2pi(double a)
{
    a = std::fmod(a, 2 * M_PI);
    return a < 0 ? a + 2 * M_PI : a;
}

// Fraction of the arc at angle phi; outside [0, 1] when phi is off the arc.
double arcFraction(const ArcInfo& arc, double phi)
{
    double delta = arc.sweep >= 0 ? wrap2pi(phi - arc.a0) : wrap2pi(arc.a0 - phi);
    const double span = std::abs(arc.sweep);
    if (delta > span + 1e-10 && delta > 2 * M_PI - 1e-10)
        delta -= 2 * M_PI; // just before the start
    return span > 0 ? delta / span : 0;
}

bool within(double f)
{
    return f >= -kFrac && f <= 1 + kFrac;
}

double clamp01(double f)
{
    return std::clamp(f, 0.0, 1.0);
}

Pt2 lerp(const Pt2& a, const Pt2& b, double f)
{
    return {a.x + (b.x - a.x) * f, a.y + (b.y - a.y) * f};
}

// Points where the line through a, b meets the circle, as line fractions.
std::vector<double> lineCircle(const Pt2& a, const Pt2& b, const Pt2& c, double r)
{
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double fx = a.x - c.x, fy = a.y - c.y;
    const double A = dx * dx + dy * dy;
    if (A < kTiny)
        return {};
    const double B = 2 * (fx * dx + fy * dy);
    const double C = fx * fx + fy * fy - r * r;
    double disc = B * B - 4 * A * C;
    const double scale = std::max(B * B, std::abs(4 * A * C));
    if (disc < 0 && disc > -1e-12 * scale)
        disc = 0;
    if (disc < 0)
        return {};
    const double s = std::sqrt(disc);
    if (s == 0)
        return {-B / (2 * A)};
    return {(-B - s) / (2 * A), (-B + s) / (2 * A)};
}

std::vector<Pt2> circleCircle(const Pt2& c1, double r1, const Pt2& c2, double r2)
{
    const double d = distance(c1, c2);
    if (d < kTiny || d > r1 + r2 + 1e-12 * (r1 + r2) || d < std::abs(r1 - r2) - 1e-12 * (r1 + r2))
        return {};
    const double a = (r1 * r1 - r2 * r2 + d * d) / (2 * d);
    const double h = std::sqrt(std::max(0.0, r1 * r1 - a * a));
    const Pt2 m{c1.x + a * (c2.x - c1.x) / d, c1.y + a * (c2.y - c1.y) / d};
    if (h == 0)
        return {m};
    const double ox = -(c2.y - c1.y) / d * h, oy = (c2.x - c1.x) / d * h;
    return {{m.x + ox, m.y + oy}, {m.x - ox, m.y - oy}};
}

} // namespace

double distance(const Pt2& a, const Pt2& b)
{
    return std::hypot(b.x - a.x, b.y - a.y);
}

bool isArc(const Seg& s)
{
    return std::abs(s.bulge) > kTiny && distance(s.a, s.b) > kTiny;
}

ArcInfo arcOf(const Seg& s)
{
    ArcInfo arc;
    const double chord = distance(s.a, s.b);
    arc.sweep = 4 * std::atan(s.bulge);
    arc.r = chord / (2 * std::sin(std::abs(arc.sweep) / 2));
    const double mx = (s.a.x + s.b.x) / 2, my = (s.a.y + s.b.y) / 2;
    const double nx = -(s.b.y - s.a.y) / chord, ny = (s.b.x - s.a.x) / chord;
    const double dist = arc.r * std::cos(std::abs(arc.sweep) / 2) * (s.bulge > 0 ? 1 : -1);
    arc.c = {mx + nx * dist, my + ny * dist};
    arc.a0 = std::atan2(s.a.y - arc.c.y, s.a.x - arc.c.x);
    return arc;
}

Pt2 pointAt(const Seg& s, double f)
{
    if (f <= 0)
        return s.a;
    if (f >= 1)
        return s.b;
    if (!isArc(s))
        return lerp(s.a, s.b, f);
    const ArcInfo arc = arcOf(s);
    const double ang = arc.a0 + arc.sweep * f;
    return {arc.c.x + arc.r * std::cos(ang), arc.c.y + arc.r * std::sin(ang)};
}

double zAt(const Seg& s, double f)
{
    return s.za + (s.zb - s.za) * clamp01(f);
}

Pt2 tangentAt(const Seg& s, double f)
{
    if (!isArc(s)) {
        const double len = distance(s.a, s.b);
        if (len < kTiny)
            return {0, 0};
        return {(s.b.x - s.a.x) / len, (s.b.y - s.a.y) / len};
    }
    const ArcInfo arc = arcOf(s);
    const double ang = arc.a0 + arc.sweep * clamp01(f);
    const double sg = arc.sweep > 0 ? 1 : -1;
    return {-std::sin(ang) * sg, std::cos(ang) * sg};
}

double segLength(const Seg& s)
{
    if (!isArc(s))
        return distance(s.a, s.b);
    const ArcInfo arc = arcOf(s);
    return arc.r * std::abs(arc.sweep);
}

Seg subSeg(const Seg& s, double f0, double f1)
{
    Seg out = s;
    out.a = pointAt(s, f0);
    out.b = pointAt(s, f1);
    out.za = zAt(s, f0);
    out.zb = zAt(s, f1);
    out.bulge = isArc(s) ? std::tan(4 * std::atan(s.bulge) * (f1 - f0) / 4) : 0;
    return out;
}

Pt2 Curve::at(double t) const
{
    if (segs.empty())
        return {};
    const int n = int(segs.size());
    int i = int(std::floor(t));
    double f = t - i;
    if (closed)
        i = ((i % n) + n) % n; // round and round
    if (i < 0 || i >= n) {
        i = std::clamp(i, 0, n - 1);
        f = t - i;
    }
    return pointAt(segs[i], f);
}

double Curve::zAt(double t) const
{
    if (segs.empty())
        return 0;
    const int n = int(segs.size());
    int i = std::clamp(int(std::floor(t)), 0, n - 1);
    return geom::zAt(segs[i], t - i);
}

Pt2 Curve::tangent(double t) const
{
    if (segs.empty())
        return {};
    const int n = int(segs.size());
    int i = std::clamp(int(std::floor(t)), 0, n - 1);
    return tangentAt(segs[i], t - i);
}

std::optional<Curve> curveOf(const Entity& e)
{
    const Entity::Data& d = e.data();
    Curve c;
    auto p2 = [](const Vertex& v) { return Pt2{v.x, v.y}; };
    switch (e.kind()) {
    case EntityKind::Line:
        c.segs.push_back(Seg{p2(d.v[0]), p2(d.v[1]), 0, d.v[0].z, d.v[1].z, 0});
        return c;
    case EntityKind::Circle: {
        const Pt2 cc = p2(d.v[0]);
        const double z = d.v[0].z;
        const Pt2 e0{cc.x + d.placed().radius, cc.y}, e1{cc.x - d.placed().radius, cc.y};
        c.segs.push_back(Seg{e0, e1, 1, z, z, 0});
        c.segs.push_back(Seg{e1, e0, 1, z, z, 0});
        c.closed = true;
        return c;
    }
    case EntityKind::Arc: {
        const Pt2 cc = p2(d.v[0]);
        const double z = d.v[0].z;
        double sweep = d.placed().endAngle - d.placed().startAngle;
        sweep = wrap2pi(sweep);
        if (sweep < kTiny)
            sweep = 2 * M_PI;
        const double mid = d.placed().startAngle + sweep / 2;
        const Pt2 s{cc.x + d.placed().radius * std::cos(d.placed().startAngle), cc.y + d.placed().radius * std::sin(d.placed().startAngle)};
        const Pt2 m{cc.x + d.placed().radius * std::cos(mid), cc.y + d.placed().radius * std::sin(mid)};
        const Pt2 t{cc.x + d.placed().radius * std::cos(d.placed().endAngle), cc.y + d.placed().radius * std::sin(d.placed().endAngle)};
        // two halves, so that even a nearly full arc keeps a clear chord
        c.segs.push_back(Seg{s, m, std::tan(sweep / 8), z, z, 0});
        c.segs.push_back(Seg{m, t, std::tan(sweep / 8), z, z, 0});
        return c;
    }
    case EntityKind::LwPolyline:
    case EntityKind::Polyline2d:
    case EntityKind::Polyline3d: {
        const auto& v = pathVertices(d);
        if (v.size() < 2)
            return std::nullopt;
        const bool flat = e.kind() != EntityKind::Polyline3d;
        // flat polylines lie at their elevation; a 3D polyline's vertices carry their own heights
        auto zOf = [&](const Vertex& x) { return flat ? d.elevation : x.z; };
        c.closed = (d.polyFlags & 1) != 0;
        const size_t n = v.size();
        const size_t segs = c.closed ? n : n - 1;
        for (size_t i = 0; i < segs; ++i) {
            const Vertex& a = v[i];
            const Vertex& b = v[(i + 1) % n];
            c.segs.push_back(Seg{p2(a), p2(b), flat ? a.bulge : 0, zOf(a), zOf(b), int(i)});
        }
        return c;
    }
    default:
        return std::nullopt;
    }
}

std::vector<std::pair<double, double>> intersect(const Seg& s, const Seg& t)
{
    std::vector<std::pair<double, double>> out;
    const bool as = isArc(s), at = isArc(t);
    if (!as && !at) {
        const double rx = s.b.x - s.a.x, ry = s.b.y - s.a.y;
        const double qx = t.b.x - t.a.x, qy = t.b.y - t.a.y;
        const double den = rx * qy - ry * qx;
        const double scale = std::hypot(rx, ry) * std::hypot(qx, qy);
        if (scale < kTiny || std::abs(den) < 1e-12 * scale)
            return out; // parallel or degenerate: no single crossing
        const double wx = t.a.x - s.a.x, wy = t.a.y - s.a.y;
        const double f = (wx * qy - wy * qx) / den;
        const double g = (wx * ry - wy * rx) / den;
        if (within(f) && within(g))
            out.push_back({clamp01(f), clamp01(g)});
        return out;
    }
    if (as && at) {
        const ArcInfo p = arcOf(s), q = arcOf(t);
        for (const Pt2& x : circleCircle(p.c, p.r, q.c, q.r)) {
            const double f = arcFraction(p, std::atan2(x.y - p.c.y, x.x - p.c.x));
            const double g = arcFraction(q, std::atan2(x.y - q.c.y, x.x - q.c.x));
            if (within(f) && within(g))
                out.push_back({clamp01(f), clamp01(g)});
        }
        return out;
    }
    const Seg& line = as ? t : s;
    const ArcInfo arc = arcOf(as ? s : t);
    for (double f : lineCircle(line.a, line.b, arc.c, arc.r)) {
        if (!within(f))
            continue;
        const Pt2 x = lerp(line.a, line.b, f);
        const double g = arcFraction(arc, std::atan2(x.y - arc.c.y, x.x - arc.c.x));
        if (!within(g))
            continue;
        out.push_back(as ? std::pair{clamp01(g), clamp01(f)} : std::pair{clamp01(f), clamp01(g)});
    }
    return out;
}

std::vector<std::pair<double, double>> intersect(const Curve& a, const Curve& b)
{
    std::vector<std::pair<double, double>> out;
    for (size_t i = 0; i < a.segs.size(); ++i)
        for (size_t j = 0; j < b.segs.size(); ++j)
            for (auto [f, g] : intersect(a.segs[i], b.segs[j]))
                out.push_back({double(i) + f, double(j) + g});
    return out;
}

Nearest nearest(const Seg& s, const Pt2& p)
{
    Nearest n;
    if (!isArc(s)) {
        const double dx = s.b.x - s.a.x, dy = s.b.y - s.a.y;
        const double len2 = dx * dx + dy * dy;
        n.t = len2 < kTiny ? 0 : clamp01(((p.x - s.a.x) * dx + (p.y - s.a.y) * dy) / len2);
    } else {
        const ArcInfo arc = arcOf(s);
        const double f = arcFraction(arc, std::atan2(p.y - arc.c.y, p.x - arc.c.x));
        if (within(f))
            n.t = clamp01(f);
        else
            n.t = distance(p, s.a) <= distance(p, s.b) ? 0 : 1;
    }
    n.p = pointAt(s, n.t);
    n.z = zAt(s, n.t);
    n.dist = distance(p, n.p);
    return n;
}

Nearest nearest(const Curve& c, const Pt2& p)
{
    Nearest best;
    best.dist = std::numeric_limits<double>::infinity();
    for (size_t i = 0; i < c.segs.size(); ++i) {
        Nearest n = nearest(c.segs[i], p);
        if (n.dist < best.dist) {
            best = n;
            best.t += double(i);
        }
    }
    return best;
}

std::vector<Seg> piece(const Curve& c, double t0, double t1)
{
    std::vector<Seg> out;
    const int n = int(c.segs.size());
    if (n == 0 || !(t1 > t0))
        return out;
    for (int k = int(std::floor(t0)); k < t1; ++k) {
        const double f0 = std::max(t0 - k, 0.0), f1 = std::min(t1 - k, 1.0);
        if (f1 - f0 < 1e-12)
            continue;
        const int i = c.closed ? ((k % n) + n) % n : std::clamp(k, 0, n - 1);
        out.push_back(subSeg(c.segs[i], f0, f1));
    }
    return out;
}

Box curveBox(const Curve& c)
{
    Box b;
    for (const Seg& s : c.segs) {
        b.add(s.a.x, s.a.y);
        b.add(s.b.x, s.b.y);
        if (!isArc(s))
            continue;
        const ArcInfo arc = arcOf(s);
        for (int q = 0; q < 4; ++q) {
            const double phi = q * M_PI / 2;
            const double f = arcFraction(arc, phi);
            if (f > 0 && f < 1)
                b.add(arc.c.x + arc.r * std::cos(phi), arc.c.y + arc.r * std::sin(phi));
        }
    }
    return b;
}

Box exactBox(const Entity& e)
{
    if (const std::optional<Curve> c = curveOf(e)) {
        if (e.kind() == EntityKind::Circle) {
            const Entity::Data& d = e.data();
            Box b;
            b.add(d.v[0].x - d.placed().radius, d.v[0].y - d.placed().radius);
            b.add(d.v[0].x + d.placed().radius, d.v[0].y + d.placed().radius);
            return b;
        }
        return curveBox(*c);
    }
    return e.box();
}

std::vector<OffsetVertex> offsetPolyline(const std::vector<Vertex>& v, bool closed, double d)
{
    const size_t n = v.size();
    if (n < 2 || !(std::abs(d) > 0))
        return {};
    const size_t segCount = closed ? n : n - 1;
    std::vector<Seg> segs;
    for (size_t i = 0; i < segCount; ++i) {
        const Vertex& a = v[i];
        const Vertex& b = v[(i + 1) % n];
        segs.push_back(Seg{{a.x, a.y}, {b.x, b.y}, a.bulge, 0, 0, int(i)});
    }
    // left normals at both ends of every piece; a piece of no length takes
    // those of its neighbour so that its two vertices move together
    std::vector<Pt2> ns(segCount), ne(segCount);
    std::vector<bool> ok(segCount);
    for (size_t i = 0; i < segCount; ++i) {
        ok[i] = distance(segs[i].a, segs[i].b) > kTiny;
        if (ok[i]) {
            const Pt2 t0 = tangentAt(segs[i], 0), t1 = tangentAt(segs[i], 1);
            ns[i] = {-t0.y, t0.x};
            ne[i] = {-t1.y, t1.x};
        }
    }
    if (std::none_of(ok.begin(), ok.end(), [](bool b) { return b; }))
        return {};
    for (size_t pass = 0; pass < 2; ++pass)
        for (size_t i = 0; i < segCount; ++i)
            if (!ok[i]) {
                const size_t prev = (i + segCount - 1) % segCount;
                const size_t next = (i + 1) % segCount;
                const size_t from = (ok[prev] && (closed || i > 0)) ? prev : ((ok[next] && (closed || i + 1 < segCount)) ? next : segCount);
                if (from == segCount)
                    continue;
                ns[i] = from == prev ? ne[prev] : ns[next];
                ne[i] = ns[i];
                ok[i] = true;
            }
    if (std::find(ok.begin(), ok.end(), false) != ok.end())
        return {};
    std::vector<OffsetVertex> out(n);
    for (size_t i = 0; i < n; ++i) {
        Pt2 m;
        const bool hasPrev = closed || i > 0;
        const bool hasNext = closed || i + 1 < n;
        if (hasPrev && hasNext) {
            const Pt2 n1 = ne[(i + segCount - 1) % segCount], n2 = ns[i % segCount];
            const double dot = 1 + n1.x * n2.x + n1.y * n2.y;
            if (dot < 1e-9)
                return {}; // the outline turns right back here
            m = {(n1.x + n2.x) / dot, (n1.y + n2.y) / dot};
        } else if (hasNext) {
            m = ns[i];
        } else {
            m = ne[i - 1];
        }
        out[i] = {v[i].x + d * m.x, v[i].y + d * m.y, v[i].bulge};
    }
    // every piece keeps its direction; arcs keep a positive radius
    for (size_t i = 0; i < segCount; ++i) {
        const OffsetVertex& a = out[i];
        const OffsetVertex& b = out[(i + 1) % n];
        const Seg& s = segs[i];
        const double ox = s.b.x - s.a.x, oy = s.b.y - s.a.y;
        const double nx = b.x - a.x, ny = b.y - a.y;
        if (std::hypot(ox, oy) < kTiny)
            continue;
        if (ox * nx + oy * ny <= 1e-12 * (ox * ox + oy * oy))
            return {};
        if (isArc(s)) {
            const ArcInfo arc = arcOf(s);
            const double r = arc.r - d * (s.bulge > 0 ? 1 : -1);
            if (!(r > 1e-9))
                return {};
        }
    }
    if (!closed)
        out.back().bulge = 0;
    return out;
}

} // namespace kelvor::cad::geom
