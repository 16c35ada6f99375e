#include "imaging/ImageFormats.h"

#include <ocidl.h>
#include <olectl.h>

#include <cwchar>
#include <vector>

namespace {

// A bitmap made from pixel rows, written through `save` and released.
template <typename Save>
bool StoreRows(ImageHelper &helper, int width, int height, int depth, const BYTE *pixels, Save save)
{
    if (!pixels) return false;
    HBITMAP bitmap = nullptr;
    HDC dc = helper.CreateBitmapFromDIB(nullptr, bitmap, width, height, depth, pixels);
    if (!dc) return false;
    DeleteDC(dc);
    const bool saved = save(bitmap);
    DeleteObject(bitmap);
    return saved;
}

bool WriteAll(HANDLE file, const void *data, DWORD size)
{
    DWORD written = 0;
    return WriteFile(file, data, size, &written, nullptr) && written == size;
}

} // namespace

// --- Windows bitmaps ---------------------------------------------------------

bool BmpImage::LoadFile(const wchar_t *path, HBITMAP *bitmap)
{
    if (!path || !bitmap) return false;
    *bitmap = HBITMAP(LoadImageW(nullptr, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    return *bitmap != nullptr;
}

bool BmpImage::LoadResource(HINSTANCE module, const wchar_t *, WORD id, HBITMAP *bitmap)
{
    if (!bitmap) return false;
    *bitmap = LoadBitmapW(module, MAKEINTRESOURCEW(id));
    return *bitmap != nullptr;
}

bool BmpImage::Store(const wchar_t *path, HBITMAP bitmap, HPALETTE)
{
    return SaveWithEncoder(path, L"image/bmp", bitmap);
}

bool BmpImage::StoreDIB(const wchar_t *path, int width, int height, int depth, const BYTE *pixels)
{
    return StoreRows(*this, width, height, depth, pixels,
                     [&](HBITMAP b) { return SaveWithEncoder(path, L"image/bmp", b); });
}

// --- OLE pictures --------------------------------------------------------------

bool DefaultImage::LoadFile(const wchar_t *path, HBITMAP *bitmap)
{
    return bitmap && OpenFileStream(path) && DecodePicture(bitmap);
}

bool DefaultImage::LoadResource(HINSTANCE module, const wchar_t *type, WORD id, HBITMAP *bitmap)
{
    if (!bitmap || !type) return false;
    if (!IS_INTRESOURCE(type) && wcscmp(type, L"BITMAP") == 0) {
        *bitmap =
            HBITMAP(LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_DEFAULTSIZE));
        if (*bitmap) return true;
    }
    return OpenResourceStream(module, type, id) && DecodePicture(bitmap);
}

bool DefaultImage::DecodePicture(HBITMAP *bitmap)
{
    if (!Stream) return false;
    IPicture *picture = nullptr;
    if (FAILED(OleLoadPicture(Stream, LONG(Size), FALSE, IID_IPicture,
                              reinterpret_cast<void **>(&picture))) ||
        !picture) {
        if (picture) picture->Release();
        return false;
    }
    OLE_XSIZE_HIMETRIC hmWidth = 0;
    OLE_YSIZE_HIMETRIC hmHeight = 0;
    picture->get_Width(&hmWidth);
    picture->get_Height(&hmHeight);

    HWND desktop = GetDesktopWindow();
    HDC screen = GetDC(desktop);
    const int dpiX = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 96;
    const int dpiY = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen) ReleaseDC(desktop, screen);
    const int width = MulDiv(hmWidth, dpiX, 2540);
    const int height = MulDiv(hmHeight, dpiY, 2540);

    HBITMAP created = nullptr;
    HDC dc = CreateEmptyBitmap(desktop, created, width, height, 32);
    if (!dc) {
        picture->Release();
        return false;
    }
    // The source extent runs upwards so that the picture stands upright.
    picture->Render(dc, 0, 0, width, height, 0, hmHeight, hmWidth, -hmHeight, nullptr);
    DeleteDC(dc);
    picture->Release();
    *bitmap = created;
    return true;
}

bool DefaultImage::Store(const wchar_t *path, HBITMAP bitmap, HPALETTE palette)
{
    if (!path || !*path || !bitmap) return false;
    PICTDESC description = {};
    description.cbSizeofstruct = sizeof(PICTDESC);
    description.picType = PICTYPE_BITMAP;
    description.bmp.hbitmap = bitmap;
    description.bmp.hpal = palette;
    IPicture *picture = nullptr;
    if (FAILED(OleCreatePictureIndirect(&description, IID_IPicture, FALSE,
                                        reinterpret_cast<void **>(&picture))) ||
        !picture)
        return false;

    bool saved = false;
    BSTR name = SysAllocString(path);
    if (name) {
        IDispatch *dispatch = nullptr;
        if (SUCCEEDED(
                picture->QueryInterface(IID_IDispatch, reinterpret_cast<void **>(&dispatch))) &&
            dispatch) {
            saved = SUCCEEDED(OleSavePictureFile(dispatch, name));
            dispatch->Release();
        }
        SysFreeString(name);
    }
    picture->Release();
    // Some systems (Wine) have no OLE picture saver: write the Windows
    // bitmap file it would have written, so the result does not depend on
    // the platform.
    return saved || WriteBitmapFile(path, bitmap);
}

// --- GDI+ encoders ---------------------------------------------------------------

bool EncoderImage::LoadFile(const wchar_t *path, HBITMAP *)
{
    return OpenFileStream(path);
}

