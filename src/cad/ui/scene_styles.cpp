#include "scene_styles.h"

#include <cmath>
#include <numeric>

namespace kelvor {

void dashPath(const QPointF* pts, int n, bool closed, const std::vector<double>& pattern, DashPhase& phase,
              std::vector<QLineF>& lines, std::vector<QPointF>& dots, std::vector<DashMark>* marks)
{
    if (n < 2)
        return;
    const int segs = closed ? n : n - 1;
    double total = 0;
    for (double d : pattern)
        total += std::abs(d);
    if (pattern.empty() || total < 2) {
        for (int i = 0; i < segs; ++i)
            lines.emplace_back(pts[i], pts[(i + 1) % n]);
        return;
    }
    for (int i = 0; i < segs; ++i) {
        const QPointF a = pts[i], b = pts[(i + 1) % n];
        const double len = std::hypot(b.x() - a.x(), b.y() - a.y());
        double at = 0;
        while (at < len) {
            const double el = pattern[phase.element % pattern.size()];
            const double span = std::abs(el);
            const double step = std::min(span - phase.into, len - at);
            const QPointF p = a + (b - a) * (at / len), q = a + (b - a) * ((at + step) / len);
            if (el > 0)
                lines.emplace_back(p, q);
            else if (el == 0 && phase.into == 0)
                dots.push_back(p);
            at += step;
            phase.into += step;
            if (phase.into >= span - 1e-9) {
                if (marks)
                    marks->push_back({phase.element % pattern.size(), q, std::atan2(b.y() - a.y(), b.x() - a.x())});
                phase.element = (phase.element + 1) % pattern.size();
                phase.into = 0;
            }
        }
    }
}

void pointMark(int pdmode, const QPointF& c, double size, double angle, std::vector<QLineF>& lines,
               std::vector<QPointF>& dots)
{
    const double cs = std::cos(angle), sn = std::sin(angle);
    // drawing-oriented offsets to screen: y down
    auto at = [&](double u, double v) { return QPointF(c.x() + u * cs - v * sn, c.y() - (u * sn + v * cs)); };
    const double h = size / 2;
    switch (pdmode & 31) {
    case 0: dots.push_back(c); break;
    case 1: break;
    case 2:
        lines.emplace_back(at(-h, 0), at(h, 0));
        lines.emplace_back(at(0, -h), at(0, h));
        break;
    case 3:
        lines.emplace_back(at(-h, -h), at(h, h));
        lines.emplace_back(at(-h, h), at(h, -h));
        break;
    case 4: lines.emplace_back(at(0, 0), at(0, h)); break;
    default: dots.push_back(c); break;
    }
    if (pdmode & 32) {
        const int k = 24;
        for (int i = 0; i < k; ++i) {
            const double a0 = 2 * M_PI * i / k, a1 = 2 * M_PI * (i + 1) / k;
            lines.emplace_back(at(h * std::cos(a0), h * std::sin(a0)), at(h * std::cos(a1), h * std::sin(a1)));
        }
    }
    if (pdmode & 64) {
        lines.emplace_back(at(-h, -h), at(h, -h));
        lines.emplace_back(at(h, -h), at(h, h));
        lines.emplace_back(at(h, h), at(-h, h));
        lines.emplace_back(at(-h, h), at(-h, -h));
    }
}

double pointSizePixels(double pdsize, double pixelsPerUnit, int viewHeight)
{
    if (pdsize > 0)
        return pdsize * pixelsPerUnit;
    if (pdsize == 0)
        return 0.05 * viewHeight;
    return -pdsize / 100 * viewHeight;
}

} // namespace kelvor
