// Land-class code texts: conversion after the rules of the CommonFile and
// its restore, renumbering of patch numbers and finding texts.
#include "cad_host.h"
#include "landuse/class_conversion.h"
#include "test_support.h"

#include <QJsonObject>
#include <gtest/gtest.h>

using namespace kelvor;
using namespace kelvor::landuse;
using test::u;

namespace {

const char* const kRulesFile = "d:\\rules.txt";

struct CodeHost : test::CadHost {
    void rules(const QStringList& lines)
    {
        test::writeGbkLines(home.path(QString::fromLatin1(kRulesFile)), lines);
        context.state().commonFile = QString::fromLatin1(kRulesFile);
    }
    cad::Entity* text(const QString& s, double x = 0, double y = 0) { return ms().AddText(s, {x, y, 0}, 2); }
    void convert(const std::vector<cad::Entity*>& texts)
    {
        QStringList handles;
        for (cad::Entity* t : texts)
            handles << t->Handle();
        answerSelect(handles);
        oldchangnewdl_Click(context);
    }
    void restore(const std::vector<cad::Entity*>& texts)
    {
        QStringList handles;
        for (cad::Entity* t : texts)
            handles << t->Handle();
        answerSelect(handles);
        huifujiudilei_Click(context);
    }
};

QStringList lines(std::initializer_list<const char*> l)
{
    QStringList out;
    for (const char* s : l)
        out << u(s);
    return out;
}

} // namespace

TEST(ClassConversion, RulesAreTrimmedAndShortLinesSkipped)
{
    const std::vector<ConversionRule> rules = ParseConversionRules(
        lines({" 111 , 水田 , 011 ,extra", "", "112,旱地", "113", "114,,2", ",空,"}));
    ASSERT_EQ(rules.size(), 3u);
    EXPECT_EQ(rules[0].from, QStringLiteral("111"));
    EXPECT_EQ(rules[0].label, u("水田"));
    EXPECT_EQ(rules[0].to, QStringLiteral("011"));
    EXPECT_EQ(rules[1].from, QStringLiteral("114"));
    EXPECT_EQ(rules[1].label, QString());
    EXPECT_EQ(rules[2].from, QString());
}

TEST(ClassConversion, RulesApplyInFileOrderToTheStringTheyLeave)
{
    const std::vector<ConversionRule> rules{{"112", "b", "113"}, {"111", "a", "112"}, {"112", "c", "114"},
                                            {"A1", "d", "7"}};
    const struct {
        const char* text;
        std::vector<double> thickness;
        QStringList results;
    } cases[] = {
        {"111", {111, 112}, {"112", "114"}}, // 112 -> 113 stands above: not applied again
        {"112", {112}, {"113"}},
        {"111 ", {}, {}}, // the string as stored: a trailing blank matches no rule
        {"A1", {0}, {"7"}},
        {"", {}, {}},
    };
    for (const auto& c : cases) {
        const std::vector<CodeChange> changes = ConvertCode(QString::fromLatin1(c.text), rules);
        ASSERT_EQ(changes.size(), c.results.size()) << c.text;
        for (size_t i = 0; i < changes.size(); ++i) {
            EXPECT_EQ(changes[i].thickness, c.thickness[i]) << c.text << " step " << i;
            EXPECT_EQ(changes[i].text, c.results[int(i)]) << c.text << " step " << i;
        }
    }
    EXPECT_EQ(ConvertCode(QStringLiteral("111"), {{"111", u("水田"), "011"}}).at(0).note, u("--水田改为-->011\r\n"));
}

