#include "font/CFont.h"

#include <commdlg.h>
#include <strsafe.h>

namespace {

const COLORREF kDefaultColor = 0x000000FF;
const DWORD kChooseFontFlags =
    CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_EFFECTS | CF_NOSCRIPTSEL;
// Resolution assumed when the screen cannot be asked (no display at all).
const int kFallbackDpi = 96;

// Selects a font made from the description into the context for the time of
// one measurement, and puts the context back as it was afterwards.
class ScopedFont {
public:
    ScopedFont(HDC dc, const LOGFONTW &description) : dc_(dc)
    {
        font_ = CreateFontIndirectW(&description);
        if (font_ && dc_) old_ = SelectObject(dc_, font_);
    }
    ~ScopedFont()
    {
        if (old_ && old_ != HGDI_ERROR) SelectObject(dc_, old_);
        if (font_) DeleteObject(font_);
    }
    ScopedFont(const ScopedFont &) = delete;
    ScopedFont &operator=(const ScopedFont &) = delete;
    bool Selected() const { return old_ && old_ != HGDI_ERROR; }

private:
    HDC dc_;
    HFONT font_ = nullptr;
    HGDIOBJ old_ = nullptr;
};

} // namespace

CFont::CFont() : DisplayName(), LogFont(), TextDC(nullptr), TextMetric(), Color(kDefaultColor)
{
    SetSystemFont();
}

CFont::CFont(const wchar_t *faceName, int pointSize)
    : DisplayName(), LogFont(), TextDC(nullptr), TextMetric(), Color(kDefaultColor)
{
    InitFont(faceName, DEFAULT_CHARSET, FW_NORMAL, CalcHeightTolfHeight(pointSize), 0, 0, 0);
}

CFont::CFont(const wchar_t *faceName, long weight, long height, BYTE italic, BYTE underline,
             BYTE strikeOut)
    : DisplayName(), LogFont(), TextDC(nullptr), TextMetric(), Color(kDefaultColor)
{
    InitFont(faceName, DEFAULT_CHARSET, weight, height, italic, underline, strikeOut);
}

CFont::CFont(const wchar_t *faceName, long weight, int pointSize, BYTE italic, BYTE underline,
             BYTE strikeOut)
    : DisplayName(), LogFont(), TextDC(nullptr), TextMetric(), Color(kDefaultColor)
{
    InitFont(faceName, DEFAULT_CHARSET, weight, CalcHeightTolfHeight(pointSize), italic, underline,
             strikeOut);
}

CFont::CFont(const CFont *other)
    : DisplayName(), LogFont(), TextDC(nullptr), TextMetric(), Color(kDefaultColor)
{
    if (!other) {
        SetSystemFont();
        return;
    }
    const LOGFONTW &lf = other->LogFont;
    InitFont(lf.lfFaceName, DEFAULT_CHARSET, lf.lfWeight, lf.lfHeight, lf.lfItalic, lf.lfUnderline,
             lf.lfStrikeOut);
    Color = other->Color;
}

CFont::~CFont() {}

void CFont::InitFont(const wchar_t *faceName, BYTE charSet, long weight, long height, BYTE italic,
                     BYTE underline, BYTE strikeOut)
{
    DisplayName[0] = L'\0';
    ZeroMemory(&LogFont, sizeof(LogFont));
    // A face name longer than the 31 characters of a LOGFONTW is cut.
    StringCchCopyW(LogFont.lfFaceName, LF_FACESIZE, faceName ? faceName : L"");
    LogFont.lfHeight = height;
    LogFont.lfItalic = italic;
    LogFont.lfUnderline = underline;
    LogFont.lfWeight = weight;
    LogFont.lfStrikeOut = strikeOut;
    LogFont.lfCharSet = charSet;
    Color = kDefaultColor;
}

void CFont::SetSystemFont()
{
    LOGFONTW system = {};
    GetObjectW(GetStockObject(SYSTEM_FONT), sizeof(system), &system);
    InitFont(system.lfFaceName, system.lfCharSet, system.lfWeight, system.lfHeight, system.lfItalic,
             system.lfUnderline, system.lfStrikeOut);
}

long CFont::CalcHeightTolfHeight(int pointSize)
{
    HDC screen = GetDC(nullptr);
    int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen) ReleaseDC(nullptr, screen);
    if (dpi <= 0) dpi = kFallbackDpi;
    return -MulDiv(pointSize, dpi, 72);
}

LOGFONTW CFont::GetFont()
{
    return LogFont;
}
const wchar_t *CFont::GetFaceName()
{
    return LogFont.lfFaceName;
}
long CFont::GetWeight()
{
    return LogFont.lfWeight;
}
long CFont::GetHeight()
{
    return LogFont.lfHeight;
}
BYTE CFont::GetItalic()
{
    return LogFont.lfItalic;
}
BYTE CFont::GetUnderline()
{
    return LogFont.lfUnderline;
}
BYTE CFont::GetStrikeOut()
{
    return LogFont.lfStrikeOut;
}
bool CFont::IsItalic()
{
    return LogFont.lfItalic != 0;
}
bool CFont::IsUnderline()
{
    return LogFont.lfUnderline == 1;
}
bool CFont::IsStrikeOut()
{
    return LogFont.lfStrikeOut == 1;
}
void CFont::SetColor(COLORREF color)
{
    Color = color;
}
COLORREF CFont::GetColor()
{
    return Color;
}
BYTE CFont::GetPitchAndFamily()
{
    return TextMetric.tmPitchAndFamily;
}

bool CFont::SelectFont(HWND owner)
{
    LOGFONTW chosen = LogFont;
    CHOOSEFONTW cf = {};
    cf.lStructSize = sizeof(cf);
    cf.hwndOwner = owner;
    cf.lpLogFont = &chosen;
    cf.Flags = kChooseFontFlags;
    cf.rgbColors = Color;
    if (!ChooseFontW(&cf)) return false;
    LogFont = chosen;
    Color = cf.rgbColors;
    return true;
}

const wchar_t *CFont::GetDisplayName()
{
    StringCchPrintfW(DisplayName, _countof(DisplayName), L"%s", LogFont.lfFaceName);
    return DisplayName;
}

// The font is selected only while it is measured: leaving it selected would
// leak one GDI font per call in a context that the caller releases.
void CFont::InitTextMetric(HDC dc)
{
    TextDC = dc;
    ScopedFont font(dc, LogFont);
    TEXTMETRICW metric;
    if (font.Selected() && GetTextMetricsW(dc, &metric)) TextMetric = metric;
}

long CFont::GetDisplayWeight()
{
    return TextMetric.tmAveCharWidth;
}

long CFont::GetDisplayStringWeight(const wchar_t *text)
{
    if (!TextDC || !text) return 0;
    const size_t length = wcslen(text);
    ScopedFont font(TextDC, LogFont);
    SIZE extent = {0, 0};
    if (!font.Selected() || !GetTextExtentPoint32W(TextDC, text, (int)length, &extent)) return 0;
    return extent.cx;
}

// The internal leading is counted twice on purpose: the face images are sized
// with this height, and callers rely on the room it gives.
long CFont::GetDisplayHeight()
{
    return TextMetric.tmHeight + TextMetric.tmInternalLeading + TextMetric.tmExternalLeading;
}
