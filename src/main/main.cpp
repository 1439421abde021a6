#include "app/registry.h"
#include "app/startup.h"
#include "app/ui/form1.h"
#include "app/ui/star.h"
#include "app/ui/windows.h"
#include "cad/host/application.h"
#include "cad/host/cmd_commands.h"
#include "platform/commands.h"
#include "platform/context.h"
#include "platform/paths.h"
#include "platform/settings.h"
#include "platform/sheet/sheet_host.h"
#include "cad/ui/cad_window.h"
#include "platform/doc/host.h"
#include "platform/ui/document_window.h"
#include "platform/ui/qt_ui.h"
#include "platform/ui/sheet_window.h"
#include "traverse/sheet.h"

#include <QApplication>
#include <QFileInfo>
#include <QScreen>

using namespace kelvor;

int main(int argc, char** argv)
{
    QApplication qapp(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    // Qt's own buttons and dialogs speak Chinese like the rest of the program.
    installChineseTranslations();
    QtUi ui;
    SettingsStore settings(paths::current().settingsFile);
    Context ctx(settings, ui);
    traverse::TraverseSheet sheet;
    ctx.setSheet(&sheet);
    // The embedded CAD host runs from the start with an empty new drawing.
    cad::Application cadHost;
    cad::registerEditingCommands(cadHost);
    ctx.setCad(&cadHost);
    // Its window stays hidden until a command shows it.
    CadHostWindow cadWindow(cadHost, ui);
    // No spreadsheet runs at first; a command that needs one starts it.
    sheet::Office office;
    showSheetWindows(office.sheets, ui);
    // The document host runs in its window, hidden until a command needs it.
    doc::Hosts officeHosts(&ui);
    DocumentWindow documentWindow(officeHosts);
    officeHosts.setSpreadsheetHosts(&office);
    ctx.setOffice(&officeHosts);

    // The splash first; the main window loads hidden inside its load step.
    app::Star star(ui.today());

    QStringList arguments = QApplication::arguments().mid(1);
    const app::CadRequest cadRequest = app::takeCadRequest(arguments);
    app::SingleInstance instance;
    if (!app::startUp(ui, settings, instance, QFileInfo(QString::fromLocal8Bit(argv[0])).completeBaseName(),
                      cadRequest))
        return 0;
    // Later copies started with --cad hand their drawing over to this one.
    app::HandOver handOver(instance.fileName());
    QObject::connect(&handOver, &app::HandOver::cadRequested, &cadWindow,
                     [&cadWindow](const QString& drawing) { cadWindow.startOrShow(drawing); });

    CommandRegistry registry;
    app::registerAllCommands(registry);
    WindowRegistry windows;
    app::registerAllWindows(windows);
    const QString report = app::commandLineReport(arguments);
    // Timer2 runs only from the splash's show on, so the loader's failure
    // message needs no stop and restart of it here.
    app::loadMainWindow(ctx, report, app::openCommandLineReport);
    app::Form1 form(ctx, registry, windows);
    ui.setOwner(&form);
    QObject::connect(&form, &app::Form1::programEnded, &qapp, [] { QCoreApplication::exit(0); });
    form.refreshMenus();
    form.placeBusyPicture();
    form.setDrawingWindow([&cadHost] { return cadHost.running(); },
                          [&cadWindow] { cadWindow.startOrShow(); });
    QObject::connect(&cadWindow, &CadHostWindow::runningChanged, &form, [&form] { form.drawingWindowChanged(); });

    app::applyFirstRun(ui, settings);

    QObject::connect(&star, &app::Star::finished, &form, [&form] {
        if (QScreen* screen = QGuiApplication::primaryScreen())
            form.move(screen->availableGeometry().center() - form.rect().center());
        form.show();
    });
    QObject::connect(&star, &app::Star::finished, &cadWindow, [&cadWindow, &handOver, cadRequest] {
        if (cadRequest.wanted)
            cadWindow.startOrShow(cadRequest.drawing);
        handOver.listen();
    });
    star.show();
    star.timer2().start();
    return qapp.exec();
}
