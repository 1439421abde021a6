#pragma once

namespace kelvor {
class Context;
}

namespace kelvor::traverse {

// Fills the coordinates and heights of the sheet's four known points from
// the user's list of known points (the setting "已知点成果="): one point a
// line, "name X Y H" separated by blanks, up to the first empty line. Names
// match without regard to letter case; a later line wins. Reports only a
// failure to read the list.
void Label39_DblClick(Context& ctx);

// 导线 > 提取导已知点数据: the same lookup.
void tiquyizhidianshuiju_Click(Context& ctx);

} // namespace kelvor::traverse
