#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

#include "dsp/delay2.h"
#include "tests/dsp/signals.h"

namespace {

struct Controls {
    float mix = 1.0f, time = 0.5f, feedback = 0.0f, detune = 0.0f, hiDamp = 0.0f, lowDamp = 0.0f;
    float hiCut = 0.0f, lowCut = 0.0f;
    float stepL[17] = {}, stepR[17] = {};
    void only(int k, float l = 1.0f, float r = 1.0f)
    {
        for (int i = 0; i < 17; ++i)
            stepL[i] = stepR[i] = 0.0f;
        stepL[k] = l;
        stepR[k] = r;
    }
    void all(float v)
    {
        for (int i = 0; i < 17; ++i)
            stepL[i] = stepR[i] = v;
    }
};

// One call as the render path makes it: step levels first.
void call(Delay2& d, const Controls& c, float* l, float* r, int64_t n)
{
    for (int k = 0; k < 17; ++k) {
        d.stepL[k] = c.stepL[k];
        d.stepR[k] = c.stepR[k];
    }
    d.universalTapCalc17(l, r, n, c.mix, c.time, c.feedback, c.detune, c.hiDamp, c.lowDamp,
        c.hiCut, c.lowCut, 0.0f, 1.0f, 0.5f);
}

// A fresh engine that has already taken the controls (the first call of a
// setting clears the lines and the step levels).
std::unique_ptr<Delay2> primed(const Controls& c, float sr = 44100.0f, float bpm = 120.0f)
{
    auto d = std::make_unique<Delay2>();
    d->samplerate = sr;
    d->bpm = bpm;
    float none = 0.0f;
    call(*d, c, &none, &none, 0);
    return d;
}

// Runs the signal through in sub-blocks of 147 frames.
void render(Delay2& d, const Controls& c, std::vector<float>& l, std::vector<float>& r)
{
    const int64_t n = static_cast<int64_t>(l.size());
    for (int64_t s = 0; s < n; s += 147)
        call(d, c, l.data() + s, r.data() + s, std::min<int64_t>(147, n - s));
}

int64_t firstNonZero(const std::vector<float>& x)
{
    for (size_t i = 0; i < x.size(); ++i)
        if (x[i] != 0.0f)
            return static_cast<int64_t>(i);
    return -1;
}

int64_t loudestIn(const std::vector<float>& x, int64_t from, int64_t to)
{
    int64_t best = from;
    for (int64_t i = from; i < to; ++i)
        if (std::fabs(x[i]) > std::fabs(x[best]))
            best = i;
    return best;
}

TEST(Delay2Figures, NoteValuesAndLoopLengths)
{
    EXPECT_EQ(Delay2::syncIndex(0.0f), 0);
    EXPECT_EQ(Delay2::syncIndex(0.25f), 3);
    EXPECT_EQ(Delay2::syncIndex(0.5f), 6); // trunc(6.4995)
    EXPECT_EQ(Delay2::syncIndex(1.0f), 12);
    EXPECT_EQ(Delay2::MultiDelaySyncTab2[4], 0.33333f);
    // Two sync units per loop: at 120 bpm "1/2" is 11025 samples.
    EXPECT_EQ(Delay2::coefficients(44100.0f, 120.0f, 0.5f, 0.5f, 0, 0, 0, 0, 0).loopLength, 22050);
    EXPECT_EQ(Delay2::coefficients(44100.0f, 120.0f, 0.0f, 0.5f, 0, 0, 0, 0, 0).loopLength, 2756);
    EXPECT_EQ(Delay2::coefficients(48000.0f, 100.0f, 1.0f, 0.5f, 0, 0, 0, 0, 0).loopLength, 115200);
    EXPECT_EQ(Delay2::coefficients(96000.0f, 120.0f, 0.5f, 0.5f, 0, 0, 0, 0, 0).loopLength, 48000);
}

TEST(Delay2Figures, OneShotAtOneSixteenthCollapses)
{
    const Delay2Coeffs c = Delay2::coefficients(44100.0f, 120.0f, 0.0f, 0.05f, 0, 0, 0, 0, 0);
    EXPECT_TRUE(c.oneShot);
    EXPECT_EQ(c.loopLength, 2);
    for (float g : c.tapGain)
        EXPECT_EQ(g, 1.0f);
    // Only "1/16" collapses; a just-audible feedback does not.
    EXPECT_EQ(Delay2::coefficients(44100.0f, 120.0f, 0.1f, 0.05f, 0, 0, 0, 0, 0).loopLength, 5512);
    EXPECT_FALSE(Delay2::coefficients(44100.0f, 120.0f, 0.0f, 0.0501f, 0, 0, 0, 0, 0).oneShot);
}

TEST(Delay2Figures, FeedbackBaseAndStepGains)
{
    const Delay2Coeffs full = Delay2::coefficients(44100.0f, 120.0f, 0.5f, 1.0f, 0, 0, 0, 0, 0);
    EXPECT_EQ(full.feedbackBase, 1.0f);
    for (float g : full.tapGain)
        EXPECT_EQ(g, 1.0f / 1.001f);
    const Delay2Coeffs half = Delay2::coefficients(44100.0f, 120.0f, 0.5f, 0.5f, 0, 0, 0, 0, 0);
    EXPECT_FLOAT_EQ(half.feedbackBase, 0.25375f);
    EXPECT_FLOAT_EQ(half.tapGain[0], 1.0f / (0.25375f + 0.001f));
    // Over the 17 steps the gain falls by the loop's own decay.
    EXPECT_NEAR(half.tapGain[16] / half.tapGain[0], std::pow(0.25375, 16.0 / 17.0), 1e-5);
    const Delay2Coeffs none = Delay2::coefficients(44100.0f, 120.0f, 0.5f, 0.0f, 0, 0, 0, 0, 0);
    EXPECT_FLOAT_EQ(none.feedbackBase, 0.005f);
}

TEST(Delay2Figures, ModulatorRatesAndDepths)
{
    const Delay2Coeffs c = Delay2::coefficients(44100.0f, 120.0f, 0.5f, 0.5f, 1.0f, 0, 0, 0, 0);
    EXPECT_FLOAT_EQ(c.tapRate[0] * 44100.0f, 0.79f);
    EXPECT_FLOAT_EQ(c.tapRate[16] * 44100.0f, 0.73f);
    EXPECT_NEAR(c.tapDepth[10], 250.0 / 0.41, 0.01); // 41/100 Hz: the deepest
    EXPECT_NEAR(c.mainDepth, 80.0 / 1.13, 0.01);
    const Delay2Coeffs still = Delay2::coefficients(44100.0f, 120.0f, 0.5f, 0.5f, 0.0f, 0, 0, 0, 0);
    EXPECT_EQ(still.mainDepth, 0.0f);
    for (float d : still.tapDepth)
        EXPECT_EQ(d, 0.0f);
}

// At MDetune 0 every read falls on whole samples: the left channel hears a
// step P + 1 samples late, the right one P + 2, with P = k * loopLength / 16.
TEST(Delay2Taps, ImpulseComesOutAtEachStepPosition)
{
    struct Case {
        float sr, hiCut;
        int64_t loop;
    } cases[] = {
        { 44100.0f, 0.0f, 22050 },   // polynomial taps
        { 44100.0f, 0.9f, 22050 },   // linear taps (high cut)
        { 96000.0f, 0.0f, 48000 },   // linear taps (rate above 48000)
    };
    for (const Case& cs : cases) {
        for (int k : { 0, 1, 5, 16 }) {
            Controls c;
            c.hiCut = cs.hiCut;
            c.only(k);
            auto d = primed(c, cs.sr);
            const int64_t P = (k * cs.loop) >> 4;
            std::vector<float> l(P + 400, 0.0f), r(P + 400, 0.0f);
            l[0] = r[0] = 1.0f;
            render(*d, c, l, r);
            EXPECT_EQ(firstNonZero(l), P + 1) << "sr " << cs.sr << " step " << k;
            EXPECT_EQ(firstNonZero(r), P + 2) << "sr " << cs.sr << " step " << k;
        }
    }
}

TEST(Delay2Taps, StepLevelsActPerSide)
{
    Controls c;
    c.only(5, 0.0f, 1.0f);
    auto d = primed(c);
    std::vector<float> l(20000), r(20000);
    noise(l, r, 1);
    render(*d, c, l, r);
    for (float x : l)
        ASSERT_EQ(x, 0.0f); // mix 1: no dry, and the left level is 0
    EXPECT_GE(firstNonZero(r), 0);
}

TEST(Delay2Taps, OneShotOneSixteenthStaysWithinTwoSamples)
{
    // All 17 steps on, no feedback, "1/16": every step lands 1 to 3 samples
    // after the input; only the output high cut's short decay follows.
    Controls c;
    c.time = 0.0f;
    c.all(1.0f);
    auto d = primed(c);
    std::vector<float> l(600, 0.0f), r(600, 0.0f);
    l[0] = r[0] = 1.0f;
    render(*d, c, l, r);
    EXPECT_EQ(firstNonZero(l), 1);
    EXPECT_EQ(firstNonZero(r), 2);
    EXPECT_LE(loudestIn(l, 0, 600), 2);
    EXPECT_LE(loudestIn(r, 0, 600), 3);
    // After the high cut has settled only the 5 Hz low cut's slow return is left.
    for (int i = 40; i < 600; ++i)
        ASSERT_LT(std::fabs(l[i]), 2e-3f * std::fabs(l[2])) << i;
    // "1/8" does not collapse: step 1 comes 5512 / 16 samples later.
    Controls e = c;
    e.time = 0.1f;
    auto spread = primed(e);
    std::vector<float> a(600, 0.0f), b(600, 0.0f);
    a[0] = b[0] = 1.0f;
    render(*spread, e, a, b);
    EXPECT_EQ(loudestIn(a, 100, 600), 344 + 1);
}

TEST(Delay2Loop, EchoesRepeatEveryLoopLength)
{
    // Step 0 louder than step 16: the taps hear the unfiltered loop input.
    // The loop read lands loopLength + 1 samples back on the left and
    // loopLength + 2 on the right.
    Controls c;
    c.feedback = 0.5f;
    c.only(0);
    auto d = primed(c);
    const int64_t L = 22050;
    std::vector<float> l(3 * L + 100, 0.0f), r(3 * L + 100, 0.0f);
    l[0] = r[0] = 1.0f;
    render(*d, c, l, r);
    EXPECT_EQ(loudestIn(l, 0, 100), 1);
    EXPECT_EQ(loudestIn(r, 0, 100), 2);
    EXPECT_EQ(loudestIn(l, L - 100, L + 100), L + 2);
    EXPECT_EQ(loudestIn(r, L - 100, L + 100), L + 4);
    EXPECT_EQ(loudestIn(l, 2 * L - 100, 2 * L + 100), 2 * L + 3);
    EXPECT_EQ(loudestIn(r, 2 * L - 100, 2 * L + 100), 2 * L + 6);
}

// Sum of the signal around an echo: the damping low-pass keeps it, so it
// measures how much the loop loses per round.
double echoSum(const std::vector<float>& x, int64_t centre)
{
    double s = 0.0;
    for (int64_t i = centre - 50; i < centre + 50; ++i)
        s += x[i];
    return s;
}

TEST(Delay2Loop, FullFeedbackDoesNotDecay)
{
    const int64_t L = 2756; // "1/16"
    double ratio[2];
    int n = 0;
    for (float fbk : { 1.0f, 0.9f }) {
        Controls c;
        c.time = 0.0f;
        c.feedback = fbk;
        c.only(0);
        auto d = primed(c);
        std::vector<float> l(6 * L, 0.0f), r(6 * L, 0.0f);
        l[0] = r[0] = 1.0f;
        render(*d, c, l, r);
        ratio[n++] = echoSum(l, 3 * (L + 1)) / echoSum(l, 2 * (L + 1));
    }
    // At full feedback a round loses only what the 8 Hz low damp takes out
    // of the window; at 0.9 each round also scales by 0.9^2 * 0.995 + 0.005.
    EXPECT_GT(ratio[0], 0.93);
    EXPECT_LT(ratio[0], 1.0);
    EXPECT_NEAR(ratio[1] / ratio[0], 0.80695, 0.015);
}

TEST(Delay2State, ClearsItselfWhenFeedbackOrLoopLengthChanges)
{
    Controls c;
    c.feedback = 0.6f;
    c.all(0.5f);
    auto d = primed(c);
    std::vector<float> l(3000), r(3000);
    noise(l, r, 2);
    render(*d, c, l, r);
    const int64_t pos = d->writePosition();
    ASSERT_EQ(pos, 3000);

    // Same settings: nothing is cleared.
    call(*d, c, l.data(), r.data(), 0);
    EXPECT_EQ(d->writePosition(), pos);
    EXPECT_EQ(d->stepL[3], 0.5f);

    // The smallest move of MFeedba clears the lines and the step levels.
    Controls moved = c;
    moved.feedback = std::nextafter(0.6f, 1.0f);
    call(*d, moved, l.data(), r.data(), 0);
    EXPECT_EQ(d->writePosition(), 0);
    EXPECT_EQ(d->stepL[3], 0.0f);
    EXPECT_EQ(d->stepR[16], 0.0f);

    // So does a tempo or sample rate that moves the loop length.
    render(*d, moved, l, r);
    d->bpm = 121.0f;
    call(*d, moved, l.data(), r.data(), 0);
    EXPECT_EQ(d->writePosition(), 0);
    EXPECT_EQ(d->lastLoopLength(), 2.0f * 10933.0f);
    render(*d, moved, l, r);
    d->samplerate = 48000.0f;
    call(*d, moved, l.data(), r.data(), 0);
    EXPECT_EQ(d->writePosition(), 0);
}

TEST(Delay2State, ForgettingTheLastSettingsClearsAtTheNextCall)
{
    Controls c;
    c.feedback = 0.6f;
    c.all(0.5f);
    auto d = primed(c);
    std::vector<float> l(1000), r(1000);
    noise(l, r, 8);
    render(*d, c, l, r);
    d->forgetLastSettings();
    call(*d, c, l.data(), r.data(), 0);
    EXPECT_EQ(d->writePosition(), 0);
    EXPECT_EQ(d->stepL[0], 0.0f);
}

TEST(Delay2State, ClearedDelayStaysSilentForTheRestOfTheCall)
{
    Controls c;
    c.feedback = 0.6f;
    c.all(1.0f);
    auto d = primed(c);
    std::vector<float> l(5000), r(5000);
    noise(l, r, 3);
    render(*d, c, l, r);
    // A new feedback in the middle of the signal: this call's taps are silent.
    c.feedback = 0.7f;
    std::vector<float> a(147), b(147);
    noise(a, b, 4);
    call(*d, c, a.data(), b.data(), 147);
    for (int i = 0; i < 147; ++i) {
        ASSERT_EQ(a[i], 0.0f);
        ASSERT_EQ(b[i], 0.0f);
    }
}

TEST(Delay2Blocks, SplittingABlockChangesNothing)
{
    Controls c;
    c.feedback = 0.7f;
    c.detune = 0.6f;
    c.time = 0.1f;
    c.hiDamp = 0.3f;
    c.lowCut = 0.2f;
    c.all(0.6f);
    c.stepL[4] = 0.0f;
    c.stepR[4] = 0.0f;
    auto whole = primed(c);
    auto pieces = primed(c);
    std::vector<float> l(30000), r(30000);
    noise(l, r, 5);
    std::vector<float> l2 = l, r2 = r;
    call(*whole, c, l.data(), r.data(), 30000);
    std::mt19937 rng(3);
    for (int64_t s = 0; s < 30000;) {
        const int64_t n = std::min<int64_t>(30000 - s, std::uniform_int_distribution<int64_t>(0, 600)(rng));
        call(*pieces, c, l2.data() + s, r2.data() + s, n);
        s += n;
    }
    EXPECT_EQ(0, std::memcmp(l.data(), l2.data(), sizeof(float) * l.size()));
    EXPECT_EQ(0, std::memcmp(r.data(), r2.data(), sizeof(float) * r.size()));
}

TEST(Delay2BadInput, UnusableTempoMeans120)
{
    const int64_t at120 = Delay2::coefficients(44100.0f, 120.0f, 0.5f, 0.5f, 0, 0, 0, 0, 0).loopLength;
    for (float bpm : { 0.0f, -60.0f, NAN, INFINITY, -INFINITY })
        EXPECT_EQ(Delay2::coefficients(44100.0f, bpm, 0.5f, 0.5f, 0, 0, 0, 0, 0).loopLength, at120) << bpm;
    EXPECT_EQ(Delay2::coefficients(44100.0f, 1e30f, 0.5f, 0.5f, 0, 0, 0, 0, 0).loopLength, 0);
}

TEST(Delay2BadInput, LoopLengthStaysInsideTheLines)
{
    for (float sr : { 8000.0f, 44100.0f, 96000.0f, 384000.0f }) {
        for (float bpm : { 1.0f, 20.0f, 40.0f }) {
            for (float detune : { 0.0f, 0.5f, 1.0f }) {
                const Delay2Coeffs c = Delay2::coefficients(sr, bpm, 1.0f, 0.5f, detune, 0, 0, 0, 0);
                float deepest = c.mainDepth;
                for (float d : c.tapDepth)
                    deepest = std::max(deepest, d);
                EXPECT_LT(c.loopLength + deepest + 4.0f, 262144.0f) << sr << " " << bpm;
                const int64_t unlimited = 2 * static_cast<int64_t>(sr / bpm * 60.0f * 2.0f);
                EXPECT_LE(c.loopLength, unlimited);
                EXPECT_GE(c.loopLength, std::min<int64_t>(unlimited, 256000)) << sr << " " << bpm;
                // Limited the same at every detune, so MDetune never clears the delay.
                EXPECT_EQ(c.loopLength,
                    Delay2::coefficients(sr, bpm, 1.0f, 0.5f, 0.0f, 0, 0, 0, 0).loopLength);
            }
        }
    }
    // Below the limit nothing changes: at 44100 Hz "2" fits down to about 40.5 bpm.
    EXPECT_EQ(Delay2::coefficients(44100.0f, 41.0f, 1.0f, 0.5f, 1.0f, 0, 0, 0, 0).loopLength,
        2 * static_cast<int64_t>(44100.0f / 41.0f * 60.0f * 2.0f));
}

TEST(Delay2BadInput, TimeOutsideItsRangeWrapsOverTheNoteValues)
{
    EXPECT_EQ(Delay2::syncIndex(-0.01f), 0);
    EXPECT_EQ(Delay2::syncIndex(-0.1f), 12);
    EXPECT_EQ(Delay2::syncIndex(1.1f), 1);
    EXPECT_EQ(Delay2::syncIndex(NAN), 0);
    EXPECT_EQ(Delay2::syncIndex(1e30f), 0);
}

TEST(Delay2BadInput, AnyControlsRatesAndLengthsStayInsideTheLinesAndBounded)
{
    // Under the address sanitizer this proves every index stays inside (and
    // the guard pages around the lines fault on a stray one). The output stays
    // a number and near the input's level: controls and step levels are read
    // within 0..1 and every coefficient stays where its filter is stable.
    const float odd[] = { -1.0f, 3.0f, 1e30f, -1e30f, INFINITY, NAN };
    const float rates[] = { 8000.0f, 384000.0f, 1.0f, 0.0f, -44100.0f, NAN, 1e9f, 1e30f, 1e-40f };
    std::vector<float> l(1000), r(1000);
    for (float sr : rates) {
        for (float v : odd) {
            Controls c;
            c.all(1.0f);
            c.time = v;
            c.detune = v;
            c.feedback = 0.5f;
            auto d = primed(c, sr, v);
            noise(l, r, 7);
            call(*d, c, l.data(), r.data(), 1000);
            EXPECT_LE(peak(l, r), 64.0f) << "rate " << sr << ", time etc. " << v;
            Controls e;
            e.all(v);
            e.mix = v;
            e.feedback = v;
            e.hiDamp = e.lowDamp = e.hiCut = e.lowCut = v;
            d->bpm = v;
            call(*d, e, l.data(), r.data(), 1000);
            call(*d, e, l.data(), r.data(), -5);
            EXPECT_LE(peak(l, r), 64.0f) << "rate " << sr << ", levels etc. " << v;
        }
    }
}

} // namespace
