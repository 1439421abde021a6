#include "cad_host.h"
#include "cass/cass_xdata.h"
#include "relief/control_points.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace kelvor;
using namespace kelvor::relief;

namespace {

struct PointHost : test::CadHost {
    PointHost()
    {
        for (const char* l : {"kzd", "other"})
            doc().Layers().Add(QString::fromLatin1(l));
        doc().BlocksAdd({0, 0, 0}, QStringLiteral("gc115")).AddCircle({0, 0, 0}, 0.5);
        doc().BlocksAdd({0, 0, 0}, QStringLiteral("gc200")).AddCircle({0, 0, 0}, 0.5);
    }
    cad::Entity* coded(cad::Entity* e, const char* code)
    {
        if (code)
            cass::writeFeatureCode(*e, cass::kSouth, QString::fromLatin1(code));
        return e;
    }
    cad::Entity* text(const QString& s, double x, double y, const char* code = nullptr, const char* layer = "kzd")
    {
        cad::Entity* t = ms().AddText(s, {x, y, 0}, 1);
        t->setLayer(QString::fromLatin1(layer));
        return coded(t, code);
    }
    cad::Entity* point(double x, double y, double z, const char* name = "gc115")
    {
        return ms().InsertBlock({x, y, z}, QString::fromLatin1(name), 1, 1, 1, 0);
    }
};

void expectNear(const cad::Point& got, const cad::Point& want, const std::string& what)
{
    EXPECT_NEAR(got.x, want.x, 1e-9) << what;
    EXPECT_NEAR(got.y, want.y, 1e-9) << what;
    EXPECT_NEAR(got.z, want.z, 1e-9) << what;
}

} // namespace

TEST(ControlPoints, AnnotationPartByCode)
{
    const struct {
        std::optional<double> code;
        AnnotationPart part;
    } cases[] = {
        {131511, AnnotationPart::Text}, {131711, AnnotationPart::Text}, {131811, AnnotationPart::Text},
        {131510, AnnotationPart::Line}, {131710, AnnotationPart::Line}, {131810, AnnotationPart::Line},
        {131512, AnnotationPart::None}, {202101, AnnotationPart::None}, {std::nullopt, AnnotationPart::None},
    };
    for (const auto& c : cases)
        EXPECT_EQ(annotationPart(c.code), c.part) << c.code.value_or(-1);
}

