// The arithmetic behind the benchmarks' figures, apart from the measuring,
// so that it can be checked on made-up series.
#pragma once

#include <cstddef>
#include <vector>

namespace bench {

struct Spread {
    std::size_t count = 0;
    double q1 = 0, median = 0, q3 = 0, p95 = 0, max = 0;
};

// Quantiles interpolated linearly between the nearest ranks (as
// spreadsheets compute them); all zero for no samples.
Spread Summarize(std::vector<double> samples);

// The face changes seen while a count-down runs, at local wall-clock times
// in milliseconds.
class ChangeLedger {
public:
    // A poll can catch a face half drawn: changes this close after the first
    // one of a repaint belong to that repaint.
    static const long long MergeMs = 30;

    // A change seen at this local time; shown is the seconds value then on
    // the face, -1 when it could not be read.
    void Add(long long localMs, int shown);

    int Repaints() const { return int(repaints_.size()); }
    // Repaints whose seconds could not be read.
    int Unread() const;
    // For each repaint, the milliseconds past the whole second it came in.
    std::vector<double> Latencies() const;
    // Seconds the count-down jumped over from one readable repaint to the
    // next (either direction, so that a count-up past the target counts
    // alike); -1 when fewer than two repaints could be read.
    int Skipped() const;
    // Whole seconds from the first repaint's to the last one's in which
    // nothing changed: the face showed one value twice as long.
    int SecondsWithoutChange() const;
    // Whole seconds from the first repaint's to the last one's.
    int SecondsSpanned() const;

private:
    struct Repaint {
        long long ms;
        int shown;
    };
    std::vector<Repaint> repaints_;
};

} // namespace bench
