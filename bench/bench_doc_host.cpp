// The document host on handbook-sized documents: the station page scan
// (10000 paragraphs, 300 stations into three index tables) and a .docx
// round trip of the same story.
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

doc::Document handbook()
{
    test::DocBuilder b;
    for (int p = 1; p < 694; ++p)
        b.para(p % 40 == 0 ? QStringLiteral("\f") : QStringLiteral("观测记录 说明 0123456789"));
    for (int p = 694; p <= 10000; ++p)
        b.para(p % 31 == 0 ? QStringLiteral("测站：S") + QString::number(p) : QStringLiteral("后视 1.2345 前视 2.3456"));
    for (int t = 0; t < 3; ++t)
        b.emptyTable(26, 11);
    return b.build();
}

void StationPageScan(benchmark::State& state)
{
    const doc::Document source = handbook();
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
}
BENCHMARK(StationPageScan)->Unit(benchmark::kMillisecond);

void DocxRoundTrip(benchmark::State& state)
{
    const doc::Document source = handbook();
    for (auto _ : state) {
        const doc::Document back = doc::readDocxBytes(doc::docxBytes(source));
        benchmark::DoNotOptimize(back.length());
    }
}
BENCHMARK(DocxRoundTrip)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
