// A file format behind a CImage: turns a file or a module resource into a
// bitmap handle and writes a bitmap (or raw pixel rows) to a file.
#pragma once

#include "PictavoApi.h"

#include <windows.h>

class PICTAVO_API IImageState {
public:
    virtual ~IImageState() = default;
    // Formats that only read the bytes (PNG, TIFF, PPM, raw) succeed
    // without storing a bitmap.
    virtual bool LoadFile(const wchar_t *path, HBITMAP *bitmap) = 0;
    virtual bool LoadResource(HINSTANCE module, const wchar_t *type, WORD id, HBITMAP *bitmap) = 0;
    virtual bool CanStore() = 0;
    virtual bool Store(const wchar_t *path, HBITMAP bitmap, HPALETTE palette) = 0;
    // Bottom-up rows padded to 4 bytes, blue first.
    virtual bool StoreDIB(const wchar_t *path, int width, int height, int depth,
                          const BYTE *pixels) = 0;
};

// The format object for a lower-case type name without the dot ("bmp",
// "gif", "tga", ...; a resource type name such as "bitmap" works the same).
// Loading and saving may pick different classes for one type. Never null;
// owned by the caller.
PICTAVO_API IImageState *CreateImageState(const wchar_t *type, bool saving);
