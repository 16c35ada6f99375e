#include "system/CSystem.h"

#include "support/WinTest.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

// The test program carries a version record of its own (TestVersion.rc):
// file version 1.4.7.0, no company name. The system actions that end the
// session are proven in a throwaway prefix (tests/harness), and monitor
// fitting on two monitors in a session of its own.

namespace {

std::wstring ExePath()
{
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return path;
}

bool IsFolder(const wchar_t *path)
{
    const DWORD attributes = GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

HMODULE Library()
{
    return GetModuleHandleW(L"PictavoLib64.dll");
}

// --- program file ------------------------------------------------------------

TEST(ProgramFile, NameInEveryForm)
{
    CSystem system;
    const std::wstring exe = ExePath();
    EXPECT_EQ(std::wstring(system.GetAppName(true, true)), exe);
    EXPECT_EQ(std::wstring(system.GetAppName(true, false)), exe.substr(0, exe.size() - 4));
    EXPECT_STREQ(system.GetAppName(false, true), L"lib_system_tests.exe");
    EXPECT_STREQ(system.GetAppName(false, false), L"lib_system_tests");
    EXPECT_STREQ(system.GetAppName(Library(), false, true), L"PictavoLib64.dll");

    const std::wstring dir = system.GetAppDir();
    EXPECT_EQ(dir, exe.substr(0, exe.rfind(L'\\') + 1));
    EXPECT_EQ(std::wstring(system.GetAppRootDir()), exe.substr(0, 3)) << "drive root like Z:\\";
    EXPECT_EQ(std::wstring(system.GetAppDir(Library())), dir) << "the library lies beside";
}

TEST(ProgramFile, OnlyADotInTheFileNameStartsTheExtension)
{
    // A copy of the library without extension in a folder with a dot.
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder =
        std::wstring(temp) + L"v1.2-" + std::to_wstring(GetCurrentProcessId());
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

TEST(ProgramFile, UnknownModuleGivesEmptyTexts)
{
    CSystem system;
    const HMODULE bogus = (HMODULE)(ULONG_PTR)0x10;
    EXPECT_STREQ(system.GetAppName(bogus, true, true), L"");
    EXPECT_STREQ(system.GetAppDir(bogus), L"");
    EXPECT_STREQ(system.GetAppRootDir(bogus), L"");
    EXPECT_STREQ(system.GetAppVersion(bogus, 3), L"1.x.x.x");
    EXPECT_STREQ(system.GetAppInfo(bogus, 4, L"none"), L"none");
}

// --- version resources --------------------------------------------------------

TEST(VersionRecord, FileVersionWithAnyPartCount)
{
    CSystem system;
    const HMODULE exe = GetModuleHandleW(nullptr);
    EXPECT_STREQ(system.GetAppVersion(exe, 1), L"1");
    EXPECT_STREQ(system.GetAppVersion(exe, 2), L"1.4");
    EXPECT_STREQ(system.GetAppVersion(exe, 3), L"1.4.7");
    EXPECT_STREQ(system.GetAppVersion(exe, 4), L"1.4.7.0");
    EXPECT_STREQ(system.GetAppVersion(exe, 9), L"1.4.7");
    EXPECT_STREQ(system.GetAppVersion(exe, 0), L"1.4.7");
    EXPECT_STREQ(system.GetAppVersion(3), L"1.8.6") << "without a module: the library";
    EXPECT_STREQ(system.GetAppVersion(Library(), 4), L"1.8.6.0");
}

TEST(VersionRecord, EntriesByIndex)
{
    CSystem system;
    EXPECT_STREQ(system.GetAppInfo(4, L"d"), L"Probe copyright \u00A9");
    EXPECT_STREQ(system.GetAppInfo(1, L"d"), L"System services test");
    EXPECT_STREQ(system.GetAppInfo(0, L"d"), L"d") << "no company name in the record";
    EXPECT_STREQ(system.GetAppInfo(10, L"d"), L"d");
    EXPECT_STREQ(system.GetAppInfo(-1, L"d"), L"d");
    EXPECT_EQ(wcslen(system.GetAppInfo(9, L"d")), 99u) << "long entries are cut";
    EXPECT_STREQ(system.GetAppInfo(Library(), 0, L"d"), L"Orvandt");
    EXPECT_STREQ(system.GetAppInfo(Library(), 8, L"d"), L"1.8.6.0");

    const std::wstring os = system.GetOSVersionInfo();
    EXPECT_FALSE(os.empty());
    EXPECT_NE(os, L"0.0.0.0") << "kernel32 has a product version";
}

// --- folders --------------------------------------------------------------------

TEST(Folders, SystemFoldersExist)
{
    CSystem system;
    const std::wstring windows = system.GetWindowsDir();
    EXPECT_TRUE(IsFolder(windows.c_str())) << windows;
    EXPECT_TRUE(IsFolder(system.GetSystemDir()));
    EXPECT_EQ(std::wstring(system.GetSysRootDir()), windows.substr(0, 3));
    wchar_t current[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, current);
    EXPECT_STREQ(system.GetWorkDir(), current);
}

TEST(Folders, ShellFoldersAreRealFoldersOfThePrefix)
{
    CSystem system;
    // Copied at once: the three data folders share one buffer.
    const std::wstring folders[] = {system.GetAppDataLocalDir(), system.GetAppDataRoamingDir(),
                                    system.GetProgramDataDir(),  system.GetDesktopDir(),
                                    system.GetMyDocumentsDir(),  system.GetMyPicturesDir()};
    for (const std::wstring &folder : folders)
        EXPECT_TRUE(IsFolder(folder.c_str())) << folder;
    EXPECT_NE(folders[0], folders[1]);
    EXPECT_NE(folders[1], folders[2]);
}

TEST(Folders, ScreenshotFolderIsBelowTheDocuments)
{
    CSystem system;
    std::wstring documents = system.GetMyDocumentsDir();
    if (documents.back() != L'\\') documents += L'\\';
    const std::wstring first = system.GetMyPrntScrnDir();
    EXPECT_EQ(first, documents + L"Screenshots");
    EXPECT_EQ(std::wstring(system.GetMyPrntScrnDir()), first) << "looked up afresh each time";
}

TEST(Folders, DataFoldersWithASubFolder)
{
    CSystem system;
    const std::wstring roaming = system.GetAppDataRoamingDir();
    // The test program has no company name: the sub-folder follows directly.
    EXPECT_EQ(std::wstring(system.GetAppDataRoamingDir(L"X")), roaming + L"\\X");
    EXPECT_EQ(std::wstring(system.GetAppDataRoamingDir(L"")), roaming);
    const std::wstring local = system.GetAppDataLocalDir();
    EXPECT_EQ(std::wstring(system.GetAppDataLocalDir(L"Sub\\Deeper")), local + L"\\Sub\\Deeper");
    EXPECT_FALSE(IsFolder((local + L"\\Sub").c_str())) << "nothing is created";
}

TEST(Folders, DownloadsFolderComesFromTheExplorerKey)
{
    const wchar_t key[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
    const wchar_t guid[] = L"{374DE290-123F-4565-9164-39C4925E467B}";
    wchar_t saved[MAX_PATH] = L"";
    DWORD size = sizeof(saved);
    const bool had = RegGetValueW(HKEY_CURRENT_USER, key, guid, RRF_RT_REG_SZ, nullptr, saved,
                                  &size) == ERROR_SUCCESS;

    const wchar_t value[] = L"C:\\users\\Somebody\\Downloads";
    ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, key, guid, REG_SZ, value, sizeof(value)),
              ERROR_SUCCESS);
    CSystem system;
    EXPECT_STREQ(system.GetMyDownloadsDir(), value);
    RegDeleteKeyValueW(HKEY_CURRENT_USER, key, guid);
    EXPECT_STREQ(system.GetMyDownloadsDir(), L"");

    if (had)
        RegSetKeyValueW(HKEY_CURRENT_USER, key, guid, REG_SZ, saved,
                        (DWORD)((wcslen(saved) + 1) * sizeof(wchar_t)));
}

// --- other texts and disk space ----------------------------------------------------

TEST(OtherTexts, EnvironmentVariables)
{
    CSystem system;
    const wchar_t name[] = L"PICTAVO_SYSTEM_TEST";
    SetEnvironmentVariableW(name, L"first value");
    EXPECT_STREQ(system.GetEnvironment(name), L"first value");
    SetEnvironmentVariableW(name, nullptr);
    EXPECT_STREQ(system.GetEnvironment(name), L"first value") << "unset keeps the last text";

    const std::wstring longValue(400, L'e');
    SetEnvironmentVariableW(name, longValue.c_str());
    EXPECT_EQ(std::wstring(system.GetEnvironment(name)), longValue.substr(0, 259));
    SetEnvironmentVariableW(name, nullptr);
}

TEST(OtherTexts, ComputerNameFitsItsBuffer)
{
    CSystem system;
    const size_t length = wcslen(system.ComputerName());
    EXPECT_GT(length, 0u);
    EXPECT_LE(length, 14u);
}

TEST(DiskSpace, RealDriveAndUnknownDrive)
{
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

// --- checks and small services -------------------------------------------------------

TEST(Checks, OperatingSystemOfTheSession)
{
    // The session's prefix reports Windows 10; other versions are checked in
    // a throwaway prefix.
    EXPECT_TRUE(CSystem::IsNT());
    EXPECT_TRUE(CSystem::IsWinXPOrHigher());
    EXPECT_TRUE(CSystem::IsWin8OrHigher());
    EXPECT_TRUE(CSystem::Is64BitWindow());
}

TEST(Checks, ProcessorSpeedIsAPlausibleFigure)
{
    const int mhz = CSystem::GetCpuSpeed();
    EXPECT_GE(mhz, 0);
    EXPECT_LT(mhz, 100000);
}

TEST(Random, StaysInItsRange)
{
    for (int i = 0; i < 20; ++i) {
        const int die = CSystem::Random(1, 6);
        EXPECT_GE(die, 1);
        EXPECT_LE(die, 6);
    }
    EXPECT_EQ(CSystem::Random(5, 5), 5);
    EXPECT_EQ(CSystem::Random(-3, -3), -3);
    // Reversed bounds are a range too, not a division by zero.
    const int reversed = CSystem::Random(6, 1);
    EXPECT_GE(reversed, 1);
    EXPECT_LE(reversed, 6);
    const int pair = CSystem::Random(8, 7);
    EXPECT_TRUE(pair == 7 || pair == 8) << pair;
    const int wide = CSystem::Random(INT_MIN, INT_MAX);
    (void)wide; // must not overflow
}

TEST(CallExternProg, StartsAProgramThroughTheShell)
{
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring marker =
        std::wstring(temp) + L"pictavo-extern-" + std::to_wstring(GetCurrentProcessId()) + L".txt";
    DeleteFileW(marker.c_str());
    const std::wstring parameters = L"/c echo started > \"" + marker + L"\"";
    HINSTANCE result =
        CSystem::CallExternProg(nullptr, nullptr, L"cmd.exe", parameters.c_str(), SW_HIDE);
    EXPECT_GT((INT_PTR)result, 32);
    EXPECT_TRUE(wintest::WaitUntil(
        [&] { return GetFileAttributesW(marker.c_str()) != INVALID_FILE_ATTRIBUTES; }, 10000));
    DeleteFileW(marker.c_str());

    result =
        CSystem::CallExternProg(nullptr, L"open", L"C:\\no\\such\\program.exe", nullptr, SW_HIDE);
    EXPECT_LE((INT_PTR)result, 32);
}

// --- monitor fit on the session's one monitor ----------------------------------------

class OneMonitor : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(GetSystemMetrics(SM_CMONITORS), 1); }
    static RECT Fit(LONG x, LONG y, LONG w, LONG h, bool keepWhole = true)
    {
        return CSystem::CheckDimension(RECT{x, y, w, h}, RECT{0, 0, 1920, 1040}, false, keepWhole);
    }
    static void Expect(const RECT &r, LONG x, LONG y, LONG w, LONG h)
    {
        EXPECT_EQ(r.left, x);
        EXPECT_EQ(r.top, y);
        EXPECT_EQ(r.right, w);
        EXPECT_EQ(r.bottom, h);
    }
};

TEST_F(OneMonitor, TheAreaIsTheLimit)
{
    Expect(Fit(100, 100, 300, 200), 100, 100, 300, 200);
    Expect(Fit(1800, 100, 300, 200), 1620, 100, 300, 200);
    Expect(Fit(-50, -20, 300, 200), 0, 0, 300, 200);
    Expect(Fit(10, 10, 2500, 1200), 0, 0, 1920, 1040);
    Expect(Fit(1800, 100, 300, 200, false), 1800, 100, 120, 200);
    Expect(Fit(INT_MIN, INT_MIN, 300, 200), INT_MIN, INT_MIN, 300, 200);
}

TEST_F(OneMonitor, FarOffWindowsNeitherWrapNorGetNegativeSizes)
{
    Expect(Fit(INT_MAX - 10, 100, 300, 200), 1620, 100, 300, 200);
    Expect(Fit(3000, 2000, 300, 200, false), 3000, 2000, 0, 0);
    // Only both fields at the most negative int mean "unknown".
    Expect(Fit(INT_MIN, 5, 300, 200), 0, 5, 300, 200);
}

} // namespace
