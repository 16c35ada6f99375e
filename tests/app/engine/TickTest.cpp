// Proves the face text of each second: every display format with and
// without blank cells, totals against calendar components, when the tick
// sound is due, and the tick itself on the real clock.
#include "engine/Tick.h"
#include "settings/AppData.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(FaceText, EveryFormatShowsTotalsOrCalendarComponents)
{
    const struct {
        int formatNo;
        bool blanks;
        int total, y, mo, d, h, mi, s;
        const wchar_t *text;
    } rows[] = {
        {0, false, 1, 0, 0, 1, 2, 3, 4, L"00001 02:03:04"},
        {1, false, 1, 0, 0, 1, 2, 3, 4, L"00001 07384"},
        {2, false, 1, 0, 0, 1, 2, 3, 4, L"000.00.001 02:03:04"},
        {3, true, 1, 0, 0, 1, 2, 3, 4, L" 000.00.001 07384 "},
        {0, true, 1, 0, 0, 1, 2, 3, 4, L" 00001 02:03:04 "},
        {7, false, 1, 0, 0, 1, 2, 3, 4, L"00001 02:03:04"}, // unknown numbers are format 0
        {-1, false, 1, 0, 0, 1, 2, 3, 4, L"00001 02:03:04"},
        // 400 days are 1 year, 1 month and 4 days in the calendar form.
        {0, false, 400, 1, 1, 4, 23, 59, 59, L"00400 23:59:59"},
        {1, false, 400, 1, 1, 4, 23, 59, 59, L"00400 86399"},
        {2, false, 400, 1, 1, 4, 23, 59, 59, L"001.01.004 23:59:59"},
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
    const struct {
        const char *name;
        bool tick, lastSeconds, acceptPast;
        int y, mo, d, h, mi, s;
        bool due;
    } rows[] = {
        {"21 s left", false, true, false, 0, 0, 0, 0, 0, 21, false},
        {"20 s left", false, true, false, 0, 0, 0, 0, 0, 20, true},
        {"0 s left", false, true, false, 0, 0, 0, 0, 0, 0, true},
        {"1 min 20 s", false, true, false, 0, 0, 0, 0, 1, 20, false},
        {"1 h 20 s", false, true, false, 0, 0, 0, 1, 0, 20, false},
        {"1 day 20 s", false, true, false, 0, 0, 1, 0, 0, 20, false},
        {"1 month 20 s", false, true, false, 0, 1, 0, 0, 0, 20, false},
        {"1 year 20 s", false, true, false, 1, 0, 0, 0, 0, 20, false},
        {"past accepted", false, true, true, 0, 0, 0, 0, 0, 5, false},
        {"every second, past accepted", true, true, true, 0, 0, 0, 0, 0, 5, true},
        {"every second, years left", true, false, false, 3, 0, 0, 0, 0, 59, true},
        {"no sound chosen", false, false, false, 0, 0, 0, 0, 0, 5, false},
    };
    for (const auto &r : rows) {
        tSettings s = {};
        s.TickEnabled = r.tick, s.TickAtLastSecondsEnabled = r.lastSeconds;
        s.AcceptPast = r.acceptPast;
        EXPECT_EQ(TickSoundDue(s, r.y, r.mo, r.d, r.h, r.mi, r.s), r.due) << r.name;
    }
}

class TickOnTheClock : public ::testing::Test {
protected:
    void SetUp() override { g_App = CreateAppData(GetModuleHandleW(nullptr)); }
    void TearDown() override
    {
        DestroyAppData(g_App);
        g_App = nullptr;
    }

    // Ticks with the target so many seconds from now and gives the face text;
    // next is the text a second later (the clock may turn in between).
    ::testing::AssertionResult Shows(long long seconds, const std::wstring &text,
                                     const std::wstring &next)
    {
        SYSTEMTIME t;
        GetLocalTime(&t);
        FILETIME ft;
        SystemTimeToFileTime(&t, &ft);
        ULARGE_INTEGER u = {{ft.dwLowDateTime, ft.dwHighDateTime}};
        u.QuadPart += seconds * 10000000ULL;
        ft = {u.LowPart, u.HighPart};
        FileTimeToSystemTime(&ft, &t);
        tSettings &s = g_App->Settings;
        s.Tag = t.wDay, s.Monat = t.wMonth, s.Jahr = t.wYear;
        s.Stunde = t.wHour, s.Minute = t.wMinute, s.Sekunde = t.wSecond;
        s.AcceptPast = seconds < 0; // else a passed target asks first
        Tick(nullptr, false);
        const std::wstring shown = g_App->Layout->Text;
        if (shown == text || shown == next) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << std::string(shown.begin(), shown.end());
    }
};

TEST_F(TickOnTheClock, ShowsTheTimeLeftOrPassedAndZerosForAnInvalidTarget)
{
    const long long day = 24 * 3600, rest = (2 * 60 + 3) * 60 + 4;
    EXPECT_TRUE(Shows(40 * day + rest, L"00040 02:03:04", L"00040 02:03:03"));
    EXPECT_TRUE(Shows(-(2 * 60 + 30), L"00000 00:02:30", L"00000 00:02:31")) << "counts upwards";
    // In the last seconds the tick sound plays from the resources first.
    EXPECT_TRUE(Shows(10, L"00000 00:00:10", L"00000 00:00:09"));
    SetDisplayFormat(g_App->Layout, DisplayFormatOf(3), true);
    EXPECT_TRUE(Shows(day + rest, L" 000.00.001 07384 ", L" 000.00.001 07383 "));

    SetDisplayFormat(g_App->Layout, DisplayFormatOf(0), false);
    g_App->Settings.Monat = 13;
    g_App->Settings.AcceptPast = true; // no question without a window
    Tick(nullptr, false);
    EXPECT_STREQ(g_App->Layout->Text, L"00000 00:00:00");
}

} // namespace
