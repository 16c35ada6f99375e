// A program that links the library must not load at start the DLLs that
// only some of its calls need; each loads on the first such call. This test
// program holds nothing else, so that no other test loads one of them first,
// and its first test must stay first.
#include "filesystem/CArrayList.h"
#include "filesystem/CFileSystem.h"
#include "font/CFont.h"
#include "imaging/CImage.h"
#include "support/DialogPresser.h"
#include "system/CSystem.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <vector>

namespace {

struct LazyDlls {
    std::vector<const wchar_t *> dlls;
    const char *call;
    std::function<bool()> firstUse; // true when the call did its job
};

std::wstring TempFolder()
{
    wchar_t path[MAX_PATH] = L"";
    GetTempPathW(MAX_PATH, path);
    return path;
}

// A 2 x 1 24-bit BMP under a name that sends it to the OLE picture reader.
std::wstring WriteBmpForOle()
{
    const BYTE file[] = {'B', 'M', 62,  0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,                    // file
                         40,  0,   0,   0, 2, 0, 0, 0, 1, 0, 0,  0, 1, 0, 24, 0, 0, 0, 0, 0, // info
                         8,   0,   0,   0, 0, 0, 0, 0, 0, 0, 0,  0, 0, 0, 0,  0, 0, 0, 0, 0, 0,
                         0,   255, 255, 0, 0, 0, 0}; // red, blue, row padding
    const std::wstring path = TempFolder() + L"lazy-imports.picture";
    HANDLE out = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    if (out == INVALID_HANDLE_VALUE) return path;
    WriteFile(out, file, sizeof(file), &written, nullptr);
    CloseHandle(out);
    return path;
}

// In the order they run. A row's call may load the DLLs of later rows too
// (Wine's gdiplus imports ole32), so after each call only its own DLLs are
// looked for.
const std::vector<LazyDlls> &Rows()
{
    static const std::vector<LazyDlls> rows = {
        {{L"version.dll"},
         "GetAppVersion",
         [] { return wcscmp(CSystem().GetAppVersion(4), L"1.x.x.x") != 0; }},
        {{L"powrprof.dll"}, "GetCpuSpeed", [] { return CSystem::GetCpuSpeed() > 0; }},
        {{L"shlwapi.dll"},
         "GetDrives",
         [] {
             CArrayList drives;
             CFileSystem(L"C:\\", false).GetDrives(&drives);
             return drives.Contains(L"C:\\");
         }},
        {{L"ole32.dll", L"oleaut32.dll"},
         "Load through an OLE picture",
         [] {
             CImage image;
             return image.Load(WriteBmpForOle().c_str()) && image.GetWidth() == 2;
         }},
        {{L"shell32.dll"},
         "GetMyDocumentsDir",
         [] { return CSystem().GetMyDocumentsDir()[0] != L'\0'; }},
        {{L"gdiplus.dll"},
         "Save as PNG",
         [] {
             CImage image;
             return image.CreateBitmap(nullptr, 3, 2, 32) &&
                    image.Save(TempFolder().c_str(), L"lazy-imports.png");
         }},
        {{L"comdlg32.dll"},
         "SelectFont",
         [] {
             std::atomic<bool> shown{false};
             wintest::DialogPresser presser(IDCANCEL, [&](HWND) { shown = true; });
             return !CFont().SelectFont(nullptr) && shown;
         }},
    };
    return rows;
}

// Wine's own user32 imports version.dll: there it is in every process from
// the start, whatever the library does.
bool InEveryProcess(const wchar_t *dll)
{
    const bool wine = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
    return wine && wcscmp(dll, L"version.dll") == 0;
}

TEST(LazyImports, NoneIsLoadedAtStart)
{
    ASSERT_NE(GetModuleHandleW(L"PictavoLib64.dll"), nullptr);
    for (const LazyDlls &row : Rows())
        for (const wchar_t *dll : row.dlls)
            EXPECT_TRUE(InEveryProcess(dll) || !GetModuleHandleW(dll))
                << "loaded at start: " << dll;
}

TEST(LazyImports, EachLoadsOnTheFirstCallThatNeedsIt)
{
    for (const LazyDlls &row : Rows()) {
        EXPECT_TRUE(row.firstUse()) << row.call;
        for (const wchar_t *dll : row.dlls)
            EXPECT_NE(GetModuleHandleW(dll), nullptr) << row.call;
    }
}

} // namespace
