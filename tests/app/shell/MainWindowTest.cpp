// The real Tempulo.exe as a user sees it: its face on the screen, compared
// pixel by pixel with the program's own digit bitmaps composed for the
// remaining time, and where its window goes.
#include "engine/Tick.h"
#include "font/CFont.h"
#include "imaging/CImage.h"
#include "support/FixedClock.h"
#include "support/TempuloProcess.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

using namespace wintest;

namespace {

const int kSmallFirst = 300, kDigitalFirst = 320;

// A digit bitmap as the resources hold it (the test carries the program's
// resources), read through plain GDI.
const Capture &Bitmap(int id)
{
    static std::map<int, Capture> cache;
    Capture &p = cache[id];
    if (p.width) return p;
    HBITMAP bitmap = (HBITMAP)LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id),
                                         IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
    p = BitmapPixels(bitmap);
    DeleteObject(bitmap);
    return p;
}

DWORD Rgb(COLORREF c)
{
    return (DWORD)GetRValue(c) << 16 | (DWORD)GetGValue(c) << 8 | GetBValue(c);
}

// The face the program should paint for the text: each character's bitmap
// stretched into its cell, near-black turned into the background colour,
// cut to the client area.
Capture Composed(const std::wstring &text, int firstId, int zoom, COLORREF back, int width,
                 int height)
{
    Capture c;
    c.width = width, c.height = height;
    c.pixels.assign((size_t)width * height, 0);
    const Capture &colon = Bitmap(firstId + 10);
    int x0 = 0;
    for (wchar_t ch : text) {
        const int index = ch == L':' ? 10 : ch == L'.' ? 11 : ch == L' ' ? -1 : ch - L'0';
        const Capture &src = index < 0 ? colon : Bitmap(firstId + index);
        for (int y = 0; y < src.height * zoom && y < height; ++y)
            for (int x = 0; x < src.width * zoom && x0 + x < width; ++x) {
                DWORD p = src.pixels[(size_t)(y / zoom) * src.width + x / zoom];
                const bool key =
                    (p >> 16 & 0xFF) <= 30 && (p >> 8 & 0xFF) <= 30 && (p & 0xFF) <= 30;
                c.pixels[(size_t)y * width + x0 + x] = index < 0 || key ? Rgb(back) : p;
            }
        x0 += src.width * zoom;
    }
    return c;
}

SYSTEMTIME Shifted(SYSTEMTIME t, int seconds)
{
    FILETIME f;
    SystemTimeToFileTime(&t, &f);
    ULARGE_INTEGER u = {{f.dwLowDateTime, f.dwHighDateTime}};
    u.QuadPart += (LONGLONG)seconds * 10000000;
    f = {u.LowPart, u.HighPart};
    FileTimeToSystemTime(&f, &t);
    return t;
}

// The text of the face at a moment, counting down to 1 January, 00:00:00.
std::wstring FaceText(int formatNo, bool blanks, int targetYear, const SYSTEMTIME &now)
{
    FixedTimeCalc calc(1, 1, targetYear, 0, 0, 0);
    calc.Now(now.wDay, now.wMonth, now.wYear, now.wHour, now.wMinute, now.wSecond);
    calc.CalculateDiff();
    tFaceLayout layout = {};
    SetDisplayFormat(&layout, DisplayFormatOf(formatNo), blanks);
    FormatRemainingTime(&layout, calc.GetDiffValueDaysOnly(Day), calc.GetDiffValue(Year),
                        calc.GetDiffValue(Month), calc.GetDiffValue(Day), calc.GetDiffValue(Hour),
                        calc.GetDiffValue(Minute), calc.GetDiffValue(Second));
    return layout.Text;
}

