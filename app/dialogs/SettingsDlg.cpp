#include "dialogs/SettingsDlg.h"

#include "dialogs/CalcTimeDlg.h"
#include "dialogs/ColorChoice.h"
#include "dialogs/DialogPos.h"
#include "dialogs/FolderBrowse.h"
#include "dialogs/SelectDayDlg.h"
#include "dialogs/SettingsPages.h"
#include "font/CFont.h"
#include "res/resource.h"
#include "settings/AppData.h"

#include <commctrl.h>
#include <stdlib.h>
#include <strsafe.h>
#include <uxtheme.h>

namespace {

const int kDialogMargin = 10;

// The edits that carry their "..." button inside their border, with the
// edit's own window procedure.
struct tEmbeddedButton {
    int page, edit, button;
    WNDPROC original;
};
tEmbeddedButton g_Embedded[] = {
    {PAGE_DISPLAY, IDC_FONT_NAME, IDC_FONT_CHOOSE, nullptr},
    {PAGE_ACTION, IDC_SHOT_FOLDER, IDC_SHOT_BROWSE, nullptr},
};

// Set by a confirmed reset: the defaults are in force however the dialog
// ends.
bool g_DefaultsApplied = false;

const tEmbeddedButton *EmbeddedOf(HWND edit)
{
    const int id = GetDlgCtrlID(edit);
    for (const tEmbeddedButton &e : g_Embedded)
        if (e.edit == id) return &e;
    return nullptr;
}

LRESULT CALLBACK EmbeddedEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam)
{
    const tEmbeddedButton *e = EmbeddedOf(edit);
    if (!e || !e->original) return DefWindowProcW(edit, message, wParam, lParam);
    const LRESULT result = CallWindowProcW(e->original, edit, message, wParam, lParam);
    HWND button = GetDlgItem(GetParent(edit), e->button);
    if (!button) return result;
    RECT b;
    GetWindowRect(button, &b);
    if (message == WM_NCCALCSIZE && wParam) {
        // The text ends where the button begins, inside the border.
        RECT &client = ((NCCALCSIZE_PARAMS *)lParam)->rgrc[0];
        const int width = b.right - b.left;
        client.right -= width;
        MoveWindow(button, client.right, client.top, width, client.bottom - client.top, TRUE);
    } else if (message == WM_NCHITTEST && result == HTNOWHERE) {
        const POINT p = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
        if (PtInRect(&b, p)) return HTTRANSPARENT;
    }
    return result;
}

void EmbedButtons(HWND dialog)
{
    for (tEmbeddedButton &e : g_Embedded) {
        HWND edit = GetDlgItem(SettingsPage(dialog, e.page), e.edit);
        if (!edit) continue;
        e.original = (WNDPROC)SetWindowLongPtrW(edit, GWLP_WNDPROC, (LONG_PTR)EmbeddedEditProc);
        SetWindowPos(edit, nullptr, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
    }
}

// Pages hand their commands to the dialog, which owns all the logic.
INT_PTR CALLBACK PageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG: return TRUE;
    case WM_COMMAND: return SendMessageW(GetParent(page), WM_COMMAND, wParam, lParam);
    }
    return FALSE;
}

bool BuildPages(HWND dialog)
{
    tPageTable *table = (tPageTable *)calloc(1, sizeof(tPageTable));
    if (!table) return false;
    SetWindowLongPtrW(dialog, DWLP_USER, (LONG_PTR)table);
    table->TaskbarShown = g_App->Settings.ShowInTaskbar;

    HWND tab = GetDlgItem(dialog, IDC_TABS);
    for (int i = 0; i < PAGE_COUNT; ++i) {
        wchar_t caption[PATH_CCH] = L"";
        LoadStringW(g_App->Instance, IDS_TAB_FIRST + i, caption, PATH_CCH);
        TCITEMW item = {};
        item.mask = TCIF_TEXT;
        item.pszText = caption;
        TabCtrl_InsertItem(tab, i, &item);
    }
    for (int i = 0; i < PAGE_COUNT; ++i) {
        table->Pages[i] = CreateDialogParamW(
            g_App->Instance, MAKEINTRESOURCEW(IDD_PAGE_DISPLAY + i), dialog, PageProc, 0);
        if (!table->Pages[i]) return false;
    }
    for (int i = PAGE_COUNT - 1; i >= 0; --i)
        BringWindowToTop(table->Pages[i]);
    // Themed tabs have a shaded body; the pages paint their background
    // to match it. Only the answer to CCM_SETVERSION tells the controls'
    // version: CCM_GETVERSION gives 0 until a version was set.
    if (SendMessageW(tab, CCM_SETVERSION, 6, 0) >= 6)
        for (HWND page : table->Pages)
            EnableThemeDialogTexture(page, ETDT_ENABLETAB);

    RECT area;
    GetWindowRect(tab, &area);
    MapWindowPoints(nullptr, dialog, (POINT *)&area, 2);
    TabCtrl_AdjustRect(tab, FALSE, &area);
    for (HWND page : table->Pages)
        MoveWindow(page, area.left, area.top, area.right - area.left, area.bottom - area.top, TRUE);
    ShowWindow(table->Pages[PAGE_DISPLAY], SW_SHOW);
    return true;
}

