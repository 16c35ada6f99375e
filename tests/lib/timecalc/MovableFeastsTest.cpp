#include "support/FixedClock.h"

#include <gtest/gtest.h>

#include <limits.h>
#include <string.h>
#include <string>

namespace {

std::string DayMonth(const FixedTimeCalc &calc)
{
    return Stamp(calc.Target()).substr(0, 5);
}

// Easter Sunday by the anonymous Gregorian algorithm (Meeus, Jones,
// Butcher), a different route from the library's, as the test's oracle.
void OracleEaster(int y, int &day, int &month)
{
    const int a = y % 19, b = y / 100, c = y % 100, d = b / 4, e = b % 4;
    const int f = (b + 8) / 25, g = (b - f + 1) / 3, h = (19 * a + b - d - g + 15) % 30;
    const int i = c / 4, k = c % 4, l = (32 + 2 * e + 2 * i - h - k) % 7;
    const int m = (a + 11 * h + 22 * l) / 451;
    month = (h + l - 7 * m + 114) / 31;
    day = (h + l - 7 * m + 114) % 31 + 1;
}

// Signed whole days from the first date to the second, by the difference
// calculation of the same class.
long DaysBetween(int d1, int m1, int y1, int d2, int m2, int y2)
{
    FixedTimeCalc calc(d2, m2, y2, 12, 0, 0);
    calc.Now(d1, m1, y1, 12, 0, 0);
    calc.CalculateDiff();
    const long days = calc.GetDiffValueDaysOnly(Day);
    return calc.CalcDateExpired() ? -days : days;
}

struct Rule {
    SpecialDaysType type;
    int weekday;    // DayOfWeek, 0 = Sunday
    int fromEaster; // days after Easter, for the days that hang on it
    bool hangsOnEaster;
    int first, last; // month * 100 + day
};

const Rule kRules[] = {
    {SchmuDo, 4, -52, true, 101, 1231},     {AscherMittwoch, 3, -46, true, 101, 1231},
    {Palmsonntag, 0, -7, true, 101, 1231},  {Karfreitag, 5, -2, true, 101, 1231},
    {Ostern, 0, 0, true, 101, 1231},        {Ostermontag, 1, 1, true, 101, 1231},
    {Auffahrt, 4, 39, true, 101, 1231},     {Pfingsten, 0, 49, true, 101, 1231},
    {Fronleichnam, 4, 60, true, 101, 1231}, {Muttertag, 0, 0, false, 508, 514},
    {Bettag, 0, 0, false, 915, 921},        {ErsterAdvent, 0, 0, false, 1127, 1203}};

TEST(SpecialDays, KnownDatesAndEasterExceptions)
{
    const char *const y2024[12] = {"08.02", "14.02", "24.03", "29.03", "31.03", "01.04",
                                   "09.05", "19.05", "30.05", "12.05", "15.09", "01.12"};
    FixedTimeCalc calc(1, 1, 2000, 0, 0, 0);
    for (int type = 0; type < 12; ++type) {
        ASSERT_TRUE(calc.SetSpecialDays((SpecialDaysType)type, 2024));
        EXPECT_EQ(DayMonth(calc), y2024[type]) << "type " << type;
        EXPECT_EQ(calc.Target().Year, 2024);
    }
    const struct {
        SpecialDaysType type;
        int year;
        const char *date;
    } cases[] = {{Ostern, 2025, "20.04"}, {Pfingsten, 2025, "08.06"}, {ErsterAdvent, 2025, "30.11"},
                 {Ostern, 1954, "18.04"}, {Ostern, 1981, "19.04"},    {Ostern, 2049, "18.04"},
                 {Ostern, 2076, "19.04"}, {Ostern, 1913, "23.03"},    {Ostern, 2008, "23.03"},
                 {Ostern, 1943, "25.04"}, {Ostern, 2038, "25.04"}};
    for (const auto &c : cases) {
        calc.SetSpecialDays(c.type, c.year);
        EXPECT_EQ(DayMonth(calc), c.date) << "type " << c.type << " " << c.year;
    }
}

TEST(SpecialDays, EveryRuleHoldsFrom1900To2099)
{
    FixedTimeCalc calc(1, 1, 2000, 0, 0, 0);
    for (int year = 1900; year <= 2099; ++year) {
        int easterDay, easterMonth;
        OracleEaster(year, easterDay, easterMonth);
        for (const Rule &r : kRules) {
            ASSERT_TRUE(calc.SetSpecialDays(r.type, year));
            const _MYSYSTEMTIME &t = calc.Target();
            SCOPED_TRACE("type " + std::to_string(r.type) + " " + Stamp(t));
            ASSERT_EQ(t.Year, year);
            ASSERT_EQ(t.DayOfWeek, r.weekday);
            if (r.hangsOnEaster) {
                ASSERT_EQ(DaysBetween(easterDay, easterMonth, year, t.Day, t.Month, year),
                          r.fromEaster);
            }
            EXPECT_TRUE(t.Month * 100 + t.Day >= r.first && t.Month * 100 + t.Day <= r.last);
        }
    }
    // Easter itself is the Gregorian one in every century.
    for (int year = 1583; year <= 4099; ++year) {
        int day, month;
        OracleEaster(year, day, month);
        calc.SetSpecialDays(Ostern, year);
        ASSERT_EQ(calc.Target().Day * 100 + calc.Target().Month, day * 100 + month) << year;
        ASSERT_EQ(calc.Target().DayOfWeek, 0) << year;
    }
}

TEST(SpecialDays, KeepTheCurrentTimeOfDay)
{
    PinnedClock clock(14, 3, 2031, 7, 8, 9, 345);
    ASSERT_TRUE(clock.Active());
    for (int type = 0; type < 12; ++type) {
        CTimeCalc calc;
        calc.SetSpecialDays((SpecialDaysType)type, 2031);
        EXPECT_EQ(calc.GetCalcDateValue(Hour) * 10000 + calc.GetCalcDateValue(Minute) * 100 +
                      calc.GetCalcDateValue(Second),
                  70809);
        EXPECT_EQ(calc.GetCalcDateValue(MilliSecond), 345);
    }
}

TEST(SpecialDays, UnknownTypeChangesNothing)
{
    for (int type : {12, 13, -1, INT_MIN, INT_MAX}) {
        FixedTimeCalc calc(5, 6, 2030, 7, 8, 9);
        const _MYSYSTEMTIME before = calc.Target();
        EXPECT_FALSE(calc.SetSpecialDays((SpecialDaysType)type, 2024)) << type;
        EXPECT_EQ(memcmp(&before, &calc.Target(), sizeof before), 0) << type;
    }
}

TEST(SpecialDays, AnyYearGivesADateOnItsWeekday)
{
    // Years the platform's calendar does not reach, and far beyond; the
    // weekday is the proleptic Gregorian one (02.12.1500 was a Sunday).
    for (int year : {INT_MIN, -1000000, -1, 0, 1, 1000, 1500, 1582, 1600, 2100, 2500, 9999, 65535,
                     65536, INT_MAX}) {
        for (const Rule &r : kRules) {
            FixedTimeCalc calc(1, 1, 2000, 0, 0, 0);
            ASSERT_TRUE(calc.SetSpecialDays(r.type, year));
            const _MYSYSTEMTIME &t = calc.Target();
            EXPECT_EQ(t.Year, year);
            EXPECT_TRUE(t.Month >= 1 && t.Month <= 12 && t.Day >= 1 &&
                        t.Day <= calc.GetDaysOfMonth(t.Month, t.Year))
                << Stamp(t);
            // Days found by stepping to their weekday are on it in any
            // year; the others wherever the calendar is the Gregorian one.
            const bool stepped = r.type != Ostern && r.type != Ostermontag && r.type != Auffahrt &&
                                 r.type != Pfingsten;
            if (stepped || (year >= 0 && year <= 65535)) {
                EXPECT_EQ(t.DayOfWeek, r.weekday) << "type " << r.type << " " << Stamp(t);
            }
        }
    }
    FixedTimeCalc calc(1, 1, 2000, 0, 0, 0);
    calc.SetSpecialDays(ErsterAdvent, 1500);
    EXPECT_EQ(DayMonth(calc), "02.12");
}

} // namespace
