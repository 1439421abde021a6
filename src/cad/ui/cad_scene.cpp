#include "cad/ui/cad_scene.h"

#include "cad/dxf/foreign_shape.h"
#include "cad/model/document.h"
#include "cad/model/entity.h"
#include "cad/ui/scene_styles.h"
#include "platform/paths.h"
#include "platform/text_file.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QImageReader>
#include <QPainterPath>
#include <QFontMetricsF>
#include <QHash>
#include <QPainter>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

namespace kelvor {

using cad::Box;
using cad::Entity;
using cad::EntityKind;
using cad::Point;
using cad::Pt2;

QRgb aciColour(int aci)
{
    aci = std::abs(aci);
    static const QRgb base[10] = {qRgb(0, 0, 0),       qRgb(255, 0, 0),   qRgb(255, 255, 0), qRgb(0, 255, 0),
                                  qRgb(0, 255, 255),   qRgb(0, 0, 255),   qRgb(255, 0, 255), qRgb(255, 255, 255),
                                  qRgb(128, 128, 128), qRgb(192, 192, 192)};
    if (aci < 10)
        return base[aci];
    if (aci >= 250 && aci <= 255) {
        static const int grey[6] = {51, 91, 132, 173, 214, 255};
        return qRgb(grey[aci - 250], grey[aci - 250], grey[aci - 250]);
    }
    if (aci > 255)
        return base[7];
    // 10..249: 24 hues of 15 degrees; the last digit steps the value down in
    // pairs, odd digits are the pale half-saturated shade
    static const double value[5] = {255, 204, 153, 127, 76};
    const double hue = ((aci / 10) - 1) * 15.0;
    const double v = value[(aci % 10) / 2];
    const double low = (aci % 2) ? v * 0.5 : 0;
    auto channel = [&](double offset) {
        double h = std::fmod(hue + offset, 360.0);
        // 1 on [-60, 60] around the channel's own hue, ramps over 60 degrees
        double d = std::abs(h > 180 ? h - 360 : h);
        double f = d <= 60 ? 1 : (d >= 120 ? 0 : (120 - d) / 60);
        return int(low + (v - low) * f);
    };
    return qRgb(channel(0), channel(-120), channel(-240));
}

cad::Box ViewTransform::visible() const
{
    Box b;
    b.add(cx - width / 2.0 / scale, cy - height / 2.0 / scale);
    b.add(cx + width / 2.0 / scale, cy + height / 2.0 / scale);
    return b;
}

void ViewTransform::fit(const cad::Box& box, int margin)
{
    if (!box.valid())
        return;
    cx = (box.minX + box.maxX) / 2;
    cy = (box.minY + box.maxY) / 2;
    const double w = box.maxX - box.minX, h = box.maxY - box.minY;
    if (w <= 0 && h <= 0)
        return;
    const double inW = std::max(1, width - 2 * margin), inH = std::max(1, height - 2 * margin);
    const double sx = w > 0 ? inW / w : HUGE_VAL, sy = h > 0 ? inH / h : HUGE_VAL;
    scale = std::min(sx, sy);
}

namespace {

// A plane affine map of drawing points (block insertions).
struct Map {
    double a = 1, b = 0, c = 0, d = 1, tx = 0, ty = 0;
    Pt2 at(double x, double y) const { return {a * x + b * y + tx, c * x + d * y + ty}; }
    Map then(const Map& inner) const // this after inner
    {
        Map m;
        m.a = a * inner.a + b * inner.c;
        m.b = a * inner.b + b * inner.d;
        m.c = c * inner.a + d * inner.c;
        m.d = c * inner.b + d * inner.d;
        m.tx = a * inner.tx + b * inner.ty + tx;
        m.ty = c * inner.tx + d * inner.ty + ty;
        return m;
    }
    double lengthScale() const { return std::sqrt(std::abs(a * d - b * c)); }
};

Map insertMap(const Entity::Data& d, const Point& origin)
{
    const double cs = std::cos(d.placed().rotation), sn = std::sin(d.placed().rotation);
    Map t;
    t.a = cs * d.placed().scale[0];
    t.b = -sn * d.placed().scale[1];
    t.c = sn * d.placed().scale[0];
    t.d = cs * d.placed().scale[1];
    t.tx = d.v[0].x - (t.a * origin.x + t.b * origin.y);
    t.ty = d.v[0].y - (t.c * origin.x + t.d * origin.y);
    return t;
}

double textUnits(const QString& s)
{
    double u = 0;
    for (QChar c : s)
        u += c.unicode() >= 0x1100 ? 1.0 : 0.6;
    return u;
}

// Mtext as plain lines: paragraph breaks split, format codes dropped.
QStringList mtextLines(const QString& raw)
{
    QString s = raw;
    s.replace(QLatin1String("\\P"), QLatin1String("\n"));
    QString out;
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s.at(i);
        if (c == QLatin1Char('{') || c == QLatin1Char('}'))
            continue;
        if (c == QLatin1Char('\\') && i + 1 < s.size()) {
            const QChar k = s.at(i + 1);
            if (k == QLatin1Char('\\') || k == QLatin1Char('{') || k == QLatin1Char('}')) {
                out += k;
                ++i;
            } else if (QStringLiteral("LlOoKk").contains(k)) {
                ++i;
            } else if (k == QLatin1Char('~')) {
                out += QLatin1Char(' ');
                ++i;
            } else {
                const qsizetype semi = s.indexOf(QLatin1Char(';'), i);
                i = semi < 0 ? s.size() : semi;
            }
            continue;
        }
        out += c;
    }
    return out.split(QLatin1Char('\n'));
}

struct Layers {
    struct L {
        int aci = 7;
        bool shown = true;
        QString linetype = QStringLiteral("Continuous");
    };
    QHash<QString, L> byName;
    QHash<QString, std::vector<double>> patterns; // by linetype name, upper-cased; LTSCALE applied
    QHash<QString, std::vector<DrawingScene::DashText>> texts; // of complex linetypes, the same way
    bool frames = true;                           // IMAGEFRAME 1 or 2
    explicit Layers(cad::Document& doc)
    {
        for (const cad::Layer& l : doc.Layers().items())
            byName.insert(l.Name.toUpper(), L{l.Color, l.LayerOn && !l.Freeze && l.Color >= 0, l.Linetype});
        const double ltscale = doc.GetVariable(QStringLiteral("LTSCALE")).toDouble();
        for (const cad::Linetype& t : doc.Linetypes().items()) {
            std::vector<double> p;
            for (double d : t.pattern)
                p.push_back(d * (ltscale > 0 ? ltscale : 1));
            if (std::any_of(p.begin(), p.end(), [](double d) { return d < 0; })) {
                patterns.insert(t.Name.toUpper(), std::move(p)); // without a gap it is drawn solid
                std::vector<DrawingScene::DashText> x = dashTexts(doc, t, ltscale > 0 ? ltscale : 1);
                if (!x.empty())
                    texts.insert(t.Name.toUpper(), std::move(x));
            }
        }
        frames = doc.GetVariable(QStringLiteral("IMAGEFRAME")).toInt() != 0;
    }
    L of(const QString& name) const { return byName.value(name.toUpper(), L{}); }

