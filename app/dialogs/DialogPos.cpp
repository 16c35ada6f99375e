#include "dialogs/DialogPos.h"

#include "settings/AppData.h"

RECT ScreenArea(bool use1Monitor)
{
    RECT area;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    if (!use1Monitor && GetSystemMetrics(SM_CMONITORS) >= 2) {
        area.right = GetSystemMetrics(SM_CXVIRTUALSCREEN);
        area.bottom = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    }
    return area;
}

POINT CalcDialogPos(HWND dialog, int margin)
{
    const RECT area = ScreenArea(g_App->Settings.Use1Monitor);
    RECT r;
    GetWindowRect(dialog, &r);
    POINT p = {r.left + margin, r.top + margin};
    if (r.right + margin > area.right) p.x = area.right - (r.right - r.left) - margin;
    if (r.bottom + margin > area.bottom) p.y = area.bottom - (r.bottom - r.top) - margin;
    return p;
}
