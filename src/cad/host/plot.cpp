#include "plot.h"

#include "cad/host/application.h"
#include "cad/model/document.h"
#include "cad/ui/cad_scene.h"
#include "platform/errors.h"
#include "platform/paths.h"

#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSaveFile>
#include <QTemporaryFile>

#include <algorithm>

namespace kelvor::cad {

namespace {

// Paper when nothing else is said: A4, as the page windows of the program's
// scripts are laid out for it.
const QPageSize kPaper(QPageSize::A4);

QStringList systemPrinters()
{
    return QPrinterInfo::availablePrinterNames();
}

bool systemHas(const QString& device)
{
    if (device == kDefaultPrinter)
        return !QPrinterInfo::defaultPrinter().isNull();
    return systemPrinters().contains(device);
}

// Drawing units to the page: the window (or the extents) fitted, or at the
// page's scale, centred on the printable area.
ViewTransform pageView(DrawingScene& scene, const PlotPage& page, const QRectF& area)
{
    Box box = page.window;
    if (!box.valid())
        box = scene.extents();
    ViewTransform v;
    v.width = std::max(1, int(area.width()));
    v.height = std::max(1, int(area.height()));
    if (!box.valid())
        return v;
    v.fit(box);
    return v;
}

void drawPage(QPainter& painter, Document& doc, const PlotPage& page, const QRectF& area, double unitsPerMm)
{
    DrawingScene scene;
    scene.setDocument(&doc, page.block);
    scene.setPaper(true);
    ViewTransform v = pageView(scene, page, area);
    if (page.scale > 0 && unitsPerMm > 0)
        v.scale = page.scale * unitsPerMm; // device pixels per drawing unit
    painter.save();
    painter.translate(area.topLeft());
    painter.setClipRect(QRectF(0, 0, area.width(), area.height()));
    scene.render(painter, v);
    painter.restore();
}

// A free file name beside the drawing for a plot of a device the system
// lacks: "<drawing>-<layout>-<n>.pdf", n from 1.
QString besideDrawing(Document& doc, const QString& layout)
{
    QString folder = doc.Path();
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
    if (Application* app = doc.application())
        app->notePlot(page);
}

} // namespace

QStringList plotDeviceNames()
{
    QStringList names = systemPrinters();
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
    p.scale = standardScale_ == 16 ? 1 : 0; // 1:1, one millimetre per unit; anything else is fitted
    return p;
}

// ---------------------------------------------------------------- Layouts

Layouts::Layouts(Document* doc)
    : doc_(doc)
{
}

void Layouts::settle()
{
    if (!items_.empty())
        return;
    items_.push_back(std::make_unique<Layout>(doc_, QStringLiteral("Model"), &doc_->ModelSpace(), 0));
    // the drawing's paper layouts, as its LAYOUT objects name them
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
        Block* block = nullptr;
        if (doc_->PaperSpace().recordHandle == record)
            block = &doc_->PaperSpace();
        for (Block* b : doc_->blocks())
            if (b->recordHandle == record)
                block = b;
        if (!block)
            block = &doc_->PaperSpace();
        paper.push_back(std::make_unique<Layout>(doc_, name, block, tab));
    }
    std::stable_sort(paper.begin(), paper.end(), [](const auto& a, const auto& b) { return a->TabOrder() < b->TabOrder(); });
    for (auto& l : paper)
        items_.push_back(std::move(l));
}

int Layouts::Count() const
{
    const_cast<Layouts*>(this)->settle();
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
    writePdf(*doc_, ps, file);
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
    if (page.device != kPdfDevice && printPage(doc, page)) {
        record(doc, page);
        return {};
    }
    page.file = besideDrawing(doc, page.layout);
    writePdf(doc, {page}, page.file);
    record(doc, page);
    return page.file;
}

// ---------------------------------------------------------------- output

void writePdf(Document& doc, const std::vector<PlotPage>& pages, const QString& nativePath)
{
    const QFileInfo target(nativePath);
    if (!QDir().mkpath(target.absolutePath()))
        fault(fail::Failed, QStringLiteral("cannot make the folder of \"%1\"").arg(nativePath));
    // written beside the target, then put in its place: no half-written plot
    QTemporaryFile temp(target.absoluteFilePath() + QStringLiteral(".XXXXXX"));
    if (!temp.open())
        fault(fail::Failed, QStringLiteral("cannot write \"%1\"").arg(nativePath));
    {
        QPdfWriter pdf(&temp);
        pdf.setResolution(300);
        pdf.setCreator(QStringLiteral("Kelvor"));
        QPainter painter;
        for (size_t i = 0; i < pages.size(); ++i) {
            const QPageLayout::Orientation o = pages[i].landscape ? QPageLayout::Landscape : QPageLayout::Portrait;
            pdf.setPageLayout(QPageLayout(kPaper, o, QMarginsF(5, 5, 5, 5), QPageLayout::Millimeter));
            if (i == 0) {
                if (!painter.begin(&pdf))
                    fault(fail::Failed, QStringLiteral("cannot write \"%1\"").arg(nativePath));
            } else {
                pdf.newPage();
            }
            const QRectF area(0, 0, pdf.width(), pdf.height());
            drawPage(painter, doc, pages[i], area, pdf.resolution() / 25.4);
        }
        painter.end();
    }
    temp.close();
    QFile::remove(target.absoluteFilePath());
    if (!temp.rename(target.absoluteFilePath()))
        fault(fail::Failed, QStringLiteral("cannot write \"%1\"").arg(nativePath));
    temp.setAutoRemove(false);
}

bool printPage(Document& doc, const PlotPage& page)
{
    if (!systemHas(page.device))
        return false;
    const QPrinterInfo info = page.device == kDefaultPrinter ? QPrinterInfo::defaultPrinter()
                                                             : QPrinterInfo::printerInfo(page.device);
    QPrinter printer(info, QPrinter::HighResolution);
    printer.setPageOrientation(page.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    drawPage(painter, doc, page, QRectF(0, 0, printer.width(), printer.height()), printer.resolution() / 25.4);
    return painter.end();
}

QImage renderPlotPage(Document& doc, const PlotPage& page, const QSize& size)
{
    QImage img(size, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter painter(&img);
    drawPage(painter, doc, page, QRectF(QPointF(0, 0), QSizeF(size)), 0);
    painter.end();
    return img;
}

const std::vector<PlotPage>& plotRecord(Application& app)
{
    return app.plots();
}

} // namespace kelvor::cad
