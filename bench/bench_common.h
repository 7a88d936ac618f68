#pragma once
// What the benchmark cases share: the floating-point mode the plug-in runs
// in, the figures every case reports, the plain baseline they are measured
// against, and the process's resident memory.
#include <benchmark/benchmark.h>
#include <xmmintrin.h>

#include <cstdint>

// Flush-to-zero and denormals-are-zero for the scope, as the plug-in sets
// them around every host block.
struct FlushDenormals {
    unsigned saved = _mm_getcsr();
    FlushDenormals() { _mm_setcsr(saved | 0x8040); }
    ~FlushDenormals() { _mm_setcsr(saved); }
};

// Times the plain baseline once, before the cases run (and again after each
// run of a case, for its x_baseline).
void measureBaseline();
// The plain baseline as a case of its own.
void BM_Baseline(benchmark::State& state);
// Real-time factor, nanoseconds per frame and the cost in baselines per frame.
void report(benchmark::State& state, float sr, int64_t framesPerIter);
// Bytes of the process now resident in memory.
double residentBytesOfProcess();
