// The stake-out reading and distance, and the window that asks for them.
#include "coords/stake_out.h"
#include "coords/ui/windows.h"
#include "coords/ui/zbfy.h"

#include "cad/cad.h"
#include "cad_host.h"
#include "test_support.h"

#include <QJsonObject>
#include <QLineEdit>
#include <gtest/gtest.h>

using namespace kelvor;
using namespace kelvor::coords;
using kelvor::test::CadHost;
using kelvor::test::TempHome;
using kelvor::test::u;

namespace {

StakeOutInput defaults()
{
    return {u("100"), u("100"), u("200"), u("200"), u("136.6025"), u("236.6025"), u("0.0000")};
}

} // namespace

TEST(StakeOut, ReadingsAndDistances)
{
    const struct {
        const char* name;
        StakeOutInput in;
        const char* reading;
        const char* distance;
    } cases[] = {
        {"window defaults", defaults(), "30.0000", "141.421"},
        {"on the orientation direction", {u("100"), u("100"), u("200"), u("200"), u("150"), u("150"), u("0")}, "360.0000",
         "70.711"},
        {"not reduced below 360", {u("0"), u("0"), u("100"), u("0"), u("93.96926207859084"), u("34.20201433256687"), u("350.0000")},
         "370.0000", "100."},
        {"half a metre", {u("0"), u("0"), u("100"), u("0"), u("0"), u("0.5"), u("0")}, "90.0000", ".5"},
        {"twelve metres", {u("0"), u("0"), u("100"), u("0"), u("-12"), u("0"), u("0")}, "180.0000", "12."},
        {"left of the orientation", {u("0"), u("0"), u("0"), u("100"), u("100"), u("0"), u("10.3000")}, "280.3000",
         "100."},
        {"coincident station and orientation", {u("5"), u("5"), u("5"), u("5"), u("5"), u("6"), u("0")}, "90.0000",
         "1."},
        {"blanks around numbers", {u(" 100 "), u("100"), u("200"), u("200 "), u("136.6025"), u("236.6025"), u(" 0 ")},
         "30.0000", "141.421"},
    };
    for (const auto& c : cases) {
        const std::optional<StakeOutResult> r = stakeOut(c.in, nullptr);
        ASSERT_TRUE(r) << c.name;
        EXPECT_EQ(r->reading, u(c.reading)) << c.name;
        EXPECT_EQ(r->distance, u(c.distance)) << c.name;
    }
    EXPECT_EQ(stakeOutText(*stakeOut(defaults(), nullptr)), u("角度=30.0000(°′″) 距离=141.421米"));
}

TEST(StakeOut, CoordinatesThatAreNoNumbersComputeNothing)
{
    for (int i = 0; i < 6; ++i) {
        for (const char* bad : {"", "abc", "1,5"}) {
            StakeOutInput in = defaults();
            QString* fields[6] = {&in.stationX, &in.stationY, &in.orientX, &in.orientY, &in.pointX, &in.pointY};
            *fields[i] = u(bad);
            EXPECT_FALSE(stakeOut(in, nullptr)) << i << " '" << bad << "'";
        }
    }
}

TEST(StakeOut, ReadingThatIsNoNumberCountsZeroAfterItsMessage)
{
    TempHome home;
    StakeOutInput in = defaults();
    in.orientReading = u("x");
    EXPECT_EQ(stakeOut(in, &home.ui)->reading, u("30.0000"));
    EXPECT_EQ(test::lastMessage(home).value("text").toString(), u("错误！！"));
}

TEST(StakeOutWindow, ComputeShowsTheResultOrRefusesBadCoordinates)
{
    TempHome home;
    Zbfy w(home.context);
    EXPECT_EQ(w.windowTitle(), u("坐标放样"));
    w.Command13_Click();
    QJsonObject m = test::lastMessage(home);
    EXPECT_EQ(m.value("text").toString(), u("角度=30.0000(°′″) 距离=141.421米"));
    EXPECT_EQ(m.value("title").toString(), u("计算结果"));
    EXPECT_EQ(m.value("icon").toString(), u("exclamation"));

    w.findChild<QLineEdit*>(u("Text22(8)"))->setText(u(""));
    w.Command13_Click();
    m = test::lastMessage(home);
    EXPECT_EQ(m.value("text").toString(), u("数据为空或非法的数字或字符。"));
    EXPECT_EQ(m.value("title").toString(), u("错误"));
    EXPECT_EQ(m.value("icon").toString(), u("critical"));
}

