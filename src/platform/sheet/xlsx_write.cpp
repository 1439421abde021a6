#include "platform/sheet/sheet_files.h"

#include "platform/text_file.h"
#include "platform/zip_package.h"

#include <QHash>
#include <QXmlStreamWriter>

#include <functional>

namespace kelvor::sheet {
namespace {

const QString kMain = QStringLiteral("http://schemas.openxmlformats.org/spreadsheetml/2006/main");
const QString kRelNs = QStringLiteral("http://schemas.openxmlformats.org/officeDocument/2006/relationships");
const QString kPackageRels = QStringLiteral("http://schemas.openxmlformats.org/package/2006/relationships");
const QString kRelType = QStringLiteral("http://schemas.openxmlformats.org/officeDocument/2006/relationships/");
const QString kContentType = QStringLiteral("application/vnd.openxmlformats-officedocument.spreadsheetml.");

// Characters XML cannot hold go out as _xHHHH_; an underscore that would
// read as the start of such an escape is escaped itself.
QString escapeXString(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text[i];
        // a CR would come back as LF from any XML reader
        const bool control = ch.unicode() < 0x20 && ch != u'\t' && ch != u'\n';
        const bool lone = ch.isSurrogate() &&
                          !(ch.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) &&
                          !(ch.isLowSurrogate() && i > 0 && text[i - 1].isHighSurrogate());
        bool looksEscaped = false;
        if (ch == u'_' && i + 6 < text.size() && text[i + 1] == u'x' && text[i + 6] == u'_') {
            bool ok = false;
            text.mid(i + 2, 4).toUShort(&ok, 16);
            looksEscaped = ok;
        }
        if (control || lone || looksEscaped || ch == u'\uFFFE' || ch == u'\uFFFF')
            out += QStringLiteral("_x") + QString::number(ch.unicode(), 16).toUpper().rightJustified(4, u'0') +
                   QLatin1Char('_');
        else
            out += ch;
    }
    return out;
}

QByteArray document(const std::function<void(QXmlStreamWriter&)>& body)
{
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.writeStartDocument(QStringLiteral("1.0"), true);
    body(xml);
    xml.writeEndDocument();
    return bytes;
}

void writeText(QXmlStreamWriter& xml, const QString& text)
{
    xml.writeStartElement(QStringLiteral("t"));
    if (!text.isEmpty() && (text.front().isSpace() || text.back().isSpace()))
        xml.writeAttribute(QStringLiteral("xml:space"), QStringLiteral("preserve"));
    xml.writeCharacters(escapeXString(text));
    xml.writeEndElement();
}

QByteArray contentTypes(int sheets)
{
    return document([&](QXmlStreamWriter& xml) {
        xml.writeDefaultNamespace(QStringLiteral("http://schemas.openxmlformats.org/package/2006/content-types"));
        xml.writeStartElement(QStringLiteral("Types"));
        auto def = [&](const char* ext, const QString& type) {
            xml.writeEmptyElement(QStringLiteral("Default"));
            xml.writeAttribute(QStringLiteral("Extension"), QLatin1String(ext));
            xml.writeAttribute(QStringLiteral("ContentType"), type);
        };
        auto part = [&](const QString& name, const QString& type) {
            xml.writeEmptyElement(QStringLiteral("Override"));
            xml.writeAttribute(QStringLiteral("PartName"), name);
            xml.writeAttribute(QStringLiteral("ContentType"), type);
        };
        def("rels", QStringLiteral("application/vnd.openxmlformats-package.relationships+xml"));
        def("xml", QStringLiteral("application/xml"));
        part(QStringLiteral("/xl/workbook.xml"), kContentType + QStringLiteral("sheet.main+xml"));
        for (int i = 1; i <= sheets; ++i)
            part(QStringLiteral("/xl/worksheets/sheet%1.xml").arg(i), kContentType + QStringLiteral("worksheet+xml"));
        part(QStringLiteral("/xl/sharedStrings.xml"), kContentType + QStringLiteral("sharedStrings+xml"));
        part(QStringLiteral("/xl/styles.xml"), kContentType + QStringLiteral("styles+xml"));
        xml.writeEndElement();
    });
}

QByteArray relationships(const QList<QPair<QString, QString>>& typeAndTarget)
{
    return document([&](QXmlStreamWriter& xml) {
        xml.writeDefaultNamespace(kPackageRels);
        xml.writeStartElement(QStringLiteral("Relationships"));
        int id = 0;
        for (const auto& r : typeAndTarget) {
            xml.writeEmptyElement(QStringLiteral("Relationship"));
            xml.writeAttribute(QStringLiteral("Id"), QStringLiteral("rId%1").arg(++id));
            xml.writeAttribute(QStringLiteral("Type"), kRelType + r.first);
            xml.writeAttribute(QStringLiteral("Target"), r.second);
        }
        xml.writeEndElement();
    });
}

// Sheet names as spreadsheets accept them: at most 31 characters, none of
// []:*?/\, not empty, and no two alike regardless of case.
QStringList sheetNames(const Workbook& book)
{
    QStringList names;
    for (const Sheet& s : book.sheets()) {
        QString name = s.name();
        for (QChar& ch : name)
            if (QStringLiteral("[]:*?/\\").contains(ch))
                ch = u'_';
        name = name.left(31);
        if (name.isEmpty())
            name = QStringLiteral("Sheet");
        const QString base = name;
        for (int n = 2; names.contains(name, Qt::CaseInsensitive); ++n) {
            const QString suffix = QStringLiteral(" (%1)").arg(n);
            name = base.left(31 - suffix.size()) + suffix;
        }
        names << name;
    }
    return names;
}

QByteArray workbookPart(const Workbook& book)
{
    const QStringList names = sheetNames(book);
    return document([&](QXmlStreamWriter& xml) {
        xml.writeDefaultNamespace(kMain);
        xml.writeNamespace(kRelNs, QStringLiteral("r"));
        xml.writeStartElement(kMain, QStringLiteral("workbook"));
        xml.writeStartElement(kMain, QStringLiteral("bookViews"));
        xml.writeEmptyElement(kMain, QStringLiteral("workbookView"));
        xml.writeAttribute(QStringLiteral("activeTab"), QString::number(book.activeIndex()));
        xml.writeEndElement();
        xml.writeStartElement(kMain, QStringLiteral("sheets"));
        for (qsizetype i = 0; i < book.sheets().size(); ++i) {
            xml.writeEmptyElement(kMain, QStringLiteral("sheet"));
            xml.writeAttribute(QStringLiteral("name"), names[i]);
            xml.writeAttribute(QStringLiteral("sheetId"), QString::number(i + 1));
            xml.writeAttribute(kRelNs, QStringLiteral("id"), QStringLiteral("rId%1").arg(i + 1));
        }
        xml.writeEndElement();
        xml.writeEndElement();
    });
}

// One font, the two fills every reader expects, one border, one format.
QByteArray stylesPart()
{
    return QByteArrayLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
        "<styleSheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
        "<fonts count=\"1\"><font><sz val=\"11\"/><name val=\"Calibri\"/></font></fonts>"
        "<fills count=\"2\"><fill><patternFill patternType=\"none\"/></fill>"
        "<fill><patternFill patternType=\"gray125\"/></fill></fills>"
        "<borders count=\"1\"><border><left/><right/><top/><bottom/><diagonal/></border></borders>"
        "<cellStyleXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\"/></cellStyleXfs>"
        "<cellXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\"/></cellXfs>"
        "<cellStyles count=\"1\"><cellStyle name=\"Normal\" xfId=\"0\" builtinId=\"0\"/></cellStyles>"
        "</styleSheet>");
}

