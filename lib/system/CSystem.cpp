#include "system/CSystem.h"

#include "LibModule.h"
#include "registry/CRegistry.h"

#include <powrprof.h>
#include <shellapi.h>
#include <shlobj.h>
#include <stdlib.h>
#include <strsafe.h>
#include <time.h>
#include <wchar.h>

namespace {

const DWORD kPathCch = 260;
const DWORD kInfoCch = 100;
const wchar_t kNoVersion[] = L"1.x.x.x";
const wchar_t *const kVersionNames[10] = {
    L"CompanyName",     L"FileDescription",  L"FileVersion", L"InternalName",   L"LegalCopyright",
    L"LegalTradeMarks", L"OriginalFileName", L"ProductName", L"ProductVersion", L"Comments"};
const wchar_t kDownloadsGuid[] = L"{374DE290-123F-4565-9164-39C4925E467B}";
const int kCsidlDocuments = 5;

HMODULE RunningProgram()
{
    return GetModuleHandleW(nullptr);
}

// Full file name of a module; empty when it cannot be read or would not fit
// (a cut path names another file).
void ModuleFileName(HMODULE module, wchar_t *out)
{
    const DWORD n = GetModuleFileNameW(module, out, kPathCch);
    if (n == 0 || n >= kPathCch) out[0] = L'\0';
}

// Keeps text up to and including its first or last backslash; empty text
// when there is none.
void CutAfterBackslash(wchar_t *text, bool first)
{
    wchar_t *slash = first ? wcschr(text, L'\\') : wcsrchr(text, L'\\');
    if (slash)
        slash[1] = L'\0';
    else
        text[0] = L'\0';
}

// The shell folder of a CSIDL into out; out is left alone when the lookup
// fails.
void ShellFolder(int csidl, wchar_t *out)
{
    LPITEMIDLIST list = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, csidl, &list)) || !list) return;
    wchar_t path[MAX_PATH];
    if (SHGetPathFromIDListW(list, path)) StringCchCopyW(out, kPathCch, path);
    // The shell's own release: the task allocator's would load OLE for it.
    ILFree(list);
}

typedef LONG(WINAPI *RtlGetVersionProc)(OSVERSIONINFOEXW *);

// The operating-system version as the kernel reports it, unaffected by
// compatibility shims.
bool KernelVersion(OSVERSIONINFOEXW &info)
{
    HMODULE ntdll = LoadLibraryW(L"ntdll.dll");
    if (!ntdll) return false;
    auto rtlGetVersion = (RtlGetVersionProc)(void *)GetProcAddress(ntdll, "RtlGetVersion");
    bool ok = false;
    if (rtlGetVersion) {
        ZeroMemory(&info, sizeof(info));
        info.dwOSVersionInfoSize = sizeof(info);
        ok = rtlGetVersion(&info) == 0;
    }
    FreeLibrary(ntdll);
    return ok;
}

bool VersionAtLeast(DWORD major, DWORD minor)
{
    OSVERSIONINFOEXW info;
    if (!KernelVersion(info) || info.dwPlatformId != VER_PLATFORM_WIN32_NT) return false;
    return info.dwMajorVersion > major ||
           (info.dwMajorVersion == major && info.dwMinorVersion >= minor);
}

// The file's version resource in a movable global block; null without one.
class VersionBlock {
public:
    explicit VersionBlock(HMODULE module)
    {
        wchar_t file[kPathCch];
        ModuleFileName(module, file);
        DWORD ignored = 0;
        const DWORD size = file[0] ? GetFileVersionInfoSizeW(file, &ignored) : 0;
        if (size == 0) return;
        memory_ = GlobalAlloc(GMEM_MOVEABLE, size);
        if (memory_) data_ = GlobalLock(memory_);
        if (data_ && !GetFileVersionInfoW(file, 0, size, data_)) data_ = nullptr;
    }
    ~VersionBlock()
    {
        if (memory_) {
            GlobalUnlock(memory_);
            GlobalFree(memory_);
        }
    }
    VersionBlock(const VersionBlock &) = delete;
    VersionBlock &operator=(const VersionBlock &) = delete;

    bool Query(const wchar_t *path, void **value, UINT *length) const
    {
        *value = nullptr;
        *length = 0;
        return data_ && VerQueryValueW(data_, path, value, length) && *value;
    }

private:
    HGLOBAL memory_ = nullptr;
    void *data_ = nullptr;
};

} // namespace

