#include "docx.h"
#include "docx_package.h"

#include "platform/errors.h"
#include "platform/paths.h"
#include "platform/zip_package.h"

#include <QXmlStreamReader>

namespace kelvor::doc {
namespace {

constexpr int MaxDepth = 256; // deeper nesting is no document a person wrote

[[noreturn]] void cannotOpen(const QString& name, const QString& why)
{
    raise(err::CannotOpenDocument, name.isEmpty() ? why : name + QStringLiteral(": ") + why);
}

// Reads the document part into units. Only the main namespace's elements
// carry content; the rest is passed over (and marks the result lossy).
class BodyReader {
public:
    explicit BodyReader(const QByteArray& xml) : xml_(xml) {}

    Fragment read(bool* lossy)
    {
        while (xml_.readNextStartElement()) {
            if (xml_.name() == u"document" && xml_.namespaceUri() == W)
                continue; // descend
            if (xml_.name() == u"body" && xml_.namespaceUri() == W) {
                body();
                break;
            }
            skip();
        }
        if (xml_.hasError())
            raise(err::CannotOpenDocument, xml_.errorString());
        if (lossy)
            *lossy = lossy_;
        return units_;
    }

private:
    bool is(const char16_t* name) const { return xml_.namespaceUri() == W && xml_.name() == QStringView(name); }

    void skip()
    {
        lossy_ = true;
        xml_.skipCurrentElement();
    }

    void enter()
    {
        if (++depth_ > MaxDepth)
            raise(err::CannotOpenDocument, QStringLiteral("nested too deeply"));
    }

    void body()
    {
        enter();
        while (xml_.readNextStartElement()) {
            if (is(u"p"))
                paragraph(-1, Mark::Paragraph);
            else if (is(u"tbl"))
                table(-1);
            else if (is(u"sectPr"))
                endSection(sectionProperties());
            else if (is(u"sdt") || is(u"sdtContent") || is(u"customXml"))
                body(); // content controls: their content counts
            else
                xml_.skipCurrentElement(); // bookmarks, proofing marks
        }
        --depth_;
    }

    struct SectionProps {
        bool present = false;
        int start = 0;
        bool newPage = true;
    };

    SectionProps sectionProperties()
    {
        SectionProps s;
        s.present = true;
        while (xml_.readNextStartElement()) {
            if (is(u"pgNumType")) {
                s.start = std::max(0, xml_.attributes().value(W, QLatin1String("start")).toInt());
                xml_.skipCurrentElement();
            } else if (is(u"type")) {
                s.newPage = xml_.attributes().value(W, QLatin1String("val")) != u"continuous";
                xml_.skipCurrentElement();
            } else {
                xml_.skipCurrentElement(); // page size and margins: the writer gives defaults
            }
        }
        return s;
    }

    void endSection(const SectionProps& s)
    {
        if (sectionFirst_ < units_.size()) {
            units_[sectionFirst_].sectionStart = s.start;
            units_[sectionFirst_].sectionNewPage = s.newPage;
        }
        sectionFirst_ = units_.size();
    }

    void append(QChar c, Mark mark, int table)
    {
        Unit u{c, mark, table};
        u.pageBefore = pendingPage_;
        pendingPage_ = false;
        units_.append(u);
    }

    // A paragraph ending with `mark` (a cell's last paragraph ends with the
    // end-of-cell mark).
    void paragraph(int table, Mark mark)
    {
        enter();
        SectionProps section;
        paragraphContent(table, &section);
        append(mark == Mark::Cell ? CellMark : ParagraphMark, mark, table);
        if (section.present)
            endSection(section);
        --depth_;
    }

    void paragraphContent(int table, SectionProps* section)
    {
        enter();
        while (xml_.readNextStartElement()) {
            if (is(u"pPr")) {
                paragraphProperties(section);
            } else if (is(u"r")) {
                run(table);
            } else if (is(u"del") || is(u"moveFrom") || is(u"rPr")) {
                skip();
            } else if (xml_.namespaceUri() == W) {
                paragraphContent(table, nullptr); // hyperlinks, insertions, fields, smart tags
            } else {
                skip();
            }
        }
        --depth_;
    }

    void paragraphProperties(SectionProps* section)
    {
        while (xml_.readNextStartElement()) {
            if (is(u"sectPr") && section) {
                *section = sectionProperties();
            } else if (is(u"pageBreakBefore")) {
                const auto v = xml_.attributes().value(W, QLatin1String("val"));
                pendingPage_ = pendingPage_ || v.isEmpty() || v == u"1" || v == u"true" || v == u"on";
                xml_.skipCurrentElement();
            } else {
                skip();
            }
        }
    }

