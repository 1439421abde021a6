#include "exchange/load_pcy.h"
#include "exchange/loaders_commands.h"

#include "platform/commands.h"
#include "platform/text_file.h"
#include "sheet_cells.h"
#include "test_support.h"
#include "traverse/sheet.h"

#include <gtest/gtest.h>

#include <QJsonObject>

using namespace kelvor;
using kelvor::exchange::fillSheetFromPcy;
using kelvor::exchange::reducedPcyDistance;
using kelvor::traverse::TraverseSheet;
using kelvor::test::Cell;
using kelvor::test::expectCells;
using kelvor::test::t1;
using kelvor::test::t5;

namespace {

// An observation line: station, target, angle, distance, -, slope, vertical,
// instrument, target height and five more fields.
QString obs(const QString& st, const QString& tg, const QString& angle, const QString& slope = QString(),
            const QString& vertical = QStringLiteral("0"))
{
    return QStringList{st, tg, angle, QString(), QStringLiteral("0"), slope, vertical, QStringLiteral("1.5"),
                       QStringLiteral("1.6"), QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0"),
                       QStringLiteral("0"), QStringLiteral("0")}
        .join(QLatin1Char(','));
}

// A PCY file of n pairs S1..Sn: each station's back sight, then its forward
// sight with angle "<i>.1000" and slope distance "<i>00".
QStringList pairs(int n)
{
    QStringList lines{QStringLiteral("[STATION]"), QStringLiteral("S1,11,0,0,0,0,0,0"), QString(),
                      QStringLiteral("[OBSER]")};
    for (int i = 1; i <= n; ++i) {
        const QString st = QStringLiteral("S%1").arg(i);
        lines << obs(st, i == 1 ? QStringLiteral("A") : QStringLiteral("S%1").arg(i - 1), QStringLiteral("0"))
              << obs(st, i == n ? QStringLiteral("D") : QStringLiteral("S%1").arg(i + 1),
                     QStringLiteral("%1.1000").arg(i), QString::number(i * 100));
    }
    return lines;
}

const std::vector<Cell> FiveStations = {
    t1(3, "B"), t1(0, "A"), t1(10, "C"), t1(7, "D"),
    // rows 0 to 3: names and angles
    t5(0, "B"), t5(1, "123.4500"), t5(9, "P1"), t5(10, "200.1230"),
    t5(18, "P2"), t5(19, "150.0000"), t5(27, "P3"), t5(28, "190.1010"),
    // C moved to the last station; its forward data stay in row 4
    t5(108, "C"), t5(109, "95.3020"), t5(36, ""), t5(37, ""),
    t5(39, "0.0510"), t5(40, "1.480"), t5(41, "2.000"),
    // distances reduced from the forward slope distances
    t5(2, "125.281"), t5(11, "125.281"), t5(20, ".400"), t5(29, "199.970"), t5(38, ""),
    // fore sights from the second line of each pair
    t5(3, "2.3000"), t5(4, "1.450"), t5(5, "1.600"),
    t5(12, "-2.3000"), t5(13, "1.520"), t5(14, "1.620"),
    // back sights from the first line of the next pair
    t5(6, "-2.2950"), t5(7, "1.520"), t5(8, "1.610"),
    t5(15, "2.2955"), t5(16, "1.530"), t5(17, "1.630"),
    t5(24, "0.0010"), t5(25, "1.540"), t5(26, "1.650"),
    t5(33, "-0.5959"), t5(34, "1.480"), t5(35, "1.670"),
};

} // namespace

TEST(PcyDistance, ReducesSlopeDistancesWithThreeDecimals)
{
    struct Case {
        const char* slope;
        const char* vertical;
        const char* expected;
        bool message;
    };
    const Case cases[] = {
        {"125.4", "2.3000", "125.281", false},
        {"125.4", "-2.3000", "125.281", false},
        {"0.4", "0", ".400", false},
        {"1250", "-0.3000", "1249.952", false},
        {"100", "abc", "100.000", true}, // no angle: unreduced, after the message
        {"100", "", "100.000", true},
        {"abc", "0", "", false},
    };
    for (const Case& c : cases) {
        test::TempHome home;
        EXPECT_EQ(reducedPcyDistance(QString::fromUtf8(c.slope), QString::fromUtf8(c.vertical), &home.ui),
                  QString::fromUtf8(c.expected))
            << c.slope << " at " << c.vertical;
        const QJsonArray messages = home.ui.messages();
        ASSERT_EQ(messages.size(), c.message ? 1 : 0) << c.slope << " at " << c.vertical;
        if (c.message) {
            EXPECT_EQ(messages[0].toObject()[QStringLiteral("text")].toString(), QStringLiteral("错误！！"));
            EXPECT_EQ(messages[0].toObject()[QStringLiteral("title")].toString(), QStringLiteral("错误"));
        }
    }
}

