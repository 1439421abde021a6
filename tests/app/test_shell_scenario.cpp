#include "app/scenario.h"
#include "platform/paths.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace kelvor;

namespace {

app::ScenarioResult runText(const char* json)
{
    return app::runScenarioText(QByteArray(json));
}

QJsonArray eventsOf(const app::ScenarioResult& r, const QString& kind)
{
    QJsonArray out;
    for (const auto& e : r.output.value(QStringLiteral("events")).toArray()) {
        if (e.toObject().value(QStringLiteral("kind")).toString() == kind)
            out.append(e);
    }
    return out;
}

} // namespace

TEST(Scenario, MalformedScenariosAreRefusedBeforeAnythingRuns)
{
    const char* const cases[] = {
        "not json",
        "[1, 2]",
        R"({"run": "tishi"})",
        R"({"run": ["no_such_item"]})",
        R"({"run": [], "unknown": 1})",
        R"({"run": [], "answers": [{"kind": "telepathy"}]})",
        R"({"run": [], "answers": {"kind": "button"}})",
        R"({"run": [], "cad": "running"})",
        R"({"run": [], "sheet": {"Text1": {"14": "x"}}})",
        R"({"run": [], "sheet": {"Text9": {}}})",
        R"({"run": [], "sheet": {"rows": 13}})",
    };
    for (const char* c : cases) {
        SCOPED_TRACE(c);
        const app::ScenarioResult r = runText(c);
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_FALSE(r.output.value(QStringLiteral("error")).toString().isEmpty());
        EXPECT_FALSE(r.output.contains(QStringLiteral("events")));
    }
}

TEST(Scenario, HelpItemIsReportedWithItsMessage)
{
    const app::ScenarioResult r = runText(R"({"run": ["tishi"], "cad": "stopped"})");
    EXPECT_EQ(r.exitCode, 0);
    const QJsonArray messages = eventsOf(r, QStringLiteral("message"));
    ASSERT_EQ(messages.size(), 1);
    const QJsonObject m = messages.at(0).toObject();
    EXPECT_EQ(m.value(QStringLiteral("text")).toString(), QStringLiteral("请参考《Kelvor使用手册》"));
    EXPECT_EQ(m.value(QStringLiteral("title")).toString(), QStringLiteral("帮助"));
    EXPECT_EQ(m.value(QStringLiteral("icon")).toString(), QStringLiteral("exclamation"));
    EXPECT_FALSE(r.output.contains(QStringLiteral("error")));
}

TEST(Scenario, AnswerOfAnotherKindStopsTheRunThere)
{
    const app::ScenarioResult r = runText(R"json({
        "run": ["publicfiles", "tishi"],
        "answers": [{"kind": "input", "value": "x"}, {"kind": "enter"}]
    })json");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.output.value(QStringLiteral("error")).toString().contains(QStringLiteral("open")));
    EXPECT_TRUE(eventsOf(r, QStringLiteral("message")).isEmpty()); // tishi never ran
    // the answer that did not fit stays unused with the rest
    EXPECT_EQ(r.output.value(QStringLiteral("unused_answers")).toArray().size(), 2);
}

