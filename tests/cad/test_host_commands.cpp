// The host's command line carrying out the command texts drawing commands
// send: offset, trim, break, polyline edit, boundary, layer and change,
// image clipping, and the mapping add-on's commands and scripts.
#include "cad/cad.h"
#include "cad/host/cmd_commands.h"
#include "cad_host.h"
#include "test_support.h"

#include <gtest/gtest.h>
#include <QDir>
#include <cmath>
#include <map>

using namespace kelvor;
using namespace kelvor::cad;

namespace {

struct Host : test::CadHost {
    void send(const QStringList& items) { CommandLineScript(doc(), items); }
};

Entity* lw(Block& b, const std::vector<double>& xy, bool closed = false)
{
    Entity* e = b.AddLightWeightPolyline(xy);
    e->setClosed(closed);
    return e;
}

Entity* old(Block& b, const std::vector<double>& xy, bool closed = false)
{
    std::vector<double> xyz;
    for (size_t i = 0; i + 1 < xy.size(); i += 2)
        xyz.insert(xyz.end(), {xy[i], xy[i + 1], 0});
    Entity* e = b.AddPolyline(xyz);
    e->setClosed(closed);
    return e;
}

// x, y of every vertex, whatever the kind.
std::vector<double> planVertices(const Entity& e)
{
    std::vector<double> out;
    for (const Vertex& v : e.vertices())
        out.insert(out.end(), {v.x, v.y});
    return out;
}

void expectNear(const std::vector<double>& got, const std::vector<double>& want, const std::string& what)
{
    ASSERT_EQ(got.size(), want.size()) << what;
    for (size_t i = 0; i < got.size(); ++i)
        EXPECT_NEAR(got[i], want[i], 1e-9) << what << " at " << i;
}

QString pt(double x, double y)
{
    return axPoint2lspPoint(Point{x, y, 0});
}

const XData kCode{xstr(1001, QStringLiteral("SOUTH")), xstr(1000, QStringLiteral("141101"))};

} // namespace

TEST(CadCommands, OffsetThroughAPointOrAtADistance)
{
    const double s = 1; // the distance that puts the copy through the point
    const struct {
        const char* what;
        bool oldStyle, closed;
        std::vector<double> xy;
        QString option, point;
        std::vector<double> expected;
    } cases[] = {
        {"open polyline through a point", false, false, {0, 0, 10, 0, 10, 10}, QStringLiteral("tHrough"), pt(5, -2),
         {0, -2, 12, -2, 12, 10}},
        {"same through the inner side", false, false, {0, 0, 10, 0, 10, 10}, QStringLiteral("t"), pt(5, 2),
         {0, 2, 8, 2, 8, 10}},
        {"closed rectangle outwards", false, true, {0, 0, 10, 0, 10, 5, 0, 5}, QStringLiteral("Through"), pt(5, -s),
         {-1, -1, 11, -1, 11, 6, -1, 6}},
        {"old-style rectangle outwards", true, true, {0, 0, 10, 0, 10, 5, 0, 5}, QStringLiteral("THROUGH"), pt(5, -s),
         {-1, -1, 11, -1, 11, 6, -1, 6}},
        {"old-style open, at a distance", true, false, {0, 0, 10, 0, 10, 10}, QStringLiteral("1.5"), pt(5, 3),
         {0, 1.5, 8.5, 1.5, 8.5, 10}},
        {"rectangle inwards at a distance", false, true, {0, 0, 10, 0, 10, 5, 0, 5}, QStringLiteral("2"), pt(5, 1),
         {2, 2, 8, 2, 8, 3, 2, 3}},
    };
    for (const auto& c : cases) {
        Host h;
        Entity* e = c.oldStyle ? old(h.ms(), c.xy, c.closed) : lw(h.ms(), c.xy, c.closed);
        e->setLayer(QStringLiteral("0"));
        e->SetXData(kCode);
        h.send({QStringLiteral("_offset"), c.option, axEnt2lspEnt(*e), c.point, QString()});
        ASSERT_EQ(h.ms().Count(), 2) << c.what;
        Entity* copy = LastModelSpaceEntity(h.doc());
        EXPECT_EQ(copy->kind(), e->kind()) << c.what;
        EXPECT_EQ(copy->Closed(), c.closed) << c.what;
        expectNear(planVertices(*copy), c.expected, c.what);
        EXPECT_EQ(copy->GetXData(QString()), kCode) << c.what;
        EXPECT_FALSE(h.app.transcript().contains(QStringLiteral("未知命令"))) << c.what;
    }
}

