// The document host on handbook-sized documents: the station page scan of
// 300 and of 3,000 stations (each with two observation lines, after 693
// opening paragraphs; three index tables take the first 300), which must take
// time in proportion, and a .docx round trip of the 300-station story.
#include "exchange/word_documents.h"
#include "platform/doc/docx.h"
#include "platform/doc/host.h"
#include "platform/scripted.h"
#include "platform/settings.h"
#include "platform/context.h"

#include "../tests/support/doc_builder.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace kelvor;

namespace {

doc::Document handbook(int stations)
{
    test::DocBuilder b;
    for (int p = 1; p < 694; ++p)
        b.para(p % 40 == 0 ? QStringLiteral("\f") : QStringLiteral("观测记录 说明 0123456789"));
    for (int k = 1; k <= stations; ++k) {
        b.para(QStringLiteral("测站：S") + QString::number(k));
        b.para(k % 20 == 0 ? QStringLiteral("后视 1.2345\f") : QStringLiteral("后视 1.2345 前视 2.3456"));
        b.para(QStringLiteral("前视 2.3456 后视 1.2345"));
    }
    for (int t = 0; t < 3; ++t)
        b.emptyTable(26, 11);
    return b.build();
}

// The whole command: every station's page read, the first 300 written.
void StationPageScan(benchmark::State& state)
{
    const doc::Document source = handbook(int(state.range(0)));
    QTemporaryDir dir;
    SettingsStore settings(dir.filePath(QStringLiteral("k.ini")));
    for (auto _ : state) {
        AnswerQueue answers;
        ScriptedUi ui(answers);
        Context ctx(settings, ui);
        doc::Hosts hosts(&ui);
        doc::Instance running(hosts.shared());
        running.adopt(source);
        hosts.setRunning(&running);
        ctx.setOffice(&hosts);
        exchange::cezhanymtobiaoge_Click(ctx);
        benchmark::DoNotOptimize(running.activeDocument().length());
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(StationPageScan)->Arg(300)->Arg(3000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

// The stations and their pages alone.
void HandbookStations(benchmark::State& state)
{
    doc::Document d = handbook(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(exchange::handbookStations(d).size());
    state.SetComplexityN(state.range(0));
}
BENCHMARK(HandbookStations)->Arg(300)->Arg(3000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

void DocxRoundTrip(benchmark::State& state)
{
    const doc::Document source = handbook(300);
    for (auto _ : state) {
        const doc::Document back = doc::readDocxBytes(doc::docxBytes(source));
        benchmark::DoNotOptimize(back.length());
    }
}
BENCHMARK(DocxRoundTrip)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
