#pragma once

namespace kelvor {
class CommandRegistry;
}

namespace kelvor::landuse {

// The land-use items of the main window: 输出面积到Excel (outExcelx).
void registerLanduseCommands(CommandRegistry& registry);

} // namespace kelvor::landuse
