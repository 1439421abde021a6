#pragma once
#include <QList>
#include <QString>

namespace kelvor::app {

// One entry of the main window's menus as the user sees it. Items of a menu
// array share a name and differ by index (-1 for plain items).
struct MenuItem {
    QString name;
    int index = -1;
    QString caption;     // "&" marks the access key; "-" is a separator
    bool checked = false;
    bool enabled = true;
    bool shown = true;   // false: present and runnable, but not in the menu
    QString shortcut;    // QKeySequence text: "Ctrl+S", "F12"
    QString owner;       // subsystem folder that handles it; "" for none
    QList<MenuItem> children; // non-empty for a submenu

    bool isSeparator() const { return caption == QLatin1String("-"); }
    bool isSubmenu() const { return !children.isEmpty(); }
    // The registry key: "massboss", "filelist(1)".
    QString key() const;
};

// "name" or "name(index)".
QString itemKey(const QString& name, int index = -1);

// The menu bar in order: each entry is a top menu whose children are its items.
const QList<MenuItem>& menuBar();
// The popup "快捷功能" (quick_call), never shown in the menu bar.
const MenuItem& quickCallMenu();

// Every item that runs a handler (no separators, submenus or headings),
// menu bar first, then the popup, in menu order.
QList<const MenuItem*> commandItems();

} // namespace kelvor::app
