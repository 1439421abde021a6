#include "cad/dxf/dxf.h"

#include "cad/dxf/dxf_text.h"
#include "cad/dxf/entity_groups.h"
#include "cad/dxf/region_body.h"
#include "platform/text_file.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <map>
#include <optional>
#include <unordered_map>

#if defined(Q_OS_LINUX)
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace kelvor::cad {

namespace {

constexpr double kDeg = M_PI / 180.0;

struct Pair {
    int code = 0;
    QByteArrayView value;
    int line = 0; // line of the group code
};

QString head(QByteArrayView v)
{
    return QString::fromLatin1(v.first(std::min<qsizetype>(v.size(), 40)));
}

QString caretDecode(const QString& s)
{
    if (!s.contains(QLatin1Char('^')))
        return s;
    QString out;
    for (int i = 0; i < s.size(); ++i) {
        // Only "^ " and "^@".."^_" are escapes; any other caret is itself.
        const QChar n = i + 1 < s.size() ? s[i + 1] : QChar();
        if (s[i] == QLatin1Char('^') && (n == QLatin1Char(' ') || (n >= QLatin1Char('@') && n <= QLatin1Char('_')))) {
            out += n == QLatin1Char(' ') ? QLatin1Char('^') : QChar(n.unicode() - 64);
            ++i;
        } else
            out += s[i];
    }
    return out;
}

// The kinds the host models, by their DXF type; any other is kept as read.
std::optional<EntityKind> modelledKind(QByteArrayView type)
{
    static const std::pair<const char*, EntityKind> kinds[] = {
        {"LINE", EntityKind::Line},
        {"POINT", EntityKind::Point},
        {"CIRCLE", EntityKind::Circle},
        {"ARC", EntityKind::Arc},
        {"TEXT", EntityKind::Text},
        {"MTEXT", EntityKind::MText},
        {"LWPOLYLINE", EntityKind::LwPolyline},
        {"POLYLINE", EntityKind::Polyline2d},
        {"INSERT", EntityKind::BlockReference},
        {"REGION", EntityKind::Region},
        {"IMAGE", EntityKind::RasterImage},
    };
    for (const auto& [name, kind] : kinds)
        if (type == name)
            return kind;
    return std::nullopt;
}

// Fills a group's field (its element, in an array).
template <class T>
void put(const dxf::Group& g, Entity::Data& d, T value)
{
    static_cast<T*>(g.field.fill(d))[g.index] = std::move(value);
}

template <class P>
double& component(P& p, int c)
{
    return c == 0 ? p.x : c == 1 ? p.y : p.z;
}

class Reader {
public:
    // mapped: the bytes are a file's pages mapped read-only, which may be
    // given back once read
    Reader(const QByteArray& bytes, const QString& name, bool mapped = false)
        : data_(bytes)
        , name_(name)
        , mapped_(mapped)
    {
    }
    std::unique_ptr<Document> run(DocumentHost* app);

private:
    [[noreturn]] void error(int line, const QString& what) const
    {
        fault(fail::Failed, QStringLiteral("%1, line %2: %3").arg(name_).arg(line).arg(what));
    }

    QByteArrayView readLine()
    {
        const qsizetype n = data_.size();
        const char* p = data_.constData();
        const qsizetype start = pos_;
        qsizetype i = pos_;
        while (i < n && p[i] != '\n' && p[i] != '\r')
            ++i;
        QByteArrayView v(p + start, i - start);
        if (i < n && p[i] == '\r')
            ++i;
        if (i < n && p[i] == '\n')
            ++i;
        pos_ = i;
        ++line_;
        return v;
    }

    // The next pair; false at the end of the data.
    bool next(Pair& out)
    {
        if (pushed_) {
            out = back_;
            pushed_ = false;
            return true;
        }
        if (pos_ >= data_.size())
            return false;
        QByteArrayView c = readLine().trimmed();
        const int line = line_;
        int code = 0;
        auto r = std::from_chars(c.data(), c.data() + c.size(), code);
        if (c.isEmpty() || r.ec != std::errc() || r.ptr != c.data() + c.size())
            error(line, QStringLiteral("a group code was expected, found \"%1\"").arg(head(c)));
        if (pos_ >= data_.size())
            error(line, QStringLiteral("the file ends after group code %1 without its value").arg(code));
        out.code = code;
        out.value = readLine();
        out.line = line;
        if (pos_ >= reportAt_)
            report();
        // No text line of a drawing holds a NUL: such bytes come from a
        // damaged file, and kept content would carry them into the next save.
        if (out.value.contains('\0'))
            error(line + 1, QStringLiteral("the value of group %1 holds a NUL byte").arg(code));
        return true;
    }
    Pair must()
    {
        Pair p;
        if (!next(p))
            error(line_, QStringLiteral("the file ends before its EOF marker"));
        return p;
    }
    void pushBack(const Pair& p)
    {
        back_ = p;
        pushed_ = true;
    }

    QString text(const Pair& p) const
    {
        bool ascii = true;
        for (char c : p.value)
            if (uchar(c) >= 0x80) {
                ascii = false;
                break;
            }
        // Bytes that are no text would come back as "?" when the drawing
        // is saved, which can turn a good name into a bad one.
        const std::optional<QString> s =
            ascii ? std::optional(decodeUnicodeEscapes(QString::fromLatin1(p.value))) : codec_.decode(p.value);
        if (!s)
            notText(p);
        return caretDecode(*s);
    }
    // Layer, linetype and style names repeat from entity to entity: their
    // texts are made once and shared.
    QString name(const Pair& p)
    {
        for (const auto& [bytes, text] : names_)
            if (bytes == p.value)
                return text;
        QString t = text(p);
        if (names_.size() < 64)
            names_.push_back({p.value.toByteArray(), t});
        return t;
    }
    [[noreturn]] void notText(const Pair& p) const
    {
        error(p.line + 1,
              QStringLiteral("\"%1\" is not %2 text (group %3)").arg(head(p.value)).arg(codec_.name()).arg(p.code));
    }
    // A group's bytes kept to be written back: a drawing of another encoding
    // is saved as GBK.
    QByteArray keep(const Pair& p, bool trimmed = false) const
    {
        const QByteArrayView v = trimmed ? p.value.trimmed() : p.value;
        if (codec_.isGbk())
            return v.toByteArray();
        for (char c : v)
            if (uchar(c) >= 0x80) {
                const std::optional<QString> s = codec_.decodeCharacters(v);
                if (!s)
                    notText(p);
                return encodeDxfGbk(*s);
            }
        return v.toByteArray();
    }
    double real(const Pair& p) const
    {
        QByteArrayView v = p.value.trimmed();
        double d = 0;
        auto r = std::from_chars(v.data(), v.data() + v.size(), d);
        if (v.isEmpty() || r.ec != std::errc() || r.ptr != v.data() + v.size()) {
            if (v.startsWith('+')) // from_chars refuses a plus sign
                r = std::from_chars(v.data() + 1, v.data() + v.size(), d);
            if (r.ec != std::errc() || r.ptr != v.data() + v.size())
                error(p.line + 1, QStringLiteral("\"%1\" is not a number (group %2)").arg(head(v)).arg(p.code));
        }
        // inf and nan would hang or poison every computation that meets them
        if (!std::isfinite(d))
            error(p.line + 1, QStringLiteral("\"%1\" is not a finite number (group %2)").arg(head(v)).arg(p.code));
        return d;
    }
    long long integer(const Pair& p) const
    {
        QByteArrayView v = p.value.trimmed();
        long long i = 0;
        auto r = std::from_chars(v.data(), v.data() + v.size(), i);
        if (v.isEmpty() || r.ec != std::errc() || r.ptr != v.data() + v.size()) {
            const double d = real(p); // some writers put 1.0 into integer groups
            if (!(d > -9.2e18 && d < 9.2e18))
                error(p.line + 1, QStringLiteral("\"%1\" is out of range (group %2)").arg(head(p.value)).arg(p.code));
            return (long long)d;
        }
        return i;
    }
    quint64 handle(const Pair& p) const
    {
        bool ok = false;
        const quint64 h = QString::fromLatin1(p.value.trimmed()).toULongLong(&ok, 16);
        if (!ok)
            error(p.line + 1, QStringLiteral("\"%1\" is not a handle").arg(head(p.value)));
        return h;
    }
    bool is(const Pair& p, const char* s) const { return p.value.trimmed() == QByteArrayView(s); }

    // Reads the groups of one object up to (not including) the next 0.
    void collect(std::vector<Pair>& out)
    {
        out.clear();
        Pair p;
        while (true) {
            p = must();
            if (p.code == 0) {
                pushBack(p);
                return;
            }
            out.push_back(p);
        }
    }

    // The next record of a section (of the given type, when one is given)
    // with its groups in g_; false at the section's end.
    bool nextRecord(Pair& p, const char* type = nullptr)
    {
        while (true) {
            p = must();
            if (p.code == 0 && is(p, "ENDSEC"))
                return false;
            if (p.code == 0 && (!type || is(p, type))) {
                collect(g_);
                return true;
            }
        }
    }

    KeptGroups keptOf(const std::vector<Pair>& g) const
    {
        KeptGroups out;
        out.reserve(g.size());
        for (const Pair& q : g)
            out.push_back({q.code, keep(q)});
        return out;
    }
    KeptGroups takeAppGroups(std::vector<Pair>& g) const;
    // The groups of a SEQEND record; its handle (the last one given), 0 for
    // none.
    quint64 seqendHandle()
    {
        collect(sub_);
        quint64 h = 0;
        for (const Pair& q : sub_)
            if (q.code == 5)
                h = handle(q);
        return h;
    }
    // The parts' handles are reserved; the entity keeps them only when every
    // part had one.
    void keepSubHandles(Entity::Data& d, const std::vector<quint64>& subs)
    {
        bool allKnown = true;
        for (quint64 s : subs) {
            if (!s)
                allKnown = false;
            else
                doc_->reserveHandle(s);
        }
        if (allKnown && !subs.empty())
            d.rareMut().subHandles = subs;
    }
    void keepTop(quint64 h)
    {
        doc_->kept().top = std::max(doc_->kept().top, h);
    }

    void header();
    void classes();
    void tables();
    void tableRecord(const Pair& r);
    void layerRecord(const QString& name, quint64 h);
    void linetypeRecord(const QString& name, quint64 h);
    void styleRecord(const QString& name, quint64 h);
    void blockRecord(const QString& name, quint64 h);
    void linetypeStyles();
    void blocks();
    void entities(Block& target, const char* endMarker);
    void objects();
    void skipSection();
    bool entity(const Pair& start, Block& target);

    // The common groups of an entity as read.
    struct CommonValues {
        quint64 handle = 0;
        bool paper = false;
        QString layer = QStringLiteral("0"), linetype = QStringLiteral("ByLayer");
        int color = ColorByLayer;
        bool visible = true;
        double ltscale = 1;
        int lineweight = -1;
    };
    // What reading one entity notes beside its data, for its kind's own parts.
    struct Reading {
        const dxf::KindGroups& kind;
        bool follows = false, widthsSeen = false, has40 = false, has41 = false;
        double w40 = 0, w41 = 0;
    };
    size_t commonGroups(CommonValues& c);
    bool modelled(EntityKind& kind, size_t xstart);
    Entity* place(const Pair& start, Block& target, EntityKind kind, const CommonValues& c, KeptGroups app);
    void readGroup(const dxf::Group& g, const Pair& q, Entity::Data& d, Reading& r);
    void readSpecial(dxf::Special s, const Pair& q, Entity::Data& d, Reading& r);
    void afterGroups(dxf::Special s, Entity* e, Reading& r, const Pair& start);
    void mtextExtras(const Pair& q, Entity::Data& d);
    void lwPolylineVertices(const Pair& q, Entity::Data& d, Reading& r);
    void lwPolylineWidths(Entity::Data& d, const Reading& r, const Pair& start);
    void polylineWidth(const Pair& q, Reading& r);
    void polylineVertices(Entity::Data& d, const Reading& r);
    void blockAttributes(Entity::Data& d);
    void imageDefinition(Entity* e);
    void imageClipBoundary(const Pair& q, Entity::Data& d);
    void regionBody(Entity::Data& d);
    bool foreign(const Pair& start, Block& target, KeptGroups app);
    void foreignParts(Entity::Data& d, const QByteArray& type);
    XData xdataFrom(const std::vector<Pair>& g, size_t from) const;
    void keepHandle(Entity* e, quint64 h, int line);

    const QByteArray& data_;
    QString name_;
    void report()
    {
        constexpr qsizetype Step = 1 << 20;
        reportAt_ = pos_ + Step;
        dropBehind(Step);
        if (const FileProgress& progress = fileProgress())
            progress(pos_, data_.size());
    }

    // Pages of a mapped file read more than `keep` bytes ago leave the
    // process (touched again, they come back from the file): reading costs
    // the drawing's memory, not the file's too.
    void dropBehind(qsizetype keep)
    {
#if defined(Q_OS_LINUX)
        static const qsizetype page = sysconf(_SC_PAGESIZE);
        const qsizetype upTo = (pos_ - keep) / page * page;
        if (mapped_ && upTo > dropped_) {
            madvise(const_cast<char*>(data_.constData()) + dropped_, size_t(upTo - dropped_), MADV_DONTNEED);
            dropped_ = upTo;
        }
#else
        Q_UNUSED(keep);
#endif
    }

    bool mapped_ = false;
    qsizetype dropped_ = 0;
    qsizetype pos_ = 0;
    qsizetype reportAt_ = 1 << 20;
    int line_ = 0;
    Pair back_;
    bool pushed_ = false;
    std::unique_ptr<Document> doc_;
    std::vector<Pair> g_, sub_;
    std::unordered_map<quint64, Entity*> images_; // imagedef handle -> image
    quint64 seed_ = 0;
    std::vector<std::pair<QString, QString>> pendingVars_;
    // the entities hold their names as read until the tables are complete
    std::vector<Entity*> pendingNames_;
    std::vector<Entity*> pendingXData_;
    std::map<QString, quint64> recordHandles_;
    std::map<QString, KeptGroups> recordGroups_; // block record groups after the name
    std::vector<std::pair<QString, quint64>> styleRefs_; // linetype, text style handle of its elements
    EntityAccess raw_;
    DxfTextCodec codec_; // set from the header
    std::vector<std::pair<QByteArray, QString>> names_; // made with codec_ as it stands
};

XData Reader::xdataFrom(const std::vector<Pair>& g, size_t i) const
{
    XData x;
    for (; i < g.size(); ++i) {
        const Pair& p = g[i];
        if (p.code < 1000)
            continue;
        switch (xdataValueKind(p.code)) {
        case ValueKind::Real:
            x.push_back({p.code, real(p)});
            break;
        case ValueKind::Int:
            x.push_back({p.code, int(integer(p))});
            break;
        case ValueKind::Point: {
            QVariantList l{real(p), 0.0, 0.0};
            if (i + 1 < g.size() && g[i + 1].code == p.code + 10)
                l[1] = real(g[++i]);
            if (i + 1 < g.size() && g[i + 1].code == p.code + 20)
                l[2] = real(g[++i]);
            x.push_back({p.code, l});
            break;
        }
        default:
            x.push_back({p.code, text(p)});
        }
    }
    return x;
}

void Reader::keepHandle(Entity* e, quint64 h, int line)
{
    if (!h)
        return;
    if (doc_->findHandle(h) && doc_->findHandle(h) != e)
        error(line, QStringLiteral("the handle %1 is used twice").arg(QString::number(h, 16).toUpper()));
    doc_->assignHandle(e, h);
}

// Reactors and the extension dictionary: the 102 groups before the extended
// data, taken out of g.
KeptGroups Reader::takeAppGroups(std::vector<Pair>& g) const
{
    KeptGroups out;
    const auto app = std::find_if(g.begin(), g.end(), [](const Pair& q) { return q.code == 102 || q.code >= 1000; });
    if (app == g.end() || app->code != 102)
        return out; // most entities have none: nothing to take out
    std::vector<Pair> rest;
    bool inside = false;
    for (size_t i = 0; i < g.size(); ++i) {
        const Pair& q = g[i];
        if (q.code >= 1000) {
            rest.insert(rest.end(), g.begin() + i, g.end());
            break;
        }
        if (q.code == 102)
            inside = q.value.trimmed().startsWith('{');
        if (inside || q.code == 102)
            out.push_back({q.code, keep(q)});
        else
            rest.push_back(q);
    }
    if (!out.empty())
        g = std::move(rest);
    return out;
}

void Reader::classes()
{
    Pair p;
    while (nextRecord(p))
        doc_->kept().classes.push_back({keep(p, true), keptOf(g_)});
}

void Reader::skipSection()
{
    while (true) {
        Pair p = must();
        if (p.code == 0 && is(p, "ENDSEC"))
            return;
    }
}

// Header variables the host writes itself: the file's version, code page,
// extents and handle seed, and the system variables it keeps.
bool ownedVariable(const Document& doc, const QString& name)
{
    static const char* const written[] = {"ACADVER", "ACADMAINTVER", "DWGCODEPAGE", "EXTMIN", "EXTMAX", "HANDSEED"};
    for (const char* w : written)
        if (name == QLatin1String(w))
            return true;
    return doc.variables().count(name) > 0;
}

void Reader::header()
{
    QString name;
    bool named = false;
    QByteArray rawName;
    std::vector<Pair> vals;
    auto apply = [&]() {
        if (!named)
            return;
        if (!ownedVariable(*doc_, name)) {
            // kept as it came, for the next save
            KeptGroups& kept = doc_->kept().header;
            kept.push_back({9, rawName});
            for (const Pair& q : vals)
                kept.push_back({q.code, keep(q)});
            return;
        }
        if (vals.empty())
            return;
        if (name == QLatin1String("ACADVER")) {
            codec_.setVersion(vals[0].value);
            names_.clear();
        } else if (name == QLatin1String("DWGCODEPAGE")) {
            codec_.setCodePage(vals[0].value);
            names_.clear();
        } else if (name == QLatin1String("HANDSEED")) {
            seed_ = handle(vals[0]);
        } else if (name == QLatin1String("CECOLOR")) {
            const long long c = integer(vals[0]);
            doc_->SetVariable(QStringLiteral("CECOLOR"), c == 256 ? QStringLiteral("BYLAYER")
                                                                   : (c == 0 ? QStringLiteral("BYBLOCK") : QString::number(c)));
        } else if (name == QLatin1String("CLAYER") || name == QLatin1String("CELTYPE")
                   || name == QLatin1String("TEXTSTYLE")) {
            pendingVars_.push_back({name, text(vals[0])}); // once the tables are read
        } else {
            auto known = doc_->variables().find(name);
            if (known == doc_->variables().end())
                return; // written from the drawing itself
            if (known->second.typeId() == QMetaType::QVariantList) {
                QVariantList l{0.0, 0.0, 0.0};
                for (const Pair& q : vals)
                    if (q.code >= 10 && q.code <= 30 && q.code % 10 == 0)
                        l[q.code / 10 - 1] = real(q);
                doc_->SetVariable(name, l);
            } else if (known->second.typeId() == QMetaType::QString) {
                doc_->SetVariable(name, text(vals[0]));
            } else if (known->second.typeId() == QMetaType::Int) {
                const long long v = integer(vals[0]);
                if (v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max())
                    error(vals[0].line + 1,
                          QStringLiteral("\"%1\" is out of range (group %2)").arg(head(vals[0].value)).arg(vals[0].code));
                doc_->SetVariable(name, int(v));
            } else {
                doc_->SetVariable(name, real(vals[0]));
            }
        }
    };
    while (true) {
        const Pair p = must();
        if (p.code == 0) {
            apply();
            if (!is(p, "ENDSEC"))
                error(p.line, QStringLiteral("the header ends without ENDSEC"));
            return;
        }
        if (p.code == 9) {
            apply();
            name = text(p).trimmed().mid(1).toUpper();
            named = true;
            rawName = keep(p);
            vals.clear();
        } else {
            vals.push_back(p);
        }
    }
}

void Reader::tables()
{
    Pair p;
    while (nextRecord(p, "TABLE")) {
        QString table;
        quint64 tableHandle = 0;
        for (const Pair& q : g_) {
            if (q.code == 2 && table.isEmpty())
                table = text(q).trimmed().toUpper();
            else if (q.code == 5 && !tableHandle)
                tableHandle = handle(q);
        }
        if (tableHandle) {
            doc_->reserveHandle(tableHandle);
            doc_->structuralHandles()[QStringLiteral("TABLE:") + table] = tableHandle;
        }
        while (true) {
            Pair r = must();
            if (is(r, "ENDTAB"))
                break;
            if (is(r, "ENDSEC"))
                error(r.line, QStringLiteral("the table %1 ends without ENDTAB").arg(table));
            tableRecord(r);
        }
    }
    linetypeStyles();
}

// One record of a table, its groups read after `r`.
void Reader::tableRecord(const Pair& r)
{
    const QString type = text(r).trimmed().toUpper();
    collect(g_);
    QString name;
    quint64 h = 0;
    for (const Pair& q : g_) {
        if (q.code == 2 && name.isEmpty())
            name = text(q);
        else if ((q.code == 5 || q.code == 105) && !h)
            h = handle(q);
    }
    if (name.isEmpty() && type != QLatin1String("STYLE")) // a shape file's style has no name
        return;
    if ((type == QLatin1String("VPORT") && name.compare(QLatin1String("*ACTIVE"), Qt::CaseInsensitive) != 0)
        || type == QLatin1String("VIEW") || type == QLatin1String("UCS") || type == QLatin1String("DIMSTYLE")) {
        // records the host does not model go back as they came
        doc_->kept().tableRecords[type].push_back({keep(r, true), keptOf(g_)});
        keepTop(h);
    }
    if (h) {
        doc_->reserveHandle(h);
        // records the host writes itself keep their handles too
        const QString key = type + QLatin1Char(':') + name.toUpper();
        if (key == QLatin1String("VPORT:*ACTIVE") || key == QLatin1String("LTYPE:BYBLOCK")
            || key == QLatin1String("LTYPE:BYLAYER") || key == QLatin1String("DIMSTYLE:STANDARD"))
            doc_->structuralHandles()[key] = h;
    }
    if (type == QLatin1String("LAYER"))
        layerRecord(name, h);
    else if (type == QLatin1String("LTYPE"))
        linetypeRecord(name, h);
    else if (type == QLatin1String("STYLE"))
        styleRecord(name, h);
    else if (type == QLatin1String("APPID"))
        doc_->RegisteredApplications().Add(name).handle = h;
    else if (type == QLatin1String("BLOCK_RECORD"))
        blockRecord(name, h);
}

void Reader::layerRecord(const QString& name, quint64 h)
{
    Layer& l = doc_->Layers().Add(name);
    l.handle = h;
    for (const Pair& q : g_) {
        if (q.code == 62) {
            const int c = int(integer(q));
            l.Color = std::abs(c);
            l.LayerOn = c >= 0;
        } else if (q.code == 70) {
            const int f = int(integer(q));
            l.Freeze = f & 1;
            l.Lock = f & 4;
        } else if (q.code == 6)
            l.Linetype = text(q);
    }
}

void Reader::linetypeRecord(const QString& name, quint64 h)
{
    if (name.compare(QLatin1String("ByLayer"), Qt::CaseInsensitive) == 0
        || name.compare(QLatin1String("ByBlock"), Qt::CaseInsensitive) == 0)
        return;
    Linetype& l = doc_->Linetypes().Add(name);
    l.handle = h;
    l.pattern.clear();
    l.elements.clear();
    for (const Pair& q : g_) {
        if (q.code == 49) {
            l.pattern.push_back(real(q));
            l.elements.emplace_back();
        } else if (!l.elements.empty()) {
            l.elements.back().groups.push_back({q.code, keep(q)});
            if (q.code == 340)
                styleRefs_.push_back({l.Name, handle(q)});
        } else if (q.code == 3)
            l.Description = text(q);
    }
}

void Reader::styleRecord(const QString& name, quint64 h)
{
    int flags = 0;
    QString font;
    for (const Pair& q : g_) {
        if (q.code == 70)
            flags = int(integer(q));
        else if (q.code == 3)
            font = text(q);
    }
    // a shape file has no name of its own: "*" and its file's name
    const QString key = (flags & 1) && name.isEmpty() ? QLatin1Char('*') + font : name;
    if (key.isEmpty() || key == QLatin1String("*"))
        return;
    if (key != name && !doc_->TextStyles().find(key)) {
        // a name no style may take: kept beside the styles, never chosen as one
        TextStyle shape;
        shape.Name = key;
        doc_->TextStyles().items().push_back(shape);
    }
    TextStyle& st = doc_->TextStyles().Add(key);
    st.handle = h;
    st.flags = flags;
    for (const Pair& q : g_) {
        if (q.code == 71)
            st.generation = int(integer(q));
        else if (q.code == 42)
            st.lastHeight = real(q);
        if (q.code == 3)
            st.fontFile = text(q);
        else if (q.code == 4)
            st.bigFontFile = text(q);
        else if (q.code == 40)
            st.height = real(q);
        else if (q.code == 41)
            st.widthFactor = real(q);
        else if (q.code == 50)
            st.oblique = real(q) * kDeg;
    }
}

// A block's record: its handle, and its groups after the name kept.
void Reader::blockRecord(const QString& name, quint64 h)
{
    recordHandles_[name.toUpper()] = h;
    KeptGroups after;
    bool named = false;
    for (const Pair& q : g_) {
        if (named)
            after.push_back({q.code, keep(q)});
        else if (q.code == 2)
            named = true;
    }
    recordGroups_[name.toUpper()] = std::move(after);
}

// The styles of complex linetypes by name (the style table may follow).
void Reader::linetypeStyles()
{
    for (const auto& [ltName, styleHandle] : styleRefs_) {
        Linetype* l = doc_->Linetypes().find(ltName);
        if (!l)
            continue;
        QString style;
        for (const TextStyle& st : doc_->TextStyles().items())
            if (st.handle == styleHandle)
                style = st.Name;
        for (LinetypeElement& el : l->elements)
            for (const KeptGroup& k : el.groups)
                if (k.code == 340 && k.value.trimmed().toULongLong(nullptr, 16) == styleHandle)
                    el.style = style;
    }
    styleRefs_.clear();
}

void Reader::blocks()
{
    Pair p;
    while (nextRecord(p, "BLOCK")) {
        QString name;
        Point base;
        int flags = 0;
        quint64 h = 0;
        for (const Pair& q : g_) {
            if (q.code == 2)
                name = text(q);
            else if (q.code == 5)
                h = handle(q);
            else if (q.code == 10)
                base.x = real(q);
            else if (q.code == 20)
                base.y = real(q);
            else if (q.code == 30)
                base.z = real(q);
            else if (q.code == 70)
                flags = int(integer(q));
        }
        if (name.isEmpty())
            error(p.line, QStringLiteral("a block without a name"));
        Block* b = doc_->findBlock(name);
        if (!b) {
            b = &doc_->BlocksAdd(base, name);
            b->flags = flags;
        }
        if (h) {
            doc_->reserveHandle(h);
            b->beginHandle = h;
        }
        auto rec = recordHandles_.find(name.toUpper());
        if (rec != recordHandles_.end())
            b->recordHandle = rec->second;
        auto recGroups = recordGroups_.find(name.toUpper());
        if (recGroups != recordGroups_.end())
            b->recordGroups = recGroups->second;
        entities(*b, "ENDBLK");
        collect(g_); // ENDBLK's groups
        for (const Pair& q : g_)
            if (q.code == 5) {
                b->endHandle = handle(q);
                doc_->reserveHandle(b->endHandle);
            }
    }
}

void Reader::entities(Block& target, const char* endMarker)
{
    while (true) {
        const Pair p = must();
        if (p.code != 0)
            error(p.line, QStringLiteral("an entity was expected, found group %1").arg(p.code));
        if (is(p, endMarker))
            return;
        if (is(p, "ENDSEC") || is(p, "EOF"))
            error(p.line, QStringLiteral("%1 was expected before %2")
                              .arg(QLatin1String(endMarker), QString::fromLatin1(p.value.trimmed())));
        entity(p, target);
    }
}

bool Reader::entity(const Pair& start, Block& target)
{
    std::optional<EntityKind> kind = modelledKind(start.value.trimmed());
    collect(g_);
    KeptGroups app = takeAppGroups(g_);
    if (!kind)
        return foreign(start, target, std::move(app));
    CommonValues common;
    const size_t xstart = commonGroups(common); // where the extended data starts
    if (!modelled(*kind, xstart))
        return foreign(start, target, std::move(app));
    Entity* e = place(start, target, *kind, common, std::move(app));
    Entity::Data& d = e->data();
    Reading r{dxf::kindGroups(*kind)};
    for (size_t i = 0; i < xstart; ++i) {
        const Pair& q = g_[i];
        if (const dxf::Group* g = r.kind.of(q.code))
            readGroup(*g, q, d, r);
        else if (r.kind.rest >= 0) {
            readSpecial(r.kind.groups[size_t(r.kind.rest)].special, q, d, r);
        }
    }
    XData x = xdataFrom(g_, xstart);
    if (d.v.size() < r.kind.minVertices)
        d.v.resize(r.kind.minVertices);
    for (const dxf::Group& g : r.kind.groups)
        if (g.value == dxf::Value::Special)
            afterGroups(g.special, e, r, start);
    if (!x.empty()) {
        raw_.setXData(e, std::move(x));
        pendingXData_.push_back(e);
    }
    doc_->entityChanged(e);
    if (*kind != EntityKind::BlockReference) // its box follows its block's content
        e->box(); // measured while its data is at hand
    return true;
}

// Reads the groups every entity carries; returns where the extended data
// starts.
size_t Reader::commonGroups(CommonValues& c)
{
    for (size_t i = 0; i < g_.size(); ++i) {
        const Pair& q = g_[i];
        if (q.code >= 1000)
            return i;
        const std::optional<dxf::Common> what = dxf::commonGroupOf(q.code);
        if (!what)
            continue;
        switch (*what) {
        case dxf::Common::Handle: c.handle = handle(q); break;
        case dxf::Common::Layer: c.layer = name(q); break;
        case dxf::Common::Linetype: c.linetype = name(q); break;
        case dxf::Common::Colour: c.color = int(integer(q)); break;
        case dxf::Common::Visibility: c.visible = integer(q) == 0; break;
        case dxf::Common::PaperSpace: c.paper = integer(q) == 1; break;
        case dxf::Common::LinetypeScale: c.ltscale = real(q); break;
        case dxf::Common::Lineweight: c.lineweight = int(integer(q)); break;
        }
    }
    return g_.size();
}

// False for what the host keeps as read although its type is modelled
// (meshes, arrays of block references); a 3D polyline tells itself by its
// flags.
bool Reader::modelled(EntityKind& kind, size_t xstart)
{
    const bool polyline = kind == EntityKind::Polyline2d;
    for (size_t i = 0; i < xstart; ++i) {
        const Pair& q = g_[i];
        if (polyline && q.code == 70) {
            const int f = int(integer(q));
            if (f & (16 | 64)) // meshes
                return false;
            if (f & 8)
                kind = EntityKind::Polyline3d;
        }
        if (kind == EntityKind::BlockReference && (q.code == 70 || q.code == 71) && integer(q) > 1)
            return false; // columns and rows
    }
    return true;
}

Entity* Reader::place(const Pair& start, Block& target, EntityKind kind, const CommonValues& c, KeptGroups app)
{
    Block& owner = (c.paper && target.isModelSpace()) ? doc_->PaperSpace() : target;
    Entity* e = owner.create(kind);
    keepHandle(e, c.handle, start.line);
    auto& d = e->data();
    if (!app.empty())
        d.rareMut().appGroups = std::move(app);
    // names are checked against the tables once everything is read
    raw_.holdNames(e, c.layer, c.linetype);
    pendingNames_.push_back(e);
    raw_.setColor(e, c.color < 0 || c.color > 256 ? ColorByLayer : c.color, c.visible);
    d.ltscale = c.ltscale > 0 && std::isfinite(c.ltscale) ? c.ltscale : 1;
    d.lineweight = c.lineweight;
    return e;
}

void Reader::readGroup(const dxf::Group& g, const Pair& q, Entity::Data& d, Reading& r)
{
    using dxf::Value;
    switch (g.value) {
    case Value::Marker:
    case Value::Fixed:
        break;
    case Value::Real: put(g, d, real(q)); break;
    case Value::Angle: put(g, d, real(q) * kDeg); break;
    case Value::Int: put(g, d, int(integer(q))); break;
    case Value::Text: put(g, d, text(q)); break;
    case Value::Name: put(g, d, name(q)); break;
    case Value::Handle: put(g, d, handle(q)); break;
    case Value::Vertex:
        if (d.v.size() <= size_t(g.index))
            d.v.resize(size_t(g.index) + 1);
        component(d.v[size_t(g.index)], dxf::pointComponent(g, q.code)) = real(q);
        break;
    case Value::Point:
        component(*static_cast<Point*>(g.field.fill(d)), dxf::pointComponent(g, q.code)) = real(q);
        break;
    case Value::ElevationPoint:
    case Value::OriginPoint:
        if (dxf::pointComponent(g, q.code) == 2)
            *static_cast<double*>(g.field.fill(d)) = real(q);
        break;
    case Value::VertexCount:
        d.v.reserve(size_t(std::clamp<long long>(integer(q), 0, (data_.size() - pos_) / 12)));
        break;
    case Value::Special:
        readSpecial(g.special, q, d, r);
        break;
    }
}

// A group of what only one kind has.
void Reader::readSpecial(dxf::Special s, const Pair& q, Entity::Data& d, Reading& r)
{
    using dxf::Special;
    switch (s) {
    case Special::MTextString: d.placedMut().text += text(q); break;
    case Special::MTextExtras: mtextExtras(q, d); break;
    case Special::LwPolylineVertices: lwPolylineVertices(q, d, r); break;
    case Special::PolylineWidth: polylineWidth(q, r); break;
    case Special::AttributesFollow:
        if (integer(q) == 1)
            r.follows = true;
        break;
    case Special::ImageDefinition: d.rareMut().imageDefHandle = handle(q); break;
    case Special::ImageClipBoundary: imageClipBoundary(q, d); break;
    case Special::RegionBody: d.rareMut().extra.push_back({q.code, text(q)}); break;
    case Special::None:
    case Special::PolylineVertices:
    case Special::BlockAttributes:
        break;
    }
}

// What only one kind has, once its groups are read.
void Reader::afterGroups(dxf::Special s, Entity* e, Reading& r, const Pair& start)
{
    Entity::Data& d = e->data();
    using dxf::Special;
    switch (s) {
    case Special::LwPolylineVertices: lwPolylineWidths(d, r, start); break;
    case Special::PolylineWidth:
        if (r.has40 && r.has41 && r.w40 == r.w41)
            d.constWidth = r.w40;
        break;
    case Special::PolylineVertices: polylineVertices(d, r); break;
    case Special::BlockAttributes:
        if (r.follows)
            blockAttributes(d);
        break;
    case Special::ImageDefinition: imageDefinition(e); break;
    case Special::RegionBody: regionBody(d); break;
    default: break;
    }
}

// The groups of an mtext it does not model, kept to be written back.
void Reader::mtextExtras(const Pair& q, Entity::Data& d)
{
    for (int common : {5, 330, 100, 8, 6, 62, 60, 67, 102, 360})
        if (q.code == common)
            return;
    d.rareMut().extra.push_back({q.code, text(q)});
}

void Reader::lwPolylineVertices(const Pair& q, Entity::Data& d, Reading& r)
{
    if (q.code == 10) {
        Vertex v;
        v.x = real(q);
        d.v.push_back(v);
        return;
    }
    if (d.v.empty())
        return;
    Vertex& v = d.v.back();
    switch (q.code) {
    case 20: v.y = real(q); break;
    case 40: v.startWidth = real(q); r.widthsSeen = true; break;
    case 41: v.endWidth = real(q); r.widthsSeen = true; break;
    case 42: v.bulge = real(q); break;
    default: break;
    }
}

// A vertex without widths of its own takes the constant width.
void Reader::lwPolylineWidths(Entity::Data& d, const Reading& r, const Pair& start)
{
    // extended data has no code below 1000: any 43 is the constant width's
    const bool constWidth = std::any_of(g_.begin(), g_.end(), [](const Pair& q) { return q.code == 43; });
    if (constWidth || !r.widthsSeen)
        for (Vertex& v : d.v) {
            v.startWidth = v.startWidth == 0 ? d.constWidth : v.startWidth;
            v.endWidth = v.endWidth == 0 ? d.constWidth : v.endWidth;
        }
    if (d.v.size() < 1)
        error(start.line, QStringLiteral("a polyline without vertices"));
}

void Reader::polylineWidth(const Pair& q, Reading& r)
{
    if (q.code == 40) {
        r.w40 = real(q);
        r.has40 = true;
    } else {
        r.w41 = real(q);
        r.has41 = true;
    }
}

// The vertices of an old-style polyline and their end marker.
void Reader::polylineVertices(Entity::Data& d, const Reading& r)
{
    const bool is3d = r.kind.kind == EntityKind::Polyline3d;
    std::vector<quint64> subs;
    while (true) {
        Pair p = must();
        if (p.code != 0)
            error(p.line, QStringLiteral("a vertex was expected"));
        if (is(p, "SEQEND")) {
            subs.push_back(seqendHandle());
            break;
        }
        if (!is(p, "VERTEX"))
            error(p.line, QStringLiteral("the polyline ends without SEQEND"));
        collect(sub_);
        Vertex v;
        v.startWidth = r.has40 ? r.w40 : 0;
        v.endWidth = r.has41 ? r.w41 : 0;
        int vf = 0;
        quint64 vh = 0;
        for (const Pair& q : sub_) {
            switch (q.code) {
            case 10: v.x = real(q); break;
            case 20: v.y = real(q); break;
            case 30: v.z = real(q); break;
            case 40: v.startWidth = real(q); break;
            case 41: v.endWidth = real(q); break;
            case 42: v.bulge = real(q); break;
            case 70: vf = int(integer(q)); break;
            case 5: vh = handle(q); break;
            default: break;
            }
        }
        if (!is3d)
            v.z = d.elevation;
        subs.push_back(vh);
        if ((vf & 8) && (d.polyFlags & 4)) { // made by the spline fit: the curve, not the frame
            d.rareMut().fit.push_back(v);
            continue;
        }
        d.v.push_back(v);
        d.rareMut().vertexFlags.push_back(is3d ? (vf & ~32) : vf);
    }
    keepSubHandles(d, subs);
}

// The ATTRIB records of a block reference and their end marker.
void Reader::blockAttributes(Entity::Data& d)
{
    std::vector<quint64> subs;
    while (true) {
        Pair p = must();
        if (is(p, "SEQEND")) {
            subs.push_back(seqendHandle());
            break;
        }
        if (!is(p, "ATTRIB"))
            error(p.line, QStringLiteral("the block reference's attributes end without SEQEND"));
        collect(sub_);
        RawGroups a;
        quint64 ah = 0;
        for (const Pair& q : sub_) {
            if (q.code == 5)
                ah = handle(q);
            else if (q.code != 330)
                a.push_back({q.code, text(q)});
        }
        d.rareMut().attribs.push_back(a);
        subs.push_back(ah);
    }
    keepSubHandles(d, subs);
}

// The image's definition and reactor objects are read later, in the
// objects section: their handles are kept for them.
void Reader::imageDefinition(Entity* e)
{
    const EntityRare& rare = e->data().rare();
    if (!rare.imageDefHandle)
        return;
    images_[rare.imageDefHandle] = e;
    doc_->reserveHandle(rare.imageDefHandle);
    doc_->reserveHandle(rare.imageReactorHandle);
}

void Reader::imageClipBoundary(const Pair& q, Entity::Data& d)
{
    if (q.code == 14)
        d.rareMut().clip.push_back({real(q), 0});
    else if (q.code == 24 && !d.rareMut().clip.empty())
        d.rareMut().clip.back().y = real(q);
}

// The outline from the body's lines and arcs (other edge kinds: kept, not drawn).
void Reader::regionBody(Entity::Data& d)
{
    QStringList lines;
    for (const RawGroup& g : d.rare().extra) {
        if (g.code == 1)
            lines << g.value;
        else if (g.code == 3 && !lines.isEmpty())
            lines.back() += g.value;
    }
    d.rareMut().regionLoops = regionLoopsOf(lines);
    for (const std::vector<Vertex>& loop : d.rare().regionLoops) {
        Chain c;
        c.closed = true;
        c.pts.push_back({loop.front().x, loop.front().y});
        for (size_t i = 0; i < loop.size(); ++i) {
            const Vertex &a = loop[i], &b = loop[(i + 1) % loop.size()];
            appendBulgeArc(c.pts, {a.x, a.y}, {b.x, b.y}, a.bulge);
        }
        c.pts.pop_back(); // back at the start
        d.rareMut().regionShape.push_back(std::move(c));
    }
}

// An entity of a kind the host does not model: its common groups are read,
// the rest kept as it came, with the records that follow it (vertices,
// attributes) up to its SEQEND.
bool Reader::foreign(const Pair& start, Block& target, KeptGroups app)
{
    size_t xstart = g_.size();
    for (size_t i = 0; i < g_.size(); ++i)
        if (g_[i].code >= 1000) {
            xstart = i;
            break;
        }
    // the common groups reach the first subclass marker after AcDbEntity;
    // a file without markers has no such end
    bool marked = false;
    size_t commonEnd = xstart;
    for (size_t i = 0; i < xstart; ++i)
        if (g_[i].code == 100) {
            if (!marked && g_[i].value.trimmed() == "AcDbEntity") {
                marked = true;
            } else {
                commonEnd = i;
                break;
            }
        }
    quint64 h = 0;
    bool ownerSeen = false, markerSeen = false, paper = false, visible = true, follows = false;
    QString layer = QStringLiteral("0"), linetype = QStringLiteral("ByLayer");
    int color = ColorByLayer;
    KeptGroups body;
    for (size_t i = 0; i < xstart; ++i) {
        const Pair& q = g_[i];
        if (q.code == 66 && integer(q) == 1)
            follows = true;
        if (i < commonEnd) {
            if (q.code == 5 && !h) {
                h = handle(q);
                continue;
            }
            if (q.code == 330 && !ownerSeen && !markerSeen) {
                ownerSeen = true;
                continue;
            }
            if (q.code == 100 && marked && !markerSeen) {
                markerSeen = true;
                continue;
            }
            switch (q.code) {
            case 8: layer = text(q); continue;
            case 6: linetype = text(q); continue;
            case 62: color = int(integer(q)); continue;
            case 60: visible = integer(q) == 0; continue;
            case 67: paper = integer(q) == 1; continue;
            default: break;
            }
        }
        body.push_back({q.code, keep(q)});
    }
    XData x = xdataFrom(g_, xstart);
    const QByteArray type = keep(start, true);
    Block& owner = (paper && target.isModelSpace()) ? doc_->PaperSpace() : target;
    Entity* e = owner.create(EntityKind::Foreign);
    keepHandle(e, h, start.line);
    raw_.holdNames(e, layer, linetype);
    pendingNames_.push_back(e);
    if (color < 0 || color > 256)
        color = ColorByLayer;
    raw_.setColor(e, color, visible);
    auto& d = e->data();
    d.rareMut().foreignType = type;
    d.rareMut().foreignBody = std::move(body);
    d.rareMut().foreignSubclassed = marked;
    d.rareMut().appGroups = std::move(app);
    if (follows || type == "POLYLINE")
        foreignParts(d, type);
    if (!x.empty()) {
        raw_.setXData(e, std::move(x));
        pendingXData_.push_back(e);
    }
    doc_->entityChanged(e);
    return true;
}

// The records that follow a kept entity (vertices, attributes), kept as
// read up to its SEQEND; their handles are kept when every one has one.
void Reader::foreignParts(Entity::Data& d, const QByteArray& type)
{
    std::vector<quint64> subs;
    while (true) {
        const Pair p = must();
        const bool end = is(p, "SEQEND");
        if (p.code != 0 || !(end || is(p, "VERTEX") || is(p, "ATTRIB")))
            error(p.line, QStringLiteral("the %1 ends without SEQEND").arg(QString::fromLatin1(type)));
        collect(sub_);
        quint64 sh = 0;
        for (const Pair& q : sub_)
            if (q.code == 5) {
                sh = handle(q);
                break;
            }
        d.rareMut().foreignParts.push_back({keep(p, true), keptOf(sub_)});
        subs.push_back(sh);
        if (end)
            break;
    }
    if (std::find(subs.begin(), subs.end(), quint64(0)) == subs.end()) {
        for (quint64 s : subs)
            doc_->reserveHandle(s);
        d.rareMut().subHandles = subs;
    }
}

void Reader::objects()
{
    std::unordered_map<quint64, QString> groupNames; // group handle -> name
    quint64 root = 0, groupDict = 0, imageDict = 0;
    KeptContent& kept = doc_->kept();
    bool firstDict = true;
    Pair p;
    while (nextRecord(p)) {
        const QByteArray type = keep(p, true);
        quint64 h = 0;
        for (const Pair& q : g_)
            if (q.code == 5) {
                h = handle(q);
                break;
            }
        if (h)
            doc_->reserveHandle(h);
        if (type == "DICTIONARY") {
            QString key;
            if (firstDict) {
                root = h;
                firstDict = false;
                QByteArray rawKey;
                for (const Pair& q : g_) {
                    if (q.code == 3) {
                        key = text(q);
                        rawKey = keep(q);
                    } else if (q.code == 350 && key == QLatin1String("ACAD_GROUP")) {
                        groupDict = handle(q);
                    } else if (q.code == 350 && key == QLatin1String("ACAD_IMAGE_DICT")) {
                        imageDict = handle(q);
                        doc_->structuralHandles()[QStringLiteral("DICT:ACAD_IMAGE_DICT")] = imageDict;
                    } else if ((q.code == 350 || q.code == 360) && !key.isEmpty()) {
                        kept.rootEntries.push_back({3, rawKey});
                        kept.rootEntries.push_back({q.code, keep(q)});
                    }
                }
                doc_->structuralHandles()[QStringLiteral("DICT:ROOT")] = root;
                if (groupDict)
                    doc_->structuralHandles()[QStringLiteral("DICT:ACAD_GROUP")] = groupDict;
            } else if (h == groupDict) {
                for (const Pair& q : g_) {
                    if (q.code == 3)
                        key = text(q);
                    else if (q.code == 350)
                        groupNames[handle(q)] = key;
                }
            } else if (!h || h != imageDict) {
                kept.objects.push_back({type, keptOf(g_)});
                keepTop(h);
            }
        } else if (type == "GROUP") {
            auto it = groupNames.find(h);
            if (it == groupNames.end() || it->second.isEmpty() || doc_->findGroup(it->second))
                continue;
            Group& grp = doc_->GroupsAdd(it->second);
            grp.handle = h;
            std::vector<Entity*> members;
            for (const Pair& q : g_) {
                if (q.code == 300)
                    grp.description = text(q);
                else if (q.code == 340)
                    if (Entity* e = doc_->findHandle(handle(q)))
                        members.push_back(e);
            }
            grp.AppendItems(members);
        } else if (type == "IMAGEDEF") {
            auto it = images_.find(h);
            if (it == images_.end())
                continue;
            for (const Pair& q : g_)
                if (q.code == 1)
                    it->second->data().placedMut().text = text(q);
        } else if (type != "IMAGEDEF_REACTOR") {
            // the host writes groups, images and their reactors itself
            kept.objects.push_back({type, keptOf(g_)});
            keepTop(h);
        }
    }
}

std::unique_ptr<Document> Reader::run(DocumentHost* app)
{
    doc_ = std::make_unique<Document>(app);
    doc_->reserveEntities(size_t(data_.size() / 200)); // a drawing's entities take 150 to 300 bytes
    // a fresh drawing brings its own tables; the file's replace them
    doc_->Layers().items().clear();
    doc_->Linetypes().items().clear();
    doc_->TextStyles().items().clear();
    doc_->RegisteredApplications().items().clear();
    bool sawEof = false;
    bool sawSection = false;
    Pair p;
    while (next(p)) {
        if (p.code == 999)
            continue;
        if (p.code != 0)
            error(p.line, QStringLiteral("a section was expected, found group %1").arg(p.code));
        if (is(p, "EOF")) {
            sawEof = true;
            break;
        }
        if (!is(p, "SECTION"))
            error(p.line, QStringLiteral("a section was expected, found \"%1\"").arg(head(p.value)));
        const Pair n = must();
        if (n.code != 2)
            error(n.line, QStringLiteral("the section has no name"));
        sawSection = true;
        if (is(n, "HEADER"))
            header();
        else if (is(n, "CLASSES"))
            classes();
        else if (is(n, "TABLES"))
            tables();
        else if (is(n, "BLOCKS"))
            blocks();
        else if (is(n, "ENTITIES")) {
            entities(doc_->ModelSpace(), "ENDSEC");
        } else if (is(n, "OBJECTS"))
            objects();
        else
            skipSection();
    }
    if (!sawSection)
        error(line_, QStringLiteral("this is not a DXF drawing"));
    if (!sawEof)
        error(line_, QStringLiteral("the file ends before its EOF marker"));
    doc_->ensureStandardTables();
    // names the tables lack are added, as a drawing program does on reading
    for (Entity* e : pendingNames_) {
        const QString layer = raw_.layer(e), linetype = raw_.linetype(e);
        if (!doc_->Layers().contains(layer))
            doc_->Layers().Add(layer.isEmpty() ? QStringLiteral("0") : layer);
        raw_.setNames(e, doc_->Layers().find(layer.isEmpty() ? QStringLiteral("0") : layer)->Name, linetype, *doc_);
    }
    for (Entity* e : pendingXData_)
        for (const XDataItem& it : raw_.xdata(e))
            if (it.code == 1001)
                doc_->RegisteredApplications().Add(it.value.toString());
    for (auto& [name, value] : pendingVars_) {
        try {
            doc_->SetVariable(name, value);
        } catch (const RunError&) {
            // a current layer or style the tables lack: the default stays
        }
    }
    doc_->settleHandseed(seed_);
    doc_->markSaved();
    return std::move(doc_);
}

} // namespace

std::unique_ptr<Document> readDxfBytes(const QByteArray& bytes, DocumentHost* app, const QString& name)
{
    Reader r(bytes, name);
    return r.run(app);
}

std::unique_ptr<Document> readDxf(const QString& path, DocumentHost* app)
{
    QFile f(path);
    if (!f.exists())
        fault(fail::Failed, QStringLiteral("the drawing \"%1\" does not exist").arg(path));
    if (!f.open(QIODevice::ReadOnly))
        fault(fail::Failed, QStringLiteral("the drawing \"%1\" cannot be read").arg(path));
    // Mapped, the file is read in place; a file that cannot be mapped is read whole.
    const qint64 size = f.size();
    uchar* mapped = size > 0 ? f.map(0, size) : nullptr;
    const QByteArray bytes = mapped ? QByteArray::fromRawData(reinterpret_cast<const char*>(mapped), qsizetype(size))
                                    : f.readAll();
    Reader reader(bytes, QFileInfo(path).fileName(), mapped != nullptr);
    std::unique_ptr<Document> doc = reader.run(app);
    doc->setFullName(QFileInfo(path).absoluteFilePath());
    return doc;
}

} // namespace kelvor::cad
