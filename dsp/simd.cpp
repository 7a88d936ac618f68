#include "dsp/simd.h"

#include <atomic>

extern const SimdKernels kSse2Kernels;
extern const SimdKernels kAvx2Kernels;
extern const SimdKernels kAvx512Kernels;

namespace {

SimdLevel detect()
{
    // Also checks that the operating system saves the wider registers.
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx512f"))
        return SimdLevel::Avx512;
    if (__builtin_cpu_supports("avx2"))
        return SimdLevel::Avx2;
    return SimdLevel::Sse2;
}

const SimdKernels* tableOf(SimdLevel l)
{
    return l == SimdLevel::Avx512 ? &kAvx512Kernels : l == SimdLevel::Avx2 ? &kAvx2Kernels : &kSse2Kernels;
}

const SimdLevel best = detect();
std::atomic<int> level { static_cast<int>(best) };
std::atomic<const SimdKernels*> kernels { tableOf(best) };

} // namespace

SimdLevel bestSimdLevel()
{
    return best;
}

SimdLevel simdLevel()
{
    return static_cast<SimdLevel>(level.load(std::memory_order_relaxed));
}

void setSimdLevel(SimdLevel l)
{
    if (static_cast<int>(l) > static_cast<int>(best))
        l = best;
    level.store(static_cast<int>(l), std::memory_order_relaxed);
    kernels.store(tableOf(l), std::memory_order_relaxed);
}

const SimdKernels& simdKernels()
{
    return *kernels.load(std::memory_order_relaxed);
}
