#pragma once
// The output meter's level: follows a rising peak at once and falls slowly,
// by the same amount per second at every sample rate.
#include <cmath>
#include <cstdint>

class PeakFollower {
public:
    void setSampleRate(float sampleRate) { decay_ = 1.0f + (44100.0f / sampleRate) * -0.00025f; }
    void reset() { level = 0.0f; }

    // One output sample pair: the level follows the sum of their magnitudes.
    void process(float left, float right) {
        const float s = std::fabs(left) + std::fabs(right);
        level = s > level ? s : level * decay_ + 1e-7f;
    }

    // Lit LEDs of the output meter.
    int64_t meterStep() const { return static_cast<int64_t>(level * 10.0f); }

    float level = 0.0f;

private:
    float decay_ = 1.0f - 0.00025f;
};
