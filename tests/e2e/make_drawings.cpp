// kelvor-e2e-drawings FOLDER: writes the drawings the end-to-end scenarios
// open, with the program's own DXF writer, into FOLDER (tests/e2e/drawings).
#include "cad/dxf/dxf.h"
#include "cad/model/document.h"
#include "cad/model/entity.h"
#include "drawings_relief.h"
#include "drawings_checks.h"
#include "drawings_landuse_parcels.h"

#include <QCoreApplication>
#include <QDir>
#include <cstdio>
#include <memory>
#include <utility>

using namespace kelvor;

void landuseClasses(const QDir& folder); // drawings_landuse_classes.cpp
void sweepFiles(const QDir& folder);     // drawings_sweep.cpp

namespace {

cad::Entity* lw(cad::Block& b, const std::vector<double>& xy, bool closed = false)
{
    cad::Entity* e = b.AddLightWeightPolyline(xy);
    e->setClosed(closed);
    return e;
}

cad::Entity* old(cad::Block& b, const std::vector<double>& xy, bool closed = false)
{
    std::vector<double> xyz;
    for (size_t i = 0; i + 1 < xy.size(); i += 2)
        xyz.insert(xyz.end(), {xy[i], xy[i + 1], 0});
    cad::Entity* e = b.AddPolyline(xyz);
    e->setClosed(closed);
    return e;
}

cad::Entity* with(cad::Entity* e, const char* layer, const char* linetype = nullptr, int color = cad::ColorByLayer)
{
    if (layer)
        e->setLayer(QString::fromUtf8(layer));
    if (linetype)
        e->setLinetype(QString::fromUtf8(linetype));
    e->setColor(color);
    return e;
}

cad::Entity* coded(cad::Entity* e, const char* code, const char* app = "South")
{
    e->SetXData({cad::xstr(1001, QString::fromUtf8(app)), cad::xstr(1000, QString::fromUtf8(code))});
    return e;
}

void tables(cad::Document& doc, const QStringList& layers, const QStringList& linetypes)
{
    for (const QString& l : linetypes)
        doc.Linetypes().Add(l);
    for (const QString& l : layers)
        doc.Layers().Add(l);
}

// cass_attributes.dxf: features that lost their codes (CASS linetypes,
// contours on dgx), vegetation boundaries, a building outline with its
// code, and a text and a line to mark.
void cassAttributes(const QDir& folder)
{
    cad::Document doc;
    tables(doc, {"dgx", "fence", "ZBTZ", "gxyz", "ASSIST"}, {"10421", "10422", "444", "445", "447", "8352"});
    doc.Layers().Item(QStringLiteral("fence")).Linetype = QStringLiteral("445");
    cad::Block& ms = doc.ModelSpace();
    with(lw(ms, {0, 0, 10, 0}), nullptr, "444");                               // railing without code
    coded(with(lw(ms, {0, 5, 10, 5}), nullptr, "10421"), "204202");            // steep bank, wrong code
    with(ms.AddLine({0, 10, 0}, {10, 10, 0}), "fence");                        // linetype only by its layer
    with(lw(ms, {0, 15, 10, 15}), nullptr, "447")->SetXData({cad::xstr(1001, QStringLiteral("XYZ")),
                                                             cad::xstr(1000, QStringLiteral("abc"))});
    with(ms.AddLine({0, 20, 0}, {10, 20, 0}), "dgx", nullptr, 3);              // index contour
    with(ms.AddLine({0, 25, 0}, {10, 25, 0}), "dgx", nullptr, 2);
    with(ms.AddLine({0, 30, 0}, {10, 30, 0}), "dgx");
    with(ms.AddText(QStringLiteral("45"), {0, 35, 0}, 1), "dgx");
    with(lw(ms, {0, 40, 10, 40}), "dgx", "10421", 3);                           // bank on dgx
    coded(with(lw(ms, {20, 0, 30, 0, 30, 10}), "ZBTZ"), "213201");             // vegetation boundaries
    coded(with(lw(ms, {20, 20, 30, 20, 30, 30}), "gxyz"), " 211100 ");
    coded(with(old(ms, {20, 40, 30, 40}), "ZBTZ"), "213201");                  // heavy: not a boundary
    coded(with(lw(ms, {20, 50, 30, 50}), "ZBTZ"), "141101");
    coded(lw(ms, {12.5, 340, 20, 340, 20, 350}, true), "141101-1");            // building outline
    ms.AddText(QStringLiteral("abc"), {120, 80, 0}, 2);
    ms.AddLine({30, -20, 0}, {40, 10, 0});
    cad::writeDxf(doc, folder.filePath(QStringLiteral("cass_attributes.dxf")));
}

// A drawing as building drawings have it: the linetype record spelled
// "CONTINUOUS" (the outline checks compare it with case), the layers JMD,
// laf and lap, the linetype X5, scale 1:500.
void buildingTables(cad::Document& doc)
{
    doc.Linetypes().Item(QStringLiteral("Continuous")).Name = QStringLiteral("CONTINUOUS");
    tables(doc, {"JMD", "laf", "lap"}, {"X5"});
    doc.SetVariable(QStringLiteral("userr1"), 500.0);
}

cad::Entity* outline(cad::Block& ms, const std::vector<double>& xy, const char* code, bool closed = false)
{
    return coded(with(lw(ms, xy, closed), "JMD", "CONTINUOUS"), code);
}

// cass_buildings.dxf: building outlines for the checks: a short one, two
// closed ones with structure texts, two open ones and a closed one.
void cassBuildings(const QDir& folder)
{
    cad::Document doc;
    buildingTables(doc);
    cad::Block& ms = doc.ModelSpace();
    outline(ms, {0, 0, 5, 0, 5, 5}, "141111");                                // short
    outline(ms, {20, 0, 30, 0, 30, 10, 20, 10}, "141121", true);              // 砖 with its floor: mismatch
    ms.AddText(QStringLiteral("砖3"), {22, 2, 0}, 1);
    outline(ms, {40, 0, 50, 0, 50, 10, 40, 10}, "141121", true);              // 砖 and the floor apart
    ms.AddText(QStringLiteral("砖"), {42, 2, 0}, 1);
    ms.AddText(QStringLiteral("3"), {45, 5, 0}, 1);
    outline(ms, {50, 80, 60, 80, 60, 90}, "141121");                          // open
    outline(ms, {100, 80, 110, 80, 110, 90}, "141111");                       // open
    outline(ms, {200, 80, 210, 80, 210, 90, 200, 90}, "141111", true);        // closed
    cad::writeDxf(doc, folder.filePath(QStringLiteral("cass_buildings.dxf")));
}

// cass_edges.dxf: a closed rectangle to note, and two outlines the notes
// leave alone (linetype by layer, old-style).
void cassEdges(const QDir& folder)
{
    cad::Document doc;
    buildingTables(doc);
    cad::Block& ms = doc.ModelSpace();
    with(lw(ms, {0, 0, 10, 0, 10, 5, 0, 5}, true), "JMD", "CONTINUOUS");
    with(lw(ms, {0, 20, 10, 20, 10, 25}), "JMD");
    with(old(ms, {0, 40, 10, 40, 10, 45}), "JMD", "CONTINUOUS");
    cad::writeDxf(doc, folder.filePath(QStringLiteral("cass_edges.dxf")));
}

// cass_tools.dxf: a coded circle, a building rectangle, a three-point
// feature, a coded polyline to break, a control point with its name at
// the end of its line, a symbol crossed by a line; end and intersection
// snaps on.
void cassTools(const QDir& folder)
{
    cad::Document doc;
    tables(doc, {"JMD", "dmtz"}, {"x5", "10421"});
    doc.SetVariable(QStringLiteral("osmode"), 33);
    for (const char* name : {"GC115", "gc121"}) {
        cad::Block& b = doc.BlocksAdd({0, 0, 0}, QString::fromLatin1(name));
        lw(b, {-1, -1, 1, -1, 1, 1, -1, 1}, true);
    }
    cad::Block& ms = doc.ModelSpace();
    coded(with(ms.AddCircle({100, 200, 10}, 5), "dmtz", "10421", 3), "204201");
    lw(ms, {0, 0, 10, 0, 10, 5, 0, 5}, true);
    coded(with(lw(ms, {300, 0, 310, 0, 313, 4}), "JMD", "x5"), "141111");
    coded(lw(ms, {500, 301.5, 520, 301.5, 520, 320}), "164100");
    const cad::Point k{534123.456, 2551234.567, 45.6};
    ms.InsertBlock(k, QStringLiteral("GC115"), 1, 1, 1, 0);
    ms.AddLine({k.x + 1, k.y + 1, 0}, {k.x + 8, k.y + 6, 0});
    ms.AddText(QStringLiteral("K12"), {k.x + 9, k.y + 7, 0}, 1);
    ms.InsertBlock({1000, 1000, 0}, QStringLiteral("gc121"), 1, 1, 1, 0);
    ms.AddLine({990, 1000, 0}, {1010, 1000, 0});
    cad::writeDxf(doc, folder.filePath(QStringLiteral("cass_tools.dxf")));
}

// outlines.dxf: two 250 x 200 sheet outlines apart (minima (534500,
// 2551200) and (534812, 2551207)), a line inside the first, a circle inside
// the second, a coded road on its own layer and linetype crossing both, and
// a line outside both.
void sheetOutlines(const QDir& folder)
{
    cad::Document outlines;
    outlines.Layers().Add(QStringLiteral("road"));
    outlines.Linetypes().Add(QStringLiteral("DASHED"));
    outlines.RegisteredApplications().Add(QStringLiteral("SOUTH"));
    cad::Block& ms = outlines.ModelSpace();
    for (const auto& [x, y] : {std::pair{534500.0, 2551200.0}, std::pair{534812.0, 2551207.0}})
        lw(ms, {x, y, x + 250, y, x + 250, y + 200, x, y + 200}, true);
    ms.AddLine({534600, 2551300, 0}, {534610, 2551310, 0});
    ms.AddCircle({534900, 2551300, 0}, 5);
    cad::Entity* road = with(lw(ms, {534700, 2551350, 534900, 2551350}), "road", "DASHED");
    road->SetXData({cad::xstr(1001, QStringLiteral("SOUTH")), cad::xstr(1000, QStringLiteral("164300"))});
    ms.AddLine({100, 100, 0}, {200, 200, 0});
    cad::writeDxf(outlines, folder.filePath(QStringLiteral("outlines.dxf")));
}

// trim.dxf: a boundary rectangle (100, 200)-(150, 230) with vertex 0 at its
// lower left, three lines crossing it and a contour of layer dgx at
// elevation 12.5.
void sheetTrim(const QDir& folder)
{
    cad::Document trim;
    trim.Layers().Add(QStringLiteral("dgx"));
    cad::Block& ms = trim.ModelSpace();
    lw(ms, {100, 200, 150, 200, 150, 230, 100, 230}, true);
    ms.AddLine({90, 210, 0}, {160, 210, 0});
    ms.AddLine({120, 190, 0}, {120, 240, 0});
    ms.AddLine({95, 215, 0}, {125, 215, 0});
    with(lw(ms, {0, 0, 1, 1}), "dgx")->setElevation(12.5);
    cad::writeDxf(trim, folder.filePath(QStringLiteral("trim.dxf")));
}

// landuse.dxf: one row of a land-class area table (h = 6 at (10, 100): its
// left border line, code 011 and area 356.8 centred in their cells), and a
// check height 45.23 on gcd1 beside the map's note 45.18.
void landuse(const QDir& folder)
{
    cad::Document doc;
    cad::Block& ms = doc.ModelSpace();
    ms.AddLine({10, 100, 0}, {10, 106, 0});
    auto centred = [&](const QString& text, double x, double y, double height) {
        cad::Entity* t = ms.AddText(text, {x, y, 0}, height);
        t->setAlignment(cad::AlignMiddleCenter);
        t->setTextAlignmentPoint({x, y, 0});
    };
    centred(QStringLiteral("011"), 10 + 6 * 3.333333 / 2, 103, 2.4);
    centred(QStringLiteral("356.8"), 10 + 6 * 3.333333 + 6 * 5.833333 / 2, 103, 2.4);
    doc.Layers().Add(QStringLiteral("gcd1"));
    ms.AddText(QStringLiteral("45.23"), {200, 200, 0}, 2)->setLayer(QStringLiteral("gcd1"));
    ms.AddText(QStringLiteral("45.18"), {205, 196, 0}, 2);
    cad::writeDxf(doc, folder.filePath(QStringLiteral("landuse.dxf")));
}

// drafting.dxf: the style 等线体; squares of 10 m (anticlockwise at the
// origin, clockwise at 20), one with an arc side at 40; texts with blanks;
// two direction lines; a row of eleven squares for the area list; an
// image with a clip rectangle; a CASS-coded polyline; a 3D polyline,
// circles, red texts on GCD and off it, a line on the red layer.
void drafting(const QDir& folder)
{
    cad::Document doc;
    doc.TextStyles().Add(QString::fromUtf8("等线体"));
    cad::Block& ms = doc.ModelSpace();
    lw(ms, {0, 0, 10, 0, 10, 10, 0, 10}, true);
    lw(ms, {20, 0, 20, 10, 30, 10, 30, 0}, true);
    lw(ms, {40, 0, 50, 0, 50, 10, 40, 10}, true)->SetBulge(1, 0.1);
    ms.AddText(QStringLiteral("A B"), {0, 30, 0}, 1);
    ms.AddText(QStringLiteral(" C D "), {10, 30, 0}, 1);
    ms.AddText(QStringLiteral("AB"), {20, 30, 0}, 1);
    lw(ms, {0, 50, 10, 50});
    lw(ms, {0, 60, 0, 70});
    for (int i = 0; i < 11; ++i)
        lw(ms, {100.0 + 20 * i, 100, 110.0 + 20 * i, 100, 110.0 + 20 * i, 110, 100.0 + 20 * i, 110}, true);
    // an image with a clip rectangle, and a CASS-coded polyline
    ms.AddRaster(QStringLiteral("d:\\a.jpg"), {200, 0, 0}, 20, 0);
    lw(ms, {200, 0, 210, 0, 210, 5, 200, 5});
    coded(lw(ms, {300, 0, 310, 0, 313, 4}), "141111");
    // the frame layer and style of the grid notes (made last: the handles above stay)
    doc.Layers().Add(QStringLiteral("tk"));
    doc.TextStyles().Add(QStringLiteral("hz"));
    // for the routines nothing starts: a 3D polyline, two circles, red
    // texts on GCD and off it, a ByLayer line on a red layer
    ms.Add3DPoly({400, 0, 0, 410, 0, 5, 410, 10, 10});
    ms.AddCircle({400, 50, 0}, 2);
    ms.AddCircle({410, 50, 1}, 3);
    doc.Layers().Add(QStringLiteral("GCD"));
    doc.Layers().Add(QStringLiteral("red")).Color = 1;
    cad::Entity* gcdRed = ms.AddText(QStringLiteral("12.5"), {400, 80, 0}, 2);
    gcdRed->setLayer(QStringLiteral("GCD"));
    gcdRed->setColor(1);
    ms.AddText(QStringLiteral("13.5"), {410, 80, 0}, 2)->setLayer(QStringLiteral("GCD"));
    ms.AddText(QStringLiteral("14.5"), {420, 80, 0}, 2)->setColor(1);
    ms.AddLine({400, 90, 0}, {420, 90, 0})->setLayer(QStringLiteral("red"));
    cad::writeDxf(doc, folder.filePath(QStringLiteral("drafting.dxf")));
}


// boundary.dxf: a closed boundary square (300, 500.25)-(310, 510.25), an
// old text beside it, and a boundary line (98, 200)-(102, 200) through a
// point circle at (100, 200) of radius 1.
// boundary_template.dxf: the page template of the coordinate table, its
// frame 105 x 148.5 from the insertion point.
void boundary(const QDir& folder)
{
    cad::Document doc;
    cad::Block& ms = doc.ModelSpace();
    lw(ms, {300, 500.25, 300, 510.25, 310, 510.25, 310, 500.25}, true);
    ms.AddText(QStringLiteral("old"), {320, 505, 0}, 2);
    ms.AddLine({98, 200, 0}, {102, 200, 0});
    ms.AddCircle({100, 200, 0}, 1);
    cad::writeDxf(doc, folder.filePath(QStringLiteral("boundary.dxf")));

    cad::Document templ;
    lw(templ.ModelSpace(), {0, 0, 105, 0, 105, -148.5, 0, -148.5}, true);
    cad::writeDxf(templ, folder.filePath(QStringLiteral("boundary_template.dxf")));
}

} // namespace

