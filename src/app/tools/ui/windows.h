#pragma once

namespace kelvor {
class WindowRegistry;
}

namespace kelvor::tools {

// Adds "seting", "Form2", "tool" and "addtext" to the shell's windows.
void registerToolWindows(WindowRegistry& windows);

} // namespace kelvor::tools
