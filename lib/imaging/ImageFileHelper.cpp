#include "imaging/ImageFormats.h"

#include <cstring>

ImageFileHelper::ImageFileHelper() : Size(0), Stream(nullptr), Memory(nullptr) {}

ImageFileHelper::~ImageFileHelper()
{
    CloseStream();
}

void ImageFileHelper::CloseStream()
{
    // The stream owns the memory once it exists.
    if (Stream)
        Stream->Release();
    else if (Memory)
        GlobalFree(Memory);
    Stream = nullptr;
    Memory = nullptr;
    Size = 0;
}

bool ImageFileHelper::OpenStreamOnMemory(HGLOBAL memory, DWORD size)
{
    IStream *stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(memory, TRUE, &stream)) || !stream) {
        GlobalFree(memory);
        return false;
    }
    // The stream takes the size of the allocation, which may be rounded up.
    ULARGE_INTEGER length;
    length.QuadPart = size;
    stream->SetSize(length);
    Stream = stream;
    Memory = memory;
    Size = size;
    return true;
}

bool ImageFileHelper::OpenFileStream(const wchar_t *path)
{
    CloseStream();
    if (!path || !*path) return false;
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;

    // Files of 4 GB or more are refused rather than read in part.
    LARGE_INTEGER fileSize = {};
    HGLOBAL memory = nullptr;
    DWORD size = 0;
    if (GetFileSizeEx(file, &fileSize) && fileSize.QuadPart > 0 &&
        fileSize.QuadPart < LONGLONG(0xFFFFFFFF)) {
        size = DWORD(fileSize.QuadPart);
        memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_NODISCARD, size);
    }
    bool read = false;
    if (memory) {
        BYTE *bytes = static_cast<BYTE *>(GlobalLock(memory));
        DWORD total = 0;
        while (bytes && total < size) {
            DWORD got = 0;
            if (!ReadFile(file, bytes + total, size - total, &got, nullptr) || got == 0) break;
            total += got;
        }
        read = bytes && total == size;
        GlobalUnlock(memory);
    }
    CloseHandle(file);
    if (!read) {
        if (memory) GlobalFree(memory);
        return false;
    }
    return OpenStreamOnMemory(memory, size);
}

bool ImageFileHelper::OpenResourceStream(HINSTANCE module, const wchar_t *type, WORD id)
{
    CloseStream();
    if (!type) return false;
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), type);
    if (!found) return false;
    const DWORD size = SizeofResource(module, found);
    HGLOBAL resource = ::LoadResource(module, found);
    const void *source = resource ? LockResource(resource) : nullptr;
    if (!source || size == 0) return false;

    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_NODISCARD, size);
    if (!memory) return false;
    void *target = GlobalLock(memory);
    if (!target) {
        GlobalFree(memory);
        return false;
    }
    std::memcpy(target, source, size);
    GlobalUnlock(memory);
    return OpenStreamOnMemory(memory, size);
}
