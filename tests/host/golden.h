#pragma once
// The recorded sound: the cases of golden_renders.txt and how each is
// rendered, shared by the check through the built plug-in and the check of
// the format-free instance alone. A driver is anything that can start at a
// rate and block size, select a program, set the host tempo, set a
// parameter, queue a MIDI event and process a block.
#include <algorithm>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "host/parameters.h"
#include "host/programs.h"

namespace golden {

// The stimulus: a noise burst, clicks, a tone and silence, made without any
// library generator so that it is the same on every machine.
struct Stimulus {
    std::vector<float> left, right;
};

inline Stimulus stimulus(float rate, double seconds) {
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

inline uint64_t fnv1a(uint64_t hash, const float* data, size_t count) {
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

// Renders one case through `driver` and returns the hash of both output channels.
template <typename Driver>
uint64_t renderCase(const Case& c, Driver& driver) {
    driver.start(c.rate, c.block);
    driver.setProgram(c.program);
    driver.setTempo(c.tempo);
    const Stimulus in = stimulus(c.rate, 1.5);
    const size_t frames = in.left.size();
    std::vector<float> inL(c.block), inR(c.block), outL(c.block), outR(c.block);
    float* ins[2] = {inL.data(), inR.data()};
    float* outs[2] = {outL.data(), outR.data()};
    uint64_t hash = 0xCBF29CE484222325ull;
    size_t blockIndex = 0;
    for (size_t start = 0; start < frames; start += c.block, ++blockIndex) {
        const int n = static_cast<int>(std::min<size_t>(c.block, frames - start));
        std::copy_n(in.left.begin() + start, n, inL.begin());
        std::copy_n(in.right.begin() + start, n, inR.begin());
        if (c.events) {
            const size_t third = frames / 3;
            if (start <= third && third < start + c.block) {
                driver.setParameter(param::RSize, 0.8f);
                driver.setParameter(param::MFeedba, 0.6f);
                driver.setParameter(param::Mix, 0.7f);
                driver.sendMidi(0xC0, static_cast<uint8_t>((c.program + 5) % 128), 0, n / 2);
            }
            if (blockIndex % 7 == 3) driver.setParameter(param::Surround, (blockIndex % 3) * 0.45f);
            if (start <= frames / 2 && frames / 2 < start + c.block) driver.setParameter(param::Bypass, 1.0f);
            if (start <= 3 * frames / 5 && 3 * frames / 5 < start + c.block) driver.setParameter(param::Bypass, 0.0f);
        }
        driver.process(ins, outs, n);
        hash = fnv1a(hash, outL.data(), n);
        hash = fnv1a(hash, outR.data(), n);
    }
    return hash;
}

inline std::vector<Case> cases() {
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

inline std::map<std::string, std::string> readExpected(const char* path) {
    std::map<std::string, std::string> expected;
    std::ifstream file(path);
    std::string name, hash;
    while (file >> name >> hash) expected[name] = hash;
    return expected;
}

inline std::string hashText(uint64_t hash) {
    char text[17];
    std::snprintf(text, sizeof text, "%016" PRIx64, hash);
    return text;
}

}  // namespace golden
