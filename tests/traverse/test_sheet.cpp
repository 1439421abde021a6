#include "traverse/sheet.h"
#include "traverse/sheet_rules.h"

#include "platform/commands.h"
#include "test_support.h"

#include <QJsonObject>
#include <gtest/gtest.h>

using namespace kelvor;
using namespace kelvor::traverse;

namespace {

void showRows(TraverseSheet& s, int rows)
{
    for (int r = 0; r < TraverseSheet::Rows; ++r)
        s.setRowVisible(r, r < rows);
}

SheetFocus cell(int k, SheetFocus::Caret caret = SheetFocus::SelectAll)
{
    return {SheetFocus::Cell, k, caret};
}

SheetFocus known(int i, SheetFocus::Caret caret = SheetFocus::SelectAll)
{
    return {SheetFocus::Known, i, caret};
}

const SheetFocus stay{};

QJsonObject onlyMessage(const test::TempHome& home)
{
    const QJsonArray m = home.ui.messages();
    EXPECT_EQ(m.size(), 1);
    return m.isEmpty() ? QJsonObject() : m[0].toObject();
}

} // namespace

TEST(SheetModel, RowsInUseAndHidingFromFirstBlankName)
{
    TraverseSheet s;
    EXPECT_EQ(s.firstHiddenCell(), 108);
    EXPECT_EQ(s.rowsInUse(), 12);
    EXPECT_EQ(s.stationCount(), 13);
    EXPECT_EQ(s.redLabel(), 1);

    for (int r : {0, 1, 2, 3, 4, 6})
        s.setText5(9 * r, QStringLiteral("P%1").arg(r));
    s.setText5(45, QStringLiteral("   ")); // blanks only count as empty
    s.hideRowsFromFirstBlankName(1);
    EXPECT_EQ(s.rowsInUse(), 5);
    EXPECT_FALSE(s.cellVisible(45));
    EXPECT_FALSE(s.rowVisible(6)); // named, but after the blank row
    EXPECT_TRUE(s.cellVisible(108));
    EXPECT_TRUE(s.cellVisible(109));
    EXPECT_EQ(s.text5(54), QStringLiteral("P6")); // hidden texts stay

    // A tab is not a blank: the name counts.
    TraverseSheet t;
    t.setText5(9, QStringLiteral("\t"));
    t.hideRowsFromFirstBlankName(1);
    EXPECT_EQ(t.rowsInUse(), 1 + 1);

    s.clearSheet();
    EXPECT_EQ(s.rowsInUse(), 12);
    EXPECT_EQ(s.text5(54), QString());
    EXPECT_EQ(s.redLabel(), -1);
}

TEST(SheetKeys, EnterInLastColumnShowsTheNextRow)
{
    TraverseSheet s;
    showRows(s, 1);
    const SheetKeyEffect e = cellKey(s, 8, vk::Enter, true, true);
    EXPECT_TRUE(s.rowVisible(1));
    EXPECT_FALSE(s.rowVisible(2));
    EXPECT_EQ(s.redLabel(), 2);
    EXPECT_EQ(e.focus, cell(9));

    // Cell 107 has no next row: on to the last station.
    TraverseSheet all;
    all.setRedLabel(5);
    EXPECT_EQ(cellKey(all, 107, vk::Enter, true, true).focus, cell(108));
    EXPECT_EQ(all.redLabel(), 5);
    EXPECT_EQ(cellKey(all, 108, vk::Enter, true, true).focus, cell(109));
    EXPECT_EQ(cellKey(all, 109, vk::Enter, true, true).focus.box, SheetFocus::ClearButton);
}

TEST(SheetKeys, EnterInForeVerticalCopiesLastBackInstrumentHeight)
{
    TraverseSheet s;
    s.setText5(7, QStringLiteral("1.45 "));
    s.setText5(4, QStringLiteral("x"));
    s.setText5(13, QStringLiteral("old"));
    cellKey(s, 12, vk::Enter, true, true);
    EXPECT_EQ(s.text5(13), QStringLiteral("1.45 "));
    // An empty back instrument height is copied too.
    s.setText5(22, QStringLiteral("old"));
    cellKey(s, 21, vk::Enter, true, true);
    EXPECT_EQ(s.text5(22), QString());
    // Row 0 copies nothing.
    cellKey(s, 3, vk::Enter, true, true);
    EXPECT_EQ(s.text5(4), QStringLiteral("x"));
}

