#include "dialogs/SelectDayDlg.h"

#include "dialogs/SettingsPages.h"
#include "res/resource.h"
#include "settings/AppData.h"
#include "timecalc/CTimeCalc.h"

namespace {

const int kSpecialDayCount = 12;
const size_t kDayNameCch = 20;

void OnInitDialog(HWND box)
{
    const tSettings &s = g_App->Settings;
    SendDlgItemMessageW(box, IDC_SPECIAL_DAY, CB_RESETCONTENT, 0, 0);
    for (int i = 0; i < kSpecialDayCount; ++i) {
        wchar_t name[kDayNameCch] = L"";
        LoadStringW(g_App->Instance, IDS_SPECIAL_FIRST + i, name, kDayNameCch);
        SendDlgItemMessageW(box, IDC_SPECIAL_DAY, CB_ADDSTRING, 0, (LPARAM)name);
    }
    SendDlgItemMessageW(box, IDC_SPECIAL_DAY, CB_SETCURSEL, s.SpecialDay, 0);
    SendDlgItemMessageW(box, IDC_SPECIAL_YEAR, EM_LIMITTEXT, 4, 0);
    SetNumber(box, IDC_SPECIAL_YEAR, s.SpecialYear, NUMBER_BLANK_TWO_DIGIT);
}

void OnOk(HWND box)
{
    tSettings &s = g_App->Settings;
    s.SpecialDay = (int)SendDlgItemMessageW(box, IDC_SPECIAL_DAY, CB_GETCURSEL, 0, 0);
    s.SpecialYear = ReadNumber(box, IDC_SPECIAL_YEAR);
    FillFromSpecialDay();
}

} // namespace

void FillFromSpecialDay()
{
    tSettings &s = g_App->Settings;
    CTimeCalc calc;
    // Any other number leaves the target at now.
    calc.SetSpecialDays((SpecialDaysType)s.SpecialDay, s.SpecialYear);
    FillTargetFields(SettingsPage(g_App->SettingsDialog, PAGE_CALC), &calc);
    s.Sekunde = calc.GetCalcDateValue(Second);
}

INT_PTR CALLBACK SelectDayProc(HWND box, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG: OnInitDialog(box); return TRUE;
    case WM_COMMAND:
        // The dialog only hands its result over: it ends as cancelled
        // either way, and the settings dialog's OK stores the page.
        if (LOWORD(wParam) == IDOK) OnOk(box);
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) EndDialog(box, IDCANCEL);
        return TRUE;
    }
    return FALSE;
}
