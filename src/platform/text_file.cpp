#include "text_file.h"

#include "errors.h"
#include "paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <iconv.h>

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

// Past this a text writer streams to its temporary file.
constexpr qsizetype kSpillAt = 1 << 20;

} // namespace

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