void ResetToDefaults(HWND dialog)
{
    const HINSTANCE instance = g_App->Instance;
    wchar_t reset[PATH_CCH] = L"", sure[PATH_CCH] = L"", caption[PATH_CCH] = L"";
    wchar_t question[PATH_CCH];
    LoadStringW(instance, IDS_RESET_TEXT, reset, PATH_CCH);
    LoadStringW(instance, IDS_RESET_SURE, sure, PATH_CCH);
    LoadStringW(instance, IDS_RESET_CAPTION, caption, PATH_CCH);
    StringCchPrintfW(question, PATH_CCH, L"%s\n%s", reset, sure);
    if (MessageBoxW(dialog, question, caption, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
        return;
    ApplyDefaults(g_App);
    g_DefaultsApplied = true;
    // The window keeps its taskbar button until it follows the defaults.
    tSettings &s = g_App->Settings;
    s.TaskbarChanged = s.ShowInTaskbar != PageTable(dialog)->TaskbarShown;
    InitSettingsPages(dialog);
}

void ChooseFaceFont(HWND dialog)
{
    CFont *font = g_App->DialogFont;
    if (!font || !font->SelectFont(dialog)) return;
    // A chosen font is meant to be seen: the face becomes font text.
    HWND page = SettingsPage(dialog, PAGE_DISPLAY);
    CheckRadioButton(page, IDC_FACE_SMALL, IDC_FACE_FONT, IDC_FACE_FONT);
    SetDlgItemTextW(page, IDC_FONT_NAME, font->GetDisplayName());
}

void RunHelper(HWND dialog, int resource, DLGPROC procedure)
{
    g_App->SettingsDialog = dialog;
    DialogBoxParamW(g_App->Instance, MAKEINTRESOURCEW(resource), dialog, procedure, 0);
}

INT_PTR OnInitDialog(HWND dialog)
{
    const POINT p = CalcDialogPos(dialog, kDialogMargin);
    SetWindowPos(dialog, nullptr, p.x, p.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    if (!BuildPages(dialog)) {
        EndDialog(dialog, IDCANCEL);
        return TRUE;
    }
    InitSettingsPages(dialog);
    EmbedButtons(dialog);
    return TRUE;
}

INT_PTR OnCommand(HWND dialog, WORD id)
{
    switch (id) {
    case IDOK:
        if (ReadSettingsPages(dialog)) EndDialog(dialog, IDOK);
        return TRUE;
    case IDCANCEL:
        // The dialog opens again on the page last shown, however it ended.
        g_App->Settings.TabIndex = TabCtrl_GetCurSel(GetDlgItem(dialog, IDC_TABS));
        EndDialog(dialog, IDCANCEL);
        return TRUE;
    case IDC_DEFAULTS: ResetToDefaults(dialog); return TRUE;
    case IDC_BACKCOLOR:
        if (ChooseBackColor(dialog)) ShowColorSwatch(dialog);
        return TRUE;
    case IDC_FONT_CHOOSE: ChooseFaceFont(dialog); return TRUE;
    case IDC_SELECT_DAY: RunHelper(dialog, IDD_SELECT_DAY, SelectDayProc); return TRUE;
    case IDC_CALC_TIME: RunHelper(dialog, IDD_CALC_TIME, CalcTimeProc); return TRUE;
    case IDC_ACCEPT_PAST:
    case IDC_SHOT:
    case IDC_TASK:
    case IDC_TASK_START:
    case IDC_TASK_LAST:
    case IDC_TASK_EACH: UpdatePageStates(dialog); return TRUE;
    case IDC_SHOT_BROWSE: BrowseScreenshotFolder(dialog); return TRUE;
    }
    return FALSE;
}

INT_PTR OnNotify(HWND dialog, const NMHDR *header)
{
    const int current = TabCtrl_GetCurSel(GetDlgItem(dialog, IDC_TABS));
    switch (header->code) {
    case TCN_SELCHANGING:
        ShowWindow(SettingsPage(dialog, current), SW_HIDE);
        SetWindowLongPtrW(dialog, DWLP_MSGRESULT, FALSE);
        return TRUE;
    case TCN_SELCHANGE: ShowWindow(SettingsPage(dialog, current), SW_SHOW); return TRUE;
    }
    return FALSE;
}

void OnNcDestroy(HWND dialog)
{
    FreeColorSwatch(dialog);
    free(PageTable(dialog));
    SetWindowLongPtrW(dialog, DWLP_USER, 0);
}

INT_PTR CALLBACK SettingsDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG: return OnInitDialog(dialog);
    case WM_COMMAND: return OnCommand(dialog, LOWORD(wParam));
    case WM_NOTIFY: return OnNotify(dialog, (const NMHDR *)lParam);
    case WM_NCDESTROY: OnNcDestroy(dialog); return FALSE;
    }
    return FALSE;
}

} // namespace

SettingsOutcome RunSettingsDialog(HWND owner)
{
    g_DefaultsApplied = false;
    const INT_PTR result =
        DialogBoxParamW(g_App->Instance, MAKEINTRESOURCEW(IDD_SETTINGS), owner, SettingsDlgProc, 0);
    g_App->SettingsDialog = nullptr;
    if (result == IDOK) return SETTINGS_CONFIRMED;
    return g_DefaultsApplied ? SETTINGS_DEFAULTS : SETTINGS_KEPT;
}
