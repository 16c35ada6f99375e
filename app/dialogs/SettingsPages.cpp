#include "dialogs/SettingsPages.h"

#include "dialogs/ColorChoice.h"
#include "engine/Expiry.h"
#include "engine/Task.h"
#include "font/CFont.h"
#include "imaging/CSupportedGraphic.h"
#include "res/resource.h"
#include "settings/AppData.h"
#include "settings/DisplayFormat.h"
#include "timecalc/CTimeCalc.h"

#include <commctrl.h>
#include <initializer_list>
#include <limits.h>
#include <strsafe.h>

namespace {

// Lists fill their items through buffers of these sizes.
const size_t kActionNameCch = 20;
const int kActionCount = 4;

// Typed numbers are kept short enough that they can neither overflow nor
// wrap round when they become the 16-bit fields of a date.
const struct {
    int page, id, digits;
} kNumberLimits[] = {
    {PAGE_CALC, IDC_DAY, 2},        {PAGE_CALC, IDC_MONTH, 2},
    {PAGE_CALC, IDC_YEAR, 4},       {PAGE_CALC, IDC_HOUR, 2},
    {PAGE_CALC, IDC_MINUTE, 2},     {PAGE_WINDOW, IDC_ZOOM, 2},
    {PAGE_TASK, IDC_START_HOUR, 5}, {PAGE_TASK, IDC_START_MINUTE, 5},
    {PAGE_TASK, IDC_COUNT_HOUR, 5}, {PAGE_TASK, IDC_COUNT_MINUTE, 5},
    {PAGE_TASK, IDC_EACH_HOUR, 2},  {PAGE_TASK, IDC_EACH_MINUTE, 2},
};

bool IsChecked(HWND box, int id)
{
    return IsDlgButtonChecked(box, id) == BST_CHECKED;
}

void Check(HWND box, int id, bool on)
{
    CheckDlgButton(box, id, on ? BST_CHECKED : BST_UNCHECKED);
}

void Enable(HWND box, int id, bool on)
{
    EnableWindow(GetDlgItem(box, id), on);
}

// The first of count radios from first that is set, or -1.
int CheckedRadio(HWND box, int first, int count)
{
    for (int i = 0; i < count; ++i)
        if (IsChecked(box, first + i)) return i;
    return -1;
}

// A year typed with two digits or fewer is one of this century.
int FullYear(int year)
{
    return year < 100 ? year + 2000 : year;
}

// A date field out of the 16-bit range becomes a value that no date has,
// instead of wrapping round to one that looks valid.
WORD DateField(int value)
{
    return value < 0 || value > 0xFFFF ? 0xFFFF : (WORD)value;
}

int ListSelection(HWND box, int id)
{
    return (int)SendDlgItemMessageW(box, id, CB_GETCURSEL, 0, 0);
}

void AddListItem(HWND box, int id, const wchar_t *text)
{
    SendDlgItemMessageW(box, id, CB_ADDSTRING, 0, (LPARAM)text);
}

// Shows the page and hides the one shown before; the tab follows.
void SelectPage(HWND dialog, int index)
{
    HWND tab = GetDlgItem(dialog, IDC_TABS);
    const int current = TabCtrl_GetCurSel(tab);
    if (current == index) return;
    if (current >= 0 && current < PAGE_COUNT) ShowWindow(SettingsPage(dialog, current), SW_HIDE);
    TabCtrl_SetCurSel(tab, index);
    ShowWindow(SettingsPage(dialog, index), SW_SHOW);
}

void InitDisplayPage(HWND page, const tAppData *app)
{
    const tSettings &s = app->Settings;
    const int face = s.FontType == 1   ? IDC_FACE_SMALL
                     : s.FontType == 2 ? IDC_FACE_DIGITAL
                                       : IDC_FACE_FONT;
    CheckRadioButton(page, IDC_FACE_SMALL, IDC_FACE_FONT, face);
    SendDlgItemMessageW(page, IDC_FORMAT, CB_RESETCONTENT, 0, 0);
    for (int i = 0; i < DISPLAY_FORMAT_COUNT; ++i)
        AddListItem(page, IDC_FORMAT, DisplayFormatOf(i));
    SendDlgItemMessageW(page, IDC_FORMAT, CB_SETCURSEL, s.FormatNo, 0);
    Check(page, IDC_TICK, s.TickEnabled);
    Check(page, IDC_TICK_LAST, s.TickAtLastSecondsEnabled);
}

void InitCalcPage(HWND page, const tSettings &s)
{
    SetNumber(page, IDC_DAY, s.Tag, NUMBER_BLANK_TWO_DIGIT);
    SetNumber(page, IDC_MONTH, s.Monat, NUMBER_BLANK_TWO_DIGIT);
    SetNumber(page, IDC_YEAR, s.Jahr, NUMBER_BLANK_PLAIN);
    SetNumber(page, IDC_HOUR, s.Stunde, NUMBER_TWO_DIGIT);
    SetNumber(page, IDC_MINUTE, s.Minute, NUMBER_TWO_DIGIT);
    Check(page, IDC_ACCEPT_PAST, s.AcceptPast);
}

void InitWindowPage(HWND page, const tSettings &s)
{
    for (int id = IDC_POS_LEFT; id <= IDC_POS_BOTTOM; ++id)
        Check(page, id, false);
    SetNumber(page, IDC_ZOOM, s.Zoom, NUMBER_BLANK_PLAIN);
    Check(page, IDC_FRONT, s.Front);
    // A dragged window stands where it was put, on whichever monitor.
    Check(page, IDC_USE1MONITOR, s.Use1Monitor && !s.IsFreePos);
    Check(page, IDC_TASKBAR, s.ShowInTaskbar);
    Check(page, IDC_FREEPOS, s.IsFreePos);
    if (s.IsFreePos) return;
    if (s.PosHorizontal >= 0 && s.PosHorizontal <= 2)
        Check(page, IDC_POS_LEFT + s.PosHorizontal, true);
    if (s.PosVertikal >= 0 && s.PosVertikal <= 2) Check(page, IDC_POS_TOP + s.PosVertikal, true);
}

void InitActionPage(HWND page, const tAppData *app)
{
    const tSettings &s = app->Settings;
    CheckRadioButton(page, IDC_EVENT_MESSAGE, IDC_EVENT_ACTION,
                     s.Event == 1 ? IDC_EVENT_MESSAGE : IDC_EVENT_ACTION);
    Check(page, IDC_SOUND, s.SoundEnabled);
    SendDlgItemMessageW(page, IDC_ACTION, CB_RESETCONTENT, 0, 0);
    for (int i = 0; i < kActionCount; ++i) {
        wchar_t name[kActionNameCch] = L"";
        LoadStringW(app->Instance, IDS_ACTION_FIRST + i, name, kActionNameCch);
        AddListItem(page, IDC_ACTION, name);
    }
    SendDlgItemMessageW(page, IDC_ACTION, CB_SETCURSEL, s.EventNo, 0);
    Check(page, IDC_SHOT, s.TakePrntScrn);
    SetDlgItemTextW(page, IDC_SHOT_FOLDER, s.PrntScrnPath);
    SendDlgItemMessageW(page, IDC_SHOT_TYPE, CB_RESETCONTENT, 0, 0);
    CSupportedGraphic *types = app->SupportedGraphic;
    const int count = types ? types->CountTypesForSave(CSupportedGraphic::GraphicFormats) : 0;
    for (int i = 0; i < count; ++i)
        AddListItem(page, IDC_SHOT_TYPE,
                    types->GetNameForSave(CSupportedGraphic::GraphicFormats, i));
    // A number outside the list leaves it without a selection.
    SendDlgItemMessageW(page, IDC_SHOT_TYPE, CB_SETCURSEL, s.ExtensionNo, 0);
}

void InitTaskPage(HWND page, const tSettings &s)
{
    for (int id = IDC_TASK_START; id <= IDC_TASK_EACH; ++id)
        Check(page, id, false);
    Check(page, IDC_TASK, s.TaskEnabled);
    const bool days[7] = {s.IsMo, s.IsDi, s.IsMi, s.IsDo, s.IsFr, s.IsSa, s.IsSo};
    for (int i = 0; i < 7; ++i)
        Check(page, IDC_MONDAY + i, days[i]);
    if (s.TaskState >= 1 && s.TaskState <= 3) Check(page, IDC_TASK_START + s.TaskState - 1, true);
    SetNumber(page, IDC_START_HOUR, s.Start_Stunde, NUMBER_BLANK_PLAIN);
    SetNumber(page, IDC_START_MINUTE, s.Start_Minute, NUMBER_BLANK_PLAIN);
    SetNumber(page, IDC_COUNT_HOUR, s.Count_Stunde, NUMBER_BLANK_PLAIN);
    SetNumber(page, IDC_COUNT_MINUTE, s.Count_Minute, NUMBER_BLANK_PLAIN);
    SetNumber(page, IDC_EACH_HOUR, s.Jeweils_Stunde, NUMBER_TWO_DIGIT);
    SetNumber(page, IDC_EACH_MINUTE, s.Jeweils_Minute, NUMBER_TWO_DIGIT);
}

// Messages of the dialog: one line of caption, the exclamation icon, OK.
void ShowPageMessage(HWND dialog, const wchar_t *text)
{
    wchar_t caption[PATH_CCH] = L"";
    LoadStringW(g_App->Instance, IDS_INFORMATION, caption, PATH_CCH);
    MessageBoxW(dialog, text, caption, MB_OK | MB_ICONEXCLAMATION);
}

void ShowTaskMessage(HWND dialog, UINT reason)
{
    wchar_t head[PATH_CCH] = L"", tail[PATH_CCH] = L"", text[PATH_CCH];
    LoadStringW(g_App->Instance, IDS_TASK_INCOMPLETE, head, PATH_CCH);
    LoadStringW(g_App->Instance, reason, tail, PATH_CCH);
    StringCchPrintfW(text, PATH_CCH, L"%s%s", head, tail);
    ShowPageMessage(dialog, text);
}

// The mode the radio buttons choose; none (a mode the program does not know
// was stored) counts as the first, for the checks, the controls and OK alike.
int TaskModeOf(HWND task)
{
    return IsChecked(task, IDC_TASK_LAST)   ? TASK_SINCE_LAST
           : IsChecked(task, IDC_TASK_EACH) ? TASK_WEEKDAYS
                                            : TASK_SINCE_START;
}

// The reason the task cannot compute a target (a string id), or 0. calc
// holds the target, whose time the weekday mode replaces.
UINT TaskProblem(HWND task, CTimeCalc *calc)
{
    const int mode = TaskModeOf(task);
    if (mode == TASK_SINCE_LAST)
        return ReadNumber(task, IDC_COUNT_HOUR) || ReadNumber(task, IDC_COUNT_MINUTE)
                   ? 0
                   : IDS_TASK_SINCE_LAST;
    if (mode == TASK_SINCE_START)
        return ReadNumber(task, IDC_START_HOUR) || ReadNumber(task, IDC_START_MINUTE)
                   ? 0
                   : IDS_TASK_SINCE_START;
    bool anyDay = false;
    for (int id = IDC_MONDAY; id <= IDC_SUNDAY; ++id)
        anyDay = anyDay || IsChecked(task, id);
    if (!anyDay) return IDS_TASK_NO_WEEKDAY;
    calc->SetCalcDateValue(Hour, ReadNumber(task, IDC_EACH_HOUR));
    calc->SetCalcDateValue(Minute, ReadNumber(task, IDC_EACH_MINUTE));
    return calc->CalcDateIsValid() ? 0 : IDS_TASK_BAD_TIME;
}

} // namespace

