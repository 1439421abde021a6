#include "windows.h"

#include "huandaijisuan.h"

namespace kelvor::coords {

void registerCoordsWindows(app::WindowRegistry& windows)
{
    windows.add(QStringLiteral("HuanDaiJiSuan"), [](Context& ctx, QWidget* mainWindow) {
        showHuanDaiJiSuan(ctx, mainWindow);
    });
}

} // namespace kelvor::coords
