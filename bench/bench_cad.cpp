// The embedded CAD host on a large drawing: DXF load and save of 200,000
// entities, select-all with a layer filter, a small window-polygon selection.
#include "big_drawing.h"
#include "cad/cad.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace kelvor::cad;

namespace {

using kelvor::bench::bigDrawing;
using kelvor::bench::kEntities;

struct Files {
    QTemporaryDir dir;
    QString path() const { return dir.filePath(QStringLiteral("big.dxf")); }
    Files()
    {
        auto d = bigDrawing({.cassCodes = true});
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
