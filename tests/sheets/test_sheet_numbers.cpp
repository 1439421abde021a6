// Standard and company sheet numbers, sheet files and the corner read back
// from a sheet file's name.
#include "sheets/sheet_numbers.h"
#include "test_support.h"

#include <gtest/gtest.h>

using namespace kelvor;
using namespace kelvor::sheets;

TEST(SheetNumbers, SheetOfAPoint)
{
    const struct {
        const char* what;
        double x, y;
        SheetCorner corner;
        const char* number;
    } cases[] = {
        {"inside", 534620.3, 2551399.9, {534500, 2551200}, "2551.20-534.50"},
        {"north-east corner belongs to the next sheet", 534750, 2551400, {534750, 2551400}, "2551.40-534.75"},
        {"west and south edges belong to the sheet", 534500, 2551200, {534500, 2551200}, "2551.20-534.50"},
        {"just below a grid line", 534749.999, 2551399.999, {534500, 2551200}, "2551.20-534.50"},
        {"negative rounds toward minus infinity", -0.1, -0.1, {-250, -200}, "-0.20--0.25"},
    };
    for (const auto& c : cases) {
        const SheetCorner got = StandardSheetGrid(c.x, c.y);
        EXPECT_EQ(got.e, c.corner.e) << c.what;
        EXPECT_EQ(got.n, c.corner.n) << c.what;
        EXPECT_EQ(StandardSheetNumber(got), test::u(c.number)) << c.what;
    }
}

TEST(SheetNumbers, CornersAreFormattedNotSnapped)
{
    const struct {
        const char* what;
        SheetCorner corner;
        const char* number;
    } cases[] = {
        {"within rounding of the grid", {534500.004, 2551200.006}, "2551.20-534.50"},
        {"off the grid keeps its own value", {534520, 2551200}, "2551.20-534.52"},
        {"off-grid frame corner", {534510, 2551000}, "2551.00-534.51"},
        {"half a centimetre rounds away from zero", {534505, 2551195}, "2551.20-534.51"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(StandardSheetNumber(c.corner), test::u(c.number)) << c.what;
}

TEST(SheetNumbers, EightNeighboursForBothNorthSteps)
{
    const SheetCorner c{534500, 2551200};
    const struct {
        int i, j;
        const char* step200;
        const char* step250;
    } cases[] = {
        {-1, -1, "2551.00-534.25", "2550.95-534.25"}, {0, -1, "2551.00-534.50", "2550.95-534.50"},
        {1, -1, "2551.00-534.75", "2550.95-534.75"},  {-1, 0, "2551.20-534.25", "2551.20-534.25"},
        {1, 0, "2551.20-534.75", "2551.20-534.75"},   {-1, 1, "2551.40-534.25", "2551.45-534.25"},
        {0, 1, "2551.40-534.50", "2551.45-534.50"},   {1, 1, "2551.40-534.75", "2551.45-534.75"},
    };
    for (const auto& n : cases) {
        EXPECT_EQ(StandardSheetNumber(neighbourCorner(c, n.i, n.j, 200)), test::u(n.step200)) << n.i << "," << n.j;
        EXPECT_EQ(StandardSheetNumber(neighbourCorner(c, n.i, n.j, 250)), test::u(n.step250)) << n.i << "," << n.j;
    }
}

TEST(SheetNumbers, SheetFileAndItsCornerReadBack)
{
    const struct {
        const char* folder;
        const char* path;
    } files[] = {
        {"D:\\SHEETS", "D:\\SHEETS\\2551.20-534.50.dxf"},
        {"D:\\", "D:\\2551.20-534.50.dxf"},
        {"", "\\2551.20-534.50.dxf"},
    };
    for (const auto& f : files)
        EXPECT_EQ(StandardSheetFile(test::u(f.folder), QStringLiteral("2551.20-534.50")), test::u(f.path)) << f.folder;

    const struct {
        const char* what;
        const char* path;
        std::optional<SheetCorner> corner;
    } cases[] = {
        {"sheet file in a folder", "D:\\分幅\\2551.20-534.50.dxf", SheetCorner{534500, 2551200}},
        {"bare name, extension upper-cased", "2551.40-534.75.DXF", SheetCorner{534750, 2551400}},
        {"another extension", "D:\\a\\2551.20-534.50.dwg", std::nullopt},
        {"not a sheet number", "D:\\a\\notes.dxf", std::nullopt},
        {"one digit short", "D:\\a\\2551.2-534.50.dxf", std::nullopt},
        {"letters in the number", "D:\\a\\2551.2x-534.50.dxf", std::nullopt},
    };
    for (const auto& c : cases) {
        const auto got = sheetCornerOfFile(test::u(c.path));
        ASSERT_EQ(got.has_value(), c.corner.has_value()) << c.what;
        if (got) {
            EXPECT_DOUBLE_EQ(got->e, c.corner->e) << c.what;
            EXPECT_DOUBLE_EQ(got->n, c.corner->n) << c.what;
        }
    }
}

TEST(SheetNumbers, PlaceInTheKilometreSquare)
{
    const struct {
        const char* what;
        double e, n;
        std::optional<int> place;
    } cases[] = {
        {"15", 534500, 2551200, 15},
        {"north-west cell", 534000, 2551800, 1},
        {"south-east cell", 534750, 2551000, 20},
        {"north-east cell", 534750, 2551800, 4},
        {"south-west cell", 534000, 2551000, 17},
        {"within 5 m of a grid corner", 534504, 2551196, 15},
        {"off the grid", 534100, 2551200, std::nullopt},
        {"fraction rounding to 1.00", 533997, 2551000, std::nullopt},
        {"negative easting", -534500, 2551200, std::nullopt},
        {"negative northing", 534500, -2551200, std::nullopt},
        {"6 m off is off the grid", 534506, 2551200, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(findtfh(c.e, c.n), c.place) << c.what;
    EXPECT_EQ(findtfh(QStringLiteral("534500"), QStringLiteral("2551200")), std::optional<int>(15));
    EXPECT_EQ(findtfh(QStringLiteral(" 534500m"), QStringLiteral("2551200.0")), std::optional<int>(15));
}

TEST(SheetNumbers, CompanyNumbers)
{
    const struct {
        const char* what;
        double e, n;
        const char* number;
    } cases[] = {
        {"the sheet 2551.20-534.50", 534500, 2551200, "2551-534-15"},
        {"rounded to 10 m first", 533997, 2551000, "2551-534-17"},
        {"kilometre corner", 534000, 2551000, "2551-534-17"},
        {"north-west neighbour", 533750, 2551200, "2551-533-16"},
        {"north neighbour", 534000, 2551200, "2551-534-13"},
        {"north-east neighbour", 534250, 2551200, "2551-534-14"},
        {"west neighbour", 533750, 2551000, "2551-533-20"},
        {"east neighbour", 534250, 2551000, "2551-534-18"},
        {"south-west neighbour", 533750, 2550800, "2550-533-04"},
        {"south neighbour", 534000, 2550800, "2550-534-01"},
        {"south-east neighbour", 534250, 2550800, "2550-534-02"},
        {"off the grid", 534100, 2551200, "2551-534-00"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CompanySheetNumber(c.e, c.n), test::u(c.number)) << c.what;
}