// <name>_tall.dxf: the drawing with one text 1e308 high, three heights
// wide, whose extent overflows; it starts right of everything else, so
// that no window over the drawing meets it.
void withTallText(const QDir& folder, const QString& name)
{
    const std::unique_ptr<cad::Document> doc = cad::readDxf(folder.filePath(name + QStringLiteral(".dxf")));
    const cad::Box ext = doc->ModelSpace().extents();
    doc->ModelSpace().AddText(QStringLiteral("高程点"), {ext.maxX + 100, ext.minY, 0}, 1e308);
    cad::writeDxf(*doc, folder.filePath(name + QStringLiteral("_tall.dxf")));
}

// hostile.dxf: cass_tools.dxf with a three-point feature whose fourth
// corner lies beyond the numbers, and a polyline and texts at ±1e308.
void hostile(const QDir& folder)
{
    const std::unique_ptr<cad::Document> doc = cad::readDxf(folder.filePath(QStringLiteral("cass_tools.dxf")));
    cad::Block& ms = doc->ModelSpace();
    with(lw(ms, {1e308, 0, -1e308, 0, 0, 5}), "JMD", "x5");
    lw(ms, {-1e308, -1e308, 1e308, 1e308});
    ms.AddText(QStringLiteral("1"), {1e308, 1e308, 0}, 1);
    cad::writeDxf(*doc, folder.filePath(QStringLiteral("hostile.dxf")));
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: kelvor-e2e-drawings FOLDER\n");
        return 2;
    }
    const QDir folder(args.at(1));

    // points.dxf: the point symbol block the 展点 tool inserts, and one
    // line in model space.
    cad::Document points;
    cad::Block& symbol = points.BlocksAdd({0, 0, 0}, QStringLiteral("点位符号"));
    symbol.AddCircle({0, 0, 0}, 0.5);
    symbol.AddPoint({0, 0, 0});
    points.ModelSpace().AddLine({496500, 2532100, 0}, {496600, 2532200, 0});
    cad::writeDxf(points, folder.filePath(QStringLiteral("points.dxf")));

    cassAttributes(folder);
    cassBuildings(folder);
    cassEdges(folder);
    cassTools(folder);
    sheetOutlines(folder);
    sheetTrim(folder);
    // gps.dxf: the traverse symbol "8m" and point-name texts, one of them
    // twice in two letter cases and one with a leading blank.
    cad::Document gps;
    gps.BlocksAdd({0, 0, 0}, QStringLiteral("8m")).AddCircle({0, 0, 0}, 1);
    gps.ModelSpace().AddText(QStringLiteral("g001"), {10, 10, 0}, 2);
    gps.ModelSpace().AddText(QStringLiteral("G001"), {20, 10, 0}, 2);
    gps.ModelSpace().AddText(QStringLiteral(" G002"), {30, 10, 0}, 2);
    cad::writeDxf(gps, folder.filePath(QStringLiteral("gps.dxf")));
    landuse(folder);
    drafting(folder);
    boundary(folder);
    reliefDrawing(folder);
    qcDrawing(folder);
    landuseParcels(folder);
    landuseClasses(folder);
    for (const char* name : {"relief", "parcels", "cass_tools", "outlines"})
        withTallText(folder, QString::fromLatin1(name));
    hostile(folder);
    sweepFiles(folder);
    return 0;
}