CSystem::CSystem()
    : AppName(), AppDir(), AppRootDir(), WorkDir(), SysRootDir(), WindowsDir(), SystemDir(),
      DataFolder(), DocumentsFolder(), PicturesFolder(), DesktopFolder(), DownloadsFolder(),
      AppInfo(), AppVersion(), Environment(), OSVersionInfo(), ComputerNameBuffer()
{
}

CSystem::~CSystem() {}

// --- program file -------------------------------------------------------------

const wchar_t *CSystem::GetAppName(HMODULE module, bool fullPath, bool withExtension)
{
    wchar_t path[kPathCch];
    ModuleFileName(module, path);
    const wchar_t *name = path;
    if (!fullPath) {
        const wchar_t *slash = wcsrchr(path, L'\\');
        name = slash ? slash + 1 : L"";
    }
    StringCchCopyW(AppName, kPathCch, name);
    if (!withExtension) {
        // Only a dot in the file name starts the extension: a dot in a
        // folder name must not cut the path.
        wchar_t *fileStart = wcsrchr(AppName, L'\\');
        wchar_t *dot = wcsrchr(fileStart ? fileStart : AppName, L'.');
        if (dot) *dot = L'\0';
    }
    return AppName;
}

const wchar_t *CSystem::GetAppName(bool fullPath, bool withExtension)
{
    return GetAppName(RunningProgram(), fullPath, withExtension);
}

const wchar_t *CSystem::GetAppDir(HMODULE module)
{
    ModuleFileName(module, AppDir);
    CutAfterBackslash(AppDir, false);
    return AppDir;
}

const wchar_t *CSystem::GetAppDir()
{
    return GetAppDir(RunningProgram());
}

const wchar_t *CSystem::GetAppRootDir(HMODULE module)
{
    ModuleFileName(module, AppRootDir);
    CutAfterBackslash(AppRootDir, true);
    return AppRootDir;
}

const wchar_t *CSystem::GetAppRootDir()
{
    return GetAppRootDir(RunningProgram());
}

const wchar_t *CSystem::GetWorkDir()
{
    const DWORD n = GetCurrentDirectoryW(kPathCch, WorkDir);
    if (n == 0 || n >= kPathCch) WorkDir[0] = L'\0';
    return WorkDir;
}

// --- system and shell folders -------------------------------------------------

const wchar_t *CSystem::GetSysRootDir()
{
    GetWindowsDir();
    StringCchCopyW(SysRootDir, kPathCch, WindowsDir);
    CutAfterBackslash(SysRootDir, true);
    return SysRootDir;
}

const wchar_t *CSystem::GetWindowsDir()
{
    const UINT n = GetWindowsDirectoryW(WindowsDir, kPathCch);
    if (n == 0 || n >= kPathCch) WindowsDir[0] = L'\0';
    return WindowsDir;
}

const wchar_t *CSystem::GetSystemDir()
{
    const UINT n = GetSystemDirectoryW(SystemDir, kPathCch);
    if (n == 0 || n >= kPathCch) SystemDir[0] = L'\0';
    return SystemDir;
}

const wchar_t *CSystem::ExpandDataDir(const wchar_t *subFolder)
{
    const wchar_t *company = GetAppInfo(0, L"");
    if (company[0]) {
        StringCchCatW(DataFolder, kPathCch, L"\\");
        StringCchCatW(DataFolder, kPathCch, company);
    }
    StringCchCatW(DataFolder, kPathCch, L"\\");
    StringCchCatW(DataFolder, kPathCch, subFolder);
    return DataFolder;
}

const wchar_t *CSystem::DataDir(int csidl, const wchar_t *subFolder)
{
    ShellFolder(csidl, DataFolder);
    if (subFolder && subFolder[0]) ExpandDataDir(subFolder);
    return DataFolder;
}

const wchar_t *CSystem::GetAppDataLocalDir()
{
    return DataDir(CSIDL_LOCAL_APPDATA, nullptr);
}
const wchar_t *CSystem::GetAppDataLocalDir(const wchar_t *subFolder)
{
    return DataDir(CSIDL_LOCAL_APPDATA, subFolder);
}
const wchar_t *CSystem::GetAppDataRoamingDir()
{
    return DataDir(CSIDL_APPDATA, nullptr);
}
const wchar_t *CSystem::GetAppDataRoamingDir(const wchar_t *subFolder)
{
    return DataDir(CSIDL_APPDATA, subFolder);
}
const wchar_t *CSystem::GetProgramDataDir()
{
    return DataDir(CSIDL_COMMON_APPDATA, nullptr);
}
const wchar_t *CSystem::GetProgramDataDir(const wchar_t *subFolder)
{
    return DataDir(CSIDL_COMMON_APPDATA, subFolder);
}

