#pragma once
#include "coords/zone_change.h"

namespace kelvor::test {

// The zone change most cases run: 114° to 117°, with the 500 km false easting.
inline coords::ZoneForm form114to117()
{
    coords::ZoneForm f;
    f.sourceMeridian = QStringLiteral("114");
    f.targetMeridian = QStringLiteral("117");
    f.falseEasting = true;
    return f;
}

} // namespace kelvor::test
