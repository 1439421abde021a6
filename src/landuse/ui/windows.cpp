#include "landuse/ui/windows.h"

#include "platform/windows.h"
#include "landuse/ui/out_excelx.h"

namespace kelvor::landuse {

void registerLanduseWindows(WindowRegistry& windows)
{
    windows.addWindow<OutExcelx>(QStringLiteral("outExcelx"));
}

} // namespace kelvor::landuse
