#include "string/CString.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace {

std::wstring Text(const CString &s)
{
    return s.ToChar();
}

TEST(CString, EveryWayOfStoringCutsAt259Characters)
{
    const std::wstring fits(259, L'a'), longer(300, L'b');
    EXPECT_EQ(Text(CString(fits.c_str())), fits);
    EXPECT_EQ(Text(CString(longer.c_str())), longer.substr(0, 259));
    CString assigned;
    assigned = longer.c_str();
    EXPECT_EQ(Text(assigned), longer.substr(0, 259));
    std::wstring grown; // growth by replacement is cut too
    while (grown.size() < 259)
        grown += L"12";
    EXPECT_EQ(Text(CString(fits.c_str()).Replace(L'a', L"12")), grown.substr(0, 259));
    EXPECT_EQ(Text(CString(fits.c_str()).Replace(L"a", L"xyz")).size(), 259u);
    CString s(L"abcdef");
    s = s.ToChar() + 2; // from its own buffer
    EXPECT_EQ(Text(s), L"cdef");
}

TEST(CString, ReplaceTakesEachOriginalOccurrenceOnce)
{
    const struct {
        const wchar_t *text, *search, *replacement, *result;
    } cases[] = {{L"abab", L"ab", L"c", L"cc"},   {L"banana", L"a", L"aa", L"baanaanaa"},
                 {L"aab", L"ab", L"b", L"ab"},    {L"a.b", L".", L"::", L"a::b"},
                 {L"abab", L"", L"x", L"abab"},   {L"abab", nullptr, L"x", L"abab"},
                 {L"abab", L"b", nullptr, L"aa"}, {L"abc", L"abcd", L"x", L"abc"}};
    for (const auto &c : cases)
        EXPECT_EQ(Text(CString(c.text).Replace(c.search, c.replacement)), c.result)
            << c.text << " / " << (c.search ? c.search : L"null");
    const CString s(L"banana");
    EXPECT_EQ(Text(s.Replace(L'a', L'b')), L"bbnbnb");
    EXPECT_EQ(Text(s.Replace(L'n', L'\0')), L"ba") << "a null character ends the text";
    EXPECT_EQ(Text(s), L"banana") << "the original stays";
}

TEST(CString, CaseTrimSearchAndSubstrings)
{
    EXPECT_EQ(Text(CString(L"gr\u00FC\u00DFe").ToUpper()), L"GR\u00FC\u00DFE"); // ASCII only
    EXPECT_EQ(Text(CString(L"\u00C4BC").ToLower()), L"\u00C4bc");
    EXPECT_EQ(Text(CString(L" \t\n\v\f\rabc \t").TrimLeft().TrimRight()), L"abc");
    EXPECT_EQ(Text(CString(L"\u00A0abc").TrimLeft()), L"\u00A0abc");
    EXPECT_EQ(Text(CString(L"0070").TrimLeft(L'0').TrimRight(L'0')), L"7");
    EXPECT_EQ(CString(L"a.b.c").IndexOf(L'.') * 10 + CString(L"a.b.c").LastIndexOf(L'.'), 13);
    EXPECT_EQ(CString(L"abc").IndexOf(L'.'), -1);

    const CString s(L"hello");
    const struct {
        int start, count; // count -1: the one-argument form
        const wchar_t *result;
    } cases[] = {{2, -1, L"llo"},   {5, -1, L""},     {6, -1, L""}, {1, 3, L"ell"},
                 {3, 3, L""},       {0, 5, L"hello"}, {2, 0, L""},  {-1, -1, L""},
                 {INT_MAX, 1, L""}, {1, INT_MAX, L""}};
    for (const auto &c : cases) {
        const CString part = c.count == -1 ? s.Substring(c.start) : s.Substring(c.start, c.count);
        EXPECT_EQ(Text(part), c.result) << c.start << ", " << c.count;
    }
}

TEST(CString, SplitPiecesAccumulateAndNumbersAreLeading)
{
    CString s(L"a;;b;");
    EXPECT_EQ(s.Split(L';'), 4);
    s = L"x";
    EXPECT_EQ(s.Split(L';'), 1);
    std::wstring pieces;
    for (size_t i = 0; i < 6; ++i)
        pieces += Text(s.SplitResultByIndex(i)) + L"|";
    EXPECT_EQ(pieces, L"a||b||x||");
    EXPECT_EQ(Text(CString(s).SplitResultByIndex(0)), L"") << "a copy takes the text only";

    EXPECT_EQ(CString(L" -42abc").ToInteger(), -42);
    EXPECT_EQ(CString(L"99999999999").ToInteger(), INT_MAX);
    EXPECT_EQ(CString(L"x1").ToInteger(), 0);
    EXPECT_DOUBLE_EQ(CString(L"\t3.5e2x").ToDouble(), 350.0);
}

} // namespace
