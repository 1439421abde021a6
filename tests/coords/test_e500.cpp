// E500 field data to CASS data: the reader, the continuation marks and short
// codes, the output path and the conversion command.
#include "coords/cass_plot.h"
#include "coords/e500.h"

#include "platform/errors.h"
#include "platform/paths.h"
#include "platform/text_file.h"
#include "test_support.h"

#include <QFile>
#include <QJsonObject>
#include <gtest/gtest.h>

using namespace kelvor;
using namespace kelvor::coords;
using kelvor::test::TempHome;
using kelvor::test::u;

namespace {

// Three feature records of F001 around one W002, a Y point, a control
// section and a height section with blanks around its height.
QStringList sampleE500()
{
    return {u("CSAM E500 2005-06-01"),
            u("F 001 A"), u("3381000.100"), u("519000.200"),
            u("F 001 A"), u("3381010.100"), u("519010.200"),
            u("W 002"), u("3381020.100"), u("519020.200"),
            u("F 001"), u("3381030.100"), u("519030.200"),
            u("Y 003"), u("3381040.100"), u("519040.200"),
            u("KXY"), u("3381234.567"), u("519256.789"), u("45.678"), u("DK1234567"), u("DXY"),
            u("HXY"), u("3381100.000"), u("519100.000"), u(" 12.34 "), u("END")};
}

const QStringList sampleCass = {
    QStringLiteral("1,F1,519000.200,3381000.100,0"), QStringLiteral("2,+,519010.200,3381010.100,0"),
    QStringLiteral("3,W1,519020.200,3381020.100,0"), QStringLiteral("4,1+,519030.200,3381030.100,0"),
    QStringLiteral("5,A1,519040.200,3381040.100,0"), QStringLiteral("6,H1,519100.000,3381100.000, 12.34 "),
    QStringLiteral("7,C1-4567,519256.789,3381234.567,45.678"),
};

// A detail record of the identifier line at (x, y).
QStringList record(const QString& id, const QString& x = QStringLiteral("1"), const QString& y = QStringLiteral("2"))
{
    return {id, x, y};
}

QStringList codesOf(const QStringList& lines)
{
    QStringList codes;
    for (const QString& l : lines)
        codes << l.section(QLatin1Char(','), 1, 1);
    return codes;
}

} // namespace

TEST(E500, SampleFileGivesTheCassLinesInDetailHeightControlOrder)
{
    EXPECT_EQ(cassLines(readE500(sampleE500())), sampleCass);
}

TEST(E500, IdentifiersMarksAndShortCodes)
{
    const struct {
        const char* name;
        QStringList ids;
        QStringList codes;
    } cases[] = {
        {"remapped letters", {u("B 1"), u("J 2"), u("T 3"), u("y 4"), u("Y 5")}, {"L1", "M1", "K1", "y1", "A1"}},
        {"other letters stay", {u("F 1"), u("c 2"), u("Z 3")}, {"F1", "c1", "Z1"}},
        {"digit-led identifier stays whole", {u("7ab 12345")}, {"7ab123"}},
        {"field 2 cut to three characters", {u("F 001"), u("F 0019")}, {"F1", "+"}},
        {"marks compare identifiers as read", {u("F 001"), u("F 002"), u("F 001")}, {"F1", "F1", "1+"}},
        {"nearest namesake counts", {u("A 1"), u("B 1"), u("C 1"), u("A 1"), u("A 1")}, {"A1", "L1", "C1", "2+", "+"}},
        {"case matters in marks", {u("f 1"), u("F 1")}, {"f1", "F1"}},
        {"no field 2", {u("G"), u("G")}, {"G1", "+"}},
    };
    for (const auto& c : cases) {
        QStringList lines{u("head")};
        for (const QString& id : c.ids)
            lines << record(id);
        EXPECT_EQ(codesOf(cassLines(readE500(lines))), c.codes) << c.name;
    }
}

