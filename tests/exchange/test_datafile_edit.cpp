#include "exchange/datafile_edit.h"

#include "test_support.h"

#include "platform/errors.h"
#include "platform/paths.h"
#include "platform/text_file.h"

#include <QJsonArray>
#include <QJsonObject>
#include <gtest/gtest.h>

using namespace kelvor;
using namespace kelvor::exchange;
using kelvor::test::errorOf;
using kelvor::test::crlfText;
using kelvor::test::writeGbkLines;

namespace {

QString watchPath()
{
    return paths::scratch(QStringLiteral("watch.txt"));
}

QStringList shownTexts(const test::TempHome& home)
{
    QStringList l;
    for (const auto& m : home.ui.messages())
        l << m.toObject().value(QStringLiteral("text")).toString();
    return l;
}

const QStringList KnownPoints{
    "A1  1000.001  2000.002  30.003",
    "A2 1100 2100 31",
    "  a1   1000.5   2000.5   30.5  ",
    "A3 5 6 7",
};

// A PCY data file: lines before and after the station list are copied as
// they are, whatever they hold.
const QStringList DataFile{
    "[NETWORK]",
    "NAME,测试导线, 2007 ",
    "[STATION]",
    "A1,11,0,0,0,1,2,3",
    "P1,00,,,,,,",
    "a2,11, 1 , 2 , 3 ,x,y,z",
    "B9,11,0,0,0,,,",
    "A3, 11 ,0,0,0,6,7,8,9",
    "   ",
    "X1,11,0,0,0,0,0,0",
    "[OBSER]",
    "A1,A0,0.0000,100.000,,100.012,0.0012,1.5,1.6,,,,,",
};

const QStringList EditedDataFile{
    "[NETWORK]",
    "NAME,测试导线, 2007 ",
    "[STATION]",
    "A1,11,1000.5,2000.5,30.5,1,2,3",
    "P1,00,,,,,,",
    "a2,11,1100,2100,31,x,y,z",
    "B9,11,0,0,0,,,",
    "A3,11,5,6,7,6,7,8",
    "",
    "X1,11,0,0,0,0,0,0",
    "[OBSER]",
    "A1,A0,0.0000,100.000,,100.012,0.0012,1.5,1.6,,,,,",
};

struct KnownSetup {
    test::TempHome home;
    QString data = home.path(QStringLiteral("d:\\平差\\导线 1.txt"));

    explicit KnownSetup(const QStringList& dataLines, const QStringList& known = KnownPoints)
    {
        writeGbkLines(QStringLiteral("d:\\已知点.txt"), known);
        home.settings.WriteSetting(QStringLiteral("已知点成果="), QStringLiteral("d:\\已知点.txt"));
        writeGbkLines(data, dataLines);
        writeGbkLines(watchPath(), {QStringLiteral("old")});
    }
    void run()
    {
        home.answerOpen({data});
        huoquyichengguo_Click(home.context);
    }
};

const QStringList Estimates{
    "A1,A0,1,2,3,4,5,6,100.111",
    " a1 , P1 ,1,2,3,4,5,6, 200.222 ,extra",
    "A1,P1,1,2,3,4,5,6,999.999",
    "P1,A1,1,2,3,4,5,6,200.221",
};

QStringList editWith(const QStringList& data, const QStringList& estimates = Estimates)
{
    test::TempHome home;
    const QString path = home.path(QStringLiteral("est.txt"));
    writeGbkLines(path, estimates);
    return editEstimates(data, path);
}

} // namespace

TEST(KnownPointEdit, RewritesOnlyKnownPoints)
{
    KnownSetup s(DataFile);
    s.run();
    EXPECT_EQ(readTextFile(s.data), crlfText(EditedDataFile));
    EXPECT_EQ(test::readBytes(watchPath()), test::readBytes(s.data));
    EXPECT_EQ(shownTexts(s.home),
              (QStringList{"不能找到已知点：B9", "处理完成！更改后的文件为原来的文件名。"}));
    const QJsonArray m = s.home.ui.messages();
    for (const auto& e : m) {
        EXPECT_EQ(e.toObject().value("title").toString(), "提示");
        EXPECT_EQ(e.toObject().value("icon").toString(), "exclamation");
    }
    const QJsonObject dialog = s.home.ui.events()[0].toObject();
    EXPECT_EQ(dialog.value("title").toString(), "选择文件");
    EXPECT_EQ(dialog.value("filter").toString(), "所有文件(*.*)|*.*");
    EXPECT_TRUE(s.home.ui.textWindowFiles().isEmpty());
}

