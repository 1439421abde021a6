// The embedded CAD host's model: entities, extended data, filters,
// selection, command-line questions and commands, shared drawing routines.
#include "cad/cad.h"
#include "cad/model/handle_map.h"
#include "cad_host.h"
#include "test_support.h"

#include <gtest/gtest.h>
#include <unordered_map>

using namespace kelvor;
using namespace kelvor::cad;
using kelvor::test::errorOf;

namespace {

using Host = test::CadHost;

QStringList handlesOf(const std::vector<Entity*>& list)
{
    QStringList out;
    for (Entity* e : list)
        out << e->Handle();
    return out;
}

} // namespace

TEST(CadEntities, MembersTheKindLacksFail)
{
    Host h;
    Entity* line = h.ms().AddLine({0, 0, 0}, {1, 1, 0});
    Entity* p3 = h.ms().Add3DPoly({0, 0, 0, 1, 0, 1, 2, 2, 2});
    Entity* text = h.ms().AddText(QStringLiteral("测试"), {0, 0, 0}, 2);
    Entity* lw = h.ms().AddLightWeightPolyline({0, 0, 1, 0, 1, 1});
    struct Case {
        const char* what;
        std::function<void()> call;
        int expected;
    } cases[] = {
        {"line has no ConstantWidth", [&] { line->ConstantWidth(); }, fail::NoMember},
        {"3D polyline has no width", [&] { p3->setConstantWidth(1); }, fail::NoMember},
        {"3D polyline has no elevation", [&] { p3->Elevation(); }, fail::NoMember},
        {"3D polyline is closable", [&] { p3->setClosed(true); }, 0},
        {"text has no Coordinates", [&] { text->Coordinates(); }, fail::NoMember},
        {"polyline has no TextString", [&] { lw->TextString(); }, fail::NoMember},
        {"line has no Name", [&] { line->Name(); }, fail::NoMember},
        {"scale by zero", [&] { line->ScaleEntity({0, 0, 0}, 0); }, fail::Failed},
        {"scale by a negative factor", [&] { line->ScaleEntity({0, 0, 0}, -2); }, fail::Failed},
        {"colour out of range", [&] { line->setColor(257); }, fail::Failed},
        {"bulge of a missing vertex", [&] { lw->GetBulge(3); }, fail::Failed},
        {"left text has no alignment point", [&] { text->setTextAlignmentPoint({1, 1, 0}); }, fail::Failed},
    };
    for (const Case& c : cases)
        EXPECT_EQ(errorOf(c.call), c.expected) << c.what;
}

TEST(CadEntities, UndefinedNamesFailAndLeaveTheEntityUnchanged)
{
    Host h;
    h.doc().Layers().Add(QStringLiteral("JMD"));
    h.doc().Linetypes().Add(QStringLiteral("X5"));
    Entity* t = h.ms().AddText(QStringLiteral("a"), {0, 0, 0}, 1);
    EXPECT_EQ(errorOf([&] { t->setLayer(QStringLiteral("nosuch")); }), fail::Failed);
    EXPECT_EQ(errorOf([&] { t->setLinetype(QStringLiteral("dashdot")); }), fail::Failed);
    EXPECT_EQ(errorOf([&] { t->setStyleName(QStringLiteral("hz")); }), fail::Failed);
    EXPECT_EQ(t->Layer(), QStringLiteral("0"));
    EXPECT_EQ(t->Linetype(), QStringLiteral("ByLayer"));
    EXPECT_EQ(t->StyleName(), QStringLiteral("Standard"));
    t->setLayer(QStringLiteral("jmd")); // names compare without case; the table's spelling is kept
    t->setLinetype(QStringLiteral("x5"));
    EXPECT_EQ(t->Layer(), QStringLiteral("JMD"));
    EXPECT_EQ(t->Linetype(), QStringLiteral("X5"));
}

