#include "fractal/CMandel.h"
#include "support/GdiCount.h"

#include <gtest/gtest.h>

#include <tlhelp32.h>

#include <vector>

namespace {

// A pixel that escapes after n iterations gets entry n mod 8.
const COLORREF Entry[8] = {0x00C80000, 0x00F08C32, 0x004BA532, 0x0064FA46,
                           0x002828B4, 0x005A64F0, 0x000050A0, 0x0028FAFA};
const COLORREF B = 0; // black: not drawn

// What DrawBitmap shows in a black 32-bit target, top row first.
struct Picture {
    int width = 0;
    std::vector<COLORREF> pixels;
    COLORREF At(int x, int y) const { return pixels[size_t(y * width + x)]; }
    bool operator==(const Picture &o) const { return width == o.width && pixels == o.pixels; }
};

Picture Snapshot(CMandel &mandel, int width, int height, int x = 0, int y = 0, double factor = 1.0,
                 bool *drawn = nullptr)
{
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void *bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP target = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, target);
    const bool ok = mandel.DrawBitmap(dc, x, y, factor);
    if (drawn) *drawn = ok;
    GdiFlush();
    Picture picture{width, {}};
    for (int i = 0; i < width * height; ++i) {
        const DWORD rgb = static_cast<const DWORD *>(bits)[i];
        picture.pixels.push_back(RGB(rgb >> 16 & 0xFF, rgb >> 8 & 0xFF, rgb & 0xFF));
    }
    SelectObject(dc, old);
    DeleteObject(target);
    DeleteDC(dc);
    return picture;
}

Picture Snapshot(CMandel &mandel)
{
    return Snapshot(mandel, mandel.GetWidth(), mandel.GetHeight());
}

// The limit only turns a hanging worker into a failure.
bool WaitUntilDone(CMandel &mandel)
{
    for (int i = 0; i < 12000 && mandel.ThreadInProcess(); ++i)
        Sleep(5);
    return !mandel.ThreadInProcess();
}

// A worker that outlives its renderer shows here.
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

Picture Mandel(int size, double minX, double maxX, double minY, double maxY, int iterations,
               int bailout = 4)
{
    CMandel mandel;
    mandel.InitBitmap(nullptr, size, size, 32);
    mandel.ReCalculateMandel(minX, maxX, minY, maxY, iterations, bailout);
    EXPECT_TRUE(WaitUntilDone(mandel));
    return Snapshot(mandel);
}

Picture Julia(int size, double minX, double maxX, double minY, double maxY, double cx, double cy)
{
    CMandel mandel;
    mandel.InitBitmap(nullptr, size, size, 32);
    mandel.ReCalculateJulia(minX, maxX, minY, maxY, 50, 4, cx, cy);
    EXPECT_TRUE(WaitUntilDone(mandel));
    return Snapshot(mandel);
}

// Pixel (1, 1) of a 3 x 3 Julia picture, one step (1.0) off the corner.
COLORREF JuliaAt(double zx, double zy, double cx, double cy)
{
    return Julia(3, zx - 1, zx + 2, zy - 1, zy + 2, cx, cy).At(1, 1);
}

bool SameColumn(const Picture &a, const Picture &b, int x)
{
    for (size_t i = size_t(x); i < a.pixels.size(); i += size_t(a.width))
        if (a.pixels[i] != b.pixels[i]) return false;
    return true;
}

// `top` painted over `bottom`; no palette entry is black.
Picture Over(Picture bottom, const Picture &top)
{
    for (size_t i = 0; i < bottom.pixels.size(); ++i)
        if (top.pixels[i] != B) bottom.pixels[i] = top.pixels[i];
    return bottom;
}

