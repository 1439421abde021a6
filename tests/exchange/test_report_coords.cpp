#include "exchange/report_coords.h"

#include "test_support.h"

#include "platform/paths.h"
#include "platform/text_file.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <gtest/gtest.h>

using namespace kelvor;
using namespace kelvor::exchange;
using kelvor::test::crlfText;
using kelvor::test::writeGbkLines;

namespace {

QString watchText()
{
    return decodeGbk(test::readBytes(paths::scratch(QStringLiteral("watch.txt"))));
}

// Runs the command on fixture reports copied into one folder whose name has
// a blank, as a multiple selection would hand them over.
void runOn(test::TempHome& home, const QStringList& fixtures)
{
    const QString folder = home.path(QStringLiteral("d:\\成果 2007"));
    QDir().mkpath(folder);
    QStringList chosen;
    for (const QString& f : fixtures) {
        const QString target = folder + QLatin1Char('/') + f;
        if (QFile::exists(test::fixture(QStringLiteral("fixtures/") + f)))
            QFile::copy(test::fixture(QStringLiteral("fixtures/") + f), target);
        chosen << target;
    }
    home.answerOpen(chosen);
    batoutcgb_Click(home.context);
}

QString plane(const QString& name, const QString& x, const QString& y)
{
    return QStringLiteral(" %1+1.0000       +0.0   +1.0000     +0.0     %2%3")
        .arg(name.leftJustified(9), x.leftJustified(15), y);
}

} // namespace

TEST(ReportCoordinates, ReportsChosenTogether)
{
    test::TempHome home;
    home.settings.WriteSetting(QStringLiteral("QW_PM="), QStringLiteral("3"));
    home.settings.WriteSetting(QStringLiteral("QW_GC="), QStringLiteral("2"));
    runOn(home, {QStringLiteral("two_new.cg"), QStringLiteral("no_new.cg"), QStringLiteral("not_a_report.cg"),
                 QStringLiteral("three_new.cg")});
    EXPECT_EQ(watchText(), crlfText({
                               "P1        456.123          345.600        12.35",
                               "P2        478.999          -12.500        13.01",
                               "Q1        610.000          510.000        21.00",
                               "Q2        620.000          520.000        22.00",
                               "Q3        630.000          530.000        23.00",
                           }));
    EXPECT_TRUE(home.ui.messages().isEmpty());
    EXPECT_EQ(home.ui.textWindowFiles(), QStringList{paths::scratch(QStringLiteral("watch.txt"))});
    const QJsonObject dialog = home.ui.events()[0].toObject();
    EXPECT_EQ(dialog.value("title").toString(), "选择多个成果文件生成成果表");
    EXPECT_EQ(dialog.value("filter").toString(), "成果文件(*.cg)|*.cg");
}

TEST(ReportCoordinates, DecimalsFromTheSettings)
{
    struct Case {
        const char* pm;
        const char* gc;
        QString firstLine;
    };
    const QList<Case> cases = {
        {"0", "0", "P1        456.             346.           12."},
        {"", "", "P1        456.             346.           12."},
        {"4", "3", "P1        456.1234         345.6000       12.346"},
        {"x", "1", "P1        456.             346.           12.3"},
    };
    for (const Case& c : cases) {
        test::TempHome home;
        home.settings.WriteSetting(QStringLiteral("QW_PM="), QString::fromUtf8(c.pm));
        home.settings.WriteSetting(QStringLiteral("QW_GC="), QString::fromUtf8(c.gc));
        runOn(home, {QStringLiteral("two_new.cg")});
        EXPECT_EQ(watchText().section(QStringLiteral("\r\n"), 0, 0), c.firstLine) << c.pm << "/" << c.gc;
    }
}

TEST(ReportCoordinates, HeightsBelongToTheirOwnReport)
{
    test::TempHome home;
    home.settings.WriteSetting(QStringLiteral("QW_PM="), QStringLiteral("3"));
    home.settings.WriteSetting(QStringLiteral("QW_GC="), QStringLiteral("2"));
    runOn(home, {QStringLiteral("two_new.cg"), QStringLiteral("no_height.cg")});
    EXPECT_EQ(watchText().section(QStringLiteral("\r\n"), 2, 2), "R1        701.000          801.000        ");
}

TEST(ReportCoordinates, FailuresStopTheList)
{
    struct Case {
        const char* what;
        QStringList reports;
        QString message;
        QString watch; // what watch.txt holds afterwards
    };
    const QList<Case> cases = {
        {"a missing report", {"two_new.cg", "missing.cg", "three_new.cg"}, "错误号: 53",
         crlfText({"P1        456.123          345.600        12.35", "P2        478.999          -12.500        13.01"})},
        {"a report cut inside its table", {"cut.cg", "two_new.cg"}, "错误号: 62", QString()},
        {"an empty report", {"empty.cg"}, "错误号: 62", QString()},
    };
    for (const Case& c : cases) {
        test::TempHome home;
        home.settings.WriteSetting(QStringLiteral("QW_PM="), QStringLiteral("3"));
        home.settings.WriteSetting(QStringLiteral("QW_GC="), QStringLiteral("2"));
        writeGbkLines(paths::scratch(QStringLiteral("watch.txt")), {QStringLiteral("old list")});
        if (c.reports.contains(QStringLiteral("empty.cg")))
            test::writeGbk(home.path(QStringLiteral("d:\\成果 2007\\empty.cg")), QString());
        runOn(home, c.reports);
        const QJsonArray m = home.ui.messages();
        ASSERT_EQ(m.size(), 1) << c.what;
        EXPECT_EQ(m[0].toObject().value("text").toString(), c.message) << c.what;
        EXPECT_EQ(m[0].toObject().value("title").toString(), "未知错误") << c.what;
        EXPECT_EQ(m[0].toObject().value("icon").toString(), "critical") << c.what;
        EXPECT_TRUE(home.ui.textWindowFiles().isEmpty()) << c.what;
        EXPECT_EQ(watchText(), c.watch) << c.what;
    }
}

