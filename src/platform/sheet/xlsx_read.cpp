#include "platform/sheet/sheet_files.h"

#include "platform/errors.h"
#include "platform/zip_package.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <cmath>

namespace kelvor::sheet {
namespace {

const QString kOfficeDocument = QStringLiteral("/officeDocument");
const QString kWorksheet = QStringLiteral("/worksheet");
const QString kSharedStrings = QStringLiteral("/sharedStrings");

// Texts in the file carry characters XML cannot hold as _xHHHH_.
QString unescapeXString(const QString& text)
{
    if (!text.contains(QStringLiteral("_x")))
        return text;
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'_' && i + 6 < text.size() && text[i + 1] == u'x' && text[i + 6] == u'_') {
            bool ok = false;
            const ushort code = text.mid(i + 2, 4).toUShort(&ok, 16);
            if (ok) {
                out += QChar(code);
                i += 6;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

class PartReader {
public:
    PartReader(const ZipPackage& package, const QString& fileName)
        : package_(package), file_(fileName) {}

    QByteArray bytes(const QString& entry) const { return package_.read(entry); }
    bool has(const QString& entry) const { return package_.contains(entry); }

    [[noreturn]] void fail(const QString& entry, const QXmlStreamReader& xml) const
    {
        raise(err::PathFileAccess, QStringLiteral("%1: %2 line %3: %4")
                                        .arg(file_, entry)
                                        .arg(xml.lineNumber())
                                        .arg(xml.errorString()));
    }
    [[noreturn]] void fail(const QString& why) const
    {
        raise(err::PathFileAccess, file_.isEmpty() ? why : file_ + QStringLiteral(": ") + why);
    }

    // Relationship id -> (type, target part) of a part's .rels.
    QHash<QString, QPair<QString, QString>> relationships(const QString& part) const
    {
        const QString dir = QFileInfo(part).path() == QLatin1String(".") ? QString() : QFileInfo(part).path();
        const QString rels = (dir.isEmpty() ? QString() : dir + u'/') + QStringLiteral("_rels/") +
                             QFileInfo(part).fileName() + QStringLiteral(".rels");
        QHash<QString, QPair<QString, QString>> out;
        if (!has(rels))
            return out;
        QXmlStreamReader xml(bytes(rels));
        while (!xml.atEnd()) {
            xml.readNext();
            if (xml.isStartElement() && xml.name() == QLatin1String("Relationship")) {
                const auto a = xml.attributes();
                if (a.value(QStringLiteral("TargetMode")) == QLatin1String("External"))
                    continue;
                QString target = a.value(QStringLiteral("Target")).toString();
                target = target.startsWith(u'/') ? target.mid(1)
                                                 : QDir::cleanPath((dir.isEmpty() ? QString() : dir + u'/') + target);
                out.insert(a.value(QStringLiteral("Id")).toString(),
                           {a.value(QStringLiteral("Type")).toString(), target});
            }
        }
        if (xml.hasError())
            fail(rels, xml);
        return out;
    }

    QString targetOfType(const QString& part, const QString& typeEnd) const
    {
        for (const auto& r : relationships(part))
            if (r.first.endsWith(typeEnd))
                return r.second;
        return QString();
    }

private:
    const ZipPackage& package_;
    QString file_;
};

// The text of an <si> or <is>: its <t> elements, runs included, phonetic
// runs left out. Rich-text runs lose their formats.
QString readRichText(QXmlStreamReader& xml, Dropped& dropped)
{
    QString text;
    int depth = 1;
    while (depth > 0 && !xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            ++depth;
            if (xml.name() == QLatin1String("rPh")) {
                xml.skipCurrentElement();
                --depth;
            } else if (xml.name() == QLatin1String("r")) {
                dropped.formats = true;
            } else if (xml.name() == QLatin1String("t")) {
                text += xml.readElementText();
                --depth;
            }
        } else if (xml.isEndElement()) {
            --depth;
        }
    }
    return unescapeXString(text);
}

QStringList readSharedStrings(const PartReader& parts, const QString& entry, Dropped& dropped)
{
    QStringList out;
    if (entry.isEmpty() || !parts.has(entry))
        return out;
    QXmlStreamReader xml(parts.bytes(entry));
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("si"))
            out << readRichText(xml, dropped);
    }
    if (xml.hasError())
        parts.fail(entry, xml);
    return out;
}

struct CellPlace {
    int row = 0;
    int column = 0;
};

void readCell(QXmlStreamReader& xml, const PartReader& parts, const QString& entry, const QStringList& shared,
              const CellPlace& place, Sheet& sheet, Dropped& dropped)
{
    const auto a = xml.attributes();
    const QString type = a.value(QStringLiteral("t")).toString();
    const QStringView style = a.value(QStringLiteral("s"));
    if (!style.isEmpty() && style != QLatin1String("0"))
        dropped.formats = true;
    QString raw;
    bool hasValue = false;
    QVariant value;
    while (xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("v")) {
            raw = xml.readElementText();
            hasValue = true;
        } else if (xml.name() == QLatin1String("f")) {
            dropped.formulas = true;
            xml.skipCurrentElement();
        } else if (xml.name() == QLatin1String("is")) {
            value = readRichText(xml, dropped);
        } else {
            xml.skipCurrentElement();
        }
    }
    if (xml.hasError())
        return;
    if (type == QLatin1String("inlineStr")) {
        // value already read
    } else if (!hasValue || (raw.isEmpty() && type != QLatin1String("str"))) {
        return; // a formula never calculated has no cached value
    } else if (type == QLatin1String("s")) {
        bool ok = false;
        const int i = raw.trimmed().toInt(&ok);
        if (!ok || i < 0 || i >= shared.size())
            parts.fail(QStringLiteral("%1: cell %2 names no shared string").arg(entry, cellAddress(place.row, place.column)));
        value = shared[i];
    } else if (type == QLatin1String("b")) {
        value = raw.trimmed() == QLatin1String("1") ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
    } else if (type == QLatin1String("str") || type == QLatin1String("e") || type == QLatin1String("d")) {
        value = unescapeXString(raw);
    } else {
        bool ok = false;
        const double d = raw.trimmed().toDouble(&ok);
        if (!ok || !std::isfinite(d)) // "inf" and "nan" are no values a sheet holds
            parts.fail(QStringLiteral("%1: cell %2 holds no number").arg(entry, cellAddress(place.row, place.column)));
        value = d;
    }
    if (!inBounds(place.row, place.column)) {
        dropped.beyondBounds = true;
        return;
    }
    sheet.setCell(place.row, place.column, value);
}

