// 查重复数据 over large files: 2,000 identical lines (1,999,000 pairs, an
// 80 MB report) and files of distinct lines (no pair). Time must grow with
// the file plus the report, memory with the file only.
//
// A file of your own, for /usr/bin/time -v (maximum resident size):
//   KELVOR_CHECKSHU_FILE=/path/big.txt build/bench/bench_checkshu --benchmark_filter=GivenFile
#include "app/tools/text_tools.h"
#include "platform/context.h"
#include "platform/paths.h"
#include "platform/scripted.h"
#include "platform/settings.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace kelvor;

namespace {

// Writes lines made by line(i) to d:\data.txt of a fresh home, streaming.
template <class Line>
QString makeFile(const QTemporaryDir& home, qint64 lines, Line line)
{
    paths::configureHome(home.path());
    const QString path = paths::resolve(QStringLiteral("d:\\data.txt"));
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    QByteArray chunk;
    for (qint64 i = 0; i < lines; ++i) {
        chunk += line(i);
        chunk += "\r\n";
        if (chunk.size() > (1 << 20)) {
            f.write(chunk);
            chunk.clear();
        }
    }
    f.write(chunk);
    return path;
}

// One run of the command on the file, whole lines compared, report not shown.
void search(const QString& file)
{
    SettingsStore settings(paths::current().settingsFile);
    AnswerQueue answers;
    ScriptedUi ui(answers);
    Context ctx(settings, ui);
    ScriptedAnswer open;
    open.kind = QStringLiteral("open");
    open.list = {file};
    answers.push(open);
    ScriptedAnswer yes;
    yes.kind = QStringLiteral("button");
    yes.text = QStringLiteral("Yes");
    answers.push(yes);
    ScriptedAnswer cancel = yes;
    cancel.text = QStringLiteral("Cancel");
    answers.push(cancel);
    tools::checkshu_Click(ctx);
}

void BM_IdenticalLines(benchmark::State& state)
{
    QTemporaryDir home;
    const QString file =
        makeFile(home, state.range(0), [](qint64) { return QByteArray("K1,2532163.233,496573.073,27.24"); });
    for (auto _ : state)
        search(file);
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.counters["pairs"] = double(state.range(0)) * double(state.range(0) - 1) / 2;
    state.counters["report_MB"] = double(QFileInfo(paths::resolve(tools::duplicateReportPath())).size()) / 1e6;
}
BENCHMARK(BM_IdenticalLines)->Arg(2000)->Unit(benchmark::kMillisecond);

void BM_DistinctLines(benchmark::State& state)
{
    QTemporaryDir home;
    const QString file = makeFile(home, state.range(0), [](qint64 i) {
        return "K" + QByteArray::number(i) + ',' + QByteArray::number(2532163.233 + double(i) * 0.001, 'f', 3)
               + ",496573.073,27.24";
    });
    for (auto _ : state)
        search(file);
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetBytesProcessed(state.iterations() * QFileInfo(file).size());
}
BENCHMARK(BM_DistinctLines)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_GivenFile(benchmark::State& state)
{
    const QString given = qEnvironmentVariable("KELVOR_CHECKSHU_FILE");
    if (given.isEmpty()) {
        state.SkipWithError("KELVOR_CHECKSHU_FILE names no file");
        return;
    }
    QTemporaryDir home;
    paths::configureHome(home.path());
    for (auto _ : state)
        search(given);
    state.SetBytesProcessed(state.iterations() * QFileInfo(given).size());
}
BENCHMARK(BM_GivenFile)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
