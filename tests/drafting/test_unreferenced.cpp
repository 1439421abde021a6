// The main window's drawing routines that nothing starts.
#include "drafting/unreferenced.h"
#include "drafting_host.h"

#include <gtest/gtest.h>

using namespace kelvor;
using namespace kelvor::cad;
using test::u;

namespace {

Entity* onLayer(Entity* e, const QString& layer, int colour)
{
    e->document().Layers().Add(layer);
    e->setLayer(layer);
    e->setColor(colour);
    return e;
}

} // namespace

TEST(UnreferencedErase, OwnColourOneOnlyAndRedTextsOfGcdOnly)
{
    const struct {
        const char* name;
        void (*routine)(Context&);
        bool text;
        const char* layer;
        int colour;
        bool erased;
    } cases[] = {
        {"red line", drafting::EraseColourOneEntities, false, "0", 1, true},
        {"ByLayer on a red layer", drafting::EraseColourOneEntities, false, "red", ColorByLayer, false},
        {"blue text", drafting::EraseColourOneEntities, true, "0", 5, false},
        {"red text on GCD", drafting::EraseRedGcdTexts, true, "GCD", 1, true},
        {"red text on gcd", drafting::EraseRedGcdTexts, true, "gcd", 1, true},
        {"red text off GCD", drafting::EraseRedGcdTexts, true, "0", 1, false},
        {"ByLayer text on a red GCD", drafting::EraseRedGcdTexts, true, "GCD", ColorByLayer, false},
        {"red line on GCD", drafting::EraseRedGcdTexts, false, "GCD", 1, false},
    };
    for (const auto& c : cases) {
        test::DraftingHost h;
        h.doc().Layers().Add(QStringLiteral("red")).Color = 1;
        h.doc().Layers().Add(QStringLiteral("GCD")).Color = 1;
        Entity* e = c.text ? h.text(QStringLiteral("12.5")) : h.ms().AddLine({0, 0, 0}, {1, 1, 0});
        onLayer(e, QString::fromLatin1(c.layer), c.colour);
        c.routine(h.context);
        EXPECT_EQ(e->isErased(), c.erased) << c.name;
        EXPECT_EQ(h.doc().SelectionSets().find(QStringLiteral("t1dddst")), nullptr) << c.name;
        EXPECT_EQ(h.app.activations(), 2) << c.name;
    }
}

TEST(UnreferencedErase, ALeftOverSetStopsAtOnce)
{
    test::DraftingHost h;
    Entity* red = h.ms().AddLine({0, 0, 0}, {1, 1, 0});
    red->setColor(1);
    h.doc().SelectionSets().Add(QStringLiteral("t1dddst"));
    drafting::EraseColourOneEntities(h.context);
    EXPECT_FALSE(red->isErased());
    EXPECT_EQ(h.app.activations(), 0);
}

TEST(UnreferencedCircles, EnlargedAndRaisedOrRecoloured)
{
    test::DraftingHost h;
    Entity* c1 = h.ms().AddCircle({10, 20, 0}, 2);
    Entity* line = h.ms().AddLine({0, 0, 0}, {1, 1, 0});
    Entity* c2 = h.ms().AddCircle({30, 40, 5}, 0.5);
    drafting::EnlargeCircles(h.context);
    EXPECT_EQ(c1->Center(), (Point{10, 20, 50}));
    EXPECT_DOUBLE_EQ(c1->Radius(), 4);
    EXPECT_EQ(c2->Center(), (Point{30, 40, 55}));
    EXPECT_DOUBLE_EQ(c2->Radius(), 1);
    EXPECT_EQ(line->EndPoint(), (Point{1, 1, 0}));

    drafting::RecolourDefaultValueEight(h.context);
    EXPECT_EQ(c1->Color(), 1);
    EXPECT_EQ(c2->Color(), 1);
    EXPECT_EQ(line->Color(), ColorByLayer);
    EXPECT_EQ(h.app.activations(), 1);

    test::DraftingHost none;
    Entity* only = none.ms().AddLine({0, 0, 0}, {1, 1, 0});
    drafting::EnlargeCircles(none.context);
    drafting::RecolourDefaultValueEight(none.context);
    EXPECT_EQ(only->EndPoint(), (Point{1, 1, 0}));
    EXPECT_EQ(only->Color(), ColorByLayer);
}