tPageTable *PageTable(HWND dialog)
{
    return (tPageTable *)GetWindowLongPtrW(dialog, DWLP_USER);
}

HWND SettingsPage(HWND dialog, int index)
{
    const tPageTable *table = PageTable(dialog);
    if (!table || index < 0 || index >= PAGE_COUNT) return nullptr;
    return table->Pages[index];
}

void SetNumber(HWND box, int id, int value, NumberRule rule)
{
    wchar_t text[16] = L"";
    const bool blank = (rule == NUMBER_BLANK_TWO_DIGIT || rule == NUMBER_BLANK_PLAIN) && value <= 0;
    const bool twoDigit = rule == NUMBER_TWO_DIGIT || rule == NUMBER_BLANK_TWO_DIGIT;
    if (!blank)
        StringCchPrintfW(text, 16, twoDigit && value >= 0 && value < 10 ? L"0%d" : L"%d", value);
    SetDlgItemTextW(box, id, text);
}

int ReadNumber(HWND box, int id)
{
    const UINT value = GetDlgItemInt(box, id, nullptr, FALSE);
    return value > INT_MAX ? INT_MAX : (int)value;
}

void FillTargetFields(HWND page, CTimeCalc *calc)
{
    SetNumber(page, IDC_DAY, calc->GetCalcDateValue(Day), NUMBER_BLANK_TWO_DIGIT);
    SetNumber(page, IDC_MONTH, calc->GetCalcDateValue(Month), NUMBER_BLANK_TWO_DIGIT);
    SetNumber(page, IDC_YEAR, calc->GetCalcDateValue(Year), NUMBER_BLANK_PLAIN);
    SetNumber(page, IDC_HOUR, calc->GetCalcDateValue(Hour), NUMBER_TWO_DIGIT);
    SetNumber(page, IDC_MINUTE, calc->GetCalcDateValue(Minute), NUMBER_TWO_DIGIT);
}

