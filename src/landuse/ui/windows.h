#pragma once

namespace kelvor::app {
class WindowRegistry;
}

namespace kelvor::landuse {

// The land-use windows: outExcelx.
void registerLanduseWindows(app::WindowRegistry& windows);

} // namespace kelvor::landuse
