// Building outlines: short outlines, structure texts, the closure walk and
// the edge-length notes with their side file.
#include "cass/building_checks.h"
#include "cass_drawing.h"
#include "cad_host.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonObject>
#include <cmath>
#include <gtest/gtest.h>

using namespace kelvor;
using namespace kelvor::cad;
using test::codeOf;
using test::u;

namespace {

// A host whose drawing has what building drawings have: the linetype
// record spelled "CONTINUOUS", the layers JMD, laf and lap and the linetype X5.
struct BuildingHost : test::CadHost {
    explicit BuildingHost(bool withLap = true)
    {
        doc().Linetypes().Item(QStringLiteral("Continuous")).Name = QStringLiteral("CONTINUOUS");
        test::addLayers(doc(), {"JMD", "laf"});
        if (withLap)
            test::addLayers(doc(), {"lap"});
        test::addLinetypes(doc(), {"X5"});
    }
    // An outline on JMD with its own linetype CONTINUOUS.
    Entity* outline(const std::vector<double>& xy, const char* code, bool lightweight = true, bool closed = false)
    {
        Entity* e = lightweight ? test::lwPoly(ms(), xy, closed) : test::oldPoly(ms(), xy, closed);
        e->setLayer(QStringLiteral("JMD"));
        e->setLinetype(QStringLiteral("continuous"));
        if (code)
            test::coded(e, QString::fromUtf8(code));
        return e;
    }
    std::vector<double> square(double x, double y, double side = 10)
    {
        return {x, y, x + side, y, x + side, y + side, x, y + side};
    }
    void select(const std::vector<Entity*>& es)
    {
        QStringList handles;
        for (const Entity* e : es)
            handles << e->Handle();
        answerSelect(handles);
    }
};

struct Look {
    int color;
    double width;
    QString linetype;
};
Look look(const Entity& e)
{
    return {e.Color(), e.kind() == EntityKind::Polyline3d ? -1 : e.ConstantWidth(), e.Linetype()};
}

} // namespace

TEST(BuildingRules, ShortOutlinesStructuresAndClosureAnswers)
{
    const struct {
        int count;
        const char* linetype;
        const char* code;
        bool marked;
    } shortCases[] = {
        {6, "CONTINUOUS", "141111", true},  {4, "CONTINUOUS", "141500", true},   {8, "CONTINUOUS", "141111", false},
        {6, "Continuous", "141111", false}, {6, "ByLayer", "141111", false},      {6, "CONTINUOUS", "141161", false},
        {6, "CONTINUOUS", "141400", false}, {6, "CONTINUOUS", "141200-1", false}, {6, "CONTINUOUS", "141200", true},
    };
    for (const auto& c : shortCases)
        EXPECT_EQ(cass::isShortOutline(c.count, QString::fromLatin1(c.linetype), QString::fromLatin1(c.code)), c.marked)
            << c.count << ' ' << c.linetype << ' ' << c.code;

    const struct {
        std::optional<QString> code;
        const char* structure; // "" for none
    } structures[] = {
        {"141111", "砼"}, {"141121", "砖"}, {"141161", "混"}, {"141300", "建"}, {"141400", "破"},
        {" 141121 ", "砖"}, {"141121.0", "砖"}, {"141200", ""}, {"141500", ""}, {"141121-1", ""}, {std::nullopt, ""},
    };
    for (const auto& c : structures)
        EXPECT_EQ(cass::expectedStructure(c.code).value_or(QString()), u(c.structure))
            << c.code.value_or("<none>").toStdString();

    const struct {
        QStringList texts;
        bool mismatch;
    } mismatches[] = {
        {{u("砖"), "3"}, false}, {{u("砖3")}, true}, {{}, false}, {{u(" 砖")}, true}, {{"3", u("砖")}, false},
    };
    for (const auto& c : mismatches)
        EXPECT_EQ(cass::structureMismatch(u("砖"), c.texts), c.mismatch) << c.texts.join('|').toStdString();

    using A = cass::ClosureAction;
    const struct {
        std::optional<QString> answer;
        A action;
    } answers[] = {
        {"", A::Mark},      {"N", A::Mark},         {"n", A::Mark},       {"O", A::Stop},     {"x", A::Stop},
        {"X", A::Stop},     {std::nullopt, A::Stop}, {"C", A::Close},     {"d", A::Delete},   {"F", A::MoveToLap},
        {"p", A::SimpleHouse}, {"Y", A::Balcony},   {"NN", A::None},      {"q", A::None},
    };
    for (const auto& c : answers)
        EXPECT_EQ(cass::closureAction(c.answer), c.action) << c.answer.value_or("<esc>").toStdString();
    EXPECT_TRUE(cass::deletionConfirmed(QString()));
    for (const std::optional<QString>& keep : {std::optional<QString>("x"), std::optional<QString>(),
                                               std::optional<QString>("q"), std::optional<QString>("O")})
        EXPECT_FALSE(cass::deletionConfirmed(keep)) << keep.value_or("<esc>").toStdString();
}

