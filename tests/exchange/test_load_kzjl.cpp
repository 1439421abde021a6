#include "exchange/load_kzjl.h"
#include "exchange/loaders_commands.h"

#include "platform/commands.h"
#include "platform/text_file.h"
#include "sheet_cells.h"
#include "test_support.h"
#include "traverse/sheet.h"

#include <gtest/gtest.h>

#include <QJsonObject>

using namespace kelvor;
using kelvor::exchange::fillSheetFromKzjl;
using kelvor::exchange::KzjlLoad;
using kelvor::traverse::TraverseSheet;
using kelvor::test::Cell;
using kelvor::test::expectCells;
using kelvor::test::t1;
using kelvor::test::t5;

namespace {

QStringList sixStations()
{
    return readTextLines(test::fixture("fixtures/loaders/kzjl_six.txt"));
}

// Every text of the sheet, to compare whole sheets.
QStringList snapshot(const TraverseSheet& sheet)
{
    QStringList all;
    for (int i = 0; i < TraverseSheet::KnownCells; ++i)
        all << sheet.text1(i);
    for (int i = 0; i < TraverseSheet::StationCells; ++i)
        all << sheet.text5(i);
    return all;
}

void preset(TraverseSheet& sheet)
{
    for (int i = 0; i < TraverseSheet::KnownCells; ++i)
        sheet.setText1(i, QStringLiteral("k%1").arg(i));
    for (int i = 0; i < TraverseSheet::StationCells; ++i)
        sheet.setText5(i, QStringLiteral("c%1").arg(i));
}

const QString Bar = QString(30, QChar(0x2501)); // the report's "━" rule

// A report of n stations S1..Sn: station records and angle blocks (angle
// "<i>.0000", back sight S<i-1>, fore sight S<i+1>), optionally a vertical
// block per station (instrument 1.5; +5 back 0.1000 at 1.6, +6 fore 0.2000
// at 1.7) and a one-distance block (100 + i) closing each station but the
// last, whose "━" is the next station's record.
QStringList report(int n, bool verticals = false, bool distances = false)
{
    QStringList lines;
    for (int i = 1; i <= n; ++i) {
        lines << QStringLiteral("━━━━━━") << QStringLiteral("测站：S%1").arg(i);
        lines << QStringLiteral("测回数：1") << QStringLiteral("测回 照准点")
              << QStringLiteral("1%1").arg(QStringLiteral("S%1").arg(i - 1), -17)
              << QStringLiteral("%1%2").arg(QStringLiteral("S%1").arg(i + 1), -10).arg(
                     QStringLiteral("%1.0000").arg(i), 11);
        if (verticals)
            lines << QStringLiteral("垂 直 角 观 测 记 录") << QStringLiteral("-")
                  << QStringLiteral("仪器高%1").arg(QStringLiteral("1.5"), 35) << QStringLiteral("-")
                  << QStringLiteral("-")
                  << QStringLiteral("B%1%2%3").arg(QString(), -35).arg(QStringLiteral("1.6"), -12).arg(
                         QStringLiteral("0.1000"), 9)
                  << QStringLiteral("F%1%2%3").arg(QString(), -35).arg(QStringLiteral("1.7"), -12).arg(
                         QStringLiteral("0.2000"), 9);
        if (distances && i < n)
            lines << QStringLiteral("距 离 观 测 记 录") << QStringLiteral("-") << QStringLiteral("-")
                  << QStringLiteral("-") << QStringLiteral("平均距离%1").arg(100 + i, 10);
    }
    return lines;
}

const std::vector<Cell> SixStations = {
    t1(3, "B"), t1(10, "C"), t1(0, "A"), t1(7, "D"),
    t5(0, "B"), t5(9, "P1"), t5(18, "P2"), t5(27, "P3"), t5(36, "P4"), t5(45, ""),
    t5(1, "0.00000"), t5(10, "200.12300"), t5(19, "150.00000"), t5(28, "190.10100"), t5(37, "178.59590"),
    t5(46, ""), t5(108, "C"), t5(109, "95.30200"),
    // distances reduced by the sight tables; the last station's own row has none
    t5(2, "125.281"), t5(11, "199.970"), t5(20, "149.994"), t5(29, "179.998"), t5(38, "99.485"), t5(47, ""),
    // fore sights: row 0 from the first vertical block's +5, later rows from +6
    t5(3, "2.3000"), t5(4, "1.450"), t5(5, "1.600"),
    t5(12, "-1.0000"), t5(13, "1.520"), t5(14, "1.620"),
    t5(21, "0.3000"), t5(22, "1.530"), t5(23, "1.640"),
    t5(30, "-0.1500"), t5(31, "1.540"), t5(32, "1.660"),
    t5(39, "1.0000"), t5(40, "1.550"), t5(41, "1.680"),
    t5(48, ""), t5(49, ""), t5(50, ""),
    // back sights from the next station's +5
    t5(6, "-2.2950"), t5(7, "1.520"), t5(8, "1.610"),
    t5(15, "1.0010"), t5(16, "1.530"), t5(17, "1.630"),
    t5(24, "-0.2959"), t5(25, "1.540"), t5(26, "1.650"),
    t5(33, "0.1459"), t5(34, "1.550"), t5(35, "1.670"),
    t5(42, "-0.5959"), t5(43, "1.480"), t5(44, "1.690"),
};

} // namespace

