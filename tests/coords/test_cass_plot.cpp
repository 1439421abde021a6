// Plotting CASS data files: which lines plot, what one point adds, the
// single-point command and the one-key command.
#include "coords/cass_plot.h"

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
using kelvor::test::u;

namespace {

std::vector<Entity*> ofKind(CadHost& h, EntityKind kind)
{
    std::vector<Entity*> out;
    for (Entity* e : h.ms().entities())
        if (e->kind() == kind)
            out.push_back(e);
    return out;
}

QString lastText(const CadHost& h)
{
    return test::lastMessage(h.home).value("text").toString();
}

// An E500 file of points coded F, U, X, G and H plus a control point.
QStringList oneKeyE500()
{
    return {u("head"), u("F 1"), u("300"), u("500"), u("U 1"), u("301"), u("501"), u("X 1"), u("302"), u("502"),
            u("G 1"), u("303"), u("503"), u("D 1"), u("304"), u("504"),
            u("KXY"), u("10"), u("20"), u("30"), u("K1"), u("DXY")};
}

} // namespace

TEST(CassPlot, WhichLinesPlot)
{
    const struct {
        const char* line;
        const char* skipped;
        bool plotted;
        int error;
    } cases[] = {
        {"12,F1,500.0,300.0,0", "CH", true, 0},
        {"1,+,1,2,0", "CH", false, 0},
        {"1,3+,1,2,0", "CH", false, 0},
        {"1,H1,1,2,0", "CH", false, 0},
        {"1,C1-12,1,2,0", "CH", false, 0},
        {"1,a1,1,2,0", "CH", false, 0},
        {"1,7ab,1,2,0", "CH", false, 0},
        {"1,U1,1,2,0", "CH", true, 0},
        {"1,U1,1,2,0", "CGHUX", false, 0},
        {"1,G1,1,2,0", "CGHUX", false, 0},
        {"13,F1,abc,300,0", "CH", false, err::TypeMismatch},
        {"13,F1,500", "CH", false, err::SubscriptOutOfRange},
        {"13", "CH", false, err::SubscriptOutOfRange},
        {"13,,1,2", "CH", false, err::InvalidArgument},
        {"13,+,abc", "CH", false, 0}, // not plotted, so never read
    };
    for (const auto& c : cases) {
        std::optional<CassPlotPoint> p;
        EXPECT_EQ(test::errorOf([&] { p = cassPlotPoint(u(c.line), u(c.skipped)); }), c.error) << c.line;
        EXPECT_EQ(p.has_value(), c.plotted) << c.line;
    }
    const CassPlotPoint p = *cassPlotPoint(u(" 12 , F1 , 500.0 , 300.0 ,0"), u("CH"));
    EXPECT_EQ(p.letter, QLatin1Char('F'));
    EXPECT_EQ(p.y, 500.0);
    EXPECT_EQ(p.x, 300.0);
}

TEST(CassPlot, SinglePointsAddPointAndLetterOnANewLayer)
{
    CadHost h;
    test::writeGbkLines(h.home.path(u("d:\\a.DAT")),
                        {u("12,F1,500.0,300.0,0"), u("13,+,1,2,0"), u("14,3+,1,2,0"), u("15,H1,1,2,0"),
                         u("16,C1-12,1,2,0"), u("17,a1,1,2,0"), u("18,7ab,1,2,0")});
    h.home.answerOpen({h.home.path(u("d:\\a.DAT"))});
    zhanhuidandianwei_Click(h.home.context);

    EXPECT_TRUE(h.home.ui.messages().isEmpty());
    ASSERT_EQ(h.ms().Count(), 2);
    Entity* point = h.ms().Item(0);
    Entity* text = h.ms().Item(1);
    ASSERT_EQ(point->kind(), EntityKind::Point);
    ASSERT_EQ(text->kind(), EntityKind::Text);
    EXPECT_EQ(point->Coordinate3().x, 500.0);
    EXPECT_EQ(point->Coordinate3().y, 300.0);
    EXPECT_EQ(text->InsertionPoint().x, 500.0);
    EXPECT_EQ(text->InsertionPoint().y, 300.0);
    EXPECT_EQ(text->TextString(), u("F"));
    EXPECT_DOUBLE_EQ(text->Height(), 0.3);
    for (Entity* e : {point, text}) {
        EXPECT_EQ(e->Layer(), u("ZDH"));
        EXPECT_EQ(e->Color(), 7);
    }
    EXPECT_EQ(h.doc().GetVariable(u("PDMODE")).toInt(), 34);
    EXPECT_DOUBLE_EQ(h.doc().GetVariable(u("PDSIZE")).toDouble(), 0.2);
    const FileDialogRequest& d = h.home.context.state().commonDialog;
    EXPECT_EQ(d.title, u("打开数据文件"));
    EXPECT_EQ(d.filter, u("数据文件(*.DAT)|*.DAT"));
}

