#include "filesystem/CFileSystem.h"

#include "support/WinTest.h"

#include <gtest/gtest.h>

#include <shellapi.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

// The test prefix has C: and Z: (fixed), D: (CD-ROM with a disc), E:
// (removable, no disc), F: (folder gone) and G: (network); Q: is no drive.

namespace {

using std::wstring;

// The texts of a list joined by "|", sorted unless asked otherwise.
wstring Items(const CArrayList &list, bool sorted = true)
{
    std::vector<wstring> items;
    for (size_t i = 0; i < list.Count(); ++i)
        items.push_back(list.Get(i));
    if (sorted) std::sort(items.begin(), items.end());
    wstring joined;
    for (const wstring &item : items)
        joined += (joined.empty() ? L"" : L"|") + item;
    return joined;
}

// A scratch folder of its own for each test, removed afterwards.
class Scratch : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(CreateDirectoryW(root.c_str(), nullptr)); }
    void TearDown() override
    {
        const wstring list = root + L'\0'; // ended by two nulls
        SHFILEOPSTRUCTW remove = {};
        remove.wFunc = FO_DELETE, remove.pFrom = list.c_str(), remove.fFlags = FOF_NO_UI;
        SHFileOperationW(&remove);
    }
    wstring At(const wstring &relative) const { return root + L"\\" + relative; }
    // "dir\" makes a folder, anything else a file holding its own name; a
    // trailing "+h" or "+s" makes it hidden or system.
    void Make(std::initializer_list<wstring> entries)
    {
        for (wstring e : entries) {
            const bool hidden = e.size() > 2 && e.substr(e.size() - 2) == L"+h",
                       system = e.size() > 2 && e.substr(e.size() - 2) == L"+s";
            e.resize(e.size() - (hidden || system ? 2 : 0));
            if (e.back() == L'\\') {
                ASSERT_TRUE(CreateDirectoryW(At(e).c_str(), nullptr)) << e;
            } else {
                std::ofstream(At(e).c_str()) << std::string(e.begin(), e.end());
            }
            SetFileAttributesW(At(e).c_str(),
                               (hidden ? FILE_ATTRIBUTE_HIDDEN : 0) |
                                   (system ? FILE_ATTRIBUTE_SYSTEM : 0) |
                                   (e.back() == L'\\' ? FILE_ATTRIBUTE_DIRECTORY : 0));
        }
    }
    // What a file made by Make holds, or "-" when there is none.
    std::string Read(const wstring &relative) const
    {
        std::ostringstream text;
        text << std::ifstream(At(relative).c_str()).rdbuf();
        return text.str().empty() ? "-" : text.str();
    }
    bool Exists(const wstring &relative) const
    {
        return GetFileAttributesW(At(relative).c_str()) != INVALID_FILE_ATTRIBUTES;
    }

    const wstring root = [] {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        return temp + wintest::UniqueName(L"fs");
    }();
};

TEST(FileSystemPaths, CleanAndCombineNeverLeaveTheRootAndRefuseWhatDoesNotFit)
{
    // Never above C: or \\server; only whole ".." steps go up; no relative path.
    wstring cleaned, bases;
    for (const wchar_t *path :
         {L"C:\\a\\.\\b\\..\\c", L"C:\\a\\..\\..\\..\\x", L"C:", L"C:abc",
          L"\\\\s\\share\\x\\..\\y", L"\\\\s\\..\\..\\y", L"temp\\x", L"C:\\a..\\b"}) {
        CFileSystem fs(path, true);
        cleaned += fs.CleanPath() + wstring(L" ");
        bases += fs.CombinePath(L"") + wstring(L" "); // the cleaned path is the base now
    }
    EXPECT_EQ(cleaned, L"C:\\a\\c C:\\x C:\\ C:\\ \\\\s\\share\\y \\\\s\\y  C:\\a..\\b ");
    EXPECT_EQ(bases, cleaned);
    EXPECT_STREQ(CFileSystem(L"C:\\temp\\\\\\", true).CombinePath(L"\\x"), L"C:\\temp\\x");
    EXPECT_STREQ(CFileSystem(L"C:\\a", true).CombinePath(L"b"), L"C:\\a\\b");
    const wstring n255(255, L'n');
    EXPECT_EQ(wstring(CFileSystem(L"C:", true).CombinePath(n255.c_str())), L"C:\\" + n255);
    EXPECT_STREQ(CFileSystem(L"C:\\a", true).CombinePath(n255.c_str()), L"") << "would be cut";
}

