// Plane geometry of the embedded CAD host: areas and lengths, exact
// bounding boxes, regions, and the running object snaps of a pick.
#include "cad/cad.h"
#include "cad/model/geom_curve.h"
#include "cad_host.h"
#include "test_support.h"

#include <gtest/gtest.h>
#include <cmath>

using namespace kelvor;
using namespace kelvor::cad;

namespace {

struct Host : test::CadHost {
    void pick(double x, double y) { answerPoint(x, y); }
    void typed(const QString& text) { answerTypedPoint(text); }
};

Entity* lw(Block& b, const std::vector<double>& xy, bool closed = false, const std::vector<double>& bulges = {})
{
    Entity* e = b.AddLightWeightPolyline(xy);
    for (size_t i = 0; i < bulges.size(); ++i)
        e->SetBulge(int(i), bulges[i]);
    e->setClosed(closed);
    return e;
}

} // namespace

TEST(CadGeometry, AreaAndLengthOfPolylines)
{
    Host h;
    const double half = std::tan(M_PI / 4); // bulge of a half circle
    const struct {
        const char* what;
        std::vector<double> xy;
        bool closed;
        std::vector<double> bulges;
        double area, length;
    } cases[] = {
        {"open L measured as closed", {0, 0, 4, 0, 4, 3}, false, {}, 6, 7},
        {"closed triangle", {0, 0, 4, 0, 4, 3}, true, {}, 6, 12},
        {"open: the last bulge has no piece", {0, 0, 4, 0, 4, 3}, false, {0, 0, half}, 6, 7},
        {"half circle on the closing piece", {0, 0, 2, 0}, true, {0, half}, M_PI / 2, 2 + M_PI},
        {"inward bulge takes area away", {0, 0, 2, 0, 2, 2, 0, 2}, true, {-half, 0, 0, 0}, 4 - M_PI / 2, 6 + M_PI},
    };
    for (const auto& c : cases) {
        Entity* e = lw(h.ms(), c.xy, c.closed, c.bulges);
        EXPECT_NEAR(e->Area(), c.area, 1e-9) << c.what;
        EXPECT_NEAR(e->Length(), c.length, 1e-9) << c.what;
    }
    // far from the origin the area keeps its digits
    Entity* far = lw(h.ms(), {534500, 2551200, 534510, 2551200, 534510, 2551210, 534500, 2551210}, true);
    EXPECT_DOUBLE_EQ(far->Area(), 100);
}

TEST(CadGeometry, BoundingBoxesAreExact)
{
    Host h;
    Block& ms = h.ms();
    const double r2 = std::sqrt(0.5);
    const struct {
        const char* what;
        Entity* e;
        double minX, minY, maxX, maxY;
    } cases[] = {
        {"line", ms.AddLine({3, -1, 0}, {1, 2, 0}), 1, -1, 3, 2},
        {"circle", ms.AddCircle({100, 200, 0}, 1), 99, 199, 101, 201},
        {"arc over the top", ms.AddArc({0, 0, 0}, 1, M_PI / 4, 3 * M_PI / 4), -r2, r2, r2, 1},
        {"arc through angle 0", ms.AddArc({0, 0, 0}, 2, 7 * M_PI / 4, M_PI / 4), 2 * r2, -2 * r2, 2, 2 * r2},
        {"clockwise half circle bulges up", lw(ms, {0, 0, 2, 0}, false, {-1}), 0, 0, 2, 1},
        {"old-style polyline", ms.AddPolyline({0, 0, 5, 4, -2, 5}), 0, -2, 4, 0},
    };
    for (const auto& c : cases) {
        Point lo, hi;
        c.e->GetBoundingBox(lo, hi);
        EXPECT_NEAR(lo.x, c.minX, 1e-12) << c.what;
        EXPECT_NEAR(lo.y, c.minY, 1e-12) << c.what;
        EXPECT_NEAR(hi.x, c.maxX, 1e-12) << c.what;
        EXPECT_NEAR(hi.y, c.maxY, 1e-12) << c.what;
    }
    // a box's middle is a circle's centre, as the boundary-line finishing takes it
    Entity* c = ms.AddCircle({2551200.125, 534500.5, 0}, 0.75);
    Point lo, hi;
    c->GetBoundingBox(lo, hi);
    EXPECT_DOUBLE_EQ((lo.x + hi.x) / 2, 2551200.125);
    EXPECT_DOUBLE_EQ((lo.y + hi.y) / 2, 534500.5);
}

