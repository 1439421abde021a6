// kelvor-e2e-drawings FOLDER: writes the drawings the end-to-end scenarios
// open, with the program's own DXF writer, into FOLDER (tests/e2e/drawings).
#include "cad/dxf/dxf.h"
#include "cad/model/document.h"

#include <QCoreApplication>
#include <QDir>
#include <utility>
#include <cstdio>

using namespace kelvor;

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

    // outlines.dxf: two 250 x 200 sheet outlines apart (minima (534500,
    // 2551200) and (534812, 2551207)), a line inside the first, a circle
    // inside the second, a coded road on its own layer and linetype crossing
    // both, and a line outside both.
    cad::Document outlines;
    outlines.Layers().Add(QStringLiteral("road"));
    outlines.Linetypes().Add(QStringLiteral("DASHED"));
    outlines.RegisteredApplications().Add(QStringLiteral("SOUTH"));
    for (const auto& [x, y] : {std::pair{534500.0, 2551200.0}, std::pair{534812.0, 2551207.0}})
        outlines.ModelSpace().AddLightWeightPolyline({x, y, x + 250, y, x + 250, y + 200, x, y + 200})->setClosed(true);
    outlines.ModelSpace().AddLine({534600, 2551300, 0}, {534610, 2551310, 0});
    outlines.ModelSpace().AddCircle({534900, 2551300, 0}, 5);
    cad::Entity* road = outlines.ModelSpace().AddLightWeightPolyline({534700, 2551350, 534900, 2551350});
    road->setLayer(QStringLiteral("road"));
    road->setLinetype(QStringLiteral("DASHED"));
    road->SetXData({cad::xstr(1001, QStringLiteral("SOUTH")), cad::xstr(1000, QStringLiteral("164300"))});
    outlines.ModelSpace().AddLine({100, 100, 0}, {200, 200, 0});
    cad::writeDxf(outlines, folder.filePath(QStringLiteral("outlines.dxf")));

    // trim.dxf: a boundary rectangle (100, 200)-(150, 230) with vertex 0 at
    // its lower left, three lines crossing it and a contour of layer dgx at
    // elevation 12.5.
    cad::Document trim;
    trim.Layers().Add(QStringLiteral("dgx"));
    trim.ModelSpace().AddLightWeightPolyline({100, 200, 150, 200, 150, 230, 100, 230})->setClosed(true);
    trim.ModelSpace().AddLine({90, 210, 0}, {160, 210, 0});
    trim.ModelSpace().AddLine({120, 190, 0}, {120, 240, 0});
    trim.ModelSpace().AddLine({95, 215, 0}, {125, 215, 0});
    cad::Entity* contour = trim.ModelSpace().AddLightWeightPolyline({0, 0, 1, 1});
    contour->setLayer(QStringLiteral("dgx"));
    contour->setElevation(12.5);
    cad::writeDxf(trim, folder.filePath(QStringLiteral("trim.dxf")));
    return 0;
}
