// The optimised engines against the plain scalar models, bit for bit, over
// many blocks of random length and many control settings.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <vector>

#include "dsp/delay2.h"
#include "dsp/reverb.h"
#include "dsp/simd.h"
#include "tests/dsp/ref_delay2.h"
#include "tests/dsp/ref_reverb.h"

namespace {

// Runs a comparison on every vector path this processor has.
template <typename F>
void onEachPath(F&& body)
{
    const SimdLevel saved = simdLevel();
    for (SimdLevel level : { SimdLevel::Sse2, SimdLevel::Avx2, SimdLevel::Avx512 }) {
        if (static_cast<int>(level) > static_cast<int>(bestSimdLevel()))
            continue;
        setSimdLevel(level);
        SCOPED_TRACE(level == SimdLevel::Avx512 ? "AVX-512" : level == SimdLevel::Avx2 ? "AVX2" : "SSE2");
        body();
    }
    setSimdLevel(saved);
}

struct Stream {
    std::mt19937 rng;
    explicit Stream(uint32_t seed) : rng(seed) {}
    float uniform(float lo, float hi) { return std::uniform_real_distribution<float>(lo, hi)(rng); }
    int64_t length(int64_t lo, int64_t hi) { return std::uniform_int_distribution<int64_t>(lo, hi)(rng); }
    // Noise bursts with silent stretches, so tails and onsets both occur.
    void fill(std::vector<float>& l, std::vector<float>& r, int64_t n)
    {
        const bool silent = uniform(0.0f, 1.0f) < 0.25f;
        for (int64_t i = 0; i < n; ++i) {
            l[i] = silent ? 0.0f : uniform(-1.0f, 1.0f);
            r[i] = silent ? 0.0f : uniform(-1.0f, 1.0f);
        }
    }
};

bool sameBits(const std::vector<float>& a, const std::vector<float>& b, int64_t n)
{
    return std::memcmp(a.data(), b.data(), sizeof(float) * n) == 0;
}

int64_t firstDifference(const std::vector<float>& a, const std::vector<float>& b, int64_t n)
{
    for (int64_t i = 0; i < n; ++i)
        if (std::memcmp(&a[i], &b[i], sizeof(float)) != 0)
            return i;
    return -1;
}

struct ReverbControls {
    float mix, decay, size, predelay, swirl, hiDamp, lowDamp, hiCut, lowCut, diffuse, wetLevel;
};

ReverbControls randomReverb(Stream& s)
{
    ReverbControls c;
    c.mix = s.uniform(0.0f, 1.0f) < 0.5f ? 1.0f : s.uniform(0.0f, 1.0f);
    c.decay = s.uniform(0.0f, 1.0f);
    c.size = s.uniform(0.0f, 1.0f);
    c.predelay = s.uniform(0.0f, 1.0f);
    c.swirl = s.uniform(0.0f, 1.0f);
    c.hiDamp = s.uniform(0.0f, 1.0f);
    c.lowDamp = s.uniform(0.0f, 1.0f);
    c.hiCut = s.uniform(0.0f, 1.0f);
    c.lowCut = s.uniform(0.0f, 1.0f);
    c.diffuse = s.uniform(0.0f, 1.0f) < 0.3f ? s.uniform(0.0f, 0.05f) : s.uniform(0.0f, 1.0f);
    c.wetLevel = 1.0f;
    return c;
}

void compareReverb(float sr, uint32_t seed, int settings, int blocksPerSetting, int64_t maxBlock)
{
    auto fast = std::make_unique<Reverb>();
    auto ref = std::make_unique<RefReverb>();
    fast->samplerate = sr;
    ref->samplerate = sr;
    Stream s(seed);
    std::vector<float> l(maxBlock), r(maxBlock), l2(maxBlock), r2(maxBlock);
    for (int p = 0; p < settings; ++p) {
        const ReverbControls c = randomReverb(s);
        for (int b = 0; b < blocksPerSetting; ++b) {
            const int64_t n = s.length(0, maxBlock);
            s.fill(l, r, n);
            l2 = l;
            r2 = r;
            fast->universalReverbCalcEnhanced(l.data(), r.data(), n, c.mix, c.decay, c.size,
                c.predelay, c.swirl, c.hiDamp, c.lowDamp, c.hiCut, c.lowCut, c.diffuse, c.wetLevel, 0.5f);
            ref->universalReverbCalcEnhanced(l2.data(), r2.data(), n, c.mix, c.decay, c.size,
                c.predelay, c.swirl, c.hiDamp, c.lowDamp, c.hiCut, c.lowCut, c.diffuse, c.wetLevel, 0.5f);
            ASSERT_TRUE(sameBits(l, l2, n) && sameBits(r, r2, n))
                << "sr " << sr << " setting " << p << " block " << b << " of " << n
                << " frames, first difference at " << firstDifference(l, l2, n) << "/"
                << firstDifference(r, r2, n);
        }
    }
}

TEST(ReverbMatchesReference, SubBlocksAtEachSampleRate)
{
    onEachPath([] {
        compareReverb(44100.0f, 1, 40, 60, 147);
        compareReverb(48000.0f, 2, 40, 60, 160);
        compareReverb(96000.0f, 3, 40, 60, 320);
    });
}

TEST(ReverbMatchesReference, LongBlocksAndOddRates)
{
    onEachPath([] {
        compareReverb(44100.0f, 4, 6, 6, 40000);   // beyond the work buffers
        compareReverb(8000.0f, 5, 20, 40, 600);
        compareReverb(192000.0f, 6, 10, 20, 700);
        compareReverb(7000.0f, 7, 10, 20, 3000);    // the display's rate
        compareReverb(1000.0f, 8, 10, 20, 300);     // units so short the tank runs sample by sample
    });
}

struct DelayControls {
    float mix, time, feedback, detune, hiDamp, lowDamp, hiCut, lowCut, bpm;
    float stepL[17], stepR[17];
};

DelayControls randomDelay(Stream& s)
{
    DelayControls c;
    c.mix = s.uniform(0.0f, 1.0f) < 0.5f ? 1.0f : s.uniform(0.0f, 1.0f);
    c.time = s.uniform(0.0f, 1.0f);
    const float f = s.uniform(0.0f, 1.0f);
    c.feedback = f < 0.3f ? s.uniform(0.0f, 0.05f) : (f < 0.4f ? 1.0f : s.uniform(0.0f, 1.0f));
    c.detune = s.uniform(0.0f, 1.0f) < 0.2f ? 0.0f : s.uniform(0.0f, 1.0f);
    // Both sides of 0.45, so the polynomial and the linear taps both run.
    c.hiDamp = s.uniform(0.0f, 1.0f);
    c.lowDamp = s.uniform(0.0f, 1.0f);
    c.hiCut = s.uniform(0.0f, 1.0f) < 0.6f ? s.uniform(0.0f, 0.45f) : s.uniform(0.0f, 1.0f);
    c.lowCut = s.uniform(0.0f, 1.0f);
    c.bpm = s.uniform(0.0f, 1.0f) < 0.5f ? 120.0f : s.uniform(40.0f, 250.0f);
    const float pattern = s.uniform(0.0f, 1.0f);
    for (int k = 0; k < 17; ++k) {
        if (pattern < 0.4f) { // all steps on
            c.stepL[k] = s.uniform(0.01f, 1.0f);
            c.stepR[k] = s.uniform(0.01f, 1.0f);
        } else { // sparse, some one-sided
            c.stepL[k] = s.uniform(0.0f, 1.0f) < 0.5f ? 0.0f : s.uniform(0.0f, 1.0f);
            c.stepR[k] = s.uniform(0.0f, 1.0f) < 0.5f ? 0.0f : s.uniform(0.0f, 1.0f);
        }
    }
    return c;
}

template <typename D>
void runDelay(D& d, const DelayControls& c, std::vector<float>& l, std::vector<float>& r, int64_t n)
{
    for (int k = 0; k < 17; ++k) {
        d.stepL[k] = c.stepL[k];
        d.stepR[k] = c.stepR[k];
    }
    d.bpm = c.bpm;
    d.universalTapCalc17(l.data(), r.data(), n, c.mix, c.time, c.feedback, c.detune, c.hiDamp,
        c.lowDamp, c.hiCut, c.lowCut, 0.0f, 1.0f, 0.5f);
}

void compareDelay(float sr, uint32_t seed, int settings, int blocksPerSetting, int64_t maxBlock,
    float bpm = 0.0f)
{
    auto fast = std::make_unique<Delay2>();
    auto ref = std::make_unique<RefDelay2>();
    fast->samplerate = sr;
    ref->samplerate = sr;
    Stream s(seed);
    std::vector<float> l(maxBlock), r(maxBlock), l2(maxBlock), r2(maxBlock);
    for (int p = 0; p < settings; ++p) {
        DelayControls c = randomDelay(s);
        if (bpm > 0.0f)
            c.bpm = bpm;
        for (int b = 0; b < blocksPerSetting; ++b) {
            const int64_t n = s.length(0, maxBlock);
            s.fill(l, r, n);
            l2 = l;
            r2 = r;
            runDelay(*fast, c, l, r, n);
            runDelay(*ref, c, l2, r2, n);
            ASSERT_TRUE(sameBits(l, l2, n) && sameBits(r, r2, n))
                << "bpm " << c.bpm << ", sr " << sr << " setting " << p << " block " << b << " of " << n
                << " frames, first difference at " << firstDifference(l, l2, n) << "/"
                << firstDifference(r, r2, n);
        }
    }
}

TEST(Delay2MatchesReference, SubBlocksAtEachSampleRate)
{
    onEachPath([] {
        compareDelay(44100.0f, 11, 40, 80, 147);
        compareDelay(48000.0f, 12, 40, 80, 160);
        compareDelay(96000.0f, 13, 30, 60, 320);
    });
}

TEST(Delay2MatchesReference, LongBlocksShortLoopsAndOddRates)
{
    onEachPath([] {
        compareDelay(44100.0f, 14, 8, 10, 5000);
        compareDelay(8000.0f, 15, 20, 40, 600);
        compareDelay(384000.0f, 16, 6, 10, 2000);
        // Tempi so fast that the loop is shorter than a chunk: the loop reads
        // samples written in the same chunk.
        compareDelay(44100.0f, 18, 12, 20, 600, 3000.0f);
        compareDelay(44100.0f, 19, 12, 20, 600, 40000.0f);
    });
}

TEST(Delay2MatchesReference, SlowTempoAtTheLineLimit)
{
    onEachPath([] {
        // Long note values at slow tempi reach the limit of the lines.
        auto fast = std::make_unique<Delay2>();
        auto ref = std::make_unique<RefDelay2>();
        Stream s(17);
        std::vector<float> l(4096), r(4096), l2(4096), r2(4096);
        DelayControls c = randomDelay(s);
        c.time = 1.0f;
        c.bpm = 30.0f;
        c.feedback = 0.7f;
        c.detune = 1.0f;
        c.hiCut = 0.2f;
        c.hiDamp = 0.2f;
        const DelayControls on = c;
        DelayControls off = c;
        for (int k = 0; k < 17; ++k)
            off.stepL[k] = off.stepR[k] = 0.0f;
        for (int b = 0; b < 80; ++b) {
            // Now and then no step sounds: the loop runs on alone.
            c = (b / 5) % 2 ? off : on;
            s.fill(l, r, 4096);
            l2 = l;
            r2 = r;
            runDelay(*fast, c, l, r, 4096);
            runDelay(*ref, c, l2, r2, 4096);
            ASSERT_TRUE(sameBits(l, l2, 4096) && sameBits(r, r2, 4096)) << "block " << b;
        }
    });
}

} // namespace