TEST(KzjlLoad, SixStationsFillTheSheet)
{
    test::TempHome home;
    TraverseSheet sheet;
    sheet.setText5(54, QStringLiteral("kept"));
    const KzjlLoad load = fillSheetFromKzjl(sheet, sixStations(), home.ui);
    EXPECT_EQ(load.outcome, KzjlLoad::Loaded) << load.reason.toStdString();
    expectCells(sheet, SixStations);
    EXPECT_EQ(sheet.text5(54), QStringLiteral("kept"));
    EXPECT_TRUE(home.ui.messages().isEmpty());
}

TEST(KzjlLoad, RepeatedStationAsks)
{
    const QString question = QStringLiteral("发现重复测站：P2\r\n是否继续？");
    const QStringList report = readTextLines(test::fixture("fixtures/loaders/kzjl_repeat.txt"));
    {
        // No: the sheet stays as it was.
        test::TempHome home;
        TraverseSheet sheet;
        preset(sheet);
        const QStringList before = snapshot(sheet);
        home.answer(QStringLiteral("button"), QStringLiteral("No"));
        EXPECT_EQ(fillSheetFromKzjl(sheet, report, home.ui).outcome, KzjlLoad::Declined);
        EXPECT_EQ(snapshot(sheet), before);
        const QJsonArray m = home.ui.messages();
        ASSERT_EQ(m.size(), 1);
        EXPECT_EQ(m[0].toObject()[QStringLiteral("text")].toString(), question);
        EXPECT_EQ(m[0].toObject()[QStringLiteral("title")].toString(), QStringLiteral("提示"));
        EXPECT_EQ(m[0].toObject()[QStringLiteral("icon")].toString(), QStringLiteral("critical"));
        EXPECT_EQ(m[0].toObject()[QStringLiteral("buttons")].toString(), QStringLiteral("YesNo"));
    }
    {
        // Yes: P2 in two rows.
        test::TempHome home;
        TraverseSheet sheet;
        home.answer(QStringLiteral("button"), QStringLiteral("Yes"));
        EXPECT_EQ(fillSheetFromKzjl(sheet, report, home.ui).outcome, KzjlLoad::Loaded);
        expectCells(sheet, {t5(18, "P2"), t5(27, "P2"), t5(108, "C")});
    }
    {
        // The same name in records that are not consecutive asks nothing.
        test::TempHome home;
        TraverseSheet sheet;
        QStringList lines = sixStations();
        const qsizetype p3 = lines.indexOf(QStringLiteral("测站：%1仪器：TS02").arg(QStringLiteral("P3"), -10));
        ASSERT_GT(p3, 0);
        lines[p3] = QStringLiteral("测站：%1仪器：TS02").arg(QStringLiteral("P1"), -10);
        EXPECT_EQ(fillSheetFromKzjl(sheet, lines, home.ui).outcome, KzjlLoad::Loaded);
        EXPECT_TRUE(home.ui.messages().isEmpty());
        EXPECT_EQ(sheet.text5(27), QStringLiteral("P1"));
    }
}

