#include "fractal/CMandel.h"

#include <memory>
#include <new>

namespace {

// A pixel that escapes after n iterations gets entry n mod 8.
const COLORREF Palette[] = {
    RGB(0, 0, 200),   RGB(50, 140, 240), RGB(50, 165, 75), RGB(70, 250, 100),
    RGB(180, 40, 40), RGB(240, 100, 90), RGB(160, 80, 0),  RGB(250, 250, 40),
};
const int PaletteSize = int(sizeof(Palette) / sizeof(Palette[0]));

// Marks a pixel that did not escape: it keeps the colour it has.
const COLORREF NotDrawn = CLR_INVALID;

// Lets the caller follow the picture column by column on screen.
const DWORD ColumnPause = 5;

// Number of iterations after which z escapes (n is counted before the
// escape test, on the value of z before the step), or 0 when the limit is
// reached first. A huge limit must not keep a stop request waiting, so the
// flag is looked at every 64K iterations.
int EscapeCount(double zx, double zy, double cx, double cy, int maxIterations, double bailout,
                volatile LONG *stop)
{
    int n = 0;
    for (;;) {
        const double x2 = zx * zx;
        const double y2 = zy * zy;
        ++n;
        const double nextY = 2.0 * zx * zy + cy;
        zx = x2 - y2 + cx;
        zy = nextY;
        if (n >= maxIterations) return 0;
        // "Not below" also lets a NaN escape instead of iterating on.
        if (!(x2 + y2 < bailout)) return n;
        if ((n & 0xFFFF) == 0 && *stop) return 0;
    }
}

} // namespace

struct CMandel::tWorkerBlock {
    CMandel *Owner;
    HDC Dc;
    tMandelOptions *Options;
    HANDLE Event; // unused, stays null
    HANDLE Lock;
    volatile LONG Finished;
    // Each picture keeps its own parameters: a picture started meanwhile
    // must not change the one being drawn.
    tMandelOptions OwnOptions;
    HANDLE Thread;
    // The picture started before this one. Its worker is waited for (so the
    // pictures come out in the order they were started) and its block is
    // freed by this worker, as nobody else refers to it any more.
    tWorkerBlock *Previous;
};

CMandel::CMandel() : ImageHelper()
{
    InitializeClass();
}

void CMandel::InitializeClass()
{
    Lock = CreateMutexW(nullptr, FALSE, nullptr);
    Worker = nullptr;
    HBitmap = nullptr;
    BitmapInfo = BITMAP{};
    ColorCount = PaletteSize;
    Options = new (std::nothrow) tMandelOptions();
    StopRequested = 0;
    InitializeCriticalSection(&BitmapLock);
}

CMandel::~CMandel()
{
    StopWorkers();
    ReleaseBitmap();
    delete Options;
    if (Lock) CloseHandle(Lock);
    DeleteCriticalSection(&BitmapLock);
}

int CMandel::GetWidth()
{
    return BitmapInfo.bmWidth;
}

int CMandel::GetHeight()
{
    return BitmapInfo.bmHeight;
}

void CMandel::ReleaseBitmap()
{
    if (HBitmap) DeleteObject(HBitmap);
    HBitmap = nullptr;
    BitmapInfo = BITMAP{};
}

bool CMandel::InitBitmap(HWND window, int width, int height, int depth)
{
    // The workers draw into the bitmap that is about to go.
    StopWorkers();
    ReleaseBitmap();
    HBITMAP bitmap = nullptr;
    HDC dc = CreateEmptyBitmap(window, bitmap, width, height, depth);
    if (dc) {
        HBitmap = bitmap;
        GetObjectW(HBitmap, sizeof(BitmapInfo), &BitmapInfo);
        if (Options) {
            Options->Width = BitmapInfo.bmWidth;
            Options->Height = BitmapInfo.bmHeight;
            Options->BitCount = BitmapInfo.bmBitsPixel;
        }
        DeleteDC(dc);
    }
    return true;
}

