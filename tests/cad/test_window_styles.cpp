// Pictures of what the window draws as the drawing defines it: linetypes
// at their scales, point styles, a clipped raster image, a spline-fit
// polyline. Each picture is drawn by the window's renderer from a drawing
// made here, saved beside the test binary (cadwin_<name>.png) for a person
// to look at, and checked at chosen pixels.
#include "cad/cad.h"
#include "cad/ui/cad_scene.h"
#include "cad_host.h"
#include "test_support.h"

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>
#include <functional>

using namespace kelvor;
using namespace kelvor::cad;

namespace {

// The drawing's box (minX, minY) to (maxX, maxY) on a square picture of
// `pixels` a side, black as the window's background.
struct Picture {
    QImage image;
    ViewTransform view;
    Picture(Document& doc, double minX, double minY, double maxX, double maxY, int pixels, const QString& name)
    {
        DrawingScene scene;
        scene.setDocument(&doc);
        view.width = view.height = pixels;
        Box b;
        b.add(minX, minY);
        b.add(maxX, maxY);
        view.fit(b);
        image = QImage(pixels, pixels, QImage::Format_RGB32);
        image.fill(Qt::black);
        QPainter p(&image);
        scene.render(p, view);
        p.end();
        image.save(QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("cadwin_%1.png").arg(name)));
    }
    // Whether anything is drawn within one pixel of the drawing point.
    bool inked(double x, double y) const
    {
        const QPointF s = view.toScreen(x, y);
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                const int px = int(std::floor(s.x())) + dx, py = int(std::floor(s.y())) + dy;
                if (image.rect().contains(px, py) && (image.pixel(px, py) & 0xffffff) != 0)
                    return true;
            }
        return false;
    }
    // Whether the colour is drawn within r pixels of the drawing point.
    bool seen(QRgb colour, double x, double y, int r) const
    {
        const QPointF s = view.toScreen(x, y);
        for (int dy = -r; dy <= r; ++dy)
            for (int dx = -r; dx <= r; ++dx) {
                const int px = int(std::floor(s.x())) + dx, py = int(std::floor(s.y())) + dy;
                if (image.rect().contains(px, py) && (image.pixel(px, py) & 0xffffff) == (colour & 0xffffff))
                    return true;
            }
        return false;
    }
    QRgb at(double x, double y) const
    {
        const QPointF s = view.toScreen(x, y);
        return image.pixel(int(std::floor(s.x())), int(std::floor(s.y()))) & 0xffffff;
    }
};

void addDashed(Document& doc, const std::vector<double>& pattern)
{
    Linetype& lt = doc.Linetypes().Add(QStringLiteral("DASHED"));
    lt.pattern = pattern;
}

} // namespace

TEST(CadWindowStyles, DashedLineAtTwoLinetypeScales)
{
    const struct {
        const char* what;
        double ltscale, entityScale;
        std::vector<std::pair<double, bool>> samples; // x along the line, inked
    } cases[] = {
        {"LTSCALE 1: dash 0-5, gap 5-10", 1, 1, {{2.5, true}, {7.5, false}, {12.5, true}, {17.5, false}}},
        {"LTSCALE 2: dash 0-10, gap 10-20", 2, 1, {{2.5, true}, {7.5, true}, {12.5, false}, {22.5, true}}},
        {"the entity's own scale multiplies", 1, 2, {{7.5, true}, {12.5, false}}},
    };
    for (const auto& c : cases) {
        test::CadHost h;
        addDashed(h.doc(), {5, -5});
        h.doc().SetVariable(QStringLiteral("LTSCALE"), c.ltscale);
        Entity* line = h.ms().AddLine({0, 0, 0}, {100, 0, 0});
        line->setLinetype(QStringLiteral("DASHED"));
        line->setLinetypeScale(c.entityScale);
        const Picture pic(h.doc(), 0, -50, 100, 50, 1000, QStringLiteral("dashed_%1").arg(int(c.ltscale * 10 + c.entityScale)));
        for (auto [x, ink] : c.samples)
            EXPECT_EQ(pic.inked(x, 0), ink) << c.what << " at " << x;
    }
    // so small that its dashes fall under a pixel: drawn solid
    test::CadHost h;
    addDashed(h.doc(), {0.001, -0.001});
    h.ms().AddLine({0, 0, 0}, {100, 0, 0})->setLinetype(QStringLiteral("DASHED"));
    const Picture pic(h.doc(), 0, -50, 100, 50, 1000, QStringLiteral("dashed_fine"));
    for (double x : {2.5, 7.5, 12.5, 17.5})
        EXPECT_TRUE(pic.inked(x, 0)) << x;
}