// The face on the screen is the composition for the time shown; the
// second may turn while it is captured.
void ExpectFaceShowsRemainingTime(const Tempulo &run, int formatNo, int fontType, int zoom,
                                  COLORREF back)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    const int firstId = fontType == 2 ? kDigitalFirst : kSmallFirst;
    Capture shot;
    ASSERT_TRUE(WaitUntil(
        [&] {
            shot = run.Face();
            GetLocalTime(&now);
            for (int delta : {0, -1, 1, -2})
                if (shot ==
                    Composed(FaceText(formatNo, fontType != 2, now.wYear + 1, Shifted(now, delta)),
                             firstId, zoom, back, shot.width, shot.height))
                    return true;
            return false;
        },
        5000))
        << "the face does not show "
        << testing::PrintToString(FaceText(formatNo, fontType != 2, now.wYear + 1, now));
}

// As a program started now sees it: a running one keeps its first reading.
BOOL ScreenSaverActive()
{
    Program probe(BesideTestProgram(L"SystemActionProbe.exe"), L"saver");
    return probe.WaitForExit(10000) == 1;
}

class MainWindow : public ::testing::Test {
protected:
    void SetUp() override { ResetTempuloSettings(); }
    void TearDown() override { ResetTempuloSettings(); }
};

TEST_F(MainWindow, FreshStartCountsToNewYearAtTheTopRightAndKeepsTheScreenSaverAway)
{
    for (BOOL saverBefore : {TRUE, FALSE}) {
        SystemParametersInfoW(SPI_SETSCREENSAVEACTIVE, saverBefore, nullptr, 0);
        ResetTempuloSettings();
        Tempulo run;
        ASSERT_NE(run.window, nullptr);
        RECT work, r = run.Rect();
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        EXPECT_EQ(r.right - r.left, 291);
        EXPECT_EQ(r.bottom - r.top, 37);
        EXPECT_EQ(r.right, work.right);
        EXPECT_EQ(r.top, work.top);
        const LONG_PTR style = GetWindowLongPtrW(run.window, GWL_STYLE);
        EXPECT_EQ(style & (WS_POPUP | WS_BORDER | WS_DLGFRAME | WS_THICKFRAME),
                  WS_POPUP | WS_BORDER)
            << "no caption, no sizing frame";
        const LONG_PTR ex = GetWindowLongPtrW(run.window, GWL_EXSTYLE);
        EXPECT_TRUE(ex & WS_EX_TOPMOST);
        EXPECT_TRUE((ex & WS_EX_TOOLWINDOW) && !(ex & WS_EX_APPWINDOW)) << "no taskbar button";
        EXPECT_FALSE(ScreenSaverActive()) << "screen saver while counting";
        ExpectFaceShowsRemainingTime(run, 0, 2, 1, 0);
        if (saverBefore) {
            CImage shot; // for a person to look at
            if (shot.CreateScreenShot(true, 0, 0))
                shot.Save(OutputPath(L"").c_str(), L"tempulo-fresh-start.png");
        }
        EXPECT_EQ(run.Exit(), 0u);
        EXPECT_EQ(ScreenSaverActive(), saverBefore) << "screen saver after exit";
        EXPECT_EQ(ReadTempuloSetting(L"position", L"left"), r.left);
        EXPECT_EQ(ReadTempuloSetting(L"position", L"top"), r.top);
    }
    SystemParametersInfoW(SPI_SETSCREENSAVEACTIVE, TRUE, nullptr, 0);
}

