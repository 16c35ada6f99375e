#include "support/WinTest.h"

#include <gtest/gtest.h>
#include <strsafe.h>

namespace wintest {

std::wstring BesideTestProgram(const wchar_t *fileName)
{
    wchar_t path[MAX_PATH] = L"";
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    wchar_t *slash = wcsrchr(path, L'\\');
    if (slash) slash[1] = L'\0';
    return std::wstring(path) + fileName;
}

std::wstring Env(const wchar_t *name)
{
    wchar_t value[1024] = L"";
    DWORD n = GetEnvironmentVariableW(name, value, 1024);
    return n > 0 && n < 1024 ? std::wstring(value) : std::wstring();
}

std::wstring UniqueName(const wchar_t *prefix)
{
    const auto *info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string test =
        info ? std::string(info->test_suite_name()) + "." + info->name() : std::string();
    for (char &c : test)
        if (c == '/' || c == '\\') c = '_'; // parameterised tests
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
    if (dir.empty()) return std::wstring();
    // The harness hands over a Unix path; Wine shows the Unix root as Z:.
    if (dir[0] == L'/') {
        for (auto &c : dir)
            if (c == L'/') c = L'\\';
        dir = L"Z:" + dir;
    }
    if (dir.back() != L'\\') dir += L'\\';
    return dir + fileName;
}

Program::Program(const std::wstring &path, const std::wstring &arguments)
{
    std::wstring commandLine = L"\"" + path + L"\"";
    if (!arguments.empty()) commandLine += L" " + arguments;
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    std::vector<wchar_t> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back(L'\0');
    if (!CreateProcessW(path.c_str(), buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info_))
        info_ = {};
}

Program::~Program()
{
    if (!info_.hProcess) return;
    if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(info_.hProcess, 1);
        WaitForSingleObject(info_.hProcess, 5000);
    }
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
}

DWORD Program::WaitForExit(DWORD milliseconds)
{
    if (!info_.hProcess) return STILL_ACTIVE;
    if (WaitForSingleObject(info_.hProcess, milliseconds) != WAIT_OBJECT_0) return STILL_ACTIVE;
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(info_.hProcess, &code);
    return code;
}

namespace {

struct WindowQuery {
    DWORD processId;
    const wchar_t *className;
    const wchar_t *title;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM param)
{
    auto *q = reinterpret_cast<WindowQuery *>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != q->processId || !IsWindowVisible(window)) return TRUE;
    wchar_t text[256] = L"";
    if (q->className) {
        GetClassNameW(window, text, 256);
        if (lstrcmpW(text, q->className) != 0) return TRUE;
    }
    if (q->title) {
        GetWindowTextW(window, text, 256);
        if (lstrcmpW(text, q->title) != 0) return TRUE;
    }
    q->found = window;
    return FALSE;
}

} // namespace

HWND FindProcessWindow(DWORD processId, const wchar_t *className, const wchar_t *title)
{
    WindowQuery q = {processId, className, title, nullptr};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&q));
    return q.found;
}

HWND Program::WaitForWindow(const wchar_t *className, const wchar_t *title, DWORD milliseconds)
{
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindProcessWindow(info_.dwProcessId, className, title)); },
              milliseconds);
    return found;
}

Capture CaptureScreen(const RECT &area)
{
    Capture c;
    c.width = area.right - area.left;
    c.height = area.bottom - area.top;
    if (c.width <= 0 || c.height <= 0) return Capture();
    c.pixels.assign((size_t)c.width * c.height, 0);

    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO bi = TopDown32(c.width, c.height);
    void *bits = nullptr;
    HBITMAP dib = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (dib && bits) {
        HGDIOBJ old = SelectObject(memory, dib);
        BitBlt(memory, 0, 0, c.width, c.height, screen, area.left, area.top, SRCCOPY);
        GdiFlush();
        const DWORD *src = static_cast<const DWORD *>(bits);
        for (size_t i = 0; i < c.pixels.size(); ++i)
            c.pixels[i] = src[i] & 0x00FFFFFF;
        SelectObject(memory, old);
    }
    if (dib) DeleteObject(dib);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return c;
}

bool SaveCapture(const Capture &capture, const std::wstring &path)
{
    if (!capture.width || path.empty()) return false;
    const DWORD bytes = (DWORD)(capture.pixels.size() * sizeof(DWORD));
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42; // "BM"
    file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    file.bfSize = file.bfOffBits + bytes;
    const BITMAPINFOHEADER info = TopDown32(capture.width, capture.height).bmiHeader;
    HANDLE out = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (out == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0, total = 0;
    WriteFile(out, &file, sizeof file, &written, nullptr);
    total += written;
    WriteFile(out, &info, sizeof info, &written, nullptr);
    total += written;
    WriteFile(out, capture.pixels.data(), bytes, &written, nullptr);
    total += written;
    CloseHandle(out);
    return total == file.bfSize;
}

BITMAPINFO TopDown32(int width, int height)
{
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    return bi;
}

Capture BitmapPixels(HBITMAP bitmap)
{
    Capture c;
    BITMAP bm = {};
    if (!GetObjectW(bitmap, sizeof(bm), &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0) return c;
    BITMAPINFO bi = TopDown32(bm.bmWidth, bm.bmHeight);
    c.pixels.assign(size_t(bm.bmWidth) * bm.bmHeight, 0);
    HDC dc = GetDC(nullptr);
    const int rows =
        GetDIBits(dc, bitmap, 0, UINT(bm.bmHeight), c.pixels.data(), &bi, DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
    if (rows != bm.bmHeight) return Capture();
    for (DWORD &p : c.pixels)
        p &= 0x00FFFFFF;
    c.width = bm.bmWidth, c.height = bm.bmHeight;
    return c;
}

} // namespace wintest
