// Proves what the real Tempulo.exe does when driven as a user drives it: the
// face on the screen, pixel for pixel its own digit bitmaps composed for the
// time left; where the window goes and stays; its menu; every way it ends
// (each saves the settings and the position); a second copy; the questions
// about its target at start-up; that days of ticks leak nothing.
#include "engine/Tick.h"
#include "res/resource.h"
#include "res/version.h"
#include "support/TempuloProcess.h"
#include "timecalc/CTimeCalc.h"

#include <gtest/gtest.h>

#include <map>

using namespace wintest;

namespace {

class Shell : public ::testing::Test {
protected:
    void TearDown() override { ResetTempuloSettings(); }
};

RECT WorkArea()
{
    RECT work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

const Capture &Bitmap(int id)
{
    static std::map<int, Capture> cache;
    Capture &p = cache[id];
    HBITMAP b = p.width ? nullptr
                        : (HBITMAP)LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id),
                                              IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
    if (b) p = BitmapPixels(b), DeleteObject(b);
    return p;
}

// The face for the time left to next New Year: each character's bitmap
// stretched into its cell, a blank as wide as a colon, near-black turned
// into the background.
Capture ExpectedFace(int formatNo, int fontType, int zoom, COLORREF back)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    CTimeCalc calc(1, 1, WORD(now.wYear + 1), 0, 0, 0);
    calc.CalculateDiff();
    tFaceLayout layout = {};
    SetDisplayFormat(&layout, DisplayFormatOf(formatNo), fontType != 2);
    FormatRemainingTime(&layout, calc.GetDiffValueDaysOnly(Day), calc.GetDiffValue(Year),
                        calc.GetDiffValue(Month), calc.GetDiffValue(Day), calc.GetDiffValue(Hour),
                        calc.GetDiffValue(Minute), calc.GetDiffValue(Second));
    const int first = fontType == 2 ? IDB_DIGITAL_FIRST : IDB_SMALL_FIRST;
    std::vector<const Capture *> cells;
    Capture c;
    c.height = Bitmap(first).height * zoom;
    for (const wchar_t *ch = layout.Text; *ch; ++ch) {
        const int index = *ch == L':' || *ch == L' ' ? 10 : *ch == L'.' ? 11 : *ch - L'0';
        cells.push_back(&Bitmap(first + index));
        c.width += cells.back()->width * zoom;
    }
    c.pixels.assign(size_t(c.width) * c.height,
                    GetRValue(back) << 16 | GetGValue(back) << 8 | GetBValue(back));
    for (size_t i = 0, x0 = 0; i < cells.size(); x0 += cells[i++]->width * zoom)
        for (int y = 0; layout.Text[i] != L' ' && y < c.height; ++y)
            for (int x = 0; x < cells[i]->width * zoom; ++x) {
                const DWORD p = cells[i]->pixels[size_t(y / zoom) * cells[i]->width + x / zoom];
                if ((p >> 16 & 0xFF) > 30 || (p >> 8 & 0xFF) > 30 || (p & 0xFF) > 30)
                    c.pixels[size_t(y) * c.width + x0 + x] = p;
            }
    return c;
}

// As a program started now sees it: a running one keeps its first reading.
BOOL ScreenSaverActive()
{
    return Program(BesideTestProgram(L"SystemActionProbe.exe"), L"saver").WaitForExit(10000) == 1;
}