TEST(SheetKeys, MovesStayInsideShownCells)
{
    TraverseSheet s;
    showRows(s, 3); // F = 27
    const struct {
        int k;
        int key;
        bool atStart, atEnd;
        SheetFocus to;
    } cases[] = {
        {20, vk::Down, true, true, stay},
        {10, vk::Down, true, true, cell(19, SheetFocus::Start)},
        {26, vk::Right, true, true, stay},
        {25, vk::Right, false, true, cell(26, SheetFocus::End)},
        {25, vk::Right, true, false, stay},
        {10, vk::Left, true, false, cell(9, SheetFocus::Start)},
        {10, vk::Left, false, true, stay},
        {0, vk::Left, true, true, stay},
        {5, vk::Up, true, true, stay},
        {14, vk::Up, false, false, cell(5, SheetFocus::Start)},
        {109, vk::Right, true, true, stay},
        {108, vk::Right, true, true, cell(109, SheetFocus::End)},
        {108, vk::Left, true, true, stay}, // row 11 hidden
        {108, vk::Up, true, true, stay},
        {109, vk::Up, true, true, stay},
        {108, vk::Down, true, true, stay},
        {26, vk::Enter, true, true, cell(27)}, // row 3 shown by the Enter itself
    };
    for (const auto& c : cases) {
        TraverseSheet t;
        showRows(t, 3);
        SCOPED_TRACE(testing::Message() << "cell " << c.k << " key " << c.key);
        const SheetKeyEffect e = cellKey(t, c.k, c.key, c.atStart, c.atEnd);
        EXPECT_EQ(e.focus, c.to);
        EXPECT_EQ(e.taken, c.to.box != SheetFocus::Stay);
    }

    TraverseSheet all;
    EXPECT_EQ(cellKey(all, 107, vk::Right, true, true).focus, stay); // never on to the last station
    EXPECT_EQ(cellKey(all, 99, vk::Down, true, true).focus, stay);
    EXPECT_EQ(cellKey(all, 108, vk::Up, true, true).focus, cell(99, SheetFocus::Start));
    EXPECT_EQ(cellKey(all, 108, vk::Left, true, true).focus, cell(107, SheetFocus::Start));
}

TEST(SheetKeys, EscapeEmptiesTheCell)
{
    TraverseSheet s;
    s.setText5(40, QStringLiteral("12"));
    EXPECT_TRUE(cellKey(s, 40, vk::Escape, false, true).taken);
    EXPECT_EQ(s.text5(40), QString());
}

TEST(SheetKeys, KnownPointBoxes)
{
    const struct {
        int i;
        int key;
        bool shift;
        SheetFocus to;
    } moves[] = {
        {0, vk::Down, false, known(3, SheetFocus::Start)},
        {7, vk::Down, true, known(10, SheetFocus::Start)},
        {1, vk::Down, false, stay},
        {3, vk::Up, false, known(0, SheetFocus::Start)},
        {10, vk::Up, false, known(7, SheetFocus::Start)},
        {0, vk::Left, true, stay},
        {5, vk::Left, true, known(4)},
        {5, vk::Left, false, stay},
        {13, vk::Right, true, stay},
        {12, vk::Right, true, known(13)},
        {4, vk::Enter, false, known(5)},
        {13, vk::Enter, false, cell(0)},
    };
    for (const auto& m : moves) {
        TraverseSheet s;
        SCOPED_TRACE(testing::Message() << "box " << m.i << " key " << m.key);
        EXPECT_EQ(knownBoxKey(s, m.i, m.key, m.shift).focus, m.to);
    }

    // Page Up / Page Down on a name empty that side's coordinates.
    for (int i : {0, 3, 7, 10}) {
        for (int key : {vk::PageUp, vk::PageDown}) {
            TraverseSheet s;
            for (int c = 0; c < 14; ++c)
                s.setText1(c, QString::number(c));
            knownBoxKey(s, i, key, false);
            const bool left = i < 7;
            for (int c = 0; c < 14; ++c) {
                const bool cleared = left ? (c == 1 || c == 2 || (c >= 4 && c <= 6))
                                          : (c == 8 || c == 9 || c >= 11);
                EXPECT_EQ(s.text1(c).isEmpty(), cleared) << "box " << i << " cell " << c;
            }
        }
    }
}

TEST(SheetKeys, ShiftDeleteClearsWithoutQuestionDeleteAloneDoesNot)
{
    TraverseSheet s;
    s.setText1(4, QStringLiteral("1"));
    s.setText5(100, QStringLiteral("2"));
    showRows(s, 2);
    EXPECT_FALSE(knownBoxKey(s, 4, vk::Delete, false).taken);
    EXPECT_EQ(s.text1(4), QStringLiteral("1"));
    EXPECT_TRUE(knownBoxKey(s, 4, vk::Delete, true).taken);
    EXPECT_EQ(s.text1(4), QString());
    EXPECT_EQ(s.text5(100), QString());
    EXPECT_EQ(s.rowsInUse(), 12);
}

TEST(SheetClear, NoKeepsEverythingButTheRedLabel)
{
    for (const char* button : {"No", "Yes"}) {
        test::TempHome home;
        TraverseSheet s;
        home.context.setSheet(&s);
        s.setText1(0, QStringLiteral("A"));
        s.setText5(109, QStringLiteral("90"));
        showRows(s, 3);
        s.setRedLabel(3);
        s.setGrade(QStringLiteral("一级图根"));
        home.answer(QStringLiteral("button"), QString::fromLatin1(button));
        Command9_Click(home.context);

        const QJsonObject m = onlyMessage(home);
        EXPECT_EQ(m[QStringLiteral("text")].toString(), QStringLiteral("确定要清除所有的数据吗？"));
        EXPECT_EQ(m[QStringLiteral("title")].toString(), QStringLiteral("清除"));
        EXPECT_EQ(m[QStringLiteral("icon")].toString(), QStringLiteral("exclamation"));
        EXPECT_EQ(m[QStringLiteral("buttons")].toString(), QStringLiteral("YesNo"));
        const bool yes = QString::fromLatin1(button) == QStringLiteral("Yes");
        EXPECT_EQ(s.text1(0).isEmpty(), yes);
        EXPECT_EQ(s.text5(109).isEmpty(), yes);
        EXPECT_EQ(s.rowsInUse(), yes ? 12 : 3);
        EXPECT_EQ(s.redLabel(), -1);
        EXPECT_EQ(s.grade(), QStringLiteral("一级图根"));
    }
}

