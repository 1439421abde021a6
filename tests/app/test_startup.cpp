#include "app/startup.h"
#include "app/ui/form1.h"
#include "app/ui/star.h"
#include "app/registry.h"
#include "platform/commands.h"
#include "platform/paths.h"
#include "platform/windows.h"
#include "platform/text_file.h"
#include "test_support.h"
#include "traverse/sheet.h"

#include <QAction>
#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QSysInfo>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTemporaryDir>
#include <cstdio>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <unistd.h>

using namespace kelvor;
using kelvor::test::TempHome;

namespace {

// One start of the program on a home: the main window's load step and the
// splash's first-run rule, in the order the program runs them.
struct Start {
    explicit Start(TempHome& h)
        : home(h)
    {
        h.context.setSheet(&sheet);
        h.context.state() = MainState();
        app::loadMainWindow(h.context);
        wroteDefaults = app::applyFirstRun(h.settings);
    }
    TempHome& home;
    traverse::TraverseSheet sheet;
    bool wroteDefaults = false;
};

} // namespace

TEST(Startup, FirstStartShowsEmptyPresetsAndStoresDefaultsForTheNextStart)
{
    TempHome h;
    {
        Start first(h);
        EXPECT_TRUE(first.wroteDefaults);
        EXPECT_EQ(first.sheet.grade(), QString());
        EXPECT_EQ(h.context.state().exportFolder, QString());
        EXPECT_EQ(h.context.state().recentReport, QString());
        EXPECT_FALSE(app::recentReportShown(h.context.state().recentReport));
        EXPECT_EQ(h.settings.ReadSetting(QStringLiteral("DXdj=")), QStringLiteral("一级图根"));
    }
    Start second(h);
    EXPECT_FALSE(second.wroteDefaults);
    EXPECT_EQ(second.sheet.grade(), QStringLiteral("一级图根"));
    EXPECT_EQ(h.context.state().exportFolder, QStringLiteral("d:\\"));
}

TEST(Startup, LoadStepPreparesSheetListsAndState)
{
    TempHome h;
    traverse::TraverseSheet sheet;
    sheet.setText1(13, QStringLiteral("old"));
    sheet.setText5(109, QStringLiteral("old"));
    h.context.setSheet(&sheet);
    h.context.state().formTag = QStringLiteral("2");
    h.context.state().toolbarTag = QStringLiteral("1");
    app::loadMainWindow(h.context);
    EXPECT_EQ(sheet.text1(13), QString());
    EXPECT_EQ(sheet.text5(109), QString());
    EXPECT_EQ(sheet.gradeList(), (QStringList{QStringLiteral("8秒导线"), QStringLiteral("一级图根"),
                                              QStringLiteral("二级图根"), QStringLiteral("自定义")}));
    EXPECT_EQ(sheet.contourList(), (QStringList{QStringLiteral("0.5"), QStringLiteral("1.0")}));
    EXPECT_EQ(sheet.contourInterval(), QStringLiteral("0.5"));
    EXPECT_EQ(h.context.state().formTag, QStringLiteral("0"));
    EXPECT_EQ(h.context.state().toolbarTag, QStringLiteral("0"));
    EXPECT_TRUE(h.context.state().printcgb);
    EXPECT_TRUE(h.context.state().exportToFolder);
}

TEST(Startup, FirstStartThenQuitStoresTheEmptyGrade)
{
    TempHome h;
    Start first(h);
    app::quit_Click(h.context);
    EXPECT_EQ(h.settings.ReadSetting(QStringLiteral("DXdj=")), QString());
    EXPECT_TRUE(h.context.state().ended);
}

