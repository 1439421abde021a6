#include "platform/errors.h"
#include "platform/sheet/sheet_host.h"
#include "platform/sheet/workbook.h"
#include "test_support.h"

#include <gtest/gtest.h>

using namespace kelvor;
using namespace kelvor::sheet;

TEST(SheetModel, ColumnLettersAndAddresses)
{
    const struct {
        int column;
        const char* letters;
    } columns[] = {{1, "A"}, {26, "Z"}, {27, "AA"}, {52, "AZ"}, {53, "BA"}, {256, "IV"}, {0, ""}, {257, ""}};
    for (const auto& c : columns)
        EXPECT_EQ(columnLetters(c.column), QString::fromLatin1(c.letters)) << c.column;

    const struct {
        const char* address;
        bool ok;
        int row;
        int column;
    } addresses[] = {
        {"B7", true, 7, 2},         {"$B$7", true, 7, 2},    {"b7", true, 7, 2},      {"IV65536", true, 65536, 256},
        {"AA10", true, 10, 27},     {"IW1", false, 0, 0},    {"A65537", false, 0, 0}, {"A0", false, 0, 0},
        {"7B", false, 0, 0},        {"B", false, 0, 0},      {"", false, 0, 0},       {"B7 ", false, 0, 0},
    };
    for (const auto& a : addresses) {
        int row = 0;
        int column = 0;
        EXPECT_EQ(parseCellAddress(QString::fromLatin1(a.address), &row, &column), a.ok) << a.address;
        if (a.ok) {
            EXPECT_EQ(row, a.row) << a.address;
            EXPECT_EQ(column, a.column) << a.address;
        }
    }
}

TEST(SheetModel, CellsHoldNumbersOrTextsAndReadAsOrdinaryText)
{
    const struct {
        const char* name;
        QVariant given;
        QVariant held;
        const char* text;
    } cases[] = {
        {"whole number", 11.0, 11.0, "11"},
        {"decimal", 12.5, 12.5, "12.5"},
        {"integer type", 5, 5.0, "5"},
        {"tiny", 0.00001, 0.00001, "1E-05"},
        {"text of digits", QStringLiteral("011"), QStringLiteral("011"), "011"},
        {"number-like text stays text", QStringLiteral("356.8"), QStringLiteral("356.8"), "356.8"},
        {"text with blanks", QStringLiteral(" 5 "), QStringLiteral(" 5 "), " 5 "},
        {"empty text empties", QString(), QVariant(), ""},
        {"nothing", QVariant(), QVariant(), ""},
    };
    for (const auto& c : cases) {
        Sheet s;
        s.setCell(3, 4, c.given);
        EXPECT_EQ(s.cell(3, 4), c.held) << c.name;
        EXPECT_EQ(s.cell(3, 4).typeId(), c.held.typeId()) << c.name;
        EXPECT_EQ(cellText(s.cell(3, 4)), QString::fromUtf8(c.text)) << c.name;
        EXPECT_EQ(s.isEmpty(), !c.held.isValid()) << c.name;
    }
}

TEST(SheetHost, WithoutWorkbookOrOutsideBoundsEveryCallFails)
{
    SheetHost host;
    const struct {
        const char* name;
        std::function<void()> call;
    } calls[] = {
        {"read", [&] { host.cell(1, 1); }},
        {"write", [&] { host.setCell(1, 1, 5); }},
        {"active row", [&] { host.activeRow(); }},
        {"active column", [&] { host.activeColumn(); }},
        {"move", [&] { host.setActiveCell(2, 2); }},
    };
    for (const auto& c : calls)
        EXPECT_EQ(test::errorOf(c.call), err::ObjectDefined) << "no workbook: " << c.name;

    host.newWorkbook();
    for (const auto& c : calls)
        EXPECT_EQ(test::errorOf(c.call), 0) << "workbook: " << c.name;

    const struct {
        int row;
        int column;
        bool inside;
    } places[] = {{0, 1, false}, {1, 0, false}, {65537, 1, false}, {1, 257, false},
                  {-5, 3, false}, {65536, 256, true}, {1, 1, true}};
    for (const auto& p : places) {
        const int expected = p.inside ? 0 : err::ObjectDefined;
        EXPECT_EQ(test::errorOf([&] { host.setCell(p.row, p.column, QStringLiteral("x")); }), expected)
            << p.row << "," << p.column;
        EXPECT_EQ(test::errorOf([&] { host.cell(p.row, p.column); }), expected) << p.row << "," << p.column;
        EXPECT_EQ(test::errorOf([&] { host.setActiveCell(p.row, p.column); }), expected)
            << p.row << "," << p.column;
    }
    EXPECT_EQ(host.cell(65536, 256), QVariant(QStringLiteral("x")));
    host.closeWorkbook();
    EXPECT_EQ(test::errorOf([&] { host.cell(1, 1); }), err::ObjectDefined);
}
