#include "landuse/area_commands.h"
#include "landuse/area_exchange.h"
#include "cad/kit/routines.h"
#include "platform/paths.h"
#include "platform/text_file.h"
#include "sheet_office.h"
#include "test_support.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonObject>
#include <gtest/gtest.h>

using namespace kelvor;
using namespace kelvor::landuse;

namespace {

QString notFound(const QString& code)
{
    return QStringLiteral("地类：") + code + QStringLiteral("在Excel中没有！");
}

QString watchPath()
{
    return paths::scratch(QStringLiteral("watch.txt"));
}

} // namespace

TEST(AreaLayouts, ColumnLetters)
{
    const struct {
        const char* text;
        int column;
    } cases[] = {{"A", 1},  {"Z", 26},   {"AA", 27}, {"AB", 28}, {"AZ", 52}, {"BA", 53}, {"BB", 54},
                 {"aa", 27}, {"bA", 53}, {" AA ", 27}, {"a", 1},  {"ABC", 0}, {"", 0},    {"1", 0},
                 {"A1", 0},  {"地", 0}};
    for (const auto& c : cases)
        EXPECT_EQ(ColumnFromLetters(QString::fromUtf8(c.text)), c.column) << '"' << c.text << '"';
}

TEST(AreaLayouts, PositionsFromTheBoxes)
{
    const AreaLayout column = ExcelColumnLayout({});
    ASSERT_EQ(column.size(), 36);
    EXPECT_EQ(column.front().codeRow, 5);
    EXPECT_EQ(column.back().codeRow, 40);
    EXPECT_EQ(column.back().areaRow, 40);
    EXPECT_EQ(column.front().codeColumn, 5);
    EXPECT_EQ(column.front().areaColumn, 7);

    const AreaLayout row = ExcelRowLayout({});
    ASSERT_EQ(row.size(), 25);
    EXPECT_EQ(row.front().codeColumn, 3);
    EXPECT_EQ(row.back().codeColumn, 27);
    EXPECT_EQ(row.front().codeRow, 5);
    EXPECT_EQ(row.front().areaRow, 15);

    const struct {
        const char* name;
        RowLayoutBoxes boxes;
        int count;
        int last;
    } rows[] = {
        {"end Z", {"5", "3", "Z", "15"}, 24, 26},
        {"end AB", {"5", "3", "AB", "15"}, 26, 28},
        {"end BB counts both letters", {"5", "3", "BB", "15"}, 52, 54},
        {"end ABC", {"5", "3", "ABC", "15"}, 0, 0},
        {"end empty", {"5", "3", "", "15"}, 0, 0},
        {"start right of end", {"5", "30", "AA", "15"}, 0, 0},
        {"start by leading number", {"5", "26x", "AA", "15"}, 2, 27},
    };
    for (const auto& c : rows) {
        const AreaLayout l = ExcelRowLayout(c.boxes);
        EXPECT_EQ(l.size(), c.count) << c.name;
        if (c.count) {
            EXPECT_EQ(l.back().codeColumn, c.last) << c.name;
        }
    }
    EXPECT_EQ(ExcelColumnLayout({"5", "5", "-1", "7"}).size(), 0);

    // Boxes read as the numbers they hold; rows and columns off the sheet
    // are no positions, so they never use up the sheet's rows.
    const struct {
        const char* name;
        ColumnLayoutBoxes boxes;
        int count;
        int first, last;
    } columns[] = {
        {"text counts as 0, row 0 is off the sheet", {"x", "5", "2", "7"}, 2, 1, 2},
        {"first row far above the sheet", {"-70000", "5", "70010", "7"}, 10, 1, 10},
        {"total beyond any int", {"5", "5", "99999999999", "7"}, 65532, 5, 65536},
        {"first row below the sheet", {"65537", "5", "10", "7"}, 0, 0, 0},
        {"everything huge", {"1e300", "1e300", "1e300", "1e300"}, 0, 0, 0},
        {"first row hugely negative", {"-1e300", "5", "1e301", "7"}, 65536, 1, 65536},
    };
    for (const auto& c : columns) {
        const AreaLayout l = ExcelColumnLayout(c.boxes);
        ASSERT_EQ(l.size(), c.count) << c.name;
        if (c.count) {
            EXPECT_EQ(l.front().codeRow, c.first) << c.name;
            EXPECT_EQ(l.back().codeRow, c.last) << c.name;
        }
    }
    const AreaLayout far = ExcelRowLayout({"5", "-1e12", "Z", "15"});
    ASSERT_EQ(far.size(), 26);
    EXPECT_EQ(far.front().codeColumn, 1);
    EXPECT_EQ(ExcelRowLayout({"5", "257", "ZZ", "15"}).size(), 0) << "columns beyond the sheet";
    EXPECT_EQ(ExcelRowLayout({"5", "250", "ZZ", "15"}).size(), 7) << "up to column 256";
    EXPECT_EQ(ExcelColumnLayout({"5", "300", "2", "7"}).front().codeColumn, 0) << "a column off the sheet addresses no cell";
}

