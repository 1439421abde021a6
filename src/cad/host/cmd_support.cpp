#include "cad/host/cmd_support.h"

#include "cad/host/cmd_commands.h"
#include "cad/model/document.h"

#include <algorithm>

namespace kelvor::cad {

QString matchKeyword(const QString& answer, const QStringList& keywords)
{
    const QString a = answer.trimmed();
    if (a.isEmpty())
        return {};
    for (const QString& k : keywords)
        if (k.compare(a, Qt::CaseInsensitive) == 0)
            return k;
    for (const QString& k : keywords) {
        QString caps;
        for (QChar c : k)
            if (c.isUpper())
                caps += c;
        if (!caps.isEmpty() && caps.compare(a, Qt::CaseInsensitive) == 0)
            return k;
    }
    for (const QString& k : keywords)
        if (k.startsWith(a, Qt::CaseInsensitive))
            return k;
    return {};
}

namespace cmd {

std::vector<Point> pointsUntilEnter(CommandInput& in)
{
    std::vector<Point> pts;
    while (true) {
        const QString item = in.nextText(QStringLiteral("point"));
        if (isEnter(item))
            return pts;
        if (const std::optional<Point> p = pointOf(item))
            pts.push_back(*p);
    }
}

bool visibleForEdit(Document& doc, const Entity& e)
{
    if (e.isErased() || !e.Visible() || !e.owner() || !e.owner()->isModelSpace())
        return false;
    const Layer* l = doc.Layers().find(e.Layer());
    return !l || (l->LayerOn && !l->Freeze);
}

bool editable(Document& doc, const Entity& e)
{
    if (e.isErased() || !e.owner() || !e.owner()->isModelSpace())
        return false;
    const Layer* l = doc.Layers().find(e.Layer());
    return !l || (!l->Lock && !l->Freeze);
}

void takeProperties(Entity& to, const Entity& from)
{
    EntityAccess access;
    access.setNames(&to, from.Layer(), from.Linetype(), to.document());
    access.setColor(&to, from.Color(), from.Visible());
    access.setXData(&to, from.GetXData(QString()));
}

// Object selection of a command: entity expressions, "All", "Last",
// "Previous", ended by Enter.
std::vector<Entity*> selectObjects(CommandInput& in)
{
    Document& doc = in.document();
    std::vector<Entity*> out;
    auto add = [&](Entity* e) {
        if (e && !e->isErased() && std::find(out.begin(), out.end(), e) == out.end())
            out.push_back(e);
    };
    while (true) {
        const QString item = in.nextText(QStringLiteral("select"));
        if (isEnter(item))
            break;
        if (isEntityText(item)) {
            add(entityFromExpression(doc, item));
            continue;
        }
        const QString k = matchKeyword(item, {QStringLiteral("ALL"), QStringLiteral("Last"),
                                              QStringLiteral("Previous")});
        if (k == QLatin1String("ALL")) {
            for (Entity* e : doc.ModelSpace().entities()) {
                const Layer* l = doc.Layers().find(e->Layer());
                if (!l || !l->Freeze)
                    add(e);
            }
        } else if (k == QLatin1String("Last")) {
            if (doc.ModelSpace().Count() > 0)
                add(doc.ModelSpace().Item(doc.ModelSpace().Count() - 1));
        } else if (k == QLatin1String("Previous")) {
            for (quint64 h : doc.previousSelection())
                add(doc.findHandle(h));
        }
    }
    std::vector<quint64> handles;
    for (Entity* e : out)
        handles.push_back(e->handleValue());
    doc.previousSelection() = handles;
    return out;
}

namespace {

// A flat vertex list from pieces; the widths of the vertex each piece
// started at. The piece is open.
void writeVertices(Entity& e, const std::vector<geom::Seg>& segs, const std::vector<Vertex>& original)
{
    const bool is3d = e.kind() == EntityKind::Polyline3d;
    const double elevation = e.kind() == EntityKind::Polyline2d ? e.Elevation() : 0;
    std::vector<Vertex> v;
    for (const geom::Seg& s : segs) {
        Vertex x;
        x.x = s.a.x;
        x.y = s.a.y;
        x.z = is3d ? s.za : elevation;
        x.bulge = is3d ? 0 : s.bulge;
        if (s.vertex >= 0 && s.vertex < int(original.size())) {
            x.startWidth = original[s.vertex].startWidth;
            x.endWidth = original[s.vertex].endWidth;
        }
        v.push_back(x);
    }
    const geom::Seg& last = segs.back();
    Vertex end;
    end.x = last.b.x;
    end.y = last.b.y;
    end.z = is3d ? last.zb : elevation;
    if (last.vertex >= 0 && last.vertex < int(original.size()))
        end.startWidth = end.endWidth = original[last.vertex].endWidth;
    v.push_back(end);
    e.setVertices(std::move(v));
    e.setPolylineFlags(e.polylineFlags() & ~1);
}

void writeArc(Entity& e, const std::vector<geom::Seg>& segs, const Point& centre, double radius)
{
    e.setCenter(centre);
    e.setRadius(radius);
    e.setAngles(std::atan2(segs.front().a.y - centre.y, segs.front().a.x - centre.x),
                std::atan2(segs.back().b.y - centre.y, segs.back().b.x - centre.x));
}

} // namespace

std::vector<Entity*> reshape(Entity& e, const std::vector<std::vector<geom::Seg>>& pieces)
{
    Document& doc = e.document();
    Block& owner = *e.owner();
    std::vector<Entity*> out;
    if (pieces.empty()) {
        e.Delete();
        return out;
    }
    const std::vector<Vertex> original = e.vertices();
    for (size_t k = 0; k < pieces.size(); ++k) {
        const std::vector<geom::Seg>& segs = pieces[k];
        if (segs.empty())
            continue;
        Entity* target = nullptr;
        switch (e.kind()) {
        case EntityKind::Line: {
            target = k == 0 ? &e : owner.copyOf(e);
            target->setVertices({Vertex{segs.front().a.x, segs.front().a.y, segs.front().za},
                                 Vertex{segs.back().b.x, segs.back().b.y, segs.back().zb}});
            break;
        }
        case EntityKind::Arc:
        case EntityKind::Circle: {
            const Point c = e.Center();
            const double r = e.Radius();
            if (e.kind() == EntityKind::Arc) {
                target = k == 0 ? &e : owner.copyOf(e);
            } else {
                target = owner.AddArc(c, r, 0, M_PI);
                takeProperties(*target, e);
            }
            writeArc(*target, segs, c, r);
            break;
        }
        case EntityKind::LwPolyline:
        case EntityKind::Polyline2d:
        case EntityKind::Polyline3d:
            target = k == 0 ? &e : owner.copyOf(e);
            writeVertices(*target, segs, original);
            break;
        default:
            return out;
        }
        doc.entityChanged(target);
        out.push_back(target);
    }
    if (e.kind() == EntityKind::Circle)
        e.Delete();
    return out;
}

} // namespace cmd
} // namespace kelvor::cad
