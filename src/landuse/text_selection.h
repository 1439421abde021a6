#pragma once
#include <vector>

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

} // namespace kelvor::landuse
