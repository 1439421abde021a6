// kelvor-e2e-drawings FOLDER: writes the drawings the end-to-end scenarios
// open, with the program's own DXF writer, into FOLDER (tests/e2e/drawings).
#include "cad/dxf/dxf.h"
#include "cad/model/document.h"

#include <QCoreApplication>
#include <QDir>
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

    // landuse.dxf: one row of a land-class area table (h = 6 at (10, 100):
    // its left border line, code 011 and area 356.8 centred in their
    // cells), and a check height 45.23 on gcd1 beside the map's note 45.18.
    cad::Document landuse;
    cad::Block& ms = landuse.ModelSpace();
    ms.AddLine({10, 100, 0}, {10, 106, 0});
    auto centred = [&](const QString& text, double x, double y, double height) {
        cad::Entity* t = ms.AddText(text, {x, y, 0}, height);
        t->setAlignment(cad::AlignMiddleCenter);
        t->setTextAlignmentPoint({x, y, 0});
        return t;
    };
    centred(QStringLiteral("011"), 10 + 6 * 3.333333 / 2, 103, 2.4);
    centred(QStringLiteral("356.8"), 10 + 6 * 3.333333 + 6 * 5.833333 / 2, 103, 2.4);
    landuse.Layers().Add(QStringLiteral("gcd1"));
    ms.AddText(QStringLiteral("45.23"), {200, 200, 0}, 2)->setLayer(QStringLiteral("gcd1"));
    ms.AddText(QStringLiteral("45.18"), {205, 196, 0}, 2);
    cad::writeDxf(landuse, folder.filePath(QStringLiteral("landuse.dxf")));
    return 0;
}