void InitSettingsPages(HWND dialog)
{
    tAppData *app = g_App;
    const tSettings &s = app->Settings;
    Check(dialog, IDC_AUTOSTART, s.AutoStart);
    if (s.TabIndex >= 1 && s.TabIndex < PAGE_COUNT) SelectPage(dialog, s.TabIndex);

    app->DialogSettings.BackColor = s.BackColor;
    for (int i = 0; i < CUSTOM_COLOR_COUNT; ++i)
        app->DialogSettings.RgbColors[i] = s.RgbColors[i];
    delete app->DialogFont;
    app->DialogFont = new CFont(app->Font);
    HWND display = SettingsPage(dialog, PAGE_DISPLAY);
    SetDlgItemTextW(display, IDC_FONT_NAME, app->DialogFont->GetDisplayName());

    for (const auto &limit : kNumberLimits)
        SendDlgItemMessageW(SettingsPage(dialog, limit.page), limit.id, EM_LIMITTEXT, limit.digits,
                            0);
    InitDisplayPage(display, app);
    InitCalcPage(SettingsPage(dialog, PAGE_CALC), s);
    InitWindowPage(SettingsPage(dialog, PAGE_WINDOW), s);
    InitActionPage(SettingsPage(dialog, PAGE_ACTION), app);
    InitTaskPage(SettingsPage(dialog, PAGE_TASK), s);
    ShowColorSwatch(dialog);
    UpdatePageStates(dialog);
}

