#include "bench/BenchProbe.h"

#include "bench/HostShell.h"

#include <psapi.h>

#include <cstdlib>
#include <sstream>

namespace bench {

LARGE_INTEGER Now()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now;
}

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return double(to.QuadPart - from.QuadPart) / double(frequency.QuadPart);
}

long long LocalMilliseconds()
{
    FILETIME utc, local;
    GetSystemTimePreciseAsFileTime(&utc);
    FileTimeToLocalFileTime(&utc, &local);
    return (long long)((ULONGLONG(local.dwHighDateTime) << 32 | local.dwLowDateTime) / 10000);
}

namespace {

struct WindowTally {
    DWORD processId;
    int count;
};

BOOL CALLBACK CountWindow(HWND window, LPARAM param)
{
    auto *tally = reinterpret_cast<WindowTally *>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == tally->processId) ++tally->count;
    return TRUE;
}

} // namespace

int TopLevelWindowCount(DWORD processId)
{
    WindowTally tally = {processId, 0};
    EnumWindows(CountWindow, reinterpret_cast<LPARAM>(&tally));
    return tally.count;
}

RECT ClientOnScreen(HWND window)
{
    RECT client = {};
    GetClientRect(window, &client);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT *>(&client), 2);
    return client;
}

ScreenGrabber::ScreenGrabber() : screen_(GetDC(nullptr)), memory_(CreateCompatibleDC(screen_)) {}

ScreenGrabber::~ScreenGrabber()
{
    if (bitmap_) DeleteObject(SelectObject(memory_, previous_));
    DeleteDC(memory_);
    ReleaseDC(nullptr, screen_);
}

bool ScreenGrabber::Grab(const RECT &area, wintest::Capture &out)
{
    const int width = area.right - area.left, height = area.bottom - area.top;
    if (width <= 0 || height <= 0) return false;
    if (width != width_ || height != height_) {
        if (bitmap_) DeleteObject(SelectObject(memory_, previous_));
        BITMAPINFO bi = wintest::TopDown32(width, height);
        void *bits = nullptr;
        bitmap_ = CreateDIBSection(screen_, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (!bitmap_) return width_ = height_ = 0, false;
        previous_ = SelectObject(memory_, bitmap_);
        bits_ = static_cast<const DWORD *>(bits);
        width_ = width;
        height_ = height;
    }
    if (!BitBlt(memory_, 0, 0, width, height, screen_, area.left, area.top, SRCCOPY)) return false;
    GdiFlush();
    out.width = width;
    out.height = height;
    out.pixels.resize(size_t(width) * height);
    for (size_t i = 0; i < out.pixels.size(); ++i)
        out.pixels[i] = bits_[i] & 0x00FFFFFF;
    return true;
}

bool HasNonBlack(const wintest::Capture &picture)
{
    for (DWORD p : picture.pixels)
        if (p) return true;
    return false;
}

SIZE_T PrivateBytes(HANDLE process)
{
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof(counters);
    if (!GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS *>(&counters),
                              sizeof(counters)))
        return 0;
    return counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage;
}

int ModuleCount(HANDLE process)
{
    DWORD needed = 0;
    HMODULE first;
    if (!EnumProcessModules(process, &first, sizeof(first), &needed)) return -1;
    return int(needed / sizeof(HMODULE));
}

bool CloseAndWait(HWND window, HANDLE process, DWORD milliseconds)
{
    if (window) PostMessageW(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process, window ? milliseconds : 0) == WAIT_OBJECT_0) return true;
    TerminateProcess(process, 1);
    WaitForSingleObject(process, 5000);
    return false;
}

int UnixPidOf(const std::wstring &fileName)
{
    const std::wstring prefix = wintest::Env(L"WINEPREFIX");
    if (prefix.empty() || !HostShellAvailable()) return 0;
    // Wine shows the Windows command line as the process's; its first word
    // names the program. Sessions of other build trees run the same
    // program, so the prefix decides.
    const std::string script =
        "name=" + ShellQuote(std::string(fileName.begin(), fileName.end())) + "\n" +
        "prefix=" + ShellQuote(std::string(prefix.begin(), prefix.end())) + "\n" + R"sh(
want=$(echo "$name" | tr A-Z a-z)
for p in $(pgrep -f "$name"); do
  first=$(tr '\0' '\n' </proc/$p/cmdline | head -n 1)
  first=${first##*\\}
  first=${first##*/}
  [ "$(echo "$first" | tr A-Z a-z)" = "$want" ] || continue
  tr '\0' '\n' </proc/$p/environ | grep -qxF "WINEPREFIX=$prefix" && echo $p
done
true)sh";
    std::string output;
    if (RunOnHost(script, &output) != 0) return 0;
    return std::atoi(output.c_str());
}

HostCounters ReadHostCounters(int unixPid)
{
    HostCounters counters;
    if (unixPid <= 0) return counters;
    // utime and stime are fields 14 and 15 of stat, counted after the
    // parenthesised name, which may hold blanks.
    const std::string script = "cd /proc/" + std::to_string(unixPid) + " || exit 1\n" + R"sh(
times=$(sed 's/^.*) //' stat | cut -d' ' -f12,13)
switches=$(cat task/*/status | awk '/^voluntary_ctxt_switches/ { s += $2 } END { print s + 0 }')
echo $times $(getconf CLK_TCK) $switches $(awk '/^RssAnon/ { print $2 }' status))sh";
    std::string output;
    if (RunOnHost(script, &output) != 0) return counters;
    std::istringstream in(output);
    long long user = 0, system = 0, ticks = 0;
    if (!(in >> user >> system >> ticks >> counters.switches >> counters.rssAnonKiB) || ticks <= 0)
        return counters;
    counters.cpuSeconds = double(user + system) / double(ticks);
    counters.valid = true;
    return counters;
}

} // namespace bench
