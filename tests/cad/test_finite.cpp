// Values a drawing cannot hold (NaN, infinities, overflow): refused where
// they are typed, where they enter the model and where they are computed;
// entities whose extent overflows kept apart from extents and the index.
#include "cad/cad.h"
#include "cad_host.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace kelvor;
using namespace kelvor::cad;
using kelvor::test::errorOf;

namespace {

using Host = test::CadHost;

constexpr double kNan = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

const char* const kHostileNumbers[] = {"nan", "NaN", "inf", "-inf", "+INF", "infinity", "1e400", "-1e309"};
const char* const kHostilePoints[] = {"nan,5", "5,nan", "inf,0", "-inf,2", "1e309,0", "0,-1e400", "1,2,nan", "1e400"};

} // namespace

TEST(CadFiniteAnswers, NumberAndPointTextsHoldOnlyFiniteNumbers)
{
    for (const char* t : kHostileNumbers)
        EXPECT_FALSE(numberOf(QString::fromLatin1(t))) << t;
    for (const char* t : kHostilePoints)
        EXPECT_FALSE(pointOf(QString::fromLatin1(t))) << t;
    const struct {
        const char* text;
        double value;
    } numbers[] = {{" 2.5 ", 2.5}, {"-1e308", -1e308}, {"1.7976931348623157e308", 1.7976931348623157e308},
                   {"1e-320", 1e-320}};
    for (const auto& c : numbers) {
        ASSERT_TRUE(numberOf(QString::fromLatin1(c.text))) << c.text;
        EXPECT_EQ(*numberOf(QString::fromLatin1(c.text)), c.value) << c.text;
    }
    EXPECT_EQ(pointOf(QStringLiteral("1e308, -1e308")), (Point{1e308, -1e308, 0}));
    EXPECT_EQ(pointOf(QStringLiteral("1,2,3")), (Point{1, 2, 3}));
    EXPECT_FALSE(pointOf(QStringLiteral("1,2,3,4")));
}

TEST(CadFiniteAnswers, ScriptedQuestionsAskAgainAfterANonFiniteAnswer)
{
    Host h;
    Utility& u = h.doc().Utility();
    for (const char* t : kHostileNumbers) {
        h.answer("real", QString::fromLatin1(t));
        h.answer("real", "2.5");
        EXPECT_EQ(u.GetReal(), 2.5) << t;
        EXPECT_TRUE(h.home.answers.empty()) << t;
    }
    for (const char* t : kHostilePoints) {
        h.answerTypedPoint(QString::fromLatin1(t));
        h.answerTypedPoint(QStringLiteral("3,4"));
        EXPECT_EQ(u.GetPoint(), (Point{3, 4, 0})) << t;
        EXPECT_TRUE(h.home.answers.empty()) << t;
    }
    // a pick that is no place is no answer either
    h.answerPoint(kInf, 0);
    h.answerPoint(1, 2);
    EXPECT_EQ(u.GetPoint(), (Point{1, 2, 0}));
    // and asked again means asked: with no answer left the question is still open
    h.answer("real", "nan");
    EXPECT_THROW(u.GetReal(), ScriptMismatch);
}

