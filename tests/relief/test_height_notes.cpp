#include "cad_host.h"
#include "relief/height_notes.h"

#include <gtest/gtest.h>

using namespace kelvor;
using namespace kelvor::relief;

namespace {

struct NoteHost : test::CadHost {
    NoteHost()
    {
        for (const char* l : {"gcd", "laheight", "other"})
            doc().Layers().Add(QString::fromLatin1(l));
        doc().BlocksAdd({0, 0, 0}, QStringLiteral("gc200")).AddCircle({0, 0, 0}, 0.5);
    }
    cad::Entity* text(const QString& s, double x, double y, const char* layer = "gcd")
    {
        cad::Entity* t = ms().AddText(s, {x, y, 0}, 1);
        t->setLayer(QString::fromLatin1(layer));
        return t;
    }
    cad::Entity* block(double x, double y, double z)
    {
        cad::Entity* b = ms().InsertBlock({x, y, z}, QStringLiteral("gc200"), 0.5, 0.5, 1, 0);
        b->setLayer(QStringLiteral("gcd"));
        return b;
    }
};

} // namespace

TEST(HeightNotes, LeadingNumberOnlyWhenTheTextBeginsWithOne)
{
    const struct {
        const char* text;
        std::optional<double> number;
    } cases[] = {
        {"12.34", 12.34}, {" -1.5m", -1.5}, {"-.5", -0.5}, {".5", 0.5}, {"0.00", 0.0}, {"\t+ 3", 3.0},
        {"K12", std::nullopt}, {"", std::nullopt}, {".", std::nullopt}, {"-", std::nullopt}, {"中1", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(noteNumber(QString::fromUtf8(c.text)), c.number) << '"' << c.text << '"';
}

TEST(HeightNotes, OffsetTextHasTwoDecimalsWithoutLeadingZero)
{
    const struct {
        const char* text;
        double c;
        const char* result; // null: the text stays
    } cases[] = {
        {"12.34", 0.5, "12.84"}, {"0.30", 0.2, ".50"},  {"12.345", 0, "12.35"}, {"12.3", 0, "12.30"},
        {"-0.75", 0.5, "-.25"},  {"1.005", 0, "1.01"},  {"45", -1, "44.00"},    {"abc", 1, nullptr},
        {"", 1, nullptr},
    };
    for (const auto& c : cases) {
        const std::optional<QString> r = offsetNoteText(QString::fromLatin1(c.text), c.c);
        if (c.result)
            EXPECT_EQ(r, QString::fromLatin1(c.result)) << c.text;
        else
            EXPECT_FALSE(r) << c.text;
    }
}

TEST(HeightNotes, DecimalsPatterns)
{
    const struct {
        double decimals;
        const char* pattern;
    } cases[] = {{1, "0.0"}, {2, "0.00"}, {2.0, "0.00"}, {3, "0.000"}, {0, nullptr}, {4, nullptr}, {2.5, nullptr},
                 {-2, nullptr}};
    for (const auto& c : cases) {
        const std::optional<QString> p = decimalsPattern(c.decimals);
        if (c.pattern)
            EXPECT_EQ(p, QString::fromLatin1(c.pattern)) << c.decimals;
        else
            EXPECT_FALSE(p) << c.decimals;
    }
}

TEST(HeightNotes, ConstantAddedToTextsAndBlocks)
{
    NoteHost h;
    cad::Entity* note = h.text(QStringLiteral("12.34"), 50, 60);
    cad::Entity* block = h.block(49.5, 60, 12.34);
    cad::Entity* name = h.text(QStringLiteral("abc"), 80, 60, "laheight");
    name->setColor(1);
    cad::Entity* low = h.text(QStringLiteral("0.30"), 20, 30, "laheight");
    h.answerSelect({low->Handle(), note->Handle(), block->Handle(), name->Handle()});
    h.answer(QStringLiteral("real"), QStringLiteral("0.5"));
    laheightaddnumber_Click(h.context);
    EXPECT_EQ(note->TextString(), QStringLiteral("12.84"));
    EXPECT_EQ(note->Color(), 4);
    EXPECT_EQ(low->TextString(), QStringLiteral(".80"));
    EXPECT_EQ(block->InsertionPoint(), (cad::Point{49.5, 60, 12.84}));
    EXPECT_EQ(name->TextString(), QStringLiteral("abc")) << "not a number: left as it is";
    EXPECT_EQ(name->Color(), 1);
    EXPECT_EQ(h.app.events().last(), QStringLiteral("ZoomWindow 40,54 63,66"));
    EXPECT_FALSE(h.doc().SelectionSets().find(QStringLiteral("text")));
}

TEST(HeightNotes, ConstantZeroRewritesTextsAndLeavesBlocks)
{
    NoteHost h;
    cad::Entity* a = h.text(QStringLiteral("12.345"), 0, 0);
    cad::Entity* b = h.text(QStringLiteral("12.3"), 10, 0);
    cad::Entity* block = h.block(5, 5, 7);
    h.answerSelect({a->Handle(), b->Handle(), block->Handle()});
    h.answer(QStringLiteral("real"), QStringLiteral("0"));
    laheightaddnumber_Click(h.context);
    EXPECT_EQ(a->TextString(), QStringLiteral("12.35"));
    EXPECT_EQ(b->TextString(), QStringLiteral("12.30"));
    EXPECT_EQ(b->Color(), 4);
    EXPECT_EQ(block->InsertionPoint(), (cad::Point{5, 5, 7}));
}

TEST(HeightNotes, ConstantAsksNothingWithoutASelectionAndStopsAtEsc)
{
    {
        NoteHost h;
        cad::Entity* outside = h.text(QStringLiteral("12.34"), 0, 0, "other");
        h.answerSelect({outside->Handle()}); // filtered out by its layer
        h.answer(QStringLiteral("real"), QStringLiteral("1"));
        laheightaddnumber_Click(h.context);
        EXPECT_FALSE(h.home.answers.empty()) << "no question";
        EXPECT_EQ(outside->TextString(), QStringLiteral("12.34"));
        EXPECT_FALSE(h.app.transcript().contains(QStringLiteral("高差常数")));
    }
    {
        NoteHost h;
        cad::Entity* t = h.text(QStringLiteral("12.34"), 0, 0);
        h.answerSelect({t->Handle()});
        h.answer(QStringLiteral("esc"));
        laheightaddnumber_Click(h.context);
        EXPECT_EQ(t->TextString(), QStringLiteral("12.34"));
        EXPECT_EQ(t->Color(), cad::ColorByLayer);
    }
}

TEST(HeightNotes, RoundingToTheChosenDecimals)
{
    const struct {
        const char* kind;
        const char* answer;
        const char* a; // "12.345"
        const char* b; // "12.3"
    } cases[] = {
        {"real", "2", "12.35", "12.30"},  {"real", "1", "12.3", "12.3"}, {"real", "3", "12.345", "12.300"},
        {"real", "0", "12.345", "12.3"},  {"real", "4", "12.345", "12.3"}, {"esc", "", "12.345", "12.3"},
        {"enter", "", "12.345", "12.3"},
    };
    for (const auto& c : cases) {
        NoteHost h;
        cad::Entity* a = h.text(QStringLiteral("12.345"), 0, 0);
        cad::Entity* b = h.text(QStringLiteral("12.3"), 10, 0, "laheight");
        cad::Entity* name = h.text(QStringLiteral("abc"), 20, 0);
        h.answerSelect({a->Handle(), b->Handle(), name->Handle()});
        h.answer(QString::fromLatin1(c.kind), QString::fromLatin1(c.answer));
        laheightgcdqw_Click(h.context);
        EXPECT_EQ(a->TextString(), QString::fromLatin1(c.a)) << c.kind << ' ' << c.answer;
        EXPECT_EQ(b->TextString(), QString::fromLatin1(c.b)) << c.kind << ' ' << c.answer;
        EXPECT_EQ(name->TextString(), QStringLiteral("abc")) << c.kind << ' ' << c.answer;
        EXPECT_EQ(a->Color(), cad::ColorByLayer) << c.kind << ' ' << c.answer;
    }
}

TEST(HeightNotes, RoundingWithNothingSelectedAsksNothing)
{
    NoteHost h;
    cad::Entity* block = h.block(0, 0, 1);
    h.answerSelect({block->Handle()}); // texts only
    h.answer(QStringLiteral("real"), QStringLiteral("2"));
    laheightgcdqw_Click(h.context);
    EXPECT_TRUE(h.app.transcript().endsWith(QStringLiteral("没有选择的文字")));
    EXPECT_FALSE(h.app.transcript().contains(QStringLiteral("更改的高程点位数")));
    EXPECT_FALSE(h.home.answers.empty());
}
