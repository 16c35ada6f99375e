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

// --- capacity ----------------------------------------------------------------

TEST(StringCapacity, EveryWayOfStoringCutsAt259)
{
    const std::wstring fits(kMax, L'a');
    const std::wstring over(kMax + 1, L'b');
    const std::wstring far(300, L'c');
    EXPECT_EQ(Text(CString(fits.c_str())), fits);
    EXPECT_EQ(Text(CString(over.c_str())), over.substr(0, kMax));
    CString assigned;
    assigned = far.c_str();
    EXPECT_EQ(Text(assigned), far.substr(0, kMax));
    // Growth by replacement is cut too, and nothing beyond the buffer moves.
    CString grown = CString(fits.c_str()).Replace(L"a", L"xyz");
    EXPECT_EQ(wcslen(grown), kMax);
    EXPECT_EQ(Text(grown).substr(0, 6), L"xyzxyz");
    std::wstring alternating;
    while (alternating.size() < kMax)
        alternating += L"12";
    EXPECT_EQ(Text(CString(fits.c_str()).Replace(L'a', L"12")), alternating.substr(0, kMax));
}

TEST(StringCapacity, AssigningFromItsOwnBufferAndNullIsSafe)
{
    CString s(L"abcdef");
    s = s.ToChar() + 2;
    EXPECT_EQ(s, L"cdef");
    s = s;
    EXPECT_EQ(s, L"cdef");
    s = (const wchar_t *)nullptr;
    EXPECT_EQ(s, L"");
    EXPECT_EQ(CString((const wchar_t *)nullptr), L"");
}

// --- construction, assignment, comparison --------------------------------------

TEST(StringBasics, CharactersAndComparisons)
{
    EXPECT_EQ(Text(CString(L'x')), L"x");
    EXPECT_EQ(Text(CString(L'\0')), L"");
    CString s(L"abc");
    s = L'\0';
    EXPECT_EQ(Text(s), L"");
    s = L'q';
    EXPECT_TRUE(s == L'q');
    EXPECT_TRUE(s != L'Q');
    EXPECT_TRUE(CString(L"Abc") != L"abc");
    EXPECT_TRUE(CString(L"abc") == CString(L"abc"));
    EXPECT_FALSE(CString(L"ab") == L'a');
}

TEST(StringBasics, CopiesTakeTheTextButNotThePieces)
{
    CString s(L"a,b");
    ASSERT_EQ(s.Split(L','), 2);
    CString copy(s);
    EXPECT_EQ(copy, L"a,b");
    EXPECT_EQ(copy.SplitResultByIndex(0), L"");
    s = L"other";
    EXPECT_EQ(s.SplitResultByIndex(1), L"b"); // assignment keeps the pieces
}

// --- replacing ---------------------------------------------------------------

TEST(StringReplace, ReplacesEachOriginalOccurrenceOnce)
{
    const CString s(L"abab");
    EXPECT_EQ(s.Replace(L"ab", L"c"), L"cc");
    EXPECT_EQ(s, L"abab"); // the receiver is left alone
    EXPECT_EQ(CString(L"banana").Replace(L'a', L'b'), L"bbnbnb");
    // Replacements that contain the search text end and replace once.
    EXPECT_EQ(CString(L"banana").Replace(L"a", L"aa"), L"baanaanaa");
    EXPECT_EQ(CString(L"banana").Replace(L'a', L'a'), L"banana");
    EXPECT_EQ(CString(L"aab").Replace(L"ab", L"b"), L"ab");
    EXPECT_EQ(CString(L"a.b.c").Replace(L'.', L"::"), L"a::b::c");
    EXPECT_EQ(CString(L"a--b").Replace(L"--", L'+'), L"a+b");
}

TEST(StringReplace, EmptyAndNullArgumentsChangeNothingHarmful)
{
    const CString s(L"abc");
    EXPECT_EQ(s.Replace(L"", L"x"), L"abc");
    EXPECT_EQ(s.Replace((const wchar_t *)nullptr, L"x"), L"abc");
    EXPECT_EQ(s.Replace(L"b", (const wchar_t *)nullptr), L"ac");
    EXPECT_EQ(s.Replace(L'\0', L'x'), L"abc");
    EXPECT_EQ(s.Replace(L'\0', L"xy"), L"abc");
    EXPECT_EQ(s.Replace(L"b", L'\0'), L"ac");
    EXPECT_EQ(s.Replace(L'b', L'\0'), L"a"); // a null character ends the text
}

// --- case and trimming -------------------------------------------------------

TEST(StringCase, OnlyAsciiLettersChange)
{
    EXPECT_EQ(CString(L"gr\u00FC\u00DFe").ToUpper(), L"GR\u00FC\u00DFE");
    EXPECT_EQ(CString(L"\u00C4BC-Z").ToLower(), L"\u00C4bc-z");
    EXPECT_EQ(CString(L"").ToUpper(), L"");
}

