#pragma once
#include <QString>

namespace kelvor {
class Context;
}

namespace kelvor::exchange {

// What the file commands of this folder share: asking for one file the way
// their dialogs are set up, and the bare failure-number message text.

// Shows the main window's shared open dialog for one file; the chosen path
// trimmed, "" when the user cancelled.
QString chooseOneFile(Context& ctx, const QString& title, const QString& filter);

// A failure number as these commands print it on its own ("62").
QString failureNumber(int number);

} // namespace kelvor::exchange
