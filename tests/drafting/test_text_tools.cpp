// Text modify, text along a line, blank removal and sequence numbers.
#include "drafting/text_tools.h"
#include "drafting_host.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace kelvor;
using namespace kelvor::cad;
using test::u;

namespace {

struct TextHost : test::DraftingHost {
    std::vector<Entity*> texts;
    TextHost()
    {
        doc().TextStyles().Add(u("等线体"));
        texts = {text(QStringLiteral("AB"), 0, 0), text(QStringLiteral("ABC"), 0, 5), text(QStringLiteral("AB"), 0, 10)};
    }
    void keyword(const char* k) { answer(QStringLiteral("keyword"), QString::fromLatin1(k)); }
    int countLines() const { return int(app.transcript().count(u("共处理"))); }
};

} // namespace

TEST(TextModify, EachKeywordSetsItsProperty)
{
    constexpr double pi = 3.1415926;
    const struct {
        const char* name;
        const char* keyword;
        QStringList answers; // kind:text
        std::function<bool(Entity&)> check;
        const char* report;
    } cases[] = {
        {"height", "Height", {"real:2.3"}, [](Entity& t) { return t.Height() == 2.3; }, "共处理3个"},
        {"width", "Width", {"real:0.8"}, [](Entity& t) { return t.ScaleFactor() == 0.8; }, "共处理3个"},
        {"rotate", "Rotate", {"string:30"}, [](Entity& t) { return t.Rotation() == 30 * pi / 180; }, "共处理3个"},
        {"rotate back", "Rotate", {"string:-30"},
         [](Entity& t) { return std::fabs(t.Rotation() - (2 * M_PI - 30 * pi / 180)) < 1e-12 || t.Rotation() == -30 * pi / 180; },
         "共处理3个"},
        {"oblique", "ObliqueAngle", {"string:15"}, [](Entity& t) { return t.ObliqueAngle() == 15 * pi / 180; }, "共处理3个"},
        {"style", "Style", {u("string:等线体")}, [](Entity& t) { return t.StyleName() == u("等线体"); }, "共处理3个"},
        {"undefined style", "Style", {"string:nosuch"}, [](Entity& t) { return t.StyleName() != QStringLiteral("nosuch"); },
         "共处理0个"},
        {"change whole strings", "Change", {"string:AB", "string:CD"},
         [](Entity& t) { return t.TextString() == QStringLiteral("CD") || t.TextString() == QStringLiteral("ABC"); },
         "共处理2个"},
    };
    for (const auto& c : cases) {
        TextHost h;
        h.select(h.texts);
        h.keyword(c.keyword);
        for (const QString& a : c.answers)
            h.answer(a.section(QLatin1Char(':'), 0, 0), a.section(QLatin1Char(':'), 1));
        h.answer(QStringLiteral("enter"));
        drafting::texttools_Click(h.context);
        for (Entity* t : h.texts)
            EXPECT_TRUE(c.check(*t)) << c.name << " " << t->TextString().toStdString();
        EXPECT_TRUE(h.app.transcript().contains(u(c.report))) << c.name << qPrintable(h.app.transcript());
        EXPECT_EQ(h.countLines(), 1) << c.name;
        EXPECT_EQ(h.doc().SelectionSets().find(QStringLiteral("text")), nullptr) << c.name;
    }
    // "ABC" is untouched by the change of "AB"
    TextHost h;
    h.select(h.texts);
    h.keyword("Change");
    h.answer(QStringLiteral("string"), QStringLiteral("AB"));
    h.answer(QStringLiteral("string"), QStringLiteral("CD"));
    h.answer(QStringLiteral("enter"));
    drafting::texttools_Click(h.context);
    EXPECT_EQ(h.texts[1]->TextString(), QStringLiteral("ABC"));
}

TEST(TextModify, EndsWithNothingChangedOnZeroEscOrNoNumber)
{
    const struct {
        const char* name;
        const char* keyword;
        const char* kind;
        const char* value;
    } cases[] = {
        {"height 0", "Height", "real", "0"},
        {"height empty", "Height", "enter", ""},
        {"height esc", "Height", "esc", ""},
        {"width esc", "Width", "esc", ""},
        {"rotate no number", "Rotate", "string", "abc"},
        {"rotate 0", "Rotate", "string", "0"},
        {"oblique esc", "ObliqueAngle", "esc", ""},
        {"style blanks", "Style", "string", "   "},
    };
    for (const auto& c : cases) {
        TextHost h;
        h.select(h.texts);
        // a first pass sets a value that must not leak into the second
        h.keyword("Height");
        h.answer(QStringLiteral("real"), QStringLiteral("2.5"));
        h.keyword(c.keyword);
        h.answer(QString::fromLatin1(c.kind), QString::fromLatin1(c.value));
        h.keyword("Height"); // never asked: the loop has ended
        drafting::texttools_Click(h.context);
        for (Entity* t : h.texts) {
            EXPECT_EQ(t->Height(), 2.5) << c.name;
            EXPECT_EQ(t->ScaleFactor(), 1) << c.name;
            EXPECT_EQ(t->Rotation(), 0) << c.name;
            EXPECT_EQ(t->ObliqueAngle(), 0) << c.name;
        }
        EXPECT_EQ(h.countLines(), 1) << c.name;
        EXPECT_EQ(h.home.answers.remaining().size(), 1) << c.name;
    }
}

