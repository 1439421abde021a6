#pragma once
#include "app/ui/windows.h"

namespace kelvor::quelt {

// Adds "quelt" to the program's windows.
void registerQueltWindows(app::WindowRegistry& windows);

} // namespace kelvor::quelt
