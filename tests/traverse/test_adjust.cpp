#include "test_adjust_support.h"

#include "traverse/adjust.h"
#include "traverse/commands.h"
#include "traverse/report.h"

#include "routines/routines.h"
#include "platform/errors.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace kelvor;
using namespace kelvor::traverse;
using kelvor::test::fixture;
using kelvor::test::readBytes;

namespace {

const QString kInvalid = QStringLiteral("数据为空或非法的数字或字符。");

struct Adjusting : test::ReportHome {
    // Writes a data file of these lines ("EOF" added) and adjusts it.
    QString adjust(const QStringList& dx, const QString& name = QStringLiteral("t.dx"))
    {
        const QString path = home.path(name);
        writeTextLines(path, QStringList(dx) << QStringLiteral("EOF"));
        dxpc(home.context, path);
        return path;
    }
    QString result(const QString& file) const { return paths::resolve(QStringLiteral("d:\\cg\\") + file); }
    QStringList messages() const { return test::messageTexts(home.ui); }
    QStringList reportLines(const QString& name = QStringLiteral("P1")) const
    {
        return readTextLines(result(name + QStringLiteral(".CG")));
    }
};

} // namespace

// ---- whole reports against the independent working -------------------------

struct FixtureCase {
    const char* name;
    const char* grade;
};

class AdjustFixture : public ::testing::TestWithParam<FixtureCase> {};

TEST_P(AdjustFixture, ReportListsAndWatchMatchTheIndependentWorkingByteForByte)
{
    const FixtureCase c = GetParam();
    Adjusting run;
    run.sheet.setGrade(QString::fromUtf8(c.grade));
    const QString base = QString::fromLatin1(c.name);
    dxpc(run.home.context, fixture(QStringLiteral("fixtures/adjust/") + base + QStringLiteral(".dx")));

    EXPECT_TRUE(run.messages().isEmpty()) << run.messages().join(QLatin1Char('|')).toStdString();
    const QString dir = fixture(QStringLiteral("fixtures/adjust/")) + base;
    const QByteArray expected = readBytes(dir + QStringLiteral(".CG"));
    const QByteArray actual = readBytes(run.result(QStringLiteral("P1.CG")));
    ASSERT_FALSE(expected.isEmpty());
    if (actual != expected) {
        const QStringList e = decodeGbk(expected).split(QStringLiteral("\r\n"));
        const QStringList a = decodeGbk(actual).split(QStringLiteral("\r\n"));
        for (int i = 0; i < std::max(e.size(), a.size()); ++i)
            EXPECT_EQ(a.value(i).toStdString(), e.value(i).toStdString()) << "report line " << i + 1;
    }
    EXPECT_EQ(actual, expected);
    EXPECT_EQ(readBytes(run.result(QStringLiteral("P1.zb"))), readBytes(dir + QStringLiteral(".zb")));
    EXPECT_EQ(readBytes(paths::scratch(QStringLiteral("watch.txt"))), readBytes(dir + QStringLiteral(".watch.txt")));

    EXPECT_EQ(run.home.context.state().recentReport, QStringLiteral("d:\\cg\\P1.CG"));
    EXPECT_EQ(run.home.ui.textWindowFiles(), QStringList{QStringLiteral("d:\\cg\\P1.CG")});
}

INSTANTIATE_TEST_SUITE_P(Fixtures, AdjustFixture,
                         ::testing::Values(FixtureCase{"adjust_clean", "一级图根"},
                                           FixtureCase{"adjust_flags", "8秒导线"}),
                         [](const ::testing::TestParamInfo<FixtureCase>& i) { return std::string(i.param.name); });

// ---- rounding through a pattern ------------------------------------------------

TEST(AdjustRounding, RoundsHalfAwayFromZeroAndReadsThePointAloneAsZero)
{
    struct Case {
        double value;
        const char* pattern;
        double expected;
    } cases[] = {
        {0.00004, "###.####", 0.0},   // written "."
        {-0.00004, "###.####", 0.0},  // written "-."
        {0.00005, "###.####", 0.0001},
        {-0.00005, "###.####", -0.0001},
        {1.23455, "###.####", 1.2346}, // 15 significant digits before rounding
        {12.0, "###.###", 12.0},
        {359.9999999995, "###.#########", 360.0},
    };
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(roundThrough(c.value, QString::fromLatin1(c.pattern)), c.expected)
            << c.value << " " << c.pattern;
    EXPECT_EQ(readRounded(QStringLiteral(".")), 0.0);
    EXPECT_THROW(readRounded(QStringLiteral("abc")), RunError);
}