TEST(TextModify, ExitAsksAgainInsertCentresWithoutReport)
{
    TextHost h;
    h.select(h.texts);
    h.keyword("Exit");
    h.keyword("Insert");
    h.keyword("Insert");
    h.keyword("Height");
    h.answer(QStringLiteral("real"), QStringLiteral("3"));
    h.answer(QStringLiteral("enter"));
    drafting::texttools_Click(h.context);
    for (Entity* t : h.texts) {
        EXPECT_EQ(t->Alignment(), 10);
        EXPECT_EQ(t->Height(), 3);
    }
    EXPECT_EQ(h.countLines(), 1);
    EXPECT_EQ(h.home.answers.remaining().size(), 0);
}

TEST(TextModify, NothingPicked)
{
    TextHost h;
    h.select({h.square(0, 0, 10)});
    drafting::texttools_Click(h.context);
    EXPECT_TRUE(h.app.transcript().endsWith(u("没有选择的文字")));
    EXPECT_EQ(h.countLines(), 0);
}

TEST(TextAlongLine, PlacementRows)
{
    constexpr double q = 1.5707;
    const struct {
        const char* name;
        Point p1, p2;
        const char* text;
        const char* gap;
        const char* height;
        std::vector<Point> at; // each character's point
        double rotation;       // of every character, before the width-factor and alignment steps
        bool centred;
    } cases[] = {
        {"east", {0, 0, 0}, {10, 0, 0}, "AB", "", "", {{0, 0, 0}, {10, 0, 0}}, 0, true},
        {"west", {10, 0, 0}, {0, 0, 0}, "AB", "", "", {{0, 0, 0}, {10, 0, 0}}, -1, true},
        {"north", {0, 0, 0}, {0, 10, 0}, "AB", "", "", {{0, 10, 0}, {0, 0, 0}}, 3 * M_PI / 2 + q, true},
        {"south-west", {0, 0, 0}, {-10, -10, 0}, "AB", "", "", {{0, 0, 0}, {-10, -10, 0}}, 5 * M_PI / 4 + q, false},
        {"north-east", {0, 0, 0}, {10, 10, 0}, "AB", "", "", {{10, 10, 0}, {0, 0, 0}}, 5 * M_PI / 4 + q, true},
        {"gap and height", {0, 0, 0}, {100, 0, 0}, "ABC", "1", "2", {{0, 0, 0}, {4, 0, 0}, {8, 0, 0}}, 0, true},
        {"just below east", {0, 0, 0}, {100, -0.01, 0}, "AB", "", "", {{0, 0, 0}, {100, -0.01, 0}}, -2, true},
    };
    for (const auto& c : cases) {
        test::DraftingHost h;
        h.doc().TextStyles().Add(u("等线体"));
        Entity* line = h.ms().AddLightWeightPolyline({c.p1.x, c.p1.y, c.p2.x, c.p2.y});
        h.answer(QStringLiteral("string"), QString::fromLatin1(c.text));
        h.select({line});
        h.answer(*c.gap ? QStringLiteral("integer") : QStringLiteral("enter"), QString::fromLatin1(c.gap));
        h.answer(*c.height ? QStringLiteral("real") : QStringLiteral("enter"), QString::fromLatin1(c.height));
        drafting::crooslinetext_Click(h.context);
        EXPECT_TRUE(line->isErased()) << c.name;
        ASSERT_EQ(h.ms().Count(), int(c.at.size())) << c.name;
        Group* g = h.doc().findGroup(QStringLiteral("04-25-2007-9-0-01"));
        ASSERT_NE(g, nullptr) << c.name;
        EXPECT_EQ(g->Count(), int(c.at.size())) << c.name;
        for (size_t i = 0; i < c.at.size(); ++i) {
            Entity* t = h.ms().Item(int(i));
            EXPECT_EQ(t->TextString(), QString(QLatin1Char(c.text[i]))) << c.name << i;
            EXPECT_EQ(g->Item(int(i)), t) << c.name << i;
            const Point at = c.centred ? t->TextAlignmentPoint() : t->InsertionPoint();
            EXPECT_NEAR(at.x, c.at[i].x, 1e-6) << c.name << i;
            EXPECT_NEAR(at.y, c.at[i].y, 1e-6) << c.name << i;
            EXPECT_EQ(t->Alignment(), c.centred ? 10 : 0) << c.name << i;
            EXPECT_EQ(t->Height(), *c.height ? 2.0 : 1.5) << c.name << i;
            EXPECT_EQ(t->ScaleFactor(), 1) << c.name << i;
            EXPECT_EQ(t->StyleName(), u("等线体")) << c.name << i;
            if (c.rotation >= 0) {
                const double r = std::fmod(c.rotation, 2 * M_PI);
                EXPECT_NEAR(std::fmod(t->Rotation(), 2 * M_PI), r, 1e-6) << c.name << i;
            } else { // practically level
                EXPECT_LT(std::fabs(std::sin(t->Rotation())), 1e-3) << c.name << i;
                EXPECT_GT(std::cos(t->Rotation()), 0) << c.name << i;
            }
        }
    }
}

