// Writes on a full disk: a 64 KiB tmpfs, filled up, holds the files a
// command replaces. Every write must fail with the command's own message,
// leave the old file byte for byte and leave no temporary file. Mounting
// needs root (CI runs as root); elsewhere the test says it was skipped.
#include "app/startup.h"
#include "cad/cad.h"
#include "coords/pcy_exchange.h"
#include "cad/cad.h"
#include "platform/paths.h"
#include "platform/settings.h"
#include "platform/text_file.h"
#include "test_support.h"
#include "traverse/commands.h"
#include "traverse/sheet.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonObject>
#include <QTemporaryDir>

#include <cerrno>
#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <unistd.h>

using namespace kelvor;

namespace {

// A home whose drives and settings file live on a small tmpfs; WINDIR and
// the program's folder stay on the ordinary disk.
class FullDiskHome {
public:
    FullDiskHome()
    {
        disk_ = dir_.path() + QStringLiteral("/disk");
        QDir().mkpath(disk_);
        mounted_ = ::geteuid() == 0
                   && ::mount("tmpfs", QFile::encodeName(disk_).constData(), "tmpfs", 0, "size=64k") == 0;
        paths::Locations l;
        l.settingsFile = disk_ + QStringLiteral("/kelvorconfig.ini");
        l.drivesRoot = disk_ + QStringLiteral("/drives");
        l.windir = dir_.path() + QStringLiteral("/windir");
        l.programDir = dir_.path() + QStringLiteral("/program");
        paths::configure(l);
    }
    ~FullDiskHome()
    {
        paths::reset();
        if (mounted_)
            ::umount2(QFile::encodeName(disk_).constData(), MNT_DETACH);
    }
    bool mounted() const { return mounted_; }
    QString disk() const { return disk_; }

    // Takes every free block of the disk.
    void fill() const
    {
        const int fd = ::open(QFile::encodeName(disk_ + QStringLiteral("/filler")).constData(),
                              O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ASSERT_GE(fd, 0);
        const QByteArray block(4096, 'f');
        for (qsizetype size = block.size(); size > 0;) {
            if (::write(fd, block.constData(), size_t(size)) < 0) {
                ASSERT_EQ(errno, ENOSPC);
                size /= 2;
            }
        }
        ::close(fd);
    }

private:
    QTemporaryDir dir_;
    QString disk_;
    bool mounted_ = false;
};

// The files of a folder, hidden ones included.
QStringList filesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

QStringList messageTexts(const ScriptedUi& ui)
{
    QStringList l;
    for (const auto& m : ui.messages())
        l << m.toObject().value(QStringLiteral("text")).toString();
    return l;
}

} // namespace

TEST(FullDisk, WritesFailWithTheirMessageAndKeepTheOldFile)
{
    struct Case {
        const char* name;
        const char* target; // the file the command replaces
        QByteArray old;
        // Runs the command; gives the message it showed ("" when it raised
        // the error number instead, in raised).
        std::function<QString(SettingsStore&, ScriptedUi&, AnswerQueue&, int& raised)> run;
        QString message;
        int raised;
    };
    const QByteArray oldReport = "old report\r\n";
    const Case cases[] = {
        {"adjustment report", "d:\\cg\\P1.CG", oldReport,
         [](SettingsStore& s, ScriptedUi& ui, AnswerQueue& answers, int&) {
             Context ctx(s, ui);
             traverse::TraverseSheet sheet;
             ctx.setSheet(&sheet);
             sheet.setGrade(QStringLiteral("一级图根"));
             sheet.setContourInterval(QStringLiteral("0.5"));
             ScriptedAnswer open;
             open.kind = QStringLiteral("open");
             open.list = {test::fixture(QStringLiteral("../traverse/fixtures/adjust/adjust_clean.dx"))};
             answers.push(open);
             traverse::selectdxfile_Click(ctx);
             return messageTexts(ui).value(0);
         },
         QStringLiteral("61"), 0},
        {"settings store", "", "[参数设定]\nQW_PM=4\n",
         [](SettingsStore& s, ScriptedUi&, AnswerQueue&, int& raised) {
             raised = test::errorOf([&] { s.WriteSetting(QStringLiteral("QW_GC="), QStringLiteral("3")); });
             return QString();
         },
         QString(), 61},
        {"settings at start-up", "", "[参数设定]\nQW_PM=4\n",
         [](SettingsStore& s, ScriptedUi& ui, AnswerQueue&, int&) {
             app::applyFirstRun(ui, s); // the marker is blank: the defaults are due
             // the program goes on with the defaults, in memory
             EXPECT_TRUE(s.inMemory());
             EXPECT_EQ(s.ReadSetting(QStringLiteral("zyjd=")), QStringLiteral("114度30分"));
             return messageTexts(ui).value(0);
         },
         app::settingsUnusableText(QStringLiteral("@settings")), 0},
        {"small drawing", "d:\\plan.dxf", "0\r\nSECTION\r\n",
         [](SettingsStore&, ScriptedUi&, AnswerQueue&, int& raised) {
             cad::Application host;
             host.ActiveDocument().ModelSpace().AddLine({0, 0, 0}, {10, 0, 0});
             raised = test::errorOf([&] { host.ActiveDocument().SaveAs(QStringLiteral("d:\\plan.dxf")); });
             return QString();
         },
         QString(), cad::fail::Failed},
        {"exchange file", "d:\\jh.txt", "old exchange\r\n",
         [](SettingsStore& s, ScriptedUi& ui, AnswerQueue& answers, int&) {
             Context ctx(s, ui);
             ScriptedAnswer open;
             open.kind = QStringLiteral("open");
             open.list = {test::fixture(QStringLiteral("../coords/fixtures/one_point.dxf"))};
             answers.push(open);
             ScriptedAnswer save;
             save.kind = QStringLiteral("save");
             save.text = QStringLiteral("d:\\jh.txt");
             answers.push(save);
             coords::zhuobiaohuandai1scjhwj(ctx);
             return messageTexts(ui).value(0);
         },
         QStringLiteral("Err: 61"), 0},
    };
    for (const Case& c : cases) {
        FullDiskHome home;
        if (!home.mounted())
            GTEST_SKIP() << "a tmpfs can be mounted only as root: full-disk writes not checked";
        const QString settingsFile = paths::current().settingsFile;
        SettingsStore settings(settingsFile);
        settings.writeRaw(QStringLiteral("MydxfileSavepath="), QStringLiteral("d:\\cg"));
        settings.writeRaw(QStringLiteral("QW_PM="), QStringLiteral("3"));
        settings.writeRaw(QStringLiteral("QW_GC="), QStringLiteral("2"));
        QDir().mkpath(paths::resolve(QStringLiteral("d:\\cg")));
        const QString target = *c.target ? paths::resolve(QString::fromUtf8(c.target)) : settingsFile;
        const QByteArray old = *c.target ? c.old : test::readBytes(settingsFile);
        if (*c.target)
            test::writeBytes(target, old);
        home.fill();
        const QStringList before = filesIn(QFileInfo(target).absolutePath());

        AnswerQueue answers;
        ScriptedUi ui(answers);
        int raised = 0;
        const QString message = c.run(settings, ui, answers, raised);
        QString expected = c.message;
        expected.replace(QStringLiteral("@settings"), settingsFile);
        EXPECT_EQ(message, expected) << c.name;
        EXPECT_EQ(raised, c.raised) << c.name;
        EXPECT_EQ(test::readBytes(target), old) << c.name;
        EXPECT_EQ(filesIn(QFileInfo(target).absolutePath()), before) << c.name;
    }
}
