#pragma once
// The area content of a land-use map: area notes moved to their layer, and
// the land-class area table that CASS draws (_statdlj) for the polygons of
// one colour.
#include "cad/model/geometry.h"
#include "cad/model/xdata.h"

#include <QString>

namespace kelvor {
class Context;
}

namespace kelvor::landuse {

// An area note's extended data: item 1 (the feature code) is exactly
// "311004", untrimmed.
bool IsAreaNote(const cad::XData& data);

// The command-line text that has CASS draw its table at the point from the
// previous selection: "_statdlj", the point, "1", "p" and Enter, each
// followed by CR.
QString landClassTableScript(const cad::Point& at);

void areatoarea_Click(Context& ctx);  // 面积标注至AREA层
void drawdljarea_Click(Context& ctx); // 绘地类面积表

} // namespace kelvor::landuse
