#include "landuse/ui/out_excelx.h"
#include "platform/paths.h"
#include "sheet_office.h"
#include "test_support.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace kelvor;
using namespace kelvor::landuse;

TEST(OutExcelx, ControlsCaptionsDefaultsAndTooltips)
{
    test::TempHome home;
    OutExcelx w(home.context);
    EXPECT_EQ(w.objectName(), QStringLiteral("outExcelx"));
    EXPECT_EQ(w.windowTitle(), QStringLiteral("地类面积导出Excle..."));
    const struct {
        const char* name;
        const char* text;
        const char* tip;
    } controls[] = {
        {"Frame1(0)", "列输出", ""},        {"Frame1(3)", "行输出", ""},
        {"Label2(0)", "地类编号 行：", ""},  {"Text2(0)", "5", ""},
        {"Label2(1)", "列：", ""},           {"Text2(1)", "5", ""},
        {"Label2(2)", "地类总行数：", ""},   {"Text2(2)", "35", ""},
        {"Label2(3)", "面积列位置：", ""},   {"Text2(3)", "7", ""},
        {"Label1(0)", "地类编码起始 行：", ""}, {"Text1(0)", "5", ""},
        {"Label1(1)", "列：", ""},           {"Text1(1)", "3", ""},
        {"Label1(2)", "列号：", ""},         {"Text1(2)", "AA", ""},
        {"Label1(3)", "地类面积输出到行", ""}, {"Text1(3)", "15", ""},
        {"Command1", "输出列格式", ""},      {"Command2", "输出行格式", ""},
        {"Command3", "||->", "输出到文件"},  {"Command4", "||-<", "读入文件"},
        {"Command5", "||->", "输出到文件"},  {"Command6", "||-<", ""},
    };
    for (const auto& c : controls) {
        QWidget* widget = w.findChild<QWidget*>(QString::fromLatin1(c.name));
        ASSERT_NE(widget, nullptr) << c.name;
        QString text;
        if (auto* l = qobject_cast<QLabel*>(widget))
            text = l->text();
        else if (auto* t = qobject_cast<QLineEdit*>(widget))
            text = t->text();
        else if (auto* b = qobject_cast<QPushButton*>(widget))
            text = b->text();
        else if (auto* g = qobject_cast<QGroupBox*>(widget))
            text = g->title();
        EXPECT_EQ(text, QString::fromUtf8(c.text)) << c.name;
        EXPECT_EQ(widget->toolTip(), QString::fromUtf8(c.tip)) << c.name;
    }
    // The boxes are read when a button is pressed.
    w.findChild<QLineEdit*>(QStringLiteral("Text1(2)"))->setText(QStringLiteral(" ba "));
    EXPECT_EQ(ExcelRowLayout(w.rowBoxes()).size(), 51);
}

TEST(OutExcelx, DoubleClickOnTheBackgroundTogglesStayingOnTop)
{
    test::TempHome home;
    OutExcelx w(home.context);
    w.show();
    EXPECT_EQ(w.tag(), QStringLiteral("0"));
    // On a button it does nothing.
    QTest::mouseDClick(w.findChild<QPushButton*>(QStringLiteral("Command1")), Qt::LeftButton);
    EXPECT_EQ(w.tag(), QStringLiteral("0"));
    QWidget* back = &w;
    QPoint free(1, 1);
    ASSERT_EQ(w.childAt(free), nullptr);
    QTest::mouseDClick(back, Qt::LeftButton, {}, free);
    EXPECT_EQ(w.tag(), QStringLiteral("1"));
    EXPECT_TRUE(w.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(w.isVisible());
    QTest::mouseDClick(back, Qt::LeftButton, {}, free);
    EXPECT_EQ(w.tag(), QStringLiteral("0"));
    EXPECT_FALSE(w.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    // A new window starts normal.
    OutExcelx again(home.context);
    EXPECT_EQ(again.tag(), QStringLiteral("0"));
    EXPECT_FALSE(again.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}

TEST(OutExcelx, ButtonsWorkOnTheBoxesAsTyped)
{
    test::TempHome home;
    test::SheetOffice office(home.context);
    office.run({{"B2", QStringLiteral("011")}, {"B3", QStringLiteral("012")}, {"D2", 1.5}, {"D3", 2.5}});
    OutExcelx w(home.context);
    const std::pair<const char*, const char*> boxes[] = {
        {"Text2(0)", "2"}, {"Text2(1)", "2"}, {"Text2(2)", "1"}, {"Text2(3)", "4"}};
    for (const auto& [name, text] : boxes)
        w.findChild<QLineEdit*>(QString::fromLatin1(name))->setText(QString::fromLatin1(text));
    w.findChild<QPushButton*>(QStringLiteral("Command3"))->click();
    EXPECT_EQ(test::readBytes(paths::scratch(QStringLiteral("watch.txt"))), test::gbkLines({"011,1.5", "012,2.5"}));
}
