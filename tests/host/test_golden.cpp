// The sound is settled: renders through the built plug-in must give the very
// bytes they gave when golden_renders.txt was written. Every factory program
// at 44.1 kHz, and a spread of programs at other rates, block sizes and tempi,
// with automation, MIDI program changes and bypass in the stream.
//
// To record the current sound (only when a change of sound is intended):
//   NIMBREL_GOLDEN_WRITE=tests/host/golden_renders.txt test_golden
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "host/parameters.h"
#include "host/programs.h"
#include "tests/host/host_fixture.h"

namespace {

// The stimulus: a noise burst, clicks, a tone and silence, made without any
// library generator so that it is the same on every machine.
struct Stimulus {
    std::vector<float> left, right;
};

Stimulus stimulus(float rate, double seconds) {
    const size_t frames = static_cast<size_t>(rate * seconds);
    Stimulus s{std::vector<float>(frames, 0.0f), std::vector<float>(frames, 0.0f)};
    uint32_t state = 0x2545F491u;
    auto next = [&] {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return static_cast<float>(state >> 8) / 8388608.0f - 1.0f;  // -1..1
    };
    const size_t burst = frames / 5;
    for (size_t i = 0; i < burst; ++i) {
        s.left[i] = 0.3f * next();
        s.right[i] = 0.3f * next();
    }
    for (size_t i = burst; i < 2 * burst; i += frames / 23) s.left[i] = s.right[i + 7 < frames ? i + 7 : i] = 0.8f;
    for (size_t i = 2 * burst; i < 3 * burst; ++i) {
        const double t = static_cast<double>(i) / rate;
        s.left[i] = static_cast<float>(0.4 * std::sin(2.0 * M_PI * 440.0 * t));
        s.right[i] = static_cast<float>(0.4 * std::sin(2.0 * M_PI * 660.0 * t));
    }
    return s;
}

uint64_t fnv1a(uint64_t hash, const float* data, size_t count) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(data);
    for (size_t i = 0; i < count * sizeof(float); ++i) {
        hash ^= bytes[i];
        hash *= 0x100000001B3ull;
    }
    return hash;
}

struct Case {
    std::string name;
    int program;
    float rate;
    int block;
    double tempo;
    bool events;  // automation, a MIDI program change and a bypass stretch along the way
};

// Renders one case and returns the hash of both output channels.
uint64_t renderCase(const Case& c) {
    auto host = loadNimbrel();
    if (!host) return 0;
    host->start(c.rate, c.block);
    host->setProgram(c.program);
    host->timeInfo.tempo = c.tempo;
    const Stimulus in = stimulus(c.rate, 1.5);
    const size_t frames = in.left.size();
    Block b(c.block);
    uint64_t hash = 0xCBF29CE484222325ull;
    size_t blockIndex = 0;
    for (size_t start = 0; start < frames; start += c.block, ++blockIndex) {
        const int n = static_cast<int>(std::min<size_t>(c.block, frames - start));
        std::copy_n(in.left.begin() + start, n, b.inL.begin());
        std::copy_n(in.right.begin() + start, n, b.inR.begin());
        if (c.events) {
            const size_t third = frames / 3;
            if (start <= third && third < start + c.block) {
                host->setParameter(param::RSize, 0.8f);
                host->setParameter(param::MFeedba, 0.6f);
                host->setParameter(param::Mix, 0.7f);
                host->sendMidi(0xC0, static_cast<uint8_t>((c.program + 5) % 128), 0, n / 2);
            }
            if (blockIndex % 7 == 3) host->setParameter(param::Surround, (blockIndex % 3) * 0.45f);
            if (start <= frames / 2 && frames / 2 < start + c.block) host->setParameter(param::Bypass, 1.0f);
            if (start <= 3 * frames / 5 && 3 * frames / 5 < start + c.block) host->setParameter(param::Bypass, 0.0f);
        }
        host->process(b.in(), b.out(), n);
        hash = fnv1a(hash, b.outL.data(), n);
        hash = fnv1a(hash, b.outR.data(), n);
    }
    return hash;
}

std::vector<Case> cases() {
    std::vector<Case> all;
    char name[64];
    for (int p = 0; p < kNumPrograms; ++p) {
        std::snprintf(name, sizeof name, "program%03d-44100-512-120", p);
        all.push_back({name, p, 44100.0f, 512, 120.0, false});
    }
    struct Setting {
        float rate;
        int block;
        double tempo;
        bool events;
    };
    const Setting settings[] = {{48000.0f, 1024, 90.0, false},   {96000.0f, 64, 133.0, true},
                                {22050.0f, 333, 140.0, true},    {44100.0f, 8192, 75.5, true},
                                {192000.0f, 4096, 120.0, false}, {8000.0f, 1, 60.0, false}};
    for (const Setting& s : settings) {
        for (int p = 3; p < kNumPrograms; p += 11) {
            std::snprintf(name, sizeof name, "program%03d-%d-%d-%g%s", p, static_cast<int>(s.rate), s.block,
                          s.tempo, s.events ? "-events" : "");
            all.push_back({name, p, s.rate, s.block, s.tempo, s.events});
        }
    }
    return all;
}

std::map<std::string, std::string> readExpected(const char* path) {
    std::map<std::string, std::string> expected;
    std::ifstream file(path);
    std::string name, hash;
    while (file >> name >> hash) expected[name] = hash;
    return expected;
}

TEST(GoldenRenders, EveryCaseGivesTheRecordedBytes) {
    const std::vector<Case> all = cases();
    if (const char* out = std::getenv("NIMBREL_GOLDEN_WRITE")) {
        std::ofstream file(out);
        for (const Case& c : all) {
            char hash[17];
            std::snprintf(hash, sizeof hash, "%016" PRIx64, renderCase(c));
            file << c.name << ' ' << hash << '\n';
        }
        GTEST_SKIP() << "recorded " << all.size() << " renders in " << out;
    }
    const auto expected = readExpected(NIMBREL_GOLDEN_FILE);
    ASSERT_EQ(expected.size(), all.size()) << "the recorded list does not match the cases";
    int differing = 0;
    for (const Case& c : all) {
        char hash[17];
        std::snprintf(hash, sizeof hash, "%016" PRIx64, renderCase(c));
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
    EXPECT_NE(fnv1a(1, a.data(), a.size()), fnv1a(1, b.data(), b.size()));
}

}  // namespace
