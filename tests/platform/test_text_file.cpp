#include "platform/paths.h"
#include "platform/text_file.h"
#include "test_support.h"

#include <QDir>
#include <QFile>
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
