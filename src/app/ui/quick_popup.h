#pragma once

namespace kelvor::app {

class Form1;

// The right mouse button on the sheet's adjustment button Command37 pops up
// the menu quick_call at the pointer; its items run through the registry.
void installQuickPopup(Form1& form);

} // namespace kelvor::app