    // The text elements of a linetype (flag 2 of group 74); shapes are not
    // drawn. A style of fixed height scales it, else the scale is the height.
    static std::vector<DrawingScene::DashText> dashTexts(cad::Document& doc, const cad::Linetype& t, double scale)
    {
        std::vector<DrawingScene::DashText> out;
        for (size_t i = 0; i < t.elements.size() && i < t.pattern.size(); ++i) {
            DrawingScene::DashText x;
            x.element = i;
            int flags = 0;
            double size = 0;
            bool hasText = false;
            for (const cad::KeptGroup& g : t.elements[i].groups) {
                const double v = g.value.trimmed().toDouble();
                switch (g.code) {
                case 74: flags = int(v); break;
                case 46: size = v; break;
                case 50: x.rotation = v; break;
                case 44: x.dx = v * scale; break;
                case 45: x.dy = v * scale; break;
                case 9:
                    x.text = decodeGbk(g.value);
                    hasText = true;
                    break;
                default: break;
                }
            }
            if (!(flags & 2) || !hasText || x.text.isEmpty())
                continue;
            const cad::TextStyle* style = doc.TextStyles().find(t.elements[i].style);
            const double fixed = style && style->height > 0 ? style->height : 1;
            x.height = (size != 0 ? std::abs(size) : 1) * fixed * scale;
            x.absolute = flags & 1;
            out.push_back(std::move(x));
        }
        return out;
    }
};

// A raster image's picture: the file as the drawing names it (through the
// path service), else the file of that name beside the drawing. Read once
// while the file stays as it was.
QImage pictureOf(cad::Document& doc, const QString& name)
{
    struct Cached {
        QDateTime stamp;
        QImage image;
    };
    static QHash<QString, Cached> cache;
    QString file = paths::resolve(name);
    if (!QFileInfo::exists(file) && !doc.Path().isEmpty())
        file = QDir(doc.Path()).filePath(QFileInfo(QString(name).replace(QLatin1Char('\\'), QLatin1Char('/'))).fileName());
    const QFileInfo fi(file);
    if (!fi.exists())
        return {};
    auto it = cache.find(fi.absoluteFilePath());
    if (it == cache.end() || it->stamp != fi.lastModified()) {
        QImageReader reader(fi.absoluteFilePath());
        reader.setAutoTransform(true);
        it = cache.insert(fi.absoluteFilePath(), Cached{fi.lastModified(), reader.read()});
    }
    return it->image;
}

quint64 layerFingerprint(cad::Document& doc)
{
    quint64 h = 1469598103934665603ull;
    auto mix = [&h](quint64 v) { h = (h ^ v) * 1099511628211ull; };
    for (const cad::Layer& l : doc.Layers().items()) {
        mix(qHash(l.Name));
        mix(quint64(l.Color + 1000));
        mix(l.LayerOn ? 3 : 5);
        mix(l.Freeze ? 7 : 11);
        mix(qHash(l.Linetype));
    }
    // what every item is built with: linetype scale and patterns, image frames
    mix(qHash(doc.GetVariable(QStringLiteral("LTSCALE")).toDouble()));
    mix(quint64(doc.GetVariable(QStringLiteral("IMAGEFRAME")).toInt() + 13));
    for (const cad::Linetype& t : doc.Linetypes().items()) {
        mix(qHash(t.Name));
        for (double d : t.pattern)
            mix(qHash(d));
    }
    return h;
}

// Builds one top-level entity's item.
struct Builder {
    // Primitives one entity may bring, and the part of a reference's size
    // below which its nested references are not opened (a pixel at a zoom of
    // a thousand on a screen's width of it).
    static constexpr size_t kPrimitiveBudget = 100000;
    static constexpr double kTinyPart = 1e-6;

    cad::Document& doc;
    const Layers& layers;
    DrawingScene::Item& item;
    std::vector<double> dashes; // the pattern of the entity being built (drawing units); empty: solid
    std::vector<DrawingScene::DashText> dashTexts; // its texts, when a complex linetype
    double tiny = 0;            // drawing units: references smaller show as their box

    void path(const std::vector<Pt2>& pts, bool closed, QRgb colour, const Map& t)
    {
        if (pts.empty())
            return;
        DrawingScene::Prim p;
        p.kind = pts.size() == 1 ? DrawingScene::Prim::Dot : DrawingScene::Prim::Path;
        p.closed = closed && pts.size() > 2;
        p.colour = colour;
        p.first = quint32(item.pts.size());
        for (const Pt2& q : pts) {
            const Pt2 w = t.at(q.x, q.y);
            item.pts.push_back(w);
            item.box.add(w.x, w.y);
        }
        p.count = quint32(pts.size());
        if (!dashes.empty() && pts.size() > 1) {
            std::vector<double> scaled = dashes;
            for (double& d : scaled)
                d *= t.lengthScale();
            p.pattern = int(item.rareParts().patterns.size());
            item.rareParts().patterns.push_back(std::move(scaled));
            std::vector<DrawingScene::DashText> texts = dashTexts;
            for (DrawingScene::DashText& x : texts) {
                x.height *= t.lengthScale();
                x.dx *= t.lengthScale();
                x.dy *= t.lengthScale();
            }
            item.rareParts().patternTexts.push_back(std::move(texts));
        }
        item.prims.push_back(p);
    }

    static bool isByBlock(const QString& linetype)
    {
        return linetype.compare(QLatin1String("ByBlock"), Qt::CaseInsensitive) == 0;
    }
    // The linetype an entity draws with when not ByBlock: its own, or its
    // layer's for ByLayer; upper case, as the tables are keyed.
    QString linetypeKey(const QString& linetype, const QString& layer) const
    {
        const bool byLayer = linetype.compare(QLatin1String("ByLayer"), Qt::CaseInsensitive) == 0;
        return (byLayer ? layers.of(layer).linetype : linetype).toUpper();
    }

    // The pattern of a linetype name as the entity resolves it: its own,
    // its layer's for ByLayer, the inserting reference's for ByBlock.
    std::vector<double> patternOf(const QString& linetype, const QString& layer, const std::vector<double>& byBlock,
                                  double scale) const
    {
        if (isByBlock(linetype))
            return byBlock;
        std::vector<double> p = layers.patterns.value(linetypeKey(linetype, layer));
        for (double& d : p)
            d *= scale;
        return p;
    }

    // The texts of the same linetype, resolved and scaled the same way.
    std::vector<DrawingScene::DashText> textsOf(const QString& linetype, const QString& layer,
                                                const std::vector<DrawingScene::DashText>& byBlock,
                                                double scale) const
    {
        if (isByBlock(linetype))
            return byBlock;
        std::vector<DrawingScene::DashText> x = layers.texts.value(linetypeKey(linetype, layer));
        for (DrawingScene::DashText& e : x) {
            e.height *= scale;
            e.dx *= scale;
            e.dy *= scale;
        }
        return x;
    }

    void image(const Entity& e, QRgb colour, const Map& t)
    {
        const Entity::Data& d = e.data();
        // corners of the picture and of its clip, in drawing units
        auto at = [&](double a, double b) {
            return t.at(d.v[0].x + d.rare().u.x * a + d.rare().vv.x * b, d.v[0].y + d.rare().u.y * a + d.rare().vv.y * b);
        };
        const double w = d.rare().pixelsW > 0 ? d.rare().pixelsW : 1, h = d.rare().pixelsH > 0 ? d.rare().pixelsH : 1;
        std::vector<Pt2> outline{at(0, 0), at(w, 0), at(w, h), at(0, h)};
        if (d.rare().clipping && d.rare().clip.size() >= 2) {
            std::vector<Pt2> c = d.rare().clip;
            if (c.size() == 2) // a rectangle by two corners
                c = {c[0], {c[1].x, c[0].y}, c[1], {c[0].x, c[1].y}};
            outline.clear();
            for (const Pt2& q : c)
                outline.push_back(at(q.x + 0.5, h - q.y - 0.5));
        }
        const QImage picture = pictureOf(doc, d.placed().text);
        if (!picture.isNull() && (d.rare().imageDisplay & 1)) {
            DrawingScene::ImageRun run;
            run.image = (d.rare().imageDisplay & 8) ? picture : picture.convertToFormat(QImage::Format_RGB32);
            const Pt2 o = at(0, h), du = at(w, h), dv = at(0, 0); // the top left is pixel (0, 0)
            const double W = picture.width(), H = picture.height();
            run.m[0] = (du.x - o.x) / W;
            run.m[2] = (du.y - o.y) / W;
            run.m[1] = (dv.x - o.x) / H;
            run.m[3] = (dv.y - o.y) / H;
            run.m[4] = o.x;
            run.m[5] = o.y;
            if (d.rare().clipping)
                run.clip = outline;
            DrawingScene::Prim p;
            p.kind = DrawingScene::Prim::Image;
            p.colour = colour;
            p.text = int(item.rareParts().images.size());
            for (const Pt2& q : outline)
                item.box.add(q.x, q.y);
            item.rareParts().images.push_back(std::move(run));
            item.prims.push_back(p);
            if (layers.frames)
                path(outline, true, colour, Map{});
            return;
        }
        // no picture: its frame and its file name
        path(outline, true, colour, Map{});
        const QString name = QFileInfo(QString(d.placed().text).replace(QLatin1Char('\\'), QLatin1Char('/'))).fileName();
        const double side = std::hypot(d.rare().vv.x, d.rare().vv.y) * h * t.lengthScale();
        const Pt2 corner = at(0, 0);
        Map frame;
        const double ang = std::atan2(d.rare().u.y, d.rare().u.x);
        frame.a = std::cos(ang);
        frame.b = -std::sin(ang);
        frame.c = std::sin(ang);
        frame.d = std::cos(ang);
        frame.tx = corner.x + (frame.b * 0.1 + frame.a * 0.05) * side;
        frame.ty = corner.y + (frame.d * 0.1 + frame.c * 0.05) * side;
        text(name, 0, side / 12, Map{}, frame, colour);
    }