TEST(CadEntities, LockedLayerRefusesChanges)
{
    Host h;
    Layer& l = h.doc().Layers().Add(QStringLiteral("tk"));
    Entity* line = h.ms().AddLine({0, 0, 0}, {10, 0, 0});
    line->setLayer(QStringLiteral("tk"));
    l.Lock = true;
    Layer& locked = h.doc().Layers().Item(QStringLiteral("tk"));
    ASSERT_TRUE(locked.Lock);
    EXPECT_EQ(errorOf([&] { line->Move({0, 0, 0}, {5, 5, 0}); }), fail::LockedLayer);
    EXPECT_EQ(errorOf([&] { line->setColor(1); }), fail::LockedLayer);
    EXPECT_EQ(errorOf([&] { line->Delete(); }), fail::LockedLayer);
    EXPECT_EQ(errorOf([&] { line->SetXData({xstr(1001, "South"), xstr(1000, "1")}); }), fail::LockedLayer);
    EXPECT_EQ(line->EndPoint().x, 10);
    EXPECT_EQ(h.ms().Count(), 1);
}

TEST(CadEntities, TransformsAndCopies)
{
    Host h;
    Entity* lw = h.ms().AddLightWeightPolyline({0, 0, 10, 0, 10, 10});
    lw->setConstantWidth(0.5);
    lw->Move({0, 0, 0}, {100, 200, 0});
    EXPECT_EQ(lw->Coordinates(), (std::vector<double>{100, 200, 110, 200, 110, 210}));
    lw->ScaleEntity({100, 200, 0}, 2);
    EXPECT_DOUBLE_EQ(lw->ConstantWidth(), 1.0);
    EXPECT_DOUBLE_EQ(lw->Coordinate(2).y, 220);
    Entity* text = h.ms().AddText(QStringLiteral("x"), {1, 0, 0}, 2);
    text->Rotate({0, 0, 0}, M_PI / 2);
    EXPECT_NEAR(text->InsertionPoint().x, 0, 1e-12);
    EXPECT_NEAR(text->InsertionPoint().y, 1, 1e-12);
    EXPECT_NEAR(text->Rotation(), M_PI / 2, 1e-12);
    Entity* copy = lw->Copy();
    EXPECT_NE(copy->Handle(), lw->Handle());
    EXPECT_EQ(copy->Coordinates(), lw->Coordinates());
    EXPECT_EQ(LastModelSpaceEntity(h.doc()), copy);
    lw->Delete();
    EXPECT_EQ(errorOf([&] { lw->Layer(); }), fail::Erased);
    EXPECT_EQ(errorOf([&] { h.doc().HandleToObject(lw->handleValue() ? QStringLiteral("0") : QString()); }),
              fail::NotFound);
    EXPECT_EQ(h.ms().Count(), 2);
    EXPECT_EQ(h.ms().Item(0), text);
}

TEST(CadEntities, TextBoundingBoxFollowsTheWidthRule)
{
    Host h;
    // 0.6 of the height per Latin character, 1 per Chinese character, times the width factor
    Entity* t = h.ms().AddText(QStringLiteral("AB房屋"), {10, 20, 0}, 2);
    t->setScaleFactor(0.8);
    Point lo, hi;
    t->GetBoundingBox(lo, hi);
    EXPECT_DOUBLE_EQ(lo.x, 10);
    EXPECT_DOUBLE_EQ(lo.y, 20);
    EXPECT_DOUBLE_EQ(hi.x, 10 + 2 * 0.8 * (0.6 * 2 + 2));
    EXPECT_DOUBLE_EQ(hi.y, 22);
    // centred on its alignment point
    t->setAlignment(AlignMiddleCenter);
    t->setTextAlignmentPoint({0, 0, 0});
    t->GetBoundingBox(lo, hi);
    EXPECT_DOUBLE_EQ(lo.x, -(hi.x));
    EXPECT_DOUBLE_EQ(lo.y, -1);
    EXPECT_EQ(t->Alignment(), AlignMiddleCenter);
}

TEST(CadEntities, PolylineAreaAndLengthCountBulges)
{
    Host h;
    // a unit square whose top edge bulges out into a half circle of radius 0.5
    Entity* lw = h.ms().AddLightWeightPolyline({0, 0, 1, 0, 1, 1, 0, 1});
    lw->setClosed(true);
    lw->SetBulge(2, 1);
    EXPECT_NEAR(lw->Area(), 1 + M_PI / 8, 1e-9);
    EXPECT_NEAR(lw->Length(), 3 + M_PI / 2, 1e-9);
}

