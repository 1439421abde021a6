// kelvor-run SCENARIO.json: runs the scenario's items as the menus run them,
// every answer scripted, and prints what happened as JSON.
#include "app/scenario.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonDocument>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication qapp(argc, argv);
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
    const kelvor::app::ScenarioResult r = kelvor::app::runScenarioText(in.readAll());
    const QByteArray out = QJsonDocument(r.output).toJson(QJsonDocument::Indented);
    std::fwrite(out.constData(), 1, size_t(out.size()), stdout);
    return r.exitCode;
}
