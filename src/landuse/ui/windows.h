#pragma once

namespace kelvor {
class WindowRegistry;
}

namespace kelvor::landuse {

// The land-use windows: outExcelx.
void registerLanduseWindows(WindowRegistry& windows);

} // namespace kelvor::landuse
