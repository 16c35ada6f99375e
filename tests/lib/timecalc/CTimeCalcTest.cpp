#include "support/FixedClock.h"

#include <gtest/gtest.h>

#include <array>

namespace {

// Years, months, days, hours, minutes, seconds, then the days-only total.
using Diff = std::array<long, 7>;

Diff ReadDiff(CTimeCalc &calc)
{
    return {calc.GetDiffValue(Year),       calc.GetDiffValue(Month),  calc.GetDiffValue(Day),
            calc.GetDiffValue(Hour),       calc.GetDiffValue(Minute), calc.GetDiffValue(Second),
            calc.GetDiffValueDaysOnly(Day)};
}

const Diff kNoDiff = {0, 0, 0, 0, 0, 0, 0};

TEST(TimeCalcValidation, ConstructorAndCalcDateIsValidAgreeOnTheLimits)
{
    const struct {
        int day, month, year, hour, minute, second;
        bool valid;
    } cases[] = {{29, 2, 2024, 0, 0, 0, true},
                 {29, 2, 2000, 0, 0, 0, true},
                 {29, 2, 2023, 0, 0, 0, false},
                 {29, 2, 1900, 0, 0, 0, false},
                 {31, 12, 2099, 23, 59, 59, true},
                 {1, 1, 1900, 0, 0, 0, true},
                 {1, 1, 2100, 0, 0, 0, false},
                 {31, 12, 1899, 0, 0, 0, false},
                 {1, 13, 2024, 0, 0, 0, false},
                 {31, 4, 2024, 0, 0, 0, false},
                 {0, 5, 2024, 0, 0, 0, false},
                 {1, 1, 2024, 24, 0, 0, false},
                 {1, 1, 2024, 0, 60, 0, false},
                 {1, 1, 2024, 0, 0, 60, false},
                 // A negative field passed as WORD wraps to a large value.
                 {1, 1, 2024, -1, 0, 0, false},
                 {-1, 1, 2024, 0, 0, 0, false}};
    for (const auto &c : cases) {
        FixedTimeCalc calc(c.day, c.month, c.year, c.hour, c.minute, c.second);
        EXPECT_EQ(calc.IsValidFlag(), c.valid) << Stamp(calc.Target());
        EXPECT_EQ(calc.CalcDateIsValid(), c.valid) << Stamp(calc.Target());
    }
}

TEST(TimeCalcValidation, InvalidTargetReadsZerosAndCountsAsExpiredEvenWhenRepaired)
{
    FixedTimeCalc calc(1, 1, 2100, 0, 0, 0);
    calc.Now(1, 1, 2024, 0, 0, 0);
    EXPECT_TRUE(calc.CalcDateExpired());
    EXPECT_TRUE(calc.CalculateDiff());
    EXPECT_EQ(ReadDiff(calc), kNoDiff);
    EXPECT_EQ(calc.GetDiffValueDaysOnly(Hour), 0);

    // The object keeps its verdict from construction.
    FixedTimeCalc repaired(31, 2, 2030, 10, 0, 0);
    repaired.Now(1, 1, 2030, 10, 0, 0);
    repaired.SetCalcDateValue(Day, 28);
    EXPECT_TRUE(repaired.CalcDateIsValid());
    EXPECT_TRUE(repaired.CalcDateExpired());
    repaired.CalculateDiff();
    EXPECT_EQ(ReadDiff(repaired), kNoDiff);
}

// --- difference ---------------------------------------------------------------

struct DiffCase {
    int now[6]; // day, month, year, hour, minute, second
    int target[6];
    Diff diff;
    bool expired;
};

class Difference : public ::testing::TestWithParam<DiffCase> {};

TEST_P(Difference, ComponentsTotalAndExpiry)
{
    const DiffCase &c = GetParam();
    const int *t = c.target, *n = c.now;
    FixedTimeCalc calc(t[0], t[1], t[2], t[3], t[4], t[5]);
    calc.Now(n[0], n[1], n[2], n[3], n[4], n[5]);
    ASSERT_TRUE(calc.CalculateDiff());
    EXPECT_EQ(ReadDiff(calc), c.diff);
    EXPECT_EQ(calc.CalcDateExpired(), c.expired);
}

INSTANTIATE_TEST_SUITE_P(
    WorkedExamples, Difference,
    ::testing::Values(
        DiffCase{{15, 1, 2024, 10, 0, 0}, {15, 1, 2025, 10, 0, 0}, {1, 0, 0, 0, 0, 0, 366}, false},
        DiffCase{{31, 1, 2023, 10, 0, 0}, {1, 3, 2023, 10, 0, 0}, {0, 1, 1, 0, 0, 0, 29}, false},
        DiffCase{{1, 1, 2024, 10, 0, 0}, {2, 1, 2024, 9, 0, 0}, {0, 0, 0, 23, 0, 0, 0}, false},
        DiffCase{{10, 5, 2024, 10, 0, 0}, {10, 5, 2024, 9, 59, 59}, {0, 0, 0, 0, 0, 1, 0}, true}));

INSTANTIATE_TEST_SUITE_P(
    EdgeCases, Difference,
    ::testing::Values(
        // Target exactly now: nothing left, and reached; then one second
        // ahead and one second past.
        DiffCase{{6, 12, 2026, 17, 30, 15}, {6, 12, 2026, 17, 30, 15}, kNoDiff, true},
        DiffCase{
            {6, 12, 2026, 17, 30, 14}, {6, 12, 2026, 17, 30, 15}, {0, 0, 0, 0, 0, 1, 0}, false},
        DiffCase{{6, 12, 2026, 17, 30, 16}, {6, 12, 2026, 17, 30, 15}, {0, 0, 0, 0, 0, 1, 0}, true},
        // One second ahead across a year end; hours across midnight.
        DiffCase{{31, 12, 2024, 23, 59, 59}, {1, 1, 2025, 0, 0, 0}, {0, 0, 0, 0, 0, 1, 0}, false},
        DiffCase{{31, 12, 2024, 23, 0, 0}, {1, 1, 2025, 1, 0, 0}, {0, 0, 0, 2, 0, 0, 0}, false},
        // The past mirrors the future; only expiry tells them apart.
        DiffCase{{1, 3, 2023, 10, 0, 0}, {31, 1, 2023, 10, 0, 0}, {0, 1, 1, 0, 0, 0, 29}, true},
        // 1 day 2:03:04, the face's reference value.
        DiffCase{{6, 12, 2026, 10, 0, 0}, {7, 12, 2026, 12, 3, 4}, {0, 0, 1, 2, 3, 4, 1}, false},
        // Twelve collected months make a year (one carried from the days).
        DiffCase{{20, 1, 2024, 0, 0, 0}, {20, 1, 2025, 0, 0, 1}, {1, 0, 0, 0, 0, 1, 366}, false},
        DiffCase{{1, 1, 1999, 0, 0, 0}, {1, 1, 2004, 0, 0, 0}, {5, 0, 0, 0, 0, 0, 1826}, false},
        DiffCase{{1, 1, 1900, 0, 0, 0},
                 {31, 12, 2099, 23, 59, 59},
                 {199, 11, 30, 23, 59, 59, 73048},
                 false},
        // Days are measured against the earlier month (February 2024: 29).
        DiffCase{{15, 2, 2024, 12, 0, 0}, {14, 3, 2024, 11, 0, 0}, {0, 0, 27, 23, 0, 0, 27}, false},
        DiffCase{{29, 2, 2024, 0, 0, 0}, {29, 3, 2024, 0, 0, 0}, {0, 1, 0, 0, 0, 0, 29}, false}));

TEST(TimeCalcDifference, RecomputingStartsFromZero)
{
    FixedTimeCalc calc(1, 1, 2030, 0, 0, 0);
    calc.Now(1, 1, 2025, 0, 0, 0);
    calc.CalculateDiff();
    calc.Now(31, 12, 2029, 23, 59, 58);
    calc.CalculateDiff();
    EXPECT_EQ(ReadDiff(calc), (Diff{0, 0, 0, 0, 0, 2, 0}));
}

TEST(TimeCalcDifference, UnknownComponentsReadZero)
{
    FixedTimeCalc calc(15, 1, 2025, 10, 0, 0);
    calc.Now(15, 1, 2024, 9, 0, 0);
    calc.CalculateDiff();
    EXPECT_EQ(calc.GetDiffValueDaysOnly(Hour), 1);
    for (CalcValueType type : {Month, Year, MilliSecond, DayOfWeek})
        EXPECT_EQ(calc.GetDiffValueDaysOnly(type), 0) << type;
    EXPECT_EQ(calc.GetDiffValue(MilliSecond), 0);
    EXPECT_EQ(calc.GetDiffValue(DayOfWeek), 0);
}

TEST(TimeCalcFields, TargetFieldsAreWrittenWithoutChecksAndLeapYearsCount)
{
    FixedTimeCalc calc(1, 1, 2030, 0, 0, 0);
    calc.SetCalcDateValue(Month, 14);
    calc.SetCalcDateValue(static_cast<CalcValueType>(8), 77);
    EXPECT_EQ(calc.GetCalcDateValue(Month), 14);
    EXPECT_EQ(calc.GetCalcDateValue(static_cast<CalcValueType>(8)), 0);
    EXPECT_EQ(calc.GetCurrentValue(static_cast<CalcValueType>(-1)), 0);
    EXPECT_TRUE(calc.IsValidFlag()) << "writing fields never changes the verdict";
    EXPECT_FALSE(calc.CalcDateIsValid());

    EXPECT_EQ(calc.GetDaysOfMonth(2, 2024) + calc.GetDaysOfMonth(2, 2000), 58);
    EXPECT_EQ(calc.GetDaysOfMonth(2, 1900), 28);
    EXPECT_EQ(calc.GetDaysOfMonth(0, 2024) + calc.GetDaysOfMonth(13, 2024), 0);
    EXPECT_EQ(calc.GetDaysOfYear(2100), 365);
}

// --- the real clock ----------------------------------------------------------

TEST(TimeCalcClock, ConstructorsReadTheLocalClock)
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

    // The five-value form keeps the current second.
    CTimeCalc noSecond(1, 1, 2030, 12, 30);
    EXPECT_EQ(noSecond.GetCalcDateValue(Second), noSecond.GetCurrentValue(Second));
    EXPECT_EQ(noSecond.GetCalcDateValue(Minute), 30);
}

} // namespace
