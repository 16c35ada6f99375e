// Watching another program from outside: its windows, what it has put on
// the screen, and what the system knows of its memory and CPU time. Where
// Wine cannot tell one process about another, the host's /proc is read
// through the host shell.
#pragma once

#include "support/WinTest.h"

#include <windows.h>

#include <string>

namespace bench {

LARGE_INTEGER Now();
double Seconds(LARGE_INTEGER from, LARGE_INTEGER to);
// Local wall-clock time in milliseconds since 1601.
long long LocalMilliseconds();

// Top-level windows of the process, visible or not.
int TopLevelWindowCount(DWORD processId);
// The client area of a window in screen coordinates.
RECT ClientOnScreen(HWND window);

// Copies rectangles of the screen through one kept bitmap. Under Wine this
// reads the X server's picture: the watched program is not woken.
class ScreenGrabber {
public:
    ScreenGrabber();
    ~ScreenGrabber();
    ScreenGrabber(const ScreenGrabber &) = delete;
    ScreenGrabber &operator=(const ScreenGrabber &) = delete;

    bool Grab(const RECT &area, wintest::Capture &out);

private:
    HDC screen_ = nullptr;
    HDC memory_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    const DWORD *bits_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

bool HasNonBlack(const wintest::Capture &picture);

// Private bytes of the process, 0 when unknown. Wine leaves PrivateUsage 0
// but fills PagefileUsage (Windows' commit charge, the same figure) with the
// host's RssAnon + VmSwap of the process.
SIZE_T PrivateBytes(HANDLE process);
// Modules loaded in the process, -1 when unknown.
int ModuleCount(HANDLE process);

// Posts WM_CLOSE to the window and waits for the process to end; ends it
// after the time. True when it ended by itself.
bool CloseAndWait(HWND window, HANDLE process, DWORD milliseconds);

// What the host knows of a Wine process. Under Wine GetProcessTimes of
// another process stays at its start value, so CPU time comes from here.
struct HostCounters {
    bool valid = false;
    double cpuSeconds = 0;    // user and system time of all its threads
    long long switches = 0;   // voluntary context switches of its threads: its wake-ups
    long long rssAnonKiB = 0; // anonymous resident memory
};

// Unix process id of the Wine process that runs the program with this file
// name in this session's prefix (WINEPREFIX); 0 when there is none or no
// host shell.
int UnixPidOf(const std::wstring &fileName);
HostCounters ReadHostCounters(int unixPid);

} // namespace bench
