#include "engine/Screenshot.h"

#include "imaging/CImage.h"
#include "imaging/CSupportedGraphic.h"
#include "res/resource.h"

#include <strsafe.h>

namespace {

// The library fills in the local date and time when it saves.
const wchar_t kFileStem[] = L"Tempulo_{yyyyMMdd_hhmmss}";

} // namespace

void TakeScreenshot(tAppData *app, HWND owner, bool force)
{
    const tSettings &s = app->Settings;
    if (!s.TakePrntScrn && !force) return;
    if (wcsnlen(s.PrntScrnPath, PATH_CCH) < 2) return;

    CImage *image = new CImage();
    image->CreateScreenShot(false, 0, 0);
    wchar_t fileName[PATH_CCH];
    StringCchCopyW(fileName, PATH_CCH, kFileStem);
    StringCchCatW(fileName, PATH_CCH,
                  app->SupportedGraphic->GetFileFilterForSave(CSupportedGraphic::GraphicFormats,
                                                              s.ExtensionNo));
    if (!image->Save(s.PrntScrnPath, fileName)) {
        wchar_t text[PATH_CCH] = L"";
        LoadStringW(app->Instance, IDS_SCREENSHOT_FAILED, text, PATH_CCH);
        MessageBoxW(owner, text, app->Title, MB_OK | MB_ICONEXCLAMATION);
    }
    delete image;
}