// Boxes are measured without building the outline; they must still be the
// outline's to the last bit (the saved header's extents come from them).
TEST(CadGeometry, BoxesAreThoseOfTheOutlines)
{
    Host h;
    Block& ms = h.ms();
    Block& def = h.doc().BlocksAdd({1, 1, 0}, QStringLiteral("TK"));
    def.AddCircle({3, 4, 0}, 2.5);
    h.doc().BlocksAdd({0, 0, 0}, QStringLiteral("EMPTY"));
    auto text = [&](double rot, int align) {
        Entity* t = ms.AddText(QStringLiteral("房屋 A7"), {534512.3, 2551234.7, 0}, 2.5);
        t->setRotation(rot);
        t->setAlignment(align);
        if (align != AlignLeft)
            t->setTextAlignmentPoint({534520.1, 2551239.9, 0});
        return t;
    };
    Entity* bulged3d = ms.Add3DPoly({0, 0, 0, 3, 1, 2, 5, 7, 1});
    bulged3d->setClosed(true);
    Entity* outline = lw(ms, {50, 50, 60, 50, 60, 60}, true, {0.3, 0, -0.7});
    const struct {
        const char* what;
        Entity* e;
    } cases[] = {
        {"line", ms.AddLine({534000.1, 2551000.3, 0}, {533990.7, 2551004.9, 0})},
        {"point", ms.AddPoint({534000.1, 2551000.3, 12.5})},
        {"circle", ms.AddCircle({534000.1, 2551000.3, 0}, 3.3)},
        {"arc through angle 0", ms.AddArc({534000.1, 2551000.3, 0}, 2.2, 5.9, 0.4)},
        {"arc of nearly a whole turn", ms.AddArc({1, 2, 0}, 7, 0.1, 0.05)},
        {"text turned", text(0.7, AlignLeft)},
        {"text aligned", text(0, AlignAligned)},
        {"text middle centre", text(1.1, AlignMiddleCenter)},
        {"text top right", text(0, AlignTopRight)},
        {"mtext of lines", ms.AddMText({10, 20, 0}, 0, QStringLiteral("第一行\\P second\\\\P\nthird"))},
        {"open polyline with bulges", lw(ms, {0, 0, 4, 0, 4, 3, 1, 5}, false, {0.4, -2, 0, 0.9})},
        {"closed with a bulged closing piece", lw(ms, {534000, 2551000, 534010, 2551000, 534010, 2551008}, true, {0, 0.2, -1.3})},
        {"old-style polyline", ms.AddPolyline({0, 0, 0, 5, 4, 0, -2, 5, 0})},
        {"3d polyline keeps no bulge", bulged3d},
        {"block reference", ms.InsertBlock({100, 200, 0}, QStringLiteral("TK"), 2, 3, 1, 0.6)},
        {"reference to an empty block", ms.InsertBlock({100, 200, 0}, QStringLiteral("EMPTY"), 1, 1, 1, 0)},
        {"region", ms.AddRegion({outline}).front()},
        {"image", ms.AddRaster(QStringLiteral("d:\\a.tif"), {-100, -100, 0}, 50, 0.3)},
    };
    for (const auto& c : cases) {
        const Box want = shapeBox(c.e->shape()), got = c.e->box();
        EXPECT_TRUE(got.minX == want.minX && got.minY == want.minY && got.maxX == want.maxX && got.maxY == want.maxY)
            << c.what;
    }
    // a changed entity is measured again
    Entity* line = cases[0].e;
    line->Move({0, 0, 0}, {10, 0, 0});
    EXPECT_DOUBLE_EQ(line->box().minX, 533990.7 + 10);
}

TEST(CadGeometry, RegionsNeedClosedOutlines)
{
    Host h;
    Block& ms = h.ms();
    Entity* closed = lw(ms, {0, 0, 10, 0, 10, 10, 0, 10}, true);
    Entity* open = lw(ms, {0, 0, 10, 0, 10, 10, 0, 10});
    const std::vector<Entity*> regions = ms.AddRegion({closed});
    ASSERT_EQ(regions.size(), 1u);
    EXPECT_DOUBLE_EQ(regions[0]->Area(), 100);
    const int before = ms.Count();
    EXPECT_THROW(ms.AddRegion({open}), RunError);
    EXPECT_EQ(ms.Count(), before);
    EXPECT_EQ(ms.AddRegion({ms.AddCircle({0, 0, 0}, 1)}).size(), 1u);
}