    void fill(const std::vector<Pt2>& pts, QRgb colour)
    {
        DrawingScene::Prim p;
        p.kind = DrawingScene::Prim::Fill;
        p.closed = true;
        p.colour = colour;
        p.first = quint32(item.pts.size());
        for (const Pt2& q : pts) {
            item.pts.push_back(q);
            item.box.add(q.x, q.y);
        }
        p.count = quint32(pts.size());
        item.prims.push_back(p);
    }

    void text(const QString& s, double w, double h, const Map& local, const Map& t, QRgb colour)
    {
        if (s.isEmpty() || h <= 0)
            return;
        const Map m = t.then(local);
        DrawingScene::TextRun run;
        run.text = s;
        run.w = w > 0 ? w : h * textUnits(s);
        run.h = h;
        run.m[0] = m.a;
        run.m[1] = m.b;
        run.m[2] = m.c;
        run.m[3] = m.d;
        run.m[4] = m.tx;
        run.m[5] = m.ty;
        for (auto [u, v] : {std::pair{0.0, 0.0}, {run.w, 0.0}, {run.w, h}, {0.0, h}}) {
            const Pt2 q = m.at(u, v);
            item.box.add(q.x, q.y);
        }
        DrawingScene::Prim p;
        p.kind = DrawingScene::Prim::Text;
        p.colour = colour;
        p.text = int(item.texts.size());
        item.texts.push_back(std::move(run));
        item.prims.push_back(p);
    }

    // The text's own frame: lower left of its box at the origin, baseline
    // along u, the oblique angle leaning v.
    static Map textFrame(double refX, double refY, double rot, double x0, double y0, double oblique)
    {
        const double cs = std::cos(rot), sn = std::sin(rot);
        const double k = std::tan(oblique);
        Map m;
        m.a = cs;
        m.b = cs * k - sn;
        m.c = sn;
        m.d = sn * k + cs;
        m.tx = refX + x0 * cs - y0 * sn;
        m.ty = refY + x0 * sn + y0 * cs;
        return m;
    }

    void polyline(const Entity::Data& d, bool flat, QRgb colour, const Map& t)
    {
        const auto& v = cad::pathVertices(d);
        if (v.empty())
            return;
        const bool closed = (d.polyFlags & 1) && v.size() > 1;
        const size_t segs = closed ? v.size() : v.size() - 1;
        bool wide = false, constant = true;
        double w0 = -1;
        for (size_t i = 0; flat && i < segs; ++i) {
            const double sw = v[i].startWidth, ew = v[i].endWidth;
            if (sw > 0 || ew > 0)
                wide = true;
            if (w0 < 0)
                w0 = sw;
            if (sw != w0 || ew != w0)
                constant = false;
        }
        std::vector<Pt2> pts{{v[0].x, v[0].y}};
        for (size_t i = 0; i + 1 < v.size(); ++i)
            cad::appendBulgeArc(pts, {v[i].x, v[i].y}, {v[i + 1].x, v[i + 1].y}, flat ? v[i].bulge : 0);
        if (closed && flat && std::abs(v.back().bulge) > 1e-12) {
            cad::appendBulgeArc(pts, {v.back().x, v.back().y}, {v.front().x, v.front().y}, v.back().bulge);
            pts.pop_back();
        }
        if (!wide && !dashes.empty() && !(d.polyFlags & 128) && segs > 1) {
            // linetype generation off: the pattern starts again at every vertex
            for (size_t i = 0; i < segs; ++i) {
                const cad::Vertex& a = v[i];
                const cad::Vertex& b = v[(i + 1) % v.size()];
                std::vector<Pt2> piece{{a.x, a.y}};
                cad::appendBulgeArc(piece, {a.x, a.y}, {b.x, b.y}, flat ? a.bulge : 0);
                path(piece, false, colour, t);
            }
            return;
        }
        if (!wide) {
            path(pts, closed, colour, t);
            return;
        }
        if (constant) {
            path(pts, closed, colour, t);
            DrawingScene::Prim& p = item.prims.back();
            p.kind = DrawingScene::Prim::WidePath;
            p.width = w0 * t.lengthScale();
            // the stroke reaches half a width beyond the centre line
            const double half = p.width / 2;
            Box b = item.box;
            item.box.add(b.minX - half, b.minY - half);
            item.box.add(b.maxX + half, b.maxY + half);
            return;
        }
        taperedBands(v, segs, colour, t);
    }

    // Tapering segments: one filled band each.
    void taperedBands(const std::vector<cad::Vertex>& v, size_t segs, QRgb colour, const Map& t)
    {
        for (size_t i = 0; i < segs; ++i) {
            const cad::Vertex& a = v[i];
            const cad::Vertex& b = v[(i + 1) % v.size()];
            std::vector<Pt2> centre{{a.x, a.y}};
            cad::appendBulgeArc(centre, {a.x, a.y}, {b.x, b.y}, a.bulge);
            std::vector<Pt2> world;
            for (const Pt2& q : centre)
                world.push_back(t.at(q.x, q.y));
            const double k = t.lengthScale();
            std::vector<Pt2> left, right;
            for (size_t j = 0; j < world.size(); ++j) {
                const Pt2& p0 = world[j > 0 ? j - 1 : 0];
                const Pt2& p1 = world[j + 1 < world.size() ? j + 1 : j];
                double dx = p1.x - p0.x, dy = p1.y - p0.y;
                const double len = std::hypot(dx, dy);
                if (len <= 0)
                    continue;
                dx /= len;
                dy /= len;
                const double f = world.size() > 1 ? double(j) / double(world.size() - 1) : 0;
                const double half = (a.startWidth + (a.endWidth - a.startWidth) * f) * k / 2;
                left.push_back({world[j].x - dy * half, world[j].y + dx * half});
                right.push_back({world[j].x + dy * half, world[j].y - dx * half});
            }
            if (left.size() < 2) {
                continue;
            }
            std::vector<Pt2> band = left;
            band.insert(band.end(), right.rbegin(), right.rend());
            fill(band, colour);
        }
    }

    void attributes(const Entity& ins, QRgb insertColour, const QString& insertLayer)
    {
        for (const cad::RawGroups& g : ins.attributes()) {
            QString value, layer = insertLayer;
            double x = 0, y = 0, ax = 0, ay = 0, h = 0, rot = 0, wf = 1, obl = 0;
            int flags = 0, ha = 0, va = 0, aci = cad::ColorByLayer;
            bool hasAlign = false;
            for (const cad::RawGroup& r : g) {
                switch (r.code) {
                case 1: value = r.value; break;
                case 8: layer = r.value; break;
                case 10: x = r.value.toDouble(); break;
                case 20: y = r.value.toDouble(); break;
                case 11: ax = r.value.toDouble(); hasAlign = true; break;
                case 21: ay = r.value.toDouble(); break;
                case 40: h = r.value.toDouble(); break;
                case 41: wf = r.value.toDouble(); break;
                case 50: rot = r.value.toDouble() * M_PI / 180; break;
                case 51: obl = r.value.toDouble() * M_PI / 180; break;
                case 62: aci = r.value.trimmed().toInt(); break;
                case 70: flags = r.value.trimmed().toInt(); break;
                case 72: ha = r.value.trimmed().toInt(); break;
                case 74: va = r.value.trimmed().toInt(); break;
                default: break;
                }
            }
            if (flags & 1)
                continue; // invisible attribute
            const Layers::L l = layers.of(layer);
            if (!l.shown)
                continue;
            const QRgb c = aci == cad::ColorByLayer ? aciColour(l.aci) : (aci == 0 ? insertColour : aciColour(aci));
            placeText(value, x, y, hasAlign ? ax : x, hasAlign ? ay : y, h, wf, rot, obl, ha, va, Map{}, c);
        }
    }