TEST(KzjlLoad, StopsEarlyKeepingWhatWasLoaded)
{
    const QStringList six = sixStations();
    // Every line starting with the marker made plain text.
    auto without = [&](const QString& marker) {
        QStringList l = six;
        for (QString& s : l)
            if (s.trimmed().startsWith(marker))
                s = QStringLiteral("x");
        return l;
    };
    auto cutAfter = [&](const QString& marker, int keep) {
        const qsizetype at = six.lastIndexOf(marker);
        return six.mid(0, at + 1 + keep);
    };
    struct Case {
        const char* what;
        QStringList lines;
        const char* reason;
        std::vector<Cell> cells; // what stays
    };
    const Case cases[] = {
        {"no station record", report(0) << QStringLiteral("距 离 观 测 记 录"), "没有找到测站记录",
         {t5(0, "c0"), t1(3, "k3")}},
        {"no angle block", without(QStringLiteral("测回")), "没有找到水平角观测记录",
         {t5(0, "B"), t5(108, "C"), t1(10, "C"), t5(1, "c1"), t1(0, "k0")}},
        {"no distance block", without(QStringLiteral("距 离 观 测 记 录")), "没有找到距离观测记录",
         {t5(0, "B"), t5(109, "95.30200"), t1(7, "D"), t5(2, "c2"), t5(3, "c3")}},
        {"no vertical block", without(QStringLiteral("垂 直 角 观 测 记 录")), "没有找到垂直角观测记录",
         {t5(2, "125.400"), t5(38, "99.500"), t5(47, ""), t5(3, "c3")}},
        {"station record cut", six.mid(0, six.lastIndexOf(Bar) + 1),
         "测站记录不完整", {t5(0, "c0")}},
        {"distance block cut", cutAfter(QStringLiteral("距 离 观 测 记 录"), 3), "距离观测记录不完整",
         {t5(108, "C"), t5(2, "125.400"), t5(47, "c47"), t5(3, "c3")}},
        {"sight table cut in +4 to +7",
         cutAfter(QStringLiteral("照准点   测回   盘左读数   盘右读数   指标差   垂直角"), 5), "照准点记录不完整",
         {t5(2, "125.281"), t5(11, "199.970"), t5(20, "149.994"), t5(38, "99.500"), t5(42, "-0.5959")}},
        {"fourteen stations", report(14), "测站记录超过13个",
         {t5(99, "S12"), t5(108, "S13"), t1(3, "S1"), t1(10, "k10"), t5(1, "c1")}},
    };
    for (const Case& c : cases) {
        test::TempHome home;
        TraverseSheet sheet;
        preset(sheet);
        const KzjlLoad load = fillSheetFromKzjl(sheet, c.lines, home.ui);
        EXPECT_EQ(load.outcome, KzjlLoad::Stopped) << c.what;
        EXPECT_TRUE(load.reason.contains(QString::fromUtf8(c.reason))) << c.what << ": " << load.reason.toStdString();
        SCOPED_TRACE(c.what);
        expectCells(sheet, c.cells);
    }
}

TEST(KzjlLoad, ThirteenStationsFillTheLastStationDirectly)
{
    test::TempHome home;
    TraverseSheet sheet;
    const QStringList lines = report(13, true, true);
    const KzjlLoad load = fillSheetFromKzjl(sheet, lines, home.ui);
    EXPECT_EQ(load.outcome, KzjlLoad::Loaded) << load.reason.toStdString();
    expectCells(sheet, {t5(99, "S12"), t5(100, "12.0000"), t5(108, "S13"), t5(109, "13.0000"), t1(10, "S13"),
                        t1(7, "S14"), t5(101, "112"), t5(102, "0.2000"), t5(105, "0.1000"), t5(106, "1.5"),
                        t5(107, "1.6")});
}

TEST(KzjlLoad, ReductionRules)
{
    // Sight table rows: target name in characters 1 to 8, vertical angle in
    // the last 10.
    auto sight = [](const char* name, const char* angle) {
        return QStringLiteral("%1   1   90.00000%2").arg(QString::fromUtf8(name), -8).arg(QString::fromUtf8(angle), 10);
    };
    auto table = [&](const QString& s1, const QString& s2, const char* s8) {
        return QStringList{QStringLiteral("照准点   测回   盘左读数   盘右读数"), QStringLiteral("-"), s1, s2,
                           QStringLiteral("-"), QStringLiteral("-"), QStringLiteral("-"), QStringLiteral("-"),
                           sight(s8, "0"), QStringLiteral("-")};
    };
    // Six stations; rows 0 to 3 hold the distances 100, 200, 300, 400.
    QStringList base = report(6, true);
    base << QStringLiteral("距 离 观 测 记 录") << QStringLiteral("-") << QStringLiteral("-")
         << QStringLiteral("-") << QStringLiteral("100") << QStringLiteral("200")
         << QStringLiteral("距 离 观 测 记 录") << QStringLiteral("-") << QStringLiteral("-")
         << QStringLiteral("-") << QStringLiteral("300") << QStringLiteral("400");

    struct Case {
        const char* what;
        QStringList tables;
        std::vector<Cell> cells;
    };
    const Case cases[] = {
        {"S1 and S2 reduced, next table two rows on",
         table(sight("S0", "60"), sight("S2", "0"), "S0") + table(sight("S2", "60"), sight("S3", "60"), "S2"),
         {t5(2, "50.000"), t5(11, "200.000"), t5(20, "150.000"), t5(29, "200.000")}},
        {"S2 beginning with 距 is not reduced, yet the counter moves two",
         table(sight("S0", "60"), QStringLiteral("距离 200"), "S0") + table(sight("S2", "60"), sight("S3", "0"), "S2"),
         {t5(2, "50.000"), t5(11, "200"), t5(20, "150.000"), t5(29, "400.000")}},
        {"S2 matching S8 reduces the row the counter stands on",
         table(sight("S0", "0"), sight("S9", "60"), "S9"),
         {t5(2, "50.000"), t5(11, "200")}},
        {"no match reduces nothing", table(sight("S0", "60"), sight("S2", "60"), "X"),
         {t5(2, "100"), t5(11, "200")}},
        {"a table cut before S8 reduces nothing",
         table(sight("S0", "60"), sight("S2", "60"), "S0").mid(0, 8), {t5(2, "100"), t5(11, "200")}},
    };
    for (const Case& c : cases) {
        test::TempHome home;
        TraverseSheet sheet;
        const KzjlLoad load = fillSheetFromKzjl(sheet, base + c.tables, home.ui);
        EXPECT_EQ(load.outcome, KzjlLoad::Loaded) << c.what << ": " << load.reason.toStdString();
        SCOPED_TRACE(c.what);
        expectCells(sheet, c.cells);
    }

    // A vertical angle that is no number rewrites the distance unreduced,
    // after DmsToDegrees's message.
    {
        test::TempHome home;
        TraverseSheet sheet;
        EXPECT_EQ(fillSheetFromKzjl(sheet, base + table(sight("S0", "x"), sight("S2", "0"), "S0"), home.ui).outcome,
                  KzjlLoad::Loaded);
        expectCells(sheet, {t5(2, "100.000"), t5(11, "200.000")});
        ASSERT_EQ(home.ui.messages().size(), 1);
        EXPECT_EQ(home.ui.messages()[0].toObject()[QStringLiteral("text")].toString(), QStringLiteral("错误！！"));
    }
    // An empty Distance the reduction reaches becomes 0.000.
    {
        test::TempHome home;
        TraverseSheet sheet;
        const QStringList tables = table(sight("S0", "0"), sight("S2", "0"), "S0")
            + table(sight("S2", "0"), sight("S3", "0"), "S2") + table(sight("S4", "0"), sight("S5", "0"), "S4");
        EXPECT_EQ(fillSheetFromKzjl(sheet, base + tables, home.ui).outcome, KzjlLoad::Loaded);
        expectCells(sheet, {t5(29, "400.000"), t5(38, "0.000"), t5(47, "0.000")});
    }
}

