#pragma once
#include <QString>
#include <array>

namespace kelvor {
class Context;
}

namespace kelvor::tools {

// What the settings dialog `seting` shows and stores: the boxes Text28(0..13),
// the result format options Option1 (0..2 for 格式1..格式3) and the floating
// bar options Option3 (0 南方菜单, 1 工程内业, 2 工 具).
struct SetingValues {
    std::array<QString, 14> text28;
    int format = 0;
    int floatMenu = 0;
};

// The settings each box shows, in the order finddx fills them.
struct SetingBox {
    int index;   // Text28(index)
    QString key; // the setting shown
};
const std::array<SetingBox, 14>& setingBoxes();

// Fills the values from the store. On a store that cannot be read: shows
// the dialog's message and stops, the values not reached left as they
// were; returns false.
bool finddx(Context& ctx, SetingValues& values);

// "确定&D": stores every box trimmed of blanks, in the dialog's order, and
// sets Form1's Tag from the floating bar options. A store that cannot be
// written gets the dialog's message and leaves the Tag; returns false.
bool storeSeting(Context& ctx, const SetingValues& values);

} // namespace kelvor::tools
