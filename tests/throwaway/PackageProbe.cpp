// The Windows side of tests/harness/package-install.sh (exit code 0 when the
// awaited state came within SECONDS, 1 when not, 2 on wrong use):
//   shortcut FILE.lnk         prints the shortcut's target
//   window SECONDS            waits for Tempulo's window
//   close SECONDS             closes it and waits until it is gone
//   press SECONDS CAPTION...  clicks these buttons ("&" left out) of dialogs
//                             of any process, one after the other
//   hold FILE SECONDS         holds Tempulo's instance mutex until FILE exists
#include <windows.h>

#include <shlobj.h>

#include <stdio.h>

namespace {

template <typename Pred> bool WaitUntil(Pred pred, const wchar_t *seconds)
{
    for (ULONGLONG end = GetTickCount64() + _wtoi(seconds) * 1000ULL; !pred(); Sleep(50))
        if (GetTickCount64() >= end) return false;
    return true;
}

int PrintShortcutTarget(const wchar_t *file)
{
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IShellLinkW *link = nullptr;
    IPersistFile *persist = nullptr;
    wchar_t target[MAX_PATH] = L"";
    char text[4 * MAX_PATH];
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                (void **)&link)) ||
        FAILED(link->QueryInterface(IID_IPersistFile, (void **)&persist)) ||
        FAILED(persist->Load(file, STGM_READ)) ||
        link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH) != S_OK)
        return 1;
    WideCharToMultiByte(CP_UTF8, 0, target, -1, text, sizeof(text), nullptr, nullptr);
    return printf("%s\n", text) < 0;
}

struct Search {
    const wchar_t *caption;
    HWND button;
};

BOOL CALLBACK MatchButton(HWND child, LPARAM param)
{
    wchar_t name[32] = L"", text[64] = L"", plain[64] = L"", *to = plain;
    GetClassNameW(child, name, 32);
    GetWindowTextW(child, text, 64);
    for (const wchar_t *c = text; *c; ++c)
        if (*c != L'&') *to++ = *c;
    if (_wcsicmp(name, L"Button") || !IsWindowVisible(child) || !IsWindowEnabled(child) ||
        _wcsicmp(plain, ((Search *)param)->caption))
        return TRUE;
    ((Search *)param)->button = child;
    return FALSE;
}

// As a click does: the dialog hears of it from the button.
bool Press(const wchar_t *caption, const wchar_t *seconds)
{
    Search search = {caption, nullptr};
    auto dialog = [](HWND top, LPARAM param) -> BOOL {
        wchar_t name[32] = L"";
        GetClassNameW(top, name, 32);
        if (!wcscmp(name, L"#32770") && IsWindowVisible(top))
            EnumChildWindows(top, MatchButton, param);
        return !((Search *)param)->button;
    };
    if (!WaitUntil([&] { return EnumWindows(dialog, (LPARAM)&search), search.button; }, seconds))
        return false;
    PostMessageW(GetParent(search.button), WM_COMMAND,
                 MAKEWPARAM(GetDlgCtrlID(search.button), BN_CLICKED), (LPARAM)search.button);
    return printf("%ls\n", caption) >= 0;
}

} // namespace

int wmain(int argc, wchar_t **argv)
{
    const wchar_t *mode = argc > 2 ? argv[1] : L"";
    auto window = [] { return FindWindowW(L"Tempulo", L"Tempulo"); };
    if (!wcscmp(mode, L"shortcut")) return PrintShortcutTarget(argv[2]);
    if (!wcscmp(mode, L"window"))
        return !WaitUntil([&] { return IsWindowVisible(window()) != FALSE; }, argv[2]);
    if (!wcscmp(mode, L"close")) {
        HWND shown = window();
        return !shown || !PostMessageW(shown, WM_CLOSE, 0, 0) ||
               !WaitUntil([&] { return !IsWindow(shown); }, argv[2]);
    }
    if (!wcscmp(mode, L"press")) {
        for (int i = 3; i < argc; ++i)
            if (!Press(argv[i], argv[2])) return 1;
        return 0;
    }
    if (!wcscmp(mode, L"hold") && argc > 3) {
        HANDLE mutex = CreateMutexW(nullptr, FALSE, L"Tempulo by Orvandt x.x.x");
        printf("holding\n");
        fflush(stdout);
        const wchar_t *release = argv[2];
        const bool released = WaitUntil(
            [&] { return GetFileAttributesW(release) != INVALID_FILE_ATTRIBUTES; }, argv[3]);
        CloseHandle(mutex);
        return !released;
    }
    return 2;
}