TEST_F(Scratch, WildcardFieldsAndTheFirstFreeCounter)
{
    CFileSystem fs(root.c_str(), true);
    const SYSTEMTIME eve = {2024, 12, 0, 31, 23, 59, 58, 0};
    EXPECT_STREQ(fs.ReplaceWildcard(L"T_{yyyyMMdd_hhmmss}", eve), L"T_20241231_235958");
    EXPECT_STREQ(fs.ReplaceWildcard(L"yyyy{dd.MM.yy}{M}{yyy}{HH}a{b", eve),
                 L"yyyy31.12.24M24yHHab");
    const wstring longest = wstring(255, L'n') + L"{yyyy}";
    EXPECT_EQ(wstring(fs.ReplaceWildcard(longest.c_str(), eve)).size(), 259u);
    EXPECT_STREQ(fs.ReplaceWildcard((L"n" + longest).c_str(), eve), L"");

    EXPECT_STREQ(fs.ReplaceWildcard(L"Shot{000}", eve), L"Shot001");
    Make({L"Shot001", L"Shot002", L"Shot003\\", L"20241231_1.png", L"0-1"});
    EXPECT_STREQ(fs.ReplaceWildcard(L"Shot{000}", eve), L"Shot004") << "folders take names too";
    EXPECT_STREQ(fs.ReplaceWildcard(L"{yyyyMMdd}_{0}.png", eve), L"20241231_2.png");
    EXPECT_STREQ(fs.ReplaceWildcard(L"{0}-{0}", eve), L"0-2");
    for (int n = 1; n <= 9; ++n)
        Make({L"Pic" + std::to_wstring(n)});
    EXPECT_STREQ(fs.ReplaceWildcard(L"Pic{0}", eve), L"") << "rather than overwrite a file";
    EXPECT_STREQ(fs.ReplaceWildcard(L"Pic{00}", eve), L"Pic01");
}

TEST_F(Scratch, FoldersAreMadeAndRemovedBelowTheBaseOnly)
{
    wstring slashed = At(L"x/y/z");
    std::replace(slashed.begin(), slashed.end(), L'\\', L'/');
    EXPECT_TRUE(CFileSystem(slashed.c_str(), true).CreateDir());
    EXPECT_TRUE(CFileSystem(root.c_str(), true).CreateDir(L"one/two"));
    EXPECT_TRUE(Exists(L"x\\y\\z") && Exists(L"one\\two"));
    Make({L"taken"});
    for (const wstring &path : {At(L"taken"), At(L"taken\\below"), wstring(L"rel\\dir")})
        EXPECT_FALSE(CFileSystem(path.c_str(), true).CreateDir()) << path;

    Make(
        {L"base\\", L"base\\a\\", L"base\\a\\b\\", L"base\\full\\", L"base\\full\\keep", L"out\\"});
    CFileSystem base(At(L"base").c_str(), true);
    EXPECT_TRUE(base.DeleteDir(L"a/b"));
    EXPECT_FALSE(Exists(L"base\\a"));
    EXPECT_FALSE(base.DeleteDir(L"full"));
    EXPECT_FALSE(base.DeleteDir(L"..\\out") || base.DeleteDir(At(L"out").c_str()));
    EXPECT_TRUE(Exists(L"out"));

    EXPECT_TRUE(base.DeleteOrRecycleDir(L"full", true));
    EXPECT_FALSE(Exists(L"base\\full"));
    Make({L"base\\in"});
    for (const wchar_t *name : {L"*", L"..", L"x\\..\\..", L"G:\\Share", L"in"})
        EXPECT_FALSE(base.DeleteOrRecycleDir(name, false)) << name;
    for (const wchar_t *path : {L"G:\\", L"\\\\server\\share", L"", L"base"})
        EXPECT_FALSE(CFileSystem(path, true).DeleteOrRecycleDir(L"", false)) << path;
    EXPECT_EQ(Read(L"base\\in"), "base\\in");
    EXPECT_TRUE(CFileSystem(L"G:\\", true).DirExists(L"Share"));

    EXPECT_TRUE(base.CanWrite());
    EXPECT_FALSE(Exists(L"base\\Orva.dat2")) << "the probe leaves no trace";
    Make({L"base\\Orva.dat2"});
    EXPECT_TRUE(base.CanWrite());
    EXPECT_EQ(Read(L"base\\Orva.dat2"), "base\\Orva.dat2");
}

TEST_F(Scratch, CopyDirSkipsHiddenNeverOverwritesNorCopiesIntoItself)
{
    Make({L"src\\", L"src\\a", L"src\\h+h", L"src\\s+s", L"src\\sub\\", L"src\\sub\\b", L"skip\\",
          L"all\\", L"dirs\\", L"dst\\", L"dst\\a", L"src2\\"});
    EXPECT_TRUE(CFileSystem(At(L"skip").c_str(), true).CopyDir(At(L"src").c_str(), false));
    EXPECT_EQ(Read(L"skip\\sub\\b") + Read(L"skip\\a"), "src\\sub\\bsrc\\a");
    EXPECT_FALSE(Exists(L"skip\\h") || Exists(L"skip\\s"));
    CFileSystem all(L"", false);
    EXPECT_TRUE(all.CopyDir(At(L"src").c_str(), At(L"all").c_str(), false));
    EXPECT_EQ(Read(L"all\\h") + Read(L"all\\s"), "src\\hsrc\\s");
    EXPECT_TRUE(all.CopyDir(At(L"src").c_str(), At(L"dirs").c_str(), true));
    EXPECT_TRUE(Exists(L"dirs\\sub") && !Exists(L"dirs\\a"));

    EXPECT_FALSE(all.CopyDir(At(L"src").c_str(), At(L"dst").c_str(), false));
    EXPECT_EQ(Read(L"dst\\a"), "dst\\a") << "not overwritten";
    EXPECT_FALSE(all.CopyDir(At(L"src").c_str(), At(L"src\\sub").c_str(), false));
    EXPECT_FALSE(Exists(L"src\\sub\\sub"));
    EXPECT_TRUE(all.CopyDir(At(L"src").c_str(), At(L"src2").c_str(), false)) << "a mere prefix";
}