TEST(Mandel, WithoutABitmapNothingIsDrawnOrStarted)
{
    CMandel mandel;
    EXPECT_FALSE(mandel.ThreadInProcess());
    EXPECT_EQ(mandel.GetWidth(), 0);
    bool drawn = true;
    Snapshot(mandel, 1, 1, 0, 0, 1.0, &drawn);
    EXPECT_FALSE(drawn);
    mandel.ReCalculateMandel(-2, 1, -1.5, 1.5, 50, 4);
    EXPECT_FALSE(mandel.ThreadInProcess());
    EXPECT_FALSE(mandel.Save(L"C:\\picture.mab"));

    EXPECT_TRUE(mandel.InitBitmap(nullptr, 4, 3, 32));
    EXPECT_EQ(mandel.GetHeight(), 3);
    EXPECT_EQ(Snapshot(mandel), (Picture{4, std::vector<COLORREF>(12, B)}));
    // Still true, but the old bitmap is gone.
    EXPECT_TRUE(mandel.InitBitmap(nullptr, 0, 5, 32));
    EXPECT_EQ(mandel.GetWidth(), 0);
    EXPECT_TRUE(mandel.InitBitmap(nullptr, 3, 5, 0));
    EXPECT_EQ(mandel.GetWidth(), 0);
}

TEST(Mandel, ThreeByThreePictureMatchesTheWorkedExample)
{
    // -1 -/+ 0.5i escape at n = 6, -/+ 0.5i never; row and column 0 stay.
    EXPECT_EQ(Mandel(3, -2, 1, -1.5, 1.5, 50).pixels,
              (std::vector<COLORREF>{B, B, B, B, Entry[6], B, B, Entry[6], B}));
    // The limit is tested before the escape.
    EXPECT_EQ(Mandel(3, -2, 1, -1.5, 1.5, 6).At(1, 1), B);
    EXPECT_EQ(Mandel(3, -2, 1, -1.5, 1.5, 7).At(1, 1), Entry[6]);
    // Bailout 100 lets -1 - 0.5i run to n = 8, which wraps to entry 0.
    EXPECT_EQ(Mandel(3, -2, 1, -1.5, 1.5, 50, 100).At(1, 1), Entry[0]);

    CMandel mandel;
    mandel.InitBitmap(nullptr, 3, 3, 32);
    mandel.ReCalculateMandel(-2, 1, -1.5, 1.5, 50, 4);
    ASSERT_TRUE(WaitUntilDone(mandel));
    EXPECT_EQ(Snapshot(mandel, 5, 5, 2, 1).At(3, 3), Entry[6]);
    const Picture zoomed = Snapshot(mandel, 6, 6, 0, 0, 2.0);
    for (int i = 0; i < 36; ++i)
        EXPECT_EQ(zoomed.pixels[i], i % 6 / 2 == 1 && i / 6 >= 2 ? Entry[6] : B) << i;
}

TEST(Mandel, DegenerateSizesAndIterationLimitsDrawNothing)
{
    // One column or row is column or row 0; with a limit of 1 or less it
    // is reached before the first escape test.
    const int cases[][3] = {{1, 40, 50}, {40, 1, 50}, {40, 40, 1}, {40, 40, 0}, {40, 40, -7}};
    for (const auto &c : cases) {
        CMandel mandel;
        mandel.InitBitmap(nullptr, c[0], c[1], 32);
        mandel.ReCalculateMandel(-2, 1, -1.5, 1.5, c[2], 4);
        ASSERT_TRUE(WaitUntilDone(mandel));
        EXPECT_EQ(Snapshot(mandel).pixels, std::vector<COLORREF>(size_t(c[0] * c[1]), B))
            << c[0] << "x" << c[1] << " n=" << c[2];
    }
}

