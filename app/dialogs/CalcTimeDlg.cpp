#include "dialogs/CalcTimeDlg.h"

#include "dialogs/SettingsPages.h"
#include "res/resource.h"
#include "settings/AppData.h"
#include "timecalc/CTimeCalc.h"

namespace {

struct tOffsetField {
    int id;
    int tSettings::*field;
};
const tOffsetField kOffsets[] = {
    {IDC_DAY, &tSettings::TD_Tag},       {IDC_MONTH, &tSettings::TD_Monat},
    {IDC_YEAR, &tSettings::TD_Jahr},     {IDC_HOUR, &tSettings::TD_Stunde},
    {IDC_MINUTE, &tSettings::TD_Minute}, {IDC_SECOND, &tSettings::TD_Sekunde},
};
// Long enough for any offset the calendar can take.
const int kOffsetDigits = 6;

void OnInitDialog(HWND box)
{
    const tSettings &s = g_App->Settings;
    CheckRadioButton(box, IDC_FROM_SET, IDC_FROM_NOW, s.SetTime ? IDC_FROM_SET : IDC_FROM_NOW);
    CheckRadioButton(box, IDC_PLUS, IDC_MINUS, s.SetPlus ? IDC_PLUS : IDC_MINUS);
    for (const tOffsetField &offset : kOffsets) {
        SendDlgItemMessageW(box, offset.id, EM_LIMITTEXT, kOffsetDigits, 0);
        SetNumber(box, offset.id, s.*offset.field, NUMBER_BLANK_PLAIN);
    }
}

void OnOk(HWND box)
{
    tSettings &s = g_App->Settings;
    s.SetTime = IsDlgButtonChecked(box, IDC_FROM_SET) == BST_CHECKED;
    s.SetPlus = IsDlgButtonChecked(box, IDC_PLUS) == BST_CHECKED;
    for (const tOffsetField &offset : kOffsets)
        s.*offset.field = ReadNumber(box, offset.id);
    CalculateNewTime();
}

} // namespace

void CalculateNewTime()
{
    tSettings &s = g_App->Settings;
    HWND page = SettingsPage(g_App->SettingsDialog, PAGE_CALC);
    CTimeCalc now, set;
    ReadTargetFields(page, &set);
    CTimeCalc &calc = s.SetTime ? set : now;
    calc.CalculateDate(s.SetPlus, s.TD_Tag, s.TD_Monat, s.TD_Jahr, s.TD_Stunde, s.TD_Minute,
                       s.TD_Sekunde);
    FillTargetFields(page, &calc);
    // The set time has whole minutes; from now the second counts too.
    s.Sekunde = s.SetTime ? 0 : calc.GetCalcDateValue(Second);
}

INT_PTR CALLBACK CalcTimeProc(HWND box, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG: OnInitDialog(box); return TRUE;
    case WM_COMMAND:
        // Ends as cancelled either way: the settings dialog's OK stores the
        // page.
        if (LOWORD(wParam) == IDOK) OnOk(box);
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) EndDialog(box, IDCANCEL);
        return TRUE;
    }
    return FALSE;
}
