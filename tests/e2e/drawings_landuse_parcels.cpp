// parcels.dxf: the parcel map of the land-use statistics and checks.
#include "drawings_landuse_parcels.h"

#include "cad/dxf/dxf.h"
#include "cad/model/document.h"
#include "cad/model/entity.h"

using namespace kelvor;

namespace {

cad::Entity* rect(cad::Block& b, double x, double y, double w, double h, int colour, bool closed = true)
{
    cad::Entity* e = b.AddLightWeightPolyline({x, y, x + w, y, x + w, y + h, x, y + h});
    e->setClosed(closed);
    e->setColor(colour);
    return e;
}

cad::Entity* coded(cad::Entity* e, const QStringList& items)
{
    cad::XData x{cad::xstr(1001, QStringLiteral("South"))};
    for (const QString& i : items)
        x.push_back(cad::xstr(1000, i));
    e->SetXData(x);
    return e;
}

// The SCAS record of the R14 layout: item i holds "v<i>", item 29 the 1.
cad::XData r14Record()
{
    cad::XData r{cad::xstr(1001, QStringLiteral("SCAS"))};
    for (int i = 1; i < 30; ++i)
        r.push_back(cad::xstr(1000, i == 29 ? QStringLiteral("1") : QStringLiteral("v%1").arg(i)));
    return r;
}

} // namespace

// Parcels: a 100 x 100 parcel at the origin with a 20 x 20 island at (40, 40)
// and a 4 x 4 parcel inside the island, a code-less polyline and a 310000-1
// one inside the parcel. Land classes (x 200 on): colour 1 of 300 m² ("111 ")
// and 500 m² ("111"), 700 m² of "0111", colour 2 "111". Closure and area
// checks (x 400 on): an open and a closed rectangle 10 x 20, one with an arc
// side. The record line (thickness 1500088) and the title block ACDJTK6B at
// (1000, 2000) with one text per cell, two in cells 2 and 3.
void landuseParcels(const QDir& folder)
{
    cad::Document doc;
    cad::Block& ms = doc.ModelSpace();
    coded(rect(ms, 0, 0, 100, 100, 3), {"310000"});
    coded(rect(ms, 40, 40, 20, 20, 3), {"310000"});
    coded(rect(ms, 48, 48, 4, 4, 3), {"310000"});
    rect(ms, 10, 10, 5, 5, 3);
    coded(rect(ms, 20, 10, 5, 5, 3), {"310000-1"});

    coded(rect(ms, 200, 0, 10, 30, 1), {"A", "111 "});
    coded(rect(ms, 220, 0, 20, 25, 1), {"A", "111"});
    coded(rect(ms, 250, 0, 10, 70, 1), {"A", "0111"});
    coded(rect(ms, 270, 0, 10, 90, 2), {"A", "111"});

    rect(ms, 400, 0, 10, 20, 7, false);
    rect(ms, 420, 0, 10, 20, 7);
    rect(ms, 440, 0, 10, 20, 7)->SetBulge(1, 1);

    cad::Entity* line = ms.AddLine({1000, 1900, 0}, {1010, 1900, 0});
    line->setThickness(1500088);
    line->SetXData(r14Record());
    doc.BlocksAdd({0, 0, 0}, QStringLiteral("ACDJTK6B")).AddLine({0, 0, 0}, {148, 0, 0});
    ms.InsertBlock({1000, 2000, 0}, QStringLiteral("ACDJTK6B"), 1, 1, 1, 0);
    // the top-left corners of the cells, relative to the insertion point
    const double cells[8][2] = {{11.405, 7.946},   {11.405, 13.892},  {103.5745, 13.892}, {11.405, 19.838},
                                {48.3859, 37.676}, {48.3859, 43.622}, {48.3859, 49.568},  {48.3859, 55.514}};
    for (int i = 0; i < 8; ++i) {
        const QString text = i == 0 ? QString::fromUtf8("张三") : QStringLiteral("c%1").arg(i + 1);
        ms.AddText(text, {1000 + cells[i][0] + 1, 2000 - cells[i][1] - 4, 0}, 2);
    }
    ms.AddText(QStringLiteral("c2b"), {1000 + cells[1][0] + 20, 2000 - cells[1][1] - 4, 0}, 2);
    ms.AddText(QStringLiteral("c3b"), {1000 + cells[2][0] + 20, 2000 - cells[2][1] - 4, 0}, 2);
    cad::writeDxf(doc, folder.filePath(QStringLiteral("parcels.dxf")));
}
