#include "shell/ContextMenu.h"

#include "dialogs/AboutDlg.h"
#include "dialogs/SettingsDlg.h"
#include "engine/Screenshot.h"
#include "engine/Tick.h"
#include "frame/PictavoLibInfo.h"
#include "res/resource.h"
#include "settings/AppData.h"
#include "settings/Settings.h"
#include "shell/Placement.h"

#include <shellapi.h>
#include <strsafe.h>

namespace {

HMENU g_MenuBar = nullptr; // owns the popup below
HMENU g_Popup = nullptr;

void RunSettings(HWND window)
{
    StopTickTimer(window);
    // The dialog starts from where the window stands now, so that a dragged
    // window keeps its place across OK.
    RECT r;
    GetWindowRect(window, &r);
    g_App->Settings.PositionLeft = r.left;
    g_App->Settings.PositionTop = r.top;
    const SettingsOutcome outcome = RunSettingsDialog(window);
    if (outcome != SETTINGS_KEPT) PlaceMainWindow(window);
    // What the user confirmed is kept at once, not only at the end: a crash
    // or a power cut afterwards must not lose it.
    if (outcome == SETTINGS_CONFIRMED) SaveSettingsAndPosition(g_App, window);
    StartTickTimer(window);
}

void ShowLibraryAbout(HWND window)
{
    PictavoLibInfo info;
    info.ShowAboutBox(window);
}

// The help page: the home page with the program's name appended.
void HelpAddress(wchar_t *address, size_t cch)
{
    StringCchCopyW(address, cch, HOMEPAGE_ADDRESS);
    const size_t n = wcsnlen(address, cch);
    // The address is a web address: "/" separates its path as "\" would a
    // folder's.
    if (n == 0 || (address[n - 1] != L'\\' && address[n - 1] != L'/'))
        StringCchCatW(address, cch, L"/");
    StringCchCatW(address, cch, L"Tempulo");
}

void OpenHelp()
{
    wchar_t address[PATH_CCH];
    HelpAddress(address, PATH_CCH);
    ShellExecuteW(nullptr, L"open", address, nullptr, nullptr, SW_SHOWNORMAL);
}

} // namespace

HMENU CreateContextMenu(HINSTANCE instance, const wchar_t *title)
{
    DestroyContextMenu();
    g_MenuBar = LoadMenuW(instance, MAKEINTRESOURCEW(IDR_CONTEXTMENU));
    g_Popup = g_MenuBar ? GetSubMenu(g_MenuBar, 0) : nullptr;
    if (!g_Popup) return nullptr;
    wchar_t format[PATH_CCH] = L"", text[PATH_CCH];
    GetMenuStringW(g_Popup, IDM_ABOUT, format, PATH_CCH, MF_BYCOMMAND);
    // The entry's text is a format with one %s and nothing else.
    StringCchPrintfW(text, PATH_CCH, format, title);
    ModifyMenuW(g_Popup, IDM_ABOUT, MF_BYCOMMAND | MF_STRING, IDM_ABOUT, text);
    return g_Popup;
}

void DestroyContextMenu()
{
    if (g_MenuBar) DestroyMenu(g_MenuBar);
    g_MenuBar = g_Popup = nullptr;
}

void ShowContextMenu(HWND window)
{
    if (!g_Popup) return;
    POINT p;
    GetCursorPos(&p);
    SetForegroundWindow(window);
    TrackPopupMenu(g_Popup, 0, p.x, p.y, 0, window, nullptr);
    // Lets the menu close when the user clicks elsewhere.
    PostMessageW(window, WM_USER, 0, 0);
}

bool RunCommand(HWND window, WORD id)
{
    switch (id) {
    case IDM_SETTINGS: RunSettings(window); return true;
    case IDM_ABOUT: ShowAboutBox(window); return true;
    case IDM_ABOUT_LIBRARY: ShowLibraryAbout(window); return true;
    case IDM_EXIT: DestroyWindow(window); return true;
    case IDM_HELP: OpenHelp(); return true;
    case IDM_SCREENSHOT: TakeScreenshot(g_App, window, true); return true;
    }
    return false;
}
