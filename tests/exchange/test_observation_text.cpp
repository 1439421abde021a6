#include "exchange/observation_text.h"

#include "test_support.h"

#include "platform/paths.h"
#include "platform/text_file.h"

#include <QJsonArray>
#include <QJsonObject>
#include <gtest/gtest.h>

using namespace kelvor;
using namespace kelvor::exchange;
using kelvor::test::writeGbkLines;

namespace {

QString watchPath()
{
    return paths::scratch(QStringLiteral("watch.txt"));
}

QString watchText()
{
    return decodeGbk(test::readBytes(watchPath()));
}

// An observation text: each station a station line and two sight lines.
QStringList observations(const QStringList& stations)
{
    QStringList l{QStringLiteral("平差易观测数据")};
    for (const QString& s : stations) {
        l << QStringLiteral("测站：") + s;
        l << QStringLiteral("  照准点 %1-1  0.0000  123.456").arg(s);
        l << QStringLiteral("  照准点 %1-2  181.2030  98.765").arg(s);
    }
    return l;
}

QStringList numbered(const QString& prefix, int n)
{
    QStringList l;
    for (int i = 1; i <= n; ++i)
        l << prefix + QString::number(i);
    return l;
}

QStringList shownTexts(const test::TempHome& home)
{
    QStringList l;
    for (const auto& m : home.ui.messages())
        l << m.toObject().value(QStringLiteral("text")).toString();
    return l;
}

} // namespace

