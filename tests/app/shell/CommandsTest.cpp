// The real Tempulo.exe driven as a user drives it: its menu commands and
// accelerators, the ways it ends, a second copy, and what it says about its
// target at start-up.
#include "registry/CRegistry.h"
#include "res/version.h"
#include "support/GdiCount.h"
#include "support/HostShell.h"
#include "support/RawRegistry.h"
#include "support/TempuloProcess.h"

#include <gtest/gtest.h>
#include <psapi.h>
#include <shlobj.h>

#include <functional>
#include <string>
#include <vector>

using namespace wintest;

namespace {

const wchar_t kEnglishInvalid[] = L"The set date is invalid !!\nPlease correct this in the "
                                  L"settings.\n\n(year : 01.01.1900 - 31.12.2099)";

class Commands : public ::testing::Test {
protected:
    void SetUp() override { ResetTempuloSettings(); }
    void TearDown() override { ResetTempuloSettings(); }
};

HWND WaitForMenu(DWORD milliseconds)
{
    HWND menu = nullptr;
    WaitUntil([&] { return (menu = FindWindowW(L"#32768", nullptr)) && IsWindowVisible(menu); },
              milliseconds);
    return menu;
}

// Keys as the keyboard sends them, to the window in front.
void Keys(std::initializer_list<std::pair<WORD, bool>> keys)
{
    for (const auto &k : keys) {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = k.first;
        input.ki.dwFlags = k.second ? 0 : KEYEVENTF_KEYUP;
        SendInput(1, &input, sizeof(input));
    }
}

TEST_F(Commands, AboutBoxesOpenFromTheMenuAndTheAccelerators)
{
    Tempulo run;
    ASSERT_NE(run.window, nullptr);
    const std::string version = TEMPULO_VERSION_TEXT;
    const std::wstring title = L"Tempulo " + Wide(version.substr(0, version.rfind('.')));
    const struct {
        const char *how;
        std::function<void()> ask;
        std::wstring titleLine;
    } cases[] = {
        {"About Tempulo", [&] { PostMessageW(run.window, WM_COMMAND, 104, 0); }, title},
        {"Alt+/",
         [&] {
             SetForegroundWindow(run.window);
             Keys({{VK_MENU, true}, {VK_OEM_2, true}, {VK_OEM_2, false}, {VK_MENU, false}});
         },
         title},
        {"Alt+?",
         [&] {
             SetForegroundWindow(run.window);
             Keys({{VK_MENU, true},
                   {VK_SHIFT, true},
                   {VK_OEM_2, true},
                   {VK_OEM_2, false},
                   {VK_SHIFT, false},
                   {VK_MENU, false}});
         },
         title},
        {"About Pictavo-Library", [&] { PostMessageW(run.window, WM_COMMAND, 141, 0); },
         L"Pictavo-Library 1.8.6"},
    };
    for (const auto &c : cases) {
        c.ask();
        HWND box = run.WaitForBox();
        ASSERT_NE(box, nullptr) << c.how;
        EXPECT_EQ(GetWindow(box, GW_OWNER), run.window) << c.how;
        EXPECT_EQ(WindowText(box), L"Info") << c.how;
        EXPECT_EQ(ControlText(box, 1000), c.titleLine) << c.how;
        EXPECT_EQ(ControlText(box, 1002), L"https://www.orvandt.example/") << c.how;
        if (c.titleLine == title) {
            EXPECT_EQ(ControlText(box, 1001), L"Copyright \u00A9 Orvandt");
            EXPECT_EQ(ControlText(box, 1004),
                      L"\nThis program is freeware and may be\nused and passed on freely.\n\n"
                      L"This program is designed to run on:\n\n- Windows 10 / 11\n"
                      L"- Windows Server 2019 / 2022\n");
        }
        Press(box, IDOK);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); }, 5000)) << c.how;
    }
    EXPECT_EQ(run.Exit(), 0u);
}

