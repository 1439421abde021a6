// Prints LunarYearTable for the lunar years 1921 .. 2099 from ICU's Chinese
// calendar, one entry per lunar year:
//   12 months: bits 11..0 are months 1..12 (1 = 30 days);
//   13 months: bits 12..0 are the 13 months in calendar order, plus
//              65536 * the number of the month the leap month follows.
// Not part of the build. Build and run:
//   g++ -std=c++20 gen_lunar_table.cpp -licui18n -licuuc -o gen && ./gen
// The entry for 1922 is kept as 333387 in the program (ICU differs there).
#include <unicode/ucal.h>

#include <cstdio>
#include <vector>

struct Month {
    int year;   // lunar year (Gregorian numbering of its new year)
    int number; // 1..12
    bool leap;
    int days;
};

int main()
{
    UErrorCode status = U_ZERO_ERROR;
    UCalendar* greg = ucal_open(u"GMT", -1, "en_US@calendar=gregorian", UCAL_GREGORIAN, &status);
    UCalendar* chn = ucal_open(u"GMT", -1, "zh_CN@calendar=chinese", UCAL_DEFAULT, &status);
    if (U_FAILURE(status)) {
        std::fprintf(stderr, "ICU: %s\n", u_errorName(status));
        return 1;
    }
    ucal_setDateTime(greg, 1921, UCAL_FEBRUARY, 8, 12, 0, 0, &status);
    UDate t = ucal_getMillis(greg, &status);
    const double day = 86400000.0;

    std::vector<Month> months;
    int days = 0;
    for (;; t += day) {
        ucal_setMillis(chn, t, &status);
        const int ext = ucal_get(chn, UCAL_EXTENDED_YEAR, &status); // Gregorian year = ext - 2637
        const int mon = ucal_get(chn, UCAL_MONTH, &status) + 1;
        const bool leap = ucal_get(chn, UCAL_IS_LEAP_MONTH, &status) != 0;
        const int date = ucal_get(chn, UCAL_DATE, &status);
        const int year = ext - 2637;
        if (year > 2099)
            break;
        if (date == 1)
            months.push_back({year, mon, leap, 0});
        if (months.empty()) {
            std::fprintf(stderr, "start is not a lunar new year\n");
            return 1;
        }
        ++months.back().days;
        ++days;
    }
    if (U_FAILURE(status)) {
        std::fprintf(stderr, "ICU: %s\n", u_errorName(status));
        return 1;
    }

    std::printf("// lunar years 1921..2099, %d days from 8 February 1921\n", days);
    size_t i = 0;
    int column = 0;
    while (i < months.size()) {
        const int year = months[i].year;
        long bits = 0;
        int count = 0, leapAfter = 0;
        for (; i < months.size() && months[i].year == year; ++i, ++count) {
            bits = bits * 2 + (months[i].days == 30 ? 1 : 0);
            if (months[i].leap)
                leapAfter = months[i].number;
        }
        const long entry = count == 13 ? bits + 65536L * leapAfter : bits;
        std::printf("%7ld,%s", entry, ++column % 10 == 0 ? "\n" : "");
        if (count != 12 && count != 13)
            std::fprintf(stderr, "year %d has %d months\n", year, count);
    }
    std::printf("\n");
    ucal_close(chn);
    ucal_close(greg);
    return 0;
}
