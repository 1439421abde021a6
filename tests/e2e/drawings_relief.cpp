#include "drawings_relief.h"

#include "cad/dxf/dxf.h"
#include "cad/model/document.h"
#include "cad/model/entity.h"

using namespace kelvor;

namespace {

cad::Entity* on(cad::Entity* e, const char* layer)
{
    e->setLayer(QString::fromLatin1(layer));
    return e;
}

cad::Entity* coded(cad::Entity* e, const char* code)
{
    e->SetXData({cad::xstr(1001, QStringLiteral("South")), cad::xstr(1000, QString::fromLatin1(code))});
    return e;
}

cad::Entity* text(cad::Block& ms, const char* s, double x, double y, const char* layer)
{
    return on(ms.AddText(QString::fromUtf8(s), {x, y, 0}, 1), layer);
}

cad::Entity* contour(cad::Block& ms, double height, double y)
{
    cad::Entity* c = on(ms.AddLightWeightPolyline({0, y, 100, y}), "dgx");
    c->setElevation(height);
    return c;
}

} // namespace

// At 1:1000 ("userr1" 1000). Contours 0..100 wide on "dgx" (101 and 102
// for the interpolation, 14 and 15 for index marking, the rest for
// thinning) and a text among them; elevation notes at x 200; control
// points with height notes at x 300..380; CASS annotation at x 400;
// a control point with a circle beside it at (500, 500).
void reliefDrawing(const QDir& folder)
{
    cad::Document doc;
    for (const char* l : {"dgx", "gcd", "laheight", "kzd", "zj"})
        doc.Layers().Add(QString::fromLatin1(l));
    doc.SetVariable(QStringLiteral("userr1"), 1000.0);
    cad::Block& gc200 = doc.BlocksAdd({0, 0, 0}, QStringLiteral("gc200"));
    gc200.AddCircle({0, 0, 0}, 0.5);
    cad::Block& gc115 = doc.BlocksAdd({0, 0, 0}, QStringLiteral("gc115"));
    gc115.AddCircle({0, 0, 0}, 0.5);
    gc115.AddLightWeightPolyline({-1, -0.6, 1, -0.6, 0, 1.1, -1, -0.6});
    cad::Block& ms = doc.ModelSpace();

    for (const auto& [height, y] : {std::pair{101.0, 0.0}, {102.0, 10.0}, {14.0, 30.0}, {15.0, 40.0},
                                    {10.5, 50.0}, {-1.5, 60.0}, {10.25, 70.0}, {12.0, 80.0}})
        contour(ms, height, y);
    text(ms, "45", 0, 90, "dgx");

    text(ms, "12.34", 200, 0, "gcd");
    on(ms.InsertBlock({199.5, 0.5, 12.34}, QStringLiteral("gc200"), 0.5, 0.5, 1, 0), "gcd");
    text(ms, "abc", 200, 10, "laheight");
    text(ms, "0.30", 200, 20, "gcd");
    text(ms, "12.345", 200, 30, "gcd");
    text(ms, "12.3", 200, 40, "laheight");

    const struct {
        double x, z;
        const char* note;
    } points[] = {{300, 45.678, "45.67"}, {340, 45, "45.05"}, {380, 0.05, "K1"}};
    for (const auto& p : points) {
        on(ms.InsertBlock({p.x, 100, p.z}, QStringLiteral("gc115"), 1, 1, 1, 0), "kzd");
        text(ms, p.note, p.x + 2, 101, "kzd");
    }

    coded(text(ms, "K12", 400, 200, "kzd"), "131511");
    coded(text(ms, "45.678", 400, 195, "kzd"), "131511");
    coded(on(ms.AddLine({396, 197, 0}, {399, 197, 0}), "kzd"), "131510");
    text(ms, "N1", 400, 190, "kzd");

    on(ms.InsertBlock({500, 500, 10}, QStringLiteral("gc115"), 1, 1, 1, 0), "kzd");
    ms.AddCircle({505, 502, 0}, 1);
    ms.AddLine({520, 500, 0}, {525, 500, 0});

    cad::writeDxf(doc, folder.filePath(QStringLiteral("relief.dxf")));
}
