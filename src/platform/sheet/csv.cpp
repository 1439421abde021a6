#include "platform/sheet/sheet_files.h"

#include "platform/errors.h"
#include "platform/paths.h"
#include "platform/text_file.h"

#include <QFile>
#include <QFileInfo>

namespace kelvor::sheet {
namespace {

constexpr qint64 kCsvLimit = 256LL * 1024 * 1024;
const QByteArray kBom("\xEF\xBB\xBF");

QString csvField(const QString& text)
{
    if (!text.contains(u',') && !text.contains(u'"') && !text.contains(u'\n') && !text.contains(u'\r'))
        return text;
    QString quoted = text;
    quoted.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

QVariant fieldValue(const QString& field, bool quoted)
{
    if (field.isEmpty())
        return QVariant();
    if (!quoted) {
        bool ok = false;
        const double d = field.toDouble(&ok);
        if (ok && qIsFinite(d) && exactNumberText(d) == field)
            return d;
    }
    return field;
}

} // namespace

QString exactNumberText(double value)
{
    if (value == 0)
        return QStringLiteral("0");
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

QByteArray csvBytes(const Sheet& sheet)
{
    QByteArray out = kBom;
    const int lastRow = sheet.lastRow();
    const int lastColumn = sheet.lastColumn();
    for (int r = 1; r <= lastRow; ++r) {
        QStringList fields;
        for (int c = 1; c <= lastColumn; ++c) {
            const QVariant v = sheet.cell(r, c);
            fields << (v.typeId() == QMetaType::Double ? exactNumberText(v.toDouble()) : csvField(v.toString()));
        }
        out += fields.join(u',').toUtf8() + "\r\n";
    }
    return out;
}

Workbook readCsvBytes(const QByteArray& bytes, const QString& sheetName)
{
    QString text = QString::fromUtf8(bytes.startsWith(kBom) ? bytes.mid(kBom.size()) : bytes);
    Workbook book;
    Sheet& sheet = book.activeSheet();
    sheet.setName(sheetName);
    int row = 1;
    int column = 1;
    QString field;
    bool quoted = false;
    bool inQuotes = false;
    auto endField = [&] {
        if (!inBounds(row, column)) {
            if (!field.isEmpty())
                book.dropped.beyondBounds = true;
        } else {
            sheet.setCell(row, column, fieldValue(field, quoted));
        }
        field.clear();
        quoted = false;
        ++column;
    };
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar ch = text[i];
        if (inQuotes) {
            if (ch == u'"') {
                if (i + 1 < n && text[i + 1] == u'"') {
                    field += u'"';
                    ++i;
                } else {
                    inQuotes = false;
                }
            } else {
                field += ch;
            }
        } else if (ch == u'"' && field.isEmpty() && !quoted) {
            inQuotes = true;
            quoted = true;
        } else if (ch == u',') {
            endField();
        } else if (ch == u'\r' || ch == u'\n') {
            endField();
            if (ch == u'\r' && i + 1 < n && text[i + 1] == u'\n')
                ++i;
            ++row;
            column = 1;
        } else {
            field += ch;
        }
    }
    if (inQuotes)
        raise(err::PathFileAccess, sheetName + QStringLiteral(": a quoted field has no end"));
    if (!field.isEmpty() || quoted || column > 1)
        endField();
    return book;
}

Workbook readCsv(const QString& path)
{
    const QString real = paths::resolve(path);
    QFileInfo fi(real);
    if (!fi.exists())
        raise(err::FileNotFound, path);
    if (fi.isDir() || fi.size() > kCsvLimit)
        raise(err::PathFileAccess, path);
    QFile f(real);
    if (!f.open(QIODevice::ReadOnly))
        raise(err::PathFileAccess, path);
    Workbook book = readCsvBytes(f.readAll(), fi.completeBaseName());
    book.path = path;
    return book;
}

void writeCsv(const Workbook& book, const QString& path)
{
    writeFileBytes(path, csvBytes(book.activeSheet()));
}

bool isCsvPath(const QString& path)
{
    return path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive);
}

Workbook readWorkbook(const QString& path)
{
    return isCsvPath(path) ? readCsv(path) : readXlsx(path);
}

void writeWorkbook(const Workbook& book, const QString& path)
{
    if (isCsvPath(path))
        writeCsv(book, path);
    else
        writeXlsx(book, path);
}

} // namespace kelvor::sheet
