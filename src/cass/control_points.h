#pragma once
#include <QString>

namespace kelvor {
class Context;
}

// Control-point symbols on the map: their coordinate list, and the shift
// of symbols that other entities run through.
namespace kelvor::cass {

// One line of the coordinate list: name, northing (y), easting (x), height,
// each padded as the list lays it out; padding never cuts.
QString controlPointLine(const QString& name, double x, double y, double z);

void tumiankongzidiancg_Click(Context& ctx);
void tuxingfuhaoyiwei_Click(Context& ctx);

} // namespace kelvor::cass