TEST_F(MainWindow, BitmapFacesFollowTypeZoomFormatAndBackground)
{
    const struct {
        int fontType, zoom, formatNo;
        COLORREF back;
        int width, height;
    } cases[] = {
        {1, 1, 0, 0x000000, 210, 20},   // small set, a blank at each end
        {2, 3, 0, 0x000000, 873, 111},  // digits 72 x 111, colon and blank 27 x 111
        {2, 1, 0, 0xFFFFFF, 291, 37},   // black turns white, red stays
        {2, 1, 1, 0x8040C0, 249, 37},   // ddddd sssss
        {2, 1, 2, 0x000000, 381, 37},   // yyy.MM.ddd hh:mm:ss
        {1, 2, 3, 0x000000, 480, 40},   // yyy.MM.ddd sssss, small, zoom 2
        {1, 9, 0, 0x000000, 1050, 100}, // zoom above 5 is 5
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << "font type " << c.fontType << ", zoom " << c.zoom
                                        << ", format " << c.formatNo);
        ResetTempuloSettings();
        WriteTempuloSettings({{L"Option", L"FontType", c.fontType},
                              {L"Common", L"Zoom", c.zoom},
                              {L"Option", L"FormatNo", c.formatNo},
                              {L"Colors", L"BackColor", (int)c.back}});
        Tempulo run;
        ASSERT_NE(run.window, nullptr);
        const RECT r = run.Rect();
        EXPECT_EQ(r.right - r.left, c.width);
        EXPECT_EQ(r.bottom - r.top, c.height);
        ExpectFaceShowsRemainingTime(run, c.formatNo, c.fontType, c.zoom > 5 ? 5 : c.zoom, c.back);
        EXPECT_EQ(run.Exit(), 0u);
        if (c.zoom > 5) {
            EXPECT_EQ(ReadTempuloSetting(L"Common", L"Zoom"), 5);
        }
    }
}

TEST_F(MainWindow, FontFacesAreAsWideAsTheFontsDigitsAndLeaveRoomForTheSlant)
{
    for (int italic : {0, 1}) {
        ResetTempuloSettings();
        WriteTempuloSettings({{L"Option", L"FontType", 3},
                              {L"Font", L"Italic", italic},
                              {L"Colors", L"BackColor", 0x00FFFFFF}});
        // The default font, measured as the program measures it.
        CFont base(L"Times New Roman", 24);
        CFont font(base.GetFaceName(), base.GetWeight(), base.GetHeight(), (BYTE)italic, 0, 0);
        HDC dc = GetDC(nullptr);
        font.InitTextMetric(dc);
        long digit = font.GetDisplayStringWeight(L"0"), colon = font.GetDisplayStringWeight(L":");
        const long height = font.GetDisplayHeight();
        ReleaseDC(nullptr, dc);
        if (italic) digit = digit * 8 / 6, colon = colon * 8 / 6;

        Tempulo run;
        ASSERT_NE(run.window, nullptr);
        const RECT r = run.Rect();
        // " ddddd hh:mm:ss ": eleven digits, two colons, two blanks and the
        // blank between days and hours as wide as a colon.
        EXPECT_EQ(r.right - r.left, 11 * digit + 5 * colon) << "italic " << italic;
        EXPECT_EQ(r.bottom - r.top, height);
        int red = 0, white = 0;
        EXPECT_TRUE(WaitUntil(
            [&] {
                red = white = 0;
                for (DWORD p : run.Face().pixels)
                    red += p == 0xFF0000, white += p == 0xFFFFFF;
                return red > 100 && white > red;
            },
            5000))
            << "red digits on white: " << red << " red, " << white << " white";
        EXPECT_EQ(run.Exit(), 0u);
    }
}

TEST_F(MainWindow, GoesToTheChosenEdgeOrCentreOfTheWorkArea)
{
    RECT work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int w = 291, h = 37;
    const int xs[] = {work.left, (work.right - w) / 2, work.right - w};
    const int ys[] = {work.top, (work.bottom - h) / 2, work.bottom - h};
    for (int horizontal = 0; horizontal < 3; ++horizontal)
        for (int vertical = 0; vertical < 3; ++vertical) {
            ResetTempuloSettings();
            WriteTempuloSettings(
                {{L"Common", L"PosHorizontal", horizontal}, {L"Common", L"PosVertikal", vertical}});
            Tempulo run;
            ASSERT_NE(run.window, nullptr);
            const RECT r = run.Rect();
            EXPECT_EQ(r.left, xs[horizontal]) << horizontal << "/" << vertical;
            EXPECT_EQ(r.top, ys[vertical]) << horizontal << "/" << vertical;
            EXPECT_EQ(run.Exit(), 0u);
        }
}

