#include "landuse/text_selection.h"

#include "cad/cad.h"
#include "cad/kit/routines.h"

namespace kelvor::landuse {

std::vector<cad::Entity*> selectTextsOnScreen(cad::Application& app, cad::Document& doc)
{
    std::vector<cad::Entity*> texts;
    cad::attempt([&] {
        cad::SelectionSet& set = cad::ScratchSelectionSet(doc, QStringLiteral("text"));
        cad::attempt([&] { app.activate(app.Caption()); });
        cad::attempt([&] { app.setWindowState(3); });
        set.SelectOnScreen(cad::BuildFilter({0, QStringLiteral("text")}));
        texts = set.entities();
    });
    return texts;
}

PickedTexts connectAndPickTexts(Context& ctx, bool sayWhenNone)
{
    cad::Application* app = nullptr;
    cad::Document* doc = cad::ConnectToDrawing(ctx, app, {cad::Forward::Visible});
    if (!doc)
        return {};
    PickedTexts picked{doc, selectTextsOnScreen(*app, *doc)};
    if (picked.texts.empty() && sayWhenNone)
        cad::attempt([&] { doc->Utility().Prompt(QStringLiteral("没有选择的文字")); });
    return picked;
}

} // namespace kelvor::landuse
