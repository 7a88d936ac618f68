// The format-free instance alone renders the recorded sound: the same cases
// as through the built plug-in, driven with nothing but the instance and a
// host clock. This program links the instance's library and nothing of a
// plug-in format, an editor or a window system.
#include <gtest/gtest.h>

#include <memory>

#include "host/ov_core.h"
#include "tests/common/private_data_folder.h"
#include "tests/host/golden.h"

namespace {

struct FixedClock : HostClock {
    double bpm = 120.0;
    int asked = 0;
    double tempo() override {
        ++asked;
        return bpm;
    }
};

// The instance as a format layer drives it.
struct CoreDriver {
    std::unique_ptr<OvCore> core = std::make_unique<OvCore>();
    FixedClock clock;
    CoreDriver() { core->setHostClock(&clock); }
    void start(float rate, int) { core->setSampleRate(rate); }
    void setProgram(int program) { core->setProgram(program); }
    void setTempo(double tempo) { clock.bpm = tempo; }
    void setParameter(int index, float value) { core->setParameter(index, value); }
    void sendMidi(uint8_t status, uint8_t data1, uint8_t data2, int frame) {
        core->addOrvaneMidiEvent(static_cast<char>(status), static_cast<char>(data1), static_cast<char>(data2), frame);
    }
    void process(float** in, float** out, int frames) { core->processReplacing(in, out, frames); }
};

TEST(CoreAlone, RendersEveryRecordedCaseBitForBit) {
    privateDataFolder();
    const auto expected = golden::readExpected(NIMBREL_GOLDEN_FILE);
    const std::vector<golden::Case> all = golden::cases();
    ASSERT_EQ(expected.size(), all.size());
    int differing = 0;
    for (const golden::Case& c : all) {
        CoreDriver driver;
        const std::string hash = golden::hashText(golden::renderCase(c, driver));
        EXPECT_GT(driver.clock.asked, 0) << c.name << ": the tempo was never asked for";
        if (expected.at(c.name) != hash) {
            ++differing;
            ADD_FAILURE() << c.name << " renders differently: " << hash << " instead of " << expected.at(c.name);
        }
    }
    EXPECT_EQ(differing, 0);
}

}  // namespace