    void placeText(const QString& s, double ix, double iy, double ax, double ay, double h, double wf, double rot,
                   double obl, int ha, int va, const Map& t, QRgb colour)
    {
        double w = h * wf * textUnits(s);
        double rx = ix, ry = iy, x0 = 0, y0 = 0;
        if (ha == 3 || ha == 5) {
            const double len = std::hypot(ax - ix, ay - iy);
            if (len > 0) {
                w = len;
                rot = std::atan2(ay - iy, ax - ix);
            }
        } else if (!(ha == 0 && va == 0)) {
            rx = ax;
            ry = ay;
            if (ha == 1 || ha == 4)
                x0 = -w / 2;
            else if (ha == 2)
                x0 = -w;
            if (ha == 4 || va == 2)
                y0 = -h / 2;
            else if (va == 3)
                y0 = -h;
        }
        text(s, w, h, textFrame(rx, ry, rot, x0, y0, obl), t, colour);
    }

    void add(Entity* e, const Map& t, const QString& parentLayer, QRgb parentColour, int depth,
             const std::vector<double>& parentDashes = {},
             const std::vector<DrawingScene::DashText>& parentTexts = {})
    {
        if (!e->Visible() || e->isErased())
            return;
        QString layerName = e->Layer();
        if (depth > 0 && layerName == QLatin1String("0"))
            layerName = parentLayer;
        const Layers::L l = layers.of(layerName);
        if (!l.shown)
            return;
        const int aci = e->Color();
        const QRgb colour = aci == cad::ColorByLayer ? aciColour(l.aci)
            : aci == cad::ColorByBlock                ? (depth > 0 ? parentColour : aciColour(7))
                                                      : aciColour(aci);
        const Entity::Data& d = e->data();
        dashes = patternOf(e->Linetype(), layerName, parentDashes, d.ltscale);
        dashTexts = dashes.empty() ? std::vector<DrawingScene::DashText>{}
                                   : textsOf(e->Linetype(), layerName, parentTexts, d.ltscale);
        const std::vector<double> own = dashes;
        const std::vector<DrawingScene::DashText> ownTexts = dashTexts;
        (this->*drawOf(e->kind()))(Piece{e, d, t, colour, layerName, depth, own, ownTexts});
    }

    // One entity being drawn: where, in what colour, and what it hands down
    // to what it contains (its layer, depth, pattern and its texts).
    struct Piece {
        Entity* e;
        const Entity::Data& d;
        const Map& t;
        QRgb colour;
        const QString& layer;
        int depth;
        const std::vector<double>& dashes;
        const std::vector<DrawingScene::DashText>& texts;
    };
    using Draw = void (Builder::*)(const Piece&);
    // How each kind is drawn, in the order of the kinds.
    static Draw drawOf(EntityKind kind)
    {
        static constexpr Draw kinds[] = {
            &Builder::drawLine,       &Builder::drawPoint,      &Builder::drawCircle,         &Builder::drawArc,
            &Builder::drawText,       &Builder::drawMText,      &Builder::drawPolyline,       &Builder::drawPolyline,
            &Builder::drawPolyline3d, &Builder::drawReference,  &Builder::drawRegion,         &Builder::drawImage,
            &Builder::drawForeign,
        };
        static_assert(std::size(kinds) == size_t(EntityKind::Foreign) + 1);
        return kinds[size_t(kind)];
    }

    void drawLine(const Piece& p)
    {
        path({{p.d.v[0].x, p.d.v[0].y}, {p.d.v[1].x, p.d.v[1].y}}, false, p.colour, p.t);
    }

    // Drawn at its style's size as the view shows it.
    void drawPoint(const Piece& p)
    {
        path({{p.d.v[0].x, p.d.v[0].y}}, false, p.colour, p.t);
        DrawingScene::Prim& mark = item.prims.back();
        mark.kind = DrawingScene::Prim::Mark;
        mark.width = p.d.placed().rotation + std::atan2(p.t.c, p.t.a);
    }

    void drawCircle(const Piece& p)
    {
        std::vector<Pt2> pts = cad::arcPoints({p.d.v[0].x, p.d.v[0].y}, p.d.placed().radius, 0, 2 * M_PI);
        pts.pop_back();
        path(pts, true, p.colour, p.t);
    }

    void drawArc(const Piece& p)
    {
        const cad::EntityPlaced& a = p.d.placed();
        path(cad::arcPoints({p.d.v[0].x, p.d.v[0].y}, a.radius, a.startAngle, a.endAngle), false, p.colour, p.t);
    }

    void drawText(const Piece& p)
    {
        const cad::EntityPlaced& x = p.d.placed();
        placeText(x.text, p.d.v[0].x, p.d.v[0].y, p.d.v[1].x, p.d.v[1].y, x.height, x.widthFactor, x.rotation,
                  x.oblique, x.hAlign, x.vAlign, p.t, p.colour);
    }

    void drawMText(const Piece& p)
    {
        const Entity::Data& d = p.d;
        const QStringList lines = mtextLines(d.placed().text);
        double units = 0;
        for (const QString& s : lines)
            units = std::max(units, textUnits(s));
        const double h = d.placed().height;
        const double w = d.rare().mtextWidth > 0 ? d.rare().mtextWidth : h * units;
        const double total = h * (1 + 1.5 * (lines.size() - 1));
        const int col = (d.rare().attachment - 1) % 3, row = (d.rare().attachment - 1) / 3;
        const double top = row == 0 ? 0 : (row == 1 ? total / 2 : total);
        for (qsizetype i = 0; i < lines.size(); ++i) {
            const double lw = h * textUnits(lines[i]);
            const double x0 = -w * col / 2.0 + (w - lw) * col / 2.0;
            const double y0 = top - h - 1.5 * h * double(i);
            text(lines[i], lw, h, textFrame(d.v[0].x, d.v[0].y, d.placed().rotation, x0, y0, 0), p.t, p.colour);
        }
    }

    void drawPolyline(const Piece& p) { polyline(p.d, true, p.colour, p.t); }
    void drawPolyline3d(const Piece& p) { polyline(p.d, false, p.colour, p.t); }

    void drawReference(const Piece& p)
    {
        const Entity::Data& d = p.d;
        cad::Block* def = doc.findBlock(d.placed().text);
        if (def && p.depth < 16 && !def->isModelSpace()) {
            const Map inner = p.t.then(insertMap(d, def->Origin()));
            const Box ext = def->extents();
            const double size = std::max(ext.maxX - ext.minX, ext.maxY - ext.minY);
            if (p.depth == 0)
                tiny = size * inner.lengthScale() * kTinyPart;
            // References that fan out would never finish: past the budget, or
            // below a pixel even far zoomed in, a reference shows as its box.
            if (ext.valid() && (item.prims.size() >= kPrimitiveBudget || size * inner.lengthScale() < tiny))
                path({{ext.minX, ext.minY}, {ext.maxX, ext.minY}, {ext.maxX, ext.maxY}, {ext.minX, ext.maxY}}, true,
                     p.colour, inner);
            else
                for (Entity* c : def->entities())
                    add(c, inner, p.layer, p.colour, p.depth + 1, p.dashes, p.texts);
        }
        if (p.depth == 0)
            attributes(*p.e, p.colour, p.layer);
        if (!item.box.valid())
            path({p.t.at(d.v[0].x, d.v[0].y)}, false, p.colour, Map{});
    }

    void drawRegion(const Piece& p)
    {
        for (const cad::Chain& c : p.d.rare().regionShape)
            path(c.pts, c.closed, p.colour, p.t);
    }

    void drawImage(const Piece& p)
    {
        dashes.clear();
        dashTexts.clear();
        image(*p.e, p.colour, p.t);
    }

