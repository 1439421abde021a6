#pragma once
#include "cad/model/geometry.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace kelvor {
class Context;
}

// Boundary points (界址点) from a polyline's vertices: their names, side
// texts, the BoundaryPointFile lines in watch.txt and the entries of the
// window's two lists. Survey X is the drawing's y, survey Y its x.
namespace kelvor::landuse {

// The settings of the boundary-point window as typed, read afresh by every
// run. Number boxes are read by their leading number (0 when none).
struct BoundaryPointSettings {
    QString digits = QStringLiteral("4");   // Text1(0): 1..4, anything else 4
    QString prefix;                         // Text1(1): trimmed
    QString height = QStringLiteral("4.0"); // Text1(2)
    QString start = QStringLiteral("1");    // Text1(3)
    bool alternate = false;                 // Check1(0) 隔号界址点: numbers step by 2
    bool insertSymbol = true;               // Check1(1)
    bool writeSides = true;                 // Check1(2): the file's fourth field
    bool eraseTexts = true;                 // Check1(3): every TEXT goes before the pick
    bool shiftLeft = false;                 // Option1 注记左移量 (else Option2, right)
    QString shift = QStringLiteral("2");    // Text2(0)
    QString limitAbove = QStringLiteral("0"); // Text3(0): List1 takes sides above it; 0 none
    QString limitBelow = QStringLiteral("0"); // Text3(1): List2 takes sides up to it; 0 none
};

// The digits of the running number: 1 to 4, any other value 4.
int nameDigits(const QString& box);
// prefix (trimmed) and the number rounded half away from zero, padded with
// zeros to the digits and never cut; a negative number keeps its sign.
QString pointName(const QString& prefix, double number, int digits);
// "***" for no side (the first point) or a side of exactly 0, else "#####0.00".
QString sideText(std::optional<double> side);

struct BoundaryPoint {
    QString name;
    double x = 0, y = 0; // drawing x (easting) and y (northing)
    QString side;        // sideText
};

// The points of the vertices in their stored order, numbered from start by
// the step; a closed line's closing side is neither a point nor a side.
std::vector<BoundaryPoint> boundaryPoints(const std::vector<cad::Pt2>& vertices, const BoundaryPointSettings& s);

// name,X,Y[,side] with X and Y as ".0000" (0.5 is ".5000").
QString boundaryPointLine(const BoundaryPoint& p, bool withSide);
// name,X,Y, S:side — the entry of either list.
QString listEntry(const BoundaryPoint& p);
// Which list a point goes to: List1 its side text read as a number ("***"
// as 0) above a non-zero limit, List2 up to a non-zero limit.
bool inList1(const BoundaryPoint& p, const BoundaryPointSettings& s);
bool inList2(const BoundaryPoint& p, const BoundaryPointSettings& s);

struct PickedLists {
    QStringList list1, list2;
};

// 拾取多义线: erases the drawing's TEXTs when asked, lets the person pick,
// colours every picked entity 3, writes the first polyline's points (in pick
// order) to watch.txt and "d:\bak1.txt", labels them and shows watch.txt.
// A step the host refuses is passed over; nothing is reported.
PickedLists Command1_Click(Context& ctx, const BoundaryPointSettings& s);

// A double-click on a list entry: zooms the host to the 40 x 40 square
// around the entry's X (field 2) and Y (field 3); does nothing when there
// is no host or the entry holds no such numbers.
void zoomToEntry(Context& ctx, const QString& entry);

} // namespace kelvor::landuse