TEST(BuildingChecks, ShortOutlinesTurnRedAndWide)
{
    BuildingHost h;
    Entity* lw3 = h.outline({0, 0, 5, 0, 5, 5}, "141111");
    Entity* old2 = h.outline({0, 10, 5, 10}, "141111", false);
    Entity* lw4 = h.outline(h.square(20, 0), "141111");
    Entity* old3 = h.outline({0, 20, 5, 20, 5, 25}, "141111", false);
    Entity* byLayer = h.outline({0, 30, 5, 30, 5, 35}, "141111");
    byLayer->setLinetype(QStringLiteral("ByLayer"));
    Entity* mixed = h.outline({0, 40, 5, 40, 5, 45}, "141161");
    Entity* suffixed = h.outline({0, 50, 5, 50, 5, 55}, "141200-1");
    Entity* bare = h.outline({0, 60, 5, 60, 5, 65}, nullptr);
    Entity* poly3d = h.ms().Add3DPoly({0, 70, 0, 5, 70, 1});
    poly3d->setLayer(QStringLiteral("JMD"));
    poly3d->setLinetype(QStringLiteral("CONTINUOUS"));
    test::coded(poly3d, QStringLiteral("141111"));
    const std::vector<Entity*> all{lw3, old2, lw4, old3, byLayer, mixed, suffixed, bare, poly3d};

    const struct {
        const char* name;
        Entity* e;
        int color;
        double width;
    } cases[] = {
        {"3-vertex lightweight", lw3, 1, 1}, {"2-vertex old-style", old2, 1, 1},
        {"4-vertex lightweight", lw4, ColorByLayer, 0}, {"3-vertex old-style", old3, ColorByLayer, 0},
        {"ByLayer linetype", byLayer, ColorByLayer, 0}, {"code 141161", mixed, ColorByLayer, 0},
        {"code 141200-1", suffixed, ColorByLayer, 0},   {"no data", bare, ColorByLayer, 0},
        {"3D polyline", poly3d, 1, -1},
    };
    for (int run = 1; run <= 2; ++run) {
        h.app.clearRecords();
        h.select(all);
        cass::changejmd3d_Click(h.home.context);
        for (const auto& c : cases) {
            EXPECT_EQ(look(*c.e).color, c.color) << c.name << " run " << run;
            EXPECT_EQ(look(*c.e).width, c.width) << c.name << " run " << run;
        }
        EXPECT_TRUE(h.app.transcript().endsWith(u("已完成!红色的为检查小于3个点的房边线"))) << run;
    }
}