TEST(ReportCoordinates, CancelledDialogChangesNothing)
{
    test::TempHome home;
    writeGbkLines(paths::scratch(QStringLiteral("watch.txt")), {QStringLiteral("old list")});
    home.answerOpen({});
    batoutcgb_Click(home.context);
    EXPECT_EQ(watchText(), crlfText({"old list"}));
    EXPECT_TRUE(home.ui.messages().isEmpty());
    EXPECT_TRUE(home.ui.textWindowFiles().isEmpty());
}

TEST(ReportCoordinates, TableRows)
{
    const QString units = QStringLiteral("  ") + PlaneTableUnits;
    QStringList twenty{units, plane(QStringLiteral("B"), QStringLiteral("1.0"), QStringLiteral("1.0"))};
    for (int i = 1; i <= 20; ++i)
        twenty << plane(QStringLiteral("N%1").arg(i), QStringLiteral("%1.0").arg(i), QStringLiteral("2.0"));
    twenty << QStringLiteral("tail");

    const QStringList twice{units,
                            plane(QStringLiteral("B"), QStringLiteral("1"), QStringLiteral("1")),
                            plane(QStringLiteral("OLD1"), QStringLiteral("1"), QStringLiteral("1")),
                            plane(QStringLiteral("OLD2"), QStringLiteral("1"), QStringLiteral("1")),
                            plane(QStringLiteral("C"), QStringLiteral("1"), QStringLiteral("1")),
                            QString(),
                            units,
                            plane(QStringLiteral("B"), QStringLiteral("2"), QStringLiteral("2")),
                            plane(QStringLiteral("NEW"), QStringLiteral("2"), QStringLiteral("2")),
                            plane(QStringLiteral("C"), QStringLiteral("2"), QStringLiteral("2")),
                            QString()};

    const QStringList shortRows{units, QStringLiteral(" B"), QStringLiteral(" P7       only a name"),
                                QStringLiteral(" C"), QStringLiteral("   ")};

    const QStringList startOnly{units, plane(QStringLiteral("B"), QStringLiteral("1"), QStringLiteral("1")),
                                QString()};

    struct Case {
        const char* what;
        QStringList lines;
        QStringList names;
    };
    const QList<Case> cases = {
        {"twenty rows without an end keep nineteen", twenty,
         [] {
             QStringList n;
             for (int i = 1; i <= 19; ++i)
                 n << QStringLiteral("N%1").arg(i);
             return n;
         }()},
        {"a second table overwrites the first", twice, {"NEW"}},
        {"a line of blanks ends the table", shortRows, {"P7"}},
        {"a table of the start station only", startOnly, {}},
    };
    for (const Case& c : cases) {
        test::TempHome home;
        const QString path = home.path(QStringLiteral("t.cg"));
        writeGbkLines(path, c.lines);
        QStringList names;
        for (const ReportPoint& p : readReportPoints(path))
            names << p.name;
        EXPECT_EQ(names, c.names) << c.what;
    }

    test::TempHome home;
    const QString path = home.path(QStringLiteral("t.cg"));
    writeGbkLines(path, shortRows);
    const QList<ReportPoint> p = readReportPoints(path);
    ASSERT_EQ(p.size(), 1);
    EXPECT_EQ(p[0].x, QString());
    EXPECT_EQ(p[0].y, QString());
    EXPECT_EQ(p[0].h, QString());
}

TEST(ReportCoordinates, ColumnsOfTheList)
{
    struct Case {
        ReportPoint point;
        double pm;
        double gc;
        QString line;
    };
    const QList<Case> cases = {
        {{"P1", "456.1234", "345.6", "12.3456"}, 3, 2, "P1        456.123          345.600        12.35"},
        {{"LONGNAME123", "456.1234", "345.6", "12.3456"}, 3, 2,
         "LONGNAME123456.123          345.600        12.35"},
        {{"P2", "12345678901234.5", "1", "1"}, 3, 0, "P2        12345678901234.5001.000          1."},
        {{"观测点", "4,5", "1", "*12.3*"}, 1, 1, "观测点       4,5              1.0            *12.3*"},
        {{"P3", "-0.0004", "0.5", ""}, 3, 2, "P3        -0.000           0.500          "},
    };
    for (const Case& c : cases)
        EXPECT_EQ(reportPointLine(c.point, c.pm, c.gc), c.line) << c.point.name.toStdString();
}
