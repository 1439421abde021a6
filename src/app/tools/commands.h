#pragma once

namespace kelvor {
class CommandRegistry;
}

namespace kelvor::tools {

// The text-file utilities of the 文件 and 工具 menus, by their item names.
// The tool windows open through the window registry (tools/ui/windows.h).
void registerToolCommands(CommandRegistry& registry);

} // namespace kelvor::tools
