// Factory programs heard through the plug-in instance, at 44100 Hz and the
// default 120 BPM: every program is audible and bounded, reverbs decay as
// their room and decay settings say, delays echo on their note values, and
// the effects do what their names say. Renders are short to keep this fast.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "host/ov_core.h"
#include "tools/bankdesign/measure.h"

using namespace bankdesign;
using namespace param;

namespace {

class ProgramRender : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!std::getenv("NIMBREL_DATA_DIR")) {
            std::string dir = (std::filesystem::temp_directory_path() / "nimbrel-test-programs").string();
            setenv("NIMBREL_DATA_DIR", dir.c_str(), 1);
        }
        fx_ = std::make_unique<OvCore>().release();
    }
    static void TearDownTestSuite() {
        delete fx_;
        fx_ = nullptr;
    }

    static int program(const char* name) {
        char text[kProgramNameSize];
        for (int p = 0; p < kNumPrograms; ++p)
            if (fx_->getProgramNameIndexed(p, text) && std::strcmp(text, name) == 0) return p;
        ADD_FAILURE() << "no program " << name;
        return 0;
    }
    static std::string name(int p) {
        char text[kProgramNameSize];
        fx_->getProgramNameIndexed(p, text);
        return text;
    }
    // Program p with some values changed, ready to render from silence.
    static void start(int p, bool wetOnly, std::initializer_list<std::pair<int, float>> changes = {}) {
        prepare(*fx_, p, wetOnly);
        for (auto& [index, v] : changes) fx_->setParameter(index, v);
        fx_->reset();
        fx_->dryFactor = wetOnly ? 0.0f : 1.0f;
    }
    // Decay time of the wet impulse response, fitted over 1.2 s of tail
    // (a long hall falls only about 10 dB in that time, enough for a slope).
    static double decay(int p, std::initializer_list<std::pair<int, float>> changes = {}) {
        start(p, true, changes);
        Stereo ir = render(*fx_, impulse(frames(1.5), 0.5f, 0.5f));
        double t0 = loudestBlockTime(ir);
        return decayTime(ir, t0 + 0.05, t0 + 1.25);
    }

    static OvCore* fx_;
};
OvCore* ProgramRender::fx_ = nullptr;

// A sine's level change through program p, dry included, in dB.
double sineGainDb(OvCore& fx, int p, float hz) {
    prepare(fx, p, false);
    Stereo in = sine(frames(0.15), hz, 0.25f);
    return gainDb(render(fx, in), in, frames(0.05), frames(0.15));
}

}  // namespace

TEST_F(ProgramRender, EveryProgramIsAudibleFiniteAndBounded) {
    // One second: the longest first echo (dotted quarter, 0.75 s) must arrive.
    const Stereo burst = noiseBurst(frames(1.0), frames(0.05), 0.5f, true);
    for (int p = 0; p < kNumPrograms; ++p) {
        start(p, false);
        Stereo out = render(*fx_, burst);
        ASSERT_TRUE(allFinite(out)) << name(p);
        // Input peaks at 0.5: allow 12 dB of gain, no more (no runaway loops).
        EXPECT_LT(peak(out), 2.0f) << name(p);

        start(p, true);
        Stereo wet = render(*fx_, burst);
        ASSERT_TRUE(allFinite(wet)) << name(p);
        EXPECT_GT(energy(wet, 0, wet.frames()), 1e-3 * energy(burst, 0, burst.frames()))
            << name(p) << " has no effect signal";
    }
}

TEST_F(ProgramRender, ReverbDecayGrowsWithRoomSizeAndDecay) {
    for (int p = 0; p < kNumPrograms; ++p) {
        if (name(p).rfind("REV ", 0) != 0) continue;
        const float size = fx_->programs[p].values[RSize], d = fx_->programs[p].values[RDecay];
        double base = decay(p);
        EXPECT_GT(base, 0.3) << name(p);
        EXPECT_GT(decay(p, {{RSize, std::min(1.0f, size + 0.15f)}}), base * 1.05) << name(p) << " size";
        EXPECT_GT(decay(p, {{RDecay, d + 0.1f}}), base * 1.1) << name(p) << " decay";
    }
}