TEST_F(Commands, RightClickOpensTheMenuAndEscapeClosesIt)
{
    Tempulo run;
    ASSERT_NE(run.window, nullptr);
    PostMessageW(run.window, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(20, 10));
    HWND menu = WaitForMenu(5000);
    ASSERT_NE(menu, nullptr);
    PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(menu); }, 5000));
    // Choosing Exit from the menu with the keyboard ends the program.
    PostMessageW(run.window, WM_CONTEXTMENU, (WPARAM)run.window, -1);
    menu = WaitForMenu(5000);
    ASSERT_NE(menu, nullptr);
    PostMessageW(menu, WM_KEYDOWN, VK_UP, 0); // wraps to the last entry
    PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(run.Process().WaitForExit(10000), 0u);
}

TEST_F(Commands, ScreenshotCommandWritesADatedFileOfTheChosenType)
{
    const std::wstring folder = OutputPath(UniqueName(L"shots-").c_str());
    WriteTempuloText(L"Action", L"PrntScrnPath", folder.c_str());
    WriteTempuloSettings({{L"Action", L"TakePrntScrn", 0}, {L"Action", L"ExtensionNo", 0}});
    Tempulo run;
    ASSERT_NE(run.window, nullptr);
    SYSTEMTIME now;
    GetLocalTime(&now);
    PostMessageW(run.window, WM_COMMAND, 500, 0);
    std::wstring found;
    BITMAP bm = {};
    // Found once it is there and whole.
    EXPECT_TRUE(WaitUntil(
        [&] {
            WIN32_FIND_DATAW data;
            HANDLE search = FindFirstFileW((folder + L"\\Tempulo_*.bmp").c_str(), &data);
            if (search == INVALID_HANDLE_VALUE) return false;
            FindClose(search);
            found = data.cFileName;
            HBITMAP shot = (HBITMAP)LoadImageW(nullptr, (folder + L"\\" + found).c_str(),
                                               IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
            if (!shot) return false;
            GetObjectW(shot, sizeof(bm), &bm);
            DeleteObject(shot);
            return true;
        },
        10000));
    wchar_t day[16];
    swprintf(day, 16, L"%04d%02d%02d_", now.wYear, now.wMonth, now.wDay);
    EXPECT_EQ(found.size(), wcslen(L"Tempulo_yyyyMMdd_hhmmss.bmp")) << found;
    EXPECT_EQ(found.substr(8, 9), day) << found;
    EXPECT_EQ(bm.bmWidth, GetSystemMetrics(SM_CXVIRTUALSCREEN)) << "the whole screen";
    EXPECT_EQ(run.Exit(), 0u);
}

TEST_F(Commands, HelpOpensTheHomePageWithTheProgramsName)
{
    // A stand-in browser for web addresses records what it is asked to open.
    const std::wstring record = OutputPath(UniqueName(L"help-").c_str());
    const std::wstring command =
        L"\"" + BesideTestProgram(L"SystemActionProbe.exe") + L"\" open \"" + record + L"\" \"%1\"";
    const wchar_t key[] = L"https\\shell\\open\\command";
    wchar_t browser[MAX_PATH] = L"";
    DWORD size = sizeof(browser);
    RegGetValueW(HKEY_CLASSES_ROOT, key, nullptr, RRF_RT_REG_SZ, nullptr, browser, &size);
    ASSERT_EQ(RegSetKeyValueW(HKEY_CLASSES_ROOT, key, nullptr, REG_SZ, command.c_str(),
                              DWORD((command.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
    Tempulo run;
    ASSERT_NE(run.window, nullptr);
    PostMessageW(run.window, WM_COMMAND, 106, 0);
    std::wstring opened;
    EXPECT_TRUE(WaitUntil(
        [&] {
            FILE *in = _wfopen(record.c_str(), L"rb");
            if (!in) return false;
            wchar_t text[300] = L"";
            fread(text, sizeof(wchar_t), 299, in);
            fclose(in);
            opened = text;
            return !opened.empty();
        },
        10000));
    EXPECT_EQ(opened, L"https://www.orvandt.example/Tempulo");
    RegSetKeyValueW(HKEY_CLASSES_ROOT, key, nullptr, REG_SZ, browser,
                    DWORD((wcslen(browser) + 1) * sizeof(wchar_t)));
    EXPECT_EQ(run.Exit(), 0u);
}

TEST_F(Commands, EveryWayOfEndingSavesThePositionAndEverySetting)
{
    std::vector<Setting> settings = {{L"Option", L"AutoStart", 1},
                                     {L"Option", L"FontType", 1},
                                     {L"Option", L"FormatNo", 2},
                                     {L"Option", L"TickEnabled", 0},
                                     {L"Option", L"TickAtLastSecondsEnabled", 0},
                                     {L"Option", L"AcceptPast", 1},
                                     {L"Common", L"TabIndex", 3},
                                     {L"Common", L"Zoom", 2},
                                     {L"Common", L"Front", 0},
                                     {L"Common", L"Use1Monitor", 0},
                                     {L"Common", L"ShowInTaskbar", 1},
                                     {L"Common", L"PosVertikal", 2},
                                     {L"Common", L"PosHorizontal", 1},
                                     {L"Common", L"IsFreePos", 1},
                                     {L"Font", L"Weight", 700},
                                     {L"Font", L"Height", -20},
                                     {L"Font", L"Italic", 1},
                                     {L"Font", L"Underline", 1},
                                     {L"Font", L"StrikeOut", 1},
                                     {L"Font", L"RGB", 0x123456},
                                     {L"Colors", L"BackColor", 0x203040},
                                     {L"Basis", L"Tag", 29},
                                     {L"Basis", L"Monat", 2},
                                     {L"Basis", L"Jahr", 2088},
                                     {L"Basis", L"Stunde", 13},
                                     {L"Basis", L"Minute", 14},
                                     {L"Calc", L"SpecialDay", 5},
                                     {L"Calc", L"SpecialYear", 2031},
                                     {L"Calc", L"SetTime", 0},
                                     {L"Calc", L"SetPlus", 0},
                                     {L"Calc", L"TD_Tag", 1},
                                     {L"Calc", L"TD_Monat", 2},
                                     {L"Calc", L"TD_Jahr", 3},
                                     {L"Calc", L"TD_Stunde", 4},
                                     {L"Calc", L"TD_Minute", 5},
                                     {L"Calc", L"TD_Sekunde", 6},
                                     {L"position", L"left", 100},
                                     {L"position", L"top", 120},
                                     {L"Action", L"Event", 2},
                                     {L"Action", L"EventNo", 1},
                                     {L"Action", L"SoundEnabled", 1},
                                     {L"Action", L"TakePrntScrn", 0},
                                     {L"Action", L"ExtensionNo", 3},
                                     {L"Task", L"TaskEnabled", 0},
                                     {L"Task", L"IsMo", 1},
                                     {L"Task", L"IsDi", 0},
                                     {L"Task", L"IsMi", 1},
                                     {L"Task", L"IsDo", 0},
                                     {L"Task", L"IsFr", 1},
                                     {L"Task", L"IsSa", 0},
                                     {L"Task", L"IsSo", 1},
                                     {L"Task", L"TaskState", 3},
                                     {L"Task", L"Start_Stunde", 1},
                                     {L"Task", L"Start_Minute", 2},
                                     {L"Task", L"Count_Stunde", 3},
                                     {L"Task", L"Count_Minute", 4},
                                     {L"Task", L"Jeweils_Stunde", 5},
                                     {L"Task", L"Jeweils_Minute", 6}};
    wchar_t names[16][16];
    for (int i = 0; i < 16; ++i) {
        swprintf(names[i], 16, L"RgbColors%02d", i);
        settings.push_back({L"Colors", names[i], 0x010203 * (i + 1)});
    }
    const struct {
        const char *how;
        UINT message;
        WPARAM wParam;
    } endings[] = {
        {"Exit", WM_COMMAND, 105}, {"log-off", WM_ENDSESSION, TRUE}, {"Alt+F4", WM_CLOSE, 0}};
    for (const auto &end : endings) {
        ResetTempuloSettings();
        CRegistry store(L"Tempulo", RegCurrentUser);
        for (const Setting &s : settings)
            store.WriteValue(s.sub, s.name, s.value);
        WriteTempuloText(L"Font", L"FaceName", L"Courier New");
        WriteTempuloText(L"Action", L"PrntScrnPath", L"C:\\Bilder \u00E4\u00F6\u00FC");
        Tempulo run;
        ASSERT_NE(run.window, nullptr) << end.how;
        EXPECT_EQ(run.Rect().left, 100) << end.how;
        ResetTempuloSettings(); // what is there afterwards was written at the end
        EXPECT_EQ(run.Exit(end.message, end.wParam), 0u) << end.how;
        for (const Setting &s : settings)
            EXPECT_EQ(ReadTempuloSetting(s.sub, s.name), s.value) << end.how << ": " << s.name;
        CRegistry saved(L"Tempulo", RegCurrentUser);
        EXPECT_STREQ(saved.ReadValue(L"Font", L"FaceName", L""), L"Courier New");
        EXPECT_STREQ(saved.ReadValue(L"Action", L"PrntScrnPath", L""),
                     L"C:\\Bilder \u00E4\u00F6\u00FC");
    }
    RegDeleteKeyValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run",
                       L"Tempulo");
}

TEST_F(Commands, ASecondCopyReportsTheFirstAndEndsAlsoWhenBothStartAtOnce)
{
    for (bool together : {false, true}) {
        std::vector<std::unique_ptr<Program>> copies;
        copies.emplace_back(new Program(BesideTestProgram(L"Tempulo.exe")));
        if (!together) copies[0]->WaitForWindow(L"Tempulo", L"Tempulo", 20000);
        copies.emplace_back(new Program(BesideTestProgram(L"Tempulo.exe")));
        // Exactly one shows the message and ends with 0; the other counts.
        HWND box = nullptr, window = nullptr;
        size_t reporter = 0;
        ASSERT_TRUE(WaitUntil(
            [&] {
                for (size_t i = 0; i < copies.size(); ++i)
                    if ((box = FindProcessWindow(copies[i]->Id(), L"#32770", L"Tempulo")))
                        return reporter = i, true;
                return false;
            },
            20000))
            << "together " << together;
        Program &counting = *copies[1 - reporter];
        window = counting.WaitForWindow(L"Tempulo", L"Tempulo", 20000);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(ControlText(box), L"The program is already active.\nIt can not be restarted!");
        Press(box, IDOK);
        EXPECT_EQ(copies[reporter]->WaitForExit(10000), 0u);
        EXPECT_EQ(FindProcessWindow(copies[reporter]->Id(), L"Tempulo", nullptr), nullptr);
        PostMessageW(window, WM_CLOSE, 0, 0);
        EXPECT_EQ(counting.WaitForExit(10000), 0u);
    }
}

TEST_F(Commands, ATargetInThePastAtStartOffersTheNextNewYear)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    for (int answer : {IDYES, IDNO}) {
        ResetTempuloSettings();
        WriteTempuloSettings({{L"Basis", L"Jahr", 2020}, {L"Action", L"Event", 2}});
        Tempulo run;
        ASSERT_NE(run.window, nullptr);
        HWND box = run.WaitForBox();
        ASSERT_NE(box, nullptr) << "a target in the past at start never runs the action";
        EXPECT_EQ(ControlText(box), L"Tempulo has expired.\n\nIs the date to be set to January 1 "
                                    L"\nof the coming year?");
        Press(box, answer);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); }, 5000));
        EXPECT_EQ(run.Exit(), 0u);
        const bool yes = answer == IDYES;
        EXPECT_EQ(ReadTempuloSetting(L"Basis", L"Jahr"), yes ? now.wYear + 1 : 2020);
        EXPECT_EQ(ReadTempuloSetting(L"Option", L"AcceptPast"), yes ? 0 : 1);
    }
}