    // What is simple to show; the rest is kept for the file, not drawn.
    void drawForeign(const Piece& p)
    {
        if (p.d.rare().foreignType == "DIMENSION") {
            cad::Block* def = doc.findBlock(cad::dimensionBlock(p.d));
            if (def && p.depth < 16 && !def->isModelSpace() && def != &doc.PaperSpace())
                for (Entity* c : def->entities())
                    add(c, p.t, p.layer, p.colour, p.depth + 1);
            return;
        }
        for (const cad::Chain& c : cad::foreignOutline(p.d))
            path(c.pts, c.closed, p.colour, p.t);
    }
};

// Liang-Barsky: clips the segment to the rectangle; false when nothing is left.
bool clipSegment(double& x0, double& y0, double& x1, double& y1, double xmin, double ymin, double xmax, double ymax)
{
    double t0 = 0, t1 = 1;
    const double dx = x1 - x0, dy = y1 - y0;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x0 - xmin, xmax - x0, y0 - ymin, ymax - y0};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0)
                return false;
            continue;
        }
        const double r = q[i] / p[i];
        if (p[i] < 0) {
            if (r > t1)
                return false;
            t0 = std::max(t0, r);
        } else {
            if (r < t0)
                return false;
            t1 = std::min(t1, r);
        }
    }
    const double nx0 = x0 + t0 * dx, ny0 = y0 + t0 * dy;
    x1 = x0 + t1 * dx;
    y1 = y0 + t1 * dy;
    x0 = nx0;
    y0 = ny0;
    return true;
}

// Sutherland-Hodgman against an axis-aligned rectangle.
QPolygonF clipPolygon(const QPolygonF& in, double xmin, double ymin, double xmax, double ymax)
{
    QPolygonF poly = in;
    for (int edge = 0; edge < 4 && !poly.isEmpty(); ++edge) {
        auto inside = [&](const QPointF& p) {
            switch (edge) {
            case 0: return p.x() >= xmin;
            case 1: return p.x() <= xmax;
            case 2: return p.y() >= ymin;
            default: return p.y() <= ymax;
            }
        };
        auto cross = [&](const QPointF& a, const QPointF& b) {
            double t;
            switch (edge) {
            case 0: t = (xmin - a.x()) / (b.x() - a.x()); break;
            case 1: t = (xmax - a.x()) / (b.x() - a.x()); break;
            case 2: t = (ymin - a.y()) / (b.y() - a.y()); break;
            default: t = (ymax - a.y()) / (b.y() - a.y()); break;
            }
            return a + (b - a) * t;
        };
        QPolygonF out;
        for (qsizetype i = 0; i < poly.size(); ++i) {
            const QPointF& cur = poly[i];
            const QPointF& prev = poly[(i + poly.size() - 1) % poly.size()];
            if (inside(cur)) {
                if (!inside(prev))
                    out << cross(prev, cur);
                out << cur;
            } else if (inside(prev)) {
                out << cross(prev, cur);
            }
        }
        poly = out;
    }
    return poly;
}

// How a font's glyphs fill a text's height: capitals from the baseline up
// to the height, ideographs (which sit a little below the baseline) raised
// onto it and as tall as the height.
struct GlyphFit {
    double emPerHeight = 1.4;
    double raise = 0; // ems
};
struct Glyphs {
    GlyphFit latin, cjk;
    explicit Glyphs(const QFont& base)
    {
        QFont ref = base;
        ref.setPixelSize(100);
        const QFontMetricsF m(ref);
        const double cap = m.capHeight();
        if (cap > 10)
            latin.emPerHeight = 100 / cap;
        const QRectF ideo = m.tightBoundingRect(QStringLiteral("国"));
        if (ideo.height() > 10) {
            cjk.emPerHeight = 100 / ideo.height();
            cjk.raise = std::max(0.0, ideo.bottom()) / 100;
        } else {
            cjk = latin;
        }
    }
};

double segmentDistance(const Pt2& p, const Pt2& a, const Pt2& b, Pt2* foot = nullptr)
{
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / len2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    const Pt2 f{a.x + t * dx, a.y + t * dy};
    if (foot)
        *foot = f;
    return std::hypot(p.x - f.x, p.y - f.y);
}

bool insideQuad(const Pt2& p, const Pt2 (&q)[4])
{
    bool in = false;
    for (int i = 0, j = 3; i < 4; j = i++)
        if ((q[i].y > p.y) != (q[j].y > p.y)
            && p.x < (q[j].x - q[i].x) * (p.y - q[i].y) / (q[j].y - q[i].y) + q[i].x)
            in = !in;
    return in;
}

void textCorners(const DrawingScene::TextRun& r, Pt2 (&q)[4])
{
    const double uv[4][2] = {{0, 0}, {r.w, 0}, {r.w, r.h}, {0, r.h}};
    for (int i = 0; i < 4; ++i)
        q[i] = {r.m[0] * uv[i][0] + r.m[1] * uv[i][1] + r.m[4], r.m[2] * uv[i][0] + r.m[3] * uv[i][1] + r.m[5]};
}

// Distance from p to what the item shows; 0 inside a text box or a fill.
double itemDistance(const DrawingScene::Item& it, const Pt2& p, Pt2* nearest)
{
    double best = HUGE_VAL;
    auto take = [&](double d, const Pt2& f) {
        if (d < best) {
            best = d;
            if (nearest)
                *nearest = f;
        }
    };
    for (const DrawingScene::Prim& pr : it.prims) {
        if (pr.kind == DrawingScene::Prim::Text) {
            Pt2 q[4];
            textCorners(it.texts[pr.text], q);
            if (insideQuad(p, q))
                take(0, p);
            for (int i = 0; i < 4; ++i) {
                Pt2 f;
                const double d = segmentDistance(p, q[i], q[(i + 1) % 4], &f);
                take(d, f);
            }
            continue;
        }
        const Pt2* pts = it.pts.data() + pr.first;
        if (pr.count == 1) {
            take(std::hypot(p.x - pts[0].x, p.y - pts[0].y), pts[0]);
            continue;
        }
        if (pr.kind == DrawingScene::Prim::Fill) {
            std::vector<Pt2> poly(pts, pts + pr.count);
            if (cad::pointInPolygon(p, poly))
                take(0, p);
        }
        const quint32 n = pr.closed || pr.kind == DrawingScene::Prim::Fill ? pr.count : pr.count - 1;
        for (quint32 i = 0; i < n; ++i) {
            Pt2 f;
            double d = segmentDistance(p, pts[i], pts[(i + 1) % pr.count], &f);
            if (pr.kind == DrawingScene::Prim::WidePath)
                d = std::max(0.0, d - pr.width / 2);
            take(d, f);
        }
    }
    return best;
}

const QFont& baseFont()
{
    static const QFont base = [] {
        QFont f;
        f.setStyleStrategy(QFont::StyleStrategy(QFont::PreferDefault | QFont::NoSubpixelAntialias));
        f.setHintingPreference(QFont::PreferNoHinting);
        return f;
    }();
    return base;
}

const Glyphs& glyphs()
{
    static const Glyphs g(baseFont());
    return g;
}

// Paints the items of one view, each kind of part by a function of its own:
// strokes are batched by colour and drawn last; fills, pictures and texts go
// at once.
class Painter {
public:
    using Prim = DrawingScene::Prim;
    using Item = DrawingScene::Item;
    using DashText = DrawingScene::DashText;

    Painter(QPainter& painter, const ViewTransform& view, bool paper, int pdmode, double markSize,
            DrawingScene::Stats& stats)
        : painter_(painter)
        , view_(view)
        , s_(view.scale)
        , paper_(paper)
        , pdmode_(pdmode)
        , markSize_(markSize)
        , stats_(stats)
        , xmax_(view.width + kMargin)
        , ymax_(view.height + kMargin)
        , w2_(view.width / 2.0)
        , h2_(view.height / 2.0)
    {
    }

    // One item, or the dot it shows as while it is smaller than a pixel or two.
    void item(const Item& it, bool hl)
    {
        const double extent = std::max(it.box.maxX - it.box.minX, it.box.maxY - it.box.minY) * s_;
        ++stats_.drawn;
        const bool mark = it.markFirst && pdmode_ != 0;
        // a point style smaller than a pixel or two shows as a dot, as a small
        // entity does; drawing its strokes at every point cost whole seconds
        const bool tinyMark = mark && markSize_ < 1.5 && !hl;
        if (tinyMark && pdmode_ == 1)
            return;
        if ((extent < 1.5 && !hl && !mark) || tinyMark) {
            // a dot in the colour of its first part
            batch(it.firstColour)
                .dots.emplace_back(sx((it.box.minX + it.box.maxX) / 2), sy((it.box.minY + it.box.maxY) / 2));
            ++stats_.dots;
            return;
        }
        for (const Prim& p : it.prims) {
            Batch& b = batch(p.colour);
            (this->*paintOf(p.kind))(Part{it, p, it.pts.data() + p.first, b, hl ? b.dashed : b.lines, hl});
        }
    }

