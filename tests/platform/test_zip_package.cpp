#include "platform/zip_package.h"
#include "platform/errors.h"
#include "platform/paths.h"
#include "test_support.h"

#include <QDir>
#include <QFileInfo>
#include <functional>
#include <gtest/gtest.h>

using namespace kelvor;

namespace {

QList<ZipEntry> sampleEntries()
{
    QByteArray binary;
    for (int i = 0; i < 256; ++i)
        binary.append(char(i));
    return {
        {QStringLiteral("[Content_Types].xml"), QByteArray("<Types/>")},
        {QStringLiteral("xl/worksheets/sheet1.xml"), QByteArray(100000, 'x')},
        {QStringLiteral("word/media/图1.bin"), binary},
        {QStringLiteral("empty"), QByteArray()},
    };
}

} // namespace

TEST(ZipPackage, WrittenEntriesReadBackInOrderByteForByte)
{
    test::TempHome home;
    const QString path = QStringLiteral("d:\\book.xlsx");
    const QList<ZipEntry> entries = sampleEntries();
    writeZipPackage(path, entries);
    const QByteArray bytes = test::readBytes(paths::resolve(path));
    EXPECT_TRUE(bytes.startsWith("PK\x03\x04"));
    EXPECT_LT(bytes.size(), 50000) << "entries are deflated";

    const ZipPackage p = ZipPackage::open(path);
    QStringList names;
    for (const ZipEntry& e : entries)
        names << e.name;
    EXPECT_EQ(p.names(), names);
    for (const ZipEntry& e : entries) {
        EXPECT_TRUE(p.contains(e.name)) << e.name.toStdString();
        EXPECT_EQ(p.read(e.name), e.data) << e.name.toStdString();
    }
}

TEST(ZipPackage, BadPackagesFailClearly)
{
    test::TempHome home;
    writeZipPackage(home.path("ok.zip"), sampleEntries());
    test::writeBytes(home.path("text.zip"), "not a zip at all");
    QDir(home.root()).mkdir(QStringLiteral("folder.zip"));
    QByteArray cut = test::readBytes(home.path("ok.zip"));
    cut.chop(30);
    test::writeBytes(home.path("cut.zip"), cut);

    const struct {
        const char* name;
        std::function<void()> call;
        int error;
    } cases[] = {
        {"missing file", [&] { ZipPackage::open(home.path("none.zip")); }, err::FileNotFound},
        {"not a zip", [&] { ZipPackage::open(home.path("text.zip")); }, err::PathFileAccess},
        {"folder", [&] { ZipPackage::open(home.path("folder.zip")); }, err::PathFileAccess},
        {"truncated", [&] { ZipPackage::open(home.path("cut.zip")); }, err::PathFileAccess},
        {"empty bytes", [&] { ZipPackage::fromBytes(QByteArray()); }, err::PathFileAccess},
        {"missing entry", [&] { ZipPackage::open(home.path("ok.zip")).read(QStringLiteral("xl/none.xml")); },
         err::PathFileAccess},
        {"entry over limit",
         [&] { ZipPackage::open(home.path("ok.zip"), 60000).read(QStringLiteral("xl/worksheets/sheet1.xml")); },
         err::PathFileAccess},
        {"file over limit", [&] { ZipPackage::open(home.path("ok.zip"), 10); }, err::PathFileAccess},
    };
    for (const auto& c : cases)
        EXPECT_EQ(test::errorOf(c.call), c.error) << c.name;

    // The description names the file and the entry.
    try {
        ZipPackage::open(home.path("ok.zip")).read(QStringLiteral("xl/none.xml"));
    } catch (const RunError& e) {
        EXPECT_TRUE(e.description().contains(QStringLiteral("ok.zip"))) << e.description().toStdString();
        EXPECT_TRUE(e.description().contains(QStringLiteral("xl/none.xml"))) << e.description().toStdString();
    }
}

TEST(ZipPackage, FailedWriteLeavesTheOldFile)
{
    test::TempHome home;
    const QString path = home.path("book.xlsx");
    test::writeBytes(path, "old");
    EXPECT_EQ(test::errorOf([&] { writeZipPackage(home.path("no/such/folder/book.xlsx"), sampleEntries()); }),
              err::PathNotFound);
    EXPECT_FALSE(QFileInfo::exists(home.path("no/such/folder/book.xlsx")));
    QDir(home.root()).mkdir(QStringLiteral("dir.xlsx"));
    EXPECT_EQ(test::errorOf([&] { writeZipPackage(home.path("dir.xlsx"), sampleEntries()); }), err::PathFileAccess);
    EXPECT_EQ(test::readBytes(path), QByteArray("old"));
    // A successful write replaces it whole and leaves no temporary file.
    writeZipPackage(path, sampleEntries());
    EXPECT_EQ(ZipPackage::open(path).read(QStringLiteral("empty")), QByteArray());
    EXPECT_EQ(QDir(home.root()).entryList(QDir::Files), QStringList{QStringLiteral("book.xlsx")});
}
