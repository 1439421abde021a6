#pragma once

namespace kelvor {
class CommandRegistry;
}

namespace kelvor::drafting {

// The AutoCAD辅助 drafting items, one line each.
void registerDraftingCommands(CommandRegistry& registry);

} // namespace kelvor::drafting
