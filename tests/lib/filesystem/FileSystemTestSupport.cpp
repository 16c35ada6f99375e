#include "FileSystemTestSupport.h"

#include "support/WinTest.h"

#include <algorithm>
#include <vector>

namespace {

void RemoveTree(const std::wstring &folder)
{
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = data.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring path = folder + L"\\" + name;
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path);
            else
                DeleteFileW(path.c_str());
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
    RemoveDirectoryW(folder.c_str());
}

} // namespace

Names Items(const CArrayList &list, bool sorted)
{
    Names items;
    for (size_t i = 0; i < list.Count(); ++i)
        items.push_back(list.Get(i));
    if (sorted) std::sort(items.begin(), items.end());
    return items;
}

void ScratchFolder::SetUp()
{
    wchar_t temp[MAX_PATH];
    ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
    root = temp + wintest::UniqueName(L"fs");
    RemoveTree(root);
    ASSERT_TRUE(CreateDirectoryW(root.c_str(), nullptr));
}

void ScratchFolder::TearDown()
{
    RemoveTree(root);
}

void ScratchFolder::MakeFile(const std::wstring &relative, const char *content, DWORD attributes)
{
    HANDLE file = CreateFileW(At(relative).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, content, (DWORD)strlen(content), &written, nullptr);
    CloseHandle(file);
    if (attributes) {
        ASSERT_TRUE(SetFileAttributesW(At(relative).c_str(), attributes));
    }
}

void ScratchFolder::MakeFolder(const std::wstring &relative, DWORD attributes)
{
    ASSERT_TRUE(CreateDirectoryW(At(relative).c_str(), nullptr));
    if (attributes) {
        ASSERT_TRUE(
            SetFileAttributesW(At(relative).c_str(), attributes | FILE_ATTRIBUTE_DIRECTORY));
    }
}

std::string ScratchFolder::ReadFile(const std::wstring &relative) const
{
    HANDLE file = CreateFileW(At(relative).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "<missing>";
    std::vector<char> buffer(4096);
    DWORD read = 0;
    ::ReadFile(file, buffer.data(), (DWORD)buffer.size(), &read, nullptr);
    CloseHandle(file);
    return std::string(buffer.data(), read);
}

bool ScratchFolder::Exists(const std::wstring &relative) const
{
    return GetFileAttributesW(At(relative).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool ScratchFolder::IsFolder(const std::wstring &relative) const
{
    return wintest::IsFolder(At(relative));
}

void ScratchFolder::MakeSampleTree()
{
    MakeFile(L"a.txt", "a");
    MakeFile(L"b.TXT", "bb");
    MakeFile(L"c.bmp", "ccc");
    MakeFile(L"mytxt");
    MakeFile(L"d.txt", "d", FILE_ATTRIBUTE_HIDDEN);
    MakeFile(L"e.txt", "e", FILE_ATTRIBUTE_SYSTEM);
    MakeFolder(L"sub");
    MakeFile(L"sub\\f.txt", "f");
    MakeFolder(L"sub\\deeper");
    MakeFile(L"sub\\deeper\\g.txt", "g");
    MakeFolder(L"hid", FILE_ATTRIBUTE_HIDDEN);
    MakeFile(L"hid\\h.txt", "h");
}
