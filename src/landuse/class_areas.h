#pragma once
// Land-class and parcel areas summed from the host's own Area of the
// polylines (square metres; 1 m² = 0.0015 亩 exactly). Codes are the CASS
// feature record's: item 1 the feature code, item 2 the land-class code.
#include "cad/model/geometry.h"
#include "cad/model/xdata.h"

#include <QString>
#include <vector>

namespace kelvor {
class Context;
}

namespace kelvor::landuse {

// Item 2, trimmed of blanks, equals the typed code trimmed of blanks
// (case counts); data without an item 2 never matches.
bool landClassMatches(const cad::XData& data, const QString& typedCode);
// "地类" code as typed "的面积：" sum "[" sum × 0.0015 "亩]", both "0.00".
QString landClassAreaText(const QString& typedCode, double sum);

// The feature code of item 1, trimmed; "0" when the data has no item 1.
QString parcelFeatureCode(const cad::XData& data);
// Code-less polylines (a code whose leading number is 0) are flagged red.
bool lacksFeatureCode(const QString& code);
inline const QString kParcelCode = QStringLiteral("310000");
inline bool isParcel(const QString& code) { return code == kParcelCode; }

// A parcel lying wholly inside another parcel: its outline and the chord
// polygon of its vertices (arcs as straight sides).
struct Island {
    cad::Shape shape;
    std::vector<cad::Pt2> polygon;
};
// The indices of the islands that lie wholly inside no other island of the
// list: only those are taken from the parcel, a nested one belongs to the
// island around it.
std::vector<size_t> outermostIslands(const std::vector<Island>& islands);
// The vertices of a lightweight polyline's Coordinates as a flat x, y, 0
// list and as plane points.
std::vector<double> chordPolygonXyz(const std::vector<double>& xy);
std::vector<cad::Pt2> chordPolygon(const std::vector<double>& xy);

// 统计指定地类面积 and 统计宗地岛面积.
void tongjizhidingdilei_Click(Context& ctx);
void tongjizhongdidao_Click(Context& ctx);

} // namespace kelvor::landuse
