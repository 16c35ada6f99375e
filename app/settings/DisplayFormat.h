// The four display formats of the face and the face layout's format.
#pragma once

#include "settings/AppData.h"

enum { DISPLAY_FORMAT_COUNT = 4 };

// Display format of FormatNo 0-3; format 0 for any other number.
const wchar_t *DisplayFormatOf(int formatNo);

// Keeps the allowed format characters; with addBlanks one blank cell is put
// at each end of the face.
void SetDisplayFormat(tFaceLayout *layout, const wchar_t *format, bool addBlanks);
