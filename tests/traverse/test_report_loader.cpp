#include "test_adjust_support.h"

#include "traverse/commands.h"
#include "traverse/report_loader.h"

#include "routines/routines.h"

#include <QFile>
#include <QJsonObject>
#include <gtest/gtest.h>

using namespace kelvor;
using namespace kelvor::traverse;

namespace {

const QString kOpenFailed = QStringLiteral("文件打开错误！,请检查是否为正确的导线文件。");

// A traverse of N stations in data-file lines, every value in the form the
// report prints it, so a loaded sheet can be compared cell by cell. Known
// names hold capital X on purpose.
QStringList traverseDx(int N)
{
    QStringList dx;
    dx << QStringLiteral("JX3,1000.0000,1000.0000,50.000,AX,900.0000,1000.0000");
    dx << QStringLiteral("CX9,%1,1000.2500,51.234,XD,%2,1000.5000")
              .arg(FormatFixed(1000.0 + 100.0 * (N - 1), 4), FormatFixed(1100.0 + 100.0 * (N - 1), 4));
    for (int k = 1; k <= N - 1; ++k) {
        const QString name = k == 1 ? QStringLiteral("JX3") : QStringLiteral("T%1").arg(k);
        dx << QStringLiteral("%1,%2,%3,%4,1.450,1.500,%5,1.520,1.450")
                  .arg(name, k % 2 ? QStringLiteral("179.5950") : QStringLiteral("180.0010"),
                       FormatFixed(100.0 + k * 0.123, 3), k % 2 ? QStringLiteral("0.1230") : QStringLiteral("-0.0512"),
                       k % 2 ? QStringLiteral("-0.1245") : QStringLiteral("0.0000"));
    }
    dx << QStringLiteral("CX9,180.0000");
    return dx;
}

struct Loader : test::ReportHome {
    // Adjusts the traverse through the sheet button; returns the report path.
    QString report(const QStringList& dx)
    {
        test::fillSheet(sheet, dx);
        Command37_Click(home.context);
        return paths::resolve(home.context.state().recentReport);
    }
    QStringList messages() const { return test::messageTexts(home.ui); }
};

struct Snapshot {
    QStringList text1, text5;
    QString grade, contour;
    int rows;
    explicit Snapshot(const TraverseSheet& s)
        : grade(s.grade()), contour(s.contourInterval()), rows(s.rowsInUse())
    {
        for (int i = 0; i < TraverseSheet::KnownCells; ++i)
            text1 << s.text1(i);
        for (int i = 0; i < TraverseSheet::StationCells; ++i)
            text5 << s.text5(i);
    }
    bool operator==(const Snapshot& o) const
    {
        return text1 == o.text1 && text5 == o.text5 && grade == o.grade && contour == o.contour && rows == o.rows;
    }
};

// A sheet full of other data, every row shown.
void fillWithOldData(TraverseSheet& sheet)
{
    sheet.showAllRows();
    for (int i = 0; i < TraverseSheet::KnownCells; ++i)
        sheet.setText1(i, QStringLiteral("old%1").arg(i));
    for (int i = 0; i < TraverseSheet::StationCells; ++i)
        sheet.setText5(i, QStringLiteral("o%1").arg(i));
}

} // namespace

TEST(ReportLoader, EveryTraverseTheSheetHoldsComesBackFromItsReport)
{
    for (int N = 2; N <= 13; ++N) {
        Loader run;
        const QStringList dx = traverseDx(N);
        const QString report = run.report(dx);
        ASSERT_TRUE(run.messages().isEmpty()) << N << ": " << run.messages().join(QLatin1Char('|')).toStdString();

        TraverseSheet loaded;
        loaded.clearSheet();
        ASSERT_EQ(LoadTraverseReport(loaded, report), LoadFailure::None) << N;

        const QStringList b = dx[0].split(QLatin1Char(','));
        const QStringList c = dx[1].split(QLatin1Char(','));
        const QStringList known = {b[4], b[5], b[6], b[0], b[1], b[2], b[3], c[4], c[5], c[6], c[0], c[1], c[2], c[3]};
        for (int i = 0; i < TraverseSheet::KnownCells; ++i)
            EXPECT_EQ(loaded.text1(i), known[i]) << "N=" << N << " Text1 " << i;
        for (int r = 0; r < N - 1; ++r) {
            const QStringList f = dx[2 + r].split(QLatin1Char(','));
            for (int col = 0; col < 9; ++col) {
                const QString expected = col == 3 || col == 6 ? FormatFixed(LeadingNumber(f[col]), 4) : f[col];
                EXPECT_EQ(loaded.text5(9 * r + col), expected) << "N=" << N << " row " << r << " col " << col;
            }
        }
        for (int i = 9 * (N - 1); i < 108; ++i)
            EXPECT_TRUE(loaded.text5(i).isEmpty()) << "N=" << N << " cell " << i;
        // The last-station cells keep the report's blanks around the values.
        EXPECT_EQ(loaded.text5(108), QStringLiteral("CX9       ")) << N;
        EXPECT_EQ(loaded.text5(109), QStringLiteral(" 180.0000")) << N;
    }
}