TEST(CadCommands, OffsetOfALineAndWhatItCannotUse)
{
    {
        Host h;
        Entity* line = h.ms().AddLine({0, 0, 0}, {10, 0, 0});
        h.send({QStringLiteral("_offset"), QStringLiteral("t"), axEnt2lspEnt(*line), pt(20, -3), QString()});
        ASSERT_EQ(h.ms().Count(), 2);
        Entity* c = LastModelSpaceEntity(h.doc());
        EXPECT_EQ(c->StartPoint(), (Point{0, -3, 0})) << "a point beyond the end still sets the distance";
        EXPECT_EQ(c->EndPoint(), (Point{10, -3, 0}));
    }
    const struct {
        const char* what;
        QString option, point;
    } unusable[] = {
        {"a distance that turns the rectangle inside out", QStringLiteral("3"), pt(5, 1)},
        {"a through point on the outline", QStringLiteral("t"), pt(5, 0)},
        {"a distance of 0", QStringLiteral("0"), pt(5, 1)},
        {"a distance that is no number", QStringLiteral("wide"), pt(5, 1)},
        {"no point", QStringLiteral("t"), QString()},
    };
    for (const auto& c : unusable) {
        Host h;
        Entity* rect = lw(h.ms(), {0, 0, 10, 0, 10, 5, 0, 5}, true);
        h.send({QStringLiteral("_offset"), c.option, axEnt2lspEnt(*rect), c.point, QString()});
        EXPECT_EQ(h.ms().Count(), 1) << c.what;
        EXPECT_EQ(LastModelSpaceEntity(h.doc()), rect) << c.what;
    }
    Host h;
    Entity* text = h.ms().AddText(QStringLiteral("x"), {0, 0, 0}, 1);
    h.send({QStringLiteral("_offset"), QStringLiteral("t"), axEnt2lspEnt(*text), pt(1, 1), QString()});
    EXPECT_EQ(h.ms().Count(), 1) << "a text cannot be offset";
}

TEST(CadCommands, FenceTrimAgainstOneEdgeRemovesTheOuterParts)
{
    Host h;
    Entity* rect = lw(h.ms(), {0, 0, 10, 0, 10, 10, 0, 10}, true);
    std::vector<Entity*> lines;
    for (double x : {2.0, 5.0, 8.0}) {
        lines.push_back(h.ms().AddLine({x, -5, 0}, {x, 15, 0}));
        lines.back()->SetXData(kCode);
    }
    Entity* away = h.ms().AddLine({20, 11, 0}, {20, 14, 0}); // crossed by no fence
    Entity* far = h.ms().AddLine({-3, 12, 0}, {-3, 20, 0});  // crossed, but meets no edge
    // above the rectangle, then below it: as the free sheet trim sends it
    for (double y : {12.0, -2.0})
        h.send({QStringLiteral("_trim"), axEnt2lspEnt(*rect), QString(), QStringLiteral("f"), pt(-4, y), pt(14, y),
                QString(), QString()});
    EXPECT_EQ(h.ms().Count(), 6) << "nothing added, nothing lost";
    for (size_t i = 0; i < lines.size(); ++i) {
        const double x = 2.0 + 3.0 * i;
        EXPECT_EQ(lines[i]->StartPoint(), (Point{x, 0, 0}));
        EXPECT_EQ(lines[i]->EndPoint(), (Point{x, 10, 0}));
        EXPECT_EQ(lines[i]->GetXData(QString()), kCode);
    }
    expectNear(planVertices(*rect), {0, 0, 10, 0, 10, 10, 0, 10}, "the edge");
    EXPECT_TRUE(rect->Closed());
    EXPECT_EQ(away->EndPoint(), (Point{20, 14, 0}));
    EXPECT_EQ(far->EndPoint(), (Point{-3, 20, 0}));
}