const wchar_t *CSystem::GetDesktopDir()
{
    ShellFolder(CSIDL_DESKTOPDIRECTORY, DesktopFolder);
    return DesktopFolder;
}

const wchar_t *CSystem::GetMyDocumentsDir()
{
    ShellFolder(kCsidlDocuments, DocumentsFolder);
    return DocumentsFolder;
}

const wchar_t *CSystem::GetMyPicturesDir()
{
    ShellFolder(CSIDL_MYPICTURES, PicturesFolder);
    return PicturesFolder;
}

const wchar_t *CSystem::GetMyPrntScrnDir()
{
    ShellFolder(kCsidlDocuments, DocumentsFolder);
    const size_t length = wcslen(DocumentsFolder);
    if (length == 0 || DocumentsFolder[length - 1] != L'\\')
        StringCchCatW(DocumentsFolder, kPathCch, L"\\");
    StringCchCatW(DocumentsFolder, kPathCch, L"Screenshots");
    return DocumentsFolder;
}

const wchar_t *CSystem::GetMyDownloadsDir()
{
    CRegistry explorer(L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer", RegCurrentUser,
                       false);
    StringCchCopyW(DownloadsFolder, kPathCch,
                   explorer.ReadValue(L"Shell Folders", kDownloadsGuid, L""));
    return DownloadsFolder;
}

// --- version resources ---------------------------------------------------------

const wchar_t *CSystem::GetAppInfo(HMODULE module, int index, const wchar_t *def)
{
    StringCchCopyW(AppInfo, kInfoCch, def ? def : L"");
    if (index < 0 || index > 9) return AppInfo;
    VersionBlock block(module);
    DWORD *translation = nullptr;
    UINT length = 0;
    if (!block.Query(L"\\VarFileInfo\\Translation", (void **)&translation, &length) ||
        length < sizeof(DWORD))
        return AppInfo;
    wchar_t query[kInfoCch];
    StringCchPrintfW(query, kInfoCch, L"StringFileInfo\\%04X%04X\\%s", LOWORD(*translation),
                     HIWORD(*translation), kVersionNames[index]);
    wchar_t *text = nullptr;
    if (block.Query(query, (void **)&text, &length) && length > 0 && text[0]) {
        // length counts characters including the terminator, which a
        // hand-made resource may lack.
        StringCchCopyNW(AppInfo, kInfoCch, text, length);
    }
    return AppInfo;
}

const wchar_t *CSystem::GetAppInfo(int index, const wchar_t *def)
{
    return GetAppInfo(RunningProgram(), index, def);
}

const wchar_t *CSystem::GetAppVersion(HMODULE module, int parts)
{
    StringCchCopyW(AppVersion, kInfoCch, kNoVersion);
    VersionBlock block(module);
    VS_FIXEDFILEINFO *info = nullptr;
    UINT length = 0;
    if (!block.Query(L"\\", (void **)&info, &length) || length < sizeof(VS_FIXEDFILEINFO))
        return AppVersion;
    if (parts < 1 || parts > 4) parts = 3;
    const unsigned numbers[4] = {HIWORD(info->dwFileVersionMS), LOWORD(info->dwFileVersionMS),
                                 HIWORD(info->dwFileVersionLS), LOWORD(info->dwFileVersionLS)};
    StringCchPrintfW(AppVersion, kInfoCch, L"%d", numbers[0]);
    for (int i = 1; i < parts; ++i) {
        wchar_t part[16];
        StringCchPrintfW(part, _countof(part), L".%d", numbers[i]);
        StringCchCatW(AppVersion, kInfoCch, part);
    }
    return AppVersion;
}

const wchar_t *CSystem::GetAppVersion(int parts)
{
    return GetAppVersion(PictavoModule(), parts);
}

const wchar_t *CSystem::GetOSVersionInfo()
{
    OSVersionInfo[0] = L'\0';
    HMODULE kernel = LoadLibraryW(L"kernel32");
    if (!kernel) return OSVersionInfo;
    StringCchCopyW(OSVersionInfo, kInfoCch, GetAppInfo(kernel, 8, L"0.0.0.0"));
    FreeLibrary(kernel);
    return OSVersionInfo;
}

