#pragma once
// The buttons of the land-class area window: the drawing's land-class area
// table into the sheet, and the area list of watch.txt out of and into it.
// Each runs to its end; cells and drawing steps that fail are passed over.
#include "landuse/area_exchange.h"

namespace kelvor {
class Context;
}

namespace kelvor::landuse {

// 输出列格式: for each line the person picks at the left border of a table
// row (h = its length), the last text wholly inside the code window
// (3.333333 h wide) is the code and the last inside the area window
// (5.833333 h wide, right of it) the area; the areas go next to their codes.
// The area cells are cleared only once something was picked.
void TableToColumnLayout(Context& ctx, const AreaLayout& layout);

// 输出行格式: the picked texts, in delivery order, pair as area, code; an
// empty pick shows "没有选择的文字" on the command line.
void TextsToRowLayout(Context& ctx, const AreaLayout& layout);

// ||->: writes the layout's LandClassAreaList into watch.txt (shown when
// show is set), then "输出成功！" (title "输出"); a failed write shows
// "输出失败！" instead.
void WriteAreaList(Context& ctx, const AreaLayout& layout, bool show);

// ||-<: clears the layout's area cells and places every line of watch.txt;
// a missing watch.txt shows "无法找到:" + path + "文件！" and leaves the
// sheet as it was.
void ReadAreaList(Context& ctx, const AreaLayout& layout);

} // namespace kelvor::landuse