TEST(Startup, RecentReportEntryFollowsSavelist1)
{
    struct Case {
        const char* stored;
        bool shown;
        const char* caption;
    };
    const Case cases[] = {
        {"", false, ""},
        {"    ", false, ""},
        {"D:\\DATA\\A.CG", true, "D:\\DATA\\A.CG"},
        {"  D:\\B.CG  ", true, "D:\\B.CG"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        TempHome h;
        h.settings.writeRaw(QStringLiteral("Savelist1="), QString::fromUtf8(c.stored));
        traverse::TraverseSheet sheet;
        h.context.setSheet(&sheet);
        app::loadMainWindow(h.context);
        CommandRegistry registry;
        app::registerAllCommands(registry);
        WindowRegistry windows;
        app::Form1 form(h.context, registry, windows);
        form.refreshMenus();
        EXPECT_EQ(form.action(QStringLiteral("filelist(0)"))->isVisible(), c.shown);
        EXPECT_EQ(form.action(QStringLiteral("filelist(1)"))->isVisible(), c.shown);
        EXPECT_TRUE(form.action(QStringLiteral("filelist(2)"))->isVisible());
        EXPECT_TRUE(form.action(QStringLiteral("quit"))->isVisible());
        if (c.shown) {
            EXPECT_EQ(form.action(QStringLiteral("filelist(1)"))->text(), QString::fromUtf8(c.caption));
        }
    }
}

TEST(Startup, QuitStoresTrimmedGradeAndUpperCasedRecentReport)
{
    TempHome h;
    {
        Start s(h);
        s.sheet.setGrade(QStringLiteral("  二级图根 "));
        h.context.state().recentReport = QStringLiteral(" d:\\data\\a.cg ");
        app::quit_Click(h.context);
        EXPECT_EQ(h.settings.ReadSetting(QStringLiteral("DXdj=")), QStringLiteral("二级图根"));
        EXPECT_EQ(h.settings.ReadSetting(QStringLiteral("Savelist1=")), QStringLiteral("D:\\DATA\\A.CG"));
    }
    Start next(h);
    EXPECT_EQ(next.sheet.grade(), QStringLiteral("二级图根"));
    EXPECT_EQ(h.context.state().recentReport, QStringLiteral("D:\\DATA\\A.CG"));
}

TEST(Startup, QuitFromTheMenuAndClosingTheWindowEndTheProgram)
{
    for (bool byClose : {false, true}) {
        SCOPED_TRACE(byClose);
        TempHome h;
        Start s(h);
        s.sheet.setGrade(QStringLiteral("8秒导线"));
        CommandRegistry registry;
        app::registerAllCommands(registry);
        WindowRegistry windows;
        app::Form1 form(h.context, registry, windows);
        int ended = 0;
        QObject::connect(&form, &app::Form1::programEnded, [&] { ++ended; });
        if (byClose) {
            form.show();
            form.close();
        } else {
            form.action(QStringLiteral("quit"))->trigger();
        }
        EXPECT_EQ(ended, 1);
        EXPECT_EQ(h.settings.ReadSetting(QStringLiteral("DXdj=")), QStringLiteral("8秒导线"));
    }
}

TEST(Startup, SecondCopyShowsItsMessageAndTouchesNothing)
{
    QTemporaryDir dir;
    const QString lock = dir.path() + QStringLiteral("/kelvorconfig.ini.lock");
    auto first = std::make_unique<app::SingleInstance>(lock);
    ASSERT_TRUE(first->acquire());
    app::SingleInstance second(lock);
    EXPECT_FALSE(second.acquire());

    AnswerQueue q;
    ScriptedUi ui(q);
    app::showSecondCopy(ui, QStringLiteral("kelvor"));
    ASSERT_EQ(ui.messages().size(), 1);
    const QJsonObject m = ui.messages().at(0).toObject();
    EXPECT_EQ(m.value(QStringLiteral("text")).toString(), QStringLiteral("[kelvor]应用程序已在运行中！！！"));
    EXPECT_EQ(m.value(QStringLiteral("title")).toString(), QStringLiteral("程序处理结果"));
    EXPECT_EQ(m.value(QStringLiteral("icon")).toString(), QStringLiteral("exclamation"));
    EXPECT_FALSE(QFileInfo::exists(dir.path() + QStringLiteral("/kelvorconfig.ini")));

    // Once the first copy has ended, the next start is the only copy.
    first.reset();
    app::SingleInstance third(lock);
    EXPECT_TRUE(third.acquire());
}

TEST(Startup, CommandLineNamesTheReportAsGiven)
{
    struct Case {
        QStringList args;
        const char* path;
    };
    const Case cases[] = {
        {{}, ""},
        {{QStringLiteral("   ")}, ""},
        {{QStringLiteral("\"d:\\data\\a b.CG\"")}, "d:\\data\\a b.CG"},
        {{QStringLiteral("d:\\data\\a.CG")}, "d:\\data\\a.CG"},   // no quotes: nothing cut off
        {{QStringLiteral("\"d:\\data\\a.CG")}, "\"d:\\data\\a.CG"}, // one quote only: kept
        {{QStringLiteral("x")}, "x"},
        {{QStringLiteral("\"\"")}, ""},
        {{QStringLiteral("d:\\my"), QStringLiteral("report.CG")}, "d:\\my report.CG"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.join(QLatin1Char('|')).toStdString());
        EXPECT_EQ(app::commandLineReport(c.args), QString::fromUtf8(c.path));
    }
}

TEST(Startup, CommandLineReportIsHandedToTheLoaderAfterThePresets)
{
    TempHome h;
    h.settings.writeRaw(QStringLiteral("DXdj="), QStringLiteral("二级图根"));
    traverse::TraverseSheet sheet;
    h.context.setSheet(&sheet);
    QStringList loaded;
    QString gradeSeen;
    const app::ReportLoader loader = [&](Context& ctx, const QString& p) {
        loaded.append(p);
        gradeSeen = ctx.sheet()->grade();
    };
    app::loadMainWindow(h.context, QString(), loader);
    EXPECT_TRUE(loaded.isEmpty());
    app::loadMainWindow(h.context, QStringLiteral("d:\\a.CG"), loader);
    EXPECT_EQ(loaded, QStringList{QStringLiteral("d:\\a.CG")});
    EXPECT_EQ(gradeSeen, QStringLiteral("二级图根"));
    // a report from the command line does not become the recent report
    EXPECT_EQ(h.context.state().recentReport, QString());
}

TEST(Startup, SplashShowsVersionsAndDateWithShadow)
{
    app::Star star(QDate(2007, 4, 5));
    EXPECT_EQ(star.label(1)->text(), QStringLiteral("兼容AutoCAD的版本：2004版、2006版"));
    EXPECT_EQ(star.label(2)->text(), QStringLiteral("04-05-2007"));
    EXPECT_EQ(star.label(3)->text(), QStringLiteral("04-05-2007"));
    EXPECT_EQ(star.label(3)->pos() - star.label(2)->pos(), QPoint(2, 2));
    EXPECT_EQ(star.size(), QSize(400, 200));
    EXPECT_EQ(star.timer2().interval(), 2000);
    EXPECT_FALSE(star.timer2().isActive());
}

TEST(Startup, CommandLineReportLoadsWithOrWithoutQuotes)
{
    const QByteArray report = test::readBytes(test::fixture(QStringLiteral("../traverse/fixtures/adjust/adjust_clean.CG")));
    ASSERT_FALSE(report.isEmpty());
    struct Case {
        const char* arg;
        bool loads;
    };
    const Case cases[] = {
        {"d:\\my data\\a.CG", true},
        {"\"d:\\my data\\a.CG\"", true},
        {"d:\\my data\\none.CG", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arg);
        TempHome h;
        test::writeGbk(QStringLiteral("d:\\my data\\a.CG"), QString());
        writeFileBytes(paths::resolve(QStringLiteral("d:\\my data\\a.CG")), report);
        traverse::TraverseSheet sheet;
        h.context.setSheet(&sheet);
        app::loadMainWindow(h.context, app::commandLineReport({QString::fromUtf8(c.arg)}), app::openCommandLineReport);
        if (c.loads) {
            EXPECT_TRUE(h.ui.messages().isEmpty());
            EXPECT_FALSE(sheet.text1(3).isEmpty());
        } else {
            ASSERT_EQ(h.ui.messages().size(), 1);
            EXPECT_EQ(h.ui.messages().at(0).toObject().value(QStringLiteral("text")).toString(),
                      QStringLiteral("文件打开错误！,请检查是否为正确的导线文件。"));
            EXPECT_TRUE(sheet.text1(3).isEmpty());
        }
        EXPECT_EQ(h.context.state().recentReport, QString());
    }
}

namespace {

QStringList messageTexts(const ScriptedUi& ui)
{
    QStringList l;
    for (const auto& m : ui.messages())
        l << m.toObject().value(QStringLiteral("text")).toString();
    return l;
}

bool runningAsRoot()
{
    return ::geteuid() == 0;
}

} // namespace

TEST(Startup, ASettingsStoreThatCannotBeUsedLeavesTheProgramOnDefaults)
{
    enum Kind { Folder, ParentIsAFile, Unreadable, ReadOnlyHome, Undecodable };
    const struct {
        const char* name;
        Kind kind;
        bool needsNonRoot; // file modes do not stop root
    } cases[] = {
        {"a folder as settings file", Folder, false},
        {"a file where its folder should be", ParentIsAFile, false},
        {"an unreadable file", Unreadable, true},
        // as root a read-only mount stands in for the folder's mode; the
        // values stored there still count
        {"a read-only home", ReadOnlyHome, false},
        {"neither UTF-8 nor GBK", Undecodable, false},
    };
    for (const auto& c : cases) {
        if (c.needsNonRoot && runningAsRoot()) {
            std::printf("note: case \"%s\" left out: file modes do not stop root\n", c.name);
            continue;
        }
        TempHome home;
        QString file = home.settings.file();
        const QString readOnly = home.root() + QStringLiteral("/ro");
        const QByteArray storedValues = "[参数设定]\n版本更新日期=20070405\nQW_PM=4\n";
        bool mounted = false;
        switch (c.kind) {
        case Folder:
            QDir().mkpath(file);
            break;
        case ParentIsAFile:
            test::writeBytes(home.root() + QStringLiteral("/etc"), "not a folder");
            file = home.root() + QStringLiteral("/etc/kelvorconfig.ini");
            break;
        case Unreadable:
            test::writeBytes(file, "[参数设定]\nQW_PM=4\n");
            QFile::setPermissions(file, QFileDevice::WriteOwner);
            break;
        case ReadOnlyHome:
            file = readOnly + QStringLiteral("/kelvorconfig.ini");
            QDir().mkpath(readOnly);
            if (runningAsRoot()) {
                const QByteArray at = QFile::encodeName(readOnly);
                if (::mount("tmpfs", at.constData(), "tmpfs", 0, "size=64k") != 0) {
                    std::printf("note: case \"%s\" left out: no tmpfs mount\n", c.name);
                    continue;
                }
                mounted = true;
                test::writeBytes(file, storedValues);
                ASSERT_EQ(::mount("tmpfs", at.constData(), "tmpfs", MS_REMOUNT | MS_RDONLY, "size=64k"), 0);
            } else {
                test::writeBytes(file, storedValues);
                QFile::setPermissions(readOnly, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
            }
            break;
        case Undecodable:
            test::writeBytes(file, "[\xB2\xCE\xCA\xFD]\nQW_PM=\xFF\xFF\x80\n");
            break;
        }
        SettingsStore settings(file);
        Context context(settings, home.ui);
        traverse::TraverseSheet sheet;
        context.setSheet(&sheet);
        app::SingleInstance instance(home.root() + QStringLiteral("/kelvorconfig.ini.lock"));
        ASSERT_TRUE(app::startUp(home.ui, settings, instance, QStringLiteral("kelvor"))) << c.name;
        app::loadMainWindow(context);
        app::applyFirstRun(home.ui, settings);
        if (c.kind == Undecodable) {
            const QString aside =
                file + QStringLiteral(".unreadable-") + QDate::currentDate().toString(QStringLiteral("yyyyMMdd"));
            EXPECT_EQ(messageTexts(home.ui), QStringList{app::settingsSetAsideText(file, aside)}) << c.name;
            EXPECT_TRUE(QFile::exists(aside)) << c.name;
            EXPECT_FALSE(settings.inMemory()) << c.name;
        } else {
            EXPECT_EQ(messageTexts(home.ui), QStringList{app::settingsUnusableText(file)}) << c.name;
            EXPECT_TRUE(messageTexts(home.ui).value(0).contains(file)) << c.name;
            EXPECT_TRUE(settings.inMemory()) << c.name;
        }
        // Either way the program runs on from here: on the values it can
        // still read, else on the defaults.
        EXPECT_EQ(settings.ReadSetting(QStringLiteral("QW_PM=")),
                  c.kind == ReadOnlyHome ? QStringLiteral("4") : QStringLiteral("3"))
            << c.name;
        settings.WriteSetting(QStringLiteral("DXdj="), QStringLiteral("二级图根"));
        EXPECT_EQ(settings.ReadSetting(QStringLiteral("DXdj=")), QStringLiteral("二级图根")) << c.name;
        if (mounted)
            ::umount2(QFile::encodeName(readOnly).constData(), MNT_DETACH);
        QFile::setPermissions(readOnly, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
}

TEST(Startup, StaleOrBrokenLocksAreTakenOverAndAFailedLockIsSaidSo)
{
    const struct {
        const char* name;
        QByteArray content; // of a lock file nobody holds
    } stale[] = {
        {"empty lock file", ""},
        {"garbage", "\x01\x02 not a lock \xFF"},
        {"another host's", "4242 other-host\n"},
        {"a dead process's", "2147483646 " + QSysInfo::machineHostName().toUtf8() + "\n"},
    };
    for (const auto& c : stale) {
        TempHome home;
        const QString lock = home.root() + QStringLiteral("/kelvorconfig.ini.lock");
        test::writeBytes(lock, c.content);
        app::SingleInstance instance(lock);
        EXPECT_TRUE(app::startUp(home.ui, home.settings, instance, QStringLiteral("kelvor"))) << c.name;
        EXPECT_FALSE(instance.failed()) << c.name;
        EXPECT_EQ(messageTexts(home.ui), QStringList()) << c.name;
        EXPECT_TRUE(test::readBytes(lock).startsWith(QByteArray::number(QCoreApplication::applicationPid()) + ' '))
            << c.name;
        // and it is really held now
        app::SingleInstance second(lock);
        EXPECT_FALSE(second.acquire()) << c.name;
    }
    {
        // A lock that cannot be made is reported as that, and the program starts.
        TempHome home;
        test::writeBytes(home.root() + QStringLiteral("/locks"), "a file, not a folder");
        const QString lock = home.root() + QStringLiteral("/locks/kelvorconfig.ini.lock");
        app::SingleInstance instance(lock);
        EXPECT_TRUE(app::startUp(home.ui, home.settings, instance, QStringLiteral("kelvor")));
        EXPECT_TRUE(instance.failed());
        EXPECT_EQ(messageTexts(home.ui), QStringList{app::lockFailureText(lock)});
        EXPECT_FALSE(messageTexts(home.ui).value(0).contains(QStringLiteral("应用程序已在运行中")));
    }
    {
        // A held lock: the second copy's message, and it ends.
        TempHome home;
        const QString lock = home.root() + QStringLiteral("/kelvorconfig.ini.lock");
        app::SingleInstance first(lock);
        ASSERT_TRUE(first.acquire());
        app::SingleInstance second(lock);
        EXPECT_FALSE(app::startUp(home.ui, home.settings, second, QStringLiteral("kelvor")));
        EXPECT_EQ(messageTexts(home.ui), QStringList{app::secondCopyText(QStringLiteral("kelvor"))});
        EXPECT_FALSE(QFileInfo::exists(home.settings.file()));
    }
}

TEST(StartUpCad, TheCadOptionAndItsDrawingAreTakenOutOfTheArguments)
{
    const QString here = QDir::currentPath();
    struct Case {
        QStringList given;
        bool wanted;
        QString drawing;
        QStringList rest;
    } cases[] = {
        {{}, false, {}, {}},
        {{QStringLiteral("d:\\cg\\P1.CG")}, false, {}, {QStringLiteral("d:\\cg\\P1.CG")}},
        {{QStringLiteral("--cad")}, true, {}, {}},
        {{QStringLiteral("--cad"), QStringLiteral("a.dxf")}, true, here + QStringLiteral("/a.dxf"), {}},
        {{QStringLiteral("--cad"), QStringLiteral("d:\\maps\\A.dxf")}, true, QStringLiteral("d:\\maps\\A.dxf"), {}},
        {{QStringLiteral("r.CG"), QStringLiteral("--cad"), QStringLiteral("/tmp/b.dxf")}, true,
         QStringLiteral("/tmp/b.dxf"), {QStringLiteral("r.CG")}},
        {{QStringLiteral("--cad"), QStringLiteral("--other")}, true, {}, {QStringLiteral("--other")}},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.given.join(QLatin1Char(' ')).toStdString());
        QStringList args = c.given;
        const app::CadRequest r = app::takeCadRequest(args);
        EXPECT_EQ(r.wanted, c.wanted);
        EXPECT_EQ(r.drawing, c.drawing);
        EXPECT_EQ(args, c.rest);
    }
}

TEST(StartUpCad, ASecondCopyWithCadHandsItsDrawingOverSilently)
{
    TempHome home;
    const QString lock = home.root() + QStringLiteral("/kelvorconfig.ini.lock");
    app::SingleInstance first(lock);
    ASSERT_TRUE(first.acquire());
    app::HandOver running(lock);
    QStringList received;
    QObject::connect(&running, &app::HandOver::cadRequested, [&](const QString& d) { received << d; });
    // one left before the running copy listened is not lost
    app::CadRequest early{true, QStringLiteral("/tmp/early.dxf")};
    ASSERT_TRUE(app::HandOver::send(lock, early));
    running.listen();
    EXPECT_EQ(received, QStringList{QStringLiteral("/tmp/early.dxf")});

    app::SingleInstance second(lock);
    app::CadRequest r{true, QStringLiteral("/tmp/a.dxf")};
    EXPECT_FALSE(app::startUp(home.ui, home.settings, second, QStringLiteral("kelvor"), r));
    EXPECT_TRUE(messageTexts(home.ui).isEmpty());
    EXPECT_TRUE(QTest::qWaitFor([&] { return received.size() >= 2; }, 5000));
    EXPECT_EQ(received.value(1), QStringLiteral("/tmp/a.dxf"));
    EXPECT_TRUE(QDir(app::HandOver::folderFor(lock)).entryList(QDir::Files).isEmpty());
}

TEST(StartUpCad, TheStatusBarSaysWhetherTheDrawingWindowRunsAndItsButtonStartsIt)
{
    TempHome home;
    CommandRegistry registry;
    WindowRegistry windows;
    app::Form1 form(home.context, registry, windows);
    EXPECT_EQ(form.drawingState()->text(), QStringLiteral("绘图窗口：未运行"));
    EXPECT_FALSE(form.drawingButton()->isEnabled());

    bool running = false;
    int started = 0;
    form.setDrawingWindow([&] { return running; }, [&] {
        ++started;
        running = true;
    });
    EXPECT_EQ(form.drawingButton()->text(), QStringLiteral("启动绘图窗口"));
    form.drawingButton()->click();
    EXPECT_EQ(started, 1);
    EXPECT_EQ(form.drawingState()->text(), QStringLiteral("绘图窗口：运行中"));
    EXPECT_EQ(form.drawingButton()->text(), QStringLiteral("显示绘图窗口"));
    running = false; // the person closed the drawing window
    form.drawingWindowChanged();
    EXPECT_EQ(form.drawingState()->text(), QStringLiteral("绘图窗口：未运行"));
}
