#include "app/ui/windows.h"

#include "float_bar.h"

#include "app/tools/ui/windows.h"
#include "coords/ui/windows.h"
#include "drafting/ui/windows.h"
#include "landuse/ui/windows.h"
#include "quelt/ui/windows.h"
#include "sheets/ui/windows.h"
#include "platform/context.h"


namespace kelvor::app {

void registerAllWindows(WindowRegistry& windows)
{
    // One call per subsystem's ui library.
    coords::registerCoordsWindows(windows);
    tools::registerToolWindows(windows);
    registerBarWindows(windows);
    quelt::registerQueltWindows(windows);
    sheets::registerSheetsWindows(windows);
    landuse::registerLanduseWindows(windows);
    drafting::registerDraftingWindows(windows);
}

} // namespace kelvor::app