class SharedStrings {
public:
    int index(const QString& text)
    {
        ++uses_;
        auto it = index_.constFind(text);
        if (it != index_.cend())
            return *it;
        const int i = int(texts_.size());
        index_.insert(text, i);
        texts_ << text;
        return i;
    }
    QByteArray part() const
    {
        return document([&](QXmlStreamWriter& xml) {
            xml.writeDefaultNamespace(kMain);
            xml.writeStartElement(QStringLiteral("sst"));
            xml.writeAttribute(QStringLiteral("count"), QString::number(uses_));
            xml.writeAttribute(QStringLiteral("uniqueCount"), QString::number(texts_.size()));
            for (const QString& t : texts_) {
                xml.writeStartElement(QStringLiteral("si"));
                writeText(xml, t);
                xml.writeEndElement();
            }
            xml.writeEndElement();
        });
    }

private:
    QHash<QString, int> index_;
    QStringList texts_;
    int uses_ = 0;
};

QByteArray worksheetPart(const Sheet& sheet, bool selected, SharedStrings& strings)
{
    return document([&](QXmlStreamWriter& xml) {
        xml.writeDefaultNamespace(kMain);
        xml.writeStartElement(QStringLiteral("worksheet"));
        xml.writeEmptyElement(QStringLiteral("dimension"));
        xml.writeAttribute(QStringLiteral("ref"), sheet.isEmpty() ? QStringLiteral("A1")
                                                                  : QStringLiteral("A1:") + cellAddress(sheet.lastRow(), sheet.lastColumn()));
        xml.writeStartElement(QStringLiteral("sheetViews"));
        xml.writeStartElement(QStringLiteral("sheetView"));
        if (selected)
            xml.writeAttribute(QStringLiteral("tabSelected"), QStringLiteral("1"));
        xml.writeAttribute(QStringLiteral("workbookViewId"), QStringLiteral("0"));
        const QString active = cellAddress(sheet.activeRow(), sheet.activeColumn());
        xml.writeEmptyElement(QStringLiteral("selection"));
        xml.writeAttribute(QStringLiteral("activeCell"), active);
        xml.writeAttribute(QStringLiteral("sqref"), active);
        xml.writeEndElement();
        xml.writeEndElement();
        xml.writeEmptyElement(QStringLiteral("sheetFormatPr"));
        xml.writeAttribute(QStringLiteral("defaultRowHeight"), QStringLiteral("15"));
        xml.writeStartElement(QStringLiteral("sheetData"));
        int row = 0;
        for (const Sheet::Cell& c : sheet.cells()) {
            if (c.row != row) {
                if (row)
                    xml.writeEndElement();
                row = c.row;
                xml.writeStartElement(QStringLiteral("row"));
                xml.writeAttribute(QStringLiteral("r"), QString::number(row));
            }
            xml.writeStartElement(QStringLiteral("c"));
            xml.writeAttribute(QStringLiteral("r"), cellAddress(c.row, c.column));
            if (c.value.typeId() == QMetaType::Double) {
                xml.writeTextElement(QStringLiteral("v"), exactNumberText(c.value.toDouble()));
            } else {
                xml.writeAttribute(QStringLiteral("t"), QStringLiteral("s"));
                xml.writeTextElement(QStringLiteral("v"), QString::number(strings.index(c.value.toString())));
            }
            xml.writeEndElement();
        }
        if (row)
            xml.writeEndElement();
        xml.writeEndElement(); // sheetData
        xml.writeEndElement(); // worksheet
    });
}

} // namespace

