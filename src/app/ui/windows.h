#pragma once
#include <QString>
#include <functional>
#include <map>

class QWidget;

namespace kelvor {
class Context;
}

namespace kelvor::app {

// The program's secondary windows by form name ("seting", "Form2",
// "HuanDaiJiSuan", ...), opened through Context::openWindow. Each subsystem's
// ui library adds its windows in register<Sub>Windows(WindowRegistry&),
// called from registerAllWindows. A form not added yet says so when opened.
class WindowRegistry {
public:
    // Shows the window (modal as its caller expects) and returns when the
    // caller may go on. mainWindow is the owner for windows that have one.
    using Factory = std::function<void(Context& ctx, QWidget* mainWindow)>;

    void add(const QString& form, Factory factory) { factories_[form] = std::move(factory); }
    bool has(const QString& form) const { return factories_.count(form) != 0; }
    void open(const QString& form, Context& ctx, QWidget* mainWindow) const;

private:
    std::map<QString, Factory> factories_;
};

// Every window of every subsystem that exists so far.
void registerAllWindows(WindowRegistry& windows);

} // namespace kelvor::app
