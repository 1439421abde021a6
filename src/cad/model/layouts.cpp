#include "cad/model/layouts.h"

#include "cad/model/document.h"
#include "platform/paths.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace kelvor::cad {

namespace {

PlotDevices* gDevices = nullptr;

PlotDevices& devices()
{
    if (!gDevices)
        fault(fail::Failed, QStringLiteral("this program has no plot output"));
    return *gDevices;
}

bool systemHas(const QString& device)
{
    if (!gDevices)
        return false;
    if (device == kDefaultPrinter)
        return gDevices->hasDefaultPrinter();
    return gDevices->printers().contains(device);
}

// A free name beside the drawing (or in the program's folder for a drawing
// never saved).
QString besideDrawing(Document& doc, const QString& layout)
{
    // Path() is as the program names it ("D:\\" for a drive's root)
    QString folder = paths::resolve(doc.Path());
    if (folder.isEmpty())
        folder = paths::programDir();
    const QString base = QFileInfo(doc.Name()).completeBaseName() + QLatin1Char('-') + layout;
    for (int n = 1;; ++n) {
        const QString f = QDir(folder).filePath(base + QStringLiteral("-%1").arg(n) + kPlotExtension);
        if (!QFileInfo::exists(f))
            return f;
    }
}

void record(Document& doc, const PlotPage& page)
{
    if (DocumentHost* host = doc.host())
        host->plotted(doc, page);
}

} // namespace

void setPlotDevices(PlotDevices* d)
{
    gDevices = d;
}

PlotDevices* plotDevices()
{
    return gDevices;
}

QStringList plotDeviceNames()
{
    QStringList names = gDevices ? gDevices->printers() : QStringList();
    names.removeAll(kDefaultPrinter);
    names.prepend(kDefaultPrinter);
    names.append(kPdfDevice);
    return names;
}

// ---------------------------------------------------------------- Layout

Layout::Layout(Document* doc, const QString& name, Block* block, int tab)
    : doc_(doc)
    , name_(name)
    , block_(block)
    , tab_(tab)
    , device_(kPdfDevice)
{
}

void Layout::RefreshPlotDeviceInfo()
{
    devices_ = plotDeviceNames();
}

QStringList Layout::GetPlotDeviceNames() const
{
    if (devices_.isEmpty())
        devices_ = plotDeviceNames();
    return devices_;
}

void Layout::setConfigName(const QString& device)
{
    for (const QString& d : GetPlotDeviceNames())
        if (d.compare(device, Qt::CaseInsensitive) == 0) {
            device_ = d;
            return;
        }
    fault(fail::NotFound, QStringLiteral("no plot device \"%1\"").arg(device));
}

void Layout::setPlotType(int type)
{
    if (type < 0 || type > 5)
        fault(fail::Failed, QStringLiteral("plot type %1 is out of range").arg(type));
    plotType_ = type;
}

void Layout::setStandardScale(int scale)
{
    if (scale < 0)
        fault(fail::Failed, QStringLiteral("standard scale %1 is out of range").arg(scale));
    standardScale_ = scale;
}

void Layout::SetWindowToPlot(const Pt2& a, const Pt2& b)
{
    needFinite({a.x, a.y, b.x, b.y});
    window_ = Box{};
    window_.add(a.x, a.y);
    window_.add(b.x, b.y);
}

PlotPage Layout::page() const
{
    PlotPage p;
    p.layout = name_;
    p.device = device_;
    p.block = block_;
    p.landscape = landscape;
    if (plotType_ == 4)
        p.window = window_;
    p.scale = standardScale_ == 16 ? 1 : 0; // 1:1 is a millimetre a unit; every other scale fits
    return p;
}

// ---------------------------------------------------------------- Layouts

Layouts::Layouts(Document* doc)
    : doc_(doc)
{
}

Layouts::~Layouts() = default;

void Layouts::settle() const
{
    if (!items_.empty())
        return;
    items_.push_back(std::make_unique<Layout>(doc_, QStringLiteral("Model"), &doc_->ModelSpace(), 0));
    // the paper layouts as the drawing's LAYOUT objects name them
    std::vector<std::unique_ptr<Layout>> paper;
    for (const KeptRecord& r : doc_->kept().objects) {
        if (r.type != "LAYOUT")
            continue;
        QString name;
        int tab = 0;
        quint64 record = 0;
        bool inLayout = false;
        for (const KeptGroup& g : r.groups) {
            if (g.code == 100)
                inLayout = g.value.trimmed() == "AcDbLayout";
            else if (inLayout && g.code == 1)
                name = QString::fromUtf8(g.value.trimmed());
            else if (inLayout && g.code == 71)
                tab = g.value.trimmed().toInt();
            else if (inLayout && g.code == 330)
                record = g.value.trimmed().toULongLong(nullptr, 16);
        }
        if (name.isEmpty() || name.compare(QStringLiteral("Model"), Qt::CaseInsensitive) == 0)
            continue;
        Block* block = &doc_->PaperSpace();
        for (Block* b : doc_->blocks())
            if (record && b->recordHandle == record)
                block = b;
        paper.push_back(std::make_unique<Layout>(doc_, name, block, tab));
    }
    std::stable_sort(paper.begin(), paper.end(),
                     [](const auto& a, const auto& b) { return a->TabOrder() < b->TabOrder(); });
    for (auto& l : paper)
        items_.push_back(std::move(l));
}

int Layouts::Count() const
{
    settle();
    return int(items_.size());
}

Layout& Layouts::Item(int index)
{
    settle();
    if (index < 0 || index >= int(items_.size()))
        fault(fail::NotFound, QStringLiteral("no layout %1").arg(index));
    return *items_[index];
}

Layout* Layouts::find(const QString& name)
{
    settle();
    for (auto& l : items_)
        if (l->Name().compare(name, Qt::CaseInsensitive) == 0)
            return l.get();
    return nullptr;
}

Layout& Layouts::Item(const QString& name)
{
    if (Layout* l = find(name))
        return *l;
    fault(fail::NotFound, QStringLiteral("no layout \"%1\"").arg(name));
}

// ---------------------------------------------------------------- Plot

std::vector<PlotPage> Plot::pages() const
{
    std::vector<PlotPage> out;
    if (layouts_.isEmpty()) {
        out.push_back(doc_->ActiveLayout().page());
        return out;
    }
    for (const QString& name : layouts_)
        out.push_back(doc_->Layouts().Item(name).page());
    return out;
}

bool Plot::PlotToFile(const QString& path)
{
    QString file = paths::resolve(path);
    if (path.endsWith(QLatin1Char('\\')) || path.endsWith(QLatin1Char('/')) || QFileInfo(file).isDir()) {
        QDir().mkpath(file);
        file = QDir(file).filePath(QFileInfo(doc_->Name()).completeBaseName() + kPlotExtension);
    }
    std::vector<PlotPage> ps = pages();
    for (PlotPage& p : ps)
        p.file = file;
    devices().writePdf(*doc_, ps, file);
    for (const PlotPage& p : ps)
        record(*doc_, p);
    return true;
}

QString Plot::PlotToDevice()
{
    QString written;
    for (const PlotPage& p : pages())
        if (const QString f = plotPage(*doc_, p); !f.isEmpty())
            written = f;
    return written;
}

QString plotPage(Document& doc, PlotPage page)
{
    if (page.device != kPdfDevice && systemHas(page.device)) {
        devices().print(doc, page);
        record(doc, page);
        return {};
    }
    page.file = besideDrawing(doc, page.layout);
    devices().writePdf(doc, {page}, page.file);
    record(doc, page);
    return page.file;
}

} // namespace kelvor::cad
