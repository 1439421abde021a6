#include "landuse/ui/windows.h"

#include "platform/windows.h"
#include "landuse/ui/out_excelx.h"
#include "landuse/ui/frmzb.h"
#include "landuse/ui/dilei.h"

namespace kelvor::landuse {

void registerLanduseWindows(WindowRegistry& windows)
{
    windows.addWindow<OutExcelx>(QStringLiteral("outExcelx"));
    windows.addWindow<Frmzb>(QStringLiteral("frmzb"));
    windows.addWindow<Dilei>(QStringLiteral("dilei"));
}

} // namespace kelvor::landuse
