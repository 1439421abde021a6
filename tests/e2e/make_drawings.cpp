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
    return 0;
}
