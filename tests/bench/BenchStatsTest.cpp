#include "bench/BenchStats.h"

#include <gtest/gtest.h>

using bench::ChangeLedger;

TEST(Summarize, InterpolatesBetweenRanksOfUnsortedSamples)
{
    const bench::Spread odd = bench::Summarize({5, 1, 4, 2, 3});
    EXPECT_EQ(odd.count, 5u);
    EXPECT_DOUBLE_EQ(odd.q1, 2);
    EXPECT_DOUBLE_EQ(odd.median, 3);
    EXPECT_DOUBLE_EQ(odd.q3, 4);
    EXPECT_DOUBLE_EQ(odd.p95, 4.8);
    EXPECT_DOUBLE_EQ(odd.max, 5);

    const bench::Spread even = bench::Summarize({40, 10, 30, 20});
    EXPECT_DOUBLE_EQ(even.median, 25);
    EXPECT_DOUBLE_EQ(even.q1, 17.5);

    const bench::Spread one = bench::Summarize({7});
    EXPECT_DOUBLE_EQ(one.q1, 7);
    EXPECT_DOUBLE_EQ(one.q3, 7);
    EXPECT_EQ(bench::Summarize({}).count, 0u);
}

// Local times: second s of the run, m milliseconds past it.
long long At(int s, int m)
{
    return 63800000000000LL + s * 1000LL + m;
}

TEST(ChangeLedger, LatencyIsTheTimePastTheWholeSecond)
{
    ChangeLedger ledger;
    ledger.Add(At(0, 12), 59);
    ledger.Add(At(1, 999), 58);
    ledger.Add(At(3, 0), 57);
    EXPECT_EQ(ledger.Latencies(), (std::vector<double>{12, 999, 0}));
}

TEST(ChangeLedger, ChangesOfOneRepaintCountOnceWithTheFinishedPicture)
{
    ChangeLedger ledger;
    ledger.Add(At(0, 100), -1); // caught half drawn
    ledger.Add(At(0, 100 + ChangeLedger::MergeMs - 1), 42);
    ledger.Add(At(0, 100 + ChangeLedger::MergeMs + 5), 41); // a repaint of its own
    EXPECT_EQ(ledger.Repaints(), 2);
    EXPECT_EQ(ledger.Unread(), 0);
    EXPECT_EQ(ledger.Latencies(), (std::vector<double>{100, 135}));
    EXPECT_EQ(ledger.Skipped(), 0);
}

TEST(ChangeLedger, CountsJumpedSecondsAcrossTheMinuteAndInBothDirections)
{
    ChangeLedger down;
    int s = 0;
    for (int shown : {2, 1, 0, 59, 57, 56, 53})
        down.Add(At(s++, 5), shown);
    EXPECT_EQ(down.Skipped(), 3); // 58, then 55 and 54

    ChangeLedger up; // past the target the face counts up
    for (int shown : {58, 59, 0, 2, 3})
        up.Add(At(s++, 5), shown);
    EXPECT_EQ(up.Skipped(), 1);
}

TEST(ChangeLedger, UnreadRepaintsNeitherSkipNorHideSkips)
{
    ChangeLedger ledger;
    ledger.Add(At(0, 5), -1);
    EXPECT_EQ(ledger.Skipped(), -1); // nothing to compare
    ledger.Add(At(1, 5), 30);
    ledger.Add(At(2, 5), -1);
    ledger.Add(At(3, 5), 27);
    EXPECT_EQ(ledger.Skipped(), 2);
    EXPECT_EQ(ledger.Unread(), 2);
}

TEST(ChangeLedger, SecondsWithoutAChangeAreShownTwice)
{
    ChangeLedger ledger;
    ledger.Add(At(10, 900), 50);
    ledger.Add(At(11, 20), 49);
    ledger.Add(At(11, 980), 48); // two in second 11 make up for none
    ledger.Add(At(14, 10), 47);
    EXPECT_EQ(ledger.SecondsSpanned(), 5);
    EXPECT_EQ(ledger.SecondsWithoutChange(), 2); // 12 and 13
    EXPECT_EQ(ChangeLedger().SecondsWithoutChange(), 0);
}
