#pragma once
#include "platform/cad/document.h"

#include <set>

namespace kelvor::cad {

// The named objects entities use, upper-cased: their layers (and those
// layers' linetypes), own linetypes, text styles, blocks (with everything
// the blocks' entities use in turn) and extended-data applications.
struct References {
    std::set<QString> layers, linetypes, styles, blocks, apps;
};
References referencesOf(Document& doc, const std::vector<Entity*>& entities);

// A new drawing file of copies of the entities with every layer, linetype,
// text style, block and application they use, base point the origin.
// Fails without entities; an existing file is replaced whole or kept.
void writeEntitiesAsDrawing(Document& doc, const QString& path, const std::vector<Entity*>& entities);

} // namespace kelvor::cad
