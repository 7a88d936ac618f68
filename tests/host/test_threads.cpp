// The instance shared between a host's audio thread and its user-interface
// thread, as a DAW does it: no locks, and no data race either.
#include <atomic>
#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>
#include <thread>
#include <unistd.h>
#include <vector>

#include "host/ov_core.h"
#include "tests/common/private_data_folder.h"

namespace {

TEST(Threads, AutomationAndProgramSwitchesWhileAudioRenders) {
    privateDataFolder();
    auto fx = std::make_unique<OvCore>();
    fx->setSampleRate(44100.0f);
    std::atomic<bool> done{false};

    std::thread audio([&] {
        std::vector<float> inL(256), inR(256), outL(256), outR(256);
        float* in[2] = {inL.data(), inR.data()};
        float* out[2] = {outL.data(), outR.data()};
        for (int block = 0; block < 400; ++block) {
            for (int i = 0; i < 256; ++i) inL[i] = inR[i] = ((i + block) % 64 == 0) ? 0.5f : 0.0f;
            // Host automation arrives on the audio thread.
            fx->setParameter(param::Mix, (block % 10) / 10.0f);
            fx->setParameter(param::RSize, (block % 7) / 7.0f);
            fx->processReplacing(in, out, 256);
            if (block % 50 == 0) fx->addOrvaneMidiEvent(static_cast<char>(0xC0), static_cast<char>(block % 128), 0, 3);
        }
        done = true;
    });

    int switches = 0;
    char name[kProgramNameSize];
    char text[64];
    while (!done) {
        fx->setProgram(switches % 180);
        parameterDisplayText(param::Volume, fx->getParameter(param::Volume), text, sizeof text);
        fx->getProgramNameIndexed(switches % 180, name);
        (void)fx->outputMeter.load();
        fx->dryFactor = (switches % 2) ? 1.0f : 0.0f;
        ++switches;
    }
    audio.join();
    EXPECT_GT(switches, 0);
}

}  // namespace
