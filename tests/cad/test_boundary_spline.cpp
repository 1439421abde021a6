// Boundaries traced from any lines, arcs, circles and polylines, and
// spline-fit polylines made, undone and measured by their fit.
#include "cad/cad.h"
#include "cad/model/geom_boundary.h"
#include "cad/model/geom_curve.h"
#include "cad_host.h"
#include "test_support.h"

#include <gtest/gtest.h>
#include <cmath>
#include <functional>

using namespace kelvor;
using namespace kelvor::cad;

namespace {

struct Host : test::CadHost {
    void send(const QStringList& items) { CommandLineScript(doc(), items); }
};

Entity* lw(Block& b, const std::vector<double>& xy, const std::vector<double>& bulges = {}, bool closed = false)
{
    Entity* e = b.AddLightWeightPolyline(xy);
    for (size_t i = 0; i < bulges.size(); ++i)
        e->SetBulge(int(i), bulges[i]);
    e->setClosed(closed);
    return e;
}

} // namespace

TEST(CadBoundary, TracedFromAnyCurvesCutWhereTheyMeet)
{
    const struct {
        const char* what;
        std::function<void(Block&)> draw;
        QString point;
        double area;     // 0: nothing added
        size_t vertices; // of the new outline
        double bulge;    // largest |bulge| of the outline
    } cases[] = {
        {"four separate lines",
         [](Block& ms) {
             ms.AddLine({0, 0, 0}, {10, 0, 0});
             ms.AddLine({10, 0, 0}, {10, 10, 0});
             ms.AddLine({10, 10, 0}, {0, 10, 0});
             ms.AddLine({0, 10, 0}, {0, 0, 0});
         },
         QStringLiteral("5,5"), 100, 4, 0},
        {"four open polylines crossing at the corners",
         [](Block& ms) {
             lw(ms, {-5, 0, 15, 0});
             lw(ms, {10, -5, 10, 15});
             lw(ms, {15, 10, -5, 10});
             lw(ms, {0, 15, 0, -5});
         },
         QStringLiteral("3,7"), 100, 4, 0},
        {"a line and a half circle polyline",
         [](Block& ms) {
             ms.AddLine({-5, 0, 0}, {5, 0, 0});
             lw(ms, {5, 0, -5, 0}, {1});
         },
         QStringLiteral("0,2"), M_PI * 25 / 2, 2, 1},
        {"a circle cut by a line through its centre",
         [](Block& ms) {
             ms.AddCircle({0, 0, 0}, 5);
             ms.AddLine({-8, 0, 0}, {8, 0, 0});
         },
         QStringLiteral("1,-1"), M_PI * 25 / 2, 2, 1},
        {"an arc closed by a line",
         [](Block& ms) {
             ms.AddArc({0, 0, 0}, 5, 0, M_PI);
             ms.AddLine({-5, 0, 0}, {5, 0, 0});
         },
         QStringLiteral("0,1"), M_PI * 25 / 2, 2, 1},
        {"the smaller of two cells",
         [](Block& ms) {
             lw(ms, {0, 0, 20, 0, 20, 10, 0, 10}, {}, true);
             ms.AddLine({5, -2, 0}, {5, 12, 0});
         },
         QStringLiteral("2,5"), 50, 4, 0},
        {"outside every region",
         [](Block& ms) {
             lw(ms, {-5, 0, 15, 0});
             lw(ms, {10, -5, 10, 15});
             lw(ms, {15, 10, -5, 10});
             lw(ms, {0, 15, 0, -5});
         },
         QStringLiteral("20,5"), 0, 0, 0},
        {"a point on a curve",
         [](Block& ms) { lw(ms, {0, 0, 10, 0, 10, 10, 0, 10}, {}, true); }, QStringLiteral("10,5"), 0, 0, 0},
        {"an open area",
         [](Block& ms) {
             ms.AddLine({0, 0, 0}, {10, 0, 0});
             ms.AddLine({10, 0, 0}, {10, 10, 0});
         },
         QStringLiteral("5,5"), 0, 0, 0},
    };
    for (const auto& c : cases) {
        Host h;
        h.doc().Layers().Add(QStringLiteral("B"));
        h.doc().setActiveLayer(QStringLiteral("B"));
        c.draw(h.ms());
        const int before = h.ms().Count();
        h.send({QStringLiteral("_-Boundary"), c.point, QString()});
        if (c.area == 0) {
            EXPECT_EQ(h.ms().Count(), before) << c.what;
            EXPECT_TRUE(h.app.transcript().contains(QStringLiteral("未找到有效的图案填充边界"))) << c.what;
            continue;
        }
        ASSERT_EQ(h.ms().Count(), before + 1) << c.what;
        Entity* b = LastModelSpaceEntity(h.doc());
        EXPECT_EQ(b->ObjectName(), QStringLiteral("AcDbPolyline")) << c.what;
        EXPECT_TRUE(b->Closed()) << c.what;
        EXPECT_EQ(b->Layer(), QStringLiteral("B")) << c.what;
        EXPECT_NEAR(b->Area(), c.area, 1e-9) << c.what;
        EXPECT_EQ(size_t(b->vertexCount()), c.vertices) << c.what;
        double bulge = 0;
        for (int i = 0; i < b->vertexCount(); ++i)
            bulge = std::max(bulge, std::abs(b->GetBulge(i)));
        EXPECT_NEAR(bulge, c.bulge, 1e-9) << c.what;
    }
}

