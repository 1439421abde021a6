// Accuracy figures of the traverses of a sequence file, gathered in watch.txt.
#include "quelt/accuracy_stats.h"

#include "platform/errors.h"
#include "platform/paths.h"
#include "platform/text_file.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QJsonObject>

using namespace kelvor;
using namespace kelvor::quelt;
using kelvor::test::TempHome;

namespace {

QStringList planeLines() { return readTextLines(test::fixture("fixtures/q2/T1.ou")); }
QStringList heightLines() { return readTextLines(test::fixture("fixtures/q2/T1H.ou")); }

// The fixture's table: header on line 14, its closing line 15 lines below.
constexpr int kHeader = 13;

struct Stats {
    TempHome home;
    FileDialogRequest dialog;
    QString sequence = home.path("d:\\seq.txt");
    QString watch = paths::scratch(QStringLiteral("watch.txt"));

    Stats() { home.settings.WriteSetting(QStringLiteral("MydxfileSavepath="), QStringLiteral("d:\\q")); }
    void traverse(const QString& name, const QStringList& plane = planeLines(),
                  const QStringList& height = heightLines())
    {
        QDir().mkpath(paths::resolve("d:\\q\\" + name));
        writeTextLines(paths::resolve("d:\\q\\" + name + "\\" + name + ".ou"), plane);
        writeTextLines(paths::resolve("d:\\q\\" + name + "\\" + name + "H.ou"), height);
    }
    void run(const QStringList& names, const QString& item)
    {
        writeTextLines(sequence, names);
        home.answerOpen({sequence});
        home.answer("input", item);
        Command14_Click(home.context, dialog);
    }
    QStringList watchLines() const { return readTextLines(watch); }
    QJsonObject message() const
    {
        const QJsonArray m = home.ui.messages();
        return m.isEmpty() ? QJsonObject() : m.last().toObject();
    }
};

} // namespace

TEST(AccuracyStats, EachItemOfOneTraverse)
{
    const struct {
        const char* item;
        QString value;
    } cases[] = {
        {"1", QStringLiteral("A→B…C→D")}, {"2", QStringLiteral(" 452.3")}, {"3", QStringLiteral(" 5")},
        {"4", QStringLiteral(" 123.4")},   {"5", QStringLiteral("+3.20")},  {"6", QStringLiteral("14.97")},
        {"7", QStringLiteral("   1/25123")}, {"8", QStringLiteral("-12.3")}, {"9", QStringLiteral("±40.0")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.item);
        Stats s;
        s.traverse(QStringLiteral("T1"));
        s.run({QStringLiteral("  T1  ")}, QString::fromLatin1(c.item));
        EXPECT_TRUE(s.home.ui.messages().isEmpty());
        EXPECT_EQ(s.watchLines(), QStringList{QStringLiteral(" 1   ") + c.value});
        EXPECT_EQ(s.home.ui.textWindowFiles(), QStringList{s.watch});
    }
}

TEST(AccuracyStats, AskedAsThePromptSays)
{
    Stats s;
    s.traverse(QStringLiteral("T1"));
    s.run({QStringLiteral("T1")}, QStringLiteral("3"));
    EXPECT_EQ(s.dialog.title, QStringLiteral("打开导线目录数列文件"));
    EXPECT_EQ(s.dialog.filter, QStringLiteral("数据序列文件(*.*)|*.*"));
    QJsonObject input;
    for (const auto& e : s.home.ui.events())
        if (e.toObject().value("kind").toString() == QLatin1String("input"))
            input = e.toObject();
    EXPECT_EQ(input.value("title").toString(), QStringLiteral("生成的数据项"));
    EXPECT_EQ(input.value("prompt").toString(), QStringLiteral("请输入输出的项目类型！\r"
                                                               "1-导线起闭点点名 2-导线总长 3-导线边数\r"
                                                               "4-平均边长 5-方位角闭合差 6-闭合差限差\r"
                                                               "7-相对闭合差 8-高程闭合差 9-闭合差限差"));
}

TEST(AccuracyStats, SeveralTraversesAndMissingSections)
{
    Stats s;
    // T2: a shorter route (four points) with other values.
    QStringList t2 = planeLines();
    t2.removeAt(kHeader + 3); // P1
    t2.removeAt(kHeader + 3); // P2
    t2[kHeader + 6] = QStringLiteral("  方位角闭合差 =     -1.5\"");
    QStringList h2 = heightLines();
    h2[2] = QStringLiteral("[路线 2]  F= 0.50  (cm)  F允=±3.00 (cm)  F= 0.85  (cm)");
    // T3: no table header and no route line - its figures are empty, not T2's.
    QStringList t3 = planeLines();
    t3[kHeader] = QStringLiteral("表头缺失");
    QStringList h3 = heightLines();
    h3.removeAt(2);
    s.traverse(QStringLiteral("T1"));
    s.traverse(QStringLiteral("T2"), t2, h2);
    s.traverse(QStringLiteral("T3"), t3, h3);

    const struct {
        const char* item;
        QStringList lines;
    } cases[] = {
        {"1", {" 1   A→B…C→D", " 2   A→B…C→D", " 3   "}},
        {"3", {" 1    5", " 2    3", " 3   "}},
        {"5", {" 1   +3.20", " 2   -1.50", " 3   "}},
        {"8", {" 1   -12.3", " 2   +8.5", " 3   "}},
        {"9", {" 1   ±40.0", " 2   ±30.0", " 3   "}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.item);
        s.home.ui.clearRecord();
        s.run({QStringLiteral("T1"), QStringLiteral("T2"), QStringLiteral("T3")}, QString::fromLatin1(c.item));
        EXPECT_TRUE(s.home.ui.messages().isEmpty());
        EXPECT_EQ(s.watchLines(), c.lines);
    }
}

