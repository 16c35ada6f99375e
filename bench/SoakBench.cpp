// A long run of Tempulo, compressed: many ticks, re-placements and settings
// dialogs driven into the real program faster than real time, with its GDI
// objects, windows and private memory before and after.
//
//   soak_bench.exe [ticks placements dialogs]   (default 100000 500 100)
//
// Figures only: nothing is judged. Flat figures mean nothing accumulates.
#include "bench/BenchProbe.h"
#include "support/GdiCount.h"
#include "support/TempuloProcess.h"

#include <climits>
#include <cstdio>
#include <cstdlib>

namespace {

struct Figures {
    int gdi, windows;
    SIZE_T privateBytes;
};

// The lasting count: a tick paints now and then with objects of its own.
Figures Read(wintest::Tempulo &run)
{
    HANDLE process = run.Process().Handle();
    Figures f = {INT_MAX, bench::TopLevelWindowCount(run.Process().Id()), 0};
    for (int i = 0; i < 10; ++i, Sleep(20)) {
        const int gdi = wintest::GdiObjectCount(process);
        if (gdi < f.gdi) f.gdi = gdi;
    }
    f.privateBytes = bench::PrivateBytes(process);
    return f;
}

void Print(const char *when, const Figures &f)
{
    std::printf("%-6s GDI objects %5d   top-level windows %3d   private memory %8zu KiB\n", when,
                f.gdi, f.windows, f.privateBytes / 1024);
}

// One opening of the settings dialog, closed again; false if it did not
// come or go.
bool DialogCycle(wintest::Tempulo &run, int button)
{
    PostMessageW(run.window, WM_COMMAND, 140, 0);
    HWND dialog = nullptr;
    wintest::WaitUntil(
        [&] {
            return (dialog = wintest::FindProcessWindow(run.Process().Id(), L"#32770", nullptr,
                                                        run.window)) != nullptr;
        },
        10000);
    return wintest::Answer(dialog, button);
}

// Ticks in batches the queue can hold, each waited for, with the
// re-placements and dialog cycles spread among them; the dialogs opened.
int Drive(wintest::Tempulo &run, int ticks, int placements, int dialogs)
{
    const int placeEvery = placements ? ticks / placements : 0;
    const int dialogEvery = dialogs ? ticks / dialogs : 0;
    int opened = 0;
    for (int i = 0; i < ticks; ++i) {
        PostMessageW(run.window, WM_TIMER, 10, 0);
        if (placeEvery && i % placeEvery == 0) PostMessageW(run.window, WM_DISPLAYCHANGE, 32, 0);
        if (i % 500 == 499) SendMessageW(run.window, WM_NULL, 0, 0);
        if (dialogEvery && i % dialogEvery == 0) {
            SendMessageW(run.window, WM_NULL, 0, 0);
            opened += DialogCycle(run, opened % 2 ? IDOK : IDCANCEL);
        }
    }
    SendMessageW(run.window, WM_NULL, 0, 0);
    return opened;
}

} // namespace

int main(int argc, char **argv)
{
    const int ticks = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int placements = argc > 2 ? std::atoi(argv[2]) : 500;
    const int dialogs = argc > 3 ? std::atoi(argv[3]) : 100;
    wintest::ResetTempuloSettings();
    wintest::Tempulo run;
    if (!run.window) {
        std::printf("Tempulo did not start\n");
        return 1;
    }
    // The system's caches of device contexts and bitmaps fill up in a first
    // round of the same mix; what comes after is the program's.
    Drive(run, 3000, 15, 30);
    const Figures before = Read(run);
    Print("start", before);

    const LARGE_INTEGER start = bench::Now();
    const int opened = Drive(run, ticks, placements, dialogs);
    WaitForInputIdle(run.Process().Handle(), 5000);
    const Figures after = Read(run);
    Print("end", after);
    std::printf("%d ticks, %d re-placements, %d of %d dialogs in %.1f s\n", ticks, placements,
                opened, dialogs, bench::Seconds(start, bench::Now()));
    std::printf("change GDI objects %+d   windows %+d   private memory %+lld KiB\n",
                after.gdi - before.gdi, after.windows - before.windows,
                ((long long)after.privateBytes - (long long)before.privateBytes) / 1024);
    run.Exit();
    wintest::ResetTempuloSettings();
    return 0;
}
