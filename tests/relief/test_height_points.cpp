#include "cad_host.h"
#include "cass/cass_xdata.h"
#include "relief/height_points.h"

#include <gtest/gtest.h>

using namespace kelvor;
using namespace kelvor::relief;

namespace {

// Two contours 10 apart at 101 and 102, the layers of the notes and the
// elevation-point block.
struct ContourHost : test::CadHost {
    explicit ContourHost(bool withBlock = true)
    {
        for (const char* l : {"dgx", "gcd", "zj"})
            doc().Layers().Add(QString::fromLatin1(l));
        contour(101, 0);
        contour(102, 10);
        if (withBlock)
            doc().BlocksAdd({0, 0, 0}, QStringLiteral("gc200")).AddCircle({0, 0, 0}, 0.5);
    }
    void contour(double height, double y)
    {
        cad::Entity* c = ms().AddLightWeightPolyline({0, y, 100, y});
        c->setElevation(height);
        c->setLayer(QStringLiteral("dgx"));
    }
    // A pass: the two contours at x, then a quarter of the way between.
    void pass(double x)
    {
        answerPoint(x, 0);
        answerPoint(x, 10);
        answerPoint(x, 2.5);
    }
    std::vector<cad::Entity*> all(const char* objectName)
    {
        std::vector<cad::Entity*> out;
        for (cad::Entity* e : ms().entities())
            if (e->ObjectName() == QLatin1String(objectName))
                out.push_back(e);
        return out;
    }
};

} // namespace

TEST(ElevationPoints, ScaleAnswersComparedExactly)
{
    const struct {
        const char* answer;
        double height, block;
    } cases[] = {
        {"", 1, 0.5}, {"1", 1, 0.5}, {"a", 1, 0.5}, {"4", 1, 0.5}, {"B", 1, 0.5}, {" 2", 1, 0.5}, {"2 ", 1, 0.5},
        {"2", 2, 1},  {"b", 2, 1},   {"3", 4, 2},   {"c", 4, 2},   {"C", 1, 0.5},
    };
    for (const auto& c : cases) {
        const NoteScale s = noteScale(QString::fromLatin1(c.answer));
        EXPECT_EQ(s.textHeight, c.height) << '"' << c.answer << '"';
        EXPECT_EQ(s.blockScale, c.block) << '"' << c.answer << '"';
    }
}

TEST(ElevationPoints, NoteInterpolatedBetweenTwoContours)
{
    const struct {
        const char* kind;
        const char* answer;
        double height, block;
    } cases[] = {{"enter", "", 1, 0.5}, {"string", "b", 2, 1}, {"string", "c", 4, 2}, {"string", "B", 1, 0.5}};
    for (const auto& c : cases) {
        ContourHost h;
        h.answer(QString::fromLatin1(c.kind), QString::fromLatin1(c.answer));
        h.pass(20);
        h.answer(QStringLiteral("esc"));
        addgcd_Click(h.context);

        const auto texts = h.all("AcDbText");
        const auto blocks = h.all("AcDbBlockReference");
        ASSERT_EQ(texts.size(), 1u) << c.answer;
        ASSERT_EQ(blocks.size(), 1u) << c.answer;
        const cad::Entity* t = texts[0];
        EXPECT_EQ(t->TextString(), QStringLiteral("101.25")) << c.answer;
        EXPECT_EQ(t->Layer(), QStringLiteral("gcd")) << c.answer;
        EXPECT_EQ(t->Height(), c.height) << c.answer;
        EXPECT_EQ(t->Alignment(), cad::AlignMiddleLeft) << c.answer;
        EXPECT_EQ(t->TextAlignmentPoint(), (cad::Point{20.6, 2.5, 101.25})) << c.answer << ": 0.6 at every scale";
        EXPECT_EQ(t->ScaleFactor(), 0.8) << c.answer;
        EXPECT_EQ(t->GetXData(QString()), cass::cassRecord(QStringLiteral("south"), QStringLiteral("202111")))
            << c.answer;
        const cad::Entity* b = blocks[0];
        EXPECT_EQ(b->Name(), QStringLiteral("gc200")) << c.answer;
        EXPECT_EQ(b->InsertionPoint(), (cad::Point{20, 2.5, 101.25})) << c.answer;
        EXPECT_EQ(b->XScaleFactor(), c.block) << c.answer;
        EXPECT_EQ(b->YScaleFactor(), c.block) << c.answer;
        EXPECT_EQ(b->ZScaleFactor(), 1) << c.answer;
        EXPECT_EQ(b->Layer(), QStringLiteral("gcd")) << c.answer;
        EXPECT_EQ(b->GetXData(QString()), cass::cassRecord(QStringLiteral("south"), QStringLiteral("202101")))
            << c.answer;
        EXPECT_EQ(h.doc().GetVariable(QStringLiteral("OSMODE")).toInt(), 512) << c.answer;
        EXPECT_TRUE(h.all("AcDbLine").empty()) << c.answer << ": the temporary line is gone";
        EXPECT_TRUE(h.app.transcript().endsWith(QStringLiteral("选择等高线:"))) << c.answer;
    }
}

TEST(ElevationPoints, CancelsEndTheCommandAndKeepEarlierNotes)
{
    const struct {
        const char* name;
        int picksInLastPass; // before the Esc
    } cases[] = {{"first pick", 0}, {"second pick", 1}, {"third pick", 2}};
    for (const auto& c : cases) {
        ContourHost h;
        h.answer(QStringLiteral("enter"));
        h.pass(20);
        if (c.picksInLastPass > 0)
            h.answerPoint(60, 0);
        if (c.picksInLastPass > 1)
            h.answerPoint(60, 10);
        h.answer(QStringLiteral("esc"));
        h.answerPoint(80, 0); // never asked for
        addgcd_Click(h.context);
        EXPECT_EQ(h.all("AcDbText").size(), 1u) << c.name;
        EXPECT_EQ(h.all("AcDbBlockReference").size(), 1u) << c.name;
        EXPECT_TRUE(h.all("AcDbLine").empty()) << c.name;
        EXPECT_FALSE(h.home.answers.empty()) << c.name;
    }
}

