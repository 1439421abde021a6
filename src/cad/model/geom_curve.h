#pragma once
#include "cad/model/entity.h"

#include <optional>
#include <utility>
#include <vector>

// Exact plane geometry of the curve-like entities (lines, arcs, circles and
// polylines with their bulges), for the editing commands and object snaps.
namespace kelvor::cad::geom {

// One straight or circular piece from a to b; bulge = tan(quarter of the
// signed included angle), positive counter-clockwise. za and zb are the
// heights at the ends; vertex is the polyline vertex the piece starts at.
struct Seg {
    Pt2 a, b;
    double bulge = 0;
    double za = 0, zb = 0;
    int vertex = 0;
};

struct ArcInfo {
    Pt2 c;
    double r = 0;
    double a0 = 0;    // angle of a seen from c
    double sweep = 0; // signed
};

bool isArc(const Seg& s);
ArcInfo arcOf(const Seg& s);
Pt2 pointAt(const Seg& s, double f);
double zAt(const Seg& s, double f);
Pt2 tangentAt(const Seg& s, double f); // unit, in the running direction
double segLength(const Seg& s);
// The part of s from fraction f0 to f1 (bulge and heights follow).
Seg subSeg(const Seg& s, double f0, double f1);

// A chain of pieces; a closed curve holds its closing piece too, so that its
// parameter runs from 0 to segs.size() and comes back to the start.
struct Curve {
    std::vector<Seg> segs;
    bool closed = false;
    double size() const { return double(segs.size()); }
    Pt2 at(double t) const;
    double zAt(double t) const;
    Pt2 tangent(double t) const;
};

// Null for entities that are no curve (texts, points, blocks ...). A circle
// runs counter-clockwise from its point at angle 0.
std::optional<Curve> curveOf(const Entity& e);

// Crossings as local fractions (of a, of b); touching counts.
std::vector<std::pair<double, double>> intersect(const Seg& a, const Seg& b);
// Crossings as curve parameters (of a, of b).
std::vector<std::pair<double, double>> intersect(const Curve& a, const Curve& b);

struct Nearest {
    double t = 0;
    Pt2 p;
    double z = 0;
    double dist = 0;
};
Nearest nearest(const Curve& c, const Pt2& p);
Nearest nearest(const Seg& s, const Pt2& p); // t is the local fraction

// The pieces from parameter t0 to t1 (t0 < t1; on a closed curve t1 may pass
// the end and wrap round).
std::vector<Seg> piece(const Curve& c, double t0, double t1);

// Exact extents of the pieces.
Box curveBox(const Curve& c);
// Exact extents of an entity: curves exactly, everything else by its shape.
Box exactBox(const Entity& e);

// A polyline's outline moved sideways by d (positive to the left of the
// running direction): one new vertex per vertex, bulges kept. Empty when
// the outline cannot be offset so (a piece would turn round or vanish).
struct OffsetVertex {
    double x = 0, y = 0, bulge = 0;
};
std::vector<OffsetVertex> offsetPolyline(const std::vector<Vertex>& v, bool closed, double d);

double distance(const Pt2& a, const Pt2& b);

} // namespace kelvor::cad::geom
