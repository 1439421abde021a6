// The DXF zone change cut into chunks of any size and run on any number of
// threads writes what one chunk on one thread writes: cuts fall between a
// code and its value, inside a pair, in long lines, at lone CRs, before the
// entities and after them, and a fault is found on the same line.
#include "coords/zone_change.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <QFile>

using namespace kelvor;
using namespace kelvor::coords;
using kelvor::test::TempHome;

namespace {

const Projection Kr54WithFalseEasting{Series::Krasovsky, Series::Krasovsky, true};

class Drawing {
public:
    // Most lines end in CR LF, some in LF or CR alone; no line is empty, so
    // that a CR never meets the LF of the next line.
    Drawing& operator<<(const QByteArray& line)
    {
        const int k = lines_++ % 7;
        bytes_ += line + (k == 3 ? "\n" : k == 5 ? "\r" : "\r\n");
        return *this;
    }
    QByteArray bytes() const { return bytes_; }

private:
    QByteArray bytes_;
    int lines_ = 0;
};

// Entities of every kind of group the change tells apart, the pair of entity
// `lateAt` with the given values, the file cut after entity `cutAt`'s x code.
QByteArray drawing(const QByteArray& lateEast, const QByteArray& lateNorth, int lateAt, int cutAt = -1,
                   const QByteArray& entities = "ENTITIES", const QByteArray& endsec = "ENDSEC")
{
    Drawing d;
    d << "  0" << "SECTION" << "  2" << "HEADER" << "  9" << "$EXTMIN" << " 10" << "519256.789" << " 20"
      << "3381234.567" << "  0" << "ENDSEC" << "  0" << "SECTION" << "  2" << entities;
    for (int i = 0; i < 150; ++i) {
        const QByteArray e = QByteArray::number(500000 + i * 37.125, 'f', 3);
        const QByteArray n = QByteArray::number(3300000 + i * 91.5, 'f', 2);
        const QByteArray east = i == lateAt ? lateEast : e, north = i == lateAt ? lateNorth : n;
        switch (i % 5) {
        case 0:
            d << "  0" << "POINT" << "  8" << "KZD" << " 10" << east << " 20" << north << " 30" << "0.0";
            break;
        case 1:
            d << "  0" << "LINE" << " 10" << east << " 20" << north << " 11" << " +" + n + " " << " 21" << e;
            break;
        case 2:
            d << "  0" << "TEXT" << "  1" << "ENDSEC" << "  1" << QByteArray(i * 7 % 300 + 1, 't') << " 10"
              << east << " 20" << north;
            break;
        case 3:
            d << "  0" << "SOLID" << " 20" << n << " 10" << e << " 30" << n << " 11" << east << " 21" << north;
            break;
        default:
            d << "  0" << "INSERT" << "  2" << " 10" << " 10" << east << " 20" << north << "  0" << "SEQEND";
            break;
        }
        if (i == cutAt) {
            d << "  0" << "POINT" << " 10";
            return d.bytes();
        }
    }
    d << "  0" << endsec << "  0" << "SECTION" << "  2" << "OBJECTS" << " 10" << "420.0" << " 20" << "297.0"
      << "  0" << "ENDSEC" << "  0" << "EOF";
    return d.bytes();
}

struct Outcome {
    qint64 converted = -1;
    QByteArray written; // empty when failed
    bool failed = false;
    FileLineError::Kind kind = FileLineError::Truncated;
    qint64 line = 0;
    bool targetLeft = false;
};

Outcome convert(const TempHome& home, const QByteArray& in, const DxfSplit& split)
{
    test::writeBytes(home.path("in.dxf"), in);
    QFile::remove(home.path("out.dxf"));
    Outcome o;
    try {
        o.converted = convertDxfZone(home.path("in.dxf"), home.path("out.dxf"), 114, 117, Kr54WithFalseEasting,
                                     nullptr, split);
        o.written = test::readBytes(home.path("out.dxf"));
    } catch (const FileLineError& e) {
        o.failed = true;
        o.kind = e.kind();
        o.line = e.line();
        o.targetLeft = QFile::exists(home.path("out.dxf"));
    }
    return o;
}

TEST(DxfZoneChangeSplit, AnyCutGivesTheOutputOfOneChunk)
{
    const struct {
        const char* name;
        QByteArray in;
        bool fails;
        FileLineError::Kind kind;
    } drawings[] = {
        {"converts", drawing("519256.789", "3381234.567", 0), false, FileLineError::Truncated},
        {"a northing that is no number", drawing("519256.789", "33812x4.567", 121), true, FileLineError::NotANumber},
        {"a pair out of range", drawing("1E300", "3381234.567", 130), true, FileLineError::OutOfRange},
        {"cut short after an x code", drawing("519256.789", "3381234.567", 0, 140), true, FileLineError::Truncated},
        {"section names in small letters with blanks",
         drawing("519256.789", "3381234.567", 0, -1, " entities ", " endsec "), false, FileLineError::Truncated},
    };
    const DxfSplit splits[] = {{1, 1}, {3, 2}, {7, 3}, {11, 4}, {16, 2}, {24, 3}, {50, 4},
                               {64, 2}, {200, 3}, {333, 1}, {1000, 8}, {4096, 2}};
    for (const auto& d : drawings) {
        TempHome home;
        const Outcome one = convert(home, d.in, DxfSplit{1 << 30, 1});
        ASSERT_EQ(one.failed, d.fails) << d.name;
        if (d.fails) {
            EXPECT_EQ(one.kind, d.kind) << d.name;
        } else {
            EXPECT_GT(one.converted, 100) << d.name;
            const QByteArray objects("OBJECTS");
            EXPECT_EQ(one.written.mid(one.written.indexOf(objects)), d.in.mid(d.in.indexOf(objects))) << d.name;
        }
        for (const DxfSplit& s : splits) {
            SCOPED_TRACE(std::string(d.name) + ", chunks of " + std::to_string(s.chunkBytes) + " bytes on "
                         + std::to_string(s.threads) + " threads");
            const Outcome o = convert(home, d.in, s);
            EXPECT_EQ(o.failed, one.failed);
            EXPECT_EQ(o.kind, one.kind);
            EXPECT_EQ(o.line, one.line);
            EXPECT_FALSE(o.targetLeft);
            EXPECT_EQ(o.converted, one.converted);
            EXPECT_TRUE(o.written == one.written);
        }
    }
}

} // namespace
