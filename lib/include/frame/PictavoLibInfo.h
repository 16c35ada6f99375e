// The library's version and its about box.
#pragma once

#include "PictavoApi.h"

#include <windows.h>

class PICTAVO_API PictavoLibInfo {
public:
    PictavoLibInfo();
    ~PictavoLibInfo();

    // major.minor.build of the library file ("1.x.x.x" without a version
    // record); the text stays valid until the next call.
    const wchar_t *GetVersion();
    // The library's modal about box over the parent.
    void ShowAboutBox(HWND parent);

private:
    wchar_t VersionText[260];
};
