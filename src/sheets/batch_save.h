#pragma once
// Fixed treatments over every drawing of a folder, each drawing opened,
// treated, saved and closed.

namespace kelvor {
class Context;
}

namespace kelvor::sheets {

// Menu CASS开发 "统一图幅颜色": layer "0" current and every entity ByLayer,
// through the host's -layer and change commands.
void tongyituyanse_Click(Context& ctx);

// Menu 工程内业 "全图保存文件": every drawing zoomed to its extents, purged and
// saved; then "已完成对图形文件的全图显示保存！". No host: the standard
// not-running message and nothing else.
void zoomalldwg_Click(Context& ctx);

} // namespace kelvor::sheets
