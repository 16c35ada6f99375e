#include "frame/PictavoLibInfo.h"

#include "LibModule.h"
#include "frame/AboutBox.h"
#include "res/resource.h"
#include "system/CSystem.h"

#include <strsafe.h>

PictavoLibInfo::PictavoLibInfo() : VersionText() {}

PictavoLibInfo::~PictavoLibInfo() {}

const wchar_t *PictavoLibInfo::GetVersion()
{
    CSystem *system = new CSystem();
    StringCchCopyW(VersionText, _countof(VersionText), system->GetAppVersion(3));
    delete system;
    return VersionText;
}

void PictavoLibInfo::ShowAboutBox(HWND parent)
{
    DialogBoxParamW(PictavoModule(), MAKEINTRESOURCEW(IDD_LIBABOUT), parent, LibAboutProc, 0);
}
