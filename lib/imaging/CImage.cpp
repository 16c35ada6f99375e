#include "imaging/CImage.h"

#include "filesystem/CFileSystem.h"
#include "imaging/BitmapBits.h"
#include "imaging/CImageCommands.h"
#include "imaging/IImageState.h"
#include "string/CString.h"

#include <cwchar>
#include <strsafe.h>

namespace {

const UINT IdsAdjustmentFirst = 3420; // 3420 to 3423: the four fit modes

HMODULE LibraryModule()
{
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                           GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&LibraryModule), &module);
    return module;
}

} // namespace

// --- construction ----------------------------------------------------------------

CImage::CImage() : State(nullptr), HBitmap(nullptr), BitmapInfo{}, BackgroundColor(0)
{
    Init();
}

CImage::CImage(const CImage *other) : CImage()
{
    if (other) CopyFrom(*other);
}

CImage::CImage(const CImage &other) : CImage(&other) {}

CImage &CImage::operator=(const CImage &other)
{
    if (this != &other) {
        ReleaseBitmap();
        CopyFrom(other);
    }
    return *this;
}

CImage::~CImage()
{
    ReleaseBitmap();
    delete State;
}

void CImage::Init()
{
    delete State;
    State = CreateImageState(L"", false);
    ReleaseBitmap();
    BackgroundColor = 0;
}

void CImage::Clean() {}

void CImage::Reset() {}

void CImage::CopyFrom(const CImage &other)
{
    BackgroundColor = other.BackgroundColor;
    if (!other.HBitmap) return;
    const BITMAP &bm = other.BitmapInfo;
    if (bm.bmBitsPixel < 16) {
        // A DIB section of 8 bits or fewer would get a black colour table:
        // duplicate the bitmap with its own colours instead.
        TakeBitmap(HBITMAP(CopyImage(other.HBitmap, IMAGE_BITMAP, 0, 0, 0)));
        return;
    }
    HBITMAP copy = nullptr;
    HDC target =
        CreateEmptyBitmap(GetDesktopWindow(), copy, bm.bmWidth, bm.bmHeight, bm.bmBitsPixel);
    if (!target) return;
    HDC source = CreateCompatibleDC(target);
    if (source) {
        HGDIOBJ old = SelectObject(source, other.HBitmap);
        BitBlt(target, 0, 0, bm.bmWidth, bm.bmHeight, source, 0, 0, SRCCOPY);
        SelectObject(source, old);
        DeleteDC(source);
    }
    DeleteDC(target);
    TakeBitmap(copy);
}

void CImage::ReleaseBitmap()
{
    if (HBitmap) DeleteObject(HBitmap);
    HBitmap = nullptr;
    BitmapInfo = BITMAP{};
}

void CImage::TakeBitmap(HBITMAP bitmap)
{
    ReleaseBitmap();
    HBitmap = bitmap;
    if (HBitmap && !GetObjectW(HBitmap, sizeof(BitmapInfo), &BitmapInfo)) BitmapInfo = BITMAP{};
}

// --- access ----------------------------------------------------------------------

int CImage::GetWidth()
{
    return BitmapInfo.bmWidth;
}

int CImage::GetHeight()
{
    return BitmapInfo.bmHeight;
}

WORD CImage::GetDepth()
{
    return BitmapInfo.bmBitsPixel;
}

BITMAP CImage::GetBitmap()
{
    return BitmapInfo;
}

HBITMAP CImage::GetHBitmap()
{
    return HBitmap;
}

void CImage::SetBackColor(COLORREF color)
{
    BackgroundColor = color;
}

COLORREF CImage::GetBackColor()
{
    return BackgroundColor;
}

bool CImage::IsStoreImplemented()
{
    return State->CanStore();
}

