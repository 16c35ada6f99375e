// Path texts and the directory walk shared by the CFileSystem sources; not
// exported.
#pragma once

#include <windows.h>

#include <strsafe.h>

#include <string>

namespace filesystem {

typedef std::wstring Text;

// Stores a text into a fixed buffer, cutting what does not fit.
inline void CopyCut(wchar_t *buffer, size_t capacity, const wchar_t *text)
{
    StringCchCopyW(buffer, capacity, text ? text : L"");
}

inline bool IsDrivePath(const wchar_t *path)
{
    return path && path[0] && path[1] == L':';
}

inline bool IsNetworkPath(const wchar_t *path)
{
    return path && path[0] == L'\\' && path[1] == L'\\';
}

inline bool EndsWithBackslash(const Text &text)
{
    return !text.empty() && text.back() == L'\\';
}

// Folder and name with exactly one backslash between them.
inline Text Join(const Text &folder, const Text &name)
{
    if (folder.empty()) return name;
    const bool folderHas = EndsWithBackslash(folder);
    const bool nameHas = !name.empty() && name[0] == L'\\';
    if (folderHas && nameHas) return folder + name.substr(1);
    if (folderHas || nameHas) return folder + name;
    return folder + L'\\' + name;
}

// A search pattern below a folder; no folder means nothing to search (an
// empty base must not turn into the root of the current drive).
inline Text SearchPattern(const Text &folder, const Text &filter)
{
    if (folder.empty() || filter.empty()) return Text();
    return EndsWithBackslash(folder) ? folder + filter : folder + L'\\' + filter;
}

inline bool IsDotEntry(const wchar_t *name)
{
    return name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0'));
}

// Calls visit for every entry of a search except "." and "..". Returns
// false when the search could not be made at all (an empty match is fine).
template <typename Visit> bool ForEachEntry(const Text &pattern, Visit visit)
{
    if (pattern.empty()) return false;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(pattern.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_NO_MORE_FILES;
    }
    bool ok = true;
    do {
        if (!IsDotEntry(data.cFileName) && !visit(data)) {
            ok = false;
            break;
        }
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return ok;
}

inline bool IsDirectoryEntry(const WIN32_FIND_DATAW &entry)
{
    return (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

} // namespace filesystem
