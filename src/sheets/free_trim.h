#pragma once
// Trimming a drawing to a free boundary through the host's own offset and
// fence trim: four passes, each offsetting the boundary (or the previous
// pass's copy) through a point d west and south of its vertex 0, then
// trimming twice along the copy's ring with the boundary as cutting edge.

namespace kelvor {
class Context;
}

namespace kelvor::sheets {

// The pass distances, in order.
inline constexpr double kTrimPasses[] = {0.05, 1, 2, 4};

// Menu 工程内业 "自由图幅修剪". Anything but a lightweight polyline as
// boundary ends it unchanged. Layer "dgx" is flattened first. When a pass's
// offset makes no copy, the passes stop there: no trim is sent along a
// fence that no copy gave.
void trimdwgfile_Click(Context& ctx);

} // namespace kelvor::sheets
