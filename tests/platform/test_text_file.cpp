#include "platform/errors.h"
#include "platform/paths.h"
#include "platform/text_file.h"
#include "test_support.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <gtest/gtest.h>

using namespace kelvor;

TEST(TextFile, LineEndsCrCrLfAndLfReadAlike)
{
    const QStringList expected = {QStringLiteral("导线 A"), QString(), QStringLiteral("12.5,3")};
    for (const char* sep : {"\r\n", "\r", "\n"}) {
        const QByteArray bytes = encodeGbk(expected.join(QString::fromLatin1(sep))) + sep;
        TextReader r = TextReader::fromBytes(bytes);
        QStringList got;
        while (!r.atEnd())
            got << r.readLine();
        EXPECT_EQ(got, expected) << "separator " << QByteArray(sep).toHex().constData();
    }
}

TEST(TextFile, LastLineWithoutEndAndReadingPastEnd)
{
    TextReader r = TextReader::fromBytes("a\r\nb");
    EXPECT_EQ(r.readLine(), QStringLiteral("a"));
    EXPECT_FALSE(r.atEnd());
    EXPECT_EQ(r.readLine(), QStringLiteral("b"));
    EXPECT_TRUE(r.atEnd());
    EXPECT_EQ(test::errorOf([&] { r.readLine(); }), 62);
}

TEST(TextFile, GbkBothWaysAndCharactersOutsideGbk)
{
    const QString text = QStringLiteral("一级图根 K12 ±40.0″");
    EXPECT_EQ(decodeGbk(encodeGbk(text)), text);
    EXPECT_EQ(encodeGbk(QStringLiteral("点")).size(), 2);
    // An emoji has no GBK code: it becomes "?" and the rest survives.
    EXPECT_EQ(encodeGbk(QStringLiteral("a\U0001F600b")), QByteArray("a?b"));
    // Stray bytes never crash the decoder.
    EXPECT_EQ(decodeGbk(QByteArray("\x81", 1)), QString(QChar(0xFFFD)));
}

TEST(TextFile, EncodingIsTakenFromTheBytes)
{
    const QString chinese = QStringLiteral("界址点 J1");
    const struct {
        const char* what;
        QByteArray bytes;
        TextEncoding encoding;
        QString text;
    } cases[] = {
        {"ASCII reads as it always has", "K1 100.5\r\n", TextEncoding::Gbk, QStringLiteral("K1 100.5\r\n")},
        {"GBK", encodeGbk(chinese), TextEncoding::Gbk, chinese},
        {"UTF-8 without a mark", chinese.toUtf8(), TextEncoding::Utf8, chinese},
        {"UTF-8 mark, ASCII after it", "\xEF\xBB\xBF" "A1", TextEncoding::Utf8, QStringLiteral("A1")},
        {"UTF-16 little-endian", QByteArray("\xFF\xFE" "A\0" "1\0", 6), TextEncoding::Utf16, QStringLiteral("A1")},
        {"UTF-16 big-endian", QByteArray("\xFE\xFF\0" "A\0" "1", 6), TextEncoding::Utf16, QStringLiteral("A1")},
        // GBK bytes that are not valid UTF-8 stay GBK
        {"GBK that is no UTF-8", encodeGbk(QStringLiteral("水田")), TextEncoding::Gbk, QStringLiteral("水田")},
        // D7 A9 is valid UTF-8 too; the program's own lists must read back
        {"GBK that is also UTF-8", encodeGbk(QStringLiteral("砖2")), TextEncoding::Gbk, QStringLiteral("砖2")},
        {"UTF-8 of Latin-1 signs only", QStringLiteral("40° ±2").toUtf8(), TextEncoding::Utf8, QStringLiteral("40° ±2")},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(textEncodingOf(c.bytes), c.encoding) << c.what;
        EXPECT_EQ(decodeText(c.bytes), c.text) << c.what;
        TextReader r = TextReader::fromBytes(c.bytes);
        EXPECT_EQ(r.readRest(), c.text) << c.what;
    }
    TextReader lines = TextReader::fromBytes(QByteArray("\xFF\xFE" "a\0\r\0\n\0" "b\0", 10));
    EXPECT_EQ(lines.readLine(), QStringLiteral("a")) << "UTF-16 lines end at CR LF too";
    EXPECT_EQ(lines.readLine(), QStringLiteral("b"));
}

