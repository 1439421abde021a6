#pragma once
// The plotted-point checks: a check line built from picked map points, its
// adjacent pairs measured, and two lines compared vertex by vertex. Reports
// go to watch.txt; vertices pass through the scratch dumps d:\bak1.txt and
// d:\bak2.txt (two lines a vertex: drawing y, then drawing x).
#include "cad/model/entity.h"
#include "cad/model/geometry.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace kelvor {
class Context;
}

namespace kelvor::relief {

// Where the checks put their files: the two dumps (Windows paths) and the
// report (WINDIR\watch.txt, native).
QString vertexDumpPath(int line); // line 1 or 2
QString reportPath();

// Writes the vertices as a dump (each number in its print form followed by
// one blank). Failures reach the caller.
void writeVertexDump(const QString& path, const std::vector<cad::Pt2>& vertices);
// The vertices of a dump; none when it is missing. A last line without its
// partner is no vertex.
std::vector<cad::Pt2> readVertexDump(const QString& path);

// The distance of two drawing points in centimetres (drawing units are metres).
double distanceCm(const cad::Pt2& a, const cad::Pt2& b);

// One report row: a blank, the number padded to 4, four blanks, then the
// northings and eastings of both points with three decimals padded to 17,
// 16, 16 and 13, and the distance in centimetres with one decimal, "*" when
// it is 7.5 or more (decided before rounding).
QString pointPairRow(int number, const cad::Pt2& first, const cad::Pt2& second);

// The adjacent pairs check: a row for every complete pair (an unpaired last
// vertex gives none) and a locator at the first point of every pair 10 cm
// or more apart.
struct PairReport {
    QStringList rows;
    std::vector<cad::Pt2> locators;
};
PairReport pointPairReport(const std::vector<cad::Pt2>& vertices);

// The labels of a line with an odd vertex count: the vertices of a pair both
// carry the pair's first vertex number (colour 1, then 7); an unpaired last
// vertex its own (colour 1).
struct VertexLabel {
    QString text;
    int colour = 7;
};
std::vector<VertexLabel> vertexLabels(int count);

// The two-line comparison: the header, then one row per vertex of line 1
// against line 2's vertex of the same index, or its last one past its end.
QString lineComparisonHeader();
QStringList lineComparisonRows(const std::vector<cad::Pt2>& line1, const std::vector<cad::Pt2>& line2);

// The (x, y) of every vertex of a polyline, asked one by one as
// Coordinate(i) for i up to the last index of its Coordinates list (an index
// past the last vertex gives nothing). Failures of Coordinates reach the caller.
std::vector<cad::Pt2> polylineVertices(const cad::Entity& line);
// Deletes both dumps, whether or not they exist.
void removeVertexDumps();

// 多义线加点 (lwpolyinsertpoint): after each vertex of the picked check line
// the map point the person picks. Esc or Enter at a point puts the line back
// as it was and ends.
void lwpolyinsertpoint_Click(Context& ctx);
// 相临两点 (fangfano2): the adjacent pairs of a check line into watch.txt.
void fangfano2_Click(Context& ctx);
// 两线比较 (dadianshujijianche): two picked lines compared into watch.txt.
void dadianshujijianche_Click(Context& ctx);

} // namespace kelvor::relief
