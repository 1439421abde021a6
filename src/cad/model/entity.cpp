#include "cad/model/entity.h"

#include "cad/model/document.h"
#include "cad/model/geom_boundary.h"
#include "cad/model/geom_curve.h"
#include "cad/model/entity_shape.h"

#include <cmath>
#include <cstdlib>
#include <mutex>
#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#endif
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KELVOR_HAS_ASAN 1
#endif
#endif
#ifndef KELVOR_HAS_ASAN
#define KELVOR_HAS_ASAN 0
#endif

namespace kelvor::cad {

void fault(int number, const QString& what)
{
    throw RunError(number, what);
}

void needFinite(std::initializer_list<double> values)
{
    for (double v : values)
        if (!std::isfinite(v))
            fault(err::InvalidArgument, QStringLiteral("a drawing holds finite numbers only, not %1").arg(v));
}

void needFinite(const Point& p)
{
    needFinite({p.x, p.y, p.z});
}

void needFinite(const std::vector<double>& values)
{
    for (double v : values)
        needFinite({v});
}

void needFinite(const std::vector<Vertex>& vertices)
{
    for (const Vertex& v : vertices)
        needFinite({v.x, v.y, v.z, v.bulge, v.startWidth, v.endWidth});
}

void needAngle(std::initializer_list<double> radians)
{
    for (double a : radians)
        needFinite({a, a * (180 / M_PI)});
}

namespace {

// Every real of an entity's data, before a computed change is kept.
void needFiniteData(const Entity::Data& d)
{
    needFinite(d.v);
    needFinite({d.thickness, d.constWidth, d.elevation, d.ltscale});
    const EntityPlaced& p = d.placed();
    needFinite({p.radius, p.height, p.widthFactor, p.scale[0], p.scale[1], p.scale[2]});
    needAngle({p.startAngle, p.endAngle, p.rotation, p.oblique});
    if (!d.hasRare())
        return;
    const EntityRare& r = d.rare();
    needFinite(r.fit);
    needFinite({r.mtextWidth, r.pixelsW, r.pixelsH});
    needFinite(r.u);
    needFinite(r.vv);
    for (const Pt2& q : r.clip)
        needFinite({q.x, q.y});
    for (const Chain& c : r.regionShape)
        for (const Pt2& q : c.pts)
            needFinite({q.x, q.y});
    for (const std::vector<Vertex>& loop : r.regionLoops)
        needFinite(loop);
}

} // namespace

ValueKind xdataValueKind(int code)
{
    if (code == 1005)
        return ValueKind::Handle;
    if ((code >= 1010 && code <= 1013) || (code >= 10 && code <= 18))
        return ValueKind::Point;
    if ((code >= 1040 && code <= 1042) || (code >= 38 && code <= 59) || (code >= 140 && code <= 149))
        return ValueKind::Real;
    if (code == 1070 || code == 1071 || (code >= 60 && code <= 99) || (code >= 170 && code <= 179)
        || (code >= 270 && code <= 289))
        return ValueKind::Int;
    return ValueKind::Text;
}

namespace {

bool isPolyline(EntityKind k)
{
    return k == EntityKind::LwPolyline || k == EntityKind::Polyline2d || k == EntityKind::Polyline3d;
}
bool isFlatPolyline(EntityKind k)
{
    return k == EntityKind::LwPolyline || k == EntityKind::Polyline2d;
}
bool isText(EntityKind k)
{
    return k == EntityKind::Text;
}

// The last subclass marker of a foreign entity names its class.
QString lastMarker(const Entity::Data& d)
{
    QString m;
    for (const KeptGroup& g : d.rare().foreignBody)
        if (g.code == 100)
            m = QString::fromLatin1(g.value.trimmed());
    return m;
}

} // namespace

void EntityAccess::setNames(Entity* e, const QString& layer, const QString& linetype, Document& doc)
{
    e->layer_ = layer;
    if (linetype.compare(QLatin1String("ByLayer"), Qt::CaseInsensitive) == 0 || linetype.isEmpty())
        e->linetype_ = QStringLiteral("ByLayer");
    else if (linetype.compare(QLatin1String("ByBlock"), Qt::CaseInsensitive) == 0)
        e->linetype_ = QStringLiteral("ByBlock");
    else
        e->linetype_ = doc.Linetypes().Add(linetype).Name;
}

namespace {

#if defined(__linux__) && !defined(__SANITIZE_ADDRESS__) && !KELVOR_HAS_ASAN
#define KELVOR_ENTITY_POOL 1
// Entities come from slabs of 2 MB the system may back with huge pages:
// reading a drawing of 200,000 entities otherwise costs some 40,000
// first-touch page faults. The slabs go back when the last entity does.
class EntityPool {
public:
    void* take(size_t size)
    {
        std::lock_guard lock(mutex_);
        if (slot_ == 0)
            slot_ = (size + 15) / 16 * 16;
        if (!free_)
            grow();
        Free* f = free_;
        free_ = f->next;
        ++live_;
        return f;
    }
    void give(void* p)
    {
        std::lock_guard lock(mutex_);
        auto* f = static_cast<Free*>(p);
        f->next = free_;
        free_ = f;
        if (--live_ == 0) {
            for (void* s : slabs_)
                std::free(s);
            slabs_.clear();
            free_ = nullptr;
        }
    }

private:
    static constexpr size_t Slab = 2 << 20;
    struct Free {
        Free* next;
    };
    void grow()
    {
        void* s = std::aligned_alloc(Slab, Slab);
        if (!s)
            throw std::bad_alloc();
        madvise(s, Slab, MADV_HUGEPAGE);
        slabs_.push_back(s);
        char* base = static_cast<char*>(s);
        for (size_t n = Slab / slot_; n-- > 0;) { // handed out in address order
            auto* f = reinterpret_cast<Free*>(base + n * slot_);
            f->next = free_;
            free_ = f;
        }
    }

