#include "windows.h"

#include "jhb.h"

namespace kelvor::sheets {

void registerSheetsWindows(WindowRegistry& windows)
{
    windows.addWindow<JhbWindow>(QStringLiteral("jhb"));
}

} // namespace kelvor::sheets
