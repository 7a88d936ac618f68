#include "tools/nimbrel/demo_signal.h"

#include <cmath>
#include <cstdint>

namespace {

constexpr double kPi = 3.14159265358979323846;

// A small deterministic noise source, so the demo is the same on every run.
struct Noise {
    uint32_t state = 0x12345678u;
    float next() {
        state = state * 1664525u + 1013904223u;
        return static_cast<float>(state >> 8) / 8388608.0f - 1.0f;
    }
};

void addKick(StereoAudio& a, size_t at, int sr) {
    double phase = 0.0;
    for (size_t i = 0; i < static_cast<size_t>(0.35 * sr) && at + i < a.frames(); ++i) {
        double t = static_cast<double>(i) / sr;
        double freq = 45.0 + 110.0 * std::exp(-t * 30.0);
        phase += 2.0 * kPi * freq / sr;
        float v = static_cast<float>(0.8 * std::sin(phase) * std::exp(-t * 9.0));
        a.left[at + i] += v;
        a.right[at + i] += v;
    }
}

void addSnare(StereoAudio& a, size_t at, int sr, Noise& noise) {
    for (size_t i = 0; i < static_cast<size_t>(0.2 * sr) && at + i < a.frames(); ++i) {
        double t = static_cast<double>(i) / sr;
        double body = 0.25 * std::sin(2.0 * kPi * 190.0 * t) * std::exp(-t * 25.0);
        double hiss = 0.45 * noise.next() * std::exp(-t * 18.0);
        a.left[at + i] += static_cast<float>(body + hiss * 0.9);
        a.right[at + i] += static_cast<float>(body + hiss * 1.1);
    }
}

void addHat(StereoAudio& a, size_t at, int sr, Noise& noise) {
    float previous = 0.0f;
    for (size_t i = 0; i < static_cast<size_t>(0.05 * sr) && at + i < a.frames(); ++i) {
        double t = static_cast<double>(i) / sr;
        float n = noise.next();
        float high = n - previous;  // first difference: a crude high-pass
        previous = n;
        float v = static_cast<float>(0.18 * high * std::exp(-t * 80.0));
        a.left[at + i] += v * 0.7f;
        a.right[at + i] += v * 1.3f;
    }
}

void addTone(StereoAudio& a, size_t at, size_t length, double freq, int sr) {
    for (size_t i = 0; i < length && at + i < a.frames(); ++i) {
        double t = static_cast<double>(i) / sr;
        double envelope = std::min(1.0, t * 20.0) * std::exp(-t * 1.5);
        double v = 0.22 * envelope *
                   (std::sin(2.0 * kPi * freq * t) + 0.3 * std::sin(4.0 * kPi * freq * t) +
                    0.12 * std::sin(6.0 * kPi * freq * t));
        a.left[at + i] += static_cast<float>(v * 1.1);
        a.right[at + i] += static_cast<float>(v * 0.9);
    }
}

}  // namespace

StereoAudio makeDemoSignal(int sampleRate) {
    StereoAudio a;
    a.sampleRate = sampleRate;
    const double beat = 0.5;  // 120 BPM
    const size_t frames = static_cast<size_t>(6.0 * sampleRate);
    a.left.assign(frames, 0.0f);
    a.right.assign(frames, 0.0f);
    Noise noise;
    auto at = [&](double beats) { return static_cast<size_t>(beats * beat * sampleRate); };
    // Two bars of a plain beat, then a tone over sparse hits, then silence for the tails.
    for (int b = 0; b < 8; ++b) {
        if (b % 2 == 0) addKick(a, at(b), sampleRate);
        else addSnare(a, at(b), sampleRate, noise);
        addHat(a, at(b + 0.5), sampleRate, noise);
    }
    addTone(a, at(8), static_cast<size_t>(1.5 * sampleRate), 220.0, sampleRate);
    addTone(a, at(8), static_cast<size_t>(1.5 * sampleRate), 277.18, sampleRate);
    addKick(a, at(8), sampleRate);
    addSnare(a, at(10), sampleRate, noise);
    // Leave headroom: the effect adds its echoes and tail on top.
    for (size_t i = 0; i < frames; ++i) {
        a.left[i] *= 0.5f;
        a.right[i] *= 0.5f;
    }
    return a;
}
