#include "quelt/coordinate_table.h"

#include "platform/paths.h"
#include "platform/text_file.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonObject>

using namespace kelvor;
using kelvor::test::TempHome;

namespace {

const QString Plane = QStringLiteral("d:\\q\\P1\\P1.OU");
const QString Height = QStringLiteral("d:\\q\\P1\\P1H.OUT");
const QString Table = QStringLiteral("d:\\q\\P1\\P1.XYH");

struct Fixture {
    TempHome home;
    Fixture(const QString& heightFixture = QStringLiteral("P1H.OUT"))
    {
        home.settings.WriteSetting("QW_PM=", "3");
        home.settings.WriteSetting("QW_GC=", "2");
        put(Plane, QStringLiteral("P1.OU"));
        put(Height, heightFixture);
    }
    void put(const QString& to, const QString& fixtureName)
    {
        QDir().mkpath(QFileInfo(home.path(to)).absolutePath());
        QFile::remove(home.path(to));
        ASSERT_TRUE(QFile::copy(test::fixture("fixtures/" + fixtureName), home.path(to)));
    }
    void run(const QString& orientation, const QString& header, const QString& plane = Plane,
             const QString& height = Height)
    {
        home.answer("button", orientation);
        home.answer("button", header);
        quelt::makeCoordinateTable(home.context, plane, height);
    }
    QStringList script() const { return readTextLines(paths::programDir() + "/ZD.scr"); }
    QStringList watch() const { return readTextLines(paths::scratch("watch.txt")); }
    QString lastMessage() const { return home.ui.messages().last().toObject().value("text").toString(); }
};

const QStringList rows = {
    "B         3300.000     2300.000     10.50", // the later of B's two height lines
    "P1        3456.124     789.200     12.35",
    "P2        3600.500     900.250     13.00",
    "C         3700.000     1000.000     14.50",
};

QStringList labels(const QString& at, const QString& name)
{
    return {"TEXt", at, "10", "0", name};
}

TEST(QueltCoordinateTable, RowsWatchListAndPlotScriptFromTheResults)
{
    Fixture f;
    f.run("No", "No");
    EXPECT_EQ(readTextLines(Table), rows);
    EXPECT_EQ(f.watch(), rows);
    EXPECT_EQ(f.script(), QStringList({"pline", "789.2,3456.1237", "900.25,3600.5", "1000.000,3700.000", ""}) +
                              labels("789.2,3456.1237", "P1        ") + labels("900.25,3600.5", "P2        ") +
                              labels("1000.000,3700.000", "C         "));
    EXPECT_EQ(f.home.ui.textWindowFiles(), QStringList{Table});
    const QJsonObject q = f.home.ui.messages().first().toObject();
    EXPECT_EQ(q.value("title").toString(), QStringLiteral("定向点"));
    EXPECT_TRUE(q.value("text").toString().endsWith(QStringLiteral("\r是否生成定向点的数据！！！(不推荐)")));
}

TEST(QueltCoordinateTable, HeaderAndOrientationLinesFrameTheRows)
{
    const QString header = QStringLiteral(" 点名          X坐标         Y坐标          H高程");
    const QString start = QStringLiteral("A    3100.000    2100.000    (定向点)");
    const QString end = QStringLiteral("D    3500.000     2500.000      (定向点)");
    const struct {
        QString orientation, header;
        QStringList table;
    } cases[] = {
        {"No", "Yes", QStringList{header} + rows},
        {"Yes", "No", QStringList{start} + rows + QStringList{end}},
        {"Yes", "Yes", QStringList{header, start} + rows + QStringList{end}},
    };
    for (const auto& c : cases) {
        Fixture f;
        f.run(c.orientation, c.header);
        EXPECT_EQ(readTextLines(Table), c.table) << c.orientation.toStdString() << c.header.toStdString();
        EXPECT_EQ(f.watch(), c.table);
        EXPECT_EQ(f.script().size(), 5 + 15) << "the script never takes the orientation points";
    }
}

TEST(QueltCoordinateTable, DecimalsFollowTheSettingsWhileTheScriptKeepsTheFileTexts)
{
    Fixture f;
    f.home.settings.WriteSetting("QW_PM=", "2");
    f.home.settings.WriteSetting("QW_GC=", "3");
    f.run("No", "No");
    EXPECT_EQ(readTextLines(Table).value(1), QStringLiteral("P1        3456.12     789.20     12.346"));
    EXPECT_EQ(f.script().value(1), QStringLiteral("789.2,3456.1237"));
}

TEST(QueltCoordinateTable, HeightFileNamedInAnyCaseIsFound)
{
    Fixture f;
    f.run("No", "No", Plane, QStringLiteral("d:\\Q\\p1\\P1H.ouT"));
    EXPECT_EQ(readTextLines(Table), rows);
}

TEST(QueltCoordinateTable, HeightFileMissingAPointStopsAfterTheRowsBeforeIt)
{
    Fixture f(QStringLiteral("P1H_noP2.OUT"));
    f.run("No", "No");
    EXPECT_EQ(f.lastMessage(), QStringLiteral("系统检测到该文件不是正确的高程数据文件，请核准！！"));
    EXPECT_EQ(readTextLines(Table), rows.mid(0, 2));
    EXPECT_EQ(f.watch(), rows.mid(0, 2));
    EXPECT_EQ(f.script(), QStringList({"pline", "789.2,3456.1237"}));
    EXPECT_TRUE(f.home.ui.textWindowFiles().isEmpty());
}

TEST(QueltCoordinateTable, FirstPointWithoutHeightGetsAnEmptyOne)
{
    Fixture f;
    writeTextLines(Height, {"P1         0.003   12.3456", "P2        -0.002   13.0004", "C          0.000   14.5000"});
    f.run("No", "No");
    EXPECT_EQ(readTextLines(Table).value(0), QStringLiteral("B         3300.000     2300.000     "));
}

QStringList planeWith(const QStringList& section)
{
    QStringList l = readTextLines(test::fixture("fixtures/P1.OU"));
    l = l.mid(0, l.indexOf(QStringLiteral("                 平  差  成  果")) + 1);
    return l + section;
}

TEST(QueltCoordinateTable, SectionShapes)
{
    // One point: its row, and a script with no points.
    {
        Fixture f;
        writeTextLines(Plane, planeWith({"B", "X= 1.5  Y=  2.5"}));
        f.run("No", "No");
        EXPECT_EQ(readTextLines(Table), QStringList{"B         1.500     2.500     10.50"});
        EXPECT_EQ(f.script(), QStringList({"pline", ""}));
    }
    // Blank lines after the results are no further point.
    {
        Fixture f;
        writeTextLines(Plane, planeWith({"B", "X= 1.5  Y=  2.5", "C", "--", "X= 3  Y=  4", "", "   ", ""}));
        f.run("No", "No");
        EXPECT_EQ(readTextLines(Table).size(), 2);
        EXPECT_EQ(f.home.ui.textWindowFiles(), QStringList{Table});
    }
    // More than twenty points all reach the table and the script.
    {
        Fixture f;
        QStringList section{"B", "X= 1  Y=  1"};
        QStringList heights{"B          0.000   10.0000"};
        for (int i = 1; i <= 25; ++i) {
            section << QStringLiteral("N%1").arg(i) << "--" << QStringLiteral("X= %1  Y=  %2").arg(100 + i).arg(i);
            heights << QStringLiteral("N%1").arg(i).leftJustified(8, ' ') + "   0.000   10.0000";
        }
        writeTextLines(Plane, planeWith(section));
        writeTextLines(Height, heights);
        f.run("No", "No");
        EXPECT_EQ(readTextLines(Table).size(), 26);
        EXPECT_EQ(readTextLines(Table).last(), QStringLiteral("N25       125.000     25.000     10.00"));
        EXPECT_EQ(f.script().size(), 1 + 25 + 1 + 25 * 5);
    }
}

TEST(QueltCoordinateTable, NameOfTenCharactersIsFollowedAtOnceByX)
{
    Fixture f;
    writeTextLines(Plane, planeWith({"B", "X= 1.5  Y=  2.5", "GPS1234567", "--", "X= 3  Y=  4"}));
    writeTextLines(Height, {"B          0.000   10.0000", "GPS12345   0.000   11.0000"});
    // The height result names only eight characters: no match for the long name.
    f.run("No", "No");
    EXPECT_EQ(f.lastMessage(), QStringLiteral("系统检测到该文件不是正确的高程数据文件，请核准！！"));

    Fixture g;
    writeTextLines(Plane, planeWith({"ABCDEFGHIJ", "X= 1.5  Y=  2.5"}));
    g.run("No", "No");
    EXPECT_EQ(readTextLines(Table), QStringList{"ABCDEFGHIJ1.500     2.500     "});
}

TEST(QueltCoordinateTable, FaultyInputsStopWithTheirMessages)
{
    const QString general = QStringLiteral("错误的文件或文件名！");
    const struct {
        QString plane;          // the box's text
        QStringList planeLines; // written when not empty
        QString message;
        int questions; // asked before the message
    } cases[] = {
        {"", {}, QStringLiteral("文件名不能为空！"), 0},
        {"   ", {}, QStringLiteral("文件名不能为空！"), 0},
        {"d:\\q\\P1\\P1", {}, general, 0},
        {"d:\\q\\P1\\missing.OU", {}, general, 2},
        {Plane, {"导 线 平 差 计 算", "no results here"}, QStringLiteral("系统检测到该文件不是正确的导线文件，请核准！！"), 2},
        {Plane, planeWith({"B", "X= 1.5  Y=  2.5", "C", "--"}), general, 2},
        {Plane, planeWith({"B", "X= 1.5  Z=  2.5"}), general, 2},
    };
    for (const auto& c : cases) {
        Fixture f;
        if (!c.planeLines.isEmpty())
            writeTextLines(Plane, c.planeLines);
        if (c.questions) {
            f.home.answer("button", "No");
            f.home.answer("button", "No");
        }
        quelt::makeCoordinateTable(f.home.context, c.plane, Height);
        EXPECT_EQ(f.lastMessage(), c.message) << c.plane.toStdString();
        EXPECT_EQ(f.home.ui.messages().size(), c.questions + 1) << c.plane.toStdString();
        EXPECT_EQ(f.script().value(0), QStringLiteral("pline"));
        EXPECT_TRUE(f.home.ui.textWindowFiles().isEmpty());
    }
}

TEST(QueltCoordinateTable, DecimalsSettingThatIsNoNumberStops)
{
    Fixture f;
    f.home.settings.WriteSetting("QW_PM=", "");
    f.run("No", "No");
    EXPECT_EQ(f.lastMessage(), QStringLiteral("错误的文件或文件名！"));
    EXPECT_TRUE(readTextLines(Table).isEmpty());
}

} // namespace
