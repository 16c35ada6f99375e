// A process that creates and deletes GDI objects when told to, so that a
// test can watch another process's GDI count move. A message-only window of
// class "GdiHolder": WM_APP with n creates n brushes, WM_APP + 1 deletes
// them, WM_CLOSE ends the program. Both answer how many brushes it holds.
#include <windows.h>

#include <vector>

namespace {

std::vector<HBRUSH> g_brushes;

LRESULT CALLBACK HolderProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_APP:
        for (WPARAM i = 0; i < wParam; ++i)
            g_brushes.push_back(CreateSolidBrush(RGB(i % 256, 0, 0)));
        return LRESULT(g_brushes.size());
    case WM_APP + 1:
        for (HBRUSH brush : g_brushes)
            DeleteObject(brush);
        g_brushes.clear();
        return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = HolderProc;
    wc.hInstance = instance;
    wc.lpszClassName = L"GdiHolder";
    if (!RegisterClassW(&wc) || !CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0,
                                                 HWND_MESSAGE, nullptr, instance, nullptr))
        return 1;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0)
        DispatchMessageW(&msg);
    return 0;
}
