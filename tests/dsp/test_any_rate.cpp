// The engines at any sample rate a host may set: every coefficient stays
// where its filter is stable, so the output stays a number and near the
// level of its input, whatever the settings.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <memory>
#include <random>
#include <vector>

#include "dsp/delay2.h"
#include "dsp/envelope.h"
#include "dsp/reverb.h"
#include "tests/dsp/signals.h"

namespace {

// From far below any audio rate to far above, through the rates where the
// reverb's output low cut used to blow up (below 2720 Hz at RLowCut 1).
const float kRates[] = { 1.0f, 2.5f, 8.0f, 30.0f, 100.0f, 300.0f, 794.0f, 1000.0f, 2720.0f,
    8000.0f, 22050.0f, 44100.0f, 96000.0f, 192000.0f, 384000.0f, 1.0e6f };

// Full-scale noise: twenty thousand samples, at 1 Hz five and a half hours.
constexpr int64_t kFrames = 20000;

// With a loop gain of 1 (RDecay or MFeedba at 1) noise builds up without
// end, slowly; an unstable filter goes past this within a few hundred samples.
constexpr float kBound = 1000.0f;

// Settings over the whole range of every control, half of them at an end of
// it, as the factory programs are.
std::vector<std::vector<float>> settings(int controls, uint32_t seed)
{
    std::vector<std::vector<float>> all;
    all.push_back(std::vector<float>(controls, 0.0f));
    all.push_back(std::vector<float>(controls, 1.0f));
    std::mt19937 rng(seed);
    std::uniform_real_distribution<float> u(0.0f, 1.0f);
    for (int s = 0; s < 16; ++s) {
        std::vector<float> v(controls);
        for (float& x : v) {
            const float pick = u(rng);
            x = pick < 0.25f ? 0.0f : pick < 0.5f ? 1.0f : u(rng);
        }
        all.push_back(v);
    }
    return all;
}

// Noise through an engine in blocks of the render path's control period
// (rate / 300 frames, at least one); returns the output's peak.
template <typename Process>
float peakOfNoise(float rate, Process&& process)
{
    static const std::vector<float> inL = [] {
        std::vector<float> l(kFrames), r(kFrames);
        noise(l, r, 1);
        return l;
    }();
    const int64_t period = rate / 300.0f >= 1.0f ? static_cast<int64_t>(rate / 300.0f) : 1;
    const int64_t block = period < 4096 ? period : 4096;
    std::vector<float> l(block), r(block);
    float worst = 0.0f;
    for (int64_t done = 0; done + block <= kFrames; done += block) {
        for (int64_t i = 0; i < block; ++i) {
            l[i] = inL[done + i];
            r[i] = -inL[kFrames - 1 - done - i];
        }
        process(l.data(), r.data(), block);
        const float p = peak(l, r);
        if (!(p <= kBound))
            return p;
        worst = p > worst ? p : worst;
    }
    return worst;
}

TEST(AnyRate, ReverbStaysStable)
{
    for (const std::vector<float>& v : settings(10, 3)) {
        for (float rate : kRates) {
            auto rv = std::make_unique<Reverb>();
            rv->prepare(rate);
            const float p = peakOfNoise(rate, [&](float* l, float* r, int64_t n) {
                rv->universalReverbCalcEnhanced(l, r, n, v[0], v[1], v[2], v[3], v[4], v[5], v[6],
                    v[7], v[8], v[9], 1.0f, 0.5f);
            });
            ASSERT_LE(p, kBound) << "rate " << rate << ", mix " << v[0] << " decay " << v[1]
                                 << " size " << v[2] << " predelay " << v[3] << " swirl " << v[4]
                                 << " hiDamp " << v[5] << " lowDamp " << v[6] << " hiCut " << v[7]
                                 << " lowCut " << v[8] << " diffuse " << v[9];
        }
    }
}

TEST(AnyRate, MultitapStaysStable)
{
    for (const std::vector<float>& v : settings(10, 4)) {
        for (float rate : kRates) {
            auto d = std::make_unique<Delay2>();
            d->prepare(rate);
            d->bpm = 60.0f + 120.0f * v[9];
            const float p = peakOfNoise(rate, [&](float* l, float* r, int64_t n) {
                for (int k = 0; k < Delay2::kSteps; ++k) {
                    d->stepL[k] = k % 2 ? v[0] : 1.0f;
                    d->stepR[k] = k % 3 ? 1.0f : v[0];
                }
                d->universalTapCalc17(l, r, n, v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8],
                    0.0f, 1.0f, 0.5f);
            });
            ASSERT_LE(p, kBound) << "rate " << rate << ", steps " << v[0] << " mix " << v[1]
                                 << " time " << v[2] << " feedback " << v[3] << " detune " << v[4]
                                 << " hiDamp " << v[5] << " lowDamp " << v[6] << " hiCut " << v[7]
                                 << " lowCut " << v[8] << " bpm " << d->bpm;
        }
    }
}

TEST(AnyRate, EnvelopeStaysWithinZeroAndOne)
{
    // The gate's time base is milliseconds per sample: large at low rates,
    // infinite at a denormal rate. Retriggered now and then, every stage runs.
    std::vector<float> timeBases;
    for (float rate : kRates)
        timeBases.push_back(1.0f / rate * 1000.0f);
    timeBases.push_back(INFINITY);
    timeBases.push_back(NAN);
    timeBases.push_back(0.0f);
    for (const std::vector<float>& v : settings(5, 5)) {
        for (float tb : timeBases) {
            Envelope e;
            e.timeBase = tb;
            e.updateParams(v[0], v[1], v[2], v[3], v[2], v[4]);
            for (int i = 0; i < 20000; ++i) {
                if (i % 997 == 0)
                    e.softRetrigger();
                e.process();
                ASSERT_TRUE(e.output >= 0.0f && e.output <= 1.0f)
                    << "output " << e.output << " at sample " << i << ", time base " << tb
                    << ", attack " << v[0] << " hold " << v[1] << " decay " << v[2]
                    << " sustain " << v[3] << " shape " << v[4];
            }
        }
    }
}

TEST(AnyRate, RatesNoHostShouldSetGiveDefinedOutput)
{
    // Under the undefined-behaviour sanitizer with float-cast-overflow this
    // shows every conversion to an integer stays in range.
    const float odd[] = { 1e-40f, FLT_MIN, 1e30f, FLT_MAX, INFINITY, 0.0f, -1.0f, NAN };
    std::vector<float> l(2000), r(2000);
    for (float rate : odd) {
        auto rv = std::make_unique<Reverb>();
        auto d = std::make_unique<Delay2>();
        rv->prepare(rate);
        d->prepare(rate);
        for (int k = 0; k < Delay2::kSteps; ++k)
            d->stepL[k] = d->stepR[k] = 1.0f;
        for (float setting : { 0.0f, 0.5f, 1.0f }) {
            noise(l, r, 9);
            rv->universalReverbCalcEnhanced(l.data(), r.data(), 2000, 1.0f, setting, setting,
                setting, setting, setting, setting, setting, setting, setting, 1.0f, 0.5f);
            d->universalTapCalc17(l.data(), r.data(), 2000, 1.0f, setting, setting, setting,
                setting, setting, setting, setting, 0.0f, 1.0f, 0.5f);
            EXPECT_LE(peak(l, r), kBound) << "rate " << rate << ", setting " << setting;
        }
    }
}

} // namespace