TEST(AreaLayouts, PlacingMatchesTrimmedCodesExactly)
{
    const struct {
        const char* name;
        QVariant held;   // code cell E6
        const char* code;
        bool matches;
    } cases[] = {
        {"number 5, code with blanks", 5.0, " 5 ", true},
        {"number 5, code 5.0", 5.0, "5.0", false},
        {"number 5, code 05", 5.0, "05", false},
        {"number 11, code 011", 11.0, "011", false},
        {"text 011", QStringLiteral("011"), "011", true},
        {"text with blanks", QStringLiteral("  011 "), "011", true},
        {"case differs", QStringLiteral("a1"), "A1", false},
        {"decimal number", 12.5, "12.5", true},
    };
    for (const auto& c : cases) {
        test::TempHome home;
        test::SheetOffice office(home.context);
        sheet::SheetHost& host = office.run({{"E6", c.held}, {"E40", QStringLiteral("other")}});
        const QString code = QString::fromUtf8(c.code);
        EXPECT_EQ(PlaceLandClassArea(home.context, host, ExcelColumnLayout({}), code, QStringLiteral("356.8")),
                  c.matches ? 1 : 0)
            << c.name;
        EXPECT_EQ(office.cell(6, 7), c.matches ? QVariant(QStringLiteral("356.8")) : QVariant()) << c.name;
        EXPECT_EQ(test::messageTexts(home), c.matches ? QStringList() : QStringList{notFound(code)}) << c.name;
    }
}

// The layout starts far above the sheet: rows 1 to 10 are still visited, and
// the code in E5 takes its area.
TEST(AreaLayouts, PlacingFromAFirstRowAboveTheSheet)
{
    test::TempHome home;
    test::SheetOffice office(home.context);
    sheet::SheetHost& host = office.run({{"E5", QStringLiteral("011")}});
    EXPECT_EQ(PlaceLandClassArea(home.context, host, ExcelColumnLayout({"-70000", "5", "70010", "7"}), QStringLiteral("011"),
                                 QStringLiteral("9")),
              1);
    EXPECT_EQ(office.cell(5, 7), QVariant(QStringLiteral("9")));
    EXPECT_TRUE(test::messageTexts(home).isEmpty());
}

TEST(AreaLayouts, PlacingEveryMatchOutsideAndWithoutASheet)
{
    test::TempHome home;
    test::SheetOffice office(home.context);
    sheet::SheetHost& host = office.run({{"E5", QStringLiteral("011")},
                                         {"E9", QStringLiteral("011")},
                                         {"E41", QStringLiteral("012")},
                                         {"AB5", QStringLiteral("013")}});
    // Found twice: both cells, no box.
    EXPECT_EQ(PlaceLandClassArea(home.context, host, ExcelColumnLayout({}), QStringLiteral("011"), QStringLiteral("7")), 2);
    EXPECT_EQ(office.cell(5, 7), QVariant(QStringLiteral("7")));
    EXPECT_EQ(office.cell(9, 7), QVariant(QStringLiteral("7")));
    EXPECT_TRUE(test::messageTexts(home).isEmpty());
    // Below the column layout and right of the row layout: not found.
    PlaceLandClassArea(home.context, host, ExcelColumnLayout({}), QStringLiteral("012"), QStringLiteral("1"));
    PlaceLandClassArea(home.context, host, ExcelRowLayout({}), QStringLiteral("013"), QStringLiteral("1"));
    EXPECT_EQ(test::messageTexts(home), (QStringList{notFound(QStringLiteral("012")), notFound(QStringLiteral("013"))}));
    EXPECT_FALSE(office.cell(41, 7).isValid());
    EXPECT_FALSE(office.cell(15, 28).isValid());
    // The empty code fills every empty code cell of the layout.
    EXPECT_EQ(PlaceLandClassArea(home.context, host, ExcelColumnLayout({}), QString(), QStringLiteral("0.5")), 34);

    // A host without a workbook refuses every cell: passed over, then not found.
    host.closeWorkbook();
    ClearAreaCells(host, ExcelColumnLayout({}));
    EXPECT_EQ(PlaceLandClassArea(home.context, host, ExcelColumnLayout({}), QStringLiteral("011"), QStringLiteral("1")), 0);
    EXPECT_EQ(test::messageTexts(home).last(), notFound(QStringLiteral("011")));
    EXPECT_TRUE(LandClassAreaLines(host, ExcelColumnLayout({})).isEmpty());
}

