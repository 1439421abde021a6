// The boundary-point coordinate table, its plot script and the
// boundary-line finishing.
#include "cad_host.h"
#include "landuse/boundary_lines.h"
#include "landuse/boundary_table.h"
#include "platform/paths.h"
#include "test_support.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace kelvor;
using namespace kelvor::cad;
using namespace kelvor::landuse;
using test::u;

namespace {

std::vector<TablePoint> points(int count, double x0 = 100, double step = 1)
{
    std::vector<TablePoint> out;
    for (int i = 0; i < count; ++i)
        out.push_back({QStringLiteral("J%1").arg(i + 1), x0 + step * i, 200});
    return out;
}

const TableText* textAt(const BoundaryTable& t, double x, double y)
{
    for (const TableText& tt : t.texts)
        if (tt.at.x == x && tt.at.y == y)
            return &tt;
    return nullptr;
}

bool cellAt(const BoundaryTable& t, double x, double y)
{
    for (const TableCell& c : t.cells)
        if (c.corner.x == x && c.corner.y == y)
            return true;
    return false;
}

QStringList allTexts(const BoundaryTable& t)
{
    QStringList out;
    for (const TableText& tt : t.texts)
        out << tt.text;
    return out;
}

} // namespace

TEST(BoundaryPointFile, LinesThatGiveRows)
{
    const struct {
        const char* line;
        bool row;
        const char* name;
        double x, y;
    } cases[] = {
        {"0001,500.2500,300.0000,***", true, "0001", 500.25, 300},
        {"0001,500.2500,300.0000", true, "0001", 500.25, 300},
        {" J1 , .5 , -.25 ", true, "J1", 0.5, -0.25},
        {"0001,500.25", false, "", 0, 0},
        {"", false, "", 0, 0},
        {"0001,x,300", false, "", 0, 0},
        {"0001,500,", false, "", 0, 0},
        {"0001 500 300", false, "", 0, 0},
    };
    for (const auto& c : cases) {
        const std::optional<TablePoint> p = tablePointOf(QString::fromLatin1(c.line));
        ASSERT_EQ(p.has_value(), c.row) << c.line;
        if (!p)
            continue;
        EXPECT_EQ(p->name, QString::fromLatin1(c.name)) << c.line;
        EXPECT_EQ(p->x, c.x) << c.line;
        EXPECT_EQ(p->y, c.y) << c.line;
    }
}

TEST(BoundaryTableLayout, PagesRowsCellsAndSides)
{
    const BoundaryTable t = boundaryTable(points(41), {1000, 2000, 7}, 1);
    ASSERT_EQ(t.pages.size(), 2u);
    EXPECT_EQ(t.pages[0], (Point{1000, 2000, 0}));
    EXPECT_EQ(t.pages[1], (Point{1105, 2000, 0}));
    // page 1: 40 rows; every row's name cell, a side cell on all but row 40
    for (int r = 0; r < 40; ++r) {
        EXPECT_TRUE(cellAt(t, 1000, 2000 - 3 * r)) << r;
        EXPECT_EQ(cellAt(t, 1047, 2000 - 3 * r - 1.5), r != 39) << r;
    }
    EXPECT_EQ(t.cells.size(), 40u * 5 - 1 + 5);
    // row 41: side text from point 40 without a cell
    const TableText* side41 = textAt(t, 1156, 1999.5);
    ASSERT_NE(side41, nullptr);
    EXPECT_EQ(side41->text, QStringLiteral("1.000"));
    EXPECT_FALSE(cellAt(t, 1152, 2001.5));
    EXPECT_TRUE(cellAt(t, 1152, 1998.5)); // the last line's own, left empty
    ASSERT_NE(textAt(t, 1036, 1874), nullptr);
    EXPECT_EQ(textAt(t, 1036, 1874)->text, QStringLiteral(" 1"));
    ASSERT_NE(textAt(t, 1141, 1874), nullptr);
    EXPECT_EQ(textAt(t, 1141, 1874)->text, QStringLiteral(" 2"));
    // row texts of line 1: no side text; everything at z = 0
    EXPECT_EQ(textAt(t, 1002.5, 1998)->text, QStringLiteral("J1"));
    EXPECT_EQ(textAt(t, 1013, 1998)->text, QStringLiteral("100.000"));
    EXPECT_EQ(textAt(t, 1032, 1998)->text, QStringLiteral("200.000"));
    EXPECT_EQ(textAt(t, 1051, 1999.5), nullptr);
    for (const TableText& tt : t.texts)
        EXPECT_EQ(tt.at.z, 0);
    for (const TableCell& c : t.cells)
        EXPECT_EQ(c.corner.z, 0);
}