TEST(ControlPoints, UpperTextStartsWithASingleByteFromA)
{
    const struct {
        const char* text;
        bool upper;
    } cases[] = {
        {"K12", true}, {"a1", true},  {"  Z", true}, {"[1", true},  {"~", true}, {"€1", true},
        {"12", false}, {"-3", false}, {".5", false}, {"@1", false}, {"中", false}, {"", false},
        {"   ", false}, {"é", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(isUpperText(QString::fromUtf8(c.text)), c.upper) << '"' << c.text << '"';
}

TEST(ControlPoints, AnnotationShiftFollowsTheScale)
{
    const struct {
        bool upper;
        double k, dx, dy;
    } cases[] = {
        {true, 2, 4.25, 1.1},      {false, 2, 4.25, -1.1},    {true, 1, 0, 0},        {false, 1, 0, 0},
        {true, 0.4, -2.55, -0.66}, {false, 0.4, -2.55, 0.66}, {true, 4, 12.75, 3.3},
    };
    for (const auto& c : cases)
        expectNear(annotationShift(c.upper, c.k), {c.dx, c.dy, 0},
                   (c.upper ? "upper at " : "lower at ") + std::to_string(c.k));
}

TEST(ControlPoints, AnnotationFittedToUserr1)
{
    const struct {
        double userr1;
        cad::Point upper, lower;   // where "K12" at (0, 10) and "12" at (0, 20) end
        cad::Point start, end;     // of the line (0, 0)–(3, 0)
        bool refused;
    } cases[] = {
        {1000, {4.25, 11.1, 0}, {4.25, 18.9, 0}, {-2, 0, 0}, {4, 0, 0}, false},
        {500, {0, 10, 0}, {0, 20, 0}, {0.25, 0, 0}, {3.25, 0, 0}, false},
        {0, {0, 10, 0}, {0, 20, 0}, {0.25, 0, 0}, {3.25, 0, 0}, false},
        {200, {-2.55, 9.34, 0}, {-2.55, 20.66, 0}, {1.84, 0, 0}, {3.04, 0, 0}, false},
        {-500, {0, 10, 0}, {0, 20, 0}, {0, 0, 0}, {3, 0, 0}, true},
    };
    for (const auto& c : cases) {
        PointHost h;
        h.doc().SetVariable(QStringLiteral("userr1"), c.userr1);
        cad::Entity* upper = h.text(QStringLiteral("K12"), 0, 10, "131511", "other");
        cad::Entity* lower = h.text(QStringLiteral("12"), 0, 20, "131711");
        cad::Entity* line = h.coded(h.ms().AddLine({0, 0, 0}, {3, 0, 0}), "131510");
        cad::Entity* plain = h.text(QStringLiteral("K13"), 0, 30);
        cad::Entity* other = h.text(QStringLiteral("K14"), 0, 40, "202111");
        cad::Entity* misfit = h.coded(h.ms().AddLine({0, 50, 0}, {3, 50, 0}), "131511");
        h.answerSelect({upper->Handle(), lower->Handle(), line->Handle(), plain->Handle(), other->Handle(),
                        misfit->Handle()});
        changekzd_Click(h.context);
        const std::string at = "userr1 " + std::to_string(c.userr1);
        expectNear(upper->InsertionPoint(), c.upper, at);
        expectNear(lower->InsertionPoint(), c.lower, at);
        expectNear(line->StartPoint(), c.start, at);
        expectNear(line->EndPoint(), c.end, at);
        EXPECT_EQ(plain->InsertionPoint(), (cad::Point{0, 30, 0})) << at;
        EXPECT_EQ(other->InsertionPoint(), (cad::Point{0, 40, 0})) << at;
        EXPECT_EQ(misfit->StartPoint(), (cad::Point{0, 50, 0})) << at;
        EXPECT_EQ(h.app.transcript().endsWith(QStringLiteral("\r\n比例尺不正确，未作修改。")), c.refused) << at;
    }
}

TEST(ControlPoints, AnnotationWithNothingSelected)
{
    PointHost h;
    h.answerSelect({});
    changekzd_Click(h.context);
    EXPECT_TRUE(h.app.transcript().endsWith(QStringLiteral("没有选择的文字")));
}

TEST(ControlPoints, HeightNoteWithinTheBand)
{
    const struct {
        const char* note;
        double z;
        const char* result; // null: left as it is
    } cases[] = {
        {"45.67", 45.678, "45.678"}, {"45.68", 45.678, "45.678"}, {"45.05", 45, "45"}, {"45.6", 45.64, "45.64"},
        {"45.67805", 45.678, nullptr}, {"45.778", 45.678, nullptr}, {"45.678", 45.678, nullptr},
        {"47", 45, nullptr},           {"K1", 0.05, nullptr},       {"", 0.05, nullptr},
        {"45.6 m", 45.65, "45.65"},
    };
    for (const auto& c : cases) {
        const std::optional<QString> r = updatedHeightNote(QString::fromUtf8(c.note), c.z);
        if (c.result)
            EXPECT_EQ(r, QString::fromLatin1(c.result)) << c.note << " at " << c.z;
        else
            EXPECT_FALSE(r) << c.note << " at " << c.z;
    }
}

TEST(ControlPoints, HeightNotesBroughtInLine)
{
    const struct {
        const char* name;
        double z;
        const char* note;
        const char* result;
        const char* report;
    } cases[] = {
        {"rewritten", 45.678, "45.67", "45.678", "\r\n共处理 1 个数据!"},
        {"without decimals", 45, "45.05", "45", "\r\n共处理 1 个数据!"},
        {"equal", 45.678, "45.67805", "45.67805", "\r\n操作完成，没有可修改的数据!"},
        {"0.1 apart", 45.678, "45.778", "45.778", "\r\n操作完成，没有可修改的数据!"},
        {"a point name", 0.05, "K1", "K1", "\r\n操作完成，没有可修改的数据!"},
    };
    for (const auto& c : cases) {
        PointHost h;
        h.point(100, 100, c.z);
        cad::Entity* note = h.text(QString::fromLatin1(c.note), 102, 101);
        note->setColor(1);
        cad::Entity* elsewhere = h.text(QStringLiteral("45.67"), 102, 99, nullptr, "other");
        cad::Entity* across = h.text(QStringLiteral("45.67"), 109.5, 95); // reaches past x 110
        h.point(300, 300, c.z, "gc200");
        cad::Entity* byOther = h.text(QStringLiteral("45.67"), 301, 301);
        changekzdheight_Click(h.context);
        EXPECT_EQ(note->TextString(), QString::fromLatin1(c.result)) << c.name;
        EXPECT_EQ(note->Color(), QString::fromLatin1(c.result) == QString::fromLatin1(c.note) ? 1 : 7) << c.name;
        EXPECT_EQ(elsewhere->TextString(), QStringLiteral("45.67")) << c.name;
        EXPECT_EQ(across->TextString(), QStringLiteral("45.67")) << c.name;
        EXPECT_EQ(byOther->TextString(), QStringLiteral("45.67")) << c.name;
        EXPECT_TRUE(h.app.transcript().endsWith(QString::fromUtf8(c.report))) << c.name;
        EXPECT_EQ(h.app.events().last(), QStringLiteral("ZoomWindow 90,90 110,110")) << c.name;
        EXPECT_FALSE(h.doc().SelectionSets().find(QStringLiteral("li"))) << c.name;
        EXPECT_FALSE(h.doc().SelectionSets().find(QStringLiteral("text"))) << c.name;
    }
}

TEST(ControlPoints, NoteInTwoSquaresIsComparedWithEach)
{
    PointHost h;
    h.point(100, 100, 45.67);
    h.point(110, 100, 45.68);
    cad::Entity* note = h.text(QStringLiteral("45.6"), 104, 100);
    changekzdheight_Click(h.context);
    EXPECT_EQ(note->TextString(), QStringLiteral("45.68")) << "the later point wins";
    EXPECT_TRUE(h.app.transcript().endsWith(QStringLiteral("\r\n共处理 2 个数据!")));
}

TEST(ControlPoints, SearchMultipleRectangleAndFactor)
{
    const struct {
        std::optional<int> answer;
        int multiple;
    } multiples[] = {{std::nullopt, 2}, {0, 2}, {3, 3}, {-3, 3}, {1, 1}};
    for (const auto& c : multiples)
        EXPECT_EQ(searchMultiple(c.answer), c.multiple) << c.answer.value_or(-999);

    EXPECT_EQ(searchRectangle({100, 100, 7}, 2),
              (std::vector<double>{83, 110, 0, 83, 90, 0, 117, 90, 0, 117, 110, 0, 83, 110, 0}));
    EXPECT_EQ(searchRectangle({0, 0, 0}, 3),
              (std::vector<double>{-25.5, 15, 0, -25.5, -15, 0, 25.5, -15, 0, 25.5, 15, 0, -25.5, 15, 0}));

    const struct {
        std::optional<double> answer;
        std::optional<double> factor;
    } factors[] = {{std::nullopt, std::nullopt}, {0, std::nullopt}, {2, 2.0}, {1.1, double(1.1f)}, {-2, -2.0},
                   {1e-50, std::nullopt}};
    for (const auto& c : factors)
        EXPECT_EQ(displayFactor(c.answer), c.factor) << c.answer.value_or(-999);
}

TEST(ControlPoints, DisplayScaleAroundAnchors)
{
    const struct {
        const char* name;
        const char* multipleKind;
        const char* multiple;
        const char* factorKind;
        const char* factor;
        cad::Point centre;
        double radius;
    } cases[] = {
        {"default multiple", "enter", "", "real", "2", {110, 104, 0}, 2},
        {"multiple 0", "integer", "0", "real", "2", {110, 104, 0}, 2},
        {"single precision", "enter", "", "real", "1.1", {100 + 5 * double(1.1f), 100 + 2 * double(1.1f), 0},
         double(1.1f)},
        {"no factor", "enter", "", "enter", "", {105, 102, 0}, 1},
        {"factor 0", "integer", "3", "real", "0", {105, 102, 0}, 1},
        {"esc at both", "esc", "", "esc", "", {105, 102, 0}, 1},
    };
    for (const auto& c : cases) {
        PointHost h;
        cad::Entity* anchor = h.point(100, 100, 0);
        cad::Entity* circle = h.ms().AddCircle({105, 102, 0}, 1);
        cad::Entity* line = h.ms().AddLine({120, 100, 0}, {125, 100, 0});
        h.answerSelect({anchor->Handle(), circle->Handle(), line->Handle()});
        h.answer(QString::fromLatin1(c.multipleKind), QString::fromLatin1(c.multiple));
        h.answer(QString::fromLatin1(c.factorKind), QString::fromLatin1(c.factor));
        gaibiankzdbili_Click(h.context);
        expectNear(circle->Center(), c.centre, c.name);
        EXPECT_EQ(circle->Radius(), c.radius) << c.name;
        EXPECT_EQ(line->StartPoint(), (cad::Point{120, 100, 0})) << c.name;
        EXPECT_EQ(anchor->InsertionPoint(), (cad::Point{100, 100, 0})) << c.name;
        EXPECT_EQ(anchor->XScaleFactor(), c.radius) << c.name << ": the anchor keeps its place and scales";
    }
}

TEST(ControlPoints, DisplayScaleTwiceInTwoRectangles)
{
    const struct {
        const char* multiple;
        bool reached;
    } cases[] = {{"2", false}, {"3", true}, {"-3", true}};
    for (const auto& c : cases) {
        PointHost h;
        cad::Entity* a = h.point(100, 100, 0);
        cad::Entity* b = h.point(130, 100, 0);
        cad::Entity* shared = h.ms().AddCircle({115, 100, 0}, 1);
        cad::Entity* outer = h.ms().AddCircle({100, 113, 0}, 1); // inside 51 × 30, outside 34 × 20
        h.answerSelect({a->Handle(), b->Handle()});
        h.answer(QStringLiteral("integer"), QString::fromLatin1(c.multiple));
        h.answer(QStringLiteral("real"), QStringLiteral("2"));
        gaibiankzdbili_Click(h.context);
        if (!c.reached) {
            // About (100, 100) to (130, 100), then about (130, 100) where it now lies.
            expectNear(shared->Center(), {130, 100, 0}, c.multiple);
            EXPECT_EQ(shared->Radius(), 4) << c.multiple;
        }
        EXPECT_EQ(outer->Radius(), c.reached ? 2 : 1) << c.multiple;
    }
}
