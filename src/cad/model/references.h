#pragma once
#include <QString>
#include <set>
#include <vector>

namespace kelvor::cad {

class Document;
class Entity;

// The named objects entities use, upper-cased: their layers (and those
// layers' linetypes), own linetypes, text styles, blocks (with everything
// the blocks' entities use in turn) and extended-data applications.
struct References {
    std::set<QString> layers, linetypes, styles, blocks, apps;
};
References referencesOf(Document& doc, const std::vector<Entity*>& entities);

} // namespace kelvor::cad
