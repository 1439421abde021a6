#include "app/tools/lunar.h"

#include <gtest/gtest.h>

#include "test_support.h"

using namespace kelvor;
using namespace kelvor::tools;

namespace {

struct LunarCase {
    QDate date;
    const char* text;
};

TEST(LunarDate, KnownDays)
{
    const LunarCase cases[] = {
        {QDate(1921, 2, 8), "农历辛酉年(鸡)正月初一"},
        {QDate(2007, 2, 17), "农历丙戌年(狗)腊月三十"},
        {QDate(2007, 2, 18), "农历丁亥年(猪)正月初一"},
        {QDate(2007, 4, 25), "农历丁亥年(猪)三月初九"},
        {QDate(1984, 2, 2), "农历甲子年(鼠)正月初一"},
        {QDate(2020, 5, 23), "农历庚子年(鼠)闰四月初一"},
        {QDate(2020, 6, 20), "农历庚子年(鼠)闰四月廿九"},
        {QDate(2021, 2, 11), "农历庚子年(鼠)腊月三十"},
        // past the old end of the table
        {QDate(2021, 2, 12), "农历辛丑年(牛)正月初一"},
        // the leap month of 1922 follows the fifth month, as always counted
        {QDate(1922, 6, 25), "农历壬戌年(狗)闰五月初一"},
        {QDate(1922, 7, 24), "农历壬戌年(狗)六月初一"},
        {QDate(2023, 3, 22), "农历癸卯年(兔)闰二月初一"},
        {QDate(2024, 2, 10), "农历甲辰年(龙)正月初一"},
        {QDate(2025, 1, 28), "农历甲辰年(龙)腊月廿九"},
        {QDate(2025, 7, 25), "农历乙巳年(蛇)闰六月初一"},
        {QDate(2033, 12, 22), "农历癸丑年(牛)闰十一月初一"},
        {QDate(2100, 2, 8), "农历己未年(羊)腊月三十"},
    };
    for (const auto& c : cases) {
        const auto text = LunarDateText(c.date);
        ASSERT_TRUE(text.has_value()) << c.date.toString(Qt::ISODate).toStdString();
        EXPECT_EQ(*text, QString::fromUtf8(c.text)) << c.date.toString(Qt::ISODate).toStdString();
    }
}

TEST(LunarDate, OutsideTheTableHasNoLunarText)
{
    for (const QDate& d : {QDate(1921, 2, 7), QDate(1900, 1, 1), QDate(2100, 2, 9), QDate(2150, 6, 1)})
        EXPECT_FALSE(LunarDateText(d).has_value()) << d.toString(Qt::ISODate).toStdString();
}

TEST(LunarDate, DayNumbers)
{
    EXPECT_EQ(lunarDayNumber(QDate(1921, 2, 8)), 1);
    EXPECT_EQ(lunarDayNumber(QDate(2021, 2, 11)), 36529);
    // the leap day counts from March on
    EXPECT_EQ(lunarDayNumber(QDate(2008, 3, 1)) - lunarDayNumber(QDate(2008, 2, 29)), 1);
    EXPECT_EQ(lunarDayNumber(QDate(2008, 2, 29)) - lunarDayNumber(QDate(2008, 2, 28)), 1);
}

TEST(LunarDate, TableEntries)
{
    const std::pair<int, int> rows[] = {{1921, 2635}, {1922, 333387}, {1984, 661067}, {2006, 464219},
                                        {2007, 605},  {2020, 265877}, {2021, 1706},   {2099, 138021}};
    for (auto [year, entry] : rows)
        EXPECT_EQ(LunarYearTable(year), entry) << year;
    // Every year has 12 or 13 months of 29 or 30 days and the whole table
    // covers the days the generator counted.
    long days = 0;
    for (int y = kFirstLunarYear; y <= kLastLunarYear; ++y) {
        const int e = LunarYearTable(y);
        ASSERT_GT(e, 0) << y;
        const int months = e < 4095 ? 12 : 13;
        int yearDays = 0;
        for (int n = 0; n < months; ++n)
            yearDays += 29 + ((e >> n) & 1);
        EXPECT_GE(yearDays, 353) << y;
        EXPECT_LE(yearDays, 385) << y;
        if (months == 13) {
            EXPECT_GE(e / 65536, 1) << y;
            EXPECT_LE(e / 65536, 12) << y;
        }
        days += yearDays;
    }
    EXPECT_EQ(days, 65380);
}

TEST(AboutBox, DateText)
{
    EXPECT_EQ(aboutDateText(QDate(2007, 4, 25)), QStringLiteral("当前日期：\r\n04-25-2007\r\n农历丁亥年(猪)三月初九"));
    EXPECT_EQ(aboutDateText(QDate(2150, 1, 5)), QStringLiteral("当前日期：\r\n01-05-2150"));
    EXPECT_TRUE(compatibilityNotice().startsWith(QStringLiteral("  图形操作支持以Autocad2004版或AutoCAD2006版本为平台")));
    EXPECT_TRUE(compatibilityNotice().endsWith(QStringLiteral("敬请注意！")));
}

TEST(AboutBox, MarqueeReturns)
{
    EXPECT_EQ(Marquee::step(-1875), Marquee::kFormWidth);
    EXPECT_EQ(Marquee::step(100), 85);

    int left = Marquee::kStartLeft;
    std::vector<int> returns;
    for (int tick = 1; tick <= 274 + 529 * 2; ++tick) {
        left = Marquee::step(left);
        if (left == Marquee::kFormWidth)
            returns.push_back(tick);
    }
    EXPECT_EQ(returns, (std::vector<int>{274, 274 + 529, 274 + 529 * 2}));
}

} // namespace
