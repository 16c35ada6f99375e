#include "engine/Task.h"
#include "settings/AppData.h"
#include "support/FixedClock.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string StoredTarget(const tSettings &s)
{
    _MYSYSTEMTIME t = {s.Jahr, s.Monat, 0, s.Tag, s.Stunde, s.Minute, s.Sekunde, 0};
    return Stamp(t);
}

// The application object as the program makes it at start-up, with the
// local clock pinned: LaunchTime is the pinned moment.
class TaskTarget : public ::testing::Test {
protected:
    void TearDown() override { DestroyAppData(app); }

    void Start(PinnedClock &clock, int taskState)
    {
        ASSERT_TRUE(clock.Active());
        DestroyAppData(app);
        app = CreateAppData(GetModuleHandleW(nullptr));
        ASSERT_NE(app, nullptr);
        app->Settings.TaskEnabled = true;
        app->Settings.TaskState = taskState;
    }

    void SetTarget(int day, int month, int year, int hour, int minute, int second)
    {
        tSettings &s = app->Settings;
        s.Tag = day, s.Monat = month, s.Jahr = year;
        s.Stunde = hour, s.Minute = minute, s.Sekunde = second;
    }

    // One tick's use of the task: the date object built from the stored
    // target at the pinned moment.
    bool Compute(bool initial)
    {
        const tSettings &s = app->Settings;
        CTimeCalc calc((WORD)s.Tag, (WORD)s.Monat, (WORD)s.Jahr, (WORD)s.Stunde, (WORD)s.Minute,
                       (WORD)s.Sekunde);
        const bool result = ComputeTaskTarget(app, &calc, initial);
        lastExpired = calc.CalcDateExpired();
        return result;
    }

    tAppData *app = nullptr;
    bool lastExpired = false;
};

TEST_F(TaskTarget, SinceProgramStart)
{
    const struct {
        int launch[6]; // day, month, year, hour, minute, second
        int hours, minutes;
        const char *expected;
    } cases[] = {{{6, 1, 2025, 8, 0, 0}, 1, 30, "06.01.2025 09:30:00"},
                 // Across the year end, seconds of the start time kept.
                 {{31, 12, 2025, 23, 0, 17}, 1, 30, "01.01.2026 00:30:17"}};
    for (const auto &c : cases) {
        const int *l = c.launch;
        PinnedClock clock(l[0], l[1], l[2], l[3], l[4], l[5]);
        Start(clock, TASK_SINCE_START);
        app->Settings.Start_Stunde = c.hours;
        app->Settings.Start_Minute = c.minutes;
        EXPECT_TRUE(Compute(true));
        EXPECT_EQ(StoredTarget(app->Settings), c.expected);
        EXPECT_FALSE(lastExpired);
    }

    // Later checks leave the target alone even when the clock moved on.
    PinnedClock clock(6, 1, 2025, 9, 45, 0);
    SetTarget(1, 1, 2030, 0, 0, 0);
    EXPECT_TRUE(Compute(false));
    EXPECT_EQ(StoredTarget(app->Settings), "01.01.2030 00:00:00");
}

TEST_F(TaskTarget, SinceProgramStartWithoutIntervalIsNow)
{
    PinnedClock clock(6, 1, 2025, 8, 0, 0);
    Start(clock, TASK_SINCE_START);
    clock.Set(6, 1, 2025, 8, 0, 5); // the first tick comes a little later
    EXPECT_TRUE(Compute(true));
    EXPECT_EQ(StoredTarget(app->Settings), "06.01.2025 08:00:05");
    EXPECT_TRUE(lastExpired) << "the expiry message follows";
}

