// CheckDimension on a desktop of two monitors side by side: (0,0)-(800,600),
// the primary, and (800,0)-(1600,600). Runs in the session of
// tests/harness/two-monitors.sh.
#include "system/CSystem.h"

#include <gtest/gtest.h>

namespace {

const RECT kPrimary = {0, 0, 800, 600};

RECT Window(LONG x, LONG y, LONG width, LONG height)
{
    return RECT{x, y, width, height};
}

void ExpectRect(const RECT &r, LONG x, LONG y, LONG width, LONG height)
{
    EXPECT_EQ(r.left, x);
    EXPECT_EQ(r.top, y);
    EXPECT_EQ(r.right, width);
    EXPECT_EQ(r.bottom, height);
}

class TwoMonitors : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(GetSystemMetrics(SM_CMONITORS), 2) << "needs the two-monitor session";
        ASSERT_EQ(GetSystemMetrics(SM_CXVIRTUALSCREEN), 1600);
    }
};

TEST_F(TwoMonitors, WindowsMayStretchAcrossBothMonitors)
{
    // Over the edge between the monitors: nothing to do.
    ExpectRect(CSystem::CheckDimension(Window(700, 100, 300, 200), kPrimary, false, true), 700, 100,
               300, 200);
    // Past the right edge of the second monitor: moved back onto it.
    ExpectRect(CSystem::CheckDimension(Window(1500, 100, 300, 200), kPrimary, false, true), 1300,
               100, 300, 200);
    // Below the bottom of the monitor nearest to the corner.
    ExpectRect(CSystem::CheckDimension(Window(1000, 500, 300, 200), kPrimary, false, true), 1000,
               400, 300, 200);
    ExpectRect(CSystem::CheckDimension(Window(-50, -20, 300, 200), kPrimary, false, true), 0, 0,
               300, 200);
}

TEST_F(TwoMonitors, TooLargeWindowsAreCutToTheVirtualScreen)
{
    ExpectRect(CSystem::CheckDimension(Window(10, 10, 2500, 1200), kPrimary, false, true), 0, 0,
               1600, 600);
    ExpectRect(CSystem::CheckDimension(Window(1500, 100, 300, 200), kPrimary, false, false), 1500,
               100, 100, 200);
}

TEST_F(TwoMonitors, SingleAreaKeepsTheWindowInTheGivenArea)
{
    ExpectRect(CSystem::CheckDimension(Window(700, 100, 300, 200), kPrimary, true, true), 500, 100,
               300, 200);
    ExpectRect(CSystem::CheckDimension(Window(1500, 100, 300, 200), kPrimary, true, true), 500, 100,
               300, 200);
}

TEST_F(TwoMonitors, UnknownPositionIsReturnedUnchanged)
{
    const LONG unknown = -2147483647 - 1;
    ExpectRect(CSystem::CheckDimension(Window(unknown, unknown, 5000, 5000), kPrimary, false, true),
               unknown, unknown, 5000, 5000);
}

} // namespace
