#pragma once
// Shared pieces of the host's own command-line commands.
#include "cad/host/application.h"
#include "cad/host/cmd_commands.h"
#include "cad/model/geom_curve.h"

#include <vector>

namespace kelvor::cad::cmd {

// An answer of no text: Enter, which ends a list or a command.
inline bool isEnter(const QString& item)
{
    return item.trimmed().isEmpty();
}

inline bool isEntityText(const QString& item)
{
    return item.trimmed().startsWith(QLatin1Char('('));
}

// Points until Enter; answers that are no point are passed over.
std::vector<Point> pointsUntilEnter(CommandInput& in);

// Whether the command may change the entity: alive, in model space, on a
// layer that is neither locked nor frozen.
bool editable(Document& doc, const Entity& e);
// Whether the entity counts as a cutting edge or boundary: alive, shown,
// on a layer that is on and not frozen.
bool visibleForEdit(Document& doc, const Entity& e);

// Gives a curve entity the shape of the pieces: the first reshapes the
// entity itself (a circle is replaced by an arc), every further one becomes
// a copy with the same properties and extended data. No pieces delete it.
std::vector<Entity*> reshape(Entity& e, const std::vector<std::vector<geom::Seg>>& pieces);

// Object selection of a command: entity expressions, "ALL", "Last" and
// "Previous", ended by Enter; becomes the drawing's previous selection.
std::vector<Entity*> selectObjects(CommandInput& in);

// Copies layer, linetype, colour, visibility and extended data.
void takeProperties(Entity& to, const Entity& from);

} // namespace kelvor::cad::cmd
