// Paths, drives and folders around one base path given at construction.
// Text results live in buffers of the object and stay valid until the next
// call that writes the same buffer; copy them at once.
#pragma once

#include "PictavoApi.h"

#include "filesystem/CArrayList.h"
#include "filesystem/CFileList.h"

#include <windows.h>

class PICTAVO_API CFileSystem {
public:
    enum DriveType : int {
        DriveAll = 0, // no filter when listing; otherwise as DriveUnknown
        DriveUnknown = 1,
        DriveNoRootDir = 2,
        DriveRemovable = 3,
        DriveFixed = 4,
        DriveRemote = 5,
        DriveCdRom = 6,
        DriveRamDisk = 7
    };

    // Allocated by GetPartitionInfo with new; the caller deletes it.
    struct PartitionInfo {
        wchar_t VolumePath[8];  // \\.\C:
        wchar_t DevicePath[20]; // \\.\PhysicalDrive0
        bool LayoutRead;
        unsigned int PartitionCount;
    };

    // skipHidden leaves hidden entries (and hidden or system files) out of
    // every walk, count and list. A run of trailing backslashes shrinks to one.
    CFileSystem(const wchar_t *path, bool skipHidden);
    ~CFileSystem();

    // --- path texts ---------------------------------------------------------
    // Normal form with "\.\" and "\..\" steps resolved; also becomes the base
    // path. A relative path gives the empty text.
    const wchar_t *CleanPath();
    // Nearest existing folder at or above the base path; also becomes the
    // base path. When nothing of the path exists the fallback is taken (and,
    // if the fallback does not exist either, its nearest existing folder or
    // the fallback as given).
    const wchar_t *RealDir(bool emptyStaysEmpty, const wchar_t *fallback);
    // Base path and name joined by one backslash; the empty text when the
    // result would not fit in MAX_PATH - 1 characters.
    const wchar_t *CombinePath(const wchar_t *name);
    // File name from a pattern with fields in braces: yyyy, yy, MM, dd, hh,
    // mm, ss from the local time, and 0 as a counter digit. With counter
    // digits the first number whose name is free in the base folder is taken;
    // the empty text when every number is taken or the name would not fit.
    const wchar_t *ReplaceWildcard(const wchar_t *pattern);
    // The same at a given moment instead of the current local time.
    const wchar_t *ReplaceWildcard(const wchar_t *pattern, const SYSTEMTIME &now);

    // --- folders ------------------------------------------------------------
    bool DirExists();
    bool DirExists(const wchar_t *name);
    // Whether a file can be created in the base folder. An existing file of
    // the probe's name is left as it is.
    bool CanWrite();
    // Creates the folder with all missing parents; true when it exists as a
    // folder afterwards.
    bool CreateDir();
    bool CreateDir(const wchar_t *name);
    // Removes an empty folder below the base path, then its empty parents up
    // to the base path. Steps out of the base path ("..") are refused.
    bool DeleteDir();
    bool DeleteDir(const wchar_t *subPath);
    // Deletes base\name with its contents through the shell, to the recycle
    // bin when recycle is true. A drive root, wildcards and steps out of the
    // base path are refused.
    bool DeleteOrRecycleDir(const wchar_t *name, bool recycle);
    // Copies the tree below source into the base folder or into target
    // without overwriting; a target inside the source is refused.
    bool CopyDir(const wchar_t *source, bool foldersOnly);
    bool CopyDir(const wchar_t *source, const wchar_t *target, bool foldersOnly);
    // A text target passed without the flag must not turn into the flag.
    bool CopyDir(const wchar_t *source, const wchar_t *target) = delete;

    // --- drives -------------------------------------------------------------
    bool IsDriveOfType(DriveType type);
    void GetDrives(CArrayList *list);
    void GetDrivesOfType(CArrayList *list, DriveType type);
    PartitionInfo *GetPartitionInfo();

    // --- listings and counts ------------------------------------------------
    int CountList(const wchar_t *filter, bool folders, bool recurse);
    int CountList(const wchar_t *folder, const wchar_t *filter, bool folders, bool recurse);
    // Filters separated by ";"; a filter without a dot is an extension.
    int CountFiles(const wchar_t *filterList, bool recurse);
    int CountFiles(const wchar_t *name, const wchar_t *extension, bool recurse);

    void FillList(CArrayList *list, const wchar_t *filter, bool folders);
    void FillListExtended(CArrayList *list, const wchar_t *filterList, bool folders);
    void FileList(CArrayList *list, const wchar_t *name, const wchar_t *extension);
    // Lower-case extensions (".txt") of the files of the base folder.
    void ExtendList(CArrayList *list);

    void FillList(CFileList *list, const wchar_t *filter, bool folders);
    void FillListExtended(CFileList *list, const wchar_t *filterList, bool folders);
    void FileList(CFileList *list, const wchar_t *name, const wchar_t *extension);

private:
    const wchar_t *PatchPathString(const wchar_t *path);
    const wchar_t *CombineFullPath(const wchar_t *name);
    bool CallDirExists(const wchar_t *folder);
    bool SetRootDevice();
    bool SetPhysicalDevice(const wchar_t *volumePath);
    UINT GetDriveTypeDefinition(DriveType type);
    int CountFilesSimpleFilter(const wchar_t *filter, bool recurse);
    bool CreateDirTree(const wchar_t *folder);
    static CFileList::FileInfo CreateFileInfo(const WIN32_FIND_DATAW &data);
    static void ToLower(wchar_t *text);

    wchar_t ResultPath[2 * MAX_PATH];
    wchar_t FullPath[MAX_PATH];
    wchar_t CombinedPath[MAX_PATH];
    wchar_t Path[MAX_PATH];
    wchar_t WildcardName[MAX_PATH];
    wchar_t RootDevice[4];
    wchar_t PhysicalDevice[16];
    bool SkipHidden;
};
