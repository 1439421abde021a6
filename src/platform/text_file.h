#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <memory>

namespace kelvor {

// All text files of the program are code page 936 (GBK) with CR LF line
// ends and no byte-order mark. Column widths count characters of the
// decoded text, never bytes.
QByteArray encodeGbk(const QString& text);
QString decodeGbk(const QByteArray& bytes);

// Reads a text file line by line. A line ends at CR LF, at a lone CR or at a
// lone LF. Paths go through paths::resolve, so "d:\watch.txt" works.
class TextReader {
public:
    // Opens the file; error 53 when it does not exist, 75 when it is a
    // folder or cannot be read.
    explicit TextReader(const QString& path);
    static TextReader fromBytes(const QByteArray& bytes);

    bool atEnd() const;
    // The next line without its line end; error 62 when the file is used up.
    QString readLine();
    // Everything not read yet, decoded, line ends kept.
    QString readRest();
    int lineNumber() const { return line_; } // lines read so far
    // Where the next line starts, and the line that starts at such a
    // position, decoded, without moving on.
    qsizetype position() const { return pos_; }
    QString lineAt(qsizetype position) const;
    // False when the file's last line has no line end (a file cut short).
    bool endsWithLineEnd() const { return data_.isEmpty() || data_.endsWith('\r') || data_.endsWith('\n'); }

private:
    TextReader() = default;
    QByteArray data_;
    qsizetype pos_ = 0;
    int line_ = 0;
};

// Every line of a file (error 53 when missing).
QStringList readTextLines(const QString& path);
// Decoded whole text (error 53 when missing).
QString readTextFile(const QString& path);
bool textFileExists(const QString& path);

// The steps of a write that a test can make fail (see setWriteFault).
enum class WriteStep { Write, Flush, Sync };

// One atomic replacement of a file. Bytes go to a temporary file beside the
// target, named ".kelvor-tmp-" + the target's name + "-" + six characters, so
// that leftovers are recognisable. commit() renames it over the target only
// after every write, the final flush and the sync succeeded; any failure, or
// destruction without commit(), removes the temporary file and leaves the
// target as it was. Opening removes leftovers of the same target older than
// a minute (a process killed before its rename). Errors: 76 when the folder
// is missing, 75 when the target is a folder or the file cannot be made or
// replaced, 61 when the disk is full.
class AtomicFile {
public:
    explicit AtomicFile(const QString& nativePath);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    void write(const char* data, qsizetype size);
    void write(const QByteArray& bytes) { write(bytes.constData(), bytes.size()); }
    void commit();
    QString path() const { return target_; }
    QString temporaryPath() const { return temp_; }

    static QString temporaryPrefix(const QString& targetName);

private:
    void flushBuffer(WriteStep step);
    void discard();
    [[noreturn]] void fail(int errnoValue);
    QString target_;
    QString temp_;
    int fd_ = -1;
    QByteArray buffer_;
};

// Test seam: while set, each step of every AtomicFile asks fault first; a
// non-zero errno it returns fails that step as the system call would.
using WriteFault = int (*)(WriteStep);
void setWriteFault(WriteFault fault);

// Writes a text file through an AtomicFile, so a failure never leaves half a
// file over a good one. Small files stay in memory until commit(); large
// ones stream to the temporary file. Append mode starts from a copy of the
// existing file.
class TextWriter {
public:
    enum Mode { Replace, Append };
    explicit TextWriter(const QString& path, Mode mode = Replace);
    ~TextWriter();
    TextWriter(const TextWriter&) = delete;
    TextWriter& operator=(const TextWriter&) = delete;

    void write(const QString& text);
    void writeLine(const QString& line = QString()); // text + CR LF
    void writeRaw(const QByteArray& bytes);
    // Replaces the target; raises error 75 (or 61, disk full) on failure,
    // leaving the old file untouched.
    void commit();
    QString path() const { return path_; }

private:
    void spillIfLarge();
    QString path_;
    QByteArray buffer_;
    std::unique_ptr<AtomicFile> file_;
    bool committed_ = false;
};

// Convenience: the lines, each followed by CR LF, written atomically.
void writeTextLines(const QString& path, const QStringList& lines);
// Replaces the file with exactly these bytes, atomically.
void writeFileBytes(const QString& path, const QByteArray& bytes);

} // namespace kelvor
