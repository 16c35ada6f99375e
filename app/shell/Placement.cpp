#include "shell/Placement.h"

#include "dialogs/DialogPos.h"
#include "face/Face.h"
#include "imaging/CImage.h"
#include "settings/AppData.h"
#include "system/CSystem.h"

namespace {

enum { MIN_WIDTH = 40, MIN_HEIGHT = 10, MAX_ZOOM = 5, MIN_ZOOM = 1 };
enum { EDGE_NEAR = 0, EDGE_CENTRE = 1, EDGE_FAR = 2 };

void RecreateImages(tAppData *app)
{
    for (int i = 0; i < FACE_IMAGE_COUNT; ++i) {
        delete app->Images[i];
        app->Images[i] = new CImage();
    }
}

void SizeToFace(tAppData *app, int dpi)
{
    const tFaceLayout *layout = app->Layout;
    const size_t n = wcsnlen(layout->Format, FACE_CCH);
    const int width = n ? layout->Cells[n - 1].right + layout->OriginX : 0;
    const int height = n ? layout->OriginY + layout->Cells[0].bottom : 0;
    const int minWidth = MulDiv(MIN_WIDTH, dpi, USER_DEFAULT_SCREEN_DPI);
    const int minHeight = MulDiv(MIN_HEIGHT, dpi, USER_DEFAULT_SCREEN_DPI);
    app->FaceWidth = width > minWidth ? width : minWidth;
    app->FaceHeight = height > minHeight ? height : minHeight;
}

// The far edge is only a start: the fit that follows pulls the window back
// by its size. The vertical far edge is exact from the outset.
int HorizontalPosition(int edge, const RECT &area, int width, int current)
{
    switch (edge) {
    case EDGE_NEAR: return 0;
    case EDGE_CENTRE: return (area.right - width) / 2;
    case EDGE_FAR: return area.right;
    }
    return current;
}

int VerticalPosition(int edge, const RECT &area, int height, int current)
{
    switch (edge) {
    case EDGE_NEAR: return area.top;
    case EDGE_CENTRE: return (area.bottom - height) / 2;
    case EDGE_FAR: return area.bottom - height;
    }
    return current;
}

bool CornerVisible(int x, int y)
{
    POINT p = {x, y};
    return MonitorFromPoint(p, MONITOR_DEFAULTTONULL) != nullptr;
}

// A stored position from another monitor layout can still leave part of the
// window where no monitor shows it; such a window goes into the work area
// of the monitor nearest to it.
RECT KeepOnMonitors(RECT r)
{
    const int right = r.left + r.right - 1, bottom = r.top + r.bottom - 1;
    if (CornerVisible(r.left, r.top) && CornerVisible(right, r.top) &&
        CornerVisible(r.left, bottom) && CornerVisible(right, bottom))
        return r;
    RECT bounds = {r.left, r.top, r.left + r.right, r.top + r.bottom};
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    if (!GetMonitorInfoW(MonitorFromRect(&bounds, MONITOR_DEFAULTTONEAREST), &info)) return r;
    const RECT &work = info.rcWork;
    if (r.left + r.right > work.right) r.left = work.right - r.right;
    if (r.top + r.bottom > work.bottom) r.top = work.bottom - r.bottom;
    if (r.left < work.left) r.left = work.left;
    if (r.top < work.top) r.top = work.top;
    return r;
}

void ApplyTaskbarStyle(HWND window, bool showInTaskbar)
{
    ShowWindow(window, SW_HIDE);
    LONG_PTR style = GetWindowLongPtrW(window, GWL_EXSTYLE);
    if (showInTaskbar)
        style = (style & ~(LONG_PTR)WS_EX_TOOLWINDOW) | WS_EX_APPWINDOW;
    else
        style = (style & ~(LONG_PTR)WS_EX_APPWINDOW) | WS_EX_TOOLWINDOW;
    SetWindowLongPtrW(window, GWL_EXSTYLE, style);
    ShowWindow(window, SW_SHOW);
}

} // namespace

void PlaceMainWindow(HWND window)
{
    tAppData *app = g_App;
    tSettings &s = app->Settings;
    if (s.Zoom > MAX_ZOOM)
        s.Zoom = MAX_ZOOM;
    else if (s.Zoom < MIN_ZOOM)
        s.Zoom = MIN_ZOOM;

    RecreateImages(app);
    BuildFace(app, window);
    SizeToFace(app, FaceDpi(window));

    const RECT area = ScreenArea(s.Use1Monitor);
    // x, y, width, height, as the fit expects them.
    RECT r = {s.PositionLeft, s.PositionTop, app->FaceWidth, app->FaceHeight};
    // A window marked as dragged whose position was never stored goes where
    // its edge settings say, not to the "unknown" marker far off screen.
    const bool keepDragged =
        s.IsFreePos && s.PositionLeft != POSITION_UNKNOWN && s.PositionTop != POSITION_UNKNOWN;
    if (!keepDragged) {
        r.left = HorizontalPosition(s.PosHorizontal, area, app->FaceWidth, r.left);
        r.top = VerticalPosition(s.PosVertikal, area, app->FaceHeight, r.top);
        // Free edges without a stored position fall back to the top right.
        if (r.left == POSITION_UNKNOWN) r.left = HorizontalPosition(EDGE_FAR, area, 0, 0);
        if (r.top == POSITION_UNKNOWN) r.top = VerticalPosition(EDGE_NEAR, area, 0, 0);
    }
    r = CSystem::CheckDimension(r, area, s.Use1Monitor, true);
    r = KeepOnMonitors(r);

    SetWindowPos(window, s.Front ? HWND_TOPMOST : HWND_NOTOPMOST, r.left, r.top, app->FaceWidth,
                 app->FaceHeight, SWP_SHOWWINDOW);
    if (s.TaskbarChanged) ApplyTaskbarStyle(window, s.ShowInTaskbar);
    // A new face of the old size is drawn whole.
    InvalidateRect(window, nullptr, FALSE);
}

void ReplaceMainWindow(HWND window)
{
    tSettings &s = g_App->Settings;
    if (s.IsFreePos) {
        RECT r;
        GetWindowRect(window, &r);
        s.PositionLeft = r.left;
        s.PositionTop = r.top;
    }
    PlaceMainWindow(window);
}

void RescaleMainWindow(HWND window, const RECT *suggested)
{
    tSettings &s = g_App->Settings;
    // A dragged window stays where the system puts it on the new monitor.
    if (s.IsFreePos && suggested) {
        s.PositionLeft = suggested->left;
        s.PositionTop = suggested->top;
    }
    PlaceMainWindow(window);
}
