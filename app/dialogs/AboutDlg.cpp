#include "dialogs/AboutDlg.h"

#include "dialogs/DialogPos.h"
#include "res/resource.h"
#include "res/version.h"
#include "settings/AppData.h"
#include "system/CSystem.h"

#include <shellapi.h>
#include <strsafe.h>
#include <wchar.h>

const wchar_t HOMEPAGE_ADDRESS[] = TEMPULO_HOMEPAGE;

namespace {

const COLORREF kLinkColor = RGB(0, 0, 255);
const int kDialogMargin = 40;
// The title line and the legal notice have room for 49 characters each.
const size_t kLineCch = 50;
const wchar_t kDefaultLegalNotice[] = L"Copyright \u00A9 Orvandt";
const wchar_t kSystemsFormat[] = L"\n%s\n\n%s\n- Windows 10 / 11\n- Windows Server 2019 / 2022\n";

// One about box at a time: its fonts and the link's own window procedure.
HFONT g_TitleFont = nullptr;
HFONT g_LinkFont = nullptr;
WNDPROC g_LinkProc = nullptr;

// Copies as much of source as fits, never half a surrogate pair.
void CopyCut(wchar_t *target, size_t cch, const wchar_t *source)
{
    size_t n = wcsnlen(source, cch);
    if (n == cch) {
        n = cch - 1;
        if (n > 0 && IS_HIGH_SURROGATE(source[n - 1])) --n;
    }
    wmemcpy(target, source, n);
    target[n] = L'\0';
}

// The hand over the link, as a browser shows it.
LRESULT CALLBACK LinkCursorProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SETCURSOR) {
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
    }
    return CallWindowProcW(g_LinkProc, window, message, wParam, lParam);
}

void DeleteFonts()
{
    if (g_TitleFont) DeleteObject(g_TitleFont);
    if (g_LinkFont) DeleteObject(g_LinkFont);
    g_TitleFont = g_LinkFont = nullptr;
}

void CreateFonts(HWND box)
{
    LOGFONTW title = {};
    HDC dc = GetDC(box);
    title.lfHeight = -MulDiv(10, GetDeviceCaps(dc, LOGPIXELSY), 72);
    ReleaseDC(box, dc);
    title.lfWeight = FW_BOLD;
    StringCchCopyW(title.lfFaceName, LF_FACESIZE, L"MS Sans Serif");
    g_TitleFont = CreateFontIndirectW(&title);

    HGDIOBJ base = (HGDIOBJ)SendDlgItemMessageW(box, IDC_ABOUT_LINK, WM_GETFONT, 0, 0);
    LOGFONTW link = {};
    if (!base || !GetObjectW(base, sizeof(link), &link))
        GetObjectW(GetStockObject(SYSTEM_FONT), sizeof(link), &link);
    link.lfUnderline = TRUE;
    g_LinkFont = CreateFontIndirectW(&link);
}

void FillTexts(HWND box)
{
    const HINSTANCE instance = g_App->Instance;
    wchar_t name[NAME_CCH] = L"", line[PATH_CCH], cut[kLineCch];
    LoadStringW(instance, IDS_CLASSNAME, name, NAME_CCH);
    CSystem *system = new CSystem();
    StringCchPrintfW(line, PATH_CCH, L"%s %s", name, system->GetAppVersion(instance, 3));
    CopyCut(cut, kLineCch, line);
    SetDlgItemTextW(box, IDC_ABOUT_TITLE, cut);
    SendDlgItemMessageW(box, IDC_ABOUT_TITLE, WM_SETFONT, (WPARAM)g_TitleFont, TRUE);
    CopyCut(cut, kLineCch, system->GetAppInfo(instance, 4, kDefaultLegalNotice));
    SetDlgItemTextW(box, IDC_ABOUT_LEGAL, cut);
    delete system;

    wchar_t subtitle[PATH_CCH] = L"", freeware[PATH_CCH] = L"", systems[PATH_CCH] = L"";
    LoadStringW(instance, IDS_ABOUT_SUBTITLE, subtitle, PATH_CCH);
    LoadStringW(instance, IDS_ABOUT_FREEWARE, freeware, PATH_CCH);
    LoadStringW(instance, IDS_ABOUT_SYSTEMS, systems, PATH_CCH);
    SetDlgItemTextW(box, IDC_ABOUT_SUBTITLE, subtitle);
    StringCchPrintfW(line, PATH_CCH, kSystemsFormat, freeware, systems);
    SetDlgItemTextW(box, IDC_ABOUT_TEXT, line);
}

INT_PTR OnInitDialog(HWND box)
{
    const POINT p = CalcDialogPos(box, kDialogMargin);
    SetWindowPos(box, nullptr, p.x, p.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    DeleteFonts(); // left over if an earlier box ended abnormally
    CreateFonts(box);
    FillTexts(box);

    HWND link = GetDlgItem(box, IDC_ABOUT_LINK);
    g_LinkProc = (WNDPROC)SetWindowLongPtrW(link, GWLP_WNDPROC, (LONG_PTR)LinkCursorProc);
    SendMessageW(link, WM_SETFONT, (WPARAM)g_LinkFont, TRUE);
    SetWindowTextW(link, HOMEPAGE_ADDRESS);
    return TRUE;
}

INT_PTR OnCtlColorStatic(HDC dc, HWND control)
{
    if (GetDlgCtrlID(control) != IDC_ABOUT_LINK) return FALSE;
    SetTextColor(dc, kLinkColor);
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return (INT_PTR)GetSysColorBrush(COLOR_BTNFACE);
}

INT_PTR OnCommand(HWND box, WORD id, WORD code)
{
    switch (id) {
    case IDOK:
    case IDCANCEL: EndDialog(box, id); return TRUE;
    case IDC_ABOUT_LINK:
        if (code == STN_CLICKED)
            ShellExecuteW(nullptr, L"open", HOMEPAGE_ADDRESS, nullptr, nullptr, SW_SHOWNORMAL);
        return TRUE;
    }
    return FALSE;
}

INT_PTR CALLBACK AboutProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG: return OnInitDialog(box);
    case WM_CTLCOLORSTATIC: return OnCtlColorStatic((HDC)wParam, (HWND)lParam);
    case WM_COMMAND: return OnCommand(box, LOWORD(wParam), HIWORD(wParam));
    case WM_NCDESTROY: DeleteFonts(); return FALSE;
    }
    return FALSE;
}

} // namespace

void ShowAboutBox(HWND owner)
{
    DialogBoxParamW(g_App->Instance, MAKEINTRESOURCEW(IDD_ABOUT), owner, AboutProc, 0);
}