TEST(CadXData, ReadReplaceAndRefuse)
{
    Host h;
    Entity* e = h.ms().AddLine({0, 0, 0}, {1, 0, 0});
    e->SetXData({xstr(1001, "South"), xstr(1000, "141111")});
    e->SetXData({xstr(1001, "Other"), {1070, 5}, {1040, 2.5}});
    EXPECT_TRUE(h.doc().RegisteredApplications().contains(QStringLiteral("Other")));

    const XData all = e->GetXData(QString());
    ASSERT_EQ(all.size(), 5u);
    EXPECT_EQ(all[0], xstr(1001, "South"));
    EXPECT_EQ(all[2], xstr(1001, "Other"));

    // replacing one application leaves the other alone and keeps its place
    e->SetXData({xstr(1001, "south"), xstr(1000, "141200"), xstr(1000, "112")});
    const XData after = e->GetXData(QString());
    ASSERT_EQ(after.size(), 6u);
    EXPECT_EQ(after[0], xstr(1001, "south"));
    EXPECT_EQ(after[2], xstr(1000, "112"));
    EXPECT_EQ(after[3], xstr(1001, "Other"));
    EXPECT_EQ(e->GetXData(QStringLiteral("SOUTH")).size(), 3u);
    EXPECT_TRUE(e->GetXData(QStringLiteral("none")).empty());

    EXPECT_EQ(errorOf([&] { e->SetXData({}); }), fail::Failed);
    EXPECT_EQ(errorOf([&] { e->SetXData({xstr(1000, "no application")}); }), fail::Failed);
    EXPECT_EQ(e->GetXData(QString()).size(), 6u);

    // the name alone removes that application's data, the others keep theirs
    e->SetXData({xstr(1001, "SOUTH")});
    EXPECT_EQ(e->GetXData(QString()), (XData{xstr(1001, "Other"), {1070, 5}, {1040, 2.5}}));
    e->SetXData({xstr(1001, "none")});
    EXPECT_EQ(e->GetXData(QString()).size(), 3u);
}