// --- other texts -----------------------------------------------------------------

const wchar_t *CSystem::GetEnvironment(const wchar_t *name)
{
    if (!name || !name[0]) return Environment;
    wchar_t value[kPathCch];
    const DWORD needed = GetEnvironmentVariableW(name, value, kPathCch);
    if (needed == 0) return Environment; // unset, or set to nothing
    if (needed < kPathCch) {
        StringCchCopyW(Environment, kPathCch, value);
        return Environment;
    }
    // Too long for the buffer: read it whole and keep the beginning.
    wchar_t *whole = (wchar_t *)HeapAlloc(GetProcessHeap(), 0, needed * sizeof(wchar_t));
    if (!whole) return Environment;
    const DWORD got = GetEnvironmentVariableW(name, whole, needed);
    if (got > 0 && got < needed) StringCchCopyNW(Environment, kPathCch, whole, kPathCch - 1);
    HeapFree(GetProcessHeap(), 0, whole);
    return Environment;
}

const wchar_t *CSystem::ComputerName()
{
    DWORD size = _countof(ComputerNameBuffer);
    if (!GetComputerNameW(ComputerNameBuffer, &size)) ComputerNameBuffer[0] = L'\0';
    return ComputerNameBuffer;
}

// --- disk space ------------------------------------------------------------------

void CSystem::GetDiskSpace(const wchar_t *path, unsigned long long &available,
                           unsigned long long &total, unsigned long long &free)
{
    ULARGE_INTEGER a = {}, t = {}, f = {};
    // A drive that cannot be asked has no space rather than stale figures.
    if (!path || !GetDiskFreeSpaceExW(path, &a, &t, &f)) a.QuadPart = t.QuadPart = f.QuadPart = 0;
    available = a.QuadPart;
    total = t.QuadPart;
    free = f.QuadPart;
}

unsigned long long CSystem::GetAvailableDiskSpace(const wchar_t *path)
{
    unsigned long long available, total, free;
    GetDiskSpace(path, available, total, free);
    return available >> 20;
}

unsigned long long CSystem::GetTotalDiskSpace(const wchar_t *path)
{
    unsigned long long available, total, free;
    GetDiskSpace(path, available, total, free);
    return total >> 20;
}

unsigned long long CSystem::GetFreeDiskSpace(const wchar_t *path)
{
    unsigned long long available, total, free;
    GetDiskSpace(path, available, total, free);
    return free >> 20;
}

// --- actions and checks ------------------------------------------------------------

bool CSystem::CheckPrivilege()
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token))
        return false;
    TOKEN_PRIVILEGES privileges = {};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    bool ok = LookupPrivilegeValueW(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid);
    if (ok) {
        // Success with ERROR_NOT_ALL_ASSIGNED means the token lacks the
        // privilege: that is a failure too.
        SetLastError(ERROR_SUCCESS);
        ok = AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr) &&
             GetLastError() == ERROR_SUCCESS;
    }
    CloseHandle(token);
    return ok;
}

bool CSystem::ExecWindowsAction(WindowsActionType action)
{
    UINT flags = 0;
    switch (action) {
    case Shutdown: flags = EWX_SHUTDOWN | EWX_FORCE; break;
    case Reboot: flags = EWX_REBOOT | EWX_FORCE; break;
    case PowerOff: flags = EWX_POWEROFF | EWX_FORCE; break;
    case LogOff: flags = EWX_LOGOFF | EWX_FORCE; break;
    default: return false;
    }
    if (action != LogOff && !CheckPrivilege()) return false;
    return ExitWindowsEx(flags, SHTDN_REASON_MINOR_MAINTENANCE) == TRUE;
}

bool CSystem::ForceShutdown(const wchar_t *machine, const wchar_t *message, DWORD timeout,
                            bool forceAppsClosed, bool reboot, DWORD reason)
{
    if (!CheckPrivilege()) return false;
    return InitiateSystemShutdownExW(const_cast<wchar_t *>(machine), const_cast<wchar_t *>(message),
                                     timeout, forceAppsClosed, reboot, reason) == TRUE;
}

bool CSystem::AbortShutdown(const wchar_t *machine)
{
    if (!CheckPrivilege()) return false;
    return AbortSystemShutdownW(const_cast<wchar_t *>(machine)) != FALSE;
}

