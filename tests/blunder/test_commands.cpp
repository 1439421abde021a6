// The searches as the main window runs them: entries, questions, messages,
// watch.txt.
#include "blunder/commands.h"
#include "blunder/closure.h"

#include "platform/commands.h"
#include "platform/paths.h"
#include "platform/text_file.h"
#include "traverse/data_file.h"
#include "traverse/sheet.h"

#include "test_support.h"

#include <QJsonArray>
#include <QJsonObject>
#include <gtest/gtest.h>

using namespace kelvor;
using namespace kelvor::blunder;
using kelvor::test::fixture;

namespace {

const QString cr = QStringLiteral("\r");
const QString twoLines =
    QStringLiteral("数据为空或非法的数字或字符。") + cr + QStringLiteral("请检查数字是否包括了字符或缺少数据！");
const QString oneLine = QStringLiteral("非法的数字或字符，请检查数字是否包括了字符或缺少数据！");

QString fx(const char* name)
{
    return fixture(QStringLiteral("fixtures/") + QString::fromLatin1(name));
}

// A home with a sheet; run(command) records the boxes shown.
struct Home {
    test::TempHome home;
    traverse::TraverseSheet sheet;

    Home() { home.context.setSheet(&sheet); }

    Context& ctx() { return home.context; }

    // The sheet as the user would have typed the data file.
    void fillSheet(const QString& dxPath)
    {
        const traverse::TraverseData d = traverse::ReadTraverseDataFile(dxPath);
        const auto known = [&](int first, const traverse::DataKnownPoint& p, bool height) {
            sheet.setText1(first, p.name);
            sheet.setText1(first + 1, p.x);
            sheet.setText1(first + 2, p.y);
            if (height)
                sheet.setText1(first + 3, p.h);
        };
        known(3, d.startStation, true);
        known(0, d.startOrientation, false);
        known(10, d.endStation, true);
        known(7, d.endOrientation, false);
        for (int r = 0; r < traverse::TraverseSheet::Rows; ++r)
            sheet.setRowVisible(r, r < d.N - 1 || r == 0);
        for (int i = 1; i < d.N; ++i) {
            const traverse::DataStation& s = d.station(i);
            const int c = 9 * (i - 1);
            sheet.setText5(c, s.name);
            sheet.setText5(c + 1, s.angle);
            sheet.setText5(c + 2, s.distance);
        }
        sheet.setText5(108, d.last.name);
        sheet.setText5(109, d.last.angle);
    }

