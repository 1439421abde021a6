// The CAD host window on a large drawing: the first paint of 200,000
// entities (flattening them into the paint cache included), a repaint, and
// pans at full extents and at street scale.
#include "platform/cad/cad.h"
#include "platform/ui/cad_scene.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

using namespace kelvor;
using namespace kelvor::cad;

namespace {

constexpr int kEntities = 200000;

// The same survey-like drawing as the host model's benchmarks: lines,
// polylines, texts and points over a 10 km square on five layers.
std::unique_ptr<Document> bigDrawing()
{
    auto d = std::make_unique<Document>();
    const QString layers[] = {"JMD", "dgx", "tk", "ASSIST", "ZBTZ"};
    int colour = 1;
    for (const QString& l : layers)
        d->Layers().Add(l).Color = colour++;
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
    }
    return d;
}

Document& drawing()
{
    static std::unique_ptr<Document> d = bigDrawing();
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
