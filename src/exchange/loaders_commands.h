#pragma once

#include <QString>

namespace kelvor {
class CommandRegistry;
class Context;
} // namespace kelvor

namespace kelvor::traverse {
class TraverseSheet;
} // namespace kelvor::traverse

namespace kelvor::exchange {

// The three field-data loaders by their menu items: APPLOADPCY, callcassdx,
// callcassdxmenu, removekzjlsj and outcordnumber (quick_call_next(3) passes
// on to outcordnumber).
void registerLoaderCommands(CommandRegistry& registry);

// The known-point lookup every loader ends with: X, Y and H of the four
// known points from the user's known-points file.
void runKnownPointLookup(Context& ctx);

// Moves the name and angle of the last of fewer than 13 stations into the
// last-station cells (the thirteenth already sits there).
void moveToLastStation(traverse::TraverseSheet& sheet, int stations);

} // namespace kelvor::exchange
