#include "res/resource.h"
#include "settings/AppData.h"
#include "shell/MainWnd.h"

#include <commctrl.h>
#include <strsafe.h>

namespace {

const wchar_t kMutexName[] = L"Tempulo by Orvandt x.x.x";

// Handle of the instance mutex; the system releases it when the process ends.
HANDLE g_InstanceMutex = nullptr;

// Creating the mutex is the test: two copies started at the same moment
// cannot both be first, and an existing mutex needs no access rights.
bool AnotherInstanceRuns(const tAppData *app)
{
    g_InstanceMutex = CreateMutexW(nullptr, FALSE, kMutexName);
    if (GetLastError() != ERROR_ALREADY_EXISTS) return false;
    HWND other = FindWindowW(app->ClassName, app->Title);
    if (other) SetForegroundWindow(other);
    wchar_t message[PATH_CCH] = L"";
    LoadStringW(app->Instance, IDS_ALREADY_ACTIVE, message, PATH_CCH);
    MessageBoxW(other, message, app->Title, MB_ICONEXCLAMATION | MB_OK);
    return true;
}

bool RegisterMainClass(const tAppData *app)
{
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = MainWndProc;
    wc.hInstance = app->Instance;
    wc.hIcon = LoadIconW(app->Instance, MAKEINTRESOURCEW(IDI_TEMPULO));
    wc.hIconSm = wc.hIcon;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = (HBRUSH)GetStockObject(BLACK_BRUSH);
    wc.lpszClassName = app->ClassName;
    return RegisterClassExW(&wc) != 0;
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand)
{
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_BAR_CLASSES | ICC_TAB_CLASSES | ICC_COOL_CLASSES};
    InitCommonControlsEx(&icc);

    g_App = CreateAppData(instance);
    if (AnotherInstanceRuns(g_App)) return 0;

    RegisterMainClass(g_App);
    HWND window = CreateWindowExW(WS_EX_TOOLWINDOW, g_App->ClassName, g_App->Title,
                                  MAIN_WINDOW_STYLE, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                  CW_USEDEFAULT, nullptr, nullptr, g_App->Instance, nullptr);
    if (!window) return 0;
    ShowWindow(window, showCommand);
    UpdateWindow(window);

    HACCEL accelerators = LoadAcceleratorsW(g_App->Instance, MAKEINTRESOURCEW(IDR_ACCELERATORS));
    MSG msg = {};
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (!TranslateAcceleratorW(msg.hwnd, accelerators, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }

    DestroyAppData(g_App);
    g_App = nullptr;
    return (int)msg.wParam;
}