TEST(BuildingChecks, StructureTextsMustShowTheCodesCharacter)
{
    BuildingHost h;
    Block& ms = h.ms();
    auto text = [&](const char* s, double x, double y) { ms.AddText(u(s), {x, y, 0}, 1); };
    Entity* both = h.outline(h.square(0, 0), "141121", true, true);
    text("砖", 2, 2);
    text("3", 5, 5);
    Entity* joined = h.outline(h.square(20, 0), "141121", true, true);
    text("砖3", 22, 2);
    Entity* empty = h.outline(h.square(40, 0), "141121", true, true);
    Entity* straddling = h.outline(h.square(60, 0), "141121", true, true);
    text("砖", 69.5, 5);
    Entity* triangle = h.outline({80, 0, 100, 0, 90, 10}, "141121", true, true);
    text("砖3", 88, 2);
    Entity* simple = h.outline(h.square(120, 0), "141200-1", true, true);
    text("砖3", 122, 2);
    Entity* heavy = h.outline({140, 0, 150, 0, 150, 10}, "141111", false, true); // three vertices: examined
    text("砖", 147, 1);

    h.select({both, joined, empty, straddling, triangle, simple, heavy});
    cass::checkjmdfang_Click(h.home.context);
    const struct {
        const char* name;
        Entity* e;
        bool marked;
    } cases[] = {{"character and floor apart", both, false}, {"character with floor", joined, true},
                 {"no text", empty, false},                   {"text half outside", straddling, false},
                 {"three vertices", triangle, false},         {"code with suffix", simple, false},
                 {"old-style, wrong character", heavy, true}};
    for (const auto& c : cases) {
        EXPECT_EQ(c.e->Color() == 1, c.marked) << c.name;
        EXPECT_EQ(c.e->ConstantWidth(), c.marked ? 0.2 : 0) << c.name;
    }
    EXPECT_TRUE(h.app.transcript().endsWith(u("共找到 2个不相符的房屋(红色)!")));

    h.app.clearRecords();
    h.answerSelect({});
    cass::checkjmdfang_Click(h.home.context);
    EXPECT_TRUE(h.app.transcript().endsWith(u("共找到 0个不相符的房屋(红色)!")));
}

TEST(BuildingClosure, WalksTheOpenOutlines)
{
    BuildingHost h;
    Entity* closed = h.outline(h.square(0, 0), "141111", true, true);
    Entity* o1 = h.outline({50, 80, 60, 80, 60, 90}, "141121");
    Entity* o2 = h.outline({100, 0, 110, 0, 110, 10}, "141121");
    Entity* o3 = h.outline({200, 0, 210, 0, 210, 10}, "141121");
    Entity* o4 = h.outline({300, 0, 310, 0, 310, 10}, "141121");
    const int before = h.ms().Count();
    h.select({closed, o1, o2, o3, o4});
    h.answer(QStringLiteral("string"), QString());
    h.answer(QStringLiteral("string"), QStringLiteral("C"));
    h.answer(QStringLiteral("string"), QStringLiteral("O"));
    cass::jmdclosecheck_Click(h.home.context);

    EXPECT_EQ(closed->Color(), 7);
    EXPECT_EQ(o1->Color(), 1);
    EXPECT_EQ(o1->ConstantWidth(), 0.3);
    EXPECT_EQ(o1->Linetype(), QStringLiteral("X5"));
    ASSERT_EQ(h.ms().Count(), before + 1);
    const Entity* locator = h.ms().Item(before);
    EXPECT_EQ(locator->kind(), EntityKind::Polyline2d);
    EXPECT_EQ(locator->Coordinates(), (std::vector<double>{50, 0, 0, 50, 80, 0}));
    EXPECT_TRUE(h.app.events().contains(QStringLiteral("ZoomWindow 30,60 70,100")));
    EXPECT_TRUE(o2->Closed());
    EXPECT_EQ(o2->ConstantWidth(), 0);
    EXPECT_EQ(o2->Linetype(), QStringLiteral("CONTINUOUS"));
    EXPECT_EQ(o2->Color(), 1);
    EXPECT_EQ(o3->Color(), 1);
    EXPECT_EQ(o3->ConstantWidth(), 0.3);
    EXPECT_EQ(o3->Linetype(), QStringLiteral("X5"));
    EXPECT_EQ(o4->Color(), ColorByLayer);
    EXPECT_EQ(o4->Linetype(), QStringLiteral("CONTINUOUS"));
    const QString t = h.app.transcript();
    EXPECT_TRUE(t.startsWith(u("处理中...正在处理第1个"))) << t.toStdString();
    EXPECT_TRUE(t.contains(u("正在处理第2个")));
    EXPECT_TRUE(t.contains(u("正在处理第3个")));
    EXPECT_FALSE(t.contains(u("正在处理第4个")));
    EXPECT_TRUE(t.endsWith(u("已完成，共处理3个")));
}

