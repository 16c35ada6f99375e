#include "bench/BenchStats.h"

#include <algorithm>

namespace bench {

namespace {

double Quantile(const std::vector<double> &sorted, double p)
{
    const double rank = p * double(sorted.size() - 1);
    const size_t below = size_t(rank);
    if (below + 1 >= sorted.size()) return sorted.back();
    return sorted[below] + (rank - double(below)) * (sorted[below + 1] - sorted[below]);
}

} // namespace

Spread Summarize(std::vector<double> samples)
{
    Spread s;
    if (samples.empty()) return s;
    std::sort(samples.begin(), samples.end());
    s.count = samples.size();
    s.q1 = Quantile(samples, 0.25);
    s.median = Quantile(samples, 0.5);
    s.q3 = Quantile(samples, 0.75);
    s.p95 = Quantile(samples, 0.95);
    s.max = samples.back();
    return s;
}

void ChangeLedger::Add(long long localMs, int shown)
{
    // A clock set back starts a repaint of its own.
    if (!repaints_.empty() && localMs >= repaints_.back().ms &&
        localMs - repaints_.back().ms < MergeMs) {
        // The later picture of the same repaint is the finished one.
        if (shown >= 0) repaints_.back().shown = shown;
        return;
    }
    repaints_.push_back({localMs, shown});
}

int ChangeLedger::Unread() const
{
    return int(std::count_if(repaints_.begin(), repaints_.end(),
                             [](const Repaint &r) { return r.shown < 0; }));
}

std::vector<double> ChangeLedger::Latencies() const
{
    std::vector<double> latencies;
    for (const Repaint &r : repaints_)
        latencies.push_back(double(r.ms % 1000));
    return latencies;
}

int ChangeLedger::Skipped() const
{
    int skipped = 0, pairs = 0, last = -1;
    for (const Repaint &r : repaints_) {
        if (r.shown < 0) continue;
        if (last >= 0) {
            const int back = (last - r.shown + 60) % 60;
            const int step = back <= 30 ? back : 60 - back;
            if (step > 1) skipped += step - 1;
            ++pairs;
        }
        last = r.shown;
    }
    return pairs > 0 ? skipped : -1;
}

int ChangeLedger::SecondsSpanned() const
{
    if (repaints_.empty()) return 0;
    return int(repaints_.back().ms / 1000 - repaints_.front().ms / 1000 + 1);
}

int ChangeLedger::SecondsWithoutChange() const
{
    int distinct = 0;
    long long previous = -1;
    for (const Repaint &r : repaints_) {
        const long long second = r.ms / 1000;
        if (second != previous) ++distinct;
        previous = second;
    }
    return SecondsSpanned() - distinct;
}

} // namespace bench
