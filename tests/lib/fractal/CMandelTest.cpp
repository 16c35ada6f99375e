#include "fractal/CMandel.h"
#include "support/GdiCount.h"
#include "support/WinTest.h"

#include <gtest/gtest.h>

#include <tlhelp32.h>

namespace {

// The colours of escaping pixels (0x00RRGGBB); black is "not drawn".
const DWORD E[8] = {0x0000C8, 0x328CF0, 0x32A54B, 0x46FA64, 0xB42828, 0xF0645A, 0xA05000, 0xFAFA28};
using Pixels = std::vector<DWORD>;

// What DrawBitmap shows in a black target (empty if nothing), also while a worker draws.
Pixels Snapshot(CMandel &mandel)
{
    BITMAPINFO info = wintest::TopDown32(mandel.GetWidth(), mandel.GetHeight());
    void *bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP target = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, target);
    const bool drawn = target && mandel.DrawBitmap(dc, 0, 0, 1.0);
    SelectObject(dc, old);
    DeleteDC(dc);
    const Pixels pixels = drawn ? wintest::BitmapPixels(target).pixels : Pixels();
    DeleteObject(target);
    return pixels;
}

int ThreadCount()
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    int count = 0;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        count += entry.th32OwnerProcessID == GetCurrentProcessId();
    CloseHandle(snapshot);
    return count;
}

// Picture x0, x1, y0, y1 with limit and bailout, then a Julia set for a constant cx, cy.
void Draw(CMandel &m, int size, const std::vector<double> &p)
{
    m.InitBitmap(nullptr, size, size, 32);
    m.ReCalculateMandel(p[0], p[1], p[2], p[3], int(p[4]), int(p[5]));
    if (p.size() > 6) m.ReCalculateJulia(p[0], p[1], p[2], p[3], 50, 4, p[6], p[7]);
}

Pixels Picture(int size, const std::vector<double> &p)
{
    CMandel m;
    Draw(m, size, p);
    EXPECT_TRUE(wintest::WaitUntil([&] { return !m.ThreadInProcess(); }, 60000));
    return Snapshot(m);
}

TEST(Mandel, WorkedExamplesOrderAndStoppingMidRunLeavesNoWorkerNorGdiObject)
{
    // -1 -/+ 0.5i escape at n = 6, -/+ 0.5i never; row and column 0 stay.
    EXPECT_EQ(Picture(3, {-2, 1, -1.5, 1.5, 50, 4}), (Pixels{0, 0, 0, 0, E[6], 0, 0, E[6], 0}));
    EXPECT_EQ(Picture(3, {-2, 1, -1.5, 1.5, 6, 4})[4], 0u) << "the limit is tested first";
    EXPECT_EQ(Picture(3, {-2, 1, -1.5, 1.5, 7, 4})[4], E[6]);
    EXPECT_EQ(Picture(3, {-2, 1, -1.5, 1.5, 50, 100})[4], E[0]) << "n = 8 wraps";
    // Julia (over a Mandelbrot picture of limit 1, which draws nothing): pixel (1, 1)
    // is z0 = zx + zy i; the sign of c's imaginary component breaks the symmetry.
    const double julia[][5] = {{0, 0, 0, 1, -1},      // i, -1 + i, -i, -1 + i, ...
                               {0.5, 0.5, 0, 1, 3},   // with -i: n = 7
                               {-1, 1, 0.5, 0.5, 4}}; // with 0.5 - 0.5i: n = 2
    for (const auto &j : julia) // the last column: the colour entry, -1 for none
        EXPECT_EQ(Picture(3, {j[0] - 1, j[0] + 2, j[1] - 1, j[1] + 2, 1, 4, j[2], j[3]})[4],
                  j[4] < 0 ? 0 : E[int(j[4])])
            << "row " << &j - julia;

    // Later pictures paint over earlier ones; a new bitmap or the end stops a worker.
    const std::vector<double> whole = {-2, 1, -1.5, 1.5, 30, 4, -0.75, 0.125},
                              detail = {-1, 0, -0.5, 0.5, 30, 4};
    Pixels expected = Picture(48, whole);
    const Pixels later = Picture(48, detail);
    for (size_t i = 0; i < expected.size(); ++i)
        expected[i] = later[i] ? later[i] : expected[i];
    const int threads = ThreadCount(), objects = wintest::GdiObjectCount();
    for (int round = 0; round < 3; ++round) {
        CMandel mandel;
        Draw(mandel, 48, whole);
        mandel.ReCalculateMandel(detail[0], detail[1], detail[2], detail[3], 30, 4);
        // Round 0 finishes; the others stop once the first worker drew its first column.
        ASSERT_TRUE(wintest::WaitUntil(
            [&] {
                const Pixels p = Snapshot(mandel);
                return round ? p.size() == 48 * 48 && p[10 * 48 + 1] != 0 : p == expected;
            },
            60000));
        if (round == 1) {
            mandel.InitBitmap(nullptr, 20, 10, 32);
            EXPECT_LE(ThreadCount(), threads) << "a worker survived the new bitmap";
            EXPECT_EQ(Snapshot(mandel), Pixels(20 * 10, 0));
        }
    }
    EXPECT_LE(ThreadCount(), threads);
    EXPECT_EQ(wintest::GdiObjectCount(), objects);
}

} // namespace
