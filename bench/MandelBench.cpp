// How fast the fractal renderer computes, compared with a plain loop that
// computes the same pixels of the same rectangle into memory.
//
//   mandel_bench.exe [width height maxIterations runs]
//
// The renderer pauses a few milliseconds per column on purpose (so that a
// window can follow the picture); its computing time is given twice: the
// wall time minus the pauses (measured here as this machine sleeps) and the
// CPU time of the worker thread (the process's time minus this thread's),
// which also holds the cost of the sleep calls. Figures only: nothing is
// judged.
#include "fractal/CMandel.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

const double MinX = -2.0, MaxX = 1.0, MinY = -1.125, MaxY = 1.125;
const int Bailout = 4;
const DWORD RendererPause = 5; // per column, as the renderer sleeps

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return double(to.QuadPart - from.QuadPart) / double(frequency.QuadPart);
}

LARGE_INTEGER Now()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now;
}

double FileTimeSeconds(FILETIME t)
{
    return double((ULONGLONG(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e7;
}

// CPU time of the process's other threads: the renderer's worker, without
// this thread's polling.
double OtherThreadsCpuSeconds()
{
    FILETIME created, ended, kernel, user;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user)) return 0.0;
    double seconds = FileTimeSeconds(kernel) + FileTimeSeconds(user);
    if (GetThreadTimes(GetCurrentThread(), &created, &ended, &kernel, &user))
        seconds -= FileTimeSeconds(kernel) + FileTimeSeconds(user);
    return seconds;
}

// The same pixels as the renderer (columns and rows from 1), the same
// escape rule, the colour index kept in memory.
long long ReferenceLoop(int width, int height, int maxIterations, std::vector<unsigned char> &out)
{
    const double dx = (MaxX - MinX) / width;
    const double dy = (MaxY - MinY) / height;
    long long iterations = 0;
    for (int x = 1; x < width; ++x) {
        const double cx = MinX + x * dx;
        for (int y = 1; y < height; ++y) {
            const double cy = MinY + y * dy;
            double zx = 0.0, zy = 0.0;
            int n = 0;
            for (;;) {
                const double x2 = zx * zx, y2 = zy * zy;
                ++n;
                zy = 2.0 * zx * zy + cy;
                zx = x2 - y2 + cx;
                if (n >= maxIterations) break;
                if (!(x2 + y2 < Bailout)) break;
            }
            iterations += n;
            if (n >= maxIterations) n = 0;
            out[size_t(y) * size_t(width) + size_t(x)] = (unsigned char)(n % 8);
        }
    }
    return iterations;
}

double AverageSleep(DWORD milliseconds, int count)
{
    const LARGE_INTEGER start = Now();
    for (int i = 0; i < count; ++i)
        Sleep(milliseconds);
    return Seconds(start, Now()) / count;
}

} // namespace

int main(int argc, char **argv)
{
    int width = 480, height = 360, maxIterations = 1000, runs = 3;
    if (argc >= 5) {
        width = atoi(argv[1]);
        height = atoi(argv[2]);
        maxIterations = atoi(argv[3]);
        runs = atoi(argv[4]);
    }
    if (width < 2 || height < 2 || maxIterations < 1 || runs < 1) {
        fprintf(stderr, "usage: mandel_bench [width height maxIterations runs]\n");
        return 2;
    }
    const double pixels = double(width - 1) * double(height - 1);
    printf("rectangle %g..%g x %g..%g, %d x %d bitmap (%.0f pixels computed), "
           "%d iterations at most, best of %d runs\n",
           MinX, MaxX, MinY, MaxY, width, height, pixels, maxIterations, runs);

    const double pause = AverageSleep(RendererPause, 50);
    printf("Sleep(%lu) takes %.2f ms here\n", RendererPause, pause * 1e3);

    double bestWall = 1e30, bestComputing = 1e30, bestCpu = 1e30;
    CMandel mandel;
    mandel.InitBitmap(nullptr, width, height, 32);
    for (int run = 0; run < runs; ++run) {
        const double cpuStart = OtherThreadsCpuSeconds();
        const LARGE_INTEGER start = Now();
        mandel.ReCalculateMandel(MinX, MaxX, MinY, MaxY, maxIterations, Bailout);
        while (mandel.ThreadInProcess())
            Sleep(10);
        const double wall = Seconds(start, Now());
        const double cpu = OtherThreadsCpuSeconds() - cpuStart;
        const double computing = wall - (width - 1) * pause;
        if (wall < bestWall) bestWall = wall;
        if (computing < bestComputing) bestComputing = computing;
        if (cpu < bestCpu) bestCpu = cpu;
    }

    std::vector<unsigned char> out(size_t(width) * size_t(height));
    double bestReference = 1e30;
    long long iterations = 0;
    for (int run = 0; run < runs; ++run) {
        const LARGE_INTEGER start = Now();
        iterations = ReferenceLoop(width, height, maxIterations, out);
        const double seconds = Seconds(start, Now());
        if (seconds < bestReference) bestReference = seconds;
    }

    auto rate = [pixels](double seconds) { return seconds > 0 ? pixels / seconds / 1e6 : 0.0; };
    printf("renderer   wall %8.3f s (%.3f Mpixel/s with its pauses)\n", bestWall, rate(bestWall));
    printf("renderer   wall - pauses %8.3f s  %8.3f Mpixel/s\n", bestComputing,
           rate(bestComputing));
    printf("renderer   worker CPU    %8.3f s  %8.3f Mpixel/s\n", bestCpu, rate(bestCpu));
    printf("reference  loop          %8.3f s  %8.3f Mpixel/s (%lld iterations)\n", bestReference,
           rate(bestReference), iterations);
    if (bestReference > 0 && bestComputing > 0)
        printf("renderer / reference: %.2f (wall - pauses), %.2f (CPU)\n",
               rate(bestComputing) / rate(bestReference), rate(bestCpu) / rate(bestReference));
    return 0;
}