TEST(CadFilters, WildcardsFollowTheDrawingProgramsRules)
{
    struct Case {
        const char* text;
        const char* pattern;
        bool match;
    } cases[] = {
        {"LWPOLYLINE", "*POLYLINE", true},   {"POLYLINE", "*POLYLINE", true},
        {"LWPOLYLINE", "POLYLINE", false},   {"TEXT", "text", true},
        {"MTEXT", "text", false},            {"dgx", "JMD,DGX", true},
        {"JMD", "jmd , dgx", false},         {"A12", "A##", true},
        {"A1B", "A##", false},               {"ab", "@@", true},
        {"a-", "a.", true},                  {"ab", "a.", false},
        {"GCD", "~GCD", false},              {"DGX", "~GCD", true},
        {"K7", "[A-K]#", true},              {"L7", "[A-K]#", false},
        {"L7", "[~A-K]#", true},             {"A*B", "A`*B", true},
        {"AxB", "A`*B", false},              {"a,b", "a`,b", true},
        {"x", "?", true},                    {"", "*", true},
        {"ACDJTK6B", "ACDJTK6B,ACDJTK8B", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(wildcardMatch(QString::fromUtf8(c.text), QString::fromUtf8(c.pattern)), c.match)
            << c.text << " ~ " << c.pattern;
}

TEST(CadFilters, GroupCodesMatchTheirOwnProperties)
{
    Host h;
    Document& d = h.doc();
    d.Layers().Add(QStringLiteral("JMD"));
    d.Layers().Add(QStringLiteral("dgx"));
    d.Linetypes().Add(QStringLiteral("X5"));
    d.BlocksAdd({0, 0, 0}, QStringLiteral("ACDJTK6B")).AddLine({0, 0, 0}, {1, 1, 0});
    Entity* lw = h.ms().AddLightWeightPolyline({0, 0, 1, 1});
    Entity* old = h.ms().AddPolyline({0, 0, 0, 1, 1, 0});
    Entity* p3 = h.ms().Add3DPoly({0, 0, 0, 1, 1, 1});
    Entity* text = h.ms().AddText(QStringLiteral("t"), {0, 0, 0}, 1);
    Entity* mtext = h.ms().AddMText({0, 0, 0}, 5, QStringLiteral("m"));
    Entity* ref = h.ms().InsertBlock({5, 5, 0}, QStringLiteral("ACDJTK6B"), 1, 1, 1, 0);
    lw->setLayer(QStringLiteral("JMD"));
    lw->setLinetype(QStringLiteral("X5"));
    old->setLayer(QStringLiteral("dgx"));
    text->setColor(ColorByLayer);
    mtext->setColor(1);
    struct Case {
        const char* what;
        QVariantList pairs;
        std::vector<Entity*> expected;
    } cases[] = {
        {"POLYLINE is old-style 2D and 3D", {0, "POLYLINE"}, {old, p3}},
        {"*POLYLINE is all three", {0, "*POLYLINE"}, {lw, old, p3}},
        {"comma list of types", {0, "LWPOLYLINE,polyline"}, {lw, old, p3}},
        {"text is not mtext", {0, "text"}, {text}},
        {"layer without case", {8, "jmd,DGX"}, {lw, old}},
        {"own linetype, ByLayer never matches a name", {6, "X5"}, {lw}},
        {"explicit ByLayer colour only", {62, "256"}, {lw, old, p3, text, ref}},
        {"colour number", {62, "1"}, {mtext}},
        {"block name only for references", {2, "ACDJTK6B,ACDJTK8B"}, {ref}},
        {"all pairs must hold", {0, "*POLYLINE", 8, "dgx"}, {old}},
    };
    for (Case& c : cases) {
        SelectionSet& s = ScratchSelectionSet(d, QStringLiteral("text"));
        s.Select(SelectAll, {}, {}, BuildFilter(c.pairs));
        EXPECT_EQ(handlesOf(s.entities()), handlesOf(c.expected)) << c.what;
    }
    mtext->setColor(ColorByLayer); // ByLayer is 256 once set explicitly
    SelectionSet& s = ScratchSelectionSet(d, QStringLiteral("text"));
    s.Select(SelectAll, {}, {}, BuildFilter({62, "256"}));
    EXPECT_EQ(s.Count(), 6);
}

TEST(CadSelection, ModesTakeWhatTheyShould)
{
    Host h;
    Block& ms = h.ms();
    Entity* inside = ms.AddLine({1, 1, 0}, {2, 2, 0});
    Entity* crossing = ms.AddLine({5, 1, 0}, {15, 1, 0});
    Entity* outside = ms.AddLine({20, 20, 0}, {30, 30, 0});
    Entity* touching = ms.AddText(QStringLiteral("字"), {10, 3, 0}, 1); // box starts on the window's edge
    Entity* circle = ms.AddCircle({5, 5, 0}, 20);                       // encloses the window, never meets it
    const std::vector<double> triangle{0, 0, 0, 10, 0, 0, 0, 10, 0};
    struct Case {
        const char* what;
        std::function<void(SelectionSet&)> select;
        std::vector<Entity*> expected;
    } cases[] = {
        {"window", [](SelectionSet& s) { s.Select(SelectWindow, {0, 0, 0}, {10, 10, 0}); }, {inside}},
        {"crossing takes touching text", [](SelectionSet& s) { s.Select(SelectCrossing, {10, 10, 0}, {0, 0, 0}); },
         {inside, crossing, touching}},
        {"window polygon: wholly inside only",
         [&](SelectionSet& s) { s.SelectByPolygon(SelectWindowPolygon, triangle); }, {inside}},
        {"crossing polygon", [&](SelectionSet& s) { s.SelectByPolygon(SelectCrossingPolygon, triangle); },
         {inside, crossing}},
        {"fence", [](SelectionSet& s) { s.SelectByPolygon(SelectFence, {6, 0, 0, 6, 20, 0}); }, {crossing}},
        {"fence meets the circle", [](SelectionSet& s) { s.SelectByPolygon(SelectFence, {6, 0, 0, 6, 30, 0}); },
         {crossing, circle}},
        {"all in creation order", [](SelectionSet& s) { s.Select(SelectAll); },
         {inside, crossing, outside, touching, circle}},
    };
    for (Case& c : cases) {
        SelectionSet& s = ScratchSelectionSet(h.doc(), QStringLiteral("text"));
        c.select(s);
        EXPECT_EQ(handlesOf(s.entities()), handlesOf(c.expected)) << c.what;
    }
}

TEST(CadSelection, IndexFollowsChangedEntities)
{
    Host h;
    for (int i = 0; i < 500; ++i)
        h.ms().AddPoint({double(i), double(i), 0});
    Entity* mover = h.ms().AddLine({0, 100, 0}, {1, 100, 0});
    SelectionSet& s = h.doc().SelectionSets().Add(QStringLiteral("a"));
    s.Select(SelectWindow, {-1, 99, 0}, {2, 101, 0});
    EXPECT_EQ(s.Count(), 1); // builds the index
    mover->Move({0, 0, 0}, {1000, 0, 0});
    s.Clear();
    s.Select(SelectWindow, {-1, 99, 0}, {2, 101, 0});
    EXPECT_EQ(s.Count(), 0);
    s.Select(SelectCrossing, {999, 99, 0}, {1002, 101, 0});
    EXPECT_EQ(handlesOf(s.entities()), QStringList{mover->Handle()});
    h.ms().Item(3)->Delete();
    s.Clear();
    s.Select(SelectCrossing, {2.5, 2.5, 0}, {3.5, 3.5, 0});
    EXPECT_EQ(s.Count(), 0);
}

TEST(CadSelection, SetsByNameAndOnScreenPicks)
{
    Host h;
    SelectionSets& sets = h.doc().SelectionSets();
    sets.Add(QStringLiteral("Text"));
    EXPECT_EQ(errorOf([&] { sets.Add(QStringLiteral("text")); }), fail::Duplicate);
    EXPECT_EQ(errorOf([&] { sets.Item(QStringLiteral("text1")); }), fail::NotFound);
    Entity* a = h.ms().AddLine({0, 0, 0}, {1, 0, 0});
    Entity* b = h.ms().AddLine({0, 1, 0}, {1, 1, 0});
    Entity* hidden = h.ms().AddLine({0, 2, 0}, {1, 2, 0});
    hidden->setVisible(false);
    SelectionSet& s = sets.Item(QStringLiteral("TEXT"));
    h.answerSelect({b->Handle(), hidden->Handle(), a->Handle()});
    s.SelectOnScreen();
    EXPECT_EQ(handlesOf(s.entities()), (QStringList{b->Handle(), a->Handle()})); // pick order, hidden not taken
    h.answer(QStringLiteral("esc"));
    SelectionSet& other = sets.Add(QStringLiteral("t2"));
    other.SelectOnScreen();
    EXPECT_EQ(other.Count(), 0);
    // CreateSelectionSet returns an existing set emptied
    SelectionSet* again = CreateSelectionSet(h.home.context, QStringLiteral("text"));
    ASSERT_EQ(again, &s);
    EXPECT_EQ(s.Count(), 0);
    s.Delete();
    EXPECT_EQ(sets.find(QStringLiteral("text")), nullptr);
}

TEST(CadUtility, AnswersEscEnterAndEmptyPicks)
{
    Host h;
    Utility& u = h.doc().Utility();
    Entity* line = h.ms().AddLine({0, 0, 0}, {1, 0, 0});
    struct Case {
        const char* what;
        std::function<void()> queue;
        std::function<QString()> ask;
        QString result;
        int failure;
    } cases[] = {
        {"point", [&] { h.answerPoint(3, 4); },
         [&] { Point p = u.GetPoint(QStringLiteral("点:")); return QStringLiteral("%1,%2").arg(p.x).arg(p.y); },
         "3,4", 0},
        {"point, Esc", [&] { h.answer("esc"); }, [&] { u.GetPoint(); return QString(); }, {}, fail::Cancelled},
        {"point, Enter", [&] { h.answer("enter"); }, [&] { u.GetPoint(); return QString(); }, {}, fail::NullInput},
        {"entity", [&] { h.answerEntity(line->Handle(), 0.5, 0); },
         [&] { Point p; return u.GetEntity(p)->Handle(); }, line->Handle(), 0},
        {"entity, empty pick", [&] { h.answerEntity(QString()); },
         [&] { Point p; u.GetEntity(p); return QString(); }, {}, fail::Cancelled},
        {"string without blanks ends at the first blank", [&] { h.answer("string", "141 111"); },
         [&] { return u.GetString(false); }, "141", 0},
        {"string with blanks", [&] { h.answer("string", "141 111"); }, [&] { return u.GetString(true); },
         "141 111", 0},
        {"string, Enter", [&] { h.answer("enter"); }, [&] { return u.GetString(false); }, "", 0},
        {"real, Enter", [&] { h.answer("enter"); }, [&] { return QString::number(u.GetReal()); }, {},
         fail::NullInput},
        {"real", [&] { h.answer("real", "2.5"); }, [&] { return QString::number(u.GetReal()); }, "2.5", 0},
        {"integer, Esc", [&] { h.answer("esc"); }, [&] { return QString::number(u.GetInteger()); }, {},
         fail::Cancelled},
        {"keyword by its capitals", [&] { u.InitializeUserInput(1, "Yes No tHrough"); h.answer("keyword", "h"); },
         [&] { return u.GetKeyword(); }, "tHrough", 0},
        {"keyword refused, asked again", [&] { u.InitializeUserInput(0, "Y N"); h.answer("keyword", "x"); h.answer("keyword", "n"); },
         [&] { return u.GetKeyword(); }, "N", 0},
        {"default through askReal", [&] { h.answer("enter"); },
         [&] { return QString::number(askReal(u, "d<5>:", 5)); }, "5", 0},
    };
    for (Case& c : cases) {
        c.queue();
        QString got;
        const int f = errorOf([&] { got = c.ask(); });
        EXPECT_EQ(f, c.failure) << c.what;
        if (!c.failure) {
            EXPECT_EQ(got, c.result) << c.what;
        }
        EXPECT_TRUE(h.home.answers.empty()) << c.what;
    }
    u.Prompt(QStringLiteral("\r\n共处理 3 条"));
    EXPECT_TRUE(h.app.transcript().endsWith(QStringLiteral("\r\n共处理 3 条")));
    EXPECT_NEAR(u.AngleFromXAxis({0, 0, 0}, {0, -1, 0}), 3 * M_PI / 2, 1e-12);
    const Point p = u.PolarPoint({1, 1, 0}, M_PI / 2, 2);
    EXPECT_NEAR(p.x, 1, 1e-12);
    EXPECT_NEAR(p.y, 3, 1e-12);
}

TEST(CadCommandLine, JournalInterpreterAndLastEntity)
{
    Host h;
    Entity* pl = h.ms().AddLightWeightPolyline({0, 0, 10, 0});
    Entity* seen = nullptr;
    Point pick, through;
    h.app.registerCommand(QStringLiteral("OFFSET"), [&](CommandInput& in) {
        EXPECT_EQ(in.nextText(), QStringLiteral("tHrough"));
        seen = in.nextEntity(&pick);
        through = in.nextPoint();
        Entity* c = seen->Copy();
        c->Move({0, 0, 0}, {0, through.y, 0});
    });
    const QString script = scriptText({QStringLiteral("_offset"), QStringLiteral("tHrough"),
                                       GetDoubleEntTable(*pl, {5, -0.5, 0}), QStringLiteral("5,2"), QString()})
        + QStringLiteral("_nosuch\r");
    h.doc().SendCommand(script);
    EXPECT_EQ(h.app.journal(), script);
    EXPECT_EQ(seen, pl);
    EXPECT_DOUBLE_EQ(pick.y, -0.5);
    EXPECT_EQ(h.ms().Count(), 2);
    EXPECT_EQ(LastModelSpaceEntity(h.doc())->Coordinates(), (std::vector<double>{0, 2, 10, 2}));
    EXPECT_TRUE(h.app.transcript().contains(QStringLiteral("NOSUCH")));
    EXPECT_EQ(entityFromExpression(h.doc(), axEnt2lspEnt(*pl)), pl);
}

TEST(CadRoutines, CommandLineTexts)
{
    Host h;
    Entity* e = h.ms().AddLine({0, 0, 0}, {1, 0, 0});
    h.doc().assignHandle(e, 0x2F3);
    EXPECT_EQ(axEnt2lspEnt(*e), QStringLiteral("(handent \"2F3\")"));
    EXPECT_EQ(GetDoubleEntTable(*e, {100.5, -20, 0}), QStringLiteral("(list(handent \"2F3\")(list  100.5 -20 0))"));
    EXPECT_EQ(GetDoubleEntTable(*e, {0.5, -0.25, 3}), QStringLiteral("(list(handent \"2F3\")(list  .5 -.25 3))"));
    EXPECT_EQ(axPoint2lspPoint(Point{2551200.125, 534500, 0}), QStringLiteral("2551200.125,534500,0"));
    EXPECT_EQ(axPoint2lspPoint(Point{512.25, 301.5, -1e-5}), QStringLiteral("512.25,301.5,-1E-05"));
    EXPECT_EQ(errorOf([] { axPoint2lspPoint(std::vector<double>{1, 2}); }), err::TypeMismatch);
    EXPECT_EQ(CommandLinePrompt(QStringLiteral("是否注记面积值？[Y/N]"), QStringLiteral("N")),
              QStringLiteral("是否注记面积值？[Y/N]<N>:"));
}

TEST(CadRoutines, BuildFilterAndScale)
{
    Host h;
    SelectionFilter f;
    BuildFilter(f, {0, QStringLiteral("*POLYLINE")});
    EXPECT_EQ(f.types, std::vector<int>{0});
    EXPECT_EQ(f.values.at(0).toString(), QStringLiteral("*POLYLINE"));
    EXPECT_EQ(errorOf([&] { BuildFilter(f, {0}); }), err::SubscriptOutOfRange);
    struct Case {
        double userr1;
        double k;
    } cases[] = {{0, 1}, {1000, 2}, {500, 1}, {2000, 4}};
    for (const Case& c : cases) {
        h.doc().SetVariable(QStringLiteral("userr1"), c.userr1);
        EXPECT_DOUBLE_EQ(DrawingScaleFactor(h.doc()), c.k) << c.userr1;
    }
    h.doc().SetVariable(QStringLiteral("USERR1"), 0);
    EXPECT_DOUBLE_EQ(DrawingScaleFactor(h.doc(), false), 0);
    EXPECT_EQ(errorOf([&] { h.doc().GetVariable(QStringLiteral("nosuchvar")); }), fail::Failed);
    EXPECT_EQ(errorOf([&] { h.doc().SetVariable(QStringLiteral("CLAYER"), QStringLiteral("nolayer")); }), fail::Failed);
}

TEST(CadRoutines, DrawingHelpers)
{
    Host h;
    addbox(h.home.context, {10, 20, 5}, 3.5f, 2);
    Entity* box = LastModelSpaceEntity(h.doc());
    EXPECT_EQ(box->ObjectName(), QStringLiteral("AcDb2dPolyline"));
    EXPECT_TRUE(box->Closed());
    EXPECT_EQ(box->Coordinates(), (std::vector<double>{10, 20, 5, 13.5, 20, 0, 13.5, 18, 0, 10, 18, 0}));
    AddLocatorLine(h.doc(), 7, 9);
    EXPECT_EQ(LastModelSpaceEntity(h.doc())->Coordinates(), (std::vector<double>{7, 0, 0, 7, 9, 0}));
    // regions from picked polylines: the open one is passed over
    Entity* open = h.ms().AddLightWeightPolyline({0, 0, 1, 0, 1, 1});
    h.answerSelect({box->Handle(), open->Handle()});
    AddRegFromPLline(h.home.context);
    EXPECT_EQ(LastModelSpaceEntity(h.doc())->ObjectName(), QStringLiteral("AcDbRegion"));
    EXPECT_DOUBLE_EQ(LastModelSpaceEntity(h.doc())->Area(), 7);
    EXPECT_EQ(h.ms().Count(), 4);
}

TEST(CadConnect, StoppedHostShowsOneMessageAndDrawsNothing)
{
    Host h;
    h.app.setRunning(false);
    EXPECT_EQ(ConnectToAutoCAD(h.home.context), nullptr);
    const QJsonArray boxes = h.home.ui.messages();
    ASSERT_EQ(boxes.size(), 1);
    const QJsonObject m = boxes.at(0).toObject();
    EXPECT_EQ(m.value("text").toString(), QStringLiteral("AutoCAD 没有运行或版本不符合！"));
    EXPECT_EQ(m.value("title").toString(), QStringLiteral("本功能需先启动AutoCAD系统"));
    EXPECT_EQ(m.value("icon").toString(), QStringLiteral("critical"));
    EXPECT_EQ(errorOf([&] { addbox(h.home.context, {0, 0, 0}, 1, 1); }), err::NoServer);
    EXPECT_EQ(h.ms().Count(), 0);
    // no host wired at all behaves the same
    h.home.context.setCad(nullptr);
    EXPECT_EQ(ConnectToAutoCAD(h.home.context, kFullForward, ConnectFailure::Silent), nullptr);
    EXPECT_EQ(h.home.ui.messages().size(), 1);
}

TEST(CadConnect, RunningHostIsBroughtForward)
{
    Host h;
    h.app.setWindowState(2);
    h.app.setVisible(false);
    h.app.clearRecords();
    Application* app = ConnectToAutoCAD(h.home.context);
    ASSERT_EQ(app, &h.app);
    EXPECT_TRUE(app->Visible());
    EXPECT_EQ(app->WindowState(), 3);
    EXPECT_EQ(app->events(), (QStringList{QStringLiteral("Visible 1"), QStringLiteral("Activate ") + app->Caption(),
                                          QStringLiteral("WindowState 3")}));
    EXPECT_TRUE(h.home.ui.messages().isEmpty());
}

TEST(CadMenus, PopupMenuOnTheMenuBar)
{
    Host h;
    const int before = h.app.MenuBarCount();
    PopupMenu& m = h.app.MenuGroupsItem(0).MenusAdd(QStringLiteral("集成功能"));
    m.AddMenuItem(m.Count() + 1, QStringLiteral("&T图像透明度"), QStringLiteral("\x1b\x1b_transparency "))
        .HelpString = QStringLiteral("用来控制图像的透明/Kelvor");
    m.AddMenuItem(m.Count() + 1, QStringLiteral("&K图像框架"), QStringLiteral("\x1b\x1b_imageframe "));
    m.AddSeparator(-1);
    m.InsertInMenuBar(h.app.MenuBarCount() + 1);
    EXPECT_EQ(h.app.MenuBarCount(), before + 1);
    EXPECT_EQ(h.app.MenuBarItem(before), &m);
    ASSERT_EQ(m.Count(), 3);
    EXPECT_EQ(m.items()[0].HelpString, QStringLiteral("用来控制图像的透明/Kelvor"));
    EXPECT_TRUE(m.items()[2].separator);
}

// The flat handle table against a node map, through runs of sequential file
// handles, handles that share a home slot, erasures inside runs and regrowth.
TEST(HandleTable, AgreesWithAMapThroughInsertsErasuresAndGrowth)
{
    HandleMap table;
    std::unordered_map<quint64, Entity*> model;
    auto entity = [](quint64 h) { return reinterpret_cast<Entity*>(h * 16); };
    unsigned seed = 7;
    auto rnd = [&](unsigned n) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 8) % n;
    };
    for (int round = 0; round < 20000; ++round) {
        const quint64 h = round % 3 == 0 ? quint64(round / 3 + 1) // a file's handles, in order
                        : round % 3 == 1 ? quint64(rnd(600) + 1)  // a small crowded range
                                         : (quint64(rnd(40)) << 40) + 1; // high bits only
        if (rnd(3) == 0) {
            table.erase(h);
            model.erase(h);
        } else {
            table.set(h, entity(h));
            model[h] = entity(h);
        }
        if (round % 997 == 0)
            table.reserve(model.size() * 2);
    }
    EXPECT_EQ(table.size(), model.size());
    for (const auto& [h, e] : model)
        EXPECT_EQ(table.find(h), e) << h;
    size_t seen = 0;
    table.forEach([&](quint64 h, Entity* e) {
        ++seen;
        EXPECT_EQ(model.count(h) ? model.at(h) : nullptr, e) << h;
    });
    EXPECT_EQ(seen, model.size());
    for (quint64 h = 1; h < 8000; ++h)
        EXPECT_EQ(table.find(h), model.count(h) ? model.at(h) : nullptr) << h;
    EXPECT_EQ(table.find(0), nullptr);
}