TEST(BoundaryTableLayout, ShownValuesAndPageNumbers)
{
    const BoundaryTable t = boundaryTable({{QStringLiteral("A"), 100.0004, 5}, {QStringLiteral("B"), 100.0016, 5}},
                                          {0, 0, 0}, 1);
    EXPECT_EQ(allTexts(t), (QStringList{"A", "100.000", "5.000", " 1", "B", "100.002", "5.000", "0.002"}));

    const struct {
        int lines;
        double first;
        QStringList pages;
    } cases[] = {
        {85, 5, {" 5", " 6", " 7"}},
        {40, 2.5, {" 2.5"}},
        {41, -1, {"-1", " 0"}},
        {0, 3, {}},
    };
    for (const auto& c : cases) {
        const BoundaryTable p = boundaryTable(points(c.lines), {10, 20, 0}, c.first);
        QStringList numbers;
        for (const TableText& tt : p.texts)
            if (tt.at.y == 20 - 126)
                numbers << tt.text;
        EXPECT_EQ(numbers, c.pages) << c.lines;
        EXPECT_EQ(int(p.pages.size()), std::max(1, (c.lines + 39) / 40)) << c.lines;
    }
}

namespace {

// A template drawing: one line, written as DXF.
QString writeTemplate(test::CadHost& h)
{
    Document tpl;
    tpl.ModelSpace().AddLine({0, 0, 0}, {105, 0, 0});
    const QString path = h.home.path(QStringLiteral("d:\\jzb.dxf"));
    writeDxf(tpl, path);
    return path;
}

} // namespace

TEST(BoundaryTableCommand, DrawsTheFileOnTheTemplate)
{
    test::CadHost h;
    writeTemplate(h);
    QStringList lines;
    for (int i = 1; i <= 41; ++i)
        lines << QStringLiteral("%1,%2.0004,200.0000,***").arg(i, 4, 10, QLatin1Char('0')).arg(100 + i);
    lines.insert(3, QStringLiteral("bad line"));
    test::writeGbkLines(h.home.path(QStringLiteral("d:\\watch.txt")), lines);
    h.home.answerOpen({h.home.path(QStringLiteral("d:\\JZB.DWG"))});
    h.home.answerOpen({h.home.path(QStringLiteral("d:\\watch.txt"))});
    h.answerPoint(1000, 2000);
    h.answer(QStringLiteral("real"), QStringLiteral("1"));
    jzdbgxxxxx_Click(h.context);
    int inserts = 0, boxes = 0, texts = 0;
    for (Entity* e : h.ms().entities()) {
        if (e->kind() == EntityKind::BlockReference) {
            EXPECT_EQ(e->InsertionPoint(), (Point{1000.0 + 105 * inserts, 2000, 0}));
            ++inserts;
        }
        boxes += e->kind() == EntityKind::Polyline2d;
        if (e->kind() == EntityKind::Text) {
            EXPECT_EQ(e->Height(), 1.2);
            ++texts;
        }
    }
    EXPECT_EQ(inserts, 2);
    EXPECT_EQ(boxes, 40 * 5 - 1 + 5);
    EXPECT_EQ(texts, 41 * 4 - 1 + 2);
    EXPECT_TRUE(h.app.transcript().contains(u("\r\n请输入起点：")));
    EXPECT_TRUE(h.app.transcript().contains(u("输入起始页码:")));
    EXPECT_TRUE(h.app.transcript().endsWith(u("\r\n程序运行结束!")));
}