TEST(StringTrim, WhiteSpaceAndCharacterRuns)
{
    EXPECT_EQ(CString(L"abc  \t").TrimRight(), L"abc");
    EXPECT_EQ(CString(L" \t\n\v\f\rabc ").TrimLeft(), L"abc ");
    EXPECT_EQ(CString(L"\u00A0abc").TrimLeft(), L"\u00A0abc"); // not POSIX white space
    EXPECT_EQ(CString(L"   ").TrimLeft(), L"");
    EXPECT_EQ(CString(L"   ").TrimRight(), L"");
    EXPECT_EQ(CString(L"007").TrimLeft(L'0'), L"7");
    EXPECT_EQ(CString(L"1.500").TrimRight(L'0'), L"1.5");
    EXPECT_EQ(CString(L"000").TrimRight(L'0'), L"");
    EXPECT_EQ(CString(L"abc").TrimLeft(L'\0'), L"abc");
    EXPECT_EQ(CString(L"").TrimRight(L'x'), L"");
}

// --- searching and sub-strings -------------------------------------------------

TEST(StringSearch, FirstAndLastPositions)
{
    EXPECT_EQ(CString(L"a.b.c").IndexOf(L'.'), 1);
    EXPECT_EQ(CString(L"a.b.c").LastIndexOf(L'.'), 3);
    EXPECT_EQ(CString(L"abc").IndexOf(L'.'), -1);
    EXPECT_EQ(CString(L"abc").LastIndexOf(L'.'), -1);
    EXPECT_EQ(CString(L"abc").IndexOf(L'\0'), 3);
    EXPECT_EQ(CString(L"").LastIndexOf(L'\0'), 0);
}

TEST(StringSubstring, RangesInsideAndOutsideTheText)
{
    const CString s(L"hello");
    EXPECT_EQ(s.Substring(2), L"llo");
    EXPECT_EQ(s.Substring(5), L"");
    EXPECT_EQ(s.Substring(6), L"");
    EXPECT_EQ(s.Substring(1, 3), L"ell");
    EXPECT_EQ(s.Substring(3, 3), L"");
    EXPECT_EQ(s.Substring(0, 5), L"hello");
    EXPECT_EQ(s.Substring(2, 0), L"");
    EXPECT_EQ(s.Substring(2, -1), L"");
    // Out-of-range starts never read before or after the buffer.
    EXPECT_EQ(s.Substring(-1), L"");
    EXPECT_EQ(s.Substring(-2, 3), L"");
    EXPECT_EQ(s.Substring(INT_MAX, 1), L"");
    EXPECT_EQ(s.Substring(1, INT_MAX), L"");
}

// --- splitting ---------------------------------------------------------------

TEST(StringSplit, PiecesAccumulateAcrossSplits)
{
    CString s(L"a;;b;");
    EXPECT_EQ(s.Split(L';'), 4);
    const wchar_t *expected[] = {L"a", L"", L"b", L""};
    for (size_t i = 0; i < 4; ++i)
        EXPECT_EQ(s.SplitResultByIndex(i), expected[i]) << i;
    s = L"x";
    EXPECT_EQ(s.Split(L';'), 1);
    EXPECT_EQ(s.SplitResultByIndex(4), L"x");
    s = L"";
    EXPECT_EQ(s.Split(L';'), 0);
    EXPECT_EQ(s.SplitResultByIndex(5), L"");
    EXPECT_EQ(s.SplitResultByIndex((size_t)-1), L"");
}

TEST(StringSplit, LongestTextIsOnePiece)
{
    CString s(std::wstring(kMax, L'z').c_str());
    EXPECT_EQ(s.Split(L'\0'), 1);
    EXPECT_EQ(Text(s.SplitResultByIndex(0)), std::wstring(kMax, L'z'));
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
    EXPECT_EQ(s.SplitCommandLine(), count); // a second call appends again
    EXPECT_EQ(s.SplitResultByIndex(count), s.SplitResultByIndex(0));
}

// --- numbers -------------------------------------------------------------------

TEST(StringNumbers, LeadingNumberOrZero)
{
    EXPECT_EQ(CString(L" 42abc").ToInteger(), 42);
    EXPECT_EQ(CString(L"-17").ToInteger(), -17);
    EXPECT_EQ(CString(L"+8").ToInteger(), 8);
    EXPECT_EQ(CString(L"abc").ToInteger(), 0);
    EXPECT_EQ(CString(L"").ToInteger(), 0);
    EXPECT_EQ(CString(L"99999999999").ToInteger(), INT_MAX);
    EXPECT_DOUBLE_EQ(CString(L"3.5e2").ToDouble(), 350.0);
    EXPECT_DOUBLE_EQ(CString(L"\t-0.25x").ToDouble(), -0.25);
    EXPECT_DOUBLE_EQ(CString(L"x1").ToDouble(), 0.0);
}

} // namespace