TEST(KnownPointEdit, StationListBounds)
{
    struct Case {
        const char* what;
        QStringList data;
        QStringList edited;
    };
    const QList<Case> cases = {
        {"a list running to the end of the file", {"[STATION]", "A2,11,0,0,0,0,0,0"}, {"[STATION]", "A2,11,1100,2100,31,0,0,0"}},
        {"the heading with blanks around it", {" [STATION] ", "A2,11,0,0,0,0,0,0", ""},
         {" [STATION] ", "A2,11,1100,2100,31,0,0,0", ""}},
        {"a heading in other letter case opens nothing", {"[station]", "A2,11,0,0,0,0,0,0"},
         {"[station]", "A2,11,0,0,0,0,0,0"}},
        {"no station list", {"A2,11,0,0,0,0,0,0"}, {"A2,11,0,0,0,0,0,0"}},
    };
    for (const Case& c : cases) {
        KnownSetup s(c.data);
        s.run();
        EXPECT_EQ(readTextFile(s.data), crlfText(c.edited)) << c.what;
    }
}

TEST(KnownPointEdit, FailuresLeaveTheDataFile)
{
    struct Case {
        const char* what;
        QStringList data;
        QStringList known;
        QString message;
        QString watch; // the scratch copy keeps what was done
    };
    const QList<Case> cases = {
        {"a station line without a second field",
         {"head", "[STATION]", "A1,11,0,0,0,1,2,3", "BADLINE", "P1,0,0,0,0,0,0,0"}, KnownPoints, "9",
         crlfText({"head", "[STATION]", "A1,11,1000.5,2000.5,30.5,1,2,3"})},
        {"a matched line without its eighth field", {"[STATION]", "A2,11,0,0,0"}, KnownPoints, "9",
         crlfText({"[STATION]"})},
        {"a line of a tab is no empty line", {"[STATION]", "\t", "A2,11,0,0,0,0,0,0", ""}, KnownPoints, "9",
         crlfText({"[STATION]"})},
        {"an empty known-points file", {"[STATION]", "P1,0,0,0,0,0,0,0", "A2,11,0,0,0,0,0,0"}, {}, "62",
         crlfText({"[STATION]", "P1,0,0,0,0,0,0,0"})},
    };
    for (const Case& c : cases) {
        KnownSetup s(c.data, c.known);
        const QByteArray before = test::readBytes(s.data);
        s.run();
        EXPECT_EQ(test::readBytes(s.data), before) << c.what;
        EXPECT_EQ(shownTexts(s.home), QStringList{c.message}) << c.what;
        const QJsonObject m = s.home.ui.messages()[0].toObject();
        EXPECT_EQ(m.value("icon").toString(), "none") << c.what;
        EXPECT_EQ(m.value("title").toString(), applicationTitle()) << c.what;
        EXPECT_EQ(readTextFile(watchPath()), c.watch) << c.what;
    }

    KnownSetup missingData(DataFile);
    missingData.home.answerOpen({missingData.home.path(QStringLiteral("d:\\none.txt"))});
    huoquyichengguo_Click(missingData.home.context);
    EXPECT_EQ(shownTexts(missingData.home), QStringList{"53"});
    EXPECT_EQ(readTextFile(watchPath()), crlfText({"old"}));
}

TEST(KnownPointEdit, MissingKnownPointsFile)
{
    for (const QString& setting : {QStringLiteral("d:\\nothing.txt"), QString()}) {
        test::TempHome home;
        home.settings.WriteSetting(QStringLiteral("已知点成果="), setting);
        huoquyichengguo_Click(home.context); // asks for no file
        const QJsonArray events = home.ui.events();
        ASSERT_EQ(events.size(), 1);
        const QJsonObject m = events[0].toObject();
        EXPECT_EQ(m.value("text").toString(), "不能找到已知点坐标文件，请在参数设定中更改！");
        EXPECT_EQ(m.value("title").toString(), "错误");
        EXPECT_EQ(m.value("icon").toString(), "critical");
    }
}

