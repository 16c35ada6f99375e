#include "string/CString.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace {

const size_t kMax = 259;

std::wstring Text(const CString &s)
{
    return std::wstring(s.ToChar());
}

TEST(StringCapacity, EveryWayOfStoringCutsAt259)
{
    const std::wstring fits(kMax, L'a');
    EXPECT_EQ(Text(CString(fits.c_str())), fits);
    EXPECT_EQ(Text(CString(std::wstring(kMax + 1, L'b').c_str())), std::wstring(kMax, L'b'));
    CString assigned;
    assigned = std::wstring(300, L'c').c_str();
    EXPECT_EQ(Text(assigned), std::wstring(kMax, L'c'));
    // Growth by replacement is cut too.
    std::wstring alternating;
    while (alternating.size() < kMax)
        alternating += L"12";
    EXPECT_EQ(Text(CString(fits.c_str()).Replace(L'a', L"12")), alternating.substr(0, kMax));
    EXPECT_EQ(Text(CString(fits.c_str()).Replace(L"a", L"xyz")).size(), kMax);
}

TEST(StringBasics, AssignmentComparisonAndCopies)
{
    CString s(L"abcdef");
    s = s.ToChar() + 2; // from its own buffer
    EXPECT_EQ(Text(s), L"cdef");
    s = (const wchar_t *)nullptr;
    EXPECT_EQ(Text(s), L"");
    s = L'\0';
    EXPECT_EQ(Text(s), L"");
    s = L'q';
    EXPECT_TRUE(s == L'q' && s != L'Q' && s == L"q" && s != L"Q");
    EXPECT_FALSE(CString(L"ab") == L'a');

    // Copies take the text but not the pieces of a split.
    s = L"a,b";
    ASSERT_EQ(s.Split(L','), 2);
    CString copy(s);
    EXPECT_EQ(Text(copy), L"a,b");
    EXPECT_EQ(Text(copy.SplitResultByIndex(0)), L"");
    s = L"other";
    EXPECT_EQ(Text(s.SplitResultByIndex(1)), L"b"); // assignment keeps the pieces
}

TEST(StringReplace, EachOriginalOccurrenceIsReplacedOnce)
{
    const CString s(L"abab");
    EXPECT_EQ(Text(s.Replace(L"ab", L"c")), L"cc");
    EXPECT_EQ(Text(s), L"abab");
    EXPECT_EQ(Text(CString(L"banana").Replace(L'a', L'b')), L"bbnbnb");
    // Replacements containing the search text end and replace once.
    EXPECT_EQ(Text(CString(L"banana").Replace(L"a", L"aa")), L"baanaanaa");
    EXPECT_EQ(Text(CString(L"banana").Replace(L'a', L'a')), L"banana");
    EXPECT_EQ(Text(CString(L"aab").Replace(L"ab", L"b")), L"ab");
    EXPECT_EQ(Text(CString(L"a.b").Replace(L'.', L"::")), L"a::b");
    EXPECT_EQ(Text(CString(L"a--b").Replace(L"--", L'+')), L"a+b");
    // Empty and null arguments.
    EXPECT_EQ(Text(s.Replace(L"", L"x")), L"abab");
    EXPECT_EQ(Text(s.Replace((const wchar_t *)nullptr, L"x")), L"abab");
    EXPECT_EQ(Text(s.Replace(L"b", (const wchar_t *)nullptr)), L"aa");
    EXPECT_EQ(Text(s.Replace(L'\0', L'x')), L"abab"); // the terminator stays
    EXPECT_EQ(Text(s.Replace(L'b', L'\0')), L"a");
}

