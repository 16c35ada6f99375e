#include "registry/CRegistry.h"

#include "support/RawRegistry.h"
#include "support/WinTest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

// Every test works below a key of its own in the maker's branch of HKCU (the
// session's prefix is shared by all test programs) and removes it again.
// What the class stored is checked with the plain registry API.

using wintest::RawKeyExists;
using wintest::ReadRaw;
using wintest::WriteRaw;

namespace {

class Registry : public ::testing::Test {
protected:
    void SetUp() override { RegDeleteTreeW(HKEY_CURRENT_USER, base.c_str()); }
    void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, base.c_str()); }

    std::wstring Key(const wchar_t *sub) const { return base + L"\\" + sub; }
    void RawText(const wchar_t *sub, const wchar_t *value, const std::wstring &text,
                 bool terminated = true)
    {
        const DWORD chars = (DWORD)text.size() + (terminated ? 1 : 0);
        ASSERT_TRUE(WriteRaw(Key(sub), value, REG_SZ, text.c_str(), chars * sizeof(wchar_t)));
    }

    const std::wstring name = wintest::UniqueName(L"PictavoRegTest-");
    const std::wstring base = L"Software\\Wow6432Node\\Orvandt\\" + name;
    CRegistry reg{name.c_str(), RegCurrentUser};
};

// --- stored forms -----------------------------------------------------------

TEST_F(Registry, IntsAreStoredShiftedAndComeBackUnchanged)
{
    const struct {
        int value;
        DWORD stored;
    } cases[] = {{0, 0},
                 {2147483646, 0x7FFFFFFE},
                 {-1, 0xFFFFFFFE},
                 {INT_MIN, 0x7FFFFFFF},
                 {INT_MIN + 1, 0x80000000},
                 // The largest int would share 0x7FFFFFFF with the most
                 // negative one; it takes the otherwise unused 0xFFFFFFFF.
                 {INT_MAX, 0xFFFFFFFF}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.value);
        ASSERT_EQ(reg.WriteValue(L"Ints", L"v", c.value), 0);
        EXPECT_EQ(ReadRaw(Key(L"Ints"), L"v").Dword(), c.stored);
        EXPECT_EQ(reg.ReadValue(L"Ints", L"v", 12345), c.value);
    }
    // DWORDs of other writers read through the same shift.
    const DWORD foreign = 0x80000005;
    WriteRaw(Key(L"Ints"), L"foreign", REG_DWORD, &foreign, sizeof(foreign));
    EXPECT_EQ(reg.ReadValue(L"Ints", L"foreign", 0), INT_MIN + 6);
    EXPECT_EQ(reg.ReadValue(L"Ints", L"foreign", (DWORD)0), 0x80000005u);
}

TEST_F(Registry, StringsKeepTheirTerminatorAndFitTheBufferOrGiveTheDefault)
{
    ASSERT_EQ(reg.WriteValue(L"S", L"text", L"Grüße"), 0);
    const wintest::RawValue raw = ReadRaw(Key(L"S"), L"text");
    EXPECT_EQ(raw.type, (DWORD)REG_SZ);
    EXPECT_EQ(raw.Text(), std::wstring(L"Grüße", 6)) << "terminator included in the size";
    EXPECT_STREQ(reg.ReadValue(L"S", L"text", L"default"), L"Grüße");
    ASSERT_EQ(reg.WriteValue(L"S", L"empty", L""), 0);
    EXPECT_EQ(ReadRaw(Key(L"S"), L"empty").data.size(), sizeof(wchar_t));
    EXPECT_STREQ(reg.ReadValue(L"S", L"empty", L"default"), L"");

    const std::wstring longest(259, L'x');
    reg.WriteValue(L"S", L"259", longest.c_str());
    reg.WriteValue(L"S", L"260", std::wstring(260, L'y').c_str());
    RawText(L"S", L"huge", std::wstring(5000, L'z'));
    EXPECT_EQ(std::wstring(reg.ReadValue(L"S", L"259", L"d")), longest);
    EXPECT_STREQ(reg.ReadValue(L"S", L"260", L"d"), L"d");
    EXPECT_STREQ(reg.ReadValue(L"S", L"huge", L"d"), L"d");
    // Data without a terminator, as other writers may leave it.
    RawText(L"S", L"bare", L"abc", false);
    EXPECT_STREQ(reg.ReadValue(L"S", L"bare", L"d"), L"abc");
    RawText(L"S", L"bare260", std::wstring(260, L'q'), false);
    EXPECT_STREQ(reg.ReadValue(L"S", L"bare260", L"d"), L"d");
}