bool EncoderImage::LoadResource(HINSTANCE module, const wchar_t *type, WORD id, HBITMAP *)
{
    return OpenResourceStream(module, type, id);
}

bool EncoderImage::Store(const wchar_t *path, HBITMAP bitmap, HPALETTE)
{
    return SaveWithEncoder(path, MimeType, bitmap);
}

bool EncoderImage::StoreDIB(const wchar_t *path, int width, int height, int depth,
                            const BYTE *pixels)
{
    return StoreRows(*this, width, height, depth, pixels,
                     [&](HBITMAP b) { return SaveWithEncoder(path, MimeType, b); });
}

// --- read into memory only -------------------------------------------------------

bool ReadOnlyImage::LoadFile(const wchar_t *path, HBITMAP *)
{
    return OpenFileStream(path);
}

bool ReadOnlyImage::LoadResource(HINSTANCE module, const wchar_t *type, WORD id, HBITMAP *)
{
    return OpenResourceStream(module, type, id);
}

// --- TGA -------------------------------------------------------------------------

bool TgaImage::LoadFile(const wchar_t *path, HBITMAP *bitmap)
{
    return bitmap && OpenFileStream(path) && DecodeTga(bitmap);
}

bool TgaImage::LoadResource(HINSTANCE module, const wchar_t *type, WORD id, HBITMAP *bitmap)
{
    return bitmap && OpenResourceStream(module, type, id) && DecodeTga(bitmap);
}

bool TgaImage::DecodeTga(HBITMAP *bitmap)
{
    const BYTE *bytes = Memory ? static_cast<const BYTE *>(GlobalLock(Memory)) : nullptr;
    if (!bytes) return false;
    const bool decoded = tga::Decode(bytes, Size, TgaPixels);
    GlobalUnlock(Memory);
    if (!decoded) return false;

    HBITMAP created = nullptr;
    HDC dc = CreateBitmapFromDIB(nullptr, created, TgaPixels.width, TgaPixels.height,
                                 TgaPixels.bitsPerPixel, TgaPixels.pixels.data());
    TgaPixels = tga::DecodedImage(); // the bitmap holds the pixels now
    if (!dc) return false;
    DeleteDC(dc);
    *bitmap = created;
    return true;
}

// --- Windows bitmap file ---------------------------------------------------------

bool WriteBitmapFile(const wchar_t *path, HBITMAP bitmap)
{
    BITMAP bm = {};
    if (!path || !*path || !bitmap || !GetObjectW(bitmap, sizeof(bm), &bm) || bm.bmWidth <= 0 ||
        bm.bmHeight <= 0)
        return false;
    WORD bits = bm.bmBitsPixel;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) bits = 24;
    const DWORD colors = bits <= 8 ? DWORD(1) << bits : 0;

    std::vector<BYTE> info(sizeof(BITMAPINFOHEADER) + colors * sizeof(RGBQUAD));
    BITMAPINFO *bmi = reinterpret_cast<BITMAPINFO *>(info.data());
    bmi->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi->bmiHeader.biWidth = bm.bmWidth;
    bmi->bmiHeader.biHeight = bm.bmHeight;
    bmi->bmiHeader.biPlanes = 1;
    bmi->bmiHeader.biBitCount = bits;
    bmi->bmiHeader.biCompression = BI_RGB;
    const DWORD stride = ((DWORD(bm.bmWidth) * bits + 31) / 32) * 4;
    const unsigned long long imageSize = (unsigned long long)stride * DWORD(bm.bmHeight);
    if (imageSize > 0x7FFFFFFF) return false;
    bmi->bmiHeader.biSizeImage = DWORD(imageSize);
    bmi->bmiHeader.biClrUsed = colors;

    std::vector<BYTE> pixels(bmi->bmiHeader.biSizeImage);
    HDC screen = GetDC(nullptr);
    const int lines =
        screen ? GetDIBits(screen, bitmap, 0, UINT(bm.bmHeight), pixels.data(), bmi, DIB_RGB_COLORS)
               : 0;
    if (screen) ReleaseDC(nullptr, screen);
    if (lines != bm.bmHeight) return false;

    BITMAPFILEHEADER header = {};
    header.bfType = 0x4D42; // "BM"
    header.bfOffBits = DWORD(sizeof(BITMAPFILEHEADER) + info.size());
    header.bfSize = DWORD(header.bfOffBits + pixels.size());

    HANDLE file =
        CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    const bool written = WriteAll(file, &header, sizeof(header)) &&
                         WriteAll(file, info.data(), DWORD(info.size())) &&
                         WriteAll(file, pixels.data(), DWORD(pixels.size()));
    CloseHandle(file);
    if (!written) DeleteFileW(path); // no half-written picture is left behind
    return written;
}

// --- choice of the format ---------------------------------------------------------

IImageState *CreateImageState(const wchar_t *type, bool saving)
{
    auto is = [type](const wchar_t *name) { return type && wcscmp(type, name) == 0; };
    if (is(L"bmp") || is(L"bitmap")) return new BmpImage;
    if (is(L"gif")) return saving ? static_cast<IImageState *>(new GifImage) : new DefaultImage;
    if (is(L"jpg") || is(L"jpeg"))
        return saving ? static_cast<IImageState *>(new JpgImage) : new DefaultImage;
    if (is(L"png")) return new PngImage;
    if (is(L"ppm")) return new PpmImage;
    if (is(L"raw")) return new RawImage;
    if (is(L"tga")) return new TgaImage;
    if (is(L"tif") || is(L"tiff")) return new TifImage;
    return new DefaultImage;
}
