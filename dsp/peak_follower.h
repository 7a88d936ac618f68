#pragma once
// The output meter's level: follows a rising peak at once and falls slowly,
// by the same amount per second at every sample rate.
#include <cmath>
#include <cstdint>

#include "dsp/dspmath.h"

class PeakFollower {
public:
    // Below 11 Hz the fall per sample would pass zero: there the level falls to
    // the floor in one sample.
    void setSampleRate(float sampleRate) {
        decay_ = dspmath::limited(1.0f + (44100.0f / dspmath::positiveRate(sampleRate)) * -0.00025f, 0.0f, 1.0f,
                                  0.0f);
    }
    void reset() { level = 0.0f; }

    // One output sample pair: the level follows the sum of their magnitudes.
    // A sum past the ceiling (an infinite sample, or two huge ones) reads as
    // the ceiling and one that is not a number as silence, so the level stays
    // a number and falls back as usual.
    void process(float left, float right) {
        const float s = dspmath::limited(std::fabs(left) + std::fabs(right), 0.0f, kCeiling, 0.0f);
        level = s > level ? s : level * decay_ + 1e-7f;
    }

    // Lit LEDs of the output meter.
    int64_t meterStep() const { return static_cast<int64_t>(level * 10.0f); }

    // 120 dB above a full-scale sample on each side.
    static constexpr float kCeiling = 1.0e6f;

    float level = 0.0f;

private:
    float decay_ = 1.0f - 0.00025f;
};
