// E500 conversion and GPS height merging on large inputs. Run by hand:
// build/bench/bench_survey_data. The conversion is linear in the records
// (no cap on their number any more); the height merge scans the report
// once per point, as the point lists of a GPS network are short. Reading
// a survey file finds its encoding and looks for binary in one pass more.
#include "coords/e500.h"
#include "coords/gps_heights.h"
#include "platform/text_file.h"

#include <benchmark/benchmark.h>

#include <QStringList>

using namespace kelvor::coords;

namespace {

E500DataFile details(int n)
{
    E500DataFile d;
    for (int i = 0; i < n; ++i)
        d.details.push_back({QStringLiteral("F%1").arg(i % 97), QString::number(3381000 + i), QString::number(519000 + i)});
    return d;
}

void cassLinesOf(benchmark::State& state)
{
    const E500DataFile d = details(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(cassLines(d));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(cassLinesOf)->Arg(2000)->Arg(20000)->Arg(200000)->Complexity();

void mergeHeights(benchmark::State& state)
{
    const int n = int(state.range(0));
    QStringList input, report{QStringLiteral("点号            纬度              经度    大地高    正常高      差值")};
    for (int i = 0; i < n; ++i) {
        const QString name = QStringLiteral("G%1").arg(i, 3, 10, QLatin1Char('0'));
        input << name + QStringLiteral("   3381234.567   519256.789");
        report << name.leftJustified(51, QLatin1Char(' ')) + QStringLiteral("     45.123");
    }
    for (auto _ : state) {
        QString misses;
        benchmark::DoNotOptimize(mergeGpsHeights(input, report, 2, &misses));
    }
}
BENCHMARK(mergeHeights)->Arg(100)->Arg(500);

// A point list of n lines as GBK (0), UTF-8 (1) or UTF-16 (2), read line by
// line as the survey readers do.
void readSurveyLines(benchmark::State& state)
{
    QString text;
    for (int i = 0; i < state.range(0); ++i)
        text += QStringLiteral("界址点%1,3381234.567,519256.789,45.12\r\n").arg(i);
    QByteArray bytes = kelvor::encodeGbk(text);
    if (state.range(1) == 1)
        bytes = text.toUtf8();
    if (state.range(1) == 2)
        bytes = QByteArray("\xFF\xFE", 2) + QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    for (auto _ : state) {
        kelvor::TextReader r = kelvor::TextReader::fromBytes(bytes);
        benchmark::DoNotOptimize(r.holdsBinary());
        while (!r.atEnd())
            benchmark::DoNotOptimize(r.readLine());
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(readSurveyLines)->Args({100000, 0})->Args({100000, 1})->Args({100000, 2});

} // namespace

BENCHMARK_MAIN();