TEST_F(Shell, TheFaceAndWindowFollowTheSettingsAndHoldOffTheScreenSaver)
{
    const LONG_PTR tool = WS_EX_TOPMOST | WS_EX_TOOLWINDOW;
    const struct {
        int fontType, zoom, formatNo;
        COLORREF back;
        LONG_PTR exStyle; // of topmost, tool window and app window
        const wchar_t *settings;
    } rows[] = {
        {2, 1, 0, 0, tool, L""}, // a first start
        {1, 1, 0, 0, tool, L"Option/FontType=1"},
        {2, 3, 0, 0, WS_EX_TOOLWINDOW, L"Common/Zoom=3 Common/Front=0"},
        {2, 1, 0, 0xFFFFFF, WS_EX_TOPMOST | WS_EX_APPWINDOW,
         L"Colors/BackColor=0xFFFFFF Common/ShowInTaskbar=1"},
        {2, 1, 1, 0x8040C0, tool, L"Option/FormatNo=1 Colors/BackColor=0x8040C0"},
        {2, 1, 2, 0, tool, L"Option/FormatNo=2"},
        {1, 5, 3, 0, tool, L"Option/FontType=1 Option/FormatNo=3 Common/Zoom=9"}, // 9 is 5
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(testing::Message() << "row " << &row - rows);
        const BOOL saver = &row == rows;
        SystemParametersInfoW(SPI_SETSCREENSAVEACTIVE, saver, nullptr, 0);
        Tempulo run(row.settings);
        ASSERT_NE(run.window, nullptr);
        Capture expected = ExpectedFace(row.formatNo, row.fontType, row.zoom, row.back);
        const RECT r = run.Rect();
        EXPECT_EQ(r.right - r.left, expected.width);
        EXPECT_EQ(r.bottom - r.top, expected.height);
        // The client area, cut by the border. A look between a turn of the
        // second and the repaint fails; the next one matches.
        EXPECT_TRUE(WaitUntil(
            [&] {
                const Capture shot = run.Face();
                expected = ExpectedFace(row.formatNo, row.fontType, row.zoom, row.back);
                bool same = shot.width > 0;
                for (int y = 0; y < shot.height && y < expected.height; ++y)
                    for (int x = 0; x < shot.width && x < expected.width; ++x)
                        same = same && shot.pixels[size_t(y) * shot.width + x] ==
                                           expected.pixels[size_t(y) * expected.width + x];
                return same;
            },
            5000))
            << "the face does not show the time left";
        EXPECT_EQ(r.right, WorkArea().right);
        EXPECT_EQ(r.top, WorkArea().top);
        EXPECT_EQ(GetWindowLongPtrW(run.window, GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME),
                  WS_BORDER);
        EXPECT_EQ(GetWindowLongPtrW(run.window, GWL_EXSTYLE) &
                      (WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_APPWINDOW),
                  row.exStyle);
        EXPECT_FALSE(ScreenSaverActive()) << "while counting";
        EXPECT_EQ(run.Exit(), 0u);
        EXPECT_EQ(ScreenSaverActive(), saver) << "after the end";
        EXPECT_EQ(ReadTempuloSetting(L"Common", L"Zoom"), row.zoom);
    }
    SystemParametersInfoW(SPI_SETSCREENSAVEACTIVE, TRUE, nullptr, 0);
}

// The edges and the centre on one and on two monitors are in the
// two-monitor tests; here a centred window is dragged.
TEST_F(Shell, ADraggedWindowStaysWhereItWasPut)
{
    Tempulo run(L"Common/PosHorizontal=1 Common/PosVertikal=1");
    const RECT r = run.Rect(), work = WorkArea();
    EXPECT_EQ(r.left, (work.right - (r.right - r.left)) / 2);
    EXPECT_EQ(r.top, (work.bottom - (r.bottom - r.top)) / 2);
    // Dragged by the mouse, in client coordinates.
    PostMessageW(run.window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 10));
    PostMessageW(run.window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(0, 210));
    PostMessageW(run.window, WM_LBUTTONUP, 0, MAKELPARAM(0, 210));
    EXPECT_TRUE(WaitUntil([&] { return run.Rect().top == r.top + 200; }, 5000));
    EXPECT_EQ(run.Exit(), 0u);
    Tempulo again;
    EXPECT_EQ(again.Rect().left, r.left - 30);
    EXPECT_EQ(again.Rect().top, r.top + 200);
}