TEST_F(Scratch, CountsAndListsObeyTheSelectionRules)
{
    Make({L"a.txt", L"b.TXT", L"c.bmp", L"mytxt", L"d.txt+h", L"e.txt+s", L"sub\\", L"sub\\f.txt",
          L"sub\\deeper\\", L"sub\\deeper\\g.txt", L"hid\\+h", L"hid\\h.txt"});
    CFileSystem skipping(root.c_str(), true), all(root.c_str(), false);
    // Matching ignores case; "mytxt" has no .txt extension; a bare word is one.
    const int counts[] = {skipping.CountFiles(L"*.txt", false),
                          all.CountFiles(L"*.txt", false),
                          skipping.CountFiles(L" txt ; *.bmp ;;", false),
                          skipping.CountFiles(L"*.txt", true),
                          all.CountFiles(L"*.txt", true),
                          skipping.CountFiles(L"*", L"picture.BMP", false),
                          skipping.CountList(L"*", true, false),
                          all.CountList(L"*", true, true),
                          skipping.CountList(L"g.*", false, true)};
    EXPECT_EQ(std::vector<int>(counts, counts + 9), (std::vector<int>{2, 4, 3, 4, 7, 1, 1, 3, 1}));

    CArrayList txt, folders, ordered(true), extensions;
    skipping.FillList(&txt, L"*.txt", false);
    all.FillList(&folders, L"*", true);
    skipping.FillListExtended(&ordered, L"a.*;*.txt;*.bmp", false);
    all.ExtendList(&extensions);
    EXPECT_EQ(Items(txt) + L"/" + Items(folders), L"a.txt|b.TXT/hid|sub");
    EXPECT_EQ(ordered.Get(0) + (L"/" + Items(ordered)), L"c.bmp/a.txt|a.txt|b.TXT|c.bmp")
        << "the last filter first";
    EXPECT_EQ(Items(extensions), L".bmp|.txt");

    CFileList files; // records: name, times and size
    skipping.FileList(&files, L"c", L"BMP");
    WIN32_FILE_ATTRIBUTE_DATA data;
    ASSERT_TRUE(GetFileAttributesExW(At(L"c.bmp").c_str(), GetFileExInfoStandard, &data));
    ASSERT_EQ(files.Count(), 1u);
    EXPECT_TRUE(!wcscmp(files.Get(0)->Name, L"c.bmp") && files.Get(0)->SizeLow == 5 &&
                !CompareFileTime(&files.Get(0)->LastWriteTime, &data.ftLastWriteTime));
}

TEST(FileSystemDrives, TypesListsAndTheNearestExistingFolder)
{
    using FS = CFileSystem;
    const struct {
        const wchar_t *path;
        FS::DriveType type;
    } types[] = {{L"c:\\lower\\case", FS::DriveFixed}, {L"Z:", FS::DriveFixed},
                 {L"D:\\Disc", FS::DriveCdRom},        {L"E:\\", FS::DriveRemovable},
                 {L"F:\\", FS::DriveNoRootDir},        {L"G:\\Share", FS::DriveRemote},
                 {L"Q:\\", FS::DriveType(-1)},         {L"\\\\server\\share", FS::DriveType(-1)}};
    for (const auto &c : types)
        for (int type = FS::DriveAll; type <= 8; ++type)
            EXPECT_EQ(FS(c.path, true).IsDriveOfType(FS::DriveType(type)), type == c.type)
                << c.path << " as " << type;
    CArrayList drives, fixed;
    FS(L"", true).GetDrives(&drives);
    FS(L"", true).GetDrivesOfType(&fixed, FS::DriveFixed);
    EXPECT_EQ(Items(drives, false) + L"/" + Items(fixed, false),
              L"C:\\|D:\\|E:\\|F:\\|G:\\|Z:\\/C:\\|Z:\\");

    const struct {
        const wchar_t *path;
        bool emptyStaysEmpty;
        const wchar_t *fallback, *expected;
    } real[] = {{L"C:\\windows\\no\\such", false, L"Z:\\", L"C:\\windows"},
                {L"D:\\Disc\\missing", false, L"C:\\", L"D:\\Disc"},
                {L"E:\\photos", false, L"C:\\windows", L"C:\\windows"}, // no disc
                {L"F:\\x", false, L"C:\\windows", L"C:\\windows"},
                {L"Q:\\x", false, L"C:\\no such\\deeper", L"C:\\"},
                {L"Q:\\x", false, L"R:\\fallback", L"R:\\fallback"}};
    for (const auto &c : real)
        EXPECT_STREQ(FS(c.path, true).RealDir(c.emptyStaysEmpty, c.fallback), c.expected) << c.path;
}

} // namespace
