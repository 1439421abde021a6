// Numbers and texts: reading, number text, the strict test and patterns.
#include "routines/routines.h"
#include "platform/errors.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <optional>

using namespace kelvor;
using kelvor::test::errorOf;
using kelvor::test::exact;
using kelvor::test::u;

TEST(LeadingNumber, ReadsTheNumberAtTheStart)
{
    const struct {
        const char* text;
        double value;
    } cases[] = {
        {"12.5abc", 12.5},
        {"+ 12", 12},
        {"1 2 3", 123},
        {"", 0},
        {"abc", 0},
        {"-", 0},
        {"--5", 0},
        {"5-3", 5},
        {".5", 0.5},
        {"1.", 1},
        {"1.2.3", 1.2},
        {"-3.5e2x", -350},
        {"1D3", 1000},
        {"2E-2", 0.02},
        {"1e", 1},
        {"1e+", 1},
        {"\t7\n8", 78},
        {"  -0.0012", -0.0012},
        {"114.3000 rest", 114.3},
    };
    for (const auto& c : cases)
        EXPECT_EQ(exact(LeadingNumber(u(c.text))), exact(c.value)) << c.text;
}

// A number too large for a double is no value: LeadingNumber reads it as 0,
// as it reads text; FiniteLeadingNumber tells it apart. Tiny ones are 0.
TEST(LeadingNumber, NeverFailsOnHugeOrTinyExponents)
{
    const struct {
        const char* text;
        double leading;
        std::optional<double> finite;
    } cases[] = {
        {"1e400", 0, std::nullopt},
        {"-1e400", 0, std::nullopt},
        {"1E309,0", 0, std::nullopt},
        {"1e-400", 0, 0.0},
        {"1.7e308", 1.7e308, 1.7e308},
        {"nan", 0, 0.0},
        {"inf", 0, 0.0},
        {"-infinity", 0, 0.0},
        {"12.5abc", 12.5, 12.5},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(exact(LeadingNumber(u(c.text))), exact(c.leading)) << c.text;
        EXPECT_EQ(FiniteLeadingNumber(u(c.text)), c.finite) << c.text;
    }
}

