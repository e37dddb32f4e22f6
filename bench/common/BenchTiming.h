// Timing helpers shared by the benchmarks: elapsed and processor milliseconds, the median
// and the slowest of a series of runs, and a stopwatch that reads both clocks at once.
// Processor time is the calling thread's: the machine is shared, and other programs' work
// should not count against the step being measured.
#pragma once

#include <QElapsedTimer>

#include <ctime>

#include <algorithm>
#include <utility>
#include <vector>

namespace bench {

inline double threadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

inline double msSince(const QElapsedTimer& timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

// The middle value (the upper one of an even count). `values` must not be empty.
inline double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The largest value. `values` must not be empty.
inline double slowest(const std::vector<double>& values)
{
    return *std::max_element(values.begin(), values.end());
}

// Elapsed and processor time since start().
class Stopwatch {
public:
    void start()
    {
        wall_.start();
        cpu_ = threadCpuMs();
    }
    // {elapsed ms, processor ms}
    std::pair<double, double> read() const { return {msSince(wall_), threadCpuMs() - cpu_}; }

private:
    QElapsedTimer wall_;
    double cpu_ = 0;
};

}  // namespace bench