TEST(CassPlot, SinglePointFailuresKeepWhatWasPlotted)
{
    const struct {
        const char* name;
        QStringList lines;
        const char* message;
        int points;
    } cases[] = {
        {"bad number", {u("12,F1,500.0,300.0,0"), u("13,F1,abc,300,0"), u("14,F1,1,1,0")}, "Err: 13", 1},
        {"short line", {u("12,F1,500.0,300.0,0"), u("13")}, "Err: 9", 1},
        {"empty file", {}, "文件数据为空或格式不对！", 0},
    };
    for (const auto& c : cases) {
        CadHost h;
        test::writeGbkLines(h.home.path(u("d:\\a.DAT")), c.lines);
        h.home.answerOpen({h.home.path(u("d:\\a.DAT"))});
        zhanhuidandianwei_Click(h.home.context);
        EXPECT_EQ(lastText(h), u(c.message)) << c.name;
        EXPECT_EQ(int(ofKind(h, EntityKind::Point).size()), c.points) << c.name;
    }
}

TEST(CassPlot, NoHostMeansNoDialog)
{
    for (auto run : {zhanhuidandianwei_Click, shujujianhuiyijiantong_Click}) {
        CadHost h;
        h.app.setRunning(false);
        run(h.home.context);
        ASSERT_EQ(h.home.ui.events().size(), 1);
        EXPECT_EQ(lastText(h), u("操作AutoCAD无效！"));
        EXPECT_EQ(test::lastMessage(h.home).value("title").toString(), u("错误"));
    }
}

TEST(CassPlot, OneKeyConvertsCopiesPlotsAndHandsOverTheCassCommands)
{
    CadHost h;
    QDir().mkpath(h.home.path(u("c:\\CASS60\\SYSTEM")));
    QDir().mkpath(h.home.path(u("c:\\CASS60\\DEMO")));
    h.doc().SaveAs(h.home.path(u("c:\\CASS60\\SYSTEM\\a.dxf")));
    test::writeGbkLines(h.home.path(u("d:\\f.500")), oneKeyE500());
    h.home.answerOpen({h.home.path(u("d:\\f.500"))});
    shujujianhuiyijiantong_Click(h.home.context);

    EXPECT_TRUE(h.home.ui.messages().isEmpty());
    const QByteArray dat = test::readBytes(h.home.path(u("d:\\f.DAT")));
    EXPECT_FALSE(dat.isEmpty());
    EXPECT_EQ(test::readBytes(h.home.path(u("d:\\展绘一键通数据.dat"))), dat);
    EXPECT_EQ(test::readBytes(h.home.path(u("c:\\CASS60\\DEMO\\展绘一键通数据.dat"))), dat);

    QStringList letters;
    for (Entity* t : ofKind(h, EntityKind::Text))
        letters << t->TextString();
    EXPECT_EQ(letters, (QStringList{u("F"), u("D")}));
    EXPECT_EQ(h.doc().GetVariable(u("PDMODE")).toInt(), 2);
    EXPECT_EQ(h.app.journal(), u("GBBLC1 BMSB linewidth jmd 1 0 "));
    EXPECT_TRUE(h.app.events().contains(u("ZoomExtents")));
    EXPECT_TRUE(h.app.transcript().contains(u("正在展绘单点，请等候...... ")));
    EXPECT_TRUE(h.app.transcript().endsWith(u("一键通数据展绘完成！")));
}

TEST(CassPlot, OneKeyCopyThatFailsIsNamedAndPlottingGoesOn)
{
    CadHost h; // an unsaved drawing: no folder for the second copy
    test::writeGbkLines(h.home.path(u("d:\\f.500")), oneKeyE500());
    h.home.answerOpen({h.home.path(u("d:\\f.500"))});
    shujujianhuiyijiantong_Click(h.home.context);

    EXPECT_TRUE(h.home.ui.messages().isEmpty());
    EXPECT_TRUE(QFile::exists(h.home.path(u("d:\\展绘一键通数据.dat"))));
    EXPECT_TRUE(h.app.transcript().contains(u("无法写入:DEMO\\展绘一键通数据.dat\r\n")));
    EXPECT_EQ(ofKind(h, EntityKind::Point).size(), 2u);
    EXPECT_EQ(h.app.journal(), u("GBBLC1 BMSB linewidth jmd 1 0 "));
}

TEST(CassPlot, OneKeyConversionFailureStopsBeforeCopies)
{
    CadHost h;
    test::writeGbkLines(h.home.path(u("d:\\f.500")), {u("head"), u("F 1")});
    h.home.answerOpen({h.home.path(u("d:\\f.500"))});
    shujujianhuiyijiantong_Click(h.home.context);
    EXPECT_EQ(lastText(h), u("文件数据为空或格式不对！"));
    EXPECT_FALSE(QFile::exists(h.home.path(u("d:\\展绘一键通数据.dat"))));
    EXPECT_EQ(h.ms().Count(), 0);
    EXPECT_EQ(h.app.journal(), QString());
}
