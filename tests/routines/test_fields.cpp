// Field splitting and column filling.
#include "routines/routines.h"
#include "platform/errors.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <functional>

using namespace kelvor;
using kelvor::test::errorOf;
using kelvor::test::u;

namespace {

constexpr const char* kMissing = nullptr; // the field raises error 9

} // namespace

TEST(TrimBlanks, RemovesOnlyBlanksAtTheEnds)
{
    const struct {
        const char* text;
        const char* trimmed;
    } cases[] = {
        {"  a b  ", "a b"},
        {"\t a \t", "\t a \t"},
        {"\xe3\x80\x80" "a ", "\xe3\x80\x80" "a"}, // full-width blank stays
        {"   ", ""},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TrimBlanks(u(c.text)), u(c.trimmed)) << c.text;
}

TEST(CommaAndDashField, FieldsOrErrorNine)
{
    const struct {
        const char* line;
        QChar separator;
        int n;
        const char* field;
    } cases[] = {
        {"a, b,,c", ',', 1, "a"},
        {"a, b,,c", ',', 2, "b"},
        {"a, b,,c", ',', 3, ""},
        {"a, b,,c", ',', 4, "c"},
        {"a, b,,c", ',', 5, kMissing},
        {"a, b,,c", ',', 0, kMissing},
        {"a, b,,c", ',', -1, kMissing},
        {"", ',', 1, kMissing},       // the empty line has no field at all
        {" ", ',', 1, ""},            // a blank line has one
        {",x,", ',', 1, ""},
        {",x,", ',', 3, ""},
        {"P1,\t3 ,x", ',', 2, "\t3"},
        {"12-3-45", '-', 3, "45"},
        {"12-3-45", '-', 4, kMissing},
        {"-5", '-', 1, ""},           // a negative number splits
        {"-5", '-', 2, "5"},
        {"", '-', 1, kMissing},
    };
    for (const auto& c : cases) {
        const QString line = u(c.line);
        auto call = [&] {
            return c.separator == QLatin1Char(',') ? CommaField(line, c.n) : DashField(line, c.n);
        };
        if (c.field == kMissing) {
            EXPECT_EQ(errorOf([&] { call(); }), err::SubscriptOutOfRange) << c.line << " " << c.n;
        } else {
            EXPECT_EQ(call(), u(c.field)) << c.line << " " << c.n;
        }
    }
}

TEST(BlankField, RunsOfNonBlanksUpToSix)
{
    const QString four = QStringLiteral("  P1  100.5 200.25   12 ");
    const QString six = QStringLiteral("1 2 3 4 5 6 7");
    const struct {
        QString line;
        int n;
        std::optional<QString> field;
    } cases[] = {
        {four, 1, QStringLiteral("P1")},
        {four, 2, QStringLiteral("100.5")},
        {four, 3, QStringLiteral("200.25")},
        {four, 4, QStringLiteral("12")},
        {four, 5, QString()},
        {four, 6, QString()},
        {four, 7, std::nullopt},
        {four, 0, std::nullopt},
        {four, -1, std::nullopt},
        {six, 5, QStringLiteral("5")},
        {six, 6, QStringLiteral("6")},
        {six, 7, std::nullopt},        // the seventh run is never reached
        {QStringLiteral("a\tb c"), 1, QStringLiteral("a\tb")},
        {QStringLiteral("a\tb c"), 2, QStringLiteral("c")},
        {u("甲\xe3\x80\x80乙 丙"), 1, u("甲\xe3\x80\x80乙")},
        {QString(), 1, QString()},
        {QStringLiteral("   "), 2, QString()},
    };
    for (const auto& c : cases) {
        const auto got = BlankField(c.line, c.n);
        EXPECT_EQ(got.has_value(), c.field.has_value()) << c.line.toStdString() << " " << c.n;
        if (got && c.field) {
            EXPECT_EQ(*got, *c.field) << c.line.toStdString() << " " << c.n;
        }
    }
}

TEST(selecttx, FieldsBetweenCommasNeverFail)
{
    const struct {
        const char* line;
        int ip;
        const char* field;
    } cases[] = {
        {"a, b,,c", 1, "a"}, {"a, b,,c", 2, "b"}, {"a, b,,c", 3, ""}, {"a, b,,c", 4, "c"},
        {"a, b,,c", 5, ""},  {"a, b,,c", 0, ""},  {"a, b,,c", -3, ""}, {"", 1, ""},
        {" x ", 1, "x"},     {"1,2", 2, "2"},
    };
    for (const auto& c : cases) {
        const QString line = u(c.line);
        EXPECT_EQ(selecttx(line, c.ip), u(c.field)) << c.line << " " << c.ip;
    }
}

TEST(selecttx, TrimsTheCallersLine)
{
    QString line = QStringLiteral("  A1 , 12.5 ,\t");
    EXPECT_EQ(selecttx(line, 2), QStringLiteral("12.5"));
    EXPECT_EQ(line, QStringLiteral("A1 , 12.5 ,\t")); // only blanks go
    QString missing = QStringLiteral(" a ");
    EXPECT_EQ(selecttx(missing, 4), QString());
    EXPECT_EQ(missing, QStringLiteral("a")); // trimmed even when the field is missing

    const QString fixed = QStringLiteral(" a,b ");
    EXPECT_EQ(selecttx(fixed, 2), QStringLiteral("b"));
    EXPECT_EQ(fixed, QStringLiteral(" a,b "));
}

TEST(PadRight, CountsCharactersOnTheTrimmedValueAndNeverCuts)
{
    const struct {
        const char* value;
        double width;
        const char* padded;
    } cases[] = {
        {"AB", 6, "AB    "},
        {"AB", 2, "AB"},
        {"AB", 1, "AB"},
        {"ABCDEFG", 3, "ABCDEFG"},
        {"张三", 10, "张三        "},      // eight blanks: characters, not bytes
        {" AB", 6, " AB    "},          // own blank kept, column one further right
        {"AB ", 6, "AB     "},
        {"AB", 6.7, "AB    "},          // whole part of the count
        {"AB", 2.5, "AB"},              // below one blank: none
        {"", 3, "   "},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PadRight(u(c.value), c.width), u(c.padded)) << c.value << " " << c.width;
}
