#include "app/tools/calculators.h"
#include "cad/cad.h"
#include "cad_host.h"
#include "test_support.h"

#include <QJsonObject>
#include <gtest/gtest.h>

#include <array>

using namespace kelvor;
using namespace kelvor::tools;
using kelvor::test::TempHome;
using kelvor::test::lastMessage;

namespace {

TEST(HeightDifference, HorizontalAndSlopeDistance)
{
    struct Case {
        const char* angle;
        const char* distance;
        const char* instrument;
        const char* target;
        bool slope;
        const char* text;
    };
    const Case cases[] = {
        {"1.3000", "100", "1.5", "1.2", false, "高差计算结果为: 2.919米"},
        {"1.3000", "100", "1.5", "1.2", true, "高差计算结果为: 2.918米"},
        {"-1.3000", "100", "1.2", "1.5", false, "高差计算结果为:-2.919米"},
        // a vertical angle that is no number is reported and counts as 0
        {"x", "100", "1.6", "1.1", false, "高差计算结果为: .5米"},
        {"0", "0", "1.0002", "1", false, "高差计算结果为: 0米"},
        {"0", "0", "1", "1.0002", false, "高差计算结果为: 0米"},
    };
    for (const Case& c : cases) {
        TempHome home;
        Command16_Click(home.context, QString::fromUtf8(c.angle), QString::fromUtf8(c.distance),
                        QString::fromUtf8(c.instrument), QString::fromUtf8(c.target), c.slope);
        const QJsonObject m = lastMessage(home);
        EXPECT_EQ(m.value("text").toString(), QString::fromUtf8(c.text)) << c.angle << " " << c.distance;
        EXPECT_EQ(m.value("title").toString(), QStringLiteral("计算结果"));
        EXPECT_EQ(m.value("icon").toString(), QStringLiteral("exclamation"));
    }
    // a distance or height that is no number is refused, never read as 0
    for (const auto& bad : {std::array<const char*, 3>{"abc", "1.5", "1"}, {"100", "1.5m", "1"}, {"100", "1.5", ""}}) {
        TempHome home;
        Command16_Click(home.context, QStringLiteral("1.3000"), QString::fromUtf8(bad[0]), QString::fromUtf8(bad[1]),
                        QString::fromUtf8(bad[2]), false);
        const QJsonObject m = lastMessage(home);
        EXPECT_EQ(m.value("text").toString(), QStringLiteral("输入格式不对！")) << bad[0] << bad[1] << bad[2];
        EXPECT_EQ(home.ui.messages().size(), 1);
    }
}

TEST(HeightDifference, PatternExamples)
{
    EXPECT_EQ(heightDifferenceText(12.3456), QStringLiteral("高差计算结果为: 12.346米"));
    EXPECT_EQ(heightDifferenceText(-1.5), QStringLiteral("高差计算结果为:-1.5米"));
    EXPECT_EQ(heightDifferenceText(10.0002), QStringLiteral("高差计算结果为: 10米"));
}

TEST(HeightDifference, BadAngleIsReportedOnce)
{
    TempHome home;
    Command16_Click(home.context, QStringLiteral("abc"), QStringLiteral("100"), QStringLiteral("1.5"),
                    QStringLiteral("1.2"), false);
    const QJsonArray m = home.ui.messages();
    ASSERT_EQ(m.size(), 2);
    EXPECT_EQ(m[0].toObject().value("text").toString(), QStringLiteral("错误！！"));
    EXPECT_EQ(m[1].toObject().value("text").toString(), QStringLiteral("高差计算结果为: .3米"));
}

TEST(AngleConverters, RadiansToDms)
{
    TempHome home;
    Command2_Click(home.context, QStringLiteral("0.00159847457565"));
    EXPECT_EQ(lastMessage(home).value("text").toString(), QStringLiteral("结果:0.05297090 (度分秒)"));
    Command2_Click(home.context, QStringLiteral("1"));
    EXPECT_EQ(lastMessage(home).value("text").toString(), QStringLiteral("结果:57.17448044 (度分秒)"));
    EXPECT_EQ(lastMessage(home).value("title").toString(), QString()) << "an empty title bar";
}

TEST(AngleConverters, RadiansBoxThatIsNoNumberIsRefused)
{
    for (const char* text : {"", "   ", "abc", "1.5x", "1e60"}) {
        TempHome home;
        Command2_Click(home.context, QString::fromUtf8(text));
        const QJsonArray m = home.ui.messages();
        ASSERT_EQ(m.size(), 1) << text;
        EXPECT_EQ(m[0].toObject().value("text").toString(), QStringLiteral("输入格式不对！")) << text;
        EXPECT_EQ(m[0].toObject().value("title").toString(), QStringLiteral("错误"));
        EXPECT_EQ(m[0].toObject().value("icon").toString(), QStringLiteral("critical"));
    }
}

TEST(AngleConverters, DmsToRadians)
{
    TempHome home;
    Command3_Click(home.context, QStringLiteral("1.3423434567"));
    EXPECT_EQ(lastMessage(home).value("text").toString(), QStringLiteral("结果:0.0274571056064 (弧度)"));
    Command3_Click(home.context, QStringLiteral("180"));
    EXPECT_EQ(lastMessage(home).value("text").toString(), QStringLiteral("结果:3.1415926535946 (弧度)"));
    EXPECT_EQ(lastMessage(home).value("title").toString(), QString()) << "an empty title bar";

    TempHome bad;
    Command3_Click(bad.context, QStringLiteral("abc"));
    const QJsonArray m = bad.ui.messages();
    ASSERT_EQ(m.size(), 2);
    EXPECT_EQ(m[0].toObject().value("text").toString(), QStringLiteral("错误！！"));
    EXPECT_EQ(m[1].toObject().value("text").toString(), QStringLiteral("结果:0.0000000000000 (弧度)"));
}

TEST(InverseBearing, Messages)
{
    struct Case {
        const char *x, *y, *x1, *y1, *text;
    };
    const Case cases[] = {
        {"1000", "1000", "1100", "1100", "结果：45度0分0.000秒"},
        {"1000", "1000", "900", "1000", "结果：180度0分0.000秒"},
        {"1000", "1000", "1000", "1000", "结果：0度0分0秒"},
    };
    for (const Case& c : cases) {
        TempHome home;
        Command6_Click(home.context, QString::fromUtf8(c.x), QString::fromUtf8(c.y), QString::fromUtf8(c.x1),
                       QString::fromUtf8(c.y1));
        const QJsonObject m = lastMessage(home);
        EXPECT_EQ(m.value("text").toString(), QString::fromUtf8(c.text)) << c.x1 << "," << c.y1;
        EXPECT_EQ(m.value("title").toString(), QStringLiteral("反算结果"));
        EXPECT_EQ(m.value("icon").toString(), QStringLiteral("information"));
    }
    // a coordinate that is no number gets the bad-input message and no result
    for (const char* bad : {"a", "", "1000x"}) {
        TempHome home;
        Command6_Click(home.context, QString::fromUtf8(bad), QStringLiteral("1000"), QStringLiteral("1100"),
                       QStringLiteral("1100"));
        EXPECT_EQ(lastMessage(home).value("text").toString(), QStringLiteral("输入格式不对！")) << bad;
        EXPECT_EQ(home.ui.messages().size(), 1);
    }
    // a bearing with minutes and seconds: minutes below 10 keep one digit
    const QString t = inverseBearingText(QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("100"),
                                         QStringLiteral("1.5"));
    EXPECT_TRUE(t.startsWith(QStringLiteral("结果：0度51分"))) << t.toStdString();
}

TEST(InverseBearing, SecondsAreCutNotRounded)
{
    EXPECT_EQ(bearingSecondsText(30.12000036), QStringLiteral("30.12"));
    EXPECT_EQ(bearingSecondsText(5.678004), QStringLiteral("5.678"));
    EXPECT_EQ(bearingSecondsText(0.00000036), QStringLiteral("0.000"));
    EXPECT_EQ(bearingSecondsText(0), QStringLiteral("0"));
    EXPECT_EQ(bearingSecondsText(59.99999), QStringLiteral("59.99"));
}

struct PlotHome : test::CadHost {
    PlotHome(bool withBlock)
    {
        if (withBlock) {
            cad::Block& b = app.ActiveDocument().BlocksAdd(cad::Point{}, QStringLiteral("点位符号"));
            b.AddCircle(cad::Point{}, 0.5);
        }
    }
    std::vector<cad::Entity*> model() { return app.ActiveDocument().ModelSpace().entities(); }
};

TEST(PointPlot, InsertsSymbolAndName)
{
    struct Case {
        const char* line;
        cad::Point at;
        const char* name;
    };
    const Case cases[] = {
        {"I1055   2532163.233   496573.073    27.24", {496573.073, 2532163.233, 0}, "I1055"},
        {"P1 100 200", {200, 100, 0}, "P1"},
        {"  P1  ", {0, 0, 0}, "P1"},
        {"P1\t100 200 300", {300, 200, 0}, "P1\t100"},
    };
    for (const Case& c : cases) {
        PlotHome home(true);
        Command1_Click(home.context, QString::fromUtf8(c.line));
        const auto ents = home.model();
        ASSERT_EQ(ents.size(), 2u) << c.line;
        EXPECT_EQ(ents[0]->kind(), cad::EntityKind::BlockReference);
        EXPECT_EQ(ents[0]->Name(), QStringLiteral("点位符号"));
        EXPECT_EQ(ents[0]->InsertionPoint(), c.at) << c.line;
        EXPECT_EQ(ents[1]->TextString(), QString::fromUtf8(c.name));
        EXPECT_EQ(ents[1]->InsertionPoint(), (cad::Point{c.at.x + 3, c.at.y, 0}));
        EXPECT_DOUBLE_EQ(ents[1]->Height(), 10);
        EXPECT_TRUE(home.app.events().last().startsWith(QStringLiteral("ZoomWindow"))) << c.line;
        EXPECT_TRUE(home.app.Visible());
        EXPECT_EQ(home.app.WindowState(), 3);
        EXPECT_TRUE(home.ui.messages().isEmpty());
    }
}

TEST(PointPlot, WithoutTheBlockOnlyTheName)
{
    PlotHome home(false);
    Command1_Click(home.context, QStringLiteral("P1 100 200"));
    const auto ents = home.model();
    ASSERT_EQ(ents.size(), 1u);
    EXPECT_EQ(ents[0]->TextString(), QStringLiteral("P1"));
    EXPECT_TRUE(home.ui.messages().isEmpty());
}

TEST(PointPlot, StoppedHostSaysNothing)
{
    PlotHome home(true);
    home.app.setRunning(false);
    Command1_Click(home.context, QStringLiteral("P1 100 200"));
    EXPECT_TRUE(home.model().empty());
    EXPECT_TRUE(home.ui.messages().isEmpty());

    TempHome none; // no host wired at all
    Command1_Click(none.context, QStringLiteral("P1 100 200"));
    EXPECT_TRUE(none.ui.messages().isEmpty());
}

} // namespace
