#include "support/FixedClock.h"

#include <gtest/gtest.h>

#include <limits.h>
#include <stdio.h>

namespace {

// "dd.mm.yyyy hh:mm:ss" as a target (validated as the program builds it)
// with "now" pinned to the second such text.
FixedTimeCalc Calc(const char *target, const char *now = "01.01.2000 00:00:00")
{
    int t[6] = {}, n[6] = {};
    sscanf(target, "%d.%d.%d %d:%d:%d", &t[0], &t[1], &t[2], &t[3], &t[4], &t[5]);
    sscanf(now, "%d.%d.%d %d:%d:%d", &n[0], &n[1], &n[2], &n[3], &n[4], &n[5]);
    FixedTimeCalc calc(t[0], t[1], t[2], t[3], t[4], t[5]);
    calc.Now(n[0], n[1], n[2], n[3], n[4], n[5]);
    calc.SetTarget(t[0], t[1], t[2], t[3], t[4], t[5]); // as given, also out of range
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

TEST(TimeCalc, TargetIsValidWithinTheCalendarAndTheYearsOfTheClass)
{
    const std::pair<const char *, bool> cases[] = {
        {"29.02.2024 00:00:00", true},  {"29.02.2000 00:00:00", true},
        {"29.02.2023 00:00:00", false}, {"29.02.1900 00:00:00", false},
        {"01.01.1900 00:00:00", true},  {"31.12.2099 23:59:59", true},
        {"31.12.1899 23:59:59", false}, {"01.01.2100 00:00:00", false},
        {"31.04.2024 00:00:00", false}, {"01.13.2024 00:00:00", false},
        {"00.05.2024 00:00:00", false}, {"01.01.2024 24:00:00", false},
        {"01.01.2024 -1:00:00", false}}; // a WORD of 65535
    for (const auto &c : cases) {
        FixedTimeCalc calc = Calc(c.first);
        EXPECT_EQ(calc.IsValidFlag(), c.second) << c.first;
        EXPECT_EQ(calc.CalcDateIsValid(), c.second) << c.first;
    }
    // An invalid target reads zeros and counts as reached, even once repaired.
    FixedTimeCalc calc = Calc("31.02.2030 10:00:00", "01.01.2030 10:00:00");
    calc.SetCalcDateValue(Day, 28);
    EXPECT_TRUE(calc.CalculateDiff() && calc.CalcDateIsValid() && calc.CalcDateExpired());
    EXPECT_EQ(Diff(calc), "0y 0m 0d 00:00:00 0");
}

TEST(TimeCalc, DifferenceInComponentsAndWholeDaysAndExpiry)
{
    const struct {
        const char *now, *target, *diff;
        bool expired;
    } cases[] = {
        {"15.01.2024 10:00:00", "15.01.2025 10:00:00", "1y 0m 0d 00:00:00 366", false},
        {"31.01.2023 10:00:00", "01.03.2023 10:00:00", "0y 1m 1d 00:00:00 29", false},
        {"01.01.2024 10:00:00", "02.01.2024 09:00:00", "0y 0m 0d 23:00:00 0", false},
        {"06.12.2026 10:00:00", "07.12.2026 12:03:04", "0y 0m 1d 02:03:04 1", false},
        {"06.12.2026 17:30:15", "06.12.2026 17:30:15", "0y 0m 0d 00:00:00 0", true},
        {"06.12.2026 17:30:16", "06.12.2026 17:30:15", "0y 0m 0d 00:00:01 0", true},
        {"31.12.2024 23:59:59", "01.01.2025 00:00:00", "0y 0m 0d 00:00:01 0", false},
        {"01.03.2023 10:00:00", "31.01.2023 10:00:00", "0y 1m 1d 00:00:00 29", true},
        {"20.01.2024 00:00:00", "20.01.2025 00:00:01", "1y 0m 0d 00:00:01 366", false},
        {"01.01.1900 00:00:00", "31.12.2099 23:59:59", "199y 11m 30d 23:59:59 73048", false},
        // Days are counted against the earlier month (February 2024: 29).
        {"15.02.2024 12:00:00", "14.03.2024 11:00:00", "0y 0m 27d 23:00:00 27", false},
        {"29.02.2024 00:00:00", "29.03.2024 00:00:00", "0y 1m 0d 00:00:00 29", false},
        {"28.02.2023 00:00:00", "28.03.2023 00:00:00", "0y 1m 0d 00:00:00 28", false}};
    for (const auto &c : cases) {
        FixedTimeCalc calc = Calc(c.target, c.now);
        ASSERT_TRUE(calc.CalculateDiff());
        EXPECT_EQ(Diff(calc), c.diff) << c.now << " -> " << c.target;
        EXPECT_EQ(calc.CalcDateExpired(), c.expired) << c.now << " -> " << c.target;
    }
    FixedTimeCalc calc = Calc("01.01.2030 00:00:00", "01.01.2025 00:00:00");
    calc.CalculateDiff();
    calc.Now(31, 12, 2029, 23, 59, 58).CalculateDiff();
    EXPECT_EQ(Diff(calc), "0y 0m 0d 00:00:02 0") << "a second calculation starts from zero";
}

TEST(CalculateDate, CarriesEveryUnitBothWaysMonthsBeforeDays)
{
    const struct {
        const char *from;
        int days, months, years, hours, minutes, seconds; // subtracted when days < 0
        const char *expected;
    } cases[] = {{"31.01.2023 10:00:00", 0, 1, 0, 0, 0, 0, "03.03.2023 10:00:00"},
                 {"31.01.2024 10:00:00", 0, 1, 0, 0, 0, 0, "02.03.2024 10:00:00"},
                 {"29.02.2024 10:00:00", 0, 0, 1, 0, 0, 0, "01.03.2025 10:00:00"},
                 {"15.06.2024 10:00:00", 0, -25, 0, 0, 0, 0, "15.05.2022 10:00:00"},
                 {"01.03.1900 10:00:00", -1, 0, 0, 0, 0, 0, "28.02.1900 10:00:00"},
                 {"01.03.2000 10:00:00", -1, 0, 0, 0, 0, 0, "29.02.2000 10:00:00"},
                 {"28.02.2023 10:00:00", 0, 0, 0, 24, 0, 0, "01.03.2023 10:00:00"},
                 {"01.01.2024 00:00:00", 0, 0, 0, 0, 0, -1, "31.12.2023 23:59:59"},
                 {"10.05.2024 00:10:00", 0, 0, 0, -1, 0, 0, "09.05.2024 23:10:00"},
                 {"01.01.2000 00:00:00", 0, 0, 0, 0, 0, INT_MAX, "19.01.2068 03:14:07"},
                 {"01.01.2000 00:00:00", 0, 0, 0, 0, 0, INT_MIN, "13.12.1931 20:45:52"}};
    for (const auto &c : cases) {
        FixedTimeCalc calc = Calc(c.from);
        calc.CalculateDate(true, c.days, c.months, c.years, c.hours, c.minutes, c.seconds);
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

TEST(CalculateDate, WeekdaysAreProlepticMovesLandWithinAWeekAndWeeksOfTheYear)
{
    // 13.01.2025 is a Monday; start on each day of that week.
    for (int start = 13; start <= 19; ++start)
        for (int wd = Monday; wd <= Sunday; ++wd)
            for (bool forward : {true, false}) {
                FixedTimeCalc calc = Calc("13.01.2025 10:11:12");
                calc.SetCalcDateValue(Day, start);
                calc.CalculateWeekDay(forward, (WeekDays)wd);
                const _MYSYSTEMTIME &t = calc.Target();
                const int moved = forward ? t.Day - start : start - t.Day;
                EXPECT_TRUE((t.DayOfWeek + 6) % 7 == wd && moved >= 0 && moved <= 6 &&
                            (moved == 0) == (start - 13 == wd) && t.Hour == 10 && t.Second == 12)
                    << start << " to " << wd << (forward ? " forward: " : " back: ") << Stamp(t);
            }
    FixedTimeCalc calc = Calc("14.01.2025 10:00:00");
    calc.CalculateWeekDay(true, (WeekDays)7);
    EXPECT_EQ(Stamp(calc.Target()), "14.01.2025 10:00:00") << "no such weekday";
    for (const char *k : {"01.01.0001 1", "15.10.1582 5", "31.12.-001 5"}) { // proleptic
        FixedTimeCalc old = Calc(k);
        old.CalculateDate(true, 0, 0, 0);
        EXPECT_EQ(old.Target().DayOfWeek, k[11] - '0') << k; // 0 = Sunday
    }
    EXPECT_EQ(calc.GetDayOfYear(1, 3, 2023) * 1000 + calc.GetDayOfYear(31, 12, 2024), 60366);
    // Week 1 holds 1 January when that is a Monday to Thursday; December's
    // last days stay in their year (ISO 8601 would say week 1 of 2025).
    EXPECT_EQ(calc.GetWeekOfYear(31, 12, 2024), 53);
    EXPECT_EQ(calc.GetWeekOfYear(1, 1, 2021) * 100 + calc.GetWeekOfYear(4, 1, 2021), 5301);
    EXPECT_EQ(calc.GetWeeksOfYear(2021), 52);
}

} // namespace