TEST(BuildingClosure, EachAnswerOnOneOpenOutline)
{
    const struct {
        const char* name;
        QStringList answers; // "<esc>" for Esc
        bool lap;            // the drawing has the layer lap
        bool erased;
        bool visible;
        QString linetype;
        double width;
        QString layer;
        QString code;
        bool closed;
    } cases[] = {
        {"D, Enter", {"D", ""}, true, true, false, "", 0, "", "", false},
        {"D, x", {"D", "x"}, true, false, true, "CONTINUOUS", 0.3, "JMD", "141121", false},
        {"D, Esc", {"D", "<esc>"}, true, false, true, "CONTINUOUS", 0.3, "JMD", "141121", false},
        {"D, q", {"d", "q"}, true, false, true, "CONTINUOUS", 0.3, "JMD", "141121", false},
        {"F", {"F"}, true, false, true, "CONTINUOUS", 0, "lap", "141121", false},
        {"F without lap", {"f"}, false, false, true, "CONTINUOUS", 0, "JMD", "141121", false},
        {"P", {"P"}, true, false, true, "CONTINUOUS", 0, "JMD", "141200-1", false},
        {"Y", {"y"}, true, false, true, "X5", 0, "JMD", "140001", false},
        {"NN", {"NN"}, true, false, true, "X5", 0.3, "JMD", "141121", false},
        {"C", {"c"}, true, false, true, "CONTINUOUS", 0, "JMD", "141121", true},
        {"Esc", {"<esc>"}, true, false, true, "X5", 0.3, "JMD", "141121", false},
    };
    for (const auto& c : cases) {
        BuildingHost h(c.lap);
        Entity* o = h.outline({0, 0, 10, 0, 10, 10}, "141121");
        Entity* suffixed = h.outline({20, 0, 30, 0, 30, 10}, "141200-1");
        Entity* bare = h.outline({40, 0, 50, 0, 50, 10}, nullptr);
        h.select({suffixed, o, bare});
        for (const QString& a : c.answers) {
            if (a == QLatin1String("<esc>"))
                h.answer(QStringLiteral("esc"));
            else
                h.answer(QStringLiteral("string"), a);
        }
        cass::jmdclosecheck_Click(h.home.context);
        EXPECT_TRUE(h.home.answers.empty()) << c.name;
        EXPECT_EQ(o->isErased(), c.erased) << c.name;
        EXPECT_EQ(suffixed->Color(), ColorByLayer) << c.name;
        EXPECT_EQ(bare->Color(), ColorByLayer) << c.name;
        EXPECT_TRUE(h.app.transcript().endsWith(u("已完成，共处理1个"))) << c.name;
        if (c.erased)
            continue;
        EXPECT_EQ(o->Visible(), c.visible) << c.name;
        EXPECT_EQ(o->Color(), 1) << c.name;
        EXPECT_EQ(o->Linetype(), c.linetype) << c.name;
        EXPECT_EQ(o->ConstantWidth(), c.width) << c.name;
        EXPECT_EQ(o->Layer(), c.layer) << c.name;
        EXPECT_EQ(codeOf(*o), c.code) << c.name;
        EXPECT_EQ(o->Closed(), c.closed) << c.name;
    }
}

TEST(EdgeNotes, RectangleGetsFourNotesAndTwelveFileLines)
{
    BuildingHost h;
    h.doc().SetVariable(QStringLiteral("userr1"), 500.0);
    h.outline({0, 0, 10, 0, 10, 5, 0, 5}, nullptr, true, true);
    Entity* byLayer = h.outline({0, 20, 10, 20, 10, 25}, nullptr);
    byLayer->setLinetype(QStringLiteral("ByLayer"));
    h.outline({0, 40, 10, 40, 10, 45}, nullptr, false); // old-style
    const int before = h.ms().Count();
    cass::setjmdlenght_Click(h.home.context);

    const struct {
        const char* text;
        Point at;
        double rotation;
        int alignment;
    } notes[] = {{"10.00", {5, 0, 0}, 0, AlignBottomCenter},
                 {"5.00", {10, 2.5, 0}, M_PI / 2, AlignBottomCenter},
                 {"10.00", {5, 5, 0}, M_PI, AlignBottomCenter},
                 {"5.00", {0, 2.5, 0}, M_PI / 2, AlignLeft}};
    ASSERT_EQ(h.ms().Count(), before + 4);
    for (int i = 0; i < 4; ++i) {
        const Entity* t = h.ms().Item(before + i);
        const auto& n = notes[i];
        EXPECT_EQ(t->TextString(), QString::fromLatin1(n.text)) << i;
        EXPECT_EQ(t->Alignment(), n.alignment) << i;
        const Point at = n.alignment == AlignLeft ? t->InsertionPoint() : t->TextAlignmentPoint();
        EXPECT_EQ(at, n.at) << i;
        EXPECT_NEAR(t->Rotation(), n.rotation, 1e-12) << i;
        EXPECT_EQ(t->Height(), 1) << i;
    }
    const QStringList lines{" 0 ", " 0 ", " 10 ", " 0 ", " 10 ", " 0 ", " 10 ", " 5 ", " 10 ", " 5 ", " 0 ", " 5 "};
    EXPECT_EQ(test::readBytes(h.home.path(QStringLiteral("d:\\1.txt"))), test::gbkLines(lines));
}