TEST(NumberText, ShortestTextWithFifteenDigits)
{
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {0.1 + 0.2, "0.3"},
        {1.0 / 3, "0.333333333333333"},
        {-2.5, "-2.5"},
        {123456.0, "123456"},
        {114.3000000001, "114.3000000001"},
        {0.0001, "0.0001"},
        {0.00012345, "0.00012345"},
        {1e-5, "1E-05"},
        {-1.5e-7, "-1.5E-07"},
        {999999999999999.0, "999999999999999"},
        {1e15, "1E+15"},
        {2e100, "2E+100"},
        {0.0, "0"},
        {-0.0, "0"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(NumberText(c.value), u(c.text)) << c.text;
}

TEST(SignedNumberText, BlankForNonNegativeAndNoLeadingZero)
{
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {3723, " 3723"}, {-12, "-12"}, {0.5, " .5"}, {0.25, " .25"}, {-0.25, "-.25"},
        {0, " 0"},       {1.5, " 1.5"}, {5430.5, " 5430.5"}, {1e-5, " 1E-05"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SignedNumberText(c.value), u(c.text)) << c.text;
}

TEST(StrictNumber, WholeTextMustBeOneNumber)
{
    const struct {
        const char* text;
        bool number;
        double value;
    } cases[] = {
        {"12", true, 12},
        {"  12.5  ", true, 12.5},
        {"- 5", true, -5},
        {"+5", true, 5},
        {".5", true, 0.5},
        {"5.", true, 5},
        {"-0.0012", true, -0.0012},
        {"1e3", true, 1000},
        {"1D3", true, 1000},
        {"2.5E-2", true, 0.025},
        {"", false, 0},
        {"   ", false, 0},
        {".", false, 0},
        {"-", false, 0},
        {"1 2", false, 0},
        {"12abc", false, 0},
        {"abc", false, 0},
        {"1e", false, 0},
        {"1.2.3", false, 0},
        {"1,5", false, 0},
        {"\t5", false, 0},            // only U+0020 is a blank
        {"\xef\xbc\x91", false, 0},   // full-width digit
    };
    for (const auto& c : cases) {
        const QString t = u(c.text);
        EXPECT_EQ(IsNumber(t), c.number) << c.text;
        if (c.number) {
            EXPECT_EQ(exact(StrictNumber(t)), exact(c.value)) << c.text;
            ASSERT_TRUE(ParseNumber(t).has_value()) << c.text;
        } else {
            EXPECT_EQ(errorOf([&] { StrictNumber(t); }), err::TypeMismatch) << c.text;
            EXPECT_FALSE(ParseNumber(t).has_value()) << c.text;
        }
    }
}

TEST(StrictNumber, OverflowIsNotTypeMismatch)
{
    EXPECT_FALSE(IsNumber(QStringLiteral("1e400")));
    EXPECT_EQ(errorOf([] { StrictNumber(QStringLiteral("1e400")); }), 6);
    EXPECT_EQ(StrictNumber(QStringLiteral("1e-400")), 0.0);
}

TEST(FormatPattern, RoundsHalfAwayOnTheFifteenDigitDecimalForm)
{
    const struct {
        double value;
        const char* pattern;
        const char* text;
    } cases[] = {
        // Binary values just below the half: the 15-digit form decides.
        {52.925, "0.00", "52.93"},
        {1100.0105, "###0.000", "1100.011"},
        {-52.925, "0.00", "-52.93"},
        {2.675, "0.00", "2.68"},
        {0.00005, "0.0000", "0.0001"},
        {12345678.125, "0.00", "12345678.13"},
        // Carry through every digit.
        {99.995, "0.00", "100.00"},
        {-99.995, "0.00", "-100.00"},
        {9.99996, "###.####", "10."},
        // "#" and "0" places.
        {269.5, "###.####", "269.5"},
        {180, "###.####", "180."},
        {0.3, "###.####", ".3"},
        {0.00004, "###.####", "."},
        {2.5, "0.0000", "2.5000"},
        {0.25, ".000", ".250"},
        {0.25, "#.000", ".250"},
        {1.5, "#####0.00", "1.50"},
        {7, "000.0", "007.0"},
        {1.2, "0.0#", "1.2"},
        {1.0, "0.0#", "1.0"},
        {1.23456, "0.00##", "1.2346"},
        {12.5, "0", "13"},
        // Sign decided before rounding.
        {-0.0004, "0.00", "-0.00"},
        {-0.3, "###.####", "-.3"},
        {-0.0, "0.00", "0.00"},
        // Prefix literal.
        {5, "+###0.00", "+5.00"},
        // Magnitudes outside the 15 digits.
        {1e-20, "0.00", "0.00"},
        {1e20, "0.0", "100000000000000000000.0"},
        {123456789.123456789, "0.000000", "123456789.123457"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatPattern(c.value, u(c.pattern)), u(c.text)) << c.value << " " << c.pattern;
}

TEST(FormatPattern, TextIsFormattedOnlyWhenItIsANumber)
{
    const struct {
        const char* value;
        const char* pattern;
        const char* text;
    } cases[] = {
        {"12.345", "0.00", "12.35"},
        {" 12.345 ", "0.00", "12.35"},
        {"- 5", "0.00", "-5.00"},
        {"12.34560", "0.0000", "12.3456"},
        {"abc", "0.00", "abc"},
        {"12abc", "0.00", "12abc"},
        {"", "0.00", ""},
        {" ", "0.00", " "},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatPattern(u(c.value), u(c.pattern)), u(c.text)) << c.value;
}

TEST(FormatFixed, DecimalsAndPlusSign)
{
    const struct {
        double value;
        int n;
        int plus;
        const char* text;
    } cases[] = {
        {12.3456, 3, 0, "12.346"},
        {0, 3, 0, "0.000"},
        {-5.5, 2, 0, "-5.50"},
        {12.6, 0, 0, "13."},
        {0.4, 0, 0, "0."},
        {-0.0004, 3, 0, "-0.000"},
        {12.3456, 3, 1, "+12.346"},
        {-1, 3, 1, "-1.000"},
        {0, 3, 1, "0.000"},
        {12.3456, 3, 2, "12.346"}, // only exactly 1 asks for the sign
        {1234567.891, 2, 0, "1234567.89"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatFixed(c.value, c.n, c.plus), u(c.text)) << c.value << " " << c.n << " " << c.plus;
}

TEST(FormatFixed, TextValues)
{
    const struct {
        const char* value;
        int n;
        int plus;
        const char* text;
    } cases[] = {
        {"12.3456", 3, 1, "+12.346"},
        {"-1", 3, 1, "-1.000"},
        {"0", 2, 1, "0.00"},
        {"abc", 3, 1, "abc"},
        {"", 2, 0, ""},
        {"3 m", 2, 1, "3 m"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatFixed(u(c.value), c.n, c.plus), u(c.text)) << c.value;
}

TEST(NoValue, ReadsAsZeroOrEmpty)
{
    EXPECT_EQ(orZero(std::nullopt), 0.0);
    EXPECT_EQ(orZero(2.5), 2.5);
    EXPECT_EQ(orEmpty(std::nullopt), QString());
    EXPECT_EQ(orEmpty(QStringLiteral("x")), QStringLiteral("x"));
    EXPECT_EQ(shownText(std::nullopt), QString());
    EXPECT_EQ(shownText(1e-5), QStringLiteral("1E-05"));
}