TEST(TextAlongLine, OneGroupPerLineAndEarlyEnds)
{
    {
        test::DraftingHost h;
        Entity* a = h.ms().AddLightWeightPolyline({0, 0, 10, 0});
        Entity* b = h.ms().AddLightWeightPolyline({0, 5, 10, 5});
        h.answer(QStringLiteral("string"), QStringLiteral("  AB "));
        h.select({a, b});
        h.answer(QStringLiteral("enter"));
        h.answer(QStringLiteral("enter"));
        drafting::crooslinetext_Click(h.context);
        for (const char* name : {"04-25-2007-9-0-01", "04-25-2007-9-0-02"}) {
            Group* g = h.doc().findGroup(QString::fromLatin1(name));
            ASSERT_NE(g, nullptr) << name;
            EXPECT_EQ(g->Count(), 2) << name;
        }
        EXPECT_EQ(h.ms().Count(), 4);
    }
    for (const char* annotation : {"", "   "}) {
        test::DraftingHost h;
        Entity* a = h.ms().AddLightWeightPolyline({0, 0, 10, 0});
        h.answer(QStringLiteral("string"), QString::fromLatin1(annotation));
        drafting::crooslinetext_Click(h.context);
        EXPECT_FALSE(a->isErased()) << annotation;
        EXPECT_EQ(h.ms().Count(), 1) << annotation;
        EXPECT_EQ(h.home.answers.remaining().size(), 0) << annotation;
    }
}

TEST(BlankRemoval, OnlyU0020Goes)
{
    const struct {
        const char* before;
        const char* after;
    } cases[] = {{"A B", "AB"}, {" C D ", "CD"}, {"A\u3000B", "A\u3000B"}, {"   ", ""}, {"A\tB ", "A\tB"}};
    test::DraftingHost h;
    std::vector<Entity*> texts;
    for (const auto& c : cases)
        texts.push_back(h.text(u(c.before)));
    h.select(texts);
    drafting::deletetextspace_Click(h.context);
    for (size_t i = 0; i < texts.size(); ++i)
        EXPECT_EQ(texts[i]->TextString(), u(cases[i].after)) << cases[i].before;
}

TEST(SequenceNumbers, FromTheStartValueUntilCancelOrTheLimit)
{
    const struct {
        const char* name;
        const char* kind;
        const char* start;
        int picks; // offered
        QStringList texts;
    } cases[] = {
        {"from 1", "real", "1", 2, {" 1", " 2"}},
        {"from -1", "real", "-1", 2, {"-1", " 0"}},
        {"from 2.5", "real", "2.5", 2, {" 2.5", " 3.5"}},
        {"empty start", "enter", "", 1, {" 0"}},
        {"999999", "real", "999999", 3, {" 999999", " 1000000"}},
        {"1000001", "real", "1000001", 1, {}},
        {"esc at the start", "esc", "", 1, {}},
    };
    for (const auto& c : cases) {
        test::DraftingHost h;
        h.answer(QString::fromLatin1(c.kind), QString::fromLatin1(c.start));
        for (int i = 0; i < c.picks; ++i)
            h.answerPoint(10 * i, 0);
        h.answer(QStringLiteral("esc"));
        drafting::xunxu_zhu_Click(h.context);
        QStringList got;
        for (Entity* t : h.added(0)) {
            got << t->TextString();
            EXPECT_EQ(t->Height(), 14) << c.name;
        }
        EXPECT_EQ(got, c.texts) << c.name;
        if (!c.texts.isEmpty()) {
            EXPECT_EQ(h.ms().Item(1 % h.ms().Count())->InsertionPoint().x, c.texts.size() > 1 ? 10 : 0) << c.name;
        }
        EXPECT_TRUE(h.ui.messages().isEmpty()) << c.name;
    }
}

TEST(TextTools, NoHost)
{
    const struct {
        const char* name;
        void (*command)(Context&);
        bool message;
    } cases[] = {
        {"texttools", drafting::texttools_Click, true},
        {"crooslinetext", drafting::crooslinetext_Click, true},
        {"deletetextspace", drafting::deletetextspace_Click, true},
        {"xunxu_zhu", drafting::xunxu_zhu_Click, false},
    };
    for (const auto& c : cases) {
        test::TempHome home;
        c.command(home.context);
        EXPECT_EQ(test::messageTexts(home), c.message ? QStringList{u("AutoCAD 没有运行或版本不符合！")} : QStringList{})
            << c.name;
    }
}
