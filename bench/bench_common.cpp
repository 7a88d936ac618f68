#include "bench/bench_common.h"

#include "base/denormals.h"

#include <unistd.h>

#include <cstdio>
#include <ctime>
#include <vector>

namespace {

// Nanoseconds per frame of the baseline, measured at the start of the run.
double baselineNs = 0.0;

// The plain baseline: a stereo one-pole low-pass over a block. It is the one
// recursion each engine has at its heart, a multiply and an add per sample
// and side, so its cost follows the machine and its load as theirs does.
void onePoles(std::vector<float>& l, std::vector<float>& r, float& yl, float& yr)
{
    for (size_t i = 0; i < l.size(); ++i) {
        yl = 0.3f * l[i] + 0.7f * yl;
        yr = 0.3f * r[i] + 0.7f * yr;
        l[i] = yl;
        r[i] = yr;
    }
}

constexpr int kBlock = 512;

double threadSeconds()
{
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

} // namespace

// Nanoseconds per frame of the baseline, timed over `seconds` of thread time.
double timeBaseline(double seconds)
{
    ScopedFlushDenormals ftz;
    std::vector<float> l(kBlock, 0.25f), r(kBlock, -0.25f);
    float yl = 0.0f, yr = 0.0f;
    const double start = threadSeconds();
    int64_t frames = 0;
    while (threadSeconds() - start < seconds) {
        for (int k = 0; k < 20; ++k) {
            onePoles(l, r, yl, yr);
            benchmark::DoNotOptimize(l.data());
            benchmark::ClobberMemory();
        }
        frames += 20 * kBlock;
    }
    return (threadSeconds() - start) * 1e9 / static_cast<double>(frames);
}

void measureBaseline()
{
    baselineNs = timeBaseline(0.3);
    benchmark::AddCustomContext("baseline_ns_per_frame", std::to_string(baselineNs));
}

void BM_Baseline(benchmark::State& state)
{
    ScopedFlushDenormals ftz;
    std::vector<float> l(kBlock, 0.25f), r(kBlock, -0.25f);
    float yl = 0.0f, yr = 0.0f;
    for (auto _ : state) {
        onePoles(l, r, yl, yr);
        benchmark::DoNotOptimize(l.data());
        benchmark::ClobberMemory();
    }
    report(state, 44100.0f, kBlock);
}

void report(benchmark::State& state, float sr, int64_t framesPerIter)
{
    const double frames = static_cast<double>(state.iterations()) * framesPerIter;
    const auto perFrame = benchmark::Counter::kIsRate | benchmark::Counter::kInvert;
    state.counters["realtime"] = benchmark::Counter(frames / sr, benchmark::Counter::kIsRate);
    state.counters["ns_per_frame"] = benchmark::Counter(frames * 1e-9, perFrame);
    // The machine's load changes while the cases run: the baseline is timed
    // again right after each run of a case.
    if (baselineNs > 0.0)
        state.counters["x_baseline"] = benchmark::Counter(frames * 1e-9 * timeBaseline(0.02), perFrame);
}

double residentBytesOfProcess()
{
    long size = 0, resident = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &size, &resident) != 2)
            resident = 0;
        std::fclose(f);
    }
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE));
}
