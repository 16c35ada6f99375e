// Two monitors side by side, (0,0)-(800,600) the primary and
// (800,0)-(1600,600): how CheckDimension fits windows to the desktop, and
// where Tempulo.exe puts its window, on the first monitor only or anywhere
// on the desktop. Runs in the session of tests/harness/two-monitors.sh.
#include "support/TempuloProcess.h"
#include "system/CSystem.h"

#include <gtest/gtest.h>

#include <vector>

using namespace wintest;

namespace {

TEST(TwoMonitors, WindowsAreFittedToTheVirtualScreenOrToTheGivenArea)
{
    ASSERT_EQ(GetSystemMetrics(SM_CMONITORS), 2) << "needs the two-monitor session";
    ASSERT_EQ(GetSystemMetrics(SM_CXVIRTUALSCREEN), 1600);
    const LONG unknown = -2147483647 - 1;
    using Rect = std::vector<LONG>;
    const struct {
        RECT window; // x, y, width, height
        bool singleArea, keepWhole;
        Rect fitted;
    } cases[] = {
        {{700, 100, 300, 200}, false, true, {700, 100, 300, 200}}, // over the edge between
        {{1500, 100, 300, 200}, false, true, {1300, 100, 300, 200}},
        {{1000, 500, 300, 200}, false, true, {1000, 400, 300, 200}},
        {{-50, -20, 300, 200}, false, true, {0, 0, 300, 200}},
        // Too large: cut to the virtual screen.
        {{10, 10, 2500, 1200}, false, true, {0, 0, 1600, 600}},
        {{1500, 100, 300, 200}, false, false, {1500, 100, 100, 200}},
        // A single area keeps the window inside the given one.
        {{700, 100, 300, 200}, true, true, {500, 100, 300, 200}},
        {{1500, 100, 300, 200}, true, true, {500, 100, 300, 200}},
        {{unknown, unknown, 5000, 5000}, false, true, {unknown, unknown, 5000, 5000}},
        {{unknown, 5, 300, 200}, false, true, {0, 5, 300, 200}},
        {{2147483647 - 10, 100, 300, 200}, false, true, {1300, 100, 300, 200}}, // no wrap
        {{3000, 2000, 300, 200}, false, false, {3000, 2000, 0, 0}}, // nothing left to show
    };
    for (const auto &c : cases) {
        const RECT r =
            CSystem::CheckDimension(c.window, RECT{0, 0, 800, 600}, c.singleArea, c.keepWhole);
        EXPECT_EQ(Rect({r.left, r.top, r.right, r.bottom}), c.fitted) << "case " << &c - cases;
    }
}

TEST(TwoMonitors, TheWindowGoesToTheFirstMonitorOrAcrossTheDesktop)
{
    ASSERT_EQ(GetSystemMetrics(SM_CMONITORS), 2) << "needs the two-monitor session";
    const struct {
        int use1Monitor, horizontal, vertical; // 0 left or top, 1 centre, 2 right or bottom
    } rows[] = {{1, 2, 2}, {0, 2, 2}, {0, 0, 2}, {1, 1, 1}, {0, 1, 0}};
    for (const auto &row : rows) {
        SCOPED_TRACE(testing::Message() << "row " << &row - rows);
        wchar_t settings[100];
        swprintf(settings, 100,
                 L"Common/Use1Monitor=%d Common/PosHorizontal=%d Common/PosVertikal=%d",
                 row.use1Monitor, row.horizontal, row.vertical);
        Tempulo run(settings);
        ASSERT_NE(run.window, nullptr);
        const RECT r = run.Rect();
        const LONG w = r.right - r.left, h = r.bottom - r.top,
                   across = row.use1Monitor ? 800 : 1600;
        EXPECT_EQ(r.left, row.horizontal == 0   ? 0
                          : row.horizontal == 1 ? (across - w) / 2
                                                : across - w);
        EXPECT_EQ(r.top, row.vertical == 0 ? 0 : row.vertical == 1 ? (600 - h) / 2 : 600 - h);
        EXPECT_EQ(run.Exit(), 0u);
    }
    ResetTempuloSettings();
}

} // namespace
