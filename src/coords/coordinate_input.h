#pragma once
#include <QString>
#include <optional>
#include <vector>

namespace kelvor::coords {

// One input field of the coordinate window as the person typed it. Angles are
// dd.mmss; a latitude also lies within ±90°.
struct CoordinateField {
    QString name; // as the window labels it
    QString text;
    bool angle = false;
    bool latitude = false;
};

// The message for the first field that cannot be computed with (not a
// number, a latitude beyond ±90°, minutes or seconds of 60 or more), in the
// fields' order; nothing when all can.
std::optional<QString> coordinateInputFault(const std::vector<CoordinateField>& fields);

} // namespace kelvor::coords
