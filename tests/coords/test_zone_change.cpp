#include "routines/routines.h"
#include "coords/line_stream.h"
#include "coords/zone_change.h"
#include "zone_forms.h"
#include "platform/errors.h"
#include "platform/paths.h"
#include "platform/text_file.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <QFile>
#include <chrono>
#include <QJsonObject>

using namespace kelvor;
using namespace kelvor::coords;
using kelvor::test::form114to117;
using kelvor::test::TempHome;
using kelvor::test::lastMessage;
using kelvor::test::linesOf;
using kelvor::test::writeBytes;

namespace {

const Projection Kr54WithFalseEasting{Series::Krasovsky, Series::Krasovsky, true};

QByteArray dxf(const QStringList& lines, const char* end = "\r\n")
{
    QByteArray b;
    for (const QString& l : lines)
        b += l.toLatin1() + end;
    return b;
}

QByteArray zoneChanged(const QString& east, const QString& north, bool wantEast)
{
    double x = 0, y = 0;
    changeZone(north.toDouble(), east.toDouble(), 114, 117, Kr54WithFalseEasting, x, y);
    return NumberText(wantEast ? y : x).toLatin1();
}

// ---- the DXF stream ---------------------------------------------------------

TEST(DxfZoneChange, ChangesOnlyEntityCoordinateLines)
{
    TempHome home;
    const QString out = home.path("out.dxf");
    const qint64 n = convertDxfZone(kelvor::test::fixture("fixtures/drawing.dxf"), out, 114, 117,
                                    Kr54WithFalseEasting);
    EXPECT_EQ(n, 4);

    const QList<QByteArray> before = linesOf(kelvor::test::readBytes(kelvor::test::fixture("fixtures/drawing.dxf")));
    const QList<QByteArray> after = linesOf(kelvor::test::readBytes(out));
    ASSERT_EQ(before.size(), after.size());
    // 1-based line numbers of the x value lines of the converted pairs; the
    // northing is two lines further on. Header and block pairs stay, and so
    // does the pair of the object after the entities (line 88).
    const int xLines[] = {46, 56, 62, 74};
    QSet<int> changed;
    for (int xl : xLines) {
        const QString e = QString::fromLatin1(before[xl - 1]);
        const QString nn = QString::fromLatin1(before[xl + 1]);
        EXPECT_EQ(after[xl - 1], zoneChanged(e, nn, true)) << xl;
        EXPECT_EQ(after[xl + 1], zoneChanged(e, nn, false)) << xl;
        changed << xl << xl + 2;
    }
    for (int i = 0; i < before.size(); ++i) {
        if (!changed.contains(i + 1)) {
            EXPECT_EQ(after[i], before[i]) << "line " << i + 1;
        }
    }
    EXPECT_EQ(after[45], QByteArray("231352.466879015"));
    EXPECT_EQ(after[47], QByteArray("3384554.89504856"));
}

TEST(DxfZoneChange, EdgeCasesOfTheLineStream)
{
    const QString e = QStringLiteral("519256.789"), n = QStringLiteral("3381234.567");
    const QByteArray ce = zoneChanged(e, n, true), cn = zoneChanged(e, n, false);
    const struct {
        const char* name;
        QStringList in;
        QList<QByteArray> out;
        qint64 converted;
    } cases[] = {
        {"section name in small letters with blanks starts the change",
         {"  2", " entities ", " 10", e, " 20", n},
         {"  2", " entities ", " 10", ce, " 20", cn}, 1},
        {"x code followed by another code is copied",
         {"ENTITIES", " 10", e, " 30", n},
         {"ENTITIES", " 10", e.toLatin1(), " 30", n.toLatin1()}, 0},
        {"second point pair",
         {"ENTITIES", " 11", e, " 21", n},
         {"ENTITIES", " 11", ce, " 21", cn}, 1},
        {"codes without the leading blank are ordinary lines",
         {"ENTITIES", "10", e, "20", n},
         {"ENTITIES", "10", e.toLatin1(), "20", n.toLatin1()}, 0},
        {"y code alone keeps its value",
         {"ENTITIES", "  0", " 20", n, "  8"},
         {"ENTITIES", "  0", " 20", n.toLatin1(), "  8"}, 0},
        {"nothing before ENTITIES changes",
         {" 10", e, " 20", n},
         {" 10", e.toLatin1(), " 20", n.toLatin1()}, 0},
        {"value with blanks and a plus sign",
         {"ENTITIES", " 10", " +519256.789 ", " 20", "3381234.567"},
         {"ENTITIES", " 10", ce, " 20", cn}, 1},
        {"pairs after the entities section (layouts, plot data) stay",
         {"ENTITIES", " 10", e, " 20", n, "  0", "ENDSEC", "  0", "SECTION", "  2", "OBJECTS", " 10", "420.0", " 20",
          "297.0", "  0", "ENDSEC", "  0", "EOF"},
         {"ENTITIES", " 10", ce, " 20", cn, "  0", "ENDSEC", "  0", "SECTION", "  2", "OBJECTS", " 10", "420.0", " 20",
          "297.0", "  0", "ENDSEC", "  0", "EOF"}, 1},
        {"the section ends at a 0 group ENDSEC in any letter case, with blanks",
         {"ENTITIES", "0", " endsec ", " 11", e, " 21", n},
         {"ENTITIES", "0", " endsec ", " 11", e.toLatin1(), " 21", n.toLatin1()}, 0},
        {"ENDSEC as the value of another group is no section end",
         {"ENTITIES", "  1", "ENDSEC", " 10", e, " 20", n},
         {"ENTITIES", "  1", "ENDSEC", " 10", ce, " 20", cn}, 1},
        {"a line longer than the read chunks before a pair",
         {"ENTITIES", "  1", QString(3 << 20, 't'), " 10", e, " 20", n},
         {"ENTITIES", "  1", QByteArray(3 << 20, 't'), " 10", ce, " 20", cn}, 1},
        {"an odd line after the last pair is copied",
         {"ENTITIES", "  0", "EOF", ""},
         {"ENTITIES", "  0", "EOF", ""}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempHome home;
        writeBytes(home.path("in.dxf"), dxf(c.in));
        EXPECT_EQ(convertDxfZone(home.path("in.dxf"), home.path("out.dxf"), 114, 117, Kr54WithFalseEasting),
                  c.converted);
        EXPECT_EQ(linesOf(kelvor::test::readBytes(home.path("out.dxf"))), c.out);
    }
}

TEST(DxfZoneChange, KeepsEachLineEndAsFound)
{
    TempHome home;
    const QByteArray in = QByteArray("0\nENTITIES\r\n 10\n519256.789\r\n 20\r3381234.567\n  0\r\nEOF");
    writeBytes(home.path("in.dxf"), in);
    convertDxfZone(home.path("in.dxf"), home.path("out.dxf"), 114, 117, Kr54WithFalseEasting);
    EXPECT_EQ(kelvor::test::readBytes(home.path("out.dxf")),
              QByteArray("0\nENTITIES\r\n 10\n231352.466879015\r\n 20\r3384554.89504856\n  0\r\nEOF"));
}

// Lines and line ends that straddle the read buffer's chunks must come out
// exactly as if read whole.
TEST(DxfZoneChange, LargeFileMatchesLineByLineExpectation)
{
    TempHome home;
    QByteArray in("  0\r\nSECTION\r\n  2\r\nENTITIES\r\n");
    QByteArray expected = in;
    int points = 0;
    for (int i = 0; in.size() < 3 * (1 << 20) + 777; ++i, ++points) {
        const QString e = QString::number(500000 + (i % 9000) * 7.25, 'f', 3);
        const QString n = QString::number(3300000 + (i % 7000) * 11.5, 'f', 2);
        const QByteArray layer = QByteArray("L") + QByteArray(i % 13, 'x');
        in += "  0\r\nPOINT\r\n  8\r\n" + layer + "\r\n 10\r\n" + e.toLatin1() + "\r\n 20\r\n" + n.toLatin1() + "\r\n";
        expected += "  0\r\nPOINT\r\n  8\r\n" + layer + "\r\n 10\r\n" + zoneChanged(e, n, true) + "\r\n 20\r\n"
            + zoneChanged(e, n, false) + "\r\n";
    }
    in += "  0\r\nENDSEC\r\n  0\r\nEOF\r\n";
    expected += "  0\r\nENDSEC\r\n  0\r\nEOF\r\n";
    writeBytes(home.path("big.dxf"), in);
    EXPECT_EQ(convertDxfZone(home.path("big.dxf"), home.path("out.dxf"), 114, 117, Kr54WithFalseEasting), points);
    EXPECT_TRUE(kelvor::test::readBytes(home.path("out.dxf")) == expected);
}

TEST(DxfZoneChange, BadFilesAreReportedByLineAndLeaveNoTarget)
{
    const struct {
        const char* name;
        QStringList in;
        FileLineError::Kind kind;
        qint64 line;
    } cases[] = {
        {"ends after the x code", {"ENTITIES", "  0", "POINT", " 10"}, FileLineError::Truncated, 4},
        {"ends after the x value", {"ENTITIES", " 10", "519256.789"}, FileLineError::Truncated, 3},
        {"ends after the y code", {"ENTITIES", " 10", "519256.789", " 20"}, FileLineError::Truncated, 4},
        {"easting is not a number", {"ENTITIES", " 10", "5192x6.789", " 20", "3381234.567"},
         FileLineError::NotANumber, 3},
        {"northing is empty", {"ENTITIES", "  0", "LINE", " 11", "519256.789", " 21", ""},
         FileLineError::NotANumber, 7},
        {"projection overflows", {"ENTITIES", " 10", "1E300", " 20", "3381234.567"},
         FileLineError::OutOfRange, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempHome home;
        writeBytes(home.path("in.dxf"), dxf(c.in));
        writeBytes(home.path("old.dxf"), "keep me");
        try {
            convertDxfZone(home.path("in.dxf"), home.path("old.dxf"), 114, 117, Kr54WithFalseEasting);
            ADD_FAILURE() << "no error";
        } catch (const FileLineError& e) {
            EXPECT_EQ(e.kind(), c.kind);
            EXPECT_EQ(e.line(), c.line);
            EXPECT_TRUE(e.message().contains(QString::number(c.line))) << e.message().toStdString();
        }
        EXPECT_EQ(kelvor::test::readBytes(home.path("old.dxf")), QByteArray("keep me"));
        EXPECT_EQ(QDir(home.root()).entryList({QStringLiteral("old.dxf*")}, QDir::Files | QDir::Hidden),
                  QStringList{QStringLiteral("old.dxf")}); // no temporary file left
    }
}

TEST(DxfZoneChange, NeverWritesOverItsSource)
{
    TempHome home;
    const QByteArray original = kelvor::test::readBytes(kelvor::test::fixture("fixtures/drawing.dxf"));
    writeBytes(home.path("d:\\a.dxf"), original);
    EXPECT_THROW(convertDxfZone(home.path("d:\\a.dxf"), QStringLiteral("D:\\A.DXF"), 114, 117, Kr54WithFalseEasting),
                 FileLineError);
    EXPECT_EQ(kelvor::test::readBytes(home.path("d:\\a.dxf")), original);
}

// ---- the command --------------------------------------------------------------

struct RecordingProgress : DxfProgress {
    QStringList calls;
    qint64 maximum = -1, last = -1;
    void analysing() override { calls << "analysing"; }
    void converting(qint64 m) override { calls << "converting"; maximum = m; }
    void advance(qint64 v) override { last = v; }
    void finished(qint64 m) override { calls << "finished"; last = m; }
};

// The window repaints on every advance: at most 20 a second while the file
// converts, then once with the whole size.
TEST(DxfZoneChange, ProgressComesFromTheBytesReadAndIsPaced)
{
    struct TimedProgress : DxfProgress {
        QList<std::chrono::steady_clock::time_point> at;
        QList<qint64> values;
        void advance(qint64 v) override
        {
            at << std::chrono::steady_clock::now();
            values << v;
        }
    } progress;
    TempHome home;
    QByteArray block;
    for (int i = 0; i < 1000; ++i)
        block += "  0\r\nPOINT\r\n  8\r\nKZD\r\n 10\r\n" + QByteArray::number(500000 + i * 3.125, 'f', 3)
            + "\r\n 20\r\n" + QByteArray::number(3300000 + i * 7.5, 'f', 3) + "\r\n";
    QByteArray in("  0\r\nSECTION\r\n  2\r\nENTITIES\r\n");
    while (in.size() < (12 << 20))
        in += block;
    in += "  0\r\nENDSEC\r\n  0\r\nEOF\r\n";
    writeBytes(home.path("big.dxf"), in);
    convertDxfZone(home.path("big.dxf"), home.path("out.dxf"), 114, 117, Kr54WithFalseEasting, &progress);
    ASSERT_FALSE(progress.values.isEmpty());
    EXPECT_EQ(progress.values.last(), in.size());
    // The pacer reads the clock just before it calls; ours reads it inside the
    // call, so two stamps may sit a hair under the pace.
    for (qsizetype i = 1; i + 1 < progress.at.size(); ++i) {
        EXPECT_GE(progress.at[i] - progress.at[i - 1], std::chrono::milliseconds(45)) << "advance " << i;
        EXPECT_GT(progress.values[i], progress.values[i - 1]) << "advance " << i;
        EXPECT_LT(progress.values[i], in.size()) << "advance " << i;
    }
}

TEST(DxfZoneChangeCommand, ConvertsAndReportsTheDatumsAndMeridians)
{
    const struct {
        QString target;
        QString message;
    } cases[] = {
        {QStringLiteral("北京54坐标系"), QStringLiteral("Dxf 文件由[ 北京54坐标系(114) ] 转换为 [ 北京54坐标系(117) ]")},
        {QStringLiteral("国家80坐标系"), QStringLiteral("Dxf 文件由[ 北京54坐标系(114) ] 转换为 [ 国家80坐标系(117) ]")},
    };
    for (const auto& c : cases) {
        TempHome home;
        home.answerOpen({kelvor::test::fixture("fixtures/drawing.dxf")});
        home.answer("save", home.path("d:\\out.dxf"));
        ZoneForm f = form114to117();
        f.targetDatum = c.target;
        RecordingProgress progress;
        dxfZoneChange(home.context, f, &progress);
        const QJsonObject m = lastMessage(home);
        EXPECT_EQ(m.value("text").toString(), c.message);
        EXPECT_EQ(m.value("title").toString(), QStringLiteral("完成"));
        EXPECT_EQ(m.value("icon").toString(), QStringLiteral("exclamation"));
        EXPECT_EQ(progress.calls, (QStringList{"analysing", "converting", "finished"}));
        const qint64 size = QFileInfo(kelvor::test::fixture("fixtures/drawing.dxf")).size();
        EXPECT_EQ(progress.maximum, size); // bytes: no counting pass before the conversion
        EXPECT_EQ(progress.last, size);
        EXPECT_TRUE(QFile::exists(home.path("d:\\out.dxf")));
        const QJsonArray events = home.ui.events();
        ASSERT_GE(events.size(), 2);
        EXPECT_EQ(events[0].toObject().value("title").toString(), QStringLiteral("打开DXF文件"));
        EXPECT_EQ(events[0].toObject().value("filter").toString(),
                  QStringLiteral("DXF文件(*.DXF)|*.DXF|所有文件(*.*)|*.*"));
        EXPECT_EQ(events[1].toObject().value("title").toString(), QStringLiteral("保存DXF文件"));
    }
}

TEST(DxfZoneChangeCommand, MeridianChecksComeBeforeAnyDialog)
{
    const struct {
        const char* source;
        const char* target;
        QString message;
    } cases[] = {
        {"abc", "117", QStringLiteral("错误的转换前中央子午线！")},
        {"", "117", QStringLiteral("错误的转换前中央子午线！")},
        {"114", "", QStringLiteral("错误的转换后中央子午线！")},
        {"114", "0", QStringLiteral("错误的转换后中央子午线！")},
    };
    for (const auto& c : cases) {
        TempHome home;
        ZoneForm f = form114to117();
        f.sourceMeridian = QString::fromLatin1(c.source);
        f.targetMeridian = QString::fromLatin1(c.target);
        dxfZoneChange(home.context, f);
        ASSERT_EQ(home.ui.events().size(), 1) << c.source << "/" << c.target;
        EXPECT_EQ(lastMessage(home).value("text").toString(), c.message);
        EXPECT_EQ(lastMessage(home).value("title").toString(), QStringLiteral("错误"));
        EXPECT_EQ(lastMessage(home).value("icon").toString(), QStringLiteral("critical"));
    }
}

TEST(DxfZoneChangeCommand, MeridiansAreReadByTheirLeadingNumber)
{
    TempHome home;
    home.answerOpen({kelvor::test::fixture("fixtures/drawing.dxf")});
    home.answer("save", home.path("d:\\out.dxf"));
    ZoneForm f = form114to117();
    f.sourceMeridian = QStringLiteral("114.3000");
    f.targetMeridian = QStringLiteral("117度");
    dxfZoneChange(home.context, f);
    EXPECT_EQ(lastMessage(home).value("text").toString(),
              QStringLiteral("Dxf 文件由[ 北京54坐标系(114.3000) ] 转换为 [ 北京54坐标系(117度) ]"));
    double x = 0, y = 0;
    changeZone(3381234.567, 519256.789, 114.3, 117, Kr54WithFalseEasting, x, y);
    const QList<QByteArray> out = linesOf(kelvor::test::readBytes(home.path("d:\\out.dxf")));
    EXPECT_EQ(out[45], NumberText(y).toLatin1());
    EXPECT_EQ(out[47], NumberText(x).toLatin1());
}

TEST(DxfZoneChangeCommand, CancelledDialogsEndSilently)
{
    for (int cancelAt = 0; cancelAt < 2; ++cancelAt) {
        TempHome home;
        if (cancelAt == 1)
            home.answerOpen({kelvor::test::fixture("fixtures/drawing.dxf")});
        home.answer("button", "Cancel");
        RecordingProgress progress;
        dxfZoneChange(home.context, form114to117(), &progress);
        EXPECT_TRUE(home.ui.messages().isEmpty());
        EXPECT_TRUE(progress.calls.isEmpty());
    }
}

TEST(DxfZoneChangeCommand, FailuresAreReportedAndTheTargetIsNotWritten)
{
    const struct {
        const char* name;
        QByteArray source;
        bool sameFile;
        QString messageStart;
    } cases[] = {
        {"same file", dxf({"ENTITIES"}), true, QStringLiteral("源文件与目标文件不能是同一个文件！")},
        {"truncated", dxf({"ENTITIES", " 10", "1"}), false, QStringLiteral("文件在第 3 行后意外结束")},
        {"not a number", dxf({"ENTITIES", " 10", "1", " 20", "x"}), false, QStringLiteral("第 5 行不是合法的数字：x")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempHome home;
        writeBytes(home.path("d:\\in.dxf"), c.source);
        home.answerOpen({home.path("d:\\in.dxf")});
        home.answer("save", c.sameFile ? QStringLiteral("d:\\IN.dxf") : QStringLiteral("d:\\out.dxf"));
        RecordingProgress progress;
        dxfZoneChange(home.context, form114to117(), &progress);
        const QJsonObject m = lastMessage(home);
        EXPECT_TRUE(m.value("text").toString().startsWith(c.messageStart)) << m.value("text").toString().toStdString();
        EXPECT_EQ(m.value("title").toString(), QStringLiteral("错误"));
        EXPECT_EQ(m.value("icon").toString(), QStringLiteral("critical"));
        EXPECT_FALSE(QFile::exists(home.path("d:\\out.dxf")));
        EXPECT_EQ(kelvor::test::readBytes(home.path("d:\\in.dxf")), c.source);
    }
}

} // namespace
