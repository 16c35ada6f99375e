// Helpers for tests that run real programs and windows in the Wine session.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace wintest {

// Full path of a file next to the running test program (the build's bin
// folder, where Tempulo.exe and PictavoLib64.dll are).
std::wstring BesideTestProgram(const wchar_t *fileName);

// Windows path of a file in the folder where tests leave screenshots and
// other output for a person to look at; empty if the harness set none.
std::wstring OutputPath(const wchar_t *fileName);

// Value of an environment variable of the test process ("" if unset).
std::wstring Env(const wchar_t *name);

// prefix, this process's id and the running test's name: for registry keys
// and folders that no other test or test program of the session shares.
std::wstring UniqueName(const wchar_t *prefix);

bool IsFolder(const std::wstring &path);

// The first visible top-level window of the process with the given class
// and title (either may be null), or null.
HWND FindProcessWindow(DWORD processId, const wchar_t *className, const wchar_t *title);

// A started program; the destructor ends it if it is still running.
class Program {
public:
    explicit Program(const std::wstring &path, const std::wstring &arguments = L"");
    ~Program();
    Program(const Program &) = delete;
    Program &operator=(const Program &) = delete;

    bool Started() const { return info_.hProcess != nullptr; }
    DWORD Id() const { return info_.dwProcessId; }
    HANDLE Handle() const { return info_.hProcess; }
    // Waits for the process to end; returns its exit code, or STILL_ACTIVE
    // when it did not end within the time.
    DWORD WaitForExit(DWORD milliseconds);
    // FindProcessWindow for this process, waiting up to the given time.
    HWND WaitForWindow(const wchar_t *className, const wchar_t *title, DWORD milliseconds);

private:
    PROCESS_INFORMATION info_ = {};
};

// Polls the predicate every 50 ms until it holds or the time is up.
template <typename Pred> bool WaitUntil(Pred pred, DWORD milliseconds)
{
    const ULONGLONG end = GetTickCount64() + milliseconds;
    for (;;) {
        if (pred()) return true;
        if (GetTickCount64() >= end) return false;
        Sleep(50);
    }
}

// 32-bit pixels (0x00RRGGBB, top row first) of a rectangle of the screen.
struct Capture {
    int width = 0;
    int height = 0;
    std::vector<DWORD> pixels;
    bool operator==(const Capture &other) const
    {
        return width == other.width && height == other.height && pixels == other.pixels;
    }
};
Capture CaptureScreen(const RECT &area);

// The description of 32-bit pixels, top row first, for DIB sections and
// GetDIBits.
BITMAPINFO TopDown32(int width, int height);
// The pixels of a bitmap as CaptureScreen gives them; empty if unreadable.
Capture BitmapPixels(HBITMAP bitmap);
// Writes the capture as a 32-bit BMP file for a person to look at.
bool SaveCapture(const Capture &capture, const std::wstring &path);

} // namespace wintest
