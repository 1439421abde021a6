#include "cad/model/references.h"

#include "cad/model/document.h"

namespace kelvor::cad {

namespace {

bool isText(const Entity& e)
{
    return e.kind() == EntityKind::Text || e.kind() == EntityKind::MText;
}

} // namespace

References referencesOf(Document& doc, const std::vector<Entity*>& entities)
{
    References r;
    std::vector<Entity*> todo = entities;
    while (!todo.empty()) {
        Entity* e = todo.back();
        todo.pop_back();
        if (!e || e->isErased())
            continue;
        r.layers.insert(e->Layer().toUpper());
        r.linetypes.insert(e->Linetype().toUpper());
        if (isText(*e))
            r.styles.insert(e->StyleName().toUpper());
        for (const XDataItem& x : e->GetXData(QString()))
            if (x.code == 1001)
                r.apps.insert(x.value.toString().toUpper());
        if (e->kind() == EntityKind::BlockReference && r.blocks.insert(e->Name().toUpper()).second)
            if (Block* b = doc.findBlock(e->Name()))
                for (Entity* c : b->entities())
                    todo.push_back(c);
    }
    for (const Layer& l : doc.Layers().items())
        if (r.layers.count(l.Name.toUpper()))
            r.linetypes.insert(l.Linetype.toUpper());
    for (const Linetype& l : doc.Linetypes().items())
        if (r.linetypes.count(l.Name.toUpper()))
            for (const LinetypeElement& el : l.elements)
                if (!el.style.isEmpty())
                    r.styles.insert(el.style.toUpper());
    return r;
}

} // namespace kelvor::cad