TEST_F(TaskTarget, SinceLastCountDown)
{
    PinnedClock clock(6, 1, 2025, 11, 59, 59);
    Start(clock, TASK_SINCE_LAST);
    app->Settings.Count_Stunde = 0;
    app->Settings.Count_Minute = 15;
    SetTarget(6, 1, 2025, 12, 0, 0);
    EXPECT_TRUE(Compute(false)) << "not reached yet";
    EXPECT_EQ(StoredTarget(app->Settings), "06.01.2025 12:00:00");

    clock.Set(6, 1, 2025, 12, 0, 0);
    EXPECT_TRUE(Compute(false));
    EXPECT_EQ(StoredTarget(app->Settings), "06.01.2025 12:15:00");

    // Away from 11:00 to 13:00: 12:00 + 15 minutes has passed as well.
    SetTarget(6, 1, 2025, 12, 0, 0);
    clock.Set(6, 1, 2025, 13, 0, 0);
    EXPECT_FALSE(Compute(true));
    EXPECT_EQ(StoredTarget(app->Settings), "06.01.2025 12:00:00");

    // Chained across midnight and the year end.
    SetTarget(31, 12, 2025, 23, 50, 0);
    clock.Set(31, 12, 2025, 23, 55, 0);
    app->Settings.Count_Minute = 20;
    EXPECT_TRUE(Compute(false));
    EXPECT_EQ(StoredTarget(app->Settings), "01.01.2026 00:10:00");
}

TEST_F(TaskTarget, OnWeekdaysTheNextChosenDayWhoseTimeLiesAhead)
{
    const struct {
        int day, month, year, hour, minute; // now; 06.01.2025 is a Monday
        const char *chosen;                 // Monday to Sunday, 'x' where chosen
        const char *expected;
    } cases[] = {{6, 1, 2025, 6, 59, "x.x....", "06.01.2025 07:00:00"},
                 {6, 1, 2025, 7, 0, "x.x....", "08.01.2025 07:00:00"},
                 {9, 1, 2025, 6, 0, "x.x....", "13.01.2025 07:00:00"},
                 {7, 1, 2025, 8, 0, ".x.....", "14.01.2025 07:00:00"},
                 // Only Sunday, asked on Saturday evening: into the new year.
                 {31, 12, 2022, 20, 0, "......x", "01.01.2023 07:00:00"},
                 // No weekday chosen: the time of day a week from today.
                 {26, 2, 2024, 9, 0, ".......", "04.03.2024 07:00:00"}};
    for (const auto &c : cases) {
        PinnedClock clock(c.day, c.month, c.year, c.hour, c.minute, 30);
        Start(clock, TASK_WEEKDAYS);
        tSettings &s = app->Settings;
        bool *days[7] = {&s.IsMo, &s.IsDi, &s.IsMi, &s.IsDo, &s.IsFr, &s.IsSa, &s.IsSo};
        for (int i = 0; i < 7; ++i)
            *days[i] = c.chosen[i] == 'x';
        s.Jeweils_Stunde = 7;
        s.Jeweils_Minute = 0;
        SetTarget(1, 1, 2020, 0, 0, 0); // a past target, ignored by this mode
        EXPECT_TRUE(Compute(false));
        EXPECT_EQ(StoredTarget(s), c.expected) << c.chosen << " from " << c.day << "." << c.month;
        EXPECT_FALSE(lastExpired);
    }
}

TEST_F(TaskTarget, WeekdaysRenewAnObjectBuiltFromAnInvalidTarget)
{
    PinnedClock clock(6, 1, 2025, 6, 0, 0);
    Start(clock, TASK_WEEKDAYS);
    app->Settings.IsMo = true;
    app->Settings.Jeweils_Stunde = 7;
    CTimeCalc calc(31, 2, 2025, 0, 0); // no such day
    ASSERT_TRUE(calc.CalcDateExpired());
    EXPECT_TRUE(ComputeTaskTarget(app, &calc, false));
    EXPECT_FALSE(calc.CalcDateExpired()) << "the object now counts as valid";
    EXPECT_EQ(StoredTarget(app->Settings), "06.01.2025 07:00:00");
}

TEST_F(TaskTarget, OtherModesChangeNothing)
{
    PinnedClock clock(6, 1, 2025, 12, 0, 0);
    for (int mode : {0, 4, -1}) {
        Start(clock, mode);
        SetTarget(1, 1, 2020, 0, 0, 0);
        EXPECT_TRUE(Compute(true));
        EXPECT_EQ(StoredTarget(app->Settings), "01.01.2020 00:00:00");
    }
}

} // namespace