TEST(ElevationPoints, WithoutTheBlockTheTextStandsAlone)
{
    ContourHost h(false);
    h.answer(QStringLiteral("string"), QStringLiteral("1"));
    h.pass(40);
    h.answer(QStringLiteral("esc"));
    addgcd_Click(h.context);
    ASSERT_EQ(h.all("AcDbText").size(), 1u);
    EXPECT_EQ(h.all("AcDbText")[0]->TextString(), QStringLiteral("101.25"));
    EXPECT_TRUE(h.all("AcDbBlockReference").empty());
}

TEST(WaterNotes, RuleHeightAndDate)
{
    const struct {
        double x, y, h;
        QDate today;
        const char* height;
        const char* date;
    } cases[] = {
        {100, 200, 12.345, QDate(2007, 4, 25), "12.35", "2007.04.25"},
        {0, 0, -0.005, QDate(2021, 3, 5), "-0.01", "2021.03.05"},
        {-10, 5, 0, QDate(1999, 12, 31), "0.00", "1999.12.31"},
    };
    for (const auto& c : cases) {
        const WaterNote n = waterNote(c.x, c.y, c.h, c.today);
        EXPECT_EQ(n.ruleStart, (cad::Point{c.x - 3.5, c.y, 0})) << c.height;
        EXPECT_EQ(n.ruleEnd, (cad::Point{c.x + 3.5, c.y, 0})) << c.height;
        EXPECT_EQ(n.heightAt, (cad::Point{c.x - 1.8, c.y + 0.35, 0})) << c.height;
        EXPECT_EQ(n.dateAt, (cad::Point{c.x - 3.3, c.y - 1.35, c.h})) << c.height << ": the date carries the height";
        EXPECT_EQ(n.height, QString::fromLatin1(c.height));
        EXPECT_EQ(n.date, QString::fromLatin1(c.date));
    }
}

TEST(WaterNotes, DrawnOnZjUntilCancelled)
{
    ContourHost h;
    h.answerTypedPoint(QStringLiteral("0,0,12.345"));
    h.answerPoint(100, 200);
    h.answerTypedPoint(QStringLiteral("300,400,0")); // at height 0: noted at the pick, no position asked
    h.answer(QStringLiteral("esc"));
    shuimiangaochenzj_Click(h.context);

    const auto lines = h.all("AcDbLine");
    const auto texts = h.all("AcDbText");
    ASSERT_EQ(lines.size(), 2u);
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(lines[0]->StartPoint(), (cad::Point{96.5, 200, 0}));
    EXPECT_EQ(lines[0]->EndPoint(), (cad::Point{103.5, 200, 0}));
    EXPECT_EQ(texts[0]->TextString(), QStringLiteral("2007.04.25"));
    EXPECT_EQ(texts[0]->InsertionPoint(), (cad::Point{96.7, 198.65, 12.345}));
    EXPECT_EQ(texts[1]->TextString(), QStringLiteral("12.35"));
    EXPECT_EQ(texts[1]->InsertionPoint(), (cad::Point{98.2, 200.35, 0}));
    EXPECT_EQ(texts[3]->TextString(), QStringLiteral("0.00"));
    EXPECT_EQ(texts[3]->InsertionPoint(), (cad::Point{298.2, 400.35, 0}));
    EXPECT_EQ(lines[1]->StartPoint(), (cad::Point{296.5, 400, 0}));
    for (const cad::Entity* t : texts) {
        EXPECT_EQ(t->Height(), 1) << t->TextString().toStdString();
        EXPECT_EQ(t->ScaleFactor(), 0.8) << t->TextString().toStdString();
        EXPECT_EQ(t->Alignment(), cad::AlignLeft) << t->TextString().toStdString();
        EXPECT_EQ(t->Layer(), QStringLiteral("zj")) << t->TextString().toStdString();
        EXPECT_TRUE(t->GetXData(QString()).empty()) << t->TextString().toStdString();
    }
    EXPECT_EQ(lines[0]->Layer(), QStringLiteral("zj"));
    EXPECT_EQ(h.app.transcript().count(QStringLiteral("请输入注记位置:")), 1);
}

TEST(WaterNotes, FirstRefusalEndsTheCommand)
{
    {
        // No layer "zj": the rule is drawn, its layer refused, and nothing follows.
        test::CadHost h;
        h.answerTypedPoint(QStringLiteral("0,0,5"));
        h.answerPoint(10, 10);
        h.answerTypedPoint(QStringLiteral("0,0,6"));
        shuimiangaochenzj_Click(h.context);
        ASSERT_EQ(h.ms().Count(), 1);
        EXPECT_EQ(h.ms().Item(0)->ObjectName(), QStringLiteral("AcDbLine"));
        EXPECT_FALSE(h.home.answers.empty());
        EXPECT_TRUE(h.ui.events().isEmpty());
    }
    {
        // Esc at the note position: nothing drawn, no message.
        ContourHost h;
        const int before = h.ms().Count();
        h.answerTypedPoint(QStringLiteral("0,0,5"));
        h.answer(QStringLiteral("esc"));
        shuimiangaochenzj_Click(h.context);
        EXPECT_EQ(h.ms().Count(), before);
        EXPECT_TRUE(h.ui.events().isEmpty());
    }
}
