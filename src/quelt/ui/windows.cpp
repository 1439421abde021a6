#include "windows.h"

#include "quelt_window.h"

namespace kelvor::quelt {

void registerQueltWindows(WindowRegistry& windows)
{
    windows.addWindow<QueltWindow>(QStringLiteral("quelt"));
}

} // namespace kelvor::quelt
