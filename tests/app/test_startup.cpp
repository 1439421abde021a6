#include "app/startup.h"
#include "app/ui/form1.h"
#include "app/ui/star.h"
#include "app/registry.h"
#include "platform/commands.h"
#include "platform/paths.h"
#include "platform/text_file.h"
#include "test_support.h"
#include "traverse/sheet.h"

#include <QAction>
#include <QFileInfo>
#include <QLabel>
#include <QTemporaryDir>
#include <gtest/gtest.h>

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