    void run(int table)
    {
        while (xml_.readNextStartElement()) {
            if (is(u"t")) {
                const QString text = xml_.readElementText(QXmlStreamReader::SkipChildElements);
                for (QChar c : text)
                    append(c == ParagraphMark || c == CellMark || c == u'\n' ? QChar(u' ') : c, Mark::None, table);
            } else if (is(u"tab")) {
                append(u'\t', Mark::None, table);
                xml_.skipCurrentElement();
            } else if (is(u"br")) {
                const auto type = xml_.attributes().value(W, QLatin1String("type"));
                append(type == u"page" ? PageBreakChar : type == u"column" ? QChar(0x0E) : LineBreakChar,
                       Mark::None, table);
                xml_.skipCurrentElement();
            } else if (is(u"cr")) {
                append(LineBreakChar, Mark::None, table);
                xml_.skipCurrentElement();
            } else if (is(u"noBreakHyphen")) {
                append(u'-', Mark::None, table);
                xml_.skipCurrentElement();
            } else if (is(u"lastRenderedPageBreak")) {
                pendingPage_ = true;
                xml_.skipCurrentElement();
            } else {
                skip(); // run properties, pictures, field codes, symbols
            }
        }
    }

    void table(int outer)
    {
        enter();
        // A table inside a cell brings its cells' paragraphs into that cell.
        const int tag = outer >= 0 ? outer : nextTable_++;
        if (outer >= 0)
            lossy_ = true;
        while (xml_.readNextStartElement()) {
            if (is(u"tr"))
                row(tag, outer >= 0);
            else if (is(u"tblPr") || is(u"tblGrid"))
                xml_.skipCurrentElement(); // rewritten plain
            else
                skip();
        }
        --depth_;
    }

    void row(int tag, bool nested)
    {
        enter();
        while (xml_.readNextStartElement()) {
            if (is(u"tc"))
                cell(tag, nested);
            else if (is(u"sdt") || is(u"sdtContent"))
                row(tag, nested);
            else
                skip();
        }
        if (!nested)
            append(CellMark, Mark::Row, tag);
        --depth_;
    }

    void cell(int tag, bool nested)
    {
        enter();
        bool any = false;
        while (xml_.readNextStartElement()) {
            if (is(u"p")) {
                // Every paragraph ends with a paragraph mark; the cell's last
                // one becomes the end-of-cell mark below.
                paragraph(tag, Mark::Paragraph);
                any = true;
            } else if (is(u"tbl")) {
                table(tag);
                any = true;
            } else if (is(u"tcPr")) {
                xml_.skipCurrentElement();
            } else {
                skip();
            }
        }
        if (nested)
            return void(--depth_);
        if (any && units_.last().mark == Mark::Paragraph) {
            units_.last().ch = CellMark;
            units_.last().mark = Mark::Cell;
        } else {
            append(CellMark, Mark::Cell, tag);
        }
        --depth_;
    }

    QXmlStreamReader xml_;
    Fragment units_;
    bool lossy_ = false;
    bool pendingPage_ = false;
    qsizetype sectionFirst_ = 0;
    int nextTable_ = 0;
    int depth_ = 0;
};

} // namespace

QString documentPartName(const ZipPackage& package)
{
    if (!package.contains(QStringLiteral("_rels/.rels")))
        return DocumentPart;
    QXmlStreamReader xml(package.read(QStringLiteral("_rels/.rels")));
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != u"Relationship")
            continue;
        const auto a = xml.attributes();
        if (a.value(QLatin1String("Type")).endsWith(u"/officeDocument")) {
            QString target = a.value(QLatin1String("Target")).toString();
            while (target.startsWith(u'/'))
                target.remove(0, 1);
            return target;
        }
    }
    return DocumentPart;
}

namespace {

Document fromPackage(const ZipPackage& package, const QString& name)
{
    const QString part = documentPartName(package);
    if (!package.contains(part))
        cannotOpen(name, QStringLiteral("no document part"));
    bool lossy = false;
    Fragment units = parseDocumentXml(package.read(part), &lossy);
    Document doc(std::move(units));
    doc.lossy = lossy;
    for (const QString& entry : package.names()) {
        if (entry.startsWith(QStringLiteral("word/media/")) || entry.startsWith(QStringLiteral("word/embeddings/")))
            doc.lossy = true; // pictures the rewritten part would no longer show
    }
    return doc;
}

} // namespace

Fragment parseDocumentXml(const QByteArray& xml, bool* lossy)
{
    return BodyReader(xml).read(lossy);
}

Document readDocxBytes(const QByteArray& bytes, const QString& name, qint64 limit)
{
    try {
        return fromPackage(ZipPackage::fromBytes(bytes, name, limit > 0 ? limit : ZipPackage::DefaultLimit), name);
    } catch (const RunError& e) {
        if (e.number() == err::CannotOpenDocument)
            throw;
        cannotOpen(QString(), e.description());
    }
}

Document readDocx(const QString& path)
{
    try {
        Document doc = fromPackage(ZipPackage::open(path), path);
        doc.path = path;
        return doc;
    } catch (const RunError& e) {
        if (e.number() == err::CannotOpenDocument)
            throw;
        cannotOpen(QString(), e.description());
    }
}

} // namespace kelvor::doc
