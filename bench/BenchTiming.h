#pragma once
// The clock, the median of rounds and the report line shared by the benchmarks.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace zep::bench {

inline double Now() {
    static LARGE_INTEGER frequency = [] { LARGE_INTEGER f; ::QueryPerformanceFrequency(&f); return f; }();
    LARGE_INTEGER t;
    ::QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
}

inline double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

inline void Report(const char* title, double measured, const char* plainTitle, double plain, double target) {
    std::printf("  %-22s %9.2f ms\n  %-22s %9.2f ms\n  %-22s %9.2f   (target <= %g)\n", title, measured * 1e3,
                plainTitle, plain * 1e3, "ratio", measured / plain, target);
}

}  // namespace zep::bench