enum class Place { Inside, Beyond, Bad };

// "B7" or, lacking it, the place after the previous cell. An address of
// letters and digits past our bounds is a cell we cannot hold.
Place placeOf(QStringView ref, CellPlace& place)
{
    if (ref.isEmpty())
        return Place::Inside;
    int r = 0;
    int c = 0;
    if (parseCellAddress(ref.toString(), &r, &c)) {
        place = {r, c};
        return Place::Inside;
    }
    static const QRegularExpression address(QStringLiteral("^\\$?[A-Za-z]{1,3}\\$?[0-9]{1,7}$"));
    return address.match(ref).hasMatch() ? Place::Beyond : Place::Bad;
}

void readWorksheet(const PartReader& parts, const QString& entry, const QStringList& shared, Sheet& sheet,
                   Dropped& dropped, bool* tabSelected)
{
    QXmlStreamReader xml(parts.bytes(entry));
    bool activeSet = false;
    CellPlace place;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        const QStringView name = xml.name();
        const auto a = xml.attributes();
        if (name == QLatin1String("sheetView")) {
            *tabSelected = a.value(QStringLiteral("tabSelected")) == QLatin1String("1") ||
                           a.value(QStringLiteral("tabSelected")) == QLatin1String("true");
        } else if (name == QLatin1String("selection") && !activeSet) {
            int r = 0;
            int c = 0;
            if (parseCellAddress(a.value(QStringLiteral("activeCell")).toString(), &r, &c))
                activeSet = sheet.setActiveCell(r, c);
        } else if (name == QLatin1String("row")) {
            const QStringView r = a.value(QStringLiteral("r"));
            bool ok = true;
            place.row = r.isEmpty() ? place.row + 1 : r.toInt(&ok);
            if (!ok || place.row < 1)
                parts.fail(QStringLiteral("%1: bad row number %2").arg(entry, r.toString()));
            place.column = 0;
            if (a.value(QStringLiteral("customFormat")) == QLatin1String("1"))
                dropped.formats = true;
        } else if (name == QLatin1String("c")) {
            ++place.column;
            const QStringView ref = a.value(QStringLiteral("r"));
            const Place where = placeOf(ref, place);
            if (where == Place::Bad)
                parts.fail(QStringLiteral("%1: bad cell address %2").arg(entry, ref.toString()));
            if (where == Place::Beyond) {
                dropped.beyondBounds = true;
                xml.skipCurrentElement();
                continue;
            }
            readCell(xml, parts, entry, shared, place, sheet, dropped);
        } else if (name == QLatin1String("mergeCell")) {
            dropped.mergedCells = true;
        } else if (name == QLatin1String("conditionalFormatting")) {
            dropped.formats = true;
        } else if (name == QLatin1String("col")) {
            const QStringView s = a.value(QStringLiteral("style"));
            if (!s.isEmpty() && s != QLatin1String("0"))
                dropped.formats = true;
        }
    }
    if (xml.hasError())
        parts.fail(entry, xml);
}

} // namespace

