#pragma once
#include "cad/model/geometry.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace kelvor {
class Context;
}
namespace kelvor::cad {
class Document;
class Entity;
class Utility;
}

// Building outlines: edge-length notes, the short-outline and structure
// checks, and the closure check that walks the person through open outlines.
namespace kelvor::cass {

// The outlines the person picks: polylines of both kinds on the given
// layers (a comma list), in a fresh set "text", in the set's order.
std::vector<cad::Entity*> BuildingOutlineSelection(cad::Document& doc, const QString& layers);

// The short-outline check: at most six numbers in the vertex list, the
// linetype exactly "CONTINUOUS" and one of five codes, all compared as texts.
bool isShortOutline(int coordinateCount, const QString& linetype, const QString& code);

// The structure character a building code implies (read as a number);
// none for codes the structure check does not examine.
std::optional<QString> expectedStructure(const std::optional<QString>& code);
// A mismatch: texts inside, and none is exactly the expected character.
bool structureMismatch(const QString& expected, const QStringList& textsInside);

// Codes the closure check asks about (compared as texts).
bool admitsClosureCheck(const std::optional<QString>& code);
enum class ClosureAction { Stop, Close, Delete, Mark, MoveToLap, SimpleHouse, Balcony, None };
// The answer to the first question; Enter marks, Esc (none) stops.
ClosureAction closureAction(const std::optional<QString>& answer);
// Only Enter at the confirmation deletes; Esc and every other answer keep.
bool deletionConfirmed(const std::optional<QString>& answer);

// The notes of one outline: each edge's length ("0.00") at its midpoint,
// the closing edge's note left-aligned; only lengths above 0.5. The side
// file gets four numbers per edge but the closing one.
struct EdgeNote {
    QString text;
    cad::Point at;
    double rotation = 0;
    bool centred = true; // bottom centre (13) at `at`, redrawn; else left-aligned
};
struct EdgeNotes {
    std::vector<EdgeNote> notes;
    QStringList fileLines;
};
// xy: the lightweight outline's Coordinates; the angles as the utility gives them.
EdgeNotes edgeNotes(const std::vector<double>& xy, const cad::Utility& u);

void setjmdlenght_Click(Context& ctx);
void changejmd3d_Click(Context& ctx);
void checkjmdfang_Click(Context& ctx);
void jmdclosecheck_Click(Context& ctx);

} // namespace kelvor::cass
