#include "filesystem/CFileList.h"

CFileList::CFileList() {}

CFileList::~CFileList() {}

void CFileList::Add(const FileInfo &info)
{
    Items.push_back(info);
}

size_t CFileList::Count() const
{
    return Items.size();
}

const CFileList::FileInfo *CFileList::Get(size_t index) const
{
    return index < Items.size() ? &Items[index] : nullptr;
}

void CFileList::Clear()
{
    Items.clear();
}