TEST(EstimateEdit, DistancesFromTheEstimateTable)
{
    const QString fourteen = QStringLiteral(",5,6,7,8,9,10,11,12,13,14");
    struct Case {
        const char* what;
        QStringList data;
        QStringList edited;
    };
    const QList<Case> cases = {
        {"the first matching line counts, letters in any case",
         {"[OBSER]", "A1,p1,3,4" + fourteen, "p1,a1,3,4" + fourteen},
         {"[OBSER]", "A1,p1,3,200.222" + fourteen, "p1,a1,3,200.221" + fourteen}},
        {"no estimate: field 4 kept, every field trimmed",
         {"[OBSER]", " B1 , C1 , 1.0 , 55.5 ,5,6,7,8,9,10,11,12,13, 14 "},
         {"[OBSER]", "B1,C1,1.0,55.5,5,6,7,8,9,10,11,12,13,14"}},
        {"fields after the fourteenth dropped", {"[OBSER]", "A1,A0,3,4" + fourteen + ",15,16"},
         {"[OBSER]", "A1,A0,3,100.111" + fourteen}},
        {"lines up to the heading copied as they are",
         {"[STATION]", " A1 , 11 ,1,2,3,,,", "", "  [OBSER]  ", "A1,A0,3,4" + fourteen},
         {"[STATION]", " A1 , 11 ,1,2,3,,,", "", "  [OBSER]  ", "A1,A0,3,100.111" + fourteen}},
        {"an empty line among the observations stays",
         {"[OBSER]", "A1,A0,3,4" + fourteen, "   ", "P1,A1,3,4" + fourteen},
         {"[OBSER]", "A1,A0,3,100.111" + fourteen, "   ", "P1,A1,3,200.221" + fourteen}},
        {"no observation list", {"[STATION]", "A1,11,1,2,3,,,"}, {"[STATION]", "A1,11,1,2,3,,,"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(editWith(c.data), c.edited) << c.what;
}

TEST(EstimateEdit, Failures)
{
    const QString fourteen = QStringLiteral("A1,A0,3,4,5,6,7,8,9,10,11,12,13,14");
    struct Case {
        const char* what;
        QStringList data;
        QStringList estimates;
        int number;
    };
    const QList<Case> cases = {
        {"an observation of thirteen fields", {"[OBSER]", "A1,A0,3,4,5,6,7,8,9,10,11,12,13"}, Estimates, 9},
        {"an estimate line of eight fields before the match", {"[OBSER]", fourteen},
         {"X,Y,1,2,3,4,5,6", "A1,A0,1,2,3,4,5,6,7"}, 9},
        {"an empty estimate table", {"[OBSER]", fourteen}, {}, 62},
    };
    for (const Case& c : cases)
        EXPECT_EQ(errorOf([&] { editWith(c.data, c.estimates); }), c.number) << c.what;
    // An estimate line after the match is never read.
    EXPECT_EQ(editWith({"[OBSER]", fourteen}, {"A1,A0,1,2,3,4,5,6,7", "short"}),
              (QStringList{"[OBSER]", "A1,A0,3,7,5,6,7,8,9,10,11,12,13,14"}));
}

TEST(EstimateEdit, CommandReplacesTheDataFile)
{
    test::TempHome home;
    const QString est = home.path(QStringLiteral("d:\\概算 表.txt"));
    const QString data = home.path(QStringLiteral("d:\\导线\\dx 1.txt"));
    writeGbkLines(est, Estimates);
    writeGbkLines(data, {"[OBSER]", "A1,A0,3,4,5,6,7,8,9,10,11,12,13,14"});
    home.answerOpen({est});
    home.answerOpen({data});
    printoutgxb_Click(home.context);

    EXPECT_EQ(readTextFile(data), crlfText({"[OBSER]", "A1,A0,3,100.111,5,6,7,8,9,10,11,12,13,14"}));
    EXPECT_EQ(test::readBytes(QStringLiteral("d:\\bak1.txt")), test::readBytes(data));
    EXPECT_EQ(home.ui.textWindowFiles(), QStringList{data});
    EXPECT_TRUE(home.ui.messages().isEmpty());
    const QJsonArray events = home.ui.events();
    EXPECT_EQ(events[0].toObject().value("title").toString(), "选择概算值文件");
    EXPECT_EQ(events[1].toObject().value("title").toString(), "选择导线文件");
    EXPECT_EQ(events[1].toObject().value("filter").toString(), "文本文件(*.txt)|*.txt");
}

TEST(EstimateEdit, CommandFailureKeepsTheDataFile)
{
    test::TempHome home;
    const QString est = home.path(QStringLiteral("d:\\est.txt"));
    const QString data = home.path(QStringLiteral("d:\\dx.txt"));
    writeGbkLines(est, Estimates);
    writeGbkLines(data, {"[OBSER]", "A1,A0,3,4,5,6,7,8,9,10,11,12,13,14", "A1,A0,3,4"});
    const QByteArray before = test::readBytes(data);
    home.answerOpen({est});
    home.answerOpen({data});
    printoutgxb_Click(home.context);

    EXPECT_EQ(test::readBytes(data), before);
    EXPECT_TRUE(home.ui.textWindowFiles().isEmpty());
    ASSERT_EQ(home.ui.messages().size(), 1);
    const QJsonObject m = home.ui.messages()[0].toObject();
    EXPECT_EQ(m.value("text").toString(), "错误号: 9");
    EXPECT_EQ(m.value("title").toString(), "错误");
    EXPECT_EQ(m.value("icon").toString(), "critical");

    test::TempHome cancelled;
    writeGbkLines(est, Estimates);
    cancelled.answerOpen({est});
    cancelled.answerOpen({});
    printoutgxb_Click(cancelled.context);
    EXPECT_TRUE(cancelled.ui.messages().isEmpty());
    EXPECT_FALSE(textFileExists(QStringLiteral("d:\\bak1.txt")));
}
