#include "text_file.h"

#include "errors.h"
#include "paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QDateTime>
#include <QDirIterator>
#include <QRandomGenerator>

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <iconv.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvor {

namespace {

struct Iconv {
    iconv_t cd;
    Iconv(const char* to, const char* from) : cd(iconv_open(to, from)) {}
    ~Iconv() { if (cd != iconv_t(-1)) iconv_close(cd); }
};

} // namespace

QByteArray encodeGbk(const QString& text)
{
    // Encode one code point at a time so that a character outside GBK
    // becomes "?" as the Windows ANSI conversion does.
    thread_local Iconv cv("GBK", "UTF-8");
    QByteArray out;
    out.reserve(text.size() * 2);
    const QByteArray utf8 = text.toUtf8();
    const char* p = utf8.constData();
    const char* end = p + utf8.size();
    while (p < end) {
        const unsigned char c = static_cast<unsigned char>(*p);
        if (c < 0x80) {
            out.append(char(c));
            ++p;
            continue;
        }
        int len = (c >= 0xF0) ? 4 : (c >= 0xE0) ? 3 : (c >= 0xC0) ? 2 : 1;
        if (p + len > end)
            len = int(end - p);
        char buf[8];
        char* inp = const_cast<char*>(p);
        size_t inLeft = size_t(len);
        char* outp = buf;
        size_t outLeft = sizeof buf;
        iconv(cv.cd, nullptr, nullptr, nullptr, nullptr);
        if (iconv(cv.cd, &inp, &inLeft, &outp, &outLeft) == size_t(-1) || inLeft != 0)
            out.append('?');
        else
            out.append(buf, qsizetype(sizeof buf - outLeft));
        p += len;
    }
    return out;
}

QString decodeGbk(const QByteArray& bytes)
{
    thread_local Iconv cv("UTF-8", "GBK");
    QString out;
    out.reserve(bytes.size());
    const char* p = bytes.constData();
    const char* end = p + bytes.size();
    QByteArray run;
    while (p < end) {
        const unsigned char c = static_cast<unsigned char>(*p);
        if (c < 0x80) {
            out.append(QChar(c));
            ++p;
            continue;
        }
        if (c == 0x80 || c == 0xFF || p + 1 >= end) {
            out.append(QChar(0xFFFD));
            ++p;
            continue;
        }
        char buf[8];
        char* inp = const_cast<char*>(p);
        size_t inLeft = 2;
        char* outp = buf;
        size_t outLeft = sizeof buf;
        iconv(cv.cd, nullptr, nullptr, nullptr, nullptr);
        if (iconv(cv.cd, &inp, &inLeft, &outp, &outLeft) == size_t(-1) || inLeft != 0) {
            out.append(QChar(0xFFFD));
            ++p;
        } else {
            out.append(QString::fromUtf8(buf, qsizetype(sizeof buf - outLeft)));
            p += 2;
        }
    }
    return out;
}

TextReader::TextReader(const QString& path)
{
    const QString real = paths::resolve(path);
    QFileInfo fi(real);
    if (path.trimmed().isEmpty() || !fi.exists())
        raise(err::FileNotFound);
    if (fi.isDir())
        raise(err::PathFileAccess);
    QFile f(real);
    if (!f.open(QIODevice::ReadOnly))
        raise(err::PermissionDenied);
    data_ = f.readAll();
}

TextReader TextReader::fromBytes(const QByteArray& bytes)
{
    TextReader r;
    r.data_ = bytes;
    return r;
}

bool TextReader::atEnd() const
{
    return pos_ >= data_.size();
}

QString TextReader::readLine()
{
    if (atEnd())
        raise(err::InputPastEnd);
    qsizetype i = pos_;
    const qsizetype n = data_.size();
    while (i < n && data_[i] != '\r' && data_[i] != '\n')
        ++i;
    const QByteArray line = data_.mid(pos_, i - pos_);
    if (i < n) {
        if (data_[i] == '\r' && i + 1 < n && data_[i + 1] == '\n')
            i += 2;
        else
            i += 1;
    }
    pos_ = i;
    ++line_;
    return decodeGbk(line);
}

QString TextReader::lineAt(qsizetype position) const
{
    qsizetype i = position;
    while (i < data_.size() && data_[i] != '\r' && data_[i] != '\n')
        ++i;
    return decodeGbk(data_.mid(position, i - position));
}

QString TextReader::readRest()
{
    const QString s = decodeGbk(data_.mid(pos_));
    pos_ = data_.size();
    return s;
}

QStringList readTextLines(const QString& path)
{
    TextReader r(path);
    QStringList lines;
    while (!r.atEnd())
        lines.append(r.readLine());
    return lines;
}

QString readTextFile(const QString& path)
{
    TextReader r(path);
    return r.readRest();
}

bool textFileExists(const QString& path)
{
    if (path.trimmed().isEmpty())
        return false;
    QFileInfo fi(paths::resolve(path));
    return fi.exists() && fi.isFile();
}

namespace {

std::atomic<WriteFault> writeFault{nullptr};

// The errno a step fails with: the injected one, else 0.
int injected(WriteStep step)
{
    const WriteFault f = writeFault.load();
    return f ? f(step) : 0;
}

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

TextWriter::TextWriter(const QString& path, Mode mode)
    : path_(paths::resolve(path))
{
    if (path.trimmed().isEmpty())
        raise(err::FileNotFound);
    if (mode == Append) {
        QFile f(path_);
        if (f.exists()) {
            if (!f.open(QIODevice::ReadOnly))
                raise(err::PermissionDenied);
            buffer_ = f.readAll();
        }
    }
}

TextWriter::~TextWriter() = default;

void TextWriter::spillIfLarge()
{
    if (buffer_.size() < kSpillAt)
        return;
    if (!file_)
        file_ = std::make_unique<AtomicFile>(path_);
    file_->write(buffer_);
    buffer_.resize(0);
}

void TextWriter::write(const QString& text)
{
    buffer_.append(encodeGbk(text));
    spillIfLarge();
}

void TextWriter::writeLine(const QString& line)
{
    buffer_.append(encodeGbk(line));
    buffer_.append("\r\n", 2);
    spillIfLarge();
}

void TextWriter::writeRaw(const QByteArray& bytes)
{
    buffer_.append(bytes);
    spillIfLarge();
}

void TextWriter::commit()
{
    if (committed_)
        return;
    if (!file_)
        file_ = std::make_unique<AtomicFile>(path_);
    file_->write(buffer_);
    buffer_.clear();
    file_->commit();
    committed_ = true;
}

void writeTextLines(const QString& path, const QStringList& lines)
{
    TextWriter w(path);
    for (const QString& l : lines)
        w.writeLine(l);
    w.commit();
}

void writeFileBytes(const QString& path, const QByteArray& bytes)
{
    AtomicFile f(paths::resolve(path));
    f.write(bytes);
    f.commit();
}

} // namespace kelvor
