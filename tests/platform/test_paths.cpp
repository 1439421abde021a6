#include "platform/paths.h"
#include "platform/text_file.h"
#include "test_support.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <memory>

using namespace kelvor;

TEST(Paths, DriveLettersMapBelowTheDrivesRoot)
{
    test::TempHome home;
    const QString drives = home.root() + QStringLiteral("/drives");
    struct Case {
        const char* in;
        QString out;
    } cases[] = {
        {"d:\\watch.txt", drives + "/d/watch.txt"},
        {"D:\\watch.txt", drives + "/d/watch.txt"},
        {"d:\\\\watch.txt", drives + "/d/watch.txt"},
        {"C:\\Test\\", drives + "/c/Test/"},
        {"d:/a/b.txt", drives + "/d/a/b.txt"},
        {"d:\\", drives + "/d/"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(paths::resolve(QString::fromUtf8(c.in)), c.out) << c.in;
    EXPECT_EQ(paths::resolve(QString()), QString());
}

TEST(Paths, ExistingPathsAreFoundWhateverTheCase)
{
    test::TempHome home;
    QDir().mkpath(home.path("d:\\Data\\Sub"));
    writeTextLines(QStringLiteral("d:\\Data\\Sub\\Pts.txt"), {QStringLiteral("K1 1 2 3")});
    // Settings give paths back upper-cased.
    EXPECT_EQ(paths::resolve(QStringLiteral("D:\\DATA\\SUB\\PTS.TXT")), home.path("d:\\Data\\Sub\\Pts.txt"));
    EXPECT_EQ(readTextLines(QStringLiteral("D:\\DATA\\SUB\\PTS.TXT")), QStringList{QStringLiteral("K1 1 2 3")});
    // Native paths too, and a new file keeps the case it was given.
    EXPECT_EQ(paths::resolve(home.root().toUpper() + QStringLiteral("/DRIVES/D/DATA/sub/NEW.txt")),
              home.root() + QStringLiteral("/drives/d/Data/Sub/NEW.txt"));
}

TEST(Paths, WindirScratchAndWindowsForm)
{
    test::TempHome home;
    EXPECT_EQ(paths::windir(), home.root() + QStringLiteral("/windir"));
    EXPECT_FALSE(paths::windir().endsWith(QLatin1Char('/')));
    EXPECT_TRUE(QDir(paths::windir()).exists());
    // WINDIR & "\" & name is how commands spell scratch files.
    EXPECT_EQ(paths::resolve(paths::windir() + QStringLiteral("\\watch.txt")), paths::scratch(QStringLiteral("watch.txt")));
    EXPECT_EQ(paths::toWindows(home.path("d:\\")), QStringLiteral("D:\\"));
    EXPECT_EQ(paths::toWindows(home.root() + QStringLiteral("/drives/d/data")), QStringLiteral("D:\\data"));
    EXPECT_EQ(paths::toWindows(QStringLiteral("/tmp/x")), QStringLiteral("/tmp/x"));
}

TEST(Paths, EnvironmentChoosesEveryLocation)
{
    paths::reset();
    qputenv("KELVOR_HOME", "/tmp/kelvor-home-test");
    qputenv("KELVOR_WINDIR", "/tmp/kelvor-windir-test");
    const auto l = paths::current();
    EXPECT_EQ(l.settingsFile, QStringLiteral("/tmp/kelvor-home-test/kelvorconfig.ini"));
    EXPECT_EQ(l.windir, QStringLiteral("/tmp/kelvor-windir-test"));
    EXPECT_EQ(l.drivesRoot, QStringLiteral("/tmp/kelvor-home-test/drives"));
    qunsetenv("KELVOR_HOME");
    qunsetenv("KELVOR_WINDIR");
}

// RAII change of the process's current folder.
struct CurrentFolder {
    QString old = QDir::currentPath();
    explicit CurrentFolder(const QString& folder)
    {
        QDir().mkpath(folder);
        QDir::setCurrent(folder);
    }
    ~CurrentFolder() { QDir::setCurrent(old); }
};

TEST(Paths, DotsNeverClimbAboveTheRootTheyStartFrom)
{
    test::TempHome home;
    const QString d = home.root() + QStringLiteral("/drives/d");
    const QString program = home.root() + QStringLiteral("/program");
    struct Case {
        const char* in;
        QString cwd; // "" leaves the process where it is
        QString out;
    } cases[] = {
        {"d:\\..", "", d + "/"},
        {"d:\\.", "", d + "/"},
        {"d:\\a\\..\\..\\b", "", d + "/b"},
        {"d:\\.\\x", "", d + "/x"},
        {"d:\\..\\..\\..\\tmp\\P1.CG", "", d + "/tmp/P1.CG"},
        {"D:\\a\\.\\b\\..\\c.txt", "", d + "/a/c.txt"},
        {"d:..\\x", "", d + "/x"},
        // relative to a current folder inside a drive: held to that drive
        {"..\\..\\etc", d + "/work/sub", d + "/etc"},
        {"..\\x.txt", d + "/work", d + "/x.txt"},
        {"y.txt", d + "/work", d + "/work/y.txt"},
        // elsewhere the program's folder stands in, and holds the path too
        {"..\\..\\etc", "/", program + "/etc"},
        {"a.txt", "/", program + "/a.txt"},
        // native paths (configured folders, dialog choices) lose their dots
        {"/tmp/../tmp/./x", "", "/tmp/x"},
        {"/../..", "", "/"},
    };
    for (const Case& c : cases) {
        std::unique_ptr<CurrentFolder> cwd;
        if (!c.cwd.isEmpty())
            cwd = std::make_unique<CurrentFolder>(c.cwd);
        EXPECT_EQ(paths::resolve(QString::fromUtf8(c.in)), c.out) << c.in << " in " << c.cwd.toStdString();
    }
}

TEST(Paths, AMessageShowsAPathOneWay)
{
    test::TempHome home;
    const QString root = home.root();
    const struct {
        QString path, shown;
    } cases[] = {
        // WINDIR & "\" & name, as commands spell scratch files: native throughout
        {paths::windir() + QStringLiteral("\\watch.txt"), root + QStringLiteral("/windir/watch.txt")},
        {paths::scratch(QStringLiteral("watch.txt")), root + QStringLiteral("/windir/watch.txt")},
        // below a mapped drive: the Windows-style path
        {home.path("d:\\watch.txt"), QStringLiteral("D:\\watch.txt")},
        {root + QStringLiteral("/drives/d/data\\a.txt"), QStringLiteral("D:\\data\\a.txt")},
        // as the program wrote it, separators made one
        {QStringLiteral("d:\\watch.txt"), QStringLiteral("d:\\watch.txt")},
        {QStringLiteral("C:/Test\\dl.txt"), QStringLiteral("C:\\Test\\dl.txt")},
        {QStringLiteral("/tmp/x\\y.txt"), QStringLiteral("/tmp/x/y.txt")},
        {QString(), QString()},
    };
    for (const auto& c : cases) {
        const QString s = paths::shown(c.path);
        EXPECT_EQ(s, c.shown) << c.path.toStdString();
        EXPECT_FALSE(s.contains(QLatin1Char('/')) && s.contains(QLatin1Char('\\'))) << c.path.toStdString();
    }
}

TEST(Paths, EveryPathInAMessageShowsOneWay)
{
    test::TempHome home;
    const QString w = paths::windir();
    const QString drives = home.root() + QStringLiteral("/drives");
    const struct {
        QString text, shown;
    } cases[] = {
        {QStringLiteral("无法找到:") + w + QStringLiteral("\\watch.txt文件！"),
         QStringLiteral("无法找到:") + w + QStringLiteral("/watch.txt文件！")},
        {QStringLiteral("已经生成") + drives + QStringLiteral("/d/jh.txt\r需要查看吗？"),
         QStringLiteral("已经生成D:\\jh.txt\r需要查看吗？")},
        {QStringLiteral("是否将") + w + QStringLiteral("\\watch.txt(默认)作为绘图文件？"),
         QStringLiteral("是否将") + w + QStringLiteral("/watch.txt(默认)作为绘图文件？")},
        {QStringLiteral("已经生成d:\\quelt/P1\\P1.IN、d:\\quelt\\P1\\P1G.IN文件"),
         QStringLiteral("已经生成d:\\quelt\\P1\\P1.IN、d:\\quelt\\P1\\P1G.IN文件")},
        // no paths: fractions, keyword lists, a lone CR
        {QStringLiteral("1/2 [Y/N]<N>: 第3/4站\r完成"), QStringLiteral("1/2 [Y/N]<N>: 第3/4站\r完成")},
        {QStringLiteral("已经生成/w/watch.txt坐标文件。"), QStringLiteral("已经生成/w/watch.txt坐标文件。")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(paths::shownInText(c.text), c.shown) << c.text.toStdString();
}
