#pragma once
#include <QByteArray>
#include <QString>

namespace kelvor {

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

// Copies a file whole or not at all: the bytes go through an AtomicFile, so
// a failed copy leaves the target as it was. Error 53 when the source cannot
// be read; the target's errors as AtomicFile's.
void copyFileAtomically(const QString& sourceNative, const QString& targetNative);

// Test seam: while set, each step of every AtomicFile asks fault first; a
// non-zero errno it returns fails that step as the system call would.
using WriteFault = int (*)(WriteStep);
void setWriteFault(WriteFault fault);

} // namespace kelvor
