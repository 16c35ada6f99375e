// Proves the targets the scheduled task computes, each mode on the library's
// clock pinned to chosen moments: after program start, after the previous
// target, on chosen weekdays; across midnight and the year end, and what
// the other modes leave alone.
#include "engine/Task.h"
#include "settings/AppData.h"
#include "support/FixedClock.h"

#include <gtest/gtest.h>

#include <stdio.h>

namespace {

struct Moment {
    int v[6] = {}; // day, month, year, hour, minute, second
    explicit Moment(const char *text)
    {
        sscanf(text, "%d.%d.%d %d:%d:%d", &v[0], &v[1], &v[2], &v[3], &v[4], &v[5]);
    }
};

TEST(Task, EachModeComputesItsTarget)
{
    const struct {
        const char *name;
        int mode;
        const char *start, *now; // the program's start; the tick's moment
        bool initial;            // the start-up tick
        const char *target;      // stored before
        int hour, minute;        // the mode's interval or time of day
        const char *days;        // Monday to Sunday, 'x' where chosen
        const char *expected;
        bool result, expired;
    } rows[] = {
        {"since start", TASK_SINCE_START, "06.01.2025 08:00:00", "06.01.2025 08:00:00", true,
         "01.01.2020 00:00:00", 1, 30, "", "06.01.2025 09:30:00", true, false},
        {"since start, across the year end", TASK_SINCE_START, "31.12.2025 23:00:17",
         "31.12.2025 23:00:17", true, "01.01.2020 00:00:00", 1, 30, "", "01.01.2026 00:30:17", true,
         false},
        {"since start, later ticks keep the target", TASK_SINCE_START, "06.01.2025 08:00:00",
         "06.01.2025 09:45:00", false, "01.01.2030 00:00:00", 1, 30, "", "01.01.2030 00:00:00",
         true, false},
        {"since start, no interval: now", TASK_SINCE_START, "06.01.2025 08:00:00",
         "06.01.2025 08:00:05", true, "01.01.2020 00:00:00", 0, 0, "", "06.01.2025 08:00:05", true,
         true},
        {"since last, not reached", TASK_SINCE_LAST, "06.01.2025 11:00:00", "06.01.2025 11:59:59",
         false, "06.01.2025 12:00:00", 0, 15, "", "06.01.2025 12:00:00", true, false},
        {"since last, reached", TASK_SINCE_LAST, "06.01.2025 11:00:00", "06.01.2025 12:00:00",
         false, "06.01.2025 12:00:00", 0, 15, "", "06.01.2025 12:15:00", true, false},
        {"since last, away longer than the interval", TASK_SINCE_LAST, "06.01.2025 11:00:00",
         "06.01.2025 13:00:00", true, "06.01.2025 12:00:00", 0, 15, "", "06.01.2025 12:00:00",
         false, true},
        {"since last, across the year end", TASK_SINCE_LAST, "31.12.2025 23:00:00",
         "31.12.2025 23:55:00", false, "31.12.2025 23:50:00", 0, 20, "", "01.01.2026 00:10:00",
         true, false},
        // 06.01.2025 is a Monday.
        {"Mon+Wed, Monday before", TASK_WEEKDAYS, "06.01.2025 06:59:30", "06.01.2025 06:59:30",
         false, "01.01.2020 00:00:00", 7, 0, "x.x....", "06.01.2025 07:00:00", true, false},
        {"Mon+Wed, Monday on the minute", TASK_WEEKDAYS, "06.01.2025 07:00:30",
         "06.01.2025 07:00:30", false, "01.01.2020 00:00:00", 7, 0, "x.x....",
         "08.01.2025 07:00:00", true, false},
        {"Mon+Wed, Thursday", TASK_WEEKDAYS, "09.01.2025 06:00:30", "09.01.2025 06:00:30", false,
         "01.01.2020 00:00:00", 7, 0, "x.x....", "13.01.2025 07:00:00", true, false},
        {"Tuesday, Tuesday after", TASK_WEEKDAYS, "07.01.2025 08:00:30", "07.01.2025 08:00:30",
         false, "01.01.2020 00:00:00", 7, 0, ".x.....", "14.01.2025 07:00:00", true, false},
        {"Sunday, Saturday evening: a new year", TASK_WEEKDAYS, "31.12.2022 20:00:30",
         "31.12.2022 20:00:30", false, "01.01.2020 00:00:00", 7, 0, "......x",
         "01.01.2023 07:00:00", true, false},
        {"no day: a week from today", TASK_WEEKDAYS, "26.02.2024 09:00:30", "26.02.2024 09:00:30",
         false, "01.01.2020 00:00:00", 7, 0, ".......", "04.03.2024 07:00:00", true, false},
        {"Monday, from a target of no such day", TASK_WEEKDAYS, "06.01.2025 06:00:00",
         "06.01.2025 06:00:00", false, "31.02.2025 00:00:00", 7, 0, "x......",
         "06.01.2025 07:00:00", true, false},
        {"mode 0", 0, "06.01.2025 12:00:00", "06.01.2025 12:00:00", true, "01.01.2020 00:00:00", 1,
         0, "xxxxxxx", "01.01.2020 00:00:00", true, true},
        {"mode 4", 4, "06.01.2025 12:00:00", "06.01.2025 12:00:00", true, "01.01.2020 00:00:00", 1,
         0, "xxxxxxx", "01.01.2020 00:00:00", true, true},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        const Moment start(row.start), now(row.now), target(row.target);
        const int *l = start.v, *n = now.v, *t = target.v;
        PinnedClock clock(l[0], l[1], l[2], l[3], l[4], l[5]);
        ASSERT_TRUE(clock.Active());
        tAppData *app = CreateAppData(GetModuleHandleW(nullptr)); // takes the start time
        clock.Set(n[0], n[1], n[2], n[3], n[4], n[5]);
        tSettings &s = app->Settings;
        s.TaskEnabled = true, s.TaskState = row.mode;
        s.Start_Stunde = s.Count_Stunde = s.Jeweils_Stunde = row.hour;
        s.Start_Minute = s.Count_Minute = s.Jeweils_Minute = row.minute;
        bool *days[7] = {&s.IsMo, &s.IsDi, &s.IsMi, &s.IsDo, &s.IsFr, &s.IsSa, &s.IsSo};
        for (int i = 0; i < 7; ++i)
            *days[i] = row.days[0] && row.days[i] == 'x';
        s.Tag = t[0], s.Monat = t[1], s.Jahr = t[2], s.Stunde = t[3], s.Minute = t[4];
        s.Sekunde = t[5];
        // As a tick builds it from the stored target.
        CTimeCalc calc(WORD(s.Tag), WORD(s.Monat), WORD(s.Jahr), WORD(s.Stunde), WORD(s.Minute),
                       WORD(s.Sekunde));
        EXPECT_EQ(ComputeTaskTarget(app, &calc, row.initial), row.result);
        _MYSYSTEMTIME stored = {s.Jahr, s.Monat, 0, s.Tag, s.Stunde, s.Minute, s.Sekunde, 0};
        EXPECT_EQ(Stamp(stored), row.expected);
        EXPECT_EQ(calc.CalcDateExpired(), row.expired);
        DestroyAppData(app);
    }
}

} // namespace