TEST(ClassConversion, ConversionAndRestoreOnTheDrawing)
{
    const struct {
        const char* name;
        QStringList rules;
        const char* text;
        const char* converted;
        double thickness;
        int colour;
        QStringList notes;
        const char* restored;
    } cases[] = {
        {"one rule", lines({"111,水田,011"}), "111", "011", 111, 5, lines({"--水田改为-->011\r\n"}), "111"},
        {"leading zero kept", lines({"011,水田,2"}), "011", "2", 11, 5, lines({"--水田改为-->2\r\n"}), "011"},
        {"chain", lines({"111,水田,112", "112,旱地,113"}), "111", "113", 112, 5,
         lines({"--水田改为-->112\r\n", "--旱地改为-->113\r\n"}), "111"},
        {"trimmed rule, short lines skipped", lines({"", "111,水田", " 111 , 水田 , 011 "}), "111", "011", 111, 5,
         lines({"--水田改为-->011\r\n"}), "111"},
        {"trailing blank", lines({"111,水田,011"}), "111 ", "111 ", 0, cad::ColorByLayer, {}, "111 "},
        {"no leading number", lines({"A1,其他,7"}), "A1", "7", 0, 5, lines({"--其他改为-->7\r\n"}), "A1"},
    };
    for (const auto& c : cases) {
        CodeHost h;
        h.rules(c.rules);
        cad::Entity* t = h.text(QString::fromLatin1(c.text));
        h.convert({t});
        EXPECT_EQ(t->TextString(), QString::fromLatin1(c.converted)) << c.name;
        EXPECT_EQ(t->Thickness(), c.thickness) << c.name;
        EXPECT_EQ(t->Color(), c.colour) << c.name;
        EXPECT_EQ(h.app.transcript().count(u("改为-->")), c.notes.size()) << c.name;
        for (const QString& note : c.notes)
            EXPECT_TRUE(h.app.transcript().contains(note)) << c.name << ": " << note.toStdString();
        EXPECT_TRUE(test::messageTexts(h.home).isEmpty()) << c.name;

        h.restore({t});
        EXPECT_EQ(t->TextString(), QString::fromLatin1(c.restored)) << c.name;
        EXPECT_EQ(t->Thickness(), 0) << c.name;
        EXPECT_EQ(t->Color(), c.notes.isEmpty() ? cad::ColorByLayer : 7) << c.name;
        EXPECT_TRUE(t->GetXData(QString()).empty()) << c.name << ": the kept code goes with the restore";
    }
}

TEST(ClassConversion, SecondConversionKeepsTheFirstOriginal)
{
    CodeHost h;
    h.rules(lines({"111,水田,011"}));
    cad::Entity* t = h.text(QStringLiteral("111"));
    h.convert({t});
    h.rules(lines({"011,水田,2"}));
    h.convert({t});
    EXPECT_EQ(t->TextString(), QStringLiteral("2"));
    EXPECT_EQ(t->Thickness(), 11);
    h.restore({t});
    EXPECT_EQ(t->TextString(), QStringLiteral("111"));
}

TEST(ClassConversion, RestoreTakesTheThicknessOfTextsNeverConverted)
{
    CodeHost h;
    cad::Entity* thick = h.text(QStringLiteral("x"));
    thick->setThickness(11.5);
    cad::Entity* flat = h.text(QStringLiteral("y"));
    flat->setColor(3);
    h.restore({thick, flat});
    EXPECT_EQ(thick->TextString(), QStringLiteral("11.5"));
    EXPECT_EQ(thick->Color(), 7);
    EXPECT_EQ(flat->TextString(), QStringLiteral("y"));
    EXPECT_EQ(flat->Color(), 3);
}

TEST(ClassConversion, CommonFileMessagesAndAMissingHost)
{
    {
        CodeHost h;
        cad::Entity* t = h.text(QStringLiteral("111"));
        h.convert({t});
        const QJsonObject box = test::lastMessage(h.home);
        EXPECT_EQ(box.value(QStringLiteral("text")).toString(),
                  u("请在[输出]菜单中的[通用文件名为空]下选择新旧地类转换定义文件！"));
        EXPECT_EQ(box.value(QStringLiteral("title")).toString(), u("错误"));
        EXPECT_EQ(box.value(QStringLiteral("icon")).toString(), QStringLiteral("critical"));
        EXPECT_EQ(t->TextString(), QStringLiteral("111"));
        EXPECT_EQ(h.home.answers.remaining().size(), 1) << "no selection is asked for";
    }
    {
        CodeHost h;
        h.context.state().commonFile = QStringLiteral(" d:\\missing.txt ");
        h.app.setRunning(false);
        oldchangnewdl_Click(h.context);
        const QJsonObject box = test::lastMessage(h.home);
        EXPECT_EQ(box.value(QStringLiteral("text")).toString(), u("无法找到:d:\\missing.txt文件！"));
        EXPECT_EQ(box.value(QStringLiteral("title")).toString(), applicationTitle());
        EXPECT_EQ(box.value(QStringLiteral("icon")).toString(), QStringLiteral("critical"));
    }
    {
        CodeHost h;
        h.rules(lines({"111,水田,011"}));
        h.app.setRunning(false);
        oldchangnewdl_Click(h.context);
        EXPECT_TRUE(test::messageTexts(h.home).isEmpty()) << "attached silently";
        huifujiudilei_Click(h.context);
        findzhidingzhifu_Click(h.context);
        EXPECT_EQ(test::messageTexts(h.home),
                  QStringList(2, u("AutoCAD 没有运行或版本不符合！")));
    }
}