TEST(ObservationText, StationLines)
{
    struct Case {
        QString line;
        bool station;
        QString name;
    };
    const QList<Case> cases = {
        {"测站：A12", true, "A12"},
        {"   测站：  B7  ", true, "B7"},
        {"测站：", true, ""},
        // 30 characters or more: the ten characters after the colon.
        {"测站：K1        仪器高 1.530 m  目标高 1.600 m", true, "K1"},
        {"测站：ABCDEFGHIJKLMN                 ", true, "ABCDEFGHIJ"},
        // The length counts the blanks around the line too.
        {QStringLiteral("测站：LONGNAME12345") + QString(20, QLatin1Char(' ')), true, "LONGNAME12"},
        {"测站:A1", false, ""},
        {"照准点 测站：A1", false, ""},
        {"\t测站：A1", false, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(isStationLine(c.line), c.station) << c.line.toStdString();
        if (c.station) {
            EXPECT_EQ(stationName(c.line), c.name) << c.line.toStdString();
        }
    }
}

TEST(ObservationText, RepeatedStations)
{
    struct Case {
        const char* what;
        QStringList lines;
        QStringList repeats;
    };
    const QList<Case> cases = {
        {"only directly consecutive stations", observations({"A", "A", "B", "A"}), {"1A重站"}},
        {"numbered over the whole text", observations({"A12", "A12", "A12", "C", "D", "D"}),
         {"1A12重站", "2A12重站", "3D重站"}},
        {"letter case counts", observations({"a", "A"}), {}},
        {"a first station without a name repeats nothing", observations({"", "P1"}), {}},
        {"two stations without a name", observations({"", ""}), {"1重站"}},
        {"no station line", {"abc", "", "def"}, {}},
        {"empty text", {}, {}},
        {"compared trimmed, written as taken",
         {QStringLiteral("测站：P9"), QStringLiteral("测站：P9") + QString(30, QLatin1Char(' '))}, {"1P9重站"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(repeatedStations(c.lines), c.repeats) << c.what;
}

TEST(ObservationText, JoiningTexts)
{
    test::TempHome home;
    const QString folder = home.path(QStringLiteral("d:\\网 1"));
    const QStringList first = observations(numbered(QStringLiteral("A"), 10));
    const QStringList second = observations(numbered(QStringLiteral("B"), 12));
    const QStringList third = observations(numbered(QStringLiteral("C"), 8));
    writeGbkLines(folder + QStringLiteral("/12gc.txt"), first);
    writeGbkLines(folder + QStringLiteral("/13gc.txt"), second);
    writeGbkLines(folder + QStringLiteral("/14gc.txt"), third);
    writeGbkLines(folder + QStringLiteral("/15gc.txt"), {});
    const QString sequence = home.path(QStringLiteral("d:\\seq.txt"));
    writeGbkLines(sequence, {"12", "15", "13", "14"});

    home.answerOpen({sequence});
    home.answer(QStringLiteral("folder"), QStringLiteral("D:\\网 1"));
    hubinggcsj_Click(home.context);

    EXPECT_EQ(shownTexts(home), QStringList{"总测站30个"});
    EXPECT_EQ(watchText(), (first + second + third).join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
    EXPECT_EQ(home.ui.textWindowFiles(), QStringList{watchPath()});
    const QJsonArray events = home.ui.events();
    EXPECT_EQ(events[0].toObject().value("title").toString(), "观测数据合并");
    EXPECT_EQ(events[0].toObject().value("filter").toString(), "数据文件(*.txt)");
    EXPECT_EQ(events[1].toObject().value("prompt").toString(), "请选择要操作的目录");
    const QJsonObject count = home.ui.messages()[0].toObject();
    EXPECT_EQ(count.value("icon").toString(), "none");
    EXPECT_EQ(count.value("title").toString(), applicationTitle());
}

TEST(ObservationText, JoiningStopsAtAMissingText)
{
    test::TempHome home;
    const QString folder = home.path(QStringLiteral("d:\\网"));
    const QStringList first = observations({"A", "B"});
    writeGbkLines(folder + QStringLiteral("/1gc.txt"), first);
    writeGbkLines(folder + QStringLiteral("/3gc.txt"), observations({"C"}));
    const QString sequence = home.path(QStringLiteral("d:\\seq.txt"));
    writeGbkLines(sequence, {"1", "2", "3"});

    home.answerOpen({sequence});
    home.answer(QStringLiteral("folder"), QStringLiteral("d:\\网"));
    hubinggcsj_Click(home.context);

    EXPECT_TRUE(home.ui.messages().isEmpty());
    EXPECT_TRUE(home.ui.textWindowFiles().isEmpty());
    EXPECT_EQ(watchText(), first.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
}

TEST(ObservationText, JoiningEndsOnACancelledChoice)
{
    struct Case {
        const char* what;
        bool chooseSequence;
    };
    for (const Case& c : {Case{"sequence file", false}, Case{"folder", true}}) {
        test::TempHome home;
        writeGbkLines(watchPath(), {QStringLiteral("old")});
        const QString sequence = home.path(QStringLiteral("d:\\seq.txt"));
        writeGbkLines(sequence, {"1"});
        home.answerOpen(c.chooseSequence ? QStringList{sequence} : QStringList{});
        if (c.chooseSequence)
            home.answer(QStringLiteral("folder"), QString());
        hubinggcsj_Click(home.context);
        EXPECT_TRUE(home.ui.messages().isEmpty()) << c.what;
        EXPECT_TRUE(home.ui.textWindowFiles().isEmpty()) << c.what;
        EXPECT_EQ(watchText(), QStringLiteral("old\r\n")) << c.what;
        EXPECT_TRUE(home.answers.empty()) << c.what;
    }
}

TEST(ObservationText, CountingStations)
{
    struct Case {
        const char* what;
        QStringList lines;
        QString message;
    };
    const QList<Case> cases = {
        {"a text of 25 stations", observations(numbered(QStringLiteral("P"), 25)), "总测站25个"},
        {"an empty text", {}, "总测站0个"},
        {"station lines with blanks before", {"  测站：A", "测站 ：B", "测站：C"}, "总测站2个"},
    };
    for (const Case& c : cases) {
        test::TempHome home;
        const QString path = home.path(QStringLiteral("d:\\观测\\12gc.txt"));
        writeGbkLines(path, c.lines);
        home.answerOpen({QStringLiteral("d:\\观测\\12gc.txt")});
        huoqucezhanshu_Click(home.context);
        EXPECT_EQ(shownTexts(home), QStringList{c.message}) << c.what;
        EXPECT_EQ(home.ui.textWindowFiles(), QStringList{path}) << c.what;
    }

    test::TempHome missing;
    missing.answerOpen({missing.path(QStringLiteral("d:\\none.txt"))});
    huoqucezhanshu_Click(missing.context);
    EXPECT_TRUE(missing.ui.events().size() == 1); // the dialog only
}

TEST(ObservationText, ListingRepeatsIntoWatch)
{
    struct Case {
        const char* what;
        QStringList lines;
        QString watch;
    };
    const QList<Case> cases = {
        {"stations A, A, B, A", observations({"A", "A", "B", "A"}), "1A重站\r\n"},
        {"no repeat", observations({"A", "B"}), ""},
        {"an empty line", {""}, ""},
    };
    for (const Case& c : cases) {
        test::TempHome home;
        writeGbkLines(watchPath(), {QStringLiteral("old")});
        const QString path = home.path(QStringLiteral("d:\\obs.txt"));
        writeGbkLines(path, c.lines);
        home.answerOpen({path});
        findchongfucezhan_Click(home.context);
        EXPECT_TRUE(home.ui.messages().isEmpty()) << c.what;
        EXPECT_EQ(watchText(), c.watch) << c.what;
        EXPECT_EQ(home.ui.textWindowFiles(), QStringList{watchPath()}) << c.what;
        EXPECT_EQ(home.ui.events()[0].toObject().value("title").toString(), "观测数据") << c.what;
    }

    // An empty text reads past its end: the failure number alone, watch.txt
    // emptied, no text window.
    test::TempHome empty;
    writeGbkLines(watchPath(), {QStringLiteral("old")});
    const QString emptyPath = empty.path(QStringLiteral("d:\\empty.txt"));
    writeGbkLines(emptyPath, {});
    empty.answerOpen({emptyPath});
    findchongfucezhan_Click(empty.context);
    EXPECT_EQ(test::messageTexts(empty.ui), QStringList{QStringLiteral("62")});
    const QJsonObject box = empty.ui.messages()[0].toObject();
    EXPECT_EQ(box.value("title").toString(), applicationTitle());
    EXPECT_EQ(box.value("icon").toString(), QStringLiteral("none"));
    EXPECT_TRUE(empty.ui.textWindowFiles().isEmpty());
    EXPECT_EQ(watchText(), QString());

    test::TempHome missing;
    writeGbkLines(watchPath(), {QStringLiteral("old")});
    missing.answerOpen({missing.path(QStringLiteral("d:\\none.txt"))});
    findchongfucezhan_Click(missing.context);
    EXPECT_TRUE(missing.ui.messages().isEmpty());
    EXPECT_TRUE(missing.ui.textWindowFiles().isEmpty());
    EXPECT_EQ(watchText(), QStringLiteral("old\r\n"));
}
