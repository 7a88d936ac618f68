#include <gtest/gtest.h>

#include <cmath>

#include "dsp/envelope.h"

namespace {

constexpr float kSr = 44100.0f;

// An envelope set up the way the gate uses it.
Envelope gate(float attack, float hold, float release)
{
    Envelope e;
    e.timeBase = 1.0f / kSr * 1000.0f;
    e.updateParams(attack, hold, release, 0.0f, release, 0.5f);
    return e;
}

// Samples spent in `stage` from now on (process called until it leaves).
int64_t samplesIn(Envelope& e, int64_t stage)
{
    int64_t n = 0;
    while (e.state == stage && n < 100000000) {
        e.process();
        ++n;
    }
    return n;
}

TEST(Envelope, StartsIdleAtRest)
{
    Envelope e;
    EXPECT_EQ(e.timeBase, 1.0f);
    EXPECT_EQ(e.state, 0);
    EXPECT_EQ(e.output, 0.0f);
    EXPECT_EQ(e.heldLevel, 0.0f);
    EXPECT_EQ(e.phase, 1.0f);
    EXPECT_EQ(e.sustain, 0.5f);
    EXPECT_EQ(e.curve, -1.0f);
    EXPECT_FLOAT_EQ(e.attackRate, std::exp(-5.75f));
    e.process();
    EXPECT_EQ(e.output, 0.0f);
    EXPECT_EQ(e.phase, 0.0f);
}

TEST(Envelope, StageTimesFollowTheExponentialScale)
{
    // Control c lasts exp(11.5 c) ms: 1 ms at 0, about 314 ms at 0.5.
    for (float c : { 0.1f, 0.5f, 0.7f }) {
        const double expectedMs = std::exp(11.5 * c);
        const double expected = expectedMs * kSr / 1000.0;
        Envelope e = gate(c, c, c);
        e.softRetrigger();
        const int64_t attack = samplesIn(e, Envelope::Attack);
        EXPECT_NEAR(attack, expected, expected * 0.002 + 2) << "attack " << c;
        const int64_t hold = samplesIn(e, Envelope::Hold);
        EXPECT_NEAR(hold, expected, expected * 0.002 + 2) << "hold " << c;
        const int64_t decay = samplesIn(e, Envelope::Decay);
        // The decay goes idle at 0.0005, a little before the full time.
        EXPECT_NEAR(decay, expected * (1.0 - 0.0005), expected * 0.002 + 2) << "decay " << c;
        EXPECT_EQ(e.state, Envelope::Idle);
    }
}

TEST(Envelope, AttackRampsFromThePresentOutput)
{
    Envelope e = gate(0.5f, 0.5f, 0.5f);
    e.softRetrigger();
    EXPECT_EQ(e.phase, 1.0f);
    float last = 0.0f;
    for (int i = 0; i < 1000; ++i) {
        e.process();
        EXPECT_GT(e.output, last);
        EXPECT_FLOAT_EQ(e.output, 1.0f - e.phase);
        last = e.output;
    }
    // Retriggering during the attack changes nothing.
    const float phase = e.phase;
    e.softRetrigger();
    EXPECT_EQ(e.state, Envelope::Attack);
    EXPECT_EQ(e.phase, phase);
}

TEST(Envelope, ShortAttackJumpsAndShortHoldIsSkipped)
{
    Envelope e = gate(0.049f, 0.005f, 0.3f);
    e.softRetrigger();
    e.process();
    EXPECT_EQ(e.output, 1.0f);
    EXPECT_EQ(e.state, Envelope::Decay); // hold at 0.005 is skipped
    Envelope h = gate(0.0f, 0.0051f, 0.3f);
    h.softRetrigger();
    h.process();
    EXPECT_EQ(h.output, 1.0f);
    EXPECT_EQ(h.state, Envelope::Hold);
}

TEST(Envelope, RetriggerInHoldRestartsTheHold)
{
    Envelope e = gate(0.2f, 0.3f, 0.3f);
    e.softRetrigger();
    samplesIn(e, Envelope::Attack);
    ASSERT_EQ(e.state, Envelope::Hold);
    for (int i = 0; i < 500; ++i)
        e.process();
    ASSERT_LT(e.phase, 1.0f);
    e.softRetrigger();
    EXPECT_EQ(e.state, Envelope::Attack);
    EXPECT_EQ(e.phase, 0.0f); // 1 - output, and the output is 1
    e.process();
    EXPECT_EQ(e.state, Envelope::Hold);
    EXPECT_EQ(e.phase, 1.0f);
    EXPECT_EQ(e.output, 1.0f);
}

TEST(Envelope, RetriggerInDecayRampsUpFromWhereItIs)
{
    Envelope e = gate(0.2f, 0.0f, 0.3f);
    e.softRetrigger();
    samplesIn(e, Envelope::Attack);
    for (int i = 0; i < 300; ++i)
        e.process();
    ASSERT_EQ(e.state, Envelope::Decay);
    const float level = e.output;
    ASSERT_LT(level, 1.0f);
    e.softRetrigger();
    EXPECT_EQ(e.state, Envelope::Attack);
    EXPECT_EQ(e.phase, 1.0f - level);
    e.process();
    EXPECT_GT(e.output, level);
}

TEST(Envelope, LinearDecayEndsIdleAtTheThreshold)
{
    Envelope e = gate(0.0f, 0.0f, 0.4f);
    e.softRetrigger();
    e.process();
    ASSERT_EQ(e.state, Envelope::Decay);
    float last = 1.0f;
    while (e.state == Envelope::Decay) {
        e.process();
        if (e.state == Envelope::Decay) {
            // Curve 0 and sustain 0: the output is the phase itself.
            EXPECT_EQ(e.output, e.phase);
            EXPECT_GT(e.output, 0.0005f);
            last = e.output;
        }
    }
    EXPECT_EQ(e.state, Envelope::Idle);
    EXPECT_EQ(e.output, 0.0f);
    EXPECT_GT(last, 0.0005f);
    EXPECT_LT(last, 0.0005f + e.decayRate * 1.01f);
}

TEST(Envelope, DecayEndsInSustain)
{
    Envelope e;
    e.timeBase = 1.0f / kSr * 1000.0f;
    e.updateParams(0.0f, 0.0f, 0.1f, 0.25f, 0.1f, 0.5f);
    e.softRetrigger();
    for (int i = 0; i < 20000; ++i)
        e.process();
    EXPECT_EQ(e.state, Envelope::Sustain);
    EXPECT_EQ(e.output, 0.25f);
}

TEST(Envelope, CurveShapes)
{
    Envelope e;
    e.updateParams(0.5f, 0.0f, 0.5f, 0.0f, 0.5f, 0.5f); // curve 0: straight
    EXPECT_EQ(e.shaperCubicSqrt(0.3f), 0.3f);
    e.updateParams(0.5f, 0.0f, 0.5f, 0.0f, 0.5f, 1.0f); // curve 1: threefold polynomial
    EXPECT_NEAR(e.shaperCubicSqrt(0.5f), 0.0403392f, 1e-6f);
    EXPECT_EQ(e.shaperCubicSqrt(0.0f), 0.0f);
    EXPECT_NEAR(e.shaperCubicSqrt(1.0f), 1.0f, 1e-6f);
    e.updateParams(0.5f, 0.0f, 0.5f, 0.0f, 0.5f, 0.0f); // curve -1: square root
    EXPECT_EQ(e.shaperCubicSqrt(0.25f), 0.5f);
    EXPECT_EQ(e.shaperCubicSqrt(-0.5f), 0.0f);
    e.updateParams(0.5f, 0.0f, 0.5f, 0.0f, 0.5f, 0.25f); // curve -0.5: half way
    EXPECT_FLOAT_EQ(e.shaperCubicSqrt(0.25f), 0.375f);
}

TEST(Envelope, NanPhaseKeepsTheAttackRunning)
{
    Envelope e = gate(0.5f, 0.5f, 0.5f);
    e.softRetrigger();
    e.phase = std::nanf("");
    e.process();
    EXPECT_EQ(e.state, Envelope::Attack);
}

TEST(Envelope, UnknownStateDoesNothing)
{
    Envelope e;
    e.state = 7;
    e.output = 0.3f;
    e.process();
    EXPECT_EQ(e.state, 7);
    EXPECT_EQ(e.output, 0.3f);
}

} // namespace
