#include "cad_host.h"
#include "platform/text_file.h"
#include "relief/point_checks.h"
#include "routines/routines.h"

#include <QFileInfo>
#include <gtest/gtest.h>

using namespace kelvor;
using namespace kelvor::relief;
using test::u;

namespace {

struct CompareHost : test::CadHost {
    cad::Entity* first = ms().AddLightWeightPolyline({100, 200, 110, 200, 120, 205});
    cad::Entity* second = ms().AddLightWeightPolyline({100.03, 200.04, 110, 200.1, 120, 205});
    cad::Entity* unrelated = ms().AddText(QStringLiteral("45.6"), {50, 50, 0}, 2);

    void pickBoth() { answerSelect({first->Handle(), second->Handle()}); }
    void button(const char* answer) { home.answer(QStringLiteral("button"), u(answer)); }
    // The live single-line texts, less the unrelated one.
    std::vector<cad::Entity*> notes()
    {
        std::vector<cad::Entity*> out;
        for (cad::Entity* e : ms().entities())
            if (e->kind() == cad::EntityKind::Text && e != unrelated)
                out.push_back(e);
        return out;
    }
    bool exists(const char* windowsPath) const { return QFileInfo::exists(home.path(u(windowsPath))); }
    QString messageTitle(int i) const { return ui.messages().at(i).toObject()[QStringLiteral("title")].toString(); }
};

} // namespace

TEST(LineCompare, EqualLinesReportEveryVertexAndNumberThemOnRequest)
{
    CompareHost h;
    h.pickBoth();
    h.button("Yes"); // notes
    h.button("No");  // no text window
    dadianshujijianche_Click(h.context);

    EXPECT_EQ(readTextLines(reportPath()),
              (QStringList{lineComparisonHeader(),
                           u(" 1       200.000          100.000         200.040         100.030      5.0"),
                           u(" 2       200.000          110.000         200.100         110.000      10.0*"),
                           u(" 3       205.000          120.000         205.000         120.000      0.0")}));
    EXPECT_EQ(lineComparisonHeader(),
              u("序号     X1坐标           Y1坐标          X2坐标          Y2坐标       互差CM"));
    EXPECT_EQ(h.first->Color(), 3);
    EXPECT_EQ(h.second->Color(), 1);
    const auto notes = h.notes();
    ASSERT_EQ(notes.size(), 6u);
    for (size_t i = 0; i < notes.size(); ++i) {
        EXPECT_EQ(notes[i]->TextString(), SignedNumberText(int(i % 3) + 1)) << i;
        EXPECT_EQ(notes[i]->Height(), 0.5) << i;
        EXPECT_EQ(notes[i]->Color(), i < 3 ? 3 : 1) << i;
        EXPECT_FALSE(notes[i]->GetXData(cad::kOwnApplication).empty()) << i;
    }
    EXPECT_EQ(notes[3]->InsertionPoint().x, 100.03);
    EXPECT_EQ(notes[3]->InsertionPoint().y, 200.04);
    EXPECT_EQ(h.messageTitle(0), u("提示"));
    EXPECT_EQ(h.messageTitle(1), u("调试过程中的说明"));
    EXPECT_EQ(h.ui.messages().at(1).toObject()[QStringLiteral("default")].toInt(), 2);
    EXPECT_TRUE(h.ui.textWindowFiles().isEmpty());
    EXPECT_FALSE(h.exists("d:\\bak1.txt"));
    EXPECT_FALSE(h.exists("d:\\bak2.txt"));
    EXPECT_EQ(h.app.transcript(), u("请选择两根线段："));
}

TEST(LineCompare, ASecondRunErasesOnlyTheFirstRunsNotes)
{
    CompareHost h;
    h.pickBoth();
    h.button("Yes");
    h.button("No");
    dadianshujijianche_Click(h.context);
    const auto firstNotes = h.notes();
    h.pickBoth();
    h.button("Yes");
    h.button("Yes");
    dadianshujijianche_Click(h.context);

    for (const cad::Entity* n : firstNotes)
        EXPECT_TRUE(n->isErased()) << n->TextString().toStdString();
    EXPECT_EQ(h.notes().size(), 6u);
    EXPECT_FALSE(h.unrelated->isErased());
    EXPECT_EQ(h.ui.textWindowFiles(), QStringList{reportPath()});
}

