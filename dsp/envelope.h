#pragma once
// Per-sample envelope generator: the gain curve of the input gate.
#include <cstdint>

class Envelope {
public:
    Envelope();

    float timeBase;            // ms per sample; scales every rate
    float attack;              // controls, 0..1
    float hold;
    float decay;
    float sustain;
    float release;             // stored; the stages do not use its rate
    float attackRate;          // phase decrement per sample of each stage
    float holdRate;
    float decayRate;
    float releaseRate;
    int64_t state;             // 0 idle, 1 attack, 2 hold, 3 decay, 4 sustain
    float output;
    float heldLevel;
    float curve;               // -1..1, shapes the decay
    float phase;               // countdown of the current stage, 1 toward 0

    enum : int64_t { Idle = 0, Attack = 1, Hold = 2, Decay = 3, Sustain = 4 };

    void updateParams(float attack, float hold, float decay, float sustain, float release, float shape);
    // Phase decrement per sample of a stage with this control: 0..1.
    float stageRate(float control) const;
    void softRetrigger();
    void process();
    float shaperCubicSqrt(float x);
};
