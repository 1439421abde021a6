#pragma once
#include <vector>

namespace kelvor {
class Context;
}
namespace kelvor::cad {
class Application;
class Document;
class Entity;
} // namespace kelvor::cad

namespace kelvor::landuse {

// The person's on-screen selection of single-line texts into the scratch
// set "text", the host brought to the front and maximised first; empty
// when nothing is selected or the selection fails.
std::vector<cad::Entity*> selectTextsOnScreen(cad::Application& app, cad::Document& doc);

// Connects (the host made visible; the standard message when none runs) and
// takes the person's texts as above; with sayWhenNone an empty pick is told
// as "没有选择的文字". No texts: the command ends.
struct PickedTexts {
    cad::Document* doc = nullptr;
    std::vector<cad::Entity*> texts;
};
PickedTexts connectAndPickTexts(Context& ctx, bool sayWhenNone);

} // namespace kelvor::landuse