TEST(CadGeometry, CurvesMeetWhereTheyCross)
{
    using namespace geom;
    const struct {
        const char* what;
        Seg a, b;
        std::vector<Pt2> expected;
    } cases[] = {
        {"two lines", {{0, 0}, {2, 2}}, {{0, 2}, {2, 0}}, {{1, 1}}},
        {"lines apart", {{0, 0}, {1, 0}}, {{2, -1}, {2, 1}}, {}},
        {"touching at an end", {{0, 0}, {1, 0}}, {{1, 0}, {1, 5}}, {{1, 0}}},
        {"line through a half circle", {{-2, 0.5}, {2, 0.5}}, {{1, 0}, {-1, 0}, 1}, {{-std::sqrt(0.75), 0.5}, {std::sqrt(0.75), 0.5}}},
        {"line below that half circle", {{-2, -0.5}, {2, -0.5}}, {{1, 0}, {-1, 0}, 1}, {}},
        {"two half circles", {{1, 0}, {-1, 0}, 1}, {{2, 0}, {0, 0}, 1}, {{0.5, std::sqrt(0.75)}}},
    };
    for (const auto& c : cases) {
        const auto found = intersect(c.a, c.b);
        ASSERT_EQ(found.size(), c.expected.size()) << c.what;
        for (size_t i = 0; i < found.size(); ++i) {
            const Pt2 p = pointAt(c.a, found[i].first), q = pointAt(c.b, found[i].second);
            EXPECT_NEAR(p.x, q.x, 1e-12) << c.what;
            EXPECT_NEAR(p.y, q.y, 1e-12) << c.what;
            bool listed = false;
            for (const Pt2& e : c.expected)
                listed = listed || (std::abs(e.x - p.x) < 1e-12 && std::abs(e.y - p.y) < 1e-12);
            EXPECT_TRUE(listed) << c.what << " at " << p.x << "," << p.y;
        }
    }
}

TEST(CadGeometry, RunningSnapsMoveAPick)
{
    Host h;
    Block& ms = h.ms();
    ms.AddLine({0, 0, 101}, {4, 0, 102});         // a 3D line: heights interpolate
    Entity* contour = lw(ms, {0, 10, 4, 10, 4, 14});
    contour->setElevation(57.5);                  // a contour carries its height
    ms.AddPolyline({10, 0, 3, 14, 0, 3});         // old-style at elevation 3
    h.app.ZoomExtents(); // the snap reaches ten pixels of this view
    const struct {
        const char* what;
        int osmode;
        double x, y;
        Point expected;
    } cases[] = {
        {"nearest on a 3D line", 512, 1, 0.05, {1, 0, 101.25}},
        {"nearest on a polyline takes its elevation", 512, 2, 10.1, {2, 10, 57.5}},
        {"nearest on an old-style polyline", 512, 12, -0.1, {12, 0, 3}},
        {"endpoint of the 3D line", 1, 3.9, 0.1, {4, 0, 102}},
        {"endpoint at a polyline corner", 1, 4.1, 13.9, {4, 14, 57.5}},
        {"both: the closer candidate wins", 513, 3.8, 0.05, {3.8, 0, 101.95}},
        {"no snap", 0, 1, 0.05, {1, 0.05, 0}},
        {"snaps switched off", 16384 | 512, 1, 0.05, {1, 0.05, 0}},
        {"nothing within reach", 512, 2, 5, {2, 5, 0}},
    };
    for (const auto& c : cases) {
        h.doc().SetVariable(QStringLiteral("OSMODE"), c.osmode);
        h.pick(c.x, c.y);
        const Point p = h.doc().Utility().GetPoint(QStringLiteral("pick:"));
        EXPECT_NEAR(p.x, c.expected.x, 1e-9) << c.what;
        EXPECT_NEAR(p.y, c.expected.y, 1e-9) << c.what;
        EXPECT_NEAR(p.z, c.expected.z, 1e-9) << c.what;
    }
    // typed coordinates are taken as typed
    h.doc().SetVariable(QStringLiteral("OSMODE"), 512);
    h.typed(QStringLiteral("1,0.05"));
    const Point p = h.doc().Utility().GetPoint();
    EXPECT_DOUBLE_EQ(p.y, 0.05);
}
