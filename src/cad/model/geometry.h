#pragma once
#include <QString>
#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace kelvor::cad {

// Where the program writes, opens or lists drawing files, this system uses
// DXF: one extension for the whole system.
inline const QString kDrawingExtension = QStringLiteral(".dxf");

// A drawing point: x is the survey Y (easting), y the survey X (northing).
struct Point {
    double x = 0, y = 0, z = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Box {
    double minX = std::numeric_limits<double>::infinity();
    double minY = std::numeric_limits<double>::infinity();
    double maxX = -std::numeric_limits<double>::infinity();
    double maxY = -std::numeric_limits<double>::infinity();

    bool valid() const { return minX <= maxX && minY <= maxY; }
    // Finite corners and finite sides: a box that overflows (a text of height 1e308) cannot be measured against.
    bool finite() const
    {
        return valid() && std::isfinite(maxX - minX) && std::isfinite(maxY - minY);
    }
    void add(double x, double y)
    {
        minX = std::min(minX, x);
        minY = std::min(minY, y);
        maxX = std::max(maxX, x);
        maxY = std::max(maxY, y);
    }
    // Extents leave out a box that overflows: its entity is kept apart and
    // met one by one (the spatial index), never measured with the rest.
    void add(const Box& b)
    {
        if (b.finite()) {
            add(b.minX, b.minY);
            add(b.maxX, b.maxY);
        }
    }
    bool intersects(const Box& b) const
    {
        return valid() && b.valid() && minX <= b.maxX && b.minX <= maxX && minY <= b.maxY && b.minY <= maxY;
    }
    bool inside(const Box& outer) const
    {
        return valid() && minX >= outer.minX && maxX <= outer.maxX && minY >= outer.minY && maxY <= outer.maxY;
    }
};

struct Pt2 {
    double x = 0, y = 0;
};

// The plane shape an entity shows for selection: chains of points. A chain
// of one point is a dot; closed chains join their last point to the first.
struct Chain {
    std::vector<Pt2> pts;
    bool closed = false;
};
using Shape = std::vector<Chain>;

// A plane affine map x' = a x + b y + tx, y' = c x + d y + ty; `scale` is the
// length factor for radii, heights and widths.
struct Affine {
    double a = 1, b = 0, c = 0, d = 1, tx = 0, ty = 0, tz = 0;
    double scale = 1;
    double angle = 0; // rotation it adds to directions

    Point apply(const Point& p) const { return {a * p.x + b * p.y + tx, c * p.x + d * p.y + ty, p.z + tz}; }
    static Affine translation(double dx, double dy, double dz)
    {
        Affine t;
        t.tx = dx;
        t.ty = dy;
        t.tz = dz;
        return t;
    }
    static Affine rotation(const Point& base, double ang)
    {
        Affine t;
        const double cs = std::cos(ang), sn = std::sin(ang);
        t.a = cs;
        t.b = -sn;
        t.c = sn;
        t.d = cs;
        t.tx = base.x - cs * base.x + sn * base.y;
        t.ty = base.y - sn * base.x - cs * base.y;
        t.angle = ang;
        return t;
    }
    static Affine scaling(const Point& base, double f)
    {
        Affine t;
        t.a = t.d = f;
        t.tx = base.x - f * base.x;
        t.ty = base.y - f * base.y;
        t.scale = f;
        return t;
    }
};

// Plane tests used by the selection modes. Touching counts as meeting.
bool pointInPolygon(const Pt2& p, const std::vector<Pt2>& poly); // inside or on the edge
bool pointOnPolygonEdge(const Pt2& p, const std::vector<Pt2>& poly);
bool segmentsMeet(const Pt2& a, const Pt2& b, const Pt2& c, const Pt2& d);
// Segments that cross each other's interior (not merely touching).
bool segmentsCross(const Pt2& a, const Pt2& b, const Pt2& c, const Pt2& d);
// Every part of shape lies inside the closed polygon (touching the edge is
// not inside).
bool shapeInsidePolygon(const Shape& shape, const std::vector<Pt2>& poly);
// Some part of shape lies inside the closed polygon or meets its edge.
bool shapeMeetsPolygon(const Shape& shape, const std::vector<Pt2>& poly);
// Some segment of shape meets the open fence line.
bool shapeMeetsFence(const Shape& shape, const std::vector<Pt2>& fence);
Box shapeBox(const Shape& shape);

// Points along a bulged segment (bulge = tan(quarter of the arc angle)),
// the start point excluded, the end point included.
void appendBulgeArc(std::vector<Pt2>& out, const Pt2& a, const Pt2& b, double bulge);
// Arc points from start to end angle (radians, counter-clockwise).
std::vector<Pt2> arcPoints(const Pt2& centre, double radius, double start, double end);

// The same points handed one by one to f, for callers that only measure
// them (a box must equal the one of the outline to the last bit).
template <class F>
void forBulgeArcPoints(const Pt2& a, const Pt2& b, double bulge, F&& f)
{
    if (std::abs(bulge) < 1e-12) {
        f(b);
        return;
    }
    const double chord = std::hypot(b.x - a.x, b.y - a.y);
    if (chord < 1e-15) {
        f(b);
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
    for (int i = 1; i < steps; ++i) {
        const double ang = start + theta * i / steps;
        f(Pt2{ccx + radius * std::cos(ang), ccy + radius * std::sin(ang)});
    }
    f(b);
}

template <class F>
void forArcPoints(const Pt2& c, double r, double start, double end, F&& f)
{
    // Reduced in one step: a drawing may hold angles of 1e300.
    double sweep = std::fmod(end - start, 2 * M_PI);
    if (!std::isfinite(sweep))
        sweep = 2 * M_PI;
    else if (sweep <= 0)
        sweep += 2 * M_PI;
    const int steps = std::max(2, int(std::ceil(sweep / (M_PI / 32))));
    for (int i = 0; i <= steps; ++i) {
        const double a = start + sweep * i / steps;
        f(Pt2{c.x + r * std::cos(a), c.y + r * std::sin(a)}, i == steps);
    }
}

} // namespace kelvor::cad