TEST(PcyLoad, FiveStationsFillTheSheet)
{
    TraverseSheet sheet;
    sheet.setText5(36, QStringLiteral("old"));
    sheet.setText5(45, QStringLiteral("kept"));
    const int loaded = fillSheetFromPcy(sheet, readTextLines(test::fixture("fixtures/loaders/pcy_five.txt")), nullptr);
    EXPECT_EQ(loaded, 5);
    expectCells(sheet, FiveStations);
    EXPECT_EQ(sheet.text5(45), QStringLiteral("kept")); // rows after the traverse stay
    for (int r = 0; r < TraverseSheet::Rows; ++r)
        EXPECT_TRUE(sheet.rowVisible(r)) << r;

    // A second load gives the same sheet.
    fillSheetFromPcy(sheet, readTextLines(test::fixture("fixtures/loaders/pcy_five.txt")), nullptr);
    expectCells(sheet, FiveStations);
}

TEST(PcyLoad, FilesWithoutObservationsChangeNothing)
{
    const QStringList files[] = {
        {QStringLiteral("[STATION]"), QStringLiteral("B,11,1,2,3,0,0,0")},
        {QStringLiteral("[STATION]"), QString(), QStringLiteral("[OBSER]")},
        {QStringLiteral("[OBSER]"), QString(), QStringLiteral("   ")},
        {QStringLiteral("[obser]"), obs(QStringLiteral("B"), QStringLiteral("A"), QStringLiteral("0")),
         obs(QStringLiteral("B"), QStringLiteral("P1"), QStringLiteral("1.0000"))},
        {},
    };
    for (const QStringList& lines : files) {
        TraverseSheet sheet;
        sheet.setText1(3, QStringLiteral("K1"));
        sheet.setText5(0, QStringLiteral("B"));
        sheet.setText5(108, QStringLiteral("C"));
        EXPECT_EQ(fillSheetFromPcy(sheet, lines, nullptr), 0) << lines.join(QLatin1Char('|')).toStdString();
        EXPECT_EQ(sheet.text1(3), QStringLiteral("K1"));
        EXPECT_EQ(sheet.text5(0), QStringLiteral("B"));
        EXPECT_EQ(sheet.text5(108), QStringLiteral("C"));
        EXPECT_EQ(sheet.text1(10), QString());
    }
}

TEST(PcyLoad, IncompleteLastPairIsIgnored)
{
    // Three pairs and one line of a fourth, with blank lines in between and
    // at the end: the last whole pair is the last station.
    QStringList lines = pairs(3);
    lines.insert(6, QStringLiteral("  "));
    lines << QString() << obs(QStringLiteral("S4"), QStringLiteral("S3"), QStringLiteral("0")) << QString();
    TraverseSheet sheet;
    EXPECT_EQ(fillSheetFromPcy(sheet, lines, nullptr), 3);
    expectCells(sheet, {t5(0, "S1"), t5(9, "S2"), t5(18, ""), t5(19, ""), t5(108, "S3"), t5(109, "3.1000"),
                        t1(10, "S3"), t1(7, "D"), t5(27, ""), t5(2, "100.000"), t5(11, "200.000"),
                        t5(20, "300.000"), t5(29, "")});
}

TEST(PcyLoad, DistancesFollowTheLinesThatCarryThem)
{
    // The first back sight also carries a distance: it takes row 0 and the
    // forward distances move down one row.
    QStringList lines = pairs(3);
    lines[4] = obs(QStringLiteral("S1"), QStringLiteral("A"), QStringLiteral("0"), QStringLiteral("50"));
    TraverseSheet sheet;
    fillSheetFromPcy(sheet, lines, nullptr);
    expectCells(sheet, {t5(2, "50.000"), t5(11, "100.000"), t5(20, "200.000"), t5(29, "300.000")});

    // A slope distance that is no number keeps its cell but uses its row.
    lines = pairs(3);
    lines[5] = obs(QStringLiteral("S1"), QStringLiteral("S2"), QStringLiteral("1.1000"), QStringLiteral("x"));
    sheet.setText5(2, QStringLiteral("old"));
    fillSheetFromPcy(sheet, lines, nullptr);
    expectCells(sheet, {t5(2, "old"), t5(11, "200.000"), t5(20, "300.000")});

    // Short lines: missing fields leave their cells, no distance is taken.
    lines = pairs(2);
    lines[5] = QStringLiteral("S1,S2");
    TraverseSheet shortSheet;
    shortSheet.setText5(1, QStringLiteral("typed"));
    shortSheet.setText5(3, QStringLiteral("v"));
    fillSheetFromPcy(shortSheet, lines, nullptr);
    expectCells(shortSheet, {t5(0, "S1"), t5(1, "typed"), t5(3, "v"), t5(2, "200.000"), t1(7, "D")});
}

