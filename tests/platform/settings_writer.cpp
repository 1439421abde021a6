// settings_writer FILE PREFIX COUNT: stores PREFIX0= .. PREFIX<COUNT-1>= in
// the settings file, one write each, as a second process beside a test.
#include "platform/settings.h"

#include <QCoreApplication>
#include <QString>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 4)
        return 2;
    kelvor::SettingsStore store(args.at(1));
    const int count = args.at(3).toInt();
    for (int i = 0; i < count; ++i)
        store.writeRaw(args.at(2) + QString::number(i) + QLatin1Char('='), QString::number(i));
    return 0;
}
