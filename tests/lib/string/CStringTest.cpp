#include "string/CString.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace {

std::wstring Text(const CString &s)
{
    return s.ToChar();
}

TEST(CString, StoringCutsAt259EditsGiveNewTextsSearchSplitAndNumbers)
{
    const std::wstring fits(259, L'a'), longer(300, L'b');
    CString assigned;
    assigned = longer.c_str();
    EXPECT_EQ(Text(CString(fits.c_str())), fits);
    EXPECT_EQ(Text(CString(longer.c_str())) + Text(assigned), std::wstring(2 * 259, L'b'));
    const std::wstring grown = Text(CString(fits.c_str()).Replace(L'a', L"12")); // cut too
    EXPECT_EQ(grown.size(), 259u);
    EXPECT_EQ(grown.substr(255), L"2121");
    CString s(L"abcdef");
    s = s.ToChar() + 2; // from its own buffer
    EXPECT_EQ(Text(s), L"cdef");

    const struct {
        const wchar_t *text, *search, *replacement, *result;
    } cases[] = {{L"abab", L"ab", L"c", L"cc"},   {L"banana", L"a", L"aa", L"baanaanaa"},
                 {L"aab", L"ab", L"b", L"ab"},    {L"a.b", L".", L"::", L"a::b"},
                 {L"abab", L"", L"x", L"abab"},   {L"abab", nullptr, L"x", L"abab"},
                 {L"abab", L"b", nullptr, L"aa"}, {L"abc", L"abcd", L"x", L"abc"}};
    for (const auto &c : cases) // each original occurrence once
        EXPECT_EQ(Text(CString(c.text).Replace(c.search, c.replacement)), c.result) << c.text;
    const CString b(L"banana");
    EXPECT_EQ(Text(b.Replace(L'a', L'b')) + L"|" + Text(b.Replace(L'n', L'\0')) + L"|" + Text(b),
              L"bbnbnb|ba|banana");
    EXPECT_EQ(Text(CString(L"gr\u00FC\u00DFe").ToUpper()), L"GR\u00FC\u00DFE"); // ASCII only
    EXPECT_EQ(Text(CString(L"\u00C4BC").ToLower()), L"\u00C4bc");
    EXPECT_EQ(Text(CString(L" \t\n\v\f\rabc \t").TrimLeft().TrimRight()), L"abc");
    EXPECT_EQ(Text(CString(L"\u00A0abc").TrimLeft()), L"\u00A0abc");
    EXPECT_EQ(Text(CString(L"0070").TrimLeft(L'0').TrimRight(L'0')), L"7");

    EXPECT_EQ(CString(L"a.b.c").IndexOf(L'.') * 10 + CString(L"a.b.c").LastIndexOf(L'.'), 13);
    EXPECT_EQ(CString(L"abc").IndexOf(L'.'), -1);
    const CString hello(L"hello");
    const int ranges[][2] = {
        {2, -1}, {5, -1}, {6, -1},  {1, 3},       {3, 3}, // count -1: one argument
        {0, 5},  {2, 0},  {-1, -1}, {INT_MAX, 1}, {1, INT_MAX}};
    std::wstring parts;
    for (const auto &c : ranges)
        parts += Text(c[1] == -1 ? hello.Substring(c[0]) : hello.Substring(c[0], c[1])) + L"|";
    EXPECT_EQ(parts, L"llo|||ell||hello|||||");
    CString split(L"a;;b;");
    EXPECT_EQ(split.Split(L';'), 4);
    split = L"x";
    EXPECT_EQ(split.Split(L';'), 1);
    std::wstring pieces; // pieces accumulate
    for (size_t i = 0; i < 6; ++i)
        pieces += Text(split.SplitResultByIndex(i)) + L"|";
    EXPECT_EQ(pieces, L"a||b||x||");
    EXPECT_EQ(CString(L" -42abc").ToInteger() + CString(L"x1").ToInteger(), -42);
    EXPECT_EQ(CString(L"99999999999").ToInteger(), INT_MAX);
    EXPECT_DOUBLE_EQ(CString(L"\t3.5e2x").ToDouble(), 350.0);
}

} // namespace
