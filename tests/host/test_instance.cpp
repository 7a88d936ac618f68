// The format-free instance's own operations: programs, the wet-only factor,
// the meters, the moments it asks for the tempo, and what it tells its
// format. No plug-in format is linked.
#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

#include "host/ov_core.h"
#include "host/switch_points.h"
#include "tests/common/private_data_folder.h"

namespace {

std::unique_ptr<OvCore> makeInstance() {
    privateDataFolder();
    return std::make_unique<OvCore>();
}

struct Stereo {
    explicit Stereo(int frames, float left = 0.0f, float right = 0.0f)
        : inL(frames, left), inR(frames, right), outL(frames), outR(frames) {}
    std::vector<float> inL, inR, outL, outR;
    float* in[2] = {nullptr, nullptr};
    float* out[2] = {nullptr, nullptr};
    void run(OvCore& fx, int frames) {
        in[0] = inL.data();
        in[1] = inR.data();
        out[0] = outL.data();
        out[1] = outR.data();
        fx.processReplacing(in, out, frames);
    }
};

TEST(Instance, InitPatchNamesAndResetsOnlyThatProgram) {
    auto fx = makeInstance();
    fx->setProgram(7);
    fx->setParameter(0, 0.9f);
    fx->setProgram(2);
    fx->initPatch(7);
    char name[kProgramNameSize];
    ASSERT_TRUE(fx->getProgramNameIndexed(7, name));
    EXPECT_STREQ(name, "Init 007");
    EXPECT_EQ(fx->programs[7].values[param::Mix].load(), 0.5f);
    EXPECT_EQ(fx->programs[7].values[param::StepL16].load(), 1.0f);
    EXPECT_EQ(fx->programs[7].values[param::StepL15].load(), 0.0f);
    EXPECT_EQ(fx->getProgram(), 2);
    EXPECT_EQ(fx->getParameter(0), fx->programs[2].values[0].load());
    fx->initPatch(180);  // out of range: nothing
    fx->initPatch(-1);
    fx->refreshProgramList = false;
    fx->refreshWaveDisplay = false;
    fx->setProgram(7);
    EXPECT_EQ(fx->getParameter(param::Volume), 0.705f);
    EXPECT_TRUE(fx->refreshProgramList.load());
    EXPECT_TRUE(fx->refreshWaveDisplay.load());
}

TEST(Instance, FactoryTellingRowsAreExact) {
    auto fx = makeInstance();
    const OvProgram& welcome = fx->programs[0];
    EXPECT_STREQ(welcome.name, "MIX Welcome!");
    EXPECT_EQ(welcome.values[param::MTime].load(), 0.736f);
    EXPECT_EQ(welcome.values[param::StepL16].load(), 0.0f);
    EXPECT_EQ(welcome.values[param::StepR14].load(), 0.5f);
    const OvProgram& chorus = fx->programs[114];
    EXPECT_STREQ(chorus.name, "FX Simple Chorus");
    EXPECT_EQ(chorus.values[param::RMix].load(), 0.0f);
    EXPECT_EQ(chorus.values[param::RPredel].load(), 0.0f);
    EXPECT_EQ(chorus.values[param::MFeedba].load(), 0.0f);
    EXPECT_EQ(chorus.values[param::MTime].load(), 0.136f);
    const OvProgram& gate = fx->programs[126];
    EXPECT_EQ(gate.values[param::GThresh].load(), 0.056f);
    EXPECT_EQ(gate.values[param::MMix].load(), 0.0f);
    EXPECT_EQ(gate.values[param::RHiDamp].load(), 0.0f);
    const OvProgram& ping = fx->programs[142];
    EXPECT_EQ(ping.values[param::StepL8].load(), 1.0f);
    EXPECT_EQ(ping.values[param::StepR8].load(), 0.0f);
    EXPECT_EQ(ping.values[param::StepL16].load(), 0.0f);
    EXPECT_EQ(ping.values[param::StepR16].load(), 1.0f);
    for (int p = 0; p < kNumParams; ++p)
        EXPECT_EQ(fx->programs[168].values[p].load(), kParameterInit.v[p]) << p;
    EXPECT_STREQ(fx->programs[168].name, "USER 1");
}

TEST(Instance, WetOnlyFactorRemovesTheDrySignal) {
    auto fx = makeInstance();
    fx->setParameter(param::RMix, 0.0f);
    fx->setParameter(param::MMix, 0.0f);
    fx->setParameter(param::Mix, 0.25f);
    fx->setParameter(param::Volume, 0.5f);
    fx->dryFactor = 0.0f;
    Stereo s(300, 0.4f, -0.2f);
    s.run(*fx, 300);
    for (int i = 0; i < 300; ++i) {
        EXPECT_FLOAT_EQ(s.outL[i], 0.4f * 0.25f);
        EXPECT_FLOAT_EQ(s.outR[i], -0.2f * 0.25f);
    }
    fx->suspend();
    EXPECT_EQ(fx->dryFactor.load(), 1.0f);  // a reset releases the button
}

TEST(Instance, MetersFollowTheOutputAndRestAfterReset) {
    auto fx = makeInstance();
    fx->setProgram(126);  // the gate is on
    Stereo s(4096, 0.9f, 0.9f);
    s.run(*fx, 4096);
    EXPECT_GE(fx->outputMeter.load(), 5);
    EXPECT_EQ(fx->gateMeter.load(), 10);
    fx->setParameter(param::Bypass, 1.0f);
    s.run(*fx, 512);
    EXPECT_EQ(fx->gateMeter.load(), 0);
    EXPECT_EQ(fx->duckMeter.load(), 0);
    fx->suspend();
    EXPECT_EQ(fx->outputMeter.load(), 0);
    EXPECT_EQ(fx->outputPeak.level, 0.0f);
    EXPECT_EQ(fx->gate.envelope.state, Envelope::Idle);
    EXPECT_EQ(fx->gate.envelope.phase, 1.0f);
    EXPECT_EQ(fx->ducker.smooth, 0.0f);
}

// Counts the tempo queries and answers a new tempo each time, as a VST 2 host may.
struct CountingClock : HostClock {
    int asked = 0;
    double tempo() override { return 100.0 + ++asked; }
};

TEST(Instance, AsksForTheTempoAtEveryTickAndEveryPiece) {
    auto fx = makeInstance();
    CountingClock clock;
    fx->setHostClock(&clock);
    Stereo s(512);
    // 512 frames at 44100 Hz from a reset: ticks at 0, 147, 294 and 441, and
    // four pieces (0..146, 147..293, 294..440, 441..511).
    s.run(*fx, 512);
    EXPECT_EQ(clock.asked, 8);
    EXPECT_EQ(fx->hostTempo, 108.0) << "the last answer is the one in use";
    // The next block continues the last piece (76 more frames) before its tick at 588.
    clock.asked = 0;
    s.run(*fx, 100);
    EXPECT_EQ(clock.asked, 3) << "piece 512..587, tick, piece 588..611";
    // Bypassed pieces do not ask; the ticks still do.
    fx->reset();
    fx->setParameter(param::Bypass, 1.0f);
    clock.asked = 0;
    s.run(*fx, 512);
    EXPECT_EQ(clock.asked, 4);
    // Without a clock the tempo is 120.
    fx->setHostClock(nullptr);
    fx->setParameter(param::Bypass, 0.0f);
    s.run(*fx, 512);
    EXPECT_EQ(fx->hostTempo, 120.0);
}

// Records what the instance tells its format.
struct RecordingObserver : InstanceObserver {
    std::vector<std::pair<int, float>> changes;
    int displays = 0;
    void parameterChanged(int index, float value) override { changes.emplace_back(index, value); }
    void displayChanged() override { ++displays; }
};

TEST(Instance, TellsItsFormatOfChangesAndOfProgramChangesByMidi) {
    auto fx = makeInstance();
    RecordingObserver seen;
    fx->setObserver(&seen);
    fx->setParameter(param::RSize, 0.25f);
    ASSERT_EQ(seen.changes.size(), 1u);
    EXPECT_EQ(seen.changes[0], std::make_pair(int(param::RSize), 0.25f));
    fx->setParameter(kNumParams, 0.5f);  // not a parameter: nothing
    EXPECT_EQ(seen.changes.size(), 1u);

    // A Program Change at frame 400 takes effect at the tick that opens the
    // period holding frame 400 (the tick at 294), and the host is told.
    seen.changes.clear();
    fx->addOrvaneMidiEvent(static_cast<char>(0xC3), 5, 0, 400);
    Stereo s(512);
    s.run(*fx, 293);  // ticks at 0 and 147 only
    EXPECT_EQ(fx->getProgram(), 0);
    EXPECT_EQ(seen.displays, 0);
    fx->reset();
    s.run(*fx, 512);
    EXPECT_EQ(fx->getProgram(), 5);
    EXPECT_EQ(seen.displays, 1);
    EXPECT_EQ(seen.changes.size(), static_cast<size_t>(kNumParams)) << "every value of the new program";
    // A Note On is taken from the queue without effect.
    fx->addOrvaneMidiEvent(static_cast<char>(0x90), 60, 100, 0);
    s.run(*fx, 512);
    EXPECT_EQ(fx->getProgram(), 5);
    EXPECT_EQ(seen.displays, 1);
    fx->setObserver(nullptr);
}

TEST(Instance, StoredProgramsFromFilesKeepTheirWholeNameAndRaiseTheList) {
    auto fx = makeInstance();
    fx->refreshProgramList = false;
    float values[3] = {0.1f, 0.2f, 0.3f};
    fx->storeProgram(9, "A name of twenty-eight chars", values, 3);
    char name[kProgramNameSize];
    ASSERT_TRUE(fx->getProgramNameIndexed(9, name));
    EXPECT_STREQ(name, "A name of twenty-eight chars");
    EXPECT_EQ(fx->programs[9].values[2].load(), 0.3f);
    EXPECT_EQ(fx->programs[9].values[3].load(), factoryPresets[9].values[3]) << "the rest stays";
    EXPECT_TRUE(fx->refreshProgramList.load());
    fx->storeProgram(kNumPrograms, "x", values, 3);  // out of range: nothing
    fx->storeProgram(9, nullptr, values, 3);
    EXPECT_EQ(fx->programs[9].values[0].load(), 0.1f);
    // Names set through the instance keep 24 characters.
    fx->setProgramName("A name of twenty-eight chars");
    fx->getProgramName(name);
    EXPECT_STREQ(name, "A name of twenty-eight c");
}

TEST(Instance, SampleRatesThatAreNotPositiveNumbersAreIgnored) {
    auto fx = makeInstance();
    fx->setSampleRate(48000.0f);
    for (float bad : {0.0f, -44100.0f, NAN, INFINITY}) fx->setSampleRate(bad);
    EXPECT_EQ(fx->getSampleRate(), 48000.0f);
}

TEST(Instance, TheOutputMeterStaysAReadingAndFallsBackWhateverComes) {
    // Bypassed, the output is the input, infinite samples included; the meter
    // shows them as full and falls back as after any loud sound.
    for (float rate : {44100.0f, 5.0f, 1e-40f, 1e30f}) {
        auto fx = makeInstance();
        fx->setSampleRate(rate);
        fx->setParameter(param::Bypass, 1.0f);
        for (float huge : {INFINITY, -INFINITY, NAN, FLT_MAX}) {
            Stereo loud(512, huge, -huge);
            loud.run(*fx, 512);
            EXPECT_GE(fx->outputMeter.load(), 0) << rate << " " << huge;
            EXPECT_TRUE(std::isfinite(fx->outputPeak.level)) << rate << " " << huge;
            Stereo quiet(4096, 0.0f, 0.0f);
            for (int i = 0; i < 100; ++i) quiet.run(*fx, 4096);  // 9 s at 44.1 kHz
            // At 1e30 Hz these samples last no time at all: the meter holds.
            if (rate <= 44100.0f) {
                EXPECT_EQ(fx->outputMeter.load(), 0) << rate << " " << huge;
            }
        }
    }
}

TEST(Instance, AnEngineWhoseMemoryHoldsNoNumberIsStartedAfresh) {
    // Should an engine's memory come to hold what is not a number anyway (here
    // huge samples handed to the engine itself, past the render path's bound),
    // the render path notices it in the next piece and starts that engine
    // afresh: the output is a number at once, and the engine is heard again.
    using namespace param;
    for (bool reverb : {true, false}) {
        auto fx = makeInstance();
        fx->setSampleRate(44100.0f);
        fx->setParameter(Mix, 1.0f);  // wet only: what is heard is the engine
        fx->setParameter(RMix, reverb ? 1.0f : 0.0f);
        fx->setParameter(MMix, reverb ? 0.0f : 1.0f);
        Stereo s(4096);
        for (int i = 0; i < 4096; ++i) {
            s.inL[i] = (i % 97 == 0) ? 0.5f : 0.0f;
            s.inR[i] = (i % 89 == 0) ? -0.5f : 0.0f;
        }
        s.run(*fx, 4096);
        // The settings as the render path hands them on, so that the engine
        // sees no change that would start it afresh by itself.
        auto p = [&](int index) { return controlValue(fx->getParameter(index)); };
        std::vector<float> hugeL(512, FLT_MAX), hugeR(512, -FLT_MAX);
        if (reverb) {
            fx->reverb.universalReverbCalcEnhanced(hugeL.data(), hugeR.data(), 512, 1.0f, p(RDecay), p(RSize),
                                                   p(RPredel), p(RSwirl), p(RHiDamp), p(RLowDamp),
                                                   1.0f - p(RHiCut), p(RLowCut), p(RDiffuse), 1.0f, 0.5f);
        } else {
            fx->delay.universalTapCalc17(hugeL.data(), hugeR.data(), 512, 1.0f, p(MTime), p(MFeedba), p(MDetune),
                                         p(MHiDamp), p(MLowDamp), 1.0f - p(MHiCut), p(MLowCut), 0.0f, 1.0f,
                                         0.5f);
        }
        float loudest = 0.0f;
        for (int block = 0; block < 11; ++block) {  // a second
            s.run(*fx, 4096);
            for (int i = 0; i < 4096; ++i) {
                ASSERT_TRUE(std::isfinite(s.outL[i]) && std::isfinite(s.outR[i]))
                    << (reverb ? "reverb" : "multitap") << ", frame " << block * 4096 + i;
                if (block == 10) loudest = std::max({loudest, std::fabs(s.outL[i]), std::fabs(s.outR[i])});
            }
        }
        EXPECT_GT(loudest, 0.01f) << (reverb ? "reverb" : "multitap") << " heard again";
    }
}

}  // namespace
