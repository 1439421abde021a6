#pragma once
#include <QString>
#include <functional>
#include <map>

class QWidget;

namespace kelvor {

class Context;

// The program's secondary windows by form name ("seting", "Form2",
// "HuanDaiJiSuan", ...), opened through Context::openWindow. Each subsystem's
// ui library adds its windows in register<Sub>Windows(WindowRegistry&),
// called from registerAllWindows. A form not added yet says so when opened.
class WindowRegistry {
public:
    // Shows the window (modal as its caller expects) and returns when the
    // caller may go on. mainWindow is the owner for windows that have one.
    using Factory = std::function<void(Context& ctx, QWidget* mainWindow)>;
    // Makes the window, not shown yet; the caller owns it.
    using Builder = std::function<QWidget*(Context& ctx, QWidget* owner)>;

    void add(const QString& form, Factory factory) { factories_[form] = std::move(factory); }
    // A window the registry makes itself: open() shows a dialog modal and
    // returns when it closes (another widget is shown and left open), and
    // kelvor-run can show it without blocking.
    void addBuilder(const QString& form, Builder builder, bool modal = true)
    {
        builders_[form] = {std::move(builder), modal};
    }
    // W(Context&, QWidget* owner).
    template <class W>
    void addWindow(const QString& form, bool modal = true)
    {
        addBuilder(form, [](Context& ctx, QWidget* owner) -> QWidget* { return new W(ctx, owner); }, modal);
    }
    bool has(const QString& form) const { return factories_.count(form) != 0 || builders_.count(form) != 0; }
    // True when build() can make the form.
    bool buildable(const QString& form) const { return builders_.count(form) != 0; }
    void open(const QString& form, Context& ctx, QWidget* mainWindow) const;
    // The form made but not shown; null when it has no builder.
    QWidget* build(const QString& form, Context& ctx, QWidget* owner) const;

private:
    struct BuilderEntry {
        Builder build;
        bool modal = true;
    };
    std::map<QString, Factory> factories_;
    std::map<QString, BuilderEntry> builders_;
};

} // namespace kelvor
