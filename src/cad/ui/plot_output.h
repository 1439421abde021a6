#pragma once
// The paper of the host's plots: PDF pages and the system's printers, drawn
// by the window's renderer.
#include "cad/model/layouts.h"

#include <QImage>
#include <QSize>

namespace kelvor {

// Makes this process's plots go to paper (once; later calls change nothing).
void installPlotDevices();

// The page drawn as a plot draws it, on white paper of the size in pixels.
QImage renderPlotPage(cad::Document& doc, const cad::PlotPage& page, const QSize& size);

} // namespace kelvor