TEST(CadCommands, FenceTrimAgainstAllObjects)
{
    Host h;
    // boundary lines meeting at a boundary point inside its circle
    Entity* circle = h.ms().AddCircle({100, 200, 0}, 1);
    Entity* west = h.ms().AddLine({90, 200, 0}, {100, 200, 0});
    Entity* north = h.ms().AddLine({100, 200, 0}, {100, 210, 0});
    Entity* through = lw(h.ms(), {95, 195, 105, 205}); // a polyline right through it
    const QStringList script{QStringLiteral("_trim"), QString(), QStringLiteral("f"), QStringLiteral("100,199.1"),
                             QStringLiteral("100.9,200"), QStringLiteral("100,200.9"), QStringLiteral("99.1,200"),
                             QStringLiteral("100,199.1"), QString(), QString()};
    h.send(script);
    h.send(script); // the second pass finds nothing left to cut
    const double r = std::sqrt(0.5);
    EXPECT_NEAR(west->EndPoint().x, 99, 1e-9);
    EXPECT_NEAR(north->StartPoint().y, 201, 1e-9);
    EXPECT_EQ(circle->Radius(), 1) << "the circle itself is not crossed";
    ASSERT_EQ(h.ms().Count(), 5) << "the polyline parted in two";
    Entity* second = LastModelSpaceEntity(h.doc());
    expectNear(planVertices(*through), {95, 195, 100 - r, 200 - r}, "first part");
    expectNear(planVertices(*second), {100 + r, 200 + r, 105, 205}, "second part");
}

TEST(CadCommands, TrimOfClosedCurvesAndArcs)
{
    Host h;
    Entity* cutter = h.ms().AddLine({5, -5, 0}, {5, 15, 0});
    Entity* square = lw(h.ms(), {0, 0, 10, 0, 10, 10, 0, 10}, true);
    Entity* circle = h.ms().AddCircle({5, 20, 0}, 2);
    Entity* cutter2 = h.ms().AddLine({5, 17, 0}, {5, 23, 0});
    // fence right of the cutters: the right halves go
    h.send({QStringLiteral("_trim"), axEnt2lspEnt(*cutter), axEnt2lspEnt(*cutter2), QString(), QStringLiteral("F"),
            pt(6.5, -1), pt(6.5, 30), QString(), QString()});
    EXPECT_TRUE(circle->isErased()) << "a trimmed circle becomes an arc";
    Entity* arc = LastModelSpaceEntity(h.doc());
    ASSERT_EQ(arc->ObjectName(), QStringLiteral("AcDbArc"));
    EXPECT_NEAR(arc->StartAngle(), M_PI / 2, 1e-9);
    EXPECT_NEAR(arc->EndAngle(), 3 * M_PI / 2, 1e-9);
    EXPECT_FALSE(square->Closed());
    expectNear(planVertices(*square), {5, 10, 0, 10, 0, 0, 5, 0}, "the left half of the square, opened");
    // an arc picked directly loses the part at the pick, between its start
    // and the line that now cuts it
    h.ms().AddLine({0, 20, 0}, {5, 20, 0});
    h.send({QStringLiteral("_trim"), QString(),
            GetDoubleEntTable(*arc, {5 - 2 * std::cos(M_PI / 4), 20 + 2 * std::sin(M_PI / 4), 0}), QString()});
    EXPECT_NEAR(arc->StartAngle(), M_PI, 1e-9);
    EXPECT_NEAR(arc->EndAngle(), 3 * M_PI / 2, 1e-9);
}

