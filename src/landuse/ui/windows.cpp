#include "landuse/ui/windows.h"

#include "app/ui/windows.h"
#include "landuse/ui/out_excelx.h"

namespace kelvor::landuse {

void registerLanduseWindows(app::WindowRegistry& windows)
{
    windows.addWindow<OutExcelx>(QStringLiteral("outExcelx"));
}

} // namespace kelvor::landuse
