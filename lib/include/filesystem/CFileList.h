// A list of directory entry records, filled by the listing operations of
// CFileSystem. Each record is a copy owned by the list.
#pragma once

#include "PictavoApi.h"

#include <windows.h>

#include <stddef.h>
#include <vector>

class PICTAVO_API CFileList {
public:
    struct FileInfo {
        wchar_t Name[MAX_PATH];
        FILETIME LastWriteTime;
        FILETIME CreationTime;
        DWORD SizeLow;
        DWORD SizeHigh;
        DWORD Attributes;
        FILETIME LastAccessTime;
    };

    CFileList();
    ~CFileList();

    void Add(const FileInfo &info);
    size_t Count() const;
    // The record at index, or null when index is out of range.
    const FileInfo *Get(size_t index) const;
    void Clear();

private:
    std::vector<FileInfo> Items;
};
