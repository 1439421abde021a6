#include "relief/drawing_steps.h"

namespace kelvor::relief {

void prompt(cad::Application& app, const QString& text)
{
    attempt([&] { app.ActiveDocument().Utility().Prompt(text); });
}

std::vector<cad::Entity*> members(cad::SelectionSet* set)
{
    std::vector<cad::Entity*> out;
    if (set)
        attempt([&] { out = set->entities(); });
    return out;
}

cad::SelectionSet* scratchSet(cad::Application& app, const QString& name)
{
    cad::SelectionSet* set = nullptr;
    attempt([&] { set = &cad::ScratchSelectionSet(app.ActiveDocument(), name); });
    return set;
}

std::vector<cad::Entity*> selectAll(cad::Application& app, const cad::SelectionFilter& filter)
{
    cad::SelectionSet* set = scratchSet(app, QStringLiteral("text"));
    if (set)
        attempt([&] { set->Select(cad::SelectAll, {}, {}, filter); });
    return members(set);
}

} // namespace kelvor::relief
