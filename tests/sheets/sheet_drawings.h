#pragma once
// Small sheet drawings for the map-sheet tests: a frame block inserted at a
// point, written to a file of the test home when asked.
#include "cad_host.h"
#include "cad/cad.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace kelvor::test {

// Adds the frame block (one line) and a reference of it at p.
inline cad::Entity* addFrame(cad::Document& doc, const QString& block, const cad::Point& p)
{
    if (!doc.findBlock(block))
        doc.BlocksAdd({0, 0, 0}, block).AddLine({0, 0, 0}, {250, 0, 0});
    return doc.ModelSpace().InsertBlock(p, block, 1, 1, 1, 0);
}

// A drawing file (native path of the Windows-style name) holding a frame
// at p (none when block is empty), layer "tk" and one line.
inline void writeSheetDrawing(const TempHome& home, const QString& name, const QString& block,
                              const cad::Point& p)
{
    cad::Document doc;
    doc.Layers().Add(QStringLiteral("tk"));
    doc.ModelSpace().AddLine({p.x, p.y, 0}, {p.x + 10, p.y + 10, 0});
    if (!block.isEmpty())
        addFrame(doc, block, p);
    const QString file = home.path(name);
    QDir().mkpath(QFileInfo(file).absolutePath());
    cad::writeDxf(doc, file);
}

inline std::vector<cad::Entity*> textsOf(cad::Document& doc)
{
    std::vector<cad::Entity*> out;
    for (cad::Entity* e : doc.ModelSpace().entities())
        if (e->kind() == cad::EntityKind::Text)
            out.push_back(e);
    return out;
}

inline std::unique_ptr<cad::Document> readDrawing(const TempHome& home, const QString& name)
{
    return cad::readDxf(home.path(name));
}

// The text standing at (x, y, z), or null.
inline cad::Entity* textAt(cad::Document& doc, double x, double y, double z = 0)
{
    for (cad::Entity* t : textsOf(doc)) {
        const cad::Point p = t->InsertionPoint();
        if (std::abs(p.x - x) < 1e-6 && std::abs(p.y - y) < 1e-6 && std::abs(p.z - z) < 1e-6)
            return t;
    }
    return nullptr;
}

} // namespace kelvor::test
