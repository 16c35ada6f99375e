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

TEST(DisplayFormat, FourFormatsWithAndWithoutBlankCells)
{
    struct {
        int no;
        const wchar_t *plain;
    } formats[] = {{0, L"ddddd hh:mm:ss"},
                   {1, L"ddddd sssss"},
                   {2, L"yyy.MM.ddd hh:mm:ss"},
                   {3, L"yyy.MM.ddd sssss"}};
    for (const auto &f : formats) {
        tFaceLayout layout = {};
        SetDisplayFormat(&layout, DisplayFormatOf(f.no), false);
        EXPECT_STREQ(layout.Format, f.plain);
        SetDisplayFormat(&layout, DisplayFormatOf(f.no), true);
        EXPECT_EQ(std::wstring(layout.Format), L" " + std::wstring(f.plain) + L" ");
    }
    EXPECT_STREQ(DisplayFormatOf(7), DisplayFormatOf(0));
    EXPECT_STREQ(DisplayFormatOf(-1), DisplayFormatOf(0));
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

TEST(RemainingTimeText, OneDayTwoHoursThreeMinutesFourSeconds)
{
    // total days 1, years 0, months 0, days 1, 02:03:04
    EXPECT_EQ(Formatted(0, false, 1, 0, 0, 1, 2, 3, 4), L"00001 02:03:04");
    EXPECT_EQ(Formatted(1, false, 1, 0, 0, 1, 2, 3, 4), L"00001 07384");
    EXPECT_EQ(Formatted(2, false, 1, 0, 0, 1, 2, 3, 4), L"000.00.001 02:03:04");
    EXPECT_EQ(Formatted(3, false, 1, 0, 0, 1, 2, 3, 4), L"000.00.001 07384");
    EXPECT_EQ(Formatted(0, true, 1, 0, 0, 1, 2, 3, 4), L" 00001 02:03:04 ");
    EXPECT_EQ(Formatted(1, true, 1, 0, 0, 1, 2, 3, 4), L" 00001 07384 ");
    EXPECT_EQ(Formatted(2, true, 1, 0, 0, 1, 2, 3, 4), L" 000.00.001 02:03:04 ");
    EXPECT_EQ(Formatted(3, true, 1, 0, 0, 1, 2, 3, 4), L" 000.00.001 07384 ");
}

TEST(RemainingTimeText, ShortRunsShowComponentsLongRunsShowTotals)
{
    // 400 total days read as 1 year, 1 month, 4 days in the calendar form.
    EXPECT_EQ(Formatted(0, false, 400, 1, 1, 4, 23, 59, 59), L"00400 23:59:59");
    EXPECT_EQ(Formatted(1, false, 400, 1, 1, 4, 23, 59, 59), L"00400 86399");
    EXPECT_EQ(Formatted(2, false, 400, 1, 1, 4, 23, 59, 59), L"001.01.004 23:59:59");
    // The widest values of the supported years still fit their fields.
    EXPECT_EQ(Formatted(2, false, 73048, 199, 11, 30, 23, 59, 59), L"199.11.030 23:59:59");
    EXPECT_EQ(Formatted(0, false, 73048, 199, 11, 30, 23, 59, 59), L"73048 23:59:59");
}

TEST(RemainingTimeText, TooWideValueKeepsItsLeadingDigits)
{
    EXPECT_EQ(Formatted(0, false, 123456, 0, 0, 0, 0, 0, 0), L"12345 00:00:00");
}

TEST(RemainingTimeText, InvalidTargetShowsZeros)
{
    EXPECT_EQ(Formatted(2, true, 0, 0, 0, 0, 0, 0, 0), L" 000.00.000 00:00:00 ");
}

// --- tick sound ----------------------------------------------------------

tSettings SoundSettings(bool tick, bool lastSeconds, bool acceptPast)
{
    tSettings s = {};
    s.TickEnabled = tick;
    s.TickAtLastSecondsEnabled = lastSeconds;
    s.AcceptPast = acceptPast;
    return s;
}

TEST(TickSound, LastTwentySecondsOnly)
{
    const tSettings s = SoundSettings(false, true, false);
    EXPECT_FALSE(TickSoundDue(s, 0, 0, 0, 0, 0, 21));
    EXPECT_TRUE(TickSoundDue(s, 0, 0, 0, 0, 0, 20));
    EXPECT_TRUE(TickSoundDue(s, 0, 0, 0, 0, 0, 0));
    // Twenty seconds past a full minute, hour, day, month or year are no
    // last seconds.
    EXPECT_FALSE(TickSoundDue(s, 0, 0, 0, 0, 1, 20));
    EXPECT_FALSE(TickSoundDue(s, 0, 0, 0, 1, 0, 20));
    EXPECT_FALSE(TickSoundDue(s, 0, 0, 1, 0, 0, 20));
    EXPECT_FALSE(TickSoundDue(s, 0, 1, 0, 0, 0, 20));
    EXPECT_FALSE(TickSoundDue(s, 1, 0, 0, 0, 0, 20));
}

TEST(TickSound, AcceptPastSilencesTheLastSecondsButNotTheTick)
{
    EXPECT_FALSE(TickSoundDue(SoundSettings(false, true, true), 0, 0, 0, 0, 0, 5));
    EXPECT_TRUE(TickSoundDue(SoundSettings(true, true, true), 0, 0, 0, 0, 0, 5));
    EXPECT_TRUE(TickSoundDue(SoundSettings(true, false, false), 3, 0, 0, 0, 0, 59));
    EXPECT_FALSE(TickSoundDue(SoundSettings(false, false, false), 0, 0, 0, 0, 0, 5));
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

    // Sets the target to now plus the given offset in seconds.
    void TargetIn(long long seconds)
    {
        SYSTEMTIME now;
        GetLocalTime(&now);
        FILETIME ft;
        SystemTimeToFileTime(&now, &ft);
        ULARGE_INTEGER t = {{ft.dwLowDateTime, ft.dwHighDateTime}};
        t.QuadPart += seconds * 10000000ULL;
        ft.dwLowDateTime = t.LowPart;
        ft.dwHighDateTime = t.HighPart;
        SYSTEMTIME target;
        FileTimeToSystemTime(&ft, &target);
        tSettings &s = g_App->Settings;
        s.Tag = target.wDay;
        s.Monat = target.wMonth;
        s.Jahr = target.wYear;
        s.Stunde = target.wHour;
        s.Minute = target.wMinute;
        s.Sekunde = target.wSecond;
    }
};

TEST_F(TickOnTheClock, ShowsTheRemainingTimeInTheChosenFormat)
{
    TargetIn(((24 + 2) * 60 + 3) * 60 + 4);
    g_App->Settings.TickAtLastSecondsEnabled = false;
    Tick(nullptr, false);
    // The clock may pass a second boundary between setting and ticking.
    const std::wstring text = g_App->Layout->Text;
    EXPECT_TRUE(text == L"00001 02:03:04" || text == L"00001 02:03:03") << text.c_str();

    SetDisplayFormat(g_App->Layout, DisplayFormatOf(3), true);
    Tick(nullptr, false);
    const std::wstring seconds = g_App->Layout->Text;
    EXPECT_TRUE(seconds == L" 000.00.001 07384 " || seconds == L" 000.00.001 07383 ")
        << seconds.c_str();
}

TEST_F(TickOnTheClock, InvalidTargetShowsZeros)
{
    g_App->Settings.Monat = 13;
    Tick(nullptr, false);
    EXPECT_STREQ(g_App->Layout->Text, L"00000 00:00:00");
}

TEST_F(TickOnTheClock, PassedTargetCountsUpwards)
{
    TargetIn(-(2 * 60 + 30));
    Tick(nullptr, false);
    const std::wstring text = g_App->Layout->Text;
    EXPECT_TRUE(text == L"00000 00:02:30" || text == L"00000 00:02:31") << text.c_str();
}

TEST_F(TickOnTheClock, LastSecondsTickPlaysAndReturns)
{
    // The sound plays synchronously from the program's resources; the tick
    // must come back whether or not there is an audio device.
    TargetIn(10);
    Tick(nullptr, false);
    const std::wstring text = g_App->Layout->Text;
    EXPECT_TRUE(text == L"00000 00:00:10" || text == L"00000 00:00:09") << text.c_str();
}

} // namespace
