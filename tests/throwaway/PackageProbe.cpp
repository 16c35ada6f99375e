// The Windows side of tests/harness/package-install.sh, which installs the
// packages in a prefix of its own:
//   PackageProbe shortcut FILE.lnk        prints the shortcut's target
//   PackageProbe window SECONDS           waits for Tempulo's window
//   PackageProbe close SECONDS            posts WM_CLOSE to it and waits
//                                         until the window is gone
//   PackageProbe uninstall VALUE SECONDS  runs the command line that the
//                                         uninstall entry holds in VALUE
//                                         (UninstallString, ...) as Windows
//                                         would, and waits until it and the
//                                         processes it started have ended
//   PackageProbe press SECONDS CAPTION... clicks, one after the other, the
//                                         buttons with these captions ("&"
//                                         left out) in dialogs of any
//                                         process, each as soon as it is
//                                         shown and enabled
//   PackageProbe hold FILE SECONDS        holds Tempulo's instance mutex, as
//                                         a copy would that does not close,
//                                         until FILE exists
// Exit code 0 when the awaited state came within the time, 1 when not,
// 2 on wrong use.
#include <windows.h>

#include <shlobj.h>
#include <tlhelp32.h>

#include <stdio.h>
#include <wchar.h>

namespace {

template <typename Pred> bool WaitUntil(Pred pred, const wchar_t *seconds)
{
    const ULONGLONG end = GetTickCount64() + (ULONGLONG)_wtoi(seconds) * 1000;
    for (;;) {
        if (pred()) return true;
        if (GetTickCount64() >= end) return false;
        Sleep(50);
    }
}

HWND TempuloWindow()
{
    return FindWindowW(L"Tempulo", L"Tempulo");
}

void PrintUtf8(const wchar_t *text)
{
    char buffer[4 * MAX_PATH];
    WideCharToMultiByte(CP_UTF8, 0, text, -1, buffer, sizeof(buffer), nullptr, nullptr);
    printf("%s\n", buffer);
    fflush(stdout);
}

int PrintShortcutTarget(const wchar_t *file)
{
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 1;
    int result = 1;
    IShellLinkW *link = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                   (void **)&link))) {
        IPersistFile *persist = nullptr;
        wchar_t target[MAX_PATH] = L"";
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, (void **)&persist))) {
            if (SUCCEEDED(persist->Load(file, STGM_READ)) &&
                link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH) == S_OK) {
                PrintUtf8(target);
                result = 0;
            }
            persist->Release();
        }
        link->Release();
    }
    CoUninitialize();
    return result;
}

const wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tempulo";

// Waits for the children of a process that has ended: an uninstaller hands
// its work to a copy of itself outside the folder it removes, and returns.
bool ChildrenEnded(DWORD parent, ULONGLONG end, int *count)
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return false;
    bool ended = true;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot, &entry); more;
         more = Process32NextW(snapshot, &entry)) {
        if (entry.th32ParentProcessID != parent) continue;
        HANDLE child = OpenProcess(SYNCHRONIZE, FALSE, entry.th32ProcessID);
        ++*count;
        if (!child) continue; // ended already
        const ULONGLONG now = GetTickCount64();
        const DWORD left = now < end ? (DWORD)(end - now) : 0;
        ended = ended && WaitForSingleObject(child, left) == WAIT_OBJECT_0;
        CloseHandle(child);
    }
    CloseHandle(snapshot);
    return ended;
}

