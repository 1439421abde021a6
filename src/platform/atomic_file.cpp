#include "atomic_file.h"

#include "errors.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvor {

namespace {

std::atomic<WriteFault> writeFault{nullptr};

// The errno a step fails with: the injected one, else 0.
int injected(WriteStep step)
{
    const WriteFault f = writeFault.load();
    return f ? f(step) : 0;
}

// Bytes held before they go to the temporary file.
constexpr qsizetype kSpillAt = 1 << 20;
constexpr int kLeftoverAge = 60; // seconds

int errorNumberFor(int e)
{
    return (e == ENOSPC || e == EDQUOT || e == EFBIG) ? err::DiskFull : err::PathFileAccess;
}

// Leftovers of earlier writes of this target that a killed process left.
void removeOldLeftovers(const QString& folder, const QString& name)
{
    const QString prefix = AtomicFile::temporaryPrefix(name);
    const QDateTime limit = QDateTime::currentDateTimeUtc().addSecs(-kLeftoverAge);
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System);
    while (it.hasNext()) {
        it.next();
        const QString entry = it.fileName();
        if (entry.size() == prefix.size() + 6 && entry.startsWith(prefix)
            && it.fileInfo().lastModified().toUTC() < limit)
            QFile::remove(it.filePath());
    }
}

QString randomSuffix()
{
    static const char chars[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QString s;
    for (int i = 0; i < 6; ++i)
        s += QLatin1Char(chars[QRandomGenerator::global()->bounded(int(sizeof chars - 1))]);
    return s;
}

} // namespace

void setWriteFault(WriteFault fault)
{
    writeFault.store(fault);
}

QString AtomicFile::temporaryPrefix(const QString& targetName)
{
    return QStringLiteral(".kelvor-tmp-") + targetName + QLatin1Char('-');
}

AtomicFile::AtomicFile(const QString& nativePath)
{
    QFileInfo fi(nativePath);
    // A link is followed: the file it names is the one replaced.
    if (fi.isSymLink() && fi.exists())
        fi = QFileInfo(fi.canonicalFilePath());
    target_ = fi.absoluteFilePath();
    if (nativePath.isEmpty() || fi.isDir())
        raise(err::PathFileAccess);
    const QString folder = fi.absolutePath();
    if (!QFileInfo(folder).isDir())
        raise(err::PathNotFound);
    removeOldLeftovers(folder, fi.fileName());
    for (int attempt = 0; fd_ < 0; ++attempt) {
        temp_ = folder + QLatin1Char('/') + temporaryPrefix(fi.fileName()) + randomSuffix();
        fd_ = ::open(QFile::encodeName(temp_).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd_ < 0 && (errno != EEXIST || attempt > 100)) {
            const int e = errno;
            temp_.clear();
            raise(errorNumberFor(e));
        }
    }
    // The replacement keeps the permissions of the file it replaces.
    struct stat st;
    if (::stat(QFile::encodeName(target_).constData(), &st) == 0)
        ::fchmod(fd_, st.st_mode & 07777);
}

AtomicFile::~AtomicFile()
{
    discard();
}

void AtomicFile::discard()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    if (!temp_.isEmpty())
        ::unlink(QFile::encodeName(temp_).constData());
    temp_.clear();
}

void AtomicFile::fail(int errnoValue)
{
    discard();
    raise(errorNumberFor(errnoValue));
}

void AtomicFile::write(const char* data, qsizetype size)
{
    if (fd_ < 0)
        raise(err::PathFileAccess);
    buffer_.append(data, size);
    if (buffer_.size() >= kSpillAt)
        flushBuffer(WriteStep::Write);
}

void AtomicFile::flushBuffer(WriteStep step)
{
    if (const int e = injected(step))
        fail(e);
    const char* p = buffer_.constData();
    qsizetype left = buffer_.size();
    while (left > 0) {
        const ssize_t n = ::write(fd_, p, size_t(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            fail(n < 0 ? errno : ENOSPC);
        p += n;
        left -= n;
    }
    buffer_.resize(0);
}

void AtomicFile::commit()
{
    if (fd_ < 0)
        raise(err::PathFileAccess);
    flushBuffer(WriteStep::Flush);
    // The data must be on the disk before the name points at it, or a crash
    // right after the rename could leave an empty file.
    if (const int e = injected(WriteStep::Sync))
        fail(e);
    if (::fsync(fd_) != 0)
        fail(errno);
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0)
        fail(errno);
    if (::rename(QFile::encodeName(temp_).constData(), QFile::encodeName(target_).constData()) != 0)
        fail(errno);
    temp_.clear();
    // Make the rename itself durable; a failure here loses nothing written.
    const int dir = ::open(QFile::encodeName(QFileInfo(target_).absolutePath()).constData(), O_RDONLY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

void copyFileAtomically(const QString& sourceNative, const QString& targetNative)
{
    QFile source(sourceNative);
    if (!QFileInfo(sourceNative).isFile() || !source.open(QIODevice::ReadOnly))
        raise(err::FileNotFound);
    AtomicFile target(targetNative);
    while (!source.atEnd()) {
        const QByteArray chunk = source.read(kSpillAt);
        if (chunk.isEmpty() && source.error() != QFileDevice::NoError)
            raise(err::FileNotFound);
        target.write(chunk);
    }
    target.commit();
}

} // namespace kelvor
