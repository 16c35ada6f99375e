// The target's second, which no edit shows: the calculate-time dialog's
// computation run in this process on a real calculation page.
#include "dialogs/CalcTimeDlg.h"
#include "dialogs/SettingsPages.h"
#include "res/resource.h"
#include "settings/AppData.h"

#include <gtest/gtest.h>

namespace {

TEST(CalculateNewTime, TheSetTimeStartsAtSecondZeroAndNowKeepsItsSecond)
{
    g_App = CreateAppData(GetModuleHandleW(nullptr));
    // The settings dialog as far as the computation sees it: a dialog
    // window with its page table, of which only the calculation page exists.
    tPageTable table = {};
    HWND frame = CreateWindowExW(0, L"#32770", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 nullptr, nullptr);
    table.Pages[PAGE_CALC] = CreateDialogParamW(
        g_App->Instance, MAKEINTRESOURCEW(IDD_PAGE_CALC), frame,
        [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0);
    ASSERT_NE(table.Pages[PAGE_CALC], nullptr);
    SetWindowLongPtrW(frame, DWLP_USER, (LONG_PTR)&table);
    g_App->SettingsDialog = frame;
    HWND page = table.Pages[PAGE_CALC];
    tSettings &s = g_App->Settings;

    const struct {
        int day, month, year, hour, minute;
    } set[] = {{31, 12, 2030, 23, 0}, {28, 2, 2028, 23, 59}};
    for (const auto &t : set) {
        SetNumber(page, IDC_DAY, t.day, NUMBER_PLAIN);
        SetNumber(page, IDC_MONTH, t.month, NUMBER_PLAIN);
        SetNumber(page, IDC_YEAR, t.year, NUMBER_PLAIN);
        SetNumber(page, IDC_HOUR, t.hour, NUMBER_PLAIN);
        SetNumber(page, IDC_MINUTE, t.minute, NUMBER_PLAIN);
        s.SetTime = s.SetPlus = true;
        s.TD_Tag = s.TD_Monat = s.TD_Jahr = s.TD_Stunde = s.TD_Sekunde = 0;
        s.TD_Minute = 90;
        s.Sekunde = 17;
        CalculateNewTime();
        EXPECT_EQ(s.Sekunde, 0) << t.day;
        EXPECT_EQ(ReadNumber(page, IDC_HOUR) * 60 + ReadNumber(page, IDC_MINUTE),
                  (t.hour * 60 + t.minute + 90) % 1440)
            << t.day;
    }
    // From now the second counts: it is the clock's.
    s.SetTime = false;
    s.TD_Minute = 0;
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

} // namespace
