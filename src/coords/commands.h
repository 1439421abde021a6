#pragma once

namespace kelvor {
class CommandRegistry;
}

namespace kelvor::coords {

// The coordinate and survey data items: "fangshi2zbzh" opens the window
// "HuanDaiJiSuan" through Context::openWindow; the 图形换带 items run the
// exchange-file route; the E500 and CASS items, the point scripts, the GPS
// result items and the batch route plotting run their commands.
void registerCoordsCommands(CommandRegistry& registry);

} // namespace kelvor::coords

namespace kelvor {
using coords::registerCoordsCommands;
}
