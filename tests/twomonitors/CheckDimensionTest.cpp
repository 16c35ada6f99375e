// CheckDimension on a desktop of two monitors side by side: (0,0)-(800,600),
// the primary, and (800,0)-(1600,600). Runs in the session of
// tests/harness/two-monitors.sh.
#include "system/CSystem.h"

#include <gtest/gtest.h>

#include <vector>

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
    };
    for (const auto &c : cases) {
        const RECT r =
            CSystem::CheckDimension(c.window, RECT{0, 0, 800, 600}, c.singleArea, c.keepWhole);
        EXPECT_EQ(Rect({r.left, r.top, r.right, r.bottom}), c.fitted) << "case " << &c - cases;
    }
}

} // namespace
