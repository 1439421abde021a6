#include "cad/model/document.h"

#include "cad/model/geom_boundary.h"
#include "cad/model/layouts.h"

#include "cad/model/references.h"
#include "routines/routines.h"
#include "cad/model/spatial_index.h"

#include "platform/paths.h"

#include <QDataStream>
#include <QDir>
#include <QFileInfo>
#include <cmath>
#include <limits>
#include <set>

namespace kelvor::cad {

namespace {

bool validName(const QString& name)
{
    if (name.trimmed().isEmpty())
        return false;
    for (QChar c : name)
        if (QStringLiteral("<>/\\\":;?*|,=`").contains(c))
            return false;
    return true;
}

std::vector<Vertex> vertsFrom(const std::vector<double>& flat, size_t per)
{
    std::vector<Vertex> v(flat.size() / per);
    for (size_t i = 0; i < v.size(); ++i) {
        v[i].x = flat[i * per];
        v[i].y = flat[i * per + 1];
        if (per == 3)
            v[i].z = flat[i * per + 2];
    }
    return v;
}

} // namespace

// ---------------------------------------------------------------- Table

template <class T>
T* Table<T>::find(const QString& name)
{
    for (T& t : items_)
        if (t.Name.compare(name, Qt::CaseInsensitive) == 0)
            return &t;
    return nullptr;
}

template <class T>
const T* Table<T>::find(const QString& name) const
{
    for (const T& t : items_)
        if (t.Name.compare(name, Qt::CaseInsensitive) == 0)
            return &t;
    return nullptr;
}

template <class T>
T& Table<T>::Item(int index)
{
    if (index < 0 || index >= Count())
        fault(fail::NotFound, QStringLiteral("no item %1").arg(index));
    return items_[index];
}

template <class T>
T& Table<T>::Item(const QString& name)
{
    T* t = find(name);
    if (!t)
        fault(fail::NotFound, QStringLiteral("no item \"%1\"").arg(name));
    return *t;
}

template <class T>
T& Table<T>::Add(const QString& name)
{
    if (T* t = find(name))
        return *t;
    if (!validName(name))
        fault(fail::Failed, QStringLiteral("\"%1\" is not a valid name").arg(name));
    T t;
    t.Name = name;
    items_.push_back(t);
    return items_.back();
}

template <class T>
void Table<T>::remove(const QString& name)
{
    for (auto it = items_.begin(); it != items_.end(); ++it)
        if (it->Name.compare(name, Qt::CaseInsensitive) == 0) {
            items_.erase(it);
            return;
        }
    fault(fail::NotFound, QStringLiteral("no item \"%1\"").arg(name));
}

template class Table<Layer>;
template class Table<Linetype>;
template class Table<TextStyle>;
template class Table<RegisteredApplication>;

// ---------------------------------------------------------------- Block

Block::Block(Document* doc, const QString& name, bool modelSpace)
    : doc_(doc)
    , name_(name)
    , modelSpace_(modelSpace)
{
}

Block::~Block() = default;

void Block::compact() const
{
    if (!dirty_)
        return;
    std::erase_if(items_, [](Entity* e) { return e->isErased(); });
    dirty_ = false;
}

Box Block::extents() const
{
    if (extentsStamp_ == doc_->geometryStamp())
        return extents_;
    if (measuring_)
        return Box{}; // a reference to a block being measured: the block holds itself
    measuring_ = true;
    Box b;
    for (Entity* e : entities())
        b.add(e->box());
    measuring_ = false;
    extents_ = b;
    extentsStamp_ = doc_->geometryStamp();
    return b;
}

int Block::Count() const
{
    compact();
    return int(items_.size());
}

Entity* Block::Item(int index) const
{
    compact();
    if (index < 0 || index >= int(items_.size()))
        fault(fail::NotFound, QStringLiteral("no entity at index %1").arg(index));
    return items_[index];
}

std::vector<Entity*> Block::entities() const
{
    compact();
    return items_;
}

Entity* Block::create(EntityKind kind)
{
    auto owned = std::unique_ptr<Entity>(new Entity(kind, this));
    Entity* e = owned.get();
    if (this != doc_->model_.get() && this != doc_->paper_.get())
        doc_->blockContentChanged();
    e->handle_ = doc_->newHandle();
    e->seq_ = doc_->nextSequence();
    const Document::NewEntity& current = doc_->newEntity();
    e->layer_ = current.layer;
    e->linetype_ = current.linetype;
    e->color_ = current.color;
    auto& v = e->dat()->v;
    switch (kind) {
    case EntityKind::Line: v.resize(2); break;
    case EntityKind::Text: v.resize(2); break;
    case EntityKind::Point:
    case EntityKind::Circle:
    case EntityKind::Arc:
    case EntityKind::MText:
    case EntityKind::BlockReference:
    case EntityKind::RasterImage: v.resize(1); break;
    default: break;
    }
    if (kind == EntityKind::Text || kind == EntityKind::MText)
        e->dat()->placedMut().style = current.style;
    if (kind == EntityKind::Polyline3d)
        e->dat()->polyFlags = 8;
    e->dat()->ltscale = std::max(1e-12, doc_->GetVariable(QStringLiteral("CELTSCALE")).toDouble());
    owned_.push_back(std::move(owned));
    compact();
    items_.push_back(e);
    doc_->registerEntity(e);
    return e;
}

Entity* Block::copyOf(const Entity& src)
{
    Entity* e = create(src.kind_);
    e->layer_ = src.layer_;
    e->linetype_ = src.linetype_;
    e->color_ = src.color_;
    e->visible_ = src.visible_;
    e->setXDataList(src.xdata());
    *e->dat() = *src.dat();
    if (e->dat()->hasRare()) {
        EntityRare& r = e->dat()->rareMut();
        r.subHandles.clear();
        r.appGroups.clear(); // reactors and dictionaries belong to the original
        r.imageDefHandle = 0;
        r.imageReactorHandle = 0;
    }
    doc_->entityChanged(e);
    return e;
}

Entity* Block::AddLine(const Point& s, const Point& t)
{
    needFinite(s);
    needFinite(t);
    Entity* e = create(EntityKind::Line);
    e->dat()->v[0] = {s.x, s.y, s.z};
    e->dat()->v[1] = {t.x, t.y, t.z};
    doc_->entityChanged(e);
    return e;
}

Entity* Block::AddPoint(const Point& p)
{
    needFinite(p);
    Entity* e = create(EntityKind::Point);
    e->dat()->v[0] = {p.x, p.y, p.z};
    doc_->entityChanged(e);
    return e;
}

Entity* Block::AddCircle(const Point& c, double r)
{
    needFinite(c);
    needFinite({r});
    if (!(r > 0))
        fault(fail::Failed, QStringLiteral("the radius must be positive"));
    Entity* e = create(EntityKind::Circle);
    e->dat()->v[0] = {c.x, c.y, c.z};
    e->dat()->placedMut().radius = r;
    doc_->entityChanged(e);
    return e;
}

Entity* Block::AddArc(const Point& c, double r, double a0, double a1)
{
    needFinite(c);
    needFinite({r});
    needAngle({a0, a1});
    if (!(r > 0))
        fault(fail::Failed, QStringLiteral("the radius must be positive"));
    Entity* e = create(EntityKind::Arc);
    e->dat()->v[0] = {c.x, c.y, c.z};
    e->dat()->placedMut().radius = r;
    e->dat()->placedMut().startAngle = a0;
    e->dat()->placedMut().endAngle = a1;
    doc_->entityChanged(e);
    return e;
}

Entity* Block::AddText(const QString& text, const Point& p, double height)
{
    needFinite(p);
    needFinite({height});
    if (!(height > 0))
        fault(fail::Failed, QStringLiteral("the height must be positive"));
    Entity* e = create(EntityKind::Text);
    e->dat()->placedMut().text = text;
    e->dat()->v[0] = {p.x, p.y, p.z};
    e->dat()->placedMut().height = height;
    if (const TextStyle* st = doc_->TextStyles().find(e->dat()->placed().style))
        e->dat()->placedMut().widthFactor = st->widthFactor;
    doc_->entityChanged(e);
    return e;
}

Entity* Block::AddMText(const Point& p, double width, const QString& text)
{
    needFinite(p);
    needFinite({width});
    Entity* e = create(EntityKind::MText);
    e->dat()->placedMut().text = text;
    e->dat()->v[0] = {p.x, p.y, p.z};
    e->dat()->rareMut().mtextWidth = width;
    e->dat()->placedMut().height = doc_->GetVariable(QStringLiteral("TEXTSIZE")).toDouble();
    doc_->entityChanged(e);
    return e;
}

Entity* Block::AddLightWeightPolyline(const std::vector<double>& xy)
{
    needFinite(xy);
    if (xy.size() % 2 != 0 || xy.size() < 4)
        fault(fail::Failed, QStringLiteral("a polyline needs two numbers per vertex and two vertices"));
    Entity* e = create(EntityKind::LwPolyline);
    e->dat()->v = vertsFrom(xy, 2);
    doc_->entityChanged(e);
    return e;
}

Entity* Block::AddPolyline(const std::vector<double>& xyz)
{
    needFinite(xyz);
    if (xyz.size() % 3 != 0 || xyz.size() < 6)
        fault(fail::Failed, QStringLiteral("a polyline needs three numbers per vertex and two vertices"));
    Entity* e = create(EntityKind::Polyline2d);
    e->dat()->v = vertsFrom(xyz, 3);
    e->dat()->elevation = xyz[2];
    doc_->entityChanged(e);
    return e;
}

Entity* Block::Add3DPoly(const std::vector<double>& xyz)
{
    needFinite(xyz);
    if (xyz.size() % 3 != 0 || xyz.size() < 6)
        fault(fail::Failed, QStringLiteral("a polyline needs three numbers per vertex and two vertices"));
    Entity* e = create(EntityKind::Polyline3d);
    e->dat()->v = vertsFrom(xyz, 3);
    doc_->entityChanged(e);
    return e;
}

std::vector<Entity*> Block::AddRegion(const std::vector<Entity*>& outlines)
{
    if (outlines.empty())
        fault(fail::Failed, QStringLiteral("no outline given"));
    std::vector<Shape> shapes;
    std::vector<std::vector<Vertex>> loops;
    for (Entity* o : outlines) {
        if (!o || o->isErased())
            fault(fail::Erased, QStringLiteral("the entity was deleted"));
        const Shape s = o->shape();
        const bool closed = o->kind() == EntityKind::Circle
            || ((o->kind() == EntityKind::LwPolyline || o->kind() == EntityKind::Polyline2d
                 || o->kind() == EntityKind::Polyline3d)
                && o->Closed()
                && (o->vertexCount() >= 3 || (o->vertexCount() == 2 && o->kind() != EntityKind::Polyline3d
                                              && std::abs(o->data().v[0].bulge) > 1e-12)));
        if (!closed || s.empty())
            fault(fail::Failed, QStringLiteral("the outline is not closed"));
        shapes.push_back(s);
        // the outline with its arcs, counter-clockwise, for the region's body
        std::vector<Vertex> loop;
        const Entity::Data& od = o->data();
        if (o->kind() == EntityKind::Circle) {
            loop = {Vertex{od.v[0].x + od.placed().radius, od.v[0].y, 0, 1}, Vertex{od.v[0].x - od.placed().radius, od.v[0].y, 0, 1}};
        } else {
            for (const Vertex& x : pathVertices(od))
                loop.push_back(Vertex{x.x, x.y, 0, o->kind() == EntityKind::Polyline3d ? 0 : x.bulge});
            if (geom::outlineArea(loop) < 0) {
                std::vector<Vertex> back;
                for (size_t i = loop.size(); i-- > 0;)
                    back.push_back(Vertex{loop[i].x, loop[i].y, 0, -loop[(i + loop.size() - 1) % loop.size()].bulge});
                loop = back;
            }
        }
        loops.push_back(loop);
    }
    std::vector<Entity*> out;
    for (size_t k = 0; k < shapes.size(); ++k) {
        const Shape& s = shapes[k];
        Entity* e = create(EntityKind::Region);
        e->dat()->rareMut().regionLoops = {loops[k]};
        e->dat()->rareMut().regionShape = s;
        e->dat()->rareMut().regionShape.front().closed = true;
        doc_->entityChanged(e);
        out.push_back(e);
    }
    return out;
}

Entity* Block::AddRaster(const QString& imageFile, const Point& p, double scale, double rotation)
{
    needFinite(p);
    needAngle({rotation});
    needFinite({scale, scale * std::cos(rotation), scale * std::sin(rotation)});
    if (!(scale > 0))
        fault(fail::Failed, QStringLiteral("the scale must be positive"));
    Entity* e = create(EntityKind::RasterImage);
    auto& d = *e->dat();
    d.placedMut().text = imageFile;
    d.v[0] = {p.x, p.y, p.z};
    d.rareMut().pixelsW = d.rareMut().pixelsH = 1;
    d.rareMut().u = {scale * std::cos(rotation), scale * std::sin(rotation), 0};
    d.rareMut().vv = {-scale * std::sin(rotation), scale * std::cos(rotation), 0};
    doc_->entityChanged(e);
    return e;
}

// ---------------------------------------------------------------- Group

int Group::Count() const
{
    return int(entities().size());
}

Entity* Group::Item(int index) const
{
    const auto list = entities();
    if (index < 0 || index >= int(list.size()))
        fault(fail::NotFound, QStringLiteral("no entity at index %1").arg(index));
    return list[index];
}

void Group::AppendItems(const std::vector<Entity*>& entities)
{
    for (Entity* e : entities) {
        if (!e || e->isErased())
            fault(fail::Erased, QStringLiteral("the entity was deleted"));
    }
    for (Entity* e : entities)
        if (std::find(members_.begin(), members_.end(), e->handleValue()) == members_.end())
            members_.push_back(e->handleValue());
}

std::vector<Entity*> Group::entities() const
{
    std::vector<Entity*> out;
    for (quint64 h : members_)
        if (Entity* e = doc_->findHandle(h))
            out.push_back(e);
    return out;
}

// ---------------------------------------------------------------- SelectionSets

SelectionSet* SelectionSets::find(const QString& name)
{
    for (auto& s : sets_)
        if (s->Name().compare(name, Qt::CaseInsensitive) == 0)
            return s.get();
    return nullptr;
}

SelectionSet& SelectionSets::Item(const QString& name)
{
    SelectionSet* s = find(name);
    if (!s)
        fault(fail::NotFound, QStringLiteral("no selection set \"%1\"").arg(name));
    return *s;
}

SelectionSet& SelectionSets::Item(int index)
{
    if (index < 0 || index >= Count())
        fault(fail::NotFound, QStringLiteral("no selection set %1").arg(index));
    return *sets_[index];
}

SelectionSet& SelectionSets::Add(const QString& name)
{
    if (find(name))
        fault(fail::Duplicate, QStringLiteral("the selection set \"%1\" exists").arg(name));
    if (name.isEmpty())
        fault(fail::Failed, QStringLiteral("a selection set needs a name"));
    sets_.push_back(std::make_unique<SelectionSet>(doc_, name));
    return *sets_.back();
}

void SelectionSets::remove(SelectionSet* set)
{
    std::erase_if(sets_, [set](const auto& p) { return p.get() == set; });
}

// ---------------------------------------------------------------- Document

Document::Document(DocumentHost* host)
    : host_(host)
    , model_(new Block(this, QStringLiteral("*Model_Space"), true))
    , paper_(new Block(this, QStringLiteral("*Paper_Space"), false))
    , utility_(std::make_unique<cad::Utility>(this))
    , index_(std::make_unique<SpatialIndex>())
{
    sets_.doc_ = this;
    const std::pair<const char*, QVariant> defaults[] = {
        {"USERR1", 0.0}, {"USERR2", 0.0}, {"USERR3", 0.0}, {"USERR4", 0.0}, {"USERR5", 0.0},
        {"USERI1", 0}, {"USERI2", 0}, {"USERI3", 0}, {"USERI4", 0}, {"USERI5", 0},
        {"USERS1", QString()}, {"USERS2", QString()}, {"USERS3", QString()}, {"USERS4", QString()}, {"USERS5", QString()},
        {"OSMODE", 0}, {"PICKSTYLE", 1}, {"PICKBOX", 3}, {"PDMODE", 0}, {"PDSIZE", 0.0},
        {"CLAYER", QStringLiteral("0")}, {"CELTYPE", QStringLiteral("ByLayer")}, {"CECOLOR", QStringLiteral("BYLAYER")},
        {"TEXTSTYLE", QStringLiteral("Standard")}, {"TEXTSIZE", 2.5}, {"LTSCALE", 1.0}, {"PLINEWID", 0.0},
        {"PLINEGEN", 0}, {"ORTHOMODE", 0}, {"BACKGROUNDPLOT", 2}, {"FILEDIA", 1}, {"CMDECHO", 1},
        {"INSBASE", QVariantList{0.0, 0.0, 0.0}}, {"DIMSCALE", 1.0}, {"LUNITS", 2}, {"LUPREC", 4},
        {"AUNITS", 0}, {"AUPREC", 0}, {"ANGBASE", 0.0}, {"ANGDIR", 0}, {"MIRRTEXT", 0}, {"FILLMODE", 1},
        {"APERTURE", 10}, {"SPLINETYPE", 6}, {"SPLINESEGS", 8}, {"SPLFRAME", 0}, {"IMAGEFRAME", 1},
        {"CELTSCALE", 1.0},
    };
    for (const auto& [k, v] : defaults)
        vars_[QLatin1String(k)] = v;
    ensureStandardTables();
    markSaved();
}

QByteArray Document::tableSignature() const
{
    QByteArray out;
    QDataStream s(&out, QIODevice::WriteOnly);
    for (const Layer& l : layers_.items())
        s << l.Name << l.Color << l.Linetype << l.LayerOn << l.Freeze << l.Lock;
    s << quint8(1);
    for (const Linetype& l : linetypes_.items()) {
        s << l.Name << l.Description;
        for (double d : l.pattern)
            s << d;
        for (const LinetypeElement& el : l.elements) {
            s << el.style;
            for (const KeptGroup& k : el.groups)
                s << k.code << k.value;
        }
    }
    s << quint8(2);
    for (const TextStyle& t : styles_.items())
        s << t.Name << t.fontFile << t.bigFontFile << t.height << t.widthFactor << t.oblique;
    s << quint8(3);
    for (const RegisteredApplication& a : appids_.items())
        s << a.Name;
    s << quint8(4);
    for (const auto& b : blocks_)
        s << b->Name() << b->Origin().x << b->Origin().y << b->Origin().z;
    s << quint8(5);
    for (const auto& g : groups_) {
        s << g->Name() << g->description;
        for (quint64 h : g->members_)
            s << h;
    }
    return out;
}

bool Document::Saved() const
{
    return !changed_ && tableSignature() == savedTables_;
}

void Document::markSaved()
{
    changed_ = false;
    savedTables_ = tableSignature();
}

Document::~Document() = default;

void Document::ensureStandardTables()
{
    if (!layers_.contains(QStringLiteral("0"))) {
        Layer& l = layers_.Add(QStringLiteral("0"));
        l.Color = 7;
    }
    if (!linetypes_.contains(QStringLiteral("Continuous"))) {
        Linetype& c = linetypes_.Add(QStringLiteral("Continuous"));
        c.Description = QStringLiteral("Solid line");
    }
    if (!styles_.contains(QStringLiteral("Standard")))
        styles_.Add(QStringLiteral("Standard"));
    if (!appids_.contains(QStringLiteral("ACAD")))
        appids_.Add(QStringLiteral("ACAD"));
}

Block& Document::BlocksAdd(const Point& origin, const QString& name)
{
    needFinite(origin);
    if (Block* b = findBlock(name))
        return *b;
    if (!validName(name.startsWith(QLatin1Char('*')) ? name.mid(1) : name))
        fault(fail::Failed, QStringLiteral("\"%1\" is not a valid block name").arg(name));
    blocks_.push_back(std::unique_ptr<Block>(new Block(this, name, false)));
    blocks_.back()->origin_ = origin;
    blockContentChanged();
    return *blocks_.back();
}

Block* Document::findBlock(const QString& name) const
{
    if (name.compare(model_->Name(), Qt::CaseInsensitive) == 0)
        return model_.get();
    if (name.compare(paper_->Name(), Qt::CaseInsensitive) == 0)
        return paper_.get();
    for (const auto& b : blocks_)
        if (b->Name().compare(name, Qt::CaseInsensitive) == 0)
            return b.get();
    return nullptr;
}

Block& Document::BlocksItem(const QString& name) const
{
    Block* b = findBlock(name);
    if (!b)
        fault(fail::NotFound, QStringLiteral("no block \"%1\"").arg(name));
    return *b;
}

std::vector<Block*> Document::blocks() const
{
    std::vector<Block*> out;
    for (const auto& b : blocks_)
        out.push_back(b.get());
    return out;
}

Group& Document::GroupsAdd(const QString& name)
{
    if (findGroup(name))
        fault(fail::Duplicate, QStringLiteral("the group \"%1\" exists").arg(name));
    if (!name.startsWith(QLatin1Char('*')) && !validName(name))
        fault(fail::Failed, QStringLiteral("\"%1\" is not a valid group name").arg(name));
    groups_.push_back(std::make_unique<Group>());
    groups_.back()->name_ = name;
    groups_.back()->doc_ = this;
    return *groups_.back();
}

Group* Document::findGroup(const QString& name)
{
    for (auto& g : groups_)
        if (g->Name().compare(name, Qt::CaseInsensitive) == 0)
            return g.get();
    return nullptr;
}

std::vector<Group*> Document::groups() const
{
    std::vector<Group*> out;
    for (const auto& g : groups_)
        out.push_back(g.get());
    return out;
}

QString Document::ActiveLayer() const
{
    return GetVariable(QStringLiteral("CLAYER")).toString();
}

void Document::setActiveLayer(const QString& name)
{
    SetVariable(QStringLiteral("CLAYER"), name);
}

void Document::deleteLayer(const QString& name)
{
    Layer* l = layers_.find(name);
    if (!l)
        fault(fail::NotFound, QStringLiteral("no layer \"%1\"").arg(name));
    if (l->Name == QLatin1String("0") || l->Name.compare(ActiveLayer(), Qt::CaseInsensitive) == 0)
        fault(fail::Failed, QStringLiteral("the layer \"%1\" cannot be deleted").arg(name));
    auto uses = [&](Block& b) {
        for (Entity* e : b.entities())
            if (e->Layer().compare(l->Name, Qt::CaseInsensitive) == 0)
                return true;
        return false;
    };
    bool used = uses(*model_) || uses(*paper_);
    for (auto& b : blocks_)
        used = used || uses(*b);
    if (used)
        fault(fail::Failed, QStringLiteral("the layer \"%1\" is in use").arg(name));
    layers_.remove(name);
}

QVariant Document::GetVariable(const QString& name) const
{
    auto it = vars_.find(name.toUpper());
    if (it == vars_.end())
        fault(fail::Failed, QStringLiteral("no system variable \"%1\"").arg(name));
    return it->second;
}

const Document::NewEntity& Document::newEntity()
{
    if (!newEntity_.known) {
        newEntity_.layer = GetVariable(QStringLiteral("CLAYER")).toString();
        newEntity_.linetype = GetVariable(QStringLiteral("CELTYPE")).toString();
        newEntity_.style = GetVariable(QStringLiteral("TEXTSTYLE")).toString();
        const QString cecolor = GetVariable(QStringLiteral("CECOLOR")).toString();
        newEntity_.color = cecolor.compare(QLatin1String("BYLAYER"), Qt::CaseInsensitive) == 0 ? ColorByLayer
            : cecolor.compare(QLatin1String("BYBLOCK"), Qt::CaseInsensitive) == 0               ? ColorByBlock
                                                                                               : cecolor.toInt();
        newEntity_.known = true;
    }
    return newEntity_;
}

void Document::SetVariable(const QString& name, const QVariant& value)
{
    newEntity_.known = false;
    const QString key = name.toUpper();
    auto it = vars_.find(key);
    if (it == vars_.end())
        fault(fail::Failed, QStringLiteral("no system variable \"%1\"").arg(name));
    QVariant& cur = it->second;
    switch (cur.typeId()) {
    case QMetaType::Int: {
        bool ok = false;
        const double d = value.toDouble(&ok);
        needFinite({d});
        if (!ok || d != std::floor(d) || std::abs(d) > std::numeric_limits<int>::max())
            fault(fail::Failed, QStringLiteral("%1 takes a whole number").arg(key));
        cur = int(d);
        break;
    }
    case QMetaType::Double: {
        bool ok = false;
        const double d = value.toDouble(&ok);
        if (!ok)
            fault(fail::Failed, QStringLiteral("%1 takes a number").arg(key));
        needFinite({d});
        cur = d;
        break;
    }
    case QMetaType::QVariantList: {
        const QVariantList l = value.toList();
        if (l.size() != 3)
            fault(fail::Failed, QStringLiteral("%1 takes a point").arg(key));
        needFinite({l[0].toDouble(), l[1].toDouble(), l[2].toDouble()});
        cur = l;
        break;
    }
    default: {
        QString s = value.toString();
        if (key == QLatin1String("CLAYER")) {
            const Layer* l = layers_.find(s);
            if (!l)
                fault(fail::Failed, QStringLiteral("the drawing has no layer \"%1\"").arg(s));
            s = l->Name;
        } else if (key == QLatin1String("TEXTSTYLE")) {
            const TextStyle* st = styles_.find(s);
            if (!st)
                fault(fail::Failed, QStringLiteral("the drawing has no text style \"%1\"").arg(s));
            s = st->Name;
        } else if (key == QLatin1String("CELTYPE")) {
            if (s.compare(QLatin1String("ByLayer"), Qt::CaseInsensitive) == 0)
                s = QStringLiteral("ByLayer");
            else if (s.compare(QLatin1String("ByBlock"), Qt::CaseInsensitive) == 0)
                s = QStringLiteral("ByBlock");
            else if (const Linetype* lt = linetypes_.find(s))
                s = lt->Name;
            else
                fault(fail::Failed, QStringLiteral("the drawing has no linetype \"%1\"").arg(s));
        }
        cur = s;
    }
    }
    changed_ = true;
}

void Document::SendCommand(const QString& text)
{
    if (!host_)
        fault(fail::Failed, QStringLiteral("the drawing has no command line"));
    host_->runCommandText(*this, text);
}

cad::Layouts& Document::Layouts()
{
    if (!layouts_)
        layouts_ = std::make_unique<cad::Layouts>(this);
    return *layouts_;
}

Layout& Document::ActiveLayout()
{
    if (!activeLayout_)
        activeLayout_ = &Layouts().Item(0);
    return *activeLayout_;
}

void Document::setActiveLayout(Layout& layout)
{
    activeLayout_ = &layout;
}

cad::Plot& Document::Plot()
{
    if (!plot_)
        plot_ = std::make_unique<cad::Plot>(this);
    return *plot_;
}

void Document::Regen(int)
{
    ++regens_;
    if (host_)
        host_->regenerated(*this);
}

Entity* Document::findHandle(quint64 handle) const
{
    return byHandle_.find(handle);
}

Entity* Document::HandleToObject(const QString& handle) const
{
    bool ok = false;
    const quint64 h = handle.trimmed().toULongLong(&ok, 16);
    Entity* e = ok ? findHandle(h) : nullptr;
    if (!e)
        fault(fail::NotFound, QStringLiteral("no entity with handle \"%1\"").arg(handle));
    return e;
}

void Document::reserveHandle(quint64 h)
{
    if (h >= handseed_)
        handseed_ = h + 1;
}

void Document::settleHandseed(quint64 fileSeed)
{
    quint64 top = 0;
    auto see = [&](quint64 h) { top = std::max(top, h); };
    byHandle_.forEach([&](quint64 h, const Entity* e) {
        see(h);
        for (quint64 s : e->data().rare().subHandles)
            see(s);
        see(e->data().rare().imageDefHandle);
        see(e->data().rare().imageReactorHandle);
    });
    for (const Layer& l : layers_.items()) see(l.handle);
    for (const Linetype& l : linetypes_.items()) see(l.handle);
    for (const TextStyle& t : styles_.items()) see(t.handle);
    for (const RegisteredApplication& a : appids_.items()) see(a.handle);
    for (const auto& [k, h] : structural_) see(h);
    for (Block* b : {model_.get(), paper_.get()}) {
        see(b->recordHandle);
        see(b->beginHandle);
        see(b->endHandle);
    }
    for (const auto& b : blocks_) {
        see(b->recordHandle);
        see(b->beginHandle);
        see(b->endHandle);
    }
    for (const auto& g : groups_) see(g->handle);
    see(kept_.top);
    handseed_ = std::max(fileSeed, top + 1);
}

void Document::registerEntity(Entity* e)
{
    byHandle_.set(e->handle_, e);
    entityChanged(e);
}

void Document::assignHandle(Entity* e, quint64 handle)
{
    byHandle_.erase(e->handle_);
    e->handle_ = handle;
    byHandle_.set(handle, e);
    reserveHandle(handle);
}

void Document::forgetEntity(Entity* e)
{
    changed_ = true;
    byHandle_.erase(e->handle_);
    erased_.insert(e->handle_);
    if (e->owner() == model_.get())
        index_->remove(e);
    if (host_)
        host_->entityChanged(*this, e, true);
}

void Document::entityChanged(Entity* e)
{
    changed_ = true;
    e->boxStamp_ = 0;
    if (e->owner() != model_.get() && e->owner() != paper_.get())
        blockContentChanged();
    if (e->owner() == model_.get())
        index_->markDirty(e);
    if (host_)
        host_->entityChanged(*this, e, false);
}

std::vector<Entity*> Document::modelCandidates(const Box& area)
{
    return index_->query(area, *model_);
}

QString Document::Name() const
{
    if (fullName_.isEmpty())
        return QStringLiteral("Drawing%1").arg(1) + kDrawingExtension;
    return QFileInfo(fullName_).fileName();
}

QString Document::Path() const
{
    if (fullName_.isEmpty())
        return QString(); // never saved: no folder yet
    QString dir = QFileInfo(fullName_).absolutePath();
    return paths::toWindows(dir);
}

void Document::PurgeAll()
{
    // a block used only by purged blocks goes in the next round, and so do
    // the layers, linetypes and styles only they used
    while (true) {
        std::vector<Entity*> all = model_->entities();
        for (Entity* e : paper_->entities())
            all.push_back(e);
        // blocks count as used only through references, so their own
        // contents are reached from those
        References used = referencesOf(*this, all);
        for (const auto& b : blocks_)
            if (b->Name().startsWith(QLatin1Char('*')) || used.blocks.count(b->Name().toUpper())) {
                const References inner = referencesOf(*this, b->entities());
                used.layers.insert(inner.layers.begin(), inner.layers.end());
                used.linetypes.insert(inner.linetypes.begin(), inner.linetypes.end());
                used.styles.insert(inner.styles.begin(), inner.styles.end());
                used.blocks.insert(inner.blocks.begin(), inner.blocks.end());
            }
        for (const Layer& l : layers_.items())
            used.linetypes.insert(l.Linetype.toUpper());
        const size_t before = blocks_.size() + layers_.items().size() + linetypes_.items().size() + styles_.items().size();
        std::erase_if(blocks_, [&](const std::unique_ptr<Block>& b) {
            if (b->Name().startsWith(QLatin1Char('*')) || used.blocks.count(b->Name().toUpper()))
                return false;
            for (const auto& e : b->owned_) {
                byHandle_.erase(e->handleValue());
                erased_.insert(e->handleValue());
            }
            return true;
        });
        blockContentChanged();
        const QString current = ActiveLayer().toUpper();
        std::erase_if(layers_.items(), [&](const Layer& l) {
            const QString n = l.Name.toUpper();
            return n != QLatin1String("0") && n != QLatin1String("DEFPOINTS") && n != current && !used.layers.count(n);
        });
        const QString celtype = GetVariable(QStringLiteral("CELTYPE")).toString().toUpper();
        std::erase_if(linetypes_.items(), [&](const Linetype& l) {
            const QString n = l.Name.toUpper();
            return n != QLatin1String("CONTINUOUS") && n != QLatin1String("BYLAYER") && n != QLatin1String("BYBLOCK")
                && n != celtype && !used.linetypes.count(n);
        });
        for (const Linetype& l : linetypes_.items()) // a complex linetype's texts keep their style
            for (const LinetypeElement& el : l.elements)
                if (!el.style.isEmpty())
                    used.styles.insert(el.style.toUpper());
        const QString style = GetVariable(QStringLiteral("TEXTSTYLE")).toString().toUpper();
        std::erase_if(styles_.items(), [&](const TextStyle& s) {
            const QString n = s.Name.toUpper();
            return n != QLatin1String("STANDARD") && n != style && !used.styles.count(n);
        });
        if (blocks_.size() + layers_.items().size() + linetypes_.items().size() + styles_.items().size() == before)
            break;
    }
}

void Document::Close()
{
    closed_ = true;
    if (host_)
        host_->closeDocument(this);
}

double DrawingScaleFactor(Document& doc, bool zeroAs500)
{
    const QVariant v = doc.GetVariable(QStringLiteral("userr1"));
    double n = v.typeId() == QMetaType::Double ? v.toDouble() : LeadingNumber(v.toString());
    if (n == 0 && zeroAs500)
        n = 500;
    return n / 500;
}

} // namespace kelvor::cad
