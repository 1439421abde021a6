#include "plot_window.h"

#include "cad/cad.h"
#include "platform/context.h"
#include "platform/paths.h"
#include "platform/ui.h"
#include "routines/routines.h"

#include <QDir>

namespace kelvor::drafting {

using namespace cad;

namespace {

const QString kOutputFolder = QStringLiteral("C:\\Test\\");

void makeOutputFolder()
{
    QDir().mkpath(paths::resolve(kOutputFolder));
}

// A plot file that could not be written (a full disk, 61; else 75) is said;
// the host's other refusals stop the plot without a word.
void tellIfUnwritten(Context& ctx, const QString& file, const RunError& e)
{
    if (e.number() != err::DiskFull && e.number() != err::PathFileAccess)
        return;
    ctx.ui().message(QStringLiteral("无法写入:") + file + QStringLiteral("\r错误号:") + SignedNumberText(e.number()),
                     QString(), Icon::Critical);
}

} // namespace

QString PlotWindow::outputFile(const QString& drawingName, int index)
{
    return kOutputFolder + drawingName + QLatin1Char('-') + QString::number(index) + kPlotExtension;
}

Application* PlotWindow::connect()
{
    app_ = ConnectToAutoCAD(ctx_);
    return app_;
}

Application* PlotWindow::host()
{
    if (!app_)
        attempt([&] { app_ = &attachCad(ctx_); });
    return app_;
}

void PlotWindow::readDevices()
{
    Application* app = host();
    if (!app)
        return;
    Layout* layout = nullptr;
    attempt([&] { layout = &app->ActiveDocument().ActiveLayout(); });
    if (!layout)
        return;
    attempt([&] { layout->RefreshPlotDeviceInfo(); });
    QStringList names;
    attempt([&] { names = layout->GetPlotDeviceNames(); });
    for (const QString& name : names)
        Q_UNUSED(name); // read one by one, used by nobody
}

void PlotWindow::cmd1_Click()
{
    if (connect())
        readDevices();
}

void PlotWindow::cmd2_Click()
{
    // a plot file not written is said; other failures end it without a word
    if (connect())
        PlotAllPlotRgn(QStringLiteral("0"));
}

void PlotWindow::ListPrinters()
{
    readDevices();
}

void PlotWindow::plotEach(Application& app, Select what, const QString& name)
{
    QString file;
    try {
        Document& doc = app.ActiveDocument();
        doc.setActiveLayout(doc.Layouts().Item(QStringLiteral("Model")));
        Layout& layout = doc.ActiveLayout();
        // the printer and the file device as this system has them
        layout.setConfigName(what == Select::LayerPolylines ? kDefaultPrinter : kPdfDevice);
        layout.setPlotType(4);
        layout.setStandardScale(0);
        if (what == Select::BlockReferences)
            doc.SetVariable(QStringLiteral("BACKGROUNDPLOT"), 0);
        makeOutputFolder();
        int i = 0;
        for (Entity* e : doc.ModelSpace().entities()) {
            const bool chosen = what == Select::LayerPolylines
                ? e->Layer().compare(name, Qt::CaseInsensitive) == 0 && e->kind() == EntityKind::LwPolyline
                : e->kind() == EntityKind::BlockReference && e->Name().compare(name, Qt::CaseInsensitive) == 0;
            if (!chosen)
                continue;
            Point lo, hi;
            e->GetBoundingBox(lo, hi);
            layout.SetWindowToPlot({lo.x, lo.y}, {hi.x, hi.y});
            file = outputFile(doc.Name(), i);
            doc.Plot().PlotToFile(file);
            ++i;
        }
        doc.SetVariable(QStringLiteral("BACKGROUNDPLOT"), 2);
    } catch (const RunError& e) {
        // the plot stops at its failing call; the files written stay
        tellIfUnwritten(ctx_, file, e);
    }
}

void PlotWindow::PlotAllPlotRgn(const QString& layerName)
{
    if (Application* app = connect())
        plotEach(*app, Select::LayerPolylines, layerName);
}

void PlotWindow::PlotAllPlotBlk(const QString& blockName)
{
    if (Application* app = host())
        plotEach(*app, Select::BlockReferences, blockName);
}

void PlotWindow::PlotAllLayouts()
{
    Application* app = host();
    if (!app)
        return;
    try {
        Document& doc = app->ActiveDocument();
        QStringList names;
        for (int j = 0; j < doc.Layouts().Count(); ++j)
            names << doc.Layouts().Item(j).Name();
        doc.Plot().SetLayoutsToPlot(names);
        makeOutputFolder();
        doc.Plot().PlotToFile(kOutputFolder);
    } catch (const RunError& e) {
        tellIfUnwritten(ctx_, kOutputFolder, e);
    }
}

} // namespace kelvor::drafting
