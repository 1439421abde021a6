#pragma once

namespace kelvor {
class CommandRegistry;
}

namespace kelvor::sheets {

// The map-sheet items of the menus CASS开发, 工程内业 and AutoCAD辅助.
void registerSheetsCommands(CommandRegistry& registry);

} // namespace kelvor::sheets
