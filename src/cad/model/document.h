#pragma once
#include "cad/model/entity.h"
#include "cad/model/handle_map.h"
#include "cad/model/selection.h"
#include "cad/model/utility.h"

#include <QHash>
#include <QVariant>
#include <map>
#include <memory>
#include <optional>
#include <unordered_map>
#include <unordered_set>

namespace kelvor::cad {

class SpatialIndex;
class Document;
class Layout;
class Layouts;
class Plot;
struct PlotPage;

// What a drawing needs of the host it is open in: where its questions are
// answered and its notes shown, who carries out command-line texts, and who
// draws it. The host implements it; a drawing without one has no command
// line and asks nobody.
class DocumentHost {
public:
    virtual ~DocumentHost() = default;
    virtual InputSource& input() = 0;
    virtual void appendTranscript(const QString& text) = 0;
    virtual void runCommandText(Document& doc, const QString& text) = 0;
    // An entity of doc was added or changed, or (gone) erased.
    virtual void entityChanged(Document& doc, Entity* entity, bool gone) = 0;
    virtual void regenerated(Document& doc) = 0;
    virtual void closeDocument(Document* doc) = 0;
    // The part of the drawing a person sees when doc is the one shown
    // (picks are snapped within it); none otherwise.
    virtual std::optional<Box> shownView(const Document& doc) const = 0;
    // A page of the drawing was plotted (for the host's record).
    virtual void plotted(Document& doc, const PlotPage& page)
    {
        (void)doc;
        (void)page;
    }
};

// A block: model space, or a named block definition. Entities keep the
// order in which they were added; Item(Count() - 1) is the newest.
class Block {
public:
    QString Name() const { return name_; }
    Point Origin() const { return origin_; }
    bool isModelSpace() const { return modelSpace_; }
    Document& document() const { return *doc_; }
    int Count() const;
    Entity* Item(int index) const; // fails NotFound outside 0 .. Count() - 1
    std::vector<Entity*> entities() const;

    Entity* AddLine(const Point& start, const Point& end);
    Entity* AddPoint(const Point& p);
    Entity* AddCircle(const Point& centre, double radius);
    Entity* AddArc(const Point& centre, double radius, double startAngle, double endAngle);
    Entity* AddText(const QString& text, const Point& insertion, double height);
    Entity* AddMText(const Point& insertion, double width, const QString& text);
    Entity* AddLightWeightPolyline(const std::vector<double>& xy);     // x, y per vertex
    Entity* AddPolyline(const std::vector<double>& xyz);               // old-style 2D: x, y, z per vertex
    Entity* Add3DPoly(const std::vector<double>& xyz);
    // name: a block of the drawing, or a drawing file whose model space
    // becomes a block of the file's base name.
    Entity* InsertBlock(const Point& p, const QString& name, double xs, double ys, double zs, double rotation);
    // One region per closed outline among the entities; fails on an open one.
    std::vector<Entity*> AddRegion(const std::vector<Entity*>& outlines);
    Entity* AddRaster(const QString& imageFile, const Point& insertion, double scale, double rotation);

    // Appends a new entity of the kind with the drawing's current layer,
    // linetype and colour; used by the Add members and the file reader.
    Entity* create(EntityKind kind);
    // A copy of an entity of any drawing, with a new handle, appended here.
    Entity* copyOf(const Entity& source);
    // The box of the entities, measured once per change of any block's
    // content; empty for a block that holds a reference to itself.
    Box extents() const;

    Block(const Block&) = delete;
    Block& operator=(const Block&) = delete;
    ~Block();

