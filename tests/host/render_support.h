#pragma once
// Stereo signals rendered through the built plug-in in host-sized blocks.
#include <algorithm>
#include <cmath>
#include <memory>
#include <random>
#include <vector>

#include "tests/host/host_fixture.h"

using Signal = std::vector<float>;

struct Stereo {
    Signal left, right;
};

inline Stereo noise(size_t frames, float level, unsigned seed) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<float> dist(-level, level);
    Stereo s{Signal(frames), Signal(frames)};
    for (size_t i = 0; i < frames; ++i) {
        s.left[i] = dist(rng);
        s.right[i] = dist(rng);
    }
    return s;
}

inline Stereo silence(size_t frames) { return Stereo{Signal(frames, 0.0f), Signal(frames, 0.0f)}; }

// Renders `in` in blocks of `block` frames.
inline Stereo render(PluginHost& host, const Stereo& in, int block = 512) {
    Stereo out{Signal(in.left.size()), Signal(in.left.size())};
    Block b(block);
    for (size_t start = 0; start < in.left.size(); start += block) {
        int n = static_cast<int>(std::min<size_t>(block, in.left.size() - start));
        std::copy_n(in.left.begin() + start, n, b.inL.begin());
        std::copy_n(in.right.begin() + start, n, b.inR.begin());
        host.process(b.in(), b.out(), n);
        std::copy_n(b.outL.begin(), n, out.left.begin() + start);
        std::copy_n(b.outR.begin(), n, out.right.begin() + start);
    }
    return out;
}

inline std::unique_ptr<PluginHost> started(int program = 0, float rate = 44100.0f) {
    auto host = loadNimbrel();
    host->start(rate, 512);
    host->setProgram(program);
    return host;
}

inline float peak(const Signal& s, size_t from = 0) {
    float p = 0.0f;
    for (size_t i = from; i < s.size(); ++i) p = std::max(p, std::fabs(s[i]));
    return p;
}

// The first frame from which on every sample is a finite number (the
// length when the last one is not).
inline size_t finiteFrom(const Stereo& s) {
    size_t from = 0;
    for (size_t i = 0; i < s.left.size(); ++i)
        if (!std::isfinite(s.left[i]) || !std::isfinite(s.right[i])) from = i + 1;
    return from;
}

inline bool allFinite(const Stereo& s) { return finiteFrom(s) == 0; }
