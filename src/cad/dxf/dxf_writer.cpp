#include "cad/dxf/dxf.h"

#include "cad/dxf/dxf_text.h"
#include "cad/dxf/entity_groups.h"
#include "cad/dxf/region_body.h"
#include "platform/paths.h"
#include "platform/text_file.h"

#include <QFileInfo>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <functional>
#include <limits>
#include <map>
#include <unordered_set>

namespace kelvor::cad {

namespace {
FileProgress& progressHook()
{
    static FileProgress hook;
    return hook;
}
} // namespace

void setFileProgress(FileProgress progress)
{
    progressHook() = std::move(progress);
}

const FileProgress& fileProgress()
{
    return progressHook();
}

QString drawingPath(const QString& path)
{
    QString p = path.trimmed();
    if (p.endsWith(QLatin1String(".dwg"), Qt::CaseInsensitive))
        p = p.left(p.size() - 4) + kDrawingExtension;
    else if (QFileInfo(p).suffix().isEmpty())
        p += kDrawingExtension;
    return paths::resolve(p);
}

namespace {

constexpr double kRad = 180.0 / M_PI;

// Control characters inside a text travel as caret pairs (^J, ^M); a caret
// itself as "^ ".
QString caretEncode(const QString& s)
{
    QString out;
    bool plain = true;
    for (QChar c : s)
        if (c.unicode() < 0x20 || c == QLatin1Char('^')) {
            plain = false;
            break;
        }
    if (plain)
        return s;
    for (QChar c : s) {
        if (c == QLatin1Char('^'))
            out += QLatin1String("^ ");
        else if (c.unicode() < 0x20) {
            out += QLatin1Char('^');
            out += QChar(c.unicode() + 64);
        } else
            out += c;
    }
    return out;
}

// The group code lines "  0\r\n" .. "1071\r\n", made once.
class CodeLines {
public:
    static constexpr int Count = 1072;
    CodeLines()
    {
        for (int c = 0; c < Count; ++c) {
            char* p = text_[c];
            const int n = std::snprintf(p, sizeof text_[c], "%3d\r\n", c);
            size_[c] = char(n);
        }
    }
    QByteArrayView of(int c) const { return {text_[c], size_[c]}; }

private:
    char text_[Count][8];
    char size_[Count];
};

// Writes the drawing in file order, passing the bytes on to `out` in pieces
// of about a megabyte.
class Writer {
public:
    using Sink = std::function<void(const QByteArray&)>;
    Writer(Document& doc, DrawingFormat format, Sink out)
        : doc_(doc)
        , r2000_(format == DrawingFormat::R2000)
        , out_(std::move(out))
    {
        b_.reserve(FlushAt + (64 << 10));
    }

    void run();

private:
    static constexpr qsizetype FlushAt = 1 << 20;
    void pass()
    {
        if (b_.size() >= FlushAt) {
            out_(b_);
            b_.resize(0);
        }
    }
    void code(int c)
    {
        static const CodeLines lines;
        pass();
        if (c >= 0 && c < CodeLines::Count) {
            b_.append(lines.of(c));
            return;
        }
        char buf[16]; // any int: a kept group may carry a code beyond the usual range
        const int n = std::snprintf(buf, sizeof buf, "%3d\r\n", c);
        b_.append(buf, n);
    }
    void str(int c, const QString& s)
    {
        if (c == 9)
            place_ = s;
        code(c);
        bool ascii = true;
        for (QChar ch : s)
            if (ch.unicode() >= 0x80 || ch.unicode() < 0x20 || ch == QLatin1Char('^')) {
                ascii = false;
                break;
            }
        if (ascii) {
            const qsizetype at = b_.size();
            b_.resize(at + s.size());
            char* p = b_.data() + at;
            for (QChar ch : s)
                *p++ = char(ch.unicode());
        } else
            b_.append(encodeDxfGbk(caretEncode(s)));
        b_.append("\r\n", 2);
    }
    void lit(int c, const char* s)
    {
        if (c == 9)
            place_ = QString::fromLatin1(s);
        code(c);
        b_.append(s);
        b_.append("\r\n", 2);
    }
    void num(int c, double v)
    {
        // A number no reader takes back would make the whole file unreadable:
        // the save fails instead, naming where the number stood.
        if (!std::isfinite(v))
            fault(fail::Failed, QStringLiteral("%1 holds a number that is not finite (group %2)")
                                    .arg(place_.isEmpty() ? QStringLiteral("handle %1").arg(QString::number(handle_, 16).toUpper())
                                                          : place_)
                                    .arg(c));
        code(c);
        if (v == 0)
            v = 0; // no "-0"
        char buf[32];
        auto r = std::to_chars(buf, buf + sizeof buf, v);
        b_.append(buf, int(r.ptr - buf));
        bool hasPoint = false;
        for (char* p = buf; p < r.ptr; ++p)
            if (*p == '.' || *p == 'e' || *p == 'n' || *p == 'i')
                hasPoint = true;
        if (!hasPoint)
            b_.append(".0", 2);
        b_.append("\r\n", 2);
    }
    void integer(int c, long long v)
    {
        code(c);
        char buf[24];
        const auto r = std::to_chars(buf, buf + sizeof buf, v);
        b_.append(buf, qsizetype(r.ptr - buf));
        b_.append("\r\n", 2);
    }
    void hex(int c, quint64 h)
    {
        if (c == 5) {
            handle_ = h;
            place_.clear();
        }
        code(c);
        char buf[24];
        const auto r = std::to_chars(buf, buf + sizeof buf, h, 16);
        for (char* p = buf; p < r.ptr; ++p)
            if (*p >= 'a')
                *p = char(*p - 'a' + 'A');
        b_.append(buf, qsizetype(r.ptr - buf));
        b_.append("\r\n", 2);
    }
    void point(int c, double x, double y, double z)
    {
        num(c, x);
        num(c + 10, y);
        num(c + 20, z);
    }
    void raw(const RawGroups& g)
    {
        for (const RawGroup& r : g)
            str(r.code, r.value);
    }
    void bytes(int c, const QByteArray& value)
    {
        code(c);
        b_.append(value);
        b_.append("\r\n", 2);
    }
    void kept(const KeptGroups& g)
    {
        for (const KeptGroup& k : g)
            bytes(k.code, k.value);
    }
    void record(const KeptRecord& r)
    {
        bytes(0, r.type);
        kept(r.groups);
    }
    static quint64 handleIn(const QByteArray& value)
    {
        return value.trimmed().toULongLong(nullptr, 16);
    }
    // Reactors and extension dictionary; reactors to deleted entities are dropped.
    void appGroups(const KeptGroups& g)
    {
        KeptGroups block; // one brace, reactors to deleted entities left out
        int live = 0;
        for (const KeptGroup& k : g) {
            const bool reactors = !block.empty() && block.front().value.trimmed() == "{ACAD_REACTORS";
            if (reactors && k.code == 330 && doc_.isGone(handleIn(k.value)))
                continue;
            block.push_back(k);
            if (k.code != 102)
                ++live;
            if (k.code == 102 && k.value.trimmed() == "}") {
                if (live > 0 || !reactors)
                    kept(block);
                block.clear();
                live = 0;
            }
        }
        kept(block);
    }
    void keptTable(const char* name)
    {
        auto it = doc_.kept().tableRecords.find(QLatin1String(name));
        if (it != doc_.kept().tableRecords.end())
            for (const KeptRecord& r : it->second)
                record(r);
    }
    int keptCount(const char* name)
    {
        auto it = doc_.kept().tableRecords.find(QLatin1String(name));
        return it == doc_.kept().tableRecords.end() ? 0 : int(it->second.size());
    }

