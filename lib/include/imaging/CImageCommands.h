// Pixel operations on a bitmap handle: text, red/blue exchange, upside down,
// colour-key masks and composition over a background colour.
#pragma once

#include "imaging/ImageHelper.h"

class PICTAVO_API CImageCommands : public ImageHelper {
public:
    CImageCommands();
    ~CImageCommands();

    // Centred on x, top at y, transparent background.
    bool WriteTextToImage(HBITMAP bitmap, int x, int y, const wchar_t *text, LOGFONTW font,
                          COLORREF color);
    bool ConvertImagefromBGRtoRGB(HBITMAP bitmap);
    // Mirrors about the horizontal axis (the top line becomes the bottom).
    bool SwitchImageHorizontal(HBITMAP bitmap);
    // Turns a 24- or 32-bit bitmap into black and white: pixels whose blue,
    // green and red bytes lie within `tolerance` of the bytes of `key` (low
    // byte against byte 0) become black, the others white; `invert` swaps
    // the two. Byte 3 of 32-bit pixels is kept.
    bool CreateImageMask(HBITMAP bitmap, BITMAP info, COLORREF key, short tolerance, bool invert);
    // A new screen-compatible bitmap (the caller's) showing `source` where
    // the 1-bit `mask` is set and `background` where it is clear; null on
    // failure.
    HBITMAP MaskImage(HBITMAP source, BITMAP info, HBITMAP mask, COLORREF background);
    bool GrayingImage(HBITMAP bitmap);

private:
    void SwitchByteBlock(BYTE *first, BYTE *second, WORD count);
};
