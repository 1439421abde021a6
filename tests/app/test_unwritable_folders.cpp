// Commands writing into a full disk (a 64 KiB tmpfs, filled up) or a
// read-only one: each keeps every old file byte for byte, leaves no
// temporary file and says what it could not write. Mounting needs root (CI
// runs as root); elsewhere the test says it was skipped.
#include "app/scenario.h"
#include "app/ui/scenario_windows.h"
#include "app/ui/windows.h"
#include "cad/ui/plot_output.h"
#include "platform/paths.h"
#include "platform/windows.h"
#include "test_support.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QMap>
#include <QTemporaryDir>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <unistd.h>

using namespace kelvor;
using test::u;

namespace {

enum class Disk { Full, ReadOnly };

// Takes every free block of the disk under the folder.
void fill(const QString& folder)
{
    const int fd = ::open(QFile::encodeName(folder + QStringLiteral("/filler")).constData(),
                          O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0);
    const QByteArray block(4096, 'f');
    for (qsizetype size = block.size(); size > 0;)
        if (::write(fd, block.constData(), size_t(size)) < 0) {
            ASSERT_EQ(errno, ENOSPC);
            size /= 2;
        }
    ::close(fd);
}

// A 64 KiB tmpfs over one folder of a scenario home, holding the old files,
// then filled up or made read-only.
class SmallDisk {
public:
    SmallDisk(const QString& folder, const QList<QPair<QString, QByteArray>>& files, Disk disk)
        : at_(QFile::encodeName(folder))
    {
        QDir().mkpath(folder);
        if (::geteuid() != 0 || ::mount("tmpfs", at_.constData(), "tmpfs", 0, "size=64k") != 0)
            return;
        mounted_ = true;
        for (const auto& [path, bytes] : files) {
            QDir().mkpath(QFileInfo(path).absolutePath());
            test::writeBytes(path, bytes);
        }
        if (disk == Disk::Full)
            fill(folder);
        ready_ = disk == Disk::Full
                 || ::mount("tmpfs", at_.constData(), "tmpfs", MS_REMOUNT | MS_RDONLY, "size=64k") == 0;
    }
    ~SmallDisk()
    {
        if (mounted_)
            ::umount2(at_.constData(), MNT_DETACH);
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;
    bool ready() const { return ready_; }

private:
    QByteArray at_;
    bool mounted_ = false;
    bool ready_ = false;
};

// Every file below the folder with its bytes, hidden ones included.
QMap<QString, QByteArray> contentOf(const QString& folder)
{
    QMap<QString, QByteArray> out;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString f = it.next();
        out.insert(QDir(folder).relativeFilePath(f), test::readBytes(f));
    }
    return out;
}

// What the person was told: the message boxes' texts and the command line.
QString told(const app::ScenarioResult& r)
{
    QString out;
    for (const QJsonValue& m : r.output.value(QStringLiteral("messages")).toArray())
        out += m.toObject().value(QStringLiteral("text")).toString() + QLatin1Char('\n');
    return out + r.output.value(QStringLiteral("cad")).toObject().value(QStringLiteral("transcript")).toString();
}

QString jsonPath(QString path)
{
    return path.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
}

} // namespace

