// The drawings and files the command sweep (kelvor-sweep) answers with.
#include "cad/dxf/dxf.h"
#include "cad/model/document.h"
#include "cad/model/entity.h"

#include <QDir>
#include <QFile>
#include <random>

using namespace kelvor;

namespace {

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes);
}

} // namespace

// sweep_empty.dxf: nothing in it. sweep_every_kind.dxf: one entity of each
// kind the host reads, spread apart so that a pick finds one alone, on a
// survey-like site; a polyline comes first, as the commands that pick one
// entity mostly want one. sweep_junk.bin: random bytes where a file is read;
// sweep_empty.txt: an empty one.
void sweepFiles(const QDir& folder)
{
    cad::Document empty;
    cad::writeDxf(empty, folder.filePath(QStringLiteral("sweep_empty.dxf")));

    cad::Document doc;
    cad::Block& symbol = doc.BlocksAdd({0, 0, 0}, QStringLiteral("gc200"));
    symbol.AddCircle({0, 0, 0}, 0.5);
    cad::Block& ms = doc.ModelSpace();
    const double x0 = 496500, y0 = 2532100;
    cad::Entity* outline = ms.AddLightWeightPolyline({x0, y0, x0 + 20, y0, x0 + 20, y0 + 20, x0, y0 + 20});
    outline->setClosed(true);
    ms.AddLine({x0 + 40, y0, 0}, {x0 + 60, y0 + 10, 0});
    ms.AddText(QStringLiteral("12.5"), {x0 + 80, y0, 0}, 2);
    ms.AddMText({x0 + 100, y0, 0}, 10, QStringLiteral("张家村"));
    ms.AddPoint({x0 + 120, y0, 3.5});
    ms.AddCircle({x0 + 140, y0, 0}, 2);
    ms.AddArc({x0 + 160, y0, 0}, 3, 0, 1.5);
    ms.AddPolyline({x0, y0 + 40, 0, x0 + 20, y0 + 40, 0, x0 + 20, y0 + 50, 0});
    ms.Add3DPoly({x0 + 40, y0 + 40, 1, x0 + 50, y0 + 40, 2, x0 + 50, y0 + 50, 3});
    ms.InsertBlock({x0 + 80, y0 + 40, 12.34}, QStringLiteral("gc200"), 1, 1, 1, 0);
    cad::Entity* square = ms.AddLightWeightPolyline({x0 + 100, y0 + 40, x0 + 110, y0 + 40, x0 + 110, y0 + 50, x0 + 100, y0 + 50});
    square->setClosed(true);
    ms.AddRegion({square});
    square->Delete();
    ms.AddRaster(QStringLiteral("d:\\a.jpg"), {x0 + 120, y0 + 40, 0}, 10, 0);
    // a kind the host keeps as read without modelling it
    const QByteArray ray = "0\r\nSECTION\r\n2\r\nENTITIES\r\n0\r\nRAY\r\n8\r\n0\r\n100\r\nAcDbEntity\r\n"
                           "100\r\nAcDbRay\r\n10\r\n496640\r\n20\r\n2532140\r\n30\r\n0\r\n"
                           "11\r\n1\r\n21\r\n0\r\n31\r\n0\r\n0\r\nENDSEC\r\n0\r\nEOF\r\n";
    const std::unique_ptr<cad::Document> foreign = cad::readDxfBytes(ray);
    ms.copyOf(*foreign->ModelSpace().Item(0));
    cad::writeDxf(doc, folder.filePath(QStringLiteral("sweep_every_kind.dxf")));

    std::mt19937 random(46);
    QByteArray junk(4096, '\0');
    for (char& c : junk)
        c = char(random() & 0xff);
    writeBytes(folder.filePath(QStringLiteral("sweep_junk.bin")), junk);
    writeBytes(folder.filePath(QStringLiteral("sweep_empty.txt")), QByteArray());
}
