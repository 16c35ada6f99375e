#include "support/FixedClock.h"

#include <gtest/gtest.h>

#include <limits.h>
#include <ostream>
#include <stdio.h>
#include <string>

namespace {

std::string Stamp(const _MYSYSTEMTIME &t)
{
    char text[80];
    snprintf(text, sizeof text, "%02d.%02d.%04d %02d:%02d:%02d", t.Day, t.Month, t.Year, t.Hour,
             t.Minute, t.Second);
    return text;
}

// A calculator whose target is the given moment and whose now is fixed at
// 01.01.2000 (only the target matters here).
FixedTimeCalc At(int day, int month, int year, int hour = 10, int minute = 0, int second = 0)
{
    FixedTimeCalc calc(1, 1, 2000, 0, 0, 0);
    calc.Now(1, 1, 2000, 0, 0, 0).SetTarget(day, month, year, hour, minute, second);
    return calc;
}

void ExpectNormalised(CTimeCalc &calc, const _MYSYSTEMTIME &t)
{
    EXPECT_GE(t.Month, 1);
    EXPECT_LE(t.Month, 12);
    EXPECT_GE(t.Day, 1);
    EXPECT_LE(t.Day, calc.GetDaysOfMonth(t.Month, t.Year));
    EXPECT_TRUE(t.Hour >= 0 && t.Hour <= 23 && t.Minute >= 0 && t.Minute <= 59 && t.Second >= 0 &&
                t.Second <= 59)
        << Stamp(t);
    EXPECT_TRUE(t.DayOfWeek >= 0 && t.DayOfWeek <= 6) << t.DayOfWeek;
}

// --- shifting and normalising ------------------------------------------------

struct Shift {
    const char *from; // dd.mm.yyyy, 10:00:00 unless given
    int hour, minute, second;
    bool add;
    int days, months, years, hours, minutes, seconds;
    const char *expected;
};

void PrintTo(const Shift &c, std::ostream *os)
{
    *os << c.from << " -> " << c.expected;
}

// The weekday the platform's own calendar gives for a date.
int PlatformWeekday(const _MYSYSTEMTIME &t)
{
    SYSTEMTIME st = {(WORD)t.Year, (WORD)t.Month, 0, (WORD)t.Day, 0, 0, 0, 0};
    FILETIME ft;
    if (!SystemTimeToFileTime(&st, &ft) || !FileTimeToSystemTime(&ft, &st)) return -1;
    return st.wDayOfWeek;
}

class CalculateDateCase : public ::testing::TestWithParam<Shift> {};

TEST_P(CalculateDateCase, CarriesEveryUnitBothWays)
{
    const Shift &c = GetParam();
    int d, m, y;
    ASSERT_EQ(sscanf(c.from, "%d.%d.%d", &d, &m, &y), 3);
    FixedTimeCalc calc = At(d, m, y, c.hour, c.minute, c.second);
    calc.CalculateDate(c.add, c.days, c.months, c.years, c.hours, c.minutes, c.seconds);
    EXPECT_EQ(Stamp(calc.Target()), c.expected);
    EXPECT_EQ(calc.Target().DayOfWeek, PlatformWeekday(calc.Target()));
}

INSTANTIATE_TEST_SUITE_P(
    MonthsBeforeDaysAndLeapYears, CalculateDateCase,
    ::testing::Values(
        Shift{"31.01.2023", 10, 0, 0, true, 0, 1, 0, 0, 0, 0, "03.03.2023 10:00:00"},
        Shift{"31.01.2024", 10, 0, 0, true, 0, 1, 0, 0, 0, 0, "02.03.2024 10:00:00"},
        Shift{"31.03.2023", 10, 0, 0, false, 0, 1, 0, 0, 0, 0, "03.03.2023 10:00:00"},
        Shift{"31.03.2024", 10, 0, 0, false, 0, 1, 0, 0, 0, 0, "02.03.2024 10:00:00"},
        Shift{"29.02.2024", 10, 0, 0, true, 0, 0, 1, 0, 0, 0, "01.03.2025 10:00:00"},
        Shift{"29.02.2024", 10, 0, 0, false, 0, 0, 1, 0, 0, 0, "01.03.2023 10:00:00"},
        Shift{"29.02.2024", 10, 0, 0, true, 0, 12, 0, 0, 0, 0, "01.03.2025 10:00:00"},
        Shift{"15.06.2024", 10, 0, 0, true, 0, 25, 0, 0, 0, 0, "15.07.2026 10:00:00"},
        Shift{"15.06.2024", 10, 0, 0, false, 0, 25, 0, 0, 0, 0, "15.05.2022 10:00:00"},
        Shift{"01.03.2024", 10, 0, 0, false, 1, 0, 0, 0, 0, 0, "29.02.2024 10:00:00"},
        Shift{"01.03.2023", 10, 0, 0, false, 1, 0, 0, 0, 0, 0, "28.02.2023 10:00:00"},
        Shift{"01.03.1900", 10, 0, 0, false, 1, 0, 0, 0, 0, 0, "28.02.1900 10:00:00"},
        Shift{"01.03.2000", 10, 0, 0, false, 1, 0, 0, 0, 0, 0, "29.02.2000 10:00:00"},
        Shift{"28.02.2023", 10, 0, 0, true, 0, 0, 0, 24, 0, 0, "01.03.2023 10:00:00"}));

INSTANTIATE_TEST_SUITE_P(
    TimeOfDayIntoTheCalendar, CalculateDateCase,
    ::testing::Values(
        Shift{"01.01.2024", 0, 0, 0, false, 0, 0, 0, 0, 0, 1, "31.12.2023 23:59:59"},
        Shift{"31.12.2023", 23, 59, 59, true, 0, 0, 0, 0, 0, 1, "01.01.2024 00:00:00"},
        Shift{"10.05.2024", 23, 0, 0, true, 0, 0, 0, 0, 90, 0, "11.05.2024 00:30:00"},
        Shift{"10.05.2024", 0, 10, 0, true, 0, 0, 0, -1, 0, 0, "09.05.2024 23:10:00"},
        Shift{"10.05.2024", 0, 10, 0, false, 0, 0, 0, 1, 0, 0, "09.05.2024 23:10:00"},
        Shift{"01.01.2024", 0, 0, 0, true, 0, 0, 0, 0, 0, 366 * 86400, "01.01.2025 00:00:00"},
        Shift{"01.01.2000", 0, 0, 0, true, 0, 0, 0, 0, 0, INT_MAX, "19.01.2068 03:14:07"},
        Shift{"01.01.2000", 0, 0, 0, false, 0, 0, 0, 0, 0, INT_MIN, "19.01.2068 03:14:08"},
        Shift{"01.01.2000", 0, 0, 0, true, 0, 0, 0, 0, 0, INT_MIN, "13.12.1931 20:45:52"},
        Shift{"31.12.2099", 23, 59, 59, true, 0, 0, 0, 0, 0, 1, "01.01.2100 00:00:00"}));

TEST(CalculateDate, DateOnlyFormKeepsTimeOfDayAndMilliseconds)
{
    FixedTimeCalc calc = At(31, 12, 2024, 13, 14, 15);
    calc.SetCalcDateValue(MilliSecond, 1500); // never normalised
    calc.CalculateDate(true, 1, 0, 0);
    EXPECT_EQ(Stamp(calc.Target()), "01.01.2025 13:14:15");
    EXPECT_EQ(calc.GetCalcDateValue(MilliSecond), 1500);
    EXPECT_EQ(calc.GetCalcDateValue(DayOfWeek), 3); // Wednesday
    // Arithmetic leaves the object's verdict on its target alone.
    EXPECT_TRUE(calc.IsValidFlag());
}

TEST(CalculateDate, DayCountsAgreeWithTheDifference)
{
    // Two independent walks through the calendar: shifting by n days and
    // measuring the distance back must give n again, and undoing the
    // shift must give the start.
    const int starts[][3] = {{1, 1, 1900}, {28, 2, 1999}, {31, 12, 2023}, {29, 2, 2024}};
    const int offsets[] = {1, 27, 59, 60, 365, 366, 1461, 36524, 36525, 73000};
    for (const auto &s : starts) {
        for (int n : offsets) {
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
    const int extremes[] = {INT_MIN, INT_MIN + 1, -1, 0, 1, INT_MAX - 1, INT_MAX};
    for (int field = 0; field < 6; ++field) {
        for (int v : extremes) {
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
    EXPECT_EQ(late.Target().Year, INT_MAX);
    EXPECT_EQ(Stamp(late.Target()).substr(0, 6), "31.12.");
    FixedTimeCalc early = At(1, 1, INT_MIN, 0, 0, 0);
    early.CalculateDate(false, 1, 0, 0);
    EXPECT_EQ(early.Target().Year, INT_MIN);
}

// --- weekdays ------------------------------------------------------------------

TEST(Weekday, EveryDayMatchesThePlatformCalendar)
{
    // Walk day by day from the first year the platform knows, comparing
    // date and weekday with its own conversion.
    FixedTimeCalc calc = At(1, 1, 1601, 12, 0, 0);
    SYSTEMTIME st = {1601, 1, 0, 1, 12, 0, 0, 0};
    FILETIME ft;
    ASSERT_TRUE(SystemTimeToFileTime(&st, &ft));
    ULARGE_INTEGER ticks = {{ft.dwLowDateTime, ft.dwHighDateTime}};
    const ULONGLONG day = 864000000000ULL;
    int mismatches = 0;
    for (int i = 0; i < 200 * 366 && mismatches < 5; ++i) {
        calc.CalculateDate(true, 1, 0, 0);
        ticks.QuadPart += day;
        ft.dwLowDateTime = ticks.LowPart;
        ft.dwHighDateTime = ticks.HighPart;
        ASSERT_TRUE(FileTimeToSystemTime(&ft, &st));
        const _MYSYSTEMTIME &t = calc.Target();
        if (t.Year != st.wYear || t.Month != st.wMonth || t.Day != st.wDay ||
            t.DayOfWeek != st.wDayOfWeek) {
            ADD_FAILURE() << Stamp(t) << " weekday " << t.DayOfWeek << ", platform " << st.wDay
                          << "." << st.wMonth << "." << st.wYear << " weekday " << st.wDayOfWeek;
            ++mismatches;
        }
        // Jump ahead in bigger steps once in a while to cover 1601-2400.
        if (i % 1000 == 999) {
            calc.CalculateDate(true, 2000, 0, 0);
            ticks.QuadPart += 2000 * day;
        }
    }
}

TEST(Weekday, ProlepticGregorianBefore1601)
{
    struct {
        int day, month, year, weekday;
    } known[] = {{1, 1, 1, 1},    {4, 10, 1582, 1}, {15, 10, 1582, 5}, {1, 3, 1000, 6},
                 {1, 1, 1600, 6}, {1, 1, 0, 6},     {31, 12, 1600, 0}};
    for (const auto &k : known) {
        FixedTimeCalc calc = At(k.day, k.month, k.year);
        calc.CalculateDate(true, 0, 0, 0);
        EXPECT_EQ(calc.GetCalcDateValue(DayOfWeek), k.weekday)
            << k.day << "." << k.month << "." << k.year;
    }
}

TEST(Weekday, ConsecutiveDaysStepByOneEverywhere)
{
    // Across year 0, negative years, the wrap of the 16-bit leap rule and
    // the ends of the 32-bit year the weekday still advances one per day.
    const int years[] = {INT_MIN, -401, -101, -1, 0, 65535, 65536, 100000, INT_MAX - 1};
    for (int year : years) {
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

TEST(CalculateWeekDay, ForwardAndBackwardLandWithinAWeek)
{
    // 13.01.2025 is a Monday; start on each day of that week, at 10:11:12.
    for (int start = 13; start <= 19; ++start) {
        for (int wd = Monday; wd <= Sunday; ++wd) {
            for (bool forward : {true, false}) {
                FixedTimeCalc calc = At(start, 1, 2025, 10, 11, 12);
                calc.CalculateWeekDay(forward, (WeekDays)wd);
                const _MYSYSTEMTIME &t = calc.Target();
                const int moved = t.Day - start;
                EXPECT_EQ((t.DayOfWeek + 6) % 7, wd);
                EXPECT_TRUE(forward ? moved >= 0 && moved <= 6 : moved <= 0 && moved >= -6)
                    << moved;
                EXPECT_EQ(moved == 0, start - 13 == wd);
                EXPECT_EQ(t.Hour * 10000 + t.Minute * 100 + t.Second, 101112);
            }
        }
    }
    FixedTimeCalc tuesday = At(31, 12, 2024);
    tuesday.CalculateWeekDay(true, Monday);
    EXPECT_EQ(Stamp(tuesday.Target()), "06.01.2025 10:00:00");
    tuesday.CalculateWeekDay(false, Tuesday);
    EXPECT_EQ(Stamp(tuesday.Target()), "31.12.2024 10:00:00");
}

TEST(CalculateWeekDay, AnyValueEnds)
{
    const int values[] = {7, 8, -1, 100, INT_MAX, INT_MIN};
    for (int v : values) {
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

// --- day and week of the year ------------------------------------------------

TEST(WeekOfYear, StatedDays)
{
    FixedTimeCalc calc = At(1, 1, 2024);
    EXPECT_EQ(calc.GetDayOfYear(31, 12, 2024), 366);
    EXPECT_EQ(calc.GetDayOfYear(1, 3, 2023), 60);
    EXPECT_EQ(calc.GetDayOfYear(1, 1, 2023), 1);
    EXPECT_EQ(calc.GetDayOfYear(1, INT_MAX, 2024), 367); // no month beyond December
    EXPECT_EQ(calc.GetDayOfYear(INT_MAX, 12, 2024), INT_MAX);
    EXPECT_EQ(calc.GetWeekOfYear(31, 12, 2024), 53); // ISO 8601 would say week 1
    EXPECT_EQ(calc.GetWeekOfYear(1, 1, 2021), 53);
    EXPECT_EQ(calc.GetWeekOfYear(4, 1, 2021), 1);
    EXPECT_EQ(calc.GetWeekOfYear(1, 1, 2024), 1);
    EXPECT_EQ(calc.GetWeeksOfYear(2024), 53);
    EXPECT_EQ(calc.GetWeeksOfYear(2021), 52);
    EXPECT_EQ(calc.GetWeeksOfYear(2020), 53);
    EXPECT_EQ(calc.GetWeeksOfYear(2026), 53);
    EXPECT_GT(calc.GetWeekOfYear(1, 1, INT_MIN), 0);
}

} // namespace