// Mends a half-loaded sheet: the report is read whole before any cell is written.
TEST(ReportLoader, AReportTooLongForTheSheetFailsAndLeavesTheSheetAsItWas)
{
    Loader run;
    // Fourteen stations only fit a data file, not the sheet.
    QStringList dx = traverseDx(13);
    dx.insert(dx.size() - 1, QStringLiteral("T13,180.0000,100.000,0,1.450,1.500,0,1.520,1.450"));
    const QString path = run.home.path(QStringLiteral("long.dx"));
    writeTextLines(path, QStringList(dx) << QStringLiteral("EOF"));
    dxpc(run.home.context, path);
    ASSERT_TRUE(run.messages().isEmpty()) << run.messages().join(QLatin1Char('|')).toStdString();
    const QString report = run.home.context.state().recentReport;

    fillWithOldData(run.sheet);
    const Snapshot before(run.sheet);
    EXPECT_EQ(LoadTraverseReport(run.sheet, paths::resolve(report)), LoadFailure::Other);
    EXPECT_TRUE(Snapshot(run.sheet) == before);

    run.home.answerOpen({report});
    opendxfile_Click(run.home.context);
    EXPECT_EQ(run.messages(), QStringList{kOpenFailed});
    EXPECT_TRUE(Snapshot(run.sheet) == before);
}

// Mends a sheet that showed an earlier traverse's rows under a shorter report.
TEST(ReportLoader, AShortReportEmptiesTheRowsBelowItButKeepsGradeAndRowsShown)
{
    Loader run;
    const QString report = run.report(traverseDx(5));
    fillWithOldData(run.sheet);
    run.sheet.setGrade(QStringLiteral("二级图根"));
    run.sheet.setContourInterval(QStringLiteral("1.0"));

    ASSERT_EQ(LoadTraverseReport(run.sheet, report), LoadFailure::None);
    EXPECT_EQ(run.sheet.text5(0), QStringLiteral("JX3"));
    EXPECT_EQ(run.sheet.text5(27), QStringLiteral("T4"));
    for (int i = 36; i < 108; ++i)
        EXPECT_TRUE(run.sheet.text5(i).isEmpty()) << i;
    EXPECT_EQ(run.sheet.grade(), QStringLiteral("二级图根"));
    EXPECT_EQ(run.sheet.contourInterval(), QStringLiteral("1.0"));
    EXPECT_EQ(run.sheet.rowsInUse(), 12);
}

TEST(ReportLoader, FilesThatAreNoReportFailWithTheirKind)
{
    test::TempHome home;
    writeTextLines(home.path(QStringLiteral("notes.txt")), {QStringLiteral("hello"), QStringLiteral("world")});
    writeFileBytes(home.path(QStringLiteral("empty.CG")), QByteArray());
    // Known points without "H=" on B.
    writeTextLines(home.path(QStringLiteral("cut.CG")),
                   {QStringLiteral("--------------------------------已知点数据----------------------------------"),
                    QString(), QStringLiteral("B  X=1.0000    Y=2.0000"), QStringLiteral("A  X=1.0000    Y=2.0000"),
                    QStringLiteral("C  X=1.0000    Y=2.0000    H=3.000"), QStringLiteral("D  X=1.0000    Y=2.0000")});
    struct Case {
        const char* file;
        LoadFailure kind;
    } cases[] = {
        {"notes.txt", LoadFailure::Other},
        {"empty.CG", LoadFailure::Other},
        {"cut.CG", LoadFailure::Other},
        {"missing.CG", LoadFailure::Missing},
        {"nofolder/missing.CG", LoadFailure::Missing},
    };
    for (const Case& c : cases) {
        TraverseSheet sheet;
        fillWithOldData(sheet);
        const Snapshot before(sheet);
        EXPECT_EQ(LoadTraverseReport(sheet, home.path(QString::fromLatin1(c.file))), c.kind) << c.file;
        EXPECT_TRUE(Snapshot(sheet) == before) << c.file;
    }
}

