#include "platform/zip_package.h"

#include "platform/errors.h"
#include "platform/paths.h"
#include "platform/text_file.h"

#include <QFile>
#include <QFileInfo>
#include <zip.h>

#include <memory>

namespace kelvor {
namespace {

struct ArchiveCloser {
    void operator()(zip_t* z) const { zip_discard(z); }
};
using Archive = std::unique_ptr<zip_t, ArchiveCloser>;

struct FileCloser {
    void operator()(zip_file_t* f) const { zip_fclose(f); }
};

[[noreturn]] void fail(const QString& file, const QString& why)
{
    raise(err::PathFileAccess, file.isEmpty() ? why : file + QStringLiteral(": ") + why);
}

// An archive over bytes that stay owned by the caller.
Archive openBytes(const QByteArray& bytes, const QString& name)
{
    if (bytes.isEmpty()) // libzip takes an empty file for an empty archive
        fail(name, QStringLiteral("not a zip package"));
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* src = zip_source_buffer_create(bytes.constData(), zip_uint64_t(bytes.size()), 0, &error);
    if (!src) {
        zip_error_fini(&error);
        fail(name, QStringLiteral("not a zip package"));
    }
    zip_t* z = zip_open_from_source(src, ZIP_RDONLY, &error);
    zip_error_fini(&error);
    if (!z) {
        zip_source_free(src);
        fail(name, QStringLiteral("not a zip package"));
    }
    return Archive(z);
}

} // namespace

ZipPackage ZipPackage::open(const QString& path, qint64 limit)
{
    const QString real = paths::resolve(path);
    QFileInfo fi(real);
    if (!fi.exists())
        raise(err::FileNotFound, path);
    if (fi.isDir())
        fail(path, QStringLiteral("is a folder"));
    if (fi.size() > limit)
        fail(path, QStringLiteral("file too large"));
    QFile f(real);
    if (!f.open(QIODevice::ReadOnly))
        fail(path, QStringLiteral("cannot be read"));
    return fromBytes(f.readAll(), path, limit);
}

ZipPackage ZipPackage::fromBytes(const QByteArray& bytes, const QString& name, qint64 limit)
{
    ZipPackage p;
    p.name_ = name;
    p.bytes_ = bytes;
    p.limit_ = limit;
    Archive z = openBytes(p.bytes_, name);
    const zip_int64_t n = zip_get_num_entries(z.get(), 0);
    for (zip_int64_t i = 0; i < n; ++i) {
        const char* entry = zip_get_name(z.get(), zip_uint64_t(i), ZIP_FL_ENC_GUESS);
        if (entry)
            p.names_ << QString::fromUtf8(entry);
    }
    return p;
}

QByteArray ZipPackage::read(const QString& entry) const
{
    Archive z = openBytes(bytes_, name_);
    const QByteArray key = entry.toUtf8();
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_stat(z.get(), key.constData(), ZIP_FL_ENC_GUESS, &st) != 0)
        fail(name_, QStringLiteral("no entry ") + entry);
    if ((st.valid & ZIP_STAT_SIZE) && st.size > zip_uint64_t(limit_))
        fail(name_, entry + QStringLiteral(" too large"));
    std::unique_ptr<zip_file_t, FileCloser> f(zip_fopen(z.get(), key.constData(), ZIP_FL_ENC_GUESS));
    if (!f)
        fail(name_, entry + QStringLiteral(" cannot be read"));
    // The stated size may lie: read in chunks and stop past the limit.
    QByteArray out;
    char chunk[65536];
    for (;;) {
        const zip_int64_t got = zip_fread(f.get(), chunk, sizeof chunk);
        if (got < 0)
            fail(name_, entry + QStringLiteral(" is damaged"));
        if (got == 0)
            break;
        if (out.size() + got > limit_)
            fail(name_, entry + QStringLiteral(" too large"));
        out.append(chunk, qsizetype(got));
    }
    return out;
}

QByteArray buildZipPackage(const QList<ZipEntry>& entries)
{
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* buffer = zip_source_buffer_create(nullptr, 0, 0, &error);
    zip_error_fini(&error);
    if (!buffer)
        fail(QString(), QStringLiteral("cannot build zip package"));
    zip_source_keep(buffer); // outlives the archive: the result is read from it
    std::unique_ptr<zip_source_t, void (*)(zip_source_t*)> keep(buffer, zip_source_free);
    zip_error_init(&error);
    zip_t* z = zip_open_from_source(buffer, ZIP_TRUNCATE, &error);
    zip_error_fini(&error);
    if (!z)
        fail(QString(), QStringLiteral("cannot build zip package"));
    Archive archive(z);
    for (const ZipEntry& e : entries) {
        zip_source_t* data = zip_source_buffer(z, e.data.constData(), zip_uint64_t(e.data.size()), 0);
        if (!data)
            fail(QString(), QStringLiteral("cannot add ") + e.name);
        if (zip_file_add(z, e.name.toUtf8().constData(), data, ZIP_FL_ENC_UTF_8) < 0) {
            zip_source_free(data);
            fail(QString(), QStringLiteral("cannot add ") + e.name);
        }
    }
    if (zip_close(z) != 0)
        fail(QString(), QStringLiteral("cannot build zip package")); // archive discards it
    archive.release();

    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_source_stat(buffer, &st) != 0 || zip_source_open(buffer) != 0)
        fail(QString(), QStringLiteral("cannot build zip package"));
    QByteArray out(qsizetype(st.size), Qt::Uninitialized);
    const zip_int64_t got = zip_source_read(buffer, out.data(), st.size);
    zip_source_close(buffer);
    if (got != zip_int64_t(st.size))
        fail(QString(), QStringLiteral("cannot build zip package"));
    return out;
}

void writeZipPackage(const QString& path, const QList<ZipEntry>& entries)
{
    writeFileBytes(path, buildZipPackage(entries));
}

} // namespace kelvor
