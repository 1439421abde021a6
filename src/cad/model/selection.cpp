#include "cad/model/selection.h"

#include "cad/model/document.h"

#include <algorithm>
#include <unordered_set>
#include <cmath>

namespace kelvor::cad {

namespace {

// Splits a pattern at commas that are not escaped by a backquote or inside
// brackets.
QStringList alternatives(const QString& pattern)
{
    QStringList out;
    QString cur;
    bool inBracket = false;
    for (int i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern[i];
        if (c == QLatin1Char('`') && i + 1 < pattern.size()) {
            cur += c;
            cur += pattern[++i];
            continue;
        }
        if (c == QLatin1Char('[') && !inBracket)
            inBracket = true;
        else if (c == QLatin1Char(']') && inBracket)
            inBracket = false;
        if (c == QLatin1Char(',') && !inBracket) {
            out.append(cur);
            cur.clear();
            continue;
        }
        cur += c;
    }
    out.append(cur);
    return out;
}

bool sameChar(QChar a, QChar b)
{
    return a == b || a.toUpper() == b.toUpper() || a.toLower() == b.toLower();
}

bool matchHere(const QString& t, int ti, const QString& p, int pi)
{
    while (pi < p.size()) {
        const QChar c = p[pi];
        if (c == QLatin1Char('*')) {
            while (pi < p.size() && p[pi] == QLatin1Char('*'))
                ++pi;
            if (pi == p.size())
                return true;
            for (int k = ti; k <= t.size(); ++k)
                if (matchHere(t, k, p, pi))
                    return true;
            return false;
        }
        if (ti >= t.size())
            return false;
        const QChar ch = t[ti];
        if (c == QLatin1Char('`') && pi + 1 < p.size()) {
            if (!sameChar(ch, p[pi + 1]))
                return false;
            pi += 2;
        } else if (c == QLatin1Char('?')) {
            ++pi;
        } else if (c == QLatin1Char('#')) {
            if (!ch.isDigit())
                return false;
            ++pi;
        } else if (c == QLatin1Char('@')) {
            if (!ch.isLetter())
                return false;
            ++pi;
        } else if (c == QLatin1Char('.')) {
            if (ch.isLetterOrNumber())
                return false;
            ++pi;
        } else if (c == QLatin1Char('[')) {
            int j = pi + 1;
            bool negate = false;
            if (j < p.size() && p[j] == QLatin1Char('~')) {
                negate = true;
                ++j;
            }
            bool hit = false;
            bool first = true;
            while (j < p.size() && (p[j] != QLatin1Char(']') || first)) {
                first = false;
                QChar lo = p[j];
                if (lo == QLatin1Char('`') && j + 1 < p.size())
                    lo = p[++j];
                if (j + 2 < p.size() && p[j + 1] == QLatin1Char('-') && p[j + 2] != QLatin1Char(']')) {
                    const QChar hi = p[j + 2];
                    const QChar u = ch.toUpper();
                    const QChar l = ch.toLower();
                    if ((u >= lo.toUpper() && u <= hi.toUpper()) || (l >= lo.toLower() && l <= hi.toLower()))
                        hit = true;
                    j += 3;
                } else {
                    if (sameChar(ch, lo))
                        hit = true;
                    ++j;
                }
            }
            if (j >= p.size()) { // no closing bracket: a literal '['
                if (!sameChar(ch, c))
                    return false;
                ++pi;
            } else {
                if (hit == negate)
                    return false;
                pi = j + 1;
            }
        } else {
            if (!sameChar(ch, c))
                return false;
            ++pi;
        }
        ++ti;
    }
    return ti == t.size();
}

} // namespace

bool wildcardMatch(const QString& text, const QString& pattern)
{
    // a selection tests a few patterns against many names: keep their splits
    struct Split {
        QString pattern;
        QStringList alternatives;
    };
    thread_local Split cache[8];
    thread_local int next = 0;
    const QStringList* alts = nullptr;
    for (const Split& c : cache)
        if (!c.alternatives.isEmpty() && c.pattern == pattern) {
            alts = &c.alternatives;
            break;
        }
    if (!alts) {
        Split& c = cache[next++ % 8];
        c.pattern = pattern;
        c.alternatives = alternatives(pattern);
        alts = &c.alternatives;
    }
    for (const QString& alt : *alts) {
        if (alt.startsWith(QLatin1Char('~')) && alt.size() > 1) {
            if (!matchHere(text, 0, alt, 1))
                return true;
        } else if (matchHere(text, 0, alt, 0)) {
            return true;
        }
    }
    return false;
}

namespace {

bool typeMatches(const Entity& e, const QString& pattern)
{
    return wildcardMatch(e.dxfName(), pattern);
}

} // namespace

bool filterMatches(const Entity& e, const SelectionFilter& filter)
{
    for (size_t i = 0; i < filter.types.size(); ++i) {
        const int code = filter.types[i];
        const QVariant& v = i < filter.values.size() ? filter.values[i] : QVariant();
        const QString pattern = v.typeId() == QMetaType::Double ? QString::number(v.toDouble(), 'g', 15) : v.toString();
        bool ok = false;
        switch (code) {
        case 0:
            ok = typeMatches(e, pattern);
            break;
        case 2:
            ok = e.kind() == EntityKind::BlockReference && wildcardMatch(e.data().placed().text, pattern);
            break;
        case 6:
            ok = wildcardMatch(e.Linetype(), pattern);
            break;
        case 7:
            ok = (e.kind() == EntityKind::Text || e.kind() == EntityKind::MText) && wildcardMatch(e.data().placed().style, pattern);
            break;
        case 8:
            ok = wildcardMatch(e.Layer(), pattern);
            break;
        case 62:
            ok = wildcardMatch(QString::number(e.Color()), pattern.trimmed());
            break;
        case 1001: {
            for (const XDataItem& x : e.GetXData(QString()))
                if (x.code == 1001 && wildcardMatch(x.value.toString(), pattern)) {
                    ok = true;
                    break;
                }
            break;
        }
        default:
            fault(fail::Failed, QStringLiteral("group code %1 cannot be used in a selection filter").arg(code));
        }
        if (!ok)
            return false;
    }
    return true;
}

// ---------------------------------------------------------------- SelectionSet

int SelectionSet::Count() const
{
    return int(entities().size());
}

std::vector<Entity*> SelectionSet::entities() const
{
    std::vector<Entity*> out;
    out.reserve(members_.size());
    for (quint64 h : members_)
        if (Entity* e = doc_->findHandle(h))
            out.push_back(e);
    return out;
}

Entity* SelectionSet::Item(int index) const
{
    const auto list = entities();
    if (index < 0 || index >= int(list.size()))
        fault(fail::NotFound, QStringLiteral("no entity at index %1 of the selection set").arg(index));
    return list[index];
}

void SelectionSet::Clear()
{
    members_.clear();
}

void SelectionSet::Delete()
{
    doc_->SelectionSets().remove(this); // destroys this
}

void SelectionSet::take(const std::vector<Entity*>& found)
{
    std::unordered_set<quint64> held(members_.begin(), members_.end());
    for (Entity* e : found)
        if (held.insert(e->handleValue()).second)
            members_.push_back(e->handleValue());
}

void SelectionSet::AddItems(const std::vector<Entity*>& list)
{
    for (Entity* e : list)
        if (!e || e->isErased())
            fault(fail::Erased, QStringLiteral("the entity was deleted"));
    take(list);
}

void SelectionSet::RemoveItems(const std::vector<Entity*>& list)
{
    for (Entity* e : list)
        std::erase(members_, e->handleValue());
}

void SelectionSet::Erase()
{
    for (Entity* e : entities())
        e->Delete();
    members_.clear();
}

void SelectionSet::Highlight(bool on)
{
    for (Entity* e : entities())
        e->Highlight(on);
}

namespace {

// Entities on frozen layers cannot be selected.
struct Frozen {
    QStringList names;
    explicit Frozen(Document& doc)
    {
        for (const Layer& l : doc.Layers().items())
            if (l.Freeze)
                names << l.Name;
    }
    bool selectable(const Entity& e) const
    {
        return names.isEmpty() || !names.contains(e.Layer(), Qt::CaseInsensitive);
    }
};

std::vector<Entity*> inCreationOrder(std::vector<Entity*> v)
{
    std::sort(v.begin(), v.end(), [](Entity* a, Entity* b) { return a->sequence() < b->sequence(); });
    return v;
}

std::vector<Pt2> polygonOf(const std::vector<double>& flat)
{
    if (flat.size() % 3 != 0)
        fault(fail::Failed, QStringLiteral("a polygon needs three numbers per point"));
    std::vector<Pt2> poly;
    for (size_t i = 0; i + 2 < flat.size(); i += 3)
        poly.push_back({flat[i], flat[i + 1]});
    return poly;
}

} // namespace

void SelectionSet::Select(int mode, const Point& c1, const Point& c2, const SelectionFilter& filter)
{
    std::vector<Entity*> found;
    if (mode == SelectAll) {
        const Frozen frozen(*doc_);
        for (Entity* e : doc_->ModelSpace().entities())
            if (frozen.selectable(*e) && filterMatches(*e, filter))
                found.push_back(e);
        take(found);
        return;
    }
    if (mode == SelectLast) {
        const int n = doc_->ModelSpace().Count();
        if (n > 0) {
            Entity* e = doc_->ModelSpace().Item(n - 1);
            if (filterMatches(*e, filter))
                take({e});
        }
        return;
    }
    if (mode != SelectWindow && mode != SelectCrossing)
        fault(fail::Failed, QStringLiteral("selection mode %1 is not available here").arg(mode));
    const double x0 = std::min(c1.x, c2.x), x1 = std::max(c1.x, c2.x);
    const double y0 = std::min(c1.y, c2.y), y1 = std::max(c1.y, c2.y);
    std::vector<double> poly{x0, y0, 0, x1, y0, 0, x1, y1, 0, x0, y1, 0};
    SelectByPolygon(mode == SelectWindow ? SelectWindowPolygon : SelectCrossingPolygon, poly, filter);
}

void SelectionSet::SelectByPolygon(int mode, const std::vector<double>& points, const SelectionFilter& filter)
{
    const std::vector<Pt2> poly = polygonOf(points);
    const bool fence = mode == SelectFence;
    if (fence ? poly.size() < 2 : poly.size() < 3)
        fault(fail::Failed, QStringLiteral("too few points for the selection"));
    if (mode != SelectFence && mode != SelectWindowPolygon && mode != SelectCrossingPolygon)
        fault(fail::Failed, QStringLiteral("selection mode %1 is not a polygon mode").arg(mode));
    Box area;
    for (const Pt2& p : poly)
        area.add(p.x, p.y);
    std::vector<Entity*> found;
    const Frozen frozen(*doc_);
    for (Entity* e : doc_->modelCandidates(area)) {
        if (e->isErased() || !frozen.selectable(*e))
            continue;
        bool hit = false;
        if (e->kind() == EntityKind::Foreign) {
            // only its box is known: taken when that lies wholly inside
            const Box b = e->box();
            hit = mode != SelectFence && b.valid()
                && shapeInsidePolygon({Chain{{{b.minX, b.minY}, {b.maxX, b.minY}, {b.maxX, b.maxY}, {b.minX, b.maxY}}, true}},
                                      poly);
            if (hit && filterMatches(*e, filter))
                found.push_back(e);
            continue;
        }
        const Shape s = e->shape();
        if (mode == SelectWindowPolygon)
            hit = shapeInsidePolygon(s, poly);
        else if (mode == SelectCrossingPolygon)
            hit = shapeMeetsPolygon(s, poly);
        else
            hit = shapeMeetsFence(s, poly);
        if (hit && filterMatches(*e, filter))
            found.push_back(e);
    }
    take(inCreationOrder(found));
}

std::vector<Entity*> pickedWithGroups(Document& doc, const std::vector<Entity*>& picked)
{
    std::vector<Entity*> out = picked;
    if ((doc.GetVariable(QStringLiteral("PICKSTYLE")).toInt() & 1) == 0)
        return out;
    std::unordered_set<const Entity*> seen(picked.begin(), picked.end());
    const std::vector<Group*> groups = doc.groups();
    for (Entity* e : picked)
        for (Group* g : groups) {
            const std::vector<Entity*> members = g->entities();
            if (std::find(members.begin(), members.end(), e) == members.end())
                continue;
            for (Entity* m : members)
                if (seen.insert(m).second)
                    out.push_back(m);
        }
    return out;
}

void SelectionSet::SelectOnScreen(const SelectionFilter& filter)
{
    DocumentHost* app = doc_->host();
    if (!app)
        fault(fail::Failed, QStringLiteral("no one can pick in this drawing"));
    const Input in = app->input().next(QStringLiteral("select"), QString());
    if (in.kind != Input::Value)
        return; // a cancelled selection leaves the set as it was
    std::vector<Entity*> picked, found;
    const Frozen frozen(*doc_);
    for (const QString& h : in.handles) {
        bool ok = false;
        if (Entity* e = doc_->findHandle(h.toULongLong(&ok, 16)); ok && e)
            picked.push_back(e);
    }
    for (Entity* e : pickedWithGroups(*doc_, picked)) {
        if (e->isErased() || !e->Visible() || !e->owner()->isModelSpace() || !frozen.selectable(*e))
            continue;
        if (filterMatches(*e, filter))
            found.push_back(e);
    }
    take(found);
    std::vector<quint64>& previous = doc_->previousSelection();
    previous.clear();
    for (Entity* e : found)
        previous.push_back(e->handleValue());
}

} // namespace kelvor::cad
