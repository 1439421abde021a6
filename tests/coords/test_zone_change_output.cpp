// The zone changes' output texts, byte for byte as the converters wrote them
// before they were made to stream: tricky number forms, line ends and the
// print-zone layout must not drift when the readers and writers change.
#include "coords/zone_change.h"
#include "zone_forms.h"
#include "test_support.h"

#include <gtest/gtest.h>

using namespace kelvor;
using namespace kelvor::coords;
using kelvor::test::form114to117;
using kelvor::test::TempHome;

namespace {

const Projection Kr54WithFalseEasting{Series::Krasovsky, Series::Krasovsky, true};

// The result lines after the two heading lines, or the failing line (1-based)
// with no output. Some values are odd (a northing far beyond the ellipsoid)
// but they are today's and stay so; a southern northing is the mirror of its
// northern one (point 3 of point 7).
TEST(ZoneChangeOutput, PointListLinesAsBefore)
{
    const struct {
        const char* in;
        const char* out; // nullptr: the file fails at `line`
        qint64 line = 0;
    } cases[] = {
        {"7,3381234.567,519256.789\r\n",
         " 7            ,              3384554.89504856           ,              231352.466879015 \r\n"},
        {"40000, 3381234.567 , 519256.789\n",
         " 40000        ,              3384554.89504856           ,              231352.466879015 \r\n"},
        {"-5,3381234.567,519256.789\r",
         "-5            ,              3384554.89504856           ,              231352.466879015 \r\n"},
        {"12.5,3381234.567,519256.789",
         " 12           ,              3384554.89504856           ,              231352.466879015 \r\n"},
        {"13.5,3381234.567,519256.789\r\n-0.4,3381234.567,519256.789\r\n0.4,3381234.567,519256.789\r\n",
         " 14           ,              3384554.89504856           ,              231352.466879015 \r\n 0            ,              3384554.89504856           ,              231352.466879015 \r\n 0            ,              3384554.89504856           ,              231352.466879015 \r\n"},
        {"+3,+3381234.567,+519256.789\r\n",
         " 3            ,              3384554.89504856           ,              231352.466879015 \r\n"},
        {"1D2,3.381234567D6,5.19256789E5\r\n",
         " 100          ,              3384554.89504856           ,              231352.466879015 \r\n"},
        {"999999999999999,3381234.567,519256.789\r\n",
         " 999999999999999            ,              3384554.89504856           ,              231352.466879015 \r\n"},
        {"1,0,500000\r\n",
         " 1            ,              1.10729028413044E-07       ,              165882.141460771 \r\n"},
        {"2,0,166000\r\n",
         " 2            ,              1.11189260394525E-07       ,             -169042.312480215 \r\n"},
        {"3,-3381234.567,519256.789\r\n",
         " 3            ,             -3384554.89504856           ,              231352.466879015 \r\n"},
        {"4,1000,519256.789\r\n",
         " 4            ,              1001.22212287497           ,              185164.004223301 \r\n"},
        {"5,3381234.567,-519256.789\r\n",
         " 5            ,              3412557.93420644           ,             -811563.035549596 \r\n"},
        {"6,.5,500000\r\n",
         " 6            ,              .500690917169429           ,              165882.141460772 \r\n"},
        {"8,-.5,500000.25\r\n",
         " 8            ,             -.500690916133979           ,              165882.391806178 \r\n"},
        {"9,1e-3,499999.999\r\n",
         " 9            ,              .0010014923419175          ,              165882.140459392 \r\n"},
        {"10,4500000.1234567890123,20519256.7890123456\r\n",
         " 10           ,             -6.65076769701312E+16       ,             -2.08975962647467E+15 \r\n"},
        {"11,3381234.567,519256.789\r\n\r\n", nullptr, 2},
        {"12,3381234.567,519256.789,\r\n", nullptr, 1},
        {"13,\x09""3381234.567,519256.789\r\n", nullptr, 1},
        {"14,3381234.567,519256.789 \r\n",
         " 14           ,              3384554.89504856           ,              231352.466879015 \r\n"},
        {"1E15,3381234.567,519256.789\r\n", nullptr, 1},
        {"-999999999999999.4,3381234.567,519256.789\r\n",
         "-999999999999999            ,              3384554.89504856           ,              231352.466879015 \r\n"},
        {"15,1E300,519256.789\r\n",
         " 15           ,              1E+300       ,              678632.151707146 \r\n"},
        {"16,3381234.567,\xb5""\xe3""\r\n", nullptr, 1},
        {"17, ,519256.789\r\n", nullptr, 1},
        {"18,3381234.567,519256.789\n\r19,3381234.567,519256.789", nullptr, 2},
        {"2.5,2000000,500000\r\n3.5,9999999.9999,499000\r\n",
         " 2            ,              2002583.02981682           ,              182307.339281738 \r\n 4            ,              10000055.7894737           ,              498888.201396454 \r\n"},
        {"20,3381234.567,519256.789\r\n21,3381234,519256\r\n22,3381234.5,519256.5\r\n",
         " 20           ,              3384554.89504856           ,              231352.466879015 \r\n 21           ,              3384554.34877442           ,              231351.662349906 \r\n 22           ,              3384554.83571481           ,              231352.175940129 \r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.in);
        TempHome home;
        test::writeBytes(home.path("1.txt"), QByteArray(c.in));
        try {
            convertPointFile(home.path("1.txt"), home.path("2.txt"), form114to117());
            const QByteArray written = test::readBytes(home.path("2.txt"));
            const qsizetype body = written.indexOf('\n', written.indexOf('\n') + 1) + 1;
            ASSERT_NE(c.out, nullptr) << "converted, expected a failure at line " << c.line;
            EXPECT_EQ(written.mid(body), QByteArray(c.out));
        } catch (const FileLineError& e) {
            EXPECT_EQ(c.out, nullptr) << e.message().toStdString();
            EXPECT_EQ(e.kind(), FileLineError::NotANumber);
            EXPECT_EQ(e.line(), c.line);
        }
    }
}

// New easting and northing of one " 10"/" 20" pair in the entities.
TEST(ZoneChangeOutput, DxfValueLinesAsBefore)
{
    const struct {
        const char *east, *north, *newEast, *newNorth;
    } cases[] = {
        {"519256.789", "3381234.567", "231352.466879015", "3384554.89504856"},
        {" +519256.789 ", "3381234.567", "231352.466879015", "3384554.89504856"},
        {"5.19256789D5", "3.381234567E6", "231352.466879015", "3384554.89504856"},
        {"500000", "0", "165882.141460771", "1.10729028413044E-07"},
        {"500000", ".5", "165882.141460772", "0.500690917169429"},
        {"500000.25", "-.5", "165882.391806178", "-0.500690916133979"},
        {"166000", "0", "-169042.312480215", "1.11189260394525E-07"},
        {"519256.789", "-3381234.567", "231352.466879015", "-3384554.89504856"},
        {"-519256.789", "3381234.567", "-811563.035549596", "3412557.93420644"},
        {"20519256.7890123456", "4500000.1234567890123", "-2.08975962647467E+15", "-6.65076769701312E+16"},
        {"519256.789", "1E300", "678632.151707146", "1E+300"},
        {"499999.999", "1e-3", "165882.140459392", "0.0010014923419175"},
        {"519256", "3381234", "231351.662349906", "3384554.34877442"},
        {"0", "0", "-335847.487453079", "1.115335399557E-07"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.east) + " / " + c.north);
        TempHome home;
        test::writeBytes(home.path("in.dxf"),
                         QByteArray("ENTITIES\r\n 10\r\n") + c.east + "\r\n 20\r\n" + c.north + "\r\n");
        EXPECT_EQ(convertDxfZone(home.path("in.dxf"), home.path("out.dxf"), 114, 117, Kr54WithFalseEasting), 1);
        EXPECT_EQ(test::readBytes(home.path("out.dxf")),
                  QByteArray("ENTITIES\r\n 10\r\n") + c.newEast + "\r\n 20\r\n" + c.newNorth + "\r\n");
    }
}

} // namespace