BYTE *CImage::GetBitmapData()
{
    if (!HBitmap) return nullptr;
    const size_t size = BitmapBitsStride(BitmapInfo) * size_t(BitmapInfo.bmHeight);
    if (size == 0) return static_cast<BYTE *>(BitmapInfo.bmBits);
    BYTE *data = new BYTE[size];
    if (GetBitmapBits(HBitmap, LONG(size), data) == LONG(size)) return data;
    delete[] data;
    return static_cast<BYTE *>(BitmapInfo.bmBits);
}

void CImage::FreeBitmapData(BYTE *data)
{
    // The fall-back pointer belongs to the bitmap, not to the caller.
    if (data && data != BitmapInfo.bmBits) delete[] data;
}

const wchar_t *CImage::GetAdjustmentDescription(ImageHelper::Adjustment adjustment)
{
    static wchar_t text[260];
    text[0] = L'\0';
    const int value = int(adjustment);
    if (value >= 0 && value <= 3 &&
        LoadStringW(LibraryModule(), IdsAdjustmentFirst + UINT(value), text, 260) <= 0)
        text[0] = L'\0';
    return text;
}

bool CImage::Undo()
{
    return false;
}

bool CImage::Redo()
{
    return false;
}

bool CImage::CanUndo()
{
    return false;
}

bool CImage::CanRedo()
{
    return false;
}

// --- loading and saving -----------------------------------------------------------

void CImage::SetState(const wchar_t *name, bool saving)
{
    CString type;
    if (name && IS_INTRESOURCE(name)) {
        // A resource type given by number: only RT_BITMAP has a class of its own.
        if (name == RT_BITMAP) type = L"bitmap";
    } else if (name) {
        const CString copy(name); // cut to 259 characters
        const int dot = copy.LastIndexOf(L'.');
        type = (dot >= 0 ? copy.Substring(dot + 1) : copy).ToLower();
    }
    delete State;
    State = CreateImageState(type.ToChar(), saving);
}

bool CImage::Load(const wchar_t *path)
{
    ReleaseBitmap();
    // A cut path would name another file.
    if (!path || !*path || wcsnlen(path, MAX_PATH) >= MAX_PATH) return false;
    SetState(path, false);
    HBITMAP loaded = nullptr;
    if (!State->LoadFile(path, &loaded) || !loaded) {
        if (loaded) DeleteObject(loaded);
        return false;
    }
    TakeBitmap(loaded);
    return true;
}

bool CImage::LoadFromResource(const wchar_t *type, UINT id)
{
    return LoadFromResource(GetModuleHandleW(nullptr), type, id);
}

bool CImage::LoadFromResource(HINSTANCE module, const wchar_t *type, UINT id)
{
    ReleaseBitmap();
    if (!type || id > 0xFFFF) return false; // resource ids are 16-bit
    SetState(type, false);
    HBITMAP loaded = nullptr;
    if (!State->LoadResource(module, type, WORD(id), &loaded)) {
        if (loaded) DeleteObject(loaded);
        return false;
    }
    if (loaded) TakeBitmap(loaded);
    return true;
}

bool CImage::PrepareSavePath(const wchar_t *folder, const wchar_t *fileName, wchar_t *fullPath)
{
    fullPath[0] = L'\0';
    if (!folder || !*folder || !fileName || !*fileName) return false;
    CFileSystem fileSystem(folder, false);
    if (!fileSystem.DirExists() && !fileSystem.CreateDir()) return false;
    wchar_t name[MAX_PATH];
    const wchar_t *expanded = fileSystem.ReplaceWildcard(fileName);
    if (!expanded || !*expanded || FAILED(StringCchCopyW(name, MAX_PATH, expanded))) return false;
    const wchar_t *joined = fileSystem.CombinePath(name);
    return joined && *joined && SUCCEEDED(StringCchCopyW(fullPath, MAX_PATH, joined));
}

bool CImage::Save(const wchar_t *folder, const wchar_t *fileName)
{
    SetState(fileName, true);
    wchar_t path[MAX_PATH];
    if (!HBitmap || !PrepareSavePath(folder, fileName, path)) return false;
    return State->Store(path, HBitmap, nullptr);
}

