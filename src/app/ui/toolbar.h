#pragma once
#include <QString>

namespace kelvor::app {

class Form1;

// Fills the main window's Toolbar1: eleven buttons identified by their key
// (the action's objectName), in four groups; button 7 drops down five
// entries that run nothing.
void installToolbar1(Form1& form);
// Toolbar1_ButtonClick: the key's registry item, or the compact switch.
void toolbarButtonClick(Form1& form, const QString& key);
// The compact-mode switch of the key "参数设定", decided by Toolbar1.Tag
// alone: caption, outer height and always-on-top change; left, top and
// width stay.
void switchCompactMode(Form1& form);

} // namespace kelvor::app
