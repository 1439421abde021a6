#include "doc_files.h"

#include "dxf.h"

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

void writeEntitiesAsDrawing(Document& doc, const QString& path, const std::vector<Entity*>& entities)
{
    if (entities.empty())
        fault(fail::Failed, QStringLiteral("no entity to write to \"%1\"").arg(path));
    const References r = referencesOf(doc, entities);
    Document out;
    for (const Linetype& l : doc.Linetypes().items())
        if (r.linetypes.count(l.Name.toUpper())) {
            Linetype& n = out.Linetypes().Add(l.Name);
            n = l;
            n.handle = 0;
        }
    for (const Layer& l : doc.Layers().items())
        if (r.layers.count(l.Name.toUpper())) {
            Layer& n = out.Layers().Add(l.Name);
            n = l;
            n.handle = 0;
        }
    for (const TextStyle& s : doc.TextStyles().items())
        if (r.styles.count(s.Name.toUpper())) {
            TextStyle& n = out.TextStyles().Add(s.Name);
            n = s;
            n.handle = 0;
        }
    for (const RegisteredApplication& a : doc.RegisteredApplications().items())
        if (r.apps.count(a.Name.toUpper()))
            out.RegisteredApplications().Add(a.Name);
    for (Block* b : doc.blocks())
        if (r.blocks.count(b->Name().toUpper())) {
            Block& nb = out.BlocksAdd(b->Origin(), b->Name());
            for (Entity* e : b->entities())
                nb.copyOf(*e);
        }
    for (Entity* e : entities)
        if (!e->isErased())
            out.ModelSpace().copyOf(*e);
    writeDxf(out, drawingPath(path), DrawingFormat::R2000);
}

} // namespace kelvor::cad
