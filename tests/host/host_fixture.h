#pragma once
// Loads the built plug-in through the test host, with the trace log and the
// editor's marker file in a private folder.
#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <unistd.h>

#include "tools/vsthost/plugin_host.h"
#include "tests/common/private_data_folder.h"

inline std::unique_ptr<PluginHost> loadNimbrel(bool withCallback = true) {
    privateDataFolder();
    std::string error;
    auto host = PluginHost::load(NIMBREL_PLUGIN_PATH, error, withCallback);
    EXPECT_TRUE(host) << error;
    return host;
}

// Stereo buffers for one block.
struct Block {
    explicit Block(int frames) : inL(frames), inR(frames), outL(frames), outR(frames) {}
    std::vector<float> inL, inR, outL, outR;
    float* ins[2] = {nullptr, nullptr};
    float* outs[2] = {nullptr, nullptr};
    float** in() { ins[0] = inL.data(); ins[1] = inR.data(); return ins; }
    float** out() { outs[0] = outL.data(); outs[1] = outR.data(); return outs; }
    int frames() const { return static_cast<int>(inL.size()); }
};

// The plug-in as a VST 2 host drives it, for golden::renderCase.
struct PluginDriver {
    std::unique_ptr<PluginHost> host = loadNimbrel();
    void start(float rate, int block) { host->start(rate, block); }
    void setProgram(int program) { host->setProgram(program); }
    void setTempo(double tempo) { host->timeInfo.tempo = tempo; }
    void setParameter(int index, float value) { host->setParameter(index, value); }
    void sendMidi(uint8_t status, uint8_t data1, uint8_t data2, int frame) {
        host->sendMidi(status, data1, data2, frame);
    }
    void process(float** in, float** out, int frames) { host->process(in, out, frames); }
};