TEST(AreaList, WritingListsNonZeroAreasInPositionOrder)
{
    const struct {
        const char* name;
        bool rowLayout;
        std::initializer_list<std::pair<const char*, QVariant>> cells;
        QStringList lines;
    } cases[] = {
        {"column layout",
         false,
         {{"E5", QStringLiteral("011")}, {"E6", QStringLiteral("012")}, {"E7", QStringLiteral("013")},
          {"G5", 356.8}, {"G6", 0.0}, {"G7", 20.5}},
         {"011,356.8", "013,20.5"}},
        {"area texts by their leading number",
         false,
         {{"E5", 11.0}, {"G5", QStringLiteral("12.5m")}, {"E6", QStringLiteral("b")}, {"G6", QStringLiteral("m12")},
          {"G8", -3.0}, {"G41", 9.0}},
         {"11,12.5m", ",-3"}},
        {"row layout",
         true,
         {{"C5", QStringLiteral("011")}, {"C15", 1.5}, {"AA5", QStringLiteral("099")}, {"AA15", QStringLiteral("2")},
          {"AB15", 4.0}},
         {"011,1.5", "099,2"}},
    };
    for (const auto& c : cases) {
        test::TempHome home;
        test::SheetOffice office(home.context);
        office.run(c.cells);
        WriteAreaList(home.context, c.rowLayout ? ExcelRowLayout({}) : ExcelColumnLayout({}), c.rowLayout);
        EXPECT_EQ(test::readBytes(watchPath()), test::gbkLines(c.lines)) << c.name;
        const QJsonObject box = test::lastMessage(home);
        EXPECT_EQ(box.value(QStringLiteral("text")).toString(), QStringLiteral("输出成功！")) << c.name;
        EXPECT_EQ(box.value(QStringLiteral("title")).toString(), QStringLiteral("输出")) << c.name;
        EXPECT_EQ(box.value(QStringLiteral("icon")).toString(), QStringLiteral("exclamation")) << c.name;
        const bool shown = home.ui.events().contains(QJsonObject{{QStringLiteral("kind"), QStringLiteral("text_window")},
                                                                 {QStringLiteral("path"), watchPath()}});
        EXPECT_EQ(shown, c.rowLayout) << c.name << ": only the row layout's list is shown";
    }
}

TEST(AreaList, ReadingPlacesEachLineAfterClearing)
{
    test::TempHome home;
    test::SheetOffice office(home.context);
    office.run({{"C5", QStringLiteral("011")}, {"D5", QStringLiteral("013")}, {"E5", QStringLiteral("014")},
                {"E15", QStringLiteral("old")}});
    test::writeGbkLines(watchPath(), {"011,356.8", "013 , 20.5 ,extra", "no comma", "", "099,1"});
    ReadAreaList(home.context, ExcelRowLayout({}));
    EXPECT_EQ(office.cell(15, 3), QVariant(QStringLiteral("356.8")));
    EXPECT_EQ(office.cell(15, 4), QVariant(QStringLiteral("20.5")));
    EXPECT_FALSE(office.cell(15, 5).isValid()) << "cleared: not in the list";
    EXPECT_EQ(test::messageTexts(home), QStringList{notFound(QStringLiteral("099"))}) << "short lines are skipped";
}

