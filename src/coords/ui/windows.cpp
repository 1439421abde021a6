#include "windows.h"

#include "huandaijisuan.h"
#include "zbfy.h"

namespace kelvor::coords {

void registerCoordsWindows(WindowRegistry& windows)
{
    windows.addWindow<HuanDaiJiSuan>(QStringLiteral("HuanDaiJiSuan"));
    // shown without waiting: the window stays loaded between two openings
    windows.addBuilder(QStringLiteral("zbfy"), loadZbfy, false);
}

} // namespace kelvor::coords
