#pragma once

namespace kelvor {
class CommandRegistry;
}

namespace kelvor::quelt {

// The Quelt items of the main window: "Command12" (转换到Quelt格式). The
// window itself opens through the launcher item "Picture2(2)".
void registerQueltCommands(CommandRegistry& registry);

} // namespace kelvor::quelt

namespace kelvor {
using quelt::registerQueltCommands;
}
