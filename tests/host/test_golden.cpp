// The sound is settled: renders through the built plug-in must give the very
// bytes they gave when golden_renders.txt was written. Every factory program
// at 44.1 kHz, and a spread of programs at other rates, block sizes and tempi,
// with automation, MIDI program changes and bypass in the stream.
//
// To record the current sound (only when a change of sound is intended):
//   NIMBREL_GOLDEN_WRITE=tests/host/golden_renders.txt test_golden
#include <gtest/gtest.h>

#include "tests/host/golden.h"
#include "tests/host/host_fixture.h"

namespace {

uint64_t renderCase(const golden::Case& c) {
    PluginDriver driver;
    if (!driver.host) return 0;
    return golden::renderCase(c, driver);
}

TEST(GoldenRenders, EveryCaseGivesTheRecordedBytes) {
    const std::vector<golden::Case> all = golden::cases();
    if (const char* out = std::getenv("NIMBREL_GOLDEN_WRITE")) {
        std::ofstream file(out);
        for (const golden::Case& c : all) file << c.name << ' ' << golden::hashText(renderCase(c)) << '\n';
        GTEST_SKIP() << "recorded " << all.size() << " renders in " << out;
    }
    const auto expected = golden::readExpected(NIMBREL_GOLDEN_FILE);
    ASSERT_EQ(expected.size(), all.size()) << "the recorded list does not match the cases";
    int differing = 0;
    for (const golden::Case& c : all) {
        const std::string hash = golden::hashText(renderCase(c));
        auto it = expected.find(c.name);
        ASSERT_NE(it, expected.end()) << c.name << " was not recorded";
        if (it->second != hash) {
            ++differing;
            ADD_FAILURE() << c.name << " renders differently: " << hash << " instead of " << it->second;
        }
    }
    EXPECT_EQ(differing, 0);
}

// The check of the check: the hash sees a change in the last bit of one sample.
TEST(GoldenRenders, TheHashSeesOneBit) {
    std::vector<float> a(1000, 0.25f), b = a;
    uint32_t bits;
    std::memcpy(&bits, &b[999], 4);
    bits ^= 1u;
    std::memcpy(&b[999], &bits, 4);
    EXPECT_NE(golden::fnv1a(1, a.data(), a.size()), golden::fnv1a(1, b.data(), b.size()));
}

}  // namespace
