// Proves what a user sees of the real Tempulo.exe: the face on the screen,
// pixel for pixel the program's own digit bitmaps composed for the time
// left (or drawn in its font); where the window goes and stays; whether it
// stays in front, shows a taskbar button and keeps the screen saver away.
#include "engine/Tick.h"
#include "font/CFont.h"
#include "res/resource.h"
#include "support/TempuloProcess.h"
#include "timecalc/CTimeCalc.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

using namespace wintest;

namespace {

const Capture &Bitmap(int id)
{
    static std::map<int, Capture> cache;
    Capture &p = cache[id];
    if (!p.width) {
        HBITMAP b = (HBITMAP)LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id),
                                        IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
        p = BitmapPixels(b);
        DeleteObject(b);
    }
    return p;
}

int CharacterIndex(wchar_t ch)
{
    return ch == L':' || ch == L' ' ? 10 : ch == L'.' ? 11 : ch - L'0';
}

// The face for the text: each character's bitmap stretched into its cell,
// a blank as wide as a colon, near-black turned into the background.
Capture Composed(const std::wstring &text, int firstId, int zoom, COLORREF back)
{
    Capture c;
    for (wchar_t ch : text)
        c.width += Bitmap(firstId + CharacterIndex(ch)).width * zoom;
    c.height = Bitmap(firstId).height * zoom;
    c.pixels.assign(size_t(c.width) * c.height,
                    GetRValue(back) << 16 | GetGValue(back) << 8 | GetBValue(back));
    int x0 = 0;
    for (wchar_t ch : text) {
        const Capture &src = Bitmap(firstId + CharacterIndex(ch));
        for (int y = 0; y < c.height; ++y)
            for (int x = 0; ch != L' ' && x < src.width * zoom; ++x) {
                const DWORD p = src.pixels[size_t(y / zoom) * src.width + x / zoom];
                if ((p >> 16 & 0xFF) > 30 || (p >> 8 & 0xFF) > 30 || (p & 0xFF) > 30)
                    c.pixels[size_t(y) * c.width + x0 + x] = p;
            }
        x0 += src.width * zoom;
    }
    return c;
}

// The text of the face now, counting down to next New Year.
std::wstring FaceText(int formatNo, bool blanks)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    CTimeCalc calc(1, 1, WORD(now.wYear + 1), 0, 0, 0);
    calc.CalculateDiff();
    tFaceLayout layout = {};
    SetDisplayFormat(&layout, DisplayFormatOf(formatNo), blanks);
    FormatRemainingTime(&layout, calc.GetDiffValueDaysOnly(Day), calc.GetDiffValue(Year),
                        calc.GetDiffValue(Month), calc.GetDiffValue(Day), calc.GetDiffValue(Hour),
                        calc.GetDiffValue(Minute), calc.GetDiffValue(Second));
    return layout.Text;
}

// The window is as large as the composed face, and its client area (cut by
// the border) shows the face for the time now.
void ExpectFace(const Tempulo &run, int formatNo, int fontType, int zoom, COLORREF back)
{
    const int firstId = fontType == 2 ? IDB_DIGITAL_FIRST : IDB_SMALL_FIRST;
    const bool blanks = fontType != 2;
    Capture expected = Composed(FaceText(formatNo, blanks), firstId, zoom, back);
    const RECT r = run.Rect();
    EXPECT_EQ(r.right - r.left, expected.width);
    EXPECT_EQ(r.bottom - r.top, expected.height);
    // A poll between a turn of the second and the repaint fails; the next
    // one within the second matches.
    EXPECT_TRUE(WaitUntil(
        [&] {
            const Capture shot = run.Face();
            expected = Composed(FaceText(formatNo, blanks), firstId, zoom, back);
            for (int y = 0; y < std::min(shot.height, expected.height); ++y)
                for (int x = 0; x < std::min(shot.width, expected.width); ++x)
                    if (shot.pixels[size_t(y) * shot.width + x] !=
                        expected.pixels[size_t(y) * expected.width + x])
                        return false;
            return shot.width > 0;
        },
        5000))
        << "the face does not show " << testing::PrintToString(FaceText(formatNo, blanks));
}

// As a program started now sees it: a running one keeps its first reading.
BOOL ScreenSaverActive()
{
    Program probe(BesideTestProgram(L"SystemActionProbe.exe"), L"saver");
    return probe.WaitForExit(10000) == 1;
}

