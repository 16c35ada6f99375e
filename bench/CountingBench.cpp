// How Tempulo keeps time on the screen while it counts down, and what that
// costs it.
//
//   counting_bench.exe [seconds]
//
// Starts Tempulo.exe from beside this program (or watches one that runs),
// waits for its first painted face (and a second more if it started it
// itself), then for the given time (default 60) copies its client area from
// the screen every ~2 ms. Every change of the picture is a repaint; its
// local wall-clock time past the whole second is how late the face followed
// the second change. The seconds cells are read back with the program's own
// digit images to find seconds that the face jumped over; wall-clock
// seconds without any change are seconds shown twice. Reading the screen
// reads the X server, not the program, so the watching does not wake it.
// Before and after, its GDI objects, private memory, top-level windows, CPU
// time and wake-ups (voluntary context switches, from the host under Wine)
// are read. Figures only: nothing is judged.
#include "bench/BenchProbe.h"
#include "bench/BenchStats.h"
#include "bench/FaceDigits.h"
#include "support/GdiCount.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <utility>

namespace {

const DWORD AppearLimitMs = 20000;
const DWORD PollMs = 2;
// A program started here still finishes its start-up after the first
// paint; the figures are about counting.
const DWORD SettleMs = 1000;

struct Watched {
    HANDLE process = nullptr;
    DWORD id = 0;
    HWND window = nullptr;
    std::wstring path;
    bool started = false;
};

bool Attach(Watched &w)
{
    w.window = FindWindowW(L"Tempulo", nullptr);
    if (!w.window) return false;
    GetWindowThreadProcessId(w.window, &w.id);
    w.process = OpenProcess(
        PROCESS_QUERY_INFORMATION | PROCESS_VM_READ | SYNCHRONIZE | PROCESS_TERMINATE, FALSE, w.id);
    wchar_t path[MAX_PATH] = L"";
    DWORD size = MAX_PATH;
    if (w.process && QueryFullProcessImageNameW(w.process, 0, path, &size)) w.path = path;
    return w.process != nullptr;
}

bool Start(Watched &w)
{
    w.path = wintest::BesideTestProgram(L"Tempulo.exe");
    std::wstring commandLine = L"\"" + w.path + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    if (!CreateProcessW(w.path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &info))
        return false;
    CloseHandle(info.hThread);
    w.process = info.hProcess;
    w.id = info.dwProcessId;
    w.started = true;
    wintest::WaitUntil(
        [&] { return (w.window = wintest::FindProcessWindow(w.id, L"Tempulo", nullptr)); },
        AppearLimitMs);
    return w.window != nullptr;
}

struct Snapshot {
    LARGE_INTEGER at = {};
    int gdiObjects = -1;
    double privateKiB = 0;
    int windows = 0;
    bench::HostCounters host;
    double cpuSeconds = -1;
};

double ProcessCpuSeconds(HANDLE process)
{
    FILETIME created, ended, kernel, user;
    if (!GetProcessTimes(process, &created, &ended, &kernel, &user)) return -1;
    auto seconds = [](FILETIME t) {
        return double(ULONGLONG(t.dwHighDateTime) << 32 | t.dwLowDateTime) / 1e7;
    };
    return seconds(kernel) + seconds(user);
}

Snapshot Take(const Watched &w, int unixPid)
{
    Snapshot s;
    s.host = bench::ReadHostCounters(unixPid);
    s.at = bench::Now();
    s.gdiObjects = wintest::GdiObjectCount(w.process);
    s.privateKiB = double(bench::PrivateBytes(w.process)) / 1024;
    s.windows = bench::TopLevelWindowCount(w.id);
    // Under Wine GetProcessTimes of another process does not move: the
    // host's figure is the one to use there.
    s.cpuSeconds = s.host.valid ? s.host.cpuSeconds : ProcessCpuSeconds(w.process);
    return s;
}

void PrintMemory(const char *label, const Snapshot &s)
{
    printf("  %-6s GDI objects %5d   private memory %7.0f KiB", label, s.gdiObjects, s.privateKiB);
    if (s.host.valid) printf(" (host RssAnon %lld KiB)", s.host.rssAnonKiB);
    printf("   top-level windows %d\n", s.windows);
}

} // namespace

