#include "coords/pcy_exchange.h"
#include "platform/commands.h"
#include "coords/commands.h"
#include "platform/errors.h"
#include "platform/paths.h"
#include "platform/text_file.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QJsonObject>

using namespace kelvor;
using namespace kelvor::coords;
using kelvor::test::TempHome;
using kelvor::test::fixture;
using kelvor::test::readBytes;
using kelvor::test::lastMessage;
using kelvor::test::linesOf;
using kelvor::test::writeBytes;

namespace {

TEST(PcyExport, WritesEntityPairsWithNonZeroValues)
{
    TempHome home;
    home.answerOpen({fixture("fixtures/one_point.dxf")});
    home.answer("save", "d:\\jh.txt");
    zhuobiaohuandai1scjhwj(home.context);
    EXPECT_EQ(readTextLines("d:\\jh.txt"),
              (QStringList{"[EARTHKNOWNDATA]", "22,3381234.5670,519256.7890,", "[EARTHUNKNOWNDATA]"}));
    EXPECT_TRUE(readBytes("d:\\jh.txt").endsWith("[EARTHUNKNOWNDATA]\r\n"));
    const QJsonObject m = lastMessage(home);
    EXPECT_EQ(m.value("text").toString(), QStringLiteral("已经生成平差易交数据文件") + paths::toWindows(home.path("d:\\jh.txt"))
                                              + QStringLiteral("\r\n请在使用[平差易->工具->大地正反算]调入该文件。"));
    EXPECT_EQ(m.value("title").toString(), QStringLiteral("提示"));
    EXPECT_EQ(m.value("icon").toString(), QStringLiteral("exclamation"));
    const QJsonArray ev = home.ui.events();
    EXPECT_EQ(ev[0].toObject().value("title").toString(), QStringLiteral("打开DXF文件"));
    EXPECT_EQ(ev[1].toObject().value("title").toString(), QStringLiteral("需保存的平差易坐标转换源文件"));
    EXPECT_EQ(ev[1].toObject().value("filter").toString(), QStringLiteral("平差易文件(*.txt)|*.txt|所有文件(*.*)|*.*"));
}

TEST(PcyExport, RowsFollowTheSectionsAndTheValues)
{
    const struct {
        const char* name;
        QStringList dxf;
        QStringList rows;
    } cases[] = {
        {"formats four decimals, text kept when not a number",
         {"ENTITIES", " 10", "519256.78945", " 20", "3381234.5678", " 11", "12abc", " 21", "7"},
         {"3,3381234.5678,519256.7895,", "7,7.0000,12abc,"}},
        {"nothing after ENDSEC until a further ENTITIES",
         {"ENTITIES", "ENDSEC", " 10", "1", " 20", "2", "ENTITIES", " 10", "3", " 20", "4"},
         {"9,4.0000,3.0000,"}},
        {"the y code line is not examined",
         {"ENTITIES", " 10", "5", "  8", "6"},
         {"3,6.0000,5.0000,"}},
        {"no ENTITIES, no rows", {" 10", "1", " 20", "2"}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempHome home;
        QByteArray in;
        for (const QString& l : c.dxf)
            in += l.toLatin1() + "\r\n";
        writeBytes(home.path("in.dxf"), in);
        writePcyExchangeFile(home.path("in.dxf"), home.path("jh.txt"));
        QStringList expected{"[EARTHKNOWNDATA]"};
        expected << c.rows << "[EARTHUNKNOWNDATA]";
        EXPECT_EQ(readTextLines(home.path("jh.txt")), expected);
    }
}

TEST(PcyMerge, PutsResultValuesOnTheirLines)
{
    TempHome home;
    writeBytes(home.path("d:\\out.txt"),
               "[EARTHKNOWNDATA]\r\n22,3381234.5670,519256.7890,\r\n[EARTHUNKNOWNDATA]\r\n"
               "22, 3384554.8950 ,231352.4669,extra\r\n");
    home.answerOpen({fixture("fixtures/one_point.dxf")});
    home.answerOpen({home.path("d:\\out.txt")});
    home.answer("save", "d:\\new.dxf");
    zhuobiaohuandai1schdhwj(home.context);

    const QList<QByteArray> before = linesOf(readBytes(fixture("fixtures/one_point.dxf")));
    const QList<QByteArray> after = linesOf(readBytes("d:\\new.dxf"));
    ASSERT_EQ(after.size(), before.size());
    for (int i = 0; i < before.size(); ++i) {
        if (i + 1 == 22)
            EXPECT_EQ(after[i], QByteArray("231352.4669"));
        else if (i + 1 == 24)
            EXPECT_EQ(after[i], QByteArray("3384554.8950"));
        else
            EXPECT_EQ(after[i], before[i]) << "line " << i + 1;
    }
    const QJsonObject m = lastMessage(home);
    EXPECT_EQ(m.value("text").toString(),
              QStringLiteral("已经转换完成！在Autocad中使用Dxfin命令调入：") + paths::toWindows(home.path("d:\\new.dxf")));
    EXPECT_EQ(m.value("title").toString(), QStringLiteral("提示"));
}

TEST(PcyMerge, TheExchangeFileItselfGivesAnIdenticalCopy)
{
    TempHome home;
    writePcyExchangeFile(fixture("fixtures/one_point.dxf"), home.path("jh.txt"));
    mergePcyResult(fixture("fixtures/one_point.dxf"), readPcyResult(home.path("jh.txt")), home.path("copy.dxf"));
    EXPECT_EQ(readBytes(home.path("copy.dxf")), readBytes(fixture("fixtures/one_point.dxf")));
}

TEST(PcyMerge, RowsApplyInOrderAndAMissingLineHoldsTheRest)
{
    // lines: 1 ENTITIES, 2 " 10", 3 x, 4 " 20", 5 y, 6 " 10", 7 x, 8 " 20", 9 y
    const QByteArray dxf = "ENTITIES\r\n 10\r\n1\r\n 20\r\n2\r\n 10\r\n3\r\n 20\r\n4\r\n";
    const struct {
        const char* name;
        const char* result;
        QList<QByteArray> lines;
    } cases[] = {
        {"both rows", "[EARTHUNKNOWNDATA]\r\n3,20,10\r\n7,40,30\r\n",
         {"ENTITIES", " 10", "10", " 20", "20", " 10", "30", " 20", "40"}},
        {"a row whose line was taken by the pair before holds the next",
         "[EARTHUNKNOWNDATA]\r\n3,20,10\r\n5,99,99\r\n7,40,30\r\n",
         {"ENTITIES", " 10", "10", " 20", "20", " 10", "3", " 20", "4"}},
        {"a row beyond the file", "[EARTHUNKNOWNDATA]\r\n30,20,10\r\n",
         {"ENTITIES", " 10", "1", " 20", "2", " 10", "3", " 20", "4"}},
        {"rows stop at a blank line", "[EARTHUNKNOWNDATA]\r\n3,20,10\r\n  \r\n7,40,30\r\n",
         {"ENTITIES", " 10", "10", " 20", "20", " 10", "3", " 20", "4"}},
        {"no header, no rows", "3,20,10\r\n",
         {"ENTITIES", " 10", "1", " 20", "2", " 10", "3", " 20", "4"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempHome home;
        writeBytes(home.path("in.dxf"), dxf);
        writeBytes(home.path("r.txt"), c.result);
        mergePcyResult(home.path("in.dxf"), readPcyResult(home.path("r.txt")), home.path("o.dxf"));
        EXPECT_EQ(linesOf(readBytes(home.path("o.dxf"))), c.lines);
    }
}

TEST(PcyRoute, FailuresShowTheirMessages)
{
    const QString busy = QStringLiteral("文件正在使用！");
    const QString empty = QStringLiteral("文件数据为空或格式不对！");
    const struct {
        const char* name;
        bool merge;
        QByteArray dxf;
        QByteArray result;
        bool sameTarget;
        QString text;
        QString title;
    } cases[] = {
        {"export onto its own source", false, "ENTITIES\r\n", "", true, busy, QStringLiteral("错误")},
        {"empty dxf", false, "", "", false, empty, QStringLiteral("错误")},
        {"dxf ends after a code", false, "ENTITIES\r\n 10\r\n", "", false, empty, QStringLiteral("错误")},
        {"merge onto its own source", true, "ENTITIES\r\n", "[EARTHUNKNOWNDATA]\r\n", true, busy,
         QStringLiteral("错误")},
        {"empty result", true, "ENTITIES\r\n", "", false, empty, QStringLiteral("错误")},
        {"row of two fields", true, "ENTITIES\r\n", "[EARTHUNKNOWNDATA]\r\n2,3\r\n", false, QStringLiteral("Err: 9"),
         applicationTitle()},
        {"dxf ends inside a row's pair", true, "ENTITIES\r\n 10\r\n1\r\n", "[EARTHUNKNOWNDATA]\r\n3,20,10\r\n", false,
         empty, QStringLiteral("错误")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempHome home;
        writeBytes(home.path("d:\\in.dxf"), c.dxf);
        writeBytes(home.path("d:\\r.txt"), c.result);
        home.answerOpen({home.path("d:\\in.dxf")});
        const QString target = c.sameTarget ? QStringLiteral("d:\\IN.DXF") : QStringLiteral("d:\\o.txt");
        if (c.merge) {
            home.answerOpen({home.path("d:\\r.txt")});
            home.answer("save", target);
            zhuobiaohuandai1schdhwj(home.context);
        } else {
            home.answer("save", target);
            zhuobiaohuandai1scjhwj(home.context);
        }
        const QJsonObject m = lastMessage(home);
        EXPECT_EQ(m.value("text").toString(), c.text);
        EXPECT_EQ(m.value("title").toString(), c.title);
        EXPECT_EQ(readBytes(home.path("d:\\in.dxf")), c.dxf);
    }
}

TEST(PcyRoute, CancelledDialogsEndSilently)
{
    for (int answered = 0; answered < 3; ++answered) {
        TempHome home;
        for (int i = 0; i < answered; ++i)
            home.answerOpen({fixture("fixtures/one_point.dxf")});
        home.answer("button", "Cancel");
        zhuobiaohuandai1schdhwj(home.context);
        EXPECT_TRUE(home.ui.messages().isEmpty());
    }
    TempHome home;
    home.answerOpen({fixture("fixtures/one_point.dxf")});
    home.answer("button", "Cancel");
    zhuobiaohuandai1scjhwj(home.context);
    EXPECT_TRUE(home.ui.messages().isEmpty());
}

TEST(PcyRoute, InstructionsAndRegisteredItems)
{
    TempHome home;
    CommandRegistry registry;
    registerCoordsCommands(registry);
    ASSERT_TRUE(registry.run("zhuobiaohuandai1czsm", home.context));
    const QJsonObject m = lastMessage(home);
    const QStringList lines = m.value("text").toString().split("\r\n");
    ASSERT_EQ(lines.size(), 7);
    EXPECT_EQ(lines[0], QStringLiteral("--------本功能利用平差易的坐标换带功能，对DXF文件进行换带计算------"));
    EXPECT_EQ(lines[6], QStringLiteral("5.生成的[out.dxf]，在AutoCAD中使用Dxfin命令调入。"));
    EXPECT_EQ(m.value("icon").toString(), QStringLiteral("none"));
    EXPECT_EQ(m.value("title").toString(), applicationTitle());

    QStringList opened;
    home.context.openWindow = [&](const QString& form) { opened << form; };
    ASSERT_TRUE(registry.run("fangshi2zbzh", home.context));
    EXPECT_EQ(opened, QStringList{"HuanDaiJiSuan"});
    EXPECT_TRUE(registry.has("zhuobiaohuandai1scjhwj"));
    EXPECT_TRUE(registry.has("zhuobiaohuandai1schdhwj"));
}

} // namespace