TEST(StringCaseAndTrim, AsciiOnlyAndPosixWhiteSpace)
{
    EXPECT_EQ(Text(CString(L"gr\u00FC\u00DFe").ToUpper()), L"GR\u00FC\u00DFE");
    EXPECT_EQ(Text(CString(L"\u00C4BC").ToLower()), L"\u00C4bc");
    EXPECT_EQ(Text(CString(L"abc  \t").TrimRight()), L"abc");
    EXPECT_EQ(Text(CString(L" \t\n\v\f\rabc ").TrimLeft()), L"abc ");
    EXPECT_EQ(Text(CString(L"\u00A0abc").TrimLeft()), L"\u00A0abc");
    EXPECT_EQ(Text(CString(L"   ").TrimRight()), L"");
    EXPECT_EQ(Text(CString(L"007").TrimLeft(L'0')), L"7");
    EXPECT_EQ(Text(CString(L"000").TrimRight(L'0')), L"");
    EXPECT_EQ(Text(CString(L"abc").TrimLeft(L'\0')), L"abc");
}

TEST(StringSearch, PositionsAndSubstrings)
{
    EXPECT_EQ(CString(L"a.b.c").IndexOf(L'.') * 10 + CString(L"a.b.c").LastIndexOf(L'.'), 13);
    EXPECT_EQ(CString(L"abc").IndexOf(L'.'), -1);
    EXPECT_EQ(CString(L"abc").LastIndexOf(L'\0'), 3);
    const CString s(L"hello");
    struct Case {
        int start, count;
        const wchar_t *result;
    };
    // count -1 stands for the one-argument form.
    const Case cases[] = {{2, -1, L"llo"}, {5, -1, L""},     {6, -1, L""},      {1, 3, L"ell"},
                          {3, 3, L""},     {0, 5, L"hello"}, {2, 0, L""},       {2, -2, L""},
                          {-1, -1, L""},   {-2, 3, L""},     {INT_MAX, 1, L""}, {1, INT_MAX, L""}};
    for (const Case &c : cases) {
        const CString part = c.count == -1 ? s.Substring(c.start) : s.Substring(c.start, c.count);
        EXPECT_EQ(Text(part), c.result) << c.start << ", " << c.count;
    }
}

TEST(StringSplit, PiecesAccumulateAcrossSplits)
{
    CString s(L"a;;b;");
    EXPECT_EQ(s.Split(L';'), 4);
    const wchar_t *expected[] = {L"a", L"", L"b", L""};
    for (size_t i = 0; i < 4; ++i)
        EXPECT_EQ(Text(s.SplitResultByIndex(i)), expected[i]) << i;
    s = L"x";
    EXPECT_EQ(s.Split(L';'), 1);
    EXPECT_EQ(Text(s.SplitResultByIndex(4)), L"x");
    s = L"";
    EXPECT_EQ(s.Split(L';'), 0);
    EXPECT_EQ(Text(s.SplitResultByIndex(5)), L"");
    EXPECT_EQ(Text(s.SplitResultByIndex((size_t)-1)), L"");
}

TEST(StringSplit, CommandLineStartsWithTheProgram)
{
    CString s;
    const int count = s.SplitCommandLine();
    ASSERT_EQ(count, __argc);
    const std::wstring program = Text(s.SplitResultByIndex(0).ToLower());
    const std::wstring name = L"lib_string_tests.exe";
    ASSERT_GE(program.size(), name.size());
    EXPECT_EQ(program.substr(program.size() - name.size()), name);
}

TEST(StringNumbers, LeadingNumberOrZero)
{
    EXPECT_EQ(CString(L" 42abc").ToInteger(), 42);
    EXPECT_EQ(CString(L"-17").ToInteger(), -17);
    EXPECT_EQ(CString(L"abc").ToInteger(), 0);
    EXPECT_EQ(CString(L"99999999999").ToInteger(), INT_MAX);
    EXPECT_DOUBLE_EQ(CString(L"3.5e2").ToDouble(), 350.0);
    EXPECT_DOUBLE_EQ(CString(L"\t-0.25x").ToDouble(), -0.25);
    EXPECT_DOUBLE_EQ(CString(L"x1").ToDouble(), 0.0);
}

} // namespace
