#include "windows.h"

#include "quelt_window.h"

namespace kelvor::quelt {

void registerQueltWindows(app::WindowRegistry& windows)
{
    windows.addWindow<QueltWindow>(QStringLiteral("quelt"));
}

} // namespace kelvor::quelt