TEST(ClassConversion, RenumberingGivesConsecutiveNumbersUntilAPickFails)
{
    const struct {
        const char* name;
        const char* start;
        int picks;        // texts picked before the ending answer
        bool endOnLine;   // the ending answer picks a line, else Esc
        QStringList numbers;
    } cases[] = {
        {"from 1, Esc", "1", 2, false, {"1", "2"}},
        {"half start", "12.5", 3, false, {"12.5", "13.5", "14.5"}},
        {"a line ends it", "7", 1, true, {"7"}},
        {"last number", "1000000", 1, false, {"1000000"}},
        {"above the last", "1000001", 0, false, {}},
    };
    for (const auto& c : cases) {
        CodeHost h;
        std::vector<cad::Entity*> texts;
        for (int i = 0; i < 3; ++i)
            texts.push_back(h.text(QStringLiteral("old"), 10.0 * i));
        cad::Entity* line = h.ms().AddLine({0, 50, 0}, {10, 50, 0});
        h.answer(QStringLiteral("real"), QString::fromLatin1(c.start));
        for (int i = 0; i < c.picks; ++i)
            h.answerEntity(texts[size_t(i)]->Handle());
        if (c.endOnLine)
            h.answerEntity(line->Handle());
        else
            h.answer(QStringLiteral("esc"));
        XIUGAITUBANHAO_Click(h.context);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(texts[size_t(i)]->TextString(), i < c.numbers.size() ? c.numbers[i] : QStringLiteral("old"))
                << c.name << " text " << i;
        EXPECT_TRUE(h.app.transcript().contains(u("\r\n请输起始图斑号:"))) << c.name;
        EXPECT_TRUE(test::messageTexts(h.home).isEmpty()) << c.name;
    }
}

TEST(ClassConversion, FindMarksWholeTrimmedMatches)
{
    CodeHost h;
    cad::Entity* hit = h.text(QStringLiteral(" 12 "), 30, 40);
    const std::vector<cad::Entity*> others{h.text(QStringLiteral("123"), 50, 60), h.text(QStringLiteral("A12"), 70, 80)};
    cad::Entity* second = h.text(QStringLiteral("12"), 90, 100);
    h.answerSelect({hit->Handle(), others[0]->Handle(), others[1]->Handle(), second->Handle()});
    h.answer(QStringLiteral("string"), QStringLiteral("12 "));
    const size_t before = h.ms().entities().size();
    findzhidingzhifu_Click(h.context);
    const std::vector<cad::Entity*> all = h.ms().entities();
    ASSERT_EQ(all.size(), before + 2);
    EXPECT_EQ(all[before]->Coordinates(), (std::vector<double>{30, 0, 0, 30, 40, 0}));
    EXPECT_EQ(all[before + 1]->Coordinates(), (std::vector<double>{90, 0, 0, 90, 100, 0}));
    EXPECT_TRUE(h.app.transcript().endsWith(u("运行结束！")));

    CodeHost empty;
    empty.answer(QStringLiteral("esc"));
    findzhidingzhifu_Click(empty.context);
    EXPECT_TRUE(empty.app.transcript().endsWith(u("没有选择的文字")));
    EXPECT_TRUE(empty.ms().entities().empty());
}
