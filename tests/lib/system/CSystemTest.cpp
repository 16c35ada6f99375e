#include "system/CSystem.h"

#include "support/WinTest.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

// The test program carries a version record of its own (TestVersion.rc):
// file version 1.4.7.0, no company name. The actions that end the session
// run in a throwaway prefix, monitor fitting on two monitors in a session
// of its own.

namespace {

using std::wstring;

TEST(CSystem, ProgramNamesVersionsAndFolders)
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

    wstring versions;
    for (int parts = 0; parts <= 5; ++parts)
        versions += system.GetAppVersion(exe, parts) + wstring(L" ");
    EXPECT_EQ(versions, L"1.4.7 1 1.4 1.4.7 1.4.7.0 1.4.7 ");
    EXPECT_STREQ(system.GetAppVersion(4), L"1.8.6.0") << "without a module: the library";
    EXPECT_STREQ(system.GetAppVersion((HMODULE)(ULONG_PTR)0x10, 3), L"1.x.x.x");
    wstring infos;
    for (int index : {1, 4, 0, 10, -1})
        infos += system.GetAppInfo(index, L"d") + wstring(L"|");
    EXPECT_EQ(infos, L"System services test|Probe copyright \u00A9|d|d|d|");
    EXPECT_EQ(wcslen(system.GetAppInfo(9, L"d")), 99u) << "long entries are cut";
    EXPECT_STREQ(system.GetAppInfo(library, 0, L"d"), L"Orvandt");

    const wstring local = system.GetAppDataLocalDir(), roaming = system.GetAppDataRoamingDir(),
                  documents = system.GetMyDocumentsDir();
    for (const wstring &folder : {local, roaming, documents, wstring(system.GetSystemDir()),
                                  wstring(system.GetProgramDataDir())})
        EXPECT_TRUE(wintest::IsFolder(folder)) << folder;
    EXPECT_NE(local, roaming);
    const wchar_t *separator = documents.back() == L'\\' ? L"" : L"\\";
    EXPECT_EQ(wstring(system.GetMyPrntScrnDir()), documents + separator + L"Screenshots");
    // No company name: the sub-folder follows directly, and nothing is made.
    EXPECT_EQ(wstring(system.GetAppDataLocalDir(L"Sub\\Deeper")), local + L"\\Sub\\Deeper");
    EXPECT_FALSE(wintest::IsFolder(local + L"\\Sub"));
    SetEnvironmentVariableW(L"PICTAVO_SYSTEM_TEST", wstring(400, L'e').c_str());
    EXPECT_EQ(wstring(system.GetEnvironment(L"PICTAVO_SYSTEM_TEST")), wstring(259, L'e'));
}

TEST(CSystem, OnlyADotInTheFileNameStartsTheExtension)
{
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const wstring folder = temp + wintest::UniqueName(L"v1.2-"), copy = folder + L"\\PictavoCopy";
    CreateDirectoryW(folder.c_str(), nullptr);
    ASSERT_TRUE(
        CopyFileW(wintest::BesideTestProgram(L"PictavoLib64.dll").c_str(), copy.c_str(), 0));
    HMODULE module = LoadLibraryExW((copy + L".").c_str(), nullptr, 0);
    ASSERT_NE(module, nullptr);
    EXPECT_EQ(wstring(CSystem().GetAppName(module, true, false)), copy);
    FreeLibrary(module);
    DeleteFileW(copy.c_str());
    RemoveDirectoryW(folder.c_str());
}

TEST(CSystem, DiskSpaceAndTheShell)
{
    CSystem system;
    const unsigned long long total = system.GetTotalDiskSpace(L"C:\\");
    EXPECT_TRUE(total > 0 && system.GetFreeDiskSpace(L"C:\\") <= total &&
                system.GetAvailableDiskSpace(L"C:\\") <= system.GetFreeDiskSpace(L"C:\\"));
    EXPECT_EQ(system.GetTotalDiskSpace(L"Q:\\"), 0u) << "no figures left over from C:";
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const wstring marker = temp + wintest::UniqueName(L"extern-") + L".txt";
    const wstring parameters = L"/c echo started > \"" + marker + L"\"";
    EXPECT_GT((INT_PTR)CSystem::CallExternProg(nullptr, nullptr, L"cmd.exe", parameters.c_str(), 0),
              32);
    EXPECT_TRUE(wintest::WaitUntil(
        [&] { return GetFileAttributesW(marker.c_str()) != INVALID_FILE_ATTRIBUTES; }, 10000));
    DeleteFileW(marker.c_str());
}

TEST(CSystem, CheckDimensionKeepsWindowsInsideTheAreaOfTheOneMonitor)
{
    ASSERT_EQ(GetSystemMetrics(SM_CMONITORS), 1);
    const struct {
        RECT window; // x, y, width, height
        bool keepWhole;
        std::vector<LONG> fitted;
    } cases[] = {{{100, 100, 300, 200}, true, {100, 100, 300, 200}},
                 {{1800, 100, 300, 200}, true, {1620, 100, 300, 200}},
                 {{-50, -20, 300, 200}, true, {0, 0, 300, 200}},
                 {{10, 10, 2500, 1200}, true, {0, 0, 1920, 1040}},
                 {{1800, 100, 300, 200}, false, {1800, 100, 120, 200}},
                 {{INT_MAX - 10, 100, 300, 200}, true, {1620, 100, 300, 200}}, // no wrap
                 {{3000, 2000, 300, 200}, false, {3000, 2000, 0, 0}},
                 {{INT_MIN, INT_MIN, 300, 200}, true, {INT_MIN, INT_MIN, 300, 200}}, // unknown
                 {{INT_MIN, 5, 300, 200}, true, {0, 5, 300, 200}}};
    for (const auto &c : cases) {
        const RECT r =
            CSystem::CheckDimension(c.window, RECT{0, 0, 1920, 1040}, false, c.keepWhole);
        EXPECT_EQ(std::vector<LONG>({r.left, r.top, r.right, r.bottom}), c.fitted)
            << c.window.left << "," << c.window.top << (c.keepWhole ? " whole" : "");
    }
    const int dice = CSystem::Random(6, 1); // bounds either way round
    EXPECT_TRUE(dice >= 1 && dice <= 6 && CSystem::Random(-3, -3) == -3) << dice;
}

} // namespace
