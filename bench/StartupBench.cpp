// How fast Tempulo shows its face after being started, and how much memory
// it holds then, compared with the floor: a minimal popup program of the
// same kind (floor_popup.exe).
//
//   startup_bench.exe [launches]
//
// The two programs are launched in turn, each the given number of times
// (default 20) after one untimed launch of each. A launch is timed from just
// before CreateProcessW to the first non-black pixel of its window's client
// area on the screen: the first painted face. Then its private memory and
// loaded modules are read, and the program is closed before the next
// launch (Tempulo runs once per session). Figures only: nothing is judged.
#include "bench/BenchProbe.h"
#include "bench/BenchStats.h"
#include "support/TempuloProcess.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

const double LaunchLimitSeconds = 20;
const DWORD CloseLimitMs = 10000;
// The 13 face images at 32 bits a pixel: digits 0-9 (24x37), colon, point
// and blank (9x37).
const double FaceImageBytes = (10 * 24 * 37 + 3 * 9 * 37) * 4.0;

struct Subject {
    Subject(const wchar_t *file, const wchar_t *className) : file(file), className(className) {}
    const wchar_t *file;
    const wchar_t *className;
    std::vector<double> startMs;
    std::vector<double> privateKiB;
    std::vector<double> modules;
    int failed = 0;
    int forced = 0;
};

// One launch, recorded unless it is the warm-up.
void Launch(Subject &subject, bench::ScreenGrabber &grabber, bool record)
{
    const std::wstring path = wintest::BesideTestProgram(subject.file);
    std::wstring commandLine = L"\"" + path + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    const LARGE_INTEGER start = bench::Now();
    if (!CreateProcessW(path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info)) {
        ++subject.failed;
        return;
    }
    CloseHandle(info.hThread);

    HWND window = nullptr;
    wintest::Capture face;
    double seconds = -1;
    while (bench::Seconds(start, bench::Now()) < LaunchLimitSeconds &&
           WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT) {
        if (!window)
            window = wintest::FindProcessWindow(info.dwProcessId, subject.className, nullptr);
        if (window && grabber.Grab(bench::ClientOnScreen(window), face) &&
            bench::HasNonBlack(face)) {
            seconds = bench::Seconds(start, bench::Now());
            break;
        }
        Sleep(1);
    }
    if (seconds >= 0 && record) {
        subject.startMs.push_back(seconds * 1e3);
        subject.privateKiB.push_back(double(bench::PrivateBytes(info.hProcess)) / 1024);
        subject.modules.push_back(bench::ModuleCount(info.hProcess));
    }
    if (seconds < 0) ++subject.failed;
    if (!bench::CloseAndWait(window, info.hProcess, CloseLimitMs)) ++subject.forced;
    CloseHandle(info.hProcess);
}

// A Tempulo left running would answer the first launch with its "already
// running" message.
void CloseRunningTempulo()
{
    HWND running = FindWindowW(L"Tempulo", nullptr);
    if (!running) return;
    DWORD processId = 0;
    GetWindowThreadProcessId(running, &processId);
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, processId);
    if (!process) return;
    bench::CloseAndWait(running, process, CloseLimitMs);
    CloseHandle(process);
}

void PrintRow(const Subject &s)
{
    const bench::Spread t = bench::Summarize(s.startMs);
    printf("  %-16ls %8.1f %8.1f %8.1f   (%zu launches", s.file, t.median, t.q1, t.q3, t.count);
    if (s.failed) printf(", %d without a painted window", s.failed);
    if (s.forced) printf(", %d ended by force", s.forced);
    printf(")\n");
}

} // namespace

int main(int argc, char **argv)
{
    const int launches = argc > 1 ? atoi(argv[1]) : 20;
    if (launches < 1) {
        fprintf(stderr, "usage: startup_bench [launches]\n");
        return 2;
    }
    Subject tempulo(L"Tempulo.exe", L"Tempulo");
    Subject floor(L"floor_popup.exe", L"FloorPopup");

    CloseRunningTempulo();
    // Every launch starts from the defaults (the key of a private session).
    wintest::ResetTempuloSettings();

    bench::ScreenGrabber grabber;
    printf("start-up: %d launches of each, in turn, after one untimed launch of each\n", launches);
    fflush(stdout);
    Launch(tempulo, grabber, false);
    Launch(floor, grabber, false);
    tempulo.failed = floor.failed = tempulo.forced = floor.forced = 0;
    for (int i = 0; i < launches; ++i) {
        Launch(tempulo, grabber, true);
        Launch(floor, grabber, true);
    }

    printf("\nstart to first painted face (ms)  median       q1       q3\n");
    PrintRow(tempulo);
    PrintRow(floor);
    const double tempuloMs = bench::Summarize(tempulo.startMs).median;
    const double floorMs = bench::Summarize(floor.startMs).median;
    if (tempuloMs > 0 && floorMs > 0)
        printf("  Tempulo / floor (medians)  %.2f   goal <= 1.15\n", tempuloMs / floorMs);

    const double tempuloKiB = bench::Summarize(tempulo.privateKiB).median;
    const double floorKiB = bench::Summarize(floor.privateKiB).median;
    printf("\nprivate memory at first paint (median, KiB)\n");
    printf("  %-16ls %8.0f\n  %-16ls %8.0f\n", tempulo.file, tempuloKiB, floor.file, floorKiB);
    if (tempuloKiB > 0 && floorKiB > 0) {
        const double allowance = floorKiB * 1.5 + FaceImageBytes / 1024;
        printf("  Tempulo / floor  %.2f\n", tempuloKiB / floorKiB);
        printf("  goal: Tempulo <= floor x 1.5 + face images (%.1f KiB) = %.0f KiB; "
               "measured %.0f KiB\n",
               FaceImageBytes / 1024, allowance, tempuloKiB);
    } else {
        printf("  n/a: the private memory of a child could not be read\n");
    }

    printf("\nloaded modules at first paint (median)\n");
    printf("  %-16ls %8.0f\n  %-16ls %8.0f\n", tempulo.file,
           bench::Summarize(tempulo.modules).median, floor.file,
           bench::Summarize(floor.modules).median);
    return 0;
}
