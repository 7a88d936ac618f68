#include "dsp/simd.h"

#include <atomic>

namespace {

bool detectAvx2()
{
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2");
}

const bool hasAvx2 = detectAvx2();
std::atomic<int> level { static_cast<int>(hasAvx2 ? SimdLevel::Avx2 : SimdLevel::Sse2) };

} // namespace

bool cpuHasAvx2()
{
    return hasAvx2;
}

SimdLevel simdLevel()
{
    return static_cast<SimdLevel>(level.load(std::memory_order_relaxed));
}

void setSimdLevel(SimdLevel l)
{
    if (l == SimdLevel::Avx2 && !hasAvx2)
        l = SimdLevel::Sse2;
    level.store(static_cast<int>(l), std::memory_order_relaxed);
}