RECT WorkArea()
{
    RECT work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

class MainWindow : public ::testing::Test {
protected:
    void TearDown() override { ResetTempuloSettings(); }
};

TEST_F(MainWindow, AFreshStartCountsToNewYearTopRightInFrontAndHoldsOffTheScreenSaver)
{
    for (BOOL saverBefore : {TRUE, FALSE}) {
        SCOPED_TRACE(saverBefore ? "screen saver on before" : "screen saver off before");
        SystemParametersInfoW(SPI_SETSCREENSAVEACTIVE, saverBefore, nullptr, 0);
        Tempulo run({});
        ASSERT_NE(run.window, nullptr);
        const RECT r = run.Rect();
        EXPECT_EQ(r.right, WorkArea().right);
        EXPECT_EQ(r.top, WorkArea().top);
        const LONG_PTR frame = WS_POPUP | WS_CAPTION | WS_THICKFRAME;
        EXPECT_EQ(GetWindowLongPtrW(run.window, GWL_STYLE) & frame, WS_POPUP | WS_BORDER)
            << "no caption, no sizing frame";
        const LONG_PTR ex = GetWindowLongPtrW(run.window, GWL_EXSTYLE);
        EXPECT_TRUE(ex & WS_EX_TOPMOST);
        EXPECT_TRUE((ex & WS_EX_TOOLWINDOW) && !(ex & WS_EX_APPWINDOW)) << "no taskbar button";
        ExpectFace(run, 0, 2, 1, 0);
        EXPECT_FALSE(ScreenSaverActive()) << "while counting";
        EXPECT_EQ(run.Exit(), 0u);
        EXPECT_EQ(ScreenSaverActive(), saverBefore) << "after the end";
    }
    SystemParametersInfoW(SPI_SETSCREENSAVEACTIVE, TRUE, nullptr, 0);
}

TEST_F(MainWindow, BitmapFacesFollowSetZoomFormatAndBackground)
{
    const struct {
        const char *name;
        int fontType, zoom, formatNo;
        COLORREF back;
    } rows[] = {
        {"small digits, a blank at each end", 1, 1, 0, 0x000000},
        {"digital, zoom 3", 2, 3, 0, 0x000000},
        {"black turns white, red stays", 2, 1, 0, 0xFFFFFF},
        {"ddddd sssss on purple", 2, 1, 1, 0x8040C0},
        {"yyy.MM.ddd hh:mm:ss", 2, 1, 2, 0x000000},
        {"small yyy.MM.ddd sssss, zoom 2", 1, 2, 3, 0x000000},
        {"zoom 9 is zoom 5", 1, 9, 0, 0x000000},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        Tempulo run({{L"Option", L"FontType", row.fontType},
                     {L"Common", L"Zoom", row.zoom},
                     {L"Option", L"FormatNo", row.formatNo},
                     {L"Colors", L"BackColor", int(row.back)}});
        ASSERT_NE(run.window, nullptr);
        ExpectFace(run, row.formatNo, row.fontType, row.zoom > 5 ? 5 : row.zoom, row.back);
        EXPECT_EQ(run.Exit(), 0u);
        EXPECT_EQ(ReadTempuloSetting(L"Common", L"Zoom"), row.zoom > 5 ? 5 : row.zoom);
    }
}

TEST_F(MainWindow, FontFacesAreAsWideAsTheFontsDigitsWithRoomForTheSlant)
{
    for (int italic : {0, 1}) {
        SCOPED_TRACE(italic ? "italic" : "upright");
        // The default font, measured as the program measures it.
        CFont base(L"Times New Roman", 24);
        CFont font(base.GetFaceName(), base.GetWeight(), base.GetHeight(), BYTE(italic), 0, 0);
        HDC dc = GetDC(nullptr);
        font.InitTextMetric(dc);
        long digit = font.GetDisplayStringWeight(L"0"), colon = font.GetDisplayStringWeight(L":");
        ReleaseDC(nullptr, dc);
        if (italic) digit = digit * 8 / 6, colon = colon * 8 / 6;

        Tempulo run({{L"Option", L"FontType", 3},
                     {L"Font", L"Italic", italic},
                     {L"Colors", L"BackColor", 0xFFFFFF}});
        ASSERT_NE(run.window, nullptr);
        const RECT r = run.Rect();
        // " ddddd hh:mm:ss ": eleven digits; two colons and three blanks as
        // wide as a colon.
        EXPECT_EQ(r.right - r.left, 11 * digit + 5 * colon);
        EXPECT_EQ(r.bottom - r.top, font.GetDisplayHeight());
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
    const RECT work = WorkArea();
    const char *names[] = {"left/top", "centre", "right/bottom"};
    for (int h = 0; h < 3; ++h)
        for (int v = 0; v < 3; ++v) {
            SCOPED_TRACE(testing::Message()
                         << "horizontal " << names[h] << ", vertical " << names[v]);
            Tempulo run({{L"Common", L"PosHorizontal", h}, {L"Common", L"PosVertikal", v}});
            ASSERT_NE(run.window, nullptr);
            const RECT r = run.Rect();
            const int w = r.right - r.left, ht = r.bottom - r.top;
            const int xs[] = {work.left, (work.right - w) / 2, work.right - w};
            const int ys[] = {work.top, (work.bottom - ht) / 2, work.bottom - ht};
            EXPECT_EQ(r.left, xs[h]);
            EXPECT_EQ(r.top, ys[v]);
            EXPECT_EQ(run.Exit(), 0u);
        }
}

TEST_F(MainWindow, InFrontTaskbarButtonAndMinimumSizeFollowTheSettings)
{
    const struct {
        const char *name;
        std::initializer_list<Setting> settings;
        bool topmost, taskbar;
    } rows[] = {
        {"not in front", {{L"Common", L"Front", 0}}, false, false},
        {"taskbar button", {{L"Common", L"ShowInTaskbar", 1}}, true, true},
        {"a font one pixel high",
         {{L"Option", L"FontType", 3}, {L"Font", L"Height", -1}},
         true,
         false},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        Tempulo run(row.settings);
        ASSERT_NE(run.window, nullptr);
        const LONG_PTR ex = GetWindowLongPtrW(run.window, GWL_EXSTYLE);
        EXPECT_EQ((ex & WS_EX_TOPMOST) != 0, row.topmost);
        EXPECT_EQ((ex & WS_EX_APPWINDOW) != 0, row.taskbar);
        EXPECT_EQ((ex & WS_EX_TOOLWINDOW) != 0, !row.taskbar);
        // Even the tiniest face leaves a window that can be grabbed.
        const RECT r = run.Rect();
        EXPECT_GE(r.right - r.left, 40);
        EXPECT_GE(r.bottom - r.top, 10);
        EXPECT_EQ(run.Exit(), 0u);
    }
}

TEST_F(MainWindow, ADraggedWindowKeepsItsPlaceAcrossARestart)
{
    RECT start, dragged;
    {
        Tempulo run({});
        ASSERT_NE(run.window, nullptr);
        start = run.Rect();
        // As the mouse drags, in client coordinates.
        const LPARAM from = MAKELPARAM(300, 10), to = MAKELPARAM(0, 210);
        PostMessageW(run.window, WM_LBUTTONDOWN, MK_LBUTTON, from);
        PostMessageW(run.window, WM_MOUSEMOVE, MK_LBUTTON, to);
        PostMessageW(run.window, WM_LBUTTONUP, 0, to);
        EXPECT_TRUE(WaitUntil([&] { return run.Rect().top == start.top + 200; }, 5000));
        dragged = run.Rect();
        EXPECT_EQ(dragged.left, start.left - 300);
        EXPECT_EQ(run.Exit(), 0u);
    }
    Tempulo again;
    ASSERT_NE(again.window, nullptr);
    EXPECT_EQ(again.Rect().left, dragged.left);
    EXPECT_EQ(again.Rect().top, dragged.top);
    EXPECT_EQ(again.Exit(), 0u);
}

TEST_F(MainWindow, AChangeOfDisplayOrWorkAreaBringsBackAWindowLeftOffScreen)
{
    const RECT work = WorkArea();
    const struct {
        const char *name;
        int isFreePos;
        UINT message;
        WPARAM wParam;
        bool toBottom; // else back at its top right corner
    } rows[] = {
        {"placed at its edge: back to the edge", 0, WM_DISPLAYCHANGE, 32, false},
        {"dragged: pulled in after a display change", 1, WM_DISPLAYCHANGE, 32, true},
        {"dragged: pulled in after a work area change", 1, WM_SETTINGCHANGE, SPI_SETWORKAREA, true},
        {"marked dragged, no position ever stored: to its edge", 1, WM_NULL, 0, false},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        Tempulo run({{L"Common", L"IsFreePos", row.isFreePos}});
        ASSERT_NE(run.window, nullptr);
        const RECT before = run.Rect();
        if (row.message != WM_NULL) {
            // Where a monitor that is gone now showed it.
            SetWindowPos(run.window, nullptr, 3000, 2000, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
            SendMessageW(run.window, row.message, row.wParam, 0);
        }
        const RECT r = run.Rect();
        EXPECT_EQ(r.right, work.right);
        EXPECT_EQ(r.top, row.toBottom ? work.bottom - (before.bottom - before.top) : work.top);
        EXPECT_EQ(run.Exit(), 0u);
    }
}

} // namespace
