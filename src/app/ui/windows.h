#pragma once
#include "platform/windows.h"

namespace kelvor::app {

// Every window of every subsystem that exists so far.
void registerAllWindows(WindowRegistry& windows);

} // namespace kelvor::app
