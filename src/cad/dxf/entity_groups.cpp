#include "cad/dxf/entity_groups.h"

#include <algorithm>
#include <initializer_list>

namespace kelvor::cad::dxf {

namespace {

using Data = Entity::Data;

// The field of a member of the data, of its placed part or of its rare part.
template <class C>
struct PartOf;
template <>
struct PartOf<Data> {
    static Data& fill(Data& d) { return d; }
    static const Data& get(const Data& d) { return d; }
};
template <>
struct PartOf<EntityPlaced> {
    static EntityPlaced& fill(Data& d) { return d.placedMut(); }
    static const EntityPlaced& get(const Data& d) { return d.placed(); }
};
template <>
struct PartOf<EntityRare> {
    static EntityRare& fill(Data& d) { return d.rareMut(); }
    static const EntityRare& get(const Data& d) { return d.rare(); }
};

template <class C, class T>
C classOf(T C::*);

template <auto M>
Field in()
{
    using C = decltype(classOf(M));
    return {[](Data& d) -> void* { return &(PartOf<C>::fill(d).*M); },
            [](const Data& d) -> const void* { return &(PartOf<C>::get(d).*M); }};
}

Group of(int code, Value value, Field field = {})
{
    Group g;
    g.code = code;
    g.value = value;
    g.field = field;
    return g;
}

Group marker(const char* subclass)
{
    Group g = of(100, Value::Marker);
    g.marker = subclass;
    return g;
}

// A number the writer always gives and the reader passes over.
Group fixed(int code, int value)
{
    Group g = of(code, Value::Fixed);
    g.fallback = value;
    return g;
}

// Left out of the file while it holds its default.
Group unless(Group g, double fallback)
{
    g.omitDefault = true;
    g.fallback = fallback;
    return g;
}

// Written only where `c` holds.
Group when(Group g, Condition c)
{
    g.when = c;
    return g;
}

// An element of an array field.
Group element(Group g, int i)
{
    g.index = i;
    return g;
}

Group readOnly(Group g)
{
    g.readOnly = true;
    return g;
}

Group vertex(int code, int index, Condition c = nullptr)
{
    return when(element(of(code, Value::Vertex), index), c);
}

Group flags(int code, Field field, int mask, int bits)
{
    Group g = of(code, Value::Int, field);
    g.mask = mask;
    g.bits = bits;
    return g;
}

Group special(Special s, int code, std::initializer_list<int> also = {})
{
    Group g;
    g.code = code;
    g.value = Value::Special;
    g.special = s;
    g.also = also;
    return g;
}

Group rest(Group g)
{
    g.rest = true;
    return g;
}

Group thickness()
{
    return unless(of(39, Value::Real, in<&Data::thickness>()), 0);
}

bool aligned(const Data& d)
{
    return d.placed().hAlign != 0 || d.placed().vAlign != 0;
}

bool splineFit(const Data& d)
{
    return d.rare().splineType && (d.polyFlags & 4);
}

// The codes a row answers to: a point group its three.
void index(KindGroups& k)
{
    k.row.fill(-1);
    auto put = [&](int code, size_t i) {
        if (code >= 0 && code < int(k.row.size()) && k.row[size_t(code)] < 0)
            k.row[size_t(code)] = static_cast<signed char>(i);
    };
    for (size_t i = 0; i < k.groups.size(); ++i) {
        const Group& g = k.groups[i];
        if (g.rest)
            k.rest = int(i);
        switch (g.value) {
        case Value::Marker:
        case Value::Fixed:
            break;
        case Value::Vertex:
        case Value::Point:
        case Value::ElevationPoint:
        case Value::OriginPoint:
            for (int c : {g.code, g.code + 10, g.code + 20})
                put(c, i);
            break;
        default:
            put(g.code, i);
            for (int c : g.also)
                put(c, i);
        }
    }
}

KindGroups kind(EntityKind k, std::vector<Group> groups)
{
    KindGroups out{k, std::move(groups), 0, -1, {}};
    // A kind always holds the vertices its groups name, so a file that leaves
    // one out (a LINE without 11) reads it at the origin, as DXF defaults it.
    for (const Group& g : out.groups)
        if (g.value == Value::Vertex)
            out.minVertices = std::max(out.minVertices, size_t(g.index) + 1);
    index(out);
    return out;
}

KindGroups line()
{
    return kind(EntityKind::Line, {marker("AcDbLine"), thickness(), vertex(10, 0), vertex(11, 1)});
}

KindGroups point()
{
    return kind(EntityKind::Point, {marker("AcDbPoint"), vertex(10, 0), thickness(),
                                    unless(of(50, Value::Angle, in<&EntityPlaced::rotation>()), 0)});
}

KindGroups circle()
{
    return kind(EntityKind::Circle,
                {marker("AcDbCircle"), thickness(), vertex(10, 0), of(40, Value::Real, in<&EntityPlaced::radius>()),
                 readOnly(of(50, Value::Angle, in<&EntityPlaced::startAngle>())),
                 readOnly(of(51, Value::Angle, in<&EntityPlaced::endAngle>()))});
}

KindGroups arc()
{
    return kind(EntityKind::Arc,
                {marker("AcDbCircle"), thickness(), vertex(10, 0), of(40, Value::Real, in<&EntityPlaced::radius>()),
                 marker("AcDbArc"), of(50, Value::Angle, in<&EntityPlaced::startAngle>()),
                 of(51, Value::Angle, in<&EntityPlaced::endAngle>())});
}

KindGroups text()
{
    return kind(EntityKind::Text,
                {marker("AcDbText"), thickness(), vertex(10, 0), of(40, Value::Real, in<&EntityPlaced::height>()),
                 of(1, Value::Text, in<&EntityPlaced::text>()),
                 unless(of(50, Value::Angle, in<&EntityPlaced::rotation>()), 0),
                 unless(of(41, Value::Real, in<&EntityPlaced::widthFactor>()), 1),
                 unless(of(51, Value::Angle, in<&EntityPlaced::oblique>()), 0),
                 of(7, Value::Name, in<&EntityPlaced::style>()),
                 unless(of(71, Value::Int, in<&EntityPlaced::textGeneration>()), 0),
                 unless(of(72, Value::Int, in<&EntityPlaced::hAlign>()), 0), vertex(11, 1, aligned),
                 marker("AcDbText"), unless(of(73, Value::Int, in<&EntityPlaced::vAlign>()), 0)});
}

KindGroups mtext()
{
    // the style as a text of its own: an mtext names it as it pleases
    return kind(EntityKind::MText,
                {marker("AcDbMText"), vertex(10, 0), of(40, Value::Real, in<&EntityPlaced::height>()),
                 of(41, Value::Real, in<&EntityRare::mtextWidth>()), of(71, Value::Int, in<&EntityRare::attachment>()),
                 special(Special::MTextString, 1, {3}), of(7, Value::Text, in<&EntityPlaced::style>()),
                 unless(of(50, Value::Angle, in<&EntityPlaced::rotation>()), 0), rest(special(Special::MTextExtras, -1))});
}

KindGroups lwPolyline()
{
    return kind(EntityKind::LwPolyline,
                {marker("AcDbPolyline"), of(90, Value::VertexCount, {}), flags(70, in<&Data::polyFlags>(), 1 | 128, 0),
                 when(of(43, Value::Real, in<&Data::constWidth>()), uniformWidth),
                 unless(of(38, Value::Real, in<&Data::elevation>()), 0), thickness(),
                 special(Special::LwPolylineVertices, 10, {20, 40, 41, 42})});
}

KindGroups polyline(bool is3d)
{
    return kind(is3d ? EntityKind::Polyline3d : EntityKind::Polyline2d,
                {marker(is3d ? "AcDb3dPolyline" : "AcDb2dPolyline"), fixed(66, 1),
                 of(10, is3d ? Value::OriginPoint : Value::ElevationPoint, in<&Data::elevation>()),
                 is3d ? readOnly(thickness()) : thickness(),
                 is3d ? flags(70, in<&Data::polyFlags>(), -1, 8) : flags(70, in<&Data::polyFlags>(), ~8, 0),
                 when(of(75, Value::Int, in<&EntityRare::splineType>()), splineFit), special(Special::PolylineWidth, 40, {41}), special(Special::PolylineVertices, -1)});
}

KindGroups blockReference()
{
    return kind(EntityKind::BlockReference,
                {marker("AcDbBlockReference"), special(Special::AttributesFollow, 66),
                 of(2, Value::Text, in<&EntityPlaced::text>()), vertex(10, 0),
                 element(unless(of(41, Value::Real, in<&EntityPlaced::scale>()), 1), 0),
                 element(unless(of(42, Value::Real, in<&EntityPlaced::scale>()), 1), 1),
                 element(unless(of(43, Value::Real, in<&EntityPlaced::scale>()), 1), 2),
                 unless(of(50, Value::Angle, in<&EntityPlaced::rotation>()), 0),
                 special(Special::BlockAttributes, -1)});
}

KindGroups region()
{
    return kind(EntityKind::Region,
                {marker("AcDbModelerGeometry"), fixed(70, 1), special(Special::RegionBody, 1, {3})});
}

KindGroups rasterImage()
{
    return kind(EntityKind::RasterImage,
                {marker("AcDbRasterImage"), fixed(90, 0), vertex(10, 0), of(11, Value::Point, in<&EntityRare::u>()),
                 of(12, Value::Point, in<&EntityRare::vv>()), of(13, Value::Real, in<&EntityRare::pixelsW>()),
                 of(23, Value::Real, in<&EntityRare::pixelsH>()), special(Special::ImageDefinition, 340),
                 of(70, Value::Int, in<&EntityRare::imageDisplay>()), of(280, Value::Int, in<&EntityRare::clipping>()),
                 of(281, Value::Int, in<&EntityRare::brightness>()), of(282, Value::Int, in<&EntityRare::contrast>()),
                 of(283, Value::Int, in<&EntityRare::fade>()),
                 of(360, Value::Handle, in<&EntityRare::imageReactorHandle>()),
                 of(71, Value::Int, in<&EntityRare::clipType>()), special(Special::ImageClipBoundary, 91, {14, 24})});
}

} // namespace

bool uniformWidth(const Entity::Data& d)
{
    for (const Vertex& v : d.v)
        if (v.startWidth != d.constWidth || v.endWidth != d.constWidth)
            return false;
    return true;
}

const KindGroups& kindGroups(EntityKind k)
{
    static const std::vector<KindGroups> kinds = [] {
        std::vector<KindGroups> all(size_t(EntityKind::Foreign) + 1);
        for (KindGroups g : {line(), point(), circle(), arc(), text(), mtext(), lwPolyline(), polyline(false),
                             polyline(true), blockReference(), region(), rasterImage()})
            all[size_t(g.kind)] = std::move(g);
        return all;
    }();
    return kinds[size_t(k)];
}

} // namespace kelvor::cad::dxf
