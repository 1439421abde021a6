// kelvor-run SCENARIO.json: runs the scenario's items and window steps as a
// person would, every answer scripted, and prints what happened as JSON.
// Windows are made offscreen and never wait for anyone.
#include "app/scenario.h"
#include "app/ui/scenario_windows.h"
#include "app/ui/windows.h"

#include <QApplication>
#include <QFile>
#include <QJsonDocument>
#include <cstdio>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // A run stops by an exception from inside a window's handler; the
    // plain event dispatcher lets it pass back to the runner, glib's C frames
    // would not.
    qputenv("QT_NO_GLIB", "1");
    QApplication qapp(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: kelvor-run SCENARIO.json (\"-\" reads standard input)\n");
        return 2;
    }
    QFile in;
    const bool stdinInput = args.at(1) == QLatin1String("-");
    if (stdinInput ? !in.open(stdin, QIODevice::ReadOnly) : (in.setFileName(args.at(1)), !in.open(QIODevice::ReadOnly))) {
        std::fprintf(stderr, "kelvor-run: cannot read %s\n", qPrintable(args.at(1)));
        return 2;
    }
    kelvor::WindowRegistry windows;
    kelvor::app::registerAllWindows(windows);
    kelvor::app::ScenarioWindowDriver driver(windows);
    const kelvor::app::ScenarioResult r = kelvor::app::runScenarioText(in.readAll(), &driver);
    const QByteArray out = QJsonDocument(r.output).toJson(QJsonDocument::Indented);
    std::fwrite(out.constData(), 1, size_t(out.size()), stdout);
    return r.exitCode;
}
