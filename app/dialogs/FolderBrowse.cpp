#include "dialogs/FolderBrowse.h"

#include "dialogs/SettingsPages.h"
#include "filesystem/CFileSystem.h"
#include "res/resource.h"
#include "settings/AppData.h"

#include <objbase.h>
#include <shlobj.h>
#include <strsafe.h>

namespace {

// An edit box for a typed name, checked by the browser, in the resizable
// style. The browser must not be limited to computers, or no folder could
// ever be chosen.
const UINT kBrowseFlags = BIF_EDITBOX | BIF_VALIDATE | BIF_NEWDIALOGSTYLE;

// The folder itself if it exists, else its nearest existing parent, else
// what the fallback gives.
void ExistingFolder(wchar_t *folder, const wchar_t *path, const wchar_t *fallback)
{
    CFileSystem files(path, true);
    StringCchCopyW(folder, PATH_CCH, files.RealDir(false, fallback));
}

void SetStatus(HWND browser, const wchar_t *text)
{
    SendMessageW(browser, BFFM_SETSTATUSTEXTW, 0, (LPARAM)text);
}

int CALLBACK BrowseCallback(HWND browser, UINT message, LPARAM lParam, LPARAM data)
{
    switch (message) {
    case BFFM_INITIALIZED:
        if (data) SendMessageW(browser, BFFM_SETSELECTIONW, TRUE, data);
        break;
    case BFFM_SELCHANGED: {
        wchar_t path[PATH_CCH], status[PATH_CCH + 16];
        if (SHGetPathFromIDListW((PCIDLIST_ABSOLUTE)lParam, path))
            StringCchPrintfW(status, PATH_CCH + 16, L"directory: %s", path);
        else
            StringCchCopyW(status, PATH_CCH + 16, L"directory: No path!");
        SetStatus(browser, status);
        break;
    }
    case BFFM_VALIDATEFAILEDW: SetStatus(browser, L"Validate failed"); break;
    }
    return 0;
}

// The folder the user picked, written over start; start is kept when the
// browse is cancelled or the pick has no file-system path.
void Browse(HWND owner, wchar_t *start)
{
    PIDLIST_ABSOLUTE root = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(owner, CSIDL_DESKTOP, &root)) || !root) return;
    // The resizable browser is built of COM objects of this thread.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    wchar_t displayName[PATH_CCH] = L"", title[PATH_CCH] = L"";
    LoadStringW(g_App->Instance, IDS_BROWSE_TITLE, title, PATH_CCH);
    BROWSEINFOW info = {};
    info.hwndOwner = owner;
    info.pidlRoot = root;
    info.pszDisplayName = displayName;
    info.lpszTitle = title;
    info.ulFlags = kBrowseFlags;
    info.lpfn = BrowseCallback;
    info.lParam = (LPARAM)start;
    PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&info);
    CoTaskMemFree(root);
    if (chosen) {
        wchar_t path[PATH_CCH];
        if (SHGetPathFromIDListW(chosen, path)) StringCchCopyW(start, PATH_CCH, path);
        CoTaskMemFree(chosen);
    }
    if (SUCCEEDED(com)) CoUninitialize();
}

} // namespace

void BrowseScreenshotFolder(HWND dialog)
{
    // From the folder in the edit, and back into the edit only: the settings
    // take it with the dialog's OK, and a cancelled dialog keeps theirs.
    HWND page = SettingsPage(dialog, PAGE_ACTION);
    wchar_t typed[PATH_CCH] = L"", start[PATH_CCH];
    GetDlgItemTextW(page, IDC_SHOT_FOLDER, typed, PATH_CCH);
    ExistingFolder(start, typed, L"");
    Browse(dialog, start);
    StringCchCopyW(g_App->BrowseFolder, PATH_CCH, start);
    ExistingFolder(typed, start, start);
    SetDlgItemTextW(page, IDC_SHOT_FOLDER, typed);
}
