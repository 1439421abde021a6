// The point-symbol block, the zd.scr layouts, the CASS short-code file, the
// field-code note and the South-format point list.
#include "coords/cass_files.h"
#include "coords/point_scripts.h"

#include "cad/cad.h"
#include "platform/errors.h"
#include "platform/paths.h"
#include "platform/text_file.h"
#include "cad_host.h"
#include "test_support.h"

#include <QDir>
#include <QFile>
#include <QJsonObject>
#include <gtest/gtest.h>

using namespace kelvor;
using namespace kelvor::coords;
using kelvor::cad::Entity;
using kelvor::cad::EntityKind;
using kelvor::test::CadHost;
using kelvor::test::TempHome;
using kelvor::test::u;

namespace {

QString lastText(const TempHome& home)
{
    return test::lastMessage(home).value("text").toString();
}

QStringList zdScr()
{
    return readTextLines(zdScrPath());
}

} // namespace

TEST(PointSymbol, FourLinesClockwiseAndAPointOnce)
{
    CadHost h;
    jlblock_Click(h.home.context);
    jlblock_Click(h.home.context);

    cad::Block* b = h.doc().findBlock(kPointSymbol);
    ASSERT_NE(b, nullptr);
    ASSERT_EQ(b->Count(), 5);
    const double corners[5][2] = {{-2.5, 2.5}, {2.5, 2.5}, {2.5, -2.5}, {-2.5, -2.5}, {-2.5, 2.5}};
    for (int i = 0; i < 4; ++i) {
        Entity* l = b->Item(i);
        ASSERT_EQ(l->kind(), EntityKind::Line) << i;
        EXPECT_EQ(l->StartPoint().x, corners[i][0]) << i;
        EXPECT_EQ(l->StartPoint().y, corners[i][1]) << i;
        EXPECT_EQ(l->EndPoint().x, corners[i + 1][0]) << i;
        EXPECT_EQ(l->EndPoint().y, corners[i + 1][1]) << i;
    }
    EXPECT_EQ(b->Item(4)->kind(), EntityKind::Point);
    EXPECT_EQ(h.doc().GetVariable(u("osmode")).toInt(), 675);
    EXPECT_EQ(h.ms().Count(), 0);
    const QJsonArray m = h.home.ui.messages();
    ASSERT_EQ(m.size(), 2);
    for (const auto& v : m) {
        EXPECT_EQ(v.toObject().value("text").toString(), u("已成功在CAD系统中创建了名为“点位符号”的内部块。"));
        EXPECT_EQ(v.toObject().value("icon").toString(), u("information"));
    }
}

TEST(PointSymbol, NoHostSaysSo)
{
    CadHost h;
    h.app.setRunning(false);
    jlblock_Click(h.home.context);
    EXPECT_EQ(lastText(h.home), u("AutoCAD 系统未启动或其它的错误！"));
    EXPECT_EQ(test::lastMessage(h.home).value("icon").toString(), u("critical"));
}

TEST(PointScripts, Layouts)
{
    EXPECT_EQ(pointSymbolScript(u("P1 251.2 384.5 12.3")),
              (QStringList{u("text"), u("384.5,251.2"), u("10"), u("0"), u("P1"), u("insert"), u("点位符号"),
                           u("384.5,251.2"), u(""), u(""), u("")}));
    EXPECT_EQ(pointSymbolScript(u("")),
              (QStringList{u("text"), u(","), u("10"), u("0"), u(""), u("insert"), u("点位符号"), u(","), u(""),
                           u(""), u("")}));
    EXPECT_EQ(controlPointScript(u("  P1   251.2  384.5 12.3 "), controlPointCode(1)),
              (QStringList{u("DD"), u("131800"), u("384.5,251.2"), u("12.3"), u("P1")}));
    EXPECT_EQ(controlPointScript(u("P1 251.2 384.5"), controlPointCode(0)),
              (QStringList{u("DD"), u("131500"), u("384.5,251.2"), u(""), u("P1")}));
    EXPECT_EQ(controlPointCode(2), u("131700"));
    // a tab belongs to its field
    EXPECT_EQ(controlPointScript(u("P1\t1 2 3"), u("c"))[2], u("3,2"));
}

