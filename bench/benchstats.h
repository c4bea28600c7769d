#ifndef BENCHSTATS_H
#define BENCHSTATS_H

#include <algorithm>
#include <time.h>
#include <vector>

// Figures of repeated timings, shared by the benchmarks.
namespace benchstats {

inline double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : 0.5 * (v[n / 2 - 1] + v[n / 2]);
}

inline double percentile(std::vector<double> v, double p) {
    std::sort(v.begin(), v.end());
    return v[size_t(p * double(v.size() - 1))];
}

// CPU time of this thread: on a machine shared with other work the wall
// clock also counts the time others had the core.
inline double threadMs() {
    timespec ts;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

} // namespace benchstats

#endif // BENCHSTATS_H
