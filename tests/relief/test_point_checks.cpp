#include "cad_host.h"
#include "platform/text_file.h"
#include "relief/point_checks.h"

#include <QFileInfo>
#include <gtest/gtest.h>

using namespace kelvor;
using namespace kelvor::relief;
using test::u;

namespace {

struct PointHost : test::CadHost {
    cad::Entity* lw(const std::vector<double>& xy) { return ms().AddLightWeightPolyline(xy); }
    std::vector<double> xy(const cad::Entity* e) const { return e->Coordinates(); }
    bool exists(const char* windowsPath) const { return QFileInfo::exists(home.path(u(windowsPath))); }
    QStringList report() const { return readTextLines(reportPath()); }
    std::vector<cad::Entity*> ofKind(cad::EntityKind kind)
    {
        std::vector<cad::Entity*> out;
        for (cad::Entity* e : ms().entities())
            if (e->kind() == kind)
                out.push_back(e);
        return out;
    }
};

} // namespace

// ---- rules ------------------------------------------------------------------

TEST(PointChecks, RowColumnsAndMarks)
{
    const struct {
        int number;
        cad::Pt2 a, b;
        const char* row;
    } cases[] = {
        {1, {500.25, 1000.5}, {500.30, 1000.56},
         " 1       1000.500         500.250         1000.560        500.300      7.8*"},
        {12, {512.5, 0}, {512.5, 0.0746}, " 12      0.000            512.500         0.075           512.500      7.5"},
        {3, {0, 0}, {0, 0.075}, " 3       0.000            0.000           0.075           0.000        7.5*"},
        {1000, {0, 0}, {0, 0.0999}, " 1000    0.000            0.000           0.100           0.000        10.0*"},
        {1, {0, 512.5}, {0, 512.5}, " 1       512.500          0.000           512.500         0.000        0.0"},
        {2, {-1.5, 12345678901234.5}, {-1.5, 12345678901234.5},
         " 2       12345678901234.500-1.500          12345678901234.500-1.500       0.0"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(pointPairRow(c.number, c.a, c.b), u(c.row)) << c.row;
    EXPECT_EQ(pointPairRow(1, {500.25, 1000.5}, {500.30, 1000.56}).size(), 75);
}

TEST(PointChecks, PairsLocatorsAndTheUnpairedLastVertex)
{
    const struct {
        const char* name;
        std::vector<cad::Pt2> vertices;
        int rows;
        std::vector<double> locatorXs;
    } cases[] = {
        {"9.99 cm", {{1, 2}, {1, 2.0999}}, 1, {}},
        {"10 cm", {{1, 2}, {1, 2.1}}, 1, {1}},
        {"two pairs", {{1, 2}, {1, 3}, {5, 6}, {5, 6.01}}, 2, {1}},
        {"odd count", {{1, 2}, {1, 2.5}, {7, 8}}, 1, {1}},
        {"one vertex", {{1, 2}}, 0, {}},
    };
    for (const auto& c : cases) {
        const PairReport r = pointPairReport(c.vertices);
        EXPECT_EQ(r.rows.size(), c.rows) << c.name;
        std::vector<double> xs;
        for (const cad::Pt2& p : r.locators)
            xs.push_back(p.x);
        EXPECT_EQ(xs, c.locatorXs) << c.name;
    }
}

TEST(PointChecks, LabelsCarryThePairsFirstNumber)
{
    const std::vector<VertexLabel> labels = vertexLabels(5);
    const struct {
        const char* text;
        int colour;
    } expected[] = {{" 1", 1}, {" 1", 7}, {" 3", 1}, {" 3", 7}, {" 5", 1}};
    ASSERT_EQ(labels.size(), std::size(expected));
    for (size_t k = 0; k < labels.size(); ++k) {
        EXPECT_EQ(labels[k].text, u(expected[k].text)) << k;
        EXPECT_EQ(labels[k].colour, expected[k].colour) << k;
    }
}

TEST(PointChecks, ComparisonRowsPastLineTwosEndUseItsLastVertex)
{
    const QStringList rows = lineComparisonRows({{0, 0}, {10, 0}, {20, 0}}, {{0, 0.01}, {10, 0.02}});
    ASSERT_EQ(rows.size(), 3);
    EXPECT_TRUE(rows[0].endsWith(QStringLiteral(" 1.0"))) << rows[0].toStdString();
    EXPECT_TRUE(rows[2].startsWith(QStringLiteral(" 3       0.000            20.000          0.020           10.000")))
        << rows[2].toStdString();
    EXPECT_TRUE(rows[2].endsWith(QStringLiteral("1000.0*"))) << rows[2].toStdString();
}

TEST(PointChecks, DumpHoldsYThenXInPrintFormAndReadsBack)
{
    test::TempHome home;
    const std::vector<cad::Pt2> v{{500.25, 1000.5}, {-0.25, 0}};
    writeVertexDump(QStringLiteral("d:\\bak1.txt"), v);
    EXPECT_EQ(test::readBytes(home.path(u("d:\\bak1.txt"))), QByteArray(" 1000.5 \r\n 500.25 \r\n 0 \r\n-.25 \r\n"));
    const std::vector<cad::Pt2> back = readVertexDump(QStringLiteral("d:\\bak1.txt"));
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[1].x, -0.25);
    EXPECT_EQ(back[0].y, 1000.5);
    EXPECT_TRUE(readVertexDump(QStringLiteral("d:\\missing.txt")).empty());
}

// ---- check polyline -----------------------------------------------------------

TEST(CheckPolyline, MapPointsFollowTheirCheckVertices)
{
    PointHost h;
    h.doc().SetVariable(QStringLiteral("osmode"), 33);
    cad::Entity* line = h.lw({0, 0, 10, 0});
    h.answerEntity(line->Handle(), 5, 0);
    h.answerPoint(0.1, 0.2);
    h.answerPoint(10.3, 0.1);
    lwpolyinsertpoint_Click(h.context);
    EXPECT_EQ(h.xy(line), (std::vector<double>{0, 0, 0.1, 0.2, 10, 0, 10.3, 0.1}));
    EXPECT_EQ(h.doc().GetVariable(QStringLiteral("osmode")).toInt(), 1);
    EXPECT_TRUE(h.ofKind(cad::EntityKind::Circle).empty());
    EXPECT_EQ(h.zooms(), (QStringList{"ZoomWindow -1,-1 1,1", "ZoomWindow 9,-1 11,1"}));
    EXPECT_EQ(h.app.transcript(), u("请选择检测线:图面点位:图面点位:"));
}

TEST(CheckPolyline, ClosedLineGetsItsLastPickAfterTheLastVertex)
{
    PointHost h;
    cad::Entity* line = h.lw({0, 0, 10, 0, 10, 10});
    line->setClosed(true);
    h.answerEntity(line->Handle());
    h.answerPoint(1, 1);
    h.answerPoint(11, 1);
    h.answerPoint(11, 11);
    lwpolyinsertpoint_Click(h.context);
    EXPECT_EQ(h.xy(line), (std::vector<double>{0, 0, 1, 1, 10, 0, 11, 1, 10, 10, 11, 11}));
    EXPECT_EQ(line->Coordinate(5).x, 11);
}

TEST(CheckPolyline, EscOrEnterAtAPointPutsTheLineBack)
{
    for (const char* kind : {"esc", "enter"}) {
        PointHost h;
        cad::Entity* line = h.lw({0, 0, 10, 0});
        h.answerEntity(line->Handle());
        h.answerPoint(0.1, 0.2);
        h.answer(u(kind));
        lwpolyinsertpoint_Click(h.context);
        EXPECT_EQ(h.xy(line), (std::vector<double>{0, 0, 10, 0})) << kind;
        EXPECT_TRUE(h.ofKind(cad::EntityKind::Circle).empty()) << kind;
        EXPECT_TRUE(h.home.answers.empty()) << kind;
    }
}

TEST(CheckPolyline, APickOfAnythingButALightweightPolylineEndsAsEscDoes)
{
    PointHost h;
    cad::Entity* other = h.ms().AddPolyline({0, 0, 0, 10, 0, 0});
    h.answerEntity(other->Handle());
    lwpolyinsertpoint_Click(h.context);
    EXPECT_EQ(h.doc().GetVariable(QStringLiteral("osmode")).toInt(), 1);
    EXPECT_EQ(h.app.transcript(), u("请选择检测线:"));
    EXPECT_EQ(other->vertexCount(), 2);
}

// ---- adjacent pairs -------------------------------------------------------------

TEST(AdjacentPairs, ReportOfAPairedLine)
{
    PointHost h;
    test::writeGbkLines(h.home.path(u("d:\\bak2.txt")), {"1"});
    cad::Entity* line = h.lw({500.25, 1000.5, 500.30, 1000.56, 20, 30, 20, 30.1});
    h.answerEntity(line->Handle());
    fangfano2_Click(h.context);
    EXPECT_EQ(h.report(), (QStringList{u(" 1       1000.500         500.250         1000.560        500.300      7.8*"),
                                       u(" 2       30.000           20.000          30.100          20.000       10.0*")}));
    EXPECT_EQ(line->Color(), 3);
    EXPECT_EQ(h.ui.textWindowFiles(), QStringList{reportPath()});
    EXPECT_FALSE(h.exists("d:\\bak1.txt"));
    EXPECT_FALSE(h.exists("d:\\bak2.txt"));
    const auto heavy = h.ofKind(cad::EntityKind::Polyline2d);
    ASSERT_EQ(heavy.size(), 1u);
    EXPECT_EQ(heavy[0]->Coordinates(), (std::vector<double>{20, 0, 0, 20, 30, 0}));
    EXPECT_TRUE(h.ui.messages().isEmpty());
}

TEST(AdjacentPairs, OddLineIsToldAndLabelledAndItsLastVertexWritesNoRow)
{
    PointHost h;
    cad::Entity* line = h.lw({0, 0, 0, 0.05, 10, 10});
    h.answerEntity(line->Handle());
    fangfano2_Click(h.context);
    ASSERT_EQ(h.ui.messages().size(), 1);
    const QJsonObject m = h.ui.messages().first().toObject();
    EXPECT_EQ(m[QStringLiteral("text")].toString(), u("两点数据不一致或目录选择错误！"));
    EXPECT_EQ(m[QStringLiteral("title")].toString(), u("提示"));
    EXPECT_EQ(m[QStringLiteral("icon")].toString(), u("exclamation"));
    const auto labels = h.ofKind(cad::EntityKind::Text);
    ASSERT_EQ(labels.size(), 3u);
    const struct {
        const char* text;
        int colour;
        double x, y;
    } expected[] = {{" 1", 1, 0, 0}, {" 1", 7, 0, 0.05}, {" 3", 1, 10, 10}};
    for (size_t k = 0; k < 3; ++k) {
        EXPECT_EQ(labels[k]->TextString(), u(expected[k].text)) << k;
        EXPECT_EQ(labels[k]->Color(), expected[k].colour) << k;
        EXPECT_EQ(labels[k]->Height(), 0.2) << k;
        EXPECT_EQ(labels[k]->InsertionPoint().x, expected[k].x) << k;
        EXPECT_EQ(labels[k]->InsertionPoint().y, expected[k].y) << k;
    }
    EXPECT_EQ(h.report().size(), 1);
    EXPECT_EQ(h.ui.textWindowFiles().size(), 1);
}

TEST(AdjacentPairs, AnythingButALightweightPolylineTouchesNothing)
{
    PointHost h;
    test::writeGbkLines(h.home.path(u("d:\\bak1.txt")), {"old"});
    cad::Entity* arc = h.ms().AddArc({0, 0, 0}, 1, 0, 1);
    for (cad::Entity* picked : {arc, static_cast<cad::Entity*>(nullptr)}) {
        if (picked)
            h.answerEntity(picked->Handle());
        else
            h.answer(QStringLiteral("esc"));
        fangfano2_Click(h.context);
    }
    EXPECT_EQ(arc->Color(), cad::ColorByLayer);
    EXPECT_TRUE(h.exists("d:\\bak1.txt"));
    EXPECT_TRUE(h.ui.textWindowFiles().isEmpty());
}