TEST(LineCompare, DifferentCountsWarnAndCompareWithLineTwosLastVertex)
{
    CompareHost h;
    h.second->setVertices({cad::Vertex{100, 200}, cad::Vertex{110, 200.05}});
    h.pickBoth();
    h.button("Yes"); // notes at 0.2 and 0.3
    h.button("No");
    dadianshujijianche_Click(h.context);

    const QChar cr(13);
    EXPECT_EQ(h.ui.messages().at(0).toObject()[QStringLiteral("text")].toString(),
              u("两条线的点数不一致,分别为 3个折点和 2个折点.") + cr + u("请检查图形中是否有其它为Pline线的实体存在！") + cr
                  + u("这样引致的后果是后面的数据将会是错误的！") + cr + u("数据的生成将以第一条线的点数为准。") + cr
                  + u("是否在Pline上注记点号之便核查各对应点？"));
    EXPECT_EQ(h.messageTitle(0), u("警告"));
    EXPECT_EQ(h.ui.messages().at(0).toObject()[QStringLiteral("buttons")].toString(), u("YesNoCancel"));
    EXPECT_EQ(h.ui.messages().size(), 2); // no second note question
    const QStringList report = readTextLines(reportPath());
    ASSERT_EQ(report.size(), 4);
    EXPECT_TRUE(report[3].startsWith(u(" 3       205.000          120.000         200.050         110.000"))) << report[3].toStdString();
    const auto notes = h.notes();
    ASSERT_EQ(notes.size(), 5u);
    EXPECT_EQ(notes[0]->Height(), 0.2);
    EXPECT_EQ(notes[4]->Height(), 0.3);
    EXPECT_EQ(notes[4]->TextString(), u(" 2"));
}

TEST(LineCompare, CancelAtTheWarningEndsWithTheDumpsLeft)
{
    CompareHost h;
    h.second->setVertices({cad::Vertex{100, 200}, cad::Vertex{110, 200.05}});
    h.pickBoth();
    h.button("Cancel");
    dadianshujijianche_Click(h.context);
    EXPECT_TRUE(h.exists("d:\\bak1.txt"));
    EXPECT_TRUE(h.exists("d:\\bak2.txt"));
    EXPECT_FALSE(QFileInfo::exists(reportPath()));
    EXPECT_TRUE(h.notes().empty());
}

TEST(LineCompare, SelectionErrorsNameTheLineThatIsMissing)
{
    const struct {
        const char* name;
        int picked; // 0 nothing, 1 the first line, -1 no host
        const char* title;
    } cases[] = {{"nothing picked", 0, "错误"}, {"one line", 1, "警告"}, {"no host", -1, "错误"}};
    for (const auto& c : cases) {
        CompareHost h;
        // dumps of an earlier run stand in for nothing
        test::writeGbkLines(h.home.path(u("d:\\bak1.txt")), {" 1 ", " 2 ", " 3 ", " 4 "});
        test::writeGbkLines(h.home.path(u("d:\\bak2.txt")), {" 1 ", " 2 ", " 3 ", " 4 "});
        if (c.picked == 0)
            h.answer(QStringLiteral("esc"));
        else if (c.picked == 1)
            h.answerSelect({h.first->Handle()});
        else
            h.app.setRunning(false);
        dadianshujijianche_Click(h.context);
        ASSERT_EQ(h.ui.messages().size(), 1) << c.name;
        const QJsonObject m = h.ui.messages().first().toObject();
        EXPECT_EQ(m[QStringLiteral("text")].toString(),
                  u("错误：目标选择错误！\r如果选择正确,图形中两个实体将会变成红和青色。\r或者没有启动Cad系统。"))
            << c.name;
        EXPECT_EQ(m[QStringLiteral("title")].toString(), u(c.title)) << c.name;
        EXPECT_EQ(m[QStringLiteral("icon")].toString(), u("critical")) << c.name;
    }
}
