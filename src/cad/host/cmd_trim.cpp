// TRIM (cutting edges, fence or picks) and BREAK (at one point or between two).
#include "cad/host/cmd_support.h"
#include "cad/model/document.h"

#include <algorithm>
#include <cmath>

namespace kelvor::cad::cmd {

namespace {

constexpr double kEps = 1e-9;

struct Edge {
    quint64 handle;
    geom::Curve curve;
    Box box;
};

// The cutting edges: those chosen, or every object shown when none was.
// Only edges near a curve are looked at, so that trimming against every
// object stays quick in a large drawing.
class Edges {
public:
    Edges(Document& doc, const std::vector<Entity*>& chosen)
        : doc_(doc)
        , all_(chosen.empty())
    {
        for (Entity* e : chosen)
            if (std::optional<Edge> edge = edgeOf(e))
                chosen_.push_back(std::move(*edge));
    }
    std::vector<Edge> near(const Box& area) const
    {
        std::vector<Edge> out;
        if (!all_) {
            for (const Edge& e : chosen_)
                if (e.box.intersects(area))
                    out.push_back(e);
            return out;
        }
        for (Entity* e : doc_.modelCandidates(area))
            if (std::optional<Edge> edge = edgeOf(e))
                out.push_back(std::move(*edge));
        return out;
    }

private:
    std::optional<Edge> edgeOf(Entity* e) const
    {
        if (!visibleForEdit(doc_, *e))
            return std::nullopt;
        std::optional<geom::Curve> c = geom::curveOf(*e);
        if (!c)
            return std::nullopt;
        Box b = geom::curveBox(*c);
        return Edge{e->handleValue(), std::move(*c), b};
    }
    Document& doc_;
    bool all_;
    std::vector<Edge> chosen_;
};

std::vector<double> sortedUnique(std::vector<double> v, double period = 0)
{
    if (period > 0)
        for (double& x : v) {
            x = std::fmod(x, period);
            if (x < 0)
                x += period;
            if (x > period - kEps)
                x = 0;
        }
    std::sort(v.begin(), v.end());
    std::vector<double> out;
    for (double x : v)
        if (out.empty() || x - out.back() > kEps)
            out.push_back(x);
    return out;
}

// Parameter intervals [t0, t1] of the curve between its cut points; the
// last one of a closed curve wraps past the end.
std::vector<std::pair<double, double>> intervals(const geom::Curve& c, const std::vector<double>& cuts)
{
    std::vector<std::pair<double, double>> out;
    const double n = c.size();
    if (c.closed) {
        if (cuts.size() < 2)
            return out; // a closed curve needs two cuts to lose a part
        for (size_t i = 0; i + 1 < cuts.size(); ++i)
            out.push_back({cuts[i], cuts[i + 1]});
        out.push_back({cuts.back(), cuts.front() + n});
        return out;
    }
    std::vector<double> inner;
    for (double t : cuts)
        if (t > kEps && t < n - kEps)
            inner.push_back(t);
    if (inner.empty())
        return out; // meets no edge: nothing to trim
    double from = 0;
    for (double t : inner) {
        out.push_back({from, t});
        from = t;
    }
    out.push_back({from, n});
    return out;
}

bool contains(const std::pair<double, double>& iv, double t, double n, bool closed)
{
    if (t > iv.first + kEps && t < iv.second - kEps)
        return true;
    return closed && t + n > iv.first + kEps && t + n < iv.second - kEps;
}

// Removes from the entity the parts between cuts that hold one of the hits;
// the rest stays as one or more entities.
void trimAt(Entity& e, const geom::Curve& c, const Edges& allEdges, const std::vector<double>& hits)
{
    std::vector<double> cuts;
    for (const Edge& edge : allEdges.near(geom::curveBox(c))) {
        if (edge.handle == e.handleValue())
            continue;
        for (auto [t, u] : geom::intersect(c, edge.curve))
            cuts.push_back(t);
    }
    const double n = c.size();
    cuts = sortedUnique(cuts, c.closed ? n : 0);
    const auto parts = intervals(c, cuts);
    if (parts.empty())
        return;
    std::vector<bool> removed(parts.size(), false);
    bool any = false;
    for (double h : hits)
        for (size_t i = 0; i < parts.size(); ++i)
            if (contains(parts[i], h, n, c.closed)) {
                removed[i] = true;
                any = true;
            }
    if (!any)
        return;
    // kept neighbours join up; on a closed curve across the seam too, so
    // the walk starts right after a removed part
    std::vector<std::pair<double, double>> kept;
    const size_t m = parts.size();
    size_t start = 0;
    if (c.closed) {
        while (!removed[start])
            ++start;
        ++start;
    }
    bool joining = false;
    double prevEnd = -1;
    for (size_t k = 0; k < m; ++k) {
        const size_t i = (start + k) % m;
        double t0 = parts[i].first, t1 = parts[i].second;
        while (c.closed && t0 < prevEnd - kEps) {
            t0 += n;
            t1 += n;
        }
        prevEnd = t1;
        if (removed[i]) {
            joining = false;
            continue;
        }
        if (joining)
            kept.back().second = t1;
        else
            kept.push_back({t0, t1});
        joining = true;
    }
    std::vector<std::vector<geom::Seg>> pieces;
    for (auto [t0, t1] : kept) {
        std::vector<geom::Seg> segs = geom::piece(c, t0, t1);
        if (!segs.empty())
            pieces.push_back(std::move(segs));
    }
    reshape(e, pieces);
}

geom::Curve fenceCurve(const std::vector<Point>& pts)
{
    geom::Curve f;
    for (size_t i = 0; i + 1 < pts.size(); ++i)
        f.segs.push_back(geom::Seg{{pts[i].x, pts[i].y}, {pts[i + 1].x, pts[i + 1].y}});
    return f;
}

void trimByFence(Document& doc, const Edges& edges, const std::vector<Point>& pts)
{
    if (pts.size() < 2)
        return;
    const geom::Curve fence = fenceCurve(pts);
    Box area;
    for (const Point& p : pts)
        area.add(p.x, p.y);
    std::vector<Entity*> candidates = doc.modelCandidates(area);
    std::sort(candidates.begin(), candidates.end(),
              [](Entity* a, Entity* b) { return a->sequence() < b->sequence(); });
    for (Entity* e : candidates) {
        if (!visibleForEdit(doc, *e) || !editable(doc, *e))
            continue;
        const std::optional<geom::Curve> c = geom::curveOf(*e);
        if (!c)
            continue;
        std::vector<double> hits;
        for (auto [t, u] : geom::intersect(*c, fence))
            hits.push_back(t);
        if (!hits.empty())
            trimAt(*e, *c, edges, hits);
    }
}

void trimCommand(CommandInput& in)
{
    Document& doc = in.document();
    std::vector<Entity*> chosen;
    while (true) {
        const QString item = in.nextText(QStringLiteral("select"));
        if (isEnter(item))
            break;
        if (isEntityText(item))
            chosen.push_back(entityFromExpression(doc, item));
    }
    const Edges edges(doc, chosen); // Enter alone: every object is an edge
    while (true) {
        const QString item = in.nextText(QStringLiteral("entity"));
        if (isEnter(item))
            return;
        if (isEntityText(item)) {
            Point pick;
            Entity* e = entityFromExpression(doc, item, &pick);
            if (!visibleForEdit(doc, *e) || !editable(doc, *e))
                continue;
            if (const std::optional<geom::Curve> c = geom::curveOf(*e))
                trimAt(*e, *c, edges, {geom::nearest(*c, {pick.x, pick.y}).t});
            continue;
        }
        const QString k = matchKeyword(item, {QStringLiteral("Fence"), QStringLiteral("Crossing"),
                                              QStringLiteral("Project"), QStringLiteral("Edge"),
                                              QStringLiteral("eRase"), QStringLiteral("Undo")});
        if (k == QLatin1String("Fence")) {
            trimByFence(doc, edges, pointsUntilEnter(in));
        }
    }
}

// BREAK: the entity with its pick as the first point, then the second
// point ("First" names the first point anew). Equal points part the entity
// without a gap.
void breakCommand(CommandInput& in)
{
    Document& doc = in.document();
    Point first;
    Entity* e = in.nextEntity(&first);
    QString item = in.nextText();
    if (matchKeyword(item, {QStringLiteral("First")}) == QLatin1String("First")) {
        first = in.nextPoint();
        item = in.nextText();
    }
    const std::optional<Point> second = pointOf(item);
    if (!second)
        fault(fail::Failed, QStringLiteral("break: \"%1\" is not a point").arg(item));
    if (!editable(doc, *e))
        return;
    const std::optional<geom::Curve> c = geom::curveOf(*e);
    if (!c)
        return;
    const double n = c->size();
    double t1 = geom::nearest(*c, {first.x, first.y}).t;
    double t2 = geom::nearest(*c, {second->x, second->y}).t;
    std::vector<std::pair<double, double>> keep;
    if (std::abs(t1 - t2) < kEps) {
        if (e->kind() == EntityKind::Circle)
            return; // a whole circle cannot be parted at one point
        if (c->closed) {
            keep.push_back({t1, t1 + n}); // opened at the point
        } else {
            if (t1 < kEps || t1 > n - kEps)
                return;
            keep = {{0, t1}, {t1, n}};
        }
    } else if (c->closed) {
        // the part from the first point on to the second goes
        if (t2 < t1)
            t2 += n;
        keep.push_back({t2, t1 + n});
    } else {
        const double a = std::min(t1, t2), b = std::max(t1, t2);
        if (a > kEps)
            keep.push_back({0, a});
        if (b < n - kEps)
            keep.push_back({b, n});
    }
    std::vector<std::vector<geom::Seg>> pieces;
    for (auto [a, b] : keep)
        if (std::vector<geom::Seg> s = geom::piece(*c, a, b); !s.empty())
            pieces.push_back(std::move(s));
    reshape(*e, pieces);
}

} // namespace

void registerTrimAndBreak(Application& app)
{
    app.registerCommand(QStringLiteral("TRIM"), trimCommand,
                        QStringLiteral("以边界修剪对象"));
    app.registerCommand(QStringLiteral("BREAK"), breakCommand,
                        QStringLiteral("打断对象"));
}

} // namespace kelvor::cad::cmd
