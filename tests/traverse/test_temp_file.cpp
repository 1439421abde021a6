#include "traverse/sheet.h"
#include "traverse/temp_file.h"

#include "platform/paths.h"
#include "platform/text_file.h"
#include "test_support.h"

#include <QDir>
#include <QJsonObject>
#include <gtest/gtest.h>

using namespace kelvor;
using namespace kelvor::traverse;
using kelvor::test::lastMessage;

namespace {

QString tmpPath()
{
    return paths::scratch(QStringLiteral("read.tmp"));
}

} // namespace

TEST(TempFileSave, OnlyTheNameOfAGivesTwentyFiveLines)
{
    test::TempHome home;
    TraverseSheet s;
    home.context.setSheet(&s);
    s.setText1(0, QStringLiteral("A1"));
    Command10_Click(home.context);

    EXPECT_EQ(s.rowsInUse(), 1);
    const QStringList lines = readTextLines(tmpPath());
    ASSERT_EQ(lines.size(), 25);
    EXPECT_EQ(lines[2], QStringLiteral("A1"));
    for (int m = 16; m < 25; ++m)
        EXPECT_EQ(lines[m], QString(10, QLatin1Char(' ')));
    EXPECT_TRUE(test::readBytes(tmpPath()).endsWith("\r\n"));
    const QJsonObject msg = lastMessage(home);
    EXPECT_EQ(msg[QStringLiteral("text")].toString(), QStringLiteral("临时文件存为:") + tmpPath() + QStringLiteral("。"));
    EXPECT_EQ(msg[QStringLiteral("title")].toString(), QStringLiteral("成功保存"));
    EXPECT_EQ(msg[QStringLiteral("icon")].toString(), QStringLiteral("information"));

    // And back: the same sheet with only row 0 shown.
    s.clearSheet();
    Command11_Click(home.context);
    EXPECT_EQ(s.text1(0), QStringLiteral("A1"));
    EXPECT_EQ(s.text5(0), QString());
    EXPECT_EQ(s.rowsInUse(), 1);
}

TEST(TempFileSave, RowsAfterTheFirstBlankNameAreNotSaved)
{
    test::TempHome home;
    TraverseSheet s;
    home.context.setSheet(&s);
    for (int r : {0, 1, 2, 3, 4, 6})
        s.setText5(9 * r, QStringLiteral("P%1").arg(r));
    s.setText5(55, QStringLiteral("row6"));
    s.setText5(108, QStringLiteral(" C "));
    s.setText1(6, QStringLiteral(" 5.5"));
    Command10_Click(home.context);

    EXPECT_EQ(s.rowsInUse(), 5);
    EXPECT_EQ(s.text5(55), QStringLiteral("row6")); // stays, hidden
    const QStringList lines = readTextLines(tmpPath());
    ASSERT_EQ(lines.size(), 16 + 45);
    EXPECT_EQ(lines[0], QStringLiteral(" C "));   // header lines as typed
    EXPECT_EQ(lines[8], QStringLiteral(" 5.5"));
    EXPECT_EQ(lines[16], QStringLiteral("P0        "));
}

TEST(TempFileSave, CellWidth)
{
    const struct {
        const char* text;
        const char* line;
    } cases[] = {
        {"", "          "},
        {"123456789012", "123456789012 "},
        {"123456789", "123456789 "},
        {"12345678", "12345678  "},
        {"导线点", "导线点       "},
        {"  1.5 ", "1.5       "},
    };
    for (const auto& c : cases)
        EXPECT_EQ(tempCellLine(QString::fromUtf8(c.text)), QString::fromUtf8(c.line)) << c.text;
}

TEST(TempFileSave, RefusedWithoutNamesLeavesTheFileAlone)
{
    test::TempHome home;
    TraverseSheet s;
    home.context.setSheet(&s);
    test::writeGbk(tmpPath(), QStringLiteral("old\r\n"));
    s.setText5(9, QStringLiteral("P1"));
    s.setText5(18, QString());
    Command10_Click(home.context);

    EXPECT_EQ(test::readBytes(tmpPath()), QByteArray("old\r\n"));
    EXPECT_EQ(s.rowsInUse(), 12); // nothing hidden
    const QJsonObject msg = lastMessage(home);
    EXPECT_EQ(msg[QStringLiteral("text")].toString(), QStringLiteral("数据格式的不正确性及不完整！不能保存。"));
    EXPECT_EQ(msg[QStringLiteral("title")].toString(), QStringLiteral("保存"));
    EXPECT_EQ(msg[QStringLiteral("icon")].toString(), QStringLiteral("information"));

    // A name of blanks is a name here; row 0 is saved unnamed, row 1 named.
    s.setText1(0, QStringLiteral(" "));
    Command10_Click(home.context);
    EXPECT_EQ(readTextLines(tmpPath()).size(), 16 + 18);
}

TEST(TempFileSave, UnwritableFileSaysSoAndKeepsTheOldOne)
{
    test::TempHome home;
    TraverseSheet s;
    home.context.setSheet(&s);
    s.setText1(0, QStringLiteral("A"));
    QDir().mkpath(tmpPath()); // a folder where the file should be
    Command10_Click(home.context);
    const QJsonObject msg = lastMessage(home);
    EXPECT_EQ(msg[QStringLiteral("text")].toString(), QStringLiteral("错误！！"));
    EXPECT_EQ(msg[QStringLiteral("icon")].toString(), QStringLiteral("none"));
}

