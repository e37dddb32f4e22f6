// Timing helpers shared by the benchmarks: elapsed and processor milliseconds, the median
// and the slowest of a series of runs, and a stopwatch that reads both clocks at once.
// Processor time is the calling thread's: the machine is shared, and other programs' work
// should not count against the step being measured.
#pragma once

#include <QElapsedTimer>

#include <ctime>

#include <algorithm>
#include <cstdio>
#include <functional>
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

// Several timed runs of a step (before each, untimed, what it needs).
struct Timing {
    double median = 0;
    double slowest = 0;
    double cpu = 0;  // median processor time of the thread (what the step costs without waiting)
};

inline Timing timed(int runs, const std::function<void()>& before, const std::function<void()>& step)
{
    std::vector<double> times, cpu;
    for (int i = 0; i < runs; ++i) {
        if (before)
            before();
        Stopwatch watch;
        watch.start();
        step();
        const auto [wall, processor] = watch.read();
        times.push_back(wall);
        cpu.push_back(processor);
    }
    return {median(times), slowest(times), median(cpu)};
}

// One line of figures: the median, the slowest run and the processor time against the target.
inline void report(const char* what, const Timing& t, double target, int width = 22)
{
    std::printf("%-*s %8.2f ms   (slowest run %7.2f ms, processor %7.2f ms; target at most %.0f ms)\n", width,
                what, t.median, t.slowest, t.cpu, target);
}

}  // namespace bench
