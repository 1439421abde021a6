#include "app/scenario.h"
#include "platform/paths.h"

#include <QFile>
#include <QFileInfo>
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

// A fault is named as it is, and the first one found wins in the order the
// runner checks: keys, answers, run entries, then what the set-up finds.
TEST(Scenario, MalformedScenariosNameTheirFirstFault)
{
    QTemporaryDir dir;
    QFile notDocument(dir.filePath(QStringLiteral("not.docx")));
    ASSERT_TRUE(notDocument.open(QIODevice::WriteOnly));
    notDocument.write("plain text\r\n");
    notDocument.close();
    const struct {
        const char* json;
        const char* error;
    } cases[] = {
        {"not json", "not a JSON object: illegal value at 1"},
        {R"({"run": "x", "unknown": 1, "cad": "running"})", "unknown key \"unknown\""},
        {R"({"run": "x", "cad": "running", "drawing": 5})", "\"cad\" takes only \"stopped\""},
        {R"({"run": "x", "drawing": 5, "answers": 5})", "\"drawing\" must be a path"},
        {R"({"run": [], "save_drawing": ""})", "\"save_drawing\" must be a path"},
        {R"({"run": "x", "cad": "stopped", "save_drawing": "d:\\a.dxf", "answers": 5})",
         "\"drawing\" and \"save_drawing\" need a running CAD host"},
        {R"({"run": "x", "answers": {"kind": "button"}})", "\"answers\" must be a list"},
        {R"({"run": "x", "answers": [1]})", "every answer must be an object"},
        {R"({"run": "x", "answers": [{"kind": "telepathy"}]})", "unknown answer kind \"telepathy\""},
        {R"({"sheet": {"rows": 13}})", "\"run\" must be a list of item names"},
        {R"({"run": ["tishi", 5, {"window": ""}], "sheet": {"rows": 13}})", "no item \"5\""},
        {R"({"run": ["tishi", {"command_line": 5}]})", "run[1]: \"command_line\" takes one text"},
        {R"({"run": [{"command_line": "LINE", "window": "probe"}]})", "run[0]: \"command_line\" takes one text"},
        {R"({"run": ["tishi", {"window": "probe", "tick": "x"}]})", "run[1]: unknown key \"tick\""},
        {R"({"run": [{}]})", "run[0]: \"window\" must name a form"},
        {R"({"run": [{"window": "probe", "set": {"Combo1": 1.5}}]})",
         "run[0]: \"Combo1\" takes a text, true, false or a list index"},
        {R"({"run": [{"window": "probe", "set": "Text1"}]})", "run[0]: \"set\" must be an object or a list of objects"},
        {R"({"run": [{"window": "probe", "set": ["Text1"]}]})", "run[0]: every element of \"set\" must be an object"},
        {R"({"run": [{"window": "probe", "click": ""}]})", "run[0]: \"click\" must name a control"},
        {R"({"run": [{"window": "probe", "double_click": 3}]})",
         "run[0]: \"double_click\" must name a control or the form"},
        {R"({"run": [{"window": "probe", "close": "yes"}]})", "run[0]: \"close\" must be true or false"},
        // what only the set-up finds, in its order
        {R"({"run": [], "settings": {"a=": [1]}, "files": {"d:\\a.txt": {}}})", "settings.a=: a text is expected"},
        {R"({"run": [], "files": {"d:\\a.txt": {}}, "drawing": "none.dxf"})", "files.d:\\a.txt: a text is expected"},
        {R"({"run": [], "drawing": "none.dxf", "workbook": 5})", "the drawing \"none.dxf\" does not exist"},
        {R"({"run": [], "drawing": "d:\\none.dxf"})", "the drawing \"d:\\none.dxf\" does not exist"},
        {R"({"run": [], "workbook": 5, "copy_files": {"d:\\a.docx": 5}})",
         "\"workbook\" takes \"unavailable\" or {\"cells\", \"active\"}"},
        {R"({"run": [], "workbook": {"cells": {"Z": 1}}})", "workbook.cells: \"Z\" is no cell"},
        {R"({"run": [], "workbook": {"cells": {"A1": true}}})", "workbook.cells.A1: a text or a number is expected"},
        {R"({"run": [], "workbook": {"active": "11"}})", "workbook.active: \"11\" is no cell"},
        {R"({"run": [], "workbook": {"sheet": 1}})", "workbook: unknown key \"sheet\""},
        {R"({"run": [], "copy_files": {"d:\\a.docx": 5}, "document": 5})",
         "copy_files.d:\\a.docx: a fixture path is expected"},
        {R"({"run": [], "copy_files": {"d:\\a.docx": "none.docx"}})", "the fixture \"none.docx\" does not exist"},
        {R"({"run": [], "document": 5, "sheet": {"rows": 13}})", "\"document\" must be a path"},
        {R"({"run": [], "document": "<dir>/not.docx"})",
         "the document \"<dir>/not.docx\" cannot be read: D:\\not.docx: not a zip package"},
        {R"({"run": [], "sheet": {"rows": -1}})", "sheet.rows must be 0 to 12"},
        {R"({"run": [], "sheet": {"Text1": {"14": "x"}}})", "sheet.Text1: no cell \"14\""},
        {R"({"run": [], "sheet": {"Text1": 5}})", "sheet.Text1 must be an object or an array"},
        {R"({"run": [], "sheet": {"Text5": ["a", {}]}})", "sheet.Text5[1]: a text is expected"},
        {R"({"run": [], "sheet": {"Combo2": false}})", "sheet.Combo2: a text is expected"},
        {R"({"run": [], "sheet": {"Text9": {}}})", "sheet: unknown key \"Text9\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.json);
        const QString json = QString::fromUtf8(c.json).replace(QStringLiteral("<dir>"), dir.path());
        const app::ScenarioResult r = app::runScenarioText(json.toUtf8());
        EXPECT_EQ(r.exitCode, 2);
        const QString error = QString::fromUtf8(c.error).replace(QStringLiteral("<dir>"), dir.path());
        EXPECT_EQ(r.output.value(QStringLiteral("error")).toString().toStdString(), error.toStdString());
        EXPECT_EQ(r.output.size(), 1); // nothing ran
    }
}

// The form of a scenario is checked whole before its home is made or
// anything is written into it.
TEST(Scenario, FaultsOfItsFormLeaveTheHomeUnmade)
{
    const struct {
        const char* tail;
        bool malformed;
    } cases[] = {
        {R"("run": ["tishi"], "unknown": 1)", true},
        {R"("run": ["tishi"], "answers": [{"kind": "telepathy"}])", true},
        {R"("run": ["tishi", {"window": "probe", "close": "yes"}])", true},
        {R"("run": ["tishi"], "cad": "stopped", "save_drawing": "d:\\a.dxf")", true},
        {R"("run": ["tishi"])", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tail);
        QTemporaryDir dir;
        const QString home = dir.filePath(QStringLiteral("home"));
        const QString json = QStringLiteral(R"({"home": "%1", "settings": {"a=": "1"}, "files": {"d:\\a.txt": "x"}, %2})")
                                 .arg(home, QString::fromUtf8(c.tail));
        const app::ScenarioResult r = app::runScenarioText(json.toUtf8());
        EXPECT_EQ(r.exitCode, c.malformed ? 2 : 0);
        EXPECT_EQ(QFileInfo::exists(home), !c.malformed);
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
