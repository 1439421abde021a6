#pragma once
// How the window shows linetypes and point styles, in screen pixels.
#include <QLineF>
#include <QPointF>
#include <vector>

namespace kelvor {

// Where a linetype pattern stands along a run of strokes: the element and
// how far into it the run has come, carried from one piece to the next
// while linetype generation runs on across vertices.
struct DashPhase {
    size_t element = 0;
    double into = 0;
};

// Where a pattern element ended along a path: the point, and the path's
// direction there (screen radians, y down). Texts of complex linetypes
// stand at these points.
struct DashMark {
    size_t element = 0;
    QPointF at;
    double angle = 0;
};

// Cuts the screen path pts (n points, closed back to the first when asked)
// by the pattern (pixels: dashes positive, gaps negative, 0 a dot) from
// phase on. Drawn pieces go to lines, dots to dots. A pattern shorter than
// two pixels in all is drawn solid: its dashes and gaps fall under a pixel.
// Given marks, the end of every element is noted there.
void dashPath(const QPointF* pts, int n, bool closed, const std::vector<double>& pattern, DashPhase& phase,
              std::vector<QLineF>& lines, std::vector<QPointF>& dots, std::vector<DashMark>* marks = nullptr);

// The strokes of a point of style pdmode (0 dot, 1 nothing, 2 +, 3 ×,
// 4 a tick upwards; +32 a circle, +64 a square) of size pixels, turned by
// angle (radians, counter-clockwise on the drawing) about centre.
void pointMark(int pdmode, const QPointF& centre, double size, double angle, std::vector<QLineF>& lines,
               std::vector<QPointF>& dots);

// A point's size in pixels: PDSIZE > 0 drawing units (pixelsPerUnit each),
// 0 five per cent of the view's height, < 0 |PDSIZE| per cent of it.
double pointSizePixels(double pdsize, double pixelsPerUnit, int viewHeight);

} // namespace kelvor
