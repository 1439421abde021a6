#pragma once
// The survey-like drawing the CAD host's benchmarks share: lines, polylines,
// texts and points spread over a 10 km square, on five layers.
#include "cad/cad.h"

#include <memory>

namespace kelvor::bench {

constexpr int kEntities = 200000;

struct DrawingOptions {
    bool colouredLayers = false; // layer colours 1 to 5, else the default
    bool cassCodes = false;      // a fifth of the entities with CASS codes
};

inline std::unique_ptr<cad::Document> bigDrawing(DrawingOptions options)
{
    using namespace kelvor::cad;
    auto d = std::make_unique<Document>();
    const QString layers[] = {"JMD", "dgx", "tk", "ASSIST", "ZBTZ"};
    int colour = 1;
    for (const QString& l : layers) {
        Layer& added = d->Layers().Add(l);
        if (options.colouredLayers)
            added.Color = colour++;
    }
    Block& ms = d->ModelSpace();
    unsigned seed = 12345;
    auto rnd = [&] {
        seed = seed * 1103515245u + 12345u;
        return double((seed >> 8) % 10000000) / 1000.0; // 0 .. 10000 m
    };
    for (int i = 0; i < kEntities; ++i) {
        const double x = 534000 + rnd(), y = 2551000 + rnd();
        Entity* e = nullptr;
        switch (i % 4) {
        case 0: e = ms.AddLine({x, y, 0}, {x + 5, y + 3, 0}); break;
        case 1: e = ms.AddLightWeightPolyline({x, y, x + 10, y, x + 10, y + 8, x, y + 8}); break;
        case 2: e = ms.AddText(QStringLiteral("房屋%1").arg(i), {x, y, 0}, 2); break;
        default: e = ms.AddPoint({x, y, 12.5}); break;
        }
        e->setLayer(layers[i % 5]);
        if (options.cassCodes && i % 5 == 0)
            e->SetXData({xstr(1001, "South"), xstr(1000, "141111")});
    }
    return d;
}

} // namespace kelvor::bench
