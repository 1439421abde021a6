// Boundary points from a picked polyline: names, sides, watch.txt, labels,
// lists and the zoom to a listed point.
#include "cad_host.h"
#include "coords/point_scripts.h"
#include "landuse/boundary_points.h"
#include "platform/paths.h"
#include "test_support.h"

#include <gtest/gtest.h>

using namespace kelvor;
using namespace kelvor::cad;
using namespace kelvor::landuse;
using test::u;

namespace {

const std::vector<double> kSquare{300, 500.25, 300, 510.25, 310, 510.25, 310, 500.25};

QByteArray watchBytes()
{
    return test::readBytes(paths::scratch(QStringLiteral("watch.txt")));
}

std::vector<Entity*> textsOf(Document& doc)
{
    std::vector<Entity*> out;
    for (Entity* e : doc.ModelSpace().entities())
        if (e->kind() == EntityKind::Text)
            out.push_back(e);
    return out;
}

struct PickHost : test::CadHost {
    Entity* line = nullptr;
    explicit PickHost(const std::vector<double>& xy = kSquare, bool closed = true)
    {
        line = ms().AddLightWeightPolyline(xy);
        line->setClosed(closed);
    }
    PickedLists pick(const BoundaryPointSettings& s, QStringList handles = {})
    {
        if (handles.isEmpty())
            handles = {line->Handle()};
        answerSelect(handles);
        return Command1_Click(context, s);
    }
};

} // namespace

TEST(BoundaryPointNames, DigitsPrefixStartAndStep)
{
    const struct {
        const char* name;
        const char* digits;
        const char* prefix;
        const char* start;
        bool alternate;
        QStringList names;
    } cases[] = {
        {"defaults", "4", "", "1", false, {"0001", "0002", "0003"}},
        {"every other", "4", "", "1", true, {"0001", "0003", "0005"}},
        {"prefix trimmed, two digits", "2", " J ", "1", true, {"J01", "J03", "J05"}},
        {"never cut", "2", "J", "123", false, {"J123", "J124", "J125"}},
        {"one digit grows", "1", "", "9", false, {"9", "10", "11"}},
        {"digits 0", "0", "", "1", false, {"0001", "0002", "0003"}},
        {"digits 5", "5", "", "1", false, {"0001", "0002", "0003"}},
        {"digits empty", "", "", "1", false, {"0001", "0002", "0003"}},
        {"digits 4.0", "3.0", "", "1", false, {"001", "002", "003"}},
        {"half away from zero", "2", "", "2.5", false, {"03", "04", "05"}},
        {"negative keeps its sign", "3", "", "-2", false, {"-002", "-001", "000"}},
    };
    const std::vector<Pt2> v{{0, 0}, {1, 0}, {2, 0}};
    for (const auto& c : cases) {
        BoundaryPointSettings s;
        s.digits = QString::fromLatin1(c.digits);
        s.prefix = QString::fromLatin1(c.prefix);
        s.start = QString::fromLatin1(c.start);
        s.alternate = c.alternate;
        QStringList names;
        for (const BoundaryPoint& p : boundaryPoints(v, s))
            names << p.name;
        EXPECT_EQ(names, c.names) << c.name;
    }
}

TEST(BoundaryPointLines, CoordinatesSidesAndListEntries)
{
    const struct {
        const char* name;
        std::vector<Pt2> v;
        bool withSide;
        QStringList lines;
    } cases[] = {
        {"below 1 loses its zero", {{0.5, -0.25}}, true, {"0001,-.2500,.5000,***"}},
        {"no fourth field", {{300, 500.25}, {300, 510.25}}, false, {"0001,500.2500,300.0000", "0002,510.2500,300.0000"}},
        {"side 4.996 shows 5.00", {{0, 0}, {4.996, 0}}, true, {"0001,.0000,.0000,***", "0002,.0000,4.9960,5.00"}},
        {"repeated vertex", {{1, 1}, {1, 1}}, true, {"0001,1.0000,1.0000,***", "0002,1.0000,1.0000,***"}},
        {"sides round", {{0, 0}, {12.3456, 0}, {12.3456, 0.25}}, true,
         {"0001,.0000,.0000,***", "0002,.0000,12.3456,12.35", "0003,.2500,12.3456,0.25"}},
    };
    for (const auto& c : cases) {
        QStringList lines;
        for (const BoundaryPoint& p : boundaryPoints(c.v, {}))
            lines << boundaryPointLine(p, c.withSide);
        EXPECT_EQ(lines, c.lines) << c.name;
    }
    const std::vector<BoundaryPoint> p = boundaryPoints({{300, 500.25}, {300, 510.25}}, {});
    EXPECT_EQ(listEntry(p[1]), QStringLiteral("0002,510.2500,300.0000, S:10.00"));
}

