// The CAD host window on a large drawing: the first paint of 200,000
// entities (flattening them into the paint cache included), a repaint, and
// pans at full extents and at street scale.
#include "big_drawing.h"
#include "cad/cad.h"
#include "cad/ui/cad_scene.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

using namespace kelvor;
using namespace kelvor::cad;

namespace {

using kelvor::bench::bigDrawing;
using kelvor::bench::kEntities;

Document& drawing()
{
    static std::unique_ptr<Document> d = bigDrawing({.colouredLayers = true});
    return *d;
}

constexpr int kWidth = 1600, kHeight = 1000;

ViewTransform extentsView(DrawingScene& scene)
{
    ViewTransform v;
    v.width = kWidth;
    v.height = kHeight;
    v.fit(scene.extents());
    return v;
}

void paint(DrawingScene& scene, const ViewTransform& v, QImage& image)
{
    image.fill(Qt::black);
    QPainter p(&image);
    scene.render(p, v);
}

void BM_FirstPaint(benchmark::State& state)
{
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        DrawingScene scene;
        scene.setDocument(&drawing());
        paint(scene, extentsView(scene), image);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_FirstPaint)->Unit(benchmark::kMillisecond);

void BM_RepaintExtents(benchmark::State& state)
{
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    DrawingScene scene;
    scene.setDocument(&drawing());
    const ViewTransform v = extentsView(scene);
    paint(scene, v, image);
    for (auto _ : state)
        paint(scene, v, image);
    state.counters["drawn"] = scene.lastStats().drawn;
}
BENCHMARK(BM_RepaintExtents)->Unit(benchmark::kMillisecond);

// One drag step of 40 pixels right, painted in full.
void pan(benchmark::State& state, double metresAcross)
{
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    DrawingScene scene;
    scene.setDocument(&drawing());
    ViewTransform v = extentsView(scene);
    v.scale = kWidth / metresAcross;
    const double startX = v.cx;
    paint(scene, v, image);
    int step = 0;
    for (auto _ : state) {
        v.cx = startX - (step++ % 50) * 40 / v.scale;
        paint(scene, v, image);
    }
    state.counters["drawn"] = scene.lastStats().drawn;
    state.counters["texts"] = scene.lastStats().texts;
}

void BM_PanExtents(benchmark::State& state) { pan(state, 10000); }
BENCHMARK(BM_PanExtents)->Unit(benchmark::kMillisecond);

void BM_PanDistrict(benchmark::State& state) { pan(state, 1500); }
BENCHMARK(BM_PanDistrict)->Unit(benchmark::kMillisecond);

void BM_PanStreet(benchmark::State& state) { pan(state, 300); }
BENCHMARK(BM_PanStreet)->Unit(benchmark::kMillisecond);

// An edit between two paints: one entity moved, the cache mends it alone.
void BM_RepaintAfterEdit(benchmark::State& state)
{
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    Document& d = drawing();
    DrawingScene scene;
    scene.setDocument(&d);
    ViewTransform v = extentsView(scene);
    v.scale = kWidth / 300.0;
    paint(scene, v, image);
    Entity* moved = d.ModelSpace().Item(7);
    for (auto _ : state) {
        moved->Move({0, 0, 0}, {0.001, 0, 0});
        scene.entityChanged(moved, false);
        paint(scene, v, image);
    }
}
BENCHMARK(BM_RepaintAfterEdit)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
