#pragma once
#include "cad/model/geometry.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace kelvor {
class Context;
}

// The boundary-point coordinate table (绘界址点坐标表): pages of 40 rows
// side by side, 105 apart, each on a copy of the person's template
// drawing; and the script (jzd.scr) that plots those pages one by one.
// All sizes are drawing units, whatever the drawing's scale.
namespace kelvor::landuse {

// One usable line of a BoundaryPointFile: name, X (northing), Y (easting).
struct TablePoint {
    QString name;
    double x = 0, y = 0;
};

// A line gives a point when it has at least three comma fields and fields
// 2 and 3 are numbers; a fourth field (a side text) is read past. Other
// lines take no row.
std::optional<TablePoint> tablePointOf(const QString& line);
// Every point of the file in order (error 53 when it is missing).
std::vector<TablePoint> readBoundaryPointFile(const QString& path);

struct TableText {
    cad::Point at;
    QString text;
};
struct TableCell {
    cad::Point corner; // top-left
    double width = 0;  // height 3
};
// What the table puts into the drawing, in drawing order per page and row:
// the template at each page origin, the cells, the texts (height 1.2).
struct BoundaryTable {
    std::vector<cad::Point> pages; // template insertion points
    std::vector<TableCell> cells;
    std::vector<TableText> texts;
};

constexpr double kPageStep = 105;
constexpr int kRowsPerPage = 40;

// The table of the points from origin on, page numbers counted on from
// firstPage (" 5"; a negative number has its sign only). Coordinates show
// "0.000", sides come from the shown values, across page breaks; the last
// row of a page has no side cell; everything lies at z = 0.
BoundaryTable boundaryTable(const std::vector<TablePoint>& points, const cad::Point& origin, double firstPage);

// 绘界址点坐标表.
void jzdbgxxxxx_Click(Context& ctx);

// The printer every page of jzd.scr goes to.
extern const QString kPlotDevice;

// The pages from the top-left corners of the first (p1) and last (pn)
// page: floor(d / 105) + 1, as the figures give it (huge or not a number
// for corners no one plots between), and the copies asked for.
struct PlotPages {
    double pages = 0;
    int copies = 0;
    // More than MaxCountFromFigures pages, by themselves or with the copies,
    // or no page count at all. Nothing is written then.
    bool tooMany() const;
};
PlotPages plotPages(const cad::Pt2& p1, const cad::Pt2& pn, int copies);

// jzd.scr for plotPages: each window 105 x 148.5 from p1's y; copies
// collated; lastFirst plots the last page first. Every element is one line
// (an extra CR is part of it). No lines when tooMany().
QStringList plotScriptLines(const cad::Pt2& p1, const cad::Pt2& pn, int copies, bool lastFirst);
// The command-line note instead of a tooMany() script: corners, pages, copies.
QString tooManyPagesText(const cad::Pt2& p1, const cad::Pt2& pn, int copies);
// "jzd.scr" in the program's folder.
QString jzdScrPath();

// 生成界址点打印文件.
void jzdtoprints_Click(Context& ctx);

} // namespace kelvor::landuse
