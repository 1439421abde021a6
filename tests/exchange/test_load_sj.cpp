#include "exchange/load_sj.h"
#include "exchange/loaders_commands.h"

#include "platform/commands.h"
#include "platform/text_file.h"
#include "sheet_cells.h"
#include "test_support.h"
#include "traverse/sheet.h"

#include <gtest/gtest.h>

#include <QJsonObject>

using namespace kelvor;
using kelvor::exchange::fillSheetFromRecord;
using kelvor::traverse::TraverseSheet;
using kelvor::test::Cell;
using kelvor::test::expectCells;
using kelvor::test::t1;
using kelvor::test::t5;

namespace {

// A station record: name, angle on +7, back sight after "U 1" on +10, fore
// sight in characters 2 to 9 of +11.
QStringList station(const QString& name, const QString& angle, const QString& back = QStringLiteral("A"),
                    const QString& fore = QStringLiteral("D"))
{
    return {QStringLiteral("01CE ZHEN:  %1").arg(name, 7), QStringLiteral("-"), QStringLiteral("-"),
            QStringLiteral("-"), QStringLiteral("-"), QStringLiteral("-"), QStringLiteral("-"),
            QStringLiteral("HZ ANGLE  %1").arg(angle, 10), QStringLiteral("-"), QStringLiteral("-"),
            QStringLiteral("HOU SHI U 1%1").arg(back, -10), QStringLiteral("2%1").arg(fore, -8)};
}

QStringList distance(const QString& sixth)
{
    return {QStringLiteral("QI YA 1013"), QStringLiteral("-"), QStringLiteral("-"), QStringLiteral("-"),
            QStringLiteral("-"), QStringLiteral("-"), sixth};
}

const std::vector<Cell> FourStations = {
    t1(3, "B"), t1(0, "A"), t1(7, "D"), t1(10, "C"),
    t5(0, "B"), t5(9, "P1"), t5(18, "P2"), t5(27, ""), t5(28, ""), t5(108, "C"), t5(109, "95.3020"),
    // odd-up even-down: 123.45305 down, 123.45315 up, four decimals kept
    t5(1, "123.4530"), t5(10, "123.4532"), t5(19, "123.4531"),
    t5(2, "125.281"), t5(11, "199.970"), t5(20, "149.994"), t5(29, ""),
    t5(3, "2.3000"), t5(4, "1.450"), t5(5, "1.600"),
    t5(6, "-2.3000"), t5(7, "1.520"), t5(8, "1.610"), // -2.29595 carries 60"
    t5(12, "-1.0000"), t5(13, "1.520"), t5(14, "1.620"),
    t5(15, "1.0000"), t5(16, "1.530"), t5(17, "1.630"),
    t5(21, "0.3000"), t5(22, "1.530"), t5(23, "1.640"),
    t5(24, "-0.2959"), t5(25, ""), t5(26, "1.650"), // no "K=": no instrument height
};

} // namespace

TEST(RecordLoad, FourStationsFillTheEmptiedSheet)
{
    TraverseSheet sheet;
    for (int i = 0; i < TraverseSheet::StationCells; ++i)
        sheet.setText5(i, QStringLiteral("old"));
    sheet.setText1(1, QStringLiteral("old"));
    sheet.setText1(13, QStringLiteral("old"));
    sheet.hideRowsFromFirstBlankName(0);
    sheet.setText5(36, QString());
    sheet.hideRowsFromFirstBlankName(1); // rows 4 to 11 hidden
    sheet.setGrade(QStringLiteral("一级图根"));

    exchange::emptySheetForRecord(sheet);
    EXPECT_EQ(fillSheetFromRecord(sheet, readTextLines(test::fixture("fixtures/loaders/traverse.SJ"))), 4);
    expectCells(sheet, FourStations);
    expectCells(sheet, {t1(1, ""), t1(13, ""), t5(30, ""), t5(36, ""), t5(107, "")});
    for (int r = 0; r < TraverseSheet::Rows; ++r)
        EXPECT_TRUE(sheet.rowVisible(r)) << r;
    EXPECT_EQ(sheet.grade(), QStringLiteral("一级图根"));
}