bool CImage::SaveFromDIB(const wchar_t *folder, const wchar_t *fileName, int width, int height,
                         int depth, const BYTE *pixels)
{
    SetState(fileName, true);
    wchar_t path[MAX_PATH];
    if (!pixels || !PrepareSavePath(folder, fileName, path)) return false;
    return State->StoreDIB(path, width, height, depth, pixels);
}

// --- creating ----------------------------------------------------------------------

bool CImage::CreateBitmap(HWND window, int width, int height, int depth)
{
    ReleaseBitmap();
    HBITMAP created = nullptr;
    HDC dc = CreateEmptyBitmap(window, created, width, height, depth);
    if (!dc) return false;
    TakeBitmap(created);
    HBRUSH brush = CreateSolidBrush(BackgroundColor);
    if (brush) {
        RECT all = {0, 0, width, height};
        FillRect(dc, &all, brush);
        DeleteObject(brush);
    }
    DeleteDC(dc);
    return true;
}

bool CImage::CreateBitmapFromSelection(HWND window, RECT selection)
{
    ReleaseBitmap();
    if (!window) return false;
    // The window's own DC, frame included: selections are in window
    // coordinates and the fall-back area is the window rectangle.
    HDC windowDc = GetWindowDC(window);
    if (!windowDc) return false;
    const int depth = GetDeviceCaps(windowDc, BITSPIXEL);

    RECT area = selection;
    const bool useSelection = selection.left >= 0 && selection.top >= 0 &&
                              selection.right > selection.left && selection.bottom > selection.top;
    if (!useSelection) {
        RECT windowRect = {};
        GetWindowRect(window, &windowRect);
        area = {0, 0, windowRect.right - windowRect.left, windowRect.bottom - windowRect.top};
    }
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;

    HBITMAP created = nullptr;
    HDC dc = CreateEmptyBitmap(window, created, width, height, depth);
    if (dc) {
        TakeBitmap(created);
        BitBlt(dc, 0, 0, width, height, windowDc, area.left, area.top, SRCCOPY);
        DeleteDC(dc);
    }
    ReleaseDC(window, windowDc);
    return dc != nullptr;
}

bool CImage::CreateScreenShot(bool primaryOnly, int maxWidth, int maxHeight)
{
    ReleaseBitmap();
    int left = 0, top = 0, width = 0, height = 0;
    if (primaryOnly || GetSystemMetrics(SM_CMONITORS) < 2) {
        // The primary display always has its top-left corner at (0, 0).
        DEVMODEW mode = {};
        mode.dmSize = sizeof(mode);
        if (EnumDisplaySettingsW(nullptr, ENUM_CURRENT_SETTINGS, &mode)) {
            width = int(mode.dmPelsWidth);
            height = int(mode.dmPelsHeight);
        } else {
            width = GetSystemMetrics(SM_CXSCREEN);
            height = GetSystemMetrics(SM_CYSCREEN);
        }
    } else {
        left = GetSystemMetrics(SM_XVIRTUALSCREEN);
        top = GetSystemMetrics(SM_YVIRTUALSCREEN);
        width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
        height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    }

    HDC display = CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr);
    if (!display) return false;
    const int depth = GetDeviceCaps(display, BITSPIXEL);
    const int targetWidth = maxWidth > 0 && maxWidth < width ? maxWidth : width;
    const int targetHeight = maxHeight > 0 && maxHeight < height ? maxHeight : height;

    HBITMAP created = nullptr;
    HDC dc = CreateEmptyBitmap(GetDesktopWindow(), created, targetWidth, targetHeight, depth);
    if (dc) {
        TakeBitmap(created);
        if (targetWidth == width && targetHeight == height) {
            BitBlt(dc, 0, 0, width, height, display, left, top, SRCCOPY);
        } else {
            SetStretchBltMode(dc, HALFTONE);
            StretchBlt(dc, 0, 0, targetWidth, targetHeight, display, left, top, width, height,
                       SRCCOPY);
        }
        DeleteDC(dc);
    }
    DeleteDC(display);
    return dc != nullptr;
}