    // file bookkeeping
    quint64 recordHandle = 0, beginHandle = 0, endHandle = 0;
    KeptGroups recordGroups; // of its BLOCK_RECORD after the name (layout, units ...), as read
    QString description;
    int flags = 0;

private:
    friend class Document;
    friend class Entity;
    Block(Document* doc, const QString& name, bool modelSpace);
    void compact() const;
    Document* doc_;
    QString name_;
    Point origin_;
    bool modelSpace_;
    std::vector<std::unique_ptr<Entity>> owned_; // erased ones too, so stale pointers fail cleanly
    mutable std::vector<Entity*> items_;
    mutable bool dirty_ = false;
    mutable Box extents_;
    mutable quint64 extentsStamp_ = 0;
    mutable bool measuring_ = false;
};

struct Layer {
    QString Name;
    int Color = 7;
    QString Linetype = QStringLiteral("Continuous");
    bool LayerOn = true, Freeze = false, Lock = false;
    quint64 handle = 0;
};

// A complex linetype's text or shape in one dash: the groups after its 49
// as read (74 flags, 75, 340, 46, 50, 44, 45, 9). The 340 names a text
// style by handle; `style` holds that style's name, so that the element
// follows the style into another drawing.
struct LinetypeElement {
    KeptGroups groups;
    QString style;
};

struct Linetype {
    QString Name;
    QString Description;
    std::vector<double> pattern; // dash lengths (negative = gap)
    std::vector<LinetypeElement> elements; // one per dash when read from a file
    quint64 handle = 0;
};

// A text style, or (flag 1) the shape file a complex linetype draws its
// shapes from: such an entry has no name in the file and is kept here
// under "*" and its file's name, a name no style can have.
struct TextStyle {
    QString Name;
    QString fontFile = QStringLiteral("txt");
    QString bigFontFile;
    double height = 0, widthFactor = 1, oblique = 0;
    int flags = 0;          // DXF 70: 1 a shape file, 4 vertical text
    int generation = 0;     // DXF 71: 2 mirrored in x, 4 upside down
    double lastHeight = 2.5; // DXF 42
    quint64 handle = 0;
    bool isShapeFile() const { return flags & 1; }
};

struct RegisteredApplication {
    QString Name;
    quint64 handle = 0;
};

// A table of named records; names compare without regard to case.
template <class T>
class Table {
public:
    int Count() const { return int(items_.size()); }
    T& Item(int index);
    T& Item(const QString& name);          // fails NotFound
    T* find(const QString& name);
    const T* find(const QString& name) const;
    bool contains(const QString& name) const { return find(name) != nullptr; }
    T& Add(const QString& name);           // the existing record when present
    void remove(const QString& name);
    std::vector<T>& items() { return items_; }
    const std::vector<T>& items() const { return items_; }

private:
    std::vector<T> items_;
};

class Group {
public:
    QString Name() const { return name_; }
    int Count() const;
    Entity* Item(int index) const;
    void AppendItems(const std::vector<Entity*>& entities);
    std::vector<Entity*> entities() const;
    quint64 handle = 0;
    QString description;

private:
    friend class Document;
    QString name_;
    std::vector<quint64> members_;
    Document* doc_ = nullptr;
};

// Named selection sets of a document (names compare without case).
class SelectionSets {
public:
    int Count() const { return int(sets_.size()); }
    SelectionSet& Item(const QString& name); // fails NotFound
    SelectionSet& Item(int index);
    SelectionSet& Add(const QString& name);  // fails Duplicate
    SelectionSet* find(const QString& name);
    void remove(SelectionSet* set);

private:
    friend class Document;
    Document* doc_ = nullptr;
    std::vector<std::unique_ptr<SelectionSet>> sets_;
};

// What a drawing file held that the host does not model, kept for the
// next save: header variables, records of the tables it does not keep, the
// classes, and the objects (layouts, dictionaries, extension records ...) in file order.
struct KeptContent {
    std::map<QString, std::vector<KeptRecord>> tableRecords; // by table: VPORT, VIEW, UCS, DIMSTYLE
    std::vector<KeptRecord> classes;
    std::vector<KeptRecord> objects;
    KeptGroups rootEntries; // the named-object dictionary's entries (3 and 350) for kept objects
    KeptGroups header;      // header variables the host does not own: their 9 groups and values, in file order
    quint64 top = 0;                                         // their highest handle
};

// Format numbers of SaveAs.
enum class DrawingFormat { R2000 = 12, R14 = 8 };

// One open drawing: its blocks, tables, system variables, selection sets,
// utility and command line. Commands fetch it (and its model space) from
// the application at every use.
class Document {
public:
    explicit Document(DocumentHost* host = nullptr);
    ~Document();
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    DocumentHost* host() const { return host_; }
    Block& ModelSpace() { return *model_; }
    Block& PaperSpace() { return *paper_; }
    // Blocks: Item by name fails NotFound; Add returns the existing block.
    Block& BlocksAdd(const Point& origin, const QString& name);
    Block* findBlock(const QString& name) const;
    Block& BlocksItem(const QString& name) const;
    std::vector<Block*> blocks() const; // named blocks, in definition order

    Table<cad::Layer>& Layers() { return layers_; }
    Table<cad::Linetype>& Linetypes() { return linetypes_; }
    Table<cad::TextStyle>& TextStyles() { return styles_; }
    Table<RegisteredApplication>& RegisteredApplications() { return appids_; }
    const Table<cad::Layer>& Layers() const { return layers_; }
    Group& GroupsAdd(const QString& name);
    Group* findGroup(const QString& name);
    std::vector<Group*> groups() const;
    cad::SelectionSets& SelectionSets() { return sets_; }
    cad::Utility& Utility() { return *utility_; }

    QString ActiveLayer() const;
    void setActiveLayer(const QString& name); // fails when absent
    void deleteLayer(const QString& name);    // fails for "0", the current layer or a layer in use

