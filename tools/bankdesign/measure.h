#pragma once
// Rendering and measuring programs through the plug-in instance, as a host
// would drive it: the bank designer's tool and the program tests share these.
// Header-only; nothing here runs on the audio thread.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "host/ov_core.h"

namespace bankdesign {

constexpr float kSampleRate = 44100.0f;
constexpr int kHostBlock = 512;

struct Stereo {
    std::vector<float> l, r;
    explicit Stereo(int frames = 0) : l(frames, 0.0f), r(frames, 0.0f) {}
    int frames() const { return static_cast<int>(l.size()); }
};

// Makes the instance quiet for a new measurement: program `index` current,
// every engine and meter cleared, the dry signal on or off.
inline void prepare(OvCore& fx, int program, bool wetOnly) {
    fx.setSampleRate(kSampleRate);
    fx.setProgram(program);
    fx.reset();
    fx.dryFactor = wetOnly ? 0.0f : 1.0f;
}

// Runs `in` through the instance in host-sized blocks (the host tempo is
// absent, so the multitap runs at 120 BPM).
inline Stereo render(OvCore& fx, const Stereo& in) {
    Stereo in2 = in;  // the plug-in may process in place; keep the caller's copy
    Stereo out(in.frames());
    for (int at = 0; at < in.frames(); at += kHostBlock) {
        int n = in.frames() - at < kHostBlock ? in.frames() - at : kHostBlock;
        float* ins[2] = {in2.l.data() + at, in2.r.data() + at};
        float* outs[2] = {out.l.data() + at, out.r.data() + at};
        fx.processReplacing(ins, outs, n);
    }
    return out;
}

inline int frames(double seconds) { return static_cast<int>(seconds * kSampleRate); }

// Test signals start after a lead-in of silence: the multitap clears itself
// (step levels included) in the first piece it runs with new settings, so a
// sound in that piece would be lost.
constexpr int kLeadIn = 512;

inline Stereo impulse(int length, float left, float right) {
    Stereo s(length);
    s.l[kLeadIn] = left;
    s.r[kLeadIn] = right;
    return s;
}

// Uniform white noise for `burst` frames, then silence; the two channels
// independent when `decorrelated`, else the same.
inline Stereo noiseBurst(int length, int burst, float amplitude, bool decorrelated,
                         uint32_t seed = 12345u) {
    Stereo s(length);
    uint32_t state = seed;
    auto next = [&state]() {
        state = state * 1664525u + 1013904223u;
        return static_cast<float>(state >> 8) / 8388608.0f - 1.0f;
    };
    for (int i = kLeadIn; i < kLeadIn + burst && i < length; ++i) {
        s.l[i] = amplitude * next();
        s.r[i] = decorrelated ? amplitude * next() : s.l[i];
    }
    return s;
}

inline Stereo sine(int length, float hz, float amplitude) {
    Stereo s(length);
    for (int i = 0; i < length; ++i) {
        float v = amplitude * static_cast<float>(std::sin(2.0 * M_PI * hz * i / kSampleRate));
        s.l[i] = v;
        s.r[i] = v;
    }
    return s;
}

inline float peak(const Stereo& s) {
    float p = 0.0f;
    for (int i = 0; i < s.frames(); ++i) {
        p = std::fabs(s.l[i]) > p ? std::fabs(s.l[i]) : p;
        p = std::fabs(s.r[i]) > p ? std::fabs(s.r[i]) : p;
    }
    return p;
}

inline bool allFinite(const Stereo& s) {
    for (int i = 0; i < s.frames(); ++i)
        if (!std::isfinite(s.l[i]) || !std::isfinite(s.r[i])) return false;
    return true;
}

inline double energy(const std::vector<float>& x, int from, int to) {
    double e = 0.0;
    for (int i = from < 0 ? 0 : from; i < to && i < static_cast<int>(x.size()); ++i)
        e += static_cast<double>(x[i]) * x[i];
    return e;
}

inline double energy(const Stereo& s, int from, int to) {
    return energy(s.l, from, to) + energy(s.r, from, to);
}

inline double toDb(double ratio) { return 10.0 * std::log10(ratio + 1e-30); }

// Decay time (seconds to fall 60 dB) of a tail, from a straight-line fit to
// the energy of 50 ms blocks between `fromSec` and `toSec` (longer blocks
// smooth the sparse early echoes of undiffused programs). Blocks more than
// 80 dB below the loudest are left out, so a tail that has died away does
// not flatten the slope. Returns 0 when the tail does not decay.
inline double decayTime(const Stereo& s, double fromSec, double toSec) {
    const int block = frames(0.05);
    std::vector<double> t, db;
    double loudest = 0.0;
    for (int at = frames(fromSec); at + block <= frames(toSec) && at + block <= s.frames(); at += block) {
        double e = energy(s, at, at + block);
        loudest = e > loudest ? e : loudest;
        t.push_back((at + block / 2) / static_cast<double>(kSampleRate));
        db.push_back(toDb(e));
    }
    double n = 0, st = 0, sd = 0, stt = 0, std_ = 0;
    for (size_t i = 0; i < t.size(); ++i) {
        if (db[i] < toDb(loudest) - 80.0) break;
        n += 1; st += t[i]; sd += db[i]; stt += t[i] * t[i]; std_ += t[i] * db[i];
    }
    if (n < 3) return 0.0;
    double slope = (n * std_ - st * sd) / (n * stt - st * st);  // dB per second
    return slope < 0.0 ? -60.0 / slope : 0.0;
}

// Time of the loudest 10 ms block within the first `withinSec`: where a
// tail's fit should start.
inline double loudestBlockTime(const Stereo& s, double withinSec = 0.3) {
    const int block = frames(0.01);
    double best = -1.0;
    int bestAt = 0;
    for (int at = 0; at + block <= s.frames() && at < frames(withinSec); at += block) {
        double e = energy(s, at, at + block);
        if (e > best) { best = e; bestAt = at; }
    }
    return bestAt / static_cast<double>(kSampleRate);
}

struct Echo {
    double seconds;
    double db;  // relative to the loudest echo of the channel
};

// Echo arrivals in one channel of an impulse response: local maxima of the
// 2 ms energy envelope, at most `floorDb` (negative) below the loudest and at
// least 10 ms apart.
inline std::vector<Echo> echoes(const std::vector<float>& x, double floorDb, size_t maxCount) {
    const int block = frames(0.002);
    std::vector<double> env;
    for (int at = kLeadIn; at + block <= static_cast<int>(x.size()); at += block)
        env.push_back(energy(x, at, at + block));
    double loudest = 0.0;
    for (double e : env) loudest = e > loudest ? e : loudest;
    std::vector<Echo> found;
    if (loudest <= 0.0) return found;
    const size_t gap = 5;  // 10 ms between arrivals
    for (size_t i = 0; i < env.size() && found.size() < maxCount; ++i) {
        double db = toDb(env[i] / loudest);
        if (db < floorDb) continue;
        bool isMax = true;
        for (size_t j = i >= gap ? i - gap : 0; j <= i + gap && j < env.size(); ++j)
            if (env[j] > env[i] || (env[j] == env[i] && j < i)) isMax = false;
        if (isMax) found.push_back({static_cast<double>(i * block) / kSampleRate, db});
    }
    return found;
}

// Share of the energy above `cornerHz` (one-pole high-pass split): how bright
// a sound is, for comparing programs.
inline double highShare(const Stereo& s, int from, int to, float cornerHz) {
    const float c = 1.0f - std::exp(cornerHz / kSampleRate * -6.28318f);
    double high = 0.0, all = 0.0;
    for (const std::vector<float>* ch : {&s.l, &s.r}) {
        float lp = 0.0f;
        for (int i = 0; i < to && i < static_cast<int>(ch->size()); ++i) {
            float x = (*ch)[i];
            lp = (1.0f - c) * lp + c * x;
            if (i < from) continue;
            float h = x - lp;
            high += static_cast<double>(h) * h;
            all += static_cast<double>(x) * x;
        }
    }
    return all > 0.0 ? high / all : 0.0;
}

// Side energy over mid energy: 0 for mono, 1 for independent channels,
// above 1 when the channels are in opposite phase.
inline double sideToMid(const Stereo& s, int from, int to) {
    double side = 0.0, mid = 0.0;
    for (int i = from; i < to && i < s.frames(); ++i) {
        double m = 0.5 * (s.l[i] + s.r[i]), d = 0.5 * (s.l[i] - s.r[i]);
        mid += m * m;
        side += d * d;
    }
    return mid > 0.0 ? side / mid : (side > 0.0 ? 1e9 : 0.0);
}

// Level of `out` against `in` over a window, in dB.
inline double gainDb(const Stereo& out, const Stereo& in, int from, int to) {
    return toDb(energy(out, from, to) / energy(in, from, to));
}

// Seconds after `afterFrame` until the output stays below `floorDb` relative
// to its loudest 2 ms block: how long a gate or tail lasts once the input stops.
inline double timeToSilence(const Stereo& s, int afterFrame, double floorDb) {
    const int block = frames(0.002);
    double loudest = 0.0;
    for (int at = 0; at + block <= s.frames(); at += block) {
        double e = energy(s, at, at + block);
        loudest = e > loudest ? e : loudest;
    }
    int lastLoud = afterFrame;
    for (int at = afterFrame; at + block <= s.frames(); at += block)
        if (toDb(energy(s, at, at + block) / loudest) > floorDb) lastLoud = at + block;
    return (lastLoud - afterFrame) / static_cast<double>(kSampleRate);
}

}  // namespace bankdesign
