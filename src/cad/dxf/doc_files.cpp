#include "cad/dxf/doc_files.h"

#include "cad/dxf/dxf.h"
#include "cad/model/references.h"
#include "platform/paths.h"

#include <QDir>
#include <QFileInfo>

// The members of the drawing model that read or write drawing files live
// here, with the files, so that the model itself knows no file format.
namespace kelvor::cad {

namespace {

void copyTables(Document& from, Document& to)
{
    for (const Layer& l : from.Layers().items())
        if (!to.Layers().contains(l.Name)) {
            Layer& n = to.Layers().Add(l.Name);
            const quint64 h = n.handle;
            n = l;
            n.handle = h;
        }
    for (const Linetype& l : from.Linetypes().items())
        if (!to.Linetypes().contains(l.Name)) {
            Linetype& n = to.Linetypes().Add(l.Name);
            n = l;
            n.handle = 0;
        }
    for (const TextStyle& s : from.TextStyles().items())
        if (!to.TextStyles().contains(s.Name)) {
            TextStyle& n = to.TextStyles().Add(s.Name);
            n = s;
            n.handle = 0;
        }
    for (const RegisteredApplication& a : from.RegisteredApplications().items())
        to.RegisteredApplications().Add(a.Name);
}

void copyBlockDefinitions(Document& from, Document& to)
{
    for (Block* b : from.blocks()) {
        if (to.findBlock(b->Name()))
            continue;
        Block& nb = to.BlocksAdd(b->Origin(), b->Name());
        for (Entity* e : b->entities())
            nb.copyOf(*e);
    }
}

} // namespace

Entity* Block::InsertBlock(const Point& p, const QString& name, double xs, double ys, double zs, double rotation)
{
    needFinite(p);
    needFinite({xs, ys, zs});
    needAngle({rotation});
    if (xs == 0 || ys == 0 || zs == 0)
        fault(fail::Failed, QStringLiteral("a scale factor must not be 0"));
    QString blockName = name;
    const bool isFile = name.contains(QLatin1Char('\\')) || name.contains(QLatin1Char('/'))
        || name.endsWith(QLatin1String(".dwg"), Qt::CaseInsensitive)
        || name.endsWith(kDrawingExtension, Qt::CaseInsensitive);
    if (isFile) {
        const QString file = drawingPath(name);
        blockName = QFileInfo(file).completeBaseName();
        {
            if (!QFileInfo::exists(file))
                fault(fail::Failed, QStringLiteral("the drawing \"%1\" does not exist").arg(name));
            std::unique_ptr<Document> src = readDxf(file);
            copyTables(*src, *doc_);
            copyBlockDefinitions(*src, *doc_);
            Block& nb = doc_->BlocksAdd(Point{}, blockName);
            if (nb.isModelSpace() || &nb == &doc_->PaperSpace())
                fault(fail::Failed, QStringLiteral("\"%1\" cannot name a block").arg(blockName));
            // a block of that name is redefined by the file
            for (const auto& old : nb.owned_)
                if (!old->erased_) {
                    old->erased_ = true;
                    doc_->forgetEntity(old.get());
                }
            nb.items_.clear();
            nb.dirty_ = false;
            doc_->blockContentChanged();
            const QVariant base = src->GetVariable(QStringLiteral("INSBASE"));
            const QVariantList bl = base.toList();
            if (bl.size() == 3)
                nb.origin_ = {bl[0].toDouble(), bl[1].toDouble(), bl[2].toDouble()};
            for (Entity* e : src->ModelSpace().entities())
                nb.copyOf(*e);
        }
    }
    Block* def = doc_->findBlock(blockName);
    if (!def || def->isModelSpace())
        fault(fail::NotFound, QStringLiteral("the block \"%1\" is not defined").arg(blockName));
    Entity* e = create(EntityKind::BlockReference);
    e->dat()->placedMut().text = def->Name();
    e->dat()->v[0] = {p.x, p.y, p.z};
    e->dat()->placedMut().scale[0] = xs;
    e->dat()->placedMut().scale[1] = ys;
    e->dat()->placedMut().scale[2] = zs;
    e->dat()->placedMut().rotation = rotation;
    doc_->entityChanged(e);
    return e;
}

void Document::Save()
{
    if (fullName_.isEmpty())
        fullName_ = QDir(paths::windir()).filePath(Name());
    writeDxf(*this, fullName_, format_);
    markSaved();
}

void Document::SaveAs(const QString& path, DrawingFormat format)
{
    const QString native = drawingPath(path);
    writeDxf(*this, native, format);
    fullName_ = native;
    format_ = format;
    markSaved();
}

void Document::Wblock(const QString& path, SelectionSet& set)
{
    writeEntitiesAsDrawing(*this, path, set.entities());
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
