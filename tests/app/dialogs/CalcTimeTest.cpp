// The target's second, which no edit shows, computed in this process on a
// real calculation page: 0 from the set time, the clock's from now.
#include "dialogs/CalcTimeDlg.h"
#include "dialogs/SettingsPages.h"
#include "res/resource.h"
#include "settings/AppData.h"

#include <gtest/gtest.h>

TEST(CalculateNewTime, TheSetTimeStartsAtSecondZeroAndNowKeepsTheClocksSecond)
{
    g_App = CreateAppData(GetModuleHandleW(nullptr));
    // The settings dialog as the computation sees it: a dialog window whose
    // page table holds the calculation page.
    tPageTable table = {};
    HWND frame = CreateWindowExW(0, L"#32770", L"", WS_POPUP, 0, 0, 9, 9, nullptr, nullptr, nullptr,
                                 nullptr);
    HWND page = table.Pages[PAGE_CALC] = CreateDialogParamW(
        g_App->Instance, MAKEINTRESOURCEW(IDD_PAGE_CALC), frame,
        [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0);
    ASSERT_NE(page, nullptr);
    SetWindowLongPtrW(frame, DWLP_USER, (LONG_PTR)&table);
    g_App->SettingsDialog = frame;
    tSettings &s = g_App->Settings;
    const int set[5] = {31, 12, 2030, 23, 0};
    for (int i = 0; i < 5; ++i)
        SetNumber(page, IDC_DAY + i + (i > 2), set[i], NUMBER_PLAIN); // no edit 193
    s.SetTime = s.SetPlus = true, s.TD_Minute = 90, s.Sekunde = 17;
    CalculateNewTime();
    EXPECT_EQ(s.Sekunde, 0);
    EXPECT_EQ(ReadNumber(page, IDC_HOUR) * 60 + ReadNumber(page, IDC_MINUTE), 30);

    s.SetTime = false, s.TD_Minute = 0;
    SYSTEMTIME before, after;
    do {
        GetLocalTime(&before);
        CalculateNewTime();
        GetLocalTime(&after);
    } while (before.wSecond != after.wSecond);
    EXPECT_EQ(s.Sekunde, before.wSecond);
    DestroyWindow(frame);
    DestroyAppData(g_App);
    g_App = nullptr;
}