TEST_F(Shell, AChangeOfDisplayOrWorkAreaBringsBackAWindowLeftOffScreen)
{
    const RECT work = WorkArea();
    const struct {
        int isFreePos;
        UINT message; // WM_NULL: no change, and no position was ever stored
        WPARAM wParam;
        bool toBottom; // pulled in where it was, else back to its top right corner
    } rows[] = {{0, WM_DISPLAYCHANGE, 32, false},
                {1, WM_DISPLAYCHANGE, 32, true},
                {1, WM_SETTINGCHANGE, SPI_SETWORKAREA, true},
                {1, WM_NULL, 0, false}};
    for (const auto &row : rows) {
        SCOPED_TRACE(testing::Message() << "row " << &row - rows);
        Tempulo run(L"Common/IsFreePos=" + std::to_wstring(row.isFreePos));
        const LONG height = run.Rect().bottom - run.Rect().top;
        if (row.message != WM_NULL) { // where a monitor that is gone showed it
            SetWindowPos(run.window, nullptr, 3000, 2000, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
            SendMessageW(run.window, row.message, row.wParam, 0);
        }
        EXPECT_EQ(run.Rect().right, work.right);
        EXPECT_EQ(run.Rect().top, row.toBottom ? work.bottom - height : work.top);
        EXPECT_EQ(run.Exit(), 0u);
    }
}

TEST_F(Shell, AcceleratorAndMenuReachTheAboutBoxesAndTheEnd)
{
    Tempulo run;
    ASSERT_NE(run.window, nullptr);
    // Alt+? as a hand types it: keys pressed in order, let go in reverse.
    SetForegroundWindow(run.window);
    const WORD keys[] = {VK_MENU, VK_SHIFT, VK_OEM_2};
    INPUT input[6] = {};
    for (int i = 0; i < 3; ++i) {
        input[i].type = input[5 - i].type = INPUT_KEYBOARD;
        input[i].ki.wVk = input[5 - i].ki.wVk = keys[i];
        input[5 - i].ki.dwFlags = KEYEVENTF_KEYUP;
    }
    SendInput(6, input, sizeof(INPUT));
    const std::string version = TEMPULO_VERSION_TEXT;
    for (const std::wstring &title : {L"Tempulo " + Wide(version.substr(0, version.rfind('.'))),
                                      std::wstring(L"Pictavo-Library 1.8.6")}) {
        if (title[0] == L'P') PostMessageW(run.window, WM_COMMAND, IDM_ABOUT_LIBRARY, 0);
        HWND box = run.WaitForBox();
        ASSERT_NE(box, nullptr) << "no box for " << testing::PrintToString(title);
        EXPECT_EQ(GetWindow(box, GW_OWNER), run.window);
        EXPECT_EQ(ControlText(box, IDC_ABOUT_TITLE), title);
        EXPECT_EQ(ControlText(box, IDC_ABOUT_LINK), L"https://www.orvandt.example/");
        EXPECT_TRUE(Answer(box, IDOK));
    }
    // The context menu, by right click and by the menu key; its last entry.
    HWND menu = nullptr;
    for (UINT message : {WM_RBUTTONDOWN, WM_CONTEXTMENU}) {
        PostMessageW(run.window, message, (WPARAM)run.window, message == WM_CONTEXTMENU ? -1 : 0);
        ASSERT_TRUE(WaitUntil(
            [&] { return IsWindowVisible(menu = FindWindowW(L"#32768", nullptr)); }, 5000));
        PostMessageW(menu, WM_KEYDOWN, message == WM_CONTEXTMENU ? VK_UP : VK_ESCAPE, 0);
        EXPECT_TRUE(message == WM_CONTEXTMENU ||
                    WaitUntil([&] { return !IsWindowVisible(menu); }, 5000));
    }
    PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0); // wrapped to the last entry: Exit
    EXPECT_EQ(run.Process().WaitForExit(10000), 0u);
}

