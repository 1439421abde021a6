#pragma once

namespace kelvor {
class CommandRegistry;

// The PCY office tools on files, by their menu item names.
void registerExchangeCommands(CommandRegistry& registry);

} // namespace kelvor
