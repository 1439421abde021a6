// One adjustment of a 13-station connecting traverse, from read.dx to the
// written report, .zb list and watch.txt.
#include "traverse/commands.h"
#include "traverse/sheet.h"

#include "platform/context.h"
#include "platform/paths.h"
#include "platform/scripted.h"
#include "platform/settings.h"
#include "platform/text_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace kelvor;

namespace {

QStringList thirteenStations()
{
    QStringList dx;
    dx << QStringLiteral("B1,3381500.1238,512300.5678,45.678,A1,3381800.0004,512100.0000");
    dx << QStringLiteral("C1,3382701.0000,512320.0000,52.301,D1,3383000.0000,512330.0000");
    for (int k = 1; k <= 12; ++k)
        dx << QStringLiteral("%1,%2,100.%3,0.1230,1.450,1.500,-0.1245,1.520,1.450")
                  .arg(k == 1 ? QStringLiteral("B1") : QStringLiteral("P%1").arg(k))
                  .arg(k % 2 ? QStringLiteral("179.5950") : QStringLiteral("180.0010"))
                  .arg(k * 7 % 1000, 3, 10, QLatin1Char('0'));
    dx << QStringLiteral("C1,180.0005") << QStringLiteral("EOF");
    return dx;
}

void BM_AdjustThirteenStations(benchmark::State& state)
{
    QTemporaryDir home;
    paths::configureHome(home.path());
    SettingsStore settings(paths::current().settingsFile);
    settings.write_inifile();
    settings.writeRaw(QStringLiteral("MydxfileSavepath="), QStringLiteral("d:\\cg"));
    QDir().mkpath(paths::resolve(QStringLiteral("d:\\cg")));
    AnswerQueue answers;
    ScriptedUi ui(answers);
    Context ctx(settings, ui);
    traverse::TraverseSheet sheet;
    sheet.setGrade(QStringLiteral("一级图根"));
    sheet.setContourInterval(QStringLiteral("0.5"));
    ctx.setSheet(&sheet);
    ctx.state().printcgb = true;
    const QString readDx = paths::scratch(QStringLiteral("read.dx"));
    writeTextLines(readDx, thirteenStations());

    for (auto _ : state) {
        traverse::dxpc(ctx, readDx);
        ui.clearRecord();
    }
    if (ctx.state().recentReport.isEmpty())
        state.SkipWithError("the adjustment wrote no report");
    paths::reset();
}
BENCHMARK(BM_AdjustThirteenStations)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
