// TXT文件转换: "d:\1.txt" into "d:\2.txt" through the window's command.
#include "coords/zone_change.h"
#include "zone_forms.h"
#include "platform/text_file.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <QJsonObject>

using namespace kelvor;
using namespace kelvor::coords;
using kelvor::test::form114to117;
using kelvor::test::TempHome;
using kelvor::test::lastMessage;

namespace {

TEST(PointListZoneChange, WritesHeadingAndPrintZoneLines)
{
    TempHome home;
    kelvor::test::writeGbk(QStringLiteral("d:\\1.txt"),
                           QStringLiteral("7,3381234.567,519256.789\r\n40000, 3381234.567 , 519256.789\r\n"
                                          "-5,3381234.567,519256.789\r\n12.5,3381234.567,519256.789\r\n"));
    textZoneChange(home.context, form114to117());
    const QJsonObject m = lastMessage(home);
    EXPECT_EQ(m.value("text").toString(), QStringLiteral("txt文件已完成换带"));
    EXPECT_EQ(m.value("icon").toString(), QStringLiteral("none"));
    EXPECT_EQ(m.value("title").toString(), applicationTitle());

    const QStringList lines = readTextLines(QStringLiteral("d:\\2.txt"));
    ASSERT_EQ(lines.size(), 6);
    EXPECT_EQ(lines[0], QStringLiteral("114           到             117           的换带计算"));
    EXPECT_EQ(lines[1], QStringLiteral("点号                          X坐标                              Y坐标"));
    // point number at column 1, commas at 15 and 57, X at 29, Y at 71
    const QString row = QStringLiteral(" 7 ") + QString(11, ' ') + QStringLiteral(",") + QString(13, ' ')
        + QStringLiteral(" 3384554.89504856 ") + QString(10, ' ') + QStringLiteral(",") + QString(13, ' ')
        + QStringLiteral(" 231352.466879015 ");
    EXPECT_EQ(lines[2], row);
    EXPECT_EQ(lines[2].indexOf(','), 14);
    EXPECT_EQ(lines[2].indexOf(" 3384554"), 28);
    EXPECT_EQ(lines[2].lastIndexOf(','), 56);
    EXPECT_EQ(lines[2].indexOf(" 231352"), 70);
    EXPECT_TRUE(lines[3].startsWith(QStringLiteral(" 40000 ")));  // beyond 16 bits
    EXPECT_TRUE(lines[4].startsWith(QStringLiteral("-5 ")));
    EXPECT_TRUE(lines[5].startsWith(QStringLiteral(" 12 ")));     // half to even
    EXPECT_EQ(lines[3].mid(14), lines[2].mid(14));
    EXPECT_TRUE(kelvor::test::readBytes(QStringLiteral("d:\\2.txt")).endsWith("231352.466879015 \r\n"));
}

TEST(PointListZoneChange, EmptyInputGivesTheHeadingOnly)
{
    TempHome home;
    kelvor::test::writeGbk(QStringLiteral("d:\\1.txt"), QString());
    textZoneChange(home.context, form114to117());
    EXPECT_EQ(readTextLines(QStringLiteral("d:\\2.txt")).size(), 2);
    EXPECT_EQ(lastMessage(home).value("text").toString(), QStringLiteral("txt文件已完成换带"));
}

TEST(PointListZoneChange, ZonesMoveOnAfterAFullZone)
{
    ZoneForm f = form114to117();
    f.sourceMeridian = QStringLiteral("114.0000000000"); // 14 characters
    EXPECT_EQ(pointListHeading(f), QStringLiteral("114.0000000000") + QString(14, ' ') + QStringLiteral("到") + QString(13, ' ')
                          + QStringLiteral("117") + QString(11, ' ') + QStringLiteral("的换带计算"));
}

TEST(PointListZoneChange, AFailingLineIsNamedAndNoFileIsLeft)
{
    const struct {
        const char* name;
        QString line2;
    } cases[] = {
        {"third comma", QStringLiteral("2,3381234.567,519256.789,9")},
        {"x is no number", QStringLiteral("2,338x,519256.789")},
        {"one comma only", QStringLiteral("2,3381234.567")},
        {"empty line", QString()},
        {"huge point number", QStringLiteral("1E20,3381234.567,519256.789")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempHome home;
        kelvor::test::writeGbk(QStringLiteral("d:\\1.txt"), QStringLiteral("1,3381234.567,519256.789\r\n") + c.line2
                                                               + QStringLiteral("\r\n3,3381234.567,519256.789\r\n"));
        textZoneChange(home.context, form114to117());
        const QJsonObject m = lastMessage(home);
        EXPECT_TRUE(m.value("text").toString().startsWith(QStringLiteral("第 2 行"))) << m.value("text").toString().toStdString();
        EXPECT_EQ(m.value("icon").toString(), QStringLiteral("critical"));
        EXPECT_FALSE(textFileExists(QStringLiteral("d:\\2.txt")));
    }
}

TEST(PointListZoneChange, MissingInputOrMeridianIsReported)
{
    {
        TempHome home;
        textZoneChange(home.context, form114to117());
        EXPECT_EQ(lastMessage(home).value("text").toString(), QStringLiteral("找不到点文件 d:\\1.txt！"));
    }
    {
        TempHome home;
        kelvor::test::writeGbk(QStringLiteral("d:\\1.txt"), QStringLiteral("1,3381234.567,519256.789\r\n"));
        ZoneForm f = form114to117();
        f.targetMeridian = QStringLiteral("117度");
        textZoneChange(home.context, f);
        EXPECT_EQ(lastMessage(home).value("text").toString(), QStringLiteral("错误的转换后中央子午线！"));
        EXPECT_FALSE(textFileExists(QStringLiteral("d:\\2.txt")));
    }
}

} // namespace
