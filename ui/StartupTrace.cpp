// The recorder behind TraceStep, compiled only into the traced build of the
// program that the start-up benchmark runs: the clock at each step, kept in
// memory while the program starts and written at its end, one "<ms> <step>"
// line each, to the file named by the environment variable ZEPTON_STARTUP_TRACE.
// The clock is the one the benchmark reads when it starts the process.
#include "ui/StartupTrace.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

namespace zep {
namespace {

class Recorder {
public:
    Recorder() { steps_.reserve(64); }
    ~Recorder() {
        const char* path = std::getenv("ZEPTON_STARTUP_TRACE");
        if (!path) return;
        if (std::FILE* file = std::fopen(path, "w")) {
            for (const auto& [ms, step] : steps_) std::fprintf(file, "%.3f %s\n", ms, step);
            std::fclose(file);
        }
    }
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    void Add(const char* step) {
        LARGE_INTEGER frequency, now;
        ::QueryPerformanceFrequency(&frequency);
        ::QueryPerformanceCounter(&now);
        steps_.emplace_back(static_cast<double>(now.QuadPart) * 1e3 / static_cast<double>(frequency.QuadPart), step);
    }

private:
    std::vector<std::pair<double, const char*>> steps_;
};

Recorder& TheRecorder() {
    static Recorder recorder;
    return recorder;
}

}  // namespace

void TraceStep(const char* step) { TheRecorder().Add(step); }

}  // namespace zep