// --- drawing -------------------------------------------------------------------------

bool CImage::CopyBitmapToDevive(HDC &dc, RECT rect, double factor, bool stretch)
{
    if (!HBitmap || !dc || !(factor > 0.0)) return false;
    HDC memory = CreateCompatibleDC(dc);
    if (!memory) return false;
    HGDIOBJ old = SelectObject(memory, HBitmap);
    BOOL drawn;
    if (!stretch && factor == 1.0) {
        drawn = BitBlt(dc, rect.left, rect.top, BitmapInfo.bmWidth, BitmapInfo.bmHeight, memory, 0,
                       0, SRCCOPY);
    } else {
        const int width = int((rect.right - rect.left) * factor);
        const int height = int((rect.bottom - rect.top) * factor);
        // The default mode ANDs colour pixels together when shrinking.
        const int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
        drawn = StretchBlt(dc, rect.left, rect.top, width, height, memory, 0, 0, BitmapInfo.bmWidth,
                           BitmapInfo.bmHeight, SRCCOPY);
        if (oldMode) SetStretchBltMode(dc, oldMode);
    }
    SelectObject(memory, old);
    DeleteDC(memory);
    return drawn != FALSE;
}

bool CImage::DrawBitmap(HDC &dc)
{
    RECT rect = {0, 0, BitmapInfo.bmWidth, BitmapInfo.bmHeight};
    return CopyBitmapToDevive(dc, rect, 1.0, false);
}

bool CImage::DrawBitmap(HDC &dc, int x, int y, double factor)
{
    RECT rect = {x, y, x + BitmapInfo.bmWidth, y + BitmapInfo.bmHeight};
    return CopyBitmapToDevive(dc, rect, factor, false);
}

bool CImage::DrawBitmap(HDC &dc, RECT rect)
{
    return CopyBitmapToDevive(dc, rect, 1.0, true);
}

bool CImage::StretchBitmap(HDC &dc, RECT rect)
{
    return DrawBitmap(dc, rect);
}

// --- commands ------------------------------------------------------------------------

bool CImage::Cmd_WriteTextToImage(int x, int y, const wchar_t *text, LOGFONTW font, COLORREF color)
{
    return WriteTextOnBitmap(*this, HBitmap, x, y, text, font, color);
}

bool CImage::Cmd_ConvertImagefromBGRtoRGB()
{
    return CImageCommands().ConvertImagefromBGRtoRGB(HBitmap);
}

bool CImage::Cmd_SwitchImageHorizontal()
{
    return CImageCommands().SwitchImageHorizontal(HBitmap);
}

bool CImage::Cmd_SetImageMonochrome()
{
    if (!HBitmap) return false;
    // The image keeps its bitmap when no 1-bit copy can be made.
    HBITMAP mono = HBITMAP(CopyImage(HBitmap, IMAGE_BITMAP, 0, 0, LR_MONOCHROME));
    if (!mono) return false;
    TakeBitmap(mono);
    return true;
}

void CImage::Cmd_CreateImageMask(COLORREF key, short tolerance, bool invert)
{
    if (HBitmap) CImageCommands().CreateImageMask(HBitmap, BitmapInfo, key, tolerance, invert);
}

void CImage::Cmd_MaskImage(COLORREF key, short tolerance, bool invert)
{
    if (!HBitmap) return;
    // Works on the colour bytes themselves: a monochrome copy of a
    // black-and-white image would set a bit only for pixels of exactly
    // 0x00FFFFFF, so a fourth byte other than 0 (alpha) would lose them all;
    // and composing through a mask and device contexts costs a display
    // context per image where only bytes change.
    PaintKeyedPixels(HBitmap, BitmapInfo, key, tolerance, invert, BackgroundColor);
}

bool CImage::Cmd_GrayingImage()
{
    return true;
}
