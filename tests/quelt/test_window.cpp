#include "quelt/calculators.h"
#include "quelt/ui/quelt_window.h"

#include "test_support.h"
#include "traverse/sheet.h"

#include <gtest/gtest.h>

#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace kelvor;
using namespace kelvor::quelt;
using kelvor::test::TempHome;

namespace {

template <typename T>
T* child(QWidget& w, const QString& name)
{
    T* c = w.findChild<T*>(name);
    if (!c)
        ADD_FAILURE() << "no control " << name.toStdString();
    return c;
}

QLineEdit* box(QWidget& w, const QString& name)
{
    return child<QLineEdit>(w, name);
}

TEST(QueltWindow, SlopeDistanceReductionInDoublePrecision)
{
    TempHome home;
    QueltWindow w(home.context);
    const struct {
        QString angle, distance, horizontal;
    } cases[] = {
        {"10.1000", "100", "98.430"},
        {"2.3000", "100", "99.905"}, // 2 deg 30 min, not 2 deg 29 min 99.9995 s
        {" 10.1000 ", "100m", "98.430"},
        {"", "100", "100.000"},
        {"abc", "", "0.000"},
    };
    for (const auto& c : cases) {
        box(w, "Text3")->setText(c.angle);
        box(w, "Text4")->setText(c.distance);
        EXPECT_EQ(box(w, "Text6")->text(), c.horizontal) << c.angle.toStdString();
    }
}

TEST(QueltWindow, HeightDifferenceShowsItsResultAndEmptiesTheBoxes)
{
    TempHome home;
    QueltWindow w(home.context);
    const QStringList values = {"10.1000", "100", "1.5", "1.7"};
    for (int i = 0; i < 4; ++i)
        box(w, QStringLiteral("Text2(%1)").arg(i + 2))->setText(values[i]);
    EXPECT_EQ(box(w, "Text3")->text(), "10.1000") << "the reduction follows the calculator";
    EXPECT_EQ(box(w, "Text6")->text(), "98.430");

    child<QPushButton>(w, "Command1")->click();
    const QJsonArray m = home.ui.messages();
    ASSERT_EQ(m.size(), 1);
    EXPECT_EQ(m[0].toObject().value("text").toString(), QStringLiteral("高差:17.451"));
    EXPECT_EQ(m[0].toObject().value("icon").toString(), "exclamation");
    for (int i = 2; i < 6; ++i)
        EXPECT_TRUE(box(w, QStringLiteral("Text2(%1)").arg(i))->text().isEmpty()) << i;
    EXPECT_TRUE(box(w, "Text3")->text().isEmpty());
    EXPECT_EQ(box(w, "Text6")->text(), "0.000");
}

TEST(QueltWindow, HeightDifferenceWithAMissingValueDoesNothing)
{
    for (int missing : {2, 3, 4, 5}) {
        TempHome home;
        QueltWindow w(home.context);
        const QStringList values = {"10.1000", "100", "1.5", "1.7"};
        for (int i = 0; i < 4; ++i)
            box(w, QStringLiteral("Text2(%1)").arg(i + 2))->setText(i + 2 == missing ? "x" : values[i]);
        child<QPushButton>(w, "Command1")->click();
        EXPECT_TRUE(home.ui.messages().isEmpty()) << missing;
        EXPECT_EQ(box(w, "Text2(2)")->text(), missing == 2 ? "x" : "10.1000") << missing;
    }
}

TEST(QueltWindow, ChoosingThePlaneResultProposesItsHeightResult)
{
    TempHome home;
    QueltWindow w(home.context);
    // The dialog hands over the path as the file system has it.
    const QString chosen = home.path("D:\\Q\\P1\\P1.OUT");
    const QString proposed = chosen.left(chosen.size() - 6) + "P1H.ouT";
    home.answerOpen({"D:\\Q\\P1\\P1.OUT"});
    w.Label2_Click(0);
    EXPECT_EQ(box(w, "Text2(0)")->text(), chosen);
    EXPECT_EQ(box(w, "Text2(1)")->text(), proposed);
    const QJsonObject dlg = home.ui.events().first().toObject();
    EXPECT_EQ(dlg.value("title").toString(), QStringLiteral("选择文件"));
    EXPECT_TRUE(dlg.value("filter").toString().endsWith("|*.OUT;*.OU")) << "both .out and .ou are listed";

    home.answerOpen({});
    w.Label2_Click(0); // cancelled
    EXPECT_TRUE(box(w, "Text2(0)")->text().isEmpty());
    EXPECT_EQ(box(w, "Text2(1)")->text(), proposed);

    home.answerOpen({"D:\\Q\\P2\\P2H.OUT"});
    w.Label2_Click(1);
    EXPECT_EQ(box(w, "Text2(1)")->text(), home.path("D:\\Q\\P2\\P2H.OUT"));
}

TEST(QueltWindow, HeightResultProposal)
{
    const struct {
        QString plane;
        std::optional<QString> height;
    } cases[] = {
        {"D:\\Q\\P1\\P1.OUT", QString("D:\\Q\\P1\\P1H.ouT")},
        {" P1.a.ou ", QString("P1.aH.ouT")},
        {"D:\\Q.1\\P1", std::nullopt}, // a "." in the folder is no extension
        {"", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(proposedHeightResult(c.plane), c.height) << c.plane.toStdString();
}

TEST(QueltWindow, LabelsBlinkEverySecond)
{
    TempHome home;
    QueltWindow w(home.context);
    QLabel* plane = child<QLabel>(w, "Label2(0)");
    QLabel* height = child<QLabel>(w, "Label2(1)");
    EXPECT_EQ(plane->text(), QStringLiteral("导线文件"));
    const QStringList expected[] = {{"平面文件", "点此选择"}, {"点此选择", "高程文件"}, {"平面文件", "点此选择"}};
    for (const auto& e : expected) {
        w.Timer2_Timer();
        EXPECT_EQ((QStringList{plane->text(), height->text()}), e);
    }
    // The timer itself drives it.
    const QString before = plane->text();
    EXPECT_TRUE(QTest::qWaitFor([&] { return plane->text() != before; }, 5000));
}

TEST(QueltWindow, KnownPointsPathAndKnownHeights)
{
    TempHome home;
    {
        QueltWindow w(home.context);
        EXPECT_TRUE(box(w, "Text25")->text().isEmpty()) << "no setting, no design default";
    }
    home.settings.WriteSetting(QStringLiteral("已知点成果="), "d:\\kp.txt");
    traverse::TraverseSheet sheet;
    sheet.setText1(6, " 12.345");
    sheet.setText1(13, "15.5");
    home.context.setSheet(&sheet);
    QueltWindow w(home.context);
    EXPECT_EQ(box(w, "Text25")->text(), "D:\\KP.TXT");
    child<QPushButton>(w, "Command40")->click();
    EXPECT_EQ(box(w, "Text7")->text(), " 12.345");
    EXPECT_EQ(box(w, "Text8")->text(), "15.5");
}

TEST(QueltWindow, EnterMovesThroughTheCalculators)
{
    TempHome home;
    QueltWindow w(home.context);
    w.show();
    QApplication::setActiveWindow(&w);
    box(w, "Text3")->setFocus();
    QTest::keyClicks(box(w, "Text3"), "10.1000");
    QTest::keyClick(box(w, "Text3"), Qt::Key_Return);
    EXPECT_TRUE(box(w, "Text4")->hasFocus());
    QTest::keyClicks(box(w, "Text4"), "100");
    EXPECT_EQ(box(w, "Text6")->text(), "98.430");
    QTest::keyClick(box(w, "Text4"), Qt::Key_Return);
    EXPECT_TRUE(box(w, "Text3")->text().isEmpty());
    EXPECT_EQ(box(w, "Text6")->text(), "0.000");
    EXPECT_TRUE(box(w, "Text3")->hasFocus());

    box(w, "Text2(4)")->setFocus();
    QTest::keyClick(box(w, "Text2(4)"), Qt::Key_Return);
    EXPECT_TRUE(box(w, "Text2(5)")->hasFocus());
    QTest::keyClick(box(w, "Text2(5)"), Qt::Key_Return);
    EXPECT_TRUE(child<QPushButton>(w, "Command1")->hasFocus());
    EXPECT_TRUE(home.ui.messages().isEmpty()) << "Enter in a box presses no button";
}

} // namespace