TEST(BoundaryTableCommand, EndsSilentlyBeforeDrawing)
{
    const struct {
        const char* name;
        std::function<void(test::CadHost&)> answers;
    } cases[] = {
        {"template cancelled", [](test::CadHost& h) { h.answer(QStringLiteral("button"), QStringLiteral("Cancel")); }},
        {"file cancelled", [](test::CadHost& h) {
             h.home.answerOpen({h.home.path(QStringLiteral("d:\\jzb.dxf"))});
             h.answer(QStringLiteral("button"), QStringLiteral("Cancel"));
         }},
        {"point cancelled", [](test::CadHost& h) {
             h.home.answerOpen({h.home.path(QStringLiteral("d:\\jzb.dxf"))});
             h.home.answerOpen({h.home.path(QStringLiteral("d:\\watch.txt"))});
             h.answer(QStringLiteral("esc"));
         }},
        {"point at 0,0", [](test::CadHost& h) {
             h.home.answerOpen({h.home.path(QStringLiteral("d:\\jzb.dxf"))});
             h.home.answerOpen({h.home.path(QStringLiteral("d:\\watch.txt"))});
             h.answerPoint(0, 0);
         }},
        {"page 0", [](test::CadHost& h) {
             h.home.answerOpen({h.home.path(QStringLiteral("d:\\jzb.dxf"))});
             h.home.answerOpen({h.home.path(QStringLiteral("d:\\watch.txt"))});
             h.answerPoint(5, 5);
             h.answer(QStringLiteral("real"), QStringLiteral("0"));
         }},
        {"page empty", [](test::CadHost& h) {
             h.home.answerOpen({h.home.path(QStringLiteral("d:\\jzb.dxf"))});
             h.home.answerOpen({h.home.path(QStringLiteral("d:\\watch.txt"))});
             h.answerPoint(5, 5);
             h.answer(QStringLiteral("enter"));
         }},
    };
    for (const auto& c : cases) {
        test::CadHost h;
        writeTemplate(h);
        test::writeGbkLines(h.home.path(QStringLiteral("d:\\watch.txt")), {"1,1,1"});
        c.answers(h);
        jzdbgxxxxx_Click(h.context);
        EXPECT_EQ(h.ms().Count(), 0) << c.name;
        EXPECT_TRUE(test::messageTexts(h.home).isEmpty()) << c.name;
        EXPECT_FALSE(h.app.transcript().contains(u("程序运行结束!"))) << c.name;
    }
}

TEST(BoundaryPrintScript, PagesOrderAndCopies)
{
    const QStringList p2 = plotScriptLines({10, 20}, {220, 20}, 1, false);
    ASSERT_EQ(p2.size(), 3 * 14);
    EXPECT_EQ(p2.mid(14, 14), (QStringList{"-PLOT Y ", "model", "HP Deskjet 5700 Series", "", "m", "p", " W",
                                           "115,20", "220,-128.5\r", "0,10", "\r", "\r", "\r", "Y"}));
    auto firstCorners = [](const QStringList& lines) {
        QStringList out;
        for (qsizetype i = 7; i < lines.size(); i += 14)
            out << lines[i];
        return out;
    };
    const struct {
        const char* name;
        Pt2 pn;
        int copies;
        bool lastFirst;
        QStringList corners;
    } cases[] = {
        {"3 pages, 2 copies, last first", {220, 20}, 2, true,
         {"220,20", "115,20", "10,20", "220,20", "115,20", "10,20"}},
        {"first first", {220, 20}, 1, false, {"10,20", "115,20", "220,20"}},
        {"PN = P1", {10, 20}, 1, true, {"10,20"}},
        {"209.9 apart", {219.9, 20}, 1, false, {"10,20", "115,20"}},
        {"PN lower changes only the count", {115, -500}, 1, false, {"10,20", "115,20", "220,20", "325,20", "430,20", "535,20"}},
        {"no copies", {220, 20}, 0, true, {}},
        {"negative copies", {220, 20}, -2, true, {}},
    };
    for (const auto& c : cases) {
        const QStringList lines = plotScriptLines({10, 20}, c.pn, c.copies, c.lastFirst);
        EXPECT_EQ(lines.size(), c.corners.size() * 14) << c.name;
        EXPECT_EQ(firstCorners(lines), c.corners) << c.name;
    }
}