TEST(Julia, StartsAtThePixelAndUsesTheConstant)
{
    // Constant 0 squares z: |z0| < 1 stays, |z0|^2 >= 4 escapes at n = 1,
    // >= 2 at n = 2. Rows run from -0.5 at the top to 2.5 at the bottom.
    const COLORREF E1 = Entry[1], E2 = Entry[2];
    EXPECT_EQ(Julia(5, -2.5, 2.5, -1.5, 3.5, 0, 0).pixels,
              (std::vector<COLORREF>{B, B,  B, B,  B,  B,  E2, B, B,  E2, B,  E2, B,
                                     B, E2, B, E1, E2, E2, E1, B, E1, E1, E1, E1}));
    EXPECT_EQ(JuliaAt(0.5, 0.5, 1, 0), Entry[3]); // 1 + 0.5i, 1.75 + i, escaped
    EXPECT_EQ(JuliaAt(0, 0, 1, 0), Entry[3]);     // 1, 2, escaped
    EXPECT_EQ(JuliaAt(0, 0, 0, 1), B);            // i, -1 + i, -i, -1 + i, ...
    EXPECT_EQ(JuliaAt(0, 0, 0, 1.5), Entry[3]);   // 1.5i, -2.25 + 1.5i, escaped

    // z and -z escape alike; steps of 1/16 hit both exactly.
    const Picture p = Julia(64, -2, 2, -2, 2, -0.75, 0.125);
    int black = 0;
    for (int y = 1; y < 64; ++y)
        for (int x = 1; x < 64; ++x) {
            ASSERT_EQ(p.At(x, y), p.At(64 - x, 64 - y)) << x << "," << y;
            black += p.At(x, y) == B;
        }
    EXPECT_GT(black, 0);
    EXPECT_LT(black, 63 * 63);
}

TEST(Mandel, ThreadInProcessCoversTheRunWhileThePictureGrowsColumnByColumn)
{
    CMandel mandel;
    mandel.InitBitmap(nullptr, 192, 192, 32);
    mandel.ReCalculateMandel(-2, 1, -1.5, 1.5, 40, 4);
    EXPECT_TRUE(mandel.ThreadInProcess());
    std::vector<Picture> during;
    bool allDrawn = true;
    while (mandel.ThreadInProcess() && during.size() < 3000) {
        bool drawn = false;
        during.push_back(Snapshot(mandel, 192, 192, 0, 0, 1.0, &drawn));
        allDrawn = allDrawn && drawn;
        Sleep(20);
    }
    ASSERT_TRUE(WaitUntilDone(mandel));
    EXPECT_FALSE(mandel.ThreadInProcess());
    EXPECT_TRUE(allDrawn) << "the bitmap could not be drawn while the worker ran";

    const Picture done = Snapshot(mandel);
    EXPECT_EQ(done.At(128, 96), B); // 0 lies in the set
    EXPECT_NE(done.At(4, 4), B);    // -1.94 - 1.44i escapes at n = 2
    for (int y = 1; y < 192; ++y) { // conjugates escape alike
        EXPECT_EQ(done.At(60, y), done.At(60, 192 - y)) << y;
        EXPECT_EQ(done.At(0, y) | done.At(y, 0), B);
    }
    // Left of the column being drawn all is final, right of it nothing yet.
    for (const Picture &p : during) {
        int x = 0;
        while (x < 192 && SameColumn(p, done, x))
            ++x;
        for (int i = 0; i < 192 * 192; ++i)
            ASSERT_TRUE(i % 192 <= x || p.pixels[i] == B) << "pixel " << i << " before " << x;
    }
}

TEST(Mandel, PicturesStartedBackToBackComeOutWholeAndInOrder)
{
    const Picture first = Mandel(48, -2, 1, -1.5, 1.5, 30);
    const Picture second = Julia(48, -2, 2, -2, 2, -0.75, 0.125);
    const Picture third = Mandel(48, -1, 0, -0.5, 0.5, 30);
    ASSERT_FALSE(Over(first, second) == Over(second, first)); // orders are told apart
    ASSERT_FALSE(Over(Over(first, second), third) == Over(Over(first, third), second));

    CMandel mandel;
    mandel.InitBitmap(nullptr, 48, 48, 32);
    mandel.ReCalculateMandel(-2, 1, -1.5, 1.5, 30, 4);
    mandel.ReCalculateJulia(-2, 2, -2, 2, 50, 4, -0.75, 0.125);
    mandel.ReCalculateMandel(-1, 0, -0.5, 0.5, 30, 4);
    EXPECT_TRUE(mandel.ThreadInProcess());
    ASSERT_TRUE(WaitUntilDone(mandel));
    EXPECT_EQ(Snapshot(mandel), Over(Over(first, second), third));
}