TEST(CadCommands, BreakPartsAnEntityWithoutAGap)
{
    Host h;
    h.doc().Layers().Add(QStringLiteral("JMD"));
    Entity* pl = lw(h.ms(), {0, 0, 10, 0, 10, 5});
    pl->setLayer(QStringLiteral("JMD"));
    pl->setColor(3);
    pl->SetXData(kCode);
    h.send({QStringLiteral("_break"), GetDoubleEntTable(*pl, {5, 0, 0}), axPoint2lspPoint(Point{5, 0, 0})});
    ASSERT_EQ(h.ms().Count(), 2);
    Entity* rest = LastModelSpaceEntity(h.doc());
    expectNear(planVertices(*pl), {0, 0, 5, 0}, "first part");
    expectNear(planVertices(*rest), {5, 0, 10, 0, 10, 5}, "second part");
    for (Entity* part : {pl, rest}) {
        EXPECT_EQ(part->Layer(), QStringLiteral("JMD"));
        EXPECT_EQ(part->Color(), 3);
        EXPECT_EQ(part->GetXData(QString()), kCode);
    }

    // a bulged piece parted in its middle keeps the arc: two quarter arcs
    Entity* arcPl = lw(h.ms(), {20, 0, 22, 0});
    arcPl->SetBulge(0, 1);
    h.send({QStringLiteral("_break"), GetDoubleEntTable(*arcPl, {21, -1, 0}), QStringLiteral("21,-1,0")});
    Entity* arcRest = LastModelSpaceEntity(h.doc());
    EXPECT_NEAR(arcPl->GetBulge(0), std::tan(M_PI / 8), 1e-12);
    EXPECT_NEAR(arcRest->GetBulge(0), std::tan(M_PI / 8), 1e-12);
    EXPECT_NEAR(arcPl->Length() + arcRest->Length(), M_PI, 1e-12);

    const int before = h.ms().Count();
    Entity* line = h.ms().AddLine({0, 10, 0}, {10, 10, 0});
    h.send({QStringLiteral("_break"), GetDoubleEntTable(*line, {0, 10, 0}), QStringLiteral("0,10,0")});
    EXPECT_EQ(h.ms().Count(), before + 1) << "at an end there is nothing to part";
    h.send({QStringLiteral("_break"), GetDoubleEntTable(*line, {4, 10, 0}), QStringLiteral("4,10,0")});
    EXPECT_EQ(line->EndPoint(), (Point{4, 10, 0}));
    EXPECT_EQ(LastModelSpaceEntity(h.doc())->StartPoint(), (Point{4, 10, 0}));
}

TEST(CadCommands, PolylineEditFitDecurveAndSpline)
{
    Host h;
    // four points of the circle (100, 200) r 5, clockwise from the top
    Entity* pl = lw(h.ms(), {100, 205, 105, 200, 100, 195, 95, 200}, true);
    const QString handle = pl->Handle();
    h.send({QStringLiteral("_PEDIT"), axEnt2lspEnt(*pl), QStringLiteral("f"), QString()});
    for (int i = 0; i < 4; ++i)
        EXPECT_NEAR(pl->GetBulge(i), -0.41421356237, 1e-10) << i;
    EXPECT_NEAR(pl->Area(), M_PI * 25, 1e-9) << "the fitted outline is the circle";
    EXPECT_EQ(h.ms().Count(), 1);

    h.send({QStringLiteral("_PEDIT"), axEnt2lspEnt(*pl), QStringLiteral("d"), QString()});
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(pl->GetBulge(i), 0);

    Entity* heavy = old(h.ms(), {0, 0, 10, 0, 10, 10});
    h.send({QStringLiteral("_PEDIT"), axEnt2lspEnt(*heavy), QStringLiteral("F"), QString()});
    EXPECT_TRUE(heavy->FitCurve());
    h.send({QStringLiteral("_PEDIT"), axEnt2lspEnt(*heavy), QStringLiteral("d"), QString()});
    EXPECT_FALSE(heavy->FitCurve());

    h.send({QStringLiteral("_PEDIT"), axEnt2lspEnt(*pl), QStringLiteral("s"), QString()});
    Entity* spline = h.doc().HandleToObject(handle);
    EXPECT_EQ(spline->ObjectName(), QStringLiteral("AcDb2dPolyline")) << "same handle, old-style now";
    EXPECT_EQ(spline->data().polyFlags & 4, 4);
    EXPECT_TRUE(spline->Closed());
    expectNear(planVertices(*spline), {100, 205, 105, 200, 100, 195, 95, 200}, "spline frame");
    EXPECT_EQ(h.ms().Count(), 2);
}

TEST(CadCommands, BoundaryCopiesTheSmallestOutlineAroundAPoint)
{
    Host h;
    h.doc().Layers().Add(QStringLiteral("BOUND"));
    lw(h.ms(), {-10, -10, 30, -10, 30, 30, -10, 30}, true);
    Entity* square = old(h.ms(), {0, 0, 10, 0, 10, 10, 0, 10}, true);
    square->setColor(1);
    h.ms().AddCircle({50, 50, 0}, 2);
    h.doc().setActiveLayer(QStringLiteral("BOUND"));
    h.send({QStringLiteral("_-Boundary"), QStringLiteral("5,5"), QString()});
    ASSERT_EQ(h.ms().Count(), 4);
    Entity* b = LastModelSpaceEntity(h.doc());
    EXPECT_EQ(b->ObjectName(), QStringLiteral("AcDbPolyline"));
    EXPECT_TRUE(b->Closed());
    EXPECT_EQ(b->Layer(), QStringLiteral("BOUND"));
    EXPECT_EQ(b->Color(), ColorByLayer) << "the current properties, not the source's";
    expectNear(planVertices(*b), {0, 0, 10, 0, 10, 10, 0, 10}, "the square");
    EXPECT_DOUBLE_EQ(b->Area(), 100);

    h.send({QStringLiteral("_-Boundary"), QStringLiteral("50.5,50"), QString()});
    EXPECT_NEAR(LastModelSpaceEntity(h.doc())->Area(), M_PI * 4, 1e-9) << "a circle becomes two arcs";

    h.send({QStringLiteral("_-Boundary"), QStringLiteral("100,100"), QString()});
    EXPECT_EQ(h.ms().Count(), 5) << "nothing surrounds that point";
}

