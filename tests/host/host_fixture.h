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
