#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

#include "dsp/reverb.h"
#include "tests/dsp/signals.h"

namespace {

struct Controls {
    float mix = 1.0f, decay = 0.6f, size = 0.5f, predelay = 0.0f, swirl = 0.0f, hiDamp = 0.0f;
    float lowDamp = 0.0f, hiCut = 0.0f, lowCut = 0.0f, diffuse = 0.0f, wetLevel = 1.0f;
};

void run(Reverb& r, std::vector<float>& l, std::vector<float>& rr, const Controls& c,
    int64_t offset = 0, int64_t n = -1)
{
    if (n < 0)
        n = static_cast<int64_t>(l.size()) - offset;
    r.universalReverbCalcEnhanced(l.data() + offset, rr.data() + offset, n, c.mix, c.decay, c.size,
        c.predelay, c.swirl, c.hiDamp, c.lowDamp, c.hiCut, c.lowCut, c.diffuse, c.wetLevel, 0.5f);
}

int64_t firstNonZero(const float* x, int64_t from, int64_t to)
{
    for (int64_t i = from; i < to; ++i)
        if (x[i] != 0.0f)
            return i;
    return -1;
}

bool allZero(const float* x, int64_t n)
{
    return firstNonZero(x, 0, n) < 0;
}

TEST(ReverbFigures, SizeUnitScalesWithSizeAndRate)
{
    const struct {
        float sr;
        int64_t u0, uHalf, u1;
    } rows[] = { { 44100.0f, 18, 37, 93 }, { 48000.0f, 20, 40, 101 }, { 96000.0f, 40, 80, 202 } };
    for (const auto& r : rows) {
        EXPECT_EQ(Reverb::sizeUnit(0.0f, r.sr), r.u0) << r.sr;
        EXPECT_EQ(Reverb::sizeUnit(0.5f, r.sr), r.uHalf) << r.sr;
        EXPECT_EQ(Reverb::sizeUnit(1.0f, r.sr), r.u1) << r.sr;
    }
}

TEST(ReverbFigures, PredelayAndOutputTaps)
{
    // sr * 0.65 in single precision falls just below 28665.
    const ReverbCoeffs k = Reverb::coefficients(44100.0f, 1, 0.5f, 1.0f, 1.0f, 0, 0, 0, 0, 0, 1);
    EXPECT_EQ(k.pd, 28664);
    EXPECT_EQ(k.tapL, 31311);
    EXPECT_EQ(k.tapR, 29106);
    const ReverbCoeffs none = Reverb::coefficients(44100.0f, 1, 0.5f, 0.5f, 0.0f, 0, 0, 0, 0, 0, 1);
    EXPECT_EQ(none.pd, 0);
    EXPECT_EQ(none.tapL, 1324);
    EXPECT_EQ(none.tapR, 442);
}

TEST(ReverbFigures, GainsAndCuts)
{
    const ReverbCoeffs slow = Reverb::coefficients(44100.0f, 1, 1.0f, 0.5f, 0, 0, 0, 0, 0, 0, 1);
    EXPECT_EQ(slow.wet, 1.0f);
    EXPECT_EQ(slow.dry, 0.0f);
    const ReverbCoeffs fast = Reverb::coefficients(44100.0f, 1, 0.0f, 0.5f, 0, 0, 0, 0, 0, 0, 1);
    EXPECT_EQ(fast.wet, 2.0f);
    EXPECT_FLOAT_EQ(fast.fb, 0.001f);
    // The high cut opens fully at 44100 Hz; at 96000 Hz it cannot.
    EXPECT_EQ(Reverb::coefficients(44100.0f, 1, 0.5f, 0.5f, 0, 0, 0, 0, 0.0f, 0, 1).hc, 1.0f);
    EXPECT_NEAR(Reverb::coefficients(96000.0f, 1, 0.5f, 0.5f, 0, 0, 0, 0, 0.0f, 0, 1).hc, 0.4594f, 1e-4f);
    // Swirl 0: no modulation at all.
    const ReverbCoeffs still = Reverb::coefficients(44100.0f, 1, 0.5f, 0.5f, 0, 0.0f, 0, 0, 0, 0, 1);
    EXPECT_EQ(still.depthA, 0.0f);
    EXPECT_EQ(still.depthB, 0.0f);
    EXPECT_EQ(still.off1, 71 * 37);
    EXPECT_EQ(still.off2, 79 * 37);
    // LFO B: 1.9375 Hz at size 0, 0.4375 Hz at size 1.
    EXPECT_FLOAT_EQ(Reverb::coefficients(44100.0f, 1, 0.5f, 0.0f, 0, 0, 0, 0, 0, 0, 1).rateB * 44100.0f, 1.9375f);
    EXPECT_FLOAT_EQ(Reverb::coefficients(44100.0f, 1, 0.5f, 1.0f, 0, 0, 0, 0, 0, 0, 1).rateB * 44100.0f, 0.4375f);
}

TEST(ReverbFigures, HighCutBelow22050HzStaysStable)
{
    // Where the one-pole would pass its stability limit it is opened instead.
    EXPECT_EQ(Reverb::coefficients(16000.0f, 1, 0.5f, 0.5f, 0, 0, 0, 0, 0.0f, 0, 1).hc, 1.0f);
    EXPECT_EQ(Reverb::coefficients(8000.0f, 1, 0.5f, 0.5f, 0, 0, 0, 0, 0.1f, 0, 1).hc, 1.0f);
    const float kept = Reverb::coefficients(16000.0f, 1, 0.5f, 0.5f, 0, 0, 0, 0, 0.5f, 0, 1).hc;
    EXPECT_GT(kept, 0.5f);
    EXPECT_LT(kept, 2.0f);
    auto r = std::make_unique<Reverb>();
    r->samplerate = 8000.0f;
    std::vector<float> l(8000), rr(8000);
    Controls c;
    c.hiCut = 0.0f;
    c.decay = 0.9f;
    for (int b = 0; b < 10; ++b) {
        noise(l, rr, b);
        run(*r, l, rr, c);
        for (size_t i = 0; i < l.size(); ++i)
            ASSERT_LT(std::fabs(l[i]) + std::fabs(rr[i]), 100.0f) << "block " << b << " sample " << i;
    }
}

// An impulse into the tank (diffuser off, no modulation, no damping): the
// figures of the delay table show up where the first echo lands. The lines
// wrap at their ring length; every echo looked for comes within the first turn.
TEST(ReverbTank, ImpulseArrivesAtTheTableDelays)
{
    auto r = std::make_unique<Reverb>();
    std::vector<float> l(4000, 0.0f), rr(4000, 0.0f);
    l[0] = 1.0f;
    rr[0] = 1.0f;
    Controls c; // size 0.5: u = 37
    run(*r, l, rr, c);
    // Output taps: the right one has no size term.
    EXPECT_EQ(firstNonZero(rr.data(), 0, 4000), 441);
    EXPECT_EQ(firstNonZero(l.data(), 0, 4000), 1323);
    // Inside the tank the input transient dies within a few dozen samples
    // (the damping low-pass is almost open), then each line stays silent
    // until its own echo comes round: base delay + 1.
    for (int n : { 1, 2, 4, 5 })
        ASSERT_GE(r->lineLength(n), 4000) << "line " << n;
    EXPECT_EQ(firstNonZero(r->line(1), 100, 4000), 71 * 37 + 1);
    EXPECT_EQ(firstNonZero(r->line(2), 100, 4000), 31 * 37 + 1);
    EXPECT_EQ(firstNonZero(r->line(4), 100, 4000), 79 * 37 + 1);
    EXPECT_EQ(firstNonZero(r->line(5), 100, 4000), 41 * 37 + 1);
}

TEST(ReverbTank, DiffuserDelaysAtTheTableFigures)
{
    auto r = std::make_unique<Reverb>();
    std::vector<float> l(1000, 0.0f), rr(1000, 0.0f);
    l[0] = 1.0f;
    Controls c;
    c.diffuse = 1.0f;
    run(*r, l, rr, c);
    for (int n = 7; n <= 10; ++n)
        ASSERT_GE(r->lineLength(n), 1000) << "line " << n;
    // Each all-pass writes its input at once and its echo after its delay.
    EXPECT_EQ(firstNonZero(r->line(7), 1, 1000), 11 * 37);
    EXPECT_EQ(firstNonZero(r->line(8), 1, 1000), 11 * 37); // fed by line 7's output
    EXPECT_EQ(firstNonZero(r->line(9), 1, 1000), 13 * 37);
    EXPECT_EQ(firstNonZero(r->line(10), 1, 1000), 13 * 37);
}

TEST(ReverbState, SizeChangeClearsLinesOneToNine)
{
    auto r = std::make_unique<Reverb>();
    std::vector<float> l(4000), rr(4000);
    noise(l, rr, 1);
    Controls c;
    c.diffuse = 1.0f;
    run(*r, l, rr, c);
    // Same size: nothing is cleared by an empty call.
    run(*r, l, rr, c, 0, 0);
    for (int n = 1; n <= 10; ++n)
        EXPECT_FALSE(allZero(r->line(n), r->lineLength(n))) << "line " << n;
    // Any change of size, however small, clears 1..9 but not 10.
    c.size = std::nextafter(0.5f, 1.0f);
    run(*r, l, rr, c, 0, 0);
    EXPECT_EQ(r->rememberedSize(), c.size);
    for (int n = 1; n <= 9; ++n)
        EXPECT_TRUE(allZero(r->line(n), r->lineLength(n))) << "line " << n;
    EXPECT_FALSE(allZero(r->line(10), r->lineLength(10)));
}

TEST(ReverbState, ResetClearsTheTail)
{
    auto r = std::make_unique<Reverb>();
    std::vector<float> l(4000), rr(4000);
    noise(l, rr, 2);
    Controls c;
    c.swirl = 0.5f;
    run(*r, l, rr, c);
    r->reset();
    std::vector<float> zl(4000, 0.0f), zr(4000, 0.0f);
    run(*r, zl, zr, c);
    EXPECT_TRUE(allZero(zl.data(), 4000));
    EXPECT_TRUE(allZero(zr.data(), 4000));
}

TEST(ReverbMix, MixZeroPassesTheInput)
{
    auto r = std::make_unique<Reverb>();
    std::vector<float> l(3000), rr(3000);
    noise(l, rr, 3);
    const std::vector<float> inL = l, inR = rr;
    Controls c;
    c.mix = 0.0f;
    c.diffuse = 1.0f;
    c.swirl = 0.7f;
    run(*r, l, rr, c);
    EXPECT_EQ(l, inL);
    EXPECT_EQ(rr, inR);
}

TEST(ReverbMix, DiffuserThresholdDecidesWhetherTheSidesDiffer)
{
    // Below 0.05 only the mono sum enters the tank: swapping the input
    // channels changes nothing. At 0.05 each half hears its own channel.
    for (float diffuse : { 0.0499f, 0.05f }) {
        auto a = std::make_unique<Reverb>();
        auto b = std::make_unique<Reverb>();
        std::vector<float> l(5000), rr(5000);
        noise(l, rr, 4);
        std::vector<float> l2 = rr, r2 = l;
        Controls c;
        c.diffuse = diffuse;
        run(*a, l, rr, c);
        run(*b, l2, r2, c);
        const bool same = l == l2 && rr == r2;
        EXPECT_EQ(same, diffuse < 0.05f) << diffuse;
    }
}

TEST(ReverbBlocks, SplittingABlockChangesNothing)
{
    // One call of 70000 frames (beyond the work buffers) against calls of
    // uneven lengths: the same controls give the same output.
    auto whole = std::make_unique<Reverb>();
    auto pieces = std::make_unique<Reverb>();
    std::vector<float> l(70000), rr(70000);
    noise(l, rr, 5);
    std::vector<float> l2 = l, r2 = rr;
    Controls c;
    c.swirl = 0.8f;
    c.diffuse = 0.7f;
    c.predelay = 0.5f;
    c.lowCut = 0.3f;
    c.hiCut = 0.3f;
    run(*whole, l, rr, c);
    std::mt19937 rng(9);
    for (int64_t s = 0; s < 70000;) {
        const int64_t n = std::min<int64_t>(70000 - s, std::uniform_int_distribution<int64_t>(0, 700)(rng));
        run(*pieces, l2, r2, c, s, n);
        s += n;
    }
    EXPECT_EQ(0, std::memcmp(l.data(), l2.data(), sizeof(float) * l.size()));
    EXPECT_EQ(0, std::memcmp(rr.data(), r2.data(), sizeof(float) * rr.size()));
}

TEST(ReverbBadInput, AnyControlsAndRatesStayInsideTheLinesAndBounded)
{
    // Under the address sanitizer this proves the indices stay inside (and
    // the guard pages around the lines fault on a stray one). The output stays
    // a number and near the input's level: controls are read within 0..1 and
    // every coefficient stays where its filter is stable.
    const float odd[] = { -1.0f, 2.0f, 1e30f, -1e30f, INFINITY, NAN, 0.0f, 1.0f };
    const float rates[] = { 8000.0f, 22050.0f, 384000.0f, 1.0f, 0.0f, -44100.0f, NAN, 1e30f, 1e-40f };
    std::vector<float> l(700), rr(700);
    for (float sr : rates) {
        for (float v : odd) {
            auto r = std::make_unique<Reverb>();
            r->samplerate = sr;
            noise(l, rr, 6);
            Controls c;
            c.size = v;
            c.swirl = v;
            c.predelay = v;
            c.diffuse = v;
            run(*r, l, rr, c);
            EXPECT_LE(peak(l, rr), 8.0f) << "rate " << sr << ", size etc. " << v;
            Controls d;
            d.decay = v;
            d.hiDamp = v;
            d.lowDamp = v;
            d.hiCut = v;
            d.lowCut = v;
            d.mix = v;
            d.wetLevel = v;
            run(*r, l, rr, d);
            EXPECT_LE(peak(l, rr), 64.0f) << "rate " << sr << ", decay etc. " << v;
        }
    }
}

TEST(ReverbBadInput, EveryRateFrom8000To384000KeepsAFiniteTail)
{
    for (float sr : { 8000.0f, 11025.0f, 32000.0f, 88200.0f, 192000.0f, 384000.0f }) {
        auto r = std::make_unique<Reverb>();
        r->samplerate = sr;
        std::vector<float> l(4096), rr(4096);
        Controls c;
        c.size = 1.0f;
        c.predelay = 1.0f;
        c.swirl = 1.0f;
        c.decay = 1.0f;
        c.diffuse = 1.0f;
        for (int b = 0; b < 20; ++b) {
            noise(l, rr, b);
            run(*r, l, rr, c);
            for (size_t i = 0; i < l.size(); ++i)
                ASSERT_TRUE(std::isfinite(l[i]) && std::isfinite(rr[i])) << sr;
        }
    }
}

} // namespace
