#pragma once
#include "cad/model/geometry.h"
#include "cad/model/xdata.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <initializer_list>
#include <memory>
#include <new>
#include <vector>

namespace kelvor::cad {

class Block;
class Document;

enum class EntityKind {
    Line, Point, Circle, Arc, Text, MText, LwPolyline, Polyline2d, Polyline3d, BlockReference, Region, RasterImage,
    Foreign // a kind the host does not model (hatch, spline, dimension ...): kept as read, written back unchanged
};

// Text alignments as the automation interface numbers them.
enum Alignment {
    AlignLeft = 0, AlignCenter = 1, AlignRight = 2, AlignAligned = 3, AlignMiddle = 4, AlignFit = 5,
    AlignTopLeft = 6, AlignTopCenter = 7, AlignTopRight = 8,
    AlignMiddleLeft = 9, AlignMiddleCenter = 10, AlignMiddleRight = 11,
    AlignBottomLeft = 12, AlignBottomCenter = 13, AlignBottomRight = 14
};

constexpr int ColorByBlock = 0;
constexpr int ColorByLayer = 256;

struct Vertex {
    double x = 0, y = 0, z = 0;
    double bulge = 0, startWidth = 0, endWidth = 0;
};

// A (group code, text) pair kept as read, for content the host carries
// through load and save without interpreting it.
struct RawGroup {
    int code = 0;
    QString value;
};
using RawGroups = std::vector<RawGroup>;

// A group as its bytes stood in the file: what the host does not model is
// written back exactly as it came, whatever its encoding.
struct KeptGroup {
    int code = 0;
    QByteArray value;
};
using KeptGroups = std::vector<KeptGroup>;
struct KeptRecord {
    QByteArray type; // the record's 0 group
    KeptGroups groups;
};

// The front door's rule: a drawing holds only finite reals. Every member
// that stores a coordinate, length, angle, height, scale or other real
// passes its values (or, for a transform, the values it computed) through
// here first; NaN, an infinity or an overflow fails with
// err::InvalidArgument and nothing is changed.
void needFinite(std::initializer_list<double> values);
void needFinite(const Point& p);
void needFinite(const std::vector<double>& values);
void needFinite(const std::vector<Vertex>& vertices);
// An angle in radians, finite in degrees too (as drawing files hold it).
void needAngle(std::initializer_list<double> radians);

// One drawing entity. Commands call the members the automation interface
// offers; a member the entity's kind lacks fails with fail::NoMember, a
// change to an entity on a locked layer with fail::LockedLayer, any use of a
// deleted entity with fail::Erased. Angles are radians.
class Entity {
public:
    EntityKind kind() const { return kind_; }
    Document& document() const;
    Block* owner() const { return owner_; }

    // --- common to all kinds
    QString Handle() const;         // upper-case hexadecimal
    quint64 handleValue() const { return handle_; }
    QString ObjectName() const;     // "AcDbLine", "AcDbPolyline", ...
    QString dxfName() const;        // "LINE", "LWPOLYLINE", "POLYLINE", ...
    int EntityType() const;         // the automation type number (8 circle, 24 lightweight polyline ...)
    QString Layer() const;
    void setLayer(const QString& name);       // fails when the drawing lacks the layer
    QString Linetype() const;                 // "ByLayer", "ByBlock" or a name
    void setLinetype(const QString& name);    // fails when the drawing lacks the linetype
    double LinetypeScale() const;
    void setLinetypeScale(double s);          // fails unless positive
    int Color() const { return color_; }      // ACI; 256 ByLayer, 0 ByBlock
    void setColor(int aci);
    bool Visible() const { return visible_; }
    void setVisible(bool on);
    bool Highlighted() const { return highlight_; }
    void Highlight(bool on);
    double Thickness() const;
    void setThickness(double t);
    void Delete();
    void Erase() { Delete(); }
    bool isErased() const { return erased_; }
    void Move(const Point& from, const Point& to);
    void Rotate(const Point& base, double angle);
    void ScaleEntity(const Point& base, double factor); // fails for factor <= 0
    Entity* Copy();                                     // appended to the same block
    void GetBoundingBox(Point& minPoint, Point& maxPoint) const;
    void Update(); // counted; the host window redraws
    XData GetXData(const QString& appName) const; // "" = every application, in stored order
    void SetXData(const XData& data); // an application's name alone removes its data

