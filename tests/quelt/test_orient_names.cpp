// Repairing the orientation point names (line 10) of a plane result.
#include "quelt/orient_names.h"
#include "quelt/result_files.h"

#include "platform/errors.h"
#include "platform/paths.h"
#include "platform/text_file.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QJsonObject>

using namespace kelvor;
using namespace kelvor::quelt;
using kelvor::test::TempHome;

namespace {

struct Repair {
    TempHome home;
    FileDialogRequest dialog;
    QString result = home.path("d:\\q\\T1\\T1.ou");
    QString known = home.path("d:\\yzdcg.txt");

    Repair()
    {
        test::writeGbk(result, readTextFile(test::fixture("fixtures/q2/T1.ou")));
        test::writeGbk(known, readTextFile(test::fixture("fixtures/q2/known.txt")));
    }
    void run(const QString& knownPath = QStringLiteral("  d:\\yzdcg.txt  "))
    {
        home.answerOpen({result});
        Command60_Click(home.context, dialog, knownPath);
    }
    QJsonArray messages() const { return home.ui.messages(); }
};

QStringList fixtureLines() { return readTextLines(test::fixture("fixtures/q2/T1.ou")); }

} // namespace

TEST(OrientNames, RewritesLineTenFromTheKnownPointsAndNothingElse)
{
    Repair r;
    r.run();
    EXPECT_TRUE(r.messages().isEmpty());
    EXPECT_EQ(r.dialog.title, QStringLiteral("选择文件"));
    EXPECT_EQ(r.dialog.filter, QStringLiteral("平面结果文件(*.OU)|*.OU"));

    // A1 (X with a trailing zero, further down than A0) wins the start;
    // D9 matches the end.
    QStringList expected = fixtureLines();
    expected[9] = QStringLiteral("           A1                     D9");
    const QByteArray after = test::readBytes(r.result);
    QByteArray want;
    for (const QString& l : expected)
        want += encodeGbk(l) + "\r\n";
    EXPECT_EQ(after, want);
    EXPECT_EQ(r.home.ui.textWindowFiles(), QStringList{r.result});

    // The coordinate table's line 10 rule reads back exactly those names.
    EXPECT_EQ(orientationNames(expected[9]), (NamePair{QStringLiteral("A1"), QStringLiteral("D9")}));

    // A second run leaves the file as it is.
    r.run();
    EXPECT_EQ(test::readBytes(r.result), want);
}

TEST(OrientNames, UnmatchedSideGetsAnEmptyName)
{
    Repair r;
    test::writeGbk(r.known, QStringLiteral("D9 3457000.4560\r\n"));
    r.run();
    EXPECT_EQ(readTextLines(r.result).at(9), QString(11 + 21, QLatin1Char(' ')) + QStringLiteral("D9"));
}

TEST(OrientNames, RefusalsAndFailuresLeaveTheFileUntouched)
{
    const struct {
        const char* what;
        std::function<void(Repair&)> prepare;
        QString knownPath;
        QString message;
        QString title;
    } cases[] = {
        {"not a plane result",
         [](Repair& r) {
             QStringList l = fixtureLines();
             l[0] = QStringLiteral("高 程 平 差 计 算");
             writeTextLines(r.result, l);
         },
         QStringLiteral("d:\\yzdcg.txt"), QStringLiteral("不是正确的导线结果文件！请核实。"), QStringLiteral("错误")},
        {"fewer than twelve lines",
         [](Repair& r) { writeTextLines(r.result, fixtureLines().mid(0, 11)); }, QStringLiteral("d:\\yzdcg.txt"),
         QStringLiteral("未知的错误！"), QStringLiteral("错误")},
        {"an empty file", [](Repair& r) { test::writeGbk(r.result, QString()); }, QStringLiteral("d:\\yzdcg.txt"),
         QStringLiteral("未知的错误！"), QStringLiteral("错误")},
        {"known points missing", [](Repair&) {}, QStringLiteral("d:\\none.txt"), QStringLiteral("未知的错误！"),
         QStringLiteral("错误")},
        {"known points box empty", [](Repair&) {}, QString(), QStringLiteral("未知的错误！"),
         QStringLiteral("错误")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Repair r;
        c.prepare(r);
        const QByteArray before = test::readBytes(r.result);
        r.run(c.knownPath);
        const QJsonArray m = r.messages();
        ASSERT_EQ(m.size(), 1);
        EXPECT_EQ(m[0].toObject().value("text").toString(), c.message);
        EXPECT_EQ(m[0].toObject().value("title").toString(), c.title);
        EXPECT_EQ(m[0].toObject().value("icon").toString(), QStringLiteral("critical"));
        EXPECT_EQ(test::readBytes(r.result), before);
        EXPECT_TRUE(r.home.ui.textWindowFiles().isEmpty());
    }
}

TEST(OrientNames, CancelledDialogDoesNothing)
{
    Repair r;
    const QByteArray before = test::readBytes(r.result);
    r.home.answerOpen({});
    Command60_Click(r.home.context, r.dialog, QStringLiteral("d:\\yzdcg.txt"));
    EXPECT_TRUE(r.messages().isEmpty());
    EXPECT_EQ(test::readBytes(r.result), before);
}

TEST(OrientNames, LineElevenValues)
{
    const struct {
        QString line;
        double start, end;
    } cases[] = {
        {QStringLiteral("    XA =  3456789.123              XD =  3457000.456"), 3456789.123, 3457000.456},
        // the end value is looked for from the middle on, whatever precedes it
        {QStringLiteral("X1=12.5   Q=7"), 12.5, 7},
        // no "=" in the first half: the value is read from the start
        {QStringLiteral("12.25          = 9"), 12.25, 9},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line.toStdString());
        const OrientationXValues x = orientationXValues(c.line);
        EXPECT_EQ(x.start, c.start);
        EXPECT_EQ(x.end, c.end);
    }
    EXPECT_THROW(orientationXValues(QStringLiteral("=")), RunError);
}
