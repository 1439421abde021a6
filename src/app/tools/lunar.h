#pragma once
#include <QDate>
#include <QString>
#include <optional>

namespace kelvor::tools {

// First and last lunar year that LunarYearTable describes.
constexpr int kFirstLunarYear = 1921;
constexpr int kLastLunarYear = 2099;

// One entry per lunar year from 1921: below 4095 a year of 12 months (bit 11
// the first month ... bit 0 the twelfth), otherwise 13 months in bits 12..0
// and, from bit 16 up, the month the leap month follows. A set bit is a
// month of 30 days.
int LunarYearTable(int lunarYear);

// Day number of a Gregorian date, 1 on 8 February 1921, by the About box's
// own formula (every fourth year a leap year).
int lunarDayNumber(const QDate& date);

// "农历丁亥年(猪)三月初九"; no value outside the table.
std::optional<QString> LunarDateText(const QDate& date);

// Label2 of the About box: "当前日期：", the date as 04-25-2007 and the lunar
// text, joined by CR LF; the lunar line is left off outside the table.
QString aboutDateText(const QDate& date);

// Label1(7) of the About box: the notice on AutoCAD compatibility.
QString compatibilityNotice();

// The About box's title marquee, in twips: the left edge after one tick.
struct Marquee {
    static constexpr int kStep = 15;
    static constexpr int kStartLeft = 2220;
    static constexpr int kLabelWidth = 1890;
    static constexpr int kFormWidth = 6045;
    static int step(int left, int width = kLabelWidth, int formWidth = kFormWidth);
};

} // namespace kelvor::tools
