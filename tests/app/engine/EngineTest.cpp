// Proves the program's own code in this process on chosen moments: the
// face text of every format, when the tick sound is due, the targets the
// scheduled task computes, and what happens at the target (system actions through the seam that
// keeps the session alive; message boxes, files, registry and timer are real).
#include "engine/Expiry.h"
#include "engine/Task.h"
#include "engine/Tick.h"
#include "registry/CRegistry.h"
#include "res/resource.h"
#include "support/DialogPresser.h"
#include "support/FixedClock.h"
#include "support/TempuloProcess.h"

#include <gtest/gtest.h>

#include <vector>

using namespace wintest;

namespace {

std::string Target(const tSettings &s)
{
    return Stamp({s.Jahr, s.Monat, 0, s.Tag, s.Stunde, s.Minute, s.Sekunde, 0});
}

TEST(FaceText, EveryFormatShowsTotalsOrCalendarComponents)
{
    const struct {
        int formatNo;
        bool blanks;
        int total, y, mo, d, h, mi, s;
        const wchar_t *text;
    } rows[] = {
        {0, true, 1, 0, 0, 1, 2, 3, 4, L" 00001 02:03:04 "},
        {7, false, 1, 0, 0, 1, 2, 3, 4, L"00001 02:03:04"}, // unknown numbers are format 0
        // 400 days are 1 year, 1 month and 4 days in the calendar form.
        {1, false, 400, 1, 1, 4, 23, 59, 59, L"00400 86399"},
        {2, false, 400, 1, 1, 4, 23, 59, 59, L"001.01.004 23:59:59"},
        {3, true, 400, 1, 1, 4, 2, 3, 4, L" 001.01.004 07384 "},
        // The widest values of the supported years fit.
        {2, false, 73048, 199, 11, 30, 23, 59, 59, L"199.11.030 23:59:59"},
        {1, false, 73048, 199, 11, 30, 23, 59, 59, L"73048 86399"},
    };
    for (const auto &r : rows) {
        tFaceLayout layout = {};
        SetDisplayFormat(&layout, DisplayFormatOf(r.formatNo), r.blanks);
        FormatRemainingTime(&layout, r.total, r.y, r.mo, r.d, r.h, r.mi, r.s);
        EXPECT_STREQ(layout.Text, r.text) << "format " << r.formatNo << ", " << r.total << " days";
        EXPECT_EQ(wcslen(layout.Text), wcslen(layout.Format)) << "one character per cell";
    }
}

TEST(TickSound, EverySecondOrTheLastTwentyUnlessThePastIsAccepted)
{
    // Tick, last seconds only, past accepted; years to seconds left; due.
    const int rows[][10] = {
        {0, 1, 0, 0, 0, 0, 0, 0, 21, 0}, {0, 1, 0, 0, 0, 0, 0, 0, 20, 1},
        {0, 1, 0, 0, 0, 0, 0, 1, 20, 0}, {0, 1, 0, 0, 0, 1, 0, 0, 20, 0},
        {0, 1, 0, 1, 0, 0, 0, 0, 20, 0}, {0, 1, 1, 0, 0, 0, 0, 0, 5, 0},
        {1, 1, 1, 0, 0, 0, 0, 0, 5, 1},  {1, 0, 0, 3, 0, 0, 0, 0, 59, 1},
    };
    for (const int *r : rows) {
        tSettings s = {};
        s.TickEnabled = r[0], s.TickAtLastSecondsEnabled = r[1], s.AcceptPast = r[2];
        EXPECT_EQ(TickSoundDue(s, r[3], r[4], r[5], r[6], r[7], r[8]), r[9] != 0)
            << "row " << (r - rows[0]) / 10;
    }
}

struct Moment {
    int v[6] = {}; // day, month, year, hour, minute, second
    Moment(const char *text)
    {
        sscanf(text, "%d.%d.%d %d:%d:%d", &v[0], &v[1], &v[2], &v[3], &v[4], &v[5]);
    }
};

TEST(Task, EachModeComputesItsTarget)
{
    const struct {
        int mode;
        Moment start, now; // the program's start; the tick's moment
        bool initial;      // the start-up tick
        Moment target;     // stored before
        int hour, minute;  // the mode's interval or time of day
        const char *days;  // Monday to Sunday, 'x' where chosen
        const char *expected;
        bool result, expired;
    } rows[] = {
        {TASK_SINCE_START, "31.12.2025 23:00:17", "31.12.2025 23:00:17", true, "1.1.2020 0:0", 1,
         30, "", "01.01.2026 00:30:17", true, false},
        {TASK_SINCE_START, "6.1.2025 8:00", "6.1.2025 9:45", false, "1.1.2030 0:0", 1, 30, "",
         "01.01.2030 00:00:00", true, false}, // later ticks keep the target
        {TASK_SINCE_START, "6.1.2025 8:00", "6.1.2025 8:00:05", true, "1.1.2020 0:0", 0, 0, "",
         "06.01.2025 08:00:05", true, true},
        {TASK_SINCE_LAST, "6.1.2025 11:00", "6.1.2025 12:00", false, "6.1.2025 12:00", 0, 15, "",
         "06.01.2025 12:15:00", true, false},
        {TASK_SINCE_LAST, "6.1.2025 11:00", "6.1.2025 13:00", true, "6.1.2025 12:00", 0, 15, "",
         "06.01.2025 12:00:00", false, true}, // away longer than the interval
        {TASK_SINCE_LAST, "31.12.2025 23:00", "31.12.2025 23:55", false, "31.12.2025 23:50", 0, 20,
         "", "01.01.2026 00:10:00", true, false},
        // 06.01.2025 is a Monday.
        {TASK_WEEKDAYS, "6.1.2025 6:59:30", "6.1.2025 6:59:30", false, "1.1.2020 0:0", 7, 0,
         "x.x....", "06.01.2025 07:00:00", true, false},
        {TASK_WEEKDAYS, "6.1.2025 7:00:30", "6.1.2025 7:00:30", false, "1.1.2020 0:0", 7, 0,
         "x.x....", "08.01.2025 07:00:00", true, false},
        {TASK_WEEKDAYS, "9.1.2025 6:00:30", "9.1.2025 6:00:30", false, "1.1.2020 0:0", 7, 0,
         "x.x....", "13.01.2025 07:00:00", true, false},
        {TASK_WEEKDAYS, "26.2.2024 9:00", "26.2.2024 9:00", false, "1.1.2020 0:0", 7, 0, ".......",
         "04.03.2024 07:00:00", true, false}, // no day: a week from today
        {TASK_WEEKDAYS, "6.1.2025 6:00", "6.1.2025 6:00", false, "31.2.2025 0:0", 7, 0, "x......",
         "06.01.2025 07:00:00", true, false}, // from a target of no such day
        {4, "6.1.2025 12:00", "6.1.2025 12:00", true, "1.1.2020 0:0", 1, 0, "xxxxxxx",
         "01.01.2020 00:00:00", true, true},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(testing::Message() << "row " << &row - rows);
        const int *l = row.start.v, *n = row.now.v, *t = row.target.v;
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
        CTimeCalc calc(WORD(s.Tag), WORD(s.Monat), WORD(s.Jahr), WORD(s.Stunde), WORD(s.Minute),
                       WORD(s.Sekunde)); // as a tick builds it
        EXPECT_EQ(ComputeTaskTarget(app, &calc, row.initial), row.result);
        EXPECT_EQ(Target(s), row.expected);
        EXPECT_EQ(calc.CalcDateExpired(), row.expired);
        DestroyAppData(app);
    }
}

std::vector<int> g_Actions;

TEST(Expiry, TheSystemActionFollowsScreenshotAndSavedSettingsAndEndsTheProgram)
{
    PinnedClock clock(6, 1, 2025, 12, 0, 1); // a second past the target
    ASSERT_TRUE(clock.Active());
    const std::wstring key = UniqueName(L"TempuloExpiry-"), folder = OutputPath(key.c_str());
    const std::wstring shot = folder + L"\\Tempulo_20250106_120001.png"; // named by the clock
    HWND window = CreateWindowExW(0, L"STATIC", L"Tempulo", WS_POPUP, 0, 0, 50, 20, nullptr,
                                  nullptr, nullptr, nullptr);
    ExecSystemAction = [](CSystem::WindowsActionType action) {
        return g_Actions.push_back(action), true;
    };
    const struct {
        int event, eventNo;
        const wchar_t *folder;
        std::vector<int> actions;
        UINT message; // 0: none
        const char *target;
    } rows[] = {
        {2, 0, folder.c_str(), {CSystem::Shutdown}, 0, "06.01.2025 12:00:00"},
        {2, 1, folder.c_str(), {CSystem::Reboot}, 0, "06.01.2025 12:00:00"},
        {2, 2, folder.c_str(), {CSystem::LogOff}, 0, "06.01.2025 12:00:00"},
        {2, 3, folder.c_str(), {CSystem::PowerOff}, 0, "06.01.2025 12:00:00"},
        {2, 4, folder.c_str(), {}, 0, "06.01.2025 12:00:00"},
        {2, 2, L"F:\\Shots", {CSystem::LogOff}, IDS_SCREENSHOT_FAILED, "06.01.2025 12:00:00"},
        // A task that chains its targets moves on with a plain message.
        {1, 0, L"", {}, IDS_EXPIRED, "06.01.2025 12:15:00"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(testing::Message() << "event " << row.event << ", action " << row.eventNo);
        tAppData *app = g_App = CreateAppData(GetModuleHandleW(nullptr));
        wcscpy_s(app->RegistryKey, key.c_str());
        tSettings &s = app->Settings;
        s.Tag = 6, s.Monat = 1, s.Jahr = 2025, s.Stunde = 12, s.Minute = s.Sekunde = 0;
        s.Event = row.event, s.EventNo = row.eventNo, s.TakePrntScrn = true, s.ExtensionNo = 3;
        s.TaskEnabled = true, s.TaskState = TASK_SINCE_LAST, s.Count_Minute = 15;
        wcscpy_s(s.PrntScrnPath, row.folder);
        SetWindowPos(window, nullptr, 70 + row.eventNo, 80, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        g_Actions.clear();
        StartTickTimer(window);
        std::wstring text;
        CTimeCalc calc(6, 1, 2025, 12, 0, 0);
        {
            DialogPresser presser(IDOK, [&](HWND box) { text = ControlText(box); });
            EXPECT_TRUE(CheckExpiry(app, window, &calc, false));
        }
        const bool ends = row.event == 2;
        EXPECT_EQ(text, row.message ? ProgramText(row.message) + (ends ? L"" : L"\n\n") : L"");
        EXPECT_EQ(g_Actions, row.actions);
        EXPECT_EQ(Target(s), row.target);
        EXPECT_FALSE(s.AcceptPast);
        EXPECT_EQ(KillTimer(window, TIMER_TICK) != 0, !ends) << "counting goes on";
        MSG m;
        EXPECT_EQ(PeekMessageW(&m, window, WM_CLOSE, WM_CLOSE, PM_REMOVE) != 0, ends);
        CRegistry stored(key.c_str(), RegCurrentUser);
        EXPECT_EQ(stored.ReadValue(L"position", L"left", -1), ends ? 70 + row.eventNo : -1);
        EXPECT_EQ(stored.ReadValue(L"Action", L"EventNo", -1), ends ? row.eventNo : -1);
        unsigned char magic[4] = {};
        if (FILE *png = _wfopen(shot.c_str(), L"rb")) fread(magic, 1, 4, png), fclose(png);
        EXPECT_EQ(magic[1] == 'P', ends && !row.message) << "a PNG screenshot";
        DeleteFileW(shot.c_str());
        RegDeleteTreeW(HKEY_CURRENT_USER, (L"Software\\Wow6432Node\\Orvandt\\" + key).c_str());
        DestroyAppData(app);
        g_App = nullptr;
    }
    ExecSystemAction = CSystem::ExecWindowsAction;
    DestroyWindow(window);
}

} // namespace