TEST(BoundaryPointLists, LimitsOfBothLists)
{
    // sides: ***, 4.996 (5.00), 5.004 (5.00), 5.006 (5.01), 60, 0 (***)
    const std::vector<Pt2> v{{0, 0}, {4.996, 0}, {10, 0}, {15.006, 0}, {75.006, 0}, {75.006, 0}};
    const struct {
        const char* name;
        const char* above;
        const char* below;
        QStringList list1, list2;
    } cases[] = {
        {"both 0", "0", "0", {}, {}},
        {"above 5", "5", "0", {"0004", "0005"}, {}},
        {"above 50", "50", "", {"0005"}, {}},
        {"up to 5 with every ***", "0", "5", {}, {"0001", "0002", "0003", "0006"}},
        {"leading number", "5abc", "5.0x", {"0004", "0005"}, {"0001", "0002", "0003", "0006"}},
    };
    for (const auto& c : cases) {
        BoundaryPointSettings s;
        s.limitAbove = QString::fromLatin1(c.above);
        s.limitBelow = QString::fromLatin1(c.below);
        QStringList l1, l2;
        for (const BoundaryPoint& p : boundaryPoints(v, s)) {
            if (inList1(p, s))
                l1 << p.name;
            if (inList2(p, s))
                l2 << p.name;
        }
        EXPECT_EQ(l1, c.list1) << c.name;
        EXPECT_EQ(l2, c.list2) << c.name;
    }
}

TEST(BoundaryPointPick, ClosedSquareWithTheDefaults)
{
    PickHost h;
    Entity* old = h.ms().AddText(QStringLiteral("old"), {0, 0, 0}, 1);
    Entity* mtext = h.ms().AddMText({0, 0, 0}, 10, QStringLiteral("stays"));
    h.pick({});
    EXPECT_EQ(watchBytes(), test::gbkLines({"0001,500.2500,300.0000,***", "0002,510.2500,300.0000,10.00",
                                            "0003,510.2500,310.0000,10.00", "0004,500.2500,310.0000,10.00"}));
    EXPECT_EQ(test::readBytes(h.home.path(QStringLiteral("d:\\bak1.txt"))),
              test::gbkLines({"500.25", "300", "510.25", "300", "510.25", "310", "500.25", "310"}));
    EXPECT_EQ(h.line->Color(), 3);
    EXPECT_TRUE(old->isErased());
    EXPECT_FALSE(mtext->isErased());
    const std::vector<Entity*> texts = textsOf(h.doc());
    ASSERT_EQ(texts.size(), 4u);
    const double xs[] = {302, 302, 312, 312}, ys[] = {500.25, 510.25, 510.25, 500.25};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(texts[i]->TextString(), QStringLiteral("000%1").arg(i + 1));
        EXPECT_EQ(texts[i]->InsertionPoint(), (Point{xs[i], ys[i], 0})) << i;
        EXPECT_EQ(texts[i]->Height(), 4);
        EXPECT_EQ(texts[i]->Color(), 3);
    }
    // without the block no symbol, the names all the same
    EXPECT_EQ(h.ms().Count(), 5 + 1);
    EXPECT_TRUE(h.app.transcript().contains(u("请选择一根据多义线：\r\n请稍候！")));
    EXPECT_TRUE(h.app.transcript().endsWith(
        u("\r\n\r\n已完成工作！界址点的坐标记录在Watch.txt文件中。边长为*的行是有重点(除第一行外)。\r\n")));
    EXPECT_EQ(h.ui.textWindowFiles(), QStringList{paths::scratch(QStringLiteral("watch.txt"))});
    EXPECT_EQ(h.doc().SelectionSets().find(QStringLiteral("text")), nullptr);
}

TEST(BoundaryPointPick, SettingsOfTheWindow)
{
    const struct {
        const char* name;
        std::function<void(BoundaryPointSettings&)> set;
        std::vector<double> xy;
        bool closed;
        QStringList lines;
        Point firstLabel;
    } cases[] = {
        {"open with a fifth vertex on the first", [](BoundaryPointSettings&) {},
         {300, 500.25, 300, 510.25, 310, 510.25, 310, 500.25, 300, 500.25}, false,
         {"0001,500.2500,300.0000,***", "0002,510.2500,300.0000,10.00", "0003,510.2500,310.0000,10.00",
          "0004,500.2500,310.0000,10.00", "0005,500.2500,300.0000,10.00"},
         {302, 500.25, 0}},
        {"prefix, two digits, every other, to the left", [](BoundaryPointSettings& s) {
             s.prefix = QStringLiteral(" J ");
             s.digits = QStringLiteral("2");
             s.alternate = true;
             s.shiftLeft = true;
             s.writeSides = false;
         },
         kSquare, true,
         {"J01,500.2500,300.0000", "J03,510.2500,300.0000", "J05,510.2500,310.0000", "J07,500.2500,310.0000"},
         {298, 500.25, 0}},
        {"start 123", [](BoundaryPointSettings& s) { s.start = QStringLiteral("123"); s.digits = QStringLiteral("2"); s.prefix = QStringLiteral("J"); },
         {0.5, 1, 2, 1}, false, {"J123,1.0000,.5000,***", "J124,1.0000,2.0000,1.50"}, {2.5, 1, 0}},
    };
    for (const auto& c : cases) {
        PickHost h(c.xy, c.closed);
        BoundaryPointSettings s;
        c.set(s);
        h.pick(s);
        EXPECT_EQ(watchBytes(), test::gbkLines(c.lines)) << c.name;
        ASSERT_FALSE(textsOf(h.doc()).empty()) << c.name;
        EXPECT_EQ(textsOf(h.doc()).front()->InsertionPoint(), c.firstLabel) << c.name;
    }
}

