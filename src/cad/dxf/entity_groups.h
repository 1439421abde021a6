#pragma once
#include "cad/model/entity.h"

#include <array>
#include <optional>
#include <vector>

// Each entity kind the host models, described once as the groups it carries
// in the order they are written: the reader fills an entity from the same
// rows the writer writes it by, so the two cannot disagree on a code.
namespace kelvor::cad::dxf {

// The groups every entity carries, in the order they are written.
enum class Common { Handle, PaperSpace, Layer, Linetype, Colour, Lineweight, LinetypeScale, Visibility };
struct CommonGroup {
    int code;
    Common what;
};
inline constexpr CommonGroup kCommonGroups[] = {
    {5, Common::Handle},       {67, Common::PaperSpace},  {8, Common::Layer},          {6, Common::Linetype},
    {62, Common::Colour},      {370, Common::Lineweight}, {48, Common::LinetypeScale}, {60, Common::Visibility},
};
// Which common group a code is, looked up in the table above; read for
// every group of every entity, so a table by code rather than a search.
inline std::optional<Common> commonGroupOf(int code)
{
    static const auto byCode = [] {
        std::array<signed char, 371> t{};
        t.fill(-1);
        for (const CommonGroup& g : kCommonGroups)
            t[size_t(g.code)] = static_cast<signed char>(g.what);
        return t;
    }();
    if (code < 0 || code >= int(byCode.size()) || byCode[size_t(code)] < 0)
        return std::nullopt;
    return static_cast<Common>(byCode[size_t(code)]);
}

// How a group's value is read and written.
enum class Value : unsigned char {
    Marker,        // a subclass marker (100), written only
    Fixed,         // an integer the writer always gives, not read
    Real,          // a number
    Angle,         // degrees in the file, radians in the entity
    Int,
    Text,          // a text, made anew
    Name,          // a layer, linetype or style name (shared as read)
    Handle,
    Vertex,        // a point group (code, code+10, code+20) of the entity's vertex `index`
    Point,         // a point group of a Point field
    ElevationPoint, // a point group of which only z (the elevation) counts
    OriginPoint,   // as ElevationPoint, written as 0,0,0
    VertexCount,   // the vertex count: a hint when read
    Special,       // what only this kind has, done by a function named after it
};

// The kind-specific parts, each a function of that name in the reader and
// in the writer.
enum class Special : unsigned char {
    None,
    MTextString,        // 1 and 3: a long text in pieces
    MTextExtras,        // every other group of an mtext, kept as read
    LwPolylineVertices, // 10, 20, 40, 41, 42 per vertex
    PolylineWidth,      // 40 and 41: the default widths of the vertices
    PolylineVertices,   // the VERTEX records and their SEQEND
    AttributesFollow,   // 66: ATTRIB records follow
    BlockAttributes,    // the ATTRIB records and their SEQEND
    ImageDefinition,    // 340: the image's definition object
    ImageClipBoundary,  // 91, 14, 24
    RegionBody,         // 1 and 3: the body's lines
};

// Where a group's value lives: the field in the entity's data, its part made
// when reading fills it.
struct Field {
    void* (*fill)(Entity::Data&) = nullptr;
    const void* (*get)(const Entity::Data&) = nullptr;
};

using Condition = bool (*)(const Entity::Data&);

struct Group {
    int code = 0;
    Value value = Value::Fixed;
    Field field;
    int index = 0;                // Vertex: which vertex; Real over an array: which element
    bool omitDefault = false;     // not written while the field holds `fallback`
    double fallback = 0;          // the field's default (Fixed: the value written)
    Condition when = nullptr;     // written only where this holds
    bool readOnly = false;        // read, never written
    int mask = -1, bits = 0;      // Int: written as (value & mask) | bits
    const char* marker = nullptr; // Marker: the subclass name
    Special special = Special::None;
    std::vector<int> also;        // Special: the further codes it reads
    bool rest = false;            // Special: takes every group no other row takes
};

struct KindGroups {
    EntityKind kind;
    std::vector<Group> groups; // in writing order
    size_t minVertices = 0;    // vertices the kind always has once read
    int rest = -1;             // the row taking every group no other row takes
    // group code -> row of `groups` (-1 for none); codes past the end have none
    std::array<signed char, 400> row;
    const Group* of(int code) const
    {
        return code >= 0 && code < int(row.size()) && row[size_t(code)] >= 0 ? &groups[size_t(row[size_t(code)])]
                                                                               : nullptr;
    }
};

// The description of a kind the host models (not Foreign).
const KindGroups& kindGroups(EntityKind kind);

// A lightweight polyline whose every vertex has its constant width.
bool uniformWidth(const Entity::Data& d);

// The component (0 x, 1 y, 2 z) a code gives of a point group.
inline int pointComponent(const Group& g, int code)
{
    return (code - g.code) / 10;
}

} // namespace kelvor::cad::dxf
