// landuse_classes.dxf: land-class code texts to convert and find, patch
// numbers, area notes beside texts that only look like them, and land-class
// polygons of two colours for the area table.
#include "cad/dxf/dxf.h"
#include "cad/model/document.h"
#include "cad/model/entity.h"

#include <QDir>

using namespace kelvor;

namespace {

cad::XData south(const QStringList& items)
{
    cad::XData d{cad::xstr(1001, QStringLiteral("SOUTH"))};
    for (const QString& i : items)
        d.push_back(cad::xstr(1000, i));
    return d;
}

} // namespace

void landuseClasses(const QDir& folder)
{
    cad::Document doc;
    doc.Layers().Add(QStringLiteral("AREA"));
    cad::Block& ms = doc.ModelSpace();
    // code texts
    ms.AddText(QStringLiteral("111"), {10, 10, 0}, 2);
    ms.AddText(QStringLiteral("011"), {20, 10, 0}, 2);
    ms.AddText(QStringLiteral("111 "), {30, 10, 0}, 2);
    // texts to find "12" among
    ms.AddText(QStringLiteral(" 12 "), {10, 30, 0}, 2);
    ms.AddText(QStringLiteral("123"), {20, 30, 0}, 2);
    ms.AddText(QStringLiteral("A12"), {30, 30, 0}, 2);
    // patch numbers
    ms.AddText(QStringLiteral("5"), {10, 50, 0}, 2);
    ms.AddText(QStringLiteral("9"), {20, 50, 0}, 2);
    ms.AddText(QStringLiteral("7"), {30, 50, 0}, 2);
    // an area note and texts that are none
    ms.AddText(QStringLiteral("100.00"), {10, 70, 0}, 2)->SetXData(south({QStringLiteral("311004")}));
    ms.AddText(QStringLiteral("200.00"), {20, 70, 0}, 2)->SetXData(south({QStringLiteral("311004 ")}));
    ms.AddText(QStringLiteral("300.00"), {30, 70, 0}, 2);
    ms.AddText(QStringLiteral("400.00"), {40, 70, 0}, 2)->SetXData(south({QStringLiteral("141101")}));
    // land-class polygons: two red of 011, one red of 012, one green
    auto polygon = [&](std::vector<double> xy, int colour, const QString& code) {
        cad::Entity* e = ms.AddLightWeightPolyline(xy);
        e->setClosed(true);
        e->setColor(colour);
        e->SetXData(south({QStringLiteral("310000"), code}));
    };
    polygon({100, 0, 110, 0, 110, 10, 100, 10}, 1, QStringLiteral("011"));
    polygon({120, 0, 140, 0, 140, 5, 120, 5}, 1, QStringLiteral("011"));
    polygon({150, 0, 152, 0, 152, 2, 150, 2}, 1, QStringLiteral("012"));
    polygon({160, 0, 163, 0, 163, 3, 160, 3}, 3, QStringLiteral("021"));
    doc.SetVariable(QStringLiteral("OSMODE"), 33);
    cad::writeDxf(doc, folder.filePath(QStringLiteral("landuse_classes.dxf")));
}