void CMandel::ReCalculateMandel(double minX, double maxX, double minY, double maxY,
                                int maxIterations, int bailout)
{
    if (!SetPicture(1, minX, maxX, minY, maxY, maxIterations, bailout)) return;
    StartWorker();
}

void CMandel::ReCalculateJulia(double minX, double maxX, double minY, double maxY,
                               int maxIterations, int bailout, double juliaX, double juliaY)
{
    if (!SetPicture(0, minX, maxX, minY, maxY, maxIterations, bailout)) return;
    Options->JuliaX = juliaX;
    Options->JuliaY = juliaY;
    StartWorker();
}

bool CMandel::SetPicture(BYTE isMandel, double minX, double maxX, double minY, double maxY,
                         int maxIterations, int bailout)
{
    if (!Options) return false;
    Options->IsMandel = isMandel;
    Options->MinX = minX;
    Options->MaxX = maxX;
    Options->MinY = minY;
    Options->MaxY = maxY;
    Options->MaxIterations = maxIterations;
    Options->Bailout = bailout;
    return true;
}

void CMandel::StartWorker()
{
    if (!HBitmap) return;
    // The bitmap is selected into this DC only while a column is drawn, so
    // that DrawBitmap can show the picture meanwhile.
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc) return;
    GetObjectW(HBitmap, sizeof(BitmapInfo), &BitmapInfo);

    tWorkerBlock *block = new (std::nothrow) tWorkerBlock();
    if (!block) {
        DeleteDC(dc);
        return;
    }
    block->Owner = this;
    block->Dc = dc;
    block->OwnOptions = *Options;
    block->OwnOptions.Width = BitmapInfo.bmWidth;
    block->OwnOptions.Height = BitmapInfo.bmHeight;
    block->OwnOptions.BitCount = BitmapInfo.bmBitsPixel;
    block->Options = &block->OwnOptions;
    block->Lock = Lock;
    block->Finished = 0;
    block->Previous = Worker;
    // Suspended until Worker points at the new block: once running, the
    // worker frees the previous one.
    block->Thread = CreateThread(nullptr, 0, CalculateThread, block, CREATE_SUSPENDED, nullptr);
    if (!block->Thread) {
        DeleteDC(dc);
        delete block;
        return;
    }
    Worker = block;
    ResumeThread(block->Thread);
}

void CMandel::StopWorkers()
{
    if (!Worker) return;
    InterlockedExchange(&StopRequested, 1);
    // The last worker ends only after every earlier one has ended and been
    // freed, so waiting for it is enough.
    WaitForSingleObject(Worker->Thread, INFINITE);
    CloseHandle(Worker->Thread);
    delete Worker;
    Worker = nullptr;
    InterlockedExchange(&StopRequested, 0);
}

DWORD WINAPI CMandel::CalculateThread(LPVOID parameter)
{
    tWorkerBlock *block = static_cast<tWorkerBlock *>(parameter);
    CMandel *owner = block->Owner;
    if (block->Previous) {
        WaitForSingleObject(block->Previous->Thread, INFINITE);
        CloseHandle(block->Previous->Thread);
        delete block->Previous;
        block->Previous = nullptr;
    }
    // The lock keeps the pictures of one renderer from overlapping.
    const DWORD wait = block->Lock ? WaitForSingleObject(block->Lock, INFINITE) : WAIT_FAILED;
    const bool locked = wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
    if (!owner->StopRequested) {
        if (block->Options->IsMandel)
            owner->CalculateMandel(block->Dc, block->Options);
        else
            owner->CalculateJulia(block->Dc, block->Options);
    }
    if (locked) ReleaseMutex(block->Lock);
    DeleteDC(block->Dc);
    block->Dc = nullptr;
    InterlockedExchange(&block->Finished, 1);
    return 0;
}

void CMandel::CalculateMandel(HDC dc, tMandelOptions *options)
{
    if (dc && options) CalculatePicture(dc, *options);
}

