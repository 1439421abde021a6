#pragma once
#include <QString>

namespace kelvor {
class Context;
namespace cad {
class Application;
}
}

// The plot window's work (Form3), apart from its widgets: plots parts of the
// active drawing to files in "C:\Test\" (created when missing), one per
// lightweight polyline of a layer or reference of a block, or all layouts.
// The window keeps its own reference to the host, taken when it is first
// used and again by each button and by PlotAllPlotRgn; the other operations
// use it as it was last set.
namespace kelvor::drafting {

class PlotWindow {
public:
    explicit PlotWindow(Context& ctx)
        : ctx_(ctx)
    {
    }

    // 确定: connects and reads the active layout's plot devices, using none;
    // failures after connecting are passed over.
    void cmd1_Click();
    // Command1: connects, then plots the polylines of layer "0".
    void cmd2_Click();

    // Plot files "C:\Test\<drawing name>-<i><plot extension>", i from 0 in
    // model-space order; the first failing call stops (what was plotted stays),
    // and a file that could not be written is named in a message (error 61 on
    // a full disk, else 75).
    // Connects first; a missing host gets the standard message.
    void PlotAllPlotRgn(const QString& layerName);
    // As PlotAllPlotRgn for the references of a block, on the host's own
    // file device, without connecting first.
    void PlotAllPlotBlk(const QString& blockName);
    // Every layout of the active drawing into one file in "C:\Test\".
    void PlotAllLayouts();
    void TestPlot() {}
    // As cmd1 without connecting.
    void ListPrinters();

    static QString outputFile(const QString& drawingName, int index);

private:
    cad::Application* connect();
    cad::Application* host();
    enum class Select { LayerPolylines, BlockReferences };
    void plotEach(cad::Application& app, Select what, const QString& name);
    void readDevices();

    Context& ctx_;
    cad::Application* app_ = nullptr;
};

} // namespace kelvor::drafting
