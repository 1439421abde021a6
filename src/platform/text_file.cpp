#include "text_file.h"

#include "errors.h"
#include "paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <cerrno>
#include <cstring>
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

namespace {

bool startsWith(const QByteArray& bytes, const char* mark, int size)
{
    return bytes.size() >= size && std::memcmp(bytes.constData(), mark, size_t(size)) == 0;
}

bool isAscii(const QByteArray& bytes)
{
    for (const char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

bool isUtf16(const QByteArray& bytes)
{
    return startsWith(bytes, "\xFF\xFE", 2) || startsWith(bytes, "\xFE\xFF", 2);
}

bool isUtf8Bom(const QByteArray& bytes)
{
    return startsWith(bytes, "\xEF\xBB\xBF", 3);
}

bool isValidUtf8(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(bytes); // the decoding runs on conversion
    return !utf8.hasError();
}

// The decoder lets a half of a surrogate pair through; in a file it is junk.
bool hasLoneSurrogate(const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        else if (text[i].isSurrogate())
            return true;
    }
    return false;
}

// The text of a UTF-16 file (its mark says the byte order); broken is set
// when the bytes are not valid UTF-16.
QString decodeUtf16(const QByteArray& bytes, bool* broken)
{
    QStringDecoder d(startsWith(bytes, "\xFF\xFE", 2) ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE,
                     QStringDecoder::Flag::Stateless);
    const QString text = d.decode(bytes.mid(2));
    if (broken)
        *broken = d.hasError() || bytes.size() % 2 != 0 || hasLoneSurrogate(text);
    return text;
}

} // namespace

// Valid UTF-8 whose every sequence has two bytes is valid GBK as well (砖
// is D7 A9 in GBK and a Hebrew letter in UTF-8). Chinese text in UTF-8
// takes three bytes a character, so such a file is UTF-8 only when its
// characters are Latin-1 signs (°, ±, ²: leads C2 and C3).
bool looksUtf8(const QByteArray& bytes)
{
    bool foreignPairs = false;
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= 0xE0)
            return true;
        if (b >= 0xC4)
            foreignPairs = true;
    }
    return !foreignPairs;
}

TextEncoding textEncodingOf(const QByteArray& bytes)
{
    if (isUtf16(bytes))
        return TextEncoding::Utf16;
    if (isUtf8Bom(bytes) || (!isAscii(bytes) && isValidUtf8(bytes) && looksUtf8(bytes)))
        return TextEncoding::Utf8;
    return TextEncoding::Gbk;
}

QString decodeText(const QByteArray& bytes)
{
    switch (textEncodingOf(bytes)) {
    case TextEncoding::Utf16:
        return decodeUtf16(bytes, nullptr);
    case TextEncoding::Utf8:
        return QString::fromUtf8(isUtf8Bom(bytes) ? bytes.mid(3) : bytes);
    case TextEncoding::Gbk:
        break;
    }
    return decodeGbk(bytes);
}

void TextReader::takeBytes(const QByteArray& bytes)
{
    switch (textEncodingOf(bytes)) {
    case TextEncoding::Utf16:
        data_ = decodeUtf16(bytes, &broken_).toUtf8();
        utf8_ = true;
        break;
    case TextEncoding::Utf8:
        data_ = isUtf8Bom(bytes) ? bytes.mid(3) : bytes;
        utf8_ = true;
        break;
    case TextEncoding::Gbk:
        data_ = bytes;
        break;
    }
}

QString TextReader::decode(const QByteArray& bytes) const
{
    return utf8_ ? QString::fromUtf8(bytes) : decodeGbk(bytes);
}

bool TextReader::holdsBinary() const
{
    if (broken_)
        return true;
    for (const char c : data_) {
        const auto b = static_cast<unsigned char>(c);
        if ((b < 0x20 && b != '\t' && b != '\r' && b != '\n') || b == 0x7F)
            return true;
    }
    return false;
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
    takeBytes(f.readAll());
}

TextReader TextReader::fromBytes(const QByteArray& bytes)
{
    TextReader r;
    r.takeBytes(bytes);
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
    return decode(line);
}

QString TextReader::lineAt(qsizetype position) const
{
    qsizetype i = position;
    while (i < data_.size() && data_[i] != '\r' && data_[i] != '\n')
        ++i;
    return decode(data_.mid(position, i - position));
}

QString TextReader::readRest()
{
    const QString s = decode(data_.mid(pos_));
    pos_ = data_.size();
    return s;
}

namespace {

QStringList allLines(TextReader& r)
{
    QStringList lines;
    while (!r.atEnd())
        lines.append(r.readLine());
    return lines;
}

} // namespace

QStringList readTextLines(const QString& path)
{
    TextReader r(path);
    return allLines(r);
}

QStringList readDataLines(const QString& path)
{
    TextReader r(path);
    if (r.holdsBinary())
        raise(err::BadFileFormat);
    return allLines(r);
}

bool holdsTextData(const QString& path)
{
    try {
        TextReader r(path);
        if (r.holdsBinary())
            return false;
        while (!r.atEnd())
            if (!r.readLine().trimmed().isEmpty())
                return true;
    } catch (const RunError&) {
    }
    return false;
}

QString badDataText(const QString& path)
{
    return QStringLiteral("文件格式不正确：") + path;
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