// The printed misclosure goes degrees -> D.MMSS -> 7 decimals -> seconds; the
// flag compares the printed figure, so a value that prints equal to the limit
// is not flagged.
TEST(AdjustReport, AngularMisclosurePrintsSignedSecondsAndFlagsBeyondTheLimit)
{
    struct Case {
        double seconds;
        const char* allowed; // "" for no grade
        const char* text;
    } cases[] = {
        {-30.25, "24.00", "-30.25**"},
        {7.85, "24.00", "+7.85"},
        {24.0, "24.00", "+24.00"},
        {24.004, "24.00", "+24.00"},
        {-24.006, "24.00", "-24.01**"},
        {75.5, "98.00", "+75.50"},       // past a whole minute: 0.01155 in D.MMSS
        {-3723.4, "98.00", "-3723.40**"}, // 1°02′03.4″
        {0.0004, "24.00", "0.00"},        // under half a thousandth: the point alone
        {0.5, "", "+0.50**"},
        {0.0, "", "0.00"},
    };
    for (const Case& c : cases) {
        Adjustment adj;
        adj.wa = c.seconds / 3600;
        if (*c.allowed)
            adj.grade.waAllowed = QString::fromLatin1(c.allowed);
        EXPECT_EQ(angularMisclosureText(adj), QString::fromUtf8(c.text)) << c.seconds;
    }
}

// ---- grades ---------------------------------------------------------------------

TEST(AdjustGrade, LimitsFollowTheGradeTable)
{
    test::TempHome home;
    home.settings.writeRaw(QStringLiteral("Dxxc_pm="), QStringLiteral("30"));
    home.settings.writeRaw(QStringLiteral("Dxxc_gc="), QStringLiteral("0.02"));
    struct Case {
        const char* grade;
        int N;
        const char* code;
        const char* wa; // nullptr: no value
        double fh;
    } cases[] = {
        {"8秒导线", 4, "8", "32.00", 0.05 * 0.5 * std::sqrt(3.0)},
        {"一级图根", 5, "tugen1", "53.67", 0.1 * 0.5 * 2},
        {"二级图根", 9, "tugen2", "120.00", 0.1 * 0.5 * std::sqrt(8.0)},
        {"自定义", 4, "qi_ta", "60.00", 0.02 * 0.5 * std::sqrt(3.0)},
        {"一级", 4, "", nullptr, 0},
        {"", 4, "", nullptr, 0},
    };
    for (const Case& c : cases) {
        const GradeLimits g = gradeLimits(gradeRow(QString::fromUtf8(c.grade), home.settings), 0.5, c.N);
        EXPECT_EQ(g.code, QString::fromLatin1(c.code)) << c.grade;
        if (c.wa) {
            EXPECT_EQ(g.waAllowed.value_or(QString()), QString::fromLatin1(c.wa)) << c.grade;
            EXPECT_DOUBLE_EQ(g.fhAllowed.value_or(-1), c.fh) << c.grade;
        } else {
            EXPECT_FALSE(g.waAllowed) << c.grade;
            EXPECT_FALSE(g.fhAllowed) << c.grade;
        }
    }
    // A limit below one second keeps no leading zero.
    home.settings.writeRaw(QStringLiteral("Dxxc_pm="), QStringLiteral("0.25"));
    EXPECT_EQ(*gradeLimits(gradeRow(QStringLiteral("自定义"), home.settings), 0.5, 4).waAllowed,
              QStringLiteral(".50"));
    home.settings.writeRaw(QStringLiteral("Dxxc_gc="), QString());
    EXPECT_THROW(gradeRow(QStringLiteral("自定义"), home.settings), RunError);
}

TEST(AdjustGrade, CustomGradeShowsItsNoticeFirstEvenWhenTheFileIsBad)
{
    Adjusting run;
    run.sheet.setGrade(QStringLiteral("自定义"));
    QStringList dx = test::cleanDx();
    dx[3] = QStringLiteral("P1,191.0916,,0.5350,1.450,1.500,-0.5404,1.520,1.450");
    run.adjust(dx);
    const QStringList m = run.messages();
    ASSERT_EQ(m.size(), 3);
    EXPECT_EQ(m[0], QStringLiteral("您所选择的是自定义导线等级,请核对所定义的参数！"));
    EXPECT_EQ(test::messageTitle(run.home.ui, 0), QStringLiteral("提示"));
    EXPECT_EQ(m[1], kInvalid);
    EXPECT_EQ(m[2], QStringLiteral("13"));
}

