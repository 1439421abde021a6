#include "drawings_checks.h"

#include "cad/dxf/dxf.h"
#include "cad/model/document.h"
#include "cad/model/entity.h"

using namespace kelvor;

namespace {

constexpr double kDeg30 = 3.14159265358979 / 6;

cad::Entity* on(cad::Entity* e, const char* layer)
{
    e->setLayer(QString::fromUtf8(layer));
    return e;
}

cad::Entity* text(cad::Block& ms, const char* s, const char* layer, double x, double y, double height)
{
    return on(ms.AddText(QString::fromUtf8(s), {x, y, 0}, height), layer);
}

} // namespace

// Legacy layers and their entities (one on "lad", whose CASS layer dmtz
// is missing), points, place names and other notes on zj and sxss,
// redundant polylines (one on a locked layer), layers whose names are no
// plain file names, an empty layer, a check line, a three-vertex line and
// two lines to compare, and a line and a text on jmd.
void qcDrawing(const QDir& folder)
{
    cad::Document doc;
    for (const char* l : {"jmd", "gcd", "zj", "sxss", "laheight", "LAF", "lad", "j#d", "..", "check", "locked",
                          "vacant"})
        doc.Layers().Add(QString::fromUtf8(l));
    cad::Block& ms = doc.ModelSpace();
    doc.BlocksAdd({0, 0, 0}, QStringLiteral("blk")).AddCircle({0, 0, 0}, 1);

    on(ms.InsertBlock({-50, 0, 0}, QStringLiteral("blk"), 1, 1, 1, 0), "laheight");
    on(ms.AddLightWeightPolyline({-50, 10, -40, 10}), "laheight");
    text(ms, "12.5", "laheight", -50, 20, 1);
    on(ms.AddLine({-50, 30, 0}, {-40, 30, 0}), "LAF");
    on(ms.AddLine({-50, 40, 0}, {-40, 40, 0}), "lad");
    on(ms.AddPoint({-30, 0, 0}), "gcd");
    ms.AddPoint({-30, 10, 0});

    text(ms, "张家村", "zj", -20, 0, 3)->setScaleFactor(0.8);
    text(ms, "某某公司 ", "zj", -20, 10, 2);
    text(ms, "新村", "zj", -20, 20, 3);
    text(ms, "厂前路", "zj", -20, 30, 3);
    text(ms, "张家村", "0", -20, 40, 3);
    on(ms.AddMText({-20, 50, 0}, 10, QStringLiteral("张家村")), "zj")->setHeight(3);
    text(ms, "水泥", "zj", -10, 0, 1)->setRotation(kDeg30);
    text(ms, " 鱼 ", "zj", -10, 10, 1);
    text(ms, "鱼塘", "sxss", -10, 20, 1.8);

    ms.AddLightWeightPolyline({200, 0, 200.002, 0.001});
    ms.AddLightWeightPolyline({210, 0, 210.004, 0.001});
    ms.AddLightWeightPolyline({220, 0, 220, 0.5});
    on(ms.AddLightWeightPolyline({230, 0, 230.001, 0.001}), "locked");
    ms.AddPolyline({240, 0, 0, 240, 0, 0});

    on(ms.AddCircle({300, 0, 0}, 1), "j#d");
    on(ms.AddLine({300, 10, 0}, {310, 10, 0}), "..");

    on(ms.AddLightWeightPolyline({0, 0, 10, 0}), "check");
    on(ms.AddLightWeightPolyline({0, 20, 0, 20.05, 10, 30}), "check");
    on(ms.AddLightWeightPolyline({100, 100, 110, 100, 120, 105}), "check");
    on(ms.AddLightWeightPolyline({100.03, 100.04, 110, 100.1, 120, 105}), "check");

    on(ms.AddLine({-70, 0, 0}, {-60, 0, 0}), "jmd");
    text(ms, "砖2", "jmd", -65, 5, 1);

    doc.Layers().Item(QStringLiteral("locked")).Lock = true;
    cad::writeDxf(doc, folder.filePath(QStringLiteral("qc.dxf")));
}
