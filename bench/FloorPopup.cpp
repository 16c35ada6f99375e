// The floor that Tempulo's start-up is compared with: the least a program
// can do to put a face like Tempulo's on the screen. The same common-controls
// start as the program, a window of the same kind, size and place, one
// filled rectangle, linked like the program and importing only what this
// needs.
#include <windows.h>

#include <commctrl.h>

namespace {

const wchar_t ClassName[] = L"FloorPopup";
const int Width = 291, Height = 37;

LRESULT CALLBACK FloorProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        RECT face;
        GetClientRect(window, &face);
        InflateRect(&face, -4, -4);
        // The stock DC brush: painting creates no GDI object.
        SetDCBrushColor(dc, RGB(255, 0, 0));
        FillRect(dc, &face, (HBRUSH)GetStockObject(DC_BRUSH));
        EndPaint(window, &ps);
        return 0;
    }
    case WM_DESTROY: PostQuitMessage(0); return 0;
    }
    // WM_CLOSE destroys the window there.
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_BAR_CLASSES | ICC_TAB_CLASSES | ICC_COOL_CLASSES};
    InitCommonControlsEx(&icc);

    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = FloorProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = (HBRUSH)GetStockObject(BLACK_BRUSH);
    wc.lpszClassName = ClassName;
    if (!RegisterClassExW(&wc)) return 1;

    RECT work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    if (!CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, ClassName, L"Floor",
                         WS_POPUP | WS_BORDER | WS_VISIBLE, work.right - Width, work.top, Width,
                         Height, nullptr, nullptr, instance, nullptr))
        return 1;

    MSG msg = {};
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return (int)msg.wParam;
}