TEST(CadFrontDoor, MembersRefuseNonFiniteValuesAndLeaveTheDrawingAsItWas)
{
    Host h;
    Block& ms = h.ms();
    Entity* line = ms.AddLine({0, 0, 0}, {10, 0, 0});
    Entity* circle = ms.AddCircle({5, 5, 0}, 2);
    Entity* arc = ms.AddArc({5, 5, 0}, 2, 0, 1);
    Entity* text = ms.AddText(QStringLiteral("字"), {1, 1, 0}, 2.5);
    Entity* mid = ms.AddText(QStringLiteral("中"), {1, 1, 0}, 2.5);
    mid->setAlignment(AlignMiddleCenter);
    Entity* lw = ms.AddLightWeightPolyline({0, 0, 10, 0, 10, 5});
    Entity* pl = ms.AddPolyline({0, 0, 0, 10, 0, 0});
    Entity* point = ms.AddPoint({2, 2, 0});
    h.doc().BlocksAdd({0, 0, 0}, QStringLiteral("B")).AddLine({0, 0, 0}, {1, 1, 0});
    Entity* ref = ms.InsertBlock({0, 0, 0}, QStringLiteral("B"), 1, 1, 1, 0);
    XData xd{xstr(1001, QStringLiteral("south"))};
    using Call = std::function<void(double)>;
    const struct {
        const char* member;
        Call call;
    } cases[] = {
        {"AddLine", [&](double v) { ms.AddLine({v, 0, 0}, {1, 1, 0}); }},
        {"AddPoint", [&](double v) { ms.AddPoint({0, v, 0}); }},
        {"AddCircle centre", [&](double v) { ms.AddCircle({0, 0, v}, 1); }},
        {"AddCircle radius", [&](double v) { ms.AddCircle({0, 0, 0}, std::abs(v)); }},
        {"AddArc angle", [&](double v) { ms.AddArc({0, 0, 0}, 1, 0, v); }},
        {"AddText height", [&](double v) { ms.AddText(QStringLiteral("x"), {0, 0, 0}, std::abs(v)); }},
        {"AddText place", [&](double v) { ms.AddText(QStringLiteral("x"), {v, 0, 0}, 1); }},
        {"AddMText", [&](double v) { ms.AddMText({0, 0, 0}, v, QStringLiteral("x")); }},
        {"AddLightWeightPolyline", [&](double v) { ms.AddLightWeightPolyline({0, 0, v, 1}); }},
        {"AddPolyline", [&](double v) { ms.AddPolyline({0, 0, 0, 1, v, 0}); }},
        {"Add3DPoly", [&](double v) { ms.Add3DPoly({0, 0, 0, 1, 1, v}); }},
        {"InsertBlock scale", [&](double v) { ms.InsertBlock({0, 0, 0}, QStringLiteral("B"), v, 1, 1, 0); }},
        {"InsertBlock rotation", [&](double v) { ms.InsertBlock({0, 0, 0}, QStringLiteral("B"), 1, 1, 1, v); }},
        {"AddRaster", [&](double v) { ms.AddRaster(QStringLiteral("a.png"), {0, 0, 0}, 1, v); }},
        {"BlocksAdd", [&](double v) { h.doc().BlocksAdd({v, 0, 0}, QStringLiteral("C")); }},
        {"setStartPoint", [&](double v) { line->setStartPoint({v, 0, 0}); }},
        {"setEndPoint", [&](double v) { line->setEndPoint({0, 0, v}); }},
        {"setThickness", [&](double v) { line->setThickness(v); }},
        {"setLinetypeScale", [&](double v) { line->setLinetypeScale(std::abs(v)); }},
        {"Move", [&](double v) { line->Move({0, 0, 0}, {v, 0, 0}); }},
        {"Rotate", [&](double v) { line->Rotate({0, 0, 0}, v); }},
        {"ScaleEntity", [&](double v) { line->ScaleEntity({0, 0, 0}, std::abs(v)); }},
        {"setCenter", [&](double v) { circle->setCenter({v, 0, 0}); }},
        {"setRadius", [&](double v) { circle->setRadius(std::abs(v)); }},
        {"setAngles", [&](double v) { arc->setAngles(v, 1); }},
        {"setInsertionPoint", [&](double v) { text->setInsertionPoint({0, v, 0}); }},
        {"setTextAlignmentPoint", [&](double v) { mid->setTextAlignmentPoint({v, 0, 0}); }},
        {"setHeight", [&](double v) { text->setHeight(std::abs(v)); }},
        {"setScaleFactor", [&](double v) { text->setScaleFactor(std::abs(v)); }},
        {"setRotation", [&](double v) { text->setRotation(v); }},
        {"setObliqueAngle", [&](double v) { text->setObliqueAngle(v); }},
        {"setCoordinates", [&](double v) { lw->setCoordinates({0, 0, 1, v}); }},
        {"setCoordinate", [&](double v) { lw->setCoordinate(1, {v, 0, 0}); }},
        {"AddVertex", [&](double v) { lw->AddVertex(1, {0, v, 0}); }},
        {"SetBulge", [&](double v) { lw->SetBulge(0, v); }},
        {"SetWidth", [&](double v) { lw->SetWidth(0, 0, std::abs(v)); }},
        {"setConstantWidth", [&](double v) { lw->setConstantWidth(std::abs(v)); }},
        {"setVertices", [&](double v) { lw->setVertices({Vertex{0, 0}, Vertex{1, v}}); }},
        {"setElevation", [&](double v) { pl->setElevation(v); }},
        {"setCoordinate3", [&](double v) { point->setCoordinate3({0, 0, v}); }},
        {"setScaleFactors", [&](double v) { ref->setScaleFactors(1, v, 1); }},
        {"SetXData real", [&](double v) { line->SetXData({xd[0], {1040, v}}); }},
        {"SetXData point", [&](double v) { line->SetXData({xd[0], {1010, QVariantList{0, v, 0}}}); }},
        {"SetVariable", [&](double v) { h.doc().SetVariable(QStringLiteral("USERR1"), v); }},
        {"SetVariable whole number", [&](double v) { h.doc().SetVariable(QStringLiteral("OSMODE"), v); }},
        {"PolarPoint", [&](double v) { h.doc().Utility().PolarPoint({0, 0, 0}, 0, v); }},
        {"AngleFromXAxis", [&](double v) { h.doc().Utility().AngleFromXAxis({v, 0, 0}, {1, 1, 0}); }},
    };
    const QByteArray before = dxfBytes(h.doc());
    for (const auto& c : cases)
        for (double bad : {kNan, kInf, -kInf}) {
            EXPECT_EQ(errorOf([&] { c.call(bad); }), err::InvalidArgument) << c.member << " " << bad;
            EXPECT_EQ(dxfBytes(h.doc()), before) << c.member << " " << bad;
        }
    // the same members take ordinary values
    for (const auto& c : cases)
        EXPECT_EQ(errorOf([&] { c.call(1); }), 0) << c.member;
}

