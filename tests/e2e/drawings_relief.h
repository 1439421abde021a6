#pragma once
#include <QDir>

// relief.dxf: contours, elevation notes, control points and their CASS annotation.
void reliefDrawing(const QDir& folder);
