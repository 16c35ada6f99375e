#include "support/FixedClock.h"

#include <gtest/gtest.h>

namespace {

struct Diff {
    long years, months, days, hours, minutes, seconds, totalDays;
};

Diff ReadDiff(CTimeCalc &calc)
{
    return {calc.GetDiffValue(Year),       calc.GetDiffValue(Month),  calc.GetDiffValue(Day),
            calc.GetDiffValue(Hour),       calc.GetDiffValue(Minute), calc.GetDiffValue(Second),
            calc.GetDiffValueDaysOnly(Day)};
}

void ExpectDiff(const Diff &d, long y, long mo, long dd, long h, long mi, long s, long total)
{
    EXPECT_EQ(d.years, y);
    EXPECT_EQ(d.months, mo);
    EXPECT_EQ(d.days, dd);
    EXPECT_EQ(d.hours, h);
    EXPECT_EQ(d.minutes, mi);
    EXPECT_EQ(d.seconds, s);
    EXPECT_EQ(d.totalDays, total);
}

// --- validation ------------------------------------------------------------

struct ValidityCase {
    int day, month, year, hour, minute, second;
    bool valid;
};

class TargetValidity : public ::testing::TestWithParam<ValidityCase> {};

TEST_P(TargetValidity, ConstructorAndCalcDateIsValidAgree)
{
    const ValidityCase &c = GetParam();
    FixedTimeCalc calc(c.day, c.month, c.year, c.hour, c.minute, c.second);
    EXPECT_EQ(calc.IsValidFlag(), c.valid);
    EXPECT_EQ(calc.CalcDateIsValid(), c.valid);
}

INSTANTIATE_TEST_SUITE_P(
    CalendarAndClockLimits, TargetValidity,
    ::testing::Values(
        ValidityCase{29, 2, 2024, 0, 0, 0, true}, ValidityCase{29, 2, 2000, 0, 0, 0, true},
        ValidityCase{29, 2, 2023, 0, 0, 0, false}, ValidityCase{29, 2, 1900, 0, 0, 0, false},
        ValidityCase{31, 12, 2099, 23, 59, 59, true}, ValidityCase{1, 1, 1900, 0, 0, 0, true},
        ValidityCase{1, 1, 2100, 0, 0, 0, false}, ValidityCase{31, 12, 1899, 0, 0, 0, false},
        ValidityCase{1, 0, 2024, 0, 0, 0, false}, ValidityCase{1, 13, 2024, 0, 0, 0, false},
        ValidityCase{0, 5, 2024, 0, 0, 0, false}, ValidityCase{31, 4, 2024, 0, 0, 0, false},
        ValidityCase{30, 4, 2024, 0, 0, 0, true}, ValidityCase{1, 1, 2024, 24, 0, 0, false},
        ValidityCase{1, 1, 2024, 0, 60, 0, false}, ValidityCase{1, 1, 2024, 0, 0, 60, false},
        // A negative field passed as WORD wraps to a large value.
        ValidityCase{1, 1, 2024, -1, 0, 0, false}, ValidityCase{-1, 1, 2024, 0, 0, 0, false}));

TEST(TimeCalcValidation, RepairedTargetStaysInvalidForTheObject)
{
    FixedTimeCalc calc(31, 2, 2030, 10, 0, 0);
    calc.Now(1, 1, 2030, 10, 0, 0);
    ASSERT_FALSE(calc.IsValidFlag());
    calc.SetCalcDateValue(Day, 28);
    EXPECT_TRUE(calc.CalcDateIsValid());
    // The object keeps its verdict from construction.
    EXPECT_TRUE(calc.CalcDateExpired());
    EXPECT_TRUE(calc.CalculateDiff());
    ExpectDiff(ReadDiff(calc), 0, 0, 0, 0, 0, 0, 0);
}

TEST(TimeCalcValidation, InvalidTargetReadsZerosAndCountsAsExpired)
{
    FixedTimeCalc calc(1, 1, 2100, 0, 0, 0);
    calc.Now(1, 1, 2024, 0, 0, 0);
    EXPECT_TRUE(calc.CalcDateExpired());
    EXPECT_TRUE(calc.CalculateDiff());
    ExpectDiff(ReadDiff(calc), 0, 0, 0, 0, 0, 0, 0);
    EXPECT_EQ(calc.GetDiffValueDaysOnly(Hour), 0);
}

// --- difference ---------------------------------------------------------------

struct DiffCase {
    int now[6]; // day, month, year, hour, minute, second
    int target[6];
    long years, months, days, hours, minutes, seconds, total;
    bool expired;
};

class Difference : public ::testing::TestWithParam<DiffCase> {};

TEST_P(Difference, ComponentsTotalAndExpiry)
{
    const DiffCase &c = GetParam();
    FixedTimeCalc calc(c.target[0], c.target[1], c.target[2], c.target[3], c.target[4],
                       c.target[5]);
    calc.Now(c.now[0], c.now[1], c.now[2], c.now[3], c.now[4], c.now[5]);
    ASSERT_TRUE(calc.CalculateDiff());
    ExpectDiff(ReadDiff(calc), c.years, c.months, c.days, c.hours, c.minutes, c.seconds, c.total);
    EXPECT_EQ(calc.CalcDateExpired(), c.expired);
}

INSTANTIATE_TEST_SUITE_P(
    WorkedExamples, Difference,
    ::testing::Values(
        DiffCase{{15, 1, 2024, 10, 0, 0}, {15, 1, 2025, 10, 0, 0}, 1, 0, 0, 0, 0, 0, 366, false},
        DiffCase{{31, 1, 2023, 10, 0, 0}, {1, 3, 2023, 10, 0, 0}, 0, 1, 1, 0, 0, 0, 29, false},
        DiffCase{{1, 1, 2024, 10, 0, 0}, {2, 1, 2024, 9, 0, 0}, 0, 0, 0, 23, 0, 0, 0, false},
        DiffCase{{10, 5, 2024, 10, 0, 0}, {10, 5, 2024, 9, 59, 59}, 0, 0, 0, 0, 0, 1, 0, true}));

INSTANTIATE_TEST_SUITE_P(
    EdgeCases, Difference,
    ::testing::Values(
        // Target exactly now: nothing left, and reached.
        DiffCase{{6, 12, 2026, 17, 30, 15}, {6, 12, 2026, 17, 30, 15}, 0, 0, 0, 0, 0, 0, 0, true},
        // One second ahead on the same date, and one second after it.
        DiffCase{{6, 12, 2026, 17, 30, 14}, {6, 12, 2026, 17, 30, 15}, 0, 0, 0, 0, 0, 1, 0, false},
        DiffCase{{6, 12, 2026, 17, 30, 16}, {6, 12, 2026, 17, 30, 15}, 0, 0, 0, 0, 0, 1, 0, true},
        // One second ahead across midnight and across a year end.
        DiffCase{{31, 12, 2024, 23, 59, 59}, {1, 1, 2025, 0, 0, 0}, 0, 0, 0, 0, 0, 1, 0, false},
        DiffCase{{31, 12, 2024, 23, 0, 0}, {1, 1, 2025, 1, 0, 0}, 0, 0, 0, 2, 0, 0, 0, false},
        // The past mirrors the future; only expiry tells them apart.
        DiffCase{{1, 3, 2023, 10, 0, 0}, {31, 1, 2023, 10, 0, 0}, 0, 1, 1, 0, 0, 0, 29, true},
        DiffCase{{2, 1, 2024, 9, 0, 0}, {1, 1, 2024, 10, 0, 0}, 0, 0, 0, 23, 0, 0, 0, true},
        // 1 day 2:03:04, the face's reference value.
        DiffCase{{6, 12, 2026, 10, 0, 0}, {7, 12, 2026, 12, 3, 4}, 0, 0, 1, 2, 3, 4, 1, false},
        // Twelve collected months make a year (one month carried from the
        // days, eleven walked).
        DiffCase{{20, 1, 2024, 0, 0, 0}, {20, 1, 2025, 0, 0, 1}, 1, 0, 0, 0, 0, 1, 366, false},
        // Several whole years, leap days counted in the total.
        DiffCase{{1, 1, 1999, 0, 0, 0}, {1, 1, 2004, 0, 0, 0}, 5, 0, 0, 0, 0, 0, 1826, false},
        // Whole calendar span of the supported range.
        DiffCase{{1, 1, 1900, 0, 0, 0},
                 {31, 12, 2099, 23, 59, 59},
                 199,
                 11,
                 30,
                 23,
                 59,
                 59,
                 73048,
                 false},
        // Days are measured against the earlier month (February 2024: 29).
        DiffCase{{15, 2, 2024, 12, 0, 0}, {14, 3, 2024, 11, 0, 0}, 0, 0, 27, 23, 0, 0, 27, false},
        DiffCase{{29, 2, 2024, 0, 0, 0}, {29, 3, 2024, 0, 0, 0}, 0, 1, 0, 0, 0, 0, 29, false}));

TEST(TimeCalcDifference, RecomputingStartsFromZero)
{
    FixedTimeCalc calc(1, 1, 2030, 0, 0, 0);
    calc.Now(1, 1, 2025, 0, 0, 0);
    calc.CalculateDiff();
    calc.Now(31, 12, 2029, 23, 59, 58);
    calc.CalculateDiff();
    ExpectDiff(ReadDiff(calc), 0, 0, 0, 0, 0, 2, 0);
}

TEST(TimeCalcDifference, DaysOnlyReadingSkipsMonthsAndYears)
{
    FixedTimeCalc calc(15, 1, 2025, 10, 0, 0);
    calc.Now(15, 1, 2024, 9, 0, 0);
    calc.CalculateDiff();
    EXPECT_EQ(calc.GetDiffValueDaysOnly(Day), 366);
    EXPECT_EQ(calc.GetDiffValueDaysOnly(Hour), 1);
    EXPECT_EQ(calc.GetDiffValueDaysOnly(Month), 0);
    EXPECT_EQ(calc.GetDiffValueDaysOnly(Year), 0);
    EXPECT_EQ(calc.GetDiffValueDaysOnly(MilliSecond), 0);
    EXPECT_EQ(calc.GetDiffValue(Year), 1);
    EXPECT_EQ(calc.GetDiffValue(MilliSecond), 0);
    EXPECT_EQ(calc.GetDiffValue(DayOfWeek), 0);
}

// --- readers, writers, calendar --------------------------------------------

TEST(TimeCalcFields, SetAndGetTargetFieldsWithoutChecks)
{
    FixedTimeCalc calc(1, 1, 2030, 0, 0, 0);
    calc.SetCalcDateValue(Month, 14);
    calc.SetCalcDateValue(Day, -3);
    calc.SetCalcDateValue(MilliSecond, 999);
    calc.SetCalcDateValue(DayOfWeek, 6);
    calc.SetCalcDateValue(static_cast<CalcValueType>(8), 77);
    EXPECT_EQ(calc.GetCalcDateValue(Month), 14);
    EXPECT_EQ(calc.GetCalcDateValue(Day), -3);
    EXPECT_EQ(calc.GetCalcDateValue(MilliSecond), 999);
    EXPECT_EQ(calc.GetCalcDateValue(DayOfWeek), 6);
    EXPECT_EQ(calc.GetCalcDateValue(static_cast<CalcValueType>(8)), 0);
    EXPECT_EQ(calc.GetCurrentValue(static_cast<CalcValueType>(-1)), 0);
    EXPECT_TRUE(calc.IsValidFlag()) << "writing fields never changes the verdict";
    EXPECT_FALSE(calc.CalcDateIsValid());
}

TEST(TimeCalcFields, YearLimitsAreFixed)
{
    CTimeCalc calc;
    EXPECT_EQ(calc.MinYear, 1900);
    EXPECT_EQ(calc.MaxYear, 2099);
}

TEST(TimeCalcCalendar, MonthAndYearLengths)
{
    CTimeCalc calc;
    const int common[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    for (int m = 1; m <= 12; ++m)
        EXPECT_EQ(calc.GetDaysOfMonth(m, 2023), common[m - 1]) << m;
    EXPECT_EQ(calc.GetDaysOfMonth(2, 2024), 29);
    EXPECT_EQ(calc.GetDaysOfMonth(2, 2000), 29);
    EXPECT_EQ(calc.GetDaysOfMonth(2, 1900), 28);
    EXPECT_EQ(calc.GetDaysOfMonth(0, 2024), 0);
    EXPECT_EQ(calc.GetDaysOfMonth(13, 2024), 0);
    EXPECT_EQ(calc.GetDaysOfYear(2024), 366);
    EXPECT_EQ(calc.GetDaysOfYear(2100), 365);
    EXPECT_EQ(calc.GetDaysOfYear(2000), 366);
}

// --- the real clock ----------------------------------------------------------

TEST(TimeCalcClock, FiveValueConstructorKeepsTheCurrentSecond)
{
    CTimeCalc calc(1, 1, 2030, 12, 30);
    EXPECT_EQ(calc.GetCalcDateValue(Second), calc.GetCurrentValue(Second));
    EXPECT_EQ(calc.GetCalcDateValue(Minute), 30);
    CTimeCalc withSecond(1, 1, 2030, 12, 30, 45);
    EXPECT_EQ(withSecond.GetCalcDateValue(Second), 45);
}

TEST(TimeCalcClock, DefaultObjectTargetsNowAndReadsTheLocalClock)
{
    SYSTEMTIME before;
    GetLocalTime(&before);
    CTimeCalc calc;
    EXPECT_TRUE(calc.CalcDateIsValid());
    // Unless the test straddles midnight of New Year's Eve, the year matches.
    EXPECT_NEAR(calc.GetCurrentValue(Year), before.wYear, 1);
    calc.CalculateDiff();
    // The two clock readings lie at most a second apart.
    EXPECT_LE(calc.GetDiffValueDaysOnly(Day) * 86400 + calc.GetDiffValue(Second), 1);

    calc.SetCalcDateValue(Year, 2001);
    calc.ResetCalcTime();
    EXPECT_EQ(calc.GetCalcDateValue(Year), calc.GetCurrentValue(Year));
}

} // namespace
