// Wide-character string of fixed capacity (259 characters plus the
// terminator). Every operation that stores a longer text keeps its first 259
// characters. Operations returning a CString never change the object they are
// called on; only Split and SplitCommandLine add to the object's piece list.
#pragma once

#include "PictavoApi.h"

#include <stddef.h>
#include <vector>

class PICTAVO_API CString {
public:
    static const int Capacity = 260; // characters, terminator included

    CString();
    // Copies the text only; the pieces of a split stay with the original.
    CString(const CString &other);
    CString(wchar_t ch); // the null character gives the empty text
    CString(const wchar_t *text);
    ~CString();

    // Assignments copy the text and leave the piece list as it is.
    CString &operator=(const CString &other);
    CString &operator=(const wchar_t *text);
    CString &operator=(wchar_t ch);

    // Exact comparison by UTF-16 code units; a character compares as a
    // one-character text. A null pointer equals the empty text.
    bool operator==(const CString &other) const;
    bool operator==(const wchar_t *text) const;
    bool operator==(wchar_t ch) const;
    bool operator!=(const CString &other) const;
    bool operator!=(const wchar_t *text) const;
    bool operator!=(wchar_t ch) const;

    operator const wchar_t *() const;
    operator wchar_t *();
    const wchar_t *ToChar() const;
    wchar_t *ToChar();

    // Each occurrence of the search text in the original text is replaced
    // once, left to right; an empty search text (or the null character)
    // replaces nothing. The result is cut to 259 characters.
    CString Replace(const wchar_t *search, const wchar_t *replacement) const;
    CString Replace(const wchar_t *search, wchar_t replacement) const;
    CString Replace(wchar_t search, wchar_t replacement) const;
    CString Replace(wchar_t search, const wchar_t *replacement) const;

    // Only the ASCII letters change; every other character stays.
    CString ToUpper() const;
    CString ToLower() const;

    // Without argument: space, tab, line feed, vertical tab, form feed and
    // carriage return. With a character: runs of that character.
    CString TrimLeft() const;
    CString TrimRight() const;
    CString TrimLeft(wchar_t ch) const;
    CString TrimRight(wchar_t ch) const;

    // Position counted from 0, or -1; the null character is found at the end.
    int IndexOf(wchar_t ch) const;
    int LastIndexOf(wchar_t ch) const;

    // Empty when the range does not lie wholly inside the text (a negative
    // start included) or count is not positive.
    CString Substring(int start) const;
    CString Substring(int start, int count) const;

    // Append the pieces to the object's piece list and return how many were
    // appended. Split keeps empty pieces; the empty text gives none.
    int Split(wchar_t separator);
    int SplitCommandLine(); // the program name is the first piece
    // Piece number index over all splits so far; empty when out of range.
    CString SplitResultByIndex(size_t index) const;

    // Leading number after optional white space and sign; 0 when none.
    int ToInteger() const;
    double ToDouble() const;

private:
    bool InsertStringToArrayList(wchar_t *text); // takes ownership (new[])
    void Clear();
    void Assign(const wchar_t *text);

    wchar_t Buffer[Capacity];
    std::vector<wchar_t *> Parts;
};
