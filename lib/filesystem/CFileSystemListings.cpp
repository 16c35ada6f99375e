// Listings and counts of the entries of the base folder.
#include "filesystem/CFileSystem.h"
#include "filesystem/FileSystemHelpers.h"

#include <string>
#include <vector>
#include <wchar.h>
#include <wctype.h>

using namespace filesystem;

namespace {

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

// The one walk behind every count and list of a folder: each entry that the
// filter matches and the selection rule takes is handed to take.
template <typename Take>
void ForEachTaken(const Text &folder, const wchar_t *filter, bool folders, bool skipHidden,
                  Take take)
{
    ForEachEntry(SearchPattern(folder, filter ? filter : L""), [&](const WIN32_FIND_DATAW &entry) {
        if (Takes(entry, folders, skipHidden)) take(entry);
        return true;
    });
}

} // namespace

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
    ForEachTaken(base, match.c_str(), folders, SkipHidden,
                 [&](const WIN32_FIND_DATAW &) { ++count; });
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
    ForEachTaken(Path, filter, folders, SkipHidden,
                 [&](const WIN32_FIND_DATAW &entry) { list->Add(entry.cFileName); });
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
    ForEachTaken(Path, L"*", false, SkipHidden, [&](const WIN32_FIND_DATAW &entry) {
        const wchar_t *dot = wcsrchr(entry.cFileName, L'.');
        if (!dot) return;
        wchar_t extension[MAX_PATH];
        CopyCut(extension, MAX_PATH, dot);
        ToLower(extension);
        list->Add(extension);
    });
}

void CFileSystem::FillList(CFileList *list, const wchar_t *filter, bool folders)
{
    if (!list) return;
    ForEachTaken(Path, filter, folders, SkipHidden,
                 [&](const WIN32_FIND_DATAW &entry) { list->Add(CreateFileInfo(entry)); });
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
