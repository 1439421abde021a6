#pragma once
#include "platform/windows.h"

namespace kelvor::coords {

// Adds "HuanDaiJiSuan" to the program's windows.
void registerCoordsWindows(WindowRegistry& windows);

} // namespace kelvor::coords
