#pragma once
// Signals and measures shared by the engine tests.
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

// Noise in -1..1 on both channels; the same seed gives the same samples.
inline void noise(std::vector<float>& l, std::vector<float>& r, uint32_t seed)
{
    std::mt19937 rng(seed);
    std::uniform_real_distribution<float> d(-1.0f, 1.0f);
    for (size_t i = 0; i < l.size(); ++i) {
        l[i] = d(rng);
        r[i] = d(rng);
    }
}

// The largest magnitude on either channel; not a number or infinity counts as infinity.
inline float peak(const std::vector<float>& l, const std::vector<float>& r)
{
    float p = 0.0f;
    for (size_t i = 0; i < l.size(); ++i) {
        for (float x : { l[i], r[i] }) {
            if (!std::isfinite(x))
                return INFINITY;
            p = std::fabs(x) > p ? std::fabs(x) : p;
        }
    }
    return p;
}
