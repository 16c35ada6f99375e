// Construction and the path texts: normal forms, the nearest existing
// folder, joined paths and file names from patterns.
#include "filesystem/CFileSystem.h"
#include "filesystem/FileSystemHelpers.h"

#include <string>
#include <vector>
#include <wchar.h>

using namespace filesystem;

namespace {

// Stores a text only when it fits whole: a cut path would name another file.
const wchar_t *StoreWhole(wchar_t *buffer, size_t capacity, const Text &text)
{
    if (text.size() >= capacity)
        buffer[0] = L'\0';
    else
        StringCchCopyW(buffer, capacity, text.c_str());
    return buffer;
}

// Where a step up ("\..\") must stop: after C: or after \\server.
size_t UpwardLimit(const Text &path)
{
    if (IsNetworkPath(path.c_str())) {
        const size_t server = path.find(L'\\', 2);
        return server == Text::npos ? path.size() : server;
    }
    return IsDrivePath(path.c_str()) ? 2 : 0;
}

Text CurrentDirectory()
{
    const DWORD needed = GetCurrentDirectoryW(0, nullptr);
    if (!needed) return Text();
    std::vector<wchar_t> buffer(needed + 1);
    const DWORD length = GetCurrentDirectoryW((DWORD)buffer.size(), buffer.data());
    return length && length < buffer.size() ? Text(buffer.data(), length) : Text();
}

// Anything of that name, file or folder, makes a name taken.
bool NameIsTaken(const Text &path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

} // namespace

CFileSystem::CFileSystem(const wchar_t *path, bool skipHidden)
{
    ResultPath[0] = FullPath[0] = CombinedPath[0] = Path[0] = WildcardName[0] = L'\0';
    RootDevice[0] = PhysicalDevice[0] = L'\0';
    SkipHidden = skipHidden;
    CopyCut(Path, MAX_PATH, path);
    size_t length = wcslen(Path);
    while (length > 1 && Path[length - 1] == L'\\' && Path[length - 2] == L'\\')
        Path[--length] = L'\0';
}

CFileSystem::~CFileSystem() {}

// --- path texts --------------------------------------------------------------

const wchar_t *CFileSystem::PatchPathString(const wchar_t *path)
{
    CopyCut(ResultPath, 2 * MAX_PATH, path);
    const size_t length = wcslen(ResultPath);
    if (length == 0) return ResultPath;
    if (IsDrivePath(ResultPath)) {
        if (length == 2) {
            ResultPath[2] = L'\\';
            ResultPath[3] = L'\0';
        } else if (ResultPath[2] != L'\\') {
            // Drive-relative (C:abc): only the drive's root is known.
            ResultPath[2] = L'\\';
            ResultPath[3] = L'\0';
        }
    } else if (!IsNetworkPath(ResultPath)) {
        ResultPath[0] = L'\0';
    }
    return ResultPath;
}

const wchar_t *CFileSystem::CleanPath()
{
    Text text = PatchPathString(Path);
    size_t at;
    while ((at = text.find(L"\\.\\")) != Text::npos)
        text.erase(at, 2);
    // A step up removes the folder before it but never climbs above C: or
    // \\server, and only a whole ".." step counts (a name may end in dots).
    const size_t limit = UpwardLimit(text);
    while ((at = text.find(L"\\..\\")) != Text::npos) {
        Text head = text.substr(0, at);
        const size_t cut = head.rfind(L'\\');
        if (cut != Text::npos && cut >= limit) head.erase(cut);
        text = head + text.substr(at + 3);
    }
    CopyCut(ResultPath, 2 * MAX_PATH, text.c_str());
    CopyCut(Path, MAX_PATH, text.c_str());
    return ResultPath;
}

const wchar_t *CFileSystem::RealDir(bool emptyStaysEmpty, const wchar_t *fallback)
{
    const Text normal = PatchPathString(Path);
    const Text other = fallback ? fallback : L"";
    Text current;
    if (!(normal.empty() && emptyStaysEmpty)) {
        bool onFallback = false;
        if (IsNetworkPath(normal.c_str())) {
            current = Path;
        } else {
            const size_t root = normal.find(L'\\');
            if (root == Text::npos) {
                current.clear();
            } else if (CallDirExists(normal.substr(0, root + 1).c_str())) {
                current = Path;
            } else {
                current = other;
                onFallback = true;
            }
        }
        // Walk up; the fallback is taken at most once, so the loop ends even
        // when the fallback does not exist either.
        while (!CallDirExists(current.c_str())) {
            const size_t cut = current.rfind(L'\\');
            if (cut != Text::npos) {
                current.erase(cut);
            } else if (!onFallback) {
                current = other;
                onFallback = true;
            } else {
                current.clear();
                break;
            }
        }
    }
    if (!current.empty() && current.size() < 3) current += L'\\';
    if (current.empty() && !emptyStaysEmpty) current = other;
    CopyCut(ResultPath, 2 * MAX_PATH, current.c_str());
    CopyCut(Path, MAX_PATH, current.c_str());
    return ResultPath;
}

const wchar_t *CFileSystem::CombinePath(const wchar_t *name)
{
    const Text base = Path;
    const Text add = name ? name : L"";
    Text joined;
    if (base.empty())
        joined = add;
    else if (add.empty())
        joined = base;
    else
        joined = Join(base, add);
    return StoreWhole(CombinedPath, MAX_PATH, joined);
}

const wchar_t *CFileSystem::CombineFullPath(const wchar_t *name)
{
    const Text normal = PatchPathString(Path);
    const wchar_t *rest = name ? name : L"";
    // Only a whole leading folder is dropped: with base C:\a the name C:\ab
    // is not below it.
    const size_t length = normal.size();
    if (length && _wcsnicmp(rest, normal.c_str(), length) == 0 &&
        (EndsWithBackslash(normal) || rest[length] == L'\0' || rest[length] == L'\\'))
        rest += length;
    const Text base = Path;
    Text joined;
    if (base.empty())
        joined = rest;
    else if (!*rest)
        joined = base;
    else
        joined = Join(base, rest);
    return StoreWhole(FullPath, MAX_PATH, joined);
}

const wchar_t *CFileSystem::ReplaceWildcard(const wchar_t *pattern)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    return ReplaceWildcard(pattern, now);
}

