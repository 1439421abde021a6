// The plane outline of an entity and its box. The box is measured from the
// same points the outline is built of, without building it: selection and
// extents ask for many boxes, and an outline costs allocations.
#include "cad/model/entity_shape.h"

#include "cad/model/document.h"

#include <array>
#include <cmath>

namespace kelvor::cad {

namespace {

// Width of a text line in heights: a character beyond U+10FF (CJK and
// other full-width scripts) counts 1, any other character 0.6.
double textUnits(const QString& s)
{
    double u = 0;
    for (QChar c : s)
        u += c.unicode() >= 0x1100 ? 1.0 : 0.6;
    return u;
}

// Where a foreign kind's plain coordinates are simple enough to bound it:
// points in the drawing's plane, by the x codes that carry them. Kinds not
// listed (hatches, meshes, proxies ...) have no box.
Box foreignBox(const Entity::Data& d)
{
    const QByteArray& t = d.rare().foreignType;
    std::vector<int> codes;
    if (t == "SPLINE")
        codes = {10, 11};
    else if (t == "SOLID" || t == "TRACE" || t == "3DFACE")
        codes = {10, 11, 12, 13};
    else if (t == "LEADER" || t == "ATTDEF")
        codes = {10};
    else if (t == "DIMENSION")
        codes = {10, 13, 14, 15};
    else if (t != "ELLIPSE")
        return {};
    std::vector<std::pair<int, Pt2>> pts; // x code, point
    int pending = 0;
    double x = 0;
    for (const KeptGroup& g : d.rare().foreignBody) {
        bool ok = false;
        const double v = g.value.trimmed().toDouble(&ok);
        if (!ok)
            continue;
        if (g.code >= 10 && g.code <= 18) {
            pending = g.code;
            x = v;
        } else if (pending && g.code == pending + 10) {
            pts.push_back({pending, {x, v}});
            pending = 0;
        }
    }
    Box b;
    if (t == "ELLIPSE") { // centre and the end of the major axis, relative to it
        const Pt2* c = nullptr;
        const Pt2* axis = nullptr;
        for (const auto& [code, p] : pts) {
            if (code == 10 && !c)
                c = &p;
            else if (code == 11 && !axis)
                axis = &p;
        }
        if (c && axis) {
            const double r = std::hypot(axis->x, axis->y);
            b.add(c->x - r, c->y - r);
            b.add(c->x + r, c->y + r);
        }
        return b;
    }
    for (const auto& [code, p] : pts)
        if (std::find(codes.begin(), codes.end(), code) != codes.end())
            b.add(p.x, p.y);
    return b;
}

using Quad = std::array<Pt2, 4>;

Quad rotatedQuad(double x0, double y0, double w, double h, const Pt2& ref, double rot)
{
    const double cs = std::cos(rot), sn = std::sin(rot);
    auto at = [&](double x, double y) { return Pt2{ref.x + x * cs - y * sn, ref.y + x * sn + y * cs}; };
    return {at(x0, y0), at(x0 + w, y0), at(x0 + w, y0 + h), at(x0, y0 + h)};
}

Chain closedChain(const Quad& q)
{
    return Chain{{q[0], q[1], q[2], q[3]}, true};
}

Quad textQuad(const Entity::Data& d)
{
    // Box rule: the text is height tall from its baseline, and each
    // character is 0.6 of the height wide (1 for full-width characters),
    // times the width factor.
    const double h = d.placed().height;
    double w = h * d.placed().widthFactor * textUnits(d.placed().text);
    Pt2 ref = p2(d.v[0]);
    double rot = d.placed().rotation;
    double x0 = 0, y0 = 0;
    if (d.placed().hAlign == 3 || d.placed().hAlign == 5) { // aligned, fit: from insertion to alignment point
        const Pt2 a = p2(d.v[1]);
        const double len = std::hypot(a.x - ref.x, a.y - ref.y);
        if (len > 0) {
            w = len;
            rot = std::atan2(a.y - ref.y, a.x - ref.x);
        }
    } else if (!(d.placed().hAlign == 0 && d.placed().vAlign == 0)) {
        ref = p2(d.v[1]);
        if (d.placed().hAlign == 1 || d.placed().hAlign == 4)
            x0 = -w / 2;
        else if (d.placed().hAlign == 2)
            x0 = -w;
        if (d.placed().hAlign == 4 || d.placed().vAlign == 2)
            y0 = -h / 2;
        else if (d.placed().vAlign == 3)
            y0 = -h;
    }
    return rotatedQuad(x0, y0, w, h, ref, rot);
}

Quad mtextQuad(const Entity::Data& d)
{
    const QStringList lines = QString(d.placed().text).replace(QLatin1String("\\P"), QLatin1String("\n")).split(QLatin1Char('\n'));
    double units = 0;
    for (const QString& l : lines)
        units = std::max(units, textUnits(l));
    const double w = d.rare().mtextWidth > 0 ? d.rare().mtextWidth : d.placed().height * units;
    const double h = d.placed().height * (1 + 1.5 * (lines.size() - 1));
    const int col = (d.rare().attachment - 1) % 3, row = (d.rare().attachment - 1) / 3;
    // rows: 0 top (box below the point), 1 middle, 2 bottom
    return rotatedQuad(-w * col / 2.0, row == 0 ? -h : (row == 1 ? -h / 2 : 0), w, h, p2(d.v[0]), d.placed().rotation);
}

Quad imageQuad(const Entity::Data& d)
{
    const Pt2 o = p2(d.v[0]);
    const Pt2 u{d.rare().u.x * d.rare().pixelsW, d.rare().u.y * d.rare().pixelsW}, v{d.rare().vv.x * d.rare().pixelsH, d.rare().vv.y * d.rare().pixelsH};
    return {o, Pt2{o.x + u.x, o.y + u.y}, Pt2{o.x + u.x + v.x, o.y + u.y + v.y}, Pt2{o.x + v.x, o.y + v.y}};
}

// The block's extents mapped to the reference; false when the block has
// none (the reference is then its insertion point).
bool insertQuad(const Entity& e, Quad& q)
{
    const Entity::Data& d = e.data();
    const Block* def = e.owner() ? e.document().findBlock(d.placed().text) : nullptr;
    // The block's extents are measured once and mapped per reference, so
    // nested references cost their number, not the number of their leaves.
    const Box inner = def && def != e.owner() ? def->extents() : Box{};
    if (!inner.valid())
        return false;
    const Affine t = insertTransform(d, def->Origin());
    int i = 0;
    for (auto [x, y] : {std::pair{inner.minX, inner.minY}, {inner.maxX, inner.minY}, {inner.maxX, inner.maxY},
                        {inner.minX, inner.maxY}}) {
        const Point p = t.apply({x, y, 0});
        q[i++] = {p.x, p.y};
    }
    return true;
}

// The points a polyline's outline runs through, in order; true when it is
// closed.
template <class F>
bool forPathPoints(EntityKind kind, const Entity::Data& d, F&& f)
{
    const auto& v = pathVertices(d);
    if (v.empty())
        return false;
    f(p2(v[0]));
    const bool flat = kind != EntityKind::Polyline3d;
    for (size_t i = 0; i + 1 < v.size(); ++i)
        forBulgeArcPoints(p2(v[i]), p2(v[i + 1]), flat ? v[i].bulge : 0, f);
    if ((d.polyFlags & 1) && v.size() > 1) {
        if (flat && std::abs(v.back().bulge) > 1e-12) {
            // the closing arc less its end, which is the first point
            bool held = false;
            Pt2 last;
            forBulgeArcPoints(p2(v.back()), p2(v.front()), v.back().bulge, [&](const Pt2& p) {
                if (held)
                    f(last);
                last = p;
                held = true;
            });
        }
        return true;
    }
    return false;
}

} // namespace

Shape Entity::shape() const
{
    const Data& d = *dat();
    Shape s;
    switch (kind_) {
    case EntityKind::Line:
        s.push_back(Chain{{p2(d.v[0]), p2(d.v[1])}, false});
        break;
    case EntityKind::Point:
        s.push_back(Chain{{p2(d.v[0])}, false});
        break;
    case EntityKind::Circle: {
        Chain c{arcPoints(p2(d.v[0]), d.placed().radius, 0, 2 * M_PI), true};
        c.pts.pop_back();
        s.push_back(std::move(c));
        break;
    }
    case EntityKind::Arc:
        s.push_back(Chain{arcPoints(p2(d.v[0]), d.placed().radius, d.placed().startAngle, d.placed().endAngle), false});
        break;
    case EntityKind::Text:
        s.push_back(closedChain(textQuad(d)));
        break;
    case EntityKind::MText:
        s.push_back(closedChain(mtextQuad(d)));
        break;
    case EntityKind::LwPolyline:
    case EntityKind::Polyline2d:
    case EntityKind::Polyline3d: {
        if (pathVertices(d).empty())
            break;
        Chain c;
        c.closed = forPathPoints(kind_, d, [&c](const Pt2& p) { c.pts.push_back(p); });
        s.push_back(std::move(c));
        break;
    }
    case EntityKind::BlockReference: {
        Quad q;
        s.push_back(insertQuad(*this, q) ? closedChain(q) : Chain{{p2(d.v[0])}, false});
        break;
    }
    case EntityKind::Region:
        s = d.rare().regionShape;
        break;
    case EntityKind::RasterImage:
        s.push_back(closedChain(imageQuad(d)));
        break;
    case EntityKind::Foreign:
        break; // no outline: it takes part in no geometric operation
    }
    return s;
}

Box Entity::box() const
{
    const quint64 stamp = kind_ == EntityKind::BlockReference && owner_ ? document().geometryStamp() : 1;
    if (boxStamp_ == stamp)
        return box_;
    const Data& d = *dat();
    Box b;
    const auto add = [&b](const Pt2& p) { b.add(p.x, p.y); };
    const auto addQuad = [&add](const Quad& q) {
        for (const Pt2& p : q)
            add(p);
    };
    switch (kind_) {
    case EntityKind::Line:
        add(p2(d.v[0]));
        add(p2(d.v[1]));
        break;
    case EntityKind::Point:
        add(p2(d.v[0]));
        break;
    case EntityKind::Circle:
        forArcPoints(p2(d.v[0]), d.placed().radius, 0, 2 * M_PI, [&add](const Pt2& p, bool last) {
            if (!last)
                add(p);
        });
        break;
    case EntityKind::Arc:
        forArcPoints(p2(d.v[0]), d.placed().radius, d.placed().startAngle, d.placed().endAngle, [&add](const Pt2& p, bool) { add(p); });
        break;
    case EntityKind::Text:
        addQuad(textQuad(d));
        break;
    case EntityKind::MText:
        addQuad(mtextQuad(d));
        break;
    case EntityKind::LwPolyline:
    case EntityKind::Polyline2d:
    case EntityKind::Polyline3d:
        forPathPoints(kind_, d, add);
        break;
    case EntityKind::BlockReference: {
        Quad q;
        if (insertQuad(*this, q))
            addQuad(q);
        else
            add(p2(d.v[0]));
        break;
    }
    case EntityKind::Region:
        b = shapeBox(d.rare().regionShape);
        break;
    case EntityKind::RasterImage:
        addQuad(imageQuad(d));
        break;
    case EntityKind::Foreign:
        b = foreignBox(d);
        break;
    }
    box_ = b;
    boxStamp_ = stamp;
    return box_;
}

} // namespace kelvor::cad
