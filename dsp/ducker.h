#pragma once
// The ducker: lowers the wet signal while the dry input is loud, holds the
// ducking a moment after the input falls, then lets the wet signal back up
// slowly. Keyed per sample by the render path.
#include <cmath>
#include <cstdint>

class Ducker {
public:
    // Rates for a sample rate: attack 176 and release 10 per second, hold 1/30 s.
    void setSampleRate(float sampleRate) {
        holdSamples = static_cast<int64_t>(sampleRate / 30.0f);
        attackRate = 176.0f / sampleRate;
        releaseRate = 10.0f / sampleRate;
    }

    void reset() {
        target = 0.0f;
        smooth = 0.0f;
        hold = 0;
    }

    // One sample. `inputLevel` is the dry input's level, `level` and `limit`
    // the ducking level and limit controls (0..1). Returns the wet signal's
    // gain, 0..1.
    float process(float inputLevel, float level, float limit) {
        if (inputLevel > target) {
            // A louder input moves the target at once and restarts the hold;
            // the smoothed value follows the old target.
            smooth = (1.0f - attackRate) * smooth + attackRate * target;
            target = inputLevel * level * level * 8.0f;
            const float ceiling = 1.0f - limit;
            if (target > ceiling) target = ceiling;
            hold = holdSamples;
        } else if (hold > 0) {
            hold -= 1;
            smooth = (1.0f - releaseRate) * smooth + releaseRate * target;
        } else {
            target = (1.0f - releaseRate) * target + releaseRate * inputLevel;
            smooth = (1.0f - releaseRate) * smooth + releaseRate * target;
        }
        // 1 - smooth, held within 0..1 without a branch.
        const float x = 1.0f - smooth;
        return (std::fabs(x) - std::fabs(x - 1.0f) + 0.0f + 1.0f) * 0.5f;
    }

    // Lit LEDs of the ducking meter for a gain: none at unity, ten at silence.
    static int64_t meterStep(float gain) { return static_cast<int64_t>(gain * -11.0f + 10.99f); }

    float target = 0.0f;  // how far the wet signal is to be ducked
    float smooth = 0.0f;  // the ducking applied, following the target
    int64_t hold = 0;     // samples left before the target may fall
    int64_t holdSamples = 1470;
    float attackRate = 176.0f / 44100.0f;
    float releaseRate = 10.0f / 44100.0f;
};
