#pragma once

namespace kelvor {
class Context;
}

namespace kelvor::drafting {

// 0 writes the picked entities to the temporary block "d:\bak1.dwg"; 1
// inserts it at the origin and dissolves it.
void shengchenglinshikuai_Click(Context& ctx, int index);
void polylinewidth_Click(Context& ctx);
// 0 removes curve fitting, 1 fits a spline, through the host's polyline edit.
void plineatspline_Click(Context& ctx, int index);
void tuxiangcaijian_Click(Context& ctx);
void tuxiangkuangjia_Click(Context& ctx);
void tuxiangtaomingtu_Click(Context& ctx);

} // namespace kelvor::drafting
