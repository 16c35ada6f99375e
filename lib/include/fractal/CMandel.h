// Fractal renderer: owns a bitmap and fills it with a picture of the
// Mandelbrot set or of a Julia set on a worker thread, column by column,
// while the caller polls ThreadInProcess and draws the bitmap (partly
// finished pictures included) into a window.
#pragma once

#include "imaging/ImageHelper.h"

class PICTAVO_API CMandel : public ImageHelper {
public:
    // Parameters of a picture. The rectangle of the complex plane runs from
    // MinX (left) to MaxX (right) and from MinY (top row) to MaxY (bottom
    // row); Bailout is compared with the squared magnitude.
    struct tMandelOptions {
        int Width;
        int Height;
        int BitCount;
        BYTE IsMandel; // 1 = Mandelbrot set, 0 = Julia set
        double MinX;
        double MaxX;
        double MinY;
        double MaxY;
        int MaxIterations;
        int Bailout;
        double JuliaX; // the constant of the Julia set
        double JuliaY;
    };

    CMandel();
    // Stops a running picture (and any started after it) before the bitmap
    // goes away.
    ~CMandel();
    CMandel(const CMandel &) = delete;
    CMandel &operator=(const CMandel &) = delete;

    // 0 while the renderer has no bitmap.
    int GetWidth();
    int GetHeight();

    // A new black bitmap for the window (null: the screen). Pictures still
    // running or waiting are stopped first. Always true; without a bitmap
    // (bad size or depth) nothing is drawn later.
    bool InitBitmap(HWND window, int width, int height, int depth);

    // Start a picture on a worker thread. A picture started while another
    // runs waits for it: pictures are drawn one after another, in the order
    // they were started, each with its own parameters. Nothing starts
    // without a bitmap.
    void ReCalculateMandel(double minX, double maxX, double minY, double maxY, int maxIterations,
                           int bailout);
    void ReCalculateJulia(double minX, double maxX, double minY, double maxY, int maxIterations,
                          int bailout, double juliaX, double juliaY);
    // True from the start of a picture until the worker of the last one
    // started has ended.
    bool ThreadInProcess();

    // The bitmap at (x, y): natural size for factor 1.0, otherwise
    // stretched to its size times the factor. May be called while a picture
    // is being drawn; false without a bitmap.
    bool DrawBitmap(HDC &dc, int x, int y, double factor);

    // There is no fractal file format: Load only drops the bitmap (after
    // stopping any picture) and Save writes nothing.
    bool Load(const wchar_t *path);
    bool Save(const wchar_t *path);

private:
    struct tWorkerBlock;

    static DWORD WINAPI CalculateThread(LPVOID block);
    void CalculateMandel(HDC dc, tMandelOptions *options);
    void CalculateJulia(HDC dc, tMandelOptions *options);
    void CalculatePicture(HDC dc, const tMandelOptions &options);
    bool DrawColumn(HDC dc, int x, const COLORREF *colors, int count);
    bool CopyBitmapToDevive(HDC &dc, RECT rect, double factor, bool stretch);
    bool SetPicture(BYTE isMandel, double minX, double maxX, double minY, double maxY,
                    int maxIterations, int bailout);
    void StartWorker();
    void StopWorkers();
    void ReleaseBitmap();
    void InitializeClass();

    HANDLE Lock;
    tWorkerBlock *Worker;
    HBITMAP HBitmap;
    BITMAP BitmapInfo;
    int ColorCount;
    tMandelOptions *Options;
    // Set while pictures are being stopped; the workers look at it for
    // every pixel.
    volatile LONG StopRequested;
    // Keeps the worker and the caller's drawing from selecting the bitmap
    // into two DCs at once, which GDI refuses.
    CRITICAL_SECTION BitmapLock;
};

// For callers that load the library at run time and look functions up by
// name. Dispose accepts null.
PICTAVO_CAPI CMandel *CreateCMandelClass();
PICTAVO_CAPI void DisposeCMandelClass(CMandel *mandel);