int RunRegistered(const wchar_t *value, const wchar_t *seconds)
{
    wchar_t command[2 * MAX_PATH] = L"";
    DWORD size = sizeof(command);
    if (RegGetValueW(HKEY_CURRENT_USER, kUninstallKey, value, RRF_RT_REG_SZ, nullptr, command,
                     &size) != ERROR_SUCCESS) {
        printf("no value\n");
        return 1;
    }
    const ULONGLONG end = GetTickCount64() + (ULONGLONG)_wtoi(seconds) * 1000;
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        printf("not started: error %lu\n", GetLastError());
        return 1;
    }
    CloseHandle(process.hThread);
    DWORD code = STILL_ACTIVE;
    if (WaitForSingleObject(process.hProcess, _wtoi(seconds) * 1000) == WAIT_OBJECT_0) {
        GetExitCodeProcess(process.hProcess, &code);
    }
    CloseHandle(process.hProcess);
    int children = 0;
    const bool ended = code != STILL_ACTIVE && ChildrenEnded(process.dwProcessId, end, &children);
    printf("exit code %lu, %d started process(es) %s\n", code, children,
           ended ? "ended" : "still running");
    return ended && code == 0 ? 0 : 1;
}

struct ButtonSearch {
    const wchar_t *caption;
    HWND button;
};

BOOL CALLBACK MatchButton(HWND child, LPARAM param)
{
    ButtonSearch *search = (ButtonSearch *)param;
    wchar_t name[32] = L"", text[64] = L"", plain[64] = L"";
    GetClassNameW(child, name, _countof(name));
    if (_wcsicmp(name, L"Button") != 0 || !IsWindowVisible(child) || !IsWindowEnabled(child))
        return TRUE;
    GetWindowTextW(child, text, _countof(text));
    size_t n = 0;
    for (const wchar_t *c = text; *c && n + 1 < _countof(plain); ++c) {
        if (*c != L'&') plain[n++] = *c;
    }
    plain[n] = L'\0';
    if (_wcsicmp(plain, search->caption) != 0) return TRUE;
    search->button = child;
    return FALSE;
}

BOOL CALLBACK SearchDialog(HWND top, LPARAM param)
{
    wchar_t name[32] = L"";
    GetClassNameW(top, name, _countof(name));
    if (wcscmp(name, L"#32770") == 0 && IsWindowVisible(top))
        EnumChildWindows(top, MatchButton, param);
    return ((ButtonSearch *)param)->button == nullptr;
}

// As a click does: the dialog hears of it from the button.
bool Press(const wchar_t *caption, const wchar_t *seconds)
{
    ButtonSearch search = {caption, nullptr};
    const bool found = WaitUntil(
        [&search] {
            EnumWindows(SearchDialog, (LPARAM)&search);
            return search.button != nullptr;
        },
        seconds);
    if (!found) return false;
    const int id = GetDlgCtrlID(search.button);
    PostMessageW(GetParent(search.button), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 (LPARAM)search.button);
    PrintUtf8(caption);
    return true;
}

} // namespace

int wmain(int argc, wchar_t **argv)
{
    if (argc < 3) return 2;
    const wchar_t *mode = argv[1];
    if (wcscmp(mode, L"shortcut") == 0) return PrintShortcutTarget(argv[2]);
    if (wcscmp(mode, L"window") == 0) {
        return WaitUntil([] { return IsWindowVisible(TempuloWindow()) != FALSE; }, argv[2]) ? 0 : 1;
    }
    if (wcscmp(mode, L"close") == 0) {
        HWND window = TempuloWindow();
        if (!window || !PostMessageW(window, WM_CLOSE, 0, 0)) return 1;
        return WaitUntil([window] { return !IsWindow(window); }, argv[2]) ? 0 : 1;
    }
    if (wcscmp(mode, L"press") == 0) {
        for (int i = 3; i < argc; ++i) {
            if (!Press(argv[i], argv[2])) return 1;
        }
        return 0;
    }
    if (wcscmp(mode, L"hold") == 0 && argc > 3) {
        HANDLE mutex = CreateMutexW(nullptr, FALSE, L"Tempulo by Orvandt x.x.x");
        printf("holding\n");
        fflush(stdout);
        const wchar_t *release = argv[2];
        const bool released = WaitUntil(
            [release] { return GetFileAttributesW(release) != INVALID_FILE_ATTRIBUTES; }, argv[3]);
        CloseHandle(mutex);
        return released ? 0 : 1;
    }
    if (wcscmp(mode, L"uninstall") == 0 && argc > 3) return RunRegistered(argv[2], argv[3]);
    return 2;
}
