// Regions of a plane cut by curves: every piece between two crossings
// becomes an edge of a planar graph, the faces are walked with the face on
// the left of each half-edge, and the smallest counter-clockwise face that
// holds the point is the region around it.
#include "geom_boundary.h"

#include <algorithm>
#include <cmath>

namespace kelvor::cad::geom {

namespace {

struct HalfEdge {
    Seg s;
    int from = 0, to = 0;
    double angle = 0, turn = 0; // leaving direction; curvature to the left
    bool alive = true;
};

Seg reversed(const Seg& s)
{
    Seg r = s;
    std::swap(r.a, r.b);
    std::swap(r.za, r.zb);
    r.bulge = -s.bulge;
    return r;
}

// The area between a bulged piece's chord and its arc, signed as it adds
// to a counter-clockwise outline.
double arcCap(const Seg& s)
{
    if (!isArc(s))
        return 0;
    const ArcInfo arc = arcOf(s);
    const double th = std::abs(arc.sweep);
    return (s.bulge > 0 ? 1 : -1) * arc.r * arc.r / 2 * (th - std::sin(th));
}

double cycleArea(const std::vector<Seg>& segs)
{
    double a = 0;
    for (const Seg& s : segs)
        a += (s.a.x * s.b.y - s.b.x * s.a.y) / 2 + arcCap(s);
    return a;
}

class Graph {
public:
    explicit Graph(double tol)
        : tol_(tol)
    {
    }

    int node(const Pt2& p)
    {
        for (size_t i = 0; i < nodes_.size(); ++i)
            if (distance(nodes_[i], p) <= tol_)
                return int(i);
        nodes_.push_back(p);
        return int(nodes_.size()) - 1;
    }

    void addEdge(const Seg& s)
    {
        const int a = node(s.a), b = node(s.b);
        if (a == b)
            return; // a piece that shrank to a point
        const Pt2 mid = pointAt(s, 0.5);
        for (size_t i = 0; i < half_.size(); i += 2) {
            const HalfEdge& h = half_[i];
            if (((h.from == a && h.to == b) || (h.from == b && h.to == a)) && distance(pointAt(h.s, 0.5), mid) <= tol_)
                return; // the same piece drawn twice
        }
        half_.push_back(make(s, a, b));
        half_.push_back(make(reversed(s), b, a));
    }

    // Drops pieces with a loose end, again and again, until none is left.
    void prune()
    {
        bool again = true;
        while (again) {
            again = false;
            std::vector<int> degree(nodes_.size(), 0);
            for (const HalfEdge& h : half_)
                if (h.alive)
                    ++degree[h.from];
            for (size_t i = 0; i < half_.size(); i += 2)
                if (half_[i].alive && (degree[half_[i].from] < 2 || degree[half_[i].to] < 2)) {
                    half_[i].alive = half_[i + 1].alive = false;
                    again = true;
                }
        }
    }

    std::vector<std::vector<Seg>> faces()
    {
        // leaving half-edges of every node, counter-clockwise
        std::vector<std::vector<int>> out(nodes_.size());
        for (size_t i = 0; i < half_.size(); ++i)
            if (half_[i].alive)
                out[half_[i].from].push_back(int(i));
        std::vector<int> rank(half_.size(), -1);
        for (std::vector<int>& list : out) {
            std::sort(list.begin(), list.end(), [&](int x, int y) {
                const HalfEdge &a = half_[x], &b = half_[y];
                return a.angle != b.angle ? a.angle < b.angle : a.turn < b.turn;
            });
            for (size_t k = 0; k < list.size(); ++k)
                rank[list[k]] = int(k);
        }
        // arriving along h, the face on its left goes on along the
        // half-edge just clockwise of the way back
        auto next = [&](int h) {
            const int back = h ^ 1;
            const std::vector<int>& list = out[half_[back].from];
            return list[(rank[back] + list.size() - 1) % list.size()];
        };
        std::vector<bool> seen(half_.size(), false);
        std::vector<std::vector<Seg>> result;
        for (size_t i = 0; i < half_.size(); ++i) {
            if (!half_[i].alive || seen[i])
                continue;
            std::vector<Seg> cycle;
            int h = int(i);
            while (!seen[h] && cycle.size() <= half_.size()) {
                seen[h] = true;
                cycle.push_back(half_[h].s);
                h = next(h);
            }
            if (h == int(i))
                result.push_back(std::move(cycle));
        }
        return result;
    }

private:
    HalfEdge make(const Seg& s, int from, int to)
    {
        HalfEdge h;
        h.s = s;
        h.from = from;
        h.to = to;
        const Pt2 t = tangentAt(s, 0);
        h.angle = std::atan2(t.y, t.x);
        if (isArc(s))
            h.turn = (s.bulge > 0 ? 1 : -1) / arcOf(s).r;
        return h;
    }

