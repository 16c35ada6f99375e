#include "string/CString.h"

#include <windows.h>

#include <shellapi.h>
#include <stdlib.h>
#include <string.h>
#include <wchar.h>

#include <string>

namespace {

const size_t kMaxLength = CString::Capacity - 1;

// The POSIX-locale classes, independent of whatever locale the process set.
bool IsPosixSpace(wchar_t c)
{
    return c == L' ' || c == L'\t' || c == L'\n' || c == L'\v' || c == L'\f' || c == L'\r';
}

wchar_t AsciiUpper(wchar_t c)
{
    return (c >= L'a' && c <= L'z') ? (wchar_t)(c - 32) : c;
}
wchar_t AsciiLower(wchar_t c)
{
    return (c >= L'A' && c <= L'Z') ? (wchar_t)(c + 32) : c;
}

// A separately allocated copy for the piece list, released by Clear.
wchar_t *CopyPiece(const wchar_t *text, size_t length)
{
    wchar_t *piece = new wchar_t[length + 1];
    wmemcpy(piece, text, length);
    piece[length] = L'\0';
    return piece;
}

} // namespace

CString::CString()
{
    Buffer[0] = L'\0';
}

CString::CString(const CString &other)
{
    Assign(other.Buffer);
}

CString::CString(wchar_t ch)
{
    Buffer[0] = ch;
    Buffer[1] = L'\0';
}

CString::CString(const wchar_t *text)
{
    Assign(text);
}

CString::~CString()
{
    Clear();
}

CString &CString::operator=(const CString &other)
{
    if (this != &other) Assign(other.Buffer);
    return *this;
}

CString &CString::operator=(const wchar_t *text)
{
    Assign(text);
    return *this;
}

CString &CString::operator=(wchar_t ch)
{
    Buffer[0] = ch;
    Buffer[1] = L'\0';
    return *this;
}

void CString::Assign(const wchar_t *text)
{
    // The text may lie inside this very buffer (s = s.ToChar() + 1): move.
    size_t length = text ? wcsnlen(text, kMaxLength) : 0;
    if (length) wmemmove(Buffer, text, length);
    Buffer[length] = L'\0';
}

bool CString::operator==(const CString &other) const
{
    return wcscmp(Buffer, other.Buffer) == 0;
}

bool CString::operator==(const wchar_t *text) const
{
    return wcscmp(Buffer, text ? text : L"") == 0;
}

bool CString::operator==(wchar_t ch) const
{
    const wchar_t one[2] = {ch, L'\0'};
    return wcscmp(Buffer, one) == 0;
}

bool CString::operator!=(const CString &other) const
{
    return !(*this == other);
}
bool CString::operator!=(const wchar_t *text) const
{
    return !(*this == text);
}
bool CString::operator!=(wchar_t ch) const
{
    return !(*this == ch);
}

CString::operator const wchar_t *() const
{
    return Buffer;
}
CString::operator wchar_t *()
{
    return Buffer;
}
const wchar_t *CString::ToChar() const
{
    return Buffer;
}
wchar_t *CString::ToChar()
{
    return Buffer;
}

CString CString::Replace(const wchar_t *search, const wchar_t *replacement) const
{
    if (!search || !*search) return CString(Buffer);
    if (!replacement) replacement = L"";

    // The scan goes on behind each inserted replacement, so a replacement
    // that contains the search text is not found again.
    const size_t searchLength = wcslen(search);
    std::wstring result;
    const wchar_t *rest = Buffer;
    for (const wchar_t *hit = wcsstr(rest, search); hit; hit = wcsstr(rest, search)) {
        result.append(rest, hit - rest);
        result.append(replacement);
        rest = hit + searchLength;
        if (result.size() >= kMaxLength) break; // the rest would be cut anyway
    }
    result.append(rest);
    return CString(result.c_str());
}

CString CString::Replace(const wchar_t *search, wchar_t replacement) const
{
    const wchar_t one[2] = {replacement, L'\0'};
    return Replace(search, one);
}