    // The batched strokes and dots.
    void finish()
    {
        for (const Batch& b : batches_) {
            if (!b.lines.empty()) {
                painter_.setPen(QPen(ink(b.colour), 0));
                painter_.drawLines(b.lines.data(), int(b.lines.size()));
                stats_.segments += int(b.lines.size());
            }
            if (!b.dashed.empty()) {
                painter_.setPen(QPen(ink(b.colour), 0, Qt::DashLine));
                painter_.drawLines(b.dashed.data(), int(b.dashed.size()));
            }
            if (!b.dots.empty()) {
                painter_.setPen(QPen(ink(b.colour), 0));
                painter_.drawPoints(b.dots.data(), int(b.dots.size()));
            }
        }
    }

private:
    static constexpr double kMargin = 64;
    struct Batch {
        QRgb colour;
        std::vector<QLineF> lines, dashed;
        std::vector<QPointF> dots;
    };
    // A part of an item as it is painted: its points, its batch and the
    // strokes it adds to (dashed while highlighted).
    struct Part {
        const Item& it;
        const Prim& p;
        const Pt2* pts;
        Batch& b;
        std::vector<QLineF>& lines;
        bool hl;
    };
    using Paint = void (Painter::*)(const Part&);
    // How each kind of part is painted, in the order of the kinds.
    static Paint paintOf(Prim::Kind kind)
    {
        static constexpr Paint kinds[] = {&Painter::path, &Painter::widePath, &Painter::fill, &Painter::dot,
                                          &Painter::text, &Painter::mark,     &Painter::image};
        static_assert(std::size(kinds) == size_t(Prim::Image) + 1);
        return kinds[kind];
    }

    Batch& batch(QRgb c)
    {
        auto it = batchOf_.find(c);
        if (it != batchOf_.end())
            return batches_[*it];
        batchOf_.insert(c, int(batches_.size()));
        batches_.push_back(Batch{c, {}, {}, {}});
        return batches_.back();
    }
    double sx(double x) const { return (x - view_.cx) * s_ + w2_; }
    double sy(double y) const { return h2_ - (y - view_.cy) * s_; }
    void segment(std::vector<QLineF>& out, double ax, double ay, double bx, double by) const
    {
        if (clipSegment(ax, ay, bx, by, -kMargin, -kMargin, xmax_, ymax_))
            out.emplace_back(ax, ay, bx, by);
    }
    // on paper the screen's white is black
    QColor ink(QRgb c) const { return QColor::fromRgb(paper_ && (c & 0xffffff) == 0xffffff ? qRgb(0, 0, 0) : c); }
    const QFont& font(int px)
    {
        auto f = fonts_.find(px);
        if (f == fonts_.end()) {
            QFont font = baseFont();
            font.setPixelSize(px);
            f = fonts_.insert(px, font);
        }
        return *f;
    }

    void dot(const Part& a) { a.b.dots.emplace_back(sx(a.pts[0].x), sy(a.pts[0].y)); }

    void mark(const Part& a)
    {
        std::vector<QLineF> strokes;
        pointMark(pdmode_, QPointF(sx(a.pts[0].x), sy(a.pts[0].y)), markSize_, a.p.width, strokes, a.b.dots);
        for (const QLineF& l : strokes)
            segment(a.lines, l.x1(), l.y1(), l.x2(), l.y2());
    }

    void image(const Part& a)
    {
        const DrawingScene::ImageRun& r = a.it.rare->images[a.p.text];
        painter_.save();
        if (!r.clip.empty()) {
            QPolygonF c;
            for (const Pt2& q : r.clip)
                c << QPointF(sx(q.x), sy(q.y));
            QPainterPath clip;
            clip.addPolygon(c);
            painter_.setClipPath(clip, Qt::IntersectClip);
        }
        painter_.setTransform(
            QTransform(s_ * r.m[0], -s_ * r.m[2], s_ * r.m[1], -s_ * r.m[3], sx(r.m[4]), sy(r.m[5])));
        painter_.setRenderHint(QPainter::SmoothPixmapTransform, true);
        painter_.drawImage(QPointF(0, 0), r.image);
        painter_.restore();
    }

