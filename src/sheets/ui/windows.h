#pragma once
#include "platform/windows.h"

namespace kelvor::sheets {

// Adds "jhb" to the program's windows.
void registerSheetsWindows(WindowRegistry& windows);

} // namespace kelvor::sheets
