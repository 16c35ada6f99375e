#include "support/FixedClock.h"

#include <gtest/gtest.h>

#include <limits.h>
#include <stdio.h>
#include <string.h>

namespace {

// The target "dd.mm.yyyy hh:mm:ss" as given (also out of range), "now" pinned to the second.
FixedTimeCalc Calc(const char *target, const char *now = "01.01.2000 00:00:00")
{
    int t[6] = {}, n[6] = {};
    sscanf(target, "%d.%d.%d %d:%d:%d", &t[0], &t[1], &t[2], &t[3], &t[4], &t[5]);
    sscanf(now, "%d.%d.%d %d:%d:%d", &n[0], &n[1], &n[2], &n[3], &n[4], &n[5]);
    FixedTimeCalc calc(t[0], t[1], t[2], t[3], t[4], t[5]);
    calc.Now(n[0], n[1], n[2], n[3], n[4], n[5]).SetTarget(t[0], t[1], t[2], t[3], t[4], t[5]);
    return calc;
}

// "years months days hh:mm:ss total-days".
std::string Diff(CTimeCalc &calc)
{
    char text[96];
    snprintf(text, sizeof text, "%ldy %ldm %ldd %02ld:%02ld:%02ld %ld", calc.GetDiffValue(Year),
             calc.GetDiffValue(Month), calc.GetDiffValue(Day), calc.GetDiffValue(Hour),
             calc.GetDiffValue(Minute), calc.GetDiffValue(Second), calc.GetDiffValueDaysOnly(Day));
    return text;
}

TEST(TimeCalc, ValidityDifferencesExpiryAndShifts)
{
    // The last character says whether the target is valid ("-1" is a WORD of 65535).
    for (const char *c :
         {"29.02.2024 +", "29.02.2000 +", "29.02.2023 -", "29.02.1900 -", "01.01.1900 +",
          "31.12.2099 23:59:59 +", "31.12.1899 23:59:59 -", "01.01.2100 -", "31.04.2024 -",
          "01.13.2024 -", "00.05.2024 -", "01.01.2024 24:00:00 -", "01.01.2024 -1:00:00 -"}) {
        FixedTimeCalc calc = Calc(c);
        EXPECT_EQ(calc.IsValidFlag() * 10 + calc.CalcDateIsValid(), strchr(c, '+') ? 11 : 0) << c;
    }
    // An invalid target reads zeros and counts as reached, even once repaired.
    FixedTimeCalc invalid = Calc("31.02.2030 10:00:00", "01.01.2030 10:00:00");
    invalid.SetCalcDateValue(Day, 28);
    EXPECT_TRUE(invalid.CalculateDiff() && invalid.CalcDateIsValid() && invalid.CalcDateExpired());
    EXPECT_EQ(Diff(invalid), "0y 0m 0d 00:00:00 0");

    const struct {
        const char *now, *target, *diff; // a diff ending in "!": expired
    } cases[] = {{"31.01.2023 10:00:00", "01.03.2023 10:00:00", "0y 1m 1d 00:00:00 29"},
                 {"06.12.2026 10:00:00", "07.12.2026 12:03:04", "0y 0m 1d 02:03:04 1"},
                 {"06.12.2026 17:30:16", "06.12.2026 17:30:15", "0y 0m 0d 00:00:01 0!"},
                 {"31.12.2024 23:59:59", "01.01.2025 00:00:00", "0y 0m 0d 00:00:01 0"},
                 {"01.03.2023 10:00:00", "31.01.2023 10:00:00", "0y 1m 1d 00:00:00 29!"},
                 {"01.01.1900 00:00:00", "31.12.2099 23:59:59", "199y 11m 30d 23:59:59 73048"},
                 // Days are counted against the earlier month (February 2024: 29).
                 {"15.02.2024 12:00:00", "14.03.2024 11:00:00", "0y 0m 27d 23:00:00 27"},
                 {"29.02.2024 00:00:00", "29.03.2024 00:00:00", "0y 1m 0d 00:00:00 29"}};
    for (const auto &c : cases) {
        FixedTimeCalc calc = Calc(c.target, c.now);
        ASSERT_TRUE(calc.CalculateDiff());
        EXPECT_EQ(Diff(calc) + (calc.CalcDateExpired() ? "!" : ""), c.diff) << c.now;
    }
    FixedTimeCalc calc = Calc("01.01.2030 00:00:00", "01.01.2025 00:00:00");
    calc.CalculateDiff();
    calc.Now(31, 12, 2029, 23, 59, 58).CalculateDiff();
    EXPECT_EQ(Diff(calc), "0y 0m 0d 00:00:02 0") << "a second calculation starts from zero";

    const struct {
        const char *from;
        int days, months, years, hours, seconds; // subtracted when days < 0
        const char *expected;
    } shifts[] = {{"31.01.2023 10:00:00", 0, 1, 0, 0, 0, "03.03.2023 10:00:00"},
                  {"29.02.2024 10:00:00", 0, 0, 1, 0, 0, "01.03.2025 10:00:00"},
                  {"15.06.2024 10:00:00", 0, -25, 0, 0, 0, "15.05.2022 10:00:00"},
                  {"01.03.2000 10:00:00", -1, 0, 0, 0, 0, "29.02.2000 10:00:00"},
                  {"28.02.2023 10:00:00", 0, 0, 0, 24, 0, "01.03.2023 10:00:00"},
                  {"01.01.2024 00:00:00", 0, 0, 0, 0, -1, "31.12.2023 23:59:59"},
                  {"01.01.2000 00:00:00", 0, 0, 0, 0, INT_MAX, "19.01.2068 03:14:07"},
                  {"01.01.2000 00:00:00", 0, 0, 0, 0, INT_MIN, "13.12.1931 20:45:52"}};
    for (const auto &c : shifts) {
        FixedTimeCalc calc = Calc(c.from);
        calc.CalculateDate(true, c.days, c.months, c.years, c.hours, 0, c.seconds);
        EXPECT_EQ(Stamp(calc.Target()), c.expected) << c.from;
    }
    // Shifting by n days and measuring back gives n; undoing it the start.
    for (const char *start : {"01.01.1900 08:30:00", "28.02.1999 08:30:00", "29.02.2024 08:30:00"})
        for (int n : {1, 59, 60, 365, 366, 1461, 36524, 36525}) {
            FixedTimeCalc calc = Calc(start, start);
            calc.CalculateDate(true, n, 0, 0);
            calc.CalculateDiff();
            if (calc.Target().Year > 2099) continue;
            EXPECT_EQ(calc.GetDiffValueDaysOnly(Day), n) << start << " + " << n;
            calc.CalculateDate(false, n, 0, 0);
            EXPECT_EQ(Stamp(calc.Target()), start) << n;
        }
}

// Easter Sunday (month * 100 + day) by the anonymous Gregorian algorithm, not the library's.
int OracleEaster(int y)
{
    const int a = y % 19, b = y / 100, c = y % 100, d = b / 4, e = b % 4;
    const int f = (b + 8) / 25, g = (b - f + 1) / 3, h = (19 * a + b - d - g + 15) % 30;
    const int i = c / 4, k = c % 4, l = (32 + 2 * e + 2 * i - h - k) % 7;
    const int m = (a + 11 * h + 22 * l) / 451, n = h + l - 7 * m + 114;
    return n / 31 * 100 + n % 31 + 1;
}

TEST(TimeCalc, SpecialDaysFollowTheirRulesAndKeepTheTimeOfTheLocalClock)
{
    // By type: weekday (0 = Sunday), days after Easter (if any), earliest and latest date.
    const struct {
        int weekday, fromEaster, first, last;
    } rules[12] = {{4, -52, 101, 1231},    {3, -46, 101, 1231},    {0, -7, 101, 1231},
                   {5, -2, 101, 1231},     {0, 0, 322, 425},       {1, 1, 101, 1231},
                   {4, 39, 101, 1231},     {0, 49, 101, 1231},     {4, 60, 101, 1231},
                   {0, INT_MIN, 508, 514}, {0, INT_MIN, 915, 921}, {0, INT_MIN, 1127, 1203}};
    PinnedClock clock(14, 3, 2031, 7, 8, 9, 345);
    ASSERT_TRUE(clock.Active());
    FixedTimeCalc calc(1, 1, 2000, 0, 0, 0);
    for (int year = 1900; year <= 2099; ++year) {
        const int e = OracleEaster(year), easter = calc.GetDayOfYear(e % 100, e / 100, year);
        for (int type = 0; type < 12; ++type) {
            ASSERT_TRUE(calc.SetSpecialDays((SpecialDaysType)type, year));
            const _MYSYSTEMTIME &t = calc.Target();
            const int offset = calc.GetDayOfYear(t.Day, t.Month, year) - easter,
                      monthDay = t.Month * 100 + t.Day;
            ASSERT_TRUE(t.Year == year && t.DayOfWeek == rules[type].weekday &&
                        (rules[type].fromEaster == INT_MIN || offset == rules[type].fromEaster) &&
                        monthDay >= rules[type].first && monthDay <= rules[type].last &&
                        Stamp(t).substr(11) == "07:08:09" && t.Milliseconds == 345)
                << "type " << type << ": " << Stamp(t) << ", weekday " << t.DayOfWeek;
        }
    }
    for (int year = 1583; year <= 4099; ++year) {
        calc.SetSpecialDays(Ostern, year);
        const _MYSYSTEMTIME &t = calc.Target();
        ASSERT_EQ((t.Month * 100 + t.Day) * 10 + t.DayOfWeek, OracleEaster(year) * 10) << year;
    }
    EXPECT_FALSE(calc.SetSpecialDays((SpecialDaysType)12, 2024) ||
                 calc.SetSpecialDays((SpecialDaysType)-1, 2024));
    EXPECT_EQ(Stamp(calc.Target()).substr(0, 10), "19.04.4099") << "unknown types change nothing";
}

} // namespace