int main(int argc, char **argv)
{
    const double seconds = argc > 1 ? atof(argv[1]) : 60;
    if (seconds <= 0) {
        fprintf(stderr, "usage: counting_bench [seconds]\n");
        return 2;
    }
    Watched w;
    if (!Attach(w) && !Start(w)) {
        printf("Tempulo.exe did not show its window: no figures\n");
        if (w.process) bench::CloseAndWait(nullptr, w.process, 0);
        return 0;
    }
    bench::ScreenGrabber grabber;
    const RECT area = bench::ClientOnScreen(w.window);
    wintest::Capture previous, current;
    if (!wintest::WaitUntil(
            [&] { return grabber.Grab(area, previous) && bench::HasNonBlack(previous); },
            AppearLimitMs))
        printf("note: the face stayed black\n");
    if (w.started) Sleep(SettleMs);
    grabber.Grab(area, previous);

    bench::FaceDigits digits;
    digits.Load(w.path);
    const int unixPid = bench::UnixPidOf(L"Tempulo.exe");
    printf("Tempulo.exe: process %lu (host pid %s), %s; face %ldx%ld at %ld,%ld; digit images %s\n",
           w.id, unixPid ? std::to_string(unixPid).c_str() : "n/a",
           w.started ? "started here" : "already running", area.right - area.left,
           area.bottom - area.top, area.left, area.top,
           digits.Loaded() ? "loaded" : "n/a (no BITMAP 320-329 in the program file)");
    printf("watching the face for %.0f s, every %lu ms\n", seconds, PollMs);
    fflush(stdout);

    const Snapshot before = Take(w, unixPid);
    bench::ChangeLedger ledger;
    long long polls = 0;
    bool ended = false;
    while (bench::Seconds(before.at, bench::Now()) < seconds) {
        Sleep(PollMs);
        if (!grabber.Grab(area, current)) continue;
        const long long ms = bench::LocalMilliseconds();
        ++polls;
        if (current == previous) continue;
        ledger.Add(ms, digits.ReadPair(current, bench::SecondsTensX, bench::SecondsUnitsX, 0));
        std::swap(previous, current);
        if (WaitForSingleObject(w.process, 0) == WAIT_OBJECT_0) {
            ended = true;
            break;
        }
    }
    const Snapshot after = Take(w, unixPid);
    const double wall = bench::Seconds(before.at, after.at);

    printf("\n%lld polls in %.1f s (one every %.2f ms)%s\n", polls, wall,
           polls ? wall * 1e3 / double(polls) : 0.0, ended ? "; Tempulo ended meanwhile" : "");
    const bench::Spread late = bench::Summarize(ledger.Latencies());
    printf("second change -> repaint (ms past the second), %d repaints:\n", ledger.Repaints());
    printf("  median %.0f   95th percentile %.0f   max %.0f   goal < 50\n", late.median, late.p95,
           late.max);
    const int skipped = ledger.Skipped();
    if (skipped >= 0)
        printf("seconds skipped      %d   goal 0 (%d repaints unread)\n", skipped, ledger.Unread());
    else
        printf("seconds skipped      n/a (the seconds could not be read)\n");
    printf("seconds shown twice  %d of %d wall-clock seconds   goal 0\n",
           ledger.SecondsWithoutChange(), ledger.SecondsSpanned());

    printf("\n");
    PrintMemory("start", before);
    PrintMemory("end", after);
    if (before.cpuSeconds >= 0 && after.cpuSeconds >= 0 && wall > 0)
        printf("CPU time  %.2f s of %.1f s = %.3f %%   goal < 0.05 %% (%s)\n",
               after.cpuSeconds - before.cpuSeconds, wall,
               (after.cpuSeconds - before.cpuSeconds) / wall * 100,
               before.host.valid ? "host /proc stat" : "GetProcessTimes");
    else
        printf("CPU time  n/a\n");
    if (before.host.valid && after.host.valid && wall > 0)
        printf("wake-ups  %lld in %.1f s = %.2f /s   goal ~1\n",
               after.host.switches - before.host.switches, wall,
               double(after.host.switches - before.host.switches) / wall);
    else
        printf("wake-ups  n/a (needs the host's /proc)\n");

    if (w.started) bench::CloseAndWait(w.window, w.process, 10000);
    CloseHandle(w.process);
    return 0;
}