TEST_F(Commands, AnInvalidTargetIsReportedAndNotCounted)
{
    WriteTempuloSettings(
        {{L"Basis", L"Tag", 31}, {L"Basis", L"Monat", 2}, {L"Basis", L"Jahr", 2030}});
    Tempulo run;
    ASSERT_NE(run.window, nullptr);
    HWND box = run.WaitForBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(ControlText(box), kEnglishInvalid);
    EXPECT_EQ(WindowText(box), L"information");
    Press(box, IDOK);
    EXPECT_EQ(run.Exit(), 0u);
}

// The clock of the program alone moved to two seconds before New Year.
TEST_F(Commands, ATargetReachedWhileCountingShowsTheMessage)
{
    if (!HostShellAvailable()) GTEST_SKIP() << "needs the host shell for faketime";
    WriteTempuloSettings({{L"Action", L"SoundEnabled", 1}});
    SYSTEMTIME now;
    GetLocalTime(&now);
    char start[64];
    snprintf(start, sizeof start, "%04d-12-31 23:59:58", now.wYear);
    std::wstring exe = BesideTestProgram(L"Tempulo.exe").substr(2); // Z: is the Unix root
    for (wchar_t &c : exe)
        if (c == L'\\') c = L'/';
    std::string output;
    ASSERT_EQ(RunOnHost("DONT_FAKE_MONOTONIC=1 faketime " + ShellQuote(start) +
                            " /usr/lib/wine/wine64 " +
                            ShellQuote(std::string(exe.begin(), exe.end())) + " >/dev/null 2>&1 &",
                        &output),
              0)
        << output;
    HWND window = nullptr, box = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (window = FindWindowW(L"Tempulo", L"Tempulo")); }, 20000));
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    ASSERT_TRUE(
        WaitUntil([&] { return (box = FindProcessWindow(pid, L"#32770", nullptr)); }, 10000))
        << "no message at the target";
    EXPECT_EQ(ControlText(box), L"Tempulo has expired.\n\nIs the date to be set to January 1 "
                                L"\nof the coming year?");
    Press(box, IDNO);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); }, 5000));
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(window); }, 10000));
    EXPECT_EQ(ReadTempuloSetting(L"Option", L"AcceptPast"), 1) << "No keeps counting upwards";
}

