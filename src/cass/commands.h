#pragma once

namespace kelvor {
class CommandRegistry;
class Context;
}

namespace kelvor::cass {

// The CASS开发 items of this subsystem, one line each.
void registerCassCommands(CommandRegistry& registry);

// Run by the drawing quality control exactly as from the menu: each
// connects, asks and reports by itself and returns nothing.
void addassist_Click(Context& ctx);
void fdsfdsfdsfdsf_Click(Context& ctx);

} // namespace kelvor::cass