TEST_F(ProgramRender, LargerRoomsRingLonger) {
    double room = decay(program("REV Room")), chamber = decay(program("REV Chamber"));
    double hall = decay(program("REV Hall Real")), big = decay(program("REV Hall Big"));
    double arena = decay(program("REV Arena"));
    EXPECT_LT(room, chamber);
    EXPECT_LT(chamber, hall);
    EXPECT_LT(hall, arena);
    EXPECT_GT(big, chamber);
    EXPECT_GT(decay(program("REV Room Large")), room);
    for (int p = 0; p < kNumPrograms; ++p) {
        if (name(p).rfind("REV Hall ", 0) == 0 && p != program("REV Hall Big")) {
            EXPECT_LT(decay(p), big) << name(p) << " rings longer than the big hall";
        }
    }
}

TEST_F(ProgramRender, BrightTailsCarryMoreHighsThanWarmOnes) {
    auto highs = [this](const char* n) {
        start(program(n), true);
        Stereo ir = render(*fx_, impulse(frames(0.5), 0.5f, 0.5f));
        return highShare(ir, 0, ir.frames(), 3000.0f);
    };
    EXPECT_GT(highs("REV Hall Bright"), 2.0 * highs("REV Hall Warm"));
    EXPECT_GT(highs("REV Room Bright"), 2.0 * highs("REV Room Warm"));
    EXPECT_GT(highs("REV Room Bright 2"), 2.0 * highs("REV Room Warm"));
}

// At 120 BPM a beat is 0.5 s; "DEL x" echoes every x beats, "DUP x" once.
TEST_F(ProgramRender, DelaysEchoOnTheirNoteValues) {
    const std::pair<const char*, double> delays[] = {
        {"DEL 0.5", 0.25}, {"DEL 0.25", 0.125}, {"DEL 0.33", 0.5 / 3}, {"DEL 0.66", 1.0 / 3},
        {"DEL 0.75", 0.375}, {"DEL 0.125", 0.0625}, {"DEL 0.375", 0.1875}};
    for (auto& [n, spacing] : delays) {
        start(program(n), true);
        Stereo ir = render(*fx_, impulse(frames(3.5 * spacing), 0.5f, 0.5f));
        std::vector<Echo> found = echoes(ir.l, -30.0, 3);
        ASSERT_GE(found.size(), 3u) << n;
        for (int k = 0; k < 3; ++k) EXPECT_NEAR(found[k].seconds, (k + 1) * spacing, 0.004) << n << " echo " << k;
        EXPECT_GT(found[0].db, found[2].db) << n << " echoes should fade";
    }
    const std::pair<const char*, double> copies[] = {
        {"DUP 0.5", 0.25}, {"DUP 0.25", 0.125}, {"DUP 0.33", 0.5 / 3}, {"DUP 0.375", 0.1875}};
    for (auto& [n, at] : copies) {
        start(program(n), true);
        Stereo ir = render(*fx_, impulse(frames(3.0 * at), 0.5f, 0.5f));
        std::vector<Echo> found = echoes(ir.l, -40.0, 4);
        ASSERT_EQ(found.size(), 1u) << n;
        EXPECT_NEAR(found[0].seconds, at, 0.004) << n;
    }
}

TEST_F(ProgramRender, PingPongEchoesAlternateSides) {
    for (const char* n : {"DEL PingPong 0.25", "DEL PingPong 0.5", "MIX PingPong 2"}) {
        start(program(n), true, {{RMix, 0.0f}});  // the echoes alone
        Stereo ir = render(*fx_, impulse(frames(1.2), 0.5f, 0.5f));
        std::vector<Echo> left = echoes(ir.l, -25.0, 2), right = echoes(ir.r, -25.0, 2);
        ASSERT_EQ(left.size(), 2u) << n;
        ASSERT_EQ(right.size(), 2u) << n;
        EXPECT_LT(left[0].seconds, right[0].seconds) << n;
        EXPECT_LT(right[0].seconds, left[1].seconds) << n;
        EXPECT_LT(left[1].seconds, right[1].seconds) << n;
    }
}