TEST(Scenario, SetupAndResultsRoundTrip)
{
    QTemporaryDir home;
    const QString json = QString::fromUtf8(R"json({
        "home": "%1",
        "settings": {"版本更新日期=": "20070405", "已知点成果=": "d:\\pts.txt", "Savelist1=": "d:\\r.CG"},
        "files": {"d:\\pts.txt": "A 1 2 3\r\nB 4 5 6\r\n"},
        "sheet": {"Text1": {"3": "B"}, "Text5": ["P1", "90.0000"], "Combo1": "二级图根", "rows": 2},
        "answers": [{"kind": "open", "paths": ["d:\\common.txt"]}, {"kind": "button", "value": "Yes"}],
        "run": ["outfilew(1)", "publicfiles", "outfilew(3)", "guanyu", "quit", "tishi"],
        "read_files": ["d:\\pts.txt", "d:\\none.txt"]
    })json").arg(home.path());
    const app::ScenarioResult r = app::runScenarioText(json.toUtf8());
    ASSERT_EQ(r.exitCode, 0) << r.output.value(QStringLiteral("error")).toString().toStdString();
    const QJsonObject& o = r.output;

    EXPECT_EQ(o.value(QStringLiteral("text_window")).toArray(),
              (QJsonArray{QStringLiteral("D:\\pts.txt"), QStringLiteral("D:\\r.CG")}));
    EXPECT_EQ(o.value(QStringLiteral("files")).toObject().value(QStringLiteral("d:\\pts.txt")).toString(),
              QStringLiteral("A 1 2 3\r\nB 4 5 6\r\n"));
    EXPECT_TRUE(o.value(QStringLiteral("files")).toObject().value(QStringLiteral("d:\\none.txt")).isNull());

    const QJsonObject sheet = o.value(QStringLiteral("sheet")).toObject();
    EXPECT_EQ(sheet.value(QStringLiteral("Text1")).toObject(), (QJsonObject{{QStringLiteral("3"), QStringLiteral("B")}}));
    EXPECT_EQ(sheet.value(QStringLiteral("Text5")).toObject(),
              (QJsonObject{{QStringLiteral("0"), QStringLiteral("P1")}, {QStringLiteral("1"), QStringLiteral("90.0000")}}));
    EXPECT_EQ(sheet.value(QStringLiteral("Combo1")).toString(), QStringLiteral("二级图根"));
    EXPECT_EQ(sheet.value(QStringLiteral("rows")).toInt(), 2);

    // quit stored the grade and recent report and ended the run before tishi;
    // names stored afresh come out upper-cased as the store keeps them
    const QJsonObject settings = o.value(QStringLiteral("settings")).toObject();
    EXPECT_EQ(settings.value(QStringLiteral("DXDJ=")).toString(), QStringLiteral("二级图根"));
    EXPECT_EQ(settings.value(QStringLiteral("Savelist1=")).toString(), QStringLiteral("D:\\R.CG"));
    EXPECT_EQ(settings.value(QStringLiteral("PUBLICFILENAME=")).toString(), QStringLiteral("D:\\COMMON.TXT"));
    EXPECT_FALSE(settings.contains(QStringLiteral("QW_PM="))); // no first-run defaults
    EXPECT_EQ(o.value(QStringLiteral("menu")).toObject().value(QStringLiteral("publicfiles")).toString(),
              QStringLiteral("D:\\common.txt"));

    QStringList kinds;
    for (const auto& e : o.value(QStringLiteral("events")).toArray()) {
        const QJsonObject eo = e.toObject();
        kinds.append(eo.value(QStringLiteral("kind")).toString() + QLatin1Char(':')
                     + eo.value(QStringLiteral("item")).toString() + eo.value(QStringLiteral("form")).toString());
    }
    EXPECT_EQ(kinds, (QStringList{QStringLiteral("run:outfilew(1)"), QStringLiteral("text_window:"),
                                  QStringLiteral("run:publicfiles"), QStringLiteral("open:"),
                                  QStringLiteral("run:outfilew(3)"), QStringLiteral("text_window:"),
                                  QStringLiteral("run:guanyu"), QStringLiteral("window:Form2"),
                                  QStringLiteral("run:quit"), QStringLiteral("ended:")}));
    EXPECT_EQ(o.value(QStringLiteral("unused_answers")).toArray().size(), 1);
}

TEST(Scenario, FreshHomeGetsTheFirstRunDefaults)
{
    const app::ScenarioResult r = runText(R"({"run": []})");
    ASSERT_EQ(r.exitCode, 0);
    const QJsonObject settings = r.output.value(QStringLiteral("settings")).toObject();
    EXPECT_EQ(settings.value(QStringLiteral("QW_PM=")).toString(), QStringLiteral("3"));
    // the load step ran before the defaults: the grade box is still empty
    EXPECT_EQ(r.output.value(QStringLiteral("sheet")).toObject().value(QStringLiteral("Combo1")).toString(), QString());
}
