#pragma once
#include <QDir>

// Writes parcels.dxf into the folder.
void landuseParcels(const QDir& folder);
