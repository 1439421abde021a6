// The distance correction search at its largest limit (99.99 m: 2000
// corrections per leg) on a full sheet: 13 stations, 12 legs.
#include "blunder/closure.h"
#include "blunder/searches.h"
#include "traverse/data_file.h"

#include <benchmark/benchmark.h>

using namespace kelvor;

namespace {

blunder::Traverse fullSheet()
{
    traverse::TraverseData d;
    d.N = 13;
    d.startStation = {QStringLiteral("GP01"), QStringLiteral("3456120.000"), QStringLiteral("512340.000"),
                      QStringLiteral("45.321")};
    d.startOrientation = {QStringLiteral("GP02"), QStringLiteral("3455807.483"), QStringLiteral("512244.712"),
                          QString()};
    d.endStation = {QStringLiteral("GP05"), QStringLiteral("3457208.716"), QStringLiteral("514410.093"),
                    QStringLiteral("47.108")};
    d.endOrientation = {QStringLiteral("GP06"), QStringLiteral("3457329.171"), QStringLiteral("514798.213"),
                        QString()};
    const char* angles[] = {"225.3238", "152.4157", "202.0001", "211.4158", "162.2403", "149.1759", "205.3002",
                            "170.1215", "188.4430", "175.0512", "191.3340", "168.2205"};
    const char* distances[] = {"187.216", "203.876", "176.434", "221.104", "158.944", "195.315",
                               "184.777", "201.330", "176.902", "190.418", "188.061", "199.574"};
    for (int i = 0; i < 12; ++i) {
        traverse::DataStation s;
        s.name = QStringLiteral("D%1").arg(i);
        s.angle = QString::fromLatin1(angles[i]);
        s.distance = QString::fromLatin1(distances[i]);
        d.stations.push_back(s);
    }
    d.last.name = QStringLiteral("GP05");
    d.last.angle = QStringLiteral("186.3928");
    return blunder::numericTraverse(d);
}

void BM_DistanceSearchLargestLimit(benchmark::State& state)
{
    const blunder::Traverse t = fullSheet();
    for (auto _ : state) {
        const blunder::DistanceSearch s = blunder::distanceSearch(t, 99.99);
        benchmark::DoNotOptimize(s.bestT);
    }
    state.SetItemsProcessed(state.iterations() * 2000 * 12);
}
BENCHMARK(BM_DistanceSearchLargestLimit)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