const wchar_t *CFileSystem::ReplaceWildcard(const wchar_t *pattern, const SYSTEMTIME &now)
{
    WildcardName[0] = L'\0';
    if (!pattern) return WildcardName;

    Text name;
    std::vector<size_t> counterDigits;
    bool inField = false;
    for (size_t i = 0; pattern[i];) {
        const wchar_t c = pattern[i];
        if (c == L'{' || c == L'}') {
            inField = c == L'{';
            ++i;
            continue;
        }
        if (!inField) {
            name += c;
            ++i;
            continue;
        }
        if (wcsncmp(pattern + i, L"yyyy", 4) == 0) {
            name += std::to_wstring(now.wYear);
            i += 4;
            continue;
        }
        int value = -1;
        if (pattern[i + 1] == c) {
            switch (c) {
            case L'y': value = now.wYear % 100; break;
            case L'M': value = now.wMonth; break;
            case L'd': value = now.wDay; break;
            case L'h': value = now.wHour; break;
            case L'm': value = now.wMinute; break;
            case L's': value = now.wSecond; break;
            default: break;
            }
        }
        if (value >= 0) {
            wchar_t digits[8];
            StringCchPrintfW(digits, 8, L"%02d", value % 100);
            name += digits;
            i += 2;
            continue;
        }
        if (c == L'0') counterDigits.push_back(name.size());
        name += c;
        ++i;
    }
    if (name.size() >= MAX_PATH) return WildcardName;

    if (!counterDigits.empty()) {
        Text folder = Path;
        if (folder.empty() && !IsNetworkPath(pattern) && !IsDrivePath(pattern))
            folder = CurrentDirectory();
        const size_t places = counterDigits.size();
        bool free = false;
        // Ends at the first free name; the numbers run out only after as
        // many names are taken.
        for (unsigned long long n = 1; !free; ++n) {
            Text number = std::to_wstring(n);
            if (number.size() > places) break;
            number.insert(0, places - number.size(), L'0');
            for (size_t k = 0; k < places; ++k)
                name[counterDigits[k]] = number[k];
            free = !NameIsTaken(Join(folder, name));
        }
        // Every number taken: no name rather than one that overwrites a file.
        if (!free) return WildcardName;
    }
    return StoreWhole(WildcardName, MAX_PATH, name);
}
