// The height adjustment input made from a height-difference result.
#include "quelt/height_input.h"

#include "platform/errors.h"
#include "platform/paths.h"
#include "platform/text_file.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QJsonObject>

using namespace kelvor;
using namespace kelvor::quelt;
using kelvor::test::TempHome;
using kelvor::test::gbkLines;

namespace {

// A record line and its eight lines: line 2 holds a2 and b2, line 8 a8 and b8.
QStringList record(const QString& line, const QString& line2, const QString& line8)
{
    return {line, QStringLiteral("  往测"), line2, QStringLiteral("  返测"), QStringLiteral("  >"), QString(), QString(),
            QString(), line8};
}

QStringList build(const QStringList& file, const QString& first, const QString& last, int* count = nullptr)
{
    TextReader in = TextReader::fromBytes(gbkLines(file));
    QStringList lines;
    const int k = buildHeightAdjustmentInput(in, first, last, lines);
    if (count)
        *count = k;
    return lines;
}

int failureOf(const QStringList& file)
{
    try {
        build(file, QStringLiteral("1"), QStringLiteral("2"));
    } catch (const RunError& e) {
        return e.number();
    }
    return 0;
}

struct Heights {
    TempHome home;
    FileDialogRequest dialog;
    QString chosen = home.path("d:\\q\\P1\\P1G.ou");
    QString target = home.path("d:\\q\\P1\\P1H.IN");
    Heights() { test::writeGbk(chosen, readTextFile(test::fixture("fixtures/q2/P1G.ou"))); }
    void run(const QString& first = QStringLiteral(" 10.000 "), const QString& last = QStringLiteral("12.345"))
    {
        home.answerOpen({chosen});
        Command7_Click(home.context, dialog, first, last);
    }
    QString message() const
    {
        const QJsonArray m = home.ui.messages();
        return m.isEmpty() ? QString() : m.last().toObject().value("text").toString();
    }
};

} // namespace

TEST(HeightInput, WritesTheInputBesideTheResult)
{
    Heights h;
    const QString sheetSave = paths::scratch(QStringLiteral("read.tmp"));
    test::writeGbk(sheetSave, QStringLiteral("sheet\r\n"));
    h.run();

    const QStringList body = {QStringLiteral("B,100.123,12.345,5,100.125,-0.456"),
                              QStringLiteral("P1,80,-3.21,6,80.01,3.205"), QStringLiteral("P2,10.000,12.345"),
                              QStringLiteral("B")};
    EXPECT_EQ(test::readBytes(h.target), gbkLines(QStringList{QStringLiteral("A"), QStringLiteral("5,") + body[0]} +
                                               body.mid(1)));
    EXPECT_EQ(h.message(), QStringLiteral("已经生成文件：D:\\q\\P1\\P1H.IN")) << "a path below a drive is shown the way the person typed it";
    const QJsonObject m = h.home.ui.messages().last().toObject();
    EXPECT_EQ(m.value("title").toString(), QStringLiteral("提醒"));
    EXPECT_EQ(m.value("icon").toString(), QStringLiteral("exclamation"));
    EXPECT_EQ(h.dialog.filter, QStringLiteral("高差计算结果文件(*.ou)|*.ou"));

    // The scratch copy has no count and a name of its own; the sheet's
    // temporary save is left alone.
    EXPECT_EQ(test::readBytes(heightInputScratch()), gbkLines(QStringList{QStringLiteral("A")} + body));
    EXPECT_NE(QFileInfo(heightInputScratch()).fileName().toLower(), QStringLiteral("read.tmp"));
    EXPECT_EQ(test::readBytes(sheetSave), QByteArray("sheet\r\n"));
}

TEST(HeightInput, RecordKindsAndClosingLine)
{
    const QString l2 = QStringLiteral("  12.345     -0.456");
    const QString l8 = QStringLiteral("  012.340    100.1250");
    const QString full1 = QStringLiteral("B-P1    5      >P1");
    const QString zero2 = QStringLiteral("P1-P2    0     >P2");
    const QString full2 = QStringLiteral("P1-P2    6     >P2");

    // full records: K = 2n + 1 and the closing line names the last station
    int k = 0;
    QStringList lines = build(record(full1, l2, l8) + record(full2, l2, l8), QStringLiteral("10.000"),
                              QStringLiteral("12.345"), &k);
    EXPECT_EQ(k, 5);
    EXPECT_EQ(lines, (QStringList{"A", "B,12.34,12.345,5,100.125,-0.456", "P1,12.34,12.345,6,100.125,-0.456",
                                  "P2,10.000,12.345", "B"}));

    // a last zero record: K = 2n, four fields, the closing line has no name
    lines = build(record(full1, l2, l8) + record(zero2, l2, l8), QStringLiteral("10.000"), QStringLiteral("12.345"),
                  &k);
    EXPECT_EQ(k, 4);
    EXPECT_EQ(lines, (QStringList{"A", "B,12.34,12.345,5,100.125,-0.456", "P1,12.34,12.345,P2", "10.000,12.345",
                                  "B"}));

    // an empty known height stays an empty field
    lines = build(record(full1, l2, l8), QString(), QStringLiteral("12.345"), &k);
    EXPECT_EQ(k, 3);
    EXPECT_EQ(lines.at(2), QStringLiteral("P1,,12.345"));
}

