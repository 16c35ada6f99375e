#include "filesystem/CFileSystem.h"

#include "support/WinTest.h"

#include <gtest/gtest.h>

#include <shellapi.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

// In the test prefix D: is a CD-ROM with a disc, E: removable without one; Q: is none.

namespace {

using std::wstring;

// The texts of a list, sorted, each ended by "|".
wstring Items(const CArrayList &list)
{
    std::vector<wstring> items;
    for (size_t i = 0; i < list.Count(); ++i)
        items.push_back(list.Get(i));
    std::sort(items.begin(), items.end());
    wstring joined;
    for (const wstring &item : items)
        joined += item + L"|";
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
    // "dir\" makes a folder, anything else a file holding its own name ("+h": hidden).
    void Make(std::initializer_list<wstring> entries)
    {
        for (wstring e : entries) {
            const bool hidden = e.size() > 2 && e.substr(e.size() - 2) == L"+h";
            e.resize(e.size() - (hidden ? 2 : 0));
            if (e.back() == L'\\')
                CreateDirectoryW(At(e).c_str(), nullptr);
            else
                std::ofstream(At(e).c_str()) << std::string(e.begin(), e.end());
            if (hidden) SetFileAttributesW(At(e).c_str(), FILE_ATTRIBUTE_HIDDEN);
        }
    }
    // What a file holds, "/" for a folder, "-" for nothing.
    std::string Seen(const wstring &relative) const
    {
        const DWORD attributes = GetFileAttributesW(At(relative).c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) return "-";
        if (attributes & FILE_ATTRIBUTE_DIRECTORY) return "/";
        std::ostringstream text;
        text << std::ifstream(At(relative).c_str()).rdbuf();
        return text.str();
    }

    const wstring root = [] {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        return temp + wintest::UniqueName(L"fs");
    }();
};

TEST_F(Scratch, PathsNamesFoldersCopiesAndListsStayWithinTheirBaseAndRules)
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

    // The nearest existing folder, else the fallback (or its nearest one).
    const wchar_t *real[][3] = {{L"C:\\windows\\no\\such", L"Z:\\", L"C:\\windows"},
                                {L"D:\\Disc\\missing", L"C:\\", L"D:\\Disc"},
                                {L"E:\\photos", L"C:\\windows", L"C:\\windows"}, // no disc
                                {L"Q:\\x", L"C:\\no such\\deeper", L"C:\\"}};
    for (const auto &c : real)
        EXPECT_STREQ(CFileSystem(c[0], true).RealDir(false, c[1]), c[2]) << c[0];

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

    wstring slashed = At(L"x/y/z");
    std::replace(slashed.begin(), slashed.end(), L'\\', L'/');
    EXPECT_TRUE(CFileSystem(slashed.c_str(), true).CreateDir());
    EXPECT_TRUE(CFileSystem(root.c_str(), true).CreateDir(L"one/two"));
    Make({L"taken", L"base\\", L"base\\a\\", L"base\\a\\b\\", L"base\\full\\", L"base\\full\\keep",
          L"base\\in", L"out\\"});
    for (const wstring &path : {At(L"taken"), At(L"taken\\below"), wstring(L"rel\\dir")})
        EXPECT_FALSE(CFileSystem(path.c_str(), true).CreateDir()) << path;
    CFileSystem base(At(L"base").c_str(), true);
    EXPECT_TRUE(base.DeleteDir(L"a/b"));
    EXPECT_FALSE(base.DeleteDir(L"full") || base.DeleteDir(L"..\\out") ||
                 base.DeleteDir(At(L"out").c_str()));
    for (const wchar_t *name : {L"*", L"..", L"x\\..\\..", L"G:\\Share", L"in"})
        EXPECT_FALSE(base.DeleteOrRecycleDir(name, false)) << name;
    for (const wchar_t *path : {L"G:\\", L"\\\\server\\share", L"", L"base"})
        EXPECT_FALSE(CFileSystem(path, true).DeleteOrRecycleDir(L"", false)) << path;
    EXPECT_TRUE(base.DeleteOrRecycleDir(L"full", true) && base.CanWrite());
    EXPECT_EQ(Seen(L"x\\y\\z") + Seen(L"one\\two") + Seen(L"base\\a") + Seen(L"out") +
                  Seen(L"base\\full") + Seen(L"base\\in") + Seen(L"base\\Orva.dat2"),
              "//-/-base\\in-")
        << "the write probe leaves no trace";
    Make({L"base\\Orva.dat2"});
    EXPECT_TRUE(base.CanWrite() && CFileSystem(L"G:\\", true).DirExists(L"Share"));
    EXPECT_EQ(Seen(L"base\\Orva.dat2"), "base\\Orva.dat2");

    // Copies skip hidden files if asked, never overwrite nor copy into themselves;
    // counts and lists ignore case and take bare words as extensions.
    Make({L"src\\", L"src\\a.txt", L"src\\b.TXT", L"src\\c.bmp", L"src\\mytxt", L"src\\h.txt+h",
          L"src\\sub\\", L"src\\sub\\d.txt", L"skip\\", L"dst\\", L"dst\\a.txt"});
    CFileSystem all(L"", false), skipping(At(L"src").c_str(), true);
    EXPECT_TRUE(CFileSystem(At(L"skip").c_str(), true).CopyDir(At(L"src").c_str(), false));
    EXPECT_FALSE(all.CopyDir(At(L"src").c_str(), At(L"dst").c_str(), false) ||
                 all.CopyDir(At(L"src").c_str(), At(L"src\\sub").c_str(), false));
    EXPECT_EQ(Seen(L"skip\\sub\\d.txt") + Seen(L"skip\\h.txt") + Seen(L"dst\\a.txt") +
                  Seen(L"src\\sub\\sub"),
              "src\\sub\\d.txt-dst\\a.txt-");
    EXPECT_EQ(skipping.CountFiles(L"*.txt", false) * 100 +
                  skipping.CountFiles(L"*.txt", true) * 10 +
                  skipping.CountFiles(L" txt ; *.bmp ;;", false),
              233);
    CArrayList ordered(true);
    skipping.FillListExtended(&ordered, L"a.*;*.txt;*.bmp", false);
    EXPECT_EQ(ordered.Get(0) + (L"/" + Items(ordered)), L"c.bmp/a.txt|a.txt|b.TXT|c.bmp|")
        << "the last filter first";
}

} // namespace
