#pragma once
#include "cad/model/document.h"

namespace kelvor::cad {

// A new drawing file of copies of the entities with every layer, linetype,
// text style, block and application they use, base point the origin.
// Fails without entities; an existing file is replaced whole or kept.
void writeEntitiesAsDrawing(Document& doc, const QString& path, const std::vector<Entity*>& entities);

} // namespace kelvor::cad
