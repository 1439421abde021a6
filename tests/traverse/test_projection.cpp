#include "test_adjust_support.h"

#include "traverse/projection.h"

#include "routines/routines.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace kelvor;
using namespace kelvor::traverse;

namespace {

const QString kQuestion = QStringLiteral("在进行投高斯投影改化前需使用“导线平差”计算后才能进行，是否继续？\r\n"
                                         "计算公式：Do=D*(1+((Y1+Y2)/2-500)^2)/(2*Rm^2))\r\n"
                                         "D:实测平距 Do:改正后平距 Rm=6363.700  Y1、Y2以公里为单位");

struct Projection {
    test::TempHome home;
    TraverseSheet sheet;
    Projection()
    {
        home.context.setSheet(&sheet);
        // Rows B, P1 and the last station C.
        sheet.clearSheet();
        sheet.setText5(0, QStringLiteral("B"));
        sheet.setText5(2, QStringLiteral("1000"));
        sheet.setText5(9, QStringLiteral("P1"));
        sheet.setText5(11, QStringLiteral("250.5"));
        sheet.setText5(108, QStringLiteral("C "));
        for (int r = 2; r < TraverseSheet::Rows; ++r)
            sheet.setRowVisible(r, false);
    }
    QString watch() const { return paths::scratch(QStringLiteral("watch.txt")); }
    void writeWatch(const QStringList& lines) { writeTextLines(watch(), lines); }
};

} // namespace

TEST(Projection, ReducesADistanceAtTheMeanEasting)
{
    struct Case {
        double D, y0, y1;
        const char* expected;
    } cases[] = {
        {1000, 520000, 520000, "1000.005"},
        {1000, 480000, 480000, "1000.005"},
        {1000, 500000, 500000, "1000.000"},
        {0, 520000, 520000, ".000"},
        {250.5, 519000, 521000, "250.501"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatPattern(projectedDistance(c.D, c.y0, c.y1), QStringLiteral("###.000")),
                  QString::fromLatin1(c.expected))
            << c.D << " " << c.y0;
}

TEST(Projection, CorrectsTheSheetAndReplacesWatchWithItsReport)
{
    Projection p;
    p.writeWatch({QStringLiteral("B   3381500.000   520000.000   45.678"),
                  QStringLiteral("P1        3381420.000   520000.000    47.10"),
                  QStringLiteral("C   3381280.432   521000.000   48.321")});
    p.home.answer(QStringLiteral("button"), QStringLiteral("Yes"));
    bianchangtaoyinggai_Click(p.home.context);

    ASSERT_EQ(test::messageTexts(p.home.ui), QStringList{kQuestion});
    EXPECT_EQ(test::messageTitle(p.home.ui, 0), QStringLiteral("重要提示"));
    EXPECT_EQ(p.sheet.text5(2), QStringLiteral("1000.005"));
    EXPECT_EQ(p.sheet.text5(11), QStringLiteral("250.501"));
    // the corrected distances show red; nothing else does
    EXPECT_TRUE(p.sheet.cellRed(2));
    EXPECT_TRUE(p.sheet.cellRed(11));
    EXPECT_FALSE(p.sheet.cellRed(1));

    const QStringList expected = {
        QStringLiteral("成果报告："),
        QStringLiteral("--------------------------边 长 投 影 改 化 ------------------------"),
        QStringLiteral("     方  向          ( Y0 )     ( Y1 )     ( D )     ( Do )   ( v )"),
        QStringLiteral("B      ->  P1       520000.0   520000.0   1000.000   1000.005  -0.005"),
        QStringLiteral("P1     ->  C        520000.0   521000.0   250.500   250.501  -0.001"),
        QString(68, QLatin1Char('-')),
        QStringLiteral("计算公式：Do=D*(1+((Y1+Y2)/2-500)^2)/(2*Rm^2))"),
        QStringLiteral("          D:实测平距 Do:改正后平距 Rm=6363.700 v:边长改正量(单位:米)"),
        QStringLiteral("          Y0、Y1为两点的概略Y坐标，以公里为单位计算"),
        QString(68, QLatin1Char('-')),
    };
    EXPECT_EQ(readTextLines(p.watch()), expected);
    EXPECT_EQ(test::readBytes(QStringLiteral("d:\\bak.txt")), test::readBytes(p.watch()));
    EXPECT_EQ(p.home.ui.textWindowFiles(), QStringList{p.watch()});
}

TEST(Projection, AWatchListThatIsNotTheSheetsStationsChangesNothing)
{
    const QStringList cases[] = {
        // one station too many
        {QStringLiteral("B 1 520000 1"), QStringLiteral("P1 1 520000 1"), QStringLiteral("C 1 520000 1"),
         QStringLiteral("D 1 520000 1")},
        // one too few
        {QStringLiteral("B 1 520000 1"), QStringLiteral("P1 1 520000 1")},
        // another station in between
        {QStringLiteral("B 1 520000 1"), QStringLiteral("P9 1 520000 1"), QStringLiteral("C 1 520000 1")},
        // a blank line at the end
        {QStringLiteral("B 1 520000 1"), QStringLiteral("P1 1 520000 1"), QStringLiteral("C 1 520000 1"), QString()},
    };
    for (const QStringList& watch : cases) {
        Projection p;
        p.writeWatch(watch);
        const QByteArray before = test::readBytes(p.watch());
        p.home.answer(QStringLiteral("button"), QStringLiteral("Yes"));
        bianchangtaoyinggai_Click(p.home.context);
        EXPECT_EQ(test::messageTexts(p.home.ui).size(), 2) << watch.join(QLatin1Char('|')).toStdString();
        EXPECT_EQ(p.sheet.text5(2), QStringLiteral("1000"));
        EXPECT_EQ(p.sheet.text5(11), QStringLiteral("250.5"));
        EXPECT_EQ(test::readBytes(p.watch()), before);
        EXPECT_FALSE(QFile::exists(paths::resolve(QStringLiteral("d:\\bak.txt"))));
        EXPECT_TRUE(p.home.ui.textWindowFiles().isEmpty());
    }
}

TEST(Projection, FailuresShowTheirNumberAndChangeNothing)
{
    struct Case {
        bool writeWatch;
        const char* easting;
        const char* message;
    } cases[] = {
        {false, "", "错误号： 53"},
        {true, "52o000", "错误号： 13"},
    };
    for (const Case& c : cases) {
        Projection p;
        if (c.writeWatch)
            p.writeWatch({QStringLiteral("B 1 520000 1"), QStringLiteral("P1 1 %1 1").arg(QLatin1String(c.easting)),
                           QStringLiteral("C 1 520000 1")});
        p.home.answer(QStringLiteral("button"), QStringLiteral("Yes"));
        bianchangtaoyinggai_Click(p.home.context);
        const QStringList m = test::messageTexts(p.home.ui);
        ASSERT_EQ(m.size(), 2);
        EXPECT_EQ(m[1], QString::fromUtf8(c.message));
        EXPECT_EQ(p.sheet.text5(2), QStringLiteral("1000"));
    }
    // Answering No ends the command before anything is read.
    Projection p;
    p.home.answer(QStringLiteral("button"), QStringLiteral("No"));
    bianchangtaoyinggai_Click(p.home.context);
    EXPECT_EQ(test::messageTexts(p.home.ui).size(), 1);
}
