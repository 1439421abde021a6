#include "line_stream.h"

#include "platform/errors.h"
#include "platform/text_file.h"

#include <QDir>
#include <QFileInfo>
#include <cstring>

namespace kelvor::coords {

namespace {
constexpr qint64 ChunkSize = 1 << 20;
}

LineInput::LineInput(const QString& nativePath)
    : file_(nativePath)
{
    const QFileInfo fi(nativePath);
    if (nativePath.isEmpty() || !fi.exists())
        raise(err::FileNotFound);
    if (fi.isDir() || !file_.open(QIODevice::ReadOnly))
        raise(err::PathFileAccess);
    buf_.reserve(ChunkSize * 2);
}

void LineInput::fill()
{
    if (eof_)
        return;
    // Keep the unread tail, then append the next chunk.
    if (pos_ > 0) {
        buf_.remove(0, pos_);
        pos_ = 0;
    }
    const qsizetype old = buf_.size();
    buf_.resize(old + ChunkSize);
    const qint64 got = file_.read(buf_.data() + old, ChunkSize);
    if (got < 0)
        raise(err::PathFileAccess);
    buf_.resize(old + got);
    if (got == 0)
        eof_ = true;
}

bool LineInput::next(std::string_view& line, std::string_view& end)
{
    for (;;) {
        const char* base = buf_.constData();
        const qsizetype size = buf_.size();
        if (pos_ >= size) {
            if (eof_)
                return false;
            fill();
            continue;
        }
        const char* start = base + pos_;
        const char* stop = base + size;
        const char* p = start;
        while (p < stop && *p != '\r' && *p != '\n')
            ++p;
        if (p == stop || (*p == '\r' && p + 1 == stop)) {
            // The line end may continue in the next chunk.
            if (!eof_) {
                fill();
                continue;
            }
        }
        qsizetype endLen = 0;
        if (p < stop)
            endLen = (*p == '\r' && p + 1 < stop && p[1] == '\n') ? 2 : 1;
        line = std::string_view(start, size_t(p - start));
        end = std::string_view(p, size_t(endLen));
        pos_ = (p - base) + endLen;
        ++line_;
        return true;
    }
}

LineOutput::LineOutput(const QString& nativePath)
    : file_(nativePath)
{
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
