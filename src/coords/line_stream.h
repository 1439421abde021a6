#pragma once
#include "platform/text_file.h"

#include <QByteArray>
#include <QFile>
#include <QString>
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
    qint64 lineNumber() const { return line_; } // lines handed out so far

private:
    void fill();
    QFile file_;
    QByteArray buf_;
    qsizetype pos_ = 0;
    bool eof_ = false;
    qint64 line_ = 0;
};

// Writes through a temporary file beside the target; the target appears
// only on commit(), so a failed run leaves no half-written file and never
// touches a file of the same name before then.
class LineOutput {
public:
    explicit LineOutput(const QString& nativePath);
    void write(std::string_view bytes) { file_.write(bytes.data(), qsizetype(bytes.size())); }
    void commit() { file_.commit(); }

private:
    AtomicFile file_;
};

// A line's bytes (GBK) as text, for messages and numbers.
QString lineText(std::string_view bytes);

// Whether two native paths name one file, also when either does not exist yet.
bool sameFile(const QString& a, const QString& b);

} // namespace kelvor::coords
