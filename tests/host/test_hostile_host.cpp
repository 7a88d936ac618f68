// What a careless or hostile host may send, through the VST 2.4 interface:
// samples of any size, and sample rates far from any audio rate. The output
// stays a number, and the instance comes back to what a new one renders.
#include <cfloat>
#include <cmath>
#include <vector>

#include "tests/host/render_support.h"

namespace {

// Full-scale samples mixed with the largest ones a float holds and some that
// are no number at all, as a broken source upstream delivers them.
Stereo burst(size_t frames, float size, bool mixed) {
    Stereo s = noise(frames, 1.0f, 20);
    for (size_t i = 0; i < frames; ++i) {
        const float sign = (i % 2) ? -1.0f : 1.0f;
        if (!mixed) {
            s.left[i] = sign * size;
            s.right[i] = size;
        } else if (i % 5 != 4) {  // every fifth sample stays ordinary
            const float huge[] = {FLT_MAX, 1e30f, 1e38f, 3e37f, INFINITY, NAN};
            s.left[i] = sign * huge[i % 6];
            s.right[i] = -huge[(i + 3) % 6];
        }
    }
    return s;
}

// Energy of a stretch of both channels, in dB.
double levelDb(const Stereo& s, size_t from, size_t to) {
    double e = 1e-30;
    for (size_t i = from; i < to; ++i)
        e += static_cast<double>(s.left[i]) * s.left[i] + static_cast<double>(s.right[i]) * s.right[i];
    return 10.0 * std::log10(e / static_cast<double>(to - from));
}

void restart(PluginHost& host, int program) {
    host.setProgram(program);
    host.suspend();  // engines, gate, ducker and meters as new
    host.resume();
}

struct Burst {
    const char* what;
    float size;
    bool mixed;
};
const Burst kBursts[] = {{"FLT_MAX", FLT_MAX, false}, {"1e30", 1e30f, false}, {"a mix", 0.0f, true}};

TEST(HugeInput, EveryProgramIsFiniteAgainWithinASecond) {
    // At 8000 Hz a second is short enough to try every program with every burst.
    const float rate = 8000.0f;
    auto host = started(0, rate);
    const Stereo after = noise(static_cast<size_t>(rate) * 2, 0.5f, 21);
    for (const Burst& b : kBursts) {
        const Stereo huge = burst(1024, b.size, b.mixed);
        for (int program = 0; program < 180; ++program) {
            restart(*host, program);
            render(*host, huge);
            const Stereo out = render(*host, after);
            ASSERT_LE(finiteFrom(out), static_cast<size_t>(rate))
                << b.what << ", program " << program << " still gives what is not a number after a second";
        }
    }
}

TEST(HugeInput, TheLevelComesBackToWhatANewInstanceRenders) {
    // Programs whose tails fall away within a few seconds: a reverb, delays,
    // reverb and delay together, the gate, the ducker.
    const float rate = 44100.0f;
    const size_t second = static_cast<size_t>(rate);
    const Stereo after = noise(7 * second, 0.5f, 22);
    for (int program : {45, 52, 134, 6, 113, 141, 150}) {
        auto fresh = started(program, rate);
        const Stereo expected = render(*fresh, after);
        for (const Burst& b : kBursts) {
            auto host = started(program, rate);
            render(*host, burst(512, b.size, b.mixed));
            const Stereo out = render(*host, after);
            EXPECT_EQ(finiteFrom(out), 0u) << b.what << ", program " << program;
            EXPECT_NEAR(levelDb(out, 6 * second, 7 * second), levelDb(expected, 6 * second, 7 * second), 1.0)
                << b.what << ", program " << program << ": the level after six seconds";
        }
    }
}

TEST(HugeInput, SamplesUpToAMillionPassAsTheyAreAndLargerOnesAtAMillion) {
    // Both engines off: the output is the input times 4 Volume squared.
    auto host = started();
    host->setParameter(0, 0.0f);   // Mix: the dry signal alone
    host->setParameter(1, 0.5f);   // Volume: gain 1
    host->setParameter(5, 0.0f);
    host->setParameter(21, 0.0f);
    host->setParameter(15, 1.0f);  // gate off
    host->setParameter(19, 0.0f);  // ducker off
    Stereo in = silence(8);
    in.left = {1e6f, -1e6f, 999999.9f, 2e6f, -1e30f, FLT_MAX, 0.25f, -3e5f};
    in.right = {-1e6f, 1e6f, -999999.9f, -2e6f, 1e30f, -FLT_MAX, -0.25f, 3e5f};
    const Stereo out = render(*host, in);
    const float expected[] = {1e6f, -1e6f, 999999.9f, 1e6f, -1e6f, 1e6f, 0.25f, -3e5f};
    for (size_t i = 0; i < 8; ++i) {
        EXPECT_EQ(out.left[i], expected[i]) << i;
        EXPECT_EQ(out.right[i], -expected[i]) << i;
    }
}

// From far below any audio rate to far above; the rates where the reverb's
// low cut, the ducker and the output meter used to run away lie in between.
const float kRates[] = {1.0f,    2.5f,    8.0f,     30.0f,    100.0f,   300.0f,   794.0f,   2000.0f,
                        2720.0f, 8000.0f, 22050.0f, 44100.0f, 96000.0f, 192000.0f, 384000.0f, 1e6f};

TEST(AnyRate, EveryProgramGivesFiniteBoundedOutputFrom1HzTo1MHz) {
    // Full-scale noise: the loudest program with the Volume at +12 dB stays far
    // below this bound, and a filter that runs away passes it long before the
    // render path starts its engine afresh.
    const float bound = 100.0f;
    const Stereo in = noise(4096, 1.0f, 23);
    for (float rate : kRates) {
        auto host = started(0, rate);
        for (int program = 0; program < 180; ++program) {
            restart(*host, program);
            const Stereo out = render(*host, in);
            ASSERT_TRUE(allFinite(out)) << "rate " << rate << ", program " << program;
            ASSERT_LT(std::max(peak(out.left), peak(out.right)), bound) << "rate " << rate << ", program " << program;
        }
    }
}

TEST(AnyRate, RatesNoHostShouldSendStayDefinedAndKeepTheControlPeriod) {
    // Under the undefined-behaviour sanitizer with its float checks, every
    // conversion on the way is seen to stay in range.
    const Stereo in = noise(65536, 0.8f, 24);
    for (float rate : {1e-40f, FLT_MIN, 1e-6f, 1e30f, FLT_MAX}) {
        for (int program : {0, 30, 113, 126, 141}) {
            auto host = started(program, rate);
            host->setParameter(19, 0.5f);  // the ducker on
            host->setParameter(15, 0.3f);  // the gate on
            const int asked = host->callbackCounts[audioMasterGetTime];
            ASSERT_TRUE(allFinite(render(*host, in, 4096))) << "rate " << rate << ", program " << program;
            // The tempo is asked at every control tick and every piece: above
            // 19.6 MHz the period is the longest the work buffers hold, so a
            // huge rate costs no more ticks than that.
            if (rate >= 1e30f) {
                EXPECT_LE(host->callbackCounts[audioMasterGetTime] - asked, 2 * 16 + 2) << "rate " << rate;
            }
        }
    }
}

}  // namespace