TEST(CadFrontDoor, ResultsThatOverflowAreRefusedAndChangeNothing)
{
    Host h;
    Block& ms = h.ms();
    Entity* far = ms.AddLine({1e308, 0, 0}, {-1e308, 0, 0});
    Entity* tall = ms.AddText(QStringLiteral("高程点"), {0, 0, 0}, 1e308);
    Entity* mid = ms.AddText(QStringLiteral("中"), {1e308, 0, 0}, 1);
    mid->setAlignment(AlignMiddleCenter);
    mid->setTextAlignmentPoint({1e308, 0, 0});
    Block& def = h.doc().BlocksAdd({0, 0, 0}, QStringLiteral("B"));
    def.AddLine({0, 0, 0}, {1, 0, 0});
    def.AddLine({0, 0, 0}, {1e300, 0, 0});
    Entity* ref = ms.InsertBlock({0, 0, 0}, QStringLiteral("B"), 1e10, 1e10, 1, 0);
    const int count = ms.Count();
    const struct {
        const char* what;
        std::function<void()> call;
    } cases[] = {
        {"a line three times as long as ±1e308", [&] { far->ScaleEntity({0, 0, 0}, 3); }},
        {"a text height three times 1e308", [&] { tall->ScaleEntity({0, 0, 0}, 3); }},
        {"moved past the largest number", [&] { far->Move({0, 0, 0}, {1e308, 0, 0}); }},
        {"the far corner of a parallelogram", [&] { h.doc().Utility().PolarPoint({1e308, 0, 0}, 0, 1e308); }},
        {"an aligned text's insertion point follows past it",
         [&] { mid->setTextAlignmentPoint({-1e308, 0, 0}); }},
        {"a rotation no file can hold in degrees", [&] { mid->setRotation(1e307); }},
    };
    const QByteArray before = dxfBytes(h.doc());
    for (const auto& c : cases) {
        EXPECT_EQ(errorOf(c.call), err::InvalidArgument) << c.what;
        EXPECT_EQ(ms.Count(), count) << c.what;
        EXPECT_EQ(dxfBytes(h.doc()), before) << c.what;
    }
    // the parts already placed go again (their handles stay used)
    EXPECT_EQ(errorOf([&] { ref->Explode(); }), err::InvalidArgument);
    EXPECT_EQ(ms.Count(), count);
    EXPECT_EQ(far->StartPoint(), (Point{1e308, 0, 0}));
    EXPECT_EQ(tall->Height(), 1e308);
}