TEST_F(Registry, FloatsAreStoredAsTextOfEightDecimals)
{
    ASSERT_EQ(reg.WriteValue(L"F", L"v", 1.5f), 0);
    const wintest::RawValue raw = ReadRaw(Key(L"F"), L"v");
    EXPECT_EQ(raw.type, (DWORD)REG_SZ);
    EXPECT_EQ(raw.Text(), std::wstring(L"1.50000000", 11));
    EXPECT_EQ(reg.ReadValue(L"F", L"v", 0.0f), 1.5f);
    reg.WriteValue(L"F", L"neg", -1234.25f);
    EXPECT_EQ(ReadRaw(Key(L"F"), L"neg").Text(), std::wstring(L"-1234.25000000", 15));
    EXPECT_EQ(reg.ReadValue(L"F", L"neg", 0.0f), -1234.25f);

    RawText(L"F", L"blanks", L"   2.75xyz");
    EXPECT_EQ(reg.ReadValue(L"F", L"blanks", 9.0f), 2.75f);
    RawText(L"F", L"word", L"abc");
    EXPECT_EQ(reg.ReadValue(L"F", L"word", 9.0f), 0.0f);
    EXPECT_EQ(reg.ReadValue(L"F", L"missing", 1e-9f), 1e-9f) << "the default, not its text";
}

// --- missing and foreign values -----------------------------------------

TEST_F(Registry, MissingValuesAndValuesOfAnotherTypeGiveTheDefault)
{
    EXPECT_EQ(reg.ReadValue(L"Nowhere", L"v", INT_MIN), INT_MIN);
    EXPECT_EQ(reg.ReadValue(L"Nowhere", L"v", (DWORD)0xFFFFFFFF), 0xFFFFFFFFu);
    EXPECT_STREQ(reg.ReadValue(L"Nowhere", L"v", L"fallback"), L"fallback");
    EXPECT_STREQ(reg.ReadValue(L"Nowhere", L"v", (const wchar_t *)nullptr), L"");
    EXPECT_FALSE(reg.ExistKey(L"Nowhere"));
    EXPECT_FALSE(RawKeyExists(base)) << "reading creates nothing";

    reg.WriteValue(L"T", L"number", 42);
    reg.WriteValue(L"T", L"text", L"42");
    const unsigned long long eight = 42;
    WriteRaw(Key(L"T"), L"qword", REG_QWORD, &eight, sizeof(eight));
    WriteRaw(Key(L"T"), L"wide", REG_DWORD, &eight, sizeof(eight)); // a DWORD of 8 bytes
    WriteRaw(Key(L"T"), L"expand", REG_EXPAND_SZ, L"%TEMP%", 14);
    EXPECT_STREQ(reg.ReadValue(L"T", L"number", L"dflt"), L"dflt");
    EXPECT_EQ(reg.ReadValue(L"T", L"text", 5), 5);
    EXPECT_EQ(reg.ReadValue(L"T", L"text", (DWORD)5), 5u);
    EXPECT_EQ(reg.ReadValue(L"T", L"qword", 5), 5);
    EXPECT_EQ(reg.ReadValue(L"T", L"wide", 5), 5);
    EXPECT_STREQ(reg.ReadValue(L"T", L"expand", L"dflt"), L"dflt");
    EXPECT_EQ(reg.ReadValue(L"T", L"number", 2.5f), 2.5f);
}

TEST_F(Registry, BinaryValuesOfAnySizeAreReadInFull)
{
    std::vector<BYTE> big(20000);
    for (size_t i = 0; i < big.size(); ++i)
        big[i] = (BYTE)(i * 7 + 3);
    WriteRaw(Key(L"B"), L"big", REG_BINARY, big.data(), (DWORD)big.size());
    BYTE fallback[1] = {0};
    DWORD size = 0;
    BYTE *block = reg.ReadValue(L"B", L"big", fallback, &size);
    ASSERT_NE(block, fallback);
    ASSERT_EQ(size, big.size());
    EXPECT_EQ(memcmp(block, big.data(), big.size()), 0);
    EXPECT_TRUE(HeapFree(GetProcessHeap(), 0, block));
    // The size is optional, the default may be null.
    block = reg.ReadValue(L"B", L"big", (BYTE *)nullptr);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(block[19999], big[19999]);
    HeapFree(GetProcessHeap(), 0, block);

    reg.WriteValue(L"B", L"dword", 1);
    EXPECT_EQ(reg.ReadValue(L"B", L"dword", fallback, &size), fallback);
    EXPECT_EQ(size, 0u);
    EXPECT_EQ(reg.ReadValue(L"B", L"missing", fallback), fallback);
}

// --- keys, deletion and enumeration ----------------------------------------

