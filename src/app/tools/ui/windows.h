#pragma once

namespace kelvor::app {
class WindowRegistry;
}

namespace kelvor::tools {

// Adds "seting", "Form2", "tool" and "addtext" to the shell's windows.
void registerToolWindows(app::WindowRegistry& windows);

} // namespace kelvor::tools