TEST_F(MainWindow, TopmostTaskbarButtonAndMinimumSizeFollowTheSettings)
{
    const struct {
        const char *name;
        std::initializer_list<Setting> settings;
        bool topmost, taskbar;
        int width, height;
    } cases[] = {
        {"defaults", {}, true, false, 291, 37},
        {"not in front", {{L"Common", L"Front", 0}}, false, false, 291, 37},
        {"taskbar button", {{L"Common", L"ShowInTaskbar", 1}}, true, true, 291, 37},
        // A font one pixel high still leaves a window that can be grabbed.
        {"tiny font", {{L"Option", L"FontType", 3}, {L"Font", L"Height", -1}}, true, false, 40, 10},
    };
    for (const auto &c : cases) {
        ResetTempuloSettings();
        WriteTempuloSettings(c.settings);
        Tempulo run;
        ASSERT_NE(run.window, nullptr) << c.name;
        const LONG_PTR ex = GetWindowLongPtrW(run.window, GWL_EXSTYLE);
        EXPECT_EQ((ex & WS_EX_TOPMOST) != 0, c.topmost) << c.name;
        EXPECT_EQ((ex & WS_EX_APPWINDOW) != 0, c.taskbar) << c.name;
        EXPECT_EQ((ex & WS_EX_TOOLWINDOW) != 0, !c.taskbar) << c.name;
        const RECT r = run.Rect();
        EXPECT_EQ(r.right - r.left, c.width) << c.name;
        EXPECT_EQ(r.bottom - r.top, c.height) << c.name;
        EXPECT_EQ(run.Exit(), 0u);
    }
}

// Drags with the left button as the mouse would, in client coordinates.
void Drag(HWND window, int dx, int dy)
{
    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 10));
    PostMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(100 + dx, 10 + dy));
    PostMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(100 + dx, 10 + dy));
}

TEST_F(MainWindow, ADraggedWindowKeepsItsPlaceAcrossARestart)
{
    RECT dragged;
    {
        Tempulo run;
        ASSERT_NE(run.window, nullptr);
        const RECT start = run.Rect();
        Drag(run.window, -300, 200);
        EXPECT_TRUE(WaitUntil([&] { return run.Rect().top == start.top + 200; }, 5000));
        dragged = run.Rect();
        EXPECT_EQ(dragged.left, start.left - 300);
        EXPECT_EQ(run.Exit(), 0u);
    }
    EXPECT_EQ(ReadTempuloSetting(L"Common", L"IsFreePos"), 1);
    Tempulo again;
    ASSERT_NE(again.window, nullptr);
    EXPECT_EQ(again.Rect().left, dragged.left);
    EXPECT_EQ(again.Rect().top, dragged.top);
    EXPECT_EQ(again.Exit(), 0u);
}

TEST_F(MainWindow, AChangeOfTheScreenBringsBackAWindowLeftOffScreen)
{
    RECT work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const struct {
        int isFreePos;
        UINT message;
        WPARAM wParam;
        int left, top; // where it must come back to
    } cases[] = {
        {0, WM_DISPLAYCHANGE, 32, work.right - 291, work.top},         // back to its edge
        {1, WM_DISPLAYCHANGE, 32, work.right - 291, work.bottom - 37}, // pulled in
        {1, WM_SETTINGCHANGE, SPI_SETWORKAREA, work.right - 291, work.bottom - 37},
        // A dragged window without a stored position goes to its edge.
        {1, WM_NULL, 0, work.right - 291, work.top},
    };
    for (const auto &c : cases) {
        ResetTempuloSettings();
        WriteTempuloSettings({{L"Common", L"IsFreePos", c.isFreePos}});
        Tempulo run;
        ASSERT_NE(run.window, nullptr);
        if (c.message != WM_NULL) {
            // Where a monitor that is gone now showed it.
            SetWindowPos(run.window, nullptr, 3000, 2000, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
            SendMessageW(run.window, c.message, c.wParam, 0);
        }
        EXPECT_EQ(run.Rect().left, c.left) << c.isFreePos << " " << c.message;
        EXPECT_EQ(run.Rect().top, c.top) << c.isFreePos << " " << c.message;
        EXPECT_EQ(run.Exit(), 0u);
    }
}

} // namespace
