// The real Tempulo.exe on screens of 100, 150 and 200 %: the prefix's
// scale is changed before each start. The face grows with the screen, and
// no text of the dialogs is cut. Pictures of the face, every page and both
// helpers are left for a person to look at (and for the README).
#include "DialogDriver.h"
#include "imaging/CImage.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

using namespace wintest;

namespace {

const wchar_t kDesktopKey[] = L"Control Panel\\Desktop";

// The prefix's scale, read by every program at its start; put back to
// 100 % at the end, whatever happens.
class ScreenScale {
public:
    ~ScreenScale() { Set(USER_DEFAULT_SCREEN_DPI); }
    void Set(DWORD dpi)
    {
        RegSetKeyValueW(HKEY_CURRENT_USER, kDesktopKey, L"LogPixels", REG_DWORD, &dpi, sizeof dpi);
    }
};

// Fails on texts that do not fit their control and on controls that stick
// out of the window, in the dialog font at the given scale. The font is made
// here: another process's font handle means nothing in this one.
void ExpectNothingClipped(HWND window, int dpi, const std::string &where)
{
    LOGFONTW shell = {};
    shell.lfHeight = -MulDiv(8, dpi, 72);
    wcscpy_s(shell.lfFaceName, L"MS Shell Dlg 2");
    HFONT font = CreateFontIndirectW(&shell);
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    RECT client;
    GetClientRect(window, &client);
    for (HWND c = GetWindow(window, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (!IsWindowVisible(c) || ClassOf(c) == L"#32770") continue;
        RECT r;
        GetWindowRect(c, &r);
        MapWindowPoints(nullptr, window, (POINT *)&r, 2);
        const std::wstring kind = ClassOf(c);
        wchar_t caption[256] = L"";
        SendMessageW(c, WM_GETTEXT, 256, (LPARAM)caption);
        EXPECT_FALSE(r.left < 0 || r.top < 0 || r.right > client.right || r.bottom > client.bottom)
            << where << ": outside: " << caption;
        const LONG type = GetWindowLongW(c, GWL_STYLE) & BS_TYPEMASK;
        const bool box =
            kind == L"Button" && (type == BS_AUTOCHECKBOX || type == BS_CHECKBOX ||
                                  type == BS_AUTORADIOBUTTON || type == BS_RADIOBUTTON);
        if (!caption[0] || (kind != L"Static" && kind != L"Button")) continue;
        RECT needed = {0, 0, 10000, 0};
        DrawTextW(dc, caption, -1, &needed, DT_CALCRECT | DT_SINGLELINE);
        // The box or the button's edge takes room from the text.
        const int room = r.right - r.left -
                         (box                 ? MulDiv(13, dpi, 96) + 4
                          : kind == L"Button" ? 6
                                              : 0);
        EXPECT_TRUE(needed.right <= room && needed.bottom <= r.bottom - r.top)
            << where << ": " << caption << " needs " << needed.right << " of " << room;
    }
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    DeleteObject(font);
}

void Photograph(HWND window, const std::wstring &name)
{
    Sleep(200); // the X server shows the repaint
    RECT r;
    GetWindowRect(window, &r);
    CImage shot; // the desktop's coordinates are the screen's
    EXPECT_TRUE(shot.CreateBitmapFromSelection(GetDesktopWindow(), r) &&
                shot.Save(OutputPath(L"").c_str(), (name + L".png").c_str()))
        << name.c_str();
}

TEST(Scaling, TheFaceGrowsWithTheScreenAndNoDialogTextIsCut)
{
    ScreenScale scale;
    const std::wstring lang = German() ? L"de" : L"en";
    std::map<int, SIZE> faces;
    for (int dpi : {96, 144, 192}) {
        scale.Set(dpi);
        ResetTempuloSettings();
        Tempulo tempulo;
        ASSERT_NE(tempulo.window, nullptr) << dpi;
        const RECT r = tempulo.Rect();
        faces[dpi] = {r.right - r.left, r.bottom - r.top};
        const std::wstring at = dpi == 96 ? L"" : L"-" + std::to_wstring(dpi);
        Photograph(tempulo.window, L"face" + at);

        Dialog dialog(tempulo);
        ASSERT_NE(dialog.frame, nullptr) << dpi;
        for (int i = 0; i < 5; ++i) {
            dialog.SelectTab(i);
            EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(dialog.pages[i]) != 0; }, 3000));
            for (HWND w : {dialog.frame, dialog.pages[i]})
                ExpectNothingClipped(w, dpi,
                                     std::to_string(dpi) + " dpi, page " + std::to_string(i));
            Photograph(dialog.frame, L"settings-" + lang + at + L"-page" + std::to_wstring(i));
        }
        for (int helper : {193, 197}) {
            HWND box = dialog.Open(helper);
            ASSERT_NE(box, nullptr);
            ExpectNothingClipped(box, dpi,
                                 std::to_string(dpi) + " dpi, helper " + std::to_string(helper));
            Photograph(box,
                       L"settings-" + lang + at + (helper == 193 ? L"-selectday" : L"-calctime"));
            ASSERT_TRUE(Answer(box, IDCANCEL));
        }
        EXPECT_TRUE(dialog.Close(IDCANCEL));
        EXPECT_EQ(tempulo.Exit(), 0u);
    }
    // The digit bitmaps are whole pixels at 200 %: exactly twice as large.
    EXPECT_EQ(faces[192].cx, 2 * faces[96].cx);
    EXPECT_EQ(faces[192].cy, 2 * faces[96].cy);
    EXPECT_GT(faces[144].cx, faces[96].cx);
    EXPECT_LT(faces[144].cx, faces[192].cx);
    ResetTempuloSettings();
}

} // namespace