void UpdatePageStates(HWND dialog)
{
    HWND calc = SettingsPage(dialog, PAGE_CALC), action = SettingsPage(dialog, PAGE_ACTION);
    HWND task = SettingsPage(dialog, PAGE_TASK);
    const bool acceptPast = IsChecked(calc, IDC_ACCEPT_PAST);
    const bool shot = IsChecked(action, IDC_SHOT);
    const bool taskOn = IsChecked(task, IDC_TASK);
    const int mode = TaskModeOf(task);

    // The entry's place decides, not the user: nothing enables it again.
    if (!g_App->Settings.IsLocalDrive) Enable(dialog, IDC_AUTOSTART, false);

    // The weekday task sets the target itself.
    const bool ownTarget = !(taskOn && mode == TASK_WEEKDAYS);
    for (int id :
         {IDC_DAY, IDC_MONTH, IDC_YEAR, IDC_HOUR, IDC_MINUTE, IDC_SELECT_DAY, IDC_CALC_TIME})
        Enable(calc, id, ownTarget);
    for (int id : {IDC_TASK_MARK, IDC_TASK_NOTE})
        ShowWindow(GetDlgItem(calc, id), ownTarget ? SW_HIDE : SW_SHOW);

    for (int id : {IDC_EVENT_MESSAGE, IDC_EVENT_ACTION, IDC_SOUND, IDC_ACTION, IDC_SHOT})
        Enable(action, id, !acceptPast);
    for (int id : {IDC_SHOT_TYPE_LABEL, IDC_SHOT_FOLDER_LABEL, IDC_SHOT_TYPE, IDC_SHOT_BROWSE,
                   IDC_SHOT_FOLDER})
        Enable(action, id, !acceptPast && shot);

    for (int id = IDC_TASK_START; id <= IDC_TASK_EACH; ++id)
        Enable(task, id, taskOn);
    for (int id : {IDC_START_HOUR, IDC_START_MINUTE})
        Enable(task, id, taskOn && mode == TASK_SINCE_START);
    for (int id : {IDC_COUNT_HOUR, IDC_COUNT_MINUTE})
        Enable(task, id, taskOn && mode == TASK_SINCE_LAST);
    for (int id = IDC_MONDAY; id <= IDC_SUNDAY; ++id)
        Enable(task, id, taskOn && mode == TASK_WEEKDAYS);
    for (int id : {IDC_EACH_LABEL, IDC_EACH_HOUR, IDC_EACH_MINUTE})
        Enable(task, id, taskOn && mode == TASK_WEEKDAYS);
}

void ReadTargetFields(HWND page, CTimeCalc *calc)
{
    *calc = CTimeCalc(DateField(ReadNumber(page, IDC_DAY)), DateField(ReadNumber(page, IDC_MONTH)),
                      DateField(FullYear(ReadNumber(page, IDC_YEAR))),
                      DateField(ReadNumber(page, IDC_HOUR)),
                      DateField(ReadNumber(page, IDC_MINUTE)), 0);
}