TEST(PcyLoad, StationsBeyondTheSheetAreDropped)
{
    TraverseSheet sheet;
    fillSheetFromPcy(sheet, pairs(13), nullptr);
    expectCells(sheet, {t5(99, "S12"), t5(100, "12.1000"), t5(108, "S13"), t5(109, "13.1000"),
                        t5(101, "1200.000"), t1(10, "S13"), t1(7, "D")});

    TraverseSheet longer;
    fillSheetFromPcy(longer, pairs(15), nullptr);
    expectCells(longer, {t5(99, "S12"), t5(108, "S13"), t5(109, "13.1000"), t1(10, "S15"), t1(7, "D"),
                         t5(105, "0"), t5(101, "1200.000")});
}

TEST(PcyLoad, ShorterTraverseLeavesTheLongerOnesLaterRows)
{
    TraverseSheet sheet;
    fillSheetFromPcy(sheet, pairs(6), nullptr);
    fillSheetFromPcy(sheet, pairs(3), nullptr);
    expectCells(sheet, {t5(108, "S3"), t5(18, ""), t5(27, "S4"), t5(36, "S5"), t5(45, ""), t1(10, "S3")});
}

TEST(PcyCommand, LoadsTheChosenFileThenLooksUpKnownPoints)
{
    test::TempHome home;
    TraverseSheet sheet;
    home.context.setSheet(&sheet);
    home.settings.WriteSetting(QStringLiteral("已知点成果="), QStringLiteral("d:\\yzdcg.txt"));
    test::writeGbk(QStringLiteral("d:\\yzdcg.txt"),
                   QStringLiteral("A 1000.000 2000.000 10.0\r\nB 1100.000 2100.000 50.000\r\n"
                                  "C 1500.000 2600.000 55.500\r\nD 1600.000 2700.000 0\r\n"));
    home.answerOpen({test::fixture("fixtures/loaders/pcy_five.txt")});

    CommandRegistry registry;
    exchange::registerLoaderCommands(registry);
    ASSERT_TRUE(registry.run(QStringLiteral("APPLOADPCY"), home.context));

    const QJsonObject dialog = home.ui.events()[0].toObject();
    EXPECT_EQ(dialog[QStringLiteral("title")].toString(), QStringLiteral("选择南方控制精灵数据"));
    EXPECT_EQ(dialog[QStringLiteral("filter")].toString(), QStringLiteral("文本文件(*.txt)|*.txt"));
    expectCells(sheet, FiveStations);
    expectCells(sheet, {t1(1, "1000.000"), t1(2, "2000.000"), t1(4, "1100.000"), t1(5, "2100.000"),
                        t1(6, "50.000"), t1(8, "1600.000"), t1(9, "2700.000"), t1(11, "1500.000"),
                        t1(12, "2600.000"), t1(13, "55.500")});
    EXPECT_TRUE(home.ui.messages().isEmpty());
}

TEST(PcyCommand, FileWithoutObservationsStillRunsTheLookup)
{
    test::TempHome home;
    TraverseSheet sheet;
    home.context.setSheet(&sheet);
    sheet.setText1(3, QStringLiteral("b"));
    sheet.setText5(0, QStringLiteral("B"));
    home.settings.WriteSetting(QStringLiteral("已知点成果="), QStringLiteral("d:\\yzdcg.txt"));
    test::writeGbk(QStringLiteral("d:\\yzdcg.txt"), QStringLiteral("B 1 2 3\r\n"));
    test::writeGbk(QStringLiteral("d:\\empty.txt"), QStringLiteral("[STATION]\r\nB,11,0,0,0,0,0,0\r\n"));
    home.answerOpen({home.path(QStringLiteral("d:\\empty.txt"))});
    exchange::callcassdx_Click(home.context);
    expectCells(sheet, {t1(3, "b"), t1(4, "1"), t1(5, "2"), t1(6, "3"), t5(0, "B")});
}

TEST(PcyCommand, CancelOrMissingFile)
{
    // Cancel: nothing runs, not even the lookup (whose file is missing).
    test::TempHome home;
    TraverseSheet sheet;
    home.context.setSheet(&sheet);
    home.settings.WriteSetting(QStringLiteral("已知点成果="), QStringLiteral("d:\\none.txt"));
    home.answerOpen({});
    exchange::APPLOADPCY_Click(home.context);
    EXPECT_TRUE(home.ui.messages().isEmpty());

    // A file that cannot be read changes no cell; the lookup reports its
    // own missing file.
    sheet.setText5(0, QStringLiteral("B"));
    home.answerOpen({home.path(QStringLiteral("d:\\gone.txt"))});
    exchange::APPLOADPCY_Click(home.context);
    EXPECT_EQ(sheet.text5(0), QStringLiteral("B"));
    EXPECT_EQ(home.ui.busySpells(), 1) << "the read under a busy cursor";
    EXPECT_FALSE(home.ui.busy()) << "off again when the read fails";
    ASSERT_EQ(home.ui.messages().size(), 1);
    EXPECT_TRUE(home.ui.messages()[0].toObject()[QStringLiteral("text")].toString().startsWith(
        QStringLiteral("不能找到 ")));
}