TEST(ReportLoader, EntryPointsReportFailuresInTheirOwnWords)
{
    Loader run;
    const QString report = run.report(traverseDx(4));
    writeTextLines(run.home.path(QStringLiteral("notes.txt")), {QStringLiteral("hello")});

    // Recent entry: missing file, then a file that is no report.
    run.home.context.state().recentReport = run.home.path(QStringLiteral("gone.CG"));
    filelist_Click(run.home.context);
    run.home.context.state().recentReport = run.home.path(QStringLiteral("notes.txt"));
    filelist_Click(run.home.context);
    EXPECT_EQ(run.messages(), (QStringList{QStringLiteral("找不到该文件！"), QStringLiteral("未知的错误。")}));
    EXPECT_EQ(test::messageTitle(run.home.ui, 0), QStringLiteral("错误"));
    run.home.ui.clearRecord();

    // Command line: the quotes are dropped; without them the path is cut.
    run.sheet.clearSheet();
    QStringList order;
    opencommandfile(run.home.context, QLatin1Char('"') + report + QLatin1Char('"'), [&] { order << "stop"; },
                    [&] { order << "start"; });
    EXPECT_EQ(run.sheet.text5(0), QStringLiteral("JX3"));
    EXPECT_TRUE(order.isEmpty());
    opencommandfile(run.home.context, report, [&] { order << "stop"; }, [&] { order << "start"; });
    EXPECT_EQ(order, (QStringList{QStringLiteral("stop"), QStringLiteral("start")}));
    EXPECT_EQ(run.messages(), QStringList{kOpenFailed});
    EXPECT_EQ(test::messageTitle(run.home.ui, 0), QStringLiteral("提示"));
    run.home.ui.clearRecord();

    // 打开成果文件: cancel does nothing; a choice becomes the recent report
    // even when it is no report.
    run.home.context.state().recentReport = QStringLiteral("before");
    run.home.answer(QStringLiteral("button"), QStringLiteral("Cancel"));
    opendxfile_Click(run.home.context);
    EXPECT_EQ(run.home.context.state().recentReport, QStringLiteral("before"));
    EXPECT_TRUE(run.messages().isEmpty());
    run.home.answerOpen({run.home.path(QStringLiteral("notes.txt"))});
    opendxfile_Click(run.home.context);
    EXPECT_EQ(run.home.context.state().recentReport, run.home.path(QStringLiteral("notes.txt")));
    EXPECT_EQ(run.home.settings.ReadSetting(QStringLiteral("Savelist1=")),
              upperAscii(run.home.path(QStringLiteral("notes.txt"))));
    EXPECT_EQ(run.messages(), QStringList{kOpenFailed});
}

TEST(ReportLoader, KnownPointLinesSplitAtTheirTokensOnly)
{
    test::TempHome home;
    const QString marker = QStringLiteral("--------------------------------已知点数据----------------------------------");
    writeTextLines(home.path(QStringLiteral("k.CG")),
                   {marker, QString(), QStringLiteral("         JX3      X=10.0000    Y=20.0000    H=3.000"),
                    QStringLiteral("         AXY      X=11.0000    Y=21.0000"),
                    QStringLiteral("                  X=12.0000    Y=22.0000    H=4.000"),
                    QStringLiteral("         HX=Y     X=13.0000    Y=23.0000"), QString(),
                    QStringLiteral("[ Name ]   [ S ]      [V往]      [i]      [ ν ]     [V返]      [i]      [ν]"),
                    QStringLiteral(" JX3")});
    TraverseSheet sheet;
    ASSERT_EQ(LoadTraverseReport(sheet, home.path(QStringLiteral("k.CG"))), LoadFailure::None);
    const QStringList expected = {QStringLiteral("AXY"), QStringLiteral("11.0000"), QStringLiteral("21.0000"),
                                  QStringLiteral("JX3"), QStringLiteral("10.0000"), QStringLiteral("20.0000"),
                                  QStringLiteral("3.000"), QStringLiteral("HX=Y"), QStringLiteral("13.0000"),
                                  QStringLiteral("23.0000"), QString(), QStringLiteral("12.0000"),
                                  QStringLiteral("22.0000"), QStringLiteral("4.000")};
    for (int i = 0; i < TraverseSheet::KnownCells; ++i)
        EXPECT_EQ(sheet.text1(i), expected[i]) << i;
}

TEST(ReportLoader, OpeningAReportUsesTheSharedDialogWithTheTitleTheLastCommandLeft)
{
    Loader run;
    run.home.answer(QStringLiteral("button"), QStringLiteral("Cancel"));
    selectdxfile_Click(run.home.context);
    run.home.answer(QStringLiteral("button"), QStringLiteral("Cancel"));
    opendxfile_Click(run.home.context);

    const QJsonObject dialog = run.home.ui.events().at(1).toObject();
    EXPECT_EQ(dialog.value(QStringLiteral("title")).toString(), QStringLiteral("打开导线文件"));
    EXPECT_EQ(dialog.value(QStringLiteral("filter")).toString(), QStringLiteral("平差结果文件(*.CG)|*.CG"));
    // The next command finds what this one left.
    EXPECT_EQ(run.home.context.state().commonDialog.filter, QStringLiteral("平差结果文件(*.CG)|*.CG"));
}
