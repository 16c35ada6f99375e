#include "registry/CRegistry.h"

#include "support/RawRegistry.h"
#include "support/WinTest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

// Each test works below a key of its own in the maker's branch of HKCU and
// checks what the class stored with the plain registry API.

using namespace wintest;

namespace {

class Registry : public ::testing::Test {
protected:
    void SetUp() override { RegDeleteTreeW(HKEY_CURRENT_USER, base.c_str()); }
    void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, base.c_str()); }
    void Raw(const wchar_t *value, DWORD type, const void *data, size_t bytes)
    {
        ASSERT_TRUE(WriteRaw(base + L"\\K", value, type, data, DWORD(bytes)));
    }

    const std::wstring name = UniqueName(L"PictavoRegTest-");
    const std::wstring base = L"Software\\Wow6432Node\\Orvandt\\" + name;
    CRegistry reg{name.c_str(), RegCurrentUser};
};

TEST_F(Registry, IntsAreStoredShiftedAndTextsTerminatedAndEachComesBack)
{
    const int ints[] = {0, INT_MAX - 1, -1, INT_MIN, INT_MIN + 1, INT_MAX};
    const DWORD stored[] = {0, 0x7FFFFFFE, 0xFFFFFFFE, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF};
    for (size_t i = 0; i < 6; ++i) {
        ASSERT_EQ(reg.WriteValue(L"K", L"v", ints[i]), 0);
        EXPECT_EQ(ReadRaw(base + L"\\K", L"v").Dword(), stored[i]) << ints[i];
        EXPECT_EQ(reg.ReadValue(L"K", L"v", 12345), ints[i]);
    }
    ASSERT_EQ(reg.WriteValue(L"K", L"text", L"Grüße"), 0);
    EXPECT_EQ(ReadRaw(base + L"\\K", L"text").Text(), std::wstring(L"Grüße", 6));
    EXPECT_STREQ(reg.ReadValue(L"K", L"text", L"d"), L"Grüße");
    ASSERT_EQ(reg.WriteValue(L"K", L"f", -1234.25f), 0);
    EXPECT_EQ(ReadRaw(base + L"\\K", L"f").Text(), std::wstring(L"-1234.25000000", 15));
    EXPECT_EQ(reg.ReadValue(L"K", L"f", 0.0f), -1234.25f);
    EXPECT_EQ(reg.ReadValue(L"K", L"missing", 1e-9f), 1e-9f) << "the default, not its text";

    // 259 characters fit; longer texts, with or without terminator, do not.
    const std::wstring t259(259, L'x'), t260(260, L'y');
    reg.WriteValue(L"K", L"259", t259.c_str());
    reg.WriteValue(L"K", L"260", t260.c_str());
    Raw(L"bare", REG_SZ, L"abc", 6);
    Raw(L"bare260", REG_SZ, t260.c_str(), 520);
    std::wstring read; // one buffer serves every text read: copy each at once
    for (const wchar_t *value : {L"259", L"260", L"bare", L"bare260"})
        read += reg.ReadValue(L"K", value, L"d") + std::wstring(L"|");
    EXPECT_EQ(read, t259 + L"|d|abc|d|");
}

