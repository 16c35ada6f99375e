#include "engine/Tick.h"
#include "settings/AppData.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::wstring Formatted(int formatNo, bool blanks, int total, int y, int mo, int d, int h, int mi,
                       int s)
{
    tFaceLayout layout = {};
    SetDisplayFormat(&layout, DisplayFormatOf(formatNo), blanks);
    FormatRemainingTime(&layout, total, y, mo, d, h, mi, s);
    EXPECT_EQ(wcslen(layout.Text), wcslen(layout.Format)) << "one text character per cell";
    return layout.Text;
}

TEST(RemainingTimeText, OneDayTwoHoursThreeMinutesFourSecondsInEveryFormat)
{
    const wchar_t *const plain[DISPLAY_FORMAT_COUNT] = {
        L"00001 02:03:04", L"00001 07384", L"000.00.001 02:03:04", L"000.00.001 07384"};
    for (int no = 0; no < DISPLAY_FORMAT_COUNT; ++no) {
        EXPECT_EQ(Formatted(no, false, 1, 0, 0, 1, 2, 3, 4), plain[no]);
        EXPECT_EQ(Formatted(no, true, 1, 0, 0, 1, 2, 3, 4), L" " + std::wstring(plain[no]) + L" ");
    }
    // Any other number is format 0.
    EXPECT_STREQ(DisplayFormatOf(7), DisplayFormatOf(0));
    EXPECT_STREQ(DisplayFormatOf(-1), DisplayFormatOf(0));
}

TEST(RemainingTimeText, ShortRunsShowComponentsLongRunsShowTotals)
{
    // 400 total days read as 1 year, 1 month, 4 days in the calendar form.
    EXPECT_EQ(Formatted(0, false, 400, 1, 1, 4, 23, 59, 59), L"00400 23:59:59");
    EXPECT_EQ(Formatted(1, false, 400, 1, 1, 4, 23, 59, 59), L"00400 86399");
    EXPECT_EQ(Formatted(2, false, 400, 1, 1, 4, 23, 59, 59), L"001.01.004 23:59:59");
    // The widest values of the supported years still fit their fields; a
    // value too wide keeps its leading digits.
    EXPECT_EQ(Formatted(2, false, 73048, 199, 11, 30, 23, 59, 59), L"199.11.030 23:59:59");
    EXPECT_EQ(Formatted(0, false, 73048, 199, 11, 30, 23, 59, 59), L"73048 23:59:59");
    EXPECT_EQ(Formatted(0, false, 123456, 0, 0, 0, 0, 0, 0), L"12345 00:00:00");
}

TEST(DisplayFormat, DropsUnknownCharactersAndStaysWithinTheFace)
{
    tFaceLayout layout = {};
    SetDisplayFormat(&layout, L"dd-hh/mm x:ss!", false);
    EXPECT_STREQ(layout.Format, L"ddhhmm :ss");
    // Only the first 22 characters of a format are looked at, and the face
    // never has more than 21 cells.
    SetDisplayFormat(&layout, L"dddddddddddddddddddddddddddddd", true);
    EXPECT_EQ(wcslen(layout.Format), 21u);
    SetDisplayFormat(&layout, L"xxxxxxxxxxxxxxxxxxxxxxhh", false);
    EXPECT_STREQ(layout.Format, L"");
    SetDisplayFormat(&layout, nullptr, true);
    EXPECT_STREQ(layout.Format, L"  ");
}

