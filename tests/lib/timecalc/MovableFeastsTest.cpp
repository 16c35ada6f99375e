#include "support/FixedClock.h"

#include <gtest/gtest.h>

#include <limits.h>
#include <string>

namespace {

// Easter Sunday by the anonymous Gregorian algorithm (Meeus, Jones,
// Butcher), a different route from the library's, as the test's oracle;
// month * 100 + day.
int OracleEaster(int y)
{
    const int a = y % 19, b = y / 100, c = y % 100, d = b / 4, e = b % 4;
    const int f = (b + 8) / 25, g = (b - f + 1) / 3, h = (19 * a + b - d - g + 15) % 30;
    const int i = c / 4, k = c % 4, l = (32 + 2 * e + 2 * i - h - k) % 7;
    const int m = (a + 11 * h + 22 * l) / 451, n = h + l - 7 * m + 114;
    return n / 31 * 100 + n % 31 + 1;
}

int MonthDay(const FixedTimeCalc &calc)
{
    return calc.Target().Month * 100 + calc.Target().Day;
}

// In the order of the type: weekday (0 = Sunday), days after Easter (or
// none for the Sundays counted in a month) and the earliest and latest date.
const struct {
    int weekday, fromEaster, first, last;
} kRules[12] = {{4, -52, 101, 1231},    {3, -46, 101, 1231},    {0, -7, 101, 1231},
                {5, -2, 101, 1231},     {0, 0, 322, 425},       {1, 1, 101, 1231},
                {4, 39, 101, 1231},     {0, 49, 101, 1231},     {4, 60, 101, 1231},
                {0, INT_MIN, 508, 514}, {0, INT_MIN, 915, 921}, {0, INT_MIN, 1127, 1203}};

TEST(SpecialDays, KnownDatesAndUnknownTypes)
{
    const int y2024[12] = {208, 214, 324, 329, 331, 401, 509, 519, 530, 512, 915, 1201};
    FixedTimeCalc calc(1, 1, 2000, 0, 0, 0);
    for (int type = 0; type < 12; ++type) {
        ASSERT_TRUE(calc.SetSpecialDays((SpecialDaysType)type, 2024));
        EXPECT_EQ(calc.Target().Year * 10000 + MonthDay(calc), 20240000 + y2024[type]) << type;
    }
    EXPECT_FALSE(calc.SetSpecialDays((SpecialDaysType)12, 2024));
    EXPECT_FALSE(calc.SetSpecialDays((SpecialDaysType)-1, 2024));
    EXPECT_EQ(Stamp(calc.Target()).substr(0, 10), "01.12.2024") << "unknown types change nothing";
}

TEST(SpecialDays, EveryRuleHoldsFrom1900To2099AndEasterIsGregorianThrough4099)
{
    FixedTimeCalc calc(1, 1, 2000, 0, 0, 0);
    for (int year = 1900; year <= 2099; ++year) {
        const int e = OracleEaster(year), easter = calc.GetDayOfYear(e % 100, e / 100, year);
        for (int type = 0; type < 12; ++type) {
            ASSERT_TRUE(calc.SetSpecialDays((SpecialDaysType)type, year));
            const _MYSYSTEMTIME &t = calc.Target();
            const int offset = calc.GetDayOfYear(t.Day, t.Month, year) - easter;
            ASSERT_TRUE(t.Year == year && t.DayOfWeek == kRules[type].weekday &&
                        (kRules[type].fromEaster == INT_MIN || offset == kRules[type].fromEaster) &&
                        MonthDay(calc) >= kRules[type].first && MonthDay(calc) <= kRules[type].last)
                << "type " << type << ": " << Stamp(t) << ", weekday " << t.DayOfWeek;
        }
    }
    for (int year = 1583; year <= 4099; ++year) {
        calc.SetSpecialDays(Ostern, year);
        ASSERT_EQ(MonthDay(calc) * 10 + calc.Target().DayOfWeek, OracleEaster(year) * 10) << year;
    }
}

TEST(SpecialDays, KeepTheTimeOfDayOfTheLocalClock)
{
    PinnedClock clock(14, 3, 2031, 7, 8, 9, 345);
    ASSERT_TRUE(clock.Active());
    CTimeCalc pinned;
    for (int type = 0; type < 12; ++type) {
        pinned.SetSpecialDays((SpecialDaysType)type, 2031);
        EXPECT_EQ(pinned.GetCalcDateValue(Hour) * 10000000 +
                      pinned.GetCalcDateValue(Minute) * 100000 +
                      pinned.GetCalcDateValue(Second) * 1000 + pinned.GetCalcDateValue(MilliSecond),
                  70809345)
            << type;
    }
}

} // namespace
