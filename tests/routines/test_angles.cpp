// D.MMSS conversions, bearings and the traverse angle texts.
#include "routines/routines.h"
#include "platform/errors.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <functional>

using namespace kelvor;
using kelvor::test::errorOf;
using kelvor::test::exact;
using kelvor::test::u;

TEST(DmsToDegrees, NumbersAndTextsGiveTheSameBits)
{
    const struct {
        const char* dms;
        const char* degrees;
    } cases[] = {
        {"114.3000", "114.50000000027778"},
        {"-114.3030", "-114.5083333336111"},
        {"0.2900", "0.483333333611111"},   // the nudge keeps 29 minutes
    };
    for (const auto& c : cases) {
        const QString text = u(c.dms);
        EXPECT_EQ(exact(DmsToDegrees(StrictNumber(text))), c.degrees) << c.dms;
        const auto viaText = DmsToDegrees(text, nullptr);
        ASSERT_TRUE(viaText.has_value()) << c.dms;
        EXPECT_EQ(exact(*viaText), c.degrees) << c.dms;
    }
}

TEST(DmsToDegrees, InPlaceLeavesTheNudgedMagnitude)
{
    QString cell = QStringLiteral("114.3000");
    EXPECT_EQ(exact(*DmsToDegreesInPlace(cell, nullptr)), "114.50000000027778");
    EXPECT_EQ(cell, QStringLiteral("114.3000000001"));

    QString negative = QStringLiteral("-114.3030");
    EXPECT_EQ(exact(*DmsToDegreesInPlace(negative, nullptr)), "-114.5083333336111");
    EXPECT_EQ(negative, QStringLiteral("114.3030000001")); // sign gone

    double v = -114.3;
    DmsToDegreesInPlace(v);
    EXPECT_EQ(exact(v), exact(114.3 + 1E-10));

    double r = 90.0;
    DmsToRadiansInPlace(r);
    EXPECT_EQ(exact(r), exact(90.0 + 1E-10));

    const QString sheetCell = QStringLiteral("114.3000");
    DmsToDegrees(sheetCell, nullptr);
    EXPECT_EQ(sheetCell, QStringLiteral("114.3000"));
}

TEST(DmsToDegrees, TextThatIsNoNumberShowsTheMessageAndGivesNoValue)
{
    for (const char* bad : {"", "abc", "12.3x", " "}) {
        test::TempHome home;
        QString arg = u(bad);
        EXPECT_FALSE(DmsToDegrees(arg, &home.ui).has_value()) << bad;
        EXPECT_FALSE(DmsToDegreesInPlace(arg, &home.ui).has_value()) << bad;
        EXPECT_EQ(arg, u(bad)) << "argument left as it was";
        EXPECT_EQ(DmsToRadians(arg, &home.ui), 0.0) << bad;
        EXPECT_EQ(DmsToRadiansInPlace(arg, &home.ui), 0.0) << bad;

        const QJsonArray shown = home.ui.messages();
        ASSERT_EQ(shown.size(), 4) << bad; // once per call
        for (const auto& m : shown) {
            EXPECT_EQ(m[QStringLiteral("text")].toString(), u("错误！！"));
            EXPECT_EQ(m[QStringLiteral("title")].toString(), u("错误"));
            EXPECT_EQ(m[QStringLiteral("icon")].toString(), QStringLiteral("critical"));
            EXPECT_EQ(m[QStringLiteral("buttons")].toString(), QStringLiteral("OK"));
        }
    }
    // Without a screen the result is still no value.
    EXPECT_FALSE(DmsToDegrees(QStringLiteral("x"), nullptr).has_value());
}

