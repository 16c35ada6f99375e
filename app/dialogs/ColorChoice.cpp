#include "dialogs/ColorChoice.h"

#include "dialogs/SettingsPages.h"
#include "res/resource.h"
#include "settings/AppData.h"

#include <commdlg.h>

bool ChooseBackColor(HWND owner)
{
    tSettings &working = g_App->DialogSettings;
    // Custom colours changed in a cancelled chooser are dropped with it.
    COLORREF custom[CUSTOM_COLOR_COUNT];
    for (int i = 0; i < CUSTOM_COLOR_COUNT; ++i)
        custom[i] = working.RgbColors[i];
    CHOOSECOLORW choice = {};
    choice.lStructSize = sizeof choice;
    choice.hwndOwner = owner;
    choice.rgbResult = working.BackColor;
    choice.lpCustColors = custom;
    choice.Flags = CC_RGBINIT | CC_FULLOPEN | CC_SOLIDCOLOR | CC_ANYCOLOR;
    if (!ChooseColorW(&choice)) return false;
    working.BackColor = choice.rgbResult;
    for (int i = 0; i < CUSTOM_COLOR_COUNT; ++i)
        working.RgbColors[i] = custom[i];
    return true;
}

void ShowColorSwatch(HWND dialog)
{
    HWND button = GetDlgItem(SettingsPage(dialog, PAGE_DISPLAY), IDC_BACKCOLOR);
    tPageTable *table = PageTable(dialog);
    if (button && table) {
        RECT r;
        GetClientRect(button, &r);
        HDC dc = GetDC(button);
        HDC memory = CreateCompatibleDC(dc);
        HBITMAP swatch = CreateCompatibleBitmap(dc, r.right, r.bottom);
        HGDIOBJ previousBitmap = SelectObject(memory, swatch);
        // The colour inside a frame of one pixel at the left and top and two
        // at the right and bottom, which the button's own edge covers.
        SetDCBrushColor(memory, g_App->DialogSettings.BackColor);
        const RECT fill = {1, 1, r.right - 2, r.bottom - 2};
        FillRect(memory, &fill, (HBRUSH)GetStockObject(DC_BRUSH));
        SelectObject(memory, previousBitmap);
        DeleteDC(memory);
        ReleaseDC(button, dc);
        SendMessageW(button, BM_SETIMAGE, IMAGE_BITMAP, (LPARAM)swatch);
        // The button never frees a picture it was given, and not every
        // button hands the old one back: the dialog keeps its own.
        if (table->Swatch) DeleteObject(table->Swatch);
        table->Swatch = swatch;
    }
}

void FreeColorSwatch(HWND dialog)
{
    tPageTable *table = PageTable(dialog);
    if (!table || !table->Swatch) return;
    DeleteObject(table->Swatch);
    table->Swatch = nullptr;
}