    // A wide path drawn with its width while it is wide enough to show.
    void widePath(const Part& a)
    {
        const Prim& p = a.p;
        if (!(p.width * s_ >= 1.5 && !a.hl)) {
            path(a);
            return;
        }
        QPolygonF poly;
        poly.reserve(p.count + 1);
        bool far = false;
        for (quint32 i = 0; i < p.count; ++i) {
            poly << QPointF(sx(a.pts[i].x), sy(a.pts[i].y));
            far = far || std::abs(poly.back().x()) > 1e5 || std::abs(poly.back().y()) > 1e5;
        }
        if (p.closed)
            poly << poly.front();
        QPen pen(ink(p.colour), p.width * s_, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
        painter_.setPen(pen);
        if (!far) {
            painter_.drawPolyline(poly);
            return;
        }
        std::vector<QLineF> cut;
        for (qsizetype i = 0; i + 1 < poly.size(); ++i)
            segment(cut, poly[i].x(), poly[i].y(), poly[i + 1].x(), poly[i + 1].y());
        painter_.drawLines(cut.data(), int(cut.size()));
    }

    void path(const Part& a)
    {
        const Prim& p = a.p;
        if (p.pattern >= 0 && !a.hl) {
            dashedPath(a);
            return;
        }
        const quint32 n = p.closed ? p.count : p.count - 1;
        double px = sx(a.pts[0].x), py = sy(a.pts[0].y);
        for (quint32 i = 1; i <= n; ++i) {
            const Pt2& q = a.pts[i % p.count];
            const double qx = sx(q.x), qy = sy(q.y);
            segment(a.lines, px, py, qx, qy);
            px = qx;
            py = qy;
        }
    }

    // A path in its linetype's pattern, with the linetype's texts.
    void dashedPath(const Part& a)
    {
        const Prim& p = a.p;
        std::vector<double> px = a.it.rare->patterns[p.pattern];
        for (double& d : px)
            d *= s_;
        screen_.clear();
        for (quint32 i = 0; i < p.count; ++i)
            screen_.emplace_back(sx(a.pts[i].x), sy(a.pts[i].y));
        std::vector<QLineF> dashes;
        DashPhase phase;
        const std::vector<DashText>& texts = a.it.rare->patternTexts[size_t(p.pattern)];
        marks_.clear();
        dashPath(screen_.data(), int(screen_.size()), p.closed, px, phase, dashes, a.b.dots,
                 texts.empty() ? nullptr : &marks_);
        for (const QLineF& l : dashes)
            segment(a.lines, l.x1(), l.y1(), l.x2(), l.y2());
        for (const DashMark& m : marks_)
            for (const DashText& x : texts)
                if (x.element == m.element)
                    dashText(x, m, ink(p.colour));
    }

    // A linetype's text at the end of its element: offset along and across
    // the path, turned with it unless its angle is absolute; left out while
    // too small to read.
    void dashText(const DashText& x, const DashMark& m, const QColor& colour)
    {
        const double up = x.height * s_;
        if (up < 4 || up > 4000)
            return;
        const double dir = -m.angle; // the path's direction on the drawing (screen y is down)
        const double ox = x.dx * std::cos(dir) - x.dy * std::sin(dir);
        const double oy = x.dx * std::sin(dir) + x.dy * std::cos(dir);
        const double angle = (x.absolute ? 0 : dir) + x.rotation;
        const bool wide = std::any_of(x.text.begin(), x.text.end(), [](QChar c) { return c.unicode() >= 0x1100; });
        const GlyphFit& fit = wide ? glyphs().cjk : glyphs().latin;
        const int px = std::max(1, int(std::lround(up * fit.emPerHeight)));
        painter_.save();
        painter_.translate(m.at.x() + ox * s_, m.at.y() - oy * s_);
        painter_.rotate(-angle * 180 / M_PI);
        painter_.setFont(font(px));
        painter_.setPen(colour);
        painter_.drawText(QPointF(0, -fit.raise * px), x.text);
        painter_.restore();
        ++stats_.texts;
    }

    void fill(const Part& a)
    {
        QPolygonF poly;
        poly.reserve(a.p.count);
        for (quint32 i = 0; i < a.p.count; ++i)
            poly << QPointF(sx(a.pts[i].x), sy(a.pts[i].y));
        poly = clipPolygon(poly, -kMargin, -kMargin, xmax_, ymax_);
        if (poly.size() > 2) {
            painter_.setPen(a.hl ? QPen(ink(a.p.colour), 1, Qt::DashLine) : Qt::NoPen);
            painter_.setBrush(a.hl ? QBrush() : QBrush(ink(a.p.colour)));
            painter_.drawPolygon(poly);
            painter_.setBrush(Qt::NoBrush);
        }
    }

    // Too small to read (or highlighted): a stroke through the middle of its
    // box (its box's outline).
    void textStroke(const Part& a, const DrawingScene::TextRun& r)
    {
        auto at = [&](double u, double v) {
            return QPointF(sx(r.m[0] * u + r.m[1] * v + r.m[4]), sy(r.m[2] * u + r.m[3] * v + r.m[5]));
        };
        if (!a.hl) {
            const QPointF l = at(0, r.h / 2), c = at(r.w, r.h / 2);
            segment(a.lines, l.x(), l.y(), c.x(), c.y());
            return;
        }
        const QPointF q0 = at(0, 0), q1 = at(r.w, 0), q2 = at(r.w, r.h), q3 = at(0, r.h);
        segment(a.lines, q0.x(), q0.y(), q1.x(), q1.y());
        segment(a.lines, q1.x(), q1.y(), q2.x(), q2.y());
        segment(a.lines, q2.x(), q2.y(), q3.x(), q3.y());
        segment(a.lines, q3.x(), q3.y(), q0.x(), q0.y());
    }

    void text(const Part& a)
    {
        const DrawingScene::TextRun& r = a.it.texts[a.p.text];
        const double up = std::hypot(r.m[1], r.m[3]) * r.h * s_; // height on screen
        if (up < 4 || a.hl) {
            textStroke(a, r);
            return;
        }
        ++stats_.texts;
        if (r.advance100 < 0) {
            QFont ref = baseFont();
            ref.setPixelSize(100);
            r.advance100 = std::max(1.0, QFontMetricsF(ref).horizontalAdvance(r.text));
            r.wide = std::any_of(r.text.begin(), r.text.end(), [](QChar c) { return c.unicode() >= 0x1100; });
        }
        const GlyphFit& fit = r.wide ? glyphs().cjk : glyphs().latin;
        const int px = std::max(1, int(std::lround(std::min(up * fit.emPerHeight, 4000.0))));
        const double kx = r.w / (r.advance100 * px / 100.0); // box units per font pixel
        const double kv = r.h * fit.emPerHeight / px;
        const QTransform t(s_ * r.m[0] * kx, -s_ * r.m[2] * kx, -s_ * r.m[1] * kv, s_ * r.m[3] * kv,
                           sx(r.m[4]), sy(r.m[5]));
        painter_.setTransform(t);
        painter_.setFont(font(px));
        painter_.setPen(ink(a.p.colour));
        painter_.drawText(QPointF(0, -fit.raise * px), r.text);
        painter_.resetTransform();
    }

    QPainter& painter_;
    const ViewTransform& view_;
    const double s_;
    const bool paper_;
    const int pdmode_;
    const double markSize_;
    DrawingScene::Stats& stats_;
    const double xmax_, ymax_, w2_, h2_;
    std::vector<Batch> batches_;
    QHash<QRgb, int> batchOf_;
    QHash<int, QFont> fonts_;
    std::vector<QPointF> screen_; // a path's points, for its dashes
    std::vector<DashMark> marks_; // where its elements end, for linetype texts
};

} // namespace

DrawingScene::DrawingScene() = default;
DrawingScene::~DrawingScene() = default;

void DrawingScene::setDocument(cad::Document* doc, cad::Block* space)
{
    if (doc != doc_ || space != space_) {
        doc_ = doc;
        space_ = space;
        stale_ = true;
    }
}

cad::Block& DrawingScene::space() const
{
    return space_ ? *space_ : doc_->ModelSpace();
}

void DrawingScene::entityChanged(Entity* e, bool gone)
{
    if (stale_)
        return;
    if (!e->owner() || e->owner() != &space()) {
        // a block's contents: block references may show it
        if (e->owner() && !e->owner()->isModelSpace() && e->owner() != &doc_->PaperSpace())
            stale_ = true;
        return;
    }
    if (gone) {
        auto it = slot_.find(e);
        if (it != slot_.end()) {
            unfile(it->second);
            items_[it->second] = Item{};
            slot_.erase(it);
        }
        dirty_.erase(e);
        return;
    }
    dirty_.insert(e);
}

int DrawingScene::cellX(double x) const
{
    const double f = std::floor((x - ox_) / cell_);
    return int(std::clamp(f, 0.0, double(nx_ - 1)));
}

int DrawingScene::cellY(double y) const
{
    const double f = std::floor((y - oy_) / cell_);
    return int(std::clamp(f, 0.0, double(ny_ - 1)));
}

void DrawingScene::file(int index)
{
    Item& it = items_[index];
    if (!it.live || !it.box.valid())
        return;
    it.cx0 = cellX(it.box.minX);
    it.cx1 = cellX(it.box.maxX);
    it.cy0 = cellY(it.box.minY);
    it.cy1 = cellY(it.box.maxY);
    it.big = (long long)(it.cx1 - it.cx0 + 1) * (it.cy1 - it.cy0 + 1) > 64;
    if (it.big) {
        bigItems_.push_back(index);
        return;
    }
    for (int y = it.cy0; y <= it.cy1; ++y)
        for (int x = it.cx0; x <= it.cx1; ++x)
            cells_[size_t(y) * nx_ + x].push_back(index);
}

void DrawingScene::unfile(int index)
{
    Item& it = items_[index];
    if (it.big) {
        std::erase(bigItems_, index);
    } else {
        for (int y = it.cy0; y <= it.cy1; ++y)
            for (int x = it.cx0; x <= it.cx1; ++x)
                std::erase(cells_[size_t(y) * nx_ + x], index);
    }
    it.big = false;
    it.cx1 = it.cy1 = -1;
}

// After an item is built. Painting a whole drawing turns most items into
// dots: what that needs is kept in the item, so as not to visit its entity
// or its parts.
void DrawingScene::settle(Item& item)
{
    item.live = !item.prims.empty();
    item.lit = item.entity->Highlighted();
    if (!item.live)
        return;
    item.markFirst = item.prims.front().kind == Prim::Mark;
    item.firstColour = item.prims.front().colour;
}

void DrawingScene::rebuild()
{
    items_.clear();
    slot_.clear();
    dirty_.clear();
    cells_.clear();
    bigItems_.clear();
    stale_ = false;
    if (!doc_)
        return;
    layerPrint_ = layerFingerprint(*doc_);
    const Layers layers(*doc_);
    const std::vector<Entity*> all = space().entities();
    items_.resize(all.size());
    slot_.reserve(all.size());
    Box ext;
    for (size_t i = 0; i < all.size(); ++i) {
        Item& item = items_[i];
        item.entity = all[i];
        Builder b{*doc_, layers, item, {}, {}, 0};
        b.add(all[i], Map{}, QString(), aciColour(7), 0);
        settle(item);
        if (item.live) {
            slot_[all[i]] = int(i);
            ext.add(item.box);
        }
    }
    // about four items a cell, at most 1024 cells a side
    if (!ext.valid())
        ext.add(0, 0);
    const double w = std::max(ext.maxX - ext.minX, 1e-6), h = std::max(ext.maxY - ext.minY, 1e-6);
    const double cells = std::clamp(double(all.size()) / 4.0, 1.0, 1024.0 * 1024.0);
    cell_ = std::max(std::sqrt(w * h / cells), std::max(w, h) / 1024.0);
    ox_ = ext.minX;
    oy_ = ext.minY;
    nx_ = std::clamp(int(std::ceil(w / cell_)), 1, 1024);
    ny_ = std::clamp(int(std::ceil(h / cell_)), 1, 1024);
    cells_.assign(size_t(nx_) * ny_, {});
    for (size_t i = 0; i < items_.size(); ++i)
        file(int(i));
    stamp_.assign(items_.size(), 0);
}