TEST(CadBoundary, FarCurvesDoNotHideTheNearRegion)
{
    // a search near the point first must still see a region that only far
    // curves close
    Host h;
    lw(h.ms(), {0, 0, 1000, 0, 1000, 1000, 0, 1000}, {}, true);
    for (int i = 0; i < 20; ++i) // small squares far off the point
        lw(h.ms(), {900.0 + i * 4, 900, 902.0 + i * 4, 900, 902.0 + i * 4, 902, 900.0 + i * 4, 902}, {}, true);
    h.send({QStringLiteral("_-Boundary"), QStringLiteral("1,1"), QString()});
    EXPECT_NEAR(LastModelSpaceEntity(h.doc())->Area(), 1e6, 1e-6);
}

TEST(CadSpline, PeditSplineFitsAndDecurveRestoresTheFrame)
{
    const struct {
        const char* what;
        int splinetype, splinesegs;
        size_t fitPoints;
    } cases[] = {
        {"cubic, default segments", 0, 0, 3 * 8 + 1},
        {"quadratic, 4 per span", 5, 4, 3 * 4 + 1},
    };
    const std::vector<double> frame{0, 0, 10, 0, 10, 10, 20, 10};
    for (const auto& c : cases) {
        Host h;
        if (c.splinetype)
            h.doc().SetVariable(QStringLiteral("SPLINETYPE"), c.splinetype);
        if (c.splinesegs)
            h.doc().SetVariable(QStringLiteral("SPLINESEGS"), c.splinesegs);
        Entity* pl = lw(h.ms(), frame);
        const QString handle = pl->Handle();
        h.send({QStringLiteral("_PEDIT"), axEnt2lspEnt(*pl), QStringLiteral("s"), QString()});
        Entity* s = h.doc().HandleToObject(handle);
        EXPECT_EQ(s->ObjectName(), QStringLiteral("AcDb2dPolyline")) << c.what;
        const Entity::Data& d = s->data();
        EXPECT_EQ(d.polyFlags & 4, 4) << c.what;
        ASSERT_EQ(d.rare().fit.size(), c.fitPoints) << c.what;
        EXPECT_EQ(s->Coordinates().size(), 12u) << c.what << ": the frame stays the polyline's vertices";
        // the fit starts and ends at the frame's ends and stays inside its hull
        EXPECT_DOUBLE_EQ(d.rare().fit.front().x, 0) << c.what;
        EXPECT_DOUBLE_EQ(d.rare().fit.back().x, 20) << c.what;
        EXPECT_DOUBLE_EQ(d.rare().fit.back().y, 10) << c.what;
        for (const Vertex& v : d.rare().fit)
            EXPECT_TRUE(v.y >= -1e-12 && v.y <= 10 + 1e-12 && v.x >= 0 && v.x <= 20) << c.what;
        // measured, snapped and shown by the fit: shorter than the frame
        EXPECT_LT(s->Length(), 30) << c.what;
        EXPECT_GT(s->Length(), std::hypot(20, 10)) << c.what;
        const std::optional<geom::Curve> curve = geom::curveOf(*s);
        ASSERT_TRUE(curve) << c.what;
        EXPECT_EQ(curve->segs.size(), c.fitPoints - 1) << c.what;
        EXPECT_EQ(s->shape().front().pts.size(), c.fitPoints) << c.what;

        h.send({QStringLiteral("_PEDIT"), axEnt2lspEnt(*s), QStringLiteral("d"), QString()});
        EXPECT_TRUE(s->data().rare().fit.empty()) << c.what;
        EXPECT_EQ(s->data().polyFlags & 4, 0) << c.what;
        EXPECT_EQ(s->Coordinates().size(), 12u) << c.what;
        EXPECT_DOUBLE_EQ(s->Length(), 30) << c.what;
    }
}
