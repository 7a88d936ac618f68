#pragma once
// The input-keyed gate: an Envelope retriggered while the dry input is above
// the threshold's level, giving the gain on the wet signal.
#include <cstdint>

#include "dsp/envelope.h"

class Gate {
public:
    // The envelope counts in milliseconds: its time base is ms per sample.
    void setSampleRate(float sampleRate) { timeBase_ = (1.0f / sampleRate) * 1000.0f; }

    // The envelope at rest and closed. Its rates stay: they depend only on
    // the controls and the time base, which are compared at the next trigger.
    void reset() {
        envelope.state = Envelope::Idle;
        envelope.output = 0.0f;
        envelope.heldLevel = 0.0f;
        envelope.phase = 1.0f;
    }

    // One sample. `inputLevel` is the dry input's level; `threshold`,
    // `attack`, `hold` and `release` the gate's controls (0..1). Returns the
    // wet signal's gain, 0..1.
    float process(float inputLevel, float threshold, float attack, float hold, float release) {
        if (inputLevel > 2.0f * threshold * threshold) {
            // The rates depend only on these four numbers: skip the exp calls when none changed.
            if (attack != attack_ || hold != hold_ || release != release_ || timeBase_ != ratesTimeBase_) {
                envelope.timeBase = timeBase_;
                envelope.updateParams(attack, hold, release, 0.0f, release, 0.5f);
                attack_ = attack;
                hold_ = hold;
                release_ = release;
                ratesTimeBase_ = timeBase_;
            }
            envelope.softRetrigger();
        }
        envelope.process();
        return envelope.output;
    }

    // Lit LEDs of the gate meter for a gain: ten when fully open.
    static int64_t meterStep(float gain) { return static_cast<int64_t>(gain * 10.0f); }

    Envelope envelope;

private:
    float timeBase_ = (1.0f / 44100.0f) * 1000.0f;
    // The settings the envelope's rates were last computed for.
    float attack_ = -1.0f, hold_ = -1.0f, release_ = -1.0f, ratesTimeBase_ = -1.0f;
};