TEST(TextFile, ControlBytesInALineAreBinary)
{
    const struct {
        const char* what;
        QByteArray bytes;
        bool binary;
    } cases[] = {
        {"text with tabs and both line ends", "a\tb\r\nc\n", false},
        {"empty", "", false},
        {"NUL", QByteArray("a\0b\r\n", 5), true},
        {"bell", "a\x07\r\n", true},
        {"escape", "\x1B[0m", true},
        {"delete", "a\x7F", true},
        {"good UTF-16", QByteArray("\xFF\xFE" "a\0\t\0", 6), false},
        {"UTF-16 holding a control", QByteArray("\xFF\xFE" "a\0\x01\0", 6), true},
        {"UTF-16 with a lone surrogate", QByteArray("\xFF\xFE" "\x00\xD8" "a\0", 6), true},
        {"UTF-16 of an odd length", QByteArray("\xFF\xFE" "a\0b", 5), true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TextReader::fromBytes(c.bytes).holdsBinary(), c.binary) << c.what;

    test::TempHome home;
    const QString junk = home.path(QStringLiteral("d:\\junk.txt"));
    test::writeBytes(junk, QByteArray("K1 1 2\r\n\0\0\r\n", 12));
    EXPECT_EQ(test::errorOf([&] { readDataLines(junk); }), err::BadFileFormat);
    EXPECT_EQ(readTextLines(junk).size(), 2) << "plain reading still takes it";
    EXPECT_FALSE(holdsTextData(junk));
    const QString blank = home.path(QStringLiteral("d:\\blank.txt"));
    test::writeBytes(blank, " \r\n\r\n");
    EXPECT_FALSE(holdsTextData(blank));
    EXPECT_FALSE(holdsTextData(home.path(QStringLiteral("d:\\gone.txt"))));
    test::writeBytes(blank, " \r\nK1\r\n");
    EXPECT_TRUE(holdsTextData(blank));
}

TEST(TextFile, MissingFileIs53AndFolderIs75)
{
    test::TempHome home;
    EXPECT_EQ(test::errorOf([&] { TextReader r(home.path("none.txt")); }), 53);
    EXPECT_EQ(test::errorOf([&] { TextReader r(home.root()); }), 75);
}

TEST(TextFile, WriterWritesCrLfGbkAndReplacesOnlyOnCommit)
{
    test::TempHome home;
    const QString path = QStringLiteral("d:\\out.txt");
    writeTextLines(path, {QStringLiteral("旧"), QStringLiteral("old")});
    const QByteArray before = test::readBytes(path);
    EXPECT_EQ(before, encodeGbk(QStringLiteral("旧")) + "\r\nold\r\n");
    {
        TextWriter w(path);
        w.writeLine(QStringLiteral("new"));
        // destroyed without commit: the old file stays whole
    }
    EXPECT_EQ(test::readBytes(path), before);
    TextWriter a(path, TextWriter::Append);
    a.writeLine(QStringLiteral("more"));
    a.commit();
    EXPECT_EQ(test::readBytes(path), before + "more\r\n");
    // No temporary file is left beside the target.
    EXPECT_EQ(QDir(QFileInfo(paths::resolve(path)).absolutePath()).entryList(QDir::Files).size(), 1);
}

TEST(TextFile, WritingIntoMissingFolderFailsWithoutCreatingIt)
{
    test::TempHome home;
    EXPECT_EQ(test::errorOf([] { writeTextLines(QStringLiteral("d:\\nofolder\\a.txt"), {QStringLiteral("x")}); }), 76);
    EXPECT_FALSE(QDir(home.path("d:\\nofolder")).exists());
}

namespace {

// Files beside a target, hidden ones included: the writer's temporary
// files start with a dot.
QStringList filesBeside(const QString& nativePath)
{
    return QDir(QFileInfo(nativePath).absolutePath()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

WriteStep failingStep;
int failingErrno;
int injectFault(WriteStep step)
{
    return step == failingStep ? failingErrno : 0;
}

struct FaultScope {
    FaultScope(WriteStep step, int e)
    {
        failingStep = step;
        failingErrno = e;
        setWriteFault(injectFault);
    }
    ~FaultScope() { setWriteFault(nullptr); }
};

} // namespace

TEST(AtomicWrite, AFailingStepKeepsTheOldFileAndLeavesNoTemporaryFile)
{
    const struct {
        const char* name;
        WriteStep step;
        int errnoValue;
        qsizetype size; // a write step is met only once the buffer spills
        int error;
    } cases[] = {
        {"write, disk full", WriteStep::Write, ENOSPC, 3 << 20, 61},
        {"write, quota", WriteStep::Write, EDQUOT, 3 << 20, 61},
        {"flush, disk full", WriteStep::Flush, ENOSPC, 100, 61},
        {"flush, i/o error", WriteStep::Flush, EIO, 100, 75},
        {"sync, i/o error", WriteStep::Sync, EIO, 100, 75},
        {"sync, disk full", WriteStep::Sync, ENOSPC, 3 << 20, 61},
    };
    for (const auto& c : cases) {
        test::TempHome home;
        const QString target = home.path("d:\\report.CG");
        writeFileBytes(target, "old\r\n");
        const QStringList before = filesBeside(target);
        {
            FaultScope fault(c.step, c.errnoValue);
            EXPECT_EQ(test::errorOf([&] { writeFileBytes(target, QByteArray(c.size, 'x')); }), c.error) << c.name;
            EXPECT_EQ(test::errorOf([&] {
                          TextWriter w(target);
                          w.writeRaw(QByteArray(c.size, 'y'));
                          w.commit();
                      }),
                      c.error)
                << c.name << " (text writer)";
        }
        EXPECT_EQ(test::readBytes(target), QByteArray("old\r\n")) << c.name;
        EXPECT_EQ(filesBeside(target), before) << c.name;
        writeFileBytes(target, "new");
        EXPECT_EQ(test::readBytes(target), QByteArray("new")) << c.name << " (afterwards)";
    }
}

TEST(AtomicWrite, TemporaryFilesAreNamedAfterTheTargetAndOldLeftoversGo)
{
    test::TempHome home;
    const QString target = home.path("d:\\P1.CG");
    const QString folder = QFileInfo(target).absolutePath();
    const QString prefix = AtomicFile::temporaryPrefix(QStringLiteral("P1.CG"));
    EXPECT_EQ(prefix, QStringLiteral(".kelvor-tmp-P1.CG-"));
    {
        AtomicFile f(target);
        EXPECT_EQ(QFileInfo(f.temporaryPath()).absolutePath(), folder);
        EXPECT_TRUE(QFileInfo(f.temporaryPath()).fileName().startsWith(prefix));
        EXPECT_TRUE(QFile::exists(f.temporaryPath()));
    }
    EXPECT_EQ(filesBeside(target), QStringList());

    // What a killed writer leaves: old ones of this target go, a fresh one
    // (another writer at work) and those of other files stay.
    const auto leftover = [&](const QString& name, int ageSeconds) {
        const QString p = folder + QLatin1Char('/') + name;
        test::writeBytes(p, "partial");
        QFile f(p);
        f.open(QIODevice::ReadWrite);
        f.setFileTime(QDateTime::currentDateTime().addSecs(-ageSeconds), QFileDevice::FileModificationTime);
    };
    leftover(prefix + QStringLiteral("aB3dE9"), 3600);
    leftover(prefix + QStringLiteral("fresh1"), 0);
    leftover(AtomicFile::temporaryPrefix(QStringLiteral("P1.CG.bak")) + QStringLiteral("xxxxxx"), 3600);
    leftover(QStringLiteral("notes.txt"), 3600);
    writeFileBytes(target, "data");
    EXPECT_EQ(filesBeside(target),
              (QStringList{prefix + QStringLiteral("fresh1"),
                           AtomicFile::temporaryPrefix(QStringLiteral("P1.CG.bak")) + QStringLiteral("xxxxxx"),
                           QStringLiteral("P1.CG"), QStringLiteral("notes.txt")}));
}

TEST(AtomicWrite, LargeTextStreamsAndKeepsPermissions)
{
    test::TempHome home;
    const QString target = home.path("d:\\big.txt");
    writeFileBytes(target, "old");
    QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup);
    TextWriter w(target);
    for (int i = 0; i < 200000; ++i)
        w.writeLine(QStringLiteral("K%1,2532163.233,496573.073").arg(i));
    // Past the buffer the lines are on their way to the temporary file,
    // while the target is still the old one.
    EXPECT_EQ(filesBeside(target).size(), 2);
    EXPECT_EQ(test::readBytes(target), QByteArray("old"));
    w.commit();
    const QByteArray bytes = test::readBytes(target);
    EXPECT_TRUE(bytes.startsWith("K0,2532163.233,496573.073\r\nK1,"));
    EXPECT_TRUE(bytes.endsWith("K199999,2532163.233,496573.073\r\n"));
    const QFileDevice::Permissions modeBits = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
                                              | QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup
                                              | QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
    EXPECT_EQ(QFile::permissions(target) & modeBits,
              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup);
    EXPECT_EQ(filesBeside(target), QStringList{QStringLiteral("big.txt")});
}
