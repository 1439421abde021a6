#pragma once
// Plotting aids: print frames tiling a window of the drawing, and the whole
// drawing turned along a picked line and saved as a plot copy.
#include "cad/model/geometry.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace kelvor {
class Context;
}

namespace kelvor::sheets {

// One print frame's size in drawing units.
struct PrintFrameSize {
    double w = 0, h = 0;
};

// The printable area of a paper in millimetres, landscape.
enum class Paper { A3 = 1, A4 = 2, Custom = 3 };

// The frame size: A3 400 x 285 and A4 279 x 201 mm, reversed on request,
// scaled by denominator / 1000; a custom size as typed. Nothing for another
// paper, a size or denominator of 0, or a custom size not typed.
std::optional<PrintFrameSize> printFrameSize(double paper, bool reversed, double denominator,
                                             std::optional<double> customW = {},
                                             std::optional<double> customH = {});

// The counts of the frames tiling the window from (x1, y1) to (x2, y2):
// Int((x2 - x1) / W) + 1 columns, likewise rows, as the figures give them
// (huge, negative or not a number for figures that cannot be tiled).
struct PrintFrameGrid {
    double columns = 0, rows = 0;
    // More than MaxCountFromFigures frames, a count above it on its own (also
    // when the other count is below 1), or a count that is not a number.
    bool tooMany() const;
    // The number of frames to draw: 0 when a count is below 1 or tooMany().
    std::int64_t frames() const;
};
PrintFrameGrid printFrameGrid(const cad::Point& lowerLeft, const cad::Point& upperRight, const PrintFrameSize& size);

// Lower-left corners of the frames of printFrameGrid, column by column from
// the left, each from the lowest row; none when it has no frames to draw.
std::vector<cad::Point> printFrameTiles(const cad::Point& lowerLeft, const cad::Point& upperRight,
                                        const PrintFrameSize& size);

// What the person is told instead of a tooMany() grid: the frame size, the
// window and both counts.
QString tooManyFramesText(const cad::Point& lowerLeft, const cad::Point& upperRight, const PrintFrameSize& size);

// Menu AutoCAD辅助 "生成打印图框". Enter or Esc at the paper, orientation or
// scale question takes its default; a typed 0 is a value. Esc at a corner
// ends the command without drawing.
void greatusersize_Click(Context& ctx);

// Menu AutoCAD辅助 "旋 转 图 形": every entity turned about P1 by minus the
// angle of P1 -> P2, then saved (R14 form) as <Path>\plot<Name>. A drawing
// never saved gets a note and is not turned.
void rotatedwgfile_Click(Context& ctx);

} // namespace kelvor::sheets