TEST(BoundaryPointPick, ListsSymbolsAndKeptTexts)
{
    PickHost h;
    coords::definePointSymbol(h.doc());
    Entity* old = h.ms().AddText(QStringLiteral("old"), {0, 0, 0}, 1);
    BoundaryPointSettings s;
    s.eraseTexts = false;
    s.limitAbove = QStringLiteral("5");
    s.limitBelow = QStringLiteral("5");
    const PickedLists lists = h.pick(s);
    EXPECT_FALSE(old->isErased());
    EXPECT_EQ(lists.list1, (QStringList{"0002,510.2500,300.0000, S:10.00", "0003,510.2500,310.0000, S:10.00",
                                        "0004,500.2500,310.0000, S:10.00"}));
    EXPECT_EQ(lists.list2, QStringList{"0001,500.2500,300.0000, S:***"});
    int symbols = 0;
    for (Entity* e : h.ms().entities())
        if (e->kind() == EntityKind::BlockReference) {
            EXPECT_EQ(e->Name(), u("点位符号"));
            EXPECT_EQ(e->Color(), ColorByLayer);
            ++symbols;
        }
    EXPECT_EQ(symbols, 4);
    EXPECT_EQ(textsOf(h.doc()).size(), 5u);
}

TEST(BoundaryPointPick, SeveralEntitiesEmptyPickAndNoHost)
{
    // every picked entity turns green; the first polyline in pick order is listed
    PickHost h;
    Entity* circle = h.ms().AddCircle({0, 0, 0}, 1);
    Entity* second = h.ms().AddLightWeightPolyline({0, 0, 1, 0});
    h.pick({}, {circle->Handle(), second->Handle(), h.line->Handle()});
    EXPECT_EQ(circle->Color(), 3);
    EXPECT_EQ(second->Color(), 3);
    EXPECT_EQ(h.line->Color(), 3);
    EXPECT_EQ(watchBytes(), test::gbkLines({"0001,.0000,.0000,***", "0002,.0000,1.0000,1.00"}));

    // a pick of no polyline leaves both files empty
    PickHost only;
    Entity* c2 = only.ms().AddCircle({0, 0, 0}, 1);
    only.pick({}, {c2->Handle()});
    EXPECT_EQ(watchBytes(), QByteArray());
    EXPECT_TRUE(textsOf(only.doc()).empty());

    // an empty pick keeps the former files; the text window follows
    PickHost empty;
    test::writeGbkLines(paths::scratch(QStringLiteral("watch.txt")), {"kept"});
    empty.answer(QStringLiteral("esc"));
    const PickedLists none = Command1_Click(empty.context, {});
    EXPECT_TRUE(none.list1.isEmpty() && none.list2.isEmpty());
    EXPECT_EQ(watchBytes(), test::gbkLines({"kept"}));
    EXPECT_EQ(empty.line->Color(), ColorByLayer);
    EXPECT_EQ(empty.ui.textWindowFiles().size(), 1);

    // no host: both files come out empty and are shown
    test::TempHome home;
    test::writeGbkLines(paths::scratch(QStringLiteral("watch.txt")), {"old"});
    Command1_Click(home.context, {});
    EXPECT_EQ(watchBytes(), QByteArray());
    EXPECT_EQ(home.ui.textWindowFiles(), QStringList{paths::scratch(QStringLiteral("watch.txt"))});
    EXPECT_TRUE(test::messageTexts(home).isEmpty());
}

TEST(BoundaryPointZoom, ListEntryZoomsToItsPoint)
{
    const struct {
        const char* entry;
        QStringList events;
    } cases[] = {
        {"0002,510.2500,300.0000, S:10.00", {"ZoomWindow 280,490.25 320,530.25"}},
        {"J1,.5000,-.2500, S:***", {"ZoomWindow -20.25,-19.5 19.75,20.5"}},
        {"", {}},
        {"0002,510.25", {}},
        {"0002,x,300, S:1", {}},
    };
    for (const auto& c : cases) {
        test::CadHost h;
        h.app.clearRecords();
        const int before = int(h.app.events().size());
        zoomToEntry(h.context, QString::fromLatin1(c.entry));
        QStringList zooms;
        for (const QString& e : h.app.events().mid(before))
            if (e.startsWith(QLatin1String("Zoom")))
                zooms << e;
        EXPECT_EQ(zooms, c.events) << c.entry;
    }
    test::TempHome home; // no host: nothing, silently
    zoomToEntry(home.context, QStringLiteral("0002,510.2500,300.0000, S:10.00"));
    EXPECT_TRUE(test::messageTexts(home).isEmpty());
}