bool ValidateSettingsPages(HWND dialog)
{
    HWND task = SettingsPage(dialog, PAGE_TASK);
    CTimeCalc calc;
    ReadTargetFields(SettingsPage(dialog, PAGE_CALC), &calc);
    if (!ValidateTarget(g_App, dialog, &calc)) return false;
    if (!IsChecked(task, IDC_TASK)) return true;
    const UINT problem = TaskProblem(task, &calc);
    if (problem) ShowTaskMessage(dialog, problem);
    return problem == 0;
}

bool ReadSettingsPages(HWND dialog)
{
    if (!ValidateSettingsPages(dialog)) return false;
    tAppData *app = g_App;
    tSettings &s = app->Settings;
    const tPageTable *table = PageTable(dialog);
    HWND display = SettingsPage(dialog, PAGE_DISPLAY), calc = SettingsPage(dialog, PAGE_CALC);
    HWND window = SettingsPage(dialog, PAGE_WINDOW), action = SettingsPage(dialog, PAGE_ACTION);
    HWND task = SettingsPage(dialog, PAGE_TASK);

    s.TabIndex = TabCtrl_GetCurSel(GetDlgItem(dialog, IDC_TABS));
    s.BackColor = app->DialogSettings.BackColor;
    for (int i = 0; i < CUSTOM_COLOR_COUNT; ++i)
        s.RgbColors[i] = app->DialogSettings.RgbColors[i];
    s.AutoStart = IsChecked(dialog, IDC_AUTOSTART);
    delete app->Font;
    app->Font = new CFont(app->DialogFont);

    s.FontType = IsChecked(display, IDC_FACE_SMALL)     ? 1
                 : IsChecked(display, IDC_FACE_DIGITAL) ? 2
                                                        : 3;
    s.FormatNo = ListSelection(display, IDC_FORMAT);
    SetDisplayFormat(app->Layout, DisplayFormatOf(s.FormatNo), s.FontType != 2);
    s.TickEnabled = IsChecked(display, IDC_TICK);
    s.TickAtLastSecondsEnabled = IsChecked(display, IDC_TICK_LAST);

    s.Tag = ReadNumber(calc, IDC_DAY);
    s.Monat = ReadNumber(calc, IDC_MONTH);
    s.Jahr = FullYear(ReadNumber(calc, IDC_YEAR));
    s.Stunde = ReadNumber(calc, IDC_HOUR);
    s.Minute = ReadNumber(calc, IDC_MINUTE);
    s.AcceptPast = IsChecked(calc, IDC_ACCEPT_PAST);

    s.Zoom = ReadNumber(window, IDC_ZOOM);
    s.Front = IsChecked(window, IDC_FRONT);
    s.Use1Monitor = IsChecked(window, IDC_USE1MONITOR);
    const bool taskbar = IsChecked(window, IDC_TASKBAR);
    // Against what the window shows, which a reset in this dialog did not
    // change.
    s.TaskbarChanged = taskbar != (table ? table->TaskbarShown : s.ShowInTaskbar);
    s.ShowInTaskbar = taskbar;
    s.PosHorizontal = CheckedRadio(window, IDC_POS_LEFT, 3);
    s.PosVertikal = CheckedRadio(window, IDC_POS_TOP, 3);
    s.IsFreePos = s.PosHorizontal == -1 || s.PosVertikal == -1;

    s.Event = IsChecked(action, IDC_EVENT_MESSAGE) ? 1 : 2;
    s.EventNo = ListSelection(action, IDC_ACTION);
    s.SoundEnabled = IsChecked(action, IDC_SOUND);
    s.TakePrntScrn = IsChecked(action, IDC_SHOT);
    s.ExtensionNo = ListSelection(action, IDC_SHOT_TYPE);
    GetDlgItemTextW(action, IDC_SHOT_FOLDER, s.PrntScrnPath, PATH_CCH);

    s.TaskEnabled = IsChecked(task, IDC_TASK);
    bool *days[7] = {&s.IsMo, &s.IsDi, &s.IsMi, &s.IsDo, &s.IsFr, &s.IsSa, &s.IsSo};
    for (int i = 0; i < 7; ++i)
        *days[i] = IsChecked(task, IDC_MONDAY + i);
    s.TaskState = TaskModeOf(task);
    s.Start_Stunde = ReadNumber(task, IDC_START_HOUR);
    s.Start_Minute = ReadNumber(task, IDC_START_MINUTE);
    s.Count_Stunde = ReadNumber(task, IDC_COUNT_HOUR);
    s.Count_Minute = ReadNumber(task, IDC_COUNT_MINUTE);
    s.Jeweils_Stunde = ReadNumber(task, IDC_EACH_HOUR);
    s.Jeweils_Minute = ReadNumber(task, IDC_EACH_MINUTE);
    app->SettingsApplied = true;
    return true;
}
