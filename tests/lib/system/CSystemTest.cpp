#include "system/CSystem.h"

#include "support/WinTest.h"

#include <gtest/gtest.h>

#include <string>

// The test program's own version record (TestVersion.rc): 1.4.7.0, no company name.

namespace {

using std::wstring;

TEST(CSystem, NamesVersionsFoldersAndDisks)
{
    CSystem system;
    const HMODULE library = GetModuleHandleW(L"PictavoLib64.dll"), exe = GetModuleHandleW(nullptr);
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    const wstring program = path;
    EXPECT_EQ(wstring(system.GetAppName(true, false)), program.substr(0, program.size() - 4));
    EXPECT_STREQ(system.GetAppName(library, false, true), L"PictavoLib64.dll");
    EXPECT_EQ(wstring(system.GetAppDir(library)), program.substr(0, program.rfind(L'\\') + 1));
    EXPECT_EQ(wstring(system.GetAppRootDir()), program.substr(0, 3));
    wstring versions, infos;
    for (int parts = 0; parts <= 5; ++parts)
        versions += system.GetAppVersion(exe, parts) + wstring(L" ");
    EXPECT_EQ(versions, L"1.4.7 1 1.4 1.4.7 1.4.7.0 1.4.7 ");
    EXPECT_STREQ(system.GetAppVersion(4), L"1.8.6.0") << "without a module: the library";
    EXPECT_STREQ(system.GetAppVersion((HMODULE)(ULONG_PTR)0x10, 3), L"1.x.x.x");
    for (int index : {1, 4, 0, 10, -1})
        infos += system.GetAppInfo(index, L"d") + wstring(L"|");
    EXPECT_EQ(infos, L"System services test|Probe copyright \u00A9|d|d|d|");
    EXPECT_EQ(wcslen(system.GetAppInfo(9, L"d")), 99u) << "long entries are cut";
    EXPECT_STREQ(system.GetAppInfo(library, 0, L"d"), L"Orvandt");

    const wstring local = system.GetAppDataLocalDir(), documents = system.GetMyDocumentsDir();
    for (const wstring &folder :
         {local, wstring(system.GetAppDataRoamingDir()), documents, wstring(system.GetSystemDir()),
          wstring(system.GetProgramDataDir())})
        EXPECT_TRUE(wintest::IsFolder(folder)) << folder;
    EXPECT_NE(local, system.GetAppDataRoamingDir());
    const wchar_t *separator = documents.back() == L'\\' ? L"" : L"\\";
    EXPECT_EQ(wstring(system.GetMyPrntScrnDir()), documents + separator + L"Screenshots");
    // No company name: the sub-folder follows directly, and nothing is made.
    EXPECT_EQ(wstring(system.GetAppDataLocalDir(L"Sub\\Deeper")), local + L"\\Sub\\Deeper");
    EXPECT_FALSE(wintest::IsFolder(local + L"\\Sub"));

    const unsigned long long total = system.GetTotalDiskSpace(L"C:\\");
    EXPECT_TRUE(total > 0 && system.GetFreeDiskSpace(L"C:\\") <= total &&
                system.GetAvailableDiskSpace(L"C:\\") <= system.GetFreeDiskSpace(L"C:\\"));
    EXPECT_EQ(system.GetTotalDiskSpace(L"Q:\\"), 0u) << "no figures left over from C:";
}

} // namespace
