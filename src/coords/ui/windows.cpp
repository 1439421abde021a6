#include "windows.h"

#include "huandaijisuan.h"

namespace kelvor::coords {

void registerCoordsWindows(WindowRegistry& windows)
{
    windows.addWindow<HuanDaiJiSuan>(QStringLiteral("HuanDaiJiSuan"));
}

} // namespace kelvor::coords
