#include "support/WinTest.h"

#include <gtest/gtest.h>

namespace wintest {

std::wstring BesideTestProgram(const wchar_t *fileName)
{
    wchar_t path[MAX_PATH] = L"";
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (wchar_t *slash = wcsrchr(path, L'\\')) slash[1] = L'\0';
    return path + std::wstring(fileName);
}

std::wstring Env(const wchar_t *name)
{
    wchar_t value[1024] = L"";
    const DWORD n = GetEnvironmentVariableW(name, value, 1024);
    return n < 1024 ? value : L"";
}

std::wstring UniqueName(const wchar_t *prefix)
{
    const auto *info = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string test = info ? std::string(info->test_suite_name()) + "." + info->name() : "";
    return prefix + std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::wstring(test.begin(), test.end());
}

bool IsFolder(const std::wstring &path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring OutputPath(const wchar_t *fileName)
{
    std::wstring dir = Env(L"TEST_OUTPUT_DIR");
    if (dir.empty()) return dir;
    if (dir[0] == L'/') dir = L"Z:" + dir; // Wine shows the Unix root as Z:
    for (auto &c : dir)
        if (c == L'/') c = L'\\';
    return dir + (dir.back() == L'\\' ? L"" : L"\\") + fileName;
}

Program::Program(const std::wstring &path, const std::wstring &arguments)
{
    std::wstring line = L"\"" + path + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    if (!CreateProcessW(path.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info_))
        info_ = {};
}

Program::~Program()
{
    if (!info_.hProcess) return;
    if (WaitForExit(0) == STILL_ACTIVE) TerminateProcess(info_.hProcess, 1), WaitForExit(5000);
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
}

DWORD Program::WaitForExit(DWORD milliseconds)
{
    DWORD code = STILL_ACTIVE;
    if (info_.hProcess && WaitForSingleObject(info_.hProcess, milliseconds) == WAIT_OBJECT_0)
        GetExitCodeProcess(info_.hProcess, &code);
    return code;
}

HWND Program::WaitForWindow(const wchar_t *className, const wchar_t *title, DWORD milliseconds)
{
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindProcessWindow(Id(), className, title)); }, milliseconds);
    return found;
}

HWND FindProcessWindow(DWORD processId, const wchar_t *className, const wchar_t *title, HWND owner)
{
    struct Query {
        DWORD id;
        const wchar_t *className, *title;
        HWND owner, found;
    } q = {processId, className, title, owner, nullptr};
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            Query &q = *(Query *)param;
            DWORD pid = 0;
            wchar_t text[256] = L"";
            GetWindowThreadProcessId(window, &pid);
            // Text only of visible windows: asking a hidden one of a blocked
            // thread of this process would wait for that thread.
            if (pid != q.id || !IsWindowVisible(window) ||
                (q.owner && GetWindow(window, GW_OWNER) != q.owner) ||
                (q.className && (GetClassNameW(window, text, 256), lstrcmpW(text, q.className))) ||
                (q.title && (GetWindowTextW(window, text, 256), lstrcmpW(text, q.title))))
                return TRUE;
            q.found = window;
            return FALSE;
        },
        (LPARAM)&q);
    return q.found;
}

Capture CaptureScreen(const RECT &area)
{
    const int w = area.right - area.left, h = area.bottom - area.top;
    if (w <= 0 || h <= 0) return Capture();
    HDC screen = GetDC(nullptr), memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, w, h, screen, area.left, area.top, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    const Capture c = BitmapPixels(bitmap);
    DeleteObject(bitmap);
    return c;
}

BITMAPINFO TopDown32(int width, int height)
{
    BITMAPINFO bi = {};
    bi.bmiHeader = {sizeof(bi.bmiHeader), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    return bi;
}

Capture BitmapPixels(HBITMAP bitmap)
{
    Capture c;
    BITMAP bm = {};
    if (!GetObjectW(bitmap, sizeof(bm), &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0) return c;
    BITMAPINFO bi = TopDown32(bm.bmWidth, bm.bmHeight);
    c.pixels.resize(size_t(bm.bmWidth) * bm.bmHeight);
    HDC dc = GetDC(nullptr);
    const int rows = GetDIBits(dc, bitmap, 0, bm.bmHeight, c.pixels.data(), &bi, DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
    if (rows != bm.bmHeight) return Capture();
    for (DWORD &p : c.pixels)
        p &= 0x00FFFFFF;
    c.width = bm.bmWidth, c.height = bm.bmHeight;
    return c;
}

} // namespace wintest