namespace {

Workbook readPackage(const ZipPackage& package, const QString& name)
{
    PartReader parts(package, name);
    QString workbookPart = parts.targetOfType(QString(), kOfficeDocument);
    if (workbookPart.isEmpty())
        workbookPart = QStringLiteral("xl/workbook.xml");
    if (!parts.has(workbookPart))
        parts.fail(QStringLiteral("no workbook part"));
    const auto rels = parts.relationships(workbookPart);

    Workbook book;
    book.sheets().clear();
    const QStringList shared = readSharedStrings(parts, parts.targetOfType(workbookPart, kSharedStrings), book.dropped);

    int activeTab = -1;
    QStringList sheetParts;
    QXmlStreamReader xml(parts.bytes(workbookPart));
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        const auto a = xml.attributes();
        if (xml.name() == QLatin1String("workbookView") && activeTab < 0) {
            activeTab = a.hasAttribute(QStringLiteral("activeTab")) ? a.value(QStringLiteral("activeTab")).toInt() : 0;
        } else if (xml.name() == QLatin1String("sheet")) {
            QString id;
            for (const QXmlStreamAttribute& at : a)
                if (at.name() == QLatin1String("id"))
                    id = at.value().toString();
            const auto rel = rels.value(id);
            if (!rel.first.endsWith(kWorksheet))
                continue; // chart sheets and the like have no cells
            if (!parts.has(rel.second))
                parts.fail(QStringLiteral("no sheet part ") + rel.second);
            book.sheets().append(Sheet(a.value(QStringLiteral("name")).toString()));
            sheetParts << rel.second;
        } else if (xml.name() == QLatin1String("definedName")) {
            book.dropped.formulas = true;
        }
    }
    if (xml.hasError())
        parts.fail(workbookPart, xml);
    if (sheetParts.isEmpty())
        parts.fail(QStringLiteral("no worksheet"));

    int selected = -1;
    for (qsizetype i = 0; i < sheetParts.size(); ++i) {
        bool tabSelected = false;
        readWorksheet(parts, sheetParts[i], shared, book.sheets()[i], book.dropped, &tabSelected);
        if (tabSelected && selected < 0)
            selected = int(i);
    }
    book.setActiveIndex(activeTab >= 0 && activeTab < sheetParts.size() ? activeTab : qMax(selected, 0));
    book.path = name;
    return book;
}

} // namespace

Workbook readXlsxBytes(const QByteArray& bytes, const QString& name)
{
    return readPackage(ZipPackage::fromBytes(bytes, name), name);
}

Workbook readXlsx(const QString& path)
{
    return readPackage(ZipPackage::open(path), path);
}

} // namespace kelvor::sheet