TEST(Mandel, ReplacingOrDroppingTheBitmapStopsThePicturesFirst)
{
    CMandel mandel;
    mandel.InitBitmap(nullptr, 200, 200, 32);
    mandel.ReCalculateMandel(-2, 1, -1.5, 1.5, 200, 4);
    Sleep(30);
    ASSERT_TRUE(mandel.ThreadInProcess());
    mandel.InitBitmap(nullptr, 100, 80, 32);
    EXPECT_FALSE(mandel.ThreadInProcess());
    Sleep(30); // a worker still running would draw into the new bitmap now
    EXPECT_EQ(Snapshot(mandel).pixels, std::vector<COLORREF>(100 * 80, B));

    mandel.ReCalculateMandel(-2, 1, -1.5, 1.5, 200, 4);
    mandel.ReCalculateMandel(-2, 1, -1.5, 1.5, 200, 4);
    EXPECT_TRUE(mandel.Load(L"C:\\no such file.mab"));
    EXPECT_FALSE(mandel.ThreadInProcess());
    EXPECT_EQ(mandel.GetWidth(), 0);
}

TEST(Mandel, DestroyingMidRunManyTimesEndsTheWorkersAndLeaksNoGdiObjects)
{
    auto cycle = [](int i) {
        CMandel mandel;
        mandel.InitBitmap(nullptr, 200, 150, 32);
        mandel.ReCalculateMandel(-2, 1, -1.5, 1.5, 500, 4);
        if (i % 3 == 1) mandel.ReCalculateJulia(-2, 2, -2, 2, 500, 4, -0.75, 0.125);
        if (i % 3 == 2) Sleep(DWORD(i % 20));
    };
    cycle(0);
    const int threads = ThreadCount();
    const int objects = wintest::GdiObjectCount();
    ASSERT_GT(objects, 0);
    for (int i = 1; i <= 60; ++i) {
        cycle(i);
        ASSERT_LE(ThreadCount(), threads) << "a worker outlived its renderer in round " << i;
    }
    EXPECT_EQ(wintest::GdiObjectCount(), objects);
}

TEST(Mandel, GdiObjectCountAfterFiftyPicturesEqualsAfterTheFirst)
{
    CMandel mandel;
    mandel.InitBitmap(nullptr, 12, 12, 32);
    int objects = 0, threads = 0;
    for (int i = 0; i < 50; ++i) {
        if (i % 2)
            mandel.ReCalculateJulia(-2, 2, -2, 2, 40, 4, -0.75, 0.125 * i);
        else
            mandel.ReCalculateMandel(-2, 1, -1.5, 1.5, 40 + i, 4);
        ASSERT_TRUE(WaitUntilDone(mandel));
        Snapshot(mandel);
        if (i == 0) objects = wintest::GdiObjectCount(), threads = ThreadCount();
    }
    ASSERT_GT(objects, 0);
    EXPECT_EQ(wintest::GdiObjectCount(), objects);
    EXPECT_EQ(ThreadCount(), threads);
}

TEST(Mandel, PlainFactoryFunctionsCreateAndDispose)
{
    HMODULE library = GetModuleHandleW(L"PictavoLib64.dll");
    // Through void (*)(), the one cast GCC accepts between function types.
    using Plain = void (*)();
    auto create = reinterpret_cast<CMandel *(*)()>(
        reinterpret_cast<Plain>(GetProcAddress(library, "CreateCMandelClass")));
    auto dispose = reinterpret_cast<void (*)(CMandel *)>(
        reinterpret_cast<Plain>(GetProcAddress(library, "DisposeCMandelClass")));
    ASSERT_TRUE(create && dispose);
    dispose(nullptr);
    const int threads = ThreadCount();
    CMandel *mandel = create();
    ASSERT_NE(mandel, nullptr);
    EXPECT_FALSE(mandel->ThreadInProcess());
    mandel->InitBitmap(nullptr, 100, 100, 32);
    mandel->ReCalculateMandel(-2, 1, -1.5, 1.5, 100, 4);
    EXPECT_TRUE(mandel->ThreadInProcess());
    dispose(mandel); // mid-run
    EXPECT_LE(ThreadCount(), threads);
}

} // namespace
