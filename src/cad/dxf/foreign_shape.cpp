#include "cad/dxf/foreign_shape.h"

#include "platform/text_file.h"

#include <cmath>
#include <optional>

namespace kelvor::cad {

namespace {

constexpr double kDeg = M_PI / 180.0;

std::optional<double> number(const KeptGroup& g)
{
    bool ok = false;
    const double v = g.value.trimmed().toDouble(&ok);
    return ok && std::isfinite(v) ? std::optional<double>(v) : std::nullopt;
}

// The points of groups x (code) and y (code + 10) in file order.
std::vector<Pt2> points(const KeptGroups& g, int code)
{
    std::vector<Pt2> out;
    for (size_t i = 0; i + 1 < g.size(); ++i)
        if (g[i].code == code && g[i + 1].code == code + 10) {
            const auto x = number(g[i]), y = number(g[i + 1]);
            if (x && y)
                out.push_back({*x, *y});
        }
    return out;
}

double first(const KeptGroups& g, int code, double otherwise)
{
    for (const KeptGroup& k : g)
        if (k.code == code)
            if (const auto v = number(k))
                return *v;
    return otherwise;
}

// Points of an elliptic arc from parameter t0 to t1 (radians, t1 > t0);
// minor points ratio times the major axis, a quarter turn on.
std::vector<Pt2> ellipsePoints(const Pt2& c, const Pt2& major, double ratio, double t0, double t1)
{
    const int n = std::max(8, int(std::ceil(64 * (t1 - t0) / (2 * M_PI))));
    std::vector<Pt2> out;
    for (int i = 0; i <= n; ++i) {
        const double t = t0 + (t1 - t0) * i / n;
        const double cs = std::cos(t), sn = std::sin(t) * ratio;
        out.push_back({c.x + major.x * cs - major.y * sn, c.y + major.y * cs + major.x * sn});
    }
    return out;
}

// A hatch's groups read in order; any surprise ends the reading.
struct Cursor {
    const KeptGroups& g;
    size_t i = 0;
    bool ok = true;
    double take(int code)
    {
        if (!ok || i >= g.size() || g[i].code != code) {
            ok = false;
            return 0;
        }
        const auto v = number(g[i++]);
        ok = v.has_value();
        return v.value_or(0);
    }
    bool at(int code) const { return ok && i < g.size() && g[i].code == code; }
};

void hatchPaths(const KeptGroups& g, Shape& out)
{
    Cursor c{g};
    while (c.i < g.size() && g[c.i].code != 91)
        ++c.i;
    const int paths = int(c.take(91));
    for (int p = 0; p < paths && c.ok; ++p) {
        const int flags = int(c.take(92));
        if (flags & 2) { // a polyline
            const bool bulged = c.take(72) != 0;
            const bool closed = c.take(73) != 0;
            const int n = int(c.take(93));
            std::vector<Pt2> v;
            std::vector<double> bulge;
            for (int k = 0; k < n && c.ok; ++k) {
                const double x = c.take(10), y = c.take(20);
                v.push_back({x, y});
                bulge.push_back(bulged && c.at(42) ? c.take(42) : 0);
            }
            if (!c.ok || v.empty())
                return;
            Chain chain{{v[0]}, closed};
            for (size_t k = 0; k + 1 < v.size(); ++k)
                appendBulgeArc(chain.pts, v[k], v[k + 1], bulge[k]);
            if (closed && bulge.back() != 0) {
                appendBulgeArc(chain.pts, v.back(), v.front(), bulge.back());
                chain.pts.pop_back();
            }
            out.push_back(std::move(chain));
        } else {
            const int edges = int(c.take(93));
            for (int k = 0; k < edges && c.ok; ++k) {
                const int type = int(c.take(72));
                if (type == 1) {
                    const double x0 = c.take(10), y0 = c.take(20), x1 = c.take(11), y1 = c.take(21);
                    if (c.ok)
                        out.push_back(Chain{{{x0, y0}, {x1, y1}}, false});
                } else if (type == 2 || type == 3) {
                    const Pt2 centre{c.take(10), c.take(20)};
                    Pt2 major{0, 0};
                    if (type == 3)
                        major = {c.take(11), c.take(21)};
                    const double r = c.take(40);
                    double a0 = c.take(50) * kDeg, a1 = c.take(51) * kDeg;
                    const bool ccw = c.take(73) != 0;
                    if (!c.ok)
                        return;
                    // clockwise edges give their angles counted clockwise
                    if (!ccw) {
                        std::swap(a0, a1);
                        a0 = -a0;
                        a1 = -a1;
                    }
                    while (a1 <= a0)
                        a1 += 2 * M_PI;
                    std::vector<Pt2> pts = type == 2 ? arcPoints(centre, r, a0, a1)
                                                     : ellipsePoints(centre, major, r, a0, a1);
                    if (!ccw)
                        std::reverse(pts.begin(), pts.end());
                    out.push_back(Chain{std::move(pts), false});
                } else {
                    return; // a spline edge: the rest stays undrawn
                }
            }
        }
        const int sources = int(c.take(97));
        for (int k = 0; k < sources && c.ok; ++k)
            if (c.at(330))
                ++c.i;
            else
                c.ok = false;
    }
}

} // namespace

Shape foreignOutline(const Entity::Data& d)
{
    const QByteArray& t = d.rare().foreignType;
    const KeptGroups& g = d.rare().foreignBody;
    Shape out;
    if (t == "SPLINE") {
        std::vector<Pt2> pts = points(g, 11);
        if (pts.empty())
            pts = points(g, 10);
        if (!pts.empty())
            out.push_back(Chain{std::move(pts), (int(first(g, 70, 0)) & 1) != 0});
    } else if (t == "ELLIPSE") {
        const std::vector<Pt2> centre = points(g, 10), axis = points(g, 11);
        if (centre.empty() || axis.empty())
            return out;
        const double t0 = first(g, 41, 0);
        double t1 = first(g, 42, 2 * M_PI);
        while (t1 <= t0)
            t1 += 2 * M_PI;
        // seen from below (extrusion -z) the minor axis turns the other way
        const double ratio = first(g, 40, 1) * (first(g, 230, 1) < 0 ? -1 : 1);
        const bool whole = t1 - t0 >= 2 * M_PI - 1e-9;
        std::vector<Pt2> pts = ellipsePoints(centre[0], axis[0], ratio, t0, t1);
        if (whole)
            pts.pop_back();
        out.push_back(Chain{std::move(pts), whole});
    } else if (t == "SOLID" || t == "3DFACE") {
        std::vector<Pt2> corner;
        for (int code : {10, 11, 12, 13}) {
            const std::vector<Pt2> p = points(g, code);
            if (!p.empty())
                corner.push_back(p[0]);
        }
        if (corner.size() < 3)
            return out;
        if (corner.size() == 3)
            corner.push_back(corner[2]);
        if (t == "SOLID") // its third and fourth corners go round the other way
            std::swap(corner[2], corner[3]);
        if (corner[3].x == corner[2].x && corner[3].y == corner[2].y)
            corner.pop_back();
        out.push_back(Chain{std::move(corner), true});
    } else if (t == "HATCH") {
        hatchPaths(g, out);
    }
    return out;
}

QString dimensionBlock(const Entity::Data& d)
{
    if (d.rare().foreignType != "DIMENSION")
        return {};
    for (const KeptGroup& k : d.rare().foreignBody)
        if (k.code == 2)
            return decodeGbk(k.value.trimmed());
    return {};
}

} // namespace kelvor::cad