CString CString::Replace(wchar_t search, wchar_t replacement) const
{
    CString result(Buffer);
    if (search == L'\0') return result;
    // A null replacement ends the text at the first occurrence.
    for (wchar_t *p = result.Buffer; *p; ++p) {
        if (*p == search) {
            *p = replacement;
            if (replacement == L'\0') break;
        }
    }
    return result;
}

CString CString::Replace(wchar_t search, const wchar_t *replacement) const
{
    const wchar_t one[2] = {search, L'\0'};
    return Replace(one, replacement);
}

CString CString::ToUpper() const
{
    CString result(Buffer);
    for (wchar_t *p = result.Buffer; *p; ++p)
        *p = AsciiUpper(*p);
    return result;
}

CString CString::ToLower() const
{
    CString result(Buffer);
    for (wchar_t *p = result.Buffer; *p; ++p)
        *p = AsciiLower(*p);
    return result;
}

CString CString::TrimLeft() const
{
    const wchar_t *p = Buffer;
    while (*p && IsPosixSpace(*p))
        ++p;
    return CString(p);
}

CString CString::TrimRight() const
{
    CString result(Buffer);
    size_t length = wcslen(result.Buffer);
    while (length > 0 && IsPosixSpace(result.Buffer[length - 1]))
        --length;
    result.Buffer[length] = L'\0';
    return result;
}

CString CString::TrimLeft(wchar_t ch) const
{
    const wchar_t *p = Buffer;
    if (ch != L'\0')
        while (*p == ch)
            ++p;
    return CString(p);
}

CString CString::TrimRight(wchar_t ch) const
{
    CString result(Buffer);
    size_t length = wcslen(result.Buffer);
    if (ch != L'\0')
        while (length > 0 && result.Buffer[length - 1] == ch)
            --length;
    result.Buffer[length] = L'\0';
    return result;
}

int CString::IndexOf(wchar_t ch) const
{
    const wchar_t *hit = wcschr(Buffer, ch);
    return hit ? (int)(hit - Buffer) : -1;
}

int CString::LastIndexOf(wchar_t ch) const
{
    const wchar_t *hit = wcsrchr(Buffer, ch);
    return hit ? (int)(hit - Buffer) : -1;
}

CString CString::Substring(int start) const
{
    const long long length = (long long)wcslen(Buffer);
    if (start < 0 || start > length) return CString();
    return Substring(start, (int)(length - start));
}

CString CString::Substring(int start, int count) const
{
    const long long length = (long long)wcslen(Buffer);
    // 64-bit sum: start + count must not wrap into a valid-looking range.
    if (start < 0 || count <= 0 || (long long)start + count > length) return CString();
    CString result;
    wmemcpy(result.Buffer, Buffer + start, count);
    result.Buffer[count] = L'\0';
    return result;
}

int CString::Split(wchar_t separator)
{
    if (Buffer[0] == L'\0') return 0;
    int pieces = 0;
    const wchar_t *begin = Buffer;
    for (const wchar_t *p = Buffer;; ++p) {
        if (*p == separator || *p == L'\0') {
            InsertStringToArrayList(CopyPiece(begin, p - begin));
            ++pieces;
            if (*p == L'\0') break;
            begin = p + 1;
        }
    }
    return pieces;
}

int CString::SplitCommandLine()
{
    int count = 0;
    LPWSTR *arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!arguments) return 0;
    for (int i = 0; i < count; ++i)
        InsertStringToArrayList(CopyPiece(arguments[i], wcslen(arguments[i])));
    LocalFree(arguments);
    return count;
}

CString CString::SplitResultByIndex(size_t index) const
{
    if (index >= Parts.size()) return CString();
    return CString(Parts[index]);
}

int CString::ToInteger() const
{
    return (int)wcstol(Buffer, nullptr, 10);
}

double CString::ToDouble() const
{
    return wcstod(Buffer, nullptr);
}

bool CString::InsertStringToArrayList(wchar_t *text)
{
    Parts.push_back(text);
    return true;
}

void CString::Clear()
{
    for (wchar_t *piece : Parts)
        delete[] piece;
    Parts.clear();
}