TEST(CadCommands, LayerSetAndChangeColourByLayer)
{
    Host h;
    h.doc().Layers().Add(QStringLiteral("A"));
    h.doc().Layers().Add(QStringLiteral("LOCKED")).Lock = true;
    h.doc().setActiveLayer(QStringLiteral("A"));
    Entity* red = h.ms().AddLine({0, 0, 0}, {1, 0, 0});
    red->setColor(1);
    Entity* blue = h.ms().AddCircle({0, 0, 0}, 1);
    blue->setColor(5);
    Entity* locked = h.ms().AddPoint({0, 0, 0});
    locked->setColor(2);
    locked->setLayer(QStringLiteral("LOCKED"));
    h.send({QStringLiteral("-layer"), QStringLiteral("s"), QStringLiteral("0"), QString()});
    h.send({QStringLiteral("change"), QStringLiteral("all"), QString(), QStringLiteral("p"),
            QStringLiteral("color"), QStringLiteral("bylayer"), QString()});
    EXPECT_EQ(h.doc().ActiveLayer(), QStringLiteral("0"));
    EXPECT_EQ(red->Color(), ColorByLayer);
    EXPECT_EQ(blue->Color(), ColorByLayer);
    EXPECT_EQ(locked->Color(), 2) << "a locked layer keeps its entities as they are";
    EXPECT_FALSE(h.app.transcript().contains(QStringLiteral("未知命令")));
    // abbreviated keywords in any case
    h.send({QStringLiteral("CHANGE"), axEnt2lspEnt(*red), QString(), QStringLiteral("P"), QStringLiteral("LA"),
            QStringLiteral("a"), QStringLiteral("C"), QStringLiteral("4"), QString()});
    EXPECT_EQ(red->Layer(), QStringLiteral("A"));
    EXPECT_EQ(red->Color(), 4);
}

TEST(CadCommands, ImageClipFrameAndTransparency)
{
    Host h;
    Entity* image = h.ms().AddRaster(QStringLiteral("d:\\img\\a.tif"), {0, 0, 0}, 1, 0);
    image->data().rareMut().pixelsW = 100;
    image->data().rareMut().pixelsH = 50;
    Entity* boundary = lw(h.ms(), {0, 0, 10, 0, 10, 5, 0, 5});
    QStringList items{QStringLiteral("_imageclip"), axEnt2lspEnt(*image), QStringLiteral("NEW"), QStringLiteral("P")};
    for (int i = 0; i < 4; ++i)
        items << pt(boundary->Coordinates()[2 * i], boundary->Coordinates()[2 * i + 1]);
    items << pt(0, 0) << QString();
    h.send(items);
    EXPECT_TRUE(image->ClippingEnabled());
    EXPECT_EQ(image->ClipBoundary().size(), 4u) << "the repeated first corner is no new corner";
    EXPECT_EQ(image->data().rare().clipType, 2);
    h.send({QStringLiteral("_imageclip"), axEnt2lspEnt(*image), QStringLiteral("off")});
    EXPECT_FALSE(image->ClippingEnabled());

    const int before = h.ms().Count();
    // the menus send the names alone: the person at the screen answers the rest
    h.home.answer(QStringLiteral("enter"));
    h.doc().SendCommand(QStringLiteral("_imageframe\r"));
    ScriptedAnswer pick;
    pick.kind = QStringLiteral("select");
    pick.list = QStringList{image->Handle()};
    h.home.answers.push(pick);
    h.home.answer(QStringLiteral("keyword"), QStringLiteral("ON"));
    h.doc().SendCommand(QStringLiteral(" _transparency\r"));
    EXPECT_TRUE(h.home.answers.empty());
    EXPECT_EQ(image->data().rare().imageDisplay & 8, 8);
    EXPECT_EQ(h.ms().Count(), before);
    EXPECT_TRUE(h.app.journal().endsWith(QStringLiteral("_imageframe\r _transparency\r")));
    EXPECT_FALSE(h.app.transcript().contains(QStringLiteral("未知命令")));
}

