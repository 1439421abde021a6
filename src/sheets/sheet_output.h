#pragma once
// Dividing a drawing into sheet files along sheet outlines (lightweight
// polylines; vertices 0-3 make the selection polygon, the bounding box the
// zoom and the name), and strip frames placed on outlines.
#include "cad/model/geometry.h"

#include <QString>
#include <functional>

namespace kelvor {
class Context;
}

namespace kelvor::sheets {

// The file of one outline: given the folder as picked, the outline's
// bounding-box minimum and its running number (from 1).
using SheetFileRule = std::function<QString(const QString& folder, const cad::Point& boxMin, int counter)>;

// The standard sheet file of the box minimum, never snapped: "D:\分幅" and
// (534500, 2551200) give "D:\分幅\2551.20-534.50.dxf".
QString standardSheetFileRule(const QString& folder, const cad::Point& boxMin, int counter);
// "D:\带状图" and 3 give "D:\带状图\Trim3.dxf"; "D:\" gives "D:\Trim3.dxf".
QString StripSheetFile(const QString& folder, int counter);

// Asks for the folder, lets the person select outlines (filter 0 =
// filterValue) and writes, per outline in the set's order, everything in or
// crossing its polygon into the rule's file. A write that fails, or an
// outline of fewer than four vertices, is noted on the command line and
// still counted. Ends with CR LF "finish:" and the count.
void WriteOutlineSheets(Context& ctx, const QString& filterValue, const SheetFileRule& rule);

// Menu 工程内业 "4*5正规分幅输出" and "批量带状图分幅".
void zhengguifenfu_Click(Context& ctx);
void piliangfenfu_Click(Context& ctx);

// Menu 工程内业 "添加带状分幅图框": the common drawing inserted on each
// selected outline at vertex 0, turned along the first edge, exploded; the
// reference and the outline deleted. An outline whose frame cannot be
// inserted is kept and noted; the next one follows.
void tukuang2000_Click(Context& ctx);

} // namespace kelvor::sheets
