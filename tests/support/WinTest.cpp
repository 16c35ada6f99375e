#include "support/WinTest.h"

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

HWND Program::WaitForWindow(const wchar_t *className, const wchar_t *title, DWORD milliseconds)
{
    WindowQuery q = {info_.dwProcessId, className, title, nullptr};
    WaitUntil(
        [&] {
            EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&q));
            return q.found != nullptr;
        },
        milliseconds);
    return q.found;
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
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = c.width;
    bi.bmiHeader.biHeight = -c.height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void *bits = nullptr;
    HBITMAP dib = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (dib && bits) {
        HGDIOBJ old = SelectObject(memory, dib);
        BitBlt(memory, 0, 0, c.width, c.height, screen, area.left, area.top, SRCCOPY);
        GdiFlush();
        const DWORD *src = static_cast<const DWORD *>(bits);
        for (size_t i = 0; i < c.pixels.size(); ++i) c.pixels[i] = src[i] & 0x00FFFFFF;
        SelectObject(memory, old);
    }
    if (dib) DeleteObject(dib);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return c;
}

bool SaveBitmapFile(const Capture &capture, const std::wstring &path)
{
    if (capture.width <= 0 || capture.height <= 0 || path.empty()) return false;
    const DWORD rowBytes = ((DWORD)capture.width * 3 + 3) & ~3u;
    const DWORD imageBytes = rowBytes * capture.height;
    BITMAPFILEHEADER fh = {};
    BITMAPINFOHEADER ih = {};
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof(fh) + sizeof(ih);
    fh.bfSize = fh.bfOffBits + imageBytes;
    ih.biSize = sizeof(ih);
    ih.biWidth = capture.width;
    ih.biHeight = capture.height; // bottom row first
    ih.biPlanes = 1;
    ih.biBitCount = 24;
    ih.biSizeImage = imageBytes;

    std::vector<BYTE> data(imageBytes, 0);
    for (int y = 0; y < capture.height; ++y) {
        BYTE *row = data.data() + (size_t)(capture.height - 1 - y) * rowBytes;
        for (int x = 0; x < capture.width; ++x) {
            DWORD p = capture.pixels[(size_t)y * capture.width + x];
            row[x * 3 + 0] = (BYTE)(p & 0xFF);
            row[x * 3 + 1] = (BYTE)((p >> 8) & 0xFF);
            row[x * 3 + 2] = (BYTE)((p >> 16) & 0xFF);
        }
    }
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool ok = WriteFile(file, &fh, sizeof(fh), &written, nullptr) &&
              WriteFile(file, &ih, sizeof(ih), &written, nullptr) &&
              WriteFile(file, data.data(), imageBytes, &written, nullptr);
    CloseHandle(file);
    return ok;
}

} // namespace wintest
