#include "fractal/CMandel.h"
#include "support/GdiCount.h"
#include "support/WinTest.h"

#include <gtest/gtest.h>

#include <tlhelp32.h>

#include <vector>

namespace {

// A pixel that escapes after n iterations gets entry n mod 8 (0x00RRGGBB);
// black is "not drawn".
const DWORD E[8] = {0x0000C8, 0x328CF0, 0x32A54B, 0x46FA64, 0xB42828, 0xF0645A, 0xA05000, 0xFAFA28};
using Pixels = std::vector<DWORD>;

// What DrawBitmap shows in a black target, top row first; empty when it
// draws nothing. It may be called while a worker draws.
Pixels Snapshot(CMandel &mandel)
{
    const int width = mandel.GetWidth(), height = mandel.GetHeight();
    BITMAPINFO info = wintest::TopDown32(width, height);
    void *bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP target = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, target);
    Pixels pixels;
    if (mandel.DrawBitmap(dc, 0, 0, 1.0) && target) {
        GdiFlush();
        for (int i = 0; i < width * height; ++i)
            pixels.push_back(static_cast<const DWORD *>(bits)[i] & 0xFFFFFF);
    }
    SelectObject(dc, old);
    DeleteObject(target);
    DeleteDC(dc);
    return pixels;
}

bool Done(CMandel &mandel)
{
    return wintest::WaitUntil([&] { return !mandel.ThreadInProcess(); }, 60000);
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

// A finished square picture of the rectangle; a Julia set for a constant.
Pixels Picture(int size, const double (&area)[4], int limit, int bailout = 4,
               const double *julia = nullptr)
{
    CMandel m;
    m.InitBitmap(nullptr, size, size, 32);
    if (julia)
        m.ReCalculateJulia(area[0], area[1], area[2], area[3], limit, bailout, julia[0], julia[1]);
    else
        m.ReCalculateMandel(area[0], area[1], area[2], area[3], limit, bailout);
    EXPECT_TRUE(Done(m));
    return Snapshot(m);
}

// Pixel (1, 1) of a 3 x 3 Julia picture lies at z0 = zx + zy i.
DWORD JuliaAt(double zx, double zy, double cx, double cy)
{
    const double c[2] = {cx, cy};
    return Picture(3, {zx - 1, zx + 2, zy - 1, zy + 2}, 50, 4, c)[4];
}

const double kWhole[4] = {-2, 1, -1.5, 1.5}, kJulia[4] = {-2, 2, -2, 2},
             kSeahorse[2] = {-0.75, 0.125};

TEST(Mandel, WorkedExamplesOfBothSets)
{
    // -1 -/+ 0.5i escape at n = 6, -/+ 0.5i never; row and column 0 stay.
    EXPECT_EQ(Picture(3, kWhole, 50), (Pixels{0, 0, 0, 0, E[6], 0, 0, E[6], 0}));
    EXPECT_EQ(Picture(3, kWhole, 6)[4], 0u) << "the limit is tested before the escape";
    EXPECT_EQ(Picture(3, kWhole, 7)[4], E[6]);
    EXPECT_EQ(Picture(3, kWhole, 50, 100)[4], E[0]) << "n = 8 wraps";
    // Julia: the pixel is z0, the constant c (the sign of its imaginary part
    // shows where the set is not symmetric).
    EXPECT_EQ(JuliaAt(0, 0, 1, 0), E[3]);      // 1, 2, escaped
    EXPECT_EQ(JuliaAt(0, 0, 0, 1), 0u);        // i, -1 + i, -i, -1 + i, ...
    EXPECT_EQ(JuliaAt(0.5, 0.5, 0, 1), E[3]);  // with -i: n = 7
    EXPECT_EQ(JuliaAt(-1, 1, 0.5, 0.5), E[4]); // with 0.5 - 0.5i: n = 2

    CMandel none; // nothing starts or shows without a bitmap
    none.ReCalculateMandel(-2, 1, -1.5, 1.5, 50, 4);
    EXPECT_TRUE(Snapshot(none).empty() && !none.ThreadInProcess());
}

TEST(Mandel, PicturesComeOutInOrderAndStoppingThemMidRunLeavesNoWorkerNorGdiObject)
{
    const double part[4] = {-1, 0, -0.5, 0.5};
    Pixels expected = Picture(48, kWhole, 30); // later pictures paint over earlier ones
    for (const Pixels &later : {Picture(48, kJulia, 50, 4, kSeahorse), Picture(48, part, 30)})
        for (size_t i = 0; i < expected.size(); ++i)
            expected[i] = later[i] ? later[i] : expected[i];
    const int threads = ThreadCount(), objects = wintest::GdiObjectCount();
    for (int round = 0; round < 4; ++round) {
        CMandel mandel;
        mandel.InitBitmap(nullptr, 48, 48, 32);
        mandel.ReCalculateMandel(-2, 1, -1.5, 1.5, 30, 4);
        mandel.ReCalculateJulia(-2, 2, -2, 2, 50, 4, kSeahorse[0], kSeahorse[1]);
        mandel.ReCalculateMandel(-1, 0, -0.5, 0.5, 30, 4);
        if (round == 0) {
            ASSERT_TRUE(Done(mandel));
            EXPECT_EQ(Snapshot(mandel), expected);
            continue;
        }
        // Stopped once the first worker has drawn its first column, which
        // shows while it runs: by a new bitmap, or by the end of the
        // renderer, pictures waiting too.
        ASSERT_TRUE(wintest::WaitUntil(
            [&] {
                const Pixels p = Snapshot(mandel);
                return p.size() == 48 * 48 && p[10 * 48 + 1] != 0;
            },
            10000));
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
