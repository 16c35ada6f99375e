// The format classes behind IImageState. Internal to the library: callers
// get them through CreateImageState.
#pragma once

#include "imaging/IImageState.h"
#include "imaging/ImageHelper.h"
#include "imaging/TgaDecode.h"

#include <objidl.h>

// The bytes of a file or resource in global memory, with a stream over them.
class ImageFileHelper {
public:
    ImageFileHelper();
    ~ImageFileHelper();
    ImageFileHelper(const ImageFileHelper &) = delete;
    ImageFileHelper &operator=(const ImageFileHelper &) = delete;

    bool OpenFileStream(const wchar_t *path);
    bool OpenResourceStream(HINSTANCE module, const wchar_t *type, WORD id);

protected:
    void CloseStream();

    DWORD Size;
    IStream *Stream;
    HGLOBAL Memory;

private:
    bool OpenStreamOnMemory(HGLOBAL memory, DWORD size);
};

// GDI+ from the first save for as long as the object lives, and the
// encoders.
class GdiplusHelper {
public:
    GdiplusHelper();
    ~GdiplusHelper();
    GdiplusHelper(const GdiplusHelper &) = delete;
    GdiplusHelper &operator=(const GdiplusHelper &) = delete;

    bool SaveWithEncoder(const wchar_t *path, const wchar_t *mimeType, HBITMAP bitmap);

protected:
    ULONG_PTR GdiplusToken;
    void *Reserved;
};

// Windows bitmaps: loaded by the window manager, written by GDI+.
class BmpImage : public ImageFileHelper,
                 public ImageHelper,
                 public GdiplusHelper,
                 public IImageState {
public:
    bool LoadFile(const wchar_t *path, HBITMAP *bitmap) override;
    bool LoadResource(HINSTANCE module, const wchar_t *type, WORD id, HBITMAP *bitmap) override;
    bool CanStore() override { return true; }
    bool Store(const wchar_t *path, HBITMAP bitmap, HPALETTE palette) override;
    bool StoreDIB(const wchar_t *path, int width, int height, int depth,
                  const BYTE *pixels) override;
};

// Everything OLE pictures can read (GIF, JPEG, icons, metafiles, ...);
// writes an OLE bitmap picture, that is a Windows bitmap file.
class DefaultImage : public ImageFileHelper, public ImageHelper, public IImageState {
public:
    bool LoadFile(const wchar_t *path, HBITMAP *bitmap) override;
    bool LoadResource(HINSTANCE module, const wchar_t *type, WORD id, HBITMAP *bitmap) override;
    bool CanStore() override { return true; }
    bool Store(const wchar_t *path, HBITMAP bitmap, HPALETTE palette) override;
    bool StoreDIB(const wchar_t *, int, int, int, const BYTE *) override { return false; }

private:
    bool DecodePicture(HBITMAP *bitmap);
};

// Formats written through one GDI+ encoder and only read into memory.
class EncoderImage : public ImageFileHelper,
                     public ImageHelper,
                     public GdiplusHelper,
                     public IImageState {
public:
    explicit EncoderImage(const wchar_t *mimeType) : MimeType(mimeType) {}
    bool LoadFile(const wchar_t *path, HBITMAP *bitmap) override;
    bool LoadResource(HINSTANCE module, const wchar_t *type, WORD id, HBITMAP *bitmap) override;
    bool CanStore() override { return true; }
    bool Store(const wchar_t *path, HBITMAP bitmap, HPALETTE palette) override;
    bool StoreDIB(const wchar_t *path, int width, int height, int depth,
                  const BYTE *pixels) override;

private:
    const wchar_t *MimeType;
};

class GifImage : public EncoderImage {
public:
    GifImage() : EncoderImage(L"image/gif") {}
};
class JpgImage : public EncoderImage {
public:
    JpgImage() : EncoderImage(L"image/jpeg") {}
};
class PngImage : public EncoderImage {
public:
    PngImage() : EncoderImage(L"image/png") {}
};
class TifImage : public EncoderImage {
public:
    TifImage() : EncoderImage(L"image/tiff") {}
};

// Formats read into memory only; nothing decodes or writes them.
class ReadOnlyImage : public ImageFileHelper, public IImageState {
public:
    bool LoadFile(const wchar_t *path, HBITMAP *bitmap) override;
    bool LoadResource(HINSTANCE module, const wchar_t *type, WORD id, HBITMAP *bitmap) override;
    bool CanStore() override { return false; }
    bool Store(const wchar_t *, HBITMAP, HPALETTE) override { return false; }
    bool StoreDIB(const wchar_t *, int, int, int, const BYTE *) override { return false; }
};

class PpmImage : public ReadOnlyImage {};
class RawImage : public ReadOnlyImage {};

// Truevision TGA, uncompressed and run-length encoded true colour.
class TgaImage : public ImageFileHelper, public ImageHelper, public IImageState {
public:
    bool LoadFile(const wchar_t *path, HBITMAP *bitmap) override;
    bool LoadResource(HINSTANCE module, const wchar_t *type, WORD id, HBITMAP *bitmap) override;
    bool CanStore() override { return false; }
    bool Store(const wchar_t *, HBITMAP, HPALETTE) override { return false; }
    bool StoreDIB(const wchar_t *, int, int, int, const BYTE *) override { return false; }

private:
    bool DecodeTga(HBITMAP *bitmap);
    tga::DecodedImage TgaPixels;
};

// Writes a bitmap as a Windows bitmap file at its own depth (16-bit
// bitmaps as 24-bit); what an OLE bitmap picture saves.
bool WriteBitmapFile(const wchar_t *path, HBITMAP bitmap);