TEST(UnreferencedCircles, CircleBlockInsertedTwentyTimes)
{
    test::DraftingHost h;
    drafting::InsertCircleBlock(h.context);
    Block* cir = h.doc().findBlock(QStringLiteral("CIR"));
    ASSERT_NE(cir, nullptr);
    ASSERT_EQ(cir->Count(), 2);
    EXPECT_DOUBLE_EQ(cir->Item(0)->Radius(), 3);
    EXPECT_EQ(cir->Item(1)->kind(), EntityKind::Point);
    ASSERT_EQ(h.ms().Count(), 1);
    Entity* ref = h.ms().Item(0);
    EXPECT_EQ(ref->Name().toUpper(), QStringLiteral("CIR"));
    EXPECT_DOUBLE_EQ(ref->XScaleFactor(), 20);
    EXPECT_DOUBLE_EQ(ref->ZScaleFactor(), 20);
}

TEST(UnreferencedPick, PickedEntitiesTurnRedAndStayHighlighted)
{
    test::DraftingHost h;
    Entity* a = h.ms().AddLine({0, 0, 0}, {1, 1, 0});
    Entity* b = h.ms().AddLine({5, 0, 0}, {6, 1, 0});
    h.select({a});
    drafting::HighlightPickedInRed(h.context);
    EXPECT_EQ(a->Color(), 1);
    EXPECT_TRUE(a->Highlighted());
    EXPECT_EQ(b->Color(), ColorByLayer);
    EXPECT_EQ(h.doc().SelectionSets().find(QStringLiteral("text")), nullptr);
}

TEST(UnreferencedMessages, OneBoxPerEntityHighlightedMeanwhile)
{
    test::DraftingHost h;
    Entity* line = h.ms().AddLine({0, 0, 0}, {1, 1, 0});
    Entity* text = h.text(QStringLiteral("A"));
    drafting::ShowObjectNames(h.context);
    drafting::ShowHandles(h.context);
    ASSERT_EQ(h.ui.messages().size(), 4);
    EXPECT_EQ(h.messageText(0), u("这个实体的名字为: AcDbLine"));
    EXPECT_EQ(h.messageTitle(0), QStringLiteral("ObjectName Example"));
    EXPECT_EQ(h.messageIcon(0), QStringLiteral("information"));
    EXPECT_EQ(h.messageText(1), u("这个实体的名字为: AcDbText"));
    EXPECT_EQ(h.messageText(3), QStringLiteral("The handle of this object is ") + text->Handle());
    EXPECT_EQ(h.messageTitle(3), QStringLiteral("Handle Example"));
    EXPECT_FALSE(line->Highlighted());
    EXPECT_FALSE(text->Highlighted());
}

TEST(UnreferencedMessages, OsmodeShownPickboxSet)
{
    test::DraftingHost h;
    h.doc().SetVariable(QStringLiteral("osmode"), 35);
    drafting::ShowOsmodeSetPickbox(h.context);
    ASSERT_EQ(h.ui.messages().size(), 1);
    EXPECT_EQ(h.messageText(0), u("系统变量为:35"));
    EXPECT_EQ(h.messageIcon(0), QStringLiteral("none"));
    EXPECT_EQ(h.messageTitle(0), applicationTitle());
    EXPECT_EQ(h.doc().GetVariable(QStringLiteral("PICKBOX")).toInt(), 1);
}

TEST(UnreferencedNoHost, SilentExceptTheOsmodeBox)
{
    for (void (*routine)(Context&) :
         {drafting::EraseColourOneEntities, drafting::HighlightPickedInRed, drafting::ShowObjectNames,
          drafting::ShowHandles, drafting::RecolourDefaultValueEight, drafting::InsertCircleBlock,
          drafting::EnlargeCircles, drafting::EraseRedGcdTexts}) {
        test::TempHome home;
        routine(home.context);
        EXPECT_TRUE(home.ui.messages().isEmpty());
    }
    test::TempHome home;
    drafting::ShowOsmodeSetPickbox(home.context);
    EXPECT_EQ(test::messageTexts(home), QStringList{u("系统变量为:")});
}
