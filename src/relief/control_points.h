#pragma once
// Control points and their CASS annotation: the annotation fitted to the
// drawing scale, the height notes brought into line with the "gc115"
// blocks, and control points with their notes enlarged or shrunk.
#include "cad/model/geometry.h"

#include <QString>
#include <optional>
#include <vector>

namespace kelvor {
class Context;
}

namespace kelvor::relief {

// What a CASS feature code (as a number) makes of a picked entity: the
// annotation text codes 131511/131711/131811, the annotation line codes
// 131510/131710/131810, or nothing.
enum class AnnotationPart { None, Text, Line };
AnnotationPart annotationPart(std::optional<double> code);

// An upper text begins (after its outer blanks) with a single-byte
// character of code 65 or more: a Latin letter and what follows it. A
// digit, a sign, a double-byte character or nothing makes a lower text.
bool isUpperText(const QString& text);

// How far an annotation text moves at scale factor k: (k − 1) × (4.25, 1.1)
// for an upper text, (k − 1) × (4.25, −1.1) for a lower one.
cad::Point annotationShift(bool upper, double k);

// 改变控制点比例尺 (changekzd): picked annotation texts move by their
// shift, lines move (0.25k, 0) and are scaled by k about their end point
// as it was. k is "userr1" / 500, 0 read as 500; a negative value changes
// nothing and says so.
void changekzd_Click(Context& ctx);

// The new text of a height note beside a control point at height z: z's
// 15-digit text when the note's leading number differs from it by more
// than 0.0001 and less than 0.1; none otherwise, and none for a note that
// does not begin with a number (a point name).
std::optional<QString> updatedHeightNote(const QString& note, double z);

// 修改控制点高程 (changekzdheight): every "kzd" text wholly inside the
// 20 × 20 square around a "gc115" block is updated; the count is reported.
void changekzdheight_Click(Context& ctx);

// The search multiple: no answer or 0 gives 2, a negative one its absolute value.
int searchMultiple(std::optional<int> answer);
// The closed search rectangle 17m × 10m centred on p, at z 0: five
// vertices (x, y, z each) from the upper left, counter-clockwise.
std::vector<double> searchRectangle(const cad::Point& p, int multiple);
// The scale factor as the host gets it: the answer held in single
// precision; none for no answer or 0.
std::optional<double> displayFactor(std::optional<double> answer);

// 改变控制点显示比例 (gaibiankzdbili): every picked block reference scales
// what lies wholly inside its search rectangle about its insertion point.
void gaibiankzdbili_Click(Context& ctx);

} // namespace kelvor::relief
