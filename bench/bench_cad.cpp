// The embedded CAD host on a large drawing: DXF load and save of 200,000
// entities, select-all with a layer filter, a small window-polygon selection.
#include "platform/cad/cad.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace kelvor::cad;

namespace {

constexpr int kEntities = 200000;

// A survey-like drawing: lines, polylines, texts and points spread over a
// 10 km square, on five layers, a fifth of them with CASS codes.
std::unique_ptr<Document> bigDrawing()
{
    auto d = std::make_unique<Document>();
    for (const char* l : {"JMD", "dgx", "tk", "ASSIST", "ZBTZ"})
        d->Layers().Add(QString::fromLatin1(l));
    const QString layers[] = {"JMD", "dgx", "tk", "ASSIST", "ZBTZ"};
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
        if (i % 5 == 0)
            e->SetXData({xstr(1001, "South"), xstr(1000, "141111")});
    }
    return d;
}

struct Files {
    QTemporaryDir dir;
    QString path() const { return dir.filePath(QStringLiteral("big.dxf")); }
    Files()
    {
        auto d = bigDrawing();
        writeDxf(*d, path());
    }
};

Files& files()
{
    static Files f;
    return f;
}

void BM_LoadDxf(benchmark::State& state)
{
    const QString path = files().path();
    for (auto _ : state) {
        auto d = readDxf(path);
        benchmark::DoNotOptimize(d->ModelSpace().Count());
    }
    state.SetItemsProcessed(state.iterations() * kEntities);
}
BENCHMARK(BM_LoadDxf)->Unit(benchmark::kMillisecond);

void BM_SaveDxf(benchmark::State& state)
{
    auto d = readDxf(files().path());
    const QString out = files().dir.filePath(QStringLiteral("out.dxf"));
    for (auto _ : state)
        writeDxf(*d, out);
    state.SetItemsProcessed(state.iterations() * kEntities);
}
BENCHMARK(BM_SaveDxf)->Unit(benchmark::kMillisecond);

void BM_SelectAllByLayer(benchmark::State& state)
{
    auto d = readDxf(files().path());
    const SelectionFilter f = BuildFilter({0, QStringLiteral("LWPOLYLINE"), 8, QStringLiteral("jmd,DGX")});
    for (auto _ : state) {
        SelectionSet& s = ScratchSelectionSet(*d, QStringLiteral("text"));
        s.Select(SelectAll, {}, {}, f);
        benchmark::DoNotOptimize(s.Count());
    }
}
BENCHMARK(BM_SelectAllByLayer)->Unit(benchmark::kMillisecond);

void BM_WindowPolygonSmall(benchmark::State& state)
{
    auto d = readDxf(files().path());
    // a 100 m square: about 1/10,000 of the drawing
    const std::vector<double> poly{539000, 2556000, 0, 539100, 2556000, 0, 539100, 2556100, 0, 539000, 2556100, 0};
    {
        SelectionSet& warm = ScratchSelectionSet(*d, QStringLiteral("text"));
        warm.SelectByPolygon(SelectWindowPolygon, poly); // builds the index once
    }
    for (auto _ : state) {
        SelectionSet& s = ScratchSelectionSet(*d, QStringLiteral("text"));
        s.SelectByPolygon(SelectWindowPolygon, poly);
        benchmark::DoNotOptimize(s.Count());
    }
}
BENCHMARK(BM_WindowPolygonSmall)->Unit(benchmark::kMicrosecond);

void BM_WindowPolygonSmallAfterEdit(benchmark::State& state)
{
    auto d = readDxf(files().path());
    const std::vector<double> poly{539000, 2556000, 0, 539100, 2556000, 0, 539100, 2556100, 0, 539000, 2556100, 0};
    ScratchSelectionSet(*d, QStringLiteral("text")).SelectByPolygon(SelectWindowPolygon, poly);
    Entity* moved = d->ModelSpace().Item(7);
    for (auto _ : state) {
        moved->Move({0, 0, 0}, {0.001, 0, 0}); // one changed entity between selections
        SelectionSet& s = ScratchSelectionSet(*d, QStringLiteral("text"));
        s.SelectByPolygon(SelectWindowPolygon, poly);
        benchmark::DoNotOptimize(s.Count());
    }
}
BENCHMARK(BM_WindowPolygonSmallAfterEdit)->Unit(benchmark::kMicrosecond);

void BM_WindowPolygonScanBaseline(benchmark::State& state)
{
    // what the same window costs when every entity is tested
    auto d = readDxf(files().path());
    const std::vector<Pt2> poly{{539000, 2556000}, {539100, 2556000}, {539100, 2556100}, {539000, 2556100}};
    for (auto _ : state) {
        int n = 0;
        for (Entity* e : d->ModelSpace().entities())
            n += shapeInsidePolygon(e->shape(), poly);
        benchmark::DoNotOptimize(n);
    }
}
BENCHMARK(BM_WindowPolygonScanBaseline)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