TEST(RecordLoad, CutRecordsAndMissingLabelsLeaveCellsEmpty)
{
    struct Case {
        const char* what;
        QStringList lines;
        std::vector<Cell> cells;
    };
    const Case cases[] = {
        {"distance line without D=",
         station(QStringLiteral("B"), QStringLiteral("1.0000")) + station(QStringLiteral("C"), QStringLiteral("2.0000"))
             + distance(QStringLiteral("SD 125.400  HD 125.281")),
         {t5(2, "")}},
        {"D= outside the last 15 characters",
         station(QStringLiteral("B"), QStringLiteral("1.0000")) + station(QStringLiteral("C"), QStringLiteral("2.0000"))
             + distance(QStringLiteral("D=125.400 XXXXXXXXXXXXXXX")),
         {t5(2, "")}},
        {"distance record cut before +6",
         station(QStringLiteral("B"), QStringLiteral("1.0000")) + distance(QStringLiteral("D=1")).mid(0, 5),
         {t5(2, "")}},
        {"last station cut before its angle and fore sight",
         station(QStringLiteral("B"), QStringLiteral("1.0000"), QStringLiteral("A"), QStringLiteral("P9"))
             + station(QStringLiteral("C"), QStringLiteral("2.0000")).mid(0, 3),
         {t5(0, "B"), t5(1, "1.0000"), t5(9, ""), t5(10, ""), t5(108, "C"), t5(109, ""), t1(10, "C"), t1(7, "")}},
        {"first station cut before its back sight",
         station(QStringLiteral("B"), QStringLiteral("1.0000")).mid(0, 9),
         {t5(108, "B"), t5(109, "1.0000"), t1(3, "B"), t1(0, ""), t1(7, "")}},
        {"instrument record cut before its vertical angle",
         station(QStringLiteral("B"), QStringLiteral("1.0000"))
             + QStringList{QStringLiteral("YI QI K= 1.450   a= 1.600"), QStringLiteral("V ANGLE      2.30000")},
         {t5(3, ""), t5(4, "1.450"), t5(5, "1.600")}},
        {"angle that rounds to nothing",
         station(QStringLiteral("B"), QStringLiteral("1.00003")) + station(QStringLiteral("C"), QStringLiteral("0.00000")),
         {t5(1, ""), t5(109, "")}},
        {"no station record", distance(QStringLiteral("D=  100.000")),
         {t1(3, ""), t1(7, ""), t1(10, ""), t5(108, ""), t5(2, "100.000")}},
    };
    for (const Case& c : cases) {
        TraverseSheet sheet;
        exchange::emptySheetForRecord(sheet);
        fillSheetFromRecord(sheet, c.lines);
        SCOPED_TRACE(c.what);
        expectCells(sheet, c.cells);
    }
}

TEST(RecordLoad, StationsBeyondTheSheetAreDropped)
{
    auto stations = [](int n) {
        QStringList lines;
        for (int i = 1; i <= n; ++i) {
            lines += station(QStringLiteral("S%1").arg(i), QStringLiteral("%1.0000").arg(i), QStringLiteral("A"),
                             QStringLiteral("F%1").arg(i));
            lines += distance(QStringLiteral("D=%1").arg(i));
        }
        for (int j = 1; j <= 2 * n; ++j)
            lines << QStringLiteral("YI QI K= %1      a= 1.6").arg(j) << QStringLiteral("-") << QStringLiteral("-")
                  << QStringLiteral("V %1").arg(QStringLiteral("0.1000"), 10);
        return lines;
    };
    TraverseSheet sheet;
    exchange::emptySheetForRecord(sheet);
    EXPECT_EQ(fillSheetFromRecord(sheet, stations(13)), 13);
    expectCells(sheet, {t5(99, "S12"), t5(100, "12.0000"), t5(108, "S13"), t5(109, "13.0000"), t1(10, "S13"),
                        t1(7, "F13"), t5(101, "12"), t5(103, "23"), t5(106, "24")});

    TraverseSheet longer;
    exchange::emptySheetForRecord(longer);
    EXPECT_EQ(fillSheetFromRecord(longer, stations(15)), 15);
    expectCells(longer, {t5(108, "S13"), t5(109, "13.0000"), t1(10, "S13"), t1(7, "F15"), t5(101, "12"),
                         t5(103, "23"), t5(106, "24")});
}

TEST(RecordCommand, EmptiesLoadsAndLooksUp)
{
    test::TempHome home;
    TraverseSheet sheet;
    home.context.setSheet(&sheet);
    home.settings.WriteSetting(QStringLiteral("已知点成果="), QStringLiteral("d:\\yzdcg.txt"));
    test::writeGbk(QStringLiteral("d:\\yzdcg.txt"), QStringLiteral("A 10 20 30\r\nB 1 2 3\r\nC 4 5 6\r\n"));
    sheet.setText1(8, QStringLiteral("old"));

    CommandRegistry registry;
    exchange::registerLoaderCommands(registry);
    home.answerOpen({test::fixture("fixtures/loaders/traverse.SJ")});
    ASSERT_TRUE(registry.run(QStringLiteral("outcordnumber"), home.context));
    const QJsonObject dialog = home.ui.events()[0].toObject();
    EXPECT_EQ(dialog[QStringLiteral("title")].toString(), QStringLiteral("选择导线数据记录文件"));
    EXPECT_EQ(dialog[QStringLiteral("filter")].toString(), QStringLiteral("导线数据记录文件(*.SJ)|*.SJ"));
    expectCells(sheet, FourStations);
    expectCells(sheet, {t1(1, "10"), t1(2, "20"), t1(4, "1"), t1(6, "3"), t1(13, "6"), t1(8, "")});
    EXPECT_TRUE(home.ui.messages().isEmpty());

    // Cancel: the sheet stays.
    home.answerOpen({});
    ASSERT_TRUE(registry.run(QStringLiteral("outcordnumber"), home.context));
    expectCells(sheet, FourStations);

    // A file that cannot be read leaves the emptied sheet; the lookup runs.
    home.answerOpen({home.path(QStringLiteral("d:\\gone.SJ"))});
    exchange::outcordnumber_Click(home.context);
    expectCells(sheet, {t5(0, ""), t5(108, ""), t1(3, ""), t1(1, "")});
    EXPECT_TRUE(home.ui.messages().isEmpty());
}