TEST(AccuracyStats, ItemAnswers)
{
    // halves go to the even neighbour
    {
        Stats s;
        s.traverse(QStringLiteral("T1"));
        s.run({QStringLiteral("T1")}, QStringLiteral("2.5"));
        EXPECT_EQ(s.watchLines(), QStringList{QStringLiteral(" 1    452.3")});
    }
    // no item: nothing written, nothing said
    for (const char* answer : {"0", "10", "0.5", "9.5"}) {
        SCOPED_TRACE(answer);
        Stats s;
        s.traverse(QStringLiteral("T1"));
        writeTextLines(s.watch, {QStringLiteral("earlier")});
        s.run({QStringLiteral("T1")}, QString::fromLatin1(answer));
        EXPECT_TRUE(s.home.ui.messages().isEmpty());
        EXPECT_EQ(s.watchLines(), QStringList{QStringLiteral("earlier")});
        EXPECT_TRUE(s.home.ui.textWindowFiles().isEmpty());
    }
    // no number (an empty or cancelled box too) is a failure
    for (const char* answer : {"", "abc"}) {
        SCOPED_TRACE(answer);
        Stats s;
        s.traverse(QStringLiteral("T1"));
        s.run({QStringLiteral("T1")}, QString::fromLatin1(answer));
        EXPECT_EQ(s.message().value("text").toString(),
                  QStringLiteral("处理时发生错误,请检查目录及文件名的正确性,发生在第 1 行的。错误号： 13"));
        EXPECT_EQ(s.message().value("title").toString(), QStringLiteral("提示"));
    }
}

TEST(AccuracyStats, FailuresStopWithTheLineAndName)
{
    QStringList late = planeLines(); // closing line 24th after the header
    for (int i = 0; i < 9; ++i)
        late.insert(kHeader + 7, QStringLiteral("  附加行"));
    QStringList early = planeLines(); // closing line 9th after the header
    early.erase(early.begin() + kHeader + 1, early.begin() + kHeader + 7);
    QStringList cut = planeLines().mid(0, kHeader + 5); // ends inside the table
    QStringList shortField = planeLines();
    shortField[kHeader + 10] = QStringLiteral("km"); // 导线总长 too short to drop 4

    const struct {
        const char* what;
        QStringList second; // plane result of the second traverse; empty: no folder
        QString name;
        QString message;
        QString title;
    } cases[] = {
        {"missing folder", {}, QStringLiteral("X"), QStringLiteral("文件路径不正确！！发生在第 2 行的X。"),
         QStringLiteral("错误")},
        {"closing line too late", late, QStringLiteral("T2"),
         QStringLiteral("处理时发生错误,请检查目录及文件名的正确性,发生在第 2 行的T2。错误号： 9"),
         QStringLiteral("提示")},
        {"closing line too early", early, QStringLiteral("T2"),
         QStringLiteral("处理时发生错误,请检查目录及文件名的正确性,发生在第 2 行的T2。错误号： 9"),
         QStringLiteral("提示")},
        {"file ends in the table", cut, QStringLiteral("T2"),
         QStringLiteral("处理时发生错误,请检查目录及文件名的正确性,发生在第 2 行的T2。错误号： 62"),
         QStringLiteral("提示")},
        {"field too short", shortField, QStringLiteral("T2"),
         QStringLiteral("处理时发生错误,请检查目录及文件名的正确性,发生在第 2 行的T2。错误号： 5"),
         QStringLiteral("提示")},
        {"empty sequence line", {}, QString(),
         QStringLiteral("处理时发生错误,请检查目录及文件名的正确性,发生在第 2 行的。错误号： 53"),
         QStringLiteral("提示")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Stats s;
        s.traverse(QStringLiteral("T1"));
        if (!c.second.isEmpty())
            s.traverse(c.name, c.second);
        s.run({QStringLiteral("T1"), c.name, QStringLiteral("T1")}, QStringLiteral("3"));
        EXPECT_EQ(s.message().value("text").toString(), c.message);
        EXPECT_EQ(s.message().value("title").toString(), c.title);
        EXPECT_EQ(s.message().value("icon").toString(), QStringLiteral("critical"));
        // the first traverse's line stays; the list is not opened
        EXPECT_EQ(s.watchLines(), QStringList{QStringLiteral(" 1    5")});
        EXPECT_TRUE(s.home.ui.textWindowFiles().isEmpty());
    }

    // a missing first folder names line 1
    Stats s;
    s.run({QStringLiteral("X")}, QStringLiteral("1"));
    EXPECT_EQ(s.message().value("text").toString(), QStringLiteral("文件路径不正确！！发生在第 1 行的X。"));
}

TEST(AccuracyStats, RouteLineValues)
{
    const struct {
        QString line;
        QString misclosure, tolerance;
    } cases[] = {
        // the last occurrence in the file wins
        {QStringLiteral("[路 1] F= 1.00 (cm) F= -0.25 (cm) F允=±2.50 (cm)"), QStringLiteral("-2.5"),
         QStringLiteral("±25.0")},
        {QStringLiteral("  [路 2]  F=  0.04 (cm)  F允=±  1.2 (cm)"), QStringLiteral("+0.4"), QStringLiteral("±12.0")},
        // lines that do not begin with "[路" are free text
        {QStringLiteral("F= 9.99 (cm) F允=±9.99 (cm)"), QString(), QString()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line.toStdString());
        TextReader in = TextReader::fromBytes(encodeGbk(c.line + "\r\n"));
        Figures f;
        f[8] = QStringLiteral("stale");
        readHeightFigures(in, f);
        EXPECT_EQ(f[8], c.misclosure);
        EXPECT_EQ(f[9], c.tolerance);
    }
}
