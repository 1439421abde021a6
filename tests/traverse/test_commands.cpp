#include "test_adjust_support.h"

#include "traverse/commands.h"

#include "platform/commands.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace kelvor;
using namespace kelvor::traverse;

namespace {

struct Commands : test::ReportHome {
    QStringList dx() const { return test::cleanDx(); }
};

} // namespace

TEST(AdjustCommands, TheSheetButtonAdjustsTheRowsUpToTheFirstEmptyName)
{
    Commands c;
    QStringList dx = c.dx();
    test::fillSheet(c.sheet, dx);
    // Row 4 left without a name, row 5 typed below it: left out.
    c.sheet.showAllRows();
    c.sheet.setText5(37, QStringLiteral("1.0"));
    c.sheet.setText5(45, QStringLiteral("P9"));
    c.sheet.setText5(47, QStringLiteral("55.5"));

    CommandRegistry registry;
    registerTraverseCommands(registry);
    ASSERT_TRUE(registry.run(QStringLiteral("Command37"), c.home.context));

    EXPECT_EQ(c.sheet.rowsInUse(), 4);
    EXPECT_EQ(readTextLines(paths::scratch(QStringLiteral("read.dx"))).size(), 8);
    // The same traverse as the fixture's, so the same report.
    EXPECT_EQ(test::readBytes(QStringLiteral("d:\\cg\\P1.CG")),
              test::readBytes(test::fixture(QStringLiteral("fixtures/adjust/adjust_clean.CG"))));
    EXPECT_EQ(c.home.context.state().recentReport, QStringLiteral("d:\\cg\\P1.CG"));
    EXPECT_EQ(c.home.ui.textWindowFiles(), QStringList{QStringLiteral("d:\\cg\\P1.CG")});
}

TEST(AdjustCommands, AFailedRunLeavesTheSheetsRowsAsTheyWere)
{
    struct Case {
        const char* name;
        int blankName; // a cell of the filled sheet emptied, -1 none
        bool empty;    // the sheet left empty
    };
    const Case cases[] = {
        {"empty sheet", -1, true},
        {"station 3 without its distance", 20, false},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        Commands c;
        if (!k.empty) {
            test::fillSheet(c.sheet, c.dx());
            c.sheet.setText5(k.blankName, QStringLiteral("abc"));
        }
        c.sheet.showAllRows();
        CommandRegistry registry;
        registerTraverseCommands(registry);
        ASSERT_TRUE(registry.run(QStringLiteral("Command37"), c.home.context));
        EXPECT_TRUE(c.home.context.state().recentReport.isEmpty());
        EXPECT_EQ(c.sheet.shownRows(), TraverseSheet::Rows);
    }
}

TEST(AdjustCommands, TheToolTipNamesTheReportOfTheSecondRow)
{
    Commands c;
    EXPECT_EQ(Command37_ToolTip(c.home.context, QStringLiteral("old")), QStringLiteral("old"));
    c.sheet.setText5(9, QStringLiteral("  K7 "));
    EXPECT_EQ(Command37_ToolTip(c.home.context, QStringLiteral("old")), QStringLiteral("SYS.read.dx 生成：d:\\cg\\K7.CG"));
}

TEST(AdjustCommands, AChosenDataFileIsAdjustedAndACancelledDialogDoesNothing)
{
    Commands c;
    c.home.answer(QStringLiteral("button"), QStringLiteral("Cancel"));
    selectdxfile_Click(c.home.context);
    const QJsonObject dialog = c.home.ui.events().at(0).toObject();
    EXPECT_EQ(dialog.value(QStringLiteral("title")).toString(), QStringLiteral("打开导线文件"));
    EXPECT_EQ(dialog.value(QStringLiteral("filter")).toString(), QStringLiteral("导线数据文件(*.dx)|*.dx"));
    EXPECT_TRUE(c.home.context.state().recentReport.isEmpty());
    EXPECT_FALSE(QFile::exists(paths::resolve(QStringLiteral("d:\\cg\\P1.CG"))));

    c.home.answerOpen({test::fixture(QStringLiteral("fixtures/adjust/adjust_flags.dx"))});
    c.sheet.setGrade(QStringLiteral("8秒导线"));
    selectdxfile_Click(c.home.context);
    EXPECT_EQ(test::readBytes(QStringLiteral("d:\\cg\\P1.CG")),
              test::readBytes(test::fixture(QStringLiteral("fixtures/adjust/adjust_flags.CG"))));
}

TEST(AdjustCommands, TheListSwitchToggles)
{
    Commands c;
    printcgb_Click(c.home.context);
    EXPECT_FALSE(c.home.context.state().printcgb);
    printcgb_Click(c.home.context);
    EXPECT_TRUE(c.home.context.state().printcgb);
}

TEST(AdjustCommands, ADataFileCutShortIsBadDataAndWritesNothing)
{
    const struct {
        const char* file;
        bool adjusted;
    } cases[] = {
        {"adjust_cut_midline.dx", false},   // ends inside a station line
        {"adjust_cut_after_line.dx", true}, // only "EOF" lost: the last station stays
    };
    for (const auto& c : cases) {
        Commands h;
        test::writeBytes(paths::resolve(QStringLiteral("d:\\cg\\P1.CG")), "old report\r\n");
        h.home.answerOpen({test::fixture(QStringLiteral("fixtures/adjust/") + c.file)});
        selectdxfile_Click(h.home.context);
        const QByteArray report = test::readBytes(QStringLiteral("d:\\cg\\P1.CG"));
        if (c.adjusted) {
            EXPECT_EQ(report, test::readBytes(test::fixture(QStringLiteral("fixtures/adjust/adjust_clean.CG")))) << c.file;
            continue;
        }
        EXPECT_EQ(report, QByteArray("old report\r\n")) << c.file;
        QStringList texts;
        for (const auto& m : h.home.ui.messages())
            texts << m.toObject().value(QStringLiteral("text")).toString();
        EXPECT_EQ(texts, (QStringList{QStringLiteral("数据为空或非法的数字或字符。"), QStringLiteral("13")})) << c.file;
        EXPECT_TRUE(h.home.ui.textWindowFiles().isEmpty()) << c.file;
    }
}

TEST(AdjustCommands, AResultFolderClimbingOutOfTheDriveStaysOnIt)
{
    Commands c;
    c.home.settings.writeRaw(QStringLiteral("MydxfileSavepath="), QStringLiteral("d:\\..\\..\\..\\tmp"));
    QDir().mkpath(paths::resolve(QStringLiteral("d:\\tmp")));
    c.home.answerOpen({test::fixture(QStringLiteral("fixtures/adjust/adjust_clean.dx"))});
    selectdxfile_Click(c.home.context);
    const QString report = c.home.root() + QStringLiteral("/drives/d/tmp/P1.CG");
    EXPECT_EQ(test::readBytes(report), test::readBytes(test::fixture(QStringLiteral("fixtures/adjust/adjust_clean.CG"))));
    EXPECT_FALSE(QFile::exists(c.home.root() + QStringLiteral("/tmp/P1.CG")));
    EXPECT_FALSE(QFile::exists(c.home.root() + QStringLiteral("/drives/tmp/P1.CG")));
}
