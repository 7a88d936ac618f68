// The render path's input-keyed dynamics on their own: the gate (an envelope
// opened by the dry input) and the ducker (the wet signal lowered while the
// dry input is loud). Times are checked in milliseconds at several rates.
#include <gtest/gtest.h>

#include <cmath>

#include "dsp/ducker.h"
#include "dsp/gate.h"

namespace {

// Samples until the gate's gain reaches `level` (rising) with `input` held.
int samplesToOpen(Gate& g, float input, float threshold, float attack, float level) {
    int n = 0;
    while (g.process(input, threshold, attack, 0.25f, 0.25f) < level && n < 1000000) ++n;
    return n;
}

TEST(Gate, ClosedAtRestAndOpensOnlyAboveTheThresholdsLevel) {
    Gate g;
    g.setSampleRate(44100.0f);
    g.reset();
    // The level that opens it is 2 x threshold squared: 0.18 for 0.3.
    for (int i = 0; i < 1000; ++i) ASSERT_EQ(g.process(0.179f, 0.3f, 0.125f, 0.25f, 0.25f), 0.0f);
    EXPECT_EQ(g.envelope.state, Envelope::Idle);
    EXPECT_GT(g.process(0.181f, 0.3f, 0.125f, 0.25f, 0.25f), 0.0f);
    EXPECT_EQ(g.envelope.state, Envelope::Attack);
    EXPECT_EQ(Gate::meterStep(0.0f), 0);
    EXPECT_EQ(Gate::meterStep(0.55f), 5);
    EXPECT_EQ(Gate::meterStep(1.0f), 10);
}

TEST(Gate, AttackLastsTheSameTimeAtEveryRate) {
    // Control a lasts exp(11.5 a) ms: 31.5 ms for 0.3.
    for (float rate : {22050.0f, 44100.0f, 96000.0f}) {
        Gate g;
        g.setSampleRate(rate);
        g.reset();
        const double ms = samplesToOpen(g, 0.5f, 0.1f, 0.3f, 1.0f) * 1000.0 / rate;
        EXPECT_NEAR(ms, std::exp(11.5 * 0.3), 0.1) << rate;
    }
}

TEST(Gate, HoldsWhileTheInputStaysThenReleasesToClosed) {
    Gate g;
    g.setSampleRate(44100.0f);
    g.reset();
    samplesToOpen(g, 0.5f, 0.1f, 0.1f, 1.0f);
    for (int i = 0; i < 44100; ++i) ASSERT_EQ(g.process(0.5f, 0.1f, 0.1f, 0.25f, 0.25f), 1.0f) << i;
    // Silence: hold (exp(11.5 x 0.25) = 17.7 ms), then the release falls to closed.
    int open = 0;
    while (g.process(0.0f, 0.1f, 0.1f, 0.25f, 0.25f) == 1.0f) ++open;
    EXPECT_NEAR(open * 1000.0 / 44100.0, std::exp(11.5 * 0.25), 0.1);
    float last = 1.0f;
    int falling = 0;
    while (g.envelope.state != Envelope::Idle && falling < 44100) {
        const float gain = g.process(0.0f, 0.1f, 0.1f, 0.25f, 0.25f);
        ASSERT_LE(gain, last);
        last = gain;
        ++falling;
    }
    EXPECT_EQ(g.envelope.state, Envelope::Idle);
    EXPECT_LT(falling, 44100);
}

TEST(Gate, ResetClosesAtOnceMidRelease) {
    Gate g;
    g.setSampleRate(44100.0f);
    g.reset();
    samplesToOpen(g, 0.5f, 0.1f, 0.1f, 1.0f);
    while (g.envelope.state != Envelope::Decay) g.process(0.0f, 0.1f, 0.1f, 0.25f, 0.25f);
    for (int i = 0; i < 50; ++i) g.process(0.0f, 0.1f, 0.1f, 0.25f, 0.25f);
    ASSERT_GT(g.envelope.output, 0.0f);
    g.reset();
    EXPECT_EQ(g.envelope.state, Envelope::Idle);
    EXPECT_EQ(g.envelope.output, 0.0f);
    EXPECT_EQ(g.envelope.heldLevel, 0.0f);
    EXPECT_EQ(g.envelope.phase, 1.0f);
    EXPECT_EQ(g.process(0.0f, 0.1f, 0.1f, 0.25f, 0.25f), 0.0f);
}

TEST(Gate, NewControlsTakeEffectAtTheNextTrigger) {
    Gate g;
    g.setSampleRate(44100.0f);
    g.reset();
    const int fast = samplesToOpen(g, 0.5f, 0.1f, 0.2f, 1.0f);
    g.reset();
    const int slow = samplesToOpen(g, 0.5f, 0.1f, 0.4f, 1.0f);
    EXPECT_NEAR(static_cast<double>(slow) / fast, std::exp(11.5 * 0.2), 0.1);
    // The sample rate is part of the rates too.
    g.reset();
    g.setSampleRate(88200.0f);
    EXPECT_NEAR(samplesToOpen(g, 0.5f, 0.1f, 0.4f, 1.0f), 2 * slow, 2);
}

// The ducker fed a steady input level for `seconds`; returns the last gain.
float feed(Ducker& d, float rate, float seconds, float input, float level, float limit) {
    float gain = 1.0f;
    for (int i = 0; i < static_cast<int>(rate * seconds); ++i) gain = d.process(input, level, limit);
    return gain;
}

TEST(Ducker, QuietInputKeepsTheWetSignalWhole) {
    Ducker d;
    d.setSampleRate(44100.0f);
    d.reset();
    EXPECT_EQ(feed(d, 44100.0f, 1.0f, 0.0f, 1.0f, 0.0f), 1.0f);
    EXPECT_EQ(Ducker::meterStep(1.0f), 0);
    EXPECT_EQ(Ducker::meterStep(0.5f), 5);
    EXPECT_EQ(Ducker::meterStep(0.0f), 10);
}

// The lowest gain over two seconds of a steady input.
float lowest(float input, float level, float limit) {
    Ducker d;
    d.setSampleRate(44100.0f);
    d.reset();
    float low = 1.0f;
    for (int i = 0; i < 44100 * 2; ++i) low = std::min(low, d.process(input, level, limit));
    return low;
}

TEST(Ducker, ALoudInputDucksDownToTheLimitAndNoFurther) {
    for (float limit : {0.5f, 0.8f}) {
        EXPECT_GE(lowest(0.5f, 1.0f, limit), limit - 1e-6f) << limit;
        EXPECT_NEAR(lowest(0.5f, 1.0f, limit), limit, 0.01f) << "two seconds reach the limit: " << limit;
    }
    // Without a limit a steady input ducks the wet signal to about 1 - its level.
    Ducker d;
    d.setSampleRate(44100.0f);
    d.reset();
    EXPECT_NEAR(feed(d, 44100.0f, 2.0f, 0.5f, 1.0f, 0.0f), 0.5f, 0.02f);
    EXPECT_GE(lowest(0.5f, 1.0f, 0.0f), 0.0f);
}

TEST(Ducker, TheLevelSetsHowMuchAnInputDucks) {
    // The target is input x level^2 x 8: 0.1 x 0.25 x 8 = 0.2 of ducking for level 0.5.
    Ducker d;
    d.setSampleRate(44100.0f);
    d.reset();
    d.process(0.1f, 0.5f, 0.0f);
    EXPECT_FLOAT_EQ(d.target, 0.2f);
    EXPECT_GT(lowest(0.5f, 0.3f, 0.0f), lowest(0.5f, 0.6f, 0.0f) + 0.1f);
}

TEST(Ducker, HoldsOneThirtiethOfASecondBeforeLettingGo) {
    for (float rate : {44100.0f, 48000.0f}) {
        Ducker d;
        d.setSampleRate(rate);
        d.reset();
        d.process(0.5f, 1.0f, 0.0f);  // a single loud sample sets the target
        const float held = d.target;
        int samples = 0;
        while (d.target == held && samples < 100000) {
            d.process(0.0f, 1.0f, 0.0f);
            ++samples;
        }
        // The hold counts down from rate / 30; the target moves on the sample after.
        EXPECT_EQ(samples, static_cast<int>(rate / 30.0f) + 1) << rate;
    }
}

TEST(Ducker, TheWetSignalComesBackSlowlyAfterTheInputStops) {
    Ducker d;
    d.setSampleRate(44100.0f);
    d.reset();
    const float ducked = feed(d, 44100.0f, 1.0f, 0.5f, 1.0f, 0.5f);
    const float soon = feed(d, 44100.0f, 0.1f, 0.0f, 1.0f, 0.5f);
    const float later = feed(d, 44100.0f, 1.0f, 0.0f, 1.0f, 0.5f);
    EXPECT_LT(ducked, soon);
    EXPECT_LT(soon, later);
    EXPECT_LT(soon, 0.75f) << "a tenth of a second brings back less than half";
    EXPECT_GT(later, 0.95f);
}

TEST(Ducker, ResetLetsGoAtOnce) {
    Ducker d;
    d.setSampleRate(44100.0f);
    d.reset();
    ASSERT_LT(feed(d, 44100.0f, 1.0f, 0.5f, 1.0f, 0.0f), 0.5f);
    d.reset();
    EXPECT_EQ(d.target, 0.0f);
    EXPECT_EQ(d.smooth, 0.0f);
    EXPECT_EQ(d.hold, 0);
    EXPECT_EQ(d.process(0.0f, 1.0f, 0.0f), 1.0f);
}

}  // namespace
