// The settings dialog of the real Tempulo.exe, driven from this process as a
// user would drive it: controls set and buttons pressed in the other
// process, messages answered, and what the program stored read back from the
// registry after it ended. Runs once per user-interface language.
// See DialogDriver.h for how controls are named.
#include "DialogDriver.h"
#include "engine/Tick.h"
#include "filesystem/CFileSystem.h"
#include "registry/CRegistry.h"
#include "support/GdiCount.h"
#include "support/TempuloProcess.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <psapi.h>

#include <algorithm>
#include <climits>
#include <sstream>
#include <string>
#include <vector>

using namespace wintest;

namespace {

class SettingsDialog : public ::testing::Test {
protected:
    void SetUp() override { ResetTempuloSettings(); }
    void TearDown() override { ResetTempuloSettings(); }
};

// Every setting the pages show, as loaded, as shown, as typed and as stored.
TEST_F(SettingsDialog, ShowsEveryPageAndOkStoresItAtOnceAndPlacesTheWindow)
{
    const struct {
        const wchar_t *sub, *name; // null: a control of a setting named above
        int loaded;
        const wchar_t *control, *shown, *typed;
        int stored;
    } fields[] = {
        {L"Option", L"AutoStart", 1, L"-1:270", L"1", L"0", 0},
        {L"Option", L"FontType", 3, L"0:184", L"1", L"0", 1},
        {nullptr, nullptr, 0, L"0:182", L"0", L"1", 0},
        {nullptr, nullptr, 0, L"0:183", L"0", L"0", 0},
        {L"Option", L"FormatNo", 2, L"0:180", L"2", L"3", 3},
        {L"Option", L"TickEnabled", 1, L"0:198", L"1", L"0", 0},
        {L"Option", L"TickAtLastSecondsEnabled", 0, L"0:199", L"0", L"1", 1},
        {L"Basis", L"Tag", 7, L"1:190", L"07", L"9", 9},
        {L"Basis", L"Monat", 3, L"1:191", L"03", L"11", 11},
        {L"Basis", L"Jahr", 2031, L"1:192", L"2031", L"32", 2032}, // this century
        {L"Basis", L"Stunde", 5, L"1:194", L"05", L"7", 7},
        {L"Basis", L"Minute", 0, L"1:195", L"00", L"45", 45},
        {L"Option", L"AcceptPast", 0, L"1:200", L"0", L"0", 0},
        {L"Common", L"Zoom", 3, L"2:210", L"3", L"2", 2},
        {L"Common", L"Front", 1, L"2:211", L"1", L"0", 0},
        {L"Common", L"Use1Monitor", 1, L"2:212", L"1", L"0", 0},
        {L"Common", L"ShowInTaskbar", 0, L"2:220", L"0", L"1", 1},
        {L"Common", L"IsFreePos", 0, L"2:219", L"0", L"0", 0},
        {L"Common", L"PosHorizontal", 1, L"2:214", L"1", L"0", 0},
        {nullptr, nullptr, 0, L"2:213", L"0", L"1", 0},
        {nullptr, nullptr, 0, L"2:215", L"0", L"0", 0},
        {L"Common", L"PosVertikal", 2, L"2:218", L"1", L"1", 2},
        {nullptr, nullptr, 0, L"2:216", L"0", L"0", 0},
        {L"Action", L"Event", 2, L"3:231", L"1", L"0", 1},
        {nullptr, nullptr, 0, L"3:230", L"0", L"1", 0},
        {L"Action", L"EventNo", 1, L"3:233", L"1", L"3", 3},
        {L"Action", L"SoundEnabled", 1, L"3:232", L"1", L"0", 0},
        {L"Action", L"TakePrntScrn", 1, L"3:234", L"1", L"0", 0},
        {L"Action", L"ExtensionNo", 3, L"3:239", L"3", L"4", 4},
        {L"Task", L"TaskEnabled", 0, L"4:240", L"0", L"1", 1},
        {L"Task", L"TaskState", 2, L"4:242", L"1", L"1", 2},
        {nullptr, nullptr, 0, L"4:241", L"0", L"0", 0},
        {L"Task", L"Start_Stunde", 0, L"4:244", L"", L"3", 3},
        {L"Task", L"Count_Stunde", 12, L"4:246", L"12", L"30", 30},
        {L"Task", L"Count_Minute", 5, L"4:247", L"5", L"15", 15},
        {L"Task", L"Jeweils_Stunde", 7, L"4:255", L"07", L"8", 8},
        {L"Task", L"Jeweils_Minute", 0, L"4:256", L"00", L"20", 20},
        {L"Task", L"IsMo", 1, L"4:248", L"1", L"0", 0},
        {L"Task", L"IsFr", 0, L"4:252", L"0", L"1", 1},
        {L"Task", L"IsSo", 1, L"4:254", L"1", L"1", 1},
    };
    for (const auto &f : fields)
        if (f.sub) WriteTempuloSetting(f.sub, f.name, f.loaded);
    WriteSettings(L"Common/TabIndex=3");
    WriteTempuloText(L"Font", L"FaceName", L"Courier New");
    WriteTempuloText(L"Action", L"PrntScrnPath", L"C:\\shots");
    Tempulo tempulo;
    Dialog dialog(tempulo);
    ASSERT_NE(dialog.frame, nullptr);
    EXPECT_EQ(WindowText(dialog.frame), German() ? L"Einstellungen" : L"Settings");
    EXPECT_EQ(dialog.State(0, 185), L"Courier New");
    EXPECT_EQ(dialog.State(3, 236), L"C:\\shots");
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(IsWindowVisible(dialog.pages[i]) != 0, i == 3) << "page " << i;
    for (const auto &f : fields)
        dialog.Expect((std::wstring(f.control) + L"=" + f.shown).c_str(), "shown");
    for (const auto &f : fields)
        dialog.Apply((std::wstring(f.control) + L"=" + f.typed).c_str());
    dialog.SelectTab(2);
    ASSERT_TRUE(dialog.Close(IDOK));

    // Placed at once: small digits at zoom 2, bottom left, no longer topmost,
    // with a taskbar button (which comes last).
    EXPECT_TRUE(WaitUntil(
        [&] { return GetWindowLongPtrW(tempulo.window, GWL_EXSTYLE) & WS_EX_APPWINDOW; }, 5000));
    RECT work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const RECT after = tempulo.Rect();
    EXPECT_EQ(after.left, work.left);
    EXPECT_EQ(after.bottom, work.bottom);
    EXPECT_EQ(after.bottom - after.top, 2 * 20);
    const LONG_PTR style = GetWindowLongPtrW(tempulo.window, GWL_EXSTYLE);
    EXPECT_EQ(style & (WS_EX_TOPMOST | WS_EX_APPWINDOW | WS_EX_TOOLWINDOW), WS_EX_APPWINDOW);

    // Stored at once: a kill right after OK loses nothing. The answer comes
    // once the program is back in its message loop, past the save.
    SendMessageW(tempulo.window, WM_NULL, 0, 0);
    TerminateProcess(tempulo.Process().Handle(), 1);
    ASSERT_EQ(tempulo.Process().WaitForExit(10000), 1u);
    for (const auto &f : fields)
        EXPECT_TRUE(!f.sub || ReadTempuloSetting(f.sub, f.name) == f.stored)
            << f.control << " stored as " << ReadTempuloSetting(f.sub, f.name);
    ExpectSettings(L"Common/TabIndex=2 position/left=" + std::to_wstring(after.left) +
                   L" position/top=" + std::to_wstring(after.top));
}

TEST_F(SettingsDialog, ADraggedWindowShowsNoPlaceAndKeepsItsOwn)
{
    WriteSettings(L"Basis/Tag=0 Basis/Monat=12 Basis/Jahr=0 Common/IsFreePos=1 "
                  L"Common/Use1Monitor=1 Common/PosHorizontal=0 Common/PosVertikal=0 "
                  L"position/left=40 position/top=50 Common/TabIndex=7 Action/ExtensionNo=9");
    Tempulo tempulo;
    Answer(tempulo.WaitForBox(), IDOK); // day 0 is reported first
    Dialog dialog(tempulo);
    ASSERT_NE(dialog.frame, nullptr);
    EXPECT_TRUE(IsWindowVisible(dialog.pages[0]));
    dialog.Expect(L"1:190= 1:191=12 1:192= 2:212=0 2:213=0 2:214=0 2:215=0 2:216=0 2:217=0 "
                  L"2:218=0 2:219=1 3:239=-1",
                  "dragged, blanks");
    // OK without touching the place: the window stays where it was put.
    dialog.Apply(L"1:190=5 1:192=30");
    ASSERT_TRUE(dialog.Close(IDOK));
    EXPECT_EQ(tempulo.Rect().left, 40);
    EXPECT_EQ(tempulo.Rect().top, 50);
    EXPECT_EQ(tempulo.Exit(), 0u);
    ExpectSettings(
        L"Common/IsFreePos=1 Common/Use1Monitor=0 Basis/Jahr=2030 Action/ExtensionNo=-1");
}

TEST_F(SettingsDialog, OkRefusesAnInvalidTargetOrTaskAndStoresNothing)
{
    wchar_t invalid[512];
    swprintf(invalid, 512, ProgramText(3424).c_str(), 1900, 2099);
    const std::wstring task = ProgramText(3425);
    const struct {
        const char *what;
        const wchar_t *input; // on top of a valid 15.06.2030 12:00, task off
        std::wstring message;
    } cases[] = {
        {"empty day", L"1:190=", invalid},
        {"31 February", L"1:190=31 1:191=02", invalid},
        {"29 February of a common year", L"1:190=29 1:191=02 1:192=2027", invalid},
        {"year before 1900", L"1:192=1899", invalid},
        {"year after 2099", L"1:192=2100", invalid},
        {"year 100", L"1:192=100", invalid},
        {"hour 24", L"1:194=24", invalid},
        {"since start, no time", L"4:240=1 4:241=1 4:244= 4:245=0", task + ProgramText(3426)},
        {"since last, no time", L"4:240=1 4:242=1 4:246= 4:247=", task + ProgramText(3427)},
        {"weekdays, no day", L"4:240=1 4:243=1", task + ProgramText(3428)},
        {"weekdays at minute 60", L"4:240=1 4:243=1 4:250=1 4:255=10 4:256=60",
         task + ProgramText(3429)},
        {"the date before the task", L"1:190=30 1:191=02 4:240=1 4:243=1", invalid},
    };
    WriteSettings(L"Basis/Tag=15 Basis/Jahr=2030 Common/Zoom=1");
    Tempulo tempulo;
    Dialog dialog(tempulo);
    ASSERT_NE(dialog.frame, nullptr);
    for (const auto &c : cases) {
        dialog.Apply(L"1:190=15 1:191=06 1:192=2030 1:194=12 1:195=00 2:210=4 4:240=0 4:241=0 "
                     L"4:242=0 4:243=0 4:248=0 4:249=0 4:250=0 4:255=00 4:256=00");
        dialog.Apply(c.input);
        HWND box = dialog.Open(IDOK);
        ASSERT_NE(box, nullptr) << c.what;
        EXPECT_EQ(ControlText(box), c.message) << c.what;
        EXPECT_EQ(WindowText(box), ProgramText(3011)) << c.what;
        EXPECT_TRUE(Answer(box, IDOK)) << c.what;
        // The dialog stays open with what the user typed.
        EXPECT_TRUE(IsWindow(dialog.frame)) << c.what;
        dialog.Expect(c.input, c.what);
    }
    EXPECT_TRUE(dialog.Close(IDCANCEL));
    EXPECT_EQ(tempulo.Exit(), 0u);
    ExpectSettings(L"Basis/Tag=15 Common/Zoom=1 Task/TaskEnabled=0");
}

TEST_F(SettingsDialog, CancelKeepsSettingsAndWindowButNotTheTabHelpersAndReset)
{
    WriteSettings(
        L"Basis/Tag=15 Basis/Jahr=2030 Option/FontType=1 Common/Zoom=2 Calc/SpecialYear=2024");
    Tempulo tempulo;
    const RECT before = tempulo.Rect();
    {
        Dialog dialog(tempulo);
        ASSERT_NE(dialog.frame, nullptr);
        dialog.Apply(L"1:190=20 2:210=4");
        // Easter 2025 through the select-day dialog, at the current time.
        SYSTEMTIME now, later;
        GetLocalTime(&now);
        ASSERT_TRUE(RunHelper(dialog, 193, L"0:264=4 0:265=2025"));
        GetLocalTime(&later);
        dialog.Expect(L"1:190=20 1:191=04 1:192=2025", "Easter 2025");
        const int shown = std::stoi(dialog.State(1, 194)) * 60 + std::stoi(dialog.State(1, 195));
        EXPECT_GE(shown, now.wHour * 60 + now.wMinute);
        EXPECT_LE(shown, later.wHour * 60 + later.wMinute);
        dialog.SelectTab(4);
        ASSERT_TRUE(dialog.Close(IDCANCEL));
    }
    const RECT unchanged = tempulo.Rect();
    EXPECT_TRUE(EqualRect(&before, &unchanged));
    const Capture face = tempulo.Face(); // and it counts on
    EXPECT_TRUE(WaitUntil([&] { return !(tempulo.Face() == face); }, 5000));
    {
        // Reopened on the last tab with the stored target; the helper's
        // inputs come back.
        Dialog dialog(tempulo);
        ASSERT_NE(dialog.frame, nullptr);
        EXPECT_TRUE(IsWindowVisible(dialog.pages[4]));
        dialog.Expect(L"1:190=15 2:210=2", "reopened");
        HWND day = dialog.Open(193);
        ASSERT_NE(day, nullptr);
        EXPECT_EQ(State(GetDlgItem(day, 264)) + L" " + State(GetDlgItem(day, 265)), L"4 2025");
        ASSERT_TRUE(Answer(day, IDCANCEL));

        // Reset asks first, No by default; No changes nothing, Yes applies
        // the defaults at once.
        for (int answer : {IDNO, IDYES}) {
            HWND question = dialog.Open(83);
            ASSERT_NE(question, nullptr);
            EXPECT_EQ(WindowText(question),
                      German() ? L"Einstellungen zur\u00fccksetzen" : L"Reset all settings");
            EXPECT_EQ(ControlText(question), ProgramText(3203) + L"\n" + ProgramText(3200));
            EXPECT_TRUE(GetWindowLongPtrW(GetDlgItem(question, IDNO), GWL_STYLE) &
                        BS_DEFPUSHBUTTON);
            ASSERT_TRUE(Answer(question, answer));
            dialog.Expect(answer == IDNO ? L"0:182=1 2:210=2"
                                         : L"0:182=0 0:183=1 1:190=01 1:191=01 2:210=1 2:215=1 "
                                           L"2:216=1",
                          answer == IDNO ? "reset refused" : "reset");
        }
        EXPECT_EQ(dialog.State(0, 185), L"Times New Roman");
        ASSERT_TRUE(dialog.Close(IDCANCEL));
    }
    // The confirmed defaults are in force: the window shows them at once.
    EXPECT_TRUE(WaitUntil(
        [&] {
            const RECT reset = tempulo.Rect();
            return reset.bottom - reset.top < before.bottom - before.top;
        },
        5000));
    EXPECT_EQ(tempulo.Exit(), 0u);
    SYSTEMTIME today;
    GetLocalTime(&today);
    ExpectSettings(L"Option/FontType=2 Basis/Tag=1 Common/TabIndex=4 Font/RGB=0xFF "
                   L"Font/Height=-32 Basis/Jahr=" +
                   std::to_wstring(today.wYear + 1));
}

TEST_F(SettingsDialog, ChecksAndModesEnableWhatTheyGovern)
{
    const struct {
        const char *what;
        const wchar_t *clicks, *enabled, *disabled;
        bool taskMarks; // the "*" labels of the calculation page
    } cases[] = {
        {"continue past the target", L"1:200=1", L"",
         L"3:230 3:231 3:232 3:233 3:234 3:235 3:236 3:237 3:238 3:239", false},
        {"an action with a screenshot", L"1:200=0 3:234=1",
         L"3:230 3:231 3:232 3:233 3:234 3:235 3:236 3:237 3:238 3:239", L"", false},
        {"no screenshot", L"3:234=0", L"3:234", L"3:235 3:236 3:237 3:238 3:239", false},
        {"task off", L"4:240=0", L"1:190 1:191 1:192 1:193 1:194 1:195 1:197",
         L"4:241 4:242 4:243 4:244 4:245 4:246 4:247 4:248 4:254 4:12 4:255 4:256", false},
        {"since start", L"4:240=1 4:242=0 4:243=0 4:241=1", L"4:241 4:242 4:243 4:244 4:245",
         L"4:246 4:247 4:248 4:254 4:12 4:255 4:256", false},
        {"since the last target", L"4:241=0 4:242=1", L"4:246 4:247",
         L"4:244 4:245 4:248 4:12 4:255 4:256", false},
        {"weekdays", L"4:242=0 4:243=1",
         L"4:248 4:249 4:250 4:251 4:252 4:253 4:254 4:12 4:255 4:256",
         L"4:244 4:245 4:246 4:247 1:190 1:191 1:192 1:193 1:194 1:195 1:197", true},
    };
    Tempulo tempulo;
    Dialog dialog(tempulo);
    ASSERT_NE(dialog.frame, nullptr);
    EXPECT_TRUE(IsWindowEnabled(dialog.Control(-1, 270))); // Z: is a fixed disk
    EXPECT_FALSE(IsWindowEnabled(dialog.Control(2, 219)));
    for (const auto &c : cases) {
        dialog.Click(c.clicks);
        for (bool enabled : {true, false})
            for (const Item &item : Items(enabled ? c.enabled : c.disabled))
                EXPECT_EQ(IsWindowEnabled(dialog.Control(item.page, item.id)) != 0, enabled)
                    << c.what << ": control " << item.page << ":" << item.id;
        for (int id : {201, 202})
            EXPECT_EQ((GetWindowLongPtrW(dialog.Control(1, id), GWL_STYLE) & WS_VISIBLE) != 0,
                      c.taskMarks)
                << c.what << ": label " << id;
    }
    EXPECT_TRUE(dialog.Close(IDCANCEL));
}

TEST_F(SettingsDialog, CalculateTimeFromTheSetTimeOrFromNow)
{
    Tempulo tempulo;
    Dialog dialog(tempulo);
    ASSERT_NE(dialog.frame, nullptr);
    const wchar_t *setPlus = L"0:260=1 0:261=0 0:262=1 0:263=0 0:190= 0:191= 0:192= 0:194= "
                             L"0:195= 0:196=";
    // The set time plus 90 minutes runs into the next day and year; a
    // two-digit year is this century's, as OK takes it.
    dialog.Apply(L"1:190=31 1:191=12 1:192=30 1:194=23 1:195=00");
    ASSERT_TRUE(RunHelper(dialog, 197, (std::wstring(setPlus) + L" 0:195=90").c_str()));
    dialog.Expect(L"1:190=01 1:191=01 1:192=2031 1:194=00 1:195=30", "set time plus 90 minutes");

    // The inputs come back; empty offsets copy the set time unchanged.
    HWND box = dialog.Open(197);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(State(GetDlgItem(box, 195)) + L" " + State(GetDlgItem(box, 260)), L"90 1");
    ASSERT_TRUE(Answer(box, IDCANCEL));
    ASSERT_TRUE(RunHelper(dialog, 197, setPlus));
    dialog.Expect(L"1:190=01 1:192=2031 1:194=00 1:195=30", "empty offsets");

    // Now plus one day: tomorrow, at the clock's minute before or after.
    auto tomorrow = [](SYSTEMTIME t) {
        FILETIME ft;
        SystemTimeToFileTime(&t, &ft);
        ULARGE_INTEGER n = {{ft.dwLowDateTime, ft.dwHighDateTime}};
        n.QuadPart += 864000000000ULL; // one day of 100-ns steps
        ft = {n.LowPart, n.HighPart};
        FileTimeToSystemTime(&ft, &t);
        wchar_t text[40];
        swprintf(text, 40, L"%02u %02u %u %02u %02u", t.wDay, t.wMonth, t.wYear, t.wHour,
                 t.wMinute);
        return std::wstring(text);
    };
    SYSTEMTIME before, after;
    GetLocalTime(&before);
    ASSERT_TRUE(RunHelper(dialog, 197, L"0:260=0 0:261=1 0:190=1"));
    GetLocalTime(&after);
    std::wstring shown;
    for (int id : {190, 191, 192, 194, 195})
        shown += dialog.State(1, id) + (id == 195 ? L"" : L" ");
    EXPECT_TRUE(shown == tomorrow(before) || shown == tomorrow(after)) << shown.c_str();
    EXPECT_TRUE(dialog.Close(IDCANCEL));
    EXPECT_EQ(tempulo.Exit(), 0u);
    // The helper's inputs stay although the settings were cancelled.
    ExpectSettings(L"Calc/SetTime=0 Calc/TD_Tag=1 Calc/TD_Minute=0");
}

TEST_F(SettingsDialog, ChoosersOpenWithTheSettingsAndOnlyOkKeepsColourAndFont)
{
    const std::wstring missing = L"C:\\users\\Public\\no such folder\\deeper";
    const std::wstring nearest = CFileSystem(missing.c_str(), true).RealDir(false, L"");
    ASSERT_FALSE(nearest.empty());
    WriteSettings(L"Colors/BackColor=0x332211 Option/FontType=1");
    WriteTempuloText(L"Action", L"PrntScrnPath", missing.c_str());
    Tempulo tempulo;
    for (bool confirm : {false, true}) {
        Dialog dialog(tempulo);
        ASSERT_NE(dialog.frame, nullptr);
        EXPECT_EQ(dialog.State(3, 236), missing) << "a cancelled dialog keeps the folder";
        // The colour chooser opens full on the background colour (red 17,
        // blue 51); the swatch shows the chosen one at once.
        HWND colors = dialog.Open(181);
        ASSERT_NE(colors, nullptr);
        EXPECT_TRUE(IsWindowVisible(GetDlgItem(colors, 706)));
        EXPECT_EQ(State(GetDlgItem(colors, 706)) + L" " + State(GetDlgItem(colors, 708)), L"17 51");
        for (const Item &item : Items(L"0:706=10 0:707=200 0:708=30"))
            Set(GetDlgItem(colors, item.id), item.state);
        ASSERT_TRUE(Answer(colors, IDOK));
        RECT swatch;
        GetWindowRect(dialog.Control(0, 181), &swatch);
        const LONG x = (swatch.left + swatch.right) / 2, y = (swatch.top + swatch.bottom) / 2;
        EXPECT_TRUE(WaitUntil(
            [&] {
                return CaptureScreen({x, y, x + 1, y + 1}).pixels[0] == 0x0AC81E;
            },
            3000));

        // A chosen font makes the face font text.
        HWND fonts = dialog.Open(186);
        ASSERT_TRUE(Answer(fonts, IDOK));
        dialog.Expect(L"0:182=0 0:183=0 0:184=1", "font chosen");

        // The folder browser, cancelled, still puts the nearest existing
        // folder in place of the missing one.
        HWND browser = dialog.Open(237);
        ASSERT_TRUE(Answer(browser, IDCANCEL));
        EXPECT_EQ(dialog.State(3, 236), nearest);
        ASSERT_TRUE(dialog.Close(confirm ? IDOK : IDCANCEL));
    }
    EXPECT_EQ(tempulo.Exit(), 0u);
    ExpectSettings(L"Colors/BackColor=0x1EC80A Option/FontType=3");
    EXPECT_STREQ(CRegistry(L"Tempulo", RegCurrentUser).ReadValue(L"Action", L"PrntScrnPath", L""),
                 nearest.c_str());
}

// Days of counting, driven faster than the clock, with re-placements and
// settings dialogs among the ticks: nothing may pile up.
TEST_F(SettingsDialog, TicksPlacementsAndOpeningsLeaveObjectsWindowsAndMemoryFlat)
{
    if (German()) GTEST_SKIP() << "the same code in either language";
    Tempulo tempulo;
    const HANDLE process = tempulo.Process().Handle();
    auto windows = [&] { // a window outlives its dialog only as a top-level one
        int n = 0;
        EnumThreadWindows(
            GetWindowThreadProcessId(tempulo.window, nullptr),
            [](HWND, LPARAM count) -> BOOL { return ++*(int *)count, TRUE; }, (LPARAM)&n);
        return n;
    };
    auto privateBytes = [&] { // Wine leaves PrivateUsage at 0 and counts here
        PROCESS_MEMORY_COUNTERS_EX m = {};
        GetProcessMemoryInfo(process, (PROCESS_MEMORY_COUNTERS *)&m, sizeof(m));
        return m.PrivateUsage ? m.PrivateUsage : m.PagefileUsage;
    };
    auto drive = [&](int openings) { // a hundred ticks and a placement per opening
        for (int i = 0; i < openings; ++i) {
            for (int tick = 0; tick < 100; ++tick)
                PostMessageW(tempulo.window, WM_TIMER, TIMER_TICK, 0);
            PostMessageW(tempulo.window, WM_DISPLAYCHANGE, 32, 0);
            Dialog dialog(tempulo);
            if (!dialog.frame || !dialog.Close(i % 2 ? IDOK : IDCANCEL)) return false;
        }
        return true;
    };
    // The first rounds fill the platform's caches of fonts and brushes.
    ASSERT_TRUE(drive(10));
    // The system's caches of device contexts and bitmaps grow and shrink by
    // a few with the timing of the work; a leak per tick, placement or
    // opening would add a hundred or more.
    const int gdi = GdiObjectCount(process), users = windows();
    const SIZE_T memory = privateBytes();
    EXPECT_GT(gdi, 13) << "at least the face images: the count must see them";
    ASSERT_TRUE(drive(100));
    EXPECT_LE(GdiObjectCount(process), gdi + 20) << "before: " << gdi;
    EXPECT_EQ(windows(), users);
    EXPECT_LE(privateBytes(), memory + 192 * 1024) << "private bytes before: " << memory;
}

} // namespace