TEST(BoundaryPrintScript, CommandWritesJzdScr)
{
    const struct {
        const char* name;
        QStringList answers; // kind:value after the two corners
        qsizetype lines;
        const char* firstWindow;
    } cases[] = {
        {"defaults", {"enter", "enter"}, 3 * 14, "220,20"},
        {"two copies, lower-case n", {"integer:2", "string:n"}, 6 * 14, "10,20"},
        {"other answer takes Y", {"integer:1", "string:Q"}, 3 * 14, "220,20"},
        {"cancelled copies and order", {"esc", "esc"}, 3 * 14, "220,20"},
        {"copies 0", {"integer:0", "string:Y"}, 0, ""},
    };
    for (const auto& c : cases) {
        test::CadHost h;
        h.answerPoint(10, 20);
        h.answerPoint(220, 20);
        for (const QString& a : c.answers)
            h.answer(a.section(QLatin1Char(':'), 0, 0), a.section(QLatin1Char(':'), 1));
        jzdtoprints_Click(h.context);
        const QList<QByteArray> lines = test::linesOf(test::readBytes(jzdScrPath()));
        EXPECT_EQ(lines.size(), c.lines) << c.name;
        if (c.lines) {
            EXPECT_EQ(lines[7], QByteArray(c.firstWindow)) << c.name;
        }
        EXPECT_TRUE(h.app.transcript().endsWith(u("已经生成文件(调用命令[Script])：") + jzdScrPath())) << c.name;
        EXPECT_TRUE(h.app.transcript().contains(u("打印份数<1>:"))) << c.name;
    }
    // the raw bytes of one block
    test::CadHost h;
    h.answerPoint(10, 20);
    h.answerPoint(10, 20);
    h.answer(QStringLiteral("integer"), QStringLiteral("1"));
    h.answer(QStringLiteral("string"), QStringLiteral("N"));
    jzdtoprints_Click(h.context);
    EXPECT_EQ(test::readBytes(jzdScrPath()),
              QByteArray("-PLOT Y \r\nmodel\r\nHP Deskjet 5700 Series\r\n\r\nm\r\np\r\n W\r\n10,20\r\n115,-128.5\r\r\n"
                         "0,10\r\n\r\r\n\r\r\n\r\r\nY\r\n"));
}

