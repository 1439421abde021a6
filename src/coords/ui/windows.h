#pragma once
#include "app/ui/windows.h"

namespace kelvor::coords {

// Adds "HuanDaiJiSuan" and "zbfy" to the program's windows.
void registerCoordsWindows(app::WindowRegistry& windows);

} // namespace kelvor::coords