TEST(EdgeNotes, HeightFollowsTheScaleAndShortEdgesGetNone)
{
    BuildingHost h;
    h.doc().SetVariable(QStringLiteral("userr1"), 1000.0);
    // edges 0.504 (no note) and 0.506 (a note); the closing edge 0.71
    h.outline({0, 0, 0.504, 0, 0.504, 0.506}, nullptr);
    const int before = h.ms().Count();
    cass::setjmdlenght_Click(h.home.context);
    QStringList texts;
    for (int i = before; i < h.ms().Count(); ++i) {
        texts << h.ms().Item(i)->TextString();
        EXPECT_EQ(h.ms().Item(i)->Height(), 2) << i;
    }
    EXPECT_EQ(texts, (QStringList{"0.51", "0.71"}));
    EXPECT_EQ(test::linesOf(test::readBytes(h.home.path(QStringLiteral("d:\\1.txt")))).size(), 8);
}

TEST(EdgeNotes, OpenPolylineGetsItsClosingNoteAndNoOutlineLeavesAnEmptyFile)
{
    BuildingHost h;
    h.outline({0, 0, 10, 0, 10, 10}, nullptr);
    const int before = h.ms().Count();
    cass::setjmdlenght_Click(h.home.context);
    EXPECT_EQ(h.ms().Count(), before + 3);

    BuildingHost none;
    test::writeGbkLines(none.home.path(QStringLiteral("d:\\1.txt")), {"old"});
    cass::setjmdlenght_Click(none.home.context);
    EXPECT_TRUE(QFile::exists(none.home.path(QStringLiteral("d:\\1.txt"))));
    EXPECT_TRUE(test::readBytes(none.home.path(QStringLiteral("d:\\1.txt"))).isEmpty());
    EXPECT_EQ(none.ms().Count(), 0);
}

TEST(EdgeNotes, AnUnwritableSideFileLosesOnlyItsLines)
{
    BuildingHost h;
    const QString side = h.home.path(QStringLiteral("d:\\1.txt"));
    ASSERT_TRUE(QDir().mkpath(side)); // a folder in the file's place
    h.outline({0, 0, 10, 0, 10, 5, 0, 5}, nullptr, true, true);
    cass::setjmdlenght_Click(h.home.context);
    EXPECT_EQ(h.ms().Count(), 5);
    EXPECT_TRUE(QFileInfo(side).isDir());
    EXPECT_TRUE(h.home.ui.messages().isEmpty());
}

TEST(BuildingChecks, StoppedHostShowsTheStandardMessageOnce)
{
    for (void (*run)(Context&) : {cass::setjmdlenght_Click, cass::changejmd3d_Click, cass::checkjmdfang_Click,
                                  cass::jmdclosecheck_Click}) {
        BuildingHost h;
        h.outline({0, 0, 5, 0, 5, 5}, "141111");
        h.app.setRunning(false);
        run(h.home.context);
        ASSERT_EQ(h.home.ui.messages().size(), 1);
        EXPECT_EQ(test::lastMessage(h.home).value(QStringLiteral("text")).toString(), u("AutoCAD 没有运行或版本不符合！"));
        EXPECT_EQ(h.ms().Item(0)->Color(), ColorByLayer);
        EXPECT_FALSE(QFile::exists(h.home.path(QStringLiteral("d:\\1.txt"))));
    }
}
