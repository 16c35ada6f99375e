// Where Tempulo.exe puts its window on a desktop of two monitors side by
// side, (0,0)-(800,600) the primary and (800,0)-(1600,600): on the first
// monitor only, or anywhere on the desktop. Runs in the session of
// tests/harness/two-monitors.sh.
#include "support/TempuloProcess.h"

#include <gtest/gtest.h>

using namespace wintest;

namespace {

TEST(TwoMonitors, TheWindowGoesToTheFirstMonitorOrAcrossTheDesktop)
{
    ASSERT_EQ(GetSystemMetrics(SM_CMONITORS), 2) << "needs the two-monitor session";
    const struct {
        int use1Monitor, horizontal, vertical;
        LONG left, top;
    } cases[] = {
        {1, 2, 2, 800 - 291, 600 - 37},  // bottom right of the primary
        {0, 2, 2, 1600 - 291, 600 - 37}, // bottom right of the desktop
        {1, 1, 1, (800 - 291) / 2, (600 - 37) / 2},
        {0, 1, 0, (1600 - 291) / 2, 0}, // centred across both
        {0, 0, 2, 0, 600 - 37},
    };
    for (const auto &c : cases) {
        ResetTempuloSettings();
        WriteTempuloSettings({{L"Common", L"Use1Monitor", c.use1Monitor},
                              {L"Common", L"PosHorizontal", c.horizontal},
                              {L"Common", L"PosVertikal", c.vertical}});
        Tempulo run;
        ASSERT_NE(run.window, nullptr);
        const RECT r = run.Rect();
        EXPECT_EQ(r.left, c.left) << c.use1Monitor << c.horizontal << c.vertical;
        EXPECT_EQ(r.top, c.top) << c.use1Monitor << c.horizontal << c.vertical;
        EXPECT_EQ(run.Exit(), 0u);
    }
    ResetTempuloSettings();
}

} // namespace
