#include "lunar.h"

#include <array>

namespace kelvor::tools {

namespace {

// Lunar years 1921..2099. Generated once from ICU's Chinese calendar by
// tools/lunar_table; 1922 keeps 333387 (leap month after the fifth), which
// is how the program has always counted that year.
constexpr std::array<int, kLastLunarYear - kFirstLunarYear + 1> kTable = {
    2635,   333387, 1701,   1748,   267701, 694,    2391,   133423, 1175,   396438, //
    3402,   3749,   331177, 1453,   694,    201326, 2350,   465197, 3221,   3402,   //
    400202, 2901,   1386,   267611, 605,    2349,   137515, 2709,   464533, 1738,   //
    2901,   330421, 1243,   603,    201303, 1323,   529706, 3733,   1706,   398762, //
    2741,   1206,   267438, 2647,   1318,   204070, 3477,   461653, 1386,   2413,   //
    330077, 1197,   2637,   268877, 3365,   531109, 2900,   2922,   398042, 2395,   //
    1179,   267415, 2635,   661067, 1701,   1748,   464308, 2742,   2391,   330031, //
    1175,   1611,   200010, 3749,   527717, 1452,   2742,   332398, 2350,   3222,   //
    268949, 3402,   3493,   133973, 1386,   464219, 605,    2349,   334123, 2709,   //
    2890,   267978, 2773,   592565, 1210,   2651,   395863, 1319,   2707,   265877, //
    1706,   2773,   133557, 1206,   398510, 2639,   1318,   335142, 3410,   3498,   //
    200042, 2413,   723293, 1197,   2637,   399947, 3365,   3410,   334676, 2906,   //
    1389,   133467, 1179,   464023, 2635,   2725,   333477, 1746,   2778,   199350, //
    2359,   526639, 1175,   1611,   396618, 3749,   1714,   267628, 2734,   2350,   //
    203054, 3222,   465557, 3402,   3493,   330581, 1386,   2669,   264797, 2349,   //
    529707, 2709,   2890,   399018, 2773,   1370,   267450, 2651,   1323,   202023, //
    1683,   462419, 1706,   2773,   330165, 1206,   2647,   264782, 3350,   531750, //
    3410,   3498,   396650, 1389,   1198,   267421, 2605,   3349,   138021,
};

constexpr std::array<int, 12> kMonthStartDays = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};

const char16_t* const kStems[] = {u"甲", u"乙", u"丙", u"丁", u"戊", u"己", u"庚", u"辛", u"壬", u"癸"};
const char16_t* const kBranches[] = {u"子", u"丑", u"寅", u"卯", u"辰", u"巳",
                                      u"午", u"未", u"申", u"酉", u"戌", u"亥"};
const char16_t* const kAnimals[] = {u"鼠", u"牛", u"虎", u"兔", u"龙", u"蛇",
                                     u"马", u"羊", u"猴", u"鸡", u"狗", u"猪"};
const char16_t* const kMonthNames[] = {u"*", u"正", u"二", u"三", u"四", u"五", u"六",
                                        u"七", u"八", u"九", u"十", u"十一", u"腊"};
const char16_t* const kDayNames[] = {
    u"*",    u"初一", u"初二", u"初三", u"初四", u"初五", u"初六", u"初七", u"初八", u"初九", u"初十",
    u"十一", u"十二", u"十三", u"十四", u"十五", u"十六", u"十七", u"十八", u"十九", u"二十",
    u"廿一", u"廿二", u"廿三", u"廿四", u"廿五", u"廿六", u"廿七", u"廿八", u"廿九", u"三十"};

QString s(const char16_t* text)
{
    return QString::fromUtf16(text);
}

} // namespace

int LunarYearTable(int lunarYear)
{
    if (lunarYear < kFirstLunarYear || lunarYear > kLastLunarYear)
        return 0;
    return kTable[std::size_t(lunarYear - kFirstLunarYear)];
}

int lunarDayNumber(const QDate& date)
{
    const int y = date.year(), m = date.month(), d = date.day();
    // Floor division, so that dates before 1921 stay before day 1.
    const int years = y - 1921;
    const int leapDays = years >= 0 ? years / 4 : -((-years + 3) / 4);
    int t = years * 365 + leapDays + kMonthStartDays[std::size_t(m - 1)] + d - 38;
    if (y % 4 == 0 && m > 2)
        ++t;
    return t;
}

std::optional<QString> LunarDateText(const QDate& date)
{
    if (!date.isValid())
        return std::nullopt;
    int t = lunarDayNumber(date);
    if (t < 1)
        return std::nullopt;
    for (std::size_t m = 0; m < kTable.size(); ++m) {
        const int e = kTable[m];
        const int k = e < 4095 ? 11 : 12;
        for (int n = k; n >= 0; --n) {
            const int b = (e >> n) & 1;
            if (t > 29 + b) {
                t -= 29 + b;
                continue;
            }
            const int y = kFirstLunarYear + int(m);
            const int p = k - n + 1;
            int month = p;
            bool leap = false;
            const int l = e / 65536;
            if (k == 12) {
                if (p == l + 1) {
                    leap = true;
                    month = l;
                } else if (p > l + 1) {
                    month = p - 1;
                }
            }
            const int c = ((y - 4) % 60 + 60) % 60;
            QString text = QStringLiteral("农历") + s(kStems[c % 10]) + s(kBranches[c % 12]) + QStringLiteral("年(")
                + s(kAnimals[c % 12]) + QLatin1Char(')');
            if (leap)
                text += QStringLiteral("闰");
            text += s(kMonthNames[month]) + QStringLiteral("月") + s(kDayNames[t]);
            return text;
        }
    }
    return std::nullopt;
}

QString aboutDateText(const QDate& date)
{
    QString text = QStringLiteral("当前日期：\r\n")
        + QStringLiteral("%1-%2-%3")
              .arg(date.month(), 2, 10, QLatin1Char('0'))
              .arg(date.day(), 2, 10, QLatin1Char('0'))
              .arg(date.year(), 4, 10, QLatin1Char('0'));
    if (const auto lunar = LunarDateText(date))
        text += QStringLiteral("\r\n") + *lunar;
    return text;
}

QString compatibilityNotice()
{
    return QStringLiteral("  图形操作支持以Autocad") + QStringLiteral("2004版") + QStringLiteral("或AutoCAD")
        + QStringLiteral("2006版")
        + QStringLiteral("本为平台的南方CASS成图系统及以上版本的AutoCAD系统本身。由于程序是基于AutoCAD开发版本的不同,"
                         "在其它版本的AutoCAD系统中可能存在兼容性问题,个别的操作可能引至错误,敬请注意！");
}

int Marquee::step(int left, int width, int formWidth)
{
    left -= kStep;
    if (left == -width)
        left = formWidth;
    return left;
}

} // namespace kelvor::tools