TEST(StakeOutWindow, PicksFillTheRowAndTheWindowComesBack)
{
    const struct {
        int index;
        const char* xBox;
        const char* yBox;
        const char* prompt;
    } cases[] = {
        {0, "Text22(2)", "Text22(3)", "拾取测站点坐标:"},
        {1, "Text22(5)", "Text22(6)", "拾取定向点数据:"},
        {2, "Text22(8)", "Text22(9)", "拾取放样点数据:"},
    };
    for (const auto& c : cases) {
        CadHost h;
        Zbfy w(h.home.context);
        w.show();
        h.answerPoint(500123.4, 3381234.56);
        w.Command22_Click(c.index);
        EXPECT_EQ(w.findChild<QLineEdit*>(u(c.xBox))->text(), u("3381234.5600")) << c.index;
        EXPECT_EQ(w.findChild<QLineEdit*>(u(c.yBox))->text(), u("500123.4000")) << c.index;
        EXPECT_TRUE(h.app.transcript().contains(u(c.prompt))) << c.index;
        EXPECT_TRUE(w.isVisible()) << c.index;
        EXPECT_FALSE(w.isModal()) << c.index;
        EXPECT_TRUE(h.home.ui.messages().isEmpty()) << c.index;
    }
}

TEST(StakeOutWindow, CancelledPickAndNoHostLeaveTheBoxes)
{
    CadHost h;
    Zbfy w(h.home.context);
    w.show();
    h.answer("esc");
    w.Command22_Click(0);
    EXPECT_EQ(test::lastMessage(h.home).value("text").toString(), u("没有获取坐标值。"));
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.findChild<QLineEdit*>(u("Text22(2)"))->text(), u("100"));

    h.app.setRunning(false);
    w.Command22_Click(1);
    EXPECT_EQ(test::lastMessage(h.home).value("text").toString(), u("AutoCAD 系统未启动或其它的错误！"));
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.findChild<QLineEdit*>(u("Text22(5)"))->text(), u("200"));
}

TEST(StakeOutWindow, LoadedWindowKeepsItsValues)
{
    TempHome home;
    QWidget* first = loadZbfy(home.context, nullptr);
    first->findChild<QLineEdit*>(u("Text22(1)"))->setText(u("K9"));
    QWidget* again = loadZbfy(home.context, nullptr);
    EXPECT_EQ(again, first);
    EXPECT_EQ(again->findChild<QLineEdit*>(u("Text22(1)"))->text(), u("K9"));
    delete first;
    QWidget* fresh = loadZbfy(home.context, nullptr);
    EXPECT_EQ(fresh->findChild<QLineEdit*>(u("Text22(1)"))->text(), u("I0101"));
    delete fresh;
}

TEST(StakeOutWindow, LauncherOpensTheLoadedWindowWithoutWaiting)
{
    TempHome home;
    WindowRegistry windows;
    registerCoordsWindows(windows);
    ASSERT_TRUE(windows.buildable(u("zbfy")));
    windows.open(u("zbfy"), home.context, nullptr); // returns at once: the window stays loaded
    QWidget* shown = loadZbfy(home.context, nullptr);
    EXPECT_TRUE(shown->isVisible());
    EXPECT_TRUE(shown->isModal());
    shown->findChild<QLineEdit*>(u("Text22(1)"))->setText(u("K9"));
    shown->hide();
    windows.open(u("zbfy"), home.context, nullptr);
    EXPECT_EQ(loadZbfy(home.context, nullptr)->findChild<QLineEdit*>(u("Text22(1)"))->text(), u("K9"));
    delete shown;
}