    // --- line
    Point StartPoint() const;
    void setStartPoint(const Point& p);
    Point EndPoint() const;
    void setEndPoint(const Point& p);
    double Length() const; // line and polylines

    // --- point (its Coordinates), block reference and texts (InsertionPoint)
    Point Coordinate3() const;
    void setCoordinate3(const Point& p);

    // --- circle and arc
    Point Center() const;
    void setCenter(const Point& p);
    double Radius() const;
    void setRadius(double r);
    double StartAngle() const;
    double EndAngle() const;
    void setAngles(double start, double end); // arc, radians, taken into [0, 2π)
    double Area() const; // circle, closed polylines and regions

    // --- text (and mtext where it has the same member)
    QString TextString() const;
    void setTextString(const QString& s);
    Point InsertionPoint() const;
    void setInsertionPoint(const Point& p);
    Point TextAlignmentPoint() const;
    void setTextAlignmentPoint(const Point& p);
    double Height() const;
    void setHeight(double h);
    double ScaleFactor() const; // width factor
    void setScaleFactor(double f);
    double Rotation() const;    // text, mtext, block reference
    void setRotation(double r);
    double ObliqueAngle() const;
    void setObliqueAngle(double a);
    QString StyleName() const;
    void setStyleName(const QString& name); // fails when the drawing lacks the style
    int Alignment() const;
    void setAlignment(int a);
    double Width() const;                   // mtext box width
    int AttachmentPoint() const;            // mtext

    // --- polylines
    std::vector<double> Coordinates() const; // 2 numbers per vertex (lightweight), 3 otherwise
    void setCoordinates(const std::vector<double>& flat);
    Point Coordinate(int index) const;
    void setCoordinate(int index, const Point& p);
    int vertexCount() const;
    bool Closed() const;
    void setClosed(bool on);
    double ConstantWidth() const;
    void setConstantWidth(double w);
    double Elevation() const;
    void setElevation(double e);
    bool LinetypeGeneration() const;
    void setLinetypeGeneration(bool on);
    double GetBulge(int index) const;
    void SetBulge(int index, double bulge);
    void GetWidth(int index, double& startWidth, double& endWidth) const;
    void SetWidth(int index, double startWidth, double endWidth);
    void AddVertex(int index, const Point& p); // lightweight: x, y
    bool FitCurve() const;                     // old-style 2D polyline's curve-fit flag
    const std::vector<Vertex>& vertices() const;
    // The whole vertex list as an editing command rebuilds it (coordinates,
    // bulges, widths); lines take their two points from it.
    void setVertices(std::vector<Vertex> vertices);
    // The polyline flag word: 1 closed, 2 curve-fit, 4 spline-fit, 128
    // linetype generation.
    int polylineFlags() const;
    void setPolylineFlags(int flags);
    // Spline-fit an old-style polyline: `fit` the vertices of the curve,
    // `splineType` 5 quadratic or 6 cubic; its own vertices stay as the
    // frame, lose their bulges and are flagged as control points.
    void setSplineFit(std::vector<Vertex> fit, int splineType);
    // Takes a fitted polyline back to straight pieces between its vertices
    // (its frame, when spline-fit).
    void Decurve();

    // --- block reference
    QString Name() const;
    double XScaleFactor() const;
    double YScaleFactor() const;
    double ZScaleFactor() const;
    void setScaleFactors(double x, double y, double z);
    std::vector<Entity*> Explode(); // copies of the block's entities in model space
    const std::vector<RawGroups>& attributes() const;

