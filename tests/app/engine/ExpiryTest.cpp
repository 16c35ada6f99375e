// Proves what happens at the target, in the program's own code in this
// process: every system action is asked for (through the seam that keeps
// the session alive) after the screenshot and the saved settings, and the
// program then ends; a failed screenshot is reported; an invalid target at
// start stops the count; a chained task moves on with a plain message.
// Message boxes, files, registry and timer are real.
#include "engine/Expiry.h"
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

std::vector<int> g_Actions;

bool RecordAction(CSystem::WindowsActionType action)
{
    g_Actions.push_back(action);
    return true;
}

class Expiry : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(clock.Active());
        app = g_App = CreateAppData(GetModuleHandleW(nullptr));
        wcscpy_s(app->RegistryKey, key.c_str());
        window = CreateWindowExW(0, L"STATIC", L"Tempulo", WS_POPUP, 0, 0, 50, 20, nullptr, nullptr,
                                 nullptr, nullptr);
        ExecSystemAction = RecordAction;
        g_Actions.clear();
        tSettings &s = app->Settings; // one second ago
        s.Tag = 6, s.Monat = 1, s.Jahr = 2025, s.Stunde = 12, s.Minute = s.Sekunde = 0;
    }
    void TearDown() override
    {
        ExecSystemAction = CSystem::ExecWindowsAction;
        DestroyWindow(window);
        RegDeleteTreeW(HKEY_CURRENT_USER, (L"Software\\Wow6432Node\\Orvandt\\" + key).c_str());
        DestroyAppData(app);
        g_App = nullptr;
    }

    // One tick's check, on the date object built from the stored target;
    // the text of the message box it showed, answered with OK.
    std::wstring Check(bool initial, bool *result = nullptr)
    {
        const tSettings &s = app->Settings;
        CTimeCalc calc(WORD(s.Tag), WORD(s.Monat), WORD(s.Jahr), WORD(s.Stunde), WORD(s.Minute),
                       WORD(s.Sekunde));
        std::wstring text;
        DialogPresser presser(IDOK, [&](HWND box) { text = ControlText(box); });
        const bool checked = CheckExpiry(app, window, &calc, initial);
        if (result) *result = checked;
        return text;
    }
    bool TimerWasRunning() { return KillTimer(window, TIMER_TICK) != 0; }
    int Stored(const wchar_t *sub, const wchar_t *name)
    {
        return CRegistry(key.c_str(), RegCurrentUser).ReadValue(sub, name, -12345);
    }

    PinnedClock clock{6, 1, 2025, 12, 0, 1};
    const std::wstring key = UniqueName(L"TempuloExpiry-");
    tAppData *app = nullptr;
    HWND window = nullptr;
};

TEST_F(Expiry, TheSystemActionFollowsScreenshotAndSavedSettingsAndEndsTheProgram)
{
    const std::wstring folder = OutputPath(key.c_str());
    const std::wstring shot = folder + L"\\Tempulo_20250106_120001.png"; // named by the clock
    const struct {
        int eventNo;
        std::vector<int> actions;
    } rows[] = {{0, {CSystem::Shutdown}},
                {1, {CSystem::Reboot}},
                {2, {CSystem::LogOff}},
                {3, {CSystem::PowerOff}},
                {4, {}},
                {-1, {}}};
    for (const auto &row : rows) {
        SCOPED_TRACE(testing::Message() << "EventNo " << row.eventNo);
        tSettings &s = app->Settings;
        s.Event = 2, s.EventNo = row.eventNo, s.TakePrntScrn = true, s.ExtensionNo = 3;
        wcscpy_s(s.PrntScrnPath, folder.c_str());
        SetWindowPos(window, nullptr, 70 + row.eventNo, 80, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        g_Actions.clear();
        StartTickTimer(window);
        bool result = false;
        EXPECT_EQ(Check(false, &result), L"") << "no question";
        EXPECT_TRUE(result);
        EXPECT_EQ(g_Actions, row.actions);
        EXPECT_FALSE(TimerWasRunning());
        MSG m;
        EXPECT_TRUE(PeekMessageW(&m, window, WM_CLOSE, WM_CLOSE, PM_REMOVE)) << "the program ends";
        EXPECT_EQ(Stored(L"Action", L"EventNo"), row.eventNo);
        EXPECT_EQ(Stored(L"position", L"left"), 70 + row.eventNo);
        unsigned char magic[4] = {};
        if (FILE *png = _wfopen(shot.c_str(), L"rb")) fread(magic, 1, 4, png), fclose(png);
        EXPECT_EQ(magic[1], 'P') << "a PNG screenshot";
        DeleteFileW(shot.c_str());
    }
}

TEST_F(Expiry, AScreenshotThatCannotBeSavedIsReportedAndTheActionRunsAnyway)
{
    tSettings &s = app->Settings;
    s.Event = 2, s.EventNo = 2, s.TakePrntScrn = true;
    wcscpy_s(s.PrntScrnPath, L"F:\\Shots"); // a drive whose folder is gone
    EXPECT_EQ(Check(false), ProgramText(IDS_SCREENSHOT_FAILED));
    EXPECT_EQ(g_Actions, std::vector<int>{CSystem::LogOff});
}

TEST_F(Expiry, AnInvalidTargetAtStartIsReportedAndNotCounted)
{
    app->Settings.Tag = 31, app->Settings.Monat = 2;
    bool result = true;
    EXPECT_NE(Check(true, &result), L"");
    EXPECT_FALSE(result);
    EXPECT_FALSE(TimerWasRunning());
}

// The New Year question is answered in the end-to-end tests; a task that
// chains its targets finds the next one instead.
TEST_F(Expiry, AChainedTaskMovesOnWithAPlainMessage)
{
    tSettings &s = app->Settings;
    s.Event = 1, s.SoundEnabled = true;
    s.TaskEnabled = true, s.TaskState = 2, s.Count_Minute = 15;
    StartTickTimer(window);
    EXPECT_EQ(Check(false), ProgramText(IDS_EXPIRED) + L"\n\n");
    _MYSYSTEMTIME t = {s.Jahr, s.Monat, 0, s.Tag, s.Stunde, s.Minute, s.Sekunde, 0};
    EXPECT_EQ(Stamp(t), "06.01.2025 12:15:00");
    EXPECT_FALSE(s.AcceptPast);
    EXPECT_TRUE(TimerWasRunning()) << "counting goes on";
    EXPECT_TRUE(g_Actions.empty());
}

} // namespace
