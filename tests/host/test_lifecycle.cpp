// The instance's lifecycle and its engines' memory: a rate set before audio,
// a suspend and a resume prepare the engines for the rate without changing
// the sound; a rate that changes between blocks leaves them playing; and no
// factory program makes one instance's delay lines hold more than the bound.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

#include "host/ov_core.h"
#include "tests/common/private_data_folder.h"

namespace {

std::unique_ptr<OvCore> makeInstance(float rate) {
    privateDataFolder();
    auto fx = std::make_unique<OvCore>();
    fx->setSampleRate(rate);
    return fx;
}

// Renders `frames` of a fixed signal (noise from `seed`, or silence for
// seed 0) in blocks of 512; returns the output, both channels interleaved.
std::vector<float> render(OvCore& fx, int64_t frames, uint32_t seed) {
    std::vector<float> inL(512), inR(512), outL(512), outR(512), all;
    float* in[2] = {inL.data(), inR.data()};
    float* out[2] = {outL.data(), outR.data()};
    uint32_t s = seed;
    for (int64_t done = 0; done < frames; done += 512) {
        for (int i = 0; i < 512; ++i) {
            s = s * 1664525u + 1013904223u;
            inL[i] = seed ? static_cast<float>(static_cast<int32_t>(s)) * 0x1p-32f : 0.0f;
            inR[i] = -inL[i];
        }
        fx.processReplacing(in, out, 512);
        for (int i = 0; i < 512; ++i) {
            all.push_back(outL[i]);
            all.push_back(outR[i]);
        }
    }
    return all;
}

size_t engineBytes(const OvCore& fx) { return fx.reverb.residentBytes() + fx.delay.residentBytes(); }

TEST(Lifecycle, ARateSetBeforeAudioPreparesTheEnginesForIt) {
    // The init program's loop is half a second at 120 bpm: at 192 kHz each of
    // the multitap's four lines must hold 96000 samples before the first
    // block, or the audio thread would fault its pages in.
    auto fx = makeInstance(192000.0f);
    EXPECT_GE(fx->delay.residentBytes(), 4 * 96000 * sizeof(float));
    EXPECT_EQ(fx->reverb.samplerate, 192000.0f);
    EXPECT_EQ(fx->delay.samplerate, 192000.0f);
    // Back at 44.1 kHz the rest goes back to the system.
    const size_t at192 = engineBytes(*fx);
    fx->setSampleRate(44100.0f);
    EXPECT_LT(engineBytes(*fx), at192 / 2);
}

TEST(Lifecycle, SuspendRateChangeAndResumeRenderWhatANewInstanceRenders) {
    for (int program : {0, 57, 148}) {
        for (float rate : {48000.0f, 96000.0f, 22050.0f}) {
            auto played = makeInstance(44100.0f);
            played->setProgram(program);
            render(*played, 44100, 7);
            // A rate change between blocks, then the host's suspend, a
            // second rate and its resume.
            played->setSampleRate(rate * 2.0f);
            render(*played, 4096, 8);
            played->suspend();
            played->setSampleRate(rate);
            played->resume();

            auto fresh = makeInstance(rate);
            fresh->setProgram(program);
            fresh->resume();
            EXPECT_EQ(render(*played, 30000, 9), render(*fresh, 30000, 9))
                << "program " << program << " at " << rate << " Hz";
        }
    }
}

TEST(Lifecycle, ResumeAndRepeatedCallsChangeNothingAudible) {
    // A resume while playing (some hosts send one without a suspend) and a
    // rate set again to the same value leave the engines as they are.
    auto a = makeInstance(48000.0f);
    auto b = makeInstance(48000.0f);
    for (auto* fx : {a.get(), b.get()}) {
        fx->setProgram(3);
        render(*fx, 20000, 5);
    }
    b->resume();
    b->setSampleRate(48000.0f);
    b->resume();
    EXPECT_EQ(render(*a, 20000, 0), render(*b, 20000, 0));
}

TEST(Lifecycle, ARateChangeBetweenBlocksKeepsTheEnginesPlaying) {
    // Without a suspend the engines follow the new rate within their lines:
    // a reverb tail already ringing goes on ringing.
    auto fx = makeInstance(44100.0f);
    fx->setProgram(0);
    fx->setParameter(param::MMix, 0.0f);
    render(*fx, 22050, 3);
    for (float rate : {48000.0f, 192000.0f, 8000.0f, 44100.0f}) {
        fx->setSampleRate(rate);
        const std::vector<float> tail = render(*fx, 2048, 0);
        float loudest = 0.0f;
        for (float v : tail) loudest = std::max(loudest, std::fabs(v));
        EXPECT_GT(loudest, 1e-4f) << "after the change to " << rate << " Hz";
    }
}

TEST(InstanceMemory, NoFactoryProgramsDelayLinesOutgrowTheBound) {
    // The engines' share of the 4 MiB an instance may hold at 44.1 and
    // 48 kHz, the rest going to the instance's own state and work buffers.
    constexpr size_t kBound = 3 * 1024 * 1024;
    size_t largest = 0;
    int largestProgram = -1;
    for (float rate : {44100.0f, 48000.0f}) {
        for (int program = 0; program < kNumPrograms; ++program) {
            auto fx = makeInstance(rate);
            fx->setProgram(program);
            fx->resume();
            render(*fx, static_cast<int64_t>(rate), static_cast<uint32_t>(program + 1));
            const size_t bytes = engineBytes(*fx);
            EXPECT_LE(bytes, kBound) << "program " << program << " at " << rate << " Hz";
            if (bytes > largest) largest = bytes, largestProgram = program;
        }
    }
    // The measurement itself works: the bank's longest loop fills most of it.
    EXPECT_GT(largest, kBound / 4) << "program " << largestProgram;
}

}  // namespace
