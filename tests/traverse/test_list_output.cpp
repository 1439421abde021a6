#include "traverse/list_output.h"
#include "traverse/sheet.h"

#include "platform/paths.h"
#include "platform/text_file.h"
#include "test_support.h"

#include <QJsonObject>
#include <gtest/gtest.h>

using namespace kelvor;
using namespace kelvor::traverse;

namespace {

QString watch()
{
    return paths::scratch(QStringLiteral("watch.txt"));
}

void fillRow(TraverseSheet& s, int r, const QStringList& values)
{
    for (int c = 0; c < values.size(); ++c)
        s.setText5(9 * r + c, values[c]);
}

} // namespace

TEST(ListOutput, FixedColumns)
{
    TraverseSheet s;
    for (int r = 0; r < 12; ++r)
        s.setRowVisible(r, r < 3);
    fillRow(s, 0, {"K1", "90.0000", "123.456", "-1.2030", "1.45", "1.50", "1.2040", "1.46", "1.51"});
    fillRow(s, 1, {"导线点二", "", "", "", "", "", "", "", ""});
    fillRow(s, 2, {"NAME12345678", " 1"});
    s.setText5(108, QStringLiteral("C"));
    s.setText5(109, QStringLiteral("180"));
    const QStringList lines = listOutputLines(s);

    ASSERT_EQ(lines.size(), 5);
    EXPECT_EQ(lines[0].size(), 59);
    EXPECT_EQ(lines[0], QStringLiteral("点名        水平角     距离        垂直角   仪器高  觇标高   垂直角   仪器高  觇标高"));
    EXPECT_EQ(lines[1], QStringLiteral("K1        90.0000     123.456     -1.2030   1.45    1.50    1.2040    1.46    1.51    "));
    EXPECT_EQ(lines[1].size(), 86);
    EXPECT_EQ(lines[2], QStringLiteral("导线点二") + QString(6 + 76, QLatin1Char(' ')));
    // Long values are never cut; a leading blank pushes the line right.
    EXPECT_TRUE(lines[3].startsWith(QStringLiteral("NAME12345678 1          ")));
    EXPECT_EQ(lines[3].size(), 12 + 13 + 64);
    EXPECT_EQ(lines[4], QStringLiteral("C         180       "));
}

TEST(ListOutput, AppendOrReplaceWatchFile)
{
    for (const char* button : {"Yes", "No"}) {
        SCOPED_TRACE(button);
        test::TempHome home;
        TraverseSheet s;
        home.context.setSheet(&s);
        s.setRowVisible(1, false);
        s.setText5(108, QStringLiteral("C"));
        writeTextLines(watch(), {QStringLiteral("old")});
        home.answer(QStringLiteral("button"), QString::fromLatin1(button));
        Command34_Click(home.context);

        const QJsonObject m = home.ui.messages()[0].toObject();
        EXPECT_EQ(m[QStringLiteral("text")].toString(), QStringLiteral("是否在原有的文件(Watch.txt)中添加以下的坐标内容！"));
        EXPECT_EQ(m[QStringLiteral("title")].toString(), QStringLiteral("添加"));
        EXPECT_EQ(m[QStringLiteral("buttons")].toString(), QStringLiteral("YesNo"));
        QStringList expected = listOutputLines(s);
        EXPECT_EQ(expected.size(), 3); // header, row 0, last station
        if (QString::fromLatin1(button) == QStringLiteral("Yes"))
            expected.prepend(QStringLiteral("old"));
        EXPECT_EQ(readTextLines(watch()), expected);
        EXPECT_TRUE(test::readBytes(watch()).endsWith("C" + QByteArray(19, ' ') + "\r\n"));
        EXPECT_EQ(home.ui.textWindowFiles(), QStringList{watch()});
    }

    // Yes without a file creates it.
    test::TempHome home;
    TraverseSheet s;
    home.context.setSheet(&s);
    home.answer(QStringLiteral("button"), QStringLiteral("Yes"));
    Command34_Click(home.context);
    EXPECT_EQ(readTextLines(watch()).size(), 1 + 12 + 1);
}