    quint64 structural(const char* key) { return structural(QLatin1String(key)); }
    quint64 structural(const QString& key)
    {
        auto& m = doc_.structuralHandles();
        auto it = m.find(key);
        if (it != m.end())
            return it->second;
        const quint64 h = doc_.newHandle();
        m[key] = h;
        return h;
    }
    template <class T>
    quint64 handleOf(T& rec)
    {
        if (!rec.handle)
            rec.handle = doc_.newHandle();
        return rec.handle;
    }

    void allocate();
    void header();
    // Where the groups being written belong: a header variable, else the record of handle_.
    QString place_;
    quint64 handle_ = 0;
    void classes();
    void tables();
    void vportTable();
    void linetypeTable();
    void linetypeRecord(quint64 table, quint64 h, const QString& name, const QString& desc,
                        const std::vector<double>& pattern, const std::vector<LinetypeElement>& elements);
    void layerTable();
    void styleTable();
    void viewAndUcsTables();
    void appidTable();
    void dimstyleTable();
    void blockRecordTable();
    void tableHead(const char* name, quint64 h, int count);
    // The opening groups of a table record: type, handle, owning table and
    // subclass markers.
    void recordHead(const char* type, quint64 h, quint64 table, const char* subclass, int handleCode = 5)
    {
        lit(0, type);
        hex(handleCode, h);
        hex(330, table);
        lit(100, "AcDbSymbolTableRecord");
        lit(100, subclass);
    }
    void blocks();
    void block(Block& b, bool paper);
    void entity(Entity& e, quint64 owner, bool paper);
    void commonGroups(Entity& e, quint64 owner, bool paper);
    bool writeGroup(const dxf::Group& g, Entity& e, bool paper);
    bool writeSpecial(dxf::Special s, Entity& e, bool paper);
    void partHead(const char* type, quint64 handle, quint64 owner, bool paper, const QString& layer);
    void mtextString(const QString& t);
    void lwPolylineVertices(const Entity::Data& d);
    void polylineVertices(Entity& e, bool paper);
    bool blockAttributes(Entity& e, bool paper);
    void imageClipBoundary(const EntityRare& rare);
    void regionBody(const EntityRare& rare);
    void foreign(Entity& e);
    void foreignPart(Entity& e, const KeptRecord& part, quint64 handle);
    void xdata(const XData& x);
    void objects();
    void groupObjects(quint64 groupDict, quint64 root);
    void imageObjects(quint64 imageDict, quint64 root);
    void keptObjects();

