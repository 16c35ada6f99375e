#include "face/Face.h"

#include "font/CFont.h"
#include "imaging/CImage.h"
#include "res/resource.h"

#include <wchar.h>

namespace {

// Characters of the face images, in image order.
const wchar_t kFaceCharacters[] = L"0123456789:. ";

enum { COLON_IMAGE = 10, BLANK_IMAGE = 12, BITMAP_IMAGES = 12 };

// Near-black pixels of the digit bitmaps are their background.
const COLORREF kBitmapKey = 0x000000;
const short kBitmapTolerance = 30;

// Logical height of the largest font face at 100 % (100 points, beyond the
// sizes the font dialog lists): about as large as the largest digit face.
const long kMaxFontHeight = 133;

void LoadDigitBitmaps(tAppData *app, UINT firstId)
{
    for (int i = 0; i < BITMAP_IMAGES; ++i) {
        CImage *image = app->Images[i];
        if (!image->LoadFromResource(app->Instance, L"BITMAP", firstId + i)) continue;
        image->SetBackColor(app->Settings.BackColor);
        image->Cmd_MaskImage(kBitmapKey, kBitmapTolerance, false);
    }
}

void DrawFontCharacters(tAppData *app, HWND window)
{
    // On a screen above 100 % the characters are drawn from a font as much
    // larger, so that they stay sharp.
    const int dpi = FaceDpi(window);
    CFont *font = app->Font;
    // A height that some other writer left in the settings must not ask for
    // characters larger than any screen.
    long height = font->GetHeight();
    if (height > kMaxFontHeight) height = kMaxFontHeight;
    if (height < -kMaxFontHeight) height = -kMaxFontHeight;
    CFont scaled(font->GetFaceName(), font->GetWeight(),
                 (long)MulDiv(height, dpi, USER_DEFAULT_SCREEN_DPI), font->GetItalic(),
                 font->GetUnderline(), font->GetStrikeOut());
    scaled.SetColor(font->GetColor());
    if (dpi != USER_DEFAULT_SCREEN_DPI || height != font->GetHeight()) font = &scaled;
    HDC dc = GetDC(window);
    font->InitTextMetric(dc);
    const long digitWidth = font->GetDisplayStringWeight(L"0");
    const long separatorWidth = font->GetDisplayStringWeight(L":");
    const long cellHeight = font->GetDisplayHeight();
    ReleaseDC(window, dc);

    const bool italic = font->IsItalic();
    const LOGFONTW logFont = font->GetFont();
    for (int i = 0; i < BITMAP_IMAGES; ++i) {
        long width = i < COLON_IMAGE ? digitWidth : separatorWidth;
        // A slanted character leans past its upright width: a third more room
        // on the right, and the character centred left of the middle.
        if (italic) width = width * 8 / 6;
        CImage *image = app->Images[i];
        image->SetBackColor(app->Settings.BackColor);
        image->CreateBitmap(window, (int)width, (int)cellHeight, 32);
        const int x = (int)(italic ? width / 3 : width / 2);
        const wchar_t text[2] = {kFaceCharacters[i], L'\0'};
        image->Cmd_WriteTextToImage(x, 0, text, logFont, font->GetColor());
    }
}

// Cells are the images times the zoom, and digit bitmaps, which have one
// size, times the screen's scale as well.
void LayoutCells(tAppData *app, int dpi)
{
    tFaceLayout *layout = app->Layout;
    const int zoom = app->Settings.Zoom;
    const int digitWidth = app->Images[0]->GetWidth();
    const int separatorWidth = app->Images[COLON_IMAGE]->GetWidth();
    const int blankWidth = app->Images[BLANK_IMAGE]->GetWidth();
    const int cellHeight = MulDiv(zoom * app->Images[0]->GetHeight(), dpi, USER_DEFAULT_SCREEN_DPI);
    int x = 0;
    for (int i = 0; i < FACE_CCH - 1 && layout->Format[i]; ++i) {
        int width;
        switch (layout->Format[i]) {
        case L' ': width = blankWidth; break;
        case L'.':
        case L':': width = separatorWidth; break;
        default: width = digitWidth; break;
        }
        width = MulDiv(width * zoom, dpi, USER_DEFAULT_SCREEN_DPI);
        layout->Cells[i] = {x, 0, x + width, cellHeight};
        x += width;
    }
}

} // namespace

int FaceDpi(HWND window)
{
    // 96 for a window that the system scales itself (no DPI awareness).
    const UINT dpi = window ? GetDpiForWindow(window) : 0;
    return dpi ? (int)dpi : USER_DEFAULT_SCREEN_DPI;
}

int FaceImageIndex(wchar_t character)
{
    if (!character) return -1;
    const wchar_t *found = wcschr(kFaceCharacters, character);
    return found ? (int)(found - kFaceCharacters) : -1;
}

bool BuildFace(tAppData *app, HWND window)
{
    switch (app->Settings.FontType) {
    case 2: LoadDigitBitmaps(app, IDB_DIGITAL_FIRST); break;
    case 3: DrawFontCharacters(app, window); break;
    default: LoadDigitBitmaps(app, IDB_SMALL_FIRST); break;
    }
    // The blank is a piece of plain background as wide as the colon.
    CImage *colon = app->Images[COLON_IMAGE];
    CImage *blank = app->Images[BLANK_IMAGE];
    blank->SetBackColor(app->Settings.BackColor);
    blank->CreateBitmap(window, colon->GetWidth(), colon->GetHeight(), colon->GetDepth());
    LayoutCells(app, app->Settings.FontType == 3 ? USER_DEFAULT_SCREEN_DPI : FaceDpi(window));
    return true;
}
