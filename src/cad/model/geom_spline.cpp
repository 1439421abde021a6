#include "geom_spline.h"

#include <algorithm>

namespace kelvor::cad::geom {

namespace {

// de Boor's evaluation at u of the spline of degree p with knots t over
// control points c; k is the knot span holding u (t[k] <= u < t[k + 1]).
Pt2 deBoor(const std::vector<Pt2>& c, const std::vector<double>& t, int p, int k, double u)
{
    std::vector<Pt2> d(c.begin() + (k - p), c.begin() + (k + 1));
    for (int r = 1; r <= p; ++r)
        for (int j = p; j >= r; --j) {
            const double den = t[j + 1 + k - r] - t[j + k - p];
            const double a = den > 0 ? (u - t[j + k - p]) / den : 0;
            d[j] = {(1 - a) * d[j - 1].x + a * d[j].x, (1 - a) * d[j - 1].y + a * d[j].y};
        }
    return d[p];
}

} // namespace

std::vector<Pt2> splineFit(const std::vector<Pt2>& frame, bool closed, int degree, int segsPerSpan)
{
    const int n = int(frame.size());
    if (n < 3)
        return frame;
    const int p = std::clamp(degree, 1, closed ? n - 1 : n - 1);
    const int per = std::max(1, segsPerSpan);
    std::vector<Pt2> c = frame;
    std::vector<double> t;
    double u0 = 0, u1 = 0;
    if (closed) {
        // periodic: the first p control points repeat at the end
        c.insert(c.end(), frame.begin(), frame.begin() + p);
        for (int i = 0; i < int(c.size()) + p + 1; ++i)
            t.push_back(i);
        u0 = p;
        u1 = n + p;
    } else {
        t.assign(p + 1, 0.0);
        for (int i = 1; i < n - p; ++i)
            t.push_back(i);
        t.insert(t.end(), p + 1, double(n - p));
        u1 = n - p;
    }
    const int pieces = per * (closed ? n : n - 1);
    std::vector<Pt2> out;
    for (int s = 0; s <= pieces; ++s) {
        if (closed && s == pieces)
            break; // closing back to the first point
        const double u = u0 + (u1 - u0) * s / pieces;
        int k = int(std::upper_bound(t.begin(), t.end(), u) - t.begin()) - 1;
        k = std::clamp(k, p, int(c.size()) - 1);
        out.push_back(deBoor(c, t, p, k, u));
    }
    if (!closed) { // exactly the frame's ends
        out.front() = frame.front();
        out.back() = frame.back();
    }
    return out;
}

} // namespace kelvor::cad::geom
