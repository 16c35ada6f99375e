#include "support/FixedClock.h"

#include <gtest/gtest.h>

#include <limits.h>
#include <stdio.h>
#include <string>

namespace {

// A calculator whose target is the given moment (now does not matter here).
FixedTimeCalc At(int day, int month, int year, int hour = 10, int minute = 0, int second = 0)
{
    FixedTimeCalc calc(1, 1, 2000, 0, 0, 0);
    calc.Now(1, 1, 2000, 0, 0, 0).SetTarget(day, month, year, hour, minute, second);
    return calc;
}

void ExpectNormalised(CTimeCalc &calc, const _MYSYSTEMTIME &t)
{
    EXPECT_TRUE(t.Month >= 1 && t.Month <= 12 && t.Day >= 1 &&
                t.Day <= calc.GetDaysOfMonth(t.Month, t.Year) && t.Hour >= 0 && t.Hour <= 23 &&
                t.Minute >= 0 && t.Minute <= 59 && t.Second >= 0 && t.Second <= 59 &&
                t.DayOfWeek >= 0 && t.DayOfWeek <= 6)
        << Stamp(t) << " weekday " << t.DayOfWeek;
}

TEST(CalculateDate, CarriesEveryUnitBothWaysMonthsBeforeDays)
{
    const struct {
        const char *from;
        bool add;
        int days, months, years, hours, minutes, seconds;
        const char *expected;
    } cases[] = {
        {"31.01.2023 10:00:00", true, 0, 1, 0, 0, 0, 0, "03.03.2023 10:00:00"},
        {"31.01.2024 10:00:00", true, 0, 1, 0, 0, 0, 0, "02.03.2024 10:00:00"},
        {"31.03.2023 10:00:00", false, 0, 1, 0, 0, 0, 0, "03.03.2023 10:00:00"},
        {"29.02.2024 10:00:00", true, 0, 0, 1, 0, 0, 0, "01.03.2025 10:00:00"},
        {"29.02.2024 10:00:00", false, 0, 12, 0, 0, 0, 0, "01.03.2023 10:00:00"},
        {"15.06.2024 10:00:00", true, 0, 25, 0, 0, 0, 0, "15.07.2026 10:00:00"},
        {"15.06.2024 10:00:00", false, 0, 25, 0, 0, 0, 0, "15.05.2022 10:00:00"},
        {"01.03.1900 10:00:00", false, 1, 0, 0, 0, 0, 0, "28.02.1900 10:00:00"},
        {"01.03.2000 10:00:00", false, 1, 0, 0, 0, 0, 0, "29.02.2000 10:00:00"},
        {"28.02.2023 10:00:00", true, 0, 0, 0, 24, 0, 0, "01.03.2023 10:00:00"},
        {"01.01.2024 00:00:00", false, 0, 0, 0, 0, 0, 1, "31.12.2023 23:59:59"},
        {"31.12.2099 23:59:59", true, 0, 0, 0, 0, 0, 1, "01.01.2100 00:00:00"},
        {"10.05.2024 23:00:00", true, 0, 0, 0, 0, 90, 0, "11.05.2024 00:30:00"},
        {"10.05.2024 00:10:00", true, 0, 0, 0, -1, 0, 0, "09.05.2024 23:10:00"},
        {"01.01.2000 00:00:00", true, 0, 0, 0, 0, 0, INT_MAX, "19.01.2068 03:14:07"},
        {"01.01.2000 00:00:00", false, 0, 0, 0, 0, 0, INT_MIN, "19.01.2068 03:14:08"},
        {"01.01.2000 00:00:00", true, 0, 0, 0, 0, 0, INT_MIN, "13.12.1931 20:45:52"},
    };
    for (const auto &c : cases) {
        int d, mo, y, h, mi, s;
        ASSERT_EQ(sscanf(c.from, "%d.%d.%d %d:%d:%d", &d, &mo, &y, &h, &mi, &s), 6);
        FixedTimeCalc calc = At(d, mo, y, h, mi, s);
        calc.CalculateDate(c.add, c.days, c.months, c.years, c.hours, c.minutes, c.seconds);
        EXPECT_EQ(Stamp(calc.Target()), c.expected) << c.from;
    }
}

TEST(CalculateDate, DayCountsAgreeWithTheDifference)
{
    // Shifting by n days and measuring the distance back must give n again,
    // and undoing the shift the start.
    const int starts[][3] = {{1, 1, 1900}, {28, 2, 1999}, {31, 12, 2023}, {29, 2, 2024}};
    for (const auto &s : starts) {
        for (int n : {1, 27, 59, 60, 365, 366, 1461, 36524, 36525, 73000}) {
            FixedTimeCalc calc = At(s[0], s[1], s[2], 8, 30, 0);
            calc.CalculateDate(true, n, 0, 0);
            if (calc.Target().Year > 2099) continue;
            calc.Now(s[0], s[1], s[2], 8, 30, 0);
            calc.CalculateDiff();
            EXPECT_EQ(calc.GetDiffValueDaysOnly(Day), n) << Stamp(calc.Target());
            calc.CalculateDate(false, n, 0, 0);
            EXPECT_EQ(Stamp(calc.Target()), Stamp(calc.Current()));
        }
    }
}

TEST(CalculateDate, ExtremeFieldsAndAmountsEndNormalised)
{
    for (int field = 0; field < 6; ++field) {
        for (int v : {INT_MIN, INT_MIN + 1, -1, 0, 1, INT_MAX - 1, INT_MAX}) {
            for (bool add : {true, false}) {
                FixedTimeCalc calc = At(15, 6, 2024, 12, 30, 30);
                calc.SetCalcDateValue((CalcValueType)field, v);
                calc.CalculateDate(add, v, v, v, v, v, v);
                ExpectNormalised(calc, calc.Target());
            }
        }
    }
    // A year beyond the field holds the last (or first) representable
    // moment instead of wrapping around.
    FixedTimeCalc late = At(31, 12, INT_MAX, 23, 59, 59);
    late.CalculateDate(true, 0, 0, 0, 0, 0, 1);
    EXPECT_EQ(Stamp(late.Target()), "31.12." + std::to_string(INT_MAX) + " 23:59:59");
    FixedTimeCalc early = At(1, 1, INT_MIN, 0, 0, 0);
    early.CalculateDate(false, 1, 0, 0);
    EXPECT_EQ(early.Target().Year, INT_MIN);
}

// --- weekdays ------------------------------------------------------------------

TEST(Weekday, ProlepticGregorianBefore1601AndOneStepADayEverywhere)
{
    struct {
        int day, month, year, weekday;
    } known[] = {
        {1, 1, 1, 1}, {4, 10, 1582, 1}, {15, 10, 1582, 5}, {1, 1, 0, 6}, {31, 12, 1600, 0}};
    for (const auto &k : known) {
        FixedTimeCalc calc = At(k.day, k.month, k.year);
        calc.CalculateDate(true, 0, 0, 0);
        EXPECT_EQ(calc.Target().DayOfWeek, k.weekday) << Stamp(calc.Target());
    }
    // Across year 0, negative years, the wrap of the 16-bit leap rule and
    // the ends of the 32-bit year the weekday still advances one per day.
    for (int year : {INT_MIN, -401, -1, 0, 65535, 65536, INT_MAX - 1}) {
        FixedTimeCalc calc = At(20, 12, year);
        calc.CalculateDate(true, 0, 0, 0);
        for (int i = 0; i < 80; ++i) {
            const int before = calc.Target().DayOfWeek;
            calc.CalculateDate(true, 1, 0, 0);
            ASSERT_EQ(calc.Target().DayOfWeek, (before + 1) % 7) << Stamp(calc.Target());
            ExpectNormalised(calc, calc.Target());
        }
    }
}

TEST(CalculateWeekDay, ForwardAndBackwardLandWithinAWeekAndAnyValueEnds)
{
    // 13.01.2025 is a Monday; start on each day of that week, at 10:11:12.
    for (int start = 13; start <= 19; ++start) {
        for (int wd = Monday; wd <= Sunday; ++wd) {
            for (bool forward : {true, false}) {
                FixedTimeCalc calc = At(start, 1, 2025, 10, 11, 12);
                calc.CalculateWeekDay(forward, (WeekDays)wd);
                const _MYSYSTEMTIME &t = calc.Target();
                const int moved = forward ? t.Day - start : start - t.Day;
                EXPECT_EQ((t.DayOfWeek + 6) % 7, wd);
                EXPECT_TRUE(moved >= 0 && moved <= 6 && (moved == 0) == (start - 13 == wd) &&
                            t.Hour * 10000 + t.Minute * 100 + t.Second == 101112)
                    << Stamp(t);
            }
        }
    }
    FixedTimeCalc tuesday = At(31, 12, 2024);
    tuesday.CalculateWeekDay(true, Monday);
    EXPECT_EQ(Stamp(tuesday.Target()), "06.01.2025 10:00:00");

    for (int v : {7, -1, INT_MAX, INT_MIN}) {
        FixedTimeCalc calc = At(14, 1, 2025);
        calc.CalculateWeekDay(true, (WeekDays)v);
        calc.CalculateWeekDay(false, (WeekDays)v);
        EXPECT_EQ(Stamp(calc.Target()), "14.01.2025 10:00:00") << v;
    }
    // A target that is no date at all still gets a weekday move that ends.
    FixedTimeCalc odd = At(40, 13, 2024);
    odd.SetCalcDateValue(DayOfWeek, -12345);
    odd.CalculateWeekDay(true, Friday);
    ExpectNormalised(odd, odd.Target());
}

TEST(WeekOfYear, StatedDays)
{
    FixedTimeCalc calc = At(1, 1, 2024);
    EXPECT_EQ(calc.GetDayOfYear(31, 12, 2024), 366);
    EXPECT_EQ(calc.GetDayOfYear(1, INT_MAX, 2024), 367); // no month beyond December
    EXPECT_EQ(calc.GetDayOfYear(INT_MAX, 12, 2024), INT_MAX);
    EXPECT_EQ(calc.GetWeekOfYear(31, 12, 2024), 53); // ISO 8601 would say week 1
    EXPECT_EQ(calc.GetWeekOfYear(1, 1, 2021), 53);
    EXPECT_EQ(calc.GetWeekOfYear(4, 1, 2021), 1);
    EXPECT_EQ(calc.GetWeeksOfYear(2024) * 100 + calc.GetWeeksOfYear(2021), 5352);
    EXPECT_GT(calc.GetWeekOfYear(1, 1, INT_MIN), 0);
}

} // namespace