TEST_F(Shell, EveryWayOfEndingSavesTheSettingsAndThePosition)
{
    // One value of each branch of the settings, none of them a default.
    const std::wstring stored =
        L"Option/FormatNo=2 Option/AcceptPast=1 Common/Zoom=2 Common/IsFreePos=1 Font/Weight=700 "
        L"Colors/RgbColors15=7 Basis/Jahr=2088 Calc/TD_Sekunde=6 Action/EventNo=1 Task/IsSo=1 "
        L"Task/Jeweils_Minute=6 ";
    for (UINT message : {WM_COMMAND, WM_ENDSESSION, WM_CLOSE}) {
        SCOPED_TRACE(testing::Message() << "message " << message);
        Tempulo run(stored + L"position/left=100 position/top=120");
        EXPECT_EQ(run.Rect().left, 100);
        // Only what the end writes is there afterwards; the window moved.
        SetWindowPos(run.window, nullptr, 130, 150, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        ResetTempuloSettings();
        EXPECT_EQ(run.Exit(message, message == WM_COMMAND ? IDM_EXIT : message == WM_ENDSESSION),
                  0u);
        ExpectSettings(stored + L"position/left=130 position/top=150");
    }
}

TEST_F(Shell, ASecondCopyReportsTheFirstAndEndsAlsoWhenBothStartAtOnce)
{
    for (bool together : {false, true}) {
        SCOPED_TRACE(together ? "started at once" : "started one after the other");
        Program first(BesideTestProgram(L"Tempulo.exe"));
        if (!together) first.WaitForWindow(L"Tempulo", L"Tempulo", 20000);
        Program second(BesideTestProgram(L"Tempulo.exe"));
        Program *copies[] = {&first, &second};
        // Exactly one says that the other runs, and ends with 0; the other counts.
        HWND box = nullptr;
        int reporter = 0;
        ASSERT_TRUE(WaitUntil(
            [&] {
                for (reporter = 0; reporter < 2; ++reporter)
                    if ((box = FindProcessWindow(copies[reporter]->Id(), L"#32770", L"Tempulo")))
                        return true;
                return false;
            },
            20000));
        EXPECT_TRUE(together || reporter == 1) << "the first copy counts on";
        HWND window = copies[1 - reporter]->WaitForWindow(L"Tempulo", L"Tempulo", 20000);
        EXPECT_EQ(ControlText(box), ProgramText(IDS_ALREADY_ACTIVE));
        Press(box, IDOK);
        EXPECT_EQ(copies[reporter]->WaitForExit(10000), 0u);
        PostMessageW(window, WM_CLOSE, 0, 0);
        EXPECT_EQ(copies[1 - reporter]->WaitForExit(10000), 0u);
    }
}

TEST_F(Shell, AtStartAPastTargetOffersNextNewYearAndAnInvalidOneIsReported)
{
    wchar_t invalid[512];
    swprintf(invalid, 512, ProgramText(IDS_INVALID_DATE).c_str(), 1900, 2099);
    SYSTEMTIME now;
    GetLocalTime(&now);
    // Set to end the session at its target: asked instead. Were the session
    // ended, this test would end unfinished: a failure.
    const struct {
        int answer, year, acceptPast;
        const wchar_t *settings;
    } rows[] = {
        {IDYES, now.wYear + 1, 0, L"Basis/Jahr=2020 Action/Event=2"},
        {IDNO, 2020, 1, L"Basis/Jahr=2020 Action/Event=2"},
        {IDOK, 2030, 0, L"Basis/Tag=31 Basis/Monat=2 Basis/Jahr=2030"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.answer);
        Tempulo run(row.settings);
        HWND box = run.WaitForBox();
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(ControlText(box), row.answer == IDOK ? std::wstring(invalid)
                                                       : ProgramText(IDS_EXPIRED) + L"\n\n" +
                                                             ProgramText(IDS_RESET_QUESTION));
        EXPECT_EQ(WindowText(box), ProgramText(IDS_INFORMATION));
        EXPECT_TRUE(Answer(box, row.answer));
        EXPECT_EQ(run.Exit(), 0u);
        EXPECT_EQ(ReadTempuloSetting(L"Basis", L"Jahr"), row.year);
        EXPECT_EQ(ReadTempuloSetting(L"Option", L"AcceptPast"), row.acceptPast);
    }
}

} // namespace
