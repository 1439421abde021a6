// GPS plane results: the report's result section, the point list, the
// baselines and the network drawing.
#include "coords/gps_results.h"

#include "cad/cad.h"
#include "platform/paths.h"
#include "platform/text_file.h"
#include "cad_host.h"
#include "test_support.h"

#include <QFile>
#include <QJsonObject>
#include <gtest/gtest.h>

using namespace kelvor;
using namespace kelvor::coords;
using kelvor::cad::Entity;
using kelvor::cad::EntityKind;
using kelvor::test::CadHost;
using kelvor::test::TempHome;
using kelvor::test::u;

namespace {

QString blanks(int n)
{
    return QString(n, QLatin1Char(' '));
}

QStringList heading()
{
    return {u("any line"), u("    二维平差最后的结果   "), u("h1"), u("h2"), u("h3"), u("h4"), u("h5")};
}

// G001 with baselines to G002 and G003, then the two far points.
QStringList sampleReport()
{
    return heading() + QStringList{u("G001      3381234.5671    519256.7894"), blanks(23) + u("G002"),
                                   blanks(23) + u("G003"), u("G002      3381300.1       519300.25"),
                                   u("G003      0.5             7.12345"), u(""), u("G009 1 2")};
}

const QStringList sampleRows = {u("G001   3381234.567   519256.789"), u("G002   3381300.100   519300.250"),
                                u("G003   .500   7.123")};

QString watchPath()
{
    return paths::scratch(u("watch.txt"));
}

} // namespace

TEST(GpsResults, SampleReportGivesThePointList)
{
    const auto section = readGpsAdjustmentResult(sampleReport());
    EXPECT_EQ(gpsPlaneRows(section), sampleRows);
    const auto b = gpsBaselines(section);
    ASSERT_EQ(b.size(), 2u);
    EXPECT_EQ(b[0].from, u("G001"));
    EXPECT_EQ(b[0].to, u("G002"));
    EXPECT_EQ(b[1].to, u("G003"));
}

TEST(GpsResults, SectionRules)
{
    const struct {
        const char* name;
        QStringList lines;
        QStringList rows;
        int baselines;
    } cases[] = {
        {"no marker", {u("二维平差最后的结果 ."), u("h"), u("h"), u("h"), u("h"), u("h"), u("P1 1 2")}, {}, 0},
        {"inner blank differs", {u("二维平差 最后的结果"), u("h"), u("h"), u("h"), u("h"), u("h"), u("P1 1 2")}, {}, 0},
        {"sixth line empty ends everything", heading() + QStringList{u("  "), u("P1 1 2")} + heading().mid(1)
                                                 + QStringList{u("P2 1 2")},
         {}, 0},
        {"name only", heading() + QStringList{u("P1")}, {u("P1") + blanks(6)}, 0},
        {"tab makes one field", heading() + QStringList{u("P1\t1 2")}, {u("P1\t1   2.000   ")}, 0},
        {"indented past column 20 is a baseline", heading() + QStringList{u("P1 1 2"), blanks(20) + u("P2 1 2")},
         {u("P1   1.000   2.000")}, 1},
        {"non-blank at column 20 is a point", heading() + QStringList{blanks(19) + u("P2 1 2")}, {u("P2   1.000   2.000")},
         0},
        {"points only, to the end of the file", heading() + QStringList{u("A 51.2 7.12345"), u("B x 0.5")},
         {u("A   51.200   7.123"), u("B   x   .500")}, 0},
        {"heading cut short", {u("二维平差最后的结果"), u("h")}, {}, 0},
    };
    for (const auto& c : cases) {
        const auto section = readGpsAdjustmentResult(c.lines);
        EXPECT_EQ(gpsPlaneRows(section), c.rows) << c.name;
        EXPECT_EQ(int(gpsBaselines(section).size()), c.baselines) << c.name;
    }
}

TEST(GpsResults, SectionIsReadWhole)
{
    QStringList lines = heading();
    for (int i = 0; i < 6000; ++i)
        lines << u("P%1 %1 %1").arg(i) << blanks(20) + u("P0");
    const auto section = readGpsAdjustmentResult(lines);
    EXPECT_EQ(gpsPlaneRows(section).size(), 6000);
    EXPECT_EQ(gpsBaselines(section).size(), 6000u);
}

TEST(GpsResults, ListLookupAndTraceLine)
{
    const QStringList list = {u("G001   1.000   2.000"), u("g002   3.000   4.000"), u("G002   5.000   6.000"),
                              u("G002   7.000   8.000")};
    EXPECT_FALSE(findListedPoint(list, u("G00")));
    EXPECT_EQ(findListedPoint(list, u("G002"))->x, u("5.000")); // first of two, case counts
    const ListedPoint f = *findListedPoint(sampleRows, u("G001"));
    const ListedPoint t = *findListedPoint(sampleRows, u("G002"));
    EXPECT_EQ(baselineTraceLine({u("G001"), u("G002")}, f, t),
              u("G001G001     3381234.567     519256.789     G002  G002       3381300.100     519300.250"));
}

TEST(GpsResults, PlaneCommandWritesTheListAndSaysSo)
{
    TempHome home;
    test::writeGbkLines(home.path(u("d:\\r.txt")), sampleReport());
    home.answerOpen({home.path(u("d:\\r.txt"))});
    dwar_gpsjx_pmcg_Click(home.context);
    EXPECT_EQ(test::readBytes(watchPath()), test::gbkLines(sampleRows));
    const QJsonObject m = test::lastMessage(home);
    EXPECT_EQ(m.value("text").toString(), u("平面成果输出到Watch.txt文件中！"));
    EXPECT_EQ(m.value("title").toString(), u("提示"));
    EXPECT_EQ(m.value("icon").toString(), u("none"));
    EXPECT_TRUE(home.ui.textWindowFiles().isEmpty());
    const FileDialogRequest& d = home.context.state().commonDialog;
    EXPECT_EQ(d.title, u("选择二维平差计算结果文件"));
    EXPECT_EQ(d.filter, u("数据文件|*.txt"));
}