TEST_F(Registry, MissingValuesAndValuesOfAnotherTypeGiveTheDefault)
{
    EXPECT_EQ(reg.ReadValue(L"Nowhere", L"v", INT_MIN), INT_MIN);
    EXPECT_STREQ(reg.ReadValue(L"Nowhere", L"v", (const wchar_t *)nullptr), L"");
    EXPECT_FALSE(RawKeyExists(base)) << "reading creates nothing";
    reg.WriteValue(L"K", L"number", 42);
    reg.WriteValue(L"K", L"text", L"42");
    const unsigned long long eight = 42;
    Raw(L"qword", REG_QWORD, &eight, 8);
    Raw(L"wide", REG_DWORD, &eight, 8); // a DWORD of 8 bytes
    Raw(L"expand", REG_EXPAND_SZ, L"%TEMP%", 14);
    Raw(L"binary", REG_BINARY, &eight, 4);
    EXPECT_STREQ(reg.ReadValue(L"K", L"number", L"d"), L"d");
    EXPECT_STREQ(reg.ReadValue(L"K", L"expand", L"d"), L"d");
    for (const wchar_t *value : {L"text", L"qword", L"wide", L"binary"})
        EXPECT_EQ(reg.ReadValue(L"K", value, 5), 5) << value;
    EXPECT_EQ(reg.ReadValue(L"K", L"number", 2.5f), 2.5f);
    BYTE fallback[1] = {0};
    DWORD size = 7;
    EXPECT_EQ(reg.ReadValue(L"K", L"number", fallback, &size), fallback);
    EXPECT_EQ(size, 0u);

    std::vector<BYTE> big(20000); // binary values of any size come back whole
    for (size_t i = 0; i < big.size(); ++i)
        big[i] = BYTE(i * 7 + 3);
    Raw(L"big", REG_BINARY, big.data(), big.size());
    BYTE *block = reg.ReadValue(L"K", L"big", fallback, &size);
    ASSERT_NE(block, fallback);
    EXPECT_EQ(std::vector<BYTE>(block, block + size), big);
    EXPECT_TRUE(HeapFree(GetProcessHeap(), 0, block));
}

TEST_F(Registry, KeysAreMadeDeletedAndEnumeratedBelowTheBaseOnly)
{
    EXPECT_EQ(reg.DeleteKey(L"Leaf"), 5) << "the base key does not exist yet";
    EXPECT_EQ(reg.WriteValue(L"A\\B", L"v", 1), 0);
    EXPECT_TRUE(reg.ExistValue(L"A\\B", L"v") && !reg.ExistValue(L"A\\B", L"w"));
    EXPECT_EQ(reg.DeleteKey(L"A"), 3) << "a key with sub keys stays";
    reg.WriteValue(L"Leaf", L"v", 1);
    EXPECT_EQ(reg.DeleteValue(L"Leaf", L"v"), 0);
    EXPECT_EQ(reg.DeleteValue(L"Leaf", L"v"), 3);
    EXPECT_EQ(reg.DeleteKey(L"Leaf"), 0);
    EXPECT_FALSE(RawKeyExists(base + L"\\Leaf"));
    EXPECT_EQ(reg.DeleteKey(L""), 3) << "never the base key itself";

    reg.WriteValue(L"SubB", L"v", 1);
    reg.WriteValue(L"", L"first", 1);
    reg.WriteValue(L"", L"second", L"2");
    DWORD keys = 0, values = 0;
    reg.CountKeysAndValues(keys, values);
    std::vector<std::wstring> names;
    for (DWORD i = 0; i <= keys; ++i)
        names.push_back(reg.ReadKeyNameById(i));
    for (DWORD i = 0; i <= values; ++i)
        names.push_back(reg.ReadValueNameById(i));
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::wstring>{L"", L"", L"A", L"SubB", L"first", L"second"}));

    // A path that does not fit is refused rather than cut to another key.
    EXPECT_EQ(reg.WriteValue(std::wstring(300, L'k').c_str(), L"v", 1), 2);
    RegDeleteTreeW(HKEY_CURRENT_USER, base.c_str());
    EXPECT_EQ(CRegistry((name + std::wstring(300, L'n')).c_str(), RegCurrentUser)
                  .WriteValue(L"", L"v", 1),
              2);
    EXPECT_FALSE(RawKeyExists(base)) << "nothing written at a cut path";
    // Without the maker's branch, and the other root.
    EXPECT_EQ(CRegistry(base.c_str(), RegCurrentUser, false).WriteValue(L"P", L"v", 5), 0);
    EXPECT_EQ(reg.ReadValue(L"P", L"v", 0), 5);
    CRegistry machine(L"Software\\Microsoft\\Windows NT", RegLocalMachine, false);
    EXPECT_STRNE(machine.ReadValue(L"CurrentVersion", L"SystemRoot", L""), L"");
}

} // namespace
