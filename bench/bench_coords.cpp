// Gauss–Krüger series and the file zone changes against PROJ's cct
// (proj-bin) on the same million points, and the DXF zone change against a
// plain copy of the same file (QFile::copy, and one through the atomic
// writer as every rewritten file goes), on all cores and on one. Run by hand:
// build-release/bench/bench_coords [--benchmark_filter=...]. The counters
// peak_extra_MB show that the conversions stream; a run of one file bench
// alone under /usr/bin/time -v shows the whole process's peak.
#include "coords/gauss.h"
#include "coords/zone_change.h"
#include "platform/atomic_file.h"
#include "process_memory.h"

#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <functional>
#include <vector>

using namespace kelvor::coords;

namespace {

constexpr int Points = 1000000;

struct Point {
    double x, y;        // northing, easting with 500 km
    double bDms, lDms;  // geodetic, D.MMSS
    double bDeg, lDeg;  // geodetic, degrees
};

// A deterministic spread of points within 3° of meridian 114, made one at a
// time: the files of the file benches are written without holding them, so
// a run of one such bench alone (/usr/bin/time -v) shows the conversion's
// own peak memory.
template <class F>
void forEachPoint(F&& f)
{
    unsigned s = 12345;
    auto rnd = [&s] {
        s = s * 1103515245u + 12345u;
        return double((s >> 8) & 0xFFFF) / 65536.0;
    };
    for (int i = 0; i < Points; ++i) {
        const int bd = 20 + int(rnd() * 30), bm = int(rnd() * 60);
        const int lTotal = 114 * 60 - 180 + int(rnd() * 360);
        const int ld = lTotal / 60, lm = lTotal % 60;
        Point p{};
        p.bDms = bd + bm / 100.0;
        p.lDms = ld + lm / 100.0;
        p.bDeg = bd + bm / 60.0;
        p.lDeg = ld + lm / 60.0;
        ZuoBiaoZhengSuan(p.bDms, p.lDms, 114, p.x, p.y, Series::Krasovsky, true);
        f(p);
    }
}

const std::vector<Point>& points()
{
    static const std::vector<Point> pts = [] {
        std::vector<Point> v;
        v.reserve(Points);
        forEachPoint([&v](const Point& p) { v.push_back(p); });
        return v;
    }();
    return pts;
}

QTemporaryDir& workDir()
{
    static QTemporaryDir dir;
    return dir;
}

QString workFile(const char* name)
{
    return workDir().path() + QLatin1Char('/') + QLatin1String(name);
}

void writeStreamed(const QString& path, const std::function<void(QByteArray&, const Point&)>& line)
{
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    QByteArray buf;
    forEachPoint([&](const Point& p) {
        line(buf, p);
        if (buf.size() > (1 << 20)) {
            f.write(buf);
            buf.resize(0);
        }
    });
    f.write(buf);
}

const QString& geodeticInput()
{
    static const QString path = [] {
        const QString p = workFile("geo.txt");
        writeStreamed(p, [](QByteArray& b, const Point& pt) {
            b += QByteArray::number(pt.lDeg, 'f', 10) + ' ' + QByteArray::number(pt.bDeg, 'f', 10) + " 0 0\n";
        });
        return p;
    }();
    return path;
}

const QString& planeInput()
{
    static const QString path = [] {
        const QString p = workFile("plane.txt");
        writeStreamed(p, [](QByteArray& b, const Point& pt) {
            b += QByteArray::number(pt.y, 'f', 4) + ' ' + QByteArray::number(pt.x, 'f', 4) + " 0 0\n";
        });
        return p;
    }();
    return path;
}

const QString& dxfInput()
{
    static const QString path = [] {
        const QString p = workFile("big.dxf");
        QFile f(p);
        f.open(QIODevice::WriteOnly);
        f.write("  0\r\nSECTION\r\n  2\r\nENTITIES\r\n");
        f.close();
        f.open(QIODevice::Append);
        QByteArray buf;
        forEachPoint([&](const Point& pt) {
            buf += "  0\r\nPOINT\r\n  8\r\nKZD\r\n 10\r\n" + QByteArray::number(pt.y, 'f', 3) + "\r\n 20\r\n"
                + QByteArray::number(pt.x, 'f', 3) + "\r\n 30\r\n0.0\r\n";
            if (buf.size() > (1 << 20)) {
                f.write(buf);
                buf.resize(0);
            }
        });
        buf += "  0\r\nENDSEC\r\n  0\r\nEOF\r\n";
        f.write(buf);
        return p;
    }();
    return path;
}

bool runCct(const QStringList& args, const QString& input, const QString& output)
{
    QProcess p;
    p.setStandardInputFile(input);
    p.setStandardOutputFile(output);
    p.start(QStringLiteral("cct"), args);
    return p.waitForFinished(-1) && p.exitCode() == 0;
}

const QStringList Tm114{"-d", "4", "+proj=tmerc", "+k=1", "+x_0=500000", "+ellps=krass", "+lon_0=114"};

using kelvor::bench::resetPeakRss;
using kelvor::bench::statusKb;

// ---- the DXF zone change -------------------------------------------------------

void dxfZoneChange(benchmark::State& state, const DxfSplit& split)
{
    const QString in = dxfInput();
    const QString out = workFile("out.dxf");
    const Projection p{Series::Krasovsky, Series::Krasovsky, true};
    resetPeakRss();
    const double baseKb = statusKb("VmRSS:");
    for (auto _ : state)
        benchmark::DoNotOptimize(convertDxfZone(in, out, 114, 117, p, nullptr, split));
    state.counters["points_per_s"] = benchmark::Counter(double(Points), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["file_MB"] = double(QFile(in).size()) / 1048576.0;
    // Memory the conversion needed above what the process held before.
    state.counters["peak_extra_MB"] = (statusKb("VmHWM:") - baseKb) / 1024.0;
}

// As the command runs it: on all cores (at most 8).
void BM_DxfZoneChange(benchmark::State& state) { dxfZoneChange(state, DxfSplit{}); }
BENCHMARK(BM_DxfZoneChange)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// On one thread: the work per core, and the floor on a machine with no core to spare.
void BM_DxfZoneChangeOneThread(benchmark::State& state) { dxfZoneChange(state, DxfSplit{64 << 10, 1}); }
BENCHMARK(BM_DxfZoneChangeOneThread)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_DxfPlainCopy(benchmark::State& state)
{
    const QString in = dxfInput();
    const QString out = workFile("copy.dxf");
    for (auto _ : state) {
        QFile::remove(out);
        benchmark::DoNotOptimize(QFile::copy(in, out));
    }
}
BENCHMARK(BM_DxfPlainCopy)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// The least any rewrite of the file costs here: read in chunks, written
// through the atomic writer (temporary file, sync, rename).
void BM_DxfCopyThroughAtomicWriter(benchmark::State& state)
{
    const QString in = dxfInput();
    const QString out = workFile("atomic_copy.dxf");
    for (auto _ : state) {
        QFile f(in);
        f.open(QIODevice::ReadOnly);
        kelvor::AtomicFile w(out);
        QByteArray chunk(1 << 20, Qt::Uninitialized);
        for (qint64 got; (got = f.read(chunk.data(), chunk.size())) > 0;)
            w.write(chunk.constData(), got);
        w.commit();
    }
}
BENCHMARK(BM_DxfCopyThroughAtomicWriter)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_CctZoneChange(benchmark::State& state)
{
    if (QStandardPaths::findExecutable("cct").isEmpty()) {
        state.SkipWithError("cct (proj-bin) not installed");
        return;
    }
    const QString in = planeInput();
    const QStringList pipeline{"-d", "4", "+proj=pipeline", "+step", "+inv", "+proj=tmerc", "+k=1", "+x_0=500000",
                               "+ellps=krass", "+lon_0=114", "+step", "+proj=tmerc", "+k=1", "+x_0=500000",
                               "+ellps=krass", "+lon_0=117"};
    for (auto _ : state)
        benchmark::DoNotOptimize(runCct(pipeline, in, workFile("cct_zone.txt")));
    state.counters["points_per_s"] = benchmark::Counter(double(Points), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_CctZoneChange)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// ---- the point-file zone change (TXT文件转换) ------------------------------

const QString& pointFileInput()
{
    static const QString path = [] {
        const QString p = workFile("1.txt");
        int n = 0;
        writeStreamed(p, [&n](QByteArray& b, const Point& pt) {
            b += QByteArray::number(++n) + ',' + QByteArray::number(pt.x, 'f', 4) + ','
                + QByteArray::number(pt.y, 'f', 4) + "\r\n";
        });
        return p;
    }();
    return path;
}

// The same million points as BM_CctZoneChange, as "d:\1.txt" gives them.
void BM_PointFileZoneChange(benchmark::State& state)
{
    const QString in = pointFileInput();
    const QString out = workFile("2.txt");
    ZoneForm form;
    form.sourceMeridian = QStringLiteral("114");
    form.targetMeridian = QStringLiteral("117");
    form.falseEasting = true;
    resetPeakRss();
    const double baseKb = statusKb("VmRSS:");
    for (auto _ : state)
        benchmark::DoNotOptimize(convertPointFile(in, out, form));
    state.counters["points_per_s"] = benchmark::Counter(double(Points), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["file_MB"] = double(QFile(in).size()) / 1048576.0;
    state.counters["peak_extra_MB"] = (statusKb("VmHWM:") - baseKb) / 1024.0;
}
BENCHMARK(BM_PointFileZoneChange)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// ---- forward + inverse per point -------------------------------------------

void BM_ForwardInverse(benchmark::State& state)
{
    const auto& pts = points();
    for (auto _ : state) {
        double sum = 0;
        for (const Point& p : pts) {
            double x, y, B, L;
            ZuoBiaoZhengSuan(p.bDms, p.lDms, 114, x, y, Series::Krasovsky, true);
            ZuoBiaoFanSuan(p.x, p.y, 114, B, L, Series::Krasovsky, true);
            sum += x + y + B + L;
        }
        benchmark::DoNotOptimize(sum);
    }
    state.counters["points_per_s"] = benchmark::Counter(double(Points), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_ForwardInverse)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CctForwardInverse(benchmark::State& state)
{
    if (QStandardPaths::findExecutable("cct").isEmpty()) {
        state.SkipWithError("cct (proj-bin) not installed");
        return;
    }
    const QString geo = geodeticInput();
    const QString plane = planeInput();
    QStringList inverse = Tm114;
    inverse.prepend("-I");
    for (auto _ : state) {
        benchmark::DoNotOptimize(runCct(Tm114, geo, workFile("cct_fwd.txt")));
        benchmark::DoNotOptimize(runCct(inverse, plane, workFile("cct_inv.txt")));
    }
    state.counters["points_per_s"] = benchmark::Counter(double(Points), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_CctForwardInverse)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

} // namespace

BENCHMARK_MAIN();