TEST(GpsResults, PlaneCommandOnAMissingReportShowsTheNumberOnly)
{
    TempHome home;
    writeTextLines(watchPath(), {u("old")});
    home.answerOpen({home.path(u("d:\\none.txt"))});
    dwar_gpsjx_pmcg_Click(home.context);
    const QJsonArray m = home.ui.messages();
    ASSERT_EQ(m.size(), 1);
    EXPECT_EQ(m[0].toObject().value("text").toString(), u("53"));
    EXPECT_EQ(m[0].toObject().value("icon").toString(), u("none"));
    EXPECT_EQ(readTextLines(watchPath()), QStringList{u("old")});
}

TEST(GpsNetwork, DrawsEachBaselineAndLeavesATrace)
{
    CadHost h;
    test::writeGbkLines(h.home.path(u("d:\\r.txt")), sampleReport());
    h.home.answerOpen({h.home.path(u("d:\\r.txt"))});
    dwar_gpsjx_Click(h.home.context);

    EXPECT_EQ(readTextLines(watchPath()), sampleRows);
    const auto all = h.ms().entities();
    ASSERT_EQ(all.size(), 2u);
    for (Entity* e : all)
        ASSERT_EQ(e->kind(), EntityKind::LwPolyline);
    EXPECT_EQ(all[0]->Coordinates(), (std::vector<double>{519256.789, 3381234.567, 519300.25, 3381300.1}));
    EXPECT_EQ(all[1]->Coordinates(), (std::vector<double>{519256.789, 3381234.567, 7.123, 0.5}));
    const QStringList trace = readTextLines(h.home.path(u("d:\\66.txt")));
    ASSERT_EQ(trace.size(), 2);
    EXPECT_EQ(trace[0], u("G001G001     3381234.567     519256.789     G002  G002       3381300.100     519300.250"));
    EXPECT_TRUE(h.app.transcript().endsWith(u("\r\n共处理 2 条基线!")));
    QStringList zooms;
    for (const QString& e : h.app.events())
        if (e.startsWith(u("Zoom")))
            zooms << e.section(QLatin1Char(' '), 0, 0);
    EXPECT_EQ(zooms, (QStringList{u("ZoomWindow"), u("ZoomWindow"), u("ZoomExtents")}));
    EXPECT_GE(h.doc().regenCount(), 1);
    const QJsonObject m = test::lastMessage(h.home);
    EXPECT_EQ(m.value("text").toString(), u("已经完成操作！,生成Watch.txt坐标文件。"));
    EXPECT_EQ(m.value("icon").toString(), u("exclamation"));
}

TEST(GpsNetwork, PointsOnlyAndBaselinesToUnlistedPoints)
{
    {
    CadHost h;
    test::writeGbkLines(h.home.path(u("d:\\r.txt")),
                        heading() + QStringList{blanks(20) + u("G005"), u("G001 1 2"), blanks(20) + u("G007"),
                                                blanks(20) + u("G001")});
    h.home.answerOpen({h.home.path(u("d:\\r.txt"))});
    dwar_gpsjx_Click(h.home.context);

    ASSERT_EQ(h.ms().Count(), 1); // only G001-G001 has both ends listed
    EXPECT_TRUE(h.app.transcript().contains(u("基线-G005的端点不在列表中\r\n")));
    EXPECT_TRUE(h.app.transcript().contains(u("基线G001-G007的端点不在列表中\r\n")));
    EXPECT_EQ(readTextLines(h.home.path(u("d:\\66.txt"))).size(), 1);
    EXPECT_TRUE(h.app.transcript().endsWith(u("共处理 3 条基线!")));
    }
    CadHost points;
    test::writeGbkLines(points.home.path(u("d:\\r.txt")), heading() + QStringList{u("G001 1 2"), u("G002 3 4")});
    points.home.answerOpen({points.home.path(u("d:\\r.txt"))});
    dwar_gpsjx_Click(points.home.context);
    EXPECT_EQ(points.ms().Count(), 0);
    EXPECT_TRUE(points.app.transcript().endsWith(u("共处理 0 条基线!")));
}

TEST(GpsNetwork, NoHostWritesTheListThenSaysSo)
{
    CadHost h;
    h.app.setRunning(false);
    test::writeGbkLines(h.home.path(u("d:\\r.txt")), sampleReport());
    h.home.answerOpen({h.home.path(u("d:\\r.txt"))});
    dwar_gpsjx_Click(h.home.context);
    EXPECT_EQ(readTextLines(watchPath()), sampleRows);
    const QJsonArray m = h.home.ui.messages();
    ASSERT_EQ(m.size(), 1);
    EXPECT_EQ(m[0].toObject().value("text").toString(), u("AutoCAD 没有运行或版本不符合！"));
    EXPECT_FALSE(QFile::exists(h.home.path(u("d:\\66.txt"))));
}

TEST(GpsResults, CancelledDialogsEndSilently)
{
    for (auto run : {dwar_gpsjx_pmcg_Click, dwar_gpsjx_Click}) {
        CadHost h;
        h.answer("button", "Cancel");
        run(h.home.context);
        EXPECT_TRUE(h.home.ui.messages().isEmpty());
        EXPECT_FALSE(QFile::exists(watchPath()));
    }
}