    std::mutex mutex_;
    size_t slot_ = 0;
    size_t live_ = 0;
    Free* free_ = nullptr;
    std::vector<void*> slabs_;
};

EntityPool& entityPool()
{
    static EntityPool* pool = new EntityPool; // outlives every static drawing
    return *pool;
}
#endif

} // namespace

void* Entity::operator new(size_t)
{
#ifdef KELVOR_ENTITY_POOL
    return entityPool().take(dataAt() + sizeof(Data));
#else
    return ::operator new(dataAt() + sizeof(Data));
#endif
}

void Entity::operator delete(void* p)
{
#ifdef KELVOR_ENTITY_POOL
    entityPool().give(p);
#else
    ::operator delete(p);
#endif
}

Entity::Entity(EntityKind kind, Block* owner)
    : owner_(owner)
    , kind_(kind)
{
    new (reinterpret_cast<char*>(this) + dataAt()) Data;
}

const EntityRare& Entity::Data::none()
{
    static const EntityRare empty;
    return empty;
}

const EntityPlaced& Entity::Data::nowhere()
{
    static const EntityPlaced empty;
    return empty;
}

const XData& Entity::xdata() const
{
    static const XData none;
    return xdata_ ? *xdata_ : none;
}

void Entity::setXDataList(XData x)
{
    if (x.empty())
        xdata_.reset();
    else if (xdata_)
        *xdata_ = std::move(x);
    else
        xdata_ = std::make_unique<XData>(std::move(x));
}

Entity::~Entity()
{
    dat()->~Data();
}

Document& Entity::document() const
{
    return owner_->document();
}

void Entity::need(bool ok, const char* member) const
{
    alive();
    if (!ok)
        fault(fail::NoMember, QStringLiteral("%1 has no %2").arg(ObjectName(), QLatin1String(member)));
}

void Entity::alive() const
{
    if (erased_)
        fault(fail::Erased, QStringLiteral("the entity was deleted"));
}

void Entity::writable()
{
    alive();
    const cad::Layer* l = document().Layers().find(layer_);
    if (l && l->Lock)
        fault(fail::LockedLayer, QStringLiteral("the entity is on a locked layer"));
}

void Entity::changed()
{
    document().entityChanged(this);
}

QString Entity::Handle() const
{
    alive();
    return QString::number(handle_, 16).toUpper();
}

QString Entity::ObjectName() const
{
    switch (kind_) {
    case EntityKind::Line: return QStringLiteral("AcDbLine");
    case EntityKind::Point: return QStringLiteral("AcDbPoint");
    case EntityKind::Circle: return QStringLiteral("AcDbCircle");
    case EntityKind::Arc: return QStringLiteral("AcDbArc");
    case EntityKind::Text: return QStringLiteral("AcDbText");
    case EntityKind::MText: return QStringLiteral("AcDbMText");
    case EntityKind::LwPolyline: return QStringLiteral("AcDbPolyline");
    case EntityKind::Polyline2d: return QStringLiteral("AcDb2dPolyline");
    case EntityKind::Polyline3d: return QStringLiteral("AcDb3dPolyline");
    case EntityKind::BlockReference: return QStringLiteral("AcDbBlockReference");
    case EntityKind::Region: return QStringLiteral("AcDbRegion");
    case EntityKind::RasterImage: return QStringLiteral("AcDbRasterImage");
    case EntityKind::Foreign: {
        const QString m = lastMarker(*dat());
        return m.isEmpty() || m == QLatin1String("AcDbEntity") ? QStringLiteral("AcDbEntity") : m;
    }
    }
    return {};
}

QString Entity::dxfName() const
{
    switch (kind_) {
    case EntityKind::Line: return QStringLiteral("LINE");
    case EntityKind::Point: return QStringLiteral("POINT");
    case EntityKind::Circle: return QStringLiteral("CIRCLE");
    case EntityKind::Arc: return QStringLiteral("ARC");
    case EntityKind::Text: return QStringLiteral("TEXT");
    case EntityKind::MText: return QStringLiteral("MTEXT");
    case EntityKind::LwPolyline: return QStringLiteral("LWPOLYLINE");
    case EntityKind::Polyline2d:
    case EntityKind::Polyline3d: return QStringLiteral("POLYLINE");
    case EntityKind::BlockReference: return QStringLiteral("INSERT");
    case EntityKind::Region: return QStringLiteral("REGION");
    case EntityKind::RasterImage: return QStringLiteral("IMAGE");
    case EntityKind::Foreign: return QString::fromLatin1(dat()->rare().foreignType);
    }
    return {};
}

int Entity::EntityType() const
{
    switch (kind_) {
    case EntityKind::Line: return 19;
    case EntityKind::Point: return 22;
    case EntityKind::Circle: return 8;
    case EntityKind::Arc: return 4;
    case EntityKind::Text: return 32;
    case EntityKind::MText: return 21;
    case EntityKind::LwPolyline: return 24;
    case EntityKind::Polyline2d: return 23;
    case EntityKind::Polyline3d: return 2;
    case EntityKind::BlockReference: return 7;
    case EntityKind::Region: return 28;
    case EntityKind::RasterImage: return 26;
    case EntityKind::Foreign: {
        static const std::pair<const char*, int> byType[] = {
            {"3DFACE", 1}, {"3DSOLID", 3}, {"ATTDEF", 5}, {"ELLIPSE", 16}, {"HATCH", 17}, {"LEADER", 18},
            {"RAY", 27}, {"SHAPE", 29}, {"SOLID", 30}, {"SPLINE", 31}, {"TOLERANCE", 33}, {"TRACE", 34},
            {"VIEWPORT", 35}, {"XLINE", 36}, {"INSERT", 38}, {"MLINE", 40}};
        for (const auto& [type, number] : byType)
            if (dat()->rare().foreignType == type)
                return number;
        const QString m = lastMarker(*dat());
        if (dat()->rare().foreignType == "POLYLINE")
            return m == QLatin1String("AcDbPolyFaceMesh") ? 39 : 25;
        if (dat()->rare().foreignType == "DIMENSION") {
            static const std::pair<const char*, int> dims[] = {
                {"AcDbAlignedDimension", 9}, {"AcDb2LineAngularDimension", 10}, {"AcDbDiametricDimension", 12},
                {"AcDbOrdinateDimension", 13}, {"AcDbRadialDimension", 14}, {"AcDb3PointAngularDimension", 41}};
            for (const auto& [marker, number] : dims)
                if (m == QLatin1String(marker))
                    return number;
            return 15;
        }
        return 0;
    }
    }
    return 0;
}

QString Entity::Layer() const
{
    alive();
    return layer_;
}

void Entity::setLayer(const QString& name)
{
    writable();
    const cad::Layer* l = document().Layers().find(name);
    if (!l)
        fault(fail::Failed, QStringLiteral("the drawing has no layer \"%1\"").arg(name));
    layer_ = l->Name;
    changed();
}

QString Entity::Linetype() const
{
    alive();
    return linetype_;
}

void Entity::setLinetype(const QString& name)
{
    writable();
    if (name.compare(QLatin1String("ByLayer"), Qt::CaseInsensitive) == 0)
        linetype_ = QStringLiteral("ByLayer");
    else if (name.compare(QLatin1String("ByBlock"), Qt::CaseInsensitive) == 0)
        linetype_ = QStringLiteral("ByBlock");
    else if (const cad::Linetype* lt = document().Linetypes().find(name))
        linetype_ = lt->Name;
    else
        fault(fail::Failed, QStringLiteral("the drawing has no linetype \"%1\"").arg(name));
    changed();
}

void Entity::setColor(int aci)
{
    writable();
    if (aci < 0 || aci > 256)
        fault(fail::Failed, QStringLiteral("colour %1 is out of range").arg(aci));
    color_ = aci;
    changed();
}

void Entity::setVisible(bool on)
{
    writable();
    visible_ = on;
    changed();
}

void Entity::Highlight(bool on)
{
    alive();
    if (highlight_ == on)
        return;
    highlight_ = on;
    // shown at once, and the drawing is no different for it
    Document& doc = document();
    if (DocumentHost* host = doc.host())
        host->entityChanged(doc, this, false);
}

double Entity::Thickness() const
{
    need(kind_ == EntityKind::Line || kind_ == EntityKind::Point || kind_ == EntityKind::Circle
             || kind_ == EntityKind::Arc || kind_ == EntityKind::Text || isFlatPolyline(kind_),
         "Thickness");
    return dat()->thickness;
}

void Entity::setThickness(double t)
{
    Thickness();
    needFinite({t});
    writable();
    dat()->thickness = t;
    changed();
}

void Entity::Delete()
{
    writable();
    erase();
}

void Entity::erase()
{
    erased_ = true;
    owner_->dirty_ = true;
    document().forgetEntity(this);
}

void Entity::Move(const Point& from, const Point& to)
{
    need(kind_ != EntityKind::Foreign, "Move"); // its coordinates are not understood
    writable();
    transform(Affine::translation(to.x - from.x, to.y - from.y, to.z - from.z));
}

void Entity::Rotate(const Point& base, double angle)
{
    need(kind_ != EntityKind::Foreign, "Rotate");
    needAngle({angle});
    writable();
    transform(Affine::rotation(base, angle));
}

void Entity::ScaleEntity(const Point& base, double factor)
{
    need(kind_ != EntityKind::Foreign, "ScaleEntity");
    needFinite({factor});
    writable();
    if (!(factor > 0))
        fault(fail::Failed, QStringLiteral("the scale factor must be positive"));
    transform(Affine::scaling(base, factor));
}

Entity* Entity::Copy()
{
    alive();
    return owner_->copyOf(*this);
}

void Entity::transform(const Affine& t)
{
    // worked on a copy: a result that overflows leaves the entity as it was
    Data d = *dat();
    auto mapV = [&](Vertex& v) {
        const Point p = t.apply({v.x, v.y, v.z});
        v.x = p.x;
        v.y = p.y;
        v.z = p.z;
        v.startWidth *= t.scale;
        v.endWidth *= t.scale;
    };
    for (Vertex& v : d.v)
        mapV(v);
    switch (kind_) {
    case EntityKind::Circle:
        d.placedMut().radius *= t.scale;
        break;
    case EntityKind::Arc:
        d.placedMut().radius *= t.scale;
        d.placedMut().startAngle += t.angle;
        d.placedMut().endAngle += t.angle;
        break;
    case EntityKind::Text:
    case EntityKind::MText:
        d.placedMut().height *= t.scale;
        if (kind_ == EntityKind::MText)
            d.rareMut().mtextWidth *= t.scale;
        d.placedMut().rotation += t.angle;
        break;
    case EntityKind::LwPolyline:
    case EntityKind::Polyline2d:
        d.constWidth *= t.scale;
        d.elevation += t.tz;
        break;
    case EntityKind::BlockReference:
        for (double& s : d.placedMut().scale)
            s *= t.scale;
        d.placedMut().rotation += t.angle;
        break;
    case EntityKind::RasterImage: {
        auto lin = [&](Point& p) { p = {t.a * p.x + t.b * p.y, t.c * p.x + t.d * p.y, p.z}; };
        lin(d.rareMut().u);
        lin(d.rareMut().vv);
        break;
    }
    case EntityKind::Region:
        for (Chain& c : d.rareMut().regionShape)
            for (Pt2& p : c.pts) {
                const Point q = t.apply({p.x, p.y, 0});
                p = {q.x, q.y};
            }
        break;
    default:
        break;
    }
    needFiniteData(d);
    *dat() = std::move(d);
    changed();
}

void Entity::GetBoundingBox(Point& minPoint, Point& maxPoint) const
{
    alive();
    const Box b = geom::exactBox(*this);
    if (!b.valid())
        fault(fail::Failed, QStringLiteral("the extents of this %1 are not known").arg(dxfName()));
    double zmin = 0, zmax = 0;
    bool first = true;
    for (const Vertex& v : dat()->v) {
        zmin = first ? v.z : std::min(zmin, v.z);
        zmax = first ? v.z : std::max(zmax, v.z);
        first = false;
    }
    if (kind_ == EntityKind::LwPolyline)
        zmin = zmax = dat()->elevation;
    minPoint = {b.minX, b.minY, zmin};
    maxPoint = {b.maxX, b.maxY, zmax};
}

void Entity::Update()
{
    alive();
    document().noteUpdate();
}

XData Entity::GetXData(const QString& appName) const
{
    alive();
    if (appName.isEmpty())
        return xdata();
    XData out;
    bool in = false;
    for (const XDataItem& it : xdata()) {
        if (it.code == 1001)
            in = it.value.toString().compare(appName, Qt::CaseInsensitive) == 0;
        if (in)
            out.push_back(it);
    }
    return out;
}

void Entity::SetXData(const XData& data)
{
    writable();
    if (data.empty() || data.front().code != 1001 || data.front().value.toString().isEmpty())
        fault(fail::Failed, QStringLiteral("extended data must start with an application name (1001)"));
    for (const XDataItem& it : data) {
        if (it.code < 1000 || it.code > 1071)
            fault(fail::Failed, QStringLiteral("group code %1 is not an extended-data code").arg(it.code));
        const ValueKind kind = xdataValueKind(it.code);
        if (kind == ValueKind::Real)
            needFinite({it.value.toDouble()});
        if (kind == ValueKind::Point)
            for (const QVariant& c : it.value.toList())
                needFinite({c.toDouble()});
    }
    // split into applications; each replaces its own group in place
    XData result = xdata();
    size_t i = 0;
    while (i < data.size()) {
        size_t j = i + 1;
        while (j < data.size() && data[j].code != 1001)
            ++j;
        const QString app = data[i].value.toString();
        document().RegisteredApplications().Add(app);
        XData group(data.begin() + i, data.begin() + j);
        // find the old group
        size_t s = result.size(), e = result.size();
        for (size_t k = 0; k < result.size(); ++k) {
            if (result[k].code == 1001 && result[k].value.toString().compare(app, Qt::CaseInsensitive) == 0) {
                s = k;
                e = k + 1;
                while (e < result.size() && result[e].code != 1001)
                    ++e;
                break;
            }
        }
        result.erase(result.begin() + s, result.begin() + e);
        if (group.size() > 1) // the name alone removes the application's data
            result.insert(result.begin() + s, group.begin(), group.end());
        i = j;
    }
    setXDataList(std::move(result));
    changed();
}

// --- line

Point Entity::StartPoint() const
{
    need(kind_ == EntityKind::Line, "StartPoint");
    const Vertex& v = dat()->v[0];
    return {v.x, v.y, v.z};
}

void Entity::setStartPoint(const Point& p)
{
    StartPoint();
    needFinite(p);
    writable();
    dat()->v[0].x = p.x;
    dat()->v[0].y = p.y;
    dat()->v[0].z = p.z;
    changed();
}

Point Entity::EndPoint() const
{
    need(kind_ == EntityKind::Line, "EndPoint");
    const Vertex& v = dat()->v[1];
    return {v.x, v.y, v.z};
}

void Entity::setEndPoint(const Point& p)
{
    EndPoint();
    needFinite(p);
    writable();
    dat()->v[1].x = p.x;
    dat()->v[1].y = p.y;
    dat()->v[1].z = p.z;
    changed();
}

double Entity::LinetypeScale() const
{
    alive();
    return dat()->ltscale;
}

void Entity::setLinetypeScale(double s)
{
    alive();
    needFinite({s});
    writable();
    if (!(s > 0))
        fault(fail::Failed, QStringLiteral("the linetype scale must be positive"));
    dat()->ltscale = s;
    changed();
}

double Entity::Length() const
{
    need(kind_ == EntityKind::Line || isPolyline(kind_), "Length");
    const auto& v = kind_ == EntityKind::Line ? dat()->v : pathVertices(*dat());
    if (kind_ == EntityKind::Line)
        return std::sqrt(std::pow(v[1].x - v[0].x, 2) + std::pow(v[1].y - v[0].y, 2) + std::pow(v[1].z - v[0].z, 2));
    double len = 0;
    const size_t n = v.size();
    const size_t segs = Closed() ? n : (n ? n - 1 : 0);
    for (size_t i = 0; i < segs; ++i) {
        const Vertex& a = v[i];
        const Vertex& b = v[(i + 1) % n];
        double chord = kind_ == EntityKind::Polyline3d
            ? std::sqrt(std::pow(b.x - a.x, 2) + std::pow(b.y - a.y, 2) + std::pow(b.z - a.z, 2))
            : std::hypot(b.x - a.x, b.y - a.y);
        if (kind_ != EntityKind::Polyline3d && std::abs(a.bulge) > 1e-12 && chord > 0) {
            const double theta = 4 * std::atan(std::abs(a.bulge));
            const double r = chord / (2 * std::sin(theta / 2));
            chord = r * theta;
        }
        len += chord;
    }
    return len;
}

// --- point

Point Entity::Coordinate3() const
{
    need(kind_ == EntityKind::Point, "Coordinates");
    const Vertex& v = dat()->v[0];
    return {v.x, v.y, v.z};
}

void Entity::setCoordinate3(const Point& p)
{
    Coordinate3();
    needFinite(p);
    writable();
    dat()->v[0].x = p.x;
    dat()->v[0].y = p.y;
    dat()->v[0].z = p.z;
    changed();
}

// --- circle and arc

Point Entity::Center() const
{
    need(kind_ == EntityKind::Circle || kind_ == EntityKind::Arc, "Center");
    const Vertex& v = dat()->v[0];
    return {v.x, v.y, v.z};
}

void Entity::setCenter(const Point& p)
{
    Center();
    needFinite(p);
    writable();
    dat()->v[0] = Vertex{p.x, p.y, p.z};
    changed();
}

double Entity::Radius() const
{
    need(kind_ == EntityKind::Circle || kind_ == EntityKind::Arc, "Radius");
    return dat()->placed().radius;
}

void Entity::setRadius(double r)
{
    Radius();
    needFinite({r});
    writable();
    if (!(r > 0))
        fault(fail::Failed, QStringLiteral("the radius must be positive"));
    dat()->placedMut().radius = r;
    changed();
}

double Entity::StartAngle() const
{
    need(kind_ == EntityKind::Arc, "StartAngle");
    return dat()->placed().startAngle;
}

double Entity::EndAngle() const
{
    need(kind_ == EntityKind::Arc, "EndAngle");
    return dat()->placed().endAngle;
}

void Entity::setAngles(double start, double end)
{
    need(kind_ == EntityKind::Arc, "setAngles");
    needFinite({start, end});
    writable();
    auto turn = [](double a) {
        a = std::fmod(a, 2 * M_PI);
        return a < 0 ? a + 2 * M_PI : a;
    };
    dat()->placedMut().startAngle = turn(start);
    dat()->placedMut().endAngle = turn(end);
    changed();
}

double Entity::Area() const
{
    need(kind_ == EntityKind::Circle || kind_ == EntityKind::Arc || isPolyline(kind_) || kind_ == EntityKind::Region,
         "Area");
    const Data& d = *dat();
    if (kind_ == EntityKind::Circle)
        return M_PI * d.placed().radius * d.placed().radius;
    if (kind_ == EntityKind::Arc) {
        double sweep = d.placed().endAngle - d.placed().startAngle;
        while (sweep <= 0)
            sweep += 2 * M_PI;
        return d.placed().radius * d.placed().radius / 2 * (sweep - std::sin(sweep));
    }
    if (kind_ == EntityKind::Region && !d.rare().regionLoops.empty()) {
        double a = 0; // exactly, arcs and all
        for (const std::vector<Vertex>& loop : d.rare().regionLoops)
            a += std::abs(geom::outlineArea(loop));
        return a;
    }
    if (kind_ == EntityKind::Region) {
        double a = 0;
        for (const Chain& c : d.rare().regionShape) {
            double s = 0;
            for (size_t i = 0; i < c.pts.size(); ++i) {
                const Pt2& p = c.pts[i];
                const Pt2& q = c.pts[(i + 1) % c.pts.size()];
                s += p.x * q.y - q.x * p.y;
            }
            a += std::abs(s) / 2;
        }
        return a;
    }
    // polylines: as if closed, arcs of bulged segments included
    const auto& v = pathVertices(d);
    const size_t n = v.size();
    if (n < 2)
        return 0;
    const double ox = v[0].x, oy = v[0].y; // shift for precision with large coordinates
    double s = 0;
    for (size_t i = 0; i < n; ++i) {
        const Vertex& a = v[i];
        const Vertex& b = v[(i + 1) % n];
        const double ax = a.x - ox, ay = a.y - oy, bx = b.x - ox, by = b.y - oy;
        s += ax * by - bx * ay;
        if (kind_ != EntityKind::Polyline3d && std::abs(a.bulge) > 1e-12 && (i + 1 < n || Closed())) {
            const double chord = std::hypot(bx - ax, by - ay);
            const double theta = 4 * std::atan(a.bulge);
            const double r = chord / (2 * std::sin(std::abs(theta) / 2));
            const double seg = r * r / 2 * (std::abs(theta) - std::sin(std::abs(theta)));
            s += 2 * seg * (a.bulge > 0 ? 1 : -1);
        }
    }
    return std::abs(s) / 2;
}

// --- texts

QString Entity::TextString() const
{
    need(kind_ == EntityKind::Text || kind_ == EntityKind::MText, "TextString");
    return dat()->placed().text;
}

void Entity::setTextString(const QString& s)
{
    TextString();
    writable();
    dat()->placedMut().text = s;
    changed();
}

Point Entity::InsertionPoint() const
{
    need(kind_ == EntityKind::Text || kind_ == EntityKind::MText || kind_ == EntityKind::BlockReference
             || kind_ == EntityKind::RasterImage,
         "InsertionPoint");
    const Vertex& v = dat()->v[0];
    return {v.x, v.y, v.z};
}

void Entity::setInsertionPoint(const Point& p)
{
    InsertionPoint();
    needFinite(p);
    writable();
    if (kind_ == EntityKind::Text && Alignment() != AlignLeft && Alignment() != AlignAligned
        && Alignment() != AlignFit)
        fault(fail::Failed, QStringLiteral("the insertion point of an aligned text follows its alignment point"));
    dat()->v[0].x = p.x;
    dat()->v[0].y = p.y;
    dat()->v[0].z = p.z;
    changed();
}

Point Entity::TextAlignmentPoint() const
{
    need(isText(kind_), "TextAlignmentPoint");
    const Vertex& v = dat()->v[1];
    return {v.x, v.y, v.z};
}

void Entity::setTextAlignmentPoint(const Point& p)
{
    TextAlignmentPoint();
    needFinite(p);
    writable();
    if (Alignment() == AlignLeft)
        fault(fail::Failed, QStringLiteral("a left-aligned text has no alignment point"));
    Vertex& a = dat()->v[1];
    Vertex& ins = dat()->v[0];
    if (Alignment() != AlignAligned && Alignment() != AlignFit) {
        needFinite({ins.x + (p.x - a.x), ins.y + (p.y - a.y), ins.z + (p.z - a.z)});
        ins.x += p.x - a.x;
        ins.y += p.y - a.y;
        ins.z += p.z - a.z;
    }
    a.x = p.x;
    a.y = p.y;
    a.z = p.z;
    changed();
}

double Entity::Height() const
{
    need(kind_ == EntityKind::Text || kind_ == EntityKind::MText, "Height");
    return dat()->placed().height;
}

void Entity::setHeight(double h)
{
    Height();
    needFinite({h});
    writable();
    if (!(h > 0))
        fault(fail::Failed, QStringLiteral("the height must be positive"));
    dat()->placedMut().height = h;
    changed();
}

double Entity::ScaleFactor() const
{
    need(isText(kind_), "ScaleFactor");
    return dat()->placed().widthFactor;
}

void Entity::setScaleFactor(double f)
{
    ScaleFactor();
    needFinite({f});
    writable();
    if (!(f > 0))
        fault(fail::Failed, QStringLiteral("the width factor must be positive"));
    dat()->placedMut().widthFactor = f;
    changed();
}

double Entity::Rotation() const
{
    need(kind_ == EntityKind::Text || kind_ == EntityKind::MText || kind_ == EntityKind::BlockReference
             || kind_ == EntityKind::RasterImage,
         "Rotation");
    if (kind_ == EntityKind::RasterImage)
        return std::atan2(dat()->rare().u.y, dat()->rare().u.x);
    return dat()->placed().rotation;
}

void Entity::setRotation(double r)
{
    Rotation();
    needAngle({r});
    writable();
    if (kind_ == EntityKind::RasterImage) {
        const Vertex& o = dat()->v[0];
        transform(Affine::rotation({o.x, o.y, o.z}, r - Rotation()));
        return;
    }
    dat()->placedMut().rotation = r;
    changed();
}

double Entity::ObliqueAngle() const
{
    need(isText(kind_), "ObliqueAngle");
    return dat()->placed().oblique;
}

void Entity::setObliqueAngle(double a)
{
    ObliqueAngle();
    needAngle({a});
    writable();
    dat()->placedMut().oblique = a;
    changed();
}

QString Entity::StyleName() const
{
    need(kind_ == EntityKind::Text || kind_ == EntityKind::MText, "StyleName");
    return dat()->placed().style;
}

void Entity::setStyleName(const QString& name)
{
    StyleName();
    writable();
    const cad::TextStyle* st = document().TextStyles().find(name);
    if (!st)
        fault(fail::Failed, QStringLiteral("the drawing has no text style \"%1\"").arg(name));
    dat()->placedMut().style = st->Name;
    changed();
}

int Entity::Alignment() const
{
    need(isText(kind_), "Alignment");
    const int h = dat()->placed().hAlign, v = dat()->placed().vAlign;
    if (v == 0)
        return h; // 0..5
    const int base = v == 3 ? AlignTopLeft : (v == 2 ? AlignMiddleLeft : AlignBottomLeft);
    return base + std::min(h, 2);
}

void Entity::setAlignment(int a)
{
    Alignment();
    writable();
    if (a < 0 || a > 14)
        fault(fail::Failed, QStringLiteral("alignment %1 is out of range").arg(a));
    const bool wasLeft = Alignment() == AlignLeft;
    if (a <= 5) {
        dat()->placedMut().hAlign = a;
        dat()->placedMut().vAlign = 0;
    } else {
        dat()->placedMut().hAlign = (a - 6) % 3;
        dat()->placedMut().vAlign = a <= 8 ? 3 : (a <= 11 ? 2 : 1);
    }
    if (wasLeft && a != AlignLeft)
        dat()->v[1] = dat()->v[0];
    changed();
}

double Entity::Width() const
{
    need(kind_ == EntityKind::MText, "Width");
    return dat()->rare().mtextWidth;
}

int Entity::AttachmentPoint() const
{
    need(kind_ == EntityKind::MText, "AttachmentPoint");
    return dat()->rare().attachment;
}

// --- polylines

std::vector<double> Entity::Coordinates() const
{
    need(isPolyline(kind_) || kind_ == EntityKind::Point, "Coordinates");
    std::vector<double> out;
    for (const Vertex& v : dat()->v) {
        out.push_back(v.x);
        out.push_back(v.y);
        if (kind_ != EntityKind::LwPolyline)
            out.push_back(v.z);
    }
    return out;
}

void Entity::setCoordinates(const std::vector<double>& flat)
{
    need(isPolyline(kind_) || kind_ == EntityKind::Point, "Coordinates");
    needFinite(flat);
    writable();
    const size_t per = kind_ == EntityKind::LwPolyline ? 2 : 3;
    const size_t minimum = kind_ == EntityKind::Point ? 1 : 2;
    if (flat.size() % per != 0 || flat.size() / per < minimum || (kind_ == EntityKind::Point && flat.size() != 3))
        fault(fail::Failed, QStringLiteral("wrong number of coordinates"));
    auto& v = dat()->v;
    v.resize(flat.size() / per);
    for (size_t i = 0; i < v.size(); ++i) {
        v[i].x = flat[i * per];
        v[i].y = flat[i * per + 1];
        if (per == 3)
            v[i].z = flat[i * per + 2];
    }
    changed();
}

Point Entity::Coordinate(int index) const
{
    need(isPolyline(kind_), "Coordinate");
    if (index < 0 || index >= int(dat()->v.size()))
        fault(fail::Failed, QStringLiteral("vertex %1 does not exist").arg(index));
    const Vertex& v = dat()->v[index];
    return {v.x, v.y, kind_ == EntityKind::LwPolyline ? 0.0 : v.z};
}

void Entity::setCoordinate(int index, const Point& p)
{
    Coordinate(index);
    needFinite(p);
    writable();
    Vertex& v = dat()->v[index];
    v.x = p.x;
    v.y = p.y;
    if (kind_ != EntityKind::LwPolyline)
        v.z = p.z;
    changed();
}

int Entity::vertexCount() const
{
    need(isPolyline(kind_), "Coordinates");
    return int(dat()->v.size());
}

const std::vector<Vertex>& Entity::vertices() const
{
    alive();
    return dat()->v;
}

void Entity::setVertices(std::vector<Vertex> vertices)
{
    need(isPolyline(kind_) || (kind_ == EntityKind::Line && vertices.size() == 2), "setVertices");
    needFinite(vertices);
    writable();
    if (kind_ == EntityKind::Polyline2d || kind_ == EntityKind::Polyline3d) {
        // every vertex takes the first one's flags; the parts get new handles
        const bool is3d = kind_ == EntityKind::Polyline3d;
        const int vf = dat()->rare().vertexFlags.empty() ? (is3d ? 32 : 0) : dat()->rare().vertexFlags.front();
        if (!dat()->rare().vertexFlags.empty() || is3d)
            dat()->rareMut().vertexFlags.assign(vertices.size(), vf);
        dat()->rareMut().subHandles.clear();
    }
    dat()->v = std::move(vertices);
    changed();
}

int Entity::polylineFlags() const
{
    need(isPolyline(kind_), "polylineFlags");
    return dat()->polyFlags;
}

void Entity::setPolylineFlags(int flags)
{
    need(isPolyline(kind_), "setPolylineFlags");
    writable();
    dat()->polyFlags = flags;
    changed();
}

void Entity::setSplineFit(std::vector<Vertex> fit, int splineType)
{
    need(kind_ == EntityKind::Polyline2d || kind_ == EntityKind::Polyline3d, "setSplineFit");
    writable();
    Data& d = *dat();
    for (Vertex& x : d.v)
        x.bulge = 0;
    d.rareMut().fit = std::move(fit);
    d.rareMut().splineType = splineType;
    d.rareMut().vertexFlags.assign(d.v.size(), kind_ == EntityKind::Polyline3d ? 32 | 16 : 16);
    d.polyFlags = (d.polyFlags | 4) & ~2;
    changed();
}

void Entity::Decurve()
{
    need(isPolyline(kind_), "Decurve");
    writable();
    Data& d = *dat();
    for (Vertex& x : d.v)
        x.bulge = 0;
    if (!d.rare().fit.empty()) {
        d.rareMut().fit.clear();
        d.rareMut().vertexFlags.assign(d.v.size(), kind_ == EntityKind::Polyline3d ? 32 : 0);
    }
    d.rareMut().splineType = 0;
    d.polyFlags &= ~(2 | 4);
    changed();
}

bool Entity::Closed() const
{
    need(isPolyline(kind_), "Closed");
    return dat()->polyFlags & 1;
}

void Entity::setClosed(bool on)
{
    Closed();
    writable();
    dat()->polyFlags = on ? (dat()->polyFlags | 1) : (dat()->polyFlags & ~1);
    changed();
}

double Entity::ConstantWidth() const
{
    need(isFlatPolyline(kind_), "ConstantWidth");
    return dat()->constWidth;
}

void Entity::setConstantWidth(double w)
{
    ConstantWidth();
    needFinite({w});
    writable();
    if (w < 0)
        fault(fail::Failed, QStringLiteral("the width must not be negative"));
    dat()->constWidth = w;
    for (Vertex& v : dat()->v)
        v.startWidth = v.endWidth = w;
    changed();
}

double Entity::Elevation() const
{
    need(isFlatPolyline(kind_), "Elevation");
    return dat()->elevation;
}

void Entity::setElevation(double e)
{
    Elevation();
    needFinite({e});
    writable();
    dat()->elevation = e;
    if (kind_ == EntityKind::Polyline2d)
        for (Vertex& v : dat()->v)
            v.z = e;
    changed();
}

bool Entity::LinetypeGeneration() const
{
    need(isFlatPolyline(kind_), "LinetypeGeneration");
    return dat()->polyFlags & 128;
}

void Entity::setLinetypeGeneration(bool on)
{
    LinetypeGeneration();
    writable();
    dat()->polyFlags = on ? (dat()->polyFlags | 128) : (dat()->polyFlags & ~128);
    changed();
}

bool Entity::FitCurve() const
{
    need(kind_ == EntityKind::Polyline2d, "Type");
    return dat()->polyFlags & 2;
}

double Entity::GetBulge(int index) const
{
    need(isFlatPolyline(kind_), "GetBulge");
    if (index < 0 || index >= int(dat()->v.size()))
        fault(fail::Failed, QStringLiteral("vertex %1 does not exist").arg(index));
    return dat()->v[index].bulge;
}

void Entity::SetBulge(int index, double bulge)
{
    GetBulge(index);
    needFinite({bulge});
    writable();
    dat()->v[index].bulge = bulge;
    changed();
}

void Entity::GetWidth(int index, double& startWidth, double& endWidth) const
{
    need(isFlatPolyline(kind_), "GetWidth");
    if (index < 0 || index >= int(dat()->v.size()))
        fault(fail::Failed, QStringLiteral("vertex %1 does not exist").arg(index));
    startWidth = dat()->v[index].startWidth;
    endWidth = dat()->v[index].endWidth;
}

void Entity::SetWidth(int index, double startWidth, double endWidth)
{
    double s, e;
    GetWidth(index, s, e);
    needFinite({startWidth, endWidth});
    writable();
    if (startWidth < 0 || endWidth < 0)
        fault(fail::Failed, QStringLiteral("the width must not be negative"));
    dat()->v[index].startWidth = startWidth;
    dat()->v[index].endWidth = endWidth;
    changed();
}

void Entity::AddVertex(int index, const Point& p)
{
    need(kind_ == EntityKind::LwPolyline, "AddVertex");
    needFinite(p);
    writable();
    if (index < 0 || index > int(dat()->v.size()))
        fault(fail::Failed, QStringLiteral("vertex %1 cannot be added").arg(index));
    Vertex v{p.x, p.y, 0};
    v.startWidth = v.endWidth = dat()->constWidth;
    dat()->v.insert(dat()->v.begin() + index, v);
    changed();
}

// --- block reference

QString Entity::Name() const
{
    need(kind_ == EntityKind::BlockReference, "Name");
    return dat()->placed().text;
}

double Entity::XScaleFactor() const
{
    need(kind_ == EntityKind::BlockReference, "XScaleFactor");
    return dat()->placed().scale[0];
}

double Entity::YScaleFactor() const
{
    need(kind_ == EntityKind::BlockReference, "YScaleFactor");
    return dat()->placed().scale[1];
}

double Entity::ZScaleFactor() const
{
    need(kind_ == EntityKind::BlockReference, "ZScaleFactor");
    return dat()->placed().scale[2];
}

void Entity::setScaleFactors(double x, double y, double z)
{
    XScaleFactor();
    needFinite({x, y, z});
    writable();
    if (x == 0 || y == 0 || z == 0)
        fault(fail::Failed, QStringLiteral("a scale factor must not be 0"));
    dat()->placedMut().scale[0] = x;
    dat()->placedMut().scale[1] = y;
    dat()->placedMut().scale[2] = z;
    changed();
}

const std::vector<RawGroups>& Entity::attributes() const
{
    need(kind_ == EntityKind::BlockReference, "GetAttributes");
    return dat()->rare().attribs;
}

Affine insertTransform(const Entity::Data& d, const Point& origin)
{
    const double cs = std::cos(d.placed().rotation), sn = std::sin(d.placed().rotation);
    const double sx = d.placed().scale[0], sy = d.placed().scale[1];
    Affine t;
    t.a = cs * sx;
    t.b = -sn * sy;
    t.c = sn * sx;
    t.d = cs * sy;
    const Vertex& ins = d.v[0];
    t.tx = ins.x - (t.a * origin.x + t.b * origin.y);
    t.ty = ins.y - (t.c * origin.x + t.d * origin.y);
    t.tz = ins.z - origin.z;
    t.scale = std::sqrt(std::abs(sx * sy));
    t.angle = d.placed().rotation;
    return t;
}

std::vector<Entity*> Entity::Explode()
{
    need(kind_ == EntityKind::BlockReference, "Explode");
    alive();
    Block* def = document().findBlock(dat()->placed().text);
    if (!def)
        fault(fail::Failed, QStringLiteral("the block \"%1\" is not defined").arg(dat()->placed().text));
    const Affine t = insertTransform(*dat(), def->Origin());
    std::vector<Entity*> out;
    try {
        for (Entity* e : def->entities()) {
            if (e->kind_ == EntityKind::Foreign)
                continue; // it could not be placed
            out.push_back(owner_->copyOf(*e));
            out.back()->transform(t);
        }
    } catch (const RunError&) {
        for (Entity* c : out) // a part that cannot be placed leaves no part behind, locked layer or not
            c->erase();
        throw;
    }
    return out;
}

// --- raster image

QString Entity::ImageFile() const
{
    need(kind_ == EntityKind::RasterImage, "ImageFile");
    return dat()->placed().text;
}

std::vector<Pt2> Entity::ClipBoundary() const
{
    need(kind_ == EntityKind::RasterImage, "ClipBoundary");
    return dat()->rare().clip;
}

bool Entity::ClippingEnabled() const
{
    need(kind_ == EntityKind::RasterImage, "ClippingEnabled");
    return dat()->rare().clipping != 0;
}

void Entity::setClippingEnabled(bool on)
{
    need(kind_ == EntityKind::RasterImage, "setClippingEnabled");
    writable();
    dat()->rareMut().clipping = on && !dat()->rareMut().clip.empty() ? 1 : 0;
    changed();
}

void Entity::setClipBoundary(int type, std::vector<Pt2> pixels)
{
    need(kind_ == EntityKind::RasterImage, "setClipBoundary");
    for (const Pt2& q : pixels)
        needFinite({q.x, q.y});
    writable();
    dat()->rareMut().clipType = pixels.empty() ? 1 : type;
    dat()->rareMut().clip = std::move(pixels);
    dat()->rareMut().clipping = dat()->rareMut().clip.empty() ? 0 : 1;
    changed();
}

int Entity::ImageDisplay() const
{
    need(kind_ == EntityKind::RasterImage, "ImageDisplay");
    return dat()->rare().imageDisplay;
}

void Entity::setImageDisplay(int flags)
{
    need(kind_ == EntityKind::RasterImage, "setImageDisplay");
    writable();
    dat()->rareMut().imageDisplay = flags;
    changed();
}

} // namespace kelvor::cad
