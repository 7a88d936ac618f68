#include "dsp/envelope.h"

#include <cmath>

#include "dsp/dspmath.h"

Envelope::Envelope()
{
    timeBase = 1.0f;
    updateParams(0.5f, 0.0f, 0.5f, 0.5f, 0.5f, 0.0f);
    state = Idle;
    output = 0.0f;
    heldLevel = 0.0f;
    phase = 1.0f;
}

void Envelope::updateParams(float a, float h, float d, float s, float r, float shape)
{
    attack = a;
    hold = h;
    decay = d;
    sustain = s;
    release = r;
    curve = 2.0f * shape - 1.0f;
    attackRate = stageRate(attack);
    holdRate = stageRate(hold);
    decayRate = stageRate(decay);
    releaseRate = stageRate(release);
}

float Envelope::stageRate(float control) const
{
    // Exponential time scale: control c lasts exp(11.5 c) / timeBase samples,
    // but never less than one sample: a larger step would carry the phase far
    // below 0, where the decay's shaper grows without bound (at very low
    // sample rates timeBase is large). No number ends the stage at once.
    return dspmath::limited(std::exp(control * -11.5f) * timeBase, 0.0f, 1.0f, 1.0f);
}

void Envelope::softRetrigger()
{
    // The attack resumes from the present output, so a retrigger never clicks.
    if (state == Idle || state == Hold || state == Decay || state == Sustain) {
        state = Attack;
        phase = 1.0f - output;
    }
}

float Envelope::shaperCubicSqrt(float x)
{
    const float k = curve;
    if (k >= 0.0f) {
        const float a = 0.8f * k;
        for (int i = 0; i < 3; ++i)
            x = (1.0f + a) * x - a * (2.0f * x - x * x);
        return x;
    }
    const float m = -k;
    const float y = x > 0.0f ? x : 0.0f;
    return std::sqrt(y) * m + y * (1.0f - m);
}

void Envelope::process()
{
    switch (state) {
    case Idle:
        output = 0.0f;
        phase = 0.0f;
        break;
    case Attack:
        // A NaN phase keeps the attack running (it is not "at or below 0").
        if (!(phase <= 0.0f) && attack >= 0.05f) {
            phase -= attackRate;
            output = 1.0f - phase;
            if (output > 1.0f)
                output = 1.0f;
        } else {
            state = hold > 0.005f ? Hold : Decay;
            output = 1.0f;
            phase = 1.0f;
        }
        break;
    case Hold:
        if (phase > 0.0f) {
            phase -= holdRate;
            output = 1.0f;
        } else {
            state = Decay;
            output = 1.0f;
            phase = 1.0f;
        }
        break;
    case Decay:
        if (phase > 0.0f) {
            phase -= decayRate;
            output = sustain + shaperCubicSqrt(phase) * (1.0f - sustain);
        } else {
            state = Sustain;
            phase = 1.0f;
            output = sustain;
        }
        if (output <= 0.0005f) {
            state = Idle;
            output = 0.0f;
        }
        break;
    case Sustain:
        output = sustain;
        break;
    default:
        break;
    }
}
