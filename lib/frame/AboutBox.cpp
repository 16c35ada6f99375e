#include "frame/AboutBox.h"

#include "LibModule.h"
#include "frame/LibConfig.h"
#include "res/resource.h"
#include "system/CSystem.h"

#include <shellapi.h>
#include <strsafe.h>

namespace {

const COLORREF kLinkColor = 0xFF0000; // blue
const wchar_t kDefaultCopyright[] = L"Copyright \u00A9 Orvandt";

// Only one about box is open at a time, so its fonts and the link's former
// window procedure live here.
HFONT g_TitleFont = nullptr;
HFONT g_LinkFont = nullptr;
WNDPROC g_LinkProc = nullptr;

LRESULT CALLBACK LinkProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SETCURSOR) {
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
    }
    return CallWindowProcW(g_LinkProc, window, message, wParam, lParam);
}

void CreateFonts(HWND dialog)
{
    LOGFONTW title = {};
    HDC dc = GetDC(dialog);
    title.lfHeight = -MulDiv(10, GetDeviceCaps(dc, LOGPIXELSY), 72);
    ReleaseDC(dialog, dc);
    title.lfWeight = FW_BOLD;
    StringCchCopyW(title.lfFaceName, LF_FACESIZE, L"MS Sans Serif");
    g_TitleFont = CreateFontIndirectW(&title);

    HGDIOBJ base = (HGDIOBJ)SendDlgItemMessageW(dialog, IDC_LIBABOUT_HOMEPAGE, WM_GETFONT, 0, 0);
    if (!base) base = GetStockObject(SYSTEM_FONT);
    LOGFONTW link = {};
    if (!GetObjectW(base, sizeof(link), &link))
        GetObjectW(GetStockObject(SYSTEM_FONT), sizeof(link), &link);
    link.lfUnderline = TRUE;
    g_LinkFont = CreateFontIndirectW(&link);
}

void DeleteFonts()
{
    if (g_TitleFont) DeleteObject(g_TitleFont);
    if (g_LinkFont) DeleteObject(g_LinkFont);
    g_TitleFont = g_LinkFont = nullptr;
}

// The template's link field is narrower than a typical address: it is widened
// to its text, up to the OK button, so that the address shows whole instead
// of wrapping out of sight.
void FitLinkToText(HWND dialog, HWND link)
{
    wchar_t text[260];
    const int length = GetWindowTextW(link, text, _countof(text));
    HDC dc = GetDC(link);
    HGDIOBJ old = SelectObject(dc, g_LinkFont ? (HGDIOBJ)g_LinkFont : GetStockObject(SYSTEM_FONT));
    SIZE extent = {0, 0};
    GetTextExtentPoint32W(dc, text, length, &extent);
    SelectObject(dc, old);
    ReleaseDC(link, dc);

    RECT field, button;
    GetWindowRect(link, &field);
    GetWindowRect(GetDlgItem(dialog, IDOK), &button);
    MapWindowPoints(nullptr, dialog, (POINT *)&field, 2);
    MapWindowPoints(nullptr, dialog, (POINT *)&button, 2);
    LONG width = extent.cx + 2;
    if (field.left + width > button.left - 4) width = button.left - 4 - field.left;
    if (width > field.right - field.left)
        SetWindowPos(link, nullptr, 0, 0, width, field.bottom - field.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR OnInitDialog(HWND dialog)
{
    DeleteFonts(); // left over if an earlier box ended abnormally
    CreateFonts(dialog);

    CSystem *system = new CSystem();
    wchar_t title[160];
    StringCchPrintfW(title, _countof(title), L"%s %s", PictavoLibName(),
                     system->GetAppVersion(PictavoModule(), 3));
    SetDlgItemTextW(dialog, IDC_LIBABOUT_TITLE, title);
    SendDlgItemMessageW(dialog, IDC_LIBABOUT_TITLE, WM_SETFONT, (WPARAM)g_TitleFont, TRUE);
    SetDlgItemTextW(dialog, IDC_LIBABOUT_COPYRIGHT,
                    system->GetAppInfo(PictavoModule(), 4, kDefaultCopyright));
    delete system;

    HWND link = GetDlgItem(dialog, IDC_LIBABOUT_HOMEPAGE);
    g_LinkProc = (WNDPROC)SetWindowLongPtrW(link, GWLP_WNDPROC, (LONG_PTR)LinkProc);
    SendMessageW(link, WM_SETFONT, (WPARAM)g_LinkFont, TRUE);
    SetWindowTextW(link, PICTAVO_HOMEPAGE);
    FitLinkToText(dialog, link);
    return TRUE;
}

INT_PTR OnCtlColorStatic(HDC dc, HWND control)
{
    if (GetDlgCtrlID(control) != IDC_LIBABOUT_HOMEPAGE) return FALSE;
    SetTextColor(dc, kLinkColor);
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return (INT_PTR)GetSysColorBrush(COLOR_BTNFACE);
}

INT_PTR OnCommand(HWND dialog, WORD id, WORD code)
{
    switch (id) {
    case IDOK:
    case IDCANCEL: EndDialog(dialog, id); return TRUE;
    case IDC_LIBABOUT_HOMEPAGE:
        if (code == STN_CLICKED)
            ShellExecuteW(nullptr, L"open", PICTAVO_HOMEPAGE, nullptr, nullptr, SW_SHOWNORMAL);
        return TRUE;
    }
    return FALSE;
}

} // namespace

INT_PTR CALLBACK LibAboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG: return OnInitDialog(dialog);
    case WM_CTLCOLORSTATIC: return OnCtlColorStatic((HDC)wParam, (HWND)lParam);
    case WM_COMMAND: return OnCommand(dialog, LOWORD(wParam), HIWORD(wParam));
    case WM_DESTROY: DeleteFonts(); return FALSE;
    }
    return FALSE;
}
