#include "cad/ui/plot_output.h"

#include "cad/model/document.h"
#include "cad/ui/cad_scene.h"
#include "platform/errors.h"
#include "platform/text_file.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>

namespace kelvor {

namespace {

// A4, as the page windows of the program's print scripts are laid out for it.
const QPageSize kPaper(QPageSize::A4);

// The window (or the extents) fitted to the area, or at the page's scale
// (paper millimetres per unit) when it has one, centred.
void drawPage(QPainter& painter, cad::Document& doc, const cad::PlotPage& page, const QRectF& area,
              double pixelsPerMm)
{
    DrawingScene scene;
    scene.setDocument(&doc, page.block);
    scene.setPaper(true);
    ViewTransform v;
    v.width = std::max(1, int(area.width()));
    v.height = std::max(1, int(area.height()));
    v.fit(page.window.valid() ? page.window : scene.extents());
    if (page.scale > 0 && pixelsPerMm > 0)
        v.scale = page.scale * pixelsPerMm;
    painter.save();
    painter.translate(area.topLeft());
    painter.setClipRect(QRectF(0, 0, area.width(), area.height()));
    scene.render(painter, v);
    painter.restore();
}

QPageLayout layoutOf(const cad::PlotPage& page)
{
    return QPageLayout(kPaper, page.landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                       QMarginsF(5, 5, 5, 5), QPageLayout::Millimeter);
}

class Devices : public cad::PlotDevices {
public:
    QStringList printers() const override { return QPrinterInfo::availablePrinterNames(); }
    bool hasDefaultPrinter() const override { return !QPrinterInfo::defaultPrinter().isNull(); }

    void print(cad::Document& doc, const cad::PlotPage& page) override
    {
        const QPrinterInfo info = page.device == cad::kDefaultPrinter ? QPrinterInfo::defaultPrinter()
                                                                      : QPrinterInfo::printerInfo(page.device);
        QPrinter printer(info, QPrinter::HighResolution);
        printer.setPageLayout(layoutOf(page));
        QPainter painter;
        if (!painter.begin(&printer))
            cad::fault(cad::fail::Failed, QStringLiteral("the printer \"%1\" cannot print").arg(page.device));
        drawPage(painter, doc, page, QRectF(0, 0, printer.width(), printer.height()), printer.resolution() / 25.4);
        painter.end();
    }

    void writePdf(cad::Document& doc, const std::vector<cad::PlotPage>& pages, const QString& nativePath) override
    {
        const QFileInfo target(nativePath);
        if (pages.empty())
            cad::fault(cad::fail::Failed, QStringLiteral("no page to plot to \"%1\"").arg(nativePath));
        if (!QDir().mkpath(target.absolutePath()))
            raise(err::PathFileAccess);
        // The whole plot is made in memory and checked before it replaces the
        // old one, so a failed plot leaves the earlier file as it was.
        QBuffer pdfBytes;
        pdfBytes.open(QIODevice::WriteOnly);
        {
            QPdfWriter pdf(&pdfBytes);
            pdf.setResolution(300);
            pdf.setCreator(QStringLiteral("Kelvor"));
            QPainter painter;
            for (size_t i = 0; i < pages.size(); ++i) {
                pdf.setPageLayout(layoutOf(pages[i]));
                if (i == 0 ? !painter.begin(&pdf) : !pdf.newPage())
                    cad::fault(cad::fail::Failed, QStringLiteral("cannot plot to \"%1\"").arg(nativePath));
                drawPage(painter, doc, pages[i], QRectF(0, 0, pdf.width(), pdf.height()), pdf.resolution() / 25.4);
            }
            if (!painter.end())
                cad::fault(cad::fail::Failed, QStringLiteral("cannot plot to \"%1\"").arg(nativePath));
        }
        writeFileBytes(target.absoluteFilePath(), pdfBytes.data());
    }
};

} // namespace

void installPlotDevices()
{
    static Devices devices;
    cad::setPlotDevices(&devices);
}

QImage renderPlotPage(cad::Document& doc, const cad::PlotPage& page, const QSize& size)
{
    QImage img(size, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter painter(&img);
    drawPage(painter, doc, page, QRectF(QPointF(0, 0), QSizeF(size)), 0);
    painter.end();
    return img;
}

} // namespace kelvor
