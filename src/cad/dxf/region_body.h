#pragma once
// A region's body as drawing files of AC1015 carry it: the ACIS text form
// (SAT, version 7.0) of one planar face at z = 0 whose loops are line and
// arc edges, each line of it "encrypted" as those files store it.
#include "cad/model/entity.h"

#include <QStringList>
#include <vector>

namespace kelvor::cad {

// One closed loop: a vertex per edge, the edge's bulge at its start vertex.
using RegionLoop = std::vector<Vertex>;

// The SAT lines of a face bounded by the loops (the first the outline, any
// further ones holes), ready for the file's 1 groups.
QStringList regionBodyLines(const std::vector<RegionLoop>& loops);
// The loops of a body read from a file (lines as stored); empty when it
// holds edges of other kinds, or no planar face at all.
std::vector<RegionLoop> regionLoopsOf(const QStringList& storedLines);

// The files' character substitution, both ways.
QString satEncode(const QString& line);
QString satDecode(const QString& line);

} // namespace kelvor::cad