bool CSystem::IsNT()
{
    OSVERSIONINFOEXW info;
    return KernelVersion(info) && info.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

bool CSystem::IsWinXPOrHigher()
{
    return VersionAtLeast(5, 1);
}
bool CSystem::IsWin8OrHigher()
{
    return VersionAtLeast(6, 2);
}
bool CSystem::Is64BitWindow()
{
    return true;
}

bool CSystem::PowerFromSocket()
{
    SYSTEM_POWER_STATUS status;
    return GetSystemPowerStatus(&status) && status.ACLineStatus == 1;
}

// --- monitor fit and small services -------------------------------------------------

RECT CSystem::CheckDimension(RECT window, RECT area, bool singleArea, bool keepWhole)
{
    const LONG unknown = -2147483647 - 1;
    if (window.left == unknown && window.top == unknown) return window;

    LONG minX = area.left, minY = area.top, maxX = area.right, maxY = area.bottom;
    if (!singleArea && GetSystemMetrics(SM_CMONITORS) >= 2) {
        const POINT corner = {window.left, window.top};
        MONITORINFO info = {};
        info.cbSize = sizeof(info);
        if (GetMonitorInfoW(MonitorFromPoint(corner, MONITOR_DEFAULTTONEAREST), &info)) {
            minY = info.rcWork.top;
            maxY = info.rcWork.bottom;
            minX = GetSystemMetrics(SM_XVIRTUALSCREEN);
            if (info.rcWork.right < info.rcMonitor.right)
                maxX = minX + info.rcWork.right; // task bar on the right
            else
                maxX = minX + GetSystemMetrics(SM_CXVIRTUALSCREEN);
        }
    }

    // 64-bit sums: a far-off position plus a size must not wrap around.
    long long x = window.left, y = window.top, width = window.right, height = window.bottom;
    if (x < minX) x = minX;
    if (y < minY) y = minY;
    if (keepWhole) {
        if (x + width > maxX) x = maxX - width;
        if (y + height > maxY) y = maxY - height;
        if (x < minX) x = minX;
        if (y < minY) y = minY;
    }
    if (x + width > maxX) width = maxX - x;
    if (y + height > maxY) height = maxY - y;
    // A window left entirely beyond the limits (keepWhole false) has no
    // visible part rather than a negative size.
    if (width < 0) width = 0;
    if (height < 0) height = 0;
    return RECT{(LONG)x, (LONG)y, (LONG)width, (LONG)height};
}

int CSystem::Random(int min, int max)
{
    // An empty range would divide by zero: the bounds are taken either way
    // round.
    if (max < min) {
        const int swap = min;
        min = max;
        max = swap;
    }
    srand((unsigned)time(nullptr));
    const long long range = (long long)max - min + 1;
    return (int)(min + rand() % range);
}

bool CSystem::FlashWin(HWND window, int, int)
{
    return FlashWindow(window, TRUE) != FALSE;
}

HINSTANCE CSystem::CallExternProg(HWND window, const wchar_t *operation, const wchar_t *file,
                                  const wchar_t *parameters, int show)
{
    // Only a 32-bit process on 64-bit Windows has its system folder
    // redirected; a 64-bit process has nothing to switch off, and the call
    // would fail there.
    BOOL wow64 = FALSE;
    IsWow64Process(GetCurrentProcess(), &wow64);
    if (wow64 && !Wow64EnableWow64FsRedirection(FALSE)) return nullptr;
    HINSTANCE result = ShellExecuteW(window, operation, file, parameters, nullptr, show);
    if (wow64) Wow64EnableWow64FsRedirection(TRUE);
    return result;
}

int CSystem::GetCpuSpeed()
{
    // Layout of the kernel's PROCESSOR_POWER_INFORMATION record.
    struct ProcessorPower {
        ULONG Number, MaxMhz, CurrentMhz, MhzLimit, MaxIdleState, CurrentIdleState;
    };
    SYSTEM_INFO system;
    GetSystemInfo(&system);
    const DWORD count = system.dwNumberOfProcessors ? system.dwNumberOfProcessors : 1;
    const ULONG bytes = count * sizeof(ProcessorPower);
    auto *records = (ProcessorPower *)HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, bytes);
    if (!records) return 0;
    int speed = 0;
    if (CallNtPowerInformation(ProcessorInformation, nullptr, 0, records, bytes) == 0)
        speed = (int)records[0].MaxMhz;
    HeapFree(GetProcessHeap(), 0, records);
    return speed;
}
