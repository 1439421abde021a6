#include "exchange/levelling.h"

#include "test_support.h"

#include "platform/text_file.h"

#include <QJsonArray>
#include <QJsonObject>
#include <gtest/gtest.h>

using namespace kelvor;
using namespace kelvor::exchange;

namespace {

struct Station {
    QString a = QStringLiteral("1500");  // back reading
    QString b = QStringLiteral("1500");  // fore reading
    QString sa = QStringLiteral("30.0"); // back-sight distance
    QString sb = QStringLiteral("30.0"); // fore-sight distance
};

Station back(const QString& a, const QString& sa)
{
    Station s;
    s.a = a;
    s.sa = sa;
    return s;
}

Station fore(const QString& b, const QString& sb)
{
    Station s;
    s.b = b;
    s.sb = sb;
    return s;
}

QStringList header()
{
    QStringList l;
    for (int i = 1; i <= 13; ++i)
        l << QStringLiteral("水准记录 表头 %1").arg(i);
    return l;
}

// A record as the recorder writes it: the back reading is the fourth field
// of line 1, the fore reading the third of line 2, the distances the first
// two of line 3; four extra lines before stations 10, 22 and 33.
QStringList record(const QList<Station>& stations)
{
    QStringList l = header();
    for (int i = 0; i < stations.size(); ++i) {
        const int n = i + 1;
        if (n == 10 || n == 22 || n == 33)
            l << QStringLiteral("页") << QStringLiteral("  ") << QStringLiteral("x") << QStringLiteral("y");
        const Station& s = stations[i];
        l << QStringLiteral("  %1  后  B%1  %2  ").arg(n).arg(s.a);
        l << QStringLiteral("前  F%1  %2").arg(n).arg(s.b);
        l << QStringLiteral("%1   %2   0.0").arg(s.sa, s.sb);
        l << QStringLiteral("4 4 4") << QStringLiteral("5 5 5");
    }
    return l;
}

QString joined(const QStringList& lines)
{
    return lines.isEmpty() ? QString() : lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}

QStringList runCheck(test::TempHome& home, const QString& text)
{
    const QString path = home.path(QStringLiteral("d:\\水准\\record.txt"));
    test::writeGbk(path, text);
    home.answerOpen({path});
    dushujiancha_Click(home.context);
    QStringList shown;
    for (const auto& m : home.ui.messages())
        shown << m.toObject().value(QStringLiteral("text")).toString();
    return shown;
}

const QString Done = QStringLiteral("检查完成");
const QString BadFile = QStringLiteral("文件为空或格式不对！");

} // namespace

TEST(LevellingCheck, SightRulesPerStation)
{
    struct Case {
        const char* what;
        QList<Station> stations;
        QStringList expected;
    };
    const QList<Case> cases = {
        {"back sight over its limit", {back("2800", "41")}, {"第1站后视有问题", Done}},
        {"back sight at its limit passes", {back("2800", "40")}, {Done}},
        {"back reading 2500 allows 100", {back("2500", "100")}, {Done}},
        {"back reading 2500 with 100.01", {back("2500", "100.01")}, {"第1站后视有问题", Done}},
        {"back reading below 2500 never checked", {back("2499", "999")}, {Done}},
        {"fore sight over its limit", {fore("400", "80.5")}, {"第1站前视有问题", Done}},
        {"fore sight at its limit passes", {fore("400", "80")}, {Done}},
        {"fore reading above 500 never checked", {fore("501", "999")}, {Done}},
        {"fore reading 0 never checked", {fore("0", "999")}, {Done}},
        {"fore reading that is no number counts 0", {fore("abc", "999")}, {Done}},
        {"number at the start of a field", {back("2800mm", "41m")}, {"第1站后视有问题", Done}},
        {"both sights of one station, back first",
         {Station{QStringLiteral("2900"), QStringLiteral("100"), QStringLiteral("21"), QStringLiteral("21")}},
         {"第1站后视有问题", "第1站前视有问题", Done}},
        {"stations numbered in order",
         {Station(), back("2800", "41"), Station(), fore("100", "20.5")},
         {"第2站后视有问题", "第4站前视有问题", Done}},
    };
    for (const Case& c : cases) {
        test::TempHome home;
        EXPECT_EQ(runCheck(home, joined(record(c.stations))), c.expected) << c.what;
    }
}

