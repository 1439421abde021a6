#pragma once
#include <QString>
#include <QStringList>

namespace kelvor {
class CommandRegistry;
}

namespace kelvor::app {

// Every item the main window offers besides its menus: the sheet frame's
// buttons, the known-point label, the launcher panel's pictures and labels.
struct ExtraItem {
    QString key;
    QString caption; // what the placeholder message names
    bool shown = true; // false: reachable by name only (tests, kelvor-run)
};
const QList<ExtraItem>& extraItems();

// A placeholder for every item of every subsystem, so that each one runs
// and says plainly that it is not available yet.
void registerPlaceholders(CommandRegistry& registry);
// The shell's own commands: start-up/quit, the help and About items, the
// output menu, and the launcher and quick-popup items that only pass on to
// another item or open a window.
void registerShellCommands(CommandRegistry& registry);
// The one place where every subsystem's commands come in: placeholders
// first, then the shell, then each register<Sub>Commands, which replace the
// placeholders of what they build.
void registerAllCommands(CommandRegistry& registry);

} // namespace kelvor::app
