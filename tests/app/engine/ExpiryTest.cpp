// What happens at the target, in the program's own process: the system
// action is recorded instead of ending the test session, everything else
// (message boxes, the screenshot file, the registry, the timer) is real.
#include "engine/Expiry.h"
#include "engine/Tick.h"
#include "registry/CRegistry.h"
#include "support/DialogPresser.h"
#include "support/FixedClock.h"
#include "support/TempuloProcess.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace wintest;

namespace {

std::vector<int> g_Actions;

bool RecordAction(CSystem::WindowsActionType action)
{
    g_Actions.push_back(action);
    return true;
}

const wchar_t kExpired[] = L"Tempulo has expired.\n\n";

class Expiry : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(clock.Active());
        app = g_App = CreateAppData(GetModuleHandleW(nullptr));
        wcscpy_s(app->RegistryKey, key.c_str());
        window = CreateWindowExW(0, L"STATIC", L"Tempulo", WS_POPUP, 0, 0, 50, 20, nullptr, nullptr,
                                 nullptr, nullptr);
        g_Actions.clear();
        ExecSystemAction = RecordAction;
        SetTarget(6, 1, 2025, 12, 0); // one second ago
    }
    void TearDown() override
    {
        ExecSystemAction = CSystem::ExecWindowsAction;
        DestroyWindow(window);
        RegDeleteTreeW(HKEY_CURRENT_USER, (L"Software\\Wow6432Node\\Orvandt\\" + key).c_str());
        DestroyAppData(app);
        g_App = nullptr;
    }

    void SetTarget(int day, int month, int year, int hour, int minute)
    {
        tSettings &s = app->Settings;
        s.Tag = day, s.Monat = month, s.Jahr = year, s.Stunde = hour, s.Minute = minute;
        s.Sekunde = 0;
    }
    bool Check(bool initial)
    {
        const tSettings &s = app->Settings;
        CTimeCalc calc((WORD)s.Tag, (WORD)s.Monat, (WORD)s.Jahr, (WORD)s.Stunde, (WORD)s.Minute,
                       (WORD)s.Sekunde);
        return CheckExpiry(app, window, &calc, initial);
    }
    // Stops the timer; whether it ran.
    bool TimerWasRunning() { return KillTimer(window, TIMER_TICK) != 0; }
    bool ClosePosted()
    {
        MSG m;
        return PeekMessageW(&m, window, WM_CLOSE, WM_CLOSE, PM_REMOVE) != 0;
    }
    int Stored(const wchar_t *sub, const wchar_t *name)
    {
        return CRegistry(key.c_str(), RegCurrentUser).ReadValue(sub, name, -12345);
    }

    PinnedClock clock{6, 1, 2025, 12, 0, 1};
    const std::wstring key = UniqueName(L"TempuloExpiry-");
    tAppData *app = nullptr;
    HWND window = nullptr;
};

TEST_F(Expiry, TheSystemActionSavesEverythingTakesTheScreenshotAndEndsTheProgram)
{
    const std::wstring folder = OutputPath(key.c_str());
    const struct {
        int eventNo;
        std::vector<int> actions;
    } cases[] = {{0, {CSystem::Shutdown}},
                 {1, {CSystem::Reboot}},
                 {2, {CSystem::LogOff}},
                 {3, {CSystem::PowerOff}},
                 {4, {}},
                 {-1, {}}};
    for (const auto &c : cases) {
        tSettings &s = app->Settings;
        s.Event = 2, s.EventNo = c.eventNo, s.TakePrntScrn = true, s.ExtensionNo = 3;
        wcscpy_s(s.PrntScrnPath, folder.c_str());
        SetWindowPos(window, nullptr, 70 + c.eventNo, 80, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        g_Actions.clear();
        StartTickTimer(window);
        EXPECT_TRUE(Check(false));
        EXPECT_EQ(g_Actions, c.actions) << c.eventNo;
        EXPECT_FALSE(TimerWasRunning()) << c.eventNo;
        EXPECT_TRUE(ClosePosted()) << c.eventNo;
        EXPECT_EQ(Stored(L"Action", L"EventNo"), c.eventNo);
        EXPECT_EQ(Stored(L"position", L"left"), 70 + c.eventNo);
        FILE *png = _wfopen((folder + L"\\Tempulo_20250106_120001.png").c_str(), L"rb");
        unsigned char magic[4] = {};
        if (png) fread(magic, 1, 4, png), fclose(png);
        EXPECT_EQ(magic[1], 'P') << "a PNG file named by the clock, " << c.eventNo;
        DeleteFileW((folder + L"\\Tempulo_20250106_120001.png").c_str());
    }
}

TEST_F(Expiry, AScreenshotThatCannotBeSavedIsReportedAndTheActionRunsAnyway)
{
    tSettings &s = app->Settings;
    s.Event = 2, s.EventNo = 2, s.TakePrntScrn = true;
    wcscpy_s(s.PrntScrnPath, L"F:\\Shots"); // a drive whose folder is gone
    std::wstring text;
    {
        DialogPresser presser(IDOK, [&](HWND box) { text = ControlText(box); });
        Check(false);
    }
    EXPECT_EQ(text, L"The screenshot could not be saved!");
    EXPECT_EQ(g_Actions, std::vector<int>{CSystem::LogOff});
}

TEST_F(Expiry, AtStartAnInvalidTargetIsReportedAndTheCountDoesNotStart)
{
    SetTarget(31, 2, 2027, 0, 0);
    std::wstring text;
    {
        DialogPresser presser(IDOK, [&](HWND box) { text = ControlText(box); });
        EXPECT_FALSE(Check(true));
    }
    EXPECT_EQ(text, L"The set date is invalid !!\nPlease correct this in the settings.\n\n(year : "
                    L"01.01.1900 - 31.12.2099)");
    EXPECT_FALSE(TimerWasRunning());
}

// The New Year offer itself is answered in the end-to-end tests; a task
// that chains its targets finds the next one instead.
TEST_F(Expiry, AChainedTaskMovesOnWithAPlainMessage)
{
    tSettings &s = app->Settings;
    s.Event = 1, s.SoundEnabled = true;
    s.TaskEnabled = true, s.TaskState = 2, s.Count_Minute = 15;
    StartTickTimer(window);
    std::wstring text;
    {
        DialogPresser presser(IDOK, [&](HWND box) { text = ControlText(box); });
        EXPECT_TRUE(Check(false));
    }
    EXPECT_EQ(text, kExpired);
    _MYSYSTEMTIME t = {s.Jahr, s.Monat, 0, s.Tag, s.Stunde, s.Minute, s.Sekunde, 0};
    EXPECT_EQ(Stamp(t), "06.01.2025 12:15:00");
    EXPECT_FALSE(s.AcceptPast);
    EXPECT_TRUE(TimerWasRunning()) << "counting goes on";
    EXPECT_TRUE(g_Actions.empty());
}

} // namespace
