#pragma once
#include "cad/model/xdata.h"

#include <QString>
#include <optional>

namespace kelvor::cad {
class Entity;
}

// The CASS feature record in an entity's extended data: item 0 the
// application (1001 "South", also written "south"), item 1 the feature code
// (1000), item 2 on land polygons the land-class code. Readers take every
// application's data in stored order and look only at the positions, so the
// record counts only as the first extended data of an entity.
namespace kelvor::cass {

inline const QString kSouth = QStringLiteral("South");
inline const QString kSouthLower = QStringLiteral("south");

// Item 1 of the values; none when the data has fewer than two items.
std::optional<QString> featureCode(const cad::XData& data);
// Item 2 of the values; none when the data has fewer than three items.
std::optional<QString> landClassCode(const cad::XData& data);
// The feature code of the entity (GetXData with ""); errors reach the caller.
std::optional<QString> featureCode(const cad::Entity& entity);

// A code where it is compared as a number: only a text that is one number
// as a whole counts ("211100.0" and " 211100 " do, "211100-1" does not).
std::optional<double> numericCode(const std::optional<QString>& code);

// The two-item record {1001 app, 1000 code}.
cad::XData cassRecord(const QString& app, const QString& code);
// Writes the record: the host replaces only that application's items.
void writeFeatureCode(cad::Entity& entity, const QString& app, const QString& code);

} // namespace kelvor::cass