TEST(TickSound, LastTwentySecondsUnlessPastTargetsAreAccepted)
{
    const struct {
        bool tick, lastSeconds, acceptPast;
        int y, mo, d, h, mi, s;
        bool due;
    } cases[] = {
        {false, true, false, 0, 0, 0, 0, 0, 21, false},
        {false, true, false, 0, 0, 0, 0, 0, 20, true},
        {false, true, false, 0, 0, 0, 0, 0, 0, true},
        // Twenty seconds past a full minute, hour, day, month or year are
        // no last seconds.
        {false, true, false, 0, 0, 0, 0, 1, 20, false},
        {false, true, false, 0, 0, 0, 1, 0, 20, false},
        {false, true, false, 0, 0, 1, 0, 0, 20, false},
        {false, true, false, 0, 1, 0, 0, 0, 20, false},
        {false, true, false, 1, 0, 0, 0, 0, 20, false},
        // AcceptPast silences the last seconds but not the tick itself.
        {false, true, true, 0, 0, 0, 0, 0, 5, false},
        {true, true, true, 0, 0, 0, 0, 0, 5, true},
        {true, false, false, 3, 0, 0, 0, 0, 59, true},
        {false, false, false, 0, 0, 0, 0, 0, 5, false},
    };
    for (const auto &c : cases) {
        tSettings s = {};
        s.TickEnabled = c.tick;
        s.TickAtLastSecondsEnabled = c.lastSeconds;
        s.AcceptPast = c.acceptPast;
        EXPECT_EQ(TickSoundDue(s, c.y, c.mo, c.d, c.h, c.mi, c.s), c.due)
            << c.tick << c.lastSeconds << c.acceptPast << " " << c.y << "." << c.mo << "." << c.d
            << " " << c.h << ":" << c.mi << ":" << c.s;
    }
}

// --- the tick itself, on the real clock -------------------------------------

class TickOnTheClock : public ::testing::Test {
protected:
    void SetUp() override { g_App = CreateAppData(GetModuleHandleW(nullptr)); }
    void TearDown() override
    {
        DestroyAppData(g_App);
        g_App = nullptr;
    }

    // Sets the target to now plus the given offset in seconds, ticks, and
    // tells whether the face shows `text` or the text one second later (the
    // clock may pass a second boundary between setting and ticking).
    ::testing::AssertionResult TickShows(long long seconds, const std::wstring &text,
                                         const std::wstring &nextSecond)
    {
        SYSTEMTIME now, target;
        GetLocalTime(&now);
        FILETIME ft;
        SystemTimeToFileTime(&now, &ft);
        ULARGE_INTEGER t = {{ft.dwLowDateTime, ft.dwHighDateTime}};
        t.QuadPart += seconds * 10000000ULL;
        ft = {t.LowPart, t.HighPart};
        FileTimeToSystemTime(&ft, &target);
        tSettings &s = g_App->Settings;
        s.Tag = target.wDay, s.Monat = target.wMonth, s.Jahr = target.wYear;
        s.Stunde = target.wHour, s.Minute = target.wMinute, s.Sekunde = target.wSecond;
        // A passed target is counted upwards only once the user accepted it;
        // before that the tick reports it.
        s.AcceptPast = seconds < 0;
        Tick(nullptr, false);
        const std::wstring shown = g_App->Layout->Text;
        if (shown == text || shown == nextSecond) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << std::string(shown.begin(), shown.end());
    }
};

TEST_F(TickOnTheClock, ShowsTheRemainingOrPassedTimeInTheChosenFormat)
{
    const long long oneDay2h3m4s = ((24 + 2) * 60 + 3) * 60 + 4;
    EXPECT_TRUE(TickShows(oneDay2h3m4s, L"00001 02:03:04", L"00001 02:03:03"));
    // A passed target counts upwards.
    EXPECT_TRUE(TickShows(-(2 * 60 + 30), L"00000 00:02:30", L"00000 00:02:31"));
    // In the last seconds the tick sound plays synchronously from the
    // program's resources; the tick must come back with or without audio.
    EXPECT_TRUE(TickShows(10, L"00000 00:00:10", L"00000 00:00:09"));

    SetDisplayFormat(g_App->Layout, DisplayFormatOf(3), true);
    EXPECT_TRUE(TickShows(oneDay2h3m4s, L" 000.00.001 07384 ", L" 000.00.001 07383 "));
}

TEST_F(TickOnTheClock, InvalidTargetShowsZeros)
{
    g_App->Settings.Monat = 13;
    g_App->Settings.AcceptPast = true; // no expiry message without a window
    Tick(nullptr, false);
    EXPECT_STREQ(g_App->Layout->Text, L"00000 00:00:00");
}

} // namespace