TEST(CadExtents, AnEntityWhoseExtentOverflowsIsKeptApartAndStillFound)
{
    Host h;
    Block& ms = h.ms();
    Entity* a = ms.AddLine({0, 0, 0}, {10, 10, 0});
    Entity* b = ms.AddCircle({50, 50, 0}, 5);
    Entity* tall = ms.AddText(QStringLiteral("高程点"), {20, 20, 0}, 1e308); // three heights wide: infinity
    for (int i = 0; i < 200; ++i) // enough for a grid of many cells
        ms.AddPoint({100.0 + i, 100.0 + i, 0});
    const Box ext = ms.extents();
    EXPECT_EQ(ext.minX, 0);
    EXPECT_EQ(ext.maxX, 299);
    EXPECT_TRUE(ext.finite());

    const auto found = [&](const Box& area) {
        std::vector<Entity*> out = h.doc().modelCandidates(area);
        std::sort(out.begin(), out.end());
        return out;
    };
    const std::vector<Entity*> near = found(Box{-1, -1, 11, 11});
    EXPECT_NE(std::find(near.begin(), near.end(), a), near.end());
    EXPECT_EQ(std::find(near.begin(), near.end(), b), near.end());
    // met one by one: the tall text is there where its box reaches
    const std::vector<Entity*> above = found(Box{21, 1e200, 22, 1e201});
    EXPECT_EQ(above, (std::vector<Entity*>{tall}));
    // areas no grid can measure neither fail nor lose anything
    for (const Box& area : {Box{-kInf, -kInf, kInf, kInf}, Box{-1e308, -1e308, 1e308, 1e308}}) {
        const std::vector<Entity*> all = found(area);
        EXPECT_EQ(all.size(), size_t(ms.Count()));
    }
    EXPECT_TRUE(found(Box{kNan, 0, 1, 1}).empty());

    // it saves and opens again, and stays apart there too
    std::unique_ptr<Document> back = readDxfBytes(dxfBytes(h.doc()));
    EXPECT_EQ(back->ModelSpace().Count(), ms.Count());
    EXPECT_EQ(back->ModelSpace().extents().maxX, 299);
}

TEST(CadExtents, EntitiesAtBothEndsOfTheNumbersShareOneCell)
{
    Host h;
    Entity* left = h.ms().AddPoint({-1e308, -1e308, 0});
    Entity* right = h.ms().AddPoint({1e308, 1e308, 0});
    for (int i = 0; i < 100; ++i)
        h.ms().AddPoint({double(i), 0, 0});
    EXPECT_EQ(h.doc().modelCandidates(Box{-1e308, -1e308, -1e307, -1e307}), (std::vector<Entity*>{left}));
    EXPECT_EQ(h.doc().modelCandidates(Box{1e307, 1e307, 1e308, 1e308}), (std::vector<Entity*>{right}));
    EXPECT_EQ(h.doc().modelCandidates(Box{4.5, -1, 5.5, 1}).size(), 1u);
}

// The boundary search widens around the point until the region lies inside;
// the drawing's extents bound it, so a point far off or beyond the numbers
// ends the search with nothing found.
TEST(CadBoundary, TheSearchEndsForPointsFarOutside)
{
    Host h;
    Entity* square = h.ms().AddLightWeightPolyline({0, 0, 10, 0, 10, 10, 0, 10});
    square->setClosed(true);
    const struct {
        const char* point;
        int added;
    } cases[] = {{"5,5", 1}, {"1e308,1e308", 0}, {"-1e308,1e308", 0}, {"1e300,0", 0}, {"nan,5", 0}};
    for (const auto& c : cases) {
        const int before = h.ms().Count();
        h.doc().SendCommand(QStringLiteral("_-Boundary\r%1\r\r").arg(QLatin1String(c.point)));
        EXPECT_EQ(h.ms().Count() - before, c.added) << c.point;
    }
}