    Document& doc_;
    bool r2000_;
    Sink out_;
    QByteArray b_;
    std::vector<Entity*> images_;
    Box ext_; // of model space
};

void Writer::allocate()
{
    // Handles first, so that $HANDSEED in the header is above all of them.
    for (Layer& l : doc_.Layers().items())
        handleOf(l);
    for (Linetype& l : doc_.Linetypes().items())
        handleOf(l);
    for (TextStyle& s : doc_.TextStyles().items())
        handleOf(s);
    for (RegisteredApplication& a : doc_.RegisteredApplications().items())
        handleOf(a);
    for (const char* k : {"TABLE:VPORT", "TABLE:LTYPE", "TABLE:LAYER", "TABLE:STYLE", "TABLE:VIEW", "TABLE:UCS",
                          "TABLE:APPID", "TABLE:DIMSTYLE", "TABLE:BLOCK_RECORD", "VPORT:*ACTIVE", "LTYPE:BYBLOCK",
                          "LTYPE:BYLAYER", "DIMSTYLE:STANDARD", "DICT:ROOT", "DICT:ACAD_GROUP"})
        structural(QLatin1String(k));
    auto blockHandles = [&](Block& b) {
        if (!b.recordHandle)
            b.recordHandle = doc_.newHandle();
        if (!b.beginHandle)
            b.beginHandle = doc_.newHandle();
        if (!b.endHandle)
            b.endHandle = doc_.newHandle();
    };
    blockHandles(doc_.ModelSpace());
    blockHandles(doc_.PaperSpace());
    for (Block* b : doc_.blocks())
        blockHandles(*b);
    for (Group* g : doc_.groups())
        if (!g->handle)
            g->handle = doc_.newHandle();
    auto entityHandles = [&](Block& b) {
        for (Entity* e : b.entities()) {
            auto& d = e->data();
            size_t subs = 0;
            if (e->kind() == EntityKind::Polyline2d || e->kind() == EntityKind::Polyline3d)
                subs = d.v.size() + d.rare().fit.size() + 1;
            else if (e->kind() == EntityKind::Foreign)
                subs = d.rare().foreignParts.size();
            else if (e->kind() == EntityKind::BlockReference && !d.rare().attribs.empty())
                subs = d.rare().attribs.size() + 1;
            if (d.rare().subHandles.size() != subs) {
                d.rareMut().subHandles.clear();
                for (size_t i = 0; i < subs; ++i)
                    d.rareMut().subHandles.push_back(doc_.newHandle());
            }
            if (e->kind() == EntityKind::RasterImage) {
                if (!d.rare().imageDefHandle)
                    d.rareMut().imageDefHandle = doc_.newHandle();
                if (!d.rare().imageReactorHandle)
                    d.rareMut().imageReactorHandle = doc_.newHandle();
                images_.push_back(e);
            }
        }
    };
    entityHandles(doc_.ModelSpace());
    entityHandles(doc_.PaperSpace());
    for (Block* b : doc_.blocks())
        entityHandles(*b);
    if (!images_.empty())
        structural(QStringLiteral("DICT:ACAD_IMAGE_DICT"));
}

void Writer::header()
{
    lit(0, "SECTION");
    lit(2, "HEADER");
    lit(9, "$ACADVER");
    lit(1, r2000_ ? "AC1015" : "AC1014");
    if (r2000_) {
        lit(9, "$ACADMAINTVER");
        integer(70, 6);
    }
    lit(9, "$DWGCODEPAGE");
    lit(3, "ANSI_936");
    const Box ext = ext_.valid() ? ext_ : Box{0, 0, 0, 0};
    lit(9, "$EXTMIN");
    point(10, ext.minX, ext.minY, 0);
    lit(9, "$EXTMAX");
    point(10, ext.maxX, ext.maxY, 0);
    // settings the host added later go out only when they differ from their
    // defaults, so that a drawing saved before stays the same file; the pick
    // aperture belongs to the window, not to the file
    const std::map<QString, QVariant> later{
        {QStringLiteral("SPLINETYPE"), 6}, {QStringLiteral("SPLINESEGS"), 8}, {QStringLiteral("SPLFRAME"), 0},
        {QStringLiteral("IMAGEFRAME"), 1}, {QStringLiteral("CELTSCALE"), 1.0}};
    for (const auto& [name, value] : doc_.variables()) {
        if (name == QLatin1String("APERTURE"))
            continue;
        if (const auto it = later.find(name); it != later.end() && it->second == value)
            continue;
        str(9, QLatin1Char('$') + name);
        if (name == QLatin1String("CLAYER"))
            str(8, value.toString());
        else if (name == QLatin1String("CELTYPE"))
            str(6, value.toString());
        else if (name == QLatin1String("TEXTSTYLE"))
            str(7, value.toString());
        else if (name == QLatin1String("CECOLOR")) {
            const QString c = value.toString().toUpper();
            integer(62, c == QLatin1String("BYLAYER") ? 256 : (c == QLatin1String("BYBLOCK") ? 0 : c.toInt()));
        } else if (value.typeId() == QMetaType::Int)
            integer(70, value.toInt());
        else if (value.typeId() == QMetaType::Double)
            num(name == QLatin1String("ANGBASE") ? 50 : 40, value.toDouble()); // an angle's group
        else if (value.typeId() == QMetaType::QVariantList) {
            const QVariantList l = value.toList();
            point(10, l.value(0).toDouble(), l.value(1).toDouble(), l.value(2).toDouble());
        } else
            str(1, value.toString());
    }
    kept(doc_.kept().header);
    lit(9, "$HANDSEED");
    hex(5, doc_.handseed());
    lit(0, "ENDSEC");
}

void Writer::classes()
{
    lit(0, "SECTION");
    lit(2, "CLASSES");
    std::vector<QByteArray> have;
    for (const KeptRecord& r : doc_.kept().classes) {
        record(r);
        for (const KeptGroup& k : r.groups)
            if (k.code == 1)
                have.push_back(k.value.trimmed());
    }
    if (!images_.empty()) {
        struct C {
            const char *dxf, *cpp;
            int flags;
            bool entity;
        };
        for (const C& c : {C{"IMAGE", "AcDbRasterImage", 127, true}, C{"IMAGEDEF", "AcDbRasterImageDef", 0, false},
                           C{"IMAGEDEF_REACTOR", "AcDbRasterImageDefReactor", 1, false}}) {
            if (std::find(have.begin(), have.end(), QByteArray(c.dxf)) != have.end())
                continue;
            lit(0, "CLASS");
            lit(1, c.dxf);
            lit(2, c.cpp);
            lit(3, "ISM");
            integer(90, c.flags);
            integer(280, 0);
            integer(281, c.entity ? 1 : 0);
        }
    }
    lit(0, "ENDSEC");
}

void Writer::tableHead(const char* name, quint64 h, int count)
{
    lit(0, "TABLE");
    lit(2, name);
    hex(5, h);
    hex(330, 0);
    lit(100, "AcDbSymbolTable");
    integer(70, count);
}

void Writer::tables()
{
    lit(0, "SECTION");
    lit(2, "TABLES");
    vportTable();
    linetypeTable();
    layerTable();
    styleTable();
    viewAndUcsTables();
    appidTable();
    dimstyleTable();
    blockRecordTable();
    lit(0, "ENDSEC");
}

// The active viewport shows the extents; the others go back as read.
void Writer::vportTable()
{
    const quint64 vt = structural("TABLE:VPORT");
    tableHead("VPORT", vt, 1 + keptCount("VPORT"));
    recordHead("VPORT", structural("VPORT:*ACTIVE"), vt, "AcDbViewportTableRecord");
    lit(2, "*ACTIVE");
    integer(70, 0);
    num(10, 0);
    num(20, 0);
    num(11, 1);
    num(21, 1);
    const Box ext = ext_.valid() ? ext_ : Box{0, 0, 100, 100};
    // halves first: extents near both ends of the numbers have a centre, and a height of at most the largest number
    num(12, ext.minX / 2 + ext.maxX / 2);
    num(22, ext.minY / 2 + ext.maxY / 2);
    num(40, std::clamp(ext.maxY - ext.minY, 1.0, std::numeric_limits<double>::max()));
    num(41, 1.5);
    keptTable("VPORT");
    lit(0, "ENDTAB");
}

void Writer::linetypeTable()
{
    const quint64 lt = structural("TABLE:LTYPE");
    tableHead("LTYPE", lt, doc_.Linetypes().Count() + 2);
    linetypeRecord(lt, structural("LTYPE:BYBLOCK"), QStringLiteral("ByBlock"), QString(), {}, {});
    linetypeRecord(lt, structural("LTYPE:BYLAYER"), QStringLiteral("ByLayer"), QString(), {}, {});
    for (Linetype& l : doc_.Linetypes().items())
        linetypeRecord(lt, handleOf(l), l.Name, l.Description, l.pattern, l.elements);
    lit(0, "ENDTAB");
}

void Writer::linetypeRecord(quint64 table, quint64 h, const QString& name, const QString& desc,
                            const std::vector<double>& pattern, const std::vector<LinetypeElement>& elements)
{
    recordHead("LTYPE", h, table, "AcDbLinetypeTableRecord");
    str(2, name);
    integer(70, 0);
    str(3, desc);
    integer(72, 65);
    integer(73, int(pattern.size()));
    double total = 0;
    for (double d : pattern)
        total += std::abs(d);
    num(40, total);
    const bool complete = elements.size() == pattern.size();
    for (size_t i = 0; i < pattern.size(); ++i) {
        num(49, pattern[i]);
        const KeptGroups none;
        const KeptGroups& el = complete ? elements[i].groups : none;
        const bool shaped = std::any_of(el.begin(), el.end(), [](const KeptGroup& k) {
            return k.code == 74 && k.value.trimmed().toInt() != 0;
        });
        if (!r2000_ && !shaped)
            continue;
        if (el.empty()) {
            integer(74, 0);
            continue;
        }
        for (const KeptGroup& k : el) {
            // the style by its handle in this drawing
            TextStyle* st = k.code == 340 && !elements[i].style.isEmpty()
                ? doc_.TextStyles().find(elements[i].style) : nullptr;
            if (st)
                hex(340, handleOf(*st));
            else
                bytes(k.code, k.value);
        }
    }
}

void Writer::layerTable()
{
    const quint64 la = structural("TABLE:LAYER");
    tableHead("LAYER", la, doc_.Layers().Count());
    for (Layer& l : doc_.Layers().items()) {
        recordHead("LAYER", handleOf(l), la, "AcDbLayerTableRecord");
        str(2, l.Name);
        integer(70, (l.Freeze ? 1 : 0) | (l.Lock ? 4 : 0));
        integer(62, l.LayerOn ? l.Color : -l.Color);
        str(6, doc_.Linetypes().contains(l.Linetype) ? l.Linetype : QStringLiteral("Continuous"));
        if (r2000_)
            integer(370, -3);
    }
    lit(0, "ENDTAB");
}

void Writer::styleTable()
{
    const quint64 st = structural("TABLE:STYLE");
    tableHead("STYLE", st, doc_.TextStyles().Count());
    for (TextStyle& s : doc_.TextStyles().items()) {
        recordHead("STYLE", handleOf(s), st, "AcDbTextStyleTableRecord");
        str(2, s.isShapeFile() ? QString() : s.Name); // a shape file has no name in the file
        integer(70, s.flags);
        num(40, s.height);
        num(41, s.widthFactor);
        num(50, s.oblique * kRad);
        integer(71, s.generation);
        num(42, s.lastHeight);
        str(3, s.fontFile);
        str(4, s.bigFontFile);
    }
    lit(0, "ENDTAB");
}

// Tables the host does not model, as read.
void Writer::viewAndUcsTables()
{
    tableHead("VIEW", structural("TABLE:VIEW"), keptCount("VIEW"));
    keptTable("VIEW");
    lit(0, "ENDTAB");
    tableHead("UCS", structural("TABLE:UCS"), keptCount("UCS"));
    keptTable("UCS");
    lit(0, "ENDTAB");
}

void Writer::appidTable()
{
    const quint64 ap = structural("TABLE:APPID");
    tableHead("APPID", ap, doc_.RegisteredApplications().Count());
    for (RegisteredApplication& a : doc_.RegisteredApplications().items()) {
        recordHead("APPID", handleOf(a), ap, "AcDbRegAppTableRecord");
        str(2, a.Name);
        integer(70, 0);
    }
    lit(0, "ENDTAB");
}

void Writer::dimstyleTable()
{
    const quint64 ds = structural("TABLE:DIMSTYLE");
    // the file's own Standard, when it had one, stands for the host's
    bool ownStandard = true;
    if (auto it = doc_.kept().tableRecords.find(QStringLiteral("DIMSTYLE")); it != doc_.kept().tableRecords.end())
        for (const KeptRecord& r : it->second)
            for (const KeptGroup& k : r.groups)
                if (k.code == 2 && k.value.trimmed().compare("Standard", Qt::CaseInsensitive) == 0)
                    ownStandard = false;
    tableHead("DIMSTYLE", ds, keptCount("DIMSTYLE") + (ownStandard ? 1 : 0));
    lit(100, "AcDbDimStyleTable");
    integer(71, 0);
    if (ownStandard) {
        recordHead("DIMSTYLE", structural("DIMSTYLE:STANDARD"), ds, "AcDbDimStyleTableRecord", 105);
        lit(2, "Standard");
        integer(70, 0);
    }
    keptTable("DIMSTYLE");
    lit(0, "ENDTAB");
}

void Writer::blockRecordTable()
{
    const quint64 br = structural("TABLE:BLOCK_RECORD");
    std::vector<Block*> all{&doc_.ModelSpace(), &doc_.PaperSpace()};
    for (Block* b : doc_.blocks())
        all.push_back(b);
    tableHead("BLOCK_RECORD", br, int(all.size()));
    for (Block* b : all) {
        recordHead("BLOCK_RECORD", b->recordHandle, br, "AcDbBlockTableRecord");
        str(2, b->Name());
        if (r2000_)
            kept(b->recordGroups);
    }
    lit(0, "ENDTAB");
}

void Writer::blocks()
{
    lit(0, "SECTION");
    lit(2, "BLOCKS");
    block(doc_.ModelSpace(), false);
    block(doc_.PaperSpace(), true);
    for (Block* b : doc_.blocks())
        block(*b, false);
    lit(0, "ENDSEC");
}

void Writer::block(Block& b, bool paper)
{
    const QString layer = QStringLiteral("0");
    partHead("BLOCK", b.beginHandle, b.recordHandle, paper, layer);
    lit(100, "AcDbBlockBegin");
    str(2, b.Name());
    integer(70, b.flags);
    point(10, b.Origin().x, b.Origin().y, b.Origin().z);
    str(3, b.Name());
    str(1, QString());
    if (!b.isModelSpace() && &b != &doc_.PaperSpace())
        for (Entity* e : b.entities())
            entity(*e, b.recordHandle, false);
    partHead("ENDBLK", b.endHandle, b.recordHandle, paper, layer);
    lit(100, "AcDbBlockEnd");
}

void Writer::xdata(const XData& x)
{
    for (const XDataItem& it : x) {
        switch (xdataValueKind(it.code)) {
        case ValueKind::Real:
            num(it.code, it.value.toDouble());
            break;
        case ValueKind::Int:
            integer(it.code, it.value.toLongLong());
            break;
        case ValueKind::Point: {
            const QVariantList l = it.value.toList();
            num(it.code, l.value(0).toDouble());
            num(it.code + 10, l.value(1).toDouble());
            num(it.code + 20, l.value(2).toDouble());
            break;
        }
        default:
            str(it.code, it.value.toString());
        }
    }
}

void Writer::entity(Entity& e, quint64 owner, bool paper)
{
    commonGroups(e, owner, paper);
    if (e.kind() == EntityKind::Foreign) {
        foreign(e);
        return;
    }
    bool xdataWritten = false;
    for (const dxf::Group& g : dxf::kindGroups(e.kind()).groups)
        if (!g.readOnly && (!g.when || g.when(e.data())))
            xdataWritten = writeGroup(g, e, paper) || xdataWritten;
    if (!xdataWritten)
        xdata(e.GetXData(QString()));
}

void Writer::commonGroups(Entity& e, quint64 owner, bool paper)
{
    const Entity::Data& d = e.data();
    const bool foreign = e.kind() == EntityKind::Foreign;
    // The kind as bytes: a kept foreign kind may hold any byte, NUL included.
    bytes(0, e.dxfName().toLatin1());
    for (const dxf::CommonGroup& g : dxf::kCommonGroups) {
        switch (g.what) {
        case dxf::Common::Handle:
            hex(g.code, e.handleValue());
            appGroups(d.rare().appGroups);
            hex(330, owner);
            if (!foreign || d.rare().foreignSubclassed)
                lit(100, "AcDbEntity");
            break;
        case dxf::Common::PaperSpace:
            if (paper)
                integer(g.code, 1);
            break;
        case dxf::Common::Layer: str(g.code, e.Layer()); break;
        case dxf::Common::Linetype:
            if (e.Linetype() != QLatin1String("ByLayer"))
                str(g.code, e.Linetype());
            break;
        case dxf::Common::Colour:
            if (e.Color() != ColorByLayer)
                integer(g.code, e.Color());
            break;
        case dxf::Common::Lineweight:
            if (r2000_ && d.lineweight != -1 && !foreign)
                integer(g.code, d.lineweight);
            break;
        case dxf::Common::LinetypeScale:
            if (d.ltscale != 1 && !foreign)
                num(g.code, d.ltscale);
            break;
        case dxf::Common::Visibility:
            if (!e.Visible())
                integer(g.code, 1);
            break;
        }
    }
}

// Writes one group of a kind; true when it wrote the entity's extended data
// (before the records that follow the entity).
bool Writer::writeGroup(const dxf::Group& g, Entity& e, bool paper)
{
    using dxf::Value;
    const Entity::Data& d = e.data();
    switch (g.value) {
    case Value::Marker: lit(g.code, g.marker); break;
    case Value::Fixed: integer(g.code, int(g.fallback)); break;
    case Value::Real:
    case Value::Angle: {
        const double v = static_cast<const double*>(g.field.get(d))[g.index];
        if (!g.omitDefault || v != g.fallback)
            num(g.code, g.value == Value::Angle ? v * kRad : v);
        break;
    }
    case Value::Int: {
        const int v = *static_cast<const int*>(g.field.get(d));
        if (!g.omitDefault || v != int(g.fallback))
            integer(g.code, (v & g.mask) | g.bits);
        break;
    }
    case Value::Text:
    case Value::Name: str(g.code, *static_cast<const QString*>(g.field.get(d))); break;
    case Value::Handle: hex(g.code, *static_cast<const quint64*>(g.field.get(d))); break;
    case Value::Vertex: {
        const Vertex& v = d.v[size_t(g.index)];
        point(g.code, v.x, v.y, v.z);
        break;
    }
    case Value::Point: {
        const Point& p = *static_cast<const Point*>(g.field.get(d));
        point(g.code, p.x, p.y, p.z);
        break;
    }
    case Value::ElevationPoint: point(g.code, 0, 0, *static_cast<const double*>(g.field.get(d))); break;
    case Value::OriginPoint: point(g.code, 0, 0, 0); break;
    case Value::VertexCount: integer(g.code, int(d.v.size())); break;
    case Value::Special: return writeSpecial(g.special, e, paper);
    }
    return false;
}

// What only one kind has; true when it wrote the extended data.
bool Writer::writeSpecial(dxf::Special s, Entity& e, bool paper)
{
    const Entity::Data& d = e.data();
    using dxf::Special;
    switch (s) {
    case Special::MTextString: mtextString(d.placed().text); break;
    case Special::MTextExtras: raw(d.rare().extra); break;
    case Special::LwPolylineVertices: lwPolylineVertices(d); break;
    case Special::PolylineWidth:
        if (e.kind() == EntityKind::Polyline2d && d.constWidth != 0) {
            num(40, d.constWidth);
            num(41, d.constWidth);
        }
        break;
    case Special::PolylineVertices: polylineVertices(e, paper); return true;
    case Special::AttributesFollow:
        if (!d.rare().attribs.empty())
            integer(66, 1);
        break;
    case Special::BlockAttributes: return blockAttributes(e, paper);
    case Special::ImageDefinition: hex(340, d.rare().imageDefHandle); break;
    case Special::ImageClipBoundary: imageClipBoundary(d.rare()); break;
    case Special::RegionBody: regionBody(d.rare()); break;
    case Special::None: break;
    }
    return false;
}

// Texts longer than 250 characters go out in 3-groups first.
void Writer::mtextString(const QString& t)
{
    int pos = 0;
    while (t.size() - pos > 250) {
        str(3, t.mid(pos, 250));
        pos += 250;
    }
    str(1, t.mid(pos));
}

void Writer::lwPolylineVertices(const Entity::Data& d)
{
    const bool uniform = dxf::uniformWidth(d);
    for (const Vertex& v : d.v) {
        num(10, v.x);
        num(20, v.y);
        if (!uniform) {
            num(40, v.startWidth);
            num(41, v.endWidth);
        }
        if (v.bulge != 0)
            num(42, v.bulge);
    }
}

// The opening groups of a record that belongs to another (a VERTEX or
// SEQEND to its entity, a block's ends to its record): its handle, its
// owner, its space and layer.
void Writer::partHead(const char* type, quint64 handle, quint64 owner, bool paper, const QString& layer)
{
    lit(0, type);
    hex(5, handle);
    hex(330, owner);
    lit(100, "AcDbEntity");
    if (paper)
        integer(67, 1);
    str(8, layer);
}

// The extended data, then a spline fit's curve first (flag 8) and its frame,
// as ezdxf and the program that made the format write them, then SEQEND.
void Writer::polylineVertices(Entity& e, bool paper)
{
    const Entity::Data& d = e.data();
    const EntityRare& rare = d.rare();
    const bool is3d = e.kind() == EntityKind::Polyline3d;
    xdata(e.GetXData(QString()));
    const size_t fits = (d.polyFlags & 4) ? rare.fit.size() : 0;
    for (size_t i = 0; i < fits + d.v.size(); ++i) {
        const bool fitted = i < fits;
        const Vertex& v = fitted ? rare.fit[i] : d.v[i - fits];
        partHead("VERTEX", rare.subHandles[i], e.handleValue(), paper, e.Layer());
        lit(100, "AcDbVertex");
        lit(100, is3d ? "AcDb3dPolylineVertex" : "AcDb2dVertex");
        point(10, v.x, v.y, is3d ? v.z : d.elevation);
        if (!is3d) {
            if (v.startWidth != 0)
                num(40, v.startWidth);
            if (v.endWidth != 0)
                num(41, v.endWidth);
            if (v.bulge != 0)
                num(42, v.bulge);
        }
        const size_t k = i - fits;
        const int vf = fitted ? 8 : (k < rare.vertexFlags.size() ? rare.vertexFlags[k] : 0);
        integer(70, is3d ? (vf | 32) : vf);
    }
    partHead("SEQEND", rare.subHandles.back(), e.handleValue(), paper, e.Layer());
}

// The extended data, then the ATTRIB records as read and SEQEND; nothing
// for a reference without attributes.
bool Writer::blockAttributes(Entity& e, bool paper)
{
    const EntityRare& rare = e.data().rare();
    if (rare.attribs.empty())
        return false;
    xdata(e.GetXData(QString()));
    for (size_t i = 0; i < rare.attribs.size(); ++i) {
        lit(0, "ATTRIB");
        hex(5, rare.subHandles[i]);
        hex(330, e.handleValue());
        raw(rare.attribs[i]);
    }
    partHead("SEQEND", rare.subHandles.back(), e.handleValue(), paper, e.Layer());
    return true;
}

// Without a clip of its own, the whole picture.
void Writer::imageClipBoundary(const EntityRare& rare)
{
    if (rare.clip.empty()) {
        integer(91, 2);
        num(14, -0.5);
        num(24, -0.5);
        num(14, rare.pixelsW - 0.5);
        num(24, rare.pixelsH - 0.5);
        return;
    }
    integer(91, int(rare.clip.size()));
    for (const Pt2& p : rare.clip) {
        num(14, p.x);
        num(24, p.y);
    }
}

// The body as read, or made from the outline.
void Writer::regionBody(const EntityRare& rare)
{
    if (!rare.extra.empty() || rare.regionLoops.empty()) {
        raw(rare.extra);
        return;
    }
    for (const QString& line : regionBodyLines(rare.regionLoops)) {
        // a line longer than a group holds goes on in 3 groups
        str(1, line.left(255));
        for (qsizetype at = 255; at < line.size(); at += 255)
            str(3, line.mid(at, 255));
    }
}

// A kind the host does not model: its groups as read, then its parts with
// their handle, owner and layer those of the entity.
void Writer::foreign(Entity& e)
{
    const EntityRare& rare = e.data().rare();
    kept(rare.foreignBody);
    xdata(e.GetXData(QString()));
    for (size_t i = 0; i < rare.foreignParts.size(); ++i)
        foreignPart(e, rare.foreignParts[i], rare.subHandles[i]);
}

void Writer::foreignPart(Entity& e, const KeptRecord& part, quint64 handle)
{
    bytes(0, part.type);
    bool handled = false, owned = false, layered = false, marked = false;
    if (std::none_of(part.groups.begin(), part.groups.end(), [](const KeptGroup& k) { return k.code == 5; })) {
        hex(5, handle); // a file without handles
        hex(330, e.handleValue());
        handled = owned = true;
    }
    for (const KeptGroup& k : part.groups) {
        if (k.code == 100)
            marked = true;
        if (k.code == 5 && !handled) {
            hex(5, handle);
            handled = true;
        } else if (k.code == 330 && !owned && !marked) {
            hex(330, e.handleValue());
            owned = true;
        } else if (k.code == 8 && !layered) {
            str(8, e.Layer());
            layered = true;
        } else {
            bytes(k.code, k.value);
        }
    }
}

void Writer::objects()
{
    const quint64 root = structural(QStringLiteral("DICT:ROOT"));
    const quint64 groupDict = structural(QStringLiteral("DICT:ACAD_GROUP"));
    lit(0, "SECTION");
    lit(2, "OBJECTS");
    lit(0, "DICTIONARY");
    hex(5, root);
    hex(330, 0);
    lit(100, "AcDbDictionary");
    integer(281, 1);
    lit(3, "ACAD_GROUP");
    hex(350, groupDict);
    quint64 imageDict = 0;
    if (!images_.empty()) {
        imageDict = structural(QStringLiteral("DICT:ACAD_IMAGE_DICT"));
        lit(3, "ACAD_IMAGE_DICT");
        hex(350, imageDict);
    }
    kept(doc_.kept().rootEntries);
    groupObjects(groupDict, root);
    if (!images_.empty())
        imageObjects(imageDict, root);
    keptObjects();
    lit(0, "ENDSEC");
}

void Writer::groupObjects(quint64 groupDict, quint64 root)
{
    lit(0, "DICTIONARY");
    hex(5, groupDict);
    hex(330, root);
    lit(100, "AcDbDictionary");
    integer(281, 1);
    for (Group* g : doc_.groups()) {
        str(3, g->Name());
        hex(350, g->handle);
    }
    for (Group* g : doc_.groups()) {
        lit(0, "GROUP");
        hex(5, g->handle);
        hex(330, groupDict);
        lit(100, "AcDbGroup");
        str(300, g->description);
        integer(70, g->Name().startsWith(QLatin1Char('*')) ? 1 : 0);
        integer(71, 1);
        for (Entity* e : g->entities())
            hex(340, e->handleValue());
    }
}

// The image dictionary, then each image's definition and its reactor.
void Writer::imageObjects(quint64 imageDict, quint64 root)
{
    lit(0, "DICTIONARY");
    hex(5, imageDict);
    hex(330, root);
    lit(100, "AcDbDictionary");
    integer(281, 1);
    for (Entity* e : images_) {
        QString name = QFileInfo(QString(e->data().placed().text).replace(QLatin1Char('\\'), QLatin1Char('/'))).completeBaseName();
        if (name.isEmpty())
            name = QStringLiteral("IMAGE");
        str(3, name + QLatin1Char('_') + e->Handle());
        hex(350, e->data().rare().imageDefHandle);
    }
    for (Entity* e : images_) {
        const auto& d = e->data();
        lit(0, "IMAGEDEF");
        hex(5, d.rare().imageDefHandle);
        lit(102, "{ACAD_REACTORS");
        hex(330, d.rare().imageReactorHandle);
        lit(102, "}");
        hex(330, imageDict);
        lit(100, "AcDbRasterImageDef");
        integer(90, 0);
        str(1, d.placed().text);
        num(10, d.rare().pixelsW);
        num(20, d.rare().pixelsH);
        num(11, 1);
        num(21, 1);
        integer(280, 1);
        integer(281, 0);
        lit(0, "IMAGEDEF_REACTOR");
        hex(5, d.rare().imageReactorHandle);
        hex(330, e->handleValue());
        lit(100, "AcDbRasterImageDefReactor");
        integer(90, 2);
        hex(330, e->handleValue());
    }
}

// The file's other objects, less those whose owner is gone (an extension
// dictionary of a deleted entity, and what that dictionary held).
void Writer::keptObjects()
{
    const std::vector<KeptRecord>& objs = doc_.kept().objects;
    std::vector<quint64> handles(objs.size()), owners(objs.size());
    for (size_t i = 0; i < objs.size(); ++i) {
        bool inside = false;
        for (const KeptGroup& k : objs[i].groups) {
            if (k.code == 5 && !handles[i])
                handles[i] = handleIn(k.value);
            else if (k.code == 102)
                inside = k.value.trimmed().startsWith('{');
            else if (k.code == 330 && !inside) {
                owners[i] = handleIn(k.value);
                break;
            }
        }
    }
    std::vector<bool> drop(objs.size());
    std::unordered_set<quint64> dropped;
    for (bool more = true; more;) {
        more = false;
        for (size_t i = 0; i < objs.size(); ++i)
            if (!drop[i] && (doc_.isGone(owners[i]) || (owners[i] && dropped.count(owners[i])))) {
                drop[i] = true;
                if (handles[i])
                    dropped.insert(handles[i]);
                more = true;
            }
    }
    for (size_t i = 0; i < objs.size(); ++i)
        if (!drop[i])
            record(objs[i]);
}

void Writer::run()
{
    // Handles and extents first: the header names the handle seed and the extents.
    allocate();
    for (Entity* e : doc_.ModelSpace().entities())
        ext_.add(e->box());
    header();
    classes();
    tables();
    blocks();
    lit(0, "SECTION");
    lit(2, "ENTITIES");
    for (Entity* e : doc_.ModelSpace().entities())
        entity(*e, doc_.ModelSpace().recordHandle, false);
    for (Entity* e : doc_.PaperSpace().entities())
        entity(*e, doc_.PaperSpace().recordHandle, true);
    lit(0, "ENDSEC");
    objects();
    lit(0, "EOF");
    out_(b_);
    b_.resize(0);
}

} // namespace

QByteArray dxfBytes(Document& doc, DrawingFormat format)
{
    QByteArray all;
    Writer(doc, format, [&all](const QByteArray& piece) { all += piece; }).run();
    return all;
}

void writeDxf(Document& doc, const QString& path, DrawingFormat format)
{
    try {
        AtomicFile file(paths::resolve(path));
        const FileProgress& progress = fileProgress();
        qint64 done = 0;
        Writer(doc, format, [&](const QByteArray& piece) {
            file.write(piece);
            done += piece.size();
            if (progress)
                progress(done, 0);
        }).run();
        file.commit();
    } catch (const RunError& e) {
        fault(fail::Failed, QStringLiteral("cannot write \"%1\": %2").arg(path, e.description()));
    }
}

} // namespace kelvor::cad
