#pragma once
#include "platform/text_file.h"

#include <QByteArray>
#include <QFile>
#include <cstring>
#include <QString>
#include <memory>
#include <optional>
#include <string_view>

// Streaming line input and output for files far larger than memory should
// hold (DXF drawings): lines are handed out as bytes with their own line
// end, so unchanged lines are copied byte for byte.
namespace kelvor::coords {

class LineInput {
public:
    // Opens a native path; error 53 when missing, 75 when unreadable.
    explicit LineInput(const QString& nativePath);

    // The next line without its end in `line` and the end itself ("\r\n",
    // "\r", "\n" or "" at the end of the file) in `end`. Both stay valid
    // until the next call. False when the file is used up.
    bool next(std::string_view& line, std::string_view& end);
    qint64 lineNumber() const { return line_; } // lines handed out by next() so far
    qint64 bytesRead() const { return consumed_ + pos_; } // bytes of the lines handed out
    qint64 size() const { return file_.size(); }

    // For callers that look ahead and copy unchanged runs whole: the bytes
    // not handed out yet, found in place with lineAt(); consume() hands them
    // out; more() reads on (about `bytes` more), keeping the rest of the
    // window but moving it, so views into the old window die. False when the
    // file was used up before.
    std::string_view window() const { return {buf_.get() + pos_, size_t(size_ - pos_)}; }
    bool atEnd() const { return eof_; }
    // Whether the window may hold a CR that ends a line alone (not before an
    // LF); without one, lineAt() finds each line with a single search.
    bool loneCr() const { return loneCr_; }
    void consume(size_t bytes) { pos_ += qsizetype(bytes); }
    bool more(qint64 bytes = 1 << 20);

    // A line found in a window: [start, start + length), its end, then the next line at `next`.
    struct Line {
        size_t start = 0, length = 0, next = 0;
    };
    enum class Found { Line, NeedMore, None };
    // The line at `at` of `window`; NeedMore when its end may lie beyond the
    // window and the file goes on (`atEnd` false), None when nothing is left.
    // `loneCr` false promises that the window ends no line with a CR alone.
    static Found lineAt(std::string_view window, size_t at, bool atEnd, Line& line, bool loneCr = true);

private:
    void fill(qint64 bytes);
    QFile file_;
    // Kept from read to read: a buffer grown anew each time costs more in
    // fresh pages than the read itself.
    std::unique_ptr<char[]> buf_;
    qsizetype size_ = 0, capacity_ = 0;
    qsizetype pos_ = 0;
    qint64 consumed_ = 0; // bytes dropped from the front of buf_
    bool eof_ = false;
    bool loneCr_ = true;
    qint64 line_ = 0;
};

// Writes through a temporary file beside the target; the target appears
// only on commit(), so a failed run leaves no half-written file and never
// touches a file of the same name before then.
class LineOutput {
public:
    explicit LineOutput(const QString& nativePath);
    void write(std::string_view bytes)
    {
        if (bytes.empty())
            return;
        if (bytes.size() > size_t(Capacity - used_))
            flush();
        if (bytes.size() > size_t(Capacity)) {
            writeThrough(bytes);
            return;
        }
        std::memcpy(buf_.get() + used_, bytes.data(), bytes.size());
        used_ += qsizetype(bytes.size());
    }
    // Room for `n` bytes (a few hundred at most) to be filled in place and
    // then kept with `wrote`.
    char* room(qsizetype n)
    {
        if (Capacity - used_ < n)
            flush();
        return buf_.get() + used_;
    }
    void wrote(const char* end) { used_ = qsizetype(end - buf_.get()); }
    void commit();

private:
    static constexpr qsizetype Capacity = 1 << 20;
    void flush();
    void writeThrough(std::string_view bytes);
    AtomicFile file_;
    std::unique_ptr<char[]> buf_{new char[Capacity]};
    qsizetype used_ = 0;
};

// A number as NumberText shows it (15 significant digits, "E" exponent, "0"
// for zero), written at `out`; returns the end. Needs 32 bytes.
char* putNumberText(char* out, double value);

// A number's text (GBK bytes of one field): plain decimals directly, any
// other form (blanks, "+", a D exponent) as ParseNumber reads it. No value
// for a text that is no finite number.
std::optional<double> numberIn(std::string_view text);

// A line's bytes (GBK) as text, for messages and numbers.
QString lineText(std::string_view bytes);

// Whether two native paths name one file, also when either does not exist yet.
bool sameFile(const QString& a, const QString& b);

} // namespace kelvor::coords