TEST(AdjustGrade, AnUnknownGradeFlagsEveryMisclosureThatIsNotZero)
{
    Adjusting run;
    run.sheet.setGrade(QStringLiteral("图根"));
    run.adjust(test::cleanDx());
    const QString report = run.reportLines().join(QLatin1Char('\n'));
    EXPECT_TRUE(report.contains(QStringLiteral("：Wa=-2.15**(″)"))) << report.toStdString();
    EXPECT_TRUE(report.contains(QStringLiteral("：Wa允=±0.00(″)")));
    EXPECT_TRUE(report.contains(QStringLiteral("：*+2.62*(cm)")));
    EXPECT_TRUE(report.contains(QStringLiteral("高程闭合差限差  ：±0.00(cm)")));
    // Every leg's reciprocal difference beats a limit of nothing.
    EXPECT_TRUE(report.contains(QStringLiteral("[+1.4244]*")));
}

// ---- closure core ------------------------------------------------------------

TEST(AdjustClosure, AngularMisclosureIsReducedIntoHalfATurn)
{
    struct Case {
        double computed, known, expected;
    } cases[] = {
        {359.999, 0.001, -0.002},
        {0.001, 359.999, 0.002},
        {10.5, 10.0, 0.5},
        {190.0, 10.0, 180.0},
        {10.0, 190.0, 180.0},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(closure::angularMisclosure(c.computed, c.known), c.expected, 1e-9)
            << c.computed << " " << c.known;
}

TEST(AdjustClosure, ATraverseClosingOnABearingNearNorthAdjustsNormally)
{
    // Straight line due north: B (0,0), one new station 100 m on, C 200 m on,
    // D far beyond; the left angles are 180 less 0.5 s at B, so the computed
    // closing bearing falls just west of north while the known one is north.
    Adjusting run;
    run.sheet.setGrade(QStringLiteral("一级图根"));
    run.adjust({QStringLiteral("B,1000,5000,10,A,900,5000"), QStringLiteral("C,1200,5000,10,D,1500,5000.001"),
                QStringLiteral("B,179.59595,100,0,1,1,0,1,1"), QStringLiteral("P1,180,100,0,1,1,0,1,1"),
                QStringLiteral("C,180")});
    EXPECT_TRUE(run.messages().isEmpty()) << run.messages().join(QLatin1Char('|')).toStdString();
    const QStringList report = run.reportLines();
    // Wa is a fraction of a second, not a whole turn, and P1 stays on the line.
    EXPECT_TRUE(report.filter(QStringLiteral("：Wa=")).value(0).contains(QStringLiteral("Wa=-1.19(″)")));
    EXPECT_TRUE(report.filter(QStringLiteral(" P1 ")).value(2).contains(QStringLiteral("1100.000       5000.000")))
        << report.filter(QStringLiteral(" P1 ")).join(QLatin1Char('|')).toStdString();
}

TEST(AdjustClosure, CoincidentKnownPointsStopTheRunAsInvalidData)
{
    const QStringList starts[] = {
        {QStringLiteral("B1,100,200,10,A1,100,200"), QStringLiteral("C1,300,400,10,D1,350,450")},
        {QStringLiteral("B1,100,200,10,A1,150,250"), QStringLiteral("C1,300,400,10,D1,300,400")},
    };
    for (const QStringList& known : starts) {
        Adjusting run;
        run.adjust(known + QStringList{QStringLiteral("B1,90,100,0,1,1,0,1,1"), QStringLiteral("P1,90,100,0,1,1,0,1,1"),
                                       QStringLiteral("C1,90")});
        EXPECT_EQ(run.messages(), (QStringList{kInvalid, QStringLiteral("13")}));
        EXPECT_FALSE(QFile::exists(run.result(QStringLiteral("P1.CG"))));
        EXPECT_FALSE(QFile::exists(paths::scratch(QStringLiteral("watch.txt"))));
    }
}

// ---- failures ------------------------------------------------------------------

TEST(AdjustFailure, InvalidFieldsBeepShowTheMessageAndWriteNothing)
{
    struct Case {
        int line;
        const char* text;
    } cases[] = {
        {3, "P1,191.0916,,0.5350,1.450,1.500,-0.5404,1.520,1.450"},    // empty distance
        {3, "P1,191.09a6,208.111,0.5350,1.450,1.500,-0.5404,1.520,1.450"}, // angle
        {3, "P1,191.0916,208.111,,1.450,1.500,-0.5404,1.520,1.450"},   // vertical angle
        {0, "B1,3381500.1238,512300.5678,,A1,3381800.0004,512100.0000"}, // height of B
        {1, "C1,,513020.8765,48.301,D1,3381050.0004,513200.0000"},     // X of C
    };
    for (const Case& c : cases) {
        Adjusting run;
        QStringList dx = test::cleanDx();
        dx[c.line] = QString::fromLatin1(c.text);
        run.adjust(dx);
        EXPECT_EQ(run.home.ui.beeps(), 1) << c.text;
        ASSERT_EQ(run.messages(), (QStringList{kInvalid, QStringLiteral("13")})) << c.text;
        EXPECT_EQ(test::messageTitle(run.home.ui, 0), QStringLiteral("错误"));
        EXPECT_FALSE(QFile::exists(run.result(QStringLiteral("P1.CG")))) << c.text;
        EXPECT_TRUE(run.home.context.state().recentReport.isEmpty());
        EXPECT_TRUE(run.home.ui.textWindowFiles().isEmpty());
    }
    // Empty instrument and target heights count as nothing and do not fail.
    Adjusting run;
    QStringList dx = test::cleanDx();
    dx[3] = QStringLiteral("P1,191.0916,208.111,0.5350,,,-0.5404,,");
    run.adjust(dx);
    EXPECT_TRUE(run.messages().isEmpty());
    EXPECT_TRUE(QFile::exists(run.result(QStringLiteral("P1.CG"))));
}

TEST(AdjustFailure, AMissingResultFolderNamesTheFolder)
{
    Adjusting run;
    run.home.settings.writeRaw(QStringLiteral("MydxfileSavepath="), QStringLiteral("d:\\nowhere"));
    run.adjust(test::cleanDx());
    EXPECT_EQ(run.home.ui.beeps(), 1);
    ASSERT_EQ(run.messages().size(), 2);
    EXPECT_EQ(run.messages()[0], QStringLiteral("无法在指定的目录下建立文件，检查是否创建[d:\\nowhere]目录！\r"
                                                 "请在参数设定中设定成果保存的目录。"));
    EXPECT_EQ(test::messageTitle(run.home.ui, 0), QStringLiteral("路径"));
    EXPECT_EQ(run.messages()[1], QStringLiteral("76"));
    EXPECT_FALSE(QFile::exists(paths::scratch(QStringLiteral("watch.txt"))));
}

TEST(AdjustFailure, AFolderValueEndingInABackslashStillWorks)
{
    Adjusting run;
    run.home.settings.writeRaw(QStringLiteral("MydxfileSavepath="), QStringLiteral("d:\\cg\\"));
    run.adjust(test::cleanDx());
    EXPECT_TRUE(run.messages().isEmpty());
    EXPECT_EQ(run.home.context.state().recentReport, QStringLiteral("d:\\cg\\\\P1.CG"));
    EXPECT_TRUE(QFile::exists(run.result(QStringLiteral("P1.CG"))));
}

TEST(AdjustFailure, AFailingRunNeverLeavesAHalfReportOverAGoodOne)
{
    for (const char* key : {"QW_PM=", "QW_GC="}) {
        Adjusting run;
        run.adjust(test::cleanDx());
        const QByteArray good = readBytes(run.result(QStringLiteral("P1.CG")));
        const QByteArray goodWatch = readBytes(paths::scratch(QStringLiteral("watch.txt")));
        ASSERT_FALSE(good.isEmpty());
        run.home.settings.writeRaw(QString::fromLatin1(key), QString());
        QStringList dx = test::cleanDx();
        dx[2].replace(QStringLiteral("196.513"), QStringLiteral("196.600"));
        run.adjust(dx);
        EXPECT_EQ(run.messages(), (QStringList{kInvalid, QStringLiteral("13")})) << key;
        EXPECT_EQ(readBytes(run.result(QStringLiteral("P1.CG"))), good) << key;
        EXPECT_EQ(readBytes(paths::scratch(QStringLiteral("watch.txt"))), goodWatch) << key;
    }
}

TEST(AdjustFailure, FewerThanTwoStationsEndOnTheNumberAlone)
{
    Adjusting run;
    run.adjust({QStringLiteral("B1,100,200,10,A1,150,250"), QStringLiteral("C1,300,400,10,D1,350,450"),
                QStringLiteral("B1,90")});
    EXPECT_EQ(run.messages(), QStringList{QStringLiteral("11")});
    EXPECT_EQ(run.home.ui.beeps(), 0);
}

TEST(AdjustFailure, AStationNameThatCannotNameAFileStopsBeforeWriting)
{
    for (const char* name : {"", "a/b", "a\\b", "..", "x..y", "a:b", "a*b", "a?b"}) {
        Adjusting run;
        QStringList dx = test::cleanDx();
        dx[3].replace(0, 2, QString::fromLatin1(name));
        run.adjust(dx);
        ASSERT_EQ(run.messages().size(), 1) << name;
        EXPECT_TRUE(run.messages()[0].contains(QStringLiteral("不能用作成果文件名"))) << name;
        EXPECT_TRUE(QDir(run.result(QString())).entryList(QDir::Files).isEmpty()) << name;
        EXPECT_FALSE(QFile::exists(paths::scratch(QStringLiteral("watch.txt")))) << name;
        EXPECT_TRUE(run.home.context.state().recentReport.isEmpty()) << name;
    }
}

// ---- special closures ----------------------------------------------------------

// Mends the best traverse of all ending on a division error with no report.
TEST(AdjustReport, ATraverseClosingToTheMillimetreGetsItsReportWithKInfinite)
{
    // Due east, each leg 100 m; C sits exactly where the legs end.
    Adjusting run;
    run.adjust({QStringLiteral("B,1000,5000,10,A,1000,4000"), QStringLiteral("C,1000,5200,10,D,1000,6000"),
                QStringLiteral("B,180,100,0,1,1,0,1,1"), QStringLiteral("P1,180,100,0,1,1,0,1,1"),
                QStringLiteral("C,180")});
    EXPECT_TRUE(run.messages().isEmpty()) << run.messages().join(QLatin1Char('|')).toStdString();
    const QStringList report = run.reportLines();
    EXPECT_EQ(report.filter(QStringLiteral("：Ws=")).value(0), QString(23, QLatin1Char(' ')) + QStringLiteral("导线坐标闭合差  ：Ws=  0.000(m)"));
    EXPECT_EQ(report.filter(QStringLiteral("：K =")).value(0), QString(23, QLatin1Char(' ')) + QStringLiteral("全长相对闭合差  ：K =   1: ∞"));
    EXPECT_EQ(report.filter(QStringLiteral("：Wa=")).value(0), QString(23, QLatin1Char(' ')) + QStringLiteral("方位角闭合差    ：Wa=0.00(″)"));
}

TEST(AdjustReport, WithoutTheListSwitchOnlyTheReportIsWritten)
{
    Adjusting run;
    run.home.context.state().printcgb = false;
    run.adjust(test::cleanDx());
    EXPECT_TRUE(QFile::exists(run.result(QStringLiteral("P1.CG"))));
    EXPECT_FALSE(QFile::exists(run.result(QStringLiteral("P1.zb"))));
    EXPECT_FALSE(QFile::exists(paths::scratch(QStringLiteral("watch.txt"))));
    EXPECT_EQ(run.home.ui.textWindowFiles(), QStringList{QStringLiteral("d:\\cg\\P1.CG")});
}

TEST(AdjustReport, AChosenFileNamesItsListsAfterItsOwnStations)
{
    Adjusting run;
    // The sheet holds another traverse altogether.
    run.sheet.setText1(3, QStringLiteral("SB"));
    run.sheet.setText1(10, QStringLiteral("SC"));
    run.sheet.setText5(9, QStringLiteral("SHEET2"));
    run.adjust(test::cleanDx());
    EXPECT_TRUE(QFile::exists(run.result(QStringLiteral("P1.zb"))));
    EXPECT_FALSE(QFile::exists(run.result(QStringLiteral("SHEET2.zb"))));
    const QStringList watch = readTextLines(paths::scratch(QStringLiteral("watch.txt")));
    ASSERT_EQ(watch.size(), 5);
    EXPECT_EQ(watch.first(), QStringLiteral("B1   3381500.1238   512300.5678   45.678"));
    EXPECT_EQ(watch.last(), QStringLiteral("C1   3381280.4325   513020.8765   48.301"));
}

TEST(AdjustReport, ThreeStationsGiveOneListLineAndThreeWatchLines)
{
    Adjusting run;
    run.adjust({QStringLiteral("B1,1000,5000,10,A1,1000,4000"), QStringLiteral("C1,1000,5200.03,10.05,D1,1000,6000"),
                QStringLiteral("B1,180,100,0,1,1,0,1,1"), QStringLiteral("P1,180,100,0,1,1,0,1,1"),
                QStringLiteral("C1,180")});
    EXPECT_EQ(readTextLines(run.result(QStringLiteral("P1.zb"))),
              QStringList{QStringLiteral("P1        1000.000      5100.015      10.03")});
    EXPECT_EQ(readTextLines(paths::scratch(QStringLiteral("watch.txt"))).size(), 3);
}

// Heights are held in single precision and printed from their 7-digit text:
// above 1000 m the last decimals show it (1236.0125 is held as 1236.01245 and
// prints 1236.012), in the report, the .zb list and watch.txt alike; below
// 1000 m four decimals still print the decimal value.
TEST(AdjustReport, HeightsPrintAsHeldInSinglePrecision)
{
    struct Case {
        const char* bh;
        const char* ch;
        const char* qwGc;
        QStringList H; // stations B1, P1, P2, P3, C1
    };
    const Case cases[] = {
        {"1234.567", "1234.1791", "3", {"1234.567", "1236.012", "1233.979", "1234.479", "1234.179"}},
        {"234.567", "234.1791", "4", {"234.5670", "236.0125", "233.9795", "234.4793", "234.1791"}},
        // seven digits above 1000 m leave nothing for the fourth decimal
        {"1234.567", "1234.1791", "4", {"1234.5670", "1236.0120", "1233.9790", "1234.4790", "1234.1790"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bh);
        Adjusting run;
        run.home.settings.writeRaw(QStringLiteral("QW_GC="), QString::fromLatin1(c.qwGc));
        // The clean traverse with level sights whose mean differences are
        // +1.4457, -2.0328, +0.5000, -0.3000; the misclosure of 0.8 mm gives
        // each leg -0.2 mm.
        QStringList dx = test::cleanDx();
        dx[0].replace(QStringLiteral("45.678"), QString::fromLatin1(c.bh));
        dx[1].replace(QStringLiteral("48.301"), QString::fromLatin1(c.ch));
        dx[2] = QStringLiteral("B1,147.5022,196.513,0,1.4430,0,0,0,1.4484");
        dx[3] = QStringLiteral("P1,191.0916,208.111,0,0,2.0358,0,2.0298,0");
        dx[4] = QStringLiteral("P2,130.4440,206.158,0,0.4970,0,0,0,0.5030");
        dx[5] = QStringLiteral("P3,216.1120,184.500,0,0,0.3024,0,0.2976,0");
        run.adjust(dx);
        ASSERT_TRUE(run.messages().isEmpty()) << run.messages().join(QLatin1Char('|')).toStdString();

        const QStringList report = run.reportLines();
        const qsizetype header = report.indexOf(QStringLiteral(" Name       (m)     (mm)       (m)       (m)      (m)      (mm)      (m)"));
        ASSERT_GT(header, 0);
        QStringList printed;
        for (int k = 1; k <= 5; ++k)
            printed << report[header + k].mid(68);
        EXPECT_EQ(printed, c.H) << "report";
        EXPECT_EQ(report[header + 2].mid(59, 9), QStringLiteral("-0.2     ")) << "v";

        printed.clear();
        for (const QString& line : readTextLines(run.result(QStringLiteral("P1.zb"))))
            printed << line.mid(38);
        EXPECT_EQ(printed, c.H.mid(1, 3)) << ".zb";
        const QStringList watch = readTextLines(paths::scratch(QStringLiteral("watch.txt")));
        ASSERT_EQ(watch.size(), 5);
        EXPECT_TRUE(watch[2].endsWith(c.H[2])) << watch[2].toStdString();
    }
}
