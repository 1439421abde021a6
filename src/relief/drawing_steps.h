#pragma once
// The passed-over steps the relief drawing commands share: once connected,
// a call the host refuses is skipped and the command goes on.
#include "cad/cad.h"

#include <QString>
#include <vector>

namespace kelvor::relief {

using cad::attempt;

// A command-line text, shown when the host lets it.
void prompt(cad::Application& app, const QString& text);

// The members of the set, none when it is missing or refuses.
std::vector<cad::Entity*> members(cad::SelectionSet* set);

// A fresh set of that name in the active drawing (null when refused).
cad::SelectionSet* scratchSet(cad::Application& app, const QString& name);

// A fresh set "text" filled with every entity of the drawing the filter
// admits; its members.
std::vector<cad::Entity*> selectAll(cad::Application& app, const cad::SelectionFilter& filter);

} // namespace kelvor::relief
