#include "shell/MainWnd.h"

#include "engine/Tick.h"
#include "settings/AppData.h"

namespace {

const COLORREF kTextColor = 0x0000FF;
const int kTextHeight = 28;
const int kMargin = 4;

HFONT g_FaceFont = nullptr;

// Sizes the window around the face text and puts it at the top right of the
// work area of the primary monitor.
void PlaceWindow(HWND window)
{
    HDC dc = GetDC(window);
    HGDIOBJ old = SelectObject(dc, g_FaceFont);
    const wchar_t *format = g_App->Layout->Format;
    SIZE extent = {0, 0};
    GetTextExtentPoint32W(dc, format, lstrlenW(format), &extent);
    SelectObject(dc, old);
    ReleaseDC(window, dc);

    RECT client = {0, 0, extent.cx + 2 * kMargin, extent.cy + 2 * kMargin};
    if (client.right < 40) client.right = 40;
    if (client.bottom < 10) client.bottom = 10;
    g_App->FaceWidth = client.right;
    g_App->FaceHeight = client.bottom;
    AdjustWindowRectEx(&client, (DWORD)GetWindowLongPtrW(window, GWL_STYLE), FALSE,
                       (DWORD)GetWindowLongPtrW(window, GWL_EXSTYLE));
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;

    RECT work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    SetWindowPos(window, HWND_TOPMOST, work.right - width, work.top, width, height,
                 SWP_NOACTIVATE);
}

LRESULT OnCreate(HWND window)
{
    g_FaceFont = CreateFontW(-kTextHeight, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE,
                             DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                             DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, L"Courier New");
    PlaceWindow(window);
    Tick(window, true);
    SetTimer(window, TIMER_TICK, TICK_INTERVAL_MS, nullptr);
    return 0;
}

LRESULT OnDestroy(HWND window)
{
    KillTimer(window, TIMER_TICK);
    if (g_FaceFont) DeleteObject(g_FaceFont);
    g_FaceFont = nullptr;
    PostQuitMessage(0);
    return 0;
}

LRESULT OnTimer(HWND window)
{
    Tick(window, false);
    InvalidateRect(window, nullptr, FALSE);
    return 0;
}

LRESULT OnPaint(HWND window)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    RECT client;
    GetClientRect(window, &client);
    HGDIOBJ old = SelectObject(dc, g_FaceFont);
    SetTextColor(dc, kTextColor);
    SetBkColor(dc, g_App->Settings.BackColor);
    SetBkMode(dc, OPAQUE);
    // ETO_OPAQUE fills the whole client area, so no erase is needed.
    const wchar_t *text = g_App->Layout->Text;
    ExtTextOutW(dc, kMargin, kMargin, ETO_OPAQUE, &client, text, (UINT)lstrlenW(text), nullptr);
    SelectObject(dc, old);
    EndPaint(window, &ps);
    return 0;
}

} // namespace

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: return OnCreate(window);
    case WM_DESTROY: return OnDestroy(window);
    case WM_TIMER: return OnTimer(window);
    case WM_PAINT: return OnPaint(window);
    }
    return DefWindowProcW(window, message, wParam, lParam);
}