// Days of counting driven faster than the clock: nothing may pile up.
TEST_F(Commands, TenThousandTicksAndTwoHundredPlacementsLeaveGdiObjectsAndMemoryFlat)
{
    // The count is read from the other process's memory: it sees objects
    // come and go.
    HANDLE self =
        OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, GetCurrentProcessId());
    const int own = GdiObjectCount(self);
    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    EXPECT_EQ(GdiObjectCount(self), own + 1);
    DeleteObject(brush);
    CloseHandle(self);

    Tempulo run;
    ASSERT_NE(run.window, nullptr);
    const HANDLE process = run.Process().Handle();
    // Wine leaves PrivateUsage at 0 and reports the private pages here.
    auto privateBytes = [&] {
        PROCESS_MEMORY_COUNTERS_EX m = {};
        GetProcessMemoryInfo(process, (PROCESS_MEMORY_COUNTERS *)&m, sizeof(m));
        return m.PrivateUsage ? m.PrivateUsage : m.PagefileUsage;
    };
    // Posted in batches that the queue can hold, each waited for; then the
    // program is let alone until it is idle again.
    auto drive = [&](int ticks, int placements) {
        for (int i = 0; i < ticks; ++i) {
            PostMessageW(run.window, WM_TIMER, 10, 0);
            if (i % (ticks / placements) == 0) PostMessageW(run.window, WM_DISPLAYCHANGE, 32, 0);
            if (i % 500 == 499) SendMessageW(run.window, WM_NULL, 0, 0);
        }
        SendMessageW(run.window, WM_NULL, 0, 0);
        WaitForInputIdle(process, 5000);
    };
    drive(200, 10); // caches and heaps settle first
    const int objects = GdiObjectCount(process);
    const SIZE_T memory = privateBytes();
    EXPECT_GT(objects, 13) << "at least the face images";
    drive(10000, 200);
    // The system's own device contexts come and go by a few; a leak per tick
    // or per placement would add hundreds.
    EXPECT_LE(GdiObjectCount(process), objects + 16) << "before: " << objects;
    EXPECT_LE(privateBytes(), memory + 64 * 1024) << "private bytes before: " << memory;
    EXPECT_EQ(run.Exit(), 0u);
}

} // namespace
