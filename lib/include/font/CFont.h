// Description of a screen font (a LOGFONTW and a text colour) with the font
// dialog and text measuring around it. The object holds no GDI object, so it
// may be copied and destroyed freely.
#pragma once

#include "PictavoApi.h"

#include <windows.h>

class PICTAVO_API CFont {
public:
    // The stock system font.
    CFont();
    // Regular weight, no styles, at a size in points.
    CFont(const wchar_t *faceName, int pointSize);
    // height is a logical height, stored as given.
    CFont(const wchar_t *faceName, long weight, long height, BYTE italic, BYTE underline,
          BYTE strikeOut);
    // pointSize is converted to a logical height for the screen.
    CFont(const wchar_t *faceName, long weight, int pointSize, BYTE italic, BYTE underline,
          BYTE strikeOut);
    // Face, size, weight, styles and colour of the other font; the default
    // character set; neither its display name nor its measurements.
    explicit CFont(const CFont *other);
    ~CFont();

    LOGFONTW GetFont();
    const wchar_t *GetFaceName();
    long GetWeight();
    long GetHeight();
    BYTE GetItalic();
    BYTE GetUnderline();
    BYTE GetStrikeOut();
    bool IsItalic();
    bool IsUnderline();
    bool IsStrikeOut();
    void SetColor(COLORREF color);
    COLORREF GetColor();
    BYTE GetPitchAndFamily();

    // Common font dialog; false (and no change) when the user cancels.
    bool SelectFont(HWND owner);
    // The face name alone.
    const wchar_t *GetDisplayName();

    // Measures this font in the device context; the measurements below
    // refer to the last context given here, which must stay valid.
    void InitTextMetric(HDC dc);
    long GetDisplayWeight();
    long GetDisplayStringWeight(const wchar_t *text);
    long GetDisplayHeight();

    // Negative logical height of a point size on the screen.
    static long CalcHeightTolfHeight(int pointSize);

private:
    void SetSystemFont();
    void InitFont(const wchar_t *faceName, BYTE charSet, long weight, long height, BYTE italic,
                  BYTE underline, BYTE strikeOut);

    wchar_t DisplayName[260];
    LOGFONTW LogFont;
    HDC TextDC;
    TEXTMETRICW TextMetric;
    COLORREF Color;
};
