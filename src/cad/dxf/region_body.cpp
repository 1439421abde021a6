// The SAT text of a region written here has the records a planar face
// needs and no more: body, lump, shell, face, plane surface, loop, then per
// edge its coedge, edge, start vertex and point, and straight or ellipse
// curve. Pointers ("$n") are record numbers from 0; "I I" an unbounded
// interval. Lines run as straight curves from the start point along the
// unit direction (parameters 0 to the length), arcs as circles about +z
// (or -z when they turn clockwise) from the start point (0 to the sweep).
#include "cad/dxf/region_body.h"

#include "cad/model/geom_curve.h"

#include <QStringList>
#include <cmath>
#include <map>

namespace kelvor::cad {

namespace {

QString num(double v)
{
    if (std::abs(v) < 1e-14)
        v = 0;
    return QString::number(v, 'g', 17);
}

QString ptr(int i)
{
    return QStringLiteral("$%1").arg(i);
}

struct Record {
    QString type;
    QStringList fields;
};

} // namespace

QString satEncode(const QString& line)
{
    QString out;
    for (QChar ch : line) {
        const ushort c = ch.unicode();
        if (c == ' ')
            out += QLatin1Char(' ');
        else if (c == '_')
            out += QLatin1Char('@');
        else if (c == '@')
            out += QLatin1Char('_');
        else if (c >= 0x41 && c <= 0x5E)
            out += QChar(ushort(0x5E - (c - 0x41))); // 'A' becomes '^', which the file escapes as "^ "
        else
            out += QChar(ushort(c ^ 0x5F));
    }
    return out;
}

QString satDecode(const QString& line)
{
    QString out;
    for (QChar ch : line) {
        const ushort c = ch.unicode();
        if (c == ' ')
            out += QLatin1Char(' ');
        else if (c == 0x40)
            out += QLatin1Char('_');
        else if (c == 0x5F)
            out += QLatin1Char('@');
        else if (c >= 0x41 && c <= 0x5E)
            out += QChar(ushort(0x41 + (0x5E - c)));
        else
            out += QChar(ushort(c ^ 0x5F));
    }
    return out;
}

QStringList regionBodyLines(const std::vector<RegionLoop>& loops)
{
    std::vector<Record> r;
    auto add = [&](const QString& type) {
        r.push_back({type, {}});
        return int(r.size()) - 1;
    };
    const int body = add(QStringLiteral("body")), lump = add(QStringLiteral("lump")),
              shell = add(QStringLiteral("shell")), face = add(QStringLiteral("face")),
              surface = add(QStringLiteral("plane-surface"));
    std::vector<int> loopIds;
    for (size_t i = 0; i < loops.size(); ++i)
        loopIds.push_back(add(QStringLiteral("loop")));
    r[body].fields = {ptr(-1), QStringLiteral("-1"), ptr(-1), ptr(lump), ptr(-1), ptr(-1)};
    r[lump].fields = {ptr(-1), QStringLiteral("-1"), ptr(-1), ptr(-1), ptr(shell), ptr(body)};
    r[shell].fields = {ptr(-1), QStringLiteral("-1"), ptr(-1), ptr(-1), ptr(-1), ptr(face), ptr(-1), ptr(lump)};
    r[face].fields = {ptr(-1), QStringLiteral("-1"), ptr(-1), ptr(-1), ptr(loopIds.empty() ? -1 : loopIds[0]),
                      ptr(shell), ptr(-1), ptr(surface), QStringLiteral("forward"), QStringLiteral("double"),
                      QStringLiteral("out")};
    r[surface].fields = {ptr(-1), QStringLiteral("-1"), ptr(-1), QStringLiteral("0 0 0 0 0 1 1 0 0 forward_v I I I I")};
    for (size_t l = 0; l < loops.size(); ++l) {
        const RegionLoop& v = loops[l];
        const size_t n = v.size();
        const int first = int(r.size());
        // five records per edge: coedge, edge, vertex, point, curve
        for (size_t i = 0; i < n; ++i) {
            const int base = first + int(i) * 5;
            const int next = first + int((i + 1) % n) * 5, prev = first + int((i + n - 1) % n) * 5;
            const Vertex &a = v[i], &b = v[(i + 1) % n];
            const geom::Seg s{{a.x, a.y}, {b.x, b.y}, a.bulge};
            double len = 0;
            QString curve;
            if (geom::isArc(s)) {
                const geom::ArcInfo arc = geom::arcOf(s);
                len = std::abs(arc.sweep);
                curve = QStringLiteral("ellipse-curve");
                r.push_back({QStringLiteral("coedge"), {}});
                r.push_back({QStringLiteral("edge"), {}});
                r.push_back({QStringLiteral("vertex"), {}});
                r.push_back({QStringLiteral("point"), {}});
                r.push_back({curve, {ptr(-1), QStringLiteral("-1"), ptr(-1),
                                     QStringLiteral("%1 %2 0 0 0 %3 %4 %5 0 1 I I")
                                         .arg(num(arc.c.x), num(arc.c.y), arc.sweep > 0 ? QStringLiteral("1") : QStringLiteral("-1"),
                                              num(a.x - arc.c.x), num(a.y - arc.c.y))}});
            } else {
                len = geom::distance(s.a, s.b);
                const double dx = len > 0 ? (b.x - a.x) / len : 1, dy = len > 0 ? (b.y - a.y) / len : 0;
                r.push_back({QStringLiteral("coedge"), {}});
                r.push_back({QStringLiteral("edge"), {}});
                r.push_back({QStringLiteral("vertex"), {}});
                r.push_back({QStringLiteral("point"), {}});
                r.push_back({QStringLiteral("straight-curve"),
                             {ptr(-1), QStringLiteral("-1"), ptr(-1),
                              QStringLiteral("%1 %2 0 %3 %4 0 I I").arg(num(a.x), num(a.y), num(dx), num(dy))}});
            }
            r[base].fields = {ptr(-1), QStringLiteral("-1"), ptr(-1), ptr(next), ptr(prev), ptr(-1), ptr(base + 1),
                              QStringLiteral("forward"), ptr(loopIds[l]), ptr(-1)};
            r[base + 1].fields = {ptr(-1), QStringLiteral("-1"), ptr(-1), ptr(base + 2), QStringLiteral("0"),
                                  ptr(next + 2), num(len), ptr(base), ptr(base + 4), QStringLiteral("forward"),
                                  QStringLiteral("@7 unknown")};
            r[base + 2].fields = {ptr(-1), QStringLiteral("-1"), ptr(-1), ptr(base + 1), ptr(base + 3)};
            r[base + 3].fields = {ptr(-1), QStringLiteral("-1"), ptr(-1), QStringLiteral("%1 %2 0").arg(num(a.x), num(a.y))};
        }
        r[loopIds[l]].fields = {ptr(-1), QStringLiteral("-1"), ptr(-1),
                                ptr(l + 1 < loops.size() ? loopIds[l + 1] : -1), ptr(n ? first : -1), ptr(face)};
    }
    const QString product = QStringLiteral("Kelvor CAD");
    QStringList out{QStringLiteral("700 0 1 0 "),
                    QStringLiteral("@%1 %2 @8 ACIS 7.0 @24 Thu Jan 01 00:00:00 2000 ").arg(product.size()).arg(product),
                    QStringLiteral("1 9.9999999999999995e-007 1e-010 ")};
    for (const Record& x : r)
        out << x.type + QLatin1Char(' ') + x.fields.join(QLatin1Char(' ')) + QStringLiteral(" #");
    out << QStringLiteral("End-of-ACIS-data");
    for (QString& l : out)
        l = satEncode(l);
    return out;
}

std::vector<RegionLoop> regionLoopsOf(const QStringList& storedLines)
{
    // the records, each its type and its words, in file order
    QString all;
    int at = 0;
    for (const QString& l : storedLines) {
        const QString plain = satDecode(l);
        if (at++ < 3)
            continue; // the header: version, product, tolerances
        all += plain + QLatin1Char(' ');
    }
    std::vector<QStringList> rec;
    for (const QString& r : all.split(QLatin1Char('#'), Qt::SkipEmptyParts)) {
        QStringList w = r.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (!w.isEmpty() && w.front() != QLatin1String("End-of-ACIS-data"))
            rec.push_back(w);
    }
    auto ref = [&](const QString& w) { return w.startsWith(QLatin1Char('$')) ? w.mid(1).toInt() : -1; };
    auto valid = [&](int i) { return i >= 0 && i < int(rec.size()); };
    auto pointOf = [&](int vertex, Pt2& p) {
        if (!valid(vertex) || rec[vertex].size() < 6)
            return false;
        const int pt = ref(rec[vertex][5]);
        if (!valid(pt) || rec[pt].size() < 7 || rec[pt][0] != QLatin1String("point"))
            return false;
        p = {rec[pt][4].toDouble(), rec[pt][5].toDouble()};
        return true;
    };
    std::vector<RegionLoop> loops;
    for (const QStringList& l : rec) {
        if (l[0] != QLatin1String("loop") || l.size() < 7)
            continue;
        RegionLoop loop;
        const int start = ref(l[5]);
        int c = start;
        for (int guard = 0; valid(c) && guard < int(rec.size()); ++guard) {
            const QStringList& co = rec[c];
            if (co[0] != QLatin1String("coedge") || co.size() < 9)
                return {};
            const int e = ref(co[7]);
            const bool coReversed = co[8] == QLatin1String("reversed");
            if (!valid(e) || rec[e].size() < 11)
                return {};
            const QStringList& ed = rec[e];
            Pt2 p0, p1;
            if (!pointOf(ref(ed[4]), p0) || !pointOf(ref(ed[6]), p1))
                return {};
            const bool reversed = coReversed != (ed[10] == QLatin1String("reversed"));
            if (reversed)
                std::swap(p0, p1);
            const int cu = ref(ed[9]);
            double bulge = 0;
            if (valid(cu) && rec[cu][0] == QLatin1String("ellipse-curve") && rec[cu].size() >= 14) {
                const QStringList& k = rec[cu];
                const double nz = k[9].toDouble();
                const double sweep = std::abs(ed[7].toDouble() - ed[5].toDouble());
                bulge = std::tan(sweep / 4) * (nz < 0 ? -1 : 1) * (reversed ? -1 : 1);
            } else if (!valid(cu) || rec[cu][0] != QLatin1String("straight-curve")) {
                return {}; // other edge kinds: kept as read, not drawn
            }
            loop.push_back(Vertex{p0.x, p0.y, 0, bulge});
            c = ref(co[4]);
            if (c == start)
                break;
        }
        if (loop.size() >= 2)
            loops.push_back(std::move(loop));
    }
    return loops;
}

} // namespace kelvor::cad
