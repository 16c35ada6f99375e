#include "filesystem/CFileSystem.h"

#include <shellapi.h>
#include <shlwapi.h>
#include <strsafe.h>
#include <winioctl.h>

#include <new>
#include <string>
#include <vector>
#include <wchar.h>
#include <wctype.h>

namespace {

typedef std::wstring Text;

// Stores a text into a fixed buffer, cutting what does not fit.
void CopyCut(wchar_t *buffer, size_t capacity, const wchar_t *text)
{
    StringCchCopyW(buffer, capacity, text ? text : L"");
}

// Stores a text only when it fits whole: a cut path would name another file.
const wchar_t *StoreWhole(wchar_t *buffer, size_t capacity, const Text &text)
{
    if (text.size() >= capacity)
        buffer[0] = L'\0';
    else
        StringCchCopyW(buffer, capacity, text.c_str());
    return buffer;
}

bool IsDrivePath(const wchar_t *path)
{
    return path && path[0] && path[1] == L':';
}

bool IsNetworkPath(const wchar_t *path)
{
    return path && path[0] == L'\\' && path[1] == L'\\';
}

bool EndsWithBackslash(const Text &text)
{
    return !text.empty() && text.back() == L'\\';
}

// Folder and name with exactly one backslash between them.
Text Join(const Text &folder, const Text &name)
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
Text SearchPattern(const Text &folder, const Text &filter)
{
    if (folder.empty() || filter.empty()) return Text();
    return EndsWithBackslash(folder) ? folder + filter : folder + L'\\' + filter;
}

// The root a volume query needs: X:\ for a drive path, \\server\share\ for
// a network path, else the text up to its first backslash.
Text VolumeRoot(const Text &folder)
{
    if (IsNetworkPath(folder.c_str())) {
        const size_t server = folder.find(L'\\', 2);
        if (server == Text::npos || server == 2) return Text();
        const size_t share = folder.find(L'\\', server + 1);
        if (share == server + 1) return Text();
        if (share == Text::npos) return folder.size() > server + 1 ? folder + L'\\' : Text();
        return folder.substr(0, share + 1);
    }
    const size_t first = folder.find(L'\\');
    return first == Text::npos ? Text() : folder.substr(0, first + 1);
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

bool IsFolder(const Text &path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void SlashesToBackslashes(Text &text)
{
    for (wchar_t &c : text)
        if (c == L'/') c = L'\\';
}

// True when a relative path climbs out of its base with a ".." step.
bool HasUpwardStep(const Text &relative)
{
    size_t begin = 0;
    for (;;) {
        const size_t end = relative.find(L'\\', begin);
        const Text part = relative.substr(begin, end == Text::npos ? Text::npos : end - begin);
        if (part == L"..") return true;
        if (end == Text::npos) return false;
        begin = end + 1;
    }
}

bool IsDotEntry(const wchar_t *name)
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

bool IsDirectoryEntry(const WIN32_FIND_DATAW &entry)
{
    return (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// The selection rule shared by every count and list.
bool Takes(const WIN32_FIND_DATAW &entry, bool folders, bool skipHidden)
{
    const DWORD attributes = entry.dwFileAttributes;
    if (folders)
        return IsDirectoryEntry(entry) && !(skipHidden && (attributes & FILE_ATTRIBUTE_HIDDEN));
    return !IsDirectoryEntry(entry) &&
           !(skipHidden && (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)));
}

// A sub-folder to descend into. Links are not followed: a link to an
// ancestor would make the walk endless.
bool Descends(const WIN32_FIND_DATAW &entry, bool skipHidden)
{
    const DWORD attributes = entry.dwFileAttributes;
    return IsDirectoryEntry(entry) && !(attributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
           !(skipHidden && (attributes & FILE_ATTRIBUTE_HIDDEN));
}

// Filters of a ";" list, last first, without surrounding blanks; empty
// filters are dropped (they would match nothing or everything).
std::vector<Text> FiltersLastFirst(const wchar_t *filterList)
{
    std::vector<Text> filters;
    Text rest = filterList ? filterList : L"";
    for (;;) {
        const size_t semicolon = rest.rfind(L';');
        Text part = semicolon == Text::npos ? rest : rest.substr(semicolon + 1);
        const size_t first = part.find_first_not_of(L" \t");
        if (first != Text::npos)
            filters.push_back(part.substr(first, part.find_last_not_of(L" \t") - first + 1));
        if (semicolon == Text::npos) break;
        rest.erase(semicolon);
    }
    return filters;
}

// "name" followed by the extension from its last dot; an extension given
// without a dot gets one, so that "bmp" does not also match "xbmp".
Text NameWithExtension(const wchar_t *name, const wchar_t *extension)
{
    Text pattern = name ? name : L"";
    const Text ext = extension ? extension : L"";
    const size_t dot = ext.rfind(L'.');
    if (dot != Text::npos)
        pattern += ext.substr(dot);
    else if (!ext.empty())
        pattern += L'.' + ext;
    return pattern;
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

// The full form of a folder for comparing two of them, with one trailing
// backslash and in upper case.
Text ComparableFolder(const Text &folder)
{
    const DWORD needed = GetFullPathNameW(folder.c_str(), 0, nullptr, nullptr);
    if (!needed) return Text();
    std::vector<wchar_t> buffer(needed + 1);
    const DWORD length =
        GetFullPathNameW(folder.c_str(), (DWORD)buffer.size(), buffer.data(), nullptr);
    if (!length || length >= buffer.size()) return Text();
    Text full(buffer.data(), length);
    if (!EndsWithBackslash(full)) full += L'\\';
    CharUpperBuffW(&full[0], (DWORD)full.size());
    return full;
}

bool CopyTree(const Text &source, const Text &target, bool foldersOnly, bool skipHidden)
{
    return ForEachEntry(SearchPattern(source, L"*.*"), [&](const WIN32_FIND_DATAW &entry) {
        const Text from = Join(source, entry.cFileName);
        const Text to = Join(target, entry.cFileName);
        const DWORD attributes = entry.dwFileAttributes;
        if (!IsDirectoryEntry(entry)) {
            if (foldersOnly) return true;
            if (skipHidden && (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)))
                return true;
            return CopyFileW(from.c_str(), to.c_str(), TRUE) != FALSE;
        }
        if (skipHidden && (attributes & FILE_ATTRIBUTE_HIDDEN)) return true;
        if (!CreateDirectoryW(to.c_str(), nullptr) &&
            !(GetLastError() == ERROR_ALREADY_EXISTS && IsFolder(to)))
            return false;
        return CopyTree(from, to, foldersOnly, skipHidden);
    });
}

// One step of DeleteDir: a folder that is already gone is fine.
bool RemoveIfPresent(const Text &folder)
{
    if (RemoveDirectoryW(folder.c_str())) return true;
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// A drive or share root, which the shell delete must never be given.
bool IsRootFolder(Text folder)
{
    while (EndsWithBackslash(folder))
        folder.pop_back();
    if (folder.size() <= 2) return true;
    if (IsNetworkPath(folder.c_str())) {
        const size_t server = folder.find(L'\\', 2);
        return server == Text::npos || folder.find(L'\\', server + 1) == Text::npos;
    }
    return false;
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

// --- folders -----------------------------------------------------------------

bool CFileSystem::CallDirExists(const wchar_t *folder)
{
    if (!folder || !*folder) return false;
    Text path = folder;
    if (path.size() < 3) path += L'\\';
    if (path.find(L'\\') == Text::npos) return false;
    const Text root = VolumeRoot(path);
    if (root.empty()) return false;
    if (root.size() < 4)
        CopyCut(RootDevice, 4, root.c_str());
    else
        RootDevice[0] = L'\0';

    // No "insert a disc" box for an empty drive: the answer is just false.
    DWORD oldMode = 0;
    SetThreadErrorMode(SEM_FAILCRITICALERRORS, &oldMode);
    const BOOL mounted =
        GetVolumeInformationW(root.c_str(), nullptr, 0, nullptr, nullptr, nullptr, nullptr, 0);
    SetThreadErrorMode(oldMode, nullptr);
    if (!mounted) return false;

    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(SearchPattern(path, L"*.*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return false;
    FindClose(find);
    return true;
}

bool CFileSystem::DirExists()
{
    return CallDirExists(Path);
}

bool CFileSystem::DirExists(const wchar_t *name)
{
    const Text folder = CombineFullPath(name);
    return CallDirExists(folder.c_str());
}

bool CFileSystem::CanWrite()
{
    if (!Path[0]) return false;
    Text probe = Path;
    if (!EndsWithBackslash(probe)) probe += L'\\';
    probe += L"Orva.dat2";

    HANDLE file = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_TEMPORARY, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        CloseHandle(file);
        DeleteFileW(probe.c_str());
        return true;
    }
    if (GetLastError() != ERROR_FILE_EXISTS) return false;
    // Somebody's file of that name: opening it for appending answers the
    // question; it must survive the probe.
    file = CreateFileW(probe.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                       OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}

bool CFileSystem::CreateDirTree(const wchar_t *folder)
{
    // Slashes first: the normal form of C:/x would otherwise be just C:\.
    Text path = folder ? folder : L"";
    SlashesToBackslashes(path);
    path = PatchPathString(path.c_str());
    if (EndsWithBackslash(path)) path.pop_back();
    if (path.empty()) return false;

    // Climb to the deepest folder that exists, then create downwards.
    std::vector<Text> missing;
    while (!IsFolder(path)) {
        missing.push_back(path);
        const size_t cut = path.rfind(L'\\');
        if (cut == Text::npos) return false;
        path.erase(cut);
        if (path.empty()) return false;
    }
    for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
        // Already-exists counts only when what exists is a folder, not a file.
        if (!CreateDirectoryW(it->c_str(), nullptr) &&
            !(GetLastError() == ERROR_ALREADY_EXISTS && IsFolder(*it)))
            return false;
    }
    return true;
}

bool CFileSystem::CreateDir()
{
    return CreateDirTree(Path);
}

bool CFileSystem::CreateDir(const wchar_t *name)
{
    const Text folder = CombineFullPath(name);
    if (folder.empty()) return false;
    return CreateDirTree(folder.c_str());
}

bool CFileSystem::DeleteDir()
{
    return DeleteDir(L"");
}

bool CFileSystem::DeleteDir(const wchar_t *subPath)
{
    Text base = PatchPathString(Path);
    if (base.empty()) return false;
    if (!EndsWithBackslash(base)) base += L'\\';
    Text sub = subPath ? subPath : L"";
    SlashesToBackslashes(sub);
    if (sub.find(L':') != Text::npos || HasUpwardStep(sub)) return false;

    if (!RemoveIfPresent(base + sub)) return false;
    size_t cut;
    while ((cut = sub.rfind(L'\\')) != Text::npos) {
        sub.erase(cut);
        if (!RemoveIfPresent(base + sub)) return false;
    }
    return true;
}

bool CFileSystem::DeleteOrRecycleDir(const wchar_t *name, bool recycle)
{
    Text folder = PatchPathString(Path);
    if (folder.empty()) return false;
    Text sub = name ? name : L"";
    SlashesToBackslashes(sub);
    // The shell would expand wildcards and follow "..": only the one named
    // folder below the base may go.
    if (sub.find_first_of(L"*?:") != Text::npos || HasUpwardStep(sub)) return false;
    if (!sub.empty()) folder = Join(folder, sub);
    while (EndsWithBackslash(folder))
        folder.pop_back();
    if (IsRootFolder(folder) || !IsFolder(folder)) return false;

    folder.push_back(L'\0'); // the shell takes a list ended by two nulls
    SHFILEOPSTRUCTW operation = {};
    operation.wFunc = FO_DELETE;
    operation.pFrom = folder.c_str();
    // FOF_NOERRORUI too: the library shows no message boxes.
    operation.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOCONFIRMMKDIR | FOF_NOERRORUI;
    if (recycle) operation.fFlags |= FOF_ALLOWUNDO;
    operation.lpszProgressTitle = L"Fortschritt des L\u00F6schvorgangs";
    return SHFileOperationW(&operation) == 0 && !operation.fAnyOperationsAborted;
}

bool CFileSystem::CopyDir(const wchar_t *source, bool foldersOnly)
{
    const Text target = Path;
    return CopyDir(source, target.c_str(), foldersOnly);
}

bool CFileSystem::CopyDir(const wchar_t *source, const wchar_t *target, bool foldersOnly)
{
    if (!CallDirExists(source) || !CallDirExists(target)) return false;
    // A target inside the source would be copied into itself without end.
    const Text from = ComparableFolder(source);
    const Text to = ComparableFolder(target);
    if (from.empty() || to.empty() || to.compare(0, from.size(), from) == 0) return false;
    return CopyTree(source, target, foldersOnly, SkipHidden);
}

// --- drives ------------------------------------------------------------------

bool CFileSystem::SetRootDevice()
{
    if (!IsDrivePath(Path)) {
        RootDevice[0] = L'\0';
        return false;
    }
    // The drive list spells its roots in upper case.
    RootDevice[0] = (wchar_t)towupper(Path[0]);
    RootDevice[1] = L':';
    RootDevice[2] = L'\\';
    RootDevice[3] = L'\0';
    return true;
}

UINT CFileSystem::GetDriveTypeDefinition(DriveType type)
{
    switch (type) {
    case DriveNoRootDir: return DRIVE_NO_ROOT_DIR;
    case DriveRemovable: return DRIVE_REMOVABLE;
    case DriveFixed: return DRIVE_FIXED;
    case DriveRemote: return DRIVE_REMOTE;
    case DriveCdRom: return DRIVE_CDROM;
    case DriveRamDisk: return DRIVE_RAMDISK;
    default: return DRIVE_UNKNOWN;
    }
}

bool CFileSystem::IsDriveOfType(DriveType type)
{
    if (!SetRootDevice()) return false;
    CArrayList drives;
    GetDrives(&drives);
    if (!drives.Contains(RootDevice)) return false;
    const UINT actual = GetDriveTypeW(RootDevice);
    if (type >= DriveNoRootDir && type <= DriveRamDisk)
        return actual == GetDriveTypeDefinition(type);
    return actual == DRIVE_UNKNOWN;
}

void CFileSystem::GetDrives(CArrayList *list)
{
    GetDrivesOfType(list, DriveAll);
}

void CFileSystem::GetDrivesOfType(CArrayList *list, DriveType type)
{
    if (!list) return;
    const DWORD present = GetLogicalDrives();
    for (int drive = 0; drive < 26; ++drive) {
        if (!(present & (1u << drive))) continue;
        wchar_t root[4] = {};
        PathBuildRootW(root, drive);
        if (type == DriveAll || GetDriveTypeW(root) == GetDriveTypeDefinition(type))
            list->Add(root);
    }
}

bool CFileSystem::SetPhysicalDevice(const wchar_t *volumePath)
{
    // Asking for the device number needs no access rights, so this works
    // without administrator rights too.
    HANDLE volume = CreateFileW(volumePath, 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    if (volume == INVALID_HANDLE_VALUE) return false;
    STORAGE_DEVICE_NUMBER number = {};
    DWORD returned = 0;
    const BOOL ok = DeviceIoControl(volume, IOCTL_STORAGE_GET_DEVICE_NUMBER, nullptr, 0, &number,
                                    sizeof(number), &returned, nullptr);
    CloseHandle(volume);
    if (!ok) return false;
    StringCchPrintfW(PhysicalDevice, 16, L"PhysicalDrive%lu", number.DeviceNumber);
    return true;
}

CFileSystem::PartitionInfo *CFileSystem::GetPartitionInfo()
{
    PartitionInfo *info = new (std::nothrow) PartitionInfo();
    if (!info || !SetRootDevice()) return info;
    StringCchPrintfW(info->VolumePath, 8, L"\\\\.\\%c%c", RootDevice[0], RootDevice[1]);
    if (!SetPhysicalDevice(info->VolumePath)) return info;
    StringCchPrintfW(info->DevicePath, 20, L"\\\\.\\%s", PhysicalDevice);

    HANDLE disk = CreateFileW(info->DevicePath, 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (disk == INVALID_HANDLE_VALUE) return info;
    // Room for four entries first; a GPT disk has up to 128, so grow.
    std::vector<BYTE> layout(624);
    for (;;) {
        DWORD returned = 0;
        if (DeviceIoControl(disk, IOCTL_DISK_GET_DRIVE_LAYOUT_EX, nullptr, 0, layout.data(),
                            (DWORD)layout.size(), &returned, nullptr)) {
            info->LayoutRead = true;
            info->PartitionCount =
                reinterpret_cast<DRIVE_LAYOUT_INFORMATION_EX *>(layout.data())->PartitionCount;
            break;
        }
        const DWORD error = GetLastError();
        if ((error != ERROR_INSUFFICIENT_BUFFER && error != ERROR_MORE_DATA) ||
            layout.size() >= 256 * 1024)
            break;
        layout.resize(layout.size() * 2);
    }
    CloseHandle(disk);
    return info;
}

// --- listings and counts -----------------------------------------------------

int CFileSystem::CountList(const wchar_t *filter, bool folders, bool recurse)
{
    const Text folder = Path;
    return CountList(folder.c_str(), filter, folders, recurse);
}

int CFileSystem::CountList(const wchar_t *folder, const wchar_t *filter, bool folders, bool recurse)
{
    const Text base = folder ? folder : L"";
    const Text match = filter ? filter : L"";
    int count = 0;
    ForEachEntry(SearchPattern(base, match), [&](const WIN32_FIND_DATAW &entry) {
        if (Takes(entry, folders, SkipHidden)) ++count;
        return true;
    });
    if (recurse) {
        ForEachEntry(SearchPattern(base, L"*"), [&](const WIN32_FIND_DATAW &entry) {
            if (Descends(entry, SkipHidden))
                count +=
                    CountList(Join(base, entry.cFileName).c_str(), match.c_str(), folders, true);
            return true;
        });
    }
    return count;
}

int CFileSystem::CountFilesSimpleFilter(const wchar_t *filter, bool recurse)
{
    // A bare word is an extension: "txt" counts *.txt. A filter with a dot is
    // taken as it is, so *.txt does not also count "mytxt".
    Text pattern = filter ? filter : L"";
    if (pattern.empty()) return 0;
    if (pattern.find(L'.') == Text::npos) pattern = L"*." + pattern;
    return CountList(pattern.c_str(), false, recurse);
}

int CFileSystem::CountFiles(const wchar_t *filterList, bool recurse)
{
    int total = 0;
    for (const Text &filter : FiltersLastFirst(filterList))
        total += CountFilesSimpleFilter(filter.c_str(), recurse);
    return total;
}

int CFileSystem::CountFiles(const wchar_t *name, const wchar_t *extension, bool recurse)
{
    const Text pattern = NameWithExtension(name, extension);
    return CountList(pattern.c_str(), false, recurse);
}

void CFileSystem::FillList(CArrayList *list, const wchar_t *filter, bool folders)
{
    if (!list) return;
    ForEachEntry(SearchPattern(Path, filter ? filter : L""), [&](const WIN32_FIND_DATAW &entry) {
        if (Takes(entry, folders, SkipHidden)) list->Add(entry.cFileName);
        return true;
    });
}

void CFileSystem::FillListExtended(CArrayList *list, const wchar_t *filterList, bool folders)
{
    for (const Text &filter : FiltersLastFirst(filterList))
        FillList(list, filter.c_str(), folders);
}

void CFileSystem::FileList(CArrayList *list, const wchar_t *name, const wchar_t *extension)
{
    FillList(list, NameWithExtension(name, extension).c_str(), false);
}

void CFileSystem::ExtendList(CArrayList *list)
{
    if (!list) return;
    ForEachEntry(SearchPattern(Path, L"*"), [&](const WIN32_FIND_DATAW &entry) {
        const wchar_t *dot = wcsrchr(entry.cFileName, L'.');
        if (dot && Takes(entry, false, SkipHidden)) {
            wchar_t extension[MAX_PATH];
            CopyCut(extension, MAX_PATH, dot);
            ToLower(extension);
            list->Add(extension);
        }
        return true;
    });
}

void CFileSystem::FillList(CFileList *list, const wchar_t *filter, bool folders)
{
    if (!list) return;
    ForEachEntry(SearchPattern(Path, filter ? filter : L""), [&](const WIN32_FIND_DATAW &entry) {
        if (Takes(entry, folders, SkipHidden)) list->Add(CreateFileInfo(entry));
        return true;
    });
}

void CFileSystem::FillListExtended(CFileList *list, const wchar_t *filterList, bool folders)
{
    for (const Text &filter : FiltersLastFirst(filterList))
        FillList(list, filter.c_str(), folders);
}

void CFileSystem::FileList(CFileList *list, const wchar_t *name, const wchar_t *extension)
{
    FillList(list, NameWithExtension(name, extension).c_str(), false);
}

CFileList::FileInfo CFileSystem::CreateFileInfo(const WIN32_FIND_DATAW &data)
{
    CFileList::FileInfo info = {};
    CopyCut(info.Name, MAX_PATH, data.cFileName);
    info.LastWriteTime = data.ftLastWriteTime;
    info.CreationTime = data.ftCreationTime;
    info.LastAccessTime = data.ftLastAccessTime;
    info.SizeLow = data.nFileSizeLow;
    info.SizeHigh = data.nFileSizeHigh;
    info.Attributes = data.dwFileAttributes;
    return info;
}

void CFileSystem::ToLower(wchar_t *text)
{
    for (; *text; ++text)
        *text = (wchar_t)towlower(*text);
}
