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

std::wstring Temp(const wchar_t *name)
{
    wchar_t path[MAX_PATH] = L"";
    GetTempPathW(MAX_PATH, path);
    return path + std::wstring(name);
}

// A 1 x 1 24-bit BMP under a name that sends it to the OLE picture reader.
std::wstring BmpForOle()
{
    const BYTE file[58] = {'B', 'M', 58, 0, 0, 0, 0, 0,  0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 1, 0, 0,
                           0,   1,   0,  0, 0, 1, 0, 24, 0, 0, 0,  0, 0, 4, 0,  0, 0, 0, 0, 0, 0};
    const std::wstring path = Temp(L"lazy-imports.picture");
    HANDLE out = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(out, file, sizeof(file), &written, nullptr);
    CloseHandle(out);
    return path;
}

// In the order they run. A call may load the DLLs of later rows too (Wine's
// gdiplus imports ole32), so after each call only its own are looked for.
const std::vector<std::pair<std::vector<const wchar_t *>, std::function<bool()>>> kRows = {
    {{L"version.dll"}, [] { return wcscmp(CSystem().GetAppVersion(4), L"1.x.x.x") != 0; }},
    {{L"powrprof.dll"}, [] { return CSystem::GetCpuSpeed() > 0; }},
    {{L"shlwapi.dll"},
     [] {
         CArrayList drives;
         CFileSystem(L"C:\\", false).GetDrives(&drives);
         return drives.Contains(L"C:\\");
     }},
    {{L"ole32.dll", L"oleaut32.dll"}, [] { return CImage().Load(BmpForOle().c_str()); }},
    {{L"shell32.dll"}, [] { return CSystem().GetMyDocumentsDir()[0] != L'\0'; }},
    {{L"gdiplus.dll"},
     [] {
         CImage image;
         return image.CreateBitmap(nullptr, 3, 2, 32) &&
                image.Save(Temp(L"").c_str(), L"lazy-imports.png");
     }},
    {{L"comdlg32.dll"},
     [] {
         std::atomic<bool> shown{false}; // set before the button is pressed
         wintest::DialogPresser presser(IDCANCEL, [&](HWND) { shown = true; });
         return !CFont().SelectFont(nullptr) && shown;
     }},
};

// Wine's own user32 imports version.dll: there it is in every process.
bool InEveryProcess(const wchar_t *dll)
{
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") &&
           wcscmp(dll, L"version.dll") == 0;
}

TEST(LazyImports, NoneIsLoadedAtStart)
{
    ASSERT_NE(GetModuleHandleW(L"PictavoLib64.dll"), nullptr);
    for (const auto &row : kRows)
        for (const wchar_t *dll : row.first)
            EXPECT_TRUE(InEveryProcess(dll) || !GetModuleHandleW(dll))
                << "loaded at start: " << dll;
}

TEST(LazyImports, EachLoadsOnTheFirstCallThatNeedsIt)
{
    for (const auto &row : kRows) {
        EXPECT_TRUE(row.second()) << row.first[0];
        for (const wchar_t *dll : row.first)
            EXPECT_NE(GetModuleHandleW(dll), nullptr) << dll;
    }
}

} // namespace
