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
    forBulgeArcPoints(a, b, bulge, [&out](const Pt2& p) { out.push_back(p); });
}

std::vector<Pt2> arcPoints(const Pt2& c, double r, double start, double end)
{
    std::vector<Pt2> out;
    out.reserve(66);
    forArcPoints(c, r, start, end, [&out](const Pt2& p, bool) { out.push_back(p); });
    return out;
}

} // namespace kelvor::cad