TEST(CadWindowStyles, TextElementsOfAComplexLinetypeStandInTheirGaps)
{
    // "G" stands 6 back from the end of each gap, 1.5 below the path, 3 high:
    // across x 12..14 of each 18-long repeat, turned with the path.
    const struct {
        const char* what;
        double ltscale;
        Point from, to;
        double textAt; // along the path, where the first text stands
    } cases[] = {
        {"along a horizontal line", 1, {0, 0, 0}, {90, 0, 0}, 13},
        {"turned with a vertical line", 1, {0, 0, 0}, {0, 90, 0}, 13},
        {"LTSCALE 2 doubles pattern, offsets and height", 2, {0, 0, 0}, {90, 0, 0}, 26},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        test::CadHost h;
        Linetype& lt = h.doc().Linetypes().Add(QStringLiteral("GAS"));
        lt.pattern = {10, -8};
        auto g = [](int code, const char* v) { return KeptGroup{code, QByteArray(v)}; };
        lt.elements.resize(2);
        lt.elements[0].groups = {g(74, "0")};
        lt.elements[1].groups = {g(74, "2"), g(75, "0"), g(46, "3"), g(50, "0"), g(44, "-6"), g(45, "-1.5"), g(9, "G")};
        lt.elements[1].style = QStringLiteral("Standard");
        h.doc().SetVariable(QStringLiteral("LTSCALE"), c.ltscale);
        h.ms().AddLine(c.from, c.to)->setLinetype(QStringLiteral("GAS"));
        const Picture pic(h.doc(), -45, -45, 95, 95, 1000, QStringLiteral("gas_%1").arg(&c - cases));
        const bool vertical = c.to.x == 0;
        auto on = [&](double along, double across) {
            return vertical ? pic.inked(-across, along) : pic.inked(along, across);
        };
        int inked = 0;
        for (double a = c.textAt - 1; a <= c.textAt + 1; a += 0.1)
            for (double d = -1 * c.ltscale; d <= 1 * c.ltscale; d += 0.1)
                inked += on(a, d);
        EXPECT_GT(inked, 5) << "no text in the gap";
        // the end of the gap stays empty, the dash after it is drawn
        EXPECT_FALSE(on(17.5 * c.ltscale, 0));
        EXPECT_TRUE(on(20 * c.ltscale, 0));
    }
}

TEST(CadWindowStyles, LinetypeByLayerAndPolylineGeneration)
{
    const struct {
        const char* what;
        bool generation;
        bool inkedAt9;
    } cases[] = {
        {"generation on: the pattern runs on over the vertices", true, false},
        {"generation off: each 4-unit piece starts with its dash", false, true},
    };
    for (const auto& c : cases) {
        test::CadHost h;
        addDashed(h.doc(), {6, -6});
        Layer& l = h.doc().Layers().Add(QStringLiteral("dash"));
        l.Linetype = QStringLiteral("DASHED");
        Entity* p = h.ms().AddLightWeightPolyline({0, 0, 4, 0, 8, 0, 12, 0, 16, 0, 20, 0, 24, 0});
        p->setLayer(QStringLiteral("dash")); // ByLayer: the layer's dashes
        p->setLinetypeGeneration(c.generation);
        const Picture pic(h.doc(), 0, -12, 24, 12, 960, QStringLiteral("plinegen_%1").arg(c.generation));
        EXPECT_TRUE(pic.inked(3, 0)) << c.what;
        EXPECT_EQ(pic.inked(9, 0), c.inkedAt9) << c.what;
        EXPECT_EQ(pic.inked(10.5, 0), c.inkedAt9) << c.what;
    }
}

