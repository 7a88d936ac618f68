// The one-line program description: what it says for each kind of program,
// and that the reverb tail estimate follows size and decay.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "host/program_summary.h"
#include "host/programs.h"

using namespace param;

namespace {

std::vector<float> initProgram() {
    return std::vector<float>(kParameterInit.v, kParameterInit.v + kNumParams);
}
std::string describe(const std::vector<float>& v) { return describeProgram(v.data()); }
bool has(const std::string& s, const char* part) { return s.find(part) != std::string::npos; }

}  // namespace

TEST(ProgramSummary, NamesTheEnginesThatRun) {
    std::vector<float> v = initProgram();
    std::string both = describe(v);
    EXPECT_TRUE(has(both, "reverb 8 m")) << both;
    EXPECT_TRUE(has(both, "multitap 1/2 x1 feedback 50.0%")) << both;
    EXPECT_TRUE(has(both, "parallel")) << both;

    v[Route] = 0.6f;
    EXPECT_TRUE(has(describe(v), "serial"));
    v[MMix] = 0.05f;  // at the switch point the multitap is off
    std::string reverbOnly = describe(v);
    EXPECT_FALSE(has(reverbOnly, "multitap")) << reverbOnly;
    EXPECT_FALSE(has(reverbOnly, "serial")) << reverbOnly;

    v[RMix] = 0.0f;
    EXPECT_EQ(describe(v), "no engine");
}

TEST(ProgramSummary, MultitapNoteTapsAndFeedback) {
    std::vector<float> v = initProgram();
    v[RMix] = 0.0f;
    v[MTime] = 0.25f;
    v[MFeedba] = 0.0f;
    v[StepL8] = 1.0f;
    v[StepR3] = 0.5f;
    EXPECT_EQ(describe(v), "multitap 1/4 x3 one shot");
    v[MFeedba] = 0.644f;
    EXPECT_EQ(describe(v), "multitap 1/4 x3 feedback 64.4%");
}

TEST(ProgramSummary, GateDuckingWidthAndBypass) {
    std::vector<float> v = initProgram();
    v[MMix] = 0.0f;
    std::string plain = describe(v);
    EXPECT_FALSE(has(plain, "gate") || has(plain, "ducking") || has(plain, "stereo")) << plain;

    v[GThresh] = 0.3162f;
    v[GHold] = 0.4164f;
    v[DLevel] = 0.5f;
    v[DLimit] = 0.1f;
    v[Surround] = 0.0f;
    v[Bypass] = 1.0f;
    std::string s = describe(v);
    EXPECT_TRUE(has(s, "gate -20.0 dB hold 0.12 s release 0.02 s")) << s;
    EXPECT_TRUE(has(s, "ducking 50.0% limit 20.0 dB")) << s;
    EXPECT_TRUE(has(s, "mono")) << s;
    EXPECT_EQ(s.rfind("bypassed", 0), 0u) << s;

    v[GThresh] = 0.95f;  // the gate's off point
    v[DLevel] = 0.05f;   // the ducker's off point
    s = describe(v);
    EXPECT_FALSE(has(s, "gate") || has(s, "ducking")) << s;
}

// Values from a loaded file may lie outside 0..1 or be no number at all;
// the line then describes what the render path plays (clamped, NaN as 0).
TEST(ProgramSummary, ReadsValuesAsTheRenderPathDoes) {
    std::vector<float> wild = initProgram();
    wild[RSize] = 7.0f;
    wild[RDecay] = std::nanf("");
    wild[MTime] = -3.0f;
    wild[MFeedba] = 2.0f;
    wild[GThresh] = -1.0f;
    std::vector<float> clamped = initProgram();
    clamped[RSize] = 1.0f;
    clamped[RDecay] = 0.0f;
    clamped[MTime] = 0.0f;
    clamped[MFeedba] = 1.0f;
    clamped[GThresh] = 0.0f;
    EXPECT_EQ(describe(wild), describe(clamped));
    EXPECT_TRUE(has(describe(wild), "reverb 50 m")) << describe(wild);
    EXPECT_TRUE(has(describe(wild), "multitap 1/16")) << describe(wild);
    EXPECT_TRUE(has(describe(wild), "gate hold")) << describe(wild);
}

TEST(ProgramSummary, TailEstimateFollowsSizeAndDecay) {
    EXPECT_LT(estimatedReverbDecaySeconds(0.25f, 0.4f), estimatedReverbDecaySeconds(0.6f, 0.4f));
    EXPECT_LT(estimatedReverbDecaySeconds(0.6f, 0.4f), estimatedReverbDecaySeconds(0.6f, 0.6f));
    EXPECT_TRUE(std::isinf(estimatedReverbDecaySeconds(0.5f, 1.0f)));
    EXPECT_EQ(estimatedReverbDecaySeconds(0.5f, 0.0f) < 0.1, true);
    // Within a factor of two of what the engine measures for a damped room
    // (about 1.1 s at size 0.25, decay 0.4) and a hall (about 3.3 s at 0.6, 0.54).
    EXPECT_NEAR(estimatedReverbDecaySeconds(0.25f, 0.4f), 1.1, 0.55);
    EXPECT_NEAR(estimatedReverbDecaySeconds(0.6f, 0.54f), 3.3, 1.65);
}

TEST(ProgramSummary, EveryFactoryProgramGetsALine) {
    for (int p = 0; p < kNumPrograms; ++p) {
        std::string s = describeProgram(factoryPresets[p].values);
        EXPECT_FALSE(s.empty()) << p;
        EXPECT_LT(s.size(), 120u) << p;
    }
    EXPECT_EQ(describeProgram(factoryPresets[30].values), "reverb 8 m ~9.6 s");  // REV Hall Big
    EXPECT_EQ(describeProgram(factoryPresets[142].values), "multitap 1/2 x2 feedback 64.4%");
    EXPECT_TRUE(has(describeProgram(factoryPresets[126].values), "gate -50.1 dB hold 0.12 s"));
}
