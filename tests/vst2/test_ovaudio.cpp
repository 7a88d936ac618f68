// OvAudio's own operations beyond what the dispatcher's tests reach: the
// value texts in full before the host's limit cuts them, and the instance's
// changes reaching the host.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/common/private_data_folder.h"
#include "vst2/ovaudio.h"

namespace {

std::vector<int32_t> gOpcodes;
double gTempo = 120.0;
VstTimeInfo gTime{};

intptr_t hostCallback(AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
    gOpcodes.push_back(opcode);
    if (opcode == audioMasterVersion) return 2400;
    if (opcode == audioMasterGetTime) {
        gTime.tempo = gTempo;
        return reinterpret_cast<intptr_t>(&gTime);
    }
    return 0;
}

std::string text(OvAudio& fx, int index, float value) {
    char buffer[AudioEffect::kTextBufferSize];
    fx.getParameterDisplayValue(index, buffer, value);
    return buffer;
}

TEST(OvAudio, FullValueTextsBeforeTheHostLimit) {
    privateDataFolder();
    auto fx = std::make_unique<OvAudio>(nullptr);
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

TEST(OvAudio, TheTempoIsTheHostsTimeInfoAndAProgramChangeIsShownToTheHost) {
    privateDataFolder();
    auto fx = std::make_unique<OvAudio>(hostCallback);
    gTempo = 87.5;
    std::vector<float> l(512), r(512);
    float* io[2] = {l.data(), r.data()};
    fx->processReplacing(io, io, 512);
    EXPECT_EQ(fx->core.hostTempo, 87.5);

    VstMidiEvent change{};
    change.type = kVstMidiType;
    change.byteSize = sizeof change;
    change.midiData[0] = static_cast<char>(0xC0);
    change.midiData[1] = 9;
    VstEvents events{};
    events.numEvents = 1;
    events.events[0] = reinterpret_cast<VstEvent*>(&change);
    fx->core.reset();
    gOpcodes.clear();
    EXPECT_EQ(fx->processEvents(&events), 1);
    fx->processReplacing(io, io, 512);
    EXPECT_EQ(fx->getProgram(), 9);
    int updates = 0;
    for (int32_t op : gOpcodes) updates += op == audioMasterUpdateDisplay;
    EXPECT_EQ(updates, 1);
}

}  // namespace