TEST(UnwritableFolders, CommandsKeepOldFilesAndSayWhatFailed)
{
    const QByteArray framed = QByteArray("  0\r\nSECTION\r\n  2\r\nTABLES\r\n  0\r\nTABLE\r\n  2\r\nLAYER\r\n  0\r\nLAYER\r\n  2\r\ntk\r\n 70\r\n0\r\n 62\r\n7\r\n  6\r\nCONTINUOUS\r\n  0\r\nENDTAB\r\n  0\r\nENDSEC\r\n  0\r\nSECTION\r\n  2\r\nBLOCKS\r\n  0\r\nBLOCK\r\n  8\r\n0\r\n  2\r\nactkf1\r\n 70\r\n0\r\n 10\r\n0\r\n 20\r\n0\r\n 30\r\n0\r\n  0\r\nLINE\r\n  8\r\n0\r\n 10\r\n0\r\n 20\r\n0\r\n 30\r\n0\r\n 11\r\n250\r\n 21\r\n0\r\n 31\r\n0\r\n  0\r\nENDBLK\r\n  8\r\n0\r\n  0\r\nENDSEC\r\n  0\r\nSECTION\r\n  2\r\nENTITIES\r\n  0\r\nINSERT\r\n  8\r\n0\r\n  2\r\nactkf1\r\n 10\r\n534500\r\n 20\r\n2551407.5\r\n 30\r\n0\r\n  0\r\nTEXT\r\n  8\r\n0\r\n 10\r\n534501\r\n 20\r\n2551409\r\n 30\r\n0\r\n 40\r\n0.8\r\n  1\r\n2551.00-534.25\r\n  0\r\nTEXT\r\n  8\r\n0\r\n 10\r\n534600\r\n 20\r\n2551300\r\n 30\r\n0\r\n 40\r\n2\r\n  1\r\noutside\r\n  0\r\nENDSEC\r\n  0\r\nEOF\r\n");
    const QByteArray purgeable = QByteArray("  0\r\nSECTION\r\n  2\r\nTABLES\r\n  0\r\nTABLE\r\n  2\r\nLAYER\r\n  0\r\nLAYER\r\n  2\r\nx\r\n 70\r\n0\r\n 62\r\n7\r\n  6\r\nCONTINUOUS\r\n  0\r\nENDTAB\r\n  0\r\nENDSEC\r\n  0\r\nSECTION\r\n  2\r\nENTITIES\r\n  0\r\nLINE\r\n  8\r\n0\r\n 62\r\n1\r\n 10\r\n0\r\n 20\r\n0\r\n 30\r\n0\r\n 11\r\n1\r\n 21\r\n1\r\n 31\r\n0\r\n  0\r\nLINE\r\n  8\r\n0\r\n 62\r\n5\r\n 10\r\n0\r\n 20\r\n0\r\n 30\r\n0\r\n 11\r\n2\r\n 21\r\n2\r\n 31\r\n0\r\n  0\r\nENDSEC\r\n  0\r\nEOF\r\n");
    const QByteArray oldText = "old content\r\n";
    QList<QPair<QString, QByteArray>> plots; // as many as the small disk holds
    for (int i = 0; i < 12; ++i)
        plots.append({QStringLiteral("c:\\Test\\drafting.dxf-%1.pdf").arg(i), "%PDF old plot " + QByteArray::number(i)});
    const QString drawings = test::fixture(QStringLiteral("../e2e/drawings/"));
    const struct {
        const char* name;
        const char* folder; // mounted: a Windows path, or "windir"
        QList<QPair<QString, QByteArray>> old;
        QString scenario;   // the scenario's keys after "home" and "settings"
        QStringList said;   // texts that must reach the person; "@n": the error number
        QStringList notSaid;
    } cases[] = {
        {"plot window", "c:\\Test", plots,
         QStringLiteral(R"j("drawing": "%1", "run": [{"window": "plotdwg", "click": "cmd1"},
                                                     {"window": "plotdwg", "click": "cmd2"}])j")
             .arg(jsonPath(drawings + QStringLiteral("drafting.dxf"))),
         {u("无法写入:C:\\Test\\drafting.dxf-0.pdf\r错误号: @n")}, {}},
        {"全图保存文件", "d:\\s", {{QStringLiteral("d:\\s\\A.DXF"), purgeable}},
         QStringLiteral(R"j("answers": [{"kind": "folder", "value": "d:\\s"}], "run": ["zoomalldwg"])j"),
         {u("未能保存:d:\\s\\A.DXF"), u("共有1个图形文件未能保存！")}, {u("已完成对图形文件的全图显示保存！")}},
        {"加图幅接合表[批量]", "d:\\s",
         {{QStringLiteral("d:\\s\\a.dxf"), framed}, {QStringLiteral("d:\\s\\c.dxf"), framed}},
         QStringLiteral(R"j("answers": [{"kind": "folder", "value": "d:\\s"}], "run": ["addtujhbgongshipl"])j"),
         {u("未能保存:d:\\s\\a.dxf"), u("未能保存:d:\\s\\c.dxf"), u("共有2个图形文件未能保存！")},
         {u("已经完成该操作!")}},
        {"GPS network trace", "d:\\", {{QStringLiteral("d:\\66.txt"), oldText}},
         QStringLiteral(R"j("files": {"c:\\gps\\result.txt": "二维平差最后的结果\r\nh1\r\nh2\r\nh3\r\nh4\r\nh5\r\nG001 100 200\r\n                        G002\r\nG002 150 250\r\n\r\n"},
             "answers": [{"kind": "open", "paths": ["c:\\gps\\result.txt"]}], "run": ["dwar_gpsjx"])j"),
         {u("无法写入:d:\\66.txt")}, {}},
        {"rotation for plotting", "d:\\p",
         {{QStringLiteral("d:\\p\\A.dxf"), purgeable}, {QStringLiteral("d:\\p\\plotA.dxf"), oldText}},
         QStringLiteral(R"j("drawing": "d:\\p\\A.dxf", "answers": [{"kind": "point", "value": "100,100"},
             {"kind": "point", "value": "100,200"}], "run": ["rotatedwgfile"])j"),
         {u("无法写入:D:\\p\\plotA.dxf")}, {}},
        {"temporary block", "d:\\", {{QStringLiteral("d:\\bak1.dxf"), oldText}},
         QStringLiteral(R"j("drawing": "c:\\w\\drafting.dxf", "answers": [{"kind": "select", "handles": ["30", "31"]}],
             "run": ["shengchenglinshikuai(0)"])j"),
         {u("无法写入:D:\\bak1.dxf")}, {}},
        {"control points list", "windir", {{QStringLiteral("windir/watch.txt"), oldText}},
         QStringLiteral(R"j("drawing": "c:\\w\\cass_tools.dxf", "run": ["tumiankongzidiancg"])j"),
         {u("无法写入:<home>/windir\\watch.txt")}, {}},
    };
    installPlotDevices();
    WindowRegistry windows;
    app::registerAllWindows(windows);
    for (const Disk disk : {Disk::Full, Disk::ReadOnly}) {
        const QString number = disk == Disk::Full ? QStringLiteral("61") : QStringLiteral("75");
        for (const auto& c : cases) {
            const std::string name = std::string(c.name) + (disk == Disk::Full ? ", full disk" : ", read-only disk");
            QTemporaryDir dir;
            const QString home = dir.path();
            paths::configureHome(home);
            const auto native = [&](const QString& p) {
                return p.startsWith(QLatin1String("windir")) ? home + QLatin1Char('/') + p : paths::resolve(p);
            };
            const QString folder = native(QString::fromUtf8(c.folder));
            QList<QPair<QString, QByteArray>> old;
            for (const auto& [path, bytes] : c.old)
                old.append({native(path), bytes});
            QDir().mkpath(native(QStringLiteral("c:\\w")));
            for (const QString& drawing : {QStringLiteral("drafting.dxf"), QStringLiteral("cass_tools.dxf")})
                QFile::copy(drawings + drawing, native(QStringLiteral("c:\\w\\") + drawing));
            paths::reset();
            const SmallDisk small(folder, old, disk);
            if (!small.ready()) {
                std::printf("note: case \"%s\" left out: a tmpfs can be mounted only as root\n", name.c_str());
                continue;
            }
            const QMap<QString, QByteArray> before = contentOf(folder);
            const QString json = QStringLiteral(R"j({"home": "%1", "settings": {"版本更新日期=": "20070405"}, %2})j")
                                     .arg(jsonPath(home), c.scenario);
            app::ScenarioWindowDriver driver(windows);
            const app::ScenarioResult r = app::runScenarioText(json.toUtf8(), &driver);
            EXPECT_EQ(r.exitCode, 0) << name << ": " << r.output.value(QStringLiteral("error")).toString().toStdString();
            EXPECT_EQ(contentOf(folder), before) << name << ": every old file as it was, nothing added";
            const QString shown = told(r);
            for (QString s : c.said)
                EXPECT_TRUE(shown.contains(s.replace(QStringLiteral("@n"), number)))
                    << name << ": " << s.toStdString() << "\n told: " << shown.toStdString();
            for (const QString& s : c.notSaid)
                EXPECT_FALSE(shown.contains(s)) << name << ": " << s.toStdString();
        }
    }
}
