// Folders below the base path: existence, write access, creation,
// removal and copies.
#include "filesystem/CFileSystem.h"
#include "filesystem/FileSystemHelpers.h"

#include <shellapi.h>

#include <string>
#include <vector>

using namespace filesystem;

namespace {

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
