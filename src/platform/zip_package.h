#pragma once
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace kelvor {

// A zip package (an .xlsx or .docx file): named entries of bytes. Reading
// takes the whole file into memory. Failures raise RunError 53 when the file
// is missing, else 75 (unreadable, not a zip, entry missing or damaged, file
// or entry over the limit) with a description naming the file and entry.
class ZipPackage {
public:
    // Neither the file nor any one entry may be larger than this when read.
    static constexpr qint64 DefaultLimit = 256LL * 1024 * 1024;

    // Paths go through paths::resolve.
    static ZipPackage open(const QString& path, qint64 limit = DefaultLimit);
    static ZipPackage fromBytes(const QByteArray& bytes, const QString& name = QString(),
                                qint64 limit = DefaultLimit);

    QStringList names() const { return names_; }
    bool contains(const QString& entry) const { return names_.contains(entry); }
    // The uncompressed bytes of one entry.
    QByteArray read(const QString& entry) const;

private:
    ZipPackage() = default;
    QString name_;
    QByteArray bytes_;
    QStringList names_;
    qint64 limit_ = DefaultLimit;
};

struct ZipEntry {
    QString name; // "xl/workbook.xml": forward slashes, no leading slash
    QByteArray data;
};

// The bytes of a new package holding these entries, deflated, in this order.
QByteArray buildZipPackage(const QList<ZipEntry>& entries);

// Writes a new package atomically: a temporary file beside the target
// replaces it only when complete (errors as writeFileBytes).
void writeZipPackage(const QString& path, const QList<ZipEntry>& entries);

} // namespace kelvor
