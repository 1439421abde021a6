#pragma once
// Small drawings for the CASS command tests: polylines of both kinds,
// feature records, layers and linetypes by name.
#include "cass/cass_xdata.h"
#include "cad/cad.h"

#include <QStringList>
#include <vector>

namespace kelvor::test {

inline cad::Entity* lwPoly(cad::Block& b, const std::vector<double>& xy, bool closed = false)
{
    cad::Entity* e = b.AddLightWeightPolyline(xy);
    e->setClosed(closed);
    return e;
}

// An old-style 2D polyline through the (x, y) pairs.
inline cad::Entity* oldPoly(cad::Block& b, const std::vector<double>& xy, bool closed = false)
{
    std::vector<double> xyz;
    for (size_t i = 0; i + 1 < xy.size(); i += 2)
        xyz.insert(xyz.end(), {xy[i], xy[i + 1], 0});
    cad::Entity* e = b.AddPolyline(xyz);
    e->setClosed(closed);
    return e;
}

inline cad::Entity* coded(cad::Entity* e, const QString& code, const QString& app = QStringLiteral("South"))
{
    cass::writeFeatureCode(*e, app, code);
    return e;
}

// The feature code, "<none>" without one.
inline QString codeOf(const cad::Entity& e)
{
    return cass::featureCode(e).value_or(QStringLiteral("<none>"));
}

inline void addLayers(cad::Document& doc, const QStringList& names)
{
    for (const QString& n : names)
        doc.Layers().Add(n);
}

inline void addLinetypes(cad::Document& doc, const QStringList& names)
{
    for (const QString& n : names)
        doc.Linetypes().Add(n);
}

// x, y of every vertex, whatever the kind.
inline std::vector<double> planVertices(const cad::Entity& e)
{
    std::vector<double> out;
    for (const cad::Vertex& v : e.vertices())
        out.insert(out.end(), {v.x, v.y});
    return out;
}

} // namespace kelvor::test
