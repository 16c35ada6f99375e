#include "shell/MainWnd.h"

#include "engine/Tick.h"
#include "face/Face.h"
#include "imaging/CImage.h"
#include "settings/AppData.h"
#include "settings/Settings.h"
#include "shell/ContextMenu.h"
#include "shell/Placement.h"

#include <windowsx.h>

namespace {

// Screen position of the cursor where the drag last left the window.
POINT g_DragAnchor = {0, 0};
BOOL g_ScreenSaverWasActive = FALSE;

LRESULT OnCreate(HWND window)
{
    SystemParametersInfoW(SPI_GETSCREENSAVEACTIVE, 0, &g_ScreenSaverWasActive, 0);
    SystemParametersInfoW(SPI_SETSCREENSAVEACTIVE, FALSE, nullptr, 0);
    // Where the screen saver setting is not consulted, the display still
    // must not power down while the count runs.
    SetThreadExecutionState(ES_CONTINUOUS | ES_DISPLAY_REQUIRED);
    CreateContextMenu(g_App->Instance, g_App->Title);
    PlaceMainWindow(window);
    Tick(window, true);
    return 0;
}

LRESULT OnDestroy(HWND window)
{
    StopTickTimer(window);
    SaveSettingsAndPosition(g_App, window);
    DestroyContextMenu();
    for (int i = 0; i < FACE_IMAGE_COUNT; ++i) {
        delete g_App->Images[i];
        g_App->Images[i] = nullptr;
    }
    if (g_ScreenSaverWasActive) SystemParametersInfoW(SPI_SETSCREENSAVEACTIVE, TRUE, nullptr, 0);
    SetThreadExecutionState(ES_CONTINUOUS);
    PostQuitMessage(0);
    return 0;
}

LRESULT OnTimer(HWND window)
{
    Tick(window, false);
    KeepTickTimer(window);
    return 0;
}

LRESULT OnPaint(HWND window)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    const tFaceLayout *layout = g_App->Layout;
    const size_t textLength = wcsnlen(layout->Text, FACE_CCH);
    for (size_t i = 0; i < FACE_CCH - 1 && layout->Format[i]; ++i) {
        const int index = i < textLength ? FaceImageIndex(layout->Text[i]) : -1;
        CImage *image = index >= 0 ? g_App->Images[index] : nullptr;
        if (!image) continue;
        RECT cell = layout->Cells[i], visible;
        OffsetRect(&cell, layout->OriginX, layout->OriginY);
        if (IntersectRect(&visible, &cell, &ps.rcPaint)) image->DrawBitmap(dc, cell);
    }
    EndPaint(window, &ps);
    return 0;
}

POINT ScreenPoint(HWND window, LPARAM lParam)
{
    POINT p = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ClientToScreen(window, &p);
    return p;
}

// The window follows the cursor while the left button is held; captured,
// so that a quick move does not leave it behind.
LRESULT OnLButtonDown(HWND window, LPARAM lParam)
{
    g_DragAnchor = ScreenPoint(window, lParam);
    SetCapture(window);
    SetCursor(LoadCursorW(nullptr, IDC_HAND));
    return 0;
}

LRESULT OnMouseMove(HWND window, WPARAM wParam, LPARAM lParam)
{
    if (!(wParam & MK_LBUTTON) || GetCapture() != window) return 0;
    const POINT p = ScreenPoint(window, lParam);
    const int dx = p.x - g_DragAnchor.x, dy = p.y - g_DragAnchor.y;
    if (dx == 0 && dy == 0) return 0; // a click is not a drag
    RECT r;
    GetWindowRect(window, &r);
    MoveWindow(window, r.left + dx, r.top + dy, r.right - r.left, r.bottom - r.top, FALSE);
    g_DragAnchor = p;
    g_App->Settings.IsFreePos = true;
    SetCursor(LoadCursorW(nullptr, IDC_HAND));
    return 0;
}

LRESULT OnLButtonUp()
{
    ReleaseCapture();
    return 0;
}

LRESULT OnSysCommand(HWND window, WPARAM wParam, LPARAM lParam)
{
    switch (wParam & 0xFFF0) {
    case SC_SCREENSAVE:
    case SC_MONITORPOWER: return 0;
    }
    return DefWindowProcW(window, WM_SYSCOMMAND, wParam, lParam);
}

LRESULT OnSettingChange(HWND window, WPARAM wParam)
{
    if (wParam == SPI_SETWORKAREA) ReplaceMainWindow(window);
    return 0;
}

} // namespace

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: return OnCreate(window);
    case WM_DESTROY: return OnDestroy(window);
    case WM_PAINT: return OnPaint(window);
    case WM_TIMER: return OnTimer(window);
    case WM_ENDSESSION:
        if (wParam) DestroyWindow(window);
        return 0;
    case WM_SYSCOMMAND: return OnSysCommand(window, wParam, lParam);
    case WM_LBUTTONDOWN: return OnLButtonDown(window, lParam);
    case WM_MOUSEMOVE: return OnMouseMove(window, wParam, lParam);
    case WM_LBUTTONUP: return OnLButtonUp();
    case WM_RBUTTONDOWN:
    case WM_CONTEXTMENU: ShowContextMenu(window); return 0;
    case WM_COMMAND:
        if (RunCommand(window, LOWORD(wParam))) return 0;
        break;
    case WM_DISPLAYCHANGE: ReplaceMainWindow(window); return 0;
    case WM_DPICHANGED: RescaleMainWindow(window, (const RECT *)lParam); return 0;
    case WM_SETTINGCHANGE: return OnSettingChange(window, wParam);
    }
    return DefWindowProcW(window, message, wParam, lParam);
}