    double tol_;
    std::vector<Pt2> nodes_;
    std::vector<HalfEdge> half_; // 2k and 2k + 1 run the same piece both ways
};

std::vector<Pt2> flatten(const std::vector<Seg>& segs)
{
    std::vector<Pt2> pts{segs.front().a};
    for (const Seg& s : segs)
        appendBulgeArc(pts, s.a, s.b, s.bulge);
    return pts;
}

bool onAnyPiece(const std::vector<Seg>& segs, const Pt2& p, double tol)
{
    return std::any_of(segs.begin(), segs.end(), [&](const Seg& s) { return nearest(s, p).dist <= tol; });
}

// Whether b runs on from a along the same circle, the way round it the
// same, and the two together stay short of a whole turn.
bool sameArc(const Seg& a, const Seg& b, double tol)
{
    if (!isArc(a) || !isArc(b) || (a.bulge > 0) != (b.bulge > 0))
        return false;
    const ArcInfo p = arcOf(a), q = arcOf(b);
    return distance(p.c, q.c) <= tol * 10 && std::abs(p.r - q.r) <= tol * 10
        && std::abs(p.sweep + q.sweep) < 2 * M_PI - 1e-6;
}

// One vertex per piece; straight pieces running on in one line become one,
// and so do arcs of one circle.
std::vector<Vertex> outlineOf(const std::vector<Seg>& segs, double tol)
{
    std::vector<Seg> joined;
    for (const Seg& s : segs) {
        if (!joined.empty() && sameArc(joined.back(), s, tol)) {
            Seg& last = joined.back();
            const double sweep = 4 * std::atan(last.bulge) + 4 * std::atan(s.bulge);
            last.b = s.b;
            last.bulge = std::tan(sweep / 4);
            continue;
        }
        if (!joined.empty() && !isArc(s) && !isArc(joined.back())) {
            Seg& last = joined.back();
            const double cross = (last.b.x - last.a.x) * (s.b.y - s.a.y) - (last.b.y - last.a.y) * (s.b.x - s.a.x);
            const double dot = (last.b.x - last.a.x) * (s.b.x - s.a.x) + (last.b.y - last.a.y) * (s.b.y - s.a.y);
            if (dot > 0 && std::abs(cross) <= tol * (segLength(last) + segLength(s))) {
                last.b = s.b;
                continue;
            }
        }
        joined.push_back(s);
    }
    if (joined.size() > 2 && !isArc(joined.front()) && !isArc(joined.back())) {
        const Seg &f = joined.front(), &l = joined.back();
        const double cross = (l.b.x - l.a.x) * (f.b.y - f.a.y) - (l.b.y - l.a.y) * (f.b.x - f.a.x);
        const double dot = (l.b.x - l.a.x) * (f.b.x - f.a.x) + (l.b.y - l.a.y) * (f.b.y - f.a.y);
        if (dot > 0 && std::abs(cross) <= tol * (segLength(l) + segLength(f))) {
            joined.front().a = l.a;
            joined.pop_back();
        }
    }
    std::vector<Vertex> v;
    for (const Seg& s : joined)
        v.push_back(Vertex{s.a.x, s.a.y, 0, isArc(s) ? s.bulge : 0});
    // from the lowest vertex (the leftmost of a level bottom), so that one
    // region always comes out the same
    const auto first = std::min_element(v.begin(), v.end(), [tol](const Vertex& a, const Vertex& b) {
        return std::abs(a.y - b.y) > tol ? a.y < b.y : a.x < b.x;
    });
    std::rotate(v.begin(), first, v.end());
    return v;
}

} // namespace

double outlineArea(const std::vector<Vertex>& v)
{
    std::vector<Seg> segs;
    for (size_t i = 0; i < v.size(); ++i) {
        const Vertex &a = v[i], &b = v[(i + 1) % v.size()];
        segs.push_back(Seg{{a.x, a.y}, {b.x, b.y}, a.bulge});
    }
    return cycleArea(segs);
}

std::vector<Vertex> enclosingOutline(const std::vector<Curve>& curves, const Pt2& p, double tol)
{
    std::vector<Seg> segs;
    for (const Curve& c : curves)
        for (const Seg& s : c.segs)
            if (segLength(s) > tol)
                segs.push_back(s);
    if (segs.empty() || onAnyPiece(segs, p, tol))
        return {};
    std::vector<Box> boxes;
    for (const Seg& s : segs) {
        Curve one;
        one.segs.push_back(s);
        Box b = curveBox(one);
        b.add(b.minX - tol, b.minY - tol);
        b.add(b.maxX + tol, b.maxY + tol);
        boxes.push_back(b);
    }
    std::vector<std::vector<double>> cuts(segs.size(), std::vector<double>{0.0, 1.0});
    for (size_t i = 0; i < segs.size(); ++i)
        for (size_t j = i + 1; j < segs.size(); ++j) {
            if (!boxes[i].intersects(boxes[j]))
                continue;
            for (auto [f, g] : intersect(segs[i], segs[j])) {
                cuts[i].push_back(f);
                cuts[j].push_back(g);
            }
        }
    Graph graph(tol);
    for (size_t i = 0; i < segs.size(); ++i) {
        std::vector<double>& c = cuts[i];
        std::sort(c.begin(), c.end());
        double from = 0;
        for (size_t k = 1; k < c.size(); ++k) {
            if (distance(pointAt(segs[i], from), pointAt(segs[i], c[k])) <= tol)
                continue;
            graph.addEdge(subSeg(segs[i], from, c[k]));
            from = c[k];
        }
    }
    graph.prune();
    double bestArea = std::numeric_limits<double>::infinity();
    std::vector<Seg> best;
    for (std::vector<Seg>& face : graph.faces()) {
        const double area = cycleArea(face);
        if (!(area > tol * tol) || area >= bestArea || !pointInPolygon(p, flatten(face)))
            continue;
        bestArea = area;
        best = std::move(face);
    }
    return best.empty() ? std::vector<Vertex>{} : outlineOf(best, tol);
}

} // namespace kelvor::cad::geom