TEST(AreaList, FailuresLeaveTheSheet)
{
    {
        test::TempHome home;
        test::SheetOffice office(home.context);
        office.run({{"E5", QStringLiteral("011")}, {"G5", QStringLiteral("kept")}});
        QFile::remove(watchPath());
        ReadAreaList(home.context, ExcelColumnLayout({}));
        const QJsonObject box = test::lastMessage(home);
        EXPECT_EQ(box.value(QStringLiteral("text")).toString(),
                  QStringLiteral("无法找到:") + paths::shown(paths::windir() + QStringLiteral("\\watch.txt"))
                      + QStringLiteral("文件！"));
        EXPECT_EQ(box.value(QStringLiteral("icon")).toString(), QStringLiteral("critical"));
        EXPECT_EQ(box.value(QStringLiteral("title")).toString(), applicationTitle());
        EXPECT_EQ(office.cell(5, 7), QVariant(QStringLiteral("kept")));
    }
    {
        test::TempHome home;
        test::SheetOffice office(home.context);
        office.run({{"E5", QStringLiteral("011")}, {"G5", 1.0}});
        QFile::remove(watchPath());
        QDir().mkpath(watchPath()); // a folder where the file should go
        WriteAreaList(home.context, ExcelColumnLayout({}), false);
        const QJsonObject box = test::lastMessage(home);
        EXPECT_EQ(box.value(QStringLiteral("text")).toString(), QStringLiteral("输出失败！"));
        EXPECT_EQ(box.value(QStringLiteral("title")).toString(), QStringLiteral("输出"));
        EXPECT_EQ(box.value(QStringLiteral("icon")).toString(), QStringLiteral("critical"));
    }
    {
        // No spreadsheet at all: "err " and nothing else.
        test::TempHome home;
        test::SheetOffice office(home.context);
        office.office.sheets.available = false;
        test::writeGbkLines(watchPath(), {"keep"});
        WriteAreaList(home.context, ExcelColumnLayout({}), false);
        ReadAreaList(home.context, ExcelColumnLayout({}));
        EXPECT_EQ(test::messageTexts(home), (QStringList{QStringLiteral("err "), QStringLiteral("err ")}));
        EXPECT_EQ(test::readBytes(watchPath()), test::gbkLines({"keep"}));
    }
    {
        // A host started by the command has no workbook: nothing to list.
        test::TempHome home;
        test::SheetOffice office(home.context);
        WriteAreaList(home.context, ExcelColumnLayout({}), false);
        EXPECT_NE(office.host(), nullptr);
        EXPECT_TRUE(office.host()->visible());
        EXPECT_EQ(test::readBytes(watchPath()), QByteArray());
    }
}

TEST(SheetConnection, AttachStartWithoutWorkbookOrErr)
{
    test::TempHome home;
    test::SheetOffice office(home.context);
    // None runs: one starts, without a workbook, and is made visible.
    cad::ExcelApplication* started = cad::ConnectToExcel(home.context, home.context.office());
    ASSERT_NE(started, nullptr);
    EXPECT_EQ(started, office.host());
    EXPECT_FALSE(started->hasActiveSheet());
    EXPECT_TRUE(office.host()->visible());
    // One runs: the same is attached.
    office.host()->setVisible(false);
    EXPECT_EQ(cad::ConnectToExcel(home.context, home.context.office()), started);
    EXPECT_TRUE(office.host()->visible());
    EXPECT_TRUE(test::messageTexts(home).isEmpty());
    // Neither: "err ", no icon, the program's title.
    office.office.sheets.end();
    office.office.sheets.available = false;
    EXPECT_EQ(cad::ConnectToExcel(home.context, home.context.office()), nullptr);
    const QJsonObject box = test::lastMessage(home);
    EXPECT_EQ(box.value(QStringLiteral("text")).toString(), QStringLiteral("err "));
    EXPECT_EQ(box.value(QStringLiteral("icon")).toString(), QStringLiteral("none"));
    EXPECT_EQ(box.value(QStringLiteral("title")).toString(), applicationTitle());
    // No office hosts wired in at all: the same.
    test::TempHome bare;
    EXPECT_EQ(cad::ConnectToExcel(bare.context, bare.context.office()), nullptr);
    EXPECT_EQ(test::lastMessage(bare).value(QStringLiteral("text")).toString(), QStringLiteral("err "));
}
