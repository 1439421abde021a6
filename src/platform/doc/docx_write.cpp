#include "docx.h"
#include "docx_package.h"

#include "platform/errors.h"
#include "platform/paths.h"
#include "platform/text_file.h"
#include "platform/zip_package.h"

#include <QFile>
#include <QXmlStreamWriter>

namespace kelvor::doc {
namespace {

class BodyWriter {
public:
    BodyWriter(const Document& doc, QByteArray* out) : doc_(doc), xml_(out) {}

    void write()
    {
        xml_.writeStartDocument(QStringLiteral("1.0"), true);
        xml_.writeNamespace(W, QStringLiteral("w"));
        xml_.writeStartElement(W, QStringLiteral("document"));
        xml_.writeStartElement(W, QStringLiteral("body"));
        const Fragment& u = doc_.units();
        int i = 0;
        while (i < u.size()) {
            if (u[i].table >= 0)
                i = table(i);
            else
                i = paragraph(i);
        }
        sectionProperties(sectionOf(int(u.size()) - 1));
        xml_.writeEndElement();
        xml_.writeEndElement();
        xml_.writeEndDocument();
    }

private:
    // The unit that starts the section a position belongs to.
    int sectionOf(int position) const
    {
        for (int i = position; i > 0; --i) {
            if (doc_.units()[i].sectionStart >= 0)
                return i;
        }
        return 0;
    }

    bool sectionEndsAfter(int mark) const
    {
        const Fragment& u = doc_.units();
        return mark + 1 < u.size() && u[mark + 1].sectionStart >= 0;
    }

    void sectionProperties(int first)
    {
        const Unit& s = doc_.units()[first];
        xml_.writeStartElement(W, QStringLiteral("sectPr"));
        if (first > 0 && !s.sectionNewPage) {
            xml_.writeEmptyElement(W, QStringLiteral("type"));
            xml_.writeAttribute(W, QStringLiteral("val"), QStringLiteral("continuous"));
        }
        if (s.sectionStart > 0) {
            xml_.writeEmptyElement(W, QStringLiteral("pgNumType"));
            xml_.writeAttribute(W, QStringLiteral("start"), QString::number(s.sectionStart));
        }
        xml_.writeEndElement();
    }

    // Writes the paragraph starting at i; returns the position after its mark.
    int paragraph(int i)
    {
        const Fragment& u = doc_.units();
        int end = i;
        while (end < u.size() && u[end].mark == Mark::None)
            ++end;
        xml_.writeStartElement(W, QStringLiteral("p"));
        if (end < u.size() && u[end].table < 0 && sectionEndsAfter(end)) {
            xml_.writeStartElement(W, QStringLiteral("pPr"));
            sectionProperties(sectionOf(end));
            xml_.writeEndElement();
        }
        runs(i, end);
        xml_.writeEndElement();
        return end + 1;
    }

    void runs(int from, int to)
    {
        const Fragment& u = doc_.units();
        QString text;
        bool open = false;
        auto openRun = [&] {
            if (!open)
                xml_.writeStartElement(W, QStringLiteral("r"));
            open = true;
        };
        auto flush = [&] {
            if (text.isEmpty())
                return;
            openRun();
            xml_.writeStartElement(W, QStringLiteral("t"));
            xml_.writeAttribute(QStringLiteral("xml:space"), QStringLiteral("preserve"));
            xml_.writeCharacters(text);
            xml_.writeEndElement();
            text.clear();
        };
        for (int i = from; i <= to && i < u.size(); ++i) {
            if (u[i].pageBefore) {
                flush();
                openRun();
                xml_.writeEmptyElement(W, QStringLiteral("lastRenderedPageBreak"));
            }
            if (i == to)
                break;
            const QChar c = u[i].ch;
            if (c == u'\t') {
                flush();
                openRun();
                xml_.writeEmptyElement(W, QStringLiteral("tab"));
            } else if (c == PageBreakChar || c == LineBreakChar || c == QChar(0x0E)) {
                flush();
                openRun();
                xml_.writeEmptyElement(W, QStringLiteral("br"));
                if (c != LineBreakChar)
                    xml_.writeAttribute(W, QStringLiteral("type"),
                                        c == PageBreakChar ? QStringLiteral("page") : QStringLiteral("column"));
            } else if (c.unicode() < 0x20 || (c.unicode() >= 0xFFFE) || c.isNonCharacter()) {
                text.append(u' '); // no XML character
            } else {
                text.append(c);
            }
        }
        flush();
        if (open)
            xml_.writeEndElement();
    }

