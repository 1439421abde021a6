#pragma once
// Every contour of the drawing at once (the entities on "dgx" that have an
// elevation): a height change with index marking, and thinning to a
// coarser interval.
#include <QString>

namespace kelvor {
class Context;
}

namespace kelvor::relief {

// An index contour lies on a whole multiple of five intervals d: with
// m = d × 0.5 × 10, E / m equals its floor exactly (no tolerance, so
// 14.999999999999998 is not one at d = 1).
bool isIndexContour(double elevation, double interval);

// Thinning: option 1 drops the half-metre contours (x.5, negatives too),
// option 2 everything off an even whole metre; any other option drops
// nothing. The height is read through its 15-digit text, so noise below
// that digit does not count.
bool thinnedOut(double elevation, int option);

// 修改等高线高度 (alterdgxlaheight): contours raised by a constant and
// re-coded as ordinary (width 0.15, colour 2, "201101"); then the index
// contours of the interval marked (width 0.15 k, colour 3, "201102").
void alterdgxlaheight_Click(Context& ctx);

// 删除等高线(过滤) (deletedgx): deletes the contours thinnedOut names and
// reports how many.
void deletedgx_Click(Context& ctx);

} // namespace kelvor::relief
