#include "imaging/ImageFormats.h"

#include <gdiplus.h>

#include <cwchar>
#include <vector>

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

namespace {

bool FindEncoder(const wchar_t *mimeType, CLSID &clsid)
{
    UINT count = 0, bytes = 0;
    if (GdipGetImageEncodersSize(&count, &bytes) != Ok || bytes == 0) return false;
    std::vector<BYTE> buffer(bytes);
    ImageCodecInfo *codecs = reinterpret_cast<ImageCodecInfo *>(buffer.data());
    if (GdipGetImageEncoders(count, bytes, codecs) != Ok) return false;
    for (UINT i = 0; i < count; ++i) {
        if (codecs[i].MimeType && wcscmp(codecs[i].MimeType, mimeType) == 0) {
            clsid = codecs[i].Clsid;
            return true;
        }
    }
    return false;
}

// GIF holds at most 256 colours. Wine's encoder writes a broken file from a
// true-colour bitmap while reporting success; a bitmap reduced to 8-bit
// indexed first is written correctly there and on Windows.
GpBitmap *IndexedCopy(GpBitmap *bitmap)
{
    PixelFormat format = 0;
    UINT width = 0, height = 0;
    if (GdipGetImagePixelFormat(bitmap, &format) != Ok || GdipGetImageWidth(bitmap, &width) != Ok ||
        GdipGetImageHeight(bitmap, &height) != Ok)
        return nullptr;
    if (format & PixelFormatIndexed) return nullptr;
    GpBitmap *indexed = nullptr;
    if (GdipCloneBitmapAreaI(0, 0, INT(width), INT(height), PixelFormat8bppIndexed, bitmap,
                             &indexed) != Ok)
        return nullptr;
    return indexed;
}

} // namespace

// GDI+ starts with the first save, not with the object: a bitmap that is
// only loaded from the resources (every digit of the face) never needs it.
GdiplusHelper::GdiplusHelper() : GdiplusToken(0), Reserved(nullptr) {}

GdiplusHelper::~GdiplusHelper()
{
    if (GdiplusToken) GdiplusShutdown(GdiplusToken);
}

bool GdiplusHelper::SaveWithEncoder(const wchar_t *path, const wchar_t *mimeType, HBITMAP bitmap)
{
    if (!bitmap || !path) return false;
    GdiplusStartupInput input;
    if (!GdiplusToken && GdiplusStartup(&GdiplusToken, &input, nullptr) != Ok) GdiplusToken = 0;
    if (!GdiplusToken) return false;
    GpBitmap *image = nullptr;
    if (GdipCreateBitmapFromHBITMAP(bitmap, HPALETTE(GetStockObject(DEFAULT_PALETTE)), &image) !=
            Ok ||
        !image)
        return false;

    bool saved = false;
    CLSID encoder;
    if (FindEncoder(mimeType, encoder)) {
        GpBitmap *indexed = wcscmp(mimeType, L"image/gif") == 0 ? IndexedCopy(image) : nullptr;
        GpImage *source = indexed ? indexed : image;
        saved = GdipSaveImageToFile(source, path, &encoder, nullptr) == Ok;
        if (indexed) GdipDisposeImage(indexed);
    }
    GdipDisposeImage(image);
    return saved;
}
