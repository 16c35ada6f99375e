// Proves where Tempulo.exe puts its window on two monitors side by side,
// (0,0)-(800,600) the primary and (800,0)-(1600,600): on the first monitor
// only, or anywhere on the desktop. Runs in tests/harness/two-monitors.sh.
#include "support/TempuloProcess.h"

#include <gtest/gtest.h>

using namespace wintest;

namespace {

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