TEST(E500, ControlNamesAndHeights)
{
    const struct {
        const char* name;
        QString nameLine;
        QString h;
        QString expected;
    } cases[] = {
        {"long name keeps last four", u("DK1234567"), u(" 45.678 "), u("1,C1-4567,2,1,45.678")},
        {"short name whole", u("  12  "), u("3"), u("1,C1-12,2,1,3")},
        {"blanks inside the last four trimmed", u("AB  12 "), u("3"), u("1,C1-12,2,1,3")},
        {"inner blank kept", u("AB 12"), u("3"), u("1,C1-B 12,2,1,3")},
    };
    for (const auto& c : cases) {
        const QStringList lines{u("head"), u("KXY"), u(" 1 "), u(" 2 "), c.h, c.nameLine, u("DXY")};
        EXPECT_EQ(cassLines(readE500(lines)), QStringList{c.expected}) << c.name;
    }
}

TEST(E500, SectionsAndEndsOfFile)
{
    const struct {
        const char* name;
        QStringList lines;
        int error; // 0: reads
        int details, heights, controls;
    } cases[] = {
        {"empty file", {}, err::InputPastEnd, 0, 0, 0},
        {"heading only", {u("head")}, err::InputPastEnd, 0, 0, 0},
        {"detail cut short", {u("head"), u("F 1"), u("1")}, err::InputPastEnd, 0, 0, 0},
        {"control cut short", {u("head"), u("KXY"), u("1"), u("2"), u("3")}, err::InputPastEnd, 0, 0, 0},
        {"height cut short", {u("head"), u("KXY"), u("DXY"), u("HXY"), u("1"), u("2")}, err::InputPastEnd, 0, 0, 0},
        {"details only", {u("head"), u("F 1"), u("1"), u("2")}, 0, 1, 0, 0},
        {"no height section", {u("head"), u("F 1"), u("1"), u("2"), u("KXY"), u("1"), u("2"), u("3"), u("N1"), u("DXY")},
         0, 1, 0, 1},
        {"control section runs to the end", {u("head"), u("KXY"), u("1"), u("2"), u("3"), u("N1")}, 0, 0, 0, 1},
        {"marker trimmed", {u("head"), u(" KXY "), u("DXY "), u(" HXY"), u("1"), u("2"), u("3"), u("END ")}, 0, 0, 1, 0},
        {"control section without DXY runs on", {u("head"), u("KXY"), u("HXY"), u("1"), u("2"), u("3"), u("END")},
         err::InputPastEnd, 0, 0, 0},
        {"marker case counts", {u("head"), u("kxy"), u("1"), u("2")}, 0, 1, 0, 0},
        {"KXY only where a record begins", {u("head"), u("F 1"), u("KXY"), u("2"), u("KXY"), u("DXY")}, err::InputPastEnd, 0, 0, 0},
        {"empty control section", {u("head"), u("F 1"), u("1"), u("2"), u("KXY"), u("DXY")}, 0, 1, 0, 0},
        {"two height sections", {u("head"), u("KXY"), u("DXY"), u("HXY"), u("1"), u("2"), u("3"), u("END"), u("HXY"),
                                 u("4"), u("5"), u("6"), u("END")}, 0, 0, 2, 0},
    };
    for (const auto& c : cases) {
        E500DataFile data;
        EXPECT_EQ(test::errorOf([&] { data = readE500(c.lines); }), c.error) << c.name;
        if (c.error)
            continue;
        EXPECT_EQ(int(data.details.size()), c.details) << c.name;
        EXPECT_EQ(int(data.heights.size()), c.heights) << c.name;
        EXPECT_EQ(int(data.controls.size()), c.controls) << c.name;
    }
}

TEST(E500, NumberingRunsOnAcrossGroups)
{
    QStringList lines{u("head")};
    for (int i = 0; i < 5; ++i)
        lines << record(u("F %1").arg(i));
    lines << u("KXY") << u("1") << u("2") << u("3") << u("K1") << u("DXY");
    lines << u("HXY") << u("1") << u("2") << u("3") << u("1") << u("2") << u("3") << u("END");
    const QStringList out = cassLines(readE500(lines));
    ASSERT_EQ(out.size(), 8);
    EXPECT_TRUE(out[5].startsWith(u("6,H1,")));
    EXPECT_TRUE(out[7].startsWith(u("8,C1-K1,")));
}

