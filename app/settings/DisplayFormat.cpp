#include "settings/DisplayFormat.h"

#include <wchar.h>

namespace {

const wchar_t *const kDisplayFormats[DISPLAY_FORMAT_COUNT] = {
    L"ddddd hh:mm:ss", L"ddddd sssss", L"yyy.MM.ddd hh:mm:ss", L"yyy.MM.ddd sssss"};

const wchar_t kAllowedFormatChars[] = L"yMdhms:. ";

} // namespace

const wchar_t *DisplayFormatOf(int formatNo)
{
    if (formatNo < 0 || formatNo >= DISPLAY_FORMAT_COUNT) formatNo = 0;
    return kDisplayFormats[formatNo];
}

void SetDisplayFormat(tFaceLayout *layout, const wchar_t *format, bool addBlanks)
{
    wchar_t *out = layout->Format;
    size_t used = 0;
    const size_t capacity = FACE_CCH - 1;
    if (addBlanks) out[used++] = L' ';
    // At most the first 22 characters of the format are looked at.
    for (size_t i = 0; format && format[i] && i < FACE_CCH && used < capacity; ++i) {
        if (wcschr(kAllowedFormatChars, format[i])) out[used++] = format[i];
    }
    if (addBlanks && used < capacity) out[used++] = L' ';
    out[used] = L'\0';
}
