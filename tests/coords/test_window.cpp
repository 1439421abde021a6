#include "coords/ui/huandaijisuan.h"
#include "coords/ui/windows.h"
#include "coords/gauss.h"
#include "routines/routines.h"
#include "platform/text_file.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QFileInfo>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

#include <cstdlib>
#include <optional>

using namespace kelvor;
using namespace kelvor::coords;
using kelvor::test::TempHome;

namespace {

template <typename T>
T* child(QWidget& w, const char* name)
{
    T* c = w.findChild<T*>(QString::fromLatin1(name));
    if (!c)
        ADD_FAILURE() << "no control " << name;
    return c;
}

QString text(QWidget& w, const char* name)
{
    return child<QLineEdit>(w, name)->text();
}

void type(QWidget& w, const char* name, const QString& value)
{
    child<QLineEdit>(w, name)->setText(value);
}

void click(QWidget& w, const char* name)
{
    child<QAbstractButton>(w, name)->click();
}

QStringList labels(QWidget& w)
{
    return {child<QLabel>(w, "Label2")->text(), child<QLabel>(w, "Label3")->text(), child<QLabel>(w, "Label5")->text(),
            child<QLabel>(w, "Label6")->text()};
}

TEST(CoordinateWindow, OpensInForwardModeWithItsDesignDefaults)
{
    TempHome home;
    HuanDaiJiSuan w(home.context);
    w.show();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("坐标转换"));
    EXPECT_TRUE(child<QRadioButton>(w, "Option2(0)")->isChecked());
    EXPECT_TRUE(child<QRadioButton>(w, "Option1(0)")->isChecked());
    EXPECT_FALSE(child<QRadioButton>(w, "Option1(1)")->isChecked());
    EXPECT_EQ(labels(w), (QStringList{"B(dd.mmss)", "L(dd.mmss)", "X(m)", "Y(m)"}));
    EXPECT_EQ(child<QComboBox>(w, "Combo1")->currentText(), QStringLiteral("北京54坐标系"));
    EXPECT_EQ(child<QComboBox>(w, "Combo2")->currentText(), QStringLiteral("北京54坐标系"));
    EXPECT_EQ(child<QComboBox>(w, "Combo2")->itemText(1), QStringLiteral("国家80坐标系"));
    for (const char* t : {"Text1", "Text2", "Text3", "Text4", "Text5", "Text6", "Text7", "Text8"})
        EXPECT_TRUE(text(w, t).isEmpty()) << t;
    EXPECT_FALSE(child<QProgressBar>(w, "ProgressBar1")->isVisible());
    EXPECT_TRUE(child<QLineEdit>(w, "Text8")->isVisible()); // as designed, until a mode is clicked
    for (const char* b : {"Command1", "Command5", "Command6", "Command7", "Command8"})
        EXPECT_NE(child<QPushButton>(w, b), nullptr);
}

TEST(CoordinateWindow, ModeButtonsRelabelAndShowTheTargetMeridian)
{
    TempHome home;
    HuanDaiJiSuan w(home.context);
    w.show();
    const struct {
        const char* button;
        QStringList labels;
        bool targetShown;
    } cases[] = {
        {"Option2(1)", {"X(m)", "Y(m)", "B(dd.mmss)", "L(dd.mmss)"}, false},
        {"Option2(2)", {"X(m)", "Y(m)", "X(m)", "Y(m)"}, true},
        {"Option2(0)", {"B(dd.mmss)", "L(dd.mmss)", "X(m)", "Y(m)"}, false},
    };
    for (const auto& c : cases) {
        click(w, c.button);
        EXPECT_EQ(labels(w), c.labels) << c.button;
        EXPECT_EQ(child<QLineEdit>(w, "Text8")->isVisible(), c.targetShown) << c.button;
    }
}