TEST(CadWindowStyles, PointStylesAndSizes)
{
    // 400 pixels over 4 units: PDSIZE 0.2 and -5 both give 20 pixels
    const struct {
        int pdmode;
        std::vector<std::pair<std::pair<double, double>, bool>> samples; // offset from the point, inked
    } cases[] = {
        {0, {{{0, 0}, true}, {{0.04, 0}, false}}},
        {2, {{{0.08, 0}, true}, {{0, 0.08}, true}, {{0.06, 0.06}, false}}},
        {3, {{{0.06, 0.06}, true}, {{0.08, 0}, false}}},
        {34, {{{0.0707, 0.0707}, true}, {{0.08, 0}, true}, {{0.04, 0.03}, false}}},
        {66, {{{0.1, 0.1}, true}, {{0.1, 0}, true}, {{0.06, 0.06}, false}}},
    };
    for (double pdsize : {0.2, -5.0}) {
        for (const auto& c : cases) {
            test::CadHost h;
            h.doc().SetVariable(QStringLiteral("PDMODE"), c.pdmode);
            h.doc().SetVariable(QStringLiteral("PDSIZE"), pdsize);
            h.ms().AddPoint({2, 2, 0});
            const Picture pic(h.doc(), 0, 0, 4, 4, 400,
                              QStringLiteral("points_%1_%2").arg(c.pdmode).arg(pdsize < 0 ? QStringLiteral("pct") : QStringLiteral("units")));
            for (const auto& [off, ink] : c.samples)
                EXPECT_EQ(pic.inked(2 + off.first, 2 + off.second), ink)
                    << "PDMODE " << c.pdmode << " PDSIZE " << pdsize << " at +" << off.first << ",+" << off.second;
        }
    }
}

TEST(CadWindowStyles, PointStylesUnderAPixelShowAsADotOrNothing)
{
    // PDSIZE 0.001 over 400 pixels for 4 units: a tenth of a pixel
    const struct {
        int pdmode;
        bool inked;
    } cases[] = {{0, true}, {1, false}, {3, true}, {33, true}, {66, true}};
    for (const auto& c : cases) {
        test::CadHost h;
        h.doc().SetVariable(QStringLiteral("PDMODE"), c.pdmode);
        h.doc().SetVariable(QStringLiteral("PDSIZE"), 0.001);
        h.ms().AddPoint({2, 2, 0});
        const Picture pic(h.doc(), 0, 0, 4, 4, 400, QStringLiteral("tiny_points_%1").arg(c.pdmode));
        EXPECT_EQ(pic.seen(qRgb(255, 255, 255), 2, 2, 1), c.inked) << "PDMODE " << c.pdmode;
    }
}

TEST(CadWindowStyles, ImageClippedByAPolygonWithAndWithoutFrame)
{
    for (int frame : {1, 0}) {
        test::CadHost h;
        const QString png = h.home.path(QStringLiteral("red.png"));
        QImage red(8, 8, QImage::Format_ARGB32);
        red.fill(QColor(255, 0, 0));
        ASSERT_TRUE(red.save(png));
        h.doc().SendCommand(QStringLiteral("_imageframe\r%1\r").arg(frame)); // the current value is 1
        ASSERT_EQ(h.doc().GetVariable(QStringLiteral("IMAGEFRAME")).toInt(), frame);
        Entity* img = h.ms().AddRaster(png, {0, 0, 0}, 10, 0);
        img->setLayer(QStringLiteral("0"));
        // clip to the lower-right triangle of the picture
        h.doc().SendCommand(QStringLiteral("_imageclip\r") + axEnt2lspEnt(*img)
                            + QStringLiteral("\rN\rP\r0,0\r10,0\r10,10\r\r"));
        ASSERT_TRUE(img->ClippingEnabled()) << h.app.transcript().toStdString();
        const Picture pic(h.doc(), -1, -1, 11, 11, 480, QStringLiteral("image_frame_%1").arg(frame));
        EXPECT_EQ(pic.at(8, 2), qRgb(255, 0, 0) & 0xffffff) << "inside the clip";
        EXPECT_EQ(pic.at(2, 8), 0u) << "cut away";
        EXPECT_EQ(pic.seen(qRgb(255, 255, 255), 3, 3, 2), frame == 1) << "the frame on the clip's diagonal";
        EXPECT_EQ(pic.seen(qRgb(255, 255, 255), 5, 0, 2), frame == 1) << "the frame along the bottom";
    }
}

TEST(CadWindowStyles, SplineFitPolylineIsDrawnByItsFit)
{
    test::CadHost h;
    Entity* pl = h.ms().AddLightWeightPolyline({0, 0, 10, 0, 10, 10, 20, 10});
    CommandLineScript(h.doc(), {QStringLiteral("_PEDIT"), axEnt2lspEnt(*pl), QStringLiteral("s"), QString()});
    const Picture pic(h.doc(), -2, -7, 22, 17, 480, QStringLiteral("spline_fit"));
    EXPECT_TRUE(pic.inked(10, 5)) << "the cubic passes the middle of the frame";
    EXPECT_FALSE(pic.inked(10, 0.5)) << "the frame's corner is not drawn";
    EXPECT_FALSE(pic.inked(5, 0)) << "nor its first side";
    EXPECT_TRUE(pic.inked(0, 0)) << "the curve starts at the first vertex";
}
