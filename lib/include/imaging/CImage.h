// The library's bitmap object: one bitmap handle with its description,
// loaded from files and resources, saved in the format the file name's
// extension chooses, captured from the screen or a window, drawn at natural
// size, zoomed or stretched, and changed by pixel commands.
#pragma once

#include "imaging/ImageHelper.h"

class IImageState;

class PICTAVO_API CImage : public ImageHelper {
public:
    CImage();
    // A copy of the other's pixels at its size and depth, and its
    // background colour; no bitmap when the other has none.
    explicit CImage(const CImage *other);
    CImage(const CImage &other);
    CImage &operator=(const CImage &other);
    ~CImage();

    // 0 while the image has no bitmap.
    int GetWidth();
    int GetHeight();
    WORD GetDepth();
    BITMAP GetBitmap();
    // Still owned by the image.
    HBITMAP GetHBitmap();
    void SetBackColor(COLORREF color);
    COLORREF GetBackColor();
    // Whether the format of the last load or save can write files.
    bool IsStoreImplemented();
    // The bitmap's bytes as GetBitmapBits gives them (top row first), in a
    // new buffer to be released with FreeBitmapData. If they cannot be read,
    // the bitmap's own bits pointer (null for device-dependent bitmaps).
    BYTE *GetBitmapData();
    void FreeBitmapData(BYTE *data);
    // Name of a fit mode in the user-interface language; empty for other
    // values. The text stays valid until the next call.
    static const wchar_t *GetAdjustmentDescription(ImageHelper::Adjustment adjustment);
    bool Undo();
    bool Redo();
    bool CanUndo();
    bool CanRedo();

    // Paths of more than 259 characters are refused.
    bool Load(const wchar_t *path);
    bool LoadFromResource(const wchar_t *type, UINT id);
    // True when the format read the resource, also for formats that only
    // read the bytes and produce no bitmap.
    bool LoadFromResource(HINSTANCE module, const wchar_t *type, UINT id);
    // Creates the folder if needed; the file name may hold date, time and
    // counter fields ("Shot_{yyyyMMdd_hhmmss}.png"); its extension chooses
    // the format.
    bool Save(const wchar_t *folder, const wchar_t *fileName);
    bool SaveFromDIB(const wchar_t *folder, const wchar_t *fileName, int width, int height,
                     int depth, const BYTE *pixels);

    // Filled with the background colour.
    bool CreateBitmap(HWND window, int width, int height, int depth);
    // The selection in window coordinates, or the whole window when the
    // selection is empty or starts left of or above the window.
    bool CreateBitmapFromSelection(HWND window, RECT selection);
    // The primary display, or all monitors; a non-zero maximum shrinks that
    // side (the aspect ratio is not kept).
    bool CreateScreenShot(bool primaryOnly, int maxWidth, int maxHeight);
    bool DrawBitmap(HDC &dc);
    bool DrawBitmap(HDC &dc, int x, int y, double factor);
    bool DrawBitmap(HDC &dc, RECT rect);
    bool StretchBitmap(HDC &dc, RECT rect);

    bool Cmd_WriteTextToImage(int x, int y, const wchar_t *text, LOGFONTW font, COLORREF color);
    bool Cmd_ConvertImagefromBGRtoRGB();
    bool Cmd_SwitchImageHorizontal();
    bool Cmd_SetImageMonochrome();
    void Cmd_CreateImageMask(COLORREF key, short tolerance, bool invert);
    // Pixels within the tolerance of the key take the background colour
    // (with invert: all the others do).
    void Cmd_MaskImage(COLORREF key, short tolerance, bool invert);
    bool Cmd_GrayingImage();

private:
    bool CopyBitmapToDevive(HDC &dc, RECT rect, double factor, bool stretch);
    void SetState(const wchar_t *name, bool saving);
    bool PrepareSavePath(const wchar_t *folder, const wchar_t *fileName, wchar_t *fullPath);
    void CopyFrom(const CImage &other);
    void ReleaseBitmap();
    void TakeBitmap(HBITMAP bitmap);
    void Init();
    void Clean();
    void Reset();

    IImageState *State;
    HBITMAP HBitmap;
    BITMAP BitmapInfo;
    COLORREF BackgroundColor;
};
