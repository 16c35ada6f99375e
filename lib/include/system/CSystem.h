// System services: the running program's files and folders, well-known
// folders, version resources, environment, disk space, and static actions
// and checks (shutdown, operating-system version, monitor fit, ...).
// Texts are returned in buffers of the object, each valid until the next
// call that writes the same buffer.
#pragma once

#include "PictavoApi.h"

#include <windows.h>

class PICTAVO_API CSystem {
public:
    enum WindowsActionType { Shutdown = 0, Reboot = 1, PowerOff = 2, LogOff = 3 };

    CSystem();
    ~CSystem();

    // Operations without a module handle ask about the running process's
    // executable (GetAppVersion: about this library).
    const wchar_t *GetAppName(HMODULE module, bool fullPath, bool withExtension);
    const wchar_t *GetAppName(bool fullPath, bool withExtension);
    const wchar_t *GetAppDir(HMODULE module);
    const wchar_t *GetAppDir();
    const wchar_t *GetAppRootDir(HMODULE module);
    const wchar_t *GetAppRootDir();
    const wchar_t *GetWorkDir();

    const wchar_t *GetSysRootDir();
    const wchar_t *GetWindowsDir();
    const wchar_t *GetSystemDir();

    // With a sub-folder: the folder, the company name of the running
    // program (when it has one) and the sub-folder. Nothing is created.
    const wchar_t *GetAppDataLocalDir();
    const wchar_t *GetAppDataLocalDir(const wchar_t *subFolder);
    const wchar_t *GetAppDataRoamingDir();
    const wchar_t *GetAppDataRoamingDir(const wchar_t *subFolder);
    const wchar_t *GetProgramDataDir();
    const wchar_t *GetProgramDataDir(const wchar_t *subFolder);
    const wchar_t *GetDesktopDir();
    const wchar_t *GetMyDocumentsDir();
    const wchar_t *GetMyPicturesDir();
    const wchar_t *GetMyPrntScrnDir();
    const wchar_t *GetMyDownloadsDir();

    // index 0-9: CompanyName, FileDescription, FileVersion, InternalName,
    // LegalCopyright, LegalTradeMarks, OriginalFileName, ProductName,
    // ProductVersion, Comments.
    const wchar_t *GetAppInfo(HMODULE module, int index, const wchar_t *def);
    const wchar_t *GetAppInfo(int index, const wchar_t *def);
    // The first 1-4 parts of the file version ("1.x.x.x" without one).
    const wchar_t *GetAppVersion(HMODULE module, int parts);
    const wchar_t *GetAppVersion(int parts);
    const wchar_t *GetOSVersionInfo();

    const wchar_t *GetEnvironment(const wchar_t *name);
    const wchar_t *ComputerName();

    // Mebibytes; 0 when the drive or folder cannot be queried.
    unsigned long long GetAvailableDiskSpace(const wchar_t *path);
    unsigned long long GetTotalDiskSpace(const wchar_t *path);
    unsigned long long GetFreeDiskSpace(const wchar_t *path);

    static bool ExecWindowsAction(WindowsActionType action);
    static bool ForceShutdown(const wchar_t *machine, const wchar_t *message, DWORD timeout,
                              bool forceAppsClosed, bool reboot, DWORD reason);
    static bool AbortShutdown(const wchar_t *machine);
    static bool IsNT();
    static bool IsWinXPOrHigher();
    static bool IsWin8OrHigher();
    static bool Is64BitWindow();
    static bool PowerFromSocket();

    // window: x, y, width, height; area: left, top, right, bottom.
    static RECT CheckDimension(RECT window, RECT area, bool singleArea, bool keepWhole);
    static int Random(int min, int max);
    static bool FlashWin(HWND window, int, int);
    static HINSTANCE CallExternProg(HWND window, const wchar_t *operation, const wchar_t *file,
                                    const wchar_t *parameters, int show);
    static int GetCpuSpeed();

private:
    static bool CheckPrivilege();
    void GetDiskSpace(const wchar_t *path, unsigned long long &available, unsigned long long &total,
                      unsigned long long &free);
    const wchar_t *ExpandDataDir(const wchar_t *subFolder);
    const wchar_t *DataDir(int csidl, const wchar_t *subFolder);

    wchar_t AppName[260];
    wchar_t AppDir[260];
    wchar_t AppRootDir[260];
    wchar_t WorkDir[260];
    wchar_t SysRootDir[260];
    wchar_t WindowsDir[260];
    wchar_t SystemDir[260];
    wchar_t DataFolder[260];
    wchar_t DocumentsFolder[260];
    wchar_t PicturesFolder[260];
    wchar_t DesktopFolder[260];
    wchar_t DownloadsFolder[260];
    wchar_t AppInfo[100];
    wchar_t AppVersion[100];
    wchar_t Environment[260];
    wchar_t OSVersionInfo[100];
    wchar_t ComputerNameBuffer[15];
};