TEST_F(ProgramRender, FiltersCutWhereTheirNamesSay) {
    int lp1k = program("FX Lowpass 1kHz");
    EXPECT_NEAR(sineGainDb(*fx_, lp1k, 1000.0f), -3.0, 1.0);
    EXPECT_GT(sineGainDb(*fx_, lp1k, 200.0f), -1.0);
    EXPECT_LT(sineGainDb(*fx_, lp1k, 5000.0f), -10.0);
    int hp1k = program("FX Highpass 1kHz");
    EXPECT_NEAR(sineGainDb(*fx_, hp1k, 1000.0f), -3.0, 1.0);
    EXPECT_LT(sineGainDb(*fx_, hp1k, 200.0f), -10.0);
    EXPECT_GT(sineGainDb(*fx_, hp1k, 8000.0f), -1.0);
    int lp200 = program("FX Lowpass 200Hz");
    EXPECT_NEAR(sineGainDb(*fx_, lp200, 200.0f), -3.0, 1.0);
    EXPECT_LT(sineGainDb(*fx_, lp200, 2000.0f), -15.0);
    int bp = program("FX Bandpass 1kHz");
    double centre = sineGainDb(*fx_, bp, 1000.0f);
    EXPECT_GT(centre, sineGainDb(*fx_, bp, 200.0f) + 6.0);
    EXPECT_GT(centre, sineGainDb(*fx_, bp, 5000.0f) + 6.0);
}

// A burst keys the gate; the effect signal must be gone the named time after it.
TEST_F(ProgramRender, GatedReverbsCloseOnTime) {
    const std::pair<const char*, double> gates[] = {
        {"GATE Hold 62ms", 0.062}, {"GATE Hold 125ms", 0.125}, {"GATE Hold 250ms", 0.25},
        {"GATE Hold 500ms", 0.5}, {"GATE Decay 250ms", 0.25}, {"GATE Decay 500ms", 0.5}};
    const int burstEnd = kLeadIn + frames(0.1);
    for (auto& [n, seconds] : gates) {
        start(program(n), true);
        Stereo out = render(*fx_, noiseBurst(frames(0.2 + seconds * 1.5), frames(0.1), 0.5f, true));
        EXPECT_NEAR(timeToSilence(out, burstEnd, -50.0), seconds, seconds * 0.15 + 0.005) << n;
    }
}

TEST_F(ProgramRender, NoiseGatesOpenAtTheirThresholds) {
    // A steady tone at -30 dB: under the -20 dB gate, over the -40 dB one.
    Stereo tone = sine(frames(0.2), 440.0f, 0.0316f);
    start(program("FX Noisegate -20dB"), false);
    EXPECT_LT(gainDb(render(*fx_, tone), tone, frames(0.1), frames(0.2)), -40.0);
    start(program("FX Noisegate -40dB"), false);
    EXPECT_NEAR(gainDb(render(*fx_, tone), tone, frames(0.1), frames(0.2)), 0.0, 1.0);
}

TEST_F(ProgramRender, StereoProgramsNarrowAndWiden) {
    Stereo noise = noiseBurst(frames(0.2), frames(0.2), 0.5f, true);
    auto width = [&](const char* n) {
        start(program(n), false);
        return sideToMid(render(*fx_, noise), kLeadIn, noise.frames());
    };
    double input = sideToMid(noise, kLeadIn, noise.frames());
    EXPECT_LT(width("FX Stereo Narrow"), 0.5 * input);
    EXPECT_GT(width("FX Stereo Widener"), 2.0 * input);
    EXPECT_LT(width("FX Encode Mono"), 1e-6);
}
