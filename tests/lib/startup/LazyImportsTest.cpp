// The DLLs that only some calls need load on the first such call, not at start. This
// program holds nothing else, so that no other test loads one of them first.
#include "filesystem/CFileSystem.h"
#include "font/CFont.h"
#include "imaging/CImage.h"
#include "support/DialogPresser.h"
#include "system/CSystem.h"

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

namespace {

// Those of the DLLs (separated by spaces) that are loaded, each followed by a space.
std::wstring Loaded(const wchar_t *dlls)
{
    std::wstring loaded, dll;
    for (std::wistringstream in(dlls); in >> dll;)
        if (GetModuleHandleW(dll.c_str())) loaded += dll + L" ";
    return loaded;
}

TEST(LazyImports, NoneIsLoadedAtStartAndEachOnTheFirstCallThatNeedsIt)
{
    wchar_t temp[MAX_PATH] = L"";
    GetTempPathW(MAX_PATH, temp);
    const std::wstring picture = temp + std::wstring(L"lazy-imports.picture");
    const char bmp[58] = {'B', 'M', 58, 0, 0, 0, 0, 0,  0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 1, 0, 0,
                          0,   1,   0,  0, 0, 1, 0, 24, 0, 0, 0,  0, 0, 4, 0,  0, 0, 0, 0, 0, 0};
    std::ofstream(picture.c_str(), std::ios::binary).write(bmp, sizeof(bmp)); // for OLE: 1 x 1
    // In the order they run. A call may load the DLLs of later rows too (Wine's
    // gdiplus imports ole32), so after each call only its own are looked for.
    const std::pair<const wchar_t *, std::function<bool()>> rows[] = {
        {L"version.dll", [] { return wcscmp(CSystem().GetAppVersion(4), L"1.x.x.x") != 0; }},
        {L"powrprof.dll", [] { return CSystem::GetCpuSpeed() > 0; }},
        {L"shlwapi.dll",
         [] {
             CArrayList drives;
             CFileSystem(L"C:\\", false).GetDrives(&drives);
             return drives.Contains(L"C:\\");
         }},
        {L"ole32.dll oleaut32.dll", [&] { return CImage().Load(picture.c_str()); }},
        {L"shell32.dll", [] { return CSystem().GetMyDocumentsDir()[0] != L'\0'; }},
        {L"gdiplus.dll",
         [&] {
             CImage image;
             return image.CreateBitmap(nullptr, 3, 2, 32) && image.Save(temp, L"lazy-imports.png");
         }},
        {L"comdlg32.dll", [] {
             std::atomic<bool> shown{false}; // set before the button is pressed
             wintest::DialogPresser presser(IDCANCEL, [&](HWND) { shown = true; });
             return !CFont().SelectFont(nullptr) && shown;
         }}};
    // Wine's own user32 imports version.dll: there it is in every process.
    const bool wine = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version");
    for (const auto &row : rows)
        EXPECT_EQ(Loaded(row.first),
                  wine && !wcscmp(row.first, L"version.dll") ? L"version.dll " : L"")
            << "loaded at start";
    for (const auto &row : rows) {
        EXPECT_TRUE(row.second()) << row.first;
        EXPECT_EQ(Loaded(row.first), row.first + std::wstring(L" "));
    }
}

} // namespace