QByteArray xlsxBytes(const Workbook& book)
{
    SharedStrings strings;
    QList<ZipEntry> sheets;
    QList<QPair<QString, QString>> rels;
    for (qsizetype i = 0; i < book.sheets().size(); ++i) {
        const QString name = QStringLiteral("worksheets/sheet%1.xml").arg(i + 1);
        sheets.append({QStringLiteral("xl/") + name, worksheetPart(book.sheets()[i], i == book.activeIndex(), strings)});
        rels.append({QStringLiteral("worksheet"), name});
    }
    rels.append({QStringLiteral("sharedStrings"), QStringLiteral("sharedStrings.xml")});
    rels.append({QStringLiteral("styles"), QStringLiteral("styles.xml")});

    QList<ZipEntry> entries = {
        {QStringLiteral("[Content_Types].xml"), contentTypes(int(book.sheets().size()))},
        {QStringLiteral("_rels/.rels"), relationships({{QStringLiteral("officeDocument"), QStringLiteral("xl/workbook.xml")}})},
        {QStringLiteral("xl/workbook.xml"), workbookPart(book)},
        {QStringLiteral("xl/_rels/workbook.xml.rels"), relationships(rels)},
    };
    entries += sheets;
    entries.append({QStringLiteral("xl/sharedStrings.xml"), strings.part()});
    entries.append({QStringLiteral("xl/styles.xml"), stylesPart()});
    return buildZipPackage(entries);
}

void writeXlsx(const Workbook& book, const QString& path)
{
    writeFileBytes(path, xlsxBytes(book));
}

} // namespace kelvor::sheet