TEST(KzjlCommand, LoadsThenLooksUpOrReportsAStop)
{
    test::TempHome home;
    TraverseSheet sheet;
    home.context.setSheet(&sheet);
    home.settings.WriteSetting(QStringLiteral("已知点成果="), QStringLiteral("d:\\yzdcg.txt"));
    test::writeGbk(QStringLiteral("d:\\yzdcg.txt"), QStringLiteral("B 1 2 3\r\nC 4 5 6\r\n"));

    CommandRegistry registry;
    exchange::registerLoaderCommands(registry);
    home.answerOpen({test::fixture("fixtures/loaders/kzjl_six.txt")});
    ASSERT_TRUE(registry.run(QStringLiteral("callcassdxmenu"), home.context));
    const QJsonObject dialog = home.ui.events()[0].toObject();
    EXPECT_EQ(dialog[QStringLiteral("title")].toString(), QStringLiteral("选择南方控制精灵数据"));
    EXPECT_EQ(dialog[QStringLiteral("filter")].toString(), QStringLiteral("文本文件(*.txt)|*.txt"));
    expectCells(sheet, SixStations);
    expectCells(sheet, {t1(4, "1"), t1(5, "2"), t1(6, "3"), t1(11, "4"), t1(12, "5"), t1(13, "6")});
    EXPECT_TRUE(home.ui.messages().isEmpty());

    // A report without vertical blocks: the message, and no lookup.
    TraverseSheet second;
    home.context.setSheet(&second);
    QStringList lines = sixStations();
    lines.removeAll(QStringLiteral("垂 直 角 观 测 记 录"));
    test::writeGbk(QStringLiteral("d:\\nov.txt"), lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
    home.answerOpen({home.path(QStringLiteral("d:\\nov.txt"))});
    ASSERT_TRUE(registry.run(QStringLiteral("removekzjlsj"), home.context));
    const QJsonArray m = home.ui.messages();
    ASSERT_EQ(m.size(), 1);
    EXPECT_EQ(m[0].toObject()[QStringLiteral("text")].toString(),
              QStringLiteral("控制精灵数据没有全部调入：没有找到垂直角观测记录。\r\n已调入的数据保留在表中。"));
    EXPECT_EQ(m[0].toObject()[QStringLiteral("title")].toString(), QStringLiteral("错误"));
    EXPECT_EQ(m[0].toObject()[QStringLiteral("icon")].toString(), QStringLiteral("critical"));
    EXPECT_EQ(second.text5(0), QStringLiteral("B"));
    EXPECT_EQ(second.text1(4), QString());

    // Cancel ends silently.
    home.ui.clearRecord();
    home.answerOpen({});
    exchange::callcassdxmenu_Click(home.context);
    EXPECT_TRUE(home.ui.messages().isEmpty());
}