TEST(TempFileLoad, FullSheetRoundTrip)
{
    test::TempHome home;
    TraverseSheet s;
    home.context.setSheet(&s);
    for (int i = 0; i < 14; ++i)
        s.setText1(i, QStringLiteral("k%1").arg(i));
    for (int k = 0; k < 110; ++k)
        s.setText5(k, QStringLiteral("c%1").arg(k));
    Command10_Click(home.context);
    EXPECT_EQ(readTextLines(tmpPath()).size(), 124);

    TraverseSheet back;
    home.context.setSheet(&back);
    back.setGrade(QStringLiteral("8秒导线"));
    back.setRedLabel(4);
    Command11_Click(home.context);
    for (int i = 0; i < 14; ++i)
        EXPECT_EQ(back.text1(i), s.text1(i));
    for (int k = 0; k < 110; ++k)
        EXPECT_EQ(back.text5(k), s.text5(k));
    EXPECT_EQ(back.rowsInUse(), 12);
    EXPECT_EQ(back.grade(), QStringLiteral("8秒导线"));
    EXPECT_EQ(back.redLabel(), 4);
}

TEST(TempFileLoad, CellsTrimmedAndRowsHiddenAfterFirstBlankName)
{
    test::TempHome home;
    QStringList lines;
    lines << QStringLiteral(" L ") << QStringLiteral("90 ");
    for (int i = 0; i < 14; ++i)
        lines << QStringLiteral(" k%1 ").arg(i);
    lines << QStringLiteral("         ") << QStringLiteral("1.5  "); // row 0 unnamed
    for (int m = 2; m < 9; ++m)
        lines << QString();
    lines << QStringLiteral("P1  ") << QStringLiteral("2");
    writeTextLines(tmpPath(), lines);

    TraverseSheet s;
    home.context.setSheet(&s);
    s.setText5(100, QStringLiteral("gone"));
    for (int r = 0; r < 12; ++r)
        s.setRowVisible(r, r < 4);
    Command11_Click(home.context);
    EXPECT_EQ(s.text5(108), QStringLiteral("L"));
    EXPECT_EQ(s.text5(109), QStringLiteral("90"));
    EXPECT_EQ(s.text1(13), QStringLiteral("k13"));
    EXPECT_EQ(s.text5(1), QStringLiteral("1.5"));
    EXPECT_EQ(s.text5(9), QStringLiteral("P1"));
    EXPECT_EQ(s.text5(100), QString());
    EXPECT_EQ(s.rowsInUse(), 2); // row 0 always stays, row 2 has no name
    EXPECT_TRUE(home.ui.messages().isEmpty());
}

// Mends a load that emptied or half-filled the sheet when its file was missing or bad.
TEST(TempFileLoad, BadFileChangesNothing)
{
    const QString bad = QStringLiteral("格式不对或找不到该文件，请核对后再试");
    const auto linesOf = [](int n) {
        QStringList l;
        for (int i = 0; i < n; ++i)
            l << QStringLiteral("x%1").arg(i);
        return l;
    };
    const struct {
        const char* name;
        int lines; // -1: no file; 0: an empty file
        bool loads;
    } cases[] = {
        {"missing", -1, false},
        {"empty", 0, false},
        {"twenty lines", 20, false},
        {"twenty-one lines", 21, true},
        {"126 lines", 126, true},
        {"127 lines", 127, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempHome home;
        if (c.lines == 0)
            test::writeGbk(tmpPath(), QString());
        else if (c.lines > 0)
            writeTextLines(tmpPath(), linesOf(c.lines));
        TraverseSheet s;
        home.context.setSheet(&s);
        s.setText1(0, QStringLiteral("A"));
        s.setText5(50, QStringLiteral("keep"));
        for (int r = 0; r < 12; ++r)
            s.setRowVisible(r, r < 7);
        Command11_Click(home.context);

        if (c.loads) {
            EXPECT_TRUE(home.ui.messages().isEmpty());
            EXPECT_EQ(s.text1(0), QStringLiteral("x2"));
            EXPECT_EQ(s.text5(4), QStringLiteral("x20"));
            if (c.lines == 126) {
                EXPECT_EQ(s.text5(108), QStringLiteral("x124")); // lines 125, 126
                EXPECT_EQ(s.text5(109), QStringLiteral("x125"));
            } else {
                EXPECT_EQ(s.text5(50), QString());
                EXPECT_EQ(s.rowsInUse(), 1);
            }
        } else {
            const QJsonObject msg = lastMessage(home);
            EXPECT_EQ(msg[QStringLiteral("text")].toString(), bad);
            EXPECT_EQ(msg[QStringLiteral("icon")].toString(), QStringLiteral("exclamation"));
            EXPECT_EQ(s.text1(0), QStringLiteral("A"));
            EXPECT_EQ(s.text5(50), QStringLiteral("keep"));
            EXPECT_EQ(s.rowsInUse(), 7);
        }
    }
}