void DrawingScene::ensure()
{
    if (!stale_ && doc_ && layerFingerprint(*doc_) != layerPrint_)
        stale_ = true;
    if (stale_) {
        rebuild();
        return;
    }
    if (dirty_.empty())
        return;
    if (dirty_.size() > items_.size() / 4 + 1000) {
        rebuild();
        return;
    }
    const Layers layers(*doc_);
    // new entities take new slots in creation order: the order they are drawn and selected in
    std::vector<Entity*> changed(dirty_.begin(), dirty_.end());
    std::sort(changed.begin(), changed.end(), [](Entity* a, Entity* b) { return a->sequence() < b->sequence(); });
    for (Entity* e : changed) {
        int index;
        auto it = slot_.find(e);
        if (it != slot_.end()) {
            index = it->second;
            unfile(index);
        } else {
            index = int(items_.size());
            items_.emplace_back();
            stamp_.push_back(0);
        }
        Item& item = items_[index];
        item = Item{};
        item.entity = e;
        if (!e->isErased() && e->owner() == &space()) {
            Builder b{*doc_, layers, item, {}, {}, 0};
            b.add(e, Map{}, QString(), aciColour(7), 0);
        }
        settle(item);
        if (item.live) {
            slot_[e] = index;
            file(index);
        } else {
            slot_.erase(e);
        }
    }
    dirty_.clear();
}

std::vector<int> DrawingScene::near(const Box& area, bool sorted)
{
    std::vector<int> out;
    if (!area.valid())
        return out;
    const int x0 = cellX(area.minX), x1 = cellX(area.maxX), y0 = cellY(area.minY), y1 = cellY(area.maxY);
    const long long touched = (long long)(x1 - x0 + 1) * (y1 - y0 + 1);
    if (touched * 3 > (long long)nx_ * ny_) {
        for (size_t i = 0; i < items_.size(); ++i)
            if (items_[i].live && items_[i].box.intersects(area))
                out.push_back(int(i));
        return out;
    }
    if (++stampNow_ == 0) {
        std::fill(stamp_.begin(), stamp_.end(), 0);
        stampNow_ = 1;
    }
    auto see = [&](int i) {
        if (stamp_[i] == stampNow_)
            return;
        stamp_[i] = stampNow_;
        if (items_[i].live && items_[i].box.intersects(area))
            out.push_back(i);
    };
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            for (int i : cells_[size_t(y) * nx_ + x])
                see(i);
    for (int i : bigItems_)
        see(i);
    if (sorted)
        std::sort(out.begin(), out.end());
    return out;
}

int DrawingScene::itemCount()
{
    ensure();
    return int(slot_.size());
}

Box DrawingScene::extents()
{
    ensure();
    Box b;
    for (const Item& it : items_)
        if (it.live)
            b.add(it.box);
    return b;
}

void DrawingScene::render(QPainter& painter, const ViewTransform& view,
                          const std::unordered_set<const Entity*>& highlighted)
{
    ensure();
    stats_ = Stats{};
    stats_.items = int(slot_.size());
    const double s = view.scale;
    const double half = 1.0 / s; // a pixel in drawing units
    Box vis = view.visible();
    vis.add(vis.minX - half, vis.minY - half);
    vis.add(vis.maxX + half, vis.maxY + half);
    const std::vector<int> shown = near(vis, true);

    painter.setRenderHint(QPainter::Antialiasing, false);
    const int pdmode = doc_ ? doc_->GetVariable(QStringLiteral("PDMODE")).toInt() : 0;
    const double markSize = pointSizePixels(doc_ ? doc_->GetVariable(QStringLiteral("PDSIZE")).toDouble() : 0, s,
                                            view.height);
    Painter paint(painter, view, paper_, pdmode, markSize, stats_);
    for (int index : shown) {
        const Item& it = items_[index];
        // selected on screen, or highlighted by a command until it says otherwise
        paint.item(it, (!highlighted.empty() && highlighted.count(it.entity)) || it.lit);
    }
    paint.finish();
}

Entity* DrawingScene::pick(const Point& at, double tolerance)
{
    ensure();
    Box area;
    area.add(at.x - tolerance, at.y - tolerance);
    area.add(at.x + tolerance, at.y + tolerance);
    Entity* best = nullptr;
    double bestD = HUGE_VAL;
    for (int i : near(area, true)) {
        const double d = itemDistance(items_[i], {at.x, at.y}, nullptr);
        if (d <= tolerance && d <= bestD) { // the later one wins a tie: it lies on top
            bestD = d;
            best = items_[i].entity;
        }
    }
    return best;
}

std::vector<Entity*> DrawingScene::select(const Box& box, bool crossing)
{
    ensure();
    std::vector<Entity*> out;
    if (!box.valid())
        return out;
    const std::vector<Pt2> poly{{box.minX, box.minY}, {box.maxX, box.minY}, {box.maxX, box.maxY}, {box.minX, box.maxY}};
    for (int i : near(box, true)) {
        Entity* e = items_[i].entity;
        const cad::Shape shape = e->shape();
        if (crossing ? cad::shapeMeetsPolygon(shape, poly) : cad::shapeInsidePolygon(shape, poly))
            out.push_back(e);
    }
    return out;
}

bool DrawingScene::snapEndpoint(const Point& at, double tolerance, Point& found)
{
    ensure();
    Box area;
    area.add(at.x - tolerance, at.y - tolerance);
    area.add(at.x + tolerance, at.y + tolerance);
    double best = tolerance;
    bool any = false;
    auto see = [&](double x, double y, double z) {
        const double d = std::hypot(x - at.x, y - at.y);
        if (d <= best) {
            best = d;
            found = {x, y, z};
            any = true;
        }
    };
    for (int i : near(area, false)) {
        const Entity* e = items_[i].entity;
        const Entity::Data& d = e->data();
        switch (e->kind()) {
        case EntityKind::Line:
            see(d.v[0].x, d.v[0].y, d.v[0].z);
            see(d.v[1].x, d.v[1].y, d.v[1].z);
            break;
        case EntityKind::Arc:
            see(d.v[0].x + d.placed().radius * std::cos(d.placed().startAngle), d.v[0].y + d.placed().radius * std::sin(d.placed().startAngle), d.v[0].z);
            see(d.v[0].x + d.placed().radius * std::cos(d.placed().endAngle), d.v[0].y + d.placed().radius * std::sin(d.placed().endAngle), d.v[0].z);
            break;
        case EntityKind::LwPolyline:
            for (const cad::Vertex& v : d.v)
                see(v.x, v.y, d.elevation);
            break;
        case EntityKind::Polyline2d:
        case EntityKind::Polyline3d:
            for (const cad::Vertex& v : d.v)
                see(v.x, v.y, v.z);
            break;
        default: break;
        }
    }
    return any;
}

bool DrawingScene::snapNearest(const Point& at, double tolerance, Point& found)
{
    ensure();
    Box area;
    area.add(at.x - tolerance, at.y - tolerance);
    area.add(at.x + tolerance, at.y + tolerance);
    double best = tolerance;
    bool any = false;
    for (int i : near(area, false)) {
        const Item& it = items_[i];
        for (const Prim& p : it.prims) {
            if (p.kind == Prim::Text || p.kind == Prim::Fill)
                continue;
            const Pt2* pts = it.pts.data() + p.first;
            const quint32 n = p.count == 1 ? 1 : (p.closed ? p.count : p.count - 1);
            for (quint32 k = 0; k < n; ++k) {
                Pt2 f;
                const double d = segmentDistance({at.x, at.y}, pts[k], pts[(k + 1) % p.count], &f);
                if (d <= best) {
                    best = d;
                    found = {f.x, f.y, 0};
                    any = true;
                }
            }
        }
    }
    return any;
}

} // namespace kelvor
