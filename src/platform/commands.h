#pragma once
#include <QString>
#include <QStringList>
#include <functional>
#include <map>
#include <stdexcept>

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

    // Adds the handler of an item. An item has one handler: a second one
    // for the same name is a programming error (std::logic_error); only a
    // placeholder gives way, once.
    void add(const QString& item, Handler handler);
    // Stands another handler in for a registered one (tests put recorders
    // in place of commands this way); fails for an unknown item.
    void substitute(const QString& item, Handler handler);
    // An item whose command is not built yet: running it says so.
    void addPlaceholder(const QString& item, const QString& caption = QString());

    // The subsystem (its folder's name) whose handlers add() records next.
    void setOwner(const QString& subsystem) { owner_ = subsystem; }
    // Who registered the item's handler; "" for a placeholder or none.
    QString owner(const QString& item) const;

    bool has(const QString& item) const;
    bool isPlaceholder(const QString& item) const;
    QStringList items() const;
    // Runs the item's handler; false when no such item is registered.
    bool run(const QString& item, Context& ctx) const;

private:
    struct Entry {
        Handler handler;
        bool placeholder = false;
        QString owner;
    };
    std::map<QString, Entry> entries_;
    QString owner_;
};

} // namespace kelvor
