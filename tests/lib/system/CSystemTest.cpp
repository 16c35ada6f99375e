#include "system/CSystem.h"

#include "support/WinTest.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

// The test program carries a version record of its own (TestVersion.rc):
// file version 1.4.7.0, no company name. The system actions that end the
// session are proven in a throwaway prefix (tests/harness), and monitor
// fitting on two monitors in a session of its own.

using wintest::IsFolder;

namespace {

HMODULE Library()
{
    return GetModuleHandleW(L"PictavoLib64.dll");
}

TEST(ProgramFile, NameAndFoldersInEveryForm)
{
    CSystem system;
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::wstring exe = path;
    const std::wstring dir = exe.substr(0, exe.rfind(L'\\') + 1);
    EXPECT_EQ(std::wstring(system.GetAppName(true, true)), exe);
    EXPECT_EQ(std::wstring(system.GetAppName(true, false)), exe.substr(0, exe.size() - 4));
    EXPECT_STREQ(system.GetAppName(Library(), false, true), L"PictavoLib64.dll");
    EXPECT_EQ(std::wstring(system.GetAppDir()), dir);
    EXPECT_EQ(std::wstring(system.GetAppDir(Library())), dir) << "the library lies beside";
    EXPECT_EQ(std::wstring(system.GetAppRootDir()), exe.substr(0, 3)) << "drive root like Z:\\";

    // A module that is no module gives empty texts and defaults.
    const HMODULE bogus = (HMODULE)(ULONG_PTR)0x10;
    EXPECT_EQ(std::wstring(system.GetAppName(bogus, true, true)) + system.GetAppDir(bogus) +
                  system.GetAppRootDir(bogus),
              L"");
    EXPECT_STREQ(system.GetAppVersion(bogus, 3), L"1.x.x.x");
    EXPECT_STREQ(system.GetAppInfo(bogus, 4, L"none"), L"none");
}

TEST(ProgramFile, OnlyADotInTheFileNameStartsTheExtension)
{
    // A copy of the library without extension in a folder with a dot.
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = temp + wintest::UniqueName(L"v1.2-");
    const std::wstring copy = folder + L"\\PictavoCopy";
    CreateDirectoryW(folder.c_str(), nullptr);
    ASSERT_TRUE(
        CopyFileW(wintest::BesideTestProgram(L"PictavoLib64.dll").c_str(), copy.c_str(), FALSE));
    HMODULE module = LoadLibraryExW((copy + L".").c_str(), nullptr, 0);
    ASSERT_NE(module, nullptr);
    CSystem system;
    const std::wstring full = system.GetAppName(module, true, false);
    EXPECT_EQ(full.substr(full.rfind(L'\\') + 1), L"PictavoCopy");
    EXPECT_NE(full.find(L"v1.2-"), std::wstring::npos) << full;
    EXPECT_STREQ(system.GetAppName(module, false, false), L"PictavoCopy");
    FreeLibrary(module);
    DeleteFileW(copy.c_str());
    RemoveDirectoryW(folder.c_str());
}

TEST(VersionRecord, FileVersionWithAnyPartCountAndEntriesByIndex)
{
    CSystem system;
    const HMODULE exe = GetModuleHandleW(nullptr);
    const wchar_t *const versions[] = {L"1.4.7", L"1", L"1.4", L"1.4.7", L"1.4.7.0"};
    for (int parts = 0; parts <= 4; ++parts)
        EXPECT_STREQ(system.GetAppVersion(exe, parts), versions[parts]) << parts;
    EXPECT_STREQ(system.GetAppVersion(exe, 9), L"1.4.7");
    EXPECT_STREQ(system.GetAppVersion(3), L"1.8.6") << "without a module: the library";
    EXPECT_STREQ(system.GetAppVersion(Library(), 4), L"1.8.6.0");

    EXPECT_STREQ(system.GetAppInfo(4, L"d"), L"Probe copyright \u00A9");
    EXPECT_STREQ(system.GetAppInfo(1, L"d"), L"System services test");
    EXPECT_STREQ(system.GetAppInfo(0, L"d"), L"d") << "no company name in the record";
    EXPECT_STREQ(system.GetAppInfo(10, L"d"), L"d");
    EXPECT_STREQ(system.GetAppInfo(-1, L"d"), L"d");
    EXPECT_EQ(wcslen(system.GetAppInfo(9, L"d")), 99u) << "long entries are cut";
    EXPECT_STREQ(system.GetAppInfo(Library(), 0, L"d"), L"Orvandt");
    EXPECT_STREQ(system.GetAppInfo(Library(), 2, L"d"), L"1.8.6.0");
    const std::wstring os = system.GetOSVersionInfo();
    EXPECT_TRUE(!os.empty() && os != L"0.0.0.0") << "kernel32 has a product version";
}

TEST(Folders, SystemAndShellFoldersAreRealFoldersOfThePrefix)
{
    CSystem system;
    const std::wstring windows = system.GetWindowsDir();
    EXPECT_EQ(std::wstring(system.GetSysRootDir()), windows.substr(0, 3));
    wchar_t current[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, current);
    EXPECT_STREQ(system.GetWorkDir(), current);
    // Copied at once: the three data folders share one buffer.
    const std::wstring folders[] = {windows,
                                    system.GetSystemDir(),
                                    system.GetAppDataLocalDir(),
                                    system.GetAppDataRoamingDir(),
                                    system.GetProgramDataDir(),
                                    system.GetDesktopDir(),
                                    system.GetMyDocumentsDir(),
                                    system.GetMyPicturesDir()};
    for (const std::wstring &folder : folders)
        EXPECT_TRUE(IsFolder(folder)) << folder;
    EXPECT_NE(folders[2], folders[3]);
    EXPECT_NE(folders[3], folders[4]);
    const wchar_t *separator = folders[6].back() == L'\\' ? L"" : L"\\";
    EXPECT_EQ(std::wstring(system.GetMyPrntScrnDir()), folders[6] + separator + L"Screenshots");

    // The test program has no company name: the sub-folder follows directly,
    // and nothing is created.
    EXPECT_EQ(std::wstring(system.GetAppDataRoamingDir(L"X")), folders[3] + L"\\X");
    EXPECT_EQ(std::wstring(system.GetAppDataRoamingDir(L"")), folders[3]);
    EXPECT_EQ(std::wstring(system.GetAppDataLocalDir(L"Sub\\Deeper")),
              folders[2] + L"\\Sub\\Deeper");
    EXPECT_FALSE(IsFolder(folders[2] + L"\\Sub"));
}

TEST(OtherTexts, LongEnvironmentValuesAreCut)
{
    CSystem system;
    const std::wstring longValue(400, L'e');
    SetEnvironmentVariableW(L"PICTAVO_SYSTEM_TEST", longValue.c_str());
    EXPECT_EQ(std::wstring(system.GetEnvironment(L"PICTAVO_SYSTEM_TEST")),
              longValue.substr(0, 259));
    SetEnvironmentVariableW(L"PICTAVO_SYSTEM_TEST", nullptr);
    const size_t length = wcslen(system.ComputerName());
    EXPECT_TRUE(length > 0 && length <= 14) << length;
}

TEST(SystemChecks, OperatingSystemAndDiskSpaceOfRealAndUnknownDrives)
{
    // The session's prefix reports Windows 10; other versions are checked in
    // a throwaway prefix.
    EXPECT_TRUE(CSystem::IsNT() && CSystem::IsWin8OrHigher() && CSystem::Is64BitWindow());
    CSystem system;
    const unsigned long long total = system.GetTotalDiskSpace(L"C:\\");
    EXPECT_GT(total, 0u);
    EXPECT_LE(system.GetFreeDiskSpace(L"C:\\"), total);
    EXPECT_LE(system.GetAvailableDiskSpace(L"C:\\"), system.GetFreeDiskSpace(L"C:\\"));
    // Asked right after a real drive: no figures left over from it.
    EXPECT_EQ(system.GetTotalDiskSpace(L"C:\\no\\such\\folder\\at\\all"), 0u);
    EXPECT_EQ(system.GetFreeDiskSpace(L"Q:\\"), 0u);
    EXPECT_EQ(system.GetAvailableDiskSpace(nullptr), 0u);
}

TEST(Random, StaysInItsRangeWhicheverWayRoundTheBoundsAre)
{
    const struct {
        int min, max, low, high;
    } cases[] = {{1, 6, 1, 6}, {5, 5, 5, 5}, {-3, -3, -3, -3},
                 {6, 1, 1, 6}, {8, 7, 7, 8}, {INT_MIN, INT_MAX, INT_MIN, INT_MAX}};
    for (const auto &c : cases) {
        for (int i = 0; i < 20; ++i) {
            const int value = CSystem::Random(c.min, c.max);
            EXPECT_TRUE(value >= c.low && value <= c.high)
                << c.min << ".." << c.max << ": " << value;
        }
    }
}

TEST(CallExternProg, StartsAProgramThroughTheShell)
{
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring marker = temp + wintest::UniqueName(L"pictavo-extern-") + L".txt";
    const std::wstring parameters = L"/c echo started > \"" + marker + L"\"";
    EXPECT_GT(
        (INT_PTR)CSystem::CallExternProg(nullptr, nullptr, L"cmd.exe", parameters.c_str(), SW_HIDE),
        32);
    EXPECT_TRUE(wintest::WaitUntil(
        [&] { return GetFileAttributesW(marker.c_str()) != INVALID_FILE_ATTRIBUTES; }, 10000));
    DeleteFileW(marker.c_str());
    EXPECT_LE((INT_PTR)CSystem::CallExternProg(nullptr, L"open", L"C:\\no\\such\\program.exe",
                                               nullptr, SW_HIDE),
              32);
}

TEST(CheckDimension, OnTheSessionsOneMonitorTheAreaIsTheLimit)
{
    ASSERT_EQ(GetSystemMetrics(SM_CMONITORS), 1);
    using Rect = std::vector<LONG>;
    const struct {
        RECT window;
        bool keepWhole;
        Rect fitted;
    } cases[] = {
        {{100, 100, 300, 200}, true, {100, 100, 300, 200}},
        {{1800, 100, 300, 200}, true, {1620, 100, 300, 200}},
        {{-50, -20, 300, 200}, true, {0, 0, 300, 200}},
        {{10, 10, 2500, 1200}, true, {0, 0, 1920, 1040}},
        {{1800, 100, 300, 200}, false, {1800, 100, 120, 200}},
        // Far-off windows neither wrap nor get negative sizes.
        {{INT_MAX - 10, 100, 300, 200}, true, {1620, 100, 300, 200}},
        {{3000, 2000, 300, 200}, false, {3000, 2000, 0, 0}},
        // Only both fields at the most negative int mean "unknown".
        {{INT_MIN, INT_MIN, 300, 200}, true, {INT_MIN, INT_MIN, 300, 200}},
        {{INT_MIN, 5, 300, 200}, true, {0, 5, 300, 200}},
    };
    for (const auto &c : cases) {
        const RECT r =
            CSystem::CheckDimension(c.window, RECT{0, 0, 1920, 1040}, false, c.keepWhole);
        EXPECT_EQ(Rect({r.left, r.top, r.right, r.bottom}), c.fitted)
            << c.window.left << "," << c.window.top << " " << c.window.right << "x"
            << c.window.bottom;
    }
}

} // namespace
