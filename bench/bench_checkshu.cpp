// 查重复数据 over large files: 100,000 identical lines (every line but the
// first a repeat) and files of distinct lines. Time and memory must grow
// with the file, not with the pairs of lines.
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
}
BENCHMARK(BM_IdenticalLines)->Arg(100000)->Unit(benchmark::kMillisecond);

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
