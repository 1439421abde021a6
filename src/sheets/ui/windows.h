#pragma once
#include "app/ui/windows.h"

namespace kelvor::sheets {

// Adds "jhb" to the program's windows.
void registerSheetsWindows(app::WindowRegistry& windows);

} // namespace kelvor::sheets
