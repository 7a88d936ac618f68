// Operations of the plug-in instance that no host opcode reaches: the
// editor's program commands, the wet-only factor, the value texts in full.
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <unistd.h>

#include "host/ovaudio.h"
#include "tests/common/private_data_folder.h"

namespace {

std::unique_ptr<OvAudio> makeInstance() {
    privateDataFolder();
    return std::make_unique<OvAudio>(nullptr);
}

std::string text(OvAudio& fx, int index, float value) {
    char buffer[AudioEffect::kTextBufferSize];
    fx.getParameterDisplayValue(index, buffer, value);
    return buffer;
}

TEST(Instance, InitPatchNamesAndResetsOnlyThatProgram) {
    auto fx = makeInstance();
    fx->setProgram(7);
    fx->setParameter(0, 0.9f);
    fx->setProgram(2);
    fx->initPatch(7);
    char name[64];
    ASSERT_TRUE(fx->getProgramNameIndexed(0, 7, name));
    EXPECT_STREQ(name, "Init 007");
    EXPECT_EQ(fx->programs[7].values[param::Mix].load(), 0.5f);
    EXPECT_EQ(fx->programs[7].values[param::StepL16].load(), 1.0f);
    EXPECT_EQ(fx->programs[7].values[param::StepL15].load(), 0.0f);
    EXPECT_EQ(fx->getProgram(), 2);
    EXPECT_EQ(fx->getParameter(0), fx->programs[2].values[0].load());
    fx->initPatch(180);  // out of range: nothing
    fx->initPatch(-1);
    fx->setProgramS(7);
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
    std::vector<float> inL(300, 0.4f), inR(300, -0.2f), outL(300), outR(300);
    float* in[2] = {inL.data(), inR.data()};
    float* out[2] = {outL.data(), outR.data()};
    fx->processReplacing(in, out, 300);
    for (int i = 0; i < 300; ++i) {
        EXPECT_FLOAT_EQ(outL[i], 0.4f * 0.25f);
        EXPECT_FLOAT_EQ(outR[i], -0.2f * 0.25f);
    }
    fx->suspend();
    EXPECT_EQ(fx->dryFactor.load(), 1.0f);  // a reset releases the button
}

TEST(Instance, MetersFollowTheOutputAndRestAfterReset) {
    auto fx = makeInstance();
    fx->setProgram(126);  // the gate is on
    std::vector<float> inL(4096, 0.9f), inR(4096, 0.9f), outL(4096), outR(4096);
    float* in[2] = {inL.data(), inR.data()};
    float* out[2] = {outL.data(), outR.data()};
    fx->processReplacing(in, out, 4096);
    EXPECT_GE(fx->outputMeter.load(), 5);
    EXPECT_EQ(fx->gateMeter.load(), 10);
    fx->setParameter(param::Bypass, 1.0f);
    fx->processReplacing(in, out, 512);
    EXPECT_EQ(fx->gateMeter.load(), 0);
    EXPECT_EQ(fx->duckMeter.load(), 0);
    fx->suspend();
    EXPECT_EQ(fx->outputMeter.load(), 0);
    EXPECT_EQ(fx->outputMeterShown.load(), -1);
    EXPECT_EQ(fx->gateEnvelope.state, 0);
    EXPECT_EQ(fx->gateEnvelope.phase, 1.0f);
}

TEST(Instance, FullValueTextsBeforeTheHostLimit) {
    auto fx = makeInstance();
    EXPECT_EQ(text(*fx, param::RHiDamp, 0.0f), "0% 22.0");
    EXPECT_EQ(text(*fx, param::GThresh, 0.001f), "-120.0 dB");
    EXPECT_EQ(text(*fx, param::RHiCut, 0.0f), "640");
    EXPECT_EQ(text(*fx, param::RLowCut, 1.0f), "1360");
    EXPECT_EQ(text(*fx, param::MHiCut, 0.0f), "200");
    EXPECT_EQ(text(*fx, param::MLowDamp, 1.0f), "100% 3.0");
    EXPECT_EQ(text(*fx, param::RPredel, 1.0f), "650.0");
    EXPECT_EQ(text(*fx, param::DLimit, 0.5f), "6.0 dB");
    EXPECT_EQ(text(*fx, 70, 0.5f), "");
    EXPECT_LT(text(*fx, param::Mix, 3.0e38f).size(), static_cast<size_t>(AudioEffect::kTextBufferSize));
}

}  // namespace
