#pragma once

namespace kelvor {
class CommandRegistry;
}

namespace kelvor::coords {

// The coordinate conversion items of the 转换 menu: "fangshi2zbzh" opens the
// window "HuanDaiJiSuan" through Context::openWindow; the three items of
// the 图形换带 submenu run the exchange-file route.
void registerCoordsCommands(CommandRegistry& registry);

} // namespace kelvor::coords

namespace kelvor {
using coords::registerCoordsCommands;
}