    int table(int i)
    {
        const Fragment& u = doc_.units();
        const int tag = u[i].table;
        int end = i;
        int columns = 1;
        int inRow = 0;
        for (; end < u.size() && u[end].table == tag; ++end) {
            if (u[end].mark == Mark::Cell)
                columns = std::max(columns, ++inRow);
            else if (u[end].mark == Mark::Row)
                inRow = 0;
        }
        xml_.writeStartElement(W, QStringLiteral("tbl"));
        xml_.writeStartElement(W, QStringLiteral("tblPr"));
        xml_.writeEmptyElement(W, QStringLiteral("tblW"));
        xml_.writeAttribute(W, QStringLiteral("w"), QStringLiteral("0"));
        xml_.writeAttribute(W, QStringLiteral("type"), QStringLiteral("auto"));
        xml_.writeEndElement();
        xml_.writeStartElement(W, QStringLiteral("tblGrid"));
        for (int c = 0; c < columns; ++c)
            xml_.writeEmptyElement(W, QStringLiteral("gridCol"));
        xml_.writeEndElement();
        bool rowOpen = false;
        int p = i;
        while (p < end) {
            if (u[p].mark == Mark::Row) {
                if (!rowOpen)
                    xml_.writeStartElement(W, QStringLiteral("tr"));
                xml_.writeEndElement();
                rowOpen = false;
                ++p;
                continue;
            }
            if (!rowOpen)
                xml_.writeStartElement(W, QStringLiteral("tr"));
            rowOpen = true;
            xml_.writeStartElement(W, QStringLiteral("tc"));
            // the cell's paragraphs, up to its end-of-cell mark
            for (;;) {
                const int next = paragraph(p);
                const Mark m = u[next - 1].mark;
                p = next;
                if (m != Mark::Paragraph || p >= end)
                    break;
            }
            xml_.writeEndElement();
        }
        if (rowOpen)
            xml_.writeEndElement();
        xml_.writeEndElement();
        return end;
    }

    const Document& doc_;
    QXmlStreamWriter xml_;
};

const char* const ContentTypes =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
    "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
    "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
    "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
    "<Override PartName=\"/word/document.xml\" "
    "ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml\"/>"
    "</Types>";
const char* const PackageRels =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
    "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
    "<Relationship Id=\"rId1\" "
    "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument\" "
    "Target=\"word/document.xml\"/>"
    "</Relationships>";

} // namespace

QByteArray documentXml(const Document& doc)
{
    QByteArray out;
    BodyWriter(doc, &out).write();
    return out;
}

QByteArray docxBytes(const Document& doc, const QByteArray& original)
{
    QList<ZipEntry> entries;
    QString part = DocumentPart;
    if (!original.isEmpty()) {
        try {
            const ZipPackage old = ZipPackage::fromBytes(original);
            part = documentPartName(old);
            for (const QString& name : old.names()) {
                if (name != part && !name.endsWith(u'/'))
                    entries.append({name, old.read(name)});
            }
        } catch (const RunError&) {
            entries.clear(); // a damaged original gives a fresh package
            part = DocumentPart;
        }
    }
    if (entries.isEmpty()) {
        entries.append({QStringLiteral("[Content_Types].xml"), QByteArray(ContentTypes)});
        entries.append({QStringLiteral("_rels/.rels"), QByteArray(PackageRels)});
    }
    entries.insert(std::min<qsizetype>(2, entries.size()), {part, documentXml(doc)});
    return buildZipPackage(entries);
}

void writeDocx(const QString& path, const Document& doc)
{
    QByteArray original;
    if (!doc.path.isEmpty()) {
        QFile f(paths::resolve(doc.path));
        if (f.open(QIODevice::ReadOnly))
            original = f.read(ZipPackage::DefaultLimit);
    }
    writeFileBytes(path, docxBytes(doc, original));
}

} // namespace kelvor::doc