    QJsonArray messages() const { return home.ui.messages(); }
    QJsonArray events() const { return home.ui.events(); }
    int count(const QString& kind) const
    {
        int n = 0;
        for (const auto& e : home.ui.events())
            n += e.toObject().value(QStringLiteral("kind")).toString() == kind ? 1 : 0;
        return n;
    }
    QString onlyMessage() const
    {
        const QJsonArray m = messages();
        EXPECT_EQ(m.size(), 1);
        return m.isEmpty() ? QString() : m.at(0).toObject().value(QStringLiteral("text")).toString();
    }
    QString messageField(const char* key) const
    {
        const QJsonArray m = messages();
        return m.isEmpty() ? QString() : m.at(0).toObject().value(QString::fromLatin1(key)).toString();
    }
};

void writeDx(const QString& path, const QStringList& lines)
{
    test::writeGbk(path, lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
}

} // namespace

TEST(BlunderCommands, RegisteredUnderTheirItems)
{
    CommandRegistry r;
    registerBlunderCommands(r);
    for (const char* item : {"Command38", "jdgxselectfile", "qiujulizhi", "jigx_selectfile", "Command41",
                             "zfkxjxselectfile", "Command44"})
        EXPECT_TRUE(r.has(QString::fromLatin1(item))) << item;
}

TEST(BlunderCommands, FileEntryDialogAndCancel)
{
    using Handler = void (*)(Context&);
    for (Handler h : {Handler(jdgxselectfile_Click), Handler(jigx_selectfile_Click), Handler(zfkxjxselectfile_Click)}) {
        Home h0;
        h0.home.answer(QStringLiteral("button"), QStringLiteral("Cancel"));
        h(h0.ctx());
        ASSERT_EQ(h0.events().size(), 1);
        const QJsonObject open = h0.events().at(0).toObject();
        EXPECT_EQ(open.value(QStringLiteral("kind")).toString(), QStringLiteral("open"));
        EXPECT_EQ(open.value(QStringLiteral("title")).toString(), QStringLiteral("选择导线数据文件"));
        EXPECT_EQ(open.value(QStringLiteral("filter")).toString(), QStringLiteral("所有文件(*.dx)|*.dx"));
        EXPECT_TRUE(h0.home.answers.empty());
    }
}

TEST(BlunderCommands, AngleSearchAnswers)
{
    const QString tooLarge = QStringLiteral("更改的秒数值太大，不建议使用！！");
    struct Case {
        const char* answer; // nullptr: Cancel
        QString message;    // "" for no box
        const char* title;
    };
    const Case cases[] = {
        {"-60", QStringLiteral("在[ D3 ]站的水平角更改了[ -60″]之后，") + cr
                    + QStringLiteral("导线全长相对闭合差=1： 368228，导线的精度为最好！"),
         "分析报告"},
        {"199.9", QStringLiteral("在[ D4 ]站的水平角更改了[  199.9″]之后，"), "分析报告"},
        {"-199.9", QStringLiteral("在[ D3 ]站的水平角更改了[ -199.9″]之后，"), "分析报告"},
        {"010", QStringLiteral("]站的水平角更改了[  10″]之后，"), "分析报告"},
        {"10.50", QStringLiteral("]站的水平角更改了[  10.5″]之后，"), "分析报告"},
        {"2.5", QStringLiteral("]站的水平角更改了[  2.5″]之后，"), "分析报告"},
        {"200", tooLarge, "说明"},
        {"-200", tooLarge, "说明"},
        {"250", tooLarge, "说明"},
        {"1e5", tooLarge, "说明"},
        {"12abc", oneLine, "提示"},
        {"", QString(), ""},
        {"   ", QString(), ""},
        {nullptr, QString(), ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer ? c.answer : "Cancel");
        Home h;
        h.home.answerOpen({fx("angle60.dx")});
        if (c.answer)
            h.home.answer(QStringLiteral("input"), QString::fromUtf8(c.answer));
        else
            h.home.answer(QStringLiteral("button"), QStringLiteral("Cancel"));
        jdgxselectfile_Click(h.ctx());

        const QJsonObject input = h.events().at(1).toObject();
        EXPECT_EQ(input.value(QStringLiteral("prompt")).toString(), QStringLiteral("请输入要更改的秒数值(可正负号)！！ "));
        EXPECT_EQ(input.value(QStringLiteral("title")).toString(), QStringLiteral("更改的秒值"));
        EXPECT_EQ(input.value(QStringLiteral("default")).toString(), QStringLiteral("10"));
        if (c.message.isEmpty()) {
            EXPECT_EQ(h.messages().size(), 0);
            continue;
        }
        EXPECT_TRUE(h.onlyMessage().contains(c.message)) << h.onlyMessage().toStdString();
        EXPECT_EQ(h.messageField("title"), QString::fromUtf8(c.title));
        const char* icon = QString::fromUtf8(c.title) == QStringLiteral("提示") ? "critical" : "information";
        EXPECT_EQ(h.messageField("icon"), QString::fromLatin1(icon));
    }
}

TEST(BlunderCommands, AngleSearchFromTheSheet)
{
    Home h;
    h.fillSheet(fx("angle60.dx"));
    h.home.answer(QStringLiteral("input"), QStringLiteral("-60"));
    Command38_Click(h.ctx());
    EXPECT_TRUE(h.onlyMessage().startsWith(QStringLiteral("在[ D3 ]站")));
    // The sheet went through read.dx.
    EXPECT_EQ(readTextLines(traverse::scratchDataFilePath()).size(), 11);

    // Bad numbers: the sheet's two lines, after the question.
    Home bad;
    bad.fillSheet(fx("angle60.dx"));
    bad.sheet.setText5(9 * 2 + 1, QStringLiteral("2O2.0001"));
    bad.home.answer(QStringLiteral("input"), QStringLiteral("10"));
    Command38_Click(bad.ctx());
    EXPECT_EQ(bad.onlyMessage(), twoLines);
    EXPECT_EQ(bad.messageField("title"), QStringLiteral("提示"));
    EXPECT_EQ(bad.messageField("icon"), QStringLiteral("critical"));

    Home answer;
    answer.fillSheet(fx("angle60.dx"));
    answer.home.answer(QStringLiteral("input"), QStringLiteral("12abc"));
    Command38_Click(answer.ctx());
    EXPECT_EQ(answer.onlyMessage(), twoLines);

    // An empty sheet asks, then finds nothing that is a number.
    Home empty;
    empty.home.answer(QStringLiteral("input"), QStringLiteral("10"));
    Command38_Click(empty.ctx());
    EXPECT_EQ(empty.count(QStringLiteral("input")), 1);
    EXPECT_EQ(empty.onlyMessage(), twoLines);
}

TEST(BlunderCommands, UnusableInputIsBadNumberAndAMissingFileIsNamed)
{
    // An empty file, or one without a leg: the entry's bad-number text,
    // before any question. A typed name that names no file: that name, said
    // to be missing, not the data blamed.
    Home h;
    const QString one = h.home.path(QStringLiteral("one.dx"));
    writeDx(one, {QStringLiteral("B,1,1,,A,0,0"), QStringLiteral("C,2,2,,D,3,3"), QStringLiteral("C,180"),
                  QStringLiteral("EOF")});
    const QString empty = h.home.path(QStringLiteral("empty.dx"));
    test::writeGbk(empty, QString());
    struct Case {
        void (*command)(Context&);
        const char* what;
        QString text;
    };
    const Case cases[] = {
        {jdgxselectfile_Click, "angle", oneLine},
        {jigx_selectfile_Click, "distance", oneLine},
        {zfkxjxselectfile_Click, "route", oneLine},
    };
    const QString none = QStringLiteral("D:\\data\\none.dx");
    for (const Case& c : cases) {
        for (const QString& file : {none, empty, one}) {
            SCOPED_TRACE(QStringLiteral("%1 %2").arg(QString::fromLatin1(c.what), file).toStdString());
            Home run;
            run.home.answerOpen({file});
            c.command(run.ctx());
            if (file == none) {
                EXPECT_EQ(run.onlyMessage(), none + cr + QStringLiteral("找不到该文件！"));
                EXPECT_EQ(run.messageField("title"), QStringLiteral("错误"));
                EXPECT_EQ(run.messageField("icon"), QStringLiteral("critical"));
            } else {
                EXPECT_EQ(run.onlyMessage(), c.text);
            }
            EXPECT_EQ(run.count(QStringLiteral("input")), 0);
        }
    }
}

TEST(BlunderCommands, DistanceSearchAnswers)
{
    struct Case {
        const char* file;
        const char* answer; // nullptr: Cancel
        QString message;    // start of the report, "" for none
    };
    const Case cases[] = {
        {"dist_long.dx", "-1", QStringLiteral("在[D2]站的距离加上[-0.500m]之后,导线的精度为最好。") + cr
                                   + QStringLiteral("导线全长相对闭合差为[1： 347752]。")},
        {"dist_short.dx", "20", QStringLiteral("在[D2]站的距离加上[0.500m]之后")},
        {"dist_long.dx", "-20", QStringLiteral("在[D2]站的距离加上[-0.500m]之后")},
        {"dist_long.dx", "20", QStringLiteral("在[GP01]站的距离加上[0.000m]之后")},
        {"dist_long.dx", "abc", QStringLiteral("在[GP01]站的距离加上[0.000m]之后")},
        {"clean8.dx", "20", QStringLiteral("距离值不用改正！！！")},
        {"dist_long.dx", "100", QString()},
        {"dist_long.dx", "-100", QString()},
        {"dist_long.dx", "-250", QString()},
        {"dist_long.dx", "", QString()},
        {"dist_long.dx", nullptr, QString()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer ? c.answer : "Cancel");
        Home h;
        h.home.answerOpen({fx(c.file)});
        if (c.answer)
            h.home.answer(QStringLiteral("input"), QString::fromUtf8(c.answer));
        else
            h.home.answer(QStringLiteral("button"), QStringLiteral("Cancel"));
        jigx_selectfile_Click(h.ctx());

        const QJsonObject input = h.events().at(1).toObject();
        EXPECT_EQ(input.value(QStringLiteral("prompt")).toString(), QStringLiteral("请输入距离改正值上限(区分正负)！！ "));
        EXPECT_EQ(input.value(QStringLiteral("title")).toString(), QStringLiteral("距离改正"));
        EXPECT_EQ(input.value(QStringLiteral("default")).toString(), QStringLiteral("20"));
        EXPECT_FALSE(h.home.ui.busy());
        if (c.message.isEmpty()) {
            EXPECT_EQ(h.messages().size(), 0);
            continue;
        }
        EXPECT_TRUE(h.onlyMessage().startsWith(c.message)) << h.onlyMessage().toStdString();
    }
}

TEST(BlunderCommands, DistanceSearchFromTheSheetReportsBadNumbersFirst)
{
    // Through the sheet too the one-line text, and before the question: the
    // closing direction needs C and D.
    struct Case {
        int text1;
        const char* value;
    };
    const Case cases[] = {{4, "x"}, {11, ""}, {8, "abc"}, {1, ""}};
    for (const Case& c : cases) {
        Home h;
        h.fillSheet(fx("dist_long.dx"));
        h.sheet.setText1(c.text1, QString::fromLatin1(c.value));
        qiujulizhi_Click(h.ctx());
        EXPECT_EQ(h.onlyMessage(), oneLine) << c.text1;
        EXPECT_EQ(h.count(QStringLiteral("input")), 0);
        EXPECT_FALSE(h.home.ui.busy());
    }
    Home ok;
    ok.fillSheet(fx("dist_short.dx"));
    ok.home.answer(QStringLiteral("input"), QStringLiteral("1"));
    qiujulizhi_Click(ok.ctx());
    EXPECT_TRUE(ok.onlyMessage().startsWith(QStringLiteral("在[D2]站的距离加上[0.500m]")));
}

TEST(BlunderCommands, RouteComparisonWritesWatchFile)
{
    Home h;
    const QString watch = paths::scratch(QStringLiteral("watch.txt"));
    test::writeGbk(watch, QStringLiteral("old\r\n"));
    h.home.answerOpen({fx("exact6.dx")});
    zfkxjxselectfile_Click(h.ctx());

    QByteArray expected;
    for (const char* l : {"导1      3457910.827   515112.509      0.00", "导2      3457877.159   515275.077      0.00",
                          "导3      3457745.794   515353.075      0.00", "导4      3457663.216   515503.281      0.00",
                          "导4      3457663.218   515503.283      0.00", "导3      3457745.795   515353.076      0.00",
                          "导2      3457877.159   515275.077      0.00", "导1      3457910.826   515112.508      0.00"})
        expected += encodeGbk(QString::fromUtf8(l)) + "\r\n";
    EXPECT_EQ(test::readBytes(watch), expected);
    EXPECT_EQ(h.onlyMessage(), QStringLiteral("在[ 导2 ]的位移量为最小，值为 0.04(Cm)") + cr
                                   + QStringLiteral("在[ 导4 ]的位移量为最大，值为 0.22(Cm)") + cr
                                   + QStringLiteral("检查在[导2]测站角度的正确性。") + cr + QStringLiteral("已经生成")
                                   + watch + QStringLiteral("坐标文件。"));
    EXPECT_EQ(h.messageField("title"), QStringLiteral("正反路线计算各点坐标位移"));
    EXPECT_EQ(h.messageField("icon"), QStringLiteral("exclamation"));
    // Named in the message, not opened.
    EXPECT_TRUE(h.home.ui.textWindowFiles().isEmpty());

    // The planted angle through the sheet.
    Home sheet;
    sheet.fillSheet(fx("angle60.dx"));
    Command41_Click(sheet.ctx());
    EXPECT_TRUE(sheet.onlyMessage().contains(QStringLiteral("检查在[D3]测站角度的正确性。")));
    EXPECT_EQ(readTextLines(paths::scratch(QStringLiteral("watch.txt"))).size(), 12);
}

TEST(BlunderCommands, RouteComparisonFailuresLeaveWatchFileAlone)
{
    Home h;
    const QString watch = paths::scratch(QStringLiteral("watch.txt"));
    test::writeGbk(watch, QStringLiteral("old\r\n"));
    const QString two = h.home.path(QStringLiteral("two.dx"));
    writeDx(two, {QStringLiteral("B,100,100,,A,0,100"), QStringLiteral("C,200,100,,D,300,100"),
                  QStringLiteral("B,180,100,,,,,,"), QStringLiteral("C,180"), QStringLiteral("EOF")});
    const QString cd = h.home.path(QStringLiteral("cd.dx"));
    writeDx(cd, {QStringLiteral("B,100,100,,A,0,100"), QStringLiteral("C,200,100,,D,200,100"),
                 QStringLiteral("B,180,50,,,,,,"), QStringLiteral("P,180,50,,,,,,"), QStringLiteral("C,180"),
                 QStringLiteral("EOF")});
    struct Case {
        const char* what;
        QString file;
        QString text;
    };
    const Case cases[] = {
        // mends a report of empty names and 10000000.00(Cm) when there is nothing to compare
        {"no intermediate station", two, QString()},
        {"C = D", cd, oneLine},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Home run;
        run.home.answerOpen({c.file});
        zfkxjxselectfile_Click(run.ctx());
        if (c.text.isEmpty()) {
            EXPECT_TRUE(run.onlyMessage().contains(QStringLiteral("没有中间测站")));
            EXPECT_EQ(run.messageField("icon"), QStringLiteral("exclamation"));
        } else {
            EXPECT_EQ(run.onlyMessage(), c.text);
        }
        EXPECT_EQ(test::readBytes(watch), QByteArray("old\r\n"));
    }
    // Through the sheet every failure gives the two lines.
    Home empty;
    Command41_Click(empty.ctx());
    EXPECT_EQ(empty.onlyMessage(), twoLines);
    EXPECT_EQ(test::readBytes(watch), QByteArray("old\r\n"));
}

TEST(BlunderCommands, ClosureBearingSearch)
{
    struct Case {
        const char* file;
        QString text;
    };
    const Case cases[] = {
        {"dist_long.dx", QStringLiteral("导线闭合的位移量的方位角为：57.1127(°′″)") + cr
                             + QStringLiteral("与[ D2 ]测站前视方向的方位角较相近。") + cr
                             + QStringLiteral("检查在测站D2前视方向距离的正确性。")},
        // read too short: 180° off its leg, not found through it
        {"dist_short.dx", QStringLiteral("导线闭合的位移量的方位角为：237.1233(°′″),") + cr
                              + QStringLiteral("没有找到与之相近的角度,请查实。")},
        {"north_long.dx", QStringLiteral("导线闭合的位移量的方位角为：359.3259(°′″)") + cr
                              + QStringLiteral("与[ L2 ]测站前视方向的方位角较相近。") + cr
                              + QStringLiteral("检查在测站L2前视方向距离的正确性。")},
        {"angle60.dx", QStringLiteral("导线闭合的位移量的方位角为：185.1129(°′″),") + cr
                           + QStringLiteral("没有找到与之相近的角度,请查实。")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        Home h;
        h.fillSheet(fx(c.file));
        Command44_Click(h.ctx());
        EXPECT_EQ(h.onlyMessage(), c.text);
        EXPECT_EQ(h.messageField("title"), QStringLiteral("分析报告"));
        EXPECT_EQ(h.messageField("icon"), QStringLiteral("exclamation"));
    }

    Home empty;
    Command44_Click(empty.ctx());
    EXPECT_EQ(empty.onlyMessage(), twoLines);
}

TEST(BlunderCommands, ExactClosureIsTheBestResult)
{
    // A straight traverse due east whose C is put where the closure itself
    // ends, to the last bit: fx = fy = 0 without any rounding.
    Home h;
    const QString path = h.home.path(QStringLiteral("exact.dx"));
    QStringList lines = {QStringLiteral("B,1000,2000,,A,1000,1900"), QString(), QStringLiteral("B,180,1000,,,,,,"),
                         QStringLiteral("P2,180.0010,500,,,,,,"), QStringLiteral("C,180"), QStringLiteral("EOF")};
    lines[1] = QStringLiteral("C,1000,3500,,D,1000,3600");
    writeDx(path, lines);
    const Traverse t = numericTraverse(traverse::ReadTraverseDataFile(path));
    const Closure c = traverseClosure(t, t.beta, false);
    const QString cx = QString::number(c.xN, 'g', 17);
    const QString cy = QString::number(c.yN, 'g', 17);
    lines[1] = QStringLiteral("C,%1,%2,,D,%1,%3").arg(cx, cy, QString::number(c.yN + 100, 'g', 17));
    writeDx(path, lines);

    h.fillSheet(path);
    Command44_Click(h.ctx());
    EXPECT_EQ(h.onlyMessage(), QStringLiteral("导线的坐标闭合差为零，没有闭合位移量的方位角。"));

    Home d;
    d.home.answerOpen({path});
    d.home.answer(QStringLiteral("input"), QStringLiteral("1"));
    jigx_selectfile_Click(d.ctx());
    EXPECT_EQ(d.onlyMessage(), QStringLiteral("距离值不用改正！！！"));

    // The angle search on the original file: taking the 10″ off P2 closes it
    // to the millimetre.
    lines[1] = QStringLiteral("C,1000,3500,,D,1000,3600");
    writeDx(path, lines);
    Home a;
    a.home.answerOpen({path});
    a.home.answer(QStringLiteral("input"), QStringLiteral("-10"));
    jdgxselectfile_Click(a.ctx());
    EXPECT_EQ(a.onlyMessage(), QStringLiteral("在[ P2 ]站的水平角更改了[ -10″]之后，") + cr
                                   + QStringLiteral("导线全长相对闭合差=1：∞，导线的精度为最好！"));
}