namespace {

ScriptedAnswer said(const char* kind, const QString& text = QString())
{
    ScriptedAnswer a;
    a.kind = QLatin1String(kind);
    a.text = text;
    return a;
}

ScriptedAnswer at(double x, double y)
{
    ScriptedAnswer a = said("point");
    a.x = x;
    a.y = y;
    return a;
}

// The test's line ("ENT" stands for its handle), picked or selected.
ScriptedAnswer pickedLine(double x, double y)
{
    ScriptedAnswer a = at(x, y);
    a.kind = QStringLiteral("entity");
    a.handle = QStringLiteral("ENT");
    return a;
}

ScriptedAnswer selectedLine()
{
    ScriptedAnswer a = said("select");
    a.list = QStringList{QStringLiteral("ENT")};
    return a;
}

} // namespace

TEST(CadCommands, AnswersBeyondTheTextComeFromThePersonAtTheScreen)
{
    const struct {
        const char* what;
        QStringList text;
        std::vector<ScriptedAnswer> answers;
        int entities; // in model space after it
        int colour;   // of the line
        bool cancelled;
    } cases[] = {
        {"an offset completed on screen", {QStringLiteral("_offset"), QStringLiteral("2")},
         {pickedLine(5, 0), at(5, 3), said("enter")}, 2, ColorByLayer, false},
        {"the distance typed there too", {QStringLiteral("_offset")},
         {said("keyword", QStringLiteral("2")), pickedLine(5, 0), at(5, 3), said("enter")}, 2, ColorByLayer, false},
        {"Esc cancels it", {QStringLiteral("_offset"), QStringLiteral("2")}, {said("esc")}, 1, ColorByLayer, true},
        {"a selection made on screen", {QStringLiteral("change")},
         {selectedLine(), said("keyword", QStringLiteral("p")), said("keyword", QStringLiteral("c")),
          said("keyword", QStringLiteral("1")), said("enter")},
         1, 1, false},
        {"Enter after the selection ends it", {QStringLiteral("change")}, {selectedLine(), said("enter")}, 1,
         ColorByLayer, false},
    };
    for (const auto& c : cases) {
        Host h;
        Entity* line = h.ms().AddLine({0, 0, 0}, {10, 0, 0});
        for (ScriptedAnswer a : c.answers) {
            if (a.handle == QLatin1String("ENT"))
                a.handle = line->Handle();
            if (a.list == QStringList{QStringLiteral("ENT")})
                a.list = QStringList{line->Handle()};
            h.home.answers.push(a);
        }
        CommandLineScript(h.doc(), c.text);
        EXPECT_TRUE(h.home.answers.empty()) << c.what;
        EXPECT_EQ(h.ms().Count(), c.entities) << c.what;
        EXPECT_EQ(line->Color(), c.colour) << c.what;
        EXPECT_EQ(h.app.transcript().contains(QStringLiteral("*取消*")), c.cancelled) << c.what;
        if (c.entities == 2) {
            EXPECT_EQ(LastModelSpaceEntity(h.doc())->StartPoint(), (Point{0, 2, 0})) << c.what;
        }
    }
}

