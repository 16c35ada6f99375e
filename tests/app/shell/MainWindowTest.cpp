// Runs the real Tempulo.exe in the test session and looks at its window.
#include "imaging/CImage.h"
#include "support/WinTest.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

const DWORD kStartTimeout = 20000;

class RunningTempulo : public ::testing::Test {
protected:
    void SetUp() override
    {
        program = std::make_unique<wintest::Program>(wintest::BesideTestProgram(L"Tempulo.exe"));
        ASSERT_TRUE(program->Started());
        window = program->WaitForWindow(L"Tempulo", L"Tempulo", kStartTimeout);
        ASSERT_NE(window, nullptr) << "no window titled Tempulo";
    }
    void TearDown() override
    {
        if (window && IsWindow(window)) PostMessageW(window, WM_CLOSE, 0, 0);
        if (program) {
            EXPECT_EQ(program->WaitForExit(kStartTimeout), 0u);
        }
    }

    wintest::Capture Face() const
    {
        RECT r;
        GetWindowRect(window, &r);
        return wintest::CaptureScreen(r);
    }

    std::unique_ptr<wintest::Program> program;
    HWND window = nullptr;
};

TEST_F(RunningTempulo, IsACaptionlessToolWindowAtTheTopRight)
{
    const DWORD style = (DWORD)GetWindowLongPtrW(window, GWL_STYLE);
    const DWORD exStyle = (DWORD)GetWindowLongPtrW(window, GWL_EXSTYLE);
    EXPECT_EQ(style & (WS_POPUP | WS_BORDER | WS_SYSMENU | WS_DLGFRAME | WS_THICKFRAME),
              DWORD(WS_POPUP | WS_BORDER | WS_SYSMENU))
        << "no caption, no sizing frame";
    EXPECT_EQ(exStyle & (WS_EX_TOOLWINDOW | WS_EX_TOPMOST),
              DWORD(WS_EX_TOOLWINDOW | WS_EX_TOPMOST));

    RECT work, r;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    GetWindowRect(window, &r);
    EXPECT_EQ(r.right, work.right);
    EXPECT_EQ(r.top, work.top);
    EXPECT_GE(r.right - r.left, 40);
    EXPECT_GE(r.bottom - r.top, 10);
}

TEST_F(RunningTempulo, FaceChangesFromOneSecondToTheNext)
{
    wintest::Capture first;
    // The face is painted right after the window shows.
    ASSERT_TRUE(wintest::WaitUntil(
        [&] {
            first = Face();
            for (DWORD p : first.pixels)
                if (p != 0) return true;
            return false;
        },
        kStartTimeout))
        << "the face stays black";
    wintest::Capture next;
    EXPECT_TRUE(wintest::WaitUntil(
        [&] {
            next = Face();
            return !(next == first);
        },
        5000))
        << "the face did not change within five seconds";

    CImage shot; // for a person to look at
    if (shot.CreateScreenShot(true, 0, 0))
        shot.Save(wintest::OutputPath(L"").c_str(), L"tempulo.bmp");
}

TEST_F(RunningTempulo, SecondCopyReportsTheFirstAndEnds)
{
    wintest::Program second(wintest::BesideTestProgram(L"Tempulo.exe"));
    ASSERT_TRUE(second.Started());
    HWND box = second.WaitForWindow(L"#32770", L"Tempulo", kStartTimeout);
    ASSERT_NE(box, nullptr) << "no message from the second copy";
    EXPECT_EQ(GetWindow(box, GW_OWNER), window);
    wchar_t text[260] = L"";
    GetDlgItemTextW(box, 0xFFFF, text, 260);
    EXPECT_STREQ(text, L"The program is already active.\nIt can not be restarted!");
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(second.WaitForExit(kStartTimeout), 0u);
    EXPECT_TRUE(IsWindow(window)) << "the first copy keeps running";
}

} // namespace
