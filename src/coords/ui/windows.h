#pragma once
#include "app/ui/windows.h"

namespace kelvor::coords {

// Adds "HuanDaiJiSuan" to the program's windows.
void registerCoordsWindows(app::WindowRegistry& windows);

} // namespace kelvor::coords
