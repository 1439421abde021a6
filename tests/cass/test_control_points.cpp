// The control-point list read from the map's symbols and annotations, and
// the shift of symbols that other entities cross.
#include "cass/control_points.h"
#include "cass_drawing.h"
#include "cad_host.h"
#include "platform/paths.h"

#include <gtest/gtest.h>

using namespace kelvor;
using namespace kelvor::cad;
using test::u;

namespace {

struct SymbolHost : test::CadHost {
    SymbolHost()
    {
        for (const char* name : {"GC115", "gc116", "gc121"}) {
            Block& b = doc().BlocksAdd({0, 0, 0}, QString::fromLatin1(name));
            b.AddLightWeightPolyline({-1, -1, 1, -1, 1, 1, -1, 1})->setClosed(true);
        }
    }
    QString watchPath() const { return paths::scratch(QStringLiteral("watch.txt")); }
    QStringList watchLines() const
    {
        QStringList out;
        for (const QByteArray& l : test::linesOf(test::readBytes(watchPath())))
            out << QString::fromLatin1(l);
        return out;
    }
    Entity* symbol(const char* name, const Point& at, double rotation = 0)
    {
        return ms().InsertBlock(at, QString::fromLatin1(name), 1, 1, 1, rotation);
    }
};

} // namespace

TEST(ControlPointLine, FieldsPadWithoutCutting)
{
    const struct {
        const char* name;
        double x, y, z;
        const char* line;
    } cases[] = {
        {"K12", 534123.456, 2551234.567, 45.6, "K12" "       " "   " "2551234.567" "   " "534123.456" "    " "45.600"},
        {"", 1.5, 2.25, 0, "          " "   " "2.250     " "   " "1.500     " "    " "0.000"},
        {"GPS-LONGNAME", 10, 20, -1.2345, "GPS-LONGNAME" "   " "20.000    " "   " "10.000    " "    " "-1.235"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(cass::controlPointLine(QString::fromLatin1(c.name), c.x, c.y, c.z), QString::fromLatin1(c.line))
            << c.name;
}

TEST(ControlPoints, NamesFromTheAnnotationAtTheLineEnd)
{
    SymbolHost h;
    Block& ms = h.ms();
    const Point k{534123.456, 2551234.567, 45.6};
    h.symbol("GC115", k);
    ms.AddLine({k.x + 1, k.y + 1, 0}, {k.x + 8, k.y + 6, 0});
    ms.AddText(QStringLiteral("K12"), {k.x + 9, k.y + 7, 0}, 1);
    // a second symbol: its line ends beside a text that only touches the
    // rectangle, and a later one wholly outside
    const Point t{1000, 2000, 5};
    h.symbol("gc116", t);
    ms.AddLine({t.x, t.y, 0}, {t.x + 10, t.y, 0});
    ms.AddText(QStringLiteral("T1"), {t.x + 16, t.y + 1, 0}, 1);     // starts on the right border
    ms.AddText(QStringLiteral("FAR"), {t.x + 16.5, t.y + 1, 0}, 1);  // wholly outside
    h.symbol("gc115", {3000, 4000, 0});                               // no annotation
    h.symbol("gc121", {5000, 6000, 0});                               // not a control point

    cass::tumiankongzidiancg_Click(h.home.context);
    const QStringList lines = h.watchLines();
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0], cass::controlPointLine(QStringLiteral("K12"), k.x, k.y, k.z));
    EXPECT_EQ(lines[1], cass::controlPointLine(QStringLiteral("T1"), t.x, t.y, t.z));
    EXPECT_TRUE(lines[2].startsWith(QString(13, QLatin1Char(' ')) + QStringLiteral("4000.000")));
    EXPECT_EQ(h.home.ui.textWindowFiles(), QStringList{h.watchPath()});
    for (const char* set : {"text", "obj", "li"})
        EXPECT_EQ(h.doc().SelectionSets().find(QString::fromLatin1(set)), nullptr) << set;
    EXPECT_TRUE(h.app.events().contains(QStringLiteral("ZoomWindow 2995,3995 3005,4005")));
}

TEST(ControlPoints, StoppedHostShowsAnEmptyList)
{
    SymbolHost h;
    test::writeGbkLines(h.watchPath(), {"old"});
    h.app.setRunning(false);
    cass::tumiankongzidiancg_Click(h.home.context);
    EXPECT_TRUE(test::readBytes(h.watchPath()).isEmpty());
    EXPECT_EQ(h.home.ui.textWindowFiles(), QStringList{h.watchPath()});
    EXPECT_TRUE(h.home.ui.messages().isEmpty());
}

TEST(SymbolShift, HalfAUnitNorthPerCrossingEntity)
{
    const struct {
        const char* name;
        int crossing;
        double rotation;
        double shift;
    } cases[] = {{"alone", 0, 0, 0}, {"one line", 1, 0, 1.0}, {"three entities", 3, 0, 2.0},
                 {"three, rotated", 3, 0.7, 2.0}};
    for (const auto& c : cases) {
        SymbolHost h;
        Entity* s = h.symbol("gc121", {100, 200, 0}, c.rotation);
        if (c.crossing >= 1)
            h.ms().AddLine({90, 200, 0}, {110, 200, 0});
        if (c.crossing >= 3) {
            h.ms().AddLine({100, 190, 0}, {100, 210, 0});
            h.ms().AddCircle({100, 200, 0}, 0.5);
        }
        h.ms().AddLine({0, 0, 0}, {10, 0, 0}); // far away
        h.answerSelect({s->Handle()});
        cass::tuxingfuhaoyiwei_Click(h.home.context);
        EXPECT_NEAR(s->InsertionPoint().y, 200 + c.shift, 1e-9) << c.name;
        EXPECT_EQ(s->InsertionPoint().x, 100) << c.name;
        EXPECT_NEAR(s->Rotation(), c.rotation, 1e-12) << c.name;
        EXPECT_TRUE(h.app.transcript().endsWith(u("程序运行结束"))) << c.name;
    }
}

TEST(SymbolShift, CancelledSelectionMovesNothing)
{
    SymbolHost h;
    Entity* s = h.symbol("gc121", {100, 200, 0});
    h.ms().AddLine({90, 200, 0}, {110, 200, 0});
    h.answer(QStringLiteral("esc"));
    cass::tuxingfuhaoyiwei_Click(h.home.context);
    EXPECT_EQ(s->InsertionPoint().y, 200);
    EXPECT_TRUE(h.app.transcript().endsWith(u("程序运行结束")));
}
