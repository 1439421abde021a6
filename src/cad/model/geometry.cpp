#include "cad/model/geometry.h"

namespace kelvor::cad {

namespace {

constexpr double kEps = 1e-9;

double cross(const Pt2& o, const Pt2& a, const Pt2& b)
{
    return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

bool onSegment(const Pt2& p, const Pt2& a, const Pt2& b)
{
    const double scale = std::max({1.0, std::abs(a.x), std::abs(a.y), std::abs(b.x), std::abs(b.y)});
    if (std::abs(cross(a, b, p)) > kEps * scale * std::max(1.0, std::hypot(b.x - a.x, b.y - a.y)))
        return false;
    return p.x >= std::min(a.x, b.x) - kEps * scale && p.x <= std::max(a.x, b.x) + kEps * scale
        && p.y >= std::min(a.y, b.y) - kEps * scale && p.y <= std::max(a.y, b.y) + kEps * scale;
}

int sign(double v, double tol)
{
    return v > tol ? 1 : (v < -tol ? -1 : 0);
}

template <class F>
void forEachSegment(const Chain& c, F f)
{
    const auto& p = c.pts;
    if (p.size() == 1) {
        f(p[0], p[0]);
        return;
    }
    for (size_t i = 0; i + 1 < p.size(); ++i)
        f(p[i], p[i + 1]);
    if (c.closed && p.size() > 2)
        f(p.back(), p.front());
}

} // namespace

bool pointOnPolygonEdge(const Pt2& p, const std::vector<Pt2>& poly)
{
    for (size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++)
        if (onSegment(p, poly[j], poly[i]))
            return true;
    return false;
}

bool pointInPolygon(const Pt2& p, const std::vector<Pt2>& poly)
{
    if (poly.empty())
        return false;
    if (pointOnPolygonEdge(p, poly))
        return true;
    bool in = false;
    for (size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++) {
        const Pt2& a = poly[i];
        const Pt2& b = poly[j];
        if ((a.y > p.y) != (b.y > p.y)) {
            const double x = a.x + (p.y - a.y) * (b.x - a.x) / (b.y - a.y);
            if (p.x < x)
                in = !in;
        }
    }
    return in;
}

bool segmentsCross(const Pt2& a, const Pt2& b, const Pt2& c, const Pt2& d)
{
    const double scale = std::max({1.0, std::abs(a.x), std::abs(a.y), std::abs(c.x), std::abs(c.y)});
    const double tol = kEps * scale * scale;
    const int d1 = sign(cross(c, d, a), tol), d2 = sign(cross(c, d, b), tol);
    const int d3 = sign(cross(a, b, c), tol), d4 = sign(cross(a, b, d), tol);
    return d1 * d2 < 0 && d3 * d4 < 0;
}

bool segmentsMeet(const Pt2& a, const Pt2& b, const Pt2& c, const Pt2& d)
{
    return segmentsCross(a, b, c, d) || onSegment(a, c, d) || onSegment(b, c, d) || onSegment(c, a, b)
        || onSegment(d, a, b);
}

namespace {

// Whether a segment of the chain meets an edge of the closed polygon.
bool chainMeetsEdges(const Chain& c, const std::vector<Pt2>& poly)
{
    bool met = false;
    forEachSegment(c, [&](const Pt2& a, const Pt2& b) {
        for (size_t i = 0, j = poly.size() - 1; !met && i < poly.size(); j = i++)
            met = segmentsMeet(a, b, poly[j], poly[i]);
    });
    return met;
}

} // namespace

bool shapeInsidePolygon(const Shape& shape, const std::vector<Pt2>& poly)
{
    if (poly.size() < 3 || shape.empty())
        return false;
    bool any = false;
    for (const Chain& c : shape) {
        for (const Pt2& p : c.pts) {
            if (!pointInPolygon(p, poly) || pointOnPolygonEdge(p, poly))
                return false;
            any = true;
        }
        if (chainMeetsEdges(c, poly))
            return false;
    }
    return any;
}

bool shapeMeetsPolygon(const Shape& shape, const std::vector<Pt2>& poly)
{
    if (poly.size() < 3)
        return false;
    for (const Chain& c : shape) {
        for (const Pt2& p : c.pts)
            if (pointInPolygon(p, poly))
                return true;
        if (chainMeetsEdges(c, poly))
            return true;
    }
    return false;
}

bool shapeMeetsFence(const Shape& shape, const std::vector<Pt2>& fence)
{
    if (fence.size() < 2)
        return false;
    for (const Chain& c : shape) {
        bool met = false;
        forEachSegment(c, [&](const Pt2& a, const Pt2& b) {
            if (met)
                return;
            for (size_t i = 0; i + 1 < fence.size(); ++i)
                if (segmentsMeet(a, b, fence[i], fence[i + 1])) {
                    met = true;
                    return;
                }
        });
        if (met)
            return true;
    }
    return false;
}

Box shapeBox(const Shape& shape)
{
    Box b;
    for (const Chain& c : shape)
        for (const Pt2& p : c.pts)
            b.add(p.x, p.y);
    return b;
}

void appendBulgeArc(std::vector<Pt2>& out, const Pt2& a, const Pt2& b, double bulge)
{
    if (std::abs(bulge) < 1e-12) {
        out.push_back(b);
        return;
    }
    const double chord = std::hypot(b.x - a.x, b.y - a.y);
    if (chord < 1e-15) {
        out.push_back(b);
        return;
    }
    const double theta = 4 * std::atan(bulge); // signed included angle
    const double radius = chord / (2 * std::sin(std::abs(theta) / 2));
    const double mx = (a.x + b.x) / 2, my = (a.y + b.y) / 2;
    // unit normal to the left of a->b; the centre lies on it
    const double nx = -(b.y - a.y) / chord, ny = (b.x - a.x) / chord;
    const double dist = radius * std::cos(std::abs(theta) / 2); // negative past a half circle
    const double sgn = bulge > 0 ? 1 : -1;
    const double ccx = mx + nx * dist * sgn;
    const double ccy = my + ny * dist * sgn;
    const double start = std::atan2(a.y - ccy, a.x - ccx);
    const int steps = std::max(2, int(std::ceil(std::abs(theta) / (M_PI / 32))));
    for (int i = 1; i <= steps; ++i) {
        if (i == steps) {
            out.push_back(b);
            break;
        }
        const double ang = start + theta * i / steps;
        out.push_back({ccx + radius * std::cos(ang), ccy + radius * std::sin(ang)});
    }
}

std::vector<Pt2> arcPoints(const Pt2& c, double r, double start, double end)
{
    double sweep = end - start;
    while (sweep <= 0)
        sweep += 2 * M_PI;
    while (sweep > 2 * M_PI)
        sweep -= 2 * M_PI;
    const int steps = std::max(2, int(std::ceil(sweep / (M_PI / 32))));
    std::vector<Pt2> out;
    out.reserve(steps + 1);
    for (int i = 0; i <= steps; ++i) {
        const double a = start + sweep * i / steps;
        out.push_back({c.x + r * std::cos(a), c.y + r * std::sin(a)});
    }
    return out;
}

} // namespace kelvor::cad
