// Grid-style coordinate notes.
#include "drafting/coordinate_notes.h"
#include "drafting_host.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace kelvor;
using namespace kelvor::cad;
using test::u;

TEST(GridNotes, LabelsScaledByTheDrawing)
{
    const struct {
        const char* name;
        double userr1;
        double x, y;
        const char* east;
        const char* north;
        double k;
    } cases[] = {
        {"500", 500, 500, 200, " Y 500", " X 200", 1},
        {"0 reads as 500", 0, 500, 200, " Y 500", " X 200", 1},
        {"1000", 1000, 500, 200, " Y 500", " X 200", 2},
        {"fraction", 500, 512.25, 200, " Y 512.25", " X 200", 1},
        {"easting 0 is noted", 500, 0, 30, " Y 0", " X 30", 1},
    };
    for (const auto& c : cases) {
        test::DraftingHost h;
        h.doc().Layers().Add(QStringLiteral("tk"));
        h.doc().TextStyles().Add(QStringLiteral("hz"));
        h.doc().SetVariable(QStringLiteral("userr1"), c.userr1);
        h.answerPoint(c.x, c.y);
        h.answer(QStringLiteral("esc"));
        drafting::zjzbfangge_Click(h.context);
        ASSERT_EQ(h.ms().Count(), 2) << c.name;
        Entity* east = h.ms().Item(0);
        Entity* north = h.ms().Item(1);
        EXPECT_EQ(east->TextString(), QString::fromLatin1(c.east)) << c.name;
        EXPECT_EQ(east->InsertionPoint(), (Point{c.x + c.k, c.y, 0})) << c.name;
        EXPECT_DOUBLE_EQ(east->Height(), 1.2 * c.k) << c.name;
        EXPECT_EQ(north->TextString(), QString::fromLatin1(c.north)) << c.name;
        EXPECT_NEAR(north->Rotation(), 1.5708, 1e-12) << c.name;
        // turned about the pick: about 1.5 k right of it and k above
        EXPECT_NEAR(north->InsertionPoint().x, c.x + 1.5 * c.k, 1e-3) << c.name;
        EXPECT_NEAR(north->InsertionPoint().y, c.y + c.k, 1e-3) << c.name;
        for (Entity* t : {east, north}) {
            EXPECT_EQ(t->Layer(), QStringLiteral("tk")) << c.name;
            EXPECT_EQ(t->StyleName(), QStringLiteral("hz")) << c.name;
            EXPECT_EQ(t->Color(), 7) << c.name;
        }
        EXPECT_EQ(h.doc().GetVariable(QStringLiteral("OSMODE")).toInt(), 32) << c.name;
    }
}

TEST(GridNotes, MissingLayerAndStylePassedOverEscFirstDrawsNothing)
{
    test::DraftingHost h;
    h.answerPoint(10, 20);
    h.answer(QStringLiteral("esc"));
    drafting::zjzbfangge_Click(h.context);
    ASSERT_EQ(h.ms().Count(), 2);
    EXPECT_EQ(h.ms().Item(0)->Layer(), QStringLiteral("0"));
    EXPECT_EQ(h.ms().Item(0)->Color(), 7);

    test::DraftingHost esc;
    esc.answer(QStringLiteral("esc"));
    drafting::zjzbfangge_Click(esc.context);
    EXPECT_EQ(esc.ms().Count(), 0);
    EXPECT_EQ(esc.doc().GetVariable(QStringLiteral("OSMODE")).toInt(), 32);
}
