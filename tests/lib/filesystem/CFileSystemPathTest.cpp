#include "FileSystemTestSupport.h"

#include <string>

namespace {

// The base path as the object holds it: joining an empty name gives it back.
std::wstring Base(CFileSystem &fs)
{
    return fs.CombinePath(L"");
}

std::wstring Clean(const std::wstring &path)
{
    CFileSystem fs(path.c_str(), true);
    const std::wstring cleaned = fs.CleanPath();
    EXPECT_EQ(Base(fs), cleaned) << "CleanPath also replaces the base path";
    return cleaned;
}

std::wstring Combine(const wchar_t *base, const wchar_t *name)
{
    CFileSystem fs(base, false);
    return fs.CombinePath(name);
}

SYSTEMTIME Moment(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second)
{
    SYSTEMTIME t = {};
    t.wYear = year;
    t.wMonth = month;
    t.wDay = day;
    t.wHour = hour;
    t.wMinute = minute;
    t.wSecond = second;
    return t;
}

// --- texts only ----------------------------------------------------------------

TEST(FileSystemPathText, ConstructionShrinksRunsOfTrailingBackslashes)
{
    CFileSystem twice(L"C:\\temp\\\\", true);
    EXPECT_EQ(Base(twice), L"C:\\temp\\");
    CFileSystem once(L"C:\\temp\\", true);
    EXPECT_EQ(Base(once), L"C:\\temp\\");
    CFileSystem many(L"\\\\\\\\", true);
    EXPECT_EQ(Base(many), L"\\");
    CFileSystem none(nullptr, true);
    EXPECT_EQ(Base(none), L"");
    CFileSystem longer(std::wstring(400, L'p').c_str(), true);
    EXPECT_EQ(Base(longer), std::wstring(259, L'p'));
}

TEST(FileSystemPathText, CleanPathNormalFormAndSteps)
{
    EXPECT_EQ(Clean(L"C:\\a\\.\\b\\..\\c"), L"C:\\a\\c");
    EXPECT_EQ(Clean(L"C:\\a\\b\\..\\c"), L"C:\\a\\c");
    EXPECT_EQ(Clean(L"C:\\..\\x"), L"C:\\x");
    EXPECT_EQ(Clean(L"C:\\a\\..\\..\\..\\x"), L"C:\\x");
    EXPECT_EQ(Clean(L"C:\\a\\.\\.\\b"), L"C:\\a\\b");
    EXPECT_EQ(Clean(L"C:"), L"C:\\");
    EXPECT_EQ(Clean(L"C:abc"), L"C:\\");
    EXPECT_EQ(Clean(L"C:a"), L"C:\\");
    EXPECT_EQ(Clean(L"\\\\server\\share\\x\\..\\y"), L"\\\\server\\share\\y");
    // A step up never climbs out of the server name.
    EXPECT_EQ(Clean(L"\\\\server\\..\\..\\y"), L"\\\\server\\y");
    // Relative and empty paths have no normal form.
    EXPECT_EQ(Clean(L"temp\\x"), L"");
    EXPECT_EQ(Clean(L"\\temp"), L"");
    EXPECT_EQ(Clean(L""), L"");
    // Only whole ".." steps go up; trailing ones stay as they are.
    EXPECT_EQ(Clean(L"C:\\a..\\b"), L"C:\\a..\\b");
    EXPECT_EQ(Clean(L"C:\\a\\b\\.."), L"C:\\a\\b\\..");
    const std::wstring deep = L"C:\\" + std::wstring(250, L'd') + L"\\..\\x";
    EXPECT_EQ(Clean(deep), L"C:\\x");
}

TEST(FileSystemPathText, CombinePathJoinsWithOneBackslash)
{
    EXPECT_EQ(Combine(L"C:\\a\\", L"b"), L"C:\\a\\b");
    EXPECT_EQ(Combine(L"C:\\a\\", L"\\b"), L"C:\\a\\b");
    EXPECT_EQ(Combine(L"C:\\a", L"b"), L"C:\\a\\b");
    EXPECT_EQ(Combine(L"", L"b"), L"b");
    EXPECT_EQ(Combine(L"C:\\a", L""), L"C:\\a");
    EXPECT_EQ(Combine(L"C:\\a", nullptr), L"C:\\a");
    // A joined path that would not fit is refused rather than cut.
    const std::wstring name(255, L'n');
    EXPECT_EQ(Combine(L"C:\\a", name.c_str()), L"");
    EXPECT_EQ(Combine(L"C:", std::wstring(256, L'n').c_str()), L"C:\\" + std::wstring(256, L'n'));
    EXPECT_EQ(Combine(L"", std::wstring(260, L'n').c_str()), L"");
}

// --- file-name patterns ----------------------------------------------------------

TEST(FileSystemWildcard, DateAndTimeFields)
{
    CFileSystem fs(L"", true);
    const SYSTEMTIME newYearsEve = Moment(2024, 12, 31, 23, 59, 58);
    EXPECT_STREQ(fs.ReplaceWildcard(L"Tempulo_{yyyyMMdd_hhmmss}", newYearsEve),
                 L"Tempulo_20241231_235958");
    const SYSTEMTIME early = Moment(2031, 1, 2, 3, 4, 5);
    EXPECT_STREQ(fs.ReplaceWildcard(L"{dd.MM.yy} {hh-mm-ss}.png", early), L"02.01.31 03-04-05.png");
    EXPECT_STREQ(fs.ReplaceWildcard(L"plain yyyy MM.txt", early), L"plain yyyy MM.txt");
    EXPECT_STREQ(fs.ReplaceWildcard(L"{yy}", newYearsEve), L"24");
    EXPECT_STREQ(fs.ReplaceWildcard(L"{M}", newYearsEve), L"M");
    EXPECT_STREQ(fs.ReplaceWildcard(L"{yyy}{HH}", newYearsEve), L"24yHH");
    EXPECT_STREQ(fs.ReplaceWildcard(L"a{b_c", newYearsEve), L"ab_c"); // unclosed field
    EXPECT_STREQ(fs.ReplaceWildcard(L"", newYearsEve), L"");
    EXPECT_STREQ(fs.ReplaceWildcard(nullptr, newYearsEve), L"");
    // The year may have five digits; a name that no longer fits is refused.
    EXPECT_STREQ(fs.ReplaceWildcard(L"{yyyy}", Moment(30827, 1, 1, 0, 0, 0)), L"30827");
    const std::wstring longest = std::wstring(253, L'n') + L"{yyyy}";
    EXPECT_EQ(std::wstring(fs.ReplaceWildcard(longest.c_str(), newYearsEve)).size(), 257u);
    const std::wstring tooLong = std::wstring(256, L'n') + L"{yyyy}";
    EXPECT_STREQ(fs.ReplaceWildcard(tooLong.c_str(), newYearsEve), L"");
}

TEST(FileSystemWildcard, WithoutTimeUsesTheLocalClock)
{
    SYSTEMTIME before, after;
    GetLocalTime(&before);
    CFileSystem fs(L"", true);
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
    // A folder of that name is taken as well.
    MakeFolder(L"Shot003");
    EXPECT_STREQ(fs.ReplaceWildcard(L"Shot{000}", now), L"Shot004");
    // Fields and counter together, digits spread over the name.
    MakeFile(L"20240506_1.png");
    EXPECT_STREQ(fs.ReplaceWildcard(L"{yyyyMMdd}_{0}.png", now), L"20240506_2.png");
    MakeFile(L"0-1");
    EXPECT_STREQ(fs.ReplaceWildcard(L"{0}-{0}", now), L"0-2");
    // A trailing backslash on the base changes nothing.
    CFileSystem slash((root + L"\\").c_str(), true);
    EXPECT_STREQ(slash.ReplaceWildcard(L"Shot{000}", now), L"Shot004");
}

TEST_F(FileSystemCounter, NoNameWhenEveryNumberIsTaken)
{
    CFileSystem fs(root.c_str(), true);
    for (int n = 1; n <= 9; ++n)
        MakeFile(L"Shot" + std::to_wstring(n));
    EXPECT_STREQ(fs.ReplaceWildcard(L"Shot{0}", Moment(2024, 1, 1, 0, 0, 0)), L"");
    EXPECT_STREQ(fs.ReplaceWildcard(L"Shot{00}", Moment(2024, 1, 1, 0, 0, 0)), L"Shot01");
}

TEST_F(FileSystemCounter, EmptyBaseSearchesTheCurrentFolder)
{
    wchar_t previous[MAX_PATH];
    ASSERT_GT(GetCurrentDirectoryW(MAX_PATH, previous), 0u);
    ASSERT_TRUE(SetCurrentDirectoryW(root.c_str()));
    MakeFile(L"cwd1");
    CFileSystem fs(L"", true);
    const std::wstring name = fs.ReplaceWildcard(L"cwd{0}", Moment(2024, 1, 1, 0, 0, 0));
    // An absolute pattern is tested where it points, not in the current folder.
    const std::wstring absolute =
        fs.ReplaceWildcard((At(L"cwd{0}")).c_str(), Moment(2024, 1, 1, 0, 0, 0));
    SetCurrentDirectoryW(previous);
    EXPECT_EQ(name, L"cwd2");
    EXPECT_EQ(absolute, At(L"cwd2"));
}

// --- nearest existing folder and existence -------------------------------------

using FileSystemRealDir = ScratchFolder;

TEST_F(FileSystemRealDir, ClimbsToTheNearestExistingFolder)
{
    MakeFolder(L"exists");
    CFileSystem fs(At(L"exists\\missing\\deeper").c_str(), true);
    EXPECT_EQ(std::wstring(fs.RealDir(false, L"C:\\")), At(L"exists"));
    EXPECT_EQ(Base(fs), At(L"exists"));

    CFileSystem existing((At(L"exists") + L"\\").c_str(), true);
    EXPECT_EQ(std::wstring(existing.RealDir(false, L"C:\\")), At(L"exists") + L"\\");

    // A file is not a folder: its own folder is the answer.
    MakeFile(L"exists\\file.txt");
    CFileSystem file(At(L"exists\\file.txt").c_str(), true);
    EXPECT_EQ(std::wstring(file.RealDir(false, L"C:\\")), At(L"exists"));
}

TEST(FileSystemRealDirDrives, MissingDrivesAndEmptyPathsTakeTheFallback)
{
    auto real = [](const wchar_t *path, bool emptyStaysEmpty, const wchar_t *fallback) {
        CFileSystem fs(path, true);
        return std::wstring(fs.RealDir(emptyStaysEmpty, fallback));
    };
    EXPECT_EQ(real(L"Q:\\nothing\\here", false, L"C:\\windows"), L"C:\\windows");
    EXPECT_EQ(real(L"", true, L"C:\\windows"), L"");
    EXPECT_EQ(real(L"", false, L"C:\\windows"), L"C:\\windows");
    EXPECT_EQ(real(L"relative\\path", false, L"C:\\windows"), L"C:\\windows");
    EXPECT_EQ(real(L"C:", false, L""), L"C:\\");
    EXPECT_EQ(real(L"C:\\", false, L""), L"C:\\");
    // E: is a removable drive without a disc, F: a letter whose folder is gone.
    EXPECT_EQ(real(L"E:\\photos", false, L"C:\\windows"), L"C:\\windows");
    EXPECT_EQ(real(L"F:\\x", false, L"C:\\windows"), L"C:\\windows");
    EXPECT_EQ(real(L"D:\\Disc\\missing", false, L"C:\\"), L"D:\\Disc");
    // Neither the path nor the fallback exists: it ends all the same.
    EXPECT_EQ(real(L"Q:\\x", false, L"R:\\fallback\\missing"), L"R:\\fallback\\missing");
    EXPECT_EQ(real(L"Q:\\x", true, L"R:\\fallback"), L"");
    EXPECT_EQ(real(L"Q:\\x", false, L"C:\\no such folder\\deeper"), L"C:\\");
    EXPECT_EQ(real(L"Q:\\x", false, nullptr), L"");
}

TEST_F(FileSystemRealDir, DirExistsForFoldersOnly)
{
    MakeFolder(L"here");
    MakeFile(L"file.txt");
    CFileSystem fs(root.c_str(), true);
    EXPECT_TRUE(fs.DirExists());
    EXPECT_TRUE(fs.DirExists(L"here"));
    EXPECT_TRUE(fs.DirExists(At(L"here").c_str())); // a full name below the base
    EXPECT_FALSE(fs.DirExists(L"file.txt"));
    EXPECT_FALSE(fs.DirExists(L"missing"));
    EXPECT_TRUE(fs.DirExists(L""));
    EXPECT_FALSE(fs.DirExists(std::wstring(300, L'x').c_str()));

    // The base's name is dropped from a name only as a whole folder.
    MakeFolder(L"here2");
    CFileSystem here(At(L"here").c_str(), true);
    EXPECT_FALSE(here.DirExists(At(L"here2").c_str()));

    for (const wchar_t *path : {L"", L"C", L"relative", L"Q:\\", L"E:\\", L"F:\\", L"\\\\"}) {
        CFileSystem other(path, true);
        EXPECT_FALSE(other.DirExists()) << path;
    }
    for (const wchar_t *path : {L"C:", L"C:\\", L"c:\\windows", L"D:\\", L"G:\\Share"}) {
        CFileSystem other(path, true);
        EXPECT_TRUE(other.DirExists()) << path;
    }
}

} // namespace
