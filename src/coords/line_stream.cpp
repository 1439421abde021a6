#include "line_stream.h"

#include "routines/routines.h"
#include "platform/errors.h"
#include "platform/text_file.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

namespace kelvor::coords {

namespace {
constexpr qint64 ChunkSize = 1 << 20;

// A CR not followed by an LF, or a CR last (its LF may be in the next
// chunk). One pass without branches, so that it costs little beside the read.
bool mayHoldLoneCr(const char* p, size_t n)
{
    if (n == 0)
        return false;
    unsigned char lone = p[n - 1] == '\r';
    for (size_t i = 0; i + 1 < n; ++i)
        lone |= (p[i] == '\r') & (p[i + 1] != '\n');
    return lone != 0;
}
} // namespace

LineInput::LineInput(const QString& nativePath)
    : file_(nativePath)
{
    const QFileInfo fi(nativePath);
    if (nativePath.isEmpty() || !fi.exists())
        raise(err::FileNotFound);
    if (fi.isDir() || !file_.open(QIODevice::ReadOnly))
        raise(err::PathFileAccess);
}

void LineInput::fill(qint64 bytes)
{
    if (eof_)
        return;
    // Keep the unread tail, then append the next chunk.
    if (pos_ > 0) {
        std::memmove(buf_.get(), buf_.get() + pos_, size_t(size_ - pos_));
        size_ -= pos_;
        consumed_ += pos_;
        pos_ = 0;
    }
    // A small file needs no room beyond its size.
    bytes = std::min(bytes, std::max<qint64>(file_.size() - file_.pos(), 0) + 4096);
    if (capacity_ - size_ < bytes) {
        const qsizetype capacity = std::max(size_ + qsizetype(bytes + bytes / 8), capacity_ * 2);
        std::unique_ptr<char[]> grown(new char[size_t(capacity)]);
        if (size_ > 0)
            std::memcpy(grown.get(), buf_.get(), size_t(size_));
        buf_ = std::move(grown);
        capacity_ = capacity;
    }
    const qint64 got = file_.read(buf_.get() + size_, bytes);
    if (got < 0)
        raise(err::PathFileAccess);
    size_ += qsizetype(got);
    if (got == 0)
        eof_ = true;
    loneCr_ = mayHoldLoneCr(buf_.get(), size_t(size_));
}

bool LineInput::more(qint64 bytes)
{
    if (eof_)
        return false;
    fill(bytes);
    return true;
}

LineInput::Found LineInput::lineAt(std::string_view window, size_t at, bool atEnd, Line& line, bool loneCr)
{
    if (at >= window.size())
        return atEnd ? Found::None : Found::NeedMore;
    const char* start = window.data() + at;
    const char* stop = window.data() + window.size();
    // Most files end lines with LF or CR LF: find the LF, then a CR before it.
    const char* lf = static_cast<const char*>(std::memchr(start, '\n', size_t(stop - start)));
    const char* p = lf ? lf : stop;
    if (!loneCr) {
        if (lf && lf > start && lf[-1] == '\r')
            --p;
    } else if (const void* cr = std::memchr(start, '\r', size_t(p - start))) {
        p = static_cast<const char*>(cr);
    }
    if (!atEnd && (p == stop || (*p == '\r' && p + 1 == stop)))
        return Found::NeedMore; // the line end may continue in the next chunk
    size_t endLen = 0;
    if (p < stop)
        endLen = (*p == '\r' && p + 1 < stop && p[1] == '\n') ? 2 : 1;
    line.start = at;
    line.length = size_t(p - start);
    line.next = at + line.length + endLen;
    return Found::Line;
}

bool LineInput::next(std::string_view& line, std::string_view& end)
{
    for (;;) {
        const std::string_view w = window();
        Line l;
        switch (lineAt(w, 0, eof_, l, loneCr_)) {
        case Found::None:
            return false;
        case Found::NeedMore:
            fill(ChunkSize);
            continue;
        case Found::Line:
            break;
        }
        line = w.substr(l.start, l.length);
        end = w.substr(l.start + l.length, l.next - l.start - l.length);
        pos_ += qsizetype(l.next);
        ++line_;
        return true;
    }
}

LineOutput::LineOutput(const QString& nativePath)
    : file_(nativePath)
{
}

void LineOutput::writeThrough(std::string_view bytes)
{
    file_.write(bytes.data(), qsizetype(bytes.size()));
}

void LineOutput::flush()
{
    if (used_ == 0)
        return;
    writeThrough(std::string_view(buf_.get(), size_t(used_)));
    used_ = 0;
}

void LineOutput::commit()
{
    flush();
    file_.commit();
}

char* putNumberText(char* out, double value)
{
    if (value == 0.0) {
        *out = '0';
        return out + 1;
    }
    const auto r = std::to_chars(out, out + 32, value, std::chars_format::general, 15);
    for (char* p = out; p < r.ptr; ++p)
        if (*p == 'e')
            *p = 'E';
    return r.ptr;
}

std::optional<double> numberIn(std::string_view text)
{
    const char* b = text.data();
    const char* e = b + text.size();
    if (b < e && (*b == '-' || *b == '.' || (*b >= '0' && *b <= '9'))) {
        double v = 0;
        const auto r = std::from_chars(b, e, v);
        if (r.ec == std::errc() && r.ptr == e && std::isfinite(v))
            return v;
    }
    return ParseNumber(lineText(text));
}

QString lineText(std::string_view bytes)
{
    return decodeGbk(QByteArray(bytes.data(), qsizetype(bytes.size())));
}

bool sameFile(const QString& a, const QString& b)
{
    const QFileInfo fa(a), fb(b);
    if (fa.exists() && fb.exists())
        return fa.canonicalFilePath() == fb.canonicalFilePath();
    return fa.absoluteFilePath() == fb.absoluteFilePath();
}

} // namespace kelvor::coords
