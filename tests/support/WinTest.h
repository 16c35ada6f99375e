// Helpers for tests that run real programs and windows in the Wine session.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace wintest {

// A file beside the test program; one in the harness's output folder ("" if
// none); an environment variable ("" if unset); prefix, process id and test
// name: a name no other test shares.
std::wstring BesideTestProgram(const wchar_t *fileName);
std::wstring OutputPath(const wchar_t *fileName);
std::wstring Env(const wchar_t *name);
std::wstring UniqueName(const wchar_t *prefix);
bool IsFolder(const std::wstring &path);
inline std::wstring Wide(const std::string &ascii)
{
    return std::wstring(ascii.begin(), ascii.end());
}
// The first visible top-level window of the process with this class, title
// and owner (each may be null: any).
HWND FindProcessWindow(DWORD processId, const wchar_t *className, const wchar_t *title,
                       HWND owner = nullptr);

// Polls the predicate every 50 ms until it holds or the time is up.
template <typename Pred> bool WaitUntil(Pred pred, DWORD milliseconds)
{
    for (const ULONGLONG end = GetTickCount64() + milliseconds; !pred(); Sleep(50))
        if (GetTickCount64() >= end) return false;
    return true;
}

// A started program; the destructor ends it if it still runs.
class Program {
public:
    explicit Program(const std::wstring &path, const std::wstring &arguments = L"");
    ~Program();
    Program(const Program &) = delete;
    Program &operator=(const Program &) = delete;

    DWORD Id() const { return info_.dwProcessId; }
    HANDLE Handle() const { return info_.hProcess; }
    // The exit code, or STILL_ACTIVE.
    DWORD WaitForExit(DWORD milliseconds);
    HWND WaitForWindow(const wchar_t *className, const wchar_t *title, DWORD milliseconds);

private:
    PROCESS_INFORMATION info_ = {};
};

// 32-bit pixels (0x00RRGGBB, top row first), of the screen or a bitmap
// (empty if unreadable); BITMAPINFO for them.
struct Capture {
    int width = 0;
    int height = 0;
    std::vector<DWORD> pixels;
    bool operator==(const Capture &o) const
    {
        return width == o.width && height == o.height && pixels == o.pixels;
    }
};
Capture CaptureScreen(const RECT &area);
Capture BitmapPixels(HBITMAP bitmap);
BITMAPINFO TopDown32(int width, int height);

} // namespace wintest
