#pragma once
// Plotting as a drawing offers it: "Model" and the paper layouts with their
// plot settings, and the plot object. The paper itself (PDF pages, the
// system's printers) is the window layer's, reached through PlotDevices.
#include "cad/model/geometry.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

namespace kelvor::cad {

class Block;
class Document;

// Where the program names a plot file, this system writes PDF: one
// extension for the whole system, as kDrawingExtension is for drawings.
inline const QString kPlotExtension = QStringLiteral(".pdf");
// The host's own device: every plot a page of a PDF file.
inline const QString kPdfDevice = QStringLiteral("Kelvor PDF");
// The name that stands for the system's default printer.
inline const QString kDefaultPrinter = QStringLiteral("默认打印机");

// One plotted page: what is drawn (a layout's block, the window or the
// extents) and how it fills the paper.
struct PlotPage {
    QString layout, device, file;
    Block* block = nullptr;
    Box window;          // drawing units; invalid: the extents
    double scale = 0;    // paper millimetres per drawing unit; 0: fitted
    bool landscape = false;
};

// The paper: implemented by the window layer and installed once per
// process (setPlotDevices). Without it plots fail and only the default
// printer's name and the PDF device are listed.
class PlotDevices {
public:
    virtual ~PlotDevices() = default;
    virtual QStringList printers() const = 0; // the print service's printers by name
    virtual bool hasDefaultPrinter() const = 0;
    // Prints on the named printer (kDefaultPrinter: the default one).
    virtual void print(Document& doc, const PlotPage& page) = 0;
    // Writes the pages to one PDF file, atomically.
    virtual void writePdf(Document& doc, const std::vector<PlotPage>& pages, const QString& nativePath) = 0;
};
void setPlotDevices(PlotDevices* devices);
PlotDevices* plotDevices();

// The plot devices: the print service's printers, the default printer's
// stand-in name and the PDF device.
QStringList plotDeviceNames();

// A layout and its plot settings. Plot types as the automation interface
// numbers them (0 display, 1 extents, 2 limits, 3 view, 4 window, 5 layout).
class Layout {
public:
    Layout(Document* doc, const QString& name, Block* block, int tab);
    QString Name() const { return name_; }
    int TabOrder() const { return tab_; }
    Block& block() const { return *block_; }
    QString ConfigName() const { return device_; }
    void setConfigName(const QString& device); // fails NotFound unless GetPlotDeviceNames has it
    int PlotType() const { return plotType_; }
    void setPlotType(int type);                 // fails outside 0 .. 5
    int StandardScale() const { return standardScale_; }
    void setStandardScale(int scale);           // 0 fits the paper; 16 is 1:1
    void SetWindowToPlot(const Pt2& lowerLeft, const Pt2& upperRight);
    Box window() const { return window_; }
    void RefreshPlotDeviceInfo();
    QStringList GetPlotDeviceNames() const;
    bool landscape = false;
    // The page this layout plots now.
    PlotPage page() const;

private:
    Document* doc_;
    QString name_;
    Block* block_;
    int tab_ = 0;
    QString device_;
    int plotType_ = 1, standardScale_ = 0;
    Box window_;
    mutable QStringList devices_;
};

// "Model" first, then the drawing's paper layouts in tab order.
class Layouts {
public:
    explicit Layouts(Document* doc);
    ~Layouts();
    int Count() const;
    Layout& Item(int index);           // fails NotFound
    Layout& Item(const QString& name); // without regard to case; fails NotFound
    Layout* find(const QString& name);

private:
    void settle() const;
    Document* doc_;
    mutable std::vector<std::unique_ptr<Layout>> items_;
};

class Plot {
public:
    explicit Plot(Document* doc)
        : doc_(doc)
    {
    }
    // The layouts the next plot covers; empty: the active layout.
    void SetLayoutsToPlot(const QStringList& names) { layouts_ = names; }
    // One PDF page per layout in one file (a folder path gets
    // "<drawing>.pdf" inside it).
    bool PlotToFile(const QString& path);
    // Every layout on its own device; see plotPage.
    QString PlotToDevice();

private:
    std::vector<PlotPage> pages() const;
    Document* doc_;
    QStringList layouts_;
};

// Plots one page on its device: a system printer, or for a name the system
// lacks (and the PDF device) a new PDF file beside the drawing,
// "<drawing>-<layout>-<n>.pdf", whose path comes back ("" when printed).
QString plotPage(Document& doc, PlotPage page);

} // namespace kelvor::cad