TEST(DegreesToDms, NudgedSplitAndSign)
{
    const struct {
        double degrees;
        const char* dms;
    } cases[] = {
        {114.5, "114.300000000036"},
        {-0.5, "-0.30000000003599997"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(exact(DegreesToDms(c.degrees)), c.dms) << c.degrees;
        EXPECT_EQ(exact(DegreesToDms(NumberText(c.degrees))), c.dms) << c.degrees;
    }
    double v = -0.5;
    DegreesToDmsInPlace(v);
    EXPECT_EQ(exact(v), exact(0.5 + 1E-10));
    QString t = QStringLiteral("114.5");
    DegreesToDmsInPlace(t);
    EXPECT_EQ(t, QStringLiteral("114.5000000001"));
}

TEST(DegreesToDms, NoNumberRaisesTypeMismatch)
{
    QString bad = QStringLiteral("abc");
    EXPECT_EQ(errorOf([&] { DegreesToDms(bad); }), err::TypeMismatch);
    EXPECT_EQ(errorOf([&] { DegreesToDmsInPlace(bad); }), err::TypeMismatch);
    EXPECT_EQ(bad, QStringLiteral("abc"));
    EXPECT_EQ(errorOf([] { DegreesToDms(QString()); }), err::TypeMismatch);
}

TEST(RadiansToDms, SinglePrecisionThroughout)
{
    EXPECT_EQ(exact(RadiansToDms(1.0f)), "57.17448043823242");
    EXPECT_EQ(FormatFixed(RadiansToDms(1.0f), 8), QStringLiteral("57.17448044"));
    EXPECT_EQ(exact(RadiansToDms(-1.0f)), "-57.17448043823242");
    EXPECT_EQ(FormatFixed(RadiansToDms(0.0f), 8), QStringLiteral("0.00000000"));
}

TEST(Azimuth, QuadrantsAxesAndUnits)
{
    const struct {
        double x1, y1;
        int unit;
        const char* bearing; // nullptr: no value
    } cases[] = {
        {1, 1, 3, "45.00000000000004"},
        {-1, 1, 3, "134.99999999999994"},
        {-1, -1, 3, "225.00000000000006"},
        {1, -1, 3, "314.99999999999994"},
        {0, -1, 3, "270"},
        {0, 1, 3, "90"},
        {-1, 0, 3, "180"},
        {1, 0, 3, "0"},
        {1, 1, 1, "45.00000000003602"},
        {0, 1, 2, "1.570796326794895"}, // the fifteen-digit pi, not M_PI / 2
        {1, 1, 7, "0"},
        {1, 1, 0, "0"},
        {0, 0, 3, nullptr},
        {0, 0, 7, nullptr},
    };
    for (const auto& c : cases) {
        const auto a = Azimuth(0, 0, c.x1, c.y1, c.unit);
        if (!c.bearing) {
            EXPECT_FALSE(a.has_value()) << c.x1 << "," << c.y1;
            continue;
        }
        ASSERT_TRUE(a.has_value()) << c.x1 << "," << c.y1;
        EXPECT_EQ(exact(*a), c.bearing) << c.x1 << "," << c.y1 << " unit " << c.unit;
    }
    // Away from the origin the differences decide.
    EXPECT_EQ(exact(*Azimuth(100, 200, 101, 201, 3)), "45.00000000000004");
}

TEST(Azimuth, TextArguments)
{
    EXPECT_EQ(exact(*Azimuth(QStringLiteral("0"), QStringLiteral(" 0 "), QStringLiteral("1"),
                             QStringLiteral("1"), 3)),
              "45.00000000000004");
    EXPECT_FALSE(Azimuth(QStringLiteral("0"), QString(), QStringLiteral("1"), QStringLiteral("1"), 3));
    EXPECT_FALSE(Azimuth(QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("1a"), QStringLiteral("1"), 3));
    EXPECT_FALSE(Azimuth(QStringLiteral("5"), QStringLiteral("5"), QStringLiteral("5"), QStringLiteral("5"), 1));
}

TEST(jjobj, OddUpEvenDown)
{
    const struct {
        const char* angle;
        const char* rounded; // nullptr: no value
    } cases[] = {
        {"12.34565", "12.3456"},   // even: down
        {"12.34575", "12.3458"},   // odd: up
        {"12.34555", "12.3456"},
        {"12.34595", "12.3500"},   // 60 seconds carry into the minutes
        {"12.59595", "13.0000"},   // and 60 minutes into the degrees
        {"-12.34575", "-12.3458"}, // away from zero
        {"-12.34565", "-12.3456"}, // towards zero
        {"12.34560", "12.3456"},
        {"12.345655", "12.3457"},  // last two characters decide
        {"12.34561", nullptr},
        {"12.34567", nullptr},
        {"0.00000", nullptr},
        {"12.3456", "12.3456"},
        {" 12.345", " 12.345"},    // itself, blanks included
        {"12.", "12."},
    };
    for (const auto& c : cases) {
        const auto r = jjobj(u(c.angle));
        if (!c.rounded) {
            EXPECT_FALSE(r.has_value()) << c.angle;
            continue;
        }
        ASSERT_TRUE(r.has_value()) << c.angle;
        EXPECT_EQ(*r, u(c.rounded)) << c.angle;
    }
}

TEST(jjobj, TextWithoutPointIsInvalid)
{
    for (const char* bad : {"90", "", "   ", "abc"})
        EXPECT_EQ(errorOf([&] { jjobj(u(bad)); }), err::InvalidArgument) << bad;
}

TEST(addmiao, SignedTotalSeconds)
{
    const struct {
        const char* angle;
        const char* seconds;
    } cases[] = {
        {"1.0203", "+ 3723"},
        {"-0.0012", "- 12"},
        {"0", " 0"},
        {"1.30305", "+ 5430.5"},
        {" 0.0030 ", "+ 30"},
        // Minutes whose hundredfold fraction falls just below a whole number.
        {"0.2900", "+ 1740"},
        {"0.5700", "+ 3420"},
        {"0.5800", "+ 3480"},
        {"-0.2900", "- 1740"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(addmiao(u(c.angle)), u(c.seconds)) << c.angle;
}

TEST(addmiao, EveryWholeMinuteIsExact)
{
    for (int d = 0; d <= 2; ++d) {
        for (int m = 0; m < 60; ++m) {
            for (int s : {0, 1, 30, 59}) {
                const QString angle = QStringLiteral("%1.%2%3")
                                          .arg(d)
                                          .arg(m, 2, 10, QLatin1Char('0'))
                                          .arg(s, 2, 10, QLatin1Char('0'));
                const int total = 3600 * d + 60 * m + s;
                const QString expected = total == 0 ? QStringLiteral(" 0")
                                                    : QStringLiteral("+ %1").arg(total);
                EXPECT_EQ(addmiao(angle), expected) << angle.toStdString();
            }
        }
    }
}

TEST(addmiao, NoNumberRaisesTypeMismatch)
{
    for (const char* bad : {"", "abc", "1.02x"})
        EXPECT_EQ(errorOf([&] { addmiao(u(bad)); }), err::TypeMismatch) << bad;
}

TEST(addling, FillsDecimalsWithZeros)
{
    const struct {
        const char* value;
        int ass;
        const char* text;
    } cases[] = {
        {"12", 3, "12.000"},
        {"12.", 3, "12.000"},
        {"-12", 3, "-12.000"},
        {"0", 3, "0.000"},
        {"12.5", 3, "12.500"},
        {"12.345", 3, "12.345"},
        {"12.34567", 3, "12.34567"},
        {"90.", 5, "90.00000"},
        {"12", 0, "12."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(addling(u(c.value), c.ass), u(c.text)) << c.value << " " << c.ass;
    EXPECT_EQ(addling(2.0, 3), QStringLiteral("2.000"));
    EXPECT_EQ(addling(0.5, 3), QStringLiteral("0.500"));
    for (const char* bad : {"", "abc", "12.5m"})
        EXPECT_EQ(errorOf([&] { addling(u(bad), 3); }), err::TypeMismatch) << bad;
}

TEST(panzpany, RightAngleFromLeftAngle)
{
    const struct {
        const char* left;
        const char* right;
    } cases[] = {
        {"90.3000", "269.3"},
        {"180", "180."},
        {"359.3", ".3"},
        {"0", "360."},
        {"123.4512", "236.1448"},
        {"-90.3", "-269.3"}, // the negative number
        {"-180", "-180"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(panzpany(u(c.left)), u(c.right)) << c.left;
    EXPECT_EQ(panzpany(90.3), QStringLiteral("269.3"));
    EXPECT_EQ(panzpany(-90.3), QStringLiteral("-269.3"));
    for (const char* bad : {"", "abc", "90.3x"})
        EXPECT_EQ(errorOf([&] { panzpany(u(bad)); }), err::TypeMismatch) << bad;
}
