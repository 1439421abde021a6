#pragma once
#include <QString>
#include <QStringList>
#include <functional>
#include <map>

namespace kelvor {

class Context;

// Every command of every subsystem, keyed by the name of the menu item,
// button or control that runs it ("massboss", "Command37", "filelist(1)"
// for element 1 of a menu array). Menus, toolbar, launcher, quick popup,
// floating bar and the scenario runner all run commands through it.
// Each subsystem adds its own in register<Subsystem>Commands(registry).
class CommandRegistry {
public:
    using Handler = std::function<void(Context&)>;

    // Adds or replaces the handler of an item.
    void add(const QString& item, Handler handler);
    // An item whose command is not built yet: running it says so.
    void addPlaceholder(const QString& item, const QString& caption = QString());

    bool has(const QString& item) const;
    bool isPlaceholder(const QString& item) const;
    QStringList items() const;
    // Runs the item's handler; false when no such item is registered.
    bool run(const QString& item, Context& ctx) const;

private:
    struct Entry {
        Handler handler;
        bool placeholder = false;
    };
    std::map<QString, Entry> entries_;
};

} // namespace kelvor