TEST(SheetHeaderConstant, AddsToEveryShownTargetHeight)
{
    const struct {
        int h;
        const char* answer; // nullptr: no box
        const char* before;
        const char* after;
        bool error;
    } cases[] = {
        {5, "-0.02", "1.500", "1.480", false},
        {8, "0.01", "", "0.010", false},
        {5, "10", " 1.2 ", "11.200", false},
        {5, "10.5", "1.500", "1.500", false},
        {5, "0.001", "1.23456", "1.23556", false}, // more decimals stay
        {5, "0.1", "abc", "0.100", false},
        {5, "abc", "1.500", "1.500", true},
        {8, "", "1.500", "1.500", true}, // cancelled
        {4, nullptr, "1.500", "1.500", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.h << " " << (c.answer ? c.answer : "-"));
        test::TempHome home;
        TraverseSheet s;
        home.context.setSheet(&s);
        showRows(s, 2);
        for (int r = 0; r < 12; ++r)
            s.setText5(9 * r + c.h, QString::fromUtf8(c.before));
        if (c.answer)
            home.answer(QStringLiteral("input"), QString::fromUtf8(c.answer));
        Text21_DblClick(home.context, c.h);

        for (int r = 0; r < 12; ++r)
            EXPECT_EQ(s.text5(9 * r + c.h), QString::fromUtf8(r < 2 ? c.after : c.before)) << "row " << r;
        const QJsonArray events = home.ui.events();
        if (c.answer) {
            ASSERT_FALSE(events.isEmpty());
            const QJsonObject in = events[0].toObject();
            EXPECT_EQ(in[QStringLiteral("title")].toString(), QStringLiteral("常数"));
        }
        const QJsonArray m = home.ui.messages();
        EXPECT_EQ(m.size(), c.error ? 1 : 0);
        if (c.error) {
            EXPECT_EQ(m[0].toObject()[QStringLiteral("text")].toString(), QStringLiteral("错误的数据输入！！！"));
            EXPECT_EQ(m[0].toObject()[QStringLiteral("title")].toString(), QStringLiteral("提示"));
            EXPECT_EQ(m[0].toObject()[QStringLiteral("icon")].toString(), QStringLiteral("critical"));
        }
    }
}

// Mends a rounding that emptied a cell it could not round, losing the typed angle.
TEST(SheetAngleRounding, RoundsEveryAngleCellAndKeepsWhatItCannotTreat)
{
    test::TempHome home;
    TraverseSheet s;
    home.context.setSheet(&s);
    showRows(s, 1); // hidden rows are treated too
    const struct {
        int cell;
        const char* before;
        const char* after;
    } cases[] = {
        {1, "123.45175", "123.4518"},
        {10, "12.34565", "12.3456"},
        {109, "12.34595", "12.3500"},
        {3, "-12.34575", "-12.3458"},
        {105, "45.3", "45.3"},
        {6, "", ""},
        {15, "90", "90"},
        {24, "12.34561", "12.34561"}, // no result: kept, so no typed angle is lost
        {33, "0.00000", "0.00000"},
        {2, "1.23455", "1.23455"},    // a distance is no angle
    };
    for (const auto& c : cases)
        s.setText5(c.cell, QString::fromUtf8(c.before));
    shuijiqiqwijjobj_Click(home.context);
    for (const auto& c : cases)
        EXPECT_EQ(s.text5(c.cell), QString::fromUtf8(c.after)) << "cell " << c.cell;
    EXPECT_TRUE(home.ui.events().isEmpty());
}

TEST(SheetCommands, RegisteredByItemName)
{
    CommandRegistry registry;
    registerSheetCommands(registry);
    for (const char* item : {"Command9", "Command10", "Command11", "Command34", "newfile", "printsj", "Label39",
                             "tiquyizhidianshuiju", "shuijiqiqwijjobj"})
        EXPECT_TRUE(registry.has(QString::fromLatin1(item))) << item;

    // 新建导线文件 asks as 清空 does.
    test::TempHome home;
    TraverseSheet s;
    home.context.setSheet(&s);
    s.setText1(0, QStringLiteral("A"));
    home.answer(QStringLiteral("button"), QStringLiteral("Yes"));
    EXPECT_TRUE(registry.run(QStringLiteral("newfile"), home.context));
    EXPECT_EQ(s.text1(0), QString());
}
