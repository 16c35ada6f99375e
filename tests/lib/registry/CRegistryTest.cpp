#include "registry/CRegistry.h"

#include "support/RawRegistry.h"
#include "support/WinTest.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

// Each test works below a key of its own in the maker's branch of HKCU.

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

TEST_F(Registry, ValuesAreStoredAsOtherReadersExpectOnlyTheirTypeComesBackKeysStayBelowTheBase)
{
    EXPECT_EQ(reg.ReadValue(L"Nowhere", L"v", INT_MIN), INT_MIN);
    EXPECT_FALSE(RawKeyExists(base)) << "reading creates nothing";
    // Ints are stored shifted, texts with their terminator.
    const std::pair<int, DWORD> ints[] = {
        {0, 0}, {-1, 0xFFFFFFFE}, {INT_MIN, 0x7FFFFFFF}, {INT_MAX, 0xFFFFFFFF}};
    for (const auto &i : ints) {
        ASSERT_EQ(reg.WriteValue(L"K", L"v", i.first), 0);
        EXPECT_EQ(ReadRaw(base + L"\\K", L"v").Dword(), i.second) << i.first;
        EXPECT_EQ(reg.ReadValue(L"K", L"v", 12345), i.first);
    }
    ASSERT_EQ(reg.WriteValue(L"K", L"text", L"Grüße") + reg.WriteValue(L"K", L"f", -1234.25f), 0);
    EXPECT_EQ(ReadRaw(base + L"\\K", L"text").Text(), std::wstring(L"Grüße", 6));
    EXPECT_EQ(ReadRaw(base + L"\\K", L"f").Text(), std::wstring(L"-1234.25000000", 15));
    EXPECT_STREQ(reg.ReadValue(L"K", L"text", L"d"), L"Grüße");
    EXPECT_EQ(reg.ReadValue(L"K", L"f", 0.0f), -1234.25f);
    EXPECT_EQ(reg.ReadValue(L"K", L"missing", 1e-9f), 1e-9f) << "the default, not its text";
    // Texts up to 259 characters, with or without terminator; other types: the default.
    const std::wstring t259(259, L'x'), t260(260, L'y');
    reg.WriteValue(L"K", L"259", t259.c_str());
    reg.WriteValue(L"K", L"260", t260.c_str());
    Raw(L"bare", REG_SZ, L"abc", 6);
    Raw(L"bare260", REG_SZ, t260.c_str(), 520);
    reg.WriteValue(L"K", L"number", 42);
    const unsigned long long eight = 42;
    Raw(L"qword", REG_QWORD, &eight, 8);
    Raw(L"wide", REG_DWORD, &eight, 8); // a DWORD of 8 bytes
    Raw(L"expand", REG_EXPAND_SZ, L"%TEMP%", 14);
    Raw(L"binary", REG_BINARY, &eight, 4);
    std::wstring read; // one buffer serves every text read: copy each at once
    for (const wchar_t *value : {L"259", L"260", L"bare", L"bare260", L"number", L"expand"})
        read += reg.ReadValue(L"K", value, L"d") + std::wstring(L"|");
    EXPECT_EQ(read, t259 + L"|d|abc|d|d|d|");
    for (const wchar_t *value : {L"text", L"qword", L"wide", L"binary", L"nowhere"})
        EXPECT_EQ(reg.ReadValue(L"K", value, 5), 5) << value;
    EXPECT_EQ(reg.ReadValue(L"K", L"number", 2.5f), 2.5f);

    EXPECT_EQ(reg.WriteValue(L"A\\B", L"v", 1), 0);
    EXPECT_TRUE(reg.ExistValue(L"A\\B", L"v") && !reg.ExistValue(L"A\\B", L"w"));
    EXPECT_EQ(reg.DeleteKey(L"A"), 3) << "a key with sub keys stays";
    EXPECT_EQ(reg.DeleteValue(L"A\\B", L"v"), 0);
    EXPECT_EQ(reg.DeleteValue(L"A\\B", L"v"), 3);
    EXPECT_TRUE(reg.DeleteKey(L"A\\B") == 0 && !RawKeyExists(base + L"\\A\\B"));
    EXPECT_EQ(reg.DeleteKey(L""), 3) << "never the base key itself";
    // A path that does not fit is refused rather than cut to another key.
    EXPECT_EQ(reg.WriteValue(std::wstring(300, L'k').c_str(), L"v", 1), 2);
    RegDeleteTreeW(HKEY_CURRENT_USER, base.c_str());
    EXPECT_EQ(CRegistry((name + std::wstring(300, L'n')).c_str(), RegCurrentUser)
                  .WriteValue(L"", L"v", 1),
              2);
    EXPECT_FALSE(RawKeyExists(base)) << "nothing written at a cut path";
    // Without the maker's branch.
    EXPECT_EQ(CRegistry(base.c_str(), RegCurrentUser, false).WriteValue(L"P", L"v", 5), 0);
    EXPECT_EQ(reg.ReadValue(L"P", L"v", 0), 5);
}

} // namespace