// A last corner picked far off asks for millions of pages: the count is
// checked before the script is touched, named on the command line, and the
// old script stays.
TEST(BoundaryPrintScript, RunawayPageCountsWriteNothing)
{
    const struct {
        const char* name;
        Pt2 p1, pn;
        int copies;
        bool tooMany;
    } cases[] = {
        {"PN at 1e9", {0, 0}, {1e9, 0}, 1, true},
        {"exactly the limit", {0, 0}, {105 * 99999.0, 0}, 1, false},
        {"the limit twice over by copies", {0, 0}, {105 * 99999.0, 0}, 2, true},
        {"one page over, no copies", {0, 0}, {105 * 100000.0, 0}, 0, true},
        {"many copies of few pages", {0, 0}, {210, 0}, 32767, false},
        {"no distance a number can hold", {-1e308, -1e308}, {1e308, 1e308}, 1, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(plotPages(c.p1, c.pn, c.copies).tooMany(), c.tooMany) << c.name;
        if (c.tooMany) {
            EXPECT_TRUE(plotScriptLines(c.p1, c.pn, c.copies, true).isEmpty()) << c.name;
        }
    }

    test::CadHost h;
    test::writeGbkLines(jzdScrPath(), {"old"});
    h.answerPoint(0, 0);
    h.answerPoint(1e9, 0);
    h.answer(QStringLiteral("enter"));
    h.answer(QStringLiteral("enter"));
    jzdtoprints_Click(h.context);
    EXPECT_EQ(test::readBytes(jzdScrPath()), test::gbkLines({"old"}));
    EXPECT_TRUE(h.app.transcript().endsWith(
        u("打印页数过多：第一页左上角 (0,0) 至最后页左上角 (1000000000,0)，需 9523810 页 × 1 份，超过 100000 页，未生成文件。")));
    EXPECT_FALSE(h.app.transcript().contains(u("已经生成文件")));
}

TEST(BoundaryPrintScript, CancelledCornerOrUnwritableScript)
{
    test::CadHost h;
    test::writeGbkLines(jzdScrPath(), {"old"});
    h.answerPoint(10, 20);
    h.answer(QStringLiteral("esc"));
    jzdtoprints_Click(h.context);
    EXPECT_EQ(test::readBytes(jzdScrPath()), test::gbkLines({"old"}));
    EXPECT_FALSE(h.app.transcript().contains(u("已经生成文件")));

    test::CadHost blocked;
    QFile::remove(jzdScrPath());
    ASSERT_TRUE(QDir().mkpath(jzdScrPath())); // a folder where the script goes
    blocked.answerPoint(10, 20);
    blocked.answerPoint(10, 20);
    blocked.answer(QStringLiteral("enter"));
    blocked.answer(QStringLiteral("enter"));
    jzdtoprints_Click(blocked.context);
    EXPECT_TRUE(blocked.app.transcript().endsWith(u("不能建立文件：") + jzdScrPath()));
    EXPECT_FALSE(blocked.app.transcript().contains(u("已经生成文件")));
}

TEST(BoundaryLines, TrimScriptOfACircle)
{
    EXPECT_EQ(trimScript({100, 200}, 1),
              QStringLiteral("_trim\r\rf\r100,199.1\r100.9,200\r100,200.9\r99.1,200\r100,199.1\r\r\r"));
    const std::vector<Pt2> small = trimFence({5, 7}, 0.1);
    for (const Pt2& p : small) {
        EXPECT_EQ(p.x, 5);
        EXPECT_EQ(p.y, 7);
    }
}

TEST(BoundaryLines, CommandTrimsLinesInsideThePickedCircles)
{
    test::CadHost h;
    h.ms().AddLine({98, 200, 0}, {102, 200, 0});
    Entity* circle = h.ms().AddCircle({100, 200, 0}, 1);
    Entity* line = h.ms().AddLine({0, 0, 0}, {1, 0, 0});
    h.answerSelect({circle->Handle(), line->Handle()});
    landuse::zhengshijiezhixian_Click(h.context);
    const QString script = trimScript({100, 200}, 1);
    EXPECT_EQ(h.app.journal(), script + script);
    QStringList lines;
    for (Entity* e : h.ms().entities())
        if (e->kind() == EntityKind::Line && e->StartPoint().y == 200)
            lines << QStringLiteral("%1-%2").arg(e->StartPoint().x).arg(e->EndPoint().x);
    lines.sort();
    EXPECT_EQ(lines, (QStringList{"101-102", "98-99"}));

    test::CadHost empty;
    empty.answer(QStringLiteral("esc"));
    landuse::zhengshijiezhixian_Click(empty.context);
    EXPECT_EQ(empty.app.journal(), QString());

    test::TempHome none;
    landuse::zhengshijiezhixian_Click(none.context);
    EXPECT_EQ(test::messageTexts(none), QStringList{u("AutoCAD 没有运行或版本不符合！")});
}
