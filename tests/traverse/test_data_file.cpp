#include "traverse/data_file.h"
#include "traverse/sheet.h"

#include "platform/errors.h"
#include "platform/paths.h"
#include "platform/text_file.h"
#include "test_support.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace kelvor;
using namespace kelvor::traverse;

namespace {

// Known points and the last station of a small traverse.
void fillKnown(TraverseSheet& s)
{
    const char* known[] = {"A", "100.1", "200.2", "K1 ", "110", "210", "5.5",
                           "D", "300", "400", "C", "310", "410", "6.5"};
    for (int i = 0; i < TraverseSheet::KnownCells; ++i)
        s.setText1(i, QString::fromUtf8(known[i]));
    s.setText5(108, QStringLiteral(" C "));
    s.setText5(109, QStringLiteral("180.0000 "));
}

void fillRow(TraverseSheet& s, int r, const QString& name)
{
    s.setText5(9 * r, name);
    for (int c = 1; c < 9; ++c)
        s.setText5(9 * r + c, QString::number(r * 10 + c));
}

// Shows rows 0..rows-1 and hides the rest.
void showRows(TraverseSheet& s, int rows)
{
    for (int r = 0; r < TraverseSheet::Rows; ++r)
        s.setRowVisible(r, r < rows);
}

} // namespace

TEST(DataFileWriter, SavedxWritesTheSheetAsTypedWithEofLast)
{
    test::TempHome home;
    TraverseSheet s;
    fillKnown(s);
    fillRow(s, 0, QStringLiteral(" K1 "));
    fillRow(s, 1, QStringLiteral("导2"));
    fillRow(s, 2, QStringLiteral("hidden")); // hidden rows are absent
    showRows(s, 2);
    savedx(s);

    const QByteArray expected = encodeGbk(QStringLiteral(
        "K1 ,110,210,5.5,A,100.1,200.2\r\n"
        "C,310,410,6.5,D,300,400\r\n"
        " K1 ,1,2,3,4,5,6,7,8\r\n"
        "导2,11,12,13,14,15,16,17,18\r\n"
        " C ,180.0000 \r\n"
        "EOF\r\n"));
    EXPECT_EQ(test::readBytes(paths::scratch(QStringLiteral("read.dx"))), expected);
}

TEST(DataFileWriter, EmptyRowsAndEmptySheet)
{
    test::TempHome home;
    TraverseSheet s;
    showRows(s, 1);
    EXPECT_EQ(traverseDataLines(s),
              QStringList({",,,,,,", ",,,,,,", ",,,,,,,,", ",", "EOF"}));
    // Every row shown: sixteen lines.
    showRows(s, 12);
    EXPECT_EQ(traverseDataLines(s).size(), 16);
}

TEST(DataFileWriter, ListCommandTrimsOnlyTheLastStation)
{
    test::TempHome home;
    TraverseSheet s;
    fillKnown(s);
    fillRow(s, 0, QStringLiteral(" K1 "));
    showRows(s, 1);
    home.context.setSheet(&s);
    printsj_Click(home.context);

    const QStringList lines = readTextLines(paths::scratch(QStringLiteral("read.dx")));
    EXPECT_EQ(lines.value(2), QStringLiteral(" K1 ,1,2,3,4,5,6,7,8"));
    EXPECT_EQ(lines.value(3), QStringLiteral("C,180.0000"));
    const auto msgs = home.ui.messages();
    ASSERT_EQ(msgs.size(), 1);
    EXPECT_EQ(msgs[0].toObject()[QStringLiteral("text")].toString(),
              QStringLiteral("已经生成") + paths::scratch(QStringLiteral("read.dx")) + QStringLiteral("数据文件"));
    EXPECT_EQ(home.ui.textWindowFiles(), QStringList{paths::scratch(QStringLiteral("read.dx"))});
}

TEST(DataFileWriter, ListCommandSaysAFailedWrite)
{
    test::TempHome home;
    TraverseSheet s;
    fillKnown(s);
    home.context.setSheet(&s);
    QDir().mkpath(paths::scratch(QStringLiteral("read.dx"))); // a folder in its place
    printsj_Click(home.context);
    const auto msgs = home.ui.messages();
    ASSERT_EQ(msgs.size(), 1);
    EXPECT_EQ(msgs[0].toObject()[QStringLiteral("text")].toString(), QStringLiteral("75"));
    EXPECT_TRUE(home.ui.textWindowFiles().isEmpty());
}

TEST(DataFileReader, RoundTripGivesTrimmedTextsAndStationCount)
{
    test::TempHome home;
    for (int rows : {0, 1, 12}) {
        TraverseSheet s;
        fillKnown(s);
        for (int r = 0; r < 12; ++r)
            fillRow(s, r, QStringLiteral(" P%1 ").arg(r + 1));
        showRows(s, rows);
        if (rows == 0)
            s.setRowVisible(0, false); // the writer takes no row at all
        savedx(s);

        const TraverseData d = ReadTraverseDataFile(scratchDataFilePath());
        SCOPED_TRACE(rows);
        EXPECT_EQ(d.N, rows + 1);
        EXPECT_EQ(int(d.stations.size()), rows);
        EXPECT_EQ(d.startStation.name, QStringLiteral("K1"));
        EXPECT_EQ(d.startStation.h, QStringLiteral("5.5"));
        EXPECT_EQ(d.startOrientation.name, QStringLiteral("A"));
        EXPECT_EQ(d.startOrientation.y, QStringLiteral("200.2"));
        EXPECT_EQ(d.endStation.x, QStringLiteral("310"));
        EXPECT_EQ(d.endOrientation.name, QStringLiteral("D"));
        EXPECT_EQ(d.last.name, QStringLiteral("C"));
        EXPECT_EQ(d.last.angle, QStringLiteral("180.0000"));
        EXPECT_EQ(d.station(d.N).name, QStringLiteral("C"));
        if (rows > 0) {
            EXPECT_EQ(d.station(1).name, QStringLiteral("P1"));
            EXPECT_EQ(d.station(rows).backTarget, QString::number((rows - 1) * 10 + 8));
            EXPECT_EQ(d.station(1).distance, QStringLiteral("2"));
        }
    }
}

