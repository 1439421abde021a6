#pragma once
// Numbers of the 1:500 map sheets. A sheet is one cell of a fixed grid in
// survey metres (drawing x = easting, y = northing): 250 m east by 200 m
// north, corners on multiples of 250 and 200 from the origin, twenty to a
// kilometre square (4 columns by 5 rows).
//
// Two namings of the same cell:
// - standard: the south-west corner in kilometres, "0.00", northing first
//   ("2551.20-534.50"); always "." as decimal point; corners taken from a
//   frame or a box are formatted as they are, never snapped to the grid;
// - company: whole kilometres of the square and the cell's place in it, rows
//   from the north, west to east ("2551-534-15"). A corner off the grid has
//   no place; its number then ends in "00".
#include <QString>
#include <optional>

namespace kelvor::sheets {

// A sheet's south-west corner in metres.
struct SheetCorner {
    double e = 0; // easting, drawing x
    double n = 0; // northing, drawing y
    friend bool operator==(const SheetCorner&, const SheetCorner&) = default;
};

constexpr double kSheetWidth = 250;  // east step of every sheet
constexpr double kSheetHeight = 200; // north step of a 50 x 40 cm sheet

// The grid cell holding the point; a point on a west or south edge belongs
// to that sheet, one on an east or north edge to the next.
SheetCorner StandardSheetGrid(double x, double y);

// The corner i columns east and j rows north (i, j in -1..1), northStep 200
// for 50 x 40 cm sheets and 250 for 50 x 50 cm ones; not snapped.
SheetCorner neighbourCorner(const SheetCorner& c, int i, int j, double northStep = kSheetHeight);

// "2551.20-534.50" for the corner (534500, 2551200).
QString StandardSheetNumber(const SheetCorner& c);

// The sheet drawing in a folder: the folder, exactly one "\", the number and
// the system's drawing extension. An empty folder gives "\<number>.dxf".
QString StandardSheetFile(const QString& folder, const QString& number);

// The corner a sheet file's name gives: its last 18 characters must be
// "dddd.dd-ddd.dd" and the drawing extension (any case); nullopt otherwise.
std::optional<SheetCorner> sheetCornerOfFile(const QString& path);

// The cell's place (1..20) in its kilometre square for a south-west corner
// in metres, or nullopt off the grid. Kilometres are cut toward zero and the
// fractions rounded to two decimals, so a corner within 5 m of a grid corner
// counts as that corner, a fraction that rounds to 1.00 does not, and
// negative coordinates have no place. Texts are read by their leading number.
std::optional<int> findtfh(double coordx, double coordy);
std::optional<int> findtfh(const QString& coordx, const QString& coordy);

// "2551-534-15" for the corner (534500, 2551200). The corner is first
// rounded to 10 m, so the place and the kilometres describe one square;
// a corner off the grid gets the place "00".
QString CompanySheetNumber(double easting, double northing);
inline QString CompanySheetNumber(const SheetCorner& c)
{
    return CompanySheetNumber(c.e, c.n);
}

} // namespace kelvor::sheets