    // --- raster image
    QString ImageFile() const;
    std::vector<Pt2> ClipBoundary() const;
    bool ClippingEnabled() const;
    int ImageDisplay() const; // 1 shown, 2 not aligned with the screen, 4 clip shown, 8 transparency
    void setImageDisplay(int flags);
    // A new clip boundary in pixels (type 1 rectangle by two corners, 2
    // polygon); an empty one removes the clip. Clipping follows on.
    void setClipBoundary(int type, std::vector<Pt2> pixels);
    void setClippingEnabled(bool on);

    // The plane shape used by selection and extents.
    Shape shape() const;
    Box box() const;

    struct Data; // kind-specific data, open to the file reader and writer
    Data& data() { return *dat(); }
    const Data& data() const { return *dat(); }
    quint64 sequence() const { return seq_; }

    ~Entity();
    // An entity and its data are one allocation: a drawing holds many.
    static void* operator new(size_t size);
    static void operator delete(void* p);
    Entity(const Entity&) = delete;
    Entity& operator=(const Entity&) = delete;

private:
    friend class Block;
    friend class Document;
    friend class EntityAccess;
    friend class SpatialIndex;
    Entity(EntityKind kind, Block* owner);
    void need(bool ok, const char* member) const;            // fails NoMember unless ok
    void alive() const;                                      // fails Erased
    void writable();                                         // alive, layer unlocked; marks changed
    void erase();                                            // Delete without the lock check
    void transform(const Affine& t);
    void changed();

    // The data lives right behind the entity, in the same allocation.
    static constexpr size_t dataAt();
    Data* dat() const;
    const XData& xdata() const;
    void setXDataList(XData x);

    Block* owner_ = nullptr;
    quint64 handle_ = 0;
    quint64 seq_ = 0;
    QString layer_ = QStringLiteral("0");
    QString linetype_ = QStringLiteral("ByLayer");
    std::unique_ptr<XData> xdata_; // most entities have none
    // The box, measured when first asked for after a change (entityChanged);
    // a block reference's also when a block's content changed.
    mutable Box box_;
    mutable quint64 boxStamp_ = 0;
    quint32 indexSlot_ = ~quint32(0); // its place in the spatial index
    EntityKind kind_;
    int color_ = ColorByLayer;
    bool visible_ = true;
    bool erased_ = false;
    bool highlight_ = false;
};

// For file readers: sets what the checked members refuse while a drawing
// is still being read (raw colours, names the tables gain at the end).
class EntityAccess {
public:
    void setColor(Entity* e, int aci, bool visible)
    {
        e->color_ = aci;
        e->visible_ = visible;
    }
    void setNames(Entity* e, const QString& layer, const QString& linetype, Document& doc);
    void setXData(Entity* e, XData x) { e->setXDataList(std::move(x)); }
    const XData& xdata(const Entity* e) const { return e->xdata(); }
    // names as read, before the tables are complete
    void holdNames(Entity* e, const QString& layer, const QString& linetype)
    {
        e->layer_ = layer;
        e->linetype_ = linetype;
    }
    const QString& layer(const Entity* e) const { return e->layer_; }
    const QString& linetype(const Entity* e) const { return e->linetype_; }
};

// What few entities carry: old-style polyline parts, mtext boxes, attributes, images,
// regions, groups kept as read. A drawing of many entities holds it only
// where present.
struct EntityRare {
    std::vector<int> vertexFlags;  // old-style polylines: DXF 70 of each vertex (of the frame when spline-fit)
    std::vector<Vertex> fit;       // spline-fit polylines: the fit vertices (DXF vertex flag 8); v is the frame
    int splineType = 0;            // DXF 75 of a spline-fit polyline: 5 quadratic, 6 cubic
    double mtextWidth = 0;
    int attachment = 1;
    std::vector<RawGroups> attribs;   // ATTRIB entities as read, less handle and owner
    std::vector<quint64> subHandles;  // handles of VERTEX/ATTRIB/SEQEND parts, kept stable
    RawGroups extra;                  // kind-specific groups kept verbatim (region body, mtext extras)
    // raster image
    Point u{1, 0, 0}, vv{0, 1, 0};
    double pixelsW = 0, pixelsH = 0;
    int imageDisplay = 7, clipping = 0, brightness = 50, contrast = 50, fade = 0, clipType = 1;
    std::vector<Pt2> clip;
    quint64 imageDefHandle = 0, imageReactorHandle = 0;
    Shape regionShape; // a region's outline
    std::vector<std::vector<Vertex>> regionLoops; // the same as bulged loops (counter-clockwise), when known
    // reactors and extension dictionary (102 groups) as read; a copy has none
    KeptGroups appGroups;
    // a foreign kind: its type, the groups after the common ones (less
    // extended data), its VERTEX/ATTRIB/SEQEND records less handle and owner
    QByteArray foreignType;
    KeptGroups foreignBody;
    std::vector<KeptRecord> foreignParts;
    bool foreignSubclassed = true; // the file marked the common groups with 100 AcDbEntity
};

// What entities placed at one point carry: texts, block references,
// images, circles and arcs.
struct EntityPlaced {
    double radius = 0, startAngle = 0, endAngle = 0;
    double height = 0, widthFactor = 1, rotation = 0, oblique = 0;
    int hAlign = 0, vAlign = 0;
    QString text;  // text, mtext, block name (insert), image file (image)
    QString style = QStringLiteral("Standard");
    int textGeneration = 0;        // DXF 71 of a text: 2 mirrored in x, 4 upside down
    double scale[3] = {1, 1, 1};
};

struct Entity::Data {
    std::vector<Vertex> v; // line 2; point, circle, arc, text, mtext, insert, image 1 (+1 for text alignment)
    double thickness = 0;
    double constWidth = 0, elevation = 0;
    double ltscale = 1;            // the entity's own linetype scale (DXF 48)
    int lineweight = -1;           // DXF 370: hundredths of a millimetre; -1 ByLayer, -2 ByBlock, -3 default
    int polyFlags = 0;  // DXF 70 of polylines (1 closed, 2 fit, 128 linetype generation)