    // System variables by name, any case ("userr1", "OSMODE", "CLAYER" ...);
    // unknown names fail. They are saved with the drawing.
    QVariant GetVariable(const QString& name) const;
    void SetVariable(const QString& name, const QVariant& value);
    const std::map<QString, QVariant>& variables() const { return vars_; }

    // Hands the text to the command line (journal and interpreter).
    void SendCommand(const QString& text);

    // Plotting: "Model" and the paper layouts; the active one ("Model"
    // until set); the plot object.
    cad::Layouts& Layouts();
    Layout& ActiveLayout();
    void setActiveLayout(Layout& layout);
    cad::Plot& Plot();
    void Regen(int which = 1);
    int regenCount() const { return regens_; }

    Entity* HandleToObject(const QString& handle) const; // fails NotFound
    Entity* findHandle(quint64 handle) const;

    // Files. Path(): folder without trailing separator; Name(): file name.
    QString Path() const;
    QString Name() const;
    QString FullName() const { return fullName_; }
    void setFullName(const QString& nativePath) { fullName_ = nativePath; }
    DrawingFormat format() const { return format_; }
    void Save();
    void SaveAs(const QString& path, DrawingFormat format = DrawingFormat::R2000);
    // Writes the selected entities (with the blocks they use) as a drawing.
    void Wblock(const QString& path, SelectionSet& set);
    void PurgeAll(); // unused layers, linetypes, styles and blocks
    // False once the drawing changed since it was opened, created or saved.
    bool Saved() const;
    void markSaved(); // the file and the drawing agree again
    void Close();
    bool isClosed() const { return closed_; }

    // Handles and bookkeeping for the model and the file formats.
    quint64 newHandle() { return handseed_++; }
    quint64 handseed() const { return handseed_; }
    void reserveHandle(quint64 h);
    // After reading a file: the seed just above every handle in use (or the file's own, when higher).
    void settleHandseed(quint64 fileSeed);
    void registerEntity(Entity* e);
    void reserveEntities(size_t count) { byHandle_.reserve(count); }
    void assignHandle(Entity* e, quint64 handle); // the file reader keeps the file's handles
    void forgetEntity(Entity* e);
    quint64 nextSequence() { return ++sequence_; }
    void entityChanged(Entity* e);
    // Changes whenever the content of a named block may have changed, so
    // that block extents and reference boxes are measured again.
    quint64 geometryStamp() const { return geometry_; }
    void blockContentChanged() { ++geometry_; }
    std::vector<Entity*> modelCandidates(const Box& area); // spatial index lookup
    int updates() const { return updates_; }
    void noteUpdate() { ++updates_; }
    std::map<QString, quint64>& structuralHandles() { return structural_; }
    KeptContent& kept() { return kept_; }
    // A handle of an entity that was deleted (a reactor or an owner that no longer exists).
    bool isGone(quint64 h) const { return erased_.count(h) && !findHandle(h); }
    // Handles of the last object selection (on screen or by a command), for "Previous".
    std::vector<quint64>& previousSelection() { return previous_; }
    void ensureStandardTables();

private:
    friend class Block;
    DocumentHost* host_;
    std::unique_ptr<Block> model_, paper_;
    std::vector<std::unique_ptr<Block>> blocks_;
    Table<cad::Layer> layers_;
    Table<cad::Linetype> linetypes_;
    Table<cad::TextStyle> styles_;
    Table<RegisteredApplication> appids_;
    std::vector<std::unique_ptr<Group>> groups_;
    cad::SelectionSets sets_;
    std::unique_ptr<cad::Utility> utility_;
    std::map<QString, QVariant> vars_;
    HandleMap byHandle_;
    std::unique_ptr<SpatialIndex> index_;
    std::unique_ptr<cad::Layouts> layouts_;
    std::unique_ptr<cad::Plot> plot_;
    Layout* activeLayout_ = nullptr;
    std::map<QString, quint64> structural_;
    KeptContent kept_;
    std::unordered_set<quint64> erased_;
    QString fullName_;
    std::vector<quint64> previous_;
    DrawingFormat format_ = DrawingFormat::R2000;
    quint64 handseed_ = 0x30;
    quint64 geometry_ = 2; // 0 and 1 are the boxes' own stamps
    // What a new entity takes from the system variables, read again after any change of them.
    struct NewEntity {
        QString layer, linetype, style;
        int color = 256;
        bool known = false;
    };
    const NewEntity& newEntity();
    NewEntity newEntity_;
    quint64 sequence_ = 0;
    int regens_ = 0;
    int updates_ = 0;
    bool closed_ = false;
    bool changed_ = false;         // entities, variables
    QByteArray savedTables_;       // the named tables as last saved (they change without notice)
    QByteArray tableSignature() const;
};

// The drawing's scale factor k = userr1 / 500 (0 read as 500 unless
// zeroAs500 is false).
double DrawingScaleFactor(Document& doc, bool zeroAs500 = true);

} // namespace kelvor::cad