TEST(CoordinateWindow, ComputesEachModeWithAllSignificantDigits)
{
    const struct {
        const char* mode;
        bool falseEasting;
        const char* datum2;
        QString a, b;
        const char* r1;
        const char* r2;
    } cases[] = {
        {"Option2(0)", false, nullptr, "30.3000", "114.2000", "3375648.95845685", "32000.2685031447"},
        {"Option2(0)", true, nullptr, "30.3000", "114.2000", "3375648.95845685", "532000.268503145"},
        {"Option2(0)", false, "国家80坐标系", "30.3000", "114.2000", "3375590.55046845", "31999.7456911796"},
        {"Option2(1)", false, nullptr, "3375648.95845685", "32000.2685031447", "30.3000000019618", "114.200000000009"},
        {"Option2(2)", true, nullptr, "3381234.567", "519256.789", "3384554.89504856", "231352.466879015"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        TempHome home;
        HuanDaiJiSuan w(home.context);
        click(w, c.mode);
        if (c.falseEasting)
            click(w, "Option1(1)");
        if (c.datum2)
            child<QComboBox>(w, "Combo2")->setCurrentText(QString::fromUtf8(c.datum2));
        type(w, "Text2", c.a);
        type(w, "Text3", c.b);
        type(w, "Text7", "114");
        type(w, "Text8", "117");
        click(w, "Command1");
        EXPECT_EQ(text(w, "Text5"), QString::fromLatin1(c.r1));
        EXPECT_EQ(text(w, "Text6"), QString::fromLatin1(c.r2));
    }
}

TEST(CoordinateWindow, BadInputClearsTheResultsAndNamesTheField)
{
    TempHome home;
    HuanDaiJiSuan w(home.context);
    const struct {
        const char* mode;
        const char* b2;
        const char* b3;
        const char* b7;
        const char* b8;
        const char* message;
    } cases[] = {
        {"Option2(0)", "30.3", "", "114", "117", "L(dd.mmss)：数据为空或非法的数字或字符。"},
        {"Option2(0)", "3o.3000", "114.2", "114", "117", "B(dd.mmss)：数据为空或非法的数字或字符。"},
        {"Option2(0)", "30.3", "114.2", "", "117", "中央子午线：数据为空或非法的数字或字符。"},
        {"Option2(0)", "30.3", "114.2", "东经114", "117", "中央子午线：数据为空或非法的数字或字符。"},
        {"Option2(0)", "95", "114.2", "114", "", "B(dd.mmss)：纬度必须在±90°之间。"},
        {"Option2(0)", "-90.0001", "114.2", "114", "", "B(dd.mmss)：纬度必须在±90°之间。"},
        {"Option2(0)", "30.6000", "114.2", "114", "", "B(dd.mmss)：分和秒必须小于60。"},
        {"Option2(0)", "30.3060", "114.2", "114", "", "B(dd.mmss)：分和秒必须小于60。"},
        {"Option2(0)", "30.3", "114.2", "114.7", "", "中央子午线：分和秒必须小于60。"},
        {"Option2(1)", "abc", "32000", "114", "", "X(m)：数据为空或非法的数字或字符。"},
        {"Option2(2)", "3381234.567", "519256.789", "114", "", "转换后中央子午线：数据为空或非法的数字或字符。"},
        {"Option2(1)", "3381234.567", "1E300", "114", "", "无法计算：错误号6"},
    };
    for (const auto& c : cases) {
        click(w, c.mode);
        type(w, "Text5", "old x");
        type(w, "Text6", "old y");
        type(w, "Text2", QString::fromUtf8(c.b2));
        type(w, "Text3", QString::fromUtf8(c.b3));
        type(w, "Text7", QString::fromUtf8(c.b7));
        type(w, "Text8", QString::fromUtf8(c.b8));
        click(w, "Command1");
        EXPECT_EQ(text(w, "Text5"), QString()) << c.message;
        EXPECT_EQ(text(w, "Text6"), QString()) << c.message;
        const QJsonObject m = test::lastMessage(home);
        EXPECT_EQ(m.value(QStringLiteral("text")).toString(), QString::fromUtf8(c.message));
        EXPECT_EQ(m.value(QStringLiteral("title")).toString(), QStringLiteral("错误"));
    }
    // 89.5959 and 60 seconds less a hair are good input
    click(w, "Option2(0)");
    type(w, "Text2", "89.5959");
    type(w, "Text3", "114.5959");
    type(w, "Text7", "114");
    click(w, "Command1");
    EXPECT_FALSE(text(w, "Text5").isEmpty());
}

TEST(CoordinateWindow, ClearKeepsMeridiansAndChoices)
{
    TempHome home;
    HuanDaiJiSuan w(home.context);
    click(w, "Option2(2)");
    click(w, "Option1(1)");
    child<QComboBox>(w, "Combo2")->setCurrentText(QStringLiteral("国家80坐标系"));
    for (const char* t : {"Text1", "Text2", "Text3", "Text4", "Text5", "Text6"})
        type(w, t, "1");
    type(w, "Text7", "114");
    type(w, "Text8", "117");
    click(w, "Command5");
    for (const char* t : {"Text1", "Text2", "Text3", "Text4", "Text5", "Text6"})
        EXPECT_TRUE(text(w, t).isEmpty()) << t;
    EXPECT_EQ(text(w, "Text7"), QStringLiteral("114"));
    EXPECT_EQ(text(w, "Text8"), QStringLiteral("117"));
    EXPECT_TRUE(child<QRadioButton>(w, "Option1(1)")->isChecked());
    EXPECT_TRUE(child<QRadioButton>(w, "Option2(2)")->isChecked());
    EXPECT_EQ(child<QComboBox>(w, "Combo2")->currentText(), QStringLiteral("国家80坐标系"));

    // a second point needs only its two boxes
    type(w, "Text2", "3381234.567");
    type(w, "Text3", "519256.789");
    child<QComboBox>(w, "Combo2")->setCurrentText(QStringLiteral("北京54坐标系"));
    click(w, "Command1");
    EXPECT_EQ(text(w, "Text5"), QStringLiteral("3384554.89504856"));
}

TEST(CoordinateWindow, FileButtonsTakeTheWindowChoices)
{
    TempHome home;
    HuanDaiJiSuan w(home.context);
    w.show();
    click(w, "Option2(1)"); // the file buttons ignore the mode
    click(w, "Option1(1)");
    type(w, "Text7", "114");
    type(w, "Text8", "117");
    home.answerOpen({kelvor::test::fixture("fixtures/drawing.dxf")});
    home.answer("save", "d:\\out.dxf");
    click(w, "Command7");
    const QJsonArray m = home.ui.messages();
    ASSERT_EQ(m.size(), 1);
    EXPECT_EQ(m[0].toObject().value("text").toString(),
              QStringLiteral("Dxf 文件由[ 北京54坐标系(114) ] 转换为 [ 北京54坐标系(117) ]"));
    EXPECT_EQ(w.windowTitle(), QStringLiteral("坐标转换"));
    EXPECT_FALSE(child<QProgressBar>(w, "ProgressBar1")->isVisible());
    const QProgressBar* bar = child<QProgressBar>(w, "ProgressBar1");
    EXPECT_EQ(bar->maximum(), QFileInfo(kelvor::test::fixture("fixtures/drawing.dxf")).size()); // bytes
    EXPECT_EQ(bar->value(), bar->maximum());
    EXPECT_TRUE(kelvor::test::readBytes("d:\\out.dxf").contains("\r\n231352.466879015\r\n 20\r\n3384554.89504856\r\n"));

    kelvor::test::writeGbk("d:\\1.txt", "7,3381234.567,519256.789\r\n");
    click(w, "Command8");
    EXPECT_EQ(home.ui.messages().last().toObject().value("text").toString(), QStringLiteral("txt文件已完成换带"));
    EXPECT_TRUE(readTextLines("d:\\2.txt").value(2).contains(QStringLiteral(" 3384554.89504856 ")));
}

// South of the equator a D.MMSS latitude is negative as a whole; each of the
// window's three ways of changing a zone must give the mirror of the
// northern point. The fixed figures come from an independent transverse
// Mercator on the same ellipsoid.
TEST(CoordinateWindow, SouthernPointsChangeZoneAsTheirNorthernMirrors)
{
    const QString bj54 = QStringLiteral("北京54坐标系"), gj80 = QStringLiteral("国家80坐标系");
    const struct {
        const char* name;
        QString datum1, datum2;
        const char* l0;
        const char* l0new;
        double x, y;
        std::optional<std::pair<double, double>> expected; // else the northern mirror
    } cases[] = {
        {"point 8, 北京54, 114 to 117", bj54, bj54, "114", "117", -3381234.567, 519256.789,
         std::pair{-3384554.895, 231352.467}},
        {"point 9 near the equator", bj54, bj54, "114", "117", -1000.25, 480000, std::pair{-1001.798, 145852.857}},
        {"point 8, 北京54 to 国家80, 117 to 114", bj54, gj80, "117", "114", -3381234.567, 519256.789,
         std::pair{-3385522.980, 807181.794}},
        {"国家80 both sides, 114 to 117", gj80, gj80, "114", "117", -3381234.567, 519256.789, {}},
        {"国家80 to 北京54, 117 to 114", gj80, bj54, "117", "114", -2500000, 380000, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempHome home;
        HuanDaiJiSuan w(home.context);
        click(w, "Option2(2)");
        click(w, "Option1(1)");
        child<QComboBox>(w, "Combo1")->setCurrentText(c.datum1);
        child<QComboBox>(w, "Combo2")->setCurrentText(c.datum2);
        type(w, "Text7", QString::fromLatin1(c.l0));
        type(w, "Text8", QString::fromLatin1(c.l0new));
        std::pair<double, double> want;
        if (c.expected) {
            want = *c.expected;
        } else {
            double nx = 0, ny = 0;
            changeZone(-c.x, c.y, std::atof(c.l0), std::atof(c.l0new),
                       Projection{seriesForDatum(c.datum2), seriesForDatum(c.datum1), true}, nx, ny);
            want = {-nx, ny};
        }
        const QString x = NumberText(c.x), y = NumberText(c.y);

        type(w, "Text2", x);
        type(w, "Text3", y);
        click(w, "Command1");
        EXPECT_NEAR(text(w, "Text5").toDouble(), want.first, 1e-3) << "window";
        EXPECT_NEAR(text(w, "Text6").toDouble(), want.second, 1e-3) << "window";

        kelvor::test::writeGbk("d:\\1.txt", "8," + x + "," + y + "\r\n");
        click(w, "Command8");
        const QStringList fields = readTextLines("d:\\2.txt").value(2).split(',');
        ASSERT_EQ(fields.size(), 3);
        EXPECT_NEAR(fields[1].trimmed().toDouble(), want.first, 1e-3) << "point file";
        EXPECT_NEAR(fields[2].trimmed().toDouble(), want.second, 1e-3) << "point file";

        kelvor::test::writeGbk("d:\\in.dxf", "  0\r\nSECTION\r\n  2\r\nENTITIES\r\n  0\r\nPOINT\r\n 10\r\n" + y
                                                 + "\r\n 20\r\n" + x + "\r\n  0\r\nENDSEC\r\n  0\r\nEOF\r\n");
        home.answerOpen({QStringLiteral("d:\\in.dxf")});
        home.answer("save", "d:\\out.dxf");
        click(w, "Command7");
        const QStringList dxf = readTextLines("d:\\out.dxf");
        ASSERT_EQ(dxf.size(), 14);
        EXPECT_NEAR(dxf[7].toDouble(), want.second, 1e-3) << "DXF easting";
        EXPECT_NEAR(dxf[9].toDouble(), want.first, 1e-3) << "DXF northing";
    }
}

TEST(CoordinateWindow, ReturnClosesAndReopeningStartsFresh)
{
    TempHome home;
    {
        HuanDaiJiSuan w(home.context);
        w.show();
        type(w, "Text7", "114");
        click(w, "Option2(2)");
        click(w, "Command6");
        EXPECT_FALSE(w.isVisible());
    }
    HuanDaiJiSuan again(home.context);
    EXPECT_TRUE(text(again, "Text7").isEmpty());
    EXPECT_TRUE(child<QRadioButton>(again, "Option2(0)")->isChecked());
}

TEST(CoordinateWindow, IsKnownToTheWindowRegistryByItsFormName)
{
    WindowRegistry windows;
    registerCoordsWindows(windows);
    EXPECT_TRUE(windows.has(QStringLiteral("HuanDaiJiSuan")));
}

} // namespace