void CMandel::CalculateJulia(HDC dc, tMandelOptions *options)
{
    if (dc && options) CalculatePicture(dc, *options);
}

void CMandel::CalculatePicture(HDC dc, const tMandelOptions &options)
{
    const int width = options.Width;
    const int height = options.Height;
    if (width < 2 || height < 2) return;
    const double dx = (options.MaxX - options.MinX) / width;
    const double dy = (options.MaxY - options.MinY) / height;
    const double bailout = options.Bailout;
    const int colorCount = ColorCount > 0 && ColorCount <= PaletteSize ? ColorCount : PaletteSize;
    std::unique_ptr<COLORREF[]> column(new (std::nothrow) COLORREF[size_t(height)]);
    if (!column) return;

    // Row 0 and column 0 are left as they are.
    for (int x = 1; x < width; ++x) {
        Sleep(ColumnPause);
        const double px = options.MinX + x * dx;
        for (int y = 1; y < height; ++y) {
            if (StopRequested) return;
            const double py = options.MinY + y * dy;
            const int n =
                options.IsMandel
                    ? EscapeCount(0.0, 0.0, px, py, options.MaxIterations, bailout, &StopRequested)
                    : EscapeCount(px, py, options.JuliaX, options.JuliaY, options.MaxIterations,
                                  bailout, &StopRequested);
            column[y] = n > 0 ? Palette[n % colorCount] : NotDrawn;
        }
        if (!DrawColumn(dc, x, column.get(), height)) return;
    }
}

bool CMandel::DrawColumn(HDC dc, int x, const COLORREF *colors, int count)
{
    EnterCriticalSection(&BitmapLock);
    HGDIOBJ old = SelectObject(dc, HBitmap);
    if (old) {
        for (int y = 1; y < count; ++y)
            if (colors[y] != NotDrawn) SetPixelV(dc, x, y, colors[y]);
        GdiFlush();
        SelectObject(dc, old);
    }
    LeaveCriticalSection(&BitmapLock);
    return old != nullptr;
}

bool CMandel::ThreadInProcess()
{
    return Worker && !Worker->Finished;
}

bool CMandel::CopyBitmapToDevive(HDC &dc, RECT rect, double factor, bool stretch)
{
    if (!HBitmap || !dc || !(factor > 0.0)) return false;
    HDC memory = CreateCompatibleDC(dc);
    if (!memory) return false;
    BOOL drawn = FALSE;
    EnterCriticalSection(&BitmapLock);
    HGDIOBJ old = SelectObject(memory, HBitmap);
    if (old) {
        if (!stretch && factor == 1.0) {
            drawn = BitBlt(dc, rect.left, rect.top, BitmapInfo.bmWidth, BitmapInfo.bmHeight, memory,
                           0, 0, SRCCOPY);
        } else {
            const int width = int((rect.right - rect.left) * factor);
            const int height = int((rect.bottom - rect.top) * factor);
            // The default mode ANDs colour pixels together when shrinking.
            const int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
            drawn = StretchBlt(dc, rect.left, rect.top, width, height, memory, 0, 0,
                               BitmapInfo.bmWidth, BitmapInfo.bmHeight, SRCCOPY);
            if (oldMode) SetStretchBltMode(dc, oldMode);
        }
        SelectObject(memory, old);
    }
    LeaveCriticalSection(&BitmapLock);
    DeleteDC(memory);
    return drawn != FALSE;
}

bool CMandel::DrawBitmap(HDC &dc, int x, int y, double factor)
{
    RECT rect = {x, y, x + BitmapInfo.bmWidth, y + BitmapInfo.bmHeight};
    return CopyBitmapToDevive(dc, rect, factor, false);
}

bool CMandel::Load(const wchar_t *)
{
    StopWorkers();
    ReleaseBitmap();
    return true;
}

bool CMandel::Save(const wchar_t *)
{
    return false;
}

CMandel *CreateCMandelClass()
{
    return new (std::nothrow) CMandel();
}

void DisposeCMandelClass(CMandel *mandel)
{
    delete mandel;
}
