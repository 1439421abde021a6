// GPS heights: the fitting report's tables, the merged point list and the
// marked point names.
#include "coords/gps_heights.h"

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
using kelvor::test::CadHost;
using kelvor::test::TempHome;
using kelvor::test::u;

namespace {

const QString residualHeader = u("  点号            纬度              经度    大地高    正常高      差值 ");
const QString fittedHeader = u("点号           概略纬度           概略经度      大地高      正常高");

// A residual row: the normal height in characters 52 to 62.
QString residualRow(const QString& name, const QString& height)
{
    return u("  ") + name.leftJustified(51, QLatin1Char(' ')) + height.rightJustified(11, QLatin1Char(' '))
        + u("   0.012");
}

// A fitted row ending with the height in its last 8 characters.
QString fittedRow(const QString& name, const QString& height)
{
    return name + u("   30.1234567   114.1234567   50.123") + height.rightJustified(8, QLatin1Char(' '));
}

QString watchPath()
{
    return paths::scratch(u("watch.txt"));
}

} // namespace

TEST(GpsHeights, MergedLines)
{
    const QString g1 = u("G001   3381234.567   519256.789");
    const struct {
        const char* name;
        QStringList input;
        QStringList report;
        int decimals;
        QStringList out;
        const char* misses;
    } cases[] = {
        {"fitted, two decimals", {g1}, {fittedHeader, u("----"), fittedRow(u("G001"), u(" 45.6789"))}, 2,
         {g1 + u("    45.68")}, ""},
        {"fitted, no decimals keeps the point", {g1}, {fittedHeader, u("----"), fittedRow(u("G001"), u("45.67"))}, 0,
         {g1 + u("    46.")}, ""},
        {"residual wins over fitted", {g1},
         {fittedHeader, u("----"), fittedRow(u("G001"), u("45.67")), u(""), residualHeader,
          residualRow(u("G001"), u("45.123"))},
         2, {g1 + u("    45.123*")}, ""},
        {"empty residual height", {g1}, {residualHeader, residualRow(u("G001"), u(""))}, 2, {g1 + u("    *")}, ""},
        {"names ignore case", {u("g001 1 2")}, {residualHeader, residualRow(u("G001"), u("1.5"))}, 2,
         {u("g001 1 2    1.5*")}, ""},
        {"misses", {u("G005 1 2"), u("G009 1 2")}, {residualHeader, residualRow(u("G001"), u("1.5"))}, 2,
         {u("G005 1 2没找到高程值"), u("G009 1 2没找到高程值")}, ";G005;G009"},
        {"table to the end of the file serves every row", {u("A1   1"), u("A2   1"), u("A3   1")},
         {residualHeader, residualRow(u("A1"), u("1")), residualRow(u("A2"), u("2")), residualRow(u("A3"), u("3"))}, 2,
         {u("A1   1    1*"), u("A2   1    2*"), u("A3   1    3*")}, ""},
        {"two residual tables, found in the first", {g1},
         {residualHeader, residualRow(u("G001"), u("1")), u(""), residualHeader, residualRow(u("G001"), u("2"))}, 2,
         {g1 + u("    1*"), g1 + u("    2*")}, ""},
        {"an empty row ends the whole residual search", {g1},
         {residualHeader, residualRow(u("G002"), u("1")), u(""), residualHeader, residualRow(u("G001"), u("2"))}, 2,
         {g1 + u("没找到高程值")}, ";G001"},
        {"header lines compared trimmed with inner blanks", {g1},
         {u("点号 纬度 经度 大地高 正常高 差值"), residualRow(u("G001"), u("2"))}, 2, {g1 + u("没找到高程值")},
         ";G001"},
    };
    for (const auto& c : cases) {
        QString misses;
        EXPECT_EQ(mergeGpsHeights(c.input, c.report, c.decimals, &misses), c.out) << c.name;
        EXPECT_EQ(misses, u(c.misses)) << c.name;
    }
}

TEST(GpsHeights, LongTablesAreReadWhole)
{
    QStringList report{residualHeader};
    for (int i = 0; i < 900; ++i)
        report << residualRow(u("R%1").arg(i, 3, 10, QLatin1Char('0')), QString::number(i));
    QString misses;
    EXPECT_EQ(mergeGpsHeights({u("R899")}, report, 2, &misses), QStringList{u("R899    899*")});
    EXPECT_EQ(residualTableNames(report).size(), 900);
}

TEST(GpsHeights, ResidualTableNames)
{
    const QStringList report = {u("x"), fittedHeader, u("-"), fittedRow(u("F001"), u("1")), u(""), residualHeader,
                                residualRow(u("g001"), u("1")), residualRow(u("G2"), u("1")), u(" "), residualHeader,
                                residualRow(u("G003"), u("1"))};
    EXPECT_EQ(residualTableNames(report), (QStringList{u("g001"), u("G2")}));
}

TEST(GpsHeights, CommandMergesIntoWatchAndNamesTheMisses)
{
    TempHome home;
    home.settings.WriteSetting(u("QW_GC="), u("2"));
    writeTextLines(watchPath(), {u("G001   3381234.567   519256.789"), u("G005 1 2")});
    test::writeGbkLines(home.path(u("d:\\h.txt")), {fittedHeader, u("-"), fittedRow(u("G001"), u(" 45.6789"))});
    home.answer("button", "Yes");
    home.answerOpen({home.path(u("d:\\h.txt"))});
    dwar_gpsjx_gc_Click(home.context);

    EXPECT_EQ(readTextLines(watchPath()),
              (QStringList{u("G001   3381234.567   519256.789    45.68"), u("G005 1 2没找到高程值")}));
    const QJsonArray m = home.ui.messages();
    ASSERT_EQ(m.size(), 2);
    EXPECT_EQ(m[0].toObject().value("title").toString(), u("操作"));
    EXPECT_EQ(m[0].toObject().value("buttons").toString(), u("YesNoCancel"));
    EXPECT_EQ(m[0].toObject().value("text").toString(),
              paths::shown(paths::scratch(u("watch.txt"))) + u("是否为坐标文件？\r选择{ 否 }则另外选择坐标文件!"));
    EXPECT_EQ(m[1].toObject().value("text").toString(), u("不能找到点:;G005"));
    EXPECT_EQ(m[1].toObject().value("icon").toString(), u("none"));
    EXPECT_EQ(home.ui.textWindowFiles(), QStringList{watchPath()});
    EXPECT_FALSE(QFile::exists(home.path(u("d:\\bak.txt"))));
}

