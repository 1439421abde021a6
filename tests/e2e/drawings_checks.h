#pragma once
#include <QDir>

// qc.dxf: the drawing of the quality-control and plotted-point scenarios.
void qcDrawing(const QDir& folder);
