#pragma once
#include "platform/windows.h"

namespace kelvor::quelt {

// Adds "quelt" to the program's windows.
void registerQueltWindows(WindowRegistry& windows);

} // namespace kelvor::quelt