TEST(HeightInput, MalformedFilesFail)
{
    const QString l2 = QStringLiteral("  12.345     -0.456");
    const QString l8 = QStringLiteral("  100.1230    100.1250");
    const QString good = QStringLiteral("B-P1    5      >P1");
    const struct {
        const char* what;
        QStringList file;
        int error;
    } cases[] = {
        {"no record line", {"header", "no marks here"}, err::InvalidArgument},
        {"file ends inside a record", record(good, l2, l8).mid(0, 6), err::InputPastEnd},
        {"line 2 field no number", record(good, QStringLiteral("  abc        1.0"), l8), err::TypeMismatch},
        {"middle field of negative length", record(QStringLiteral("B-P1 >P1"), l2, l8), err::InvalidArgument},
        {"zero record without > in its first 30 characters",
         record(QStringLiteral("B-P1") + QString(30, QLatin1Char(' ')) + QStringLiteral("0") +
                    QString(4, QLatin1Char(' ')) + QStringLiteral(">P1"),
                l2, l8),
         err::InvalidArgument},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(failureOf(c.file), c.error);
    }
}

TEST(HeightInput, OutputName)
{
    const struct {
        QString chosen, target;
    } cases[] = {
        {QStringLiteral("D:\\Q\\P1\\P1G.ou"), QStringLiteral("D:\\Q\\P1\\P1H.IN")},
        {QStringLiteral("/data/q/XG.ou"), QStringLiteral("/data/q/XH.IN")},
        {QStringLiteral("d:\\G.ou"), QStringLiteral("d:\\H.IN")},
        {QStringLiteral("d:\\a.b\\P1G.x.ou"), QStringLiteral("d:\\a.b\\P1G.H.IN")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(heightAdjustmentInputPath(c.chosen), c.target);
    EXPECT_THROW(heightAdjustmentInputPath(QStringLiteral("d:\\a.b\\P1G")), RunError);
    EXPECT_THROW(heightAdjustmentInputPath(QStringLiteral("d:\\.ou")), RunError);
}

TEST(HeightInput, FailuresShowTheirMessage)
{
    // no ">" at all: the scratch copy was started, no input file is written
    {
        Heights h;
        test::writeGbk(h.chosen, QStringLiteral("高 差 计 算 结 果\r\n没有记录\r\n"));
        h.run();
        EXPECT_EQ(h.message(), QStringLiteral("数据结构不对或其它。"));
        EXPECT_EQ(h.home.ui.messages().last().toObject().value("icon").toString(), QStringLiteral("critical"));
        EXPECT_EQ(test::readBytes(heightInputScratch()), QByteArray("A\r\n"));
        EXPECT_FALSE(QFileInfo::exists(h.target));
    }
    // a chosen name without "." has no input file name
    {
        Heights h;
        h.chosen = h.home.path("d:\\q\\P1\\P1G");
        test::writeGbk(h.chosen, readTextFile(test::fixture("fixtures/q2/P1G.ou")));
        h.run();
        EXPECT_EQ(h.message(), QStringLiteral("数据结构不对或其它。"));
    }
    // a folder that does not exist
    {
        Heights h;
        h.chosen = h.home.path("d:\\none\\P1G.ou");
        h.run();
        EXPECT_EQ(h.message(), QStringLiteral("路径没找到！可能是目录名与导线第一个点名不相符！！"));
        EXPECT_EQ(h.home.ui.messages().last().toObject().value("title").toString(), QStringLiteral("错误"));
    }
    // a cancelled dialog: nothing shown, nothing written
    {
        Heights h;
        h.home.answerOpen({});
        Command7_Click(h.home.context, h.dialog, QStringLiteral("1"), QStringLiteral("2"));
        EXPECT_TRUE(h.home.ui.messages().isEmpty());
        EXPECT_FALSE(QFileInfo::exists(heightInputScratch()));
    }
}

TEST(HeightInput, ReplacesAnEarlierInput)
{
    Heights h;
    test::writeGbk(h.target, QStringLiteral("old\r\nold\r\nold\r\nold\r\nold\r\nold\r\nold\r\n"));
    h.run(QStringLiteral("1.5"), QStringLiteral("2.5"));
    const QStringList lines = readTextLines(h.target);
    ASSERT_EQ(lines.size(), 5);
    EXPECT_EQ(lines.at(3), QStringLiteral("P2,1.5,2.5"));
}