    // Reading never adds the placed part; writing adds it when missing.
    const EntityPlaced& placed() const { return p_.p ? *p_.p : nowhere(); }
    EntityPlaced& placedMut()
    {
        if (!p_.p)
            p_.p = std::make_unique<EntityPlaced>();
        return *p_.p;
    }

    // Reading never adds the rare part; writing adds it when missing.
    const EntityRare& rare() const { return r_.p ? *r_.p : none(); }
    EntityRare& rareMut()
    {
        if (!r_.p)
            r_.p = std::make_unique<EntityRare>();
        return *r_.p;
    }
    bool hasRare() const { return r_.p != nullptr; }

private:
    static const EntityRare& none();
    static const EntityPlaced& nowhere();
    template <class T>
    struct Owned { // a copy of the data copies its parts
        std::unique_ptr<T> p;
        Owned() = default;
        Owned(const Owned& o) : p(o.p ? std::make_unique<T>(*o.p) : nullptr) {}
        Owned& operator=(const Owned& o)
        {
            p = o.p ? std::make_unique<T>(*o.p) : nullptr;
            return *this;
        }
    };
    Owned<EntityRare> r_;
    Owned<EntityPlaced> p_;
};

constexpr size_t Entity::dataAt()
{
    return (sizeof(Entity) + alignof(Data) - 1) / alignof(Data) * alignof(Data);
}

inline Entity::Data* Entity::dat() const
{
    return std::launder(reinterpret_cast<Data*>(reinterpret_cast<char*>(const_cast<Entity*>(this)) + dataAt()));
}

// The vertices a polyline runs through: a spline-fit one's fit, else its own.
inline const std::vector<Vertex>& pathVertices(const Entity::Data& d)
{
    return d.rare().fit.empty() ? d.v : d.rare().fit;
}

} // namespace kelvor::cad
