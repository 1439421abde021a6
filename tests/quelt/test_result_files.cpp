#include "quelt/result_files.h"

#include "platform/errors.h"
#include "test_support.h"

#include <gtest/gtest.h>

using namespace kelvor;
using namespace kelvor::quelt;
using kelvor::test::errorOf;

namespace {

TEST(QueltResultFiles, HalfOfALengthRoundsHalvesToEven)
{
    const struct {
        double length;
        int half;
    } cases[] = {{0, 0}, {5, 2}, {6, 3}, {7, 4}, {33, 16}, {35, 18}};
    for (const auto& c : cases)
        EXPECT_EQ(halfOf(c.length), c.half) << c.length;
}

TEST(QueltResultFiles, NamesLineAsTheOrientationRepairWritesItSplitsBackIntoItsNames)
{
    const auto line = [](const QString& a, const QString& b) {
        return QString(11, ' ') + a + QString(21, ' ') + b;
    };
    const struct {
        QString start, end;
        NamePair read;
    } cases[] = {
        {"A", "D", {"A", "D"}},
        {"GP12", "I级点0345", {"GP12", "I级点0345"}},
        {"ABCDEFGHIJ", "KLMNOPQRST", {"ABCDEFGHIJ", "KLMNOPQRST"}},
        {"A", "", {"A", ""}},
        {"", "D17", {"D17", ""}}, // an empty start name moves the end name over
    };
    for (const auto& c : cases)
        EXPECT_EQ(orientationNames(line(c.start, c.end)), c.read) << c.start.toStdString();
    EXPECT_EQ(errorOf([] { orientationNames(""); }), err::InvalidArgument);
}

TEST(QueltResultFiles, OrientationCoordinatesAreCutAtTheirMarks)
{
    EXPECT_EQ(orientationX("  X(A)= 3100.000    X(D)= 3500.000"), (NamePair{"3100.000", "3500.000"}));
    // The start Y keeps the blanks of its half of the line.
    EXPECT_EQ(orientationY("  Y(A)= 2100.000       Y(D)= 2500.000"), (NamePair{" 2100.000   ", "2500.000"}));
    EXPECT_EQ(errorOf([] { orientationX("  X(A)= 3100.000    X(E)= 3500.000"); }), err::InvalidArgument);
    EXPECT_EQ(errorOf([] { orientationY("  Y(A): 2100.000       Y(D): 2500.000"); }), err::InvalidArgument);
}

TEST(QueltResultFiles, CoordinateLineGivesXAndY)
{
    const struct {
        QString line;
        QString x, y;
    } cases[] = {
        {"  X= 3456.1237    Y=  789.2", "3456.1237", "789.2"},
        {"X=  3456.1237    Y=  789.2", "", "789.2"},                 // two blanks after "=": no X
        {"X= 12345678901234567890 Y=  1", "12345678901234567", "1"}, // X never past position 20
        {"X= 3456.1237    Y=  -12.5  ", "3456.1237", "-12.5"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(coordinateX(c.line), c.x) << c.line.toStdString();
        EXPECT_EQ(coordinateY(c.line), c.y) << c.line.toStdString();
    }
    EXPECT_EQ(errorOf([] { coordinateY("X= 3456.1237    E=  789.2"); }), err::InvalidArgument);
    EXPECT_EQ(errorOf([] { coordinateY("X= 3456.1237    Y   789.2"); }), err::InvalidArgument);
}

QStringList section(const QStringList& tail)
{
    return QStringList{"title", "", QStringLiteral("  平  差  成  果")} + tail;
}

TEST(QueltResultFiles, ResultSectionIsReadPointByPoint)
{
    ResultPointReader r(section({"B", "X= 1.5  Y=  2.5", "P1", "-----", "X= 3  Y=  4", "", " "}));
    EXPECT_TRUE(r.looksLikePlaneResult());
    EXPECT_EQ(r.next(), (ResultPoint{"B", "1.5", "2.5"}));
    EXPECT_EQ(r.next(), (ResultPoint{"P1", "3", "4"}));
    EXPECT_EQ(r.next(), std::nullopt) << "blank lines after the last point end the section";
}

TEST(QueltResultFiles, ResultSectionFaults)
{
    EXPECT_FALSE(ResultPointReader({"导 线 平 差 计 算", "no section"}).looksLikePlaneResult());
    const struct {
        QStringList lines;
        int points; // read before the failure
        int error;
    } cases[] = {
        {{"title", "no marker"}, 0, err::InputPastEnd},
        {section({"B"}), 0, err::InputPastEnd},
        {section({"B", "X= 1  Y=  2", "P1", "----"}), 1, err::InputPastEnd},
        {section({"B", "X= 1  Y=  2", "", "P1", "----", "X= 1  Y=  2"}), 1, err::InvalidArgument},
        {section({"B", "X= 1  N=  2"}), 0, err::InvalidArgument},
    };
    for (const auto& c : cases) {
        ResultPointReader r(c.lines);
        int read = 0;
        const int e = errorOf([&] {
            while (r.next())
                ++read;
        });
        EXPECT_EQ(e, c.error) << c.lines.join('|').toStdString();
        EXPECT_EQ(read, c.points) << c.lines.join('|').toStdString();
    }
}

TEST(QueltResultFiles, HeightComesFromTheLastLineNamingThePoint)
{
    const QStringList h = {"点名      高差改正    高程", "B          0.000   10.0000", "P1         0.003   12.3456",
                           "B          0.000   10.5000", "LONGNAME1  0.000    9.0000"};
    EXPECT_EQ(heightOf(h, "B"), QString(" 10.5000"));
    EXPECT_EQ(heightOf(h, " P1 "), QString(" 12.3456"));
    EXPECT_EQ(heightOf(h, "P2"), std::nullopt);
    EXPECT_EQ(heightOf(h, "LONGNAME1"), std::nullopt) << "only the first 8 characters name a point";
}

} // namespace