TEST(DataFileReader, WhereTheCountEnds)
{
    test::TempHome home;
    const QString k = QStringLiteral("B,1,2,3,A,4,5\r\nC,6,7,8,D,9,10\r\n");
    const QString s1 = QStringLiteral("S1,1,2,3,4,5,6,7,8\r\n");
    const QString s2 = QStringLiteral("S2,1,2,3,4,5,6,7,8\r\n");
    const struct {
        const char* name;
        QString text;
        int n;
        QStringList names; // stations 1..N
        QString lastAngle;
    } cases[] = {
        {"blanks around EOF", k + s1 + "L,90\r\n  EOF  \r\nX,1\r\nY,2\r\n", 2, {"S1", "L"}, "90"},
        // Mends a file without its end marker losing its last line: it is read whole.
        {"no EOF line", k + s1 + s2 + "L,90\r\n", 3, {"S1", "S2", "L"}, "90"},
        {"no EOF, cut after a station line", k + s1 + s2, 2, {"S1", "S2"}, "1"},
        {"blank station line", k + s1 + "\r\nL,90\r\nEOF\r\n", 3, {"S1", "", "L"}, "90"},
        {"no station", k + "L,90\r\nEOF\r\n", 1, {"L"}, "90"},
        {"empty last station", k + s1 + ",\r\nEOF\r\n", 2, {"S1", ""}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = home.path(QStringLiteral("t.dx"));
        test::writeGbk(path, c.text);
        const TraverseData d = ReadTraverseDataFile(path);
        EXPECT_EQ(d.N, c.n);
        QStringList names;
        for (int i = 1; i <= d.N; ++i)
            names << d.station(i).name;
        EXPECT_EQ(names, c.names);
        EXPECT_EQ(d.last.angle, c.lastAngle);
        EXPECT_EQ(d.endOrientation.y, QStringLiteral("10"));
    }
}

TEST(DataFileReader, AFileCutShortIsBadData)
{
    test::TempHome home;
    const QString k = QStringLiteral("B,1,2,3,A,4,5\r\nC,6,7,8,D,9,10\r\n");
    const QString s1 = QStringLiteral("S1,1,2,3,4,5,6,7,8\r\n");
    const struct {
        const char* name;
        QString text;
    } cases[] = {
        {"cut inside a station line", k + s1 + "S2,1,2"},
        {"cut inside the last station line", k + s1 + "L,9"},
        {"cut inside a known-point line", QStringLiteral("B,1,2,3,A,4,5\r\nC,6,7")},
        {"station line short of fields before EOF", k + "S1,1\r\nL,90\r\nEOF\r\n"},
        {"station line of a name only", k + s1 + "S2\r\nL,90\r\nEOF\r\n"},
        // "eof" ends nothing: it is read as a station line, and a short one
        {"lower case eof", k + s1 + "eof\r\nL,90\r\nEOF\r\n"},
    };
    for (const auto& c : cases) {
        const QString path = home.path(QStringLiteral("t.dx"));
        test::writeGbk(path, c.text);
        EXPECT_EQ(test::errorOf([&] { ReadTraverseDataFile(path); }), err::TypeMismatch) << c.name;
    }
}

TEST(DataFileReader, CommaInACellShiftsTheLaterFields)
{
    test::TempHome home;
    const QString path = home.path(QStringLiteral("c.dx"));
    test::writeGbk(path, QStringLiteral("B,1,2,3,A,4,5\r\nC\r\nS1,90,1,2,3,4,5,6,7\r\nS2,9,0,12.5,a,b,c,d,e,f\r\nL,\r\nEOF\r\n"));
    const TraverseData d = ReadTraverseDataFile(path);
    ASSERT_EQ(d.N, 3);
    EXPECT_EQ(d.station(2).angle, QStringLiteral("9"));
    EXPECT_EQ(d.station(2).distance, QStringLiteral("0"));
    EXPECT_EQ(d.station(2).backTarget, QStringLiteral("e"));
    // A short known-point line gives empty fields.
    EXPECT_EQ(d.endStation.name, QStringLiteral("C"));
    EXPECT_EQ(d.endOrientation.name, QString());
    EXPECT_EQ(d.last.angle, QString());
}

TEST(DataFileReader, MissingOrEmptyFileRaises)
{
    test::TempHome home;
    const QString empty = home.path(QStringLiteral("empty.dx"));
    test::writeGbk(empty, QString());
    const struct {
        QString path;
        int error;
    } cases[] = {
        {home.path(QStringLiteral("none.dx")), err::FileNotFound},
        {empty, err::InputPastEnd},
    };
    for (const auto& c : cases) {
        try {
            ReadTraverseDataFile(c.path);
            ADD_FAILURE() << "no error for " << c.path.toStdString();
        } catch (const RunError& e) {
            EXPECT_EQ(e.number(), c.error);
        }
    }
}
