#pragma once
// What the benchmark cases share: the figures every case reports, the plain
// baseline they are measured against, and the process's resident memory.
#include <benchmark/benchmark.h>

#include <cstdint>

// Times the plain baseline once, before the cases run (and again after each
// run of a case, for its x_baseline).
void measureBaseline();
// The plain baseline as a case of its own.
void BM_Baseline(benchmark::State& state);
// Real-time factor, nanoseconds per frame and the cost in baselines per frame.
void report(benchmark::State& state, float sr, int64_t framesPerIter);
// Bytes of the process now resident in memory.
double residentBytesOfProcess();