TEST(PointScripts, PrefixSelection)
{
    const struct {
        const char* name;
        const char* answer;
        bool selected;
    } cases[] = {
        {"K01", "k", true},   {"k02", "k", true},     {"JK1", "k", false},   {"JK1", "所有", true},
        {"JK1", "所有 ", false}, {"所有x", "所有 ", true}, {"JK1", "", true},    {"JK1", "  ", true},
        {"K", "K01", false},  {"k01", " K0 ", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(prefixSelects(u(c.name), u(c.answer)), c.selected) << c.name << " / '" << c.answer << "'";
}

TEST(PointScripts, OutfilezbWritesElevenLinesPerLineAndOffersTheBlock)
{
    for (const char* button : {"No", "Yes"}) {
        CadHost h;
        test::writeGbkLines(h.home.path(u("d:\\p.txt")), {u("P1 251.2 384.5 12.3"), u(""), u("P2 1 2")});
        h.home.answerOpen({h.home.path(u("d:\\p.txt"))});
        h.home.answer("button", button);
        outfilezb_Click(h.home.context);

        const QStringList lines = zdScr();
        ASSERT_EQ(lines.size(), 33) << button;
        EXPECT_EQ(lines.mid(0, 11), pointSymbolScript(u("P1 251.2 384.5 12.3"))) << button;
        EXPECT_EQ(lines[12], u(",")) << button;
        EXPECT_EQ(lines[26], u("P2")) << button;
        const QJsonArray m = h.home.ui.messages();
        const QJsonObject q = m.first().toObject();
        EXPECT_EQ(q.value("title").toString(), u("成果"));
        EXPECT_EQ(q.value("buttons").toString(), u("YesNo"));
        EXPECT_EQ(q.value("default").toInt(), 2);
        EXPECT_TRUE(q.value("text").toString().endsWith(u("\r是否需要创建符号块？")));
        EXPECT_EQ(h.doc().findBlock(kPointSymbol) != nullptr, QString(button) == u("Yes")) << button;
    }
}

TEST(PointScripts, ScriptWritersOnEmptyAndMissingFiles)
{
    const struct {
        const char* name;
        bool control;
        bool exists;
        const char* message;
    } cases[] = {
        {"outfilezb empty", false, true, "文件为空或格式不对！"},
        {"outfilezb missing", false, false, "未知的错误。"},
        {"djdaoxiao empty", true, true, "文件为空或格式不对！"},
        {"djdaoxiao missing", true, false, "Err: 53"},
    };
    for (const auto& c : cases) {
        TempHome home;
        writeTextLines(zdScrPath(), {u("old")});
        if (c.exists)
            test::writeBytes(home.path(u("d:\\p.txt")), QByteArray());
        home.answerOpen({home.path(u("d:\\p.txt"))});
        if (c.control && c.exists)
            home.answer("input", "");
        if (c.control)
            djdaoxiao_Click(home.context, 0);
        else
            outfilezb_Click(home.context);
        EXPECT_EQ(lastText(home), u(c.message)) << c.name;
        EXPECT_EQ(zdScr(), QStringList{u("old")}) << c.name;
    }
}

TEST(PointScripts, DjdaoxiaoWritesTheSelectedPoints)
{
    TempHome home;
    test::writeGbkLines(home.path(u("d:\\p.txt")), {u("K01 1 2 3"), u("k02 4 5"), u("JK1 7 8 9")});
    home.answerOpen({home.path(u("d:\\p.txt"))});
    home.answer("input", "k");
    djdaoxiao_Click(home.context, 1);

    EXPECT_EQ(zdScr(), (QStringList{u("DD"), u("131800"), u("2,1"), u("3"), u("K01"), u("DD"), u("131800"), u("5,4"),
                                   u(""), u("k02")}));
    const QJsonObject m = test::lastMessage(home);
    EXPECT_EQ(m.value("text").toString(), u("已经生成在本程序目录下的[Zd.scr]展点文件！\r"
                                             "请在CASS系统下命令行下用Script命令调用该文件。\r同时需预先设定绘图比例尺。"));
    EXPECT_EQ(m.value("title").toString(), u("CASS功能"));
    const FileDialogRequest& d = home.context.state().commonDialog;
    EXPECT_EQ(d.title, u("打开坐标数据文件"));
    EXPECT_EQ(d.filter, u("坐标文件(*.*)|*.*"));
}

TEST(CassFiles, JcodeDefAndNote)
{
    const QStringList rows = jcodeDefLines();
    ASSERT_EQ(rows.size(), 23);
    EXPECT_EQ(rows.first(), u("W1,144302"));
    EXPECT_EQ(rows[9], u("M1,204202"));
    EXPECT_EQ(rows[21], u("M1,204202"));
    EXPECT_EQ(rows.last(), u("End"));
    EXPECT_EQ(rows.join(u(";")),
              u("W1,144302;A1,140001;C1,131800;D1,204201;E1,154811;F1,162120;G1,171300;H1,202101;I1,155221;"
                "M1,204202;K1,211110;L1,144500;N1,164400;R1,163210;S1,181101;T1,152702;U1,155210;V1,216100;"
                "X1,174200;Z1,143912;O1,174800;M1,204202;End"));

    TempHome home;
    dmyd_Click(home.context);
    const QJsonObject m = test::lastMessage(home);
    EXPECT_EQ(m.value("title").toString(), u("外业记录代码约定"));
    EXPECT_EQ(m.value("icon").toString(), u("information"));
    const QString note = m.value("text").toString();
    EXPECT_EQ(note.count(u("\r")), 6);
    EXPECT_EQ(note.count(u("\n")), 1);
    EXPECT_TRUE(note.contains(u("E 台阶(看台符号) \rT 田埂")));
    EXPECT_TRUE(note.contains(u("Z 柱、墩  \r\r其中：C、H 已设定为控制点和高程点，不要使用。\r\n用户必须")));
    EXPECT_TRUE(note.startsWith(u("F 砼房   Y 阳台    W 围墙    L、B篱笆    O 污水蓖子(石油检修符号)\r")));
    EXPECT_TRUE(note.endsWith(u("否则地物无属性。")));
}

TEST(CassFiles, UpdatejmWritesIntoTheSystemFolder)
{
    const struct {
        const char* name;
        const char* answer;
        const char* folder; // made before the run
        const char* file;   // expected written, "" for none
        const char* message;
    } cases[] = {
        {"default folder", "C:\\Program Files\\CASS60", "c:\\Program Files\\CASS60\\system",
         "c:\\Program Files\\CASS60\\system\\jcode.def", "已成功更新文件！"},
        {"trailing backslash", "C:\\CASS\\", "c:\\CASS\\system", "c:\\CASS\\system\\jcode.def", "已成功更新文件！"},
        {"no system folder", "C:\\CASS", "c:\\CASS", "",
         "不能建立C:\\CASS\\system\\jcode.def文件，请确定输入Cass安装的目录是否正确。"},
        {"trailing blanks kept", "C:\\CASS  ", "c:\\CASS\\system", "",
         "不能建立C:\\CASS  \\system\\jcode.def文件，请确定输入Cass安装的目录是否正确。"},
    };
    for (const auto& c : cases) {
        TempHome home;
        QDir().mkpath(home.path(u(c.folder)));
        home.answer("input", u(c.answer));
        updatejm_Click(home.context);
        EXPECT_EQ(lastText(home), u(c.message)) << c.name;
        if (*c.file)
            EXPECT_EQ(test::readBytes(home.path(u(c.file))), test::gbkLines(jcodeDefLines())) << c.name;
        else
            EXPECT_FALSE(QFile::exists(home.path(u("c:\\CASS\\system\\jcode.def")))) << c.name;
    }
}

TEST(CassFiles, UpdatejmCancelledAndUnwritable)
{
    TempHome home;
    home.answer("button", "Cancel");
    updatejm_Click(home.context);
    EXPECT_TRUE(home.ui.messages().isEmpty());

    // jcode.def is a folder: it cannot be written
    QDir().mkpath(home.path(u("c:\\CASS\\system\\jcode.def")));
    home.answer("input", "C:\\CASS");
    updatejm_Click(home.context);
    EXPECT_TRUE(lastText(home).startsWith(u("Err: ")));
}

TEST(CassFiles, SouthFormat)
{
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"P1   3381234.567  519256.789   12.3", "P1,131100,3381234.567,519256.789,12.3"},
        {"P2 1 2", "P2,131100,1,2,"},
        {"  P3 1 2 3 4  ", "P3,131100,1,2,3"},
        {"P4\t1 2 3", "P4\t1,131100,2,3,"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(southLine(u(c.in)), u(c.out)) << c.in;
}

TEST(CassFiles, SouthFormatCommandStopsAtAnEmptyLine)
{
    TempHome home;
    test::writeGbkLines(home.path(u("d:\\p.txt")), {u("P1 1 2 3"), u("P2 1 2"), u("  "), u("P3 1 2 3")});
    home.answerOpen({home.path(u("d:\\p.txt"))});
    zhuobiaozhuanhuan_Click(home.context);
    const QString watch = paths::scratch(u("watch.txt"));
    EXPECT_EQ(test::readBytes(watch), test::gbkLines({u("P1,131100,1,2,3"), u("P2,131100,1,2,")}));
    EXPECT_EQ(home.ui.textWindowFiles(), QStringList{watch});
    const FileDialogRequest& d = home.context.state().commonDialog;
    EXPECT_EQ(d.title, u("打开坐标文件"));
    EXPECT_EQ(d.filter, u("文件(*.txt)|*.txt"));
}

TEST(PointScripts, ControlPointScriptRunsThroughTheHostsScriptCommand)
{
    CadHost h;
    test::writeGbkLines(h.home.path(u("d:\\p.txt")), {u("K01 1 2 3"), u("K02 4 5")});
    h.home.answerOpen({h.home.path(u("d:\\p.txt"))});
    h.home.answer("input", "");
    djdaoxiao_Click(h.home.context, 2);
    h.doc().SendCommand(u("SCRIPT\r") + zdScrPath() + u("\r"));
    EXPECT_FALSE(h.app.transcript().contains(u("未知命令"))) << h.app.transcript().toStdString();
    EXPECT_TRUE(h.app.journal().contains(u("DD\r131700\r2,1\r3\rK01\rDD\r131700\r5,4\r\rK02\r")));
}
