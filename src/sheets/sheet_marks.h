#pragma once
// Standard sheets put into the open drawing: a frame about each picked
// point, a marker at the centre of every sheet a folder holds a drawing of,
// and the sheet number inside every selected frame.
#include "cad/model/geometry.h"
#include "sheets/sheet_numbers.h"

#include <vector>

namespace kelvor {
class Context;
}

namespace kelvor::sheets {

// The closed frame of the sheet holding (x, y): x, y, z of its four corners
// counter-clockwise from the south-west, z = 0.
std::vector<double> sheetFrameVertices(double x, double y);

// Menu CASS开发 "加250*200图框": frames (old-style polylines, current layer)
// until the person cancels; no host: nothing, silently.
void add250200tk_Click(Context& ctx);

// Menu CASS开发 "标绘图幅数": for each listed sheet drawing a circle of
// radius 30, colour 6, at its sheet's centre; a listed name that is no sheet
// file is noted and skipped. No drawing is opened.
void biaohuitufushu_Click(Context& ctx);

// Menu AutoCAD辅助 "注记图幅号": the standard number of each selected
// polyline's lowest corner (not snapped) 25 east and 90 north of it, height
// 20, width factor 0.8, colour 4; then "程序运行结束".
void zhutufuhao_Click(Context& ctx);

} // namespace kelvor::sheets
