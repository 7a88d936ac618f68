// The render path through the VST 2.4 interface: routing, bypass, engine
// switch-on, gate, ducker, and input and block sizes a host may send.
#include <cmath>
#include <random>
#include <vector>
#include <xmmintrin.h>

#include "tests/host/render_support.h"

namespace {

TEST(Routing, BypassIsTheIdentity) {
    auto host = started();
    host->setParameter(3, 0.51f);
    Stereo in = noise(5000, 0.9f, 1);
    Stereo out = render(*host, in, 333);
    EXPECT_EQ(out.left, in.left);
    EXPECT_EQ(out.right, in.right);
}

TEST(Routing, BothEnginesOffGiveInputTimesFourVolumeSquared) {
    for (float mix : {0.0f, 0.3f, 1.0f}) {
        auto host = started();
        host->setParameter(5, 0.05f);  // at 0.05 an engine is still off
        host->setParameter(21, 0.0f);
        host->setParameter(0, mix);
        host->setParameter(1, 0.6f);
        Stereo in = noise(3000, 0.5f, 2);
        Stereo out = render(*host, in);
        const float gain = 0.6f * 0.6f * 4.0f;
        for (size_t i = 0; i < in.left.size(); ++i) {
            ASSERT_NEAR(out.left[i], in.left[i] * gain, 1e-6f) << "mix " << mix << " at " << i;
            ASSERT_NEAR(out.right[i], in.right[i] * gain, 1e-6f);
        }
    }
}

TEST(Routing, RouteHalfIsParallelAndBypassHalfIsNotBypassed) {
    Stereo in = noise(20000, 0.5f, 3);
    auto renderWith = [&](float route, float bypass) {
        auto host = started();
        host->setParameter(4, route);
        host->setParameter(3, bypass);
        return render(*host, in);
    };
    Stereo parallel = renderWith(0.0f, 0.0f);
    Stereo half = renderWith(0.5f, 0.5f);
    Stereo serial = renderWith(0.51f, 0.0f);
    EXPECT_EQ(half.left, parallel.left);
    EXPECT_EQ(half.right, parallel.right);
    EXPECT_NE(serial.left, parallel.left);
    EXPECT_NE(half.left, in.left);
}

TEST(Routing, SurroundMakesTheWetSignalMonoOrSide) {
    Stereo in = noise(8000, 0.5f, 4);
    auto wetOnly = [&](float surround) {
        auto host = started(30);  // a reverb program
        host->setParameter(0, 1.0f);
        host->setParameter(5, 1.0f);
        host->setParameter(2, surround);
        return render(*host, in);
    };
    Stereo mono = wetOnly(0.0f);
    for (size_t i = 0; i < mono.left.size(); ++i) ASSERT_EQ(mono.left[i], mono.right[i]);
    Stereo side = wetOnly(1.0f);
    for (size_t i = 0; i < side.left.size(); ++i) ASSERT_NEAR(side.left[i], -side.right[i], 1e-6f);
    EXPECT_EQ(wetOnly(0.45f).left, wetOnly(0.55f).left);
}

TEST(Routing, RaisingReverbMixFromZeroClearsTheTail) {
    auto tailAfter = [](float lowered) {
        auto host = started(30);
        host->setParameter(21, 0.0f);  // multitap off: only the reverb rings
        render(*host, noise(22050, 0.5f, 5));
        host->setParameter(5, lowered);
        render(*host, silence(512));
        host->setParameter(5, 0.5f);
        return peak(render(*host, silence(4096)).left);
    };
    EXPECT_EQ(tailAfter(0.0f), 0.0f);  // switched off and on: cleared
    EXPECT_GT(tailAfter(0.3f), 1e-3f); // still on: the tail goes on
}

TEST(Gate, ExtremesOfTheThreshold) {
    Stereo in = noise(20000, 0.2f, 6);
    auto renderGate = [&](float threshold) {
        auto host = started(30);
        host->setParameter(15, threshold);
        return render(*host, in);
    };
    Stereo off = renderGate(1.0f);
    EXPECT_EQ(renderGate(0.95f).left, off.left);
    // Threshold 0.5 needs an input level above 0.5: never reached, so no wet signal passes.
    auto closed = started(30);
    closed->setParameter(15, 0.5f);
    closed->setParameter(0, 1.0f);
    closed->setParameter(5, 1.0f);
    EXPECT_EQ(peak(render(*closed, in).left), 0.0f);
    // Threshold 0 opens on any input; with an instant attack the gate is transparent.
    auto open = started(30);
    open->setParameter(15, 0.0f);
    open->setParameter(16, 0.0f);
    Stereo opened = render(*open, in);
    for (size_t i = 0; i < in.left.size(); ++i) ASSERT_EQ(opened.left[i], off.left[i]) << i;
}

TEST(Ducker, LimitOneDucksNothingAndFullDuckingHoldsTheWetDown) {
    Stereo in = noise(20000, 0.5f, 7);
    auto renderDuck = [&](float level, float limit) {
        auto host = started(30);
        host->setParameter(0, 1.0f);
        host->setParameter(5, 1.0f);
        host->setParameter(19, level);
        host->setParameter(20, limit);
        return render(*host, in);
    };
    Stereo plain = renderDuck(0.0f, 0.5f);
    EXPECT_EQ(renderDuck(1.0f, 1.0f).left, plain.left);
    Stereo ducked = renderDuck(1.0f, 0.0f);
    // The ducker follows the input level, so loud noise keeps the wet signal well down.
    EXPECT_LT(peak(ducked.left, 10000), 0.5f * peak(plain.left, 10000));
}

TEST(HostInput, BlockSizesFromZeroTo65536) {
    auto host = started();
    Block untouched(16);
    std::fill(untouched.outL.begin(), untouched.outL.end(), 7.0f);
    host->process(untouched.in(), untouched.out(), 0);
    host->process(untouched.in(), untouched.out(), -5);
    EXPECT_EQ(untouched.outL[0], 7.0f);
    for (int frames : {1, 2, 3, 146, 147, 148, 4095, 65536}) {
        Block b(frames);
        for (int i = 0; i < frames; ++i) b.inL[i] = b.inR[i] = (i % 100 == 0) ? 0.8f : 0.0f;
        host->process(b.in(), b.out(), frames);
        for (int i = 0; i < frames; ++i) ASSERT_TRUE(std::isfinite(b.outL[i]) && std::isfinite(b.outR[i]));
    }
}

TEST(HostInput, EverySampleRateGivesFiniteOutput) {
    for (float rate : {8000.0f, 22050.0f, 44100.0f, 96000.0f, 192000.0f, 384000.0f}) {
        for (int program : {0, 30, 126, 142}) {
            auto host = started(program, rate);
            Stereo in = noise(static_cast<size_t>(rate / 4), 0.8f, 8);
            Stereo out = render(*host, in, 1024);
            ASSERT_TRUE(allFinite(out)) << rate << " program " << program;
            EXPECT_LT(peak(out.left), 50.0f) << rate << " program " << program;
        }
    }
}

TEST(HostInput, OutOfRangeControlsAndTemposStayFinite) {
    auto host = started();
    for (int i = 0; i < 63; ++i) host->setParameter(i, (i % 3 == 0) ? 5.0f : (i % 3 == 1 ? -3.0f : NAN));
    host->setParameter(3, 0.0f);
    for (double tempo : {0.0, -120.0, 1e-9, 1e9, static_cast<double>(NAN)}) {
        host->timeInfo.tempo = tempo;
        Stereo out = render(*host, noise(4096, 0.5f, 9));
        ASSERT_TRUE(allFinite(out)) << tempo;
    }
}

TEST(HostInput, ANonFiniteSampleDoesNotPoisonTheEngines) {
    auto host = started(0);
    Stereo in = noise(8192, 0.5f, 10);
    in.left[1000] = NAN;
    in.right[2000] = INFINITY;
    in.left[3000] = -INFINITY;
    Stereo out = render(*host, in);
    Stereo later = render(*host, noise(44100, 0.5f, 11));
    EXPECT_TRUE(allFinite(later));
    EXPECT_GT(peak(later.left), 0.01f);
}

TEST(HostInput, DenormalsAreFlushedInsideABlockAndTheHostsModeIsRestored) {
    auto host = started(0);
    constexpr unsigned kFlags = 0x3F;         // sticky exception flags: not a mode
    constexpr unsigned kFlushModes = 0x8040;  // flush-to-zero, denormals-are-zero
    const unsigned hostMode = (_mm_getcsr() & ~kFlushModes) | 0x6000;  // and round toward zero
    _mm_setcsr(hostMode);
    unsigned insideMode = 0;
    host->callbackHook = [&](int32_t opcode, int32_t, intptr_t, void*, float, intptr_t& result) {
        if (opcode != audioMasterGetTime) return false;
        insideMode = _mm_getcsr();
        result = 0;
        return true;
    };
    Block b(512);
    b.inL[0] = 1.0f;
    host->process(b.in(), b.out(), 512);
    const unsigned after = _mm_getcsr();
    _mm_setcsr(_mm_getcsr() & ~0x6000u);  // back to round-to-nearest for the other tests
    EXPECT_EQ(insideMode & kFlushModes, kFlushModes);
    EXPECT_EQ(after & ~kFlags, hostMode & ~kFlags);
}

}  // namespace
