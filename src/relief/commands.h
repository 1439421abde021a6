#pragma once

namespace kelvor {
class CommandRegistry;
}

namespace kelvor::relief {

// The relief and map-check items of the main window: 高程检查.
void registerReliefCommands(CommandRegistry& registry);

} // namespace kelvor::relief
