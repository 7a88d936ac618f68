// The engines' memory: lines reserved for the longest delay any setting can
// ask for, but resident only as far as the settings in use reach; given back
// by prepare; never short when the rate changes between blocks.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <vector>

#include "dsp/delay2.h"
#include "dsp/reverb.h"
#include "tests/dsp/signals.h"

namespace {

constexpr size_t kKiB = 1024;

void runReverb(Reverb& rv, std::vector<float>& l, std::vector<float>& r, float size,
    float predelay, float swirl)
{
    rv.universalReverbCalcEnhanced(l.data(), r.data(), static_cast<int64_t>(l.size()), 1.0f, 0.6f,
        size, predelay, swirl, 0.4f, 0.1f, 0.0f, 0.4f, 1.0f, 1.0f, 0.5f);
}

void runDelay(Delay2& d, std::vector<float>& l, std::vector<float>& r, float time, float detune)
{
    for (int k = 0; k < Delay2::kSteps; ++k)
        d.stepL[k] = d.stepR[k] = 0.5f;
    d.universalTapCalc17(l.data(), r.data(), static_cast<int64_t>(l.size()), 1.0f, time, 0.5f,
        detune, 0.3f, 0.0f, 0.0f, 0.125f, 0.0f, 1.0f, 0.5f);
}

// Noise through an engine for `frames`, in blocks of 147 as at 44.1 kHz.
template <typename Run>
void feed(int64_t frames, Run&& run)
{
    std::vector<float> l(147), r(147);
    for (int64_t done = 0; done < frames; done += 147) {
        noise(l, r, static_cast<uint32_t>(done));
        run(l, r);
    }
}

// One block with the settings, then prepare, as a host resumes an instance
// whose program is set.
template <typename Run>
void settle(float rate, Run&& run, std::function<void(float)> prepare)
{
    std::vector<float> l(147), r(147);
    run(l, r);
    prepare(rate);
}

TEST(EngineMemory, ReverbHoldsWhatItsSizeAndPredelayReach)
{
    // Its lines are reserved for every size and predelay at the highest
    // rates: 1.25 MiB. At 44.1 and 48 kHz the longest predelay reaches most
    // of the two output lines; the other eight stay short.
    for (float rate : { 44100.0f, 48000.0f }) {
        for (float size : { 0.0f, 0.5f, 1.0f }) {
            auto rv = std::make_unique<Reverb>();
            auto run = [&](std::vector<float>& l, std::vector<float>& r) {
                runReverb(*rv, l, r, size, 1.0f, 1.0f);
            };
            settle(rate, run, [&](float sr) { rv->prepare(sr); });
            feed(static_cast<int64_t>(rate * 1.5f), run);
            EXPECT_LE(rv->residentBytes(), 512 * kKiB) << "rate " << rate << ", size " << size;
            EXPECT_GE(rv->residentBytes(), 256 * kKiB) << "rate " << rate << ", size " << size;
        }
    }
}

TEST(EngineMemory, MultitapHoldsWhatItsLoopReaches)
{
    // Its lines are reserved for the longest loop at any tempo: 4 MiB. Each
    // of the four holds at most twice the loop and the deepest modulation.
    for (float rate : { 44100.0f, 48000.0f }) {
        for (int note = 0; note < 13; ++note) {
            const float time = static_cast<float>(note) / 12.0f;
            auto d = std::make_unique<Delay2>();
            d->bpm = 120.0f;
            auto run = [&](std::vector<float>& l, std::vector<float>& r) { runDelay(*d, l, r, time, 1.0f); };
            settle(rate, run, [&](float sr) { d->prepare(sr); });
            const int64_t loop = Delay2::coefficients(rate, 120.0f, time, 0.5f, 1.0f, 0, 0, 0, 0).loopLength;
            feed(loop + 4096, run);
            const size_t bound = 4 * sizeof(float) * 2 * static_cast<size_t>(loop + 1024);
            EXPECT_LE(d->residentBytes(), bound) << "rate " << rate << ", loop " << loop;
            EXPECT_GE(d->residentBytes(), 4 * sizeof(float) * static_cast<size_t>(loop))
                << "rate " << rate << ", loop " << loop;
        }
    }
    // A new multitap holds the quarter-note loop at 120 bpm and 44.1 kHz
    // ("1/2", 22050 samples), the init program's.
    auto d = std::make_unique<Delay2>();
    EXPECT_LE(d->residentBytes(), 512 * kKiB);
    feed(30000, [&](std::vector<float>& l, std::vector<float>& r) { runDelay(*d, l, r, 0.5f, 1.0f); });
    EXPECT_LE(d->residentBytes(), 512 * kKiB);
}

TEST(EngineMemory, NoPageFaultsWhileTheSettingsStay)
{
    // Once prepared, the audio thread writes only pages already resident: a
    // first write to a page would fault into the system (about ten
    // microseconds under virtualisation).
    for (float rate : { 44100.0f, 96000.0f }) {
        for (float setting : { 0.1f, 0.5f, 0.9f }) {
            auto rv = std::make_unique<Reverb>();
            auto d = std::make_unique<Delay2>();
            auto run = [&](std::vector<float>& l, std::vector<float>& r) {
                runReverb(*rv, l, r, setting, 1.0f - setting, setting);
                runDelay(*d, l, r, setting, setting);
            };
            settle(rate, run, [&](float sr) {
                rv->prepare(sr);
                d->prepare(sr);
            });
            const size_t reverb = rv->residentBytes(), delay = d->residentBytes();
            feed(static_cast<int64_t>(rate * 2.0f), run);
            EXPECT_EQ(rv->residentBytes(), reverb) << "rate " << rate << ", setting " << setting;
            EXPECT_EQ(d->residentBytes(), delay) << "rate " << rate << ", setting " << setting;
        }
    }
}

TEST(EngineMemory, ALoopChangeWipesOnlyWhatTheNewLoopUses)
{
    // Feedback automation clears the delay at every move: each clear touches
    // no more than the short loop in use.
    auto d = std::make_unique<Delay2>();
    std::vector<float> l(147), r(147);
    for (int i = 0; i < 400; ++i) {
        noise(l, r, i);
        for (int k = 0; k < Delay2::kSteps; ++k)
            d->stepL[k] = d->stepR[k] = 0.5f;
        d->universalTapCalc17(l.data(), r.data(), 147, 1.0f, 0.0f, 0.3f + 0.001f * i, 0.5f, 0.3f,
            0.0f, 0.0f, 0.125f, 0.0f, 1.0f, 0.5f);
        if (i == 0)
            d->prepare(44100.0f);
    }
    EXPECT_LE(d->residentBytes(), 4 * 8192 * sizeof(float));
}

TEST(EngineMemory, PrepareGivesTheMemoryBackAndStartsAsNew)
{
    auto rv = std::make_unique<Reverb>();
    auto d = std::make_unique<Delay2>();
    d->bpm = 60.0f;
    feed(100000, [&](std::vector<float>& l, std::vector<float>& r) {
        runReverb(*rv, l, r, 1.0f, 1.0f, 1.0f);
        runDelay(*d, l, r, 1.0f, 1.0f);
    });
    const size_t reverbBefore = rv->residentBytes(), delayBefore = d->residentBytes();
    EXPECT_GT(reverbBefore, 256 * kKiB);
    EXPECT_GT(delayBefore, 2048 * kKiB);
    // A small room and a short loop, then a resume at another rate: what the
    // long loop and the large room held goes back.
    settle(96000.0f, [&](std::vector<float>& l, std::vector<float>& r) {
        runReverb(*rv, l, r, 0.2f, 0.2f, 0.5f);
        runDelay(*d, l, r, 0.2f, 0.5f);
    }, [&](float sr) {
        rv->prepare(sr);
        d->prepare(sr);
    });
    EXPECT_LT(rv->residentBytes(), reverbBefore);
    EXPECT_LT(d->residentBytes(), delayBefore / 2);

    // From here on they render what new engines at that rate render.
    auto freshReverb = std::make_unique<Reverb>();
    auto freshDelay = std::make_unique<Delay2>();
    freshReverb->samplerate = freshDelay->samplerate = 96000.0f;
    freshDelay->bpm = d->bpm;
    std::vector<float> l(320), r(320);
    for (int b = 0; b < 400; ++b) {
        noise(l, r, b);
        std::vector<float> l2 = l, r2 = r;
        runReverb(*rv, l, r, 0.7f, 0.3f, 0.5f);
        runDelay(*d, l, r, 0.7f, 0.5f);
        runReverb(*freshReverb, l2, r2, 0.7f, 0.3f, 0.5f);
        runDelay(*freshDelay, l2, r2, 0.7f, 0.5f);
        ASSERT_EQ(0, std::memcmp(l.data(), l2.data(), sizeof(float) * l.size())) << "block " << b;
        ASSERT_EQ(0, std::memcmp(r.data(), r2.data(), sizeof(float) * r.size())) << "block " << b;
    }
}

TEST(EngineMemory, RateChangesBetweenBlocksStayInsideTheLines)
{
    // A host may change the rate without a suspend: a ring the new rate
    // outgrows starts again from silence at its new length. Under the address
    // sanitizer (and with the guard pages around the lines) this shows no read
    // or write leaves the reservation.
    auto rv = std::make_unique<Reverb>();
    auto d = std::make_unique<Delay2>();
    std::vector<float> l(512), r(512);
    const float rates[] = { 44100.0f, 192000.0f, 8000.0f, 384000.0f, 22050.0f, 768000.0f, 44100.0f };
    for (int step = 0; step < 14; ++step) {
        const float rate = rates[step % 7];
        if (step >= 7) {
            rv->prepare(rate);
            d->prepare(rate);
        } else {
            rv->samplerate = rate;
            d->samplerate = rate;
        }
        d->bpm = 40.0f + 20.0f * step;
        for (int b = 0; b < 200; ++b) {
            noise(l, r, b);
            runReverb(*rv, l, r, 1.0f, 1.0f, 1.0f);
            runDelay(*d, l, r, 1.0f, 1.0f);
            ASSERT_LE(peak(l, r), 1000.0f) << "rate " << rate << ", block " << b;
        }
        EXPECT_LE(rv->lineLength(3), Reverb::kLineSize);
        EXPECT_LE(d->lineLength(), Delay2::kLineSize);
    }
}

} // namespace