TEST(E500, EmptyIdentifierWithoutNamesakeIsRefused)
{
    EXPECT_EQ(test::errorOf([] { cassLines(readE500({u("head"), u(""), u("1"), u("2")})); }), err::InvalidArgument);
    // a later empty identifier takes the mark of the earlier one
    EXPECT_EQ(test::errorOf([] { shortCode(u("+")); }), 0);
}

TEST(E500, OutputPathBesideTheInput)
{
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"d:\\data\\site.old.500", "d:\\data\\site.old.DAT"},
        {"d:\\data\\site", "d:\\data\\site.DAT"},
        {"d:\\a.b\\site", "d:\\a.b\\site.DAT"},
        {" d:\\x.500 ", "d:\\x.DAT"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(cassPathFor(u(c.in)), u(c.out)) << c.in;
}

TEST(E500, ConversionWritesScratchFilesAndTheDataFile)
{
    TempHome home;
    test::writeGbkLines(home.path(u("d:\\survey\\site.old.500")), sampleE500());
    EXPECT_EQ(ConvertE500ToCass(u("d:\\survey\\site.old.500")), u("d:\\survey\\site.old.DAT"));
    EXPECT_EQ(readTextLines(home.path(u("d:\\survey\\site.old.DAT"))), sampleCass);
    EXPECT_EQ(test::readBytes(home.path(u("d:\\survey\\site.old.DAT"))),
              test::gbkLines(sampleCass));
    EXPECT_EQ(readTextLines(home.path(u("c:\\gc.TMP"))), QStringList{u("H1,519100.000,3381100.000, 12.34 ")});
    EXPECT_EQ(readTextLines(home.path(u("c:\\kzd.TMP"))), QStringList{u("C1-4567,519256.789,3381234.567,45.678")});
}

TEST(E500, TwoThousandAndOneRecordsConvert)
{
    QStringList lines{u("head")};
    for (int i = 0; i < 2001; ++i)
        lines << record(u("F %1").arg(i % 3), QString::number(i), QString::number(i));
    const QStringList out = cassLines(readE500(lines));
    ASSERT_EQ(out.size(), 2001);
    EXPECT_EQ(out.last(), u("2001,2+,2000,2000,0"));
}

TEST(E500, CommandReportsAndWritesNothingOnFailure)
{
    const struct {
        const char* name;
        QStringList lines;
        const char* text;
        const char* title;
        const char* icon;
    } cases[] = {
        {"converted", sampleE500(),
         "已经转换完成！输出文件：D:\\site.DAT\r\n\r\n注意使用[展绘单点点位]对单点进行展点。", "提示", "exclamation"},
        {"cut short", {u("head"), u("F 1"), u("1")}, "文件数据为空或格式不对！", "错误", "critical"},
        {"empty identifier", {u("head"), u(""), u("1"), u("2")}, "Err: 5", "", "none"},
    };
    for (const auto& c : cases) {
        TempHome home;
        writeTextLines(home.path(u("d:\\site.500")), c.lines);
        home.answerOpen({home.path(u("d:\\site.500"))});
        zhuanhuanwyczwj_Click(home.context);
        const QJsonObject m = test::lastMessage(home);
        EXPECT_EQ(m.value("text").toString(), u(c.text)) << c.name;
        EXPECT_EQ(m.value("title").toString(), *c.title ? u(c.title) : applicationTitle()) << c.name;
        EXPECT_EQ(m.value("icon").toString(), u(c.icon)) << c.name;
        EXPECT_EQ(QFile::exists(home.path(u("d:\\site.DAT"))), QString(u(c.icon)) == u("exclamation")) << c.name;
        const FileDialogRequest& d = home.context.state().commonDialog;
        EXPECT_EQ(d.title, u("打开E500数据文件")) << c.name;
        EXPECT_EQ(d.filter, u("E500数据文件(*.500)|*.500|所有文件(*.*)|*.*")) << c.name;
    }
}

TEST(E500, CancelledDialogEndsSilently)
{
    TempHome home;
    home.answer("button", "Cancel");
    zhuanhuanwyczwj_Click(home.context);
    EXPECT_TRUE(home.ui.messages().isEmpty());
}
