#include "FileSystemTestSupport.h"

#include <string>

namespace {

// The base path as the object holds it: joining an empty name gives it back.
std::wstring Base(CFileSystem &fs)
{
    return fs.CombinePath(L"");
}

// wYear, wMonth, wDayOfWeek, wDay, wHour, wMinute, wSecond.
SYSTEMTIME Moment(WORD y, WORD mo, WORD d, WORD h, WORD mi, WORD s)
{
    return SYSTEMTIME{y, mo, 0, d, h, mi, s, 0};
}

TEST(FileSystemPathText, ConstructionAndCleaning)
{
    CFileSystem twice(L"C:\\temp\\\\\\", true);
    EXPECT_EQ(Base(twice), L"C:\\temp\\");
    CFileSystem longer(std::wstring(400, L'p').c_str(), true);
    EXPECT_EQ(Base(longer), std::wstring(259, L'p'));

    // Never above the server of a share; only whole ".." steps go up.
    const wchar_t *const cases[][2] = {{L"C:\\a\\.\\b\\..\\c", L"C:\\a\\c"},
                                       {L"C:\\..\\x", L"C:\\x"},
                                       {L"C:\\a\\..\\..\\..\\x", L"C:\\x"},
                                       {L"C:", L"C:\\"},
                                       {L"C:abc", L"C:\\"},
                                       {L"\\\\server\\share\\x\\..\\y", L"\\\\server\\share\\y"},
                                       {L"\\\\server\\..\\..\\y", L"\\\\server\\y"},
                                       {L"temp\\x", L""},
                                       {L"\\temp", L""},
                                       {L"", L""},
                                       {L"C:\\a..\\b", L"C:\\a..\\b"},
                                       {L"C:\\a\\b\\..", L"C:\\a\\b\\.."}};
    for (const auto &c : cases) {
        CFileSystem fs(c[0], true);
        EXPECT_STREQ(fs.CleanPath(), c[1]) << c[0];
        EXPECT_EQ(Base(fs), c[1]) << "the cleaned path becomes the base";
    }
}

TEST(FileSystemPathText, CombinePathJoinsWithOneBackslashOrRefuses)
{
    auto combine = [](const wchar_t *base, const wchar_t *name) {
        CFileSystem fs(base, false);
        return std::wstring(fs.CombinePath(name));
    };
    EXPECT_EQ(combine(L"C:\\a\\", L"b"), L"C:\\a\\b");
    EXPECT_EQ(combine(L"C:\\a\\", L"\\b"), L"C:\\a\\b");
    EXPECT_EQ(combine(L"C:\\a", L"b"), L"C:\\a\\b");
    EXPECT_EQ(combine(L"", L"b"), L"b");
    EXPECT_EQ(combine(L"C:\\a", nullptr), L"C:\\a");
    // A path that would not fit is refused: a cut one names another file.
    EXPECT_EQ(combine(L"C:", std::wstring(256, L'n').c_str()), L"C:\\" + std::wstring(256, L'n'));
    EXPECT_EQ(combine(L"C:\\a", std::wstring(255, L'n').c_str()), L"");
    EXPECT_EQ(combine(L"", std::wstring(260, L'n').c_str()), L"");
}

TEST(FileSystemWildcard, DateAndTimeFields)
{
    CFileSystem fs(L"", true);
    const SYSTEMTIME eve = Moment(2024, 12, 31, 23, 59, 58);
    const SYSTEMTIME early = Moment(2031, 1, 2, 3, 4, 5);
    EXPECT_STREQ(fs.ReplaceWildcard(L"Tempulo_{yyyyMMdd_hhmmss}", eve), L"Tempulo_20241231_235958");
    EXPECT_STREQ(fs.ReplaceWildcard(L"{dd.MM.yy} {hh-mm-ss}.png", early), L"02.01.31 03-04-05.png");
    EXPECT_STREQ(fs.ReplaceWildcard(L"plain yyyy MM", early), L"plain yyyy MM");
    EXPECT_STREQ(fs.ReplaceWildcard(L"{yy}", eve), L"24");
    EXPECT_STREQ(fs.ReplaceWildcard(L"{M}", eve), L"M");
    EXPECT_STREQ(fs.ReplaceWildcard(L"{yyy}{HH}a{b", eve), L"24yHHab");
    EXPECT_STREQ(fs.ReplaceWildcard(nullptr, eve), L"");
    // Five-digit years exist; a name that no longer fits is refused.
    EXPECT_STREQ(fs.ReplaceWildcard(L"{yyyy}", Moment(30827, 1, 1, 0, 0, 0)), L"30827");
    const std::wstring longest = std::wstring(255, L'n') + L"{yyyy}";
    EXPECT_EQ(std::wstring(fs.ReplaceWildcard(longest.c_str(), eve)).size(), 259u);
    EXPECT_STREQ(fs.ReplaceWildcard((L"n" + longest).c_str(), eve), L"");

    SYSTEMTIME before, after;
    GetLocalTime(&before);
    const std::wstring year = fs.ReplaceWildcard(L"{yyyy}");
    GetLocalTime(&after);
    EXPECT_TRUE(year == std::to_wstring(before.wYear) || year == std::to_wstring(after.wYear));
}

using FileSystemCounter = ScratchFolder;

TEST_F(FileSystemCounter, TakesTheFirstFreeNumber)
{
    const SYSTEMTIME now = Moment(2024, 5, 6, 7, 8, 9);
    CFileSystem fs(root.c_str(), true);
    EXPECT_STREQ(fs.ReplaceWildcard(L"Shot{000}", now), L"Shot001");
    MakeFile(L"Shot001");
    MakeFile(L"Shot002");
    EXPECT_STREQ(fs.ReplaceWildcard(L"Shot{000}", now), L"Shot003");
    MakeFolder(L"Shot003"); // a folder takes the name as well
    CFileSystem slash((root + L"\\").c_str(), true);
    EXPECT_STREQ(slash.ReplaceWildcard(L"Shot{000}", now), L"Shot004");
    MakeFile(L"20240506_1.png");
    EXPECT_STREQ(fs.ReplaceWildcard(L"{yyyyMMdd}_{0}.png", now), L"20240506_2.png");
    MakeFile(L"0-1"); // digits spread over the name
    EXPECT_STREQ(fs.ReplaceWildcard(L"{0}-{0}", now), L"0-2");
    // Every number taken: no name rather than one that overwrites a file.
    for (int n = 1; n <= 9; ++n)
        MakeFile(L"Pic" + std::to_wstring(n));
    EXPECT_STREQ(fs.ReplaceWildcard(L"Pic{0}", now), L"");
    EXPECT_STREQ(fs.ReplaceWildcard(L"Pic{00}", now), L"Pic01");
}

TEST_F(FileSystemCounter, EmptyBaseSearchesTheCurrentFolder)
{
    wchar_t previous[MAX_PATH];
    ASSERT_GT(GetCurrentDirectoryW(MAX_PATH, previous), 0u);
    ASSERT_TRUE(SetCurrentDirectoryW(root.c_str()));
    MakeFile(L"cwd1");
    CFileSystem fs(L"", true);
    const SYSTEMTIME now = Moment(2024, 1, 1, 0, 0, 0);
    const std::wstring name = fs.ReplaceWildcard(L"cwd{0}", now);
    const std::wstring absolute = fs.ReplaceWildcard(At(L"cwd{0}").c_str(), now);
    SetCurrentDirectoryW(previous);
    EXPECT_EQ(name, L"cwd2");
    EXPECT_EQ(absolute, At(L"cwd2"));
}

using FileSystemRealDir = ScratchFolder;

TEST_F(FileSystemRealDir, ClimbsToTheNearestExistingFolder)
{
    MakeFolder(L"exists");
    MakeFile(L"exists\\file.txt");
    CFileSystem fs(At(L"exists\\missing\\deeper").c_str(), true);
    EXPECT_EQ(std::wstring(fs.RealDir(false, L"C:\\")), At(L"exists"));
    EXPECT_EQ(Base(fs), At(L"exists"));
    CFileSystem file(At(L"exists\\file.txt").c_str(), true);
    EXPECT_EQ(std::wstring(file.RealDir(false, L"C:\\")), At(L"exists"));
}

TEST(FileSystemRealDirDrives, MissingDrivesAndEmptyPathsTakeTheFallback)
{
    struct Case {
        const wchar_t *path;
        bool emptyStaysEmpty;
        const wchar_t *fallback, *expected;
    };
    // E: is a removable drive without a disc, F: a letter whose folder is
    // gone, Q: and R: do not exist.
    const Case cases[] = {
        {L"Q:\\nothing\\here", false, L"C:\\windows", L"C:\\windows"},
        {L"", true, L"C:\\windows", L""},
        {L"", false, L"C:\\windows", L"C:\\windows"},
        {L"relative\\path", false, L"C:\\windows", L"C:\\windows"},
        {L"C:", false, L"", L"C:\\"},
        {L"E:\\photos", false, L"C:\\windows", L"C:\\windows"},
        {L"F:\\x", false, L"C:\\windows", L"C:\\windows"},
        {L"D:\\Disc\\missing", false, L"C:\\", L"D:\\Disc"},
        // Neither path nor fallback exists: it ends all the same.
        {L"Q:\\x", false, L"R:\\fallback", L"R:\\fallback"},
        {L"Q:\\x", true, L"R:\\fallback", L""},
        {L"Q:\\x", false, L"C:\\no such folder\\deeper", L"C:\\"},
        {L"Q:\\x", false, nullptr, L""},
    };
    for (const Case &c : cases) {
        CFileSystem fs(c.path, true);
        EXPECT_STREQ(fs.RealDir(c.emptyStaysEmpty, c.fallback), c.expected) << c.path;
    }
}

TEST_F(FileSystemRealDir, DirExistsForReadableFoldersOnly)
{
    MakeFolder(L"here");
    MakeFolder(L"here2");
    MakeFile(L"file.txt");
    CFileSystem fs(root.c_str(), true);
    EXPECT_TRUE(fs.DirExists());
    EXPECT_TRUE(fs.DirExists(L"here"));
    EXPECT_TRUE(fs.DirExists(At(L"here").c_str())); // a full name below the base
    EXPECT_FALSE(fs.DirExists(L"file.txt"));
    EXPECT_FALSE(fs.DirExists(L"missing"));
    EXPECT_FALSE(fs.DirExists(std::wstring(300, L'x').c_str()));
    // The base is dropped from a name only as a whole folder.
    CFileSystem here(At(L"here").c_str(), true);
    EXPECT_FALSE(here.DirExists(At(L"here2").c_str()));

    for (const wchar_t *path : {L"", L"C", L"relative", L"Q:\\", L"E:\\", L"F:\\", L"\\\\"}) {
        CFileSystem other(path, true);
        EXPECT_FALSE(other.DirExists()) << path;
    }
    for (const wchar_t *path : {L"C:", L"c:\\windows", L"D:\\", L"G:\\Share"}) {
        CFileSystem other(path, true);
        EXPECT_TRUE(other.DirExists()) << path;
    }
}

} // namespace
