#include "windows.h"

#include "jhb.h"

namespace kelvor::sheets {

void registerSheetsWindows(app::WindowRegistry& windows)
{
    windows.addWindow<JhbWindow>(QStringLiteral("jhb"));
}

} // namespace kelvor::sheets