TEST(CadCommands, LandClassTableOfThePreviousSelection)
{
    Host h;
    auto parcel = [&](std::vector<double> xy, const QString& code) {
        Entity* e = lw(h.ms(), xy, true);
        e->SetXData({xstr(1001, QStringLiteral("SOUTH")), xstr(1000, QStringLiteral("310000")), xstr(1000, code)});
        return e;
    };
    Entity* a = parcel({0, 0, 10, 0, 10, 10, 0, 10}, QStringLiteral("011"));
    Entity* b = parcel({20, 0, 40, 0, 40, 5, 20, 5}, QStringLiteral("011"));
    Entity* c = parcel({50, 0, 55, 0, 55, 4, 50, 4}, QStringLiteral("203"));
    parcel({60, 0, 70, 0, 70, 10, 60, 10}, QStringLiteral("999")); // not selected
    SelectionSet& set = ScratchSelectionSet(h.doc(), QStringLiteral("text"));
    ScriptedAnswer pick;
    pick.kind = QStringLiteral("select");
    pick.list = QStringList{a->Handle(), b->Handle(), c->Handle()};
    h.home.answers.push(pick);
    set.SelectOnScreen(BuildFilter({0, "LWPOLYLINE"}));
    h.doc().SendCommand(QStringLiteral("_statdlj\r100,200,0\r1\rp\r\r"));
    EXPECT_FALSE(h.app.transcript().contains(QStringLiteral("未知命令")));

    // read it back as the Excel window does: per picked vertical line, the
    // texts inside the code cell and the area cell
    const double h6 = landClassRowHeight(h.doc());
    std::map<QString, QString> table;
    for (Entity* e : h.ms().entities()) {
        if (e->ObjectName() != QLatin1String("AcDbLine"))
            continue;
        Point lo, hi;
        e->GetBoundingBox(lo, hi);
        if (hi.x != lo.x || std::abs(e->Length() - h6) > 1e-9 || lo.x != 100)
            continue; // the left border of a code cell only
        const double hh = e->Length(), w1 = hh * 3.333333, w2 = hh * 5.833333;
        const double x = lo.x, y = lo.y, x2 = x + w1;
        SelectionSet& s1 = ScratchSelectionSet(h.doc(), QStringLiteral("text1"));
        SelectionSet& s2 = ScratchSelectionSet(h.doc(), QStringLiteral("text2"));
        s1.SelectByPolygon(SelectWindowPolygon, {x, y, 0, x + w1, y, 0, x + w1, y + hh, 0, x, y + hh, 0});
        s2.SelectByPolygon(SelectWindowPolygon, {x2, y, 0, x2 + w2, y, 0, x2 + w2, y + hh, 0, x2, y + hh, 0});
        ASSERT_EQ(s1.Count(), 1);
        ASSERT_EQ(s2.Count(), 1);
        table[s1.Item(0)->TextString()] = s2.Item(0)->TextString();
    }
    EXPECT_EQ(table, (std::map<QString, QString>{{QStringLiteral("011"), QStringLiteral("200.00")},
                                                 {QStringLiteral("203"), QStringLiteral("20.00")}}));
}

TEST(CadCommands, AddOnCommandsAndScriptsTakeTheirAnswers)
{
    Host h;
    h.ms().AddLine({0, 0, 0}, {1, 0, 0});
    const int before = h.ms().Count();
    for (const char* text : {"GBBLC1 ", "BMSB ", "linewidth jmd 1 0 "})
        h.doc().SendCommand(QString::fromLatin1(text));
    QDir().mkpath(h.home.path(QStringLiteral("prog")));
    const QString script = h.home.path(QStringLiteral("prog/zd.scr"));
    test::writeGbk(script, QStringLiteral("DD\r\n131300\r\n534500.5,2551200.25\r\n12.3\r\nGP01\r\n"
                                          "DD\r\n131300\r\n534510,2551210\r\n13\r\nGP02\r\n"));
    runScript(h.doc(), script);
    EXPECT_EQ(h.ms().Count(), before + 8) << "each control point: its symbol, two texts and a note line";
    EXPECT_EQ(h.ms().Item(before + 1)->TextString(), QStringLiteral("GP01"));
    EXPECT_FALSE(h.app.transcript().contains(QStringLiteral("未知命令"))) << h.app.transcript().toStdString();
    EXPECT_TRUE(h.app.journal().contains(QStringLiteral("GP02\r")));
    EXPECT_THROW(runScript(h.doc(), h.home.path(QStringLiteral("prog/none.scr"))), RunError);
    // the same script run from the command line
    test::writeGbk(script, QStringLiteral("-layer\r\nm\r\nGP\r\n\r\n"));
    h.doc().SendCommand(QStringLiteral("_script\r") + script + QStringLiteral("\r"));
    EXPECT_EQ(h.doc().ActiveLayer(), QStringLiteral("GP"));
    // an unknown word is still reported, as the command line does
    h.doc().SendCommand(QStringLiteral("NOSUCH\r"));
    EXPECT_TRUE(h.app.transcript().contains(QStringLiteral("NOSUCH")));
}