TEST_F(Registry, WritingCreatesMissingKeysAndRefusesPathsThatDoNotFit)
{
    EXPECT_EQ(reg.WriteValue(L"A\\B\\C", L"v", 1), 0);
    EXPECT_TRUE(RawKeyExists(Key(L"A\\B\\C")));
    EXPECT_TRUE(reg.ExistKey(L"A\\B"));
    EXPECT_TRUE(reg.ExistValue(L"A\\B\\C", L"v"));
    EXPECT_FALSE(reg.ExistValue(L"A\\B\\C", L"w"));
    EXPECT_TRUE(reg.ExistKey(L"")) << "the base key itself";

    // A path that does not fit is refused rather than cut to another key.
    const std::wstring deep(300, L'k');
    EXPECT_EQ(reg.WriteValue(deep.c_str(), L"v", 1), 2);
    EXPECT_EQ(reg.ReadValue(deep.c_str(), L"v", 9), 9);
    RegDeleteTreeW(HKEY_CURRENT_USER, base.c_str());
    CRegistry cut((name + std::wstring(300, L'n')).c_str(), RegCurrentUser);
    EXPECT_FALSE(cut.ExistKey(L""));
    EXPECT_EQ(cut.WriteValue(L"", L"v", 1), 2);
    EXPECT_EQ(cut.WriteValue(L"X", L"v", L"t"), 2);
    EXPECT_EQ(cut.DeleteValue(L"", L"v"), 5);
    EXPECT_EQ(cut.DeleteKey(L"X"), 5);
    EXPECT_FALSE(RawKeyExists(base)) << "nothing written at a cut path";
}

TEST_F(Registry, DeletingKeysAndValues)
{
    EXPECT_EQ(reg.DeleteKey(L"Leaf"), 5) << "base key does not exist yet";
    reg.WriteValue(L"Leaf", L"v", 1);
    reg.WriteValue(L"Tree\\Child", L"v", 1);
    EXPECT_EQ(reg.DeleteValue(L"Leaf", L"v"), 0);
    EXPECT_FALSE(reg.ExistValue(L"Leaf", L"v"));
    EXPECT_EQ(reg.DeleteValue(L"Leaf", L"v"), 3);
    EXPECT_EQ(reg.DeleteValue(L"NoKey", L"v"), 5);
    EXPECT_EQ(reg.DeleteKey(L"Tree"), 3) << "a key with sub keys stays";
    EXPECT_TRUE(RawKeyExists(Key(L"Tree\\Child")));
    EXPECT_EQ(reg.DeleteKey(L"Leaf"), 0);
    EXPECT_FALSE(RawKeyExists(Key(L"Leaf")));
    EXPECT_EQ(reg.DeleteKey(L"Leaf"), 3);
    EXPECT_EQ(reg.DeleteKey(L""), 3) << "never the base key itself";
    EXPECT_TRUE(RawKeyExists(base));
}

TEST_F(Registry, CountsAndEnumeratesTheBaseKey)
{
    DWORD keys = 77, values = 88;
    reg.CountKeysAndValues(keys, values);
    EXPECT_EQ(keys + values, 77u + 88u) << "untouched while the base key is missing";
    for (const wchar_t *sub : {L"", L"SubA", L"SubB", L"SubC"})
        reg.WriteValue(sub, L"first", 1);
    reg.WriteValue(L"", L"second", L"2");
    reg.CountKeysAndValues(keys, values);
    EXPECT_EQ(keys, 3u);
    EXPECT_EQ(values, 2u);

    std::vector<std::wstring> keyNames, valueNames;
    for (DWORD i = 0; i <= keys; ++i)
        keyNames.push_back(reg.ReadKeyNameById(i));
    for (DWORD i = 0; i <= values; ++i)
        valueNames.push_back(reg.ReadValueNameById(i));
    std::sort(keyNames.begin(), keyNames.end());
    std::sort(valueNames.begin(), valueNames.end());
    EXPECT_EQ(keyNames, (std::vector<std::wstring>{L"", L"SubA", L"SubB", L"SubC"}));
    EXPECT_EQ(valueNames, (std::vector<std::wstring>{L"", L"first", L"second"}));

    // A value name longer than the buffer comes back empty, not cut.
    CRegistry sub((name + L"\\SubA").c_str(), RegCurrentUser);
    sub.DeleteValue(L"", L"first");
    sub.WriteValue(L"", std::wstring(300, L'v').c_str(), 1);
    EXPECT_STREQ(sub.ReadValueNameById(0), L"");
}

// --- roots and branches -----------------------------------------------------

TEST_F(Registry, RootsAndPathsWithoutTheMakerBranch)
{
    CRegistry plain(base.c_str(), RegCurrentUser, false);
    EXPECT_EQ(plain.WriteValue(L"P", L"v", 5), 0);
    EXPECT_EQ(reg.ReadValue(L"P", L"v", 0), 5);
    // An empty name selects the root itself.
    CRegistry root(L"", RegCurrentUser, false);
    const std::wstring sub = base + L"\\P";
    EXPECT_TRUE(root.ExistValue(sub.c_str(), L"v"));
    EXPECT_EQ(root.WriteValue(sub.c_str(), L"w", 6), 0);
    EXPECT_EQ(ReadRaw(Key(L"P"), L"w").Dword(), 6u);

    CRegistry machine(L"Software\\Microsoft\\Windows NT", RegLocalMachine, false);
    EXPECT_STRNE(machine.ReadValue(L"CurrentVersion", L"SystemRoot", L""), L"");
    // Every other type value selects the current user.
    CRegistry user(name.c_str(), (RegistryType)0);
    EXPECT_EQ(user.ReadValue(L"P", L"v", 0), 5);
}

} // namespace