TEST(GpsHeights, CommandWithAnotherInputAndItsEnds)
{
    const struct {
        const char* name;
        QStringList input;
        bool cancelFirst;
        const char* message; // the last box, "" for none
        QStringList watch;
    } cases[] = {
        {"other input", {u("G001 1 2")}, false, "", {u("G001 1 2    1*")}},
        {"empty input", {}, false, "文件结构不正确！", {u("old")}},
        {"cancelled", {u("G001 1 2")}, true, "", {u("old")}},
    };
    for (const auto& c : cases) {
        TempHome home;
        writeTextLines(watchPath(), {u("old")});
        test::writeGbkLines(home.path(u("d:\\in.txt")), c.input);
        test::writeGbkLines(home.path(u("d:\\h.txt")), {residualHeader, residualRow(u("G001"), u("1"))});
        if (c.cancelFirst) {
            home.answer("button", "Cancel");
        } else {
            home.answer("button", "No");
            home.answerOpen({home.path(u("d:\\in.txt"))});
            home.answerOpen({home.path(u("d:\\h.txt"))});
        }
        dwar_gpsjx_gc_Click(home.context);
        const QJsonArray m = home.ui.messages();
        EXPECT_EQ(m.size() > 1 ? m.last().toObject().value("text").toString() : QString(), u(c.message)) << c.name;
        EXPECT_EQ(readTextLines(watchPath()), c.watch) << c.name;
        EXPECT_EQ(test::readBytes(home.path(u("d:\\in.txt"))), test::gbkLines(c.input)) << c.name;
    }
}

TEST(GpsMarks, FirstMatchingTextGetsAStar)
{
    CadHost h;
    Entity* lower = h.ms().AddText(u("g001"), {0, 0, 0}, 1);
    Entity* upper = h.ms().AddText(u("G001"), {1, 0, 0}, 1);
    Entity* blank = h.ms().AddText(u(" G002"), {2, 0, 0}, 1);
    h.ms().AddMText({3, 0, 0}, 10, u("G003"));
    test::writeGbkLines(h.home.path(u("d:\\h.txt")),
                        {residualHeader, residualRow(u("G001"), u("1")), residualRow(u("G002"), u("1")),
                         residualRow(u("G003"), u("1"))});
    h.home.answerOpen({h.home.path(u("d:\\h.txt"))});
    dwar_gpsjx_nh_Click(h.home.context);

    EXPECT_EQ(lower->TextString(), u("g001*"));
    EXPECT_EQ(upper->TextString(), u("G001"));
    EXPECT_EQ(blank->TextString(), u(" G002"));
    EXPECT_TRUE(h.app.transcript().contains(u("计算机正在处理数据,请稍候......")));
    EXPECT_TRUE(h.app.transcript().endsWith(u("\r共处理了 1个数据")));
    QJsonObject m = test::lastMessage(h.home);
    EXPECT_EQ(m.value("text").toString(), u("共处理的数据有 1 个！\r\n没找到的点号为:G002   G003"));
    EXPECT_EQ(m.value("title").toString(), u("说明"));
    EXPECT_EQ(m.value("icon").toString(), u("critical"));

    // a second run: g001* no longer matches, G001 does
    h.home.answerOpen({h.home.path(u("d:\\h.txt"))});
    dwar_gpsjx_nh_Click(h.home.context);
    EXPECT_EQ(lower->TextString(), u("g001*"));
    EXPECT_EQ(upper->TextString(), u("G001*"));

    // a third run marks nothing and names every point
    h.home.answerOpen({h.home.path(u("d:\\h.txt"))});
    dwar_gpsjx_nh_Click(h.home.context);
    m = test::lastMessage(h.home);
    EXPECT_EQ(m.value("text").toString(), u("共处理的数据有 0 个！\r\n没找到的点号为:G001   G002   G003"));
}

TEST(GpsMarks, AllFoundAndNoHost)
{
    {
    CadHost h;
    h.ms().AddText(u("G001"), {0, 0, 0}, 1);
    test::writeGbkLines(h.home.path(u("d:\\h.txt")), {residualHeader, residualRow(u("G001"), u("1"))});
    h.home.answerOpen({h.home.path(u("d:\\h.txt"))});
    dwar_gpsjx_nh_Click(h.home.context);
    QJsonObject m = test::lastMessage(h.home);
    EXPECT_EQ(m.value("text").toString(), u("全部的数据已处理,共 1 个！"));
    EXPECT_EQ(m.value("icon").toString(), u("exclamation"));
    }
    CadHost stopped;
    stopped.app.setRunning(false);
    stopped.home.answerOpen({stopped.home.path(u("d:\\h.txt"))});
    dwar_gpsjx_nh_Click(stopped.home.context);
    const QJsonObject m = test::lastMessage(stopped.home);
    EXPECT_EQ(m.value("text").toString(), u("AutoCAD 没有运行或版本不符合！"));
    EXPECT_EQ(stopped.home.ui.messages().size(), 1);
}
