#pragma once

namespace kelvor {
class CommandRegistry;
}

namespace kelvor::quelt {

// Items of the second set of Quelt tools. They are all buttons of the quelt
// window, which calls Command60_Click, Command7_Click, Command14_Click,
// Command15_Click, Command19_Click and Command4_Click directly; nothing is
// added to the main window's registry.
void registerQuelt2Commands(CommandRegistry& registry);

} // namespace kelvor::quelt

namespace kelvor {
using quelt::registerQuelt2Commands;
}
