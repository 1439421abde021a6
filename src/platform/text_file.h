#pragma once
#include "atomic_file.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <memory>

namespace kelvor {

// All text files the program writes are code page 936 (GBK) with CR LF
// line ends and no byte-order mark. Column widths count characters of the
// decoded text, never bytes.
QByteArray encodeGbk(const QString& text);
QString decodeGbk(const QByteArray& bytes);

// How a file is read: UTF-16 when it starts with a byte-order mark; UTF-8
// when it is valid UTF-8 holding non-ASCII text, with or without a mark
// (as today's editors save); anything else as GBK, so an ASCII file reads
// as it always has. Text that both can spell in two bytes a character is
// GBK unless it is Latin-1 signs only.
enum class TextEncoding { Gbk, Utf8, Utf16 };
TextEncoding textEncodingOf(const QByteArray& bytes);
QString decodeText(const QByteArray& bytes);

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
    // True when a line holds NUL or another control character (tab aside),
    // or a UTF-16 file is not valid UTF-16: not data, whatever the reader.
    bool holdsBinary() const;

private:
    TextReader() = default;
    void takeBytes(const QByteArray& bytes);
    QString decode(const QByteArray& bytes) const;
    QByteArray data_; // GBK, or UTF-8 (a UTF-16 file is held as UTF-8)
    bool utf8_ = false;
    bool broken_ = false;
    qsizetype pos_ = 0;
    int line_ = 0;
};

// Every line of a file (error 53 when missing).
QStringList readTextLines(const QString& path);
// Every line of a survey data file: as readTextLines, and error 321 when
// the file holds binary (TextReader::holdsBinary).
QStringList readDataLines(const QString& path);
// True when the file can be read, holds a line that is not blank and no
// binary: something a command can take as its data.
bool holdsTextData(const QString& path);
// "文件格式不正确：" + path: the bad-data message of a reader that has none
// of its own.
QString badDataText(const QString& path);
// Decoded whole text (error 53 when missing).
QString readTextFile(const QString& path);
bool textFileExists(const QString& path);

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