TEST(LevellingCheck, RecordLayout)
{
    QList<Station> ten(9);
    ten << back("2800", "41");
    QStringList tenLines = record(ten);

    QStringList lastCut = record({Station(), back("2800", "41")});
    lastCut = lastCut.mid(0, lastCut.size() - 4); // the last record keeps its first line only

    QStringList midCut = record({back("2800", "41"), fore("400", "80.5")});
    midCut = midCut.mid(0, midCut.size() - 3); // the second record stops after two lines

    QStringList afterOneExtra = record(QList<Station>(9) << Station());
    afterOneExtra = afterOneExtra.mid(0, 13 + 9 * 5 + 1);

    QStringList afterAllExtra = record(QList<Station>(9) << Station());
    afterAllExtra = afterAllExtra.mid(0, 13 + 9 * 5 + 4);

    struct Case {
        const char* what;
        QString text;
        QStringList expected;
    };
    const QList<Case> cases = {
        {"tenth station read after the four extra lines", joined(tenLines), {"第10站后视有问题", Done}},
        {"a last record of one line is not tested", joined(lastCut), {Done}},
        {"a record cut inside keeps earlier messages", joined(midCut), {"第1站后视有问题", BadFile}},
        {"ending after the first extra line", joined(afterOneExtra), {Done}},
        {"ending right after the extra lines", joined(afterAllExtra), {BadFile}},
        {"an empty file", QString(), {BadFile}},
        {"the header alone", joined(header()), {BadFile}},
        {"part of the header", joined(header().mid(0, 5)), {BadFile}},
        {"no line end after the last record", joined(record({back("2800", "41")})).chopped(2),
         {"第1站后视有问题", Done}},
    };
    for (const Case& c : cases) {
        test::TempHome home;
        EXPECT_EQ(runCheck(home, c.text), c.expected) << c.what;
    }
}

TEST(LevellingCheck, MessageBoxes)
{
    test::TempHome home;
    runCheck(home, joined(record({back("2800", "41")})));
    const QJsonArray m = home.ui.messages();
    ASSERT_EQ(m.size(), 2);
    EXPECT_EQ(m[0].toObject().value("icon").toString(), "critical");
    EXPECT_EQ(m[0].toObject().value("title").toString(), applicationTitle());
    EXPECT_EQ(m[1].toObject().value("icon").toString(), "exclamation");
    EXPECT_EQ(m[1].toObject().value("title").toString(), applicationTitle());

    test::TempHome bad;
    runCheck(bad, QString());
    const QJsonObject e = bad.ui.messages()[0].toObject();
    EXPECT_EQ(e.value("title").toString(), "错误");
    EXPECT_EQ(e.value("icon").toString(), "critical");
}

TEST(LevellingCheck, NothingShownWithoutAFile)
{
    test::TempHome missing;
    missing.answerOpen({missing.path(QStringLiteral("d:\\none.txt"))});
    dushujiancha_Click(missing.context);
    EXPECT_TRUE(missing.ui.messages().isEmpty());

    test::TempHome cancelled;
    cancelled.answerOpen({});
    dushujiancha_Click(cancelled.context);
    EXPECT_TRUE(cancelled.ui.messages().isEmpty());
    const QJsonObject dialog = cancelled.ui.events()[0].toObject();
    EXPECT_EQ(dialog.value("title").toString(), "打开坐标数据文件");
    EXPECT_EQ(dialog.value("filter").toString(), "坐标文件(*.*)|*.*");
}
